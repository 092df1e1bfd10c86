// The price list's rules without a window: the final piece price, the
// variants of the operation list, and the duplicate test of an operation.

#include "books/operationsstore.h"
#include "core/datamodule.h"
#include "db/decimal.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

class OperationsStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void finalPrice_data();
    void finalPrice();
    void operationWithoutNormRows();
    void duplicateTest_data();
    void duplicateTest();
    void deleteRefusedWhileInTheJournal();

private:
    int addOperation(int kind, int product, int naimen, const QStringList &prices = {}) const;

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    int m_bolt8 = 0;
    int m_nut = 0;
    int m_drilling = 0;
    int m_painting = 0;
    int m_worker = 0;
};

void OperationsStoreTest::initTestCase()
{
    QVERIFY2(m_db.create(), qPrintable(m_db.error()));
    QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    const int group = m_db.addGroup(u"Крепёж"_s);
    m_bolt8 = m_db.addProduct(u"Болт М8"_s, group);
    m_nut = m_db.addProduct(u"Гайка О'Нил"_s, group);
    m_drilling = m_db.addKind(u"Сверловка  "_s);
    m_painting = m_db.addKind(u"Покраска"_s);
    m_worker = m_db.addWorker(u"Петров П.П."_s);
}

void OperationsStoreTest::init()
{
    m_messages.clear();
    m_db.exec(u"delete from accounts_dep.smena"_s);
    m_db.exec(u"delete from accounts_dep.norm where o_id not in (7777, 7778, 7782, 7783)"_s);
    m_db.exec(u"delete from accounts_dep.oper where id < 7776"_s);
}

int OperationsStoreTest::addOperation(int kind, int product, int naimen, const QStringList &prices) const
{
    const int operation = m_db.addOperation(kind, product, naimen);
    int norma = 100;
    for (const QString &price : prices)
        m_db.addNorm(operation, norma++, price);
    return operation;
}

void OperationsStoreTest::finalPrice_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("dayOff");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("expected");
    QTest::newRow("day off, overtime") << u"10"_s << true << 4 << u"30"_s;
    QTest::newRow("working day, shift 3") << u"10"_s << false << 3 << u"12"_s;
    QTest::newRow("day off, shift 3") << u"10"_s << true << 3 << u"24"_s;
    QTest::newRow("day off, shift 1") << u"10"_s << true << 1 << u"20"_s;
    QTest::newRow("working day, shift 2") << u"10"_s << false << 2 << u"10"_s;
    // Exact decimals: 0.1 x 1.2 is 0.12, not 0.12000000000000001.
    QTest::newRow("small price, shift 3") << u"0.1"_s << false << 3 << u"0.12"_s;
    QTest::newRow("four decimals, overtime") << u"12.3457"_s << false << 4 << u"18.51855"_s;
}

void OperationsStoreTest::finalPrice()
{
    QFETCH(QString, base);
    QFETCH(bool, dayOff);
    QFETCH(int, shift);
    QFETCH(QString, expected);
    const Decimal result = OperationsStore::finalPrice(*Decimal::parse(base), dayOff, shift);
    QVERIFY2(result == *Decimal::parse(expected), qPrintable(result.toString()));
}

void OperationsStoreTest::operationWithoutNormRows()
{
    const int priced = addOperation(m_drilling, m_bolt8, 0, {u"10"_s});
    const int bare = addOperation(m_drilling, m_bolt8, 1);
    Dataset stored(m_db.data().connectionName(), u"stored"_s, OperationsStore::listSql(OperationList::Pick));
    stored.open();
    QVERIFY(stored.locate(u"id"_s, priced));
    QVERIFY(!stored.locate(u"id"_s, bare));

    Dataset menu(m_db.data().connectionName(), u"menu"_s, OperationsStore::listSql(OperationList::Menu));
    menu.open();
    QCOMPARE(menu.fieldNames().size(), stored.fieldNames().size());
    QVERIFY(menu.locate(u"id"_s, bare));
    QCOMPARE(menu.intValue(u"norma"_s), 0);
    QVERIFY(menu.value(u"cena"_s).isNull());
    QCOMPARE(menu.text(u"nmn"_s), u"Заготовки"_s);
    QVERIFY(menu.locate(u"id"_s, priced));
    QCOMPARE(menu.intValue(u"norma"_s), 1);
    // Reserved operations without a price stay out of sight, as before.
    QVERIFY(!menu.locate(u"id"_s, 7780));
    QVERIFY(menu.locate(u"id"_s, 7777));
    QCOMPARE(menu.recordCount(), stored.recordCount() + 1);
}

void OperationsStoreTest::duplicateTest_data()
{
    QTest::addColumn<int>("naimen");
    QTest::addColumn<bool>("exceptItself");
    QTest::addColumn<bool>("refused");
    QTest::newRow("new, same as the first") << 0 << false << true;
    QTest::newRow("new, other naimen") << 1 << false << false;
    QTest::newRow("unchanged, itself excluded") << 0 << true << false;
}

void OperationsStoreTest::duplicateTest()
{
    QFETCH(int, naimen);
    QFETCH(bool, exceptItself);
    QFETCH(bool, refused);
    const int first = addOperation(m_painting, m_nut, 0);
    OperationsStore store(m_db.data());
    const Check result = store.checkUnique(m_painting, naimen, m_nut, exceptItself ? first : 0);
    QCOMPARE(result.isRefused(), refused);
    QCOMPARE(result.message(), refused ? u"Операция с такими параметрами уже заведена!"_s : QString());
    QVERIFY(m_messages.shown.isEmpty());
}

// An operation whose rows are in the journal is refused, with the text the
// window shows; once its rows are gone it may go.
void OperationsStoreTest::deleteRefusedWhileInTheJournal()
{
    const int operation = addOperation(m_drilling, m_bolt8, 0, {u"1"_s});
    m_db.addJournalRow(m_worker, operation, QDate(2025, 3, 10), 1, 8);
    OperationsStore store(m_db.data());
    const Check check = store.checkNotInJournal(operation);
    QCOMPARE(check.message(), u"Операция есть в журнале смен, удалить её нельзя!"_s);
    QVERIFY(m_messages.shown.isEmpty());
    m_db.exec(u"delete from accounts_dep.smena"_s);
    QVERIFY(store.checkNotInJournal(operation).isPassed());
}

QTEST_MAIN(OperationsStoreTest)
#include "tst_operationsstore.moc"
