// The household records' statements against the test database: prices,
// the timesheet rows kept in step on insert, change and delete (all or
// nothing), and the month's average-piecework rate.

#include "core/datamodule.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "household/householdstore.h"
#include "journal/hoursupkeep.h"
#include "testdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

Decimal dec(const QString &text)
{
    return *Decimal::parse(text);
}

const QDate kDay(2025, 3, 5); // a Wednesday

} // namespace

class HouseholdStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_groupA = m_db.addGroup(u"Тара"_s);
        m_groupB = m_db.addGroup(u"Уборка"_s);
        m_store = std::make_unique<HouseholdStore>(m_db.data());
    }

    void finalPrice_data()
    {
        QTest::addColumn<QString>("norm");
        QTest::addColumn<bool>("dayOff");
        QTest::addColumn<bool>("night");
        QTest::addColumn<QString>("expected");
        QTest::newRow("working day") << u"150"_s << false << false << u"150"_s;
        QTest::newRow("day off") << u"150"_s << true << false << u"300"_s;
        QTest::newRow("night") << u"150"_s << false << true << u"180"_s;
        QTest::newRow("day off with night") << u"150"_s << true << true << u"360"_s;
        QTest::newRow("fraction") << u"125.5"_s << false << true << u"150.6"_s;
        QTest::newRow("four places kept") << u"0.1235"_s << true << true << u"0.2964"_s;
    }
    void finalPrice()
    {
        QFETCH(QString, norm);
        QFETCH(bool, dayOff);
        QFETCH(bool, night);
        QFETCH(QString, expected);
        QCOMPARE(HouseholdStore::finalPrice(dec(norm), dayOff, night).toString(), expected);
    }

    // Records of one key on one day add up in one cell; another group or
    // night flag makes another row; the stored price is the one given.
    void insertKeepsTheDayCells()
    {
        const int worker = m_db.addWorker(u"Волков В.В."_s);
        m_store->insert(record(worker, 7777, m_groupA, 8, u"150"_s));
        QCOMPARE(sheet(worker), QStringList{row(7777, 0, m_groupA, u"d5=8"_s)});
        m_store->insert(record(worker, 7777, m_groupA, 3, u"150"_s));
        m_store->insert(record(worker, 7777, m_groupB, 2, u"150"_s));
        HouseholdRecord night = record(worker, 7777, m_groupA, 4, u"180"_s);
        night.night = true;
        m_store->insert(night);
        QCOMPARE(sheet(worker), sorted({row(7777, 0, m_groupA, u"d5=11"_s), row(7777, 0, m_groupB, u"d5=2"_s),
                                        row(7777, 1, m_groupA, u"d5=4"_s)}));
        QCOMPARE(m_db.scalar(u"select price::text from accounts_dep.fatigue where id_p=:w and i_night=1"_s,
                             {{u"w"_s, worker}})
                     .toString(),
                 u"180.0000"_s);
        QCOMPARE(m_db.scalar(u"select i_mnth*10000+i_year from accounts_dep.fatigue where id_p=:w limit 1"_s,
                             {{u"w"_s, worker}})
                     .toInt(),
                 32025);
    }

    // Deleting: the only record of a key leaves 0, one of two leaves the
    // other's hours; other days and other groups stay as they were.
    void deleteRecomputesTheKey()
    {
        const int worker = m_db.addWorker(u"Орлов О.О."_s);
        const int five = m_store->insert(record(worker, 7782, m_groupA, 5, u"10"_s));
        const int two = m_store->insert(record(worker, 7782, m_groupA, 2, u"10"_s));
        HouseholdRecord nextDay = record(worker, 7782, m_groupA, 6, u"10"_s);
        nextDay.date = kDay.addDays(1);
        m_store->insert(nextDay);
        const int other = m_store->insert(record(worker, 7782, m_groupB, 4, u"10"_s));

        m_store->remove(five);
        QCOMPARE(sheet(worker),
                 sorted({row(7782, 0, m_groupA, u"d5=2 d6=6"_s), row(7782, 0, m_groupB, u"d5=4"_s)}));
        m_store->remove(two);
        QCOMPARE(sheet(worker),
                 sorted({row(7782, 0, m_groupA, u"d5=0 d6=6"_s), row(7782, 0, m_groupB, u"d5=4"_s)}));
        m_store->remove(other);
        QCOMPARE(sheet(worker),
                 sorted({row(7782, 0, m_groupA, u"d5=0 d6=6"_s), row(7782, 0, m_groupB, u"d5=0"_s)}));
    }

    // A change of worker, kind or group takes the hours away from the key
    // the record left, as well as adding them to the new one.
    void changeRecomputesBothKeys_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("group") << u"group"_s;
        QTest::newRow("kind") << u"kind"_s;
        QTest::newRow("worker") << u"worker"_s;
    }
    void changeRecomputesBothKeys()
    {
        QFETCH(QString, what);
        const int worker = m_db.addWorker(u"Сидоров С.С."_s);
        const int other = m_db.addWorker(u"Петров П.П."_s);
        m_store->insert(record(worker, 7777, m_groupA, 3, u"10"_s));
        const int id = m_store->insert(record(worker, 7777, m_groupA, 5, u"10"_s));

        HouseholdRecord changed = record(worker, 7777, m_groupA, 6, u"10"_s);
        if (what == u"group"_s)
            changed.group = m_groupB;
        else if (what == u"kind"_s)
            changed.kind = 7783;
        else
            changed.worker = other;
        changed.date = kDay.addDays(10); // ignored: a change keeps the record's day
        m_store->change(id, changed);

        QStringList expected{row(7777, 0, m_groupA, u"d5=3"_s)};
        if (what == u"worker"_s)
            QCOMPARE(sheet(other), QStringList{row(7777, 0, m_groupA, u"d5=6"_s)});
        else
            expected << row(changed.kind, 0, changed.group, u"d5=6"_s);
        QCOMPARE(sheet(worker), sorted(expected));
    }

    // A failing upkeep takes the record's write with it, on every path.
    void writeAndUpkeepStandOrFallTogether()
    {
        const int worker = m_db.addWorker(u"Зайцев З.З."_s);
        const int id = m_store->insert(record(worker, 7777, m_groupA, 4, u"10"_s));
        m_db.exec(u"create function public.refuse_hours() returns trigger language plpgsql as "
                  "'begin raise exception ''timesheet closed''; end'"_s);
        m_db.exec(u"create trigger refuse before update or insert on accounts_dep.h_tabel "
                  "for each row execute function public.refuse_hours()"_s);
        QVERIFY_THROWS_EXCEPTION(DbError, m_store->insert(record(worker, 7777, m_groupA, 2, u"10"_s)));
        QVERIFY_THROWS_EXCEPTION(DbError, m_store->change(id, record(worker, 7777, m_groupB, 9, u"10"_s)));
        QVERIFY_THROWS_EXCEPTION(DbError, m_store->remove(id));
        m_db.exec(u"drop trigger refuse on accounts_dep.h_tabel"_s);

        QCOMPARE(m_db.count(u"accounts_dep.fatigue where id_p=:w"_s, {{u"w"_s, worker}}), 1);
        QCOMPARE(m_db.scalar(u"select cnt*1000000+id_nom from accounts_dep.fatigue where id=:id"_s,
                             {{u"id"_s, id}})
                     .toLongLong(),
                 4 * 1000000 + m_groupA);
        QCOMPARE(sheet(worker), QStringList{row(7777, 0, m_groupA, u"d5=4"_s)});
    }

    // Earnings of 1000 for 100 hours: the record's own night and day-off
    // factors apply; other kinds keep their prices; no hours give 0.
    void averagePieceworkRate()
    {
        const int worker = m_db.addWorker(u"Кузнецов К.К."_s);
        const int idle = m_db.addWorker(u"Лебедев Л.Л."_s);
        const int product = m_db.addProduct(u"КР-1"_s, m_groupA);
        const int operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), product);
        // 2 × (30 − 5) × 10 = 500 for 40 + 10 hours, in June 2025.
        journalRow(worker, operation, QDate(2025, 6, 2), u"10"_s, 30, 5, 40);
        journalRow(worker, operation, QDate(2025, 6, 30), u"10"_s, 30, 5, 10);
        journalRow(worker, operation, QDate(2025, 6, 15), u"0.5"_s, 1000, 0, 50); // 500 for 50
        journalRow(worker, operation, QDate(2025, 7, 1), u"100"_s, 10, 0, 1);     // next month
        journalRow(worker, operation, QDate(2025, 5, 31), u"100"_s, 10, 0, 1);    // last month
        // An idle worker's journal row without hours.
        journalRow(idle, operation, QDate(2025, 6, 3), u"100"_s, 10, 0, 0);

        const QDate june(2025, 6, 10);
        const int plain = fatigue(worker, 7778, june, u"1"_s, 0, 0);
        const int night = fatigue(worker, 7778, june, u"1"_s, 0, 1);
        const int dayOff = fatigue(worker, 7778, june, u"1"_s, 1, 0);
        const int both = fatigue(worker, 7778, june, u"1"_s, 1, 1);
        const int household = fatigue(worker, 7777, june, u"150"_s, 0, 0);
        const int idleRecord = fatigue(idle, 7778, june, u"77"_s, 0, 0);
        const int nobody = fatigue(m_db.addWorker(u"Новиков Н.Н."_s), 7778, june, u"55"_s, 0, 0);
        const int july = fatigue(worker, 7778, QDate(2025, 7, 1), u"3"_s, 0, 0);

        QCOMPARE(m_store->computeAveragePiecework(6, 2025), 6);
        QCOMPARE(price(plain), u"10.0000"_s);
        QCOMPARE(price(night), u"12.0000"_s);
        QCOMPARE(price(dayOff), u"20.0000"_s);
        QCOMPARE(price(both), u"24.0000"_s);
        QCOMPARE(price(household), u"150.0000"_s);
        QCOMPARE(price(idleRecord), u"0.0000"_s);
        QCOMPARE(price(nobody), u"0.0000"_s);
        QCOMPARE(price(july), u"3.0000"_s);
    }

    // February of a leap year: the 29th counts, March 1st and January 31st
    // do not; the quotient is rounded to two places.
    void leapFebruaryBounds()
    {
        const int worker = m_db.addWorker(u"Фёдоров Ф.Ф."_s);
        const int operation =
            m_db.addOperation(m_db.addKind(u"Резка"_s), m_db.addProduct(u"КР-2"_s, m_groupA));
        journalRow(worker, operation, QDate(2024, 2, 1), u"10"_s, 10, 0, 3);  // 100 for 3 h
        journalRow(worker, operation, QDate(2024, 2, 29), u"10"_s, 10, 0, 3); // 100 for 3 h
        journalRow(worker, operation, QDate(2024, 3, 1), u"1000"_s, 1, 0, 1);
        journalRow(worker, operation, QDate(2024, 1, 31), u"1000"_s, 1, 0, 1);
        const int record = fatigue(worker, 7778, QDate(2024, 2, 15), u"1"_s, 0, 0);
        m_store->computeAveragePiecework(2, 2024);
        QCOMPARE(price(record), u"33.3300"_s); // 200 / 6
    }

    // The month summed once per worker gives, to the last digit, what the
    // per-record statement over the journal joined with the products gives:
    // fractional prices, rejects, rows without hours, rows outside the
    // month, workers without rows, every combination of the factors.
    void sameAsPerRecordStatement()
    {
        const int product = m_db.addProduct(u"КР-9"_s, m_groupA);
        m_db.addProduct(u"КР-10"_s, m_groupA); // more products, more joined rows
        const int operation = m_db.addOperation(m_db.addKind(u"Шлифовка"_s), product);
        QList<int> workers;
        for (int i = 0; i < 12; ++i)
            workers << m_db.addWorker(u"Работник %1"_s.arg(i));
        const Params ids{{u"first"_s, workers.first()}, {u"last"_s, workers.last()}, {u"o"_s, operation}};
        m_db.exec(u"select setseed(0.42)"_s);
        m_db.exec(u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
                  "time, ok) select w, o.i_id, o.id, round((random()*50)::numeric, 4), (random()*40)::int, "
                  "(random()*3)::int, date '2025-08-25' + (random()*45)::int, 1, 0, (random()*9)::int, 'no' "
                  "from generate_series(:first::int, :last::int - 1) w, generate_series(1, 15) k, "
                  "accounts_dep.oper o where o.id=:o"_s,
                  ids);
        m_db.exec(
            u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, cnt, "
            "price, i_holiday, i_night) select w, 7778, 1, date '2025-09-10', 9, 2025, 1, 8, 0, h, n "
            "from generate_series(:first::int, :last::int) w, generate_series(0, 1) h, "
            "generate_series(0, 1) n"_s,
            ids);

        const auto prices = [&] {
            QStringList list;
            QSqlQuery query(QSqlDatabase::database(m_db.data().connectionName()));
            query.exec(u"select id || ':' || price::text from accounts_dep.fatigue where i_mnth=9 and "
                       "i_year=2025 order by id"_s);
            while (query.next())
                list << query.value(0).toString();
            return list;
        };
        QStringList expected;
        {
            Transaction reference(m_db.data().connectionName());
            m_db.exec(
                u"UPDATE accounts_dep.fatigue f SET price=coalesce((select case when "
                "coalesce(sum(s.time),0)::numeric(10,2)=0 then 0 else  "
                "coalesce(sum((s.kol_vo-s.brak)*((s.cena+"
                "s.cena*f.i_night*0.2)*(case when f.i_holiday = 0 then 1 else 2 end)))/sum(time),0)::numeric("
                "10,2) end as price  from accounts_dep.smena s, accounts_dep.izdel gas, accounts_dep.person "
                "p "
                "where  s.data<=date '2025-09-30' and s.data>=date '2025-09-01' and p.id=s.w_id and "
                "p.id=f.id_p group by p.id order by fio),0) where i_mnth = 9 and i_year = 2025 and id_o =7778"_s);
            expected = prices();
        } // rolled back
        QCOMPARE(expected.size(), 48);
        QVERIFY(prices() != expected);
        QCOMPARE(m_store->computeAveragePiecework(9, 2025), 48);
        QCOMPARE(prices(), expected);
    }

private:
    HouseholdRecord record(int worker, int kind, qint64 group, int hours, const QString &price) const
    {
        HouseholdRecord r;
        r.worker = worker;
        r.kind = kind;
        r.group = group;
        r.date = kDay;
        r.hours = hours;
        r.price = dec(price);
        return r;
    }

    void journalRow(int worker, int operation, const QDate &date, const QString &price, int quantity,
                    int defects, int hours)
    {
        m_db.exec(
            u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
            "vvod, ok) select :w, o.i_id, o.id, :c::numeric, :q, :b, :d::date, 1, 0, :t, now(), 'no' "
            "from accounts_dep.oper o where o.id=:o"_s,
            {{u"w"_s, worker},
             {u"o"_s, operation},
             {u"c"_s, price},
             {u"q"_s, quantity},
             {u"b"_s, defects},
             {u"d"_s, date},
             {u"t"_s, hours}});
    }

    int fatigue(int worker, int kind, const QDate &date, const QString &price, int holiday, int night)
    {
        return m_db
            .scalar(
                u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, cnt, "
                "price, i_holiday, i_night) values (:p, :o, :g, :d::date, :m, :y, 1, 8, :pr::numeric, :h, "
                ":n) "
                "returning id"_s,
                {{u"p"_s, worker},
                 {u"o"_s, kind},
                 {u"g"_s, m_groupA},
                 {u"d"_s, date},
                 {u"m"_s, date.month()},
                 {u"y"_s, date.year()},
                 {u"pr"_s, price},
                 {u"h"_s, holiday},
                 {u"n"_s, night}})
            .toInt();
    }

    QString price(int record) const
    {
        return m_db
            .scalar(u"select price::text from accounts_dep.fatigue where id=:id"_s, {{u"id"_s, record}})
            .toString();
    }

    static QStringList sorted(QStringList rows)
    {
        rows.sort();
        return rows;
    }

    QString row(int kind, int night, qint64 group, const QString &cells) const
    {
        return u"kind %1 night %2 nom %3 3.2025: %4"_s.arg(kind).arg(night).arg(group).arg(cells);
    }

    // The worker's household timesheet rows, one line each with the key and
    // the day cells that are not null, sorted.
    QStringList sheet(int worker) const
    {
        QSqlQuery query(QSqlDatabase::database(m_db.data().connectionName()));
        query.prepare(u"select * from accounts_dep.h_tabel where w_id=:w"_s);
        query.bindValue(u":w"_s, worker);
        if (!query.exec())
            qFatal("%s", qPrintable(query.lastError().text()));
        QStringList rows;
        while (query.next()) {
            QStringList cells;
            for (int day = 1; day <= 31; ++day) {
                const QVariant cell = query.value(HoursUpkeep::dayColumn(day));
                if (!cell.isNull())
                    cells << u"d%1=%2"_s.arg(day).arg(cell.toInt());
            }
            rows << u"kind %1 night %2 nom %3 %4.%5: %6"_s.arg(
                query.value(u"i_type"_s).toString(), query.value(u"i_night"_s).toString(),
                query.value(u"id_nom"_s).toString(), query.value(u"month"_s).toString(),
                query.value(u"year"_s).toString(), cells.join(u' '));
        }
        rows.sort();
        return rows;
    }

    test::TestDatabase m_db;
    std::unique_ptr<HouseholdStore> m_store;
    qint64 m_groupA = 0;
    qint64 m_groupB = 0;
};

QTEST_GUILESS_MAIN(HouseholdStoreTest)
#include "tst_householdstore.moc"
