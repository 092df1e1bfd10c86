// The entry store's rules without the window: the duplicate test of a
// journal row and the texts the entry window shows for an operation.

#include "core/datamodule.h"
#include "db/decimal.h"
#include "journal/entrystore.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

class EntryStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_worker = m_db.addWorker(u"Иванов И.И."_s);
        const int product = m_db.addProduct(u"КР-1"_s, m_db.addGroup(u"Корпуса"_s));
        m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), product);
        m_product = product;
    }

    // A row of the same worker, operation, product, date, shift and colour
    // refuses the entry; the row being changed does not refuse itself.
    void duplicate_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("dayOffset");
        QTest::addColumn<bool>("exceptItself");
        QTest::addColumn<bool>("refused");
        QTest::newRow("the same row") << 1 << 0 << 0 << false << true;
        QTest::newRow("the row itself, changed") << 1 << 0 << 0 << true << false;
        QTest::newRow("another colour") << 1 << 5 << 0 << false << false;
        QTest::newRow("another shift") << 2 << 0 << 0 << false << false;
        QTest::newRow("another day") << 1 << 0 << 1 << false << false;
    }
    void duplicate()
    {
        QFETCH(int, shift);
        QFETCH(int, colour);
        QFETCH(int, dayOffset);
        QFETCH(bool, exceptItself);
        QFETCH(bool, refused);
        m_db.exec(u"delete from accounts_dep.smena"_s);
        test::ScriptedMessages messages;
        EntryStore store(m_db.data());
        JournalEntry entry;
        entry.worker = m_worker;
        entry.product = m_product;
        entry.operation = m_operation;
        entry.price = *Decimal::parse(u"10"_s);
        entry.quantity = 5;
        entry.date = QDate(2025, 3, 10);
        entry.shift = 1;
        entry.hours = 8;
        const int written = store.insert(entry);

        JournalEntry other = entry;
        other.shift = shift;
        other.colour = colour;
        other.date = entry.date.addDays(dayOffset);
        const Check check = store.checkDuplicate(other, exceptItself ? written : 0);
        QCOMPARE(check.isRefused(), refused);
        QCOMPARE(check.message(), refused ? u"Позиция с такими параметрами уже заведена!"_s : QString());
        QVERIFY(messages.shown.isEmpty());
    }

    void operationTexts()
    {
        QCOMPARE(EntryStore::operationText(u" КР-1 "_s, u"Покраска "_s, 1), u"КР-1; Покраска; Заготовки"_s);
        QCOMPARE(EntryStore::operationText(u"КР-1"_s, u"Сборка"_s, 0), u"КР-1; Сборка; Готовая продукция"_s);
        QVERIFY(EntryStore::isPainting(u"КР-1; краска; Заготовки"_s));
        QVERIFY(!EntryStore::isPainting(u"КР-1; Сборка; Заготовки"_s));
    }

private:
    test::TestDatabase m_db;
    int m_worker = 0;
    int m_product = 0;
    int m_operation = 0;
};

QTEST_MAIN(EntryStoreTest)
#include "tst_entrystore.moc"
