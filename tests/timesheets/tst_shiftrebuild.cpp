// The month rebuild of the shift rows of the hours timesheet: the same rows
// and day cells as recomputing the month one worker, shift and day at a
// time, safe against the hours upkeep of other workstations, and all or
// nothing.

#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "journal/hoursupkeep.h"
#include "testdatabase.h"
#include "timesheets/shiftsheetstore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

// The month recomputed as the timesheet window did it before the rebuild
// became one statement: for each day, the day's hours per shift and worker,
// then one count and one update or insert each.  A day whose hours are all
// empty writes an empty cell.
void rebuildRowByRow(const QString &connection, const MonthPeriod &p)
{
    const Params month{{u"m"_s, p.month}, {u"y"_s, p.year}};
    sql::exec(connection, u"delete from accounts_dep.h_tabel where smena>0 and month=:m and year=:y"_s,
              month);
    for (int day = 1; day <= p.days(); ++day) {
        const QString column = HoursUpkeep::dayColumn(day);
        QSqlQuery dt(QSqlDatabase::database(connection));
        dt.prepare(u"select smena, w_id, sum(time) as tim from accounts_dep.smena where data=:data "
                   "group by smena, w_id"_s);
        dt.bindValue(u":data"_s, p.first.addDays(day - 1));
        if (!dt.exec())
            qFatal("%s", qPrintable(dt.lastError().text()));
        sql::exec(connection,
                  u"update accounts_dep.h_tabel set "_s + column +
                      u"=NULL where i_type=0 and i_night=0 and month=:m and year=:y and id_nom=0"_s,
                  month);
        while (dt.next()) {
            Params key = month;
            key.insert(u"w"_s, dt.value(1).toInt());
            key.insert(u"s"_s, dt.value(0).toInt());
            key.insert(u"t"_s, dt.value(2).isNull() ? sql::nullInt() : QVariant(dt.value(2).toInt()));
            const int count = sql::scalar(connection,
                                          u"select count(w_id) as cnt from accounts_dep.h_tabel h_tabel "
                                          "where w_id=:w and smena=:s and month=:m and year=:y"_s,
                                          key)
                                  .toInt();
            if (count != 0)
                sql::exec(connection,
                          u"update accounts_dep.h_tabel set "_s + column +
                              u"=:t::integer where w_id=:w and smena=:s and month=:m and year=:y"_s,
                          key);
            else
                sql::exec(connection,
                          u"insert into accounts_dep.h_tabel(smena, w_id, month, year, "_s + column +
                              u") values(:s, :w, :m, :y, :t::integer)"_s,
                          key);
        }
    }
}

} // namespace

class ShiftRebuildTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s),
                                        m_db.addProduct(u"КР-1"_s, m_db.addGroup(u"Корпуса"_s)));
        m_aux = m_db.addOperation(m_db.addKind(u"Подсобные"_s),
                                  m_db.addProduct(u"КР-2"_s, m_db.addGroup(u"Тара"_s)));
    }

    void init()
    {
        m_db.exec(u"delete from accounts_dep.smena"_s);
        m_db.exec(u"delete from accounts_dep.h_tabel"_s);
    }

    // Months of every length, with the journal of the months around them.
    void sameAsRowByRow_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::newRow("February of a leap year") << 2 << 2024;
        QTest::newRow("February of a common year") << 2 << 2023;
        QTest::newRow("April, 30 days") << 4 << 2025;
        QTest::newRow("December, the next month in the next year") << 12 << 2024;
    }
    void sameAsRowByRow()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        const MonthPeriod p = MonthPeriod::of(month - 1, year);
        const Fixture f = makeFixture(p);

        seedEarlierRows(f, p);
        rebuildRowByRow(connection(), p);
        const QStringList expected = sheet();

        seedEarlierRows(f, p);
        const int written = ShiftSheetStore(m_db.data()).rebuild(p);
        const QStringList rebuilt = sheet();
        QCOMPARE(rebuilt, expected);

        // What the comparison stands on, spelt out.
        const QString m = u" %1.%2:"_s.arg(month).arg(year);
        QCOMPARE(written, 5);
        QVERIFY(rebuilt.contains(key(f.ivanov, 1, m) + u" d1=8 d2=7"_s));
        QVERIFY(rebuilt.contains(key(f.ivanov, 4, m) + u" d2=2"_s));
        // Only empty hours on day 3: the row is there, the day is not.
        QVERIFY(rebuilt.contains(key(f.petrov, 2, m) + u" d%1=6"_s.arg(p.days())));
        QVERIFY(rebuilt.contains(key(f.petrov, 3, m)));
        // Shift 4 alone still makes a row.
        QVERIFY(rebuilt.contains(key(f.orlov, 4, m) + u" d5=3"_s));
        // No journal rows in the month: the shift row goes, the household row stays.
        QVERIFY(!rebuilt.join(u'\n').contains(key(f.sidorov, 1, m)));
        QVERIFY(rebuilt.contains(u"w%1 smena 0 kind 7777 night 0 nom 5%2 d4=6"_s.arg(f.sidorov).arg(m)));
        // Other months are left alone.
        QVERIFY(rebuilt.contains(key(f.sidorov, 1, u" %1.%2:"_s.arg(p.next.month()).arg(p.next.year())) +
                                 u" d1=9"_s));
    }

    void rebuildingTwiceGivesTheSameRows()
    {
        const MonthPeriod p = MonthPeriod::of(2, 2025);
        const Fixture f = makeFixture(p);
        seedEarlierRows(f, p);
        ShiftSheetStore store(m_db.data());
        store.rebuild(p);
        const QStringList once = sheet();
        store.rebuild(p);
        QCOMPARE(sheet(), once);
    }

    // A failing statement takes the whole rebuild back: the month keeps the
    // rows it had.
    void failureLeavesThePreviousRows()
    {
        const MonthPeriod p = MonthPeriod::of(2, 2025);
        const Fixture f = makeFixture(p);
        seedEarlierRows(f, p);
        const QStringList before = sheet();
        m_db.exec(u"create function pg_temp.refuse() returns trigger language plpgsql as "
                  "'begin raise exception ''табель занят''; end'"_s);
        m_db.exec(u"create trigger refuse before insert on accounts_dep.h_tabel "
                  "for each row execute function pg_temp.refuse()"_s);
        QString message;
        try {
            ShiftSheetStore(m_db.data()).rebuild(p);
        } catch (const DbError &e) {
            message = e.message();
        }
        m_db.exec(u"drop trigger refuse on accounts_dep.h_tabel"_s);
        QVERIFY2(message.contains(u"табель занят"_s), qPrintable(message));
        QCOMPARE(sheet(), before);
        QCOMPARE(m_db.scalar(u"select 1"_s).toInt(), 1); // the connection is still usable
    }

    // An upkeep of another workstation, still in its transaction when the
    // rebuild starts: the rebuild waits for it and then counts its journal
    // row, so the month ends with one row for the key and every hour.
    void upkeepOfAnotherWorkstationDuringARebuild()
    {
        const MonthPeriod p = MonthPeriod::of(2, 2025);
        const int worker = m_db.addWorker(u"Смирнов С.С."_s);
        // The month has no row for him yet: the upkeep inserts one, which a
        // rebuild not waiting for it would neither see nor delete.
        m_db.addJournalRow(worker, m_operation, p.first, 1, 8);
        ShiftSheetStore store(m_db.data());

        std::atomic<int> stage = 0;
        QString error;
        std::thread other([&] {
            const QString name = u"other"_s;
            try {
                DataModule client(nullptr, name);
                client.connectTo(connectionString(m_db.name(), test::TestDatabase::host()));
                Transaction transaction(name);
                sql::exec(
                    name,
                    u"insert into accounts_dep.smena(w_id, o_id, i_id, cena, kol_vo, brak, data, smena, "
                    "time, ok) values (:w, :o, 0, 1, 1, 0, :d, 1, 5, 'no')"_s,
                    {{u"w"_s, worker}, {u"o"_s, m_operation}, {u"d"_s, p.first.addDays(9)}});
                HoursUpkeep(client).shiftHours(worker, 1, p.first.addDays(9), HoursUpkeep::Mode::Upsert);
                stage = 1;
                QThread::msleep(400); // the rebuild starts meanwhile and has to wait
                stage = 2;
                transaction.commit();
            } catch (const DbError &e) {
                error = e.message();
                stage = 2;
            }
        });
        while (stage == 0)
            QThread::msleep(5);
        store.rebuild(p);
        const bool waited = stage == 2;
        other.join();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(sheet(), QStringList{key(worker, 1, u" 3.2025:"_s) + u" d1=8 d10=5"_s});
        QVERIFY(waited);
    }

private:
    struct Fixture
    {
        int ivanov = 0, petrov = 0, orlov = 0, sidorov = 0, kuznetsov = 0;
    };

    QString connection() const { return m_db.data().connectionName(); }

    static QString key(int worker, int shift, const QString &month)
    {
        return u"w%1 smena %2 kind 0 night 0 nom 0%3"_s.arg(worker).arg(shift).arg(month);
    }

    // Several workers and shifts, shift 4, empty days, a day of empty hours,
    // the last day of the month and the days either side of it.
    Fixture makeFixture(const MonthPeriod &p)
    {
        Fixture f;
        f.ivanov = m_db.addWorker(u"Иванов И.И."_s);
        f.petrov = m_db.addWorker(u"Петров П.П."_s);
        f.orlov = m_db.addWorker(u"Орлов О.О."_s);
        f.sidorov = m_db.addWorker(u"Сидоров С.С."_s);
        f.kuznetsov = m_db.addWorker(u"Кузнецов К.К."_s);
        const QDate d1 = p.first;
        m_db.addJournalRow(f.ivanov, m_operation, d1, 1, 5);
        m_db.addJournalRow(f.ivanov, m_aux, d1, 1, 3, u"ok"_s);
        m_db.addJournalRow(f.ivanov, m_operation, d1.addDays(1), 1, 7);
        m_db.addJournalRow(f.ivanov, m_operation, d1.addDays(1), 4, 2);
        m_db.addJournalRow(f.petrov, m_operation, p.last, 2, 6);
        const int empty = m_db.addJournalRow(f.petrov, m_operation, d1.addDays(2), 3, 0);
        const int empty2 = m_db.addJournalRow(f.petrov, m_operation, d1.addDays(2), 3, 0);
        m_db.exec(u"update accounts_dep.smena set time=null where id in (:a, :b)"_s,
                  {{u"a"_s, empty}, {u"b"_s, empty2}});
        m_db.addJournalRow(f.orlov, m_operation, d1.addDays(4), 4, 3);
        // Outside the month: the day before and the first day of the next.
        m_db.addJournalRow(f.kuznetsov, m_operation, d1.addDays(-1), 1, 4);
        m_db.addJournalRow(f.sidorov, m_operation, p.next, 1, 9);
        return f;
    }

    // The month's rows as an earlier rebuild and the upkeep left them, some
    // now wrong, and rows of other months.
    void seedEarlierRows(const Fixture &f, const MonthPeriod &p)
    {
        m_db.exec(u"delete from accounts_dep.h_tabel"_s);
        auto row = [&](int worker, int shift, int month, int year, const QString &cells) {
            m_db.exec(
                u"insert into accounts_dep.h_tabel(w_id, smena, month, year, d1, d2, d31) "
                "select :w, :s, :m, :y, a[1], a[2], a[3] from (select :cells::int[] a) c"_s,
                {{u"w"_s, worker}, {u"s"_s, shift}, {u"m"_s, month}, {u"y"_s, year}, {u"cells"_s, cells}});
        };
        row(f.ivanov, 1, p.month, p.year, u"{1,1,11}"_s);
        row(f.ivanov, 1, p.month, p.year, u"{2,2,null}"_s); // a duplicate from an old race
        row(f.ivanov, 2, p.month, p.year, u"{8,null,null}"_s);
        row(f.sidorov, 1, p.month, p.year, u"{8,8,8}"_s);
        row(f.sidorov, 1, p.next.month(), p.next.year(), u"{9,null,null}"_s);
        m_db.exec(u"insert into accounts_dep.h_tabel(w_id, smena, i_type, i_night, id_nom, month, year, d4) "
                  "values (:w, 0, 7777, 0, 5, :m, :y, 6)"_s,
                  {{u"w"_s, f.sidorov}, {u"m"_s, p.month}, {u"y"_s, p.year}});
    }

    // Every timesheet row, one line each with its key and the day cells
    // that are not empty, sorted; the row ids are left out.
    QStringList sheet() const
    {
        QSqlQuery query(QSqlDatabase::database(connection()));
        if (!query.exec(u"select * from accounts_dep.h_tabel"_s))
            qFatal("%s", qPrintable(query.lastError().text()));
        QStringList rows;
        while (query.next()) {
            QString line = u"w%1 smena %2 kind %3 night %4 nom %5 %6.%7:"_s.arg(
                query.value(u"w_id"_s).toString(), query.value(u"smena"_s).toString(),
                query.value(u"i_type"_s).toString(), query.value(u"i_night"_s).toString(),
                query.value(u"id_nom"_s).toString(), query.value(u"month"_s).toString(),
                query.value(u"year"_s).toString());
            for (int day = 1; day <= 31; ++day) {
                const QVariant cell = query.value(HoursUpkeep::dayColumn(day));
                if (!cell.isNull())
                    line += u" d%1=%2"_s.arg(day).arg(cell.toString());
            }
            rows << line;
        }
        rows.sort();
        return rows;
    }

    test::TestDatabase m_db;
    int m_operation = 0;
    int m_aux = 0;
};

QTEST_MAIN(ShiftRebuildTest)
#include "tst_shiftrebuild.moc"
