// The distribution arithmetic in exact decimals, and the distribution list
// against the test database: one workstation per paid worker, the pay row
// written with its hours and the list cleared all at once.

#include "brigade/distributionstore.h"
#include "brigade/referencepicks.h"
#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/dberror.h"
#include "testdatabase.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

Q_DECLARE_METATYPE(kordel::Distribution)

namespace {

Decimal dec(const QString &text)
{
    return *Decimal::parse(text);
}

const QDate kDay(2025, 3, 5);

} // namespace

class DistributionStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_reference = m_db.addWorker(u"Опорный О.О."_s);
    }

    // Rate and pay from the list's totals: both from the unrounded ratio,
    // to two places with exact halves to the even neighbour.
    void payOfAList_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<int>("worked");
        QTest::addColumn<Distribution>("kind");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("pay");
        QTest::newRow("brigade") << u"1000.00"_s << u"10.00"_s << 8 << Distribution::Brigade << u"70"_s
                                 << u"560"_s;
        QTest::newRow("painting") << u"1000.00"_s << u"10.00"_s << 8 << Distribution::Painting << u"120"_s
                                  << u"960"_s;
        QTest::newRow("hanging") << u"1000.00"_s << u"10.00"_s << 8 << Distribution::Hanging << u"40"_s
                                 << u"320"_s;
        QTest::newRow("two rows") << u"700.00"_s << u"8.00"_s << 8 << Distribution::Brigade << u"61.25"_s
                                  << u"490"_s;
        QTest::newRow("pay from the unrounded ratio")
            << u"100.00"_s << u"3.00"_s << 3 << Distribution::Brigade << u"23.33"_s << u"70"_s;
        QTest::newRow("half to even, down")
            << u"2.50"_s << u"8.00"_s << 1 << Distribution::Hanging << u"0.12"_s << u"0.12"_s;
        QTest::newRow("half to even, down again")
            << u"2.90"_s << u"8.00"_s << 1 << Distribution::Hanging << u"0.14"_s << u"0.14"_s;
        QTest::newRow("half to even, up")
            << u"2.70"_s << u"8.00"_s << 1 << Distribution::Hanging << u"0.14"_s << u"0.14"_s;
        QTest::newRow("nothing worked")
            << u"1000.00"_s << u"10.00"_s << 0 << Distribution::Brigade << u"70"_s << u"0"_s;
    }
    void payOfAList()
    {
        QFETCH(QString, money);
        QFETCH(QString, hours);
        QFETCH(int, worked);
        QFETCH(Distribution, kind);
        QFETCH(QString, rate);
        QFETCH(QString, pay);
        const std::optional<distribution::Pay> result =
            distribution::compute(dec(money), dec(hours), worked, kind);
        QVERIFY(result);
        QCOMPARE(result->rate.toString(), rate);
        QCOMPARE(result->pay.toString(), pay);
    }

    void listWithoutHoursIsNotPriced()
    {
        QVERIFY(!distribution::compute(dec(u"100.00"_s), dec(u"0.00"_s), 8, Distribution::Brigade));
    }

    void codesAndCoefficients()
    {
        QCOMPARE(distribution::code(Distribution::Brigade), 7781);
        QCOMPARE(distribution::code(Distribution::Painting), 7780);
        QCOMPARE(distribution::code(Distribution::Hanging), 7784);
        QCOMPARE(distribution::coefficient(Distribution::Hanging).toString(), u"0.4"_s);
    }

    // A reference row's hourly earnings.
    void referenceRates_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("money");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("rate"); // empty: refused
        QTest::newRow("journal 800 for 8") << u"journal"_s << u"800.00"_s << 8 << u"100"_s;
        QTest::newRow("journal 100 for 3") << u"journal"_s << u"100.00"_s << 3 << u"33.33"_s;
        QTest::newRow("journal half to even") << u"journal"_s << u"0.25"_s << 2 << u"0.12"_s;
        QTest::newRow("journal without hours") << u"journal"_s << u"100.00"_s << 0 << QString();
        QTest::newRow("household 150") << u"household"_s << u"150.0000"_s << 8 << u"150"_s;
        QTest::newRow("household 123.4567") << u"household"_s << u"123.4567"_s << 8 << u"123.46"_s;
        QTest::newRow("household half to even") << u"household"_s << u"0.1250"_s << 8 << u"0.12"_s;
        QTest::newRow("household without hours") << u"household"_s << u"150"_s << 0 << QString();
    }
    void referenceRates()
    {
        QFETCH(QString, source);
        QFETCH(QString, money);
        QFETCH(int, hours);
        QFETCH(QString, rate);
        const std::optional<ReferenceRow> row =
            source == u"journal"_s ? ReferencePicks::fromJournal(1, 2, dec(money), Decimal::fromInt(hours))
                                   : ReferencePicks::fromHousehold(1, 7778, dec(money), hours);
        QCOMPARE(row.has_value(), !rate.isEmpty());
        if (row) {
            QCOMPARE(row->rate.toString(), rate);
            QCOMPARE(row->hours, Decimal::fromInt(hours));
        }
    }

    // The list and its totals as the window shows them, names found by the
    // person's code.
    void listAndTotals()
    {
        const int paid = m_db.addWorker(u"Подсобный П.П."_s);
        DistributionStore store(m_db.data());
        QVERIFY(store.take(paid));
        store.add({m_reference, 0, dec(u"100"_s), dec(u"6"_s)});
        store.add({m_reference, 7778, dec(u"50"_s), dec(u"2"_s)});
        store.reopen();
        QCOMPARE(store.list().recordCount(), 2);
        QCOMPARE(store.list().text(u"w_fio"_s), u"Опорный О.О."_s);
        QCOMPARE(store.list().decimal(u"f_count"_s).toString(), u"600"_s);
        store.list().next();
        QCOMPARE(store.list().text(u"vid"_s).trimmed(), u"Ср. сдельная"_s);
        const auto totals = store.currentTotals();
        QVERIFY(totals);
        QCOMPARE(totals->money.toString(2), u"700.00"_s);
        QCOMPARE(totals->hours.toString(), u"8"_s);
        store.release();
        QCOMPARE(rows(paid), 0);
    }

    // While one workstation holds a paid worker's list, another is refused
    // and the list stays; it is free again once let go or disconnected.
    void oneWorkstationPerPaidWorker()
    {
        const int paid = m_db.addWorker(u"Маляр М.М."_s);
        auto other = std::make_unique<DataModule>(nullptr, u"second"_s);
        other->connectTo(connectionString(m_db.name(), test::TestDatabase::host()));
        auto second = std::make_unique<DistributionStore>(*other);

        DistributionStore first(m_db.data());
        QVERIFY(first.take(paid));
        first.add({m_reference, 0, dec(u"100"_s), dec(u"8"_s)});
        QVERIFY(!second->take(paid));
        QCOMPARE(second->paidWorker(), 0);
        QCOMPARE(rows(paid), 1); // untouched

        QVERIFY(first.take(paid)); // the same workstation again: the list starts afresh
        QCOMPARE(rows(paid), 0);
        first.add({m_reference, 0, dec(u"100"_s), dec(u"8"_s)});

        const int next = m_db.addWorker(u"Навесчик Н.Н."_s);
        QVERIFY(first.take(next)); // moving on lets the first list go
        QCOMPARE(rows(paid), 0);
        QVERIFY(second->take(paid));
        QVERIFY(!first.take(paid));
        QCOMPARE(first.paidWorker(), next);

        // The connection ending lets its lists go as well (once the server
        // has seen it end).
        second.reset();
        other.reset();
        QTRY_VERIFY_WITH_TIMEOUT(first.take(paid), 10000);
        first.release();
        QCOMPARE(first.paidWorker(), 0);
    }

    // "Сохранить": one journal row under the kind's code; for hanging the
    // worker's hours of the day and shift follow; the list is cleared.
    void saveWritesThePayRow_data()
    {
        QTest::addColumn<Distribution>("kind");
        QTest::addColumn<int>("code");
        QTest::newRow("brigade") << Distribution::Brigade << 7781;
        QTest::newRow("painting") << Distribution::Painting << 7780;
        QTest::newRow("hanging") << Distribution::Hanging << 7784;
    }
    void saveWritesThePayRow()
    {
        QFETCH(Distribution, kind);
        QFETCH(int, code);
        const int paid = m_db.addWorker(u"Получатель П.П."_s);
        // Hours of his own that day and shift, kept in the timesheet already.
        m_db.exec(
            u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, time, ok) "
            "values (:w, 7779, 7779, 1, 1, 0, :d::date, 2, 3, 'no')"_s,
            {{u"w"_s, paid}, {u"d"_s, kDay}});
        m_db.exec(
            u"insert into accounts_dep.h_tabel(w_id, month, year, smena, d5) values (:w, 3, 2025, 2, 3)"_s,
            {{u"w"_s, paid}});
        DistributionStore store(m_db.data());
        QVERIFY(store.take(paid));
        store.add({m_reference, 0, dec(u"100"_s), dec(u"10"_s)});
        store.save(kind, dec(u"560.5"_s), 8, kDay, 2);

        QCOMPARE(
            m_db.scalar(
                    u"select concat_ws(' ', i_id, o_id, color, cena::text, kol_vo, brak, data, smena, time, "
                    "ok, vvod::date = current_date) from accounts_dep.smena where w_id=:w and o_id<>7779"_s,
                    {{u"w"_s, paid}})
                .toString(),
            u"%1 %1 %1 560.5000 1 0 2025-03-05 2 8 no t"_s.arg(code));
        QCOMPARE(rows(paid), 0);
        const int hours =
            m_db.scalar(u"select d5 from accounts_dep.h_tabel where w_id=:w and smena=2"_s, {{u"w"_s, paid}})
                .toInt();
        QCOMPARE(hours, kind == Distribution::Hanging ? 11 : 3);
        store.release();
    }

    // A save that fails on the way writes nothing and keeps the list.
    void failedSaveKeepsTheList()
    {
        const int paid = m_db.addWorker(u"Неудачник Н.Н."_s);
        DistributionStore store(m_db.data());
        QVERIFY(store.take(paid));
        store.add({m_reference, 0, dec(u"100"_s), dec(u"10"_s)});
        m_db.exec(u"create function public.refuse_hours() returns trigger language plpgsql as "
                  "'begin raise exception ''timesheet closed''; end'"_s);
        m_db.exec(u"create trigger refuse before update or insert on accounts_dep.h_tabel "
                  "for each row execute function public.refuse_hours()"_s);
        QVERIFY_THROWS_EXCEPTION(DbError, store.save(Distribution::Hanging, dec(u"40"_s), 1, kDay, 1));
        m_db.exec(u"drop trigger refuse on accounts_dep.h_tabel"_s);
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, paid}}), 0);
        QCOMPARE(rows(paid), 1);
        store.release();
        QCOMPARE(rows(paid), 0);
    }

private:
    int rows(int paid) const
    {
        return m_db.count(u"accounts_dep.painting_temp where id_p=:p"_s, {{u"p"_s, paid}});
    }

    test::TestDatabase m_db;
    int m_reference = 0;
};

QTEST_GUILESS_MAIN(DistributionStoreTest)
#include "tst_distributionstore.moc"
