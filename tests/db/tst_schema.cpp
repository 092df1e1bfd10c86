// What the client relies on the schema for: defaults of the hours rows, the
// reserved rows, products read back through izdel, new groups, and the
// journal queries listing each row exactly once.

#include "core/datamodule.h"
#include "db/dberror.h"
#include "testdatabase.h"

#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

class SchemaTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_group = m_db.addGroup(u"Корпуса"_s);
        m_product = m_db.addProduct(u"КР-100"_s, m_group);
        m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), m_product);
        m_db.addNorm(m_operation, 10, u"10.5"_s);
        for (int shift = 1; shift <= 4; ++shift)
            m_db.data().journal(shift).setParam(u"ok"_s, u"ta"_s);
    }

    void hoursRowDefaults()
    {
        m_db.exec(
            u"insert into accounts_dep.h_tabel(smena, w_id, month, year, d5) values (1, 1, 3, 2025, 8)"_s);
        QCOMPARE(m_db.count(u"accounts_dep.h_tabel where smena=1 and i_type=0 and i_night=0 and id_nom=0 "
                            "and d5=8 and d4 is null"_s),
                 1);
        m_db.exec(u"insert into accounts_dep.h_tabel(i_type, w_id, month, year, d5, i_night, id_nom) "
                  "values (7777, 1, 3, 2025, 4, 1, 2)"_s);
        QCOMPARE(m_db.count(u"accounts_dep.h_tabel where i_type=7777 and smena=0"_s), 1);
    }

    void reservedRows()
    {
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where id between 7776 and 7784"_s), 9);
        QCOMPARE(m_db.count(u"accounts_dep.oper where id between 7776 and 7784"_s), 9);
        QCOMPARE(m_db.count(u"accounts_dep.izdel where id in (7777, 7778, 7782, 7783, 7780, 7781, 7784)"_s),
                 7);
        // Household kinds have a rate row; ordinary ids stay below the reserved range.
        QCOMPARE(m_db.count(u"accounts_dep.norm where o_id in (7777, 7778, 7782, 7783)"_s), 4);
        QVERIFY(m_operation < 7776);
        QCOMPARE(m_db.scalar(u"select delim from accounts_dep.ver"_s).toString(), u"."_s);
    }

    void productsReadBackThroughIzdel()
    {
        const QVariant row =
            m_db.scalar(u"select marka || '|' || nom || '|' || massa::numeric(10,2) || '|' || id_nom "
                        "from accounts_dep.izdel where id=:id"_s,
                        {{u"id"_s, m_product}});
        QCOMPARE(row.toString(), u"КР-100|Корпуса|1.00|"_s + QString::number(m_group));
    }

    void newGroupIsNomenclatureGroup()
    {
        m_db.exec(u"insert into cmn_classifier.item(s_caption, b_excluded) values ('Новая', 0)"_s);
        QCOMPARE(m_db.count(u"cmn_classifier.item where s_caption='Новая' and id_level=2"_s), 1);
    }

    // Rows whose mark is "ta" or null are never listed.
    void journalHidesMarks_data()
    {
        QTest::addColumn<QVariant>("mark");
        QTest::addColumn<bool>("listed");
        QTest::newRow("no") << QVariant(u"no"_s) << true;
        QTest::newRow("ok") << QVariant(u"ok"_s) << true;
        QTest::newRow("да") << QVariant(u"да"_s) << true;
        QTest::newRow("ta") << QVariant(u"ta"_s) << false;
        QTest::newRow("null") << QVariant(QMetaType::fromType<QString>()) << false;
    }
    void journalHidesMarks()
    {
        QFETCH(QVariant, mark);
        const QDate day(2025, 4, 1);
        const int worker = m_db.addWorker(u"Проверкин П.П."_s);
        const int row = m_db.addJournalRow(worker, m_operation, day, 2, 8);
        m_db.exec(u"update accounts_dep.smena set ok=:ok where id=:id"_s, {{u"ok"_s, mark}, {u"id"_s, row}});
        Dataset &journal = m_db.data().journal(2);
        journal.setParam(u"data"_s, day);
        journal.open();
        QTEST(journal.locate(u"id"_s, row), "listed");
        journal.close();
        m_db.exec(u"delete from accounts_dep.smena where id=:id"_s, {{u"id"_s, row}});
    }

    // A worker found by the code of a shared person is shown once, under that name.
    void workerMatchedByCodeListedOnce()
    {
        const QDate day(2025, 4, 2);
        const int worker = m_db.addWorker(u"Книжный К.К."_s);
        m_db.exec(u"update cmn_contractor.person set s_caption='Кадровый К.К.' where s_code=:code"_s,
                  {{u"code"_s, QString::number(worker)}});
        m_db.addJournalRow(worker, m_operation, day, 1, 8);
        Dataset &journal = m_db.data().journal(1);
        journal.setParam(u"data"_s, day);
        journal.open();
        QCOMPARE(journal.recordCount(), 1);
        QCOMPARE(journal.text(u"fio"_s), u"Кадровый К.К."_s);
        QCOMPARE(journal.text(u"nmn"_s), u"Готовая продукция"_s);
        QCOMPARE(journal.text(u"summa"_s), u"100.00"_s); // (12 − 2) × 10
        journal.close();
    }

    // Shift 1 sorts a worker's rows by product, kind and colour.
    void firstShiftOrder()
    {
        const QDate day(2025, 4, 3);
        const int worker = m_db.addWorker(u"Сортов С.С."_s);
        const int productB = m_db.addProduct(u"Б-2"_s, m_group);
        const int productA = m_db.addProduct(u"А-1"_s, m_group);
        const int kind = m_db.addKind(u"Шлифовка"_s);
        const int late = m_db.addJournalRow(worker, m_db.addOperation(kind, productB), day, 1, 4);
        const int paintA = m_db.addOperation(kind, productA);
        const int colour5 = m_db.addJournalRow(worker, paintA, day, 1, 2, u"no"_s, 5);
        const int colour3 = m_db.addJournalRow(worker, paintA, day, 1, 2, u"no"_s, 3);
        Dataset &journal = m_db.data().journal(1);
        journal.setParam(u"data"_s, day);
        journal.open();
        QList<int> order;
        for (int i = 0; i < journal.recordCount(); ++i)
            order << journal.valueAt(i, u"id"_s).toInt();
        QCOMPARE(order, (QList<int>{colour3, colour5, late}));
        journal.close();
    }

    // Rows the client writes with reserved operations are listed too.
    void reservedJournalRowsListed_data()
    {
        QTest::addColumn<int>("product");
        QTest::addColumn<int>("operation");
        QTest::newRow("auxiliary worker") << -1 << 7779;
        QTest::newRow("painting operator") << 7780 << 7780;
        QTest::newRow("brigade worker") << 7781 << 7781;
        QTest::newRow("hanging") << 7784 << 7784;
    }
    void reservedJournalRowsListed()
    {
        QFETCH(int, product);
        QFETCH(int, operation);
        const QDate day(2025, 5, 1 + operation % 10);
        const int worker = m_db.addWorker(u"Служебный С.С."_s);
        m_db.exec(
            u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
            "vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
            "values (:w, :i, :o, 35, 1, 0, :d, 3, :c, 4, now(), 'no', 0, 0, 0, 0, 0, 0)"_s,
            {{u"w"_s, worker},
             {u"i"_s, product < 0 ? m_product : product},
             {u"o"_s, operation},
             {u"c"_s, product < 0 ? 0 : product},
             {u"d"_s, day}});
        Dataset &journal = m_db.data().journal(3);
        journal.setParam(u"data"_s, day);
        journal.open();
        QCOMPARE(journal.recordCount(), 1);
        journal.close();
    }

    // A worker's shared row answers by id, by code and through the journal's
    // join, exactly once each; rows of other software never meet a worker.
    void workersSharedRowsAnswerByIdAndCode()
    {
        m_db.addWorker(u"Первый П.П."_s);
        m_db.exec(u"insert into cmn_contractor.person(s_caption, s_code) values ('Поставщик', '424242')"_s);
        // A row other software made for a code before the worker existed
        // takes the worker's id when he is added.
        m_db.exec(
            u"insert into accounts_dep.person(id, fio, s_staffpos_hl) values (424242, 'Поздний П.П.', '')"_s);
        QCOMPARE(m_db.scalar(u"select s_caption from cmn_contractor.person where id=424242"_s).toString(),
                 u"Поставщик"_s);
        m_db.addWorker(u"Второй В.В."_s);
        QCOMPARE(badWorkers(), QString());
        // Worker ids stay below the shared rows' own range.
        QVERIFY_THROWS_EXCEPTION(
            DbError, m_db.exec(u"insert into accounts_dep.person(id, fio) values (1000000, 'X')"_s));
    }

    // An older database, whose workers' shared rows carry ids of their own
    // or are missing, is brought in step by the upgrade, twice without harm.
    void upgradeMovesWorkersSharedRows()
    {
        const int moved = m_db.addWorker(u"Старый С.С."_s);
        const int missing = m_db.addWorker(u"Без Строки Б.Б."_s);
        m_db.exec(u"update cmn_contractor.person set id = id + 1000000, s_caption = 'Кадровое Имя' "
                  "where s_code = :c"_s,
                  {{u"c"_s, QString::number(moved)}});
        m_db.exec(u"delete from cmn_contractor.person where s_code = :c"_s,
                  {{u"c"_s, QString::number(missing)}});
        QVERIFY(!badWorkers().isEmpty());
        const int others = m_db.count(u"cmn_contractor.person where id >= 1000000"_s);
        for (int run = 0; run < 2; ++run)
            QVERIFY(runUpgrade());
        QCOMPARE(badWorkers(), QString());
        QCOMPARE(
            m_db.scalar(u"select s_caption from cmn_contractor.person where id=:id"_s, {{u"id"_s, moved}})
                .toString(),
            u"Кадровое Имя"_s);
        QCOMPARE(m_db.count(u"cmn_contractor.person where id >= 1000000"_s), others - 1);
    }

private:
    // Workers not found exactly once by id, by code or by the journal's join.
    QString badWorkers() const
    {
        return m_db
            .scalar(u"select string_agg(w.id::text, ',') from accounts_dep.person w where "
                    "(select count(*) from cmn_contractor.person c where c.id = w.id) <> 1 "
                    "or (select count(*) from cmn_contractor.person c where c.s_code = w.id::text) <> 1 "
                    "or (select count(*) from cmn_contractor.person person "
                    "where (w.id = person.id or s_code::t_id = w.id)) <> 1"_s)
            .toString();
    }

    bool runUpgrade() const
    {
        QProcess psql;
        psql.setProcessChannelMode(QProcess::MergedChannels);
        psql.start(u"psql"_s, {u"-X"_s, u"-q"_s, u"-h"_s, test::TestDatabase::host(), u"-p"_s, u"5432"_s,
                               u"-U"_s, u"sys"_s, u"-d"_s, m_db.name(), u"-f"_s,
                               QStringLiteral(KORDEL_SOURCE_DIR) + u"/db/upgrade_worker_persons.sql"_s});
        if (!psql.waitForFinished(60000) || psql.exitCode() != 0) {
            qWarning("%s", psql.readAll().constData());
            return false;
        }
        return true;
    }

private:
    test::TestDatabase m_db;
    int m_group = 0;
    int m_product = 0;
    int m_operation = 0;
};

QTEST_MAIN(SchemaTest)
#include "tst_schema.moc"
