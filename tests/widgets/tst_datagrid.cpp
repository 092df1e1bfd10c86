// The grid every list is shown in: numbers and their decimals, columns that
// fit the rows shown, the selected row drawn without hiding cell colours, and
// a grid that may be read but not acted on.

#include "core/datamodule.h"
#include "db/dataset.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kordel;

Q_DECLARE_METATYPE(kordel::GridColumn)

namespace {

const Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

// Rows of one text column `v`, in the order given.
QString rowsOf(const QStringList &texts)
{
    QStringList rows;
    for (int i = 0; i < texts.size(); ++i)
        rows << u"(%1, '%2')"_s.arg(i).arg(texts[i]);
    return u"select v from (values "_s + rows.join(u", "_s) + u") t(n, v) order by n"_s;
}

} // namespace

class DataGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    }

    // Prices arrive as decimal text of varying precision; a column shows
    // them all with the decimals of its most precise row.
    void decimalsAlikeInAColumn_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<int>("minDecimals");
        QTest::addColumn<QStringList>("shown");
        const QString prices = u"(1, 40.00::numeric), (2, 31.2), (3, 15.75), (4, null)"_s;
        QTest::newRow("money: two decimals")
            << prices << 2 << QStringList{u"40.00"_s, u"31.20"_s, u"15.75"_s, u""_s};
        QTest::newRow("a finer price sets the column")
            << u"(1, 40::numeric), (2, 0.1235), (3, 15.75)"_s << 2
            << QStringList{u"40.0000"_s, u"0.1235"_s, u"15.7500"_s};
        QTest::newRow("whole numbers get the minimum")
            << u"(1, 12::numeric), (2, 7)"_s << 2 << QStringList{u"12.00"_s, u"7.00"_s};
        QTest::newRow("negative amounts")
            << u"(1, -3.5::numeric), (2, 1200)"_s << 2 << QStringList{u"-3.50"_s, u"1200.00"_s};
        QTest::newRow("left to the format")
            << prices << -1 << QStringList{u"40"_s, u"31.2"_s, u"15.75"_s, u""_s};
    }
    void decimalsAlikeInAColumn()
    {
        QFETCH(QString, values);
        QFETCH(int, minDecimals);
        Dataset list(m_db.data().connectionName(), u"prices"_s,
                     u"select v from (values "_s + values + u") t(n, v) order by n"_s);
        GridColumn column{
            .field = u"v"_s, .title = u"Цена"_s, .format = formats::number, .minDecimals = minDecimals};
        DataGrid grid({column});
        grid.setDataset(&list);
        list.open();
        QStringList shown;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            shown << grid.model()->index(row, 0).data().toString();
        QTEST(shown, "shown");
        QCOMPARE(Qt::Alignment(grid.model()->index(0, 0).data(Qt::TextAlignmentRole).toInt()), kRight);
    }

    void numbersRightAligned_data()
    {
        QTest::addColumn<QString>("select");
        QTest::addColumn<GridColumn>("column");
        QTest::addColumn<Qt::Alignment>("alignment");
        const auto plain = [](Qt::Alignment a = kLeft) { return GridColumn{u"v"_s, u"v"_s, a}; };
        QTest::newRow("integer") << u"select 8 as v"_s << plain() << kRight;
        QTest::newRow("small integer") << u"select 2::smallint as v"_s << plain() << kRight;
        QTest::newRow("decimal with the money format")
            << u"select 12.5::numeric as v"_s << GridColumn{u"v"_s, u"v"_s, kLeft, false, formats::money}
            << kRight;
        QTest::newRow("decimal with the number format")
            << u"select 3::numeric as v"_s << GridColumn{u"v"_s, u"v"_s, kLeft, false, formats::number}
            << kRight;
        QTest::newRow("text") << u"select 'Иванов'::text as v"_s << plain() << kLeft;
        QTest::newRow("digits as text stay left") << u"select '0042'::text as v"_s << plain() << kLeft;
        QTest::newRow("a column's own alignment wins")
            << u"select 3 as v"_s << plain(Qt::AlignCenter) << Qt::Alignment(Qt::AlignCenter);
    }
    void numbersRightAligned()
    {
        QFETCH(QString, select);
        QFETCH(GridColumn, column);
        Dataset list(m_db.data().connectionName(), u"one"_s, select);
        DataGrid grid({column});
        grid.setDataset(&list);
        list.open();
        QCOMPARE(grid.model()->rowCount(), 1);
        QTEST(Qt::Alignment(grid.model()->index(0, 0).data(Qt::TextAlignmentRole).toInt()), "alignment");
    }

    // Each dataset shown gets widths from its own rows; rows read again
    // widen a column, a filter never narrows it.
    void columnsFitTheDatasetShown()
    {
        const QString longName = u"Константинопольский-Щербаков Александр Владимирович"_s;
        Dataset shortList(m_db.data().connectionName(), u"short"_s, rowsOf({u"Ян"_s, u"Ли"_s}));
        Dataset longList(m_db.data().connectionName(), u"long"_s, rowsOf({u"Ян"_s, longName}));
        shortList.open();
        longList.open();
        DataGrid grid({{u"v"_s, u"ФИО"_s}, {u"v"_s, u"Копия"_s}});
        grid.horizontalHeader()->setStretchLastSection(false);
        const int longWidth = grid.fontMetrics().horizontalAdvance(longName);

        grid.setDataset(&shortList);
        const int shortColumn = grid.columnWidth(0);
        QVERIFY(shortColumn < longWidth);
        grid.setDataset(&longList);
        QVERIFY2(grid.columnWidth(0) >= longWidth, qPrintable(QString::number(grid.columnWidth(0))));
        grid.setDataset(&shortList);
        QCOMPARE(grid.columnWidth(0), shortColumn);

        // Read again with a longer name: wider.  Filtered down: unchanged.
        shortList.setSql(rowsOf({u"Ян"_s, longName}));
        shortList.open();
        QVERIFY(grid.columnWidth(0) >= longWidth);
        const int widened = grid.columnWidth(0);
        shortList.setFilter([](const Dataset::Row &row) { return row.value(u"v"_s).toString().size() < 5; });
        shortList.setFiltered(true);
        QCOMPARE(grid.model()->rowCount(), 1);
        QCOMPARE(grid.columnWidth(0), widened);
    }

    // A list window not shown yet opens wide enough for every column.
    void windowWidensForItsGrid()
    {
        Dataset list(m_db.data().connectionName(), u"wide"_s,
                     u"select repeat('Ж', 25) as a, repeat('Щ', 12) as b, 123456789 as c"_s);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *grid = new DataGrid({{u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}, {u"c"_s, u"Нормы (шт.)"_s}}, &window);
        layout->addWidget(grid);
        window.resize(300, 200);
        grid->setDataset(&list);
        list.open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY2(window.width() > 300, qPrintable(QString::number(window.width())));
        QVERIFY2(grid->viewport()->width() >= grid->fittedWidth() -
                                                  grid->verticalScrollBar()->sizeHint().width() -
                                                  2 * grid->frameWidth(),
                 qPrintable(u"%1 < %2"_s.arg(grid->viewport()->width()).arg(grid->fittedWidth())));
        QVERIFY(!grid->horizontalScrollBar()->isVisible());

        // Never wider than the screen.
        Dataset huge(m_db.data().connectionName(), u"huge"_s, u"select repeat('Ж', 400) as a"_s);
        QWidget hugeWindow;
        auto *hugeLayout = new QVBoxLayout(&hugeWindow);
        auto *hugeGrid = new DataGrid({{u"a"_s, u"A"_s}}, &hugeWindow);
        hugeLayout->addWidget(hugeGrid);
        hugeWindow.resize(300, 200);
        hugeGrid->setDataset(&huge);
        huge.open();
        QVERIFY(hugeWindow.width() > 300);
        QVERIFY(hugeWindow.width() <= hugeWindow.screen()->availableGeometry().width());

        // A window of fixed size keeps it.
        QWidget fixedWindow;
        auto *fixedLayout = new QVBoxLayout(&fixedWindow);
        auto *fixedGrid = new DataGrid({{u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}}, &fixedWindow);
        fixedLayout->addWidget(fixedGrid);
        fixedWindow.setFixedSize(300, 200);
        fixedGrid->setDataset(&list);
        QCOMPARE(fixedWindow.width(), 300);
    }

    // The selected row is drawn on a tint, in the cells' own colours: a red
    // or green mark stays red or green.
    void selectionKeepsCellColours()
    {
        Dataset list(m_db.data().connectionName(), u"marks"_s, rowsOf({u"no"_s, u"ok"_s}));
        DataGrid grid({{u"v"_s, u"OK"_s}});
        grid.datasetModel()->setStyler([](const Dataset &ds, int row, const GridColumn &, int role) {
            if (role != Qt::ForegroundRole)
                return QVariant();
            return QVariant(ds.valueAt(row, u"v"_s).toString() == u"ok"_s ? QColor(Qt::darkGreen)
                                                                          : QColor(Qt::red));
        });
        grid.setDataset(&list);
        list.open();
        list.setRecNo(1);
        const QModelIndex selected = grid.model()->index(0, 0);
        const QModelIndex other = grid.model()->index(1, 0);
        QVERIFY(grid.selectionModel()->isSelected(selected));

        auto *delegate = qobject_cast<SelectionTintDelegate *>(grid.itemDelegate());
        QVERIFY(delegate);
        QStyleOptionViewItem option;
        option.initFrom(&grid);
        option.widget = &grid;
        option.state |= QStyle::State_Selected | QStyle::State_HasFocus;
        const QStyleOptionViewItem cell = delegate->cellOption(option, selected);
        QVERIFY(!(cell.state & QStyle::State_Selected));
        QCOMPARE(cell.palette.color(QPalette::Text), QColor(Qt::red));
        const QColor base = grid.palette().color(QPalette::Base);
        const QColor highlight = grid.palette().color(QPalette::Active, QPalette::Highlight);
        QVERIFY(cell.backgroundBrush.style() != Qt::NoBrush);
        QVERIFY(cell.backgroundBrush.color() != base);
        QVERIFY(cell.backgroundBrush.color() != highlight);

        option.state &= ~QStyle::State_Selected;
        const QStyleOptionViewItem plain = delegate->cellOption(option, other);
        QCOMPARE(plain.palette.color(QPalette::Text), QColor(Qt::darkGreen));
        QCOMPARE(plain.backgroundBrush.style(), Qt::NoBrush);
    }

    // A grid the role may only read: it scrolls and follows clicks, refuses
    // double-clicks and its context menu, and is not greyed out.
    void refusedGridStillReads()
    {
        QStringList names;
        for (int i = 0; i < 60; ++i)
            names << u"Рабочий %1"_s.arg(i, 2, 10, QChar(u'0'));
        Dataset list(m_db.data().connectionName(), u"many"_s, rowsOf(names));
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *grid = new DataGrid({{u"v"_s, u"ФИО"_s}}, &window);
        layout->addWidget(grid);
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        grid->addAction(new QAction(u"Изменить время"_s, grid));
        grid->setDataset(&list);
        list.open();
        window.setFixedSize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy doubleClicks(grid, &DataGrid::rowDoubleClicked);

        grid->setActionsRefused(true);
        QVERIFY(grid->actionsRefused());
        QVERIFY(grid->isEnabled());
        QCOMPARE(grid->contextMenuPolicy(), Qt::PreventContextMenu);
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
        const int last = list.recordCount() - 1;
        const QPoint lastRow = grid->visualRect(grid->model()->index(last, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, lastRow);
        QCOMPARE(list.recNo(), last + 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, lastRow);
        QCOMPARE(doubleClicks.size(), 0);

        // Given back, the grid acts again with its own menu.
        grid->setActionsRefused(false);
        QCOMPARE(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, lastRow);
        QCOMPARE(doubleClicks.size(), 1);
    }

private:
    test::TestDatabase m_db;
};

QTEST_MAIN(DataGridTest)
#include "tst_datagrid.moc"
