// The hours upkeep: one worker's hours of one day recomputed into the day
// cell of the month's timesheet row, for shift rows and household rows, and
// safe when several clients keep the same row at once.

#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "journal/hoursupkeep.h"
#include "testdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <latch>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;
using namespace kordel;
using Mode = HoursUpkeep::Mode;

// A journal row of the worker under test.
struct Entry
{
    int shift;
    QDate date;
    int hours;
};
Q_DECLARE_METATYPE(Entry)

class HoursUpkeepTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        const int group = m_db.addGroup(u"Корпуса"_s);
        m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), m_db.addProduct(u"КР-1"_s, group));
    }

    void firstAndSecondEntryOfADay()
    {
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Иванов И.И."_s);
        const QDate day(2025, 3, 5);
        m_db.addJournalRow(worker, m_operation, day, 1, 8);
        upkeep.shiftHours(worker, 1, day, Mode::Upsert);
        QCOMPARE(sheet(worker), QStringList{u"smena 1 kind 0 night 0 nom 0 3.2025: d5=8"_s});

        m_db.addJournalRow(worker, m_operation, day, 1, 3);
        upkeep.shiftHours(worker, 1, day, Mode::Upsert);
        QCOMPARE(sheet(worker), QStringList{u"smena 1 kind 0 night 0 nom 0 3.2025: d5=11"_s});
    }

    // Journal rows (shift, date, hours) and the upkeep run for each of them
    // in turn; the month rows they leave.
    void shiftKeys_data()
    {
        QTest::addColumn<QList<Entry>>("entries");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("month end and next month's first day")
            << QList<Entry>{{1, QDate(2025, 1, 31), 7}, {1, QDate(2025, 2, 1), 5}}
            << QStringList{u"smena 1 kind 0 night 0 nom 0 1.2025: d31=7"_s,
                           u"smena 1 kind 0 night 0 nom 0 2.2025: d1=5"_s};
        QTest::newRow("two shifts of one day")
            << QList<Entry>{{1, QDate(2025, 3, 5), 8}, {4, QDate(2025, 3, 5), 2}}
            << QStringList{u"smena 1 kind 0 night 0 nom 0 3.2025: d5=8"_s,
                           u"smena 4 kind 0 night 0 nom 0 3.2025: d5=2"_s};
        QTest::newRow("two days of one month")
            << QList<Entry>{{2, QDate(2024, 12, 2), 4}, {2, QDate(2024, 12, 3), 6}}
            << QStringList{u"smena 2 kind 0 night 0 nom 0 12.2024: d2=4 d3=6"_s};
    }
    void shiftKeys()
    {
        QFETCH(QList<Entry>, entries);
        QFETCH(QStringList, expected);
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Петров П.П."_s);
        for (const Entry &e : entries) {
            m_db.addJournalRow(worker, m_operation, e.date, e.shift, e.hours);
            upkeep.shiftHours(worker, e.shift, e.date, Mode::Upsert);
        }
        QCOMPARE(sheet(worker), expected);
    }

    void updateOnlyNeverInserts()
    {
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Сидоров С.С."_s);
        m_db.addJournalRow(worker, m_operation, QDate(2025, 3, 5), 1, 8);
        upkeep.shiftHours(worker, 1, QDate(2025, 3, 5), Mode::UpdateOnly);
        QCOMPARE(sheet(worker), QStringList());
    }

    // Deleting a day's rows one by one: the cell follows the rest, and the
    // last deletion leaves 0 in a row that still holds other days.
    void deletionsRecomputeTheDay()
    {
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Кузнецов К.К."_s);
        const QDate day(2025, 3, 5);
        const int four = m_db.addJournalRow(worker, m_operation, day, 2, 4);
        const int three = m_db.addJournalRow(worker, m_operation, day, 2, 3);
        m_db.addJournalRow(worker, m_operation, day.addDays(1), 2, 6);
        upkeep.shiftHours(worker, 2, day, Mode::Upsert);
        upkeep.shiftHours(worker, 2, day.addDays(1), Mode::Upsert);
        QCOMPARE(sheet(worker), QStringList{u"smena 2 kind 0 night 0 nom 0 3.2025: d5=7 d6=6"_s});

        m_db.exec(u"delete from accounts_dep.smena where id=:id"_s, {{u"id"_s, three}});
        upkeep.shiftHours(worker, 2, day, Mode::UpdateOnly);
        QCOMPARE(sheet(worker), QStringList{u"smena 2 kind 0 night 0 nom 0 3.2025: d5=4 d6=6"_s});

        m_db.exec(u"delete from accounts_dep.smena where id=:id"_s, {{u"id"_s, four}});
        upkeep.shiftHours(worker, 2, day, Mode::UpdateOnly);
        QCOMPARE(sheet(worker), QStringList{u"smena 2 kind 0 night 0 nom 0 3.2025: d5=0 d6=6"_s});
    }

    // Every journal row of the day counts, whatever its operation or mark:
    // auxiliary workers' rows too.
    void everyRowOfTheDayCounts()
    {
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Орлов О.О."_s);
        const QDate day(2025, 3, 5);
        m_db.addJournalRow(worker, 7779, day, 1, 4, u"no"_s);
        m_db.addJournalRow(worker, m_operation, day, 1, 2, u"ok"_s);
        m_db.addJournalRow(worker, m_operation, day, 1, 1, u"ta"_s);
        upkeep.shiftHours(worker, 1, day, Mode::Upsert);
        QCOMPARE(sheet(worker), QStringList{u"smena 1 kind 0 night 0 nom 0 3.2025: d5=7"_s});
    }

    void householdKeys()
    {
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Волков В.В."_s);
        const qint64 groupA = m_db.addGroup(u"Тара"_s);
        const qint64 groupB = m_db.addGroup(u"Уборка"_s);
        const QDate day(2025, 3, 5);
        addHousehold(worker, 7777, groupA, day, 5, 0);
        addHousehold(worker, 7777, groupA, day, 2, 0);
        addHousehold(worker, 7777, groupB, day, 3, 0);
        addHousehold(worker, 7777, groupA, day, 4, 1);
        addHousehold(worker, 7778, groupA, day, 6, 0);
        upkeep.householdHours(worker, 7777, 0, groupA, day, Mode::Upsert);
        upkeep.householdHours(worker, 7777, 0, groupB, day, Mode::Upsert);
        upkeep.householdHours(worker, 7777, 1, groupA, day, Mode::Upsert);
        upkeep.householdHours(worker, 7778, 0, groupA, day, Mode::UpdateOnly); // no row yet: none made
        QStringList expected{
            u"smena 0 kind 7777 night 0 nom %1 3.2025: d5=7"_s.arg(groupA),
            u"smena 0 kind 7777 night 0 nom %1 3.2025: d5=3"_s.arg(groupB),
            u"smena 0 kind 7777 night 1 nom %1 3.2025: d5=4"_s.arg(groupA),
        };
        expected.sort();
        QCOMPARE(sheet(worker), expected);

        m_db.exec(u"delete from accounts_dep.fatigue where id_p=:w and id_nom=:g"_s,
                  {{u"w"_s, worker}, {u"g"_s, groupB}});
        upkeep.householdHours(worker, 7777, 0, groupB, day, Mode::UpdateOnly);
        QVERIFY(sheet(worker).contains(u"smena 0 kind 7777 night 0 nom %1 3.2025: d5=0"_s.arg(groupB)));
    }

    // The upkeep joins the caller's transaction: a write rolled back takes
    // its hours with it.
    void joinsTheCallersTransaction()
    {
        HoursUpkeep upkeep(m_db.data());
        const int worker = m_db.addWorker(u"Зайцев З.З."_s);
        const QDate day(2025, 3, 5);
        {
            Transaction outer(m_db.data().connectionName());
            m_db.addJournalRow(worker, m_operation, day, 3, 8);
            upkeep.shiftHours(worker, 3, day, Mode::Upsert);
            // no commit
        }
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, worker}}), 0);
        QCOMPARE(sheet(worker), QStringList());
    }

    // Several clients keeping the same new row at once: one row, with the
    // day's whole sum.
    void concurrentClientsMakeOneRow()
    {
        constexpr int clients = 6;
        const int worker = m_db.addWorker(u"Быстров Б.Б."_s);
        const QDate day(2025, 4, 10);
        for (int i = 0; i < clients; ++i)
            m_db.addJournalRow(worker, m_operation, day, 2, 1 + i);

        const QString database = m_db.name();
        std::latch connected(clients);
        std::mutex serial;
        QStringList errors;
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; ++i) {
            threads.emplace_back([&, i] {
                const QString name = u"client%1"_s.arg(i);
                try {
                    DataModule client(nullptr, name);
                    client.connectTo(connectionString(database, test::TestDatabase::host()));
                    {
                        // Transaction's bookkeeping of nesting is made for the
                        // client's one thread: each connection's entry is
                        // made here one at a time, before the race.
                        std::lock_guard lock(serial);
                        Transaction warmUp(name);
                        warmUp.commit();
                    }
                    connected.arrive_and_wait();
                    HoursUpkeep(client).shiftHours(worker, 2, day, Mode::Upsert);
                } catch (const DbError &e) {
                    std::lock_guard lock(serial);
                    errors << e.message();
                }
            });
        }
        for (auto &t : threads)
            t.join();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QCOMPARE(sheet(worker), QStringList{u"smena 2 kind 0 night 0 nom 0 4.2025: d10=21"_s});
    }

private:
    void addHousehold(int worker, int kind, qint64 group, const QDate &day, int hours, int night)
    {
        m_db.exec(
            u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, cnt, "
            "price, i_holiday, i_night) values (:p, :o, :g, :d::date, :m, :y, 1, :c, 10, 0, :n)"_s,
            {{u"p"_s, worker},
             {u"o"_s, kind},
             {u"g"_s, group},
             {u"d"_s, day},
             {u"m"_s, day.month()},
             {u"y"_s, day.year()},
             {u"c"_s, hours},
             {u"n"_s, night}});
    }

    // The worker's timesheet rows, one line each with the key and the day
    // cells that are not null, sorted.
    QStringList sheet(int worker) const
    {
        QSqlQuery query(QSqlDatabase::database(m_db.data().connectionName()));
        query.prepare(u"select * from accounts_dep.h_tabel where w_id=:w"_s);
        query.bindValue(u":w"_s, worker);
        if (!query.exec())
            qFatal("%s", qPrintable(query.lastError().text()));
        QStringList rows;
        while (query.next()) {
            QString line = u"smena %1 kind %2 night %3 nom %4 %5.%6:"_s.arg(
                query.value(u"smena"_s).toString(), query.value(u"i_type"_s).toString(),
                query.value(u"i_night"_s).toString(), query.value(u"id_nom"_s).toString(),
                query.value(u"month"_s).toString(), query.value(u"year"_s).toString());
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
};

QTEST_MAIN(HoursUpkeepTest)
#include "tst_hoursupkeep.moc"
