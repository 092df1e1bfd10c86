// The demo data: it loads onto a fresh schema, gives every window something
// to show for today and this month, and its hours timesheet agrees with the
// records it was made from.

#include "core/datamodule.h"
#include "db/dataset.h"
#include "testdatabase.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

class DemoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(true), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    }

    void somethingToShow_data()
    {
        QTest::addColumn<QString>("fromWhere");
        const QString thisMonth = u" and data >= date_trunc('month', current_date)"_s;
        const QString fatigueThisMonth = u" and d_date >= date_trunc('month', current_date)"_s;
        QTest::newRow("hanging rows today")
            << u"accounts_dep.smena where o_id = 7784 and data = current_date"_s;
        QTest::newRow("brigade rows this month") << u"accounts_dep.smena where o_id = 7781"_s + thisMonth;
        QTest::newRow("painting rows this month") << u"accounts_dep.smena where o_id = 7780"_s + thisMonth;
        QTest::newRow("hanging rows of another length")
            << u"accounts_dep.smena where o_id = 7784 and time <> 8"_s;
        for (const int kind : {7777, 7778, 7782, 7783})
            QTest::newRow(qPrintable(u"household kind %1 this month"_s.arg(kind)))
                << u"accounts_dep.fatigue where id_o = %1"_s.arg(kind) + fatigueThisMonth;
        QTest::newRow("household hours rows") << u"accounts_dep.h_tabel where smena = 0 and i_type <> 0"_s;
        QTest::newRow("unaccepted rows today")
            << u"accounts_dep.smena where ok = 'no' and data = current_date"_s;
        QTest::newRow("accepted rows") << u"accounts_dep.smena where ok in ('ok', 'да')"_s;
    }
    void somethingToShow()
    {
        QFETCH(QString, fromWhere);
        QVERIFY2(m_db.count(fromWhere) > 0, qPrintable(fromWhere));
    }

    // Every day cell of the hours timesheet is the sum of the day's records.
    void hoursAgreeWithTheRecords()
    {
        const QString cells = u"(select h.w_id, h.smena, h.i_type, h.i_night, h.id_nom, "
                              "make_date(h.year, h.month, d.day) as day, "
                              "(to_jsonb(h) ->> ('d' || d.day))::integer as hours "
                              "from accounts_dep.h_tabel h cross join generate_series(1, 31) d(day) "
                              "where d.day <= extract(day from (make_date(h.year, h.month, 1) + "
                              "interval '1 month' - interval '1 day'))) c"_s;
        const int shiftMismatches =
            m_db.scalar(u"select count(*) from "_s + cells +
                        u" where c.smena between 1 and 4 and coalesce(c.hours, 0) <> coalesce((select "
                        u"sum(s.time) "
                        "from accounts_dep.smena s where s.w_id = c.w_id and s.smena = c.smena "
                        "and s.data = c.day), 0)"_s)
                .toInt();
        QCOMPARE(shiftMismatches, 0);
        const int householdMismatches =
            m_db.scalar(u"select count(*) from "_s + cells +
                        u" where c.smena = 0 and coalesce(c.hours, 0) <> coalesce((select sum(f.cnt) "
                        "from accounts_dep.fatigue f where f.id_p = c.w_id and f.id_o = c.i_type "
                        "and f.i_night = c.i_night and f.id_nom = c.id_nom and f.d_date = c.day), 0)"_s)
                .toInt();
        QCOMPARE(householdMismatches, 0);
    }

    // Today's journal of shift 1, as the main window reads it, lists the
    // paid workers' records.
    void journalListsTheDistributions()
    {
        Dataset &journal = m_db.data().journal(1);
        journal.setParam(u"ok"_s, u"ta"_s);
        journal.setParam(u"data"_s, QDate::currentDate());
        journal.open();
        QStringList operations;
        for (int row = 0; row < journal.recordCount(); ++row)
            operations << journal.valueAt(row, u"vid"_s).toString();
        journal.close();
        for (const QString &kind : {u"Навеска"_s, u"Подсобный рабочий"_s, u"Оператор покраски"_s})
            QVERIFY2(operations.contains(kind), qPrintable(kind));
    }

private:
    test::TestDatabase m_db;
};

QTEST_MAIN(DemoTest)
#include "tst_demo.moc"
