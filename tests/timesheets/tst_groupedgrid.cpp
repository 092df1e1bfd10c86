// The grouped grid: group rows before each group, footer rows with exact
// sums after it, the order of groups and rows, and a read-only view.

#include "widgets/groupedgrid.h"

#include <QStandardItemModel>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

// Rows of "group|name|amount|hours".
std::unique_ptr<QStandardItemModel> table(const QStringList &rows)
{
    auto model = std::make_unique<QStandardItemModel>(0, 4);
    for (const QString &row : rows) {
        QList<QStandardItem *> items;
        for (const QString &cell : row.split(u'|'))
            items << new QStandardItem(cell);
        model->appendRow(items);
    }
    return model;
}

// Each proxy row as "<kind>:<cells>", kinds G, D, F.
QStringList shown(const GroupedModel &model)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        const char kind = "DGF"[model.index(row, 0).data(GroupedModel::RowKindRole).toInt()];
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        lines << QString(QLatin1Char(kind)) + u':' + cells.join(u'|');
    }
    return lines;
}

} // namespace

class GroupedGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupsAndFooters_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("two groups") << QStringList{u"Двери|Иванов|10.10|1"_s, u"Двери|Петров|0.20|2"_s,
                                                   u"Окна|Сидоров|5|3"_s}
                                    << QStringList{u"G:|Двери||"_s,
                                                   u"D:Двери|Иванов|10.10|1"_s,
                                                   u"D:Двери|Петров|0.20|2"_s,
                                                   u"F:|ИТОГО:|10.30|3.00"_s,
                                                   u"G:|Окна||"_s,
                                                   u"D:Окна|Сидоров|5|3"_s,
                                                   u"F:|ИТОГО:|5.00|3.00"_s};
        // A group's rows come together in their order, the groups in the
        // order of their first rows.
        QTest::newRow("interleaved rows")
            << QStringList{u"Б|1|1|1"_s, u"А|2|2|1"_s, u"Б|3|3|1"_s}
            << QStringList{u"G:|Б||"_s, u"D:Б|1|1|1"_s, u"D:Б|3|3|1"_s,          u"F:|ИТОГО:|4.00|2.00"_s,
                           u"G:|А||"_s, u"D:А|2|2|1"_s, u"F:|ИТОГО:|2.00|1.00"_s};
        // Binary floating point would make this 0.30000000000000004.
        QTest::newRow("exact decimals") << QStringList{u"Г|а|0.1|"_s, u"Г|б|0.2|"_s, u"Г|в|-0.05|"_s}
                                        << QStringList{u"G:|Г||"_s, u"D:Г|а|0.1|"_s, u"D:Г|б|0.2|"_s,
                                                       u"D:Г|в|-0.05|"_s, u"F:|ИТОГО:|0.25|0.00"_s};
        QTest::newRow("no rows") << QStringList{} << QStringList{};
    }
    void groupsAndFooters()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        auto source = table(rows);
        GroupedModel model({0, 1, {2, 3}});
        model.setSourceModel(source.get());
        QCOMPARE(shown(model), expected);
    }

    void followsTheSource()
    {
        auto source = table({u"А|1|1|1"_s});
        GroupedModel model({0, 1, {2}});
        model.setSourceModel(source.get());
        QCOMPARE(model.groupCount(), 1);
        source->appendRow({new QStandardItem(u"Б"_s), new QStandardItem(u"2"_s), new QStandardItem(u"7.5"_s),
                           new QStandardItem()});
        QCOMPARE(model.groupCount(), 2);
        QCOMPARE(model.groupSum(1, 2).toString(2), u"7.50"_s);
        source->setData(source->index(0, 2), u"2.25"_s);
        QCOMPARE(model.groupSum(0, 2).toString(2), u"2.25"_s);
        // Detail rows map back to their source rows; group rows to none.
        QCOMPARE(model.mapToSource(model.index(1, 1)).row(), 0);
        QVERIFY(!model.mapToSource(model.index(0, 1)).isValid());
        QCOMPARE(model.mapFromSource(source->index(1, 1)).row(), 4);
    }

    void groupAndFooterRowsStandOut()
    {
        auto source = table({u"А|1|1|1"_s});
        GroupedModel model({0, 1, {2}});
        model.setSourceModel(source.get());
        for (int row : {0, 2}) {
            QVERIFY(model.index(row, 1).data(Qt::FontRole).value<QFont>().bold());
            QVERIFY(model.index(row, 1).data(Qt::BackgroundRole).isValid());
            QVERIFY(!(model.flags(model.index(row, 1)) & Qt::ItemIsEditable));
        }
        QVERIFY(!model.index(1, 1).data(Qt::FontRole).isValid());
        QVERIFY(!(model.flags(model.index(1, 1)) & Qt::ItemIsEditable));
    }

    void viewIsReadOnlyWithWholeRows()
    {
        GroupedGrid grid(
            {{u"g"_s, u"Группа"_s, Qt::AlignLeft, true}, {u"n"_s, u"Имя"_s}, {u"s"_s, u"Сумма"_s}},
            {0, 1, {2}});
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(grid.isColumnHidden(0));
        QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), u"Сумма"_s);
    }
};

QTEST_MAIN(GroupedGridTest)
#include "tst_groupedgrid.moc"
