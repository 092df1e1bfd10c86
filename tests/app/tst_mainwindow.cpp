// The daily journal window: date and day-off rules, shifts, the colours of
// the acceptance marks and acceptance by double-click.

#include "app/mainwindow.h"
#include "core/datamodule.h"
#include "core/journalrules.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"
#include "widgets/restrictions.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {
const QString kLongName = u"Константинопольский-Щербаков Александр Владимирович"_s;
}

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        for (int shift = 1; shift <= 4; ++shift)
            m_db.data().journal(shift).setParam(u"ok"_s, u"ta"_s);
        const int group = m_db.addGroup(u"Корпуса"_s);
        m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), m_db.addProduct(u"КР-1"_s, group));
        m_worker = m_db.addWorker(u"Иванов И.И."_s);
        m_longWorker = m_db.addWorker(kLongName);
    }

    void init() { m_messages.clear(); }

    void dayOffFollowsTheDate_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("Saturday") << QDate(2025, 3, 8) << true;
        QTest::newRow("Sunday") << QDate(2025, 3, 9) << true;
        QTest::newRow("Tuesday") << QDate(2025, 3, 11) << false;
    }
    void dayOffFollowsTheDate()
    {
        QFETCH(QDate, today);
        QFETCH(bool, ticked);
        MainWindow window(m_db.data());
        window.setClock([today] { return today; });
        window.activateJournal();
        QCOMPARE(window.journalDate(), today);
        QCOMPARE(window.isDayOff(), ticked);
        auto *box = window.findChild<QCheckBox *>(u"CBox1"_s);
        QCOMPARE(box->styleSheet().contains(u"#ff0000"_s), ticked);
    }

    void dateChoiceAndReturnToToday()
    {
        MainWindow window(m_db.data());
        const QDate tuesday(2025, 3, 11);
        window.setClock([tuesday] { return tuesday; });
        window.activateJournal();
        window.chooseDate(QDate(2025, 3, 9)); // Sunday
        QVERIFY(window.isDayOff());
        window.chooseDate(QDate(2025, 3, 10)); // Monday
        QVERIFY(!window.isDayOff());
        QCOMPARE(m_db.data().journal(4).param(u"data"_s).toDate(), QDate(2025, 3, 10));
        // Coming back from any other window shows today again.
        window.activateJournal();
        QCOMPARE(window.journalDate(), tuesday);
        QCOMPARE(m_db.data().journal(2).param(u"data"_s).toDate(), tuesday);
        QVERIFY(m_messages.shown.isEmpty());
    }

    // Back from another window of the program: today again.  Back from
    // another application: the chosen date stays.
    void activationOnlyFromOwnWindows()
    {
        MainWindow window(m_db.data());
        const QDate tuesday(2025, 3, 11);
        window.setClock([tuesday] { return tuesday; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));

        window.chooseDate(QDate(2025, 3, 3));
        Q_EMIT qApp->focusWindowChanged(nullptr); // another application
        Q_EMIT qApp->focusWindowChanged(window.windowHandle());
        QCOMPARE(window.journalDate(), QDate(2025, 3, 3));

        Q_EMIT qApp->focusWindowChanged(other.windowHandle()); // a window of ours
        Q_EMIT qApp->focusWindowChanged(window.windowHandle());
        QCOMPARE(window.journalDate(), tuesday);
    }

    void shiftButtons()
    {
        MainWindow window(m_db.data());
        auto *grid = window.findChild<DataGrid *>(u"DBGrid2"_s);
        window.findChild<QRadioButton *>(u"RadioButton3"_s)->click();
        QCOMPARE(window.currentShift(), 3);
        QCOMPARE(grid->dataset(), &m_db.data().journal(3));
        QVERIFY(window.findChild<QRadioButton *>(u"RadioButton3"_s)->styleSheet().contains(u"#008000"_s));
        QVERIFY(window.findChild<QRadioButton *>(u"RadioButton1"_s)->styleSheet().isEmpty());
        window.setCurrentShift(4);
        QCOMPARE(grid->dataset(), &m_db.data().journal(4));
    }

    void acceptanceToggles_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("afterSecond");
        QTest::newRow("entered row accepted, then back") << u"4927"_s << u"no"_s << u"ok"_s << u"no"_s;
        QTest::newRow("legacy mark becomes no") << u"4927"_s << u"да"_s << u"no"_s << u"ok"_s;
        QTest::newRow("foremen change nothing") << u"wendrix"_s << u"no"_s << u"no"_s << u"no"_s;
    }
    void acceptanceToggles()
    {
        QFETCH(QString, role);
        QFETCH(QString, mark);
        const QDate day(2025, 6, 2);
        m_db.exec(u"delete from accounts_dep.smena"_s);
        m_db.addJournalRow(m_worker, m_operation, day, 2, 8, u"ok"_s);
        const int row = m_db.addJournalRow(m_worker, m_operation, day, 2, 4, mark, 1);

        MainWindow window(m_db.data());
        window.setClock([day] { return day; });
        window.setRoleText(role);
        window.setCurrentShift(2);
        window.activateJournal();
        Dataset &journal = m_db.data().journal(2);
        QVERIFY(journal.locate(u"id"_s, row));
        const int recNo = journal.recNo();

        auto markOf = [this, row] {
            return m_db.scalar(u"select ok from accounts_dep.smena where id=:id"_s, {{u"id"_s, row}})
                .toString();
        };
        window.toggleAcceptance();
        QTEST(markOf(), "after");
        QCOMPARE(journal.recNo(), recNo); // back on the same place
        window.toggleAcceptance();
        QTEST(markOf(), "afterSecond");
        QVERIFY(m_messages.shown.isEmpty());
    }

    void marksColoured()
    {
        const QDate day(2025, 6, 3);
        m_db.exec(u"delete from accounts_dep.smena"_s);
        m_db.addJournalRow(m_worker, m_operation, day, 1, 8, u"ok"_s, 1);
        m_db.addJournalRow(m_worker, m_operation, day, 1, 8, u"да"_s, 2);
        m_db.addJournalRow(m_worker, m_operation, day, 1, 8, u"no"_s, 3);
        MainWindow window(m_db.data());
        window.setClock([day] { return day; });
        window.activateJournal();
        auto *model = window.findChild<DataGrid *>(u"DBGrid2"_s)->model();
        QCOMPARE(model->rowCount(), 3);
        const int okColumn = 10;
        QCOMPARE(model->headerData(okColumn, Qt::Horizontal).toString(), u"OK"_s);
        const QList<QColor> expected{QColor(0, 0x80, 0), QColor(0, 0x80, 0), QColor(0xff, 0, 0)};
        for (int row = 0; row < 3; ++row) {
            const QModelIndex cell = model->index(row, okColumn);
            QCOMPARE(model->data(cell, Qt::ForegroundRole).value<QColor>(), expected[row]);
            QVERIFY(model->data(cell, Qt::FontRole).value<QFont>().bold());
        }
        QCOMPARE(model->data(model->index(0, 8)).toString(), u"100.00"_s);
        QCOMPARE(model->data(model->index(0, 6)).toString(), u"12"_s);
    }

    // Each shift's journal has its columns sized to its own rows: a long name
    // in a later shift is not cut to the width of shift 1's names.
    void columnWidthsFollowTheShift_data()
    {
        QTest::addColumn<int>("shift");
        QTest::newRow("shift 2") << 2;
        QTest::newRow("shift 3") << 3;
        QTest::newRow("overtime") << 4;
    }
    void columnWidthsFollowTheShift()
    {
        QFETCH(int, shift);
        const QDate day(2025, 6, 4);
        m_db.exec(u"delete from accounts_dep.smena"_s);
        m_db.addJournalRow(m_worker, m_operation, day, 1, 8);
        m_db.addJournalRow(m_longWorker, m_operation, day, shift, 8);
        MainWindow window(m_db.data());
        window.setClock([day] { return day; });
        window.activateJournal();
        auto *grid = window.findChild<DataGrid *>(u"DBGrid2"_s);
        const int longName = grid->fontMetrics().horizontalAdvance(kLongName);
        QVERIFY(grid->columnWidth(0) < longName);
        window.setCurrentShift(shift);
        QVERIFY2(grid->columnWidth(0) >= longName,
                 qPrintable(u"%1 < %2"_s.arg(grid->columnWidth(0)).arg(longName)));
        window.setCurrentShift(1);
        QVERIFY(grid->columnWidth(0) < longName);
    }

    void journalAlignment_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::Alignment>("alignment");
        const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
        const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
        QTest::newRow("name") << 0 << left;
        QTest::newRow("product") << 1 << left;
        QTest::newRow("kind") << 3 << left;
        QTest::newRow("colour") << 4 << Qt::Alignment(Qt::AlignCenter);
        QTest::newRow("hours") << 5 << right;
        QTest::newRow("quantity") << 6 << right;
        QTest::newRow("rejects") << 7 << right;
        QTest::newRow("amount") << 8 << right;
        QTest::newRow("mark") << 10 << Qt::Alignment(Qt::AlignCenter);
        QTest::newRow("entered") << 11 << Qt::Alignment(Qt::AlignCenter);
    }
    void journalAlignment()
    {
        QFETCH(int, column);
        const QDate day(2025, 6, 5);
        m_db.exec(u"delete from accounts_dep.smena"_s);
        m_db.addJournalRow(m_worker, m_operation, day, 1, 8);
        MainWindow window(m_db.data());
        window.setClock([day] { return day; });
        window.activateJournal();
        auto *model = window.findChild<DataGrid *>(u"DBGrid2"_s)->model();
        QCOMPARE(model->rowCount(), 1);
        QTEST(Qt::Alignment(model->index(0, column).data(Qt::TextAlignmentRole).toInt()), "alignment");
    }

    // The payroll office reads the journal: not greyed out, scrolled and
    // selected, but a double-click accepts nothing and no menu opens.
    void payrollReadsTheJournal()
    {
        const QDate day(2025, 6, 6);
        m_db.exec(u"delete from accounts_dep.smena"_s);
        for (int i = 0; i < 40; ++i)
            m_db.addJournalRow(m_worker, m_operation, day, 1, 8, u"no"_s, i);
        MainWindow window(m_db.data());
        window.setClock([day] { return day; });
        window.setRoleText(u"plutar"_s);
        applyRestrictions(Role::Payroll, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateJournal();

        auto *grid = window.findChild<DataGrid *>(u"DBGrid2"_s);
        QVERIFY(grid->isEnabled());
        QVERIFY(grid->actionsRefused());
        QCOMPARE(grid->contextMenuPolicy(), Qt::PreventContextMenu);
        QVERIFY(grid->verticalScrollBar()->isEnabled());
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);
        grid->scrollToBottom();
        const QModelIndex last = grid->model()->index(grid->model()->rowCount() - 1, 0);
        const QPoint point = grid->visualRect(last).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(m_db.data().journal(1).recNo(), 40);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(m_db.count(u"accounts_dep.smena where ok = 'no'"_s), 40);
        QVERIFY(m_messages.shown.isEmpty());
    }

    void reportPeriod()
    {
        const auto january = journal::previousMonth(QDate(2025, 1, 15));
        QCOMPARE(january.from, QDate(2024, 12, 1));
        QCOMPARE(january.to, QDate(2025, 1, 1));
        QCOMPARE(journal::previousMonth(QDate(2025, 3, 31)).from, QDate(2025, 2, 1));
    }

private:
    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    int m_operation = 0;
    int m_worker = 0;
    int m_longWorker = 0;
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
