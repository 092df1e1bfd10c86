// The data-access layer against the real server: parameters, the client-side
// filter, locate and the return to a record number, typed text stored
// unchanged, and transactions that leave nothing half done.

#include "core/datamodule.h"
#include "db/command.h"
#include "db/dataset.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

class DatasetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        for (const QString &name : {u"Андреев А.А."_s, u"Борисов Б.Б."_s, u"борисова В.В."_s,
                                    u"Васильев В.В."_s, u"Григорьев Г.Г."_s})
            m_db.addWorker(name);
    }

    void navigation()
    {
        Dataset &workers = m_db.data().workers();
        workers.open();
        QCOMPARE(workers.recordCount(), 5);
        QCOMPARE(workers.recNo(), 1);
        QCOMPARE(workers.text(u"fio"_s), u"Андреев А.А."_s);
        QVERIFY(!workers.prior());
        workers.last();
        QCOMPARE(workers.recNo(), 5);
        QVERIFY(!workers.next());
        workers.setRecNo(99);
        QCOMPARE(workers.recNo(), 5);
        QVERIFY(workers.locate(u"FIO"_s, u"Григорьев Г.Г."_s)); // field names ignore case
        QCOMPARE(workers.text(u"fio"_s), u"Григорьев Г.Г."_s);
        const int found = workers.recNo();
        QVERIFY(!workers.locate(u"fio"_s, u"Нет такого"_s));
        QCOMPARE(workers.recNo(), found);
        workers.close();
        QCOMPARE(workers.recordCount(), 0);
        QCOMPARE(workers.recNo(), 0);
        QVERIFY(!workers.value(u"fio"_s).isValid());
    }

    void filterActsOnRowsRead()
    {
        Dataset &workers = m_db.data().workers();
        workers.open();
        workers.setRecNo(4);
        workers.setFilter(filters::beginsWith(u"fio"_s, u"бор"_s));
        workers.setFiltered(true);
        // Letter case is ignored, Cyrillic included; only beginnings match.
        QCOMPARE(workers.recordCount(), 2);
        QCOMPARE(workers.recNo(), 1);
        // A row added meanwhile is not seen until the list is read again.
        const int added = m_db.addWorker(u"Борщёв Д.Д."_s);
        QCOMPARE(workers.recordCount(), 2);
        workers.reopenAt(1);
        QCOMPARE(workers.recordCount(), 3);
        QVERIFY(workers.isFiltered());
        workers.setFilter(filters::beginsWith(u"fio"_s, u"ев"_s));
        QCOMPARE(workers.recordCount(), 0);
        QCOMPARE(workers.recNo(), 0);
        workers.setFiltered(false);
        QCOMPARE(workers.recordCount(), 6);
        m_db.exec(u"delete from accounts_dep.person where id=:id"_s, {{u"id"_s, added}});
        workers.close();
    }

    void reopenReturnsToRecord_data()
    {
        QTest::addColumn<int>("recNo");
        QTest::addColumn<int>("expected");
        QTest::newRow("same place") << 3 << 3;
        QTest::newRow("beyond the end: last row") << 9 << 5;
        QTest::newRow("zero: first row") << 0 << 1;
    }
    void reopenReturnsToRecord()
    {
        QFETCH(int, recNo);
        Dataset &workers = m_db.data().workers();
        workers.reopenAt(recNo);
        QTEST(workers.recNo(), "expected");
        workers.close();
    }

    void gridFollowsCurrentRecord()
    {
        Dataset &workers = m_db.data().workers();
        DataGrid grid({{u"fio"_s, u"ФИО"_s}, {u"s_staffpos_hl"_s, u"Должность"_s}});
        grid.setDataset(&workers);
        workers.open();
        QCOMPARE(grid.model()->rowCount(), 5);
        workers.setRecNo(3);
        QCOMPARE(grid.currentIndex().row(), 2);
        grid.setCurrentIndex(grid.model()->index(1, 0));
        QCOMPARE(workers.recNo(), 2);
        workers.setFilter(filters::beginsWith(u"fio"_s, u"В"_s));
        workers.setFiltered(true);
        QCOMPARE(grid.model()->rowCount(), 1);
        QCOMPARE(grid.model()->data(grid.model()->index(0, 0)).toString(), u"Васильев В.В."_s);
        workers.setFiltered(false);
        workers.close();
        QCOMPARE(grid.model()->rowCount(), 0);
    }

    // Typed text is bound, never spliced: quotes and SQL in a name are data.
    void typedTextStoredUnchanged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << u"О'Нил Пётр"_s;
        QTest::newRow("statement in a name") << u"x'); delete from accounts_dep.smena; --"_s;
        QTest::newRow("placeholder-like") << u":fio ? $1"_s;
    }
    void typedTextStoredUnchanged()
    {
        QFETCH(QString, name);
        const int worker = m_db.addWorker(u"Сторож"_s);
        const int group = m_db.addGroup(u"Группа"_s);
        const int product = m_db.addProduct(u"Изделие "_s + QString::number(worker), group);
        const int operation = m_db.addOperation(m_db.addKind(u"Вид "_s + QString::number(worker)), product);
        m_db.addJournalRow(worker, operation, QDate(2025, 3, 5), 1, 8);
        const int rowsBefore = m_db.count(u"accounts_dep.smena"_s);

        Command &command = m_db.data().sqlExec();
        command.run(u"update accounts_dep.person set fio=:fio where id=:id"_s,
                    {{u"fio"_s, name}, {u"id"_s, worker}});
        QCOMPARE(m_db.scalar(u"select fio from accounts_dep.person where id=:id"_s, {{u"id"_s, worker}})
                     .toString(),
                 name);
        QCOMPARE(m_db.count(u"accounts_dep.smena"_s), rowsBefore);
    }

    void errorsCarryTheDriversMessage()
    {
        Dataset broken(m_db.data().connectionName(), u"broken"_s,
                       u"select * from accounts_dep.nothing_here"_s);
        try {
            broken.open();
            QFAIL("a missing table must raise");
        } catch (const DbError &error) {
            QVERIFY2(error.message().contains(u"nothing_here"_s), qPrintable(error.message()));
        }
        QVERIFY(!broken.isOpen());
        // The connection is still usable afterwards.
        QCOMPARE(m_db.scalar(u"select 1"_s).toInt(), 1);
    }

    void transactionRollsBackUnlessCommitted()
    {
        const QString connection = m_db.data().connectionName();
        const int before = m_db.count(u"accounts_dep.person"_s);
        try {
            Transaction transaction(connection);
            sql::exec(connection, u"insert into accounts_dep.person(fio) values ('Временный')"_s);
            {
                Transaction inner(connection); // joins the outer one
                sql::exec(connection, u"insert into accounts_dep.person(fio) values ('Вложенный')"_s);
                inner.commit();
            }
            // The driver keeps the transaction alive after a failed statement;
            // the failure must still undo what came before it.
            sql::exec(connection, u"insert into accounts_dep.person(id, fio) values ('x', 'Сбой')"_s);
            transaction.commit();
            QFAIL("the bad insert must raise");
        } catch (const DbError &) {
        }
        QCOMPARE(m_db.count(u"accounts_dep.person"_s), before);

        {
            Transaction transaction(connection);
            sql::exec(connection, u"insert into accounts_dep.person(fio) values ('Записан')"_s);
            transaction.commit();
        }
        QCOMPARE(m_db.count(u"accounts_dep.person"_s), before + 1);

        // An inner scope that ends without commit spoils the outer one.
        bool refused = false;
        try {
            Transaction transaction(connection);
            sql::exec(connection, u"insert into accounts_dep.person(fio) values ('Половина')"_s);
            {
                Transaction inner(connection);
            }
            transaction.commit();
        } catch (const DbError &) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(m_db.count(u"accounts_dep.person"_s), before + 1);
    }

private:
    test::TestDatabase m_db;
};

QTEST_MAIN(DatasetTest)
#include "tst_dataset.moc"
