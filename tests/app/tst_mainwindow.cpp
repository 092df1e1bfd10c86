// The daily journal window: date and day-off rules, shifts, the colours of
// the acceptance marks and acceptance by double-click.

#include "widgets/datagrid.h"
#include "core/datamodule.h"
#include "core/journalrules.h"
#include "app/mainwindow.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

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
            return m_db.scalar(u"select ok from accounts_dep.smena where id=:id"_s, {{u"id"_s, row}}).toString();
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
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
