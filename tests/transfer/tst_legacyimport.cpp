// The legacy import: a legacy database of the old layout (upper-case names
// where the old tools used them) reached through the data source "Tabel",
// copied into the test database reached through "Tabel_PgSQL".  Both data
// sources are registered for this run only, in a temporary unixODBC
// configuration.

#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "transfer/importcommand.h"
#include "transfer/legacyimport.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::transfer;

namespace {

const QString kLegacy = u"legacy"_s; // Qt connection name of the legacy side in the checks

const char *const kLegacyLayout = R"(
create table "H_TABEL" (id serial primary key, w_id integer, month smallint, smena smallint, year smallint,
  d1 smallint, d2 smallint, d3 smallint, d4 smallint, d5 smallint, d6 smallint, d7 smallint, d8 smallint,
  d9 smallint, d10 smallint, d11 smallint, d12 smallint, d13 smallint, d14 smallint, d15 smallint,
  d16 smallint, d17 smallint, d18 smallint, d19 smallint, d20 smallint, d21 smallint, d22 smallint,
  d23 smallint, d24 smallint, d25 smallint, d26 smallint, d27 smallint, d28 smallint, d29 smallint,
  d30 smallint, d31 smallint);
create table "IZDEL" ("MARKA" varchar(50), "ID" serial primary key, nom varchar(100), massa numeric);
create table "NOMENKL" ("Nom" varchar(150), marka varchar(7));
create table "OPER" ("ID" serial primary key, "VID" integer, "NAIMEN" smallint, "CENA" numeric, "I_ID" integer);
create table "VID_OPER" ("VID" varchar(50), "ID" serial primary key);
create table "WORKERS" ("FIO" varchar(50), "ID" serial primary key, "ADDR" varchar(100));
create table smena ("W_ID" integer, "I_ID" integer, "O_ID" integer, "KOL_VO" integer, "BRAK" smallint,
  "DATA" timestamp, "SMENA" smallint, "ID" serial primary key, "CENA" double precision, color integer,
  time integer, ok varchar(255), vvod timestamp);
)";

// Legacy rows: ids out of order in the source, an apostrophe, nulls, a
// fraction a binary number cannot hold, a product group the target already
// has and one it has not, the last day of a leap February.
const char *const kLegacyRows = R"(
insert into "H_TABEL"(id, w_id, month, year, smena, d1, d2, d31) values
  (2, 11, 3, 2024, 2, null, 7, null), (1, 10, 3, 2024, 1, 8, null, 4);
insert into "IZDEL"("ID", "MARKA", nom, massa) values
  (6, 'О''Нил-2', 'Новая группа', 0.333333), (5, 'КР-1', 'Арматура', 1.5), (7, 'Б-3', 'Новая группа', null),
  (8, 'Без группы', '', 2);
insert into "NOMENKL"("Nom", marka) values ('Трубы', 'Т2'), ('Арматура', 'А1');
insert into "OPER"("ID", "VID", "NAIMEN", "CENA", "I_ID") values (4, 7778, 1, 0.1, 6), (3, 2, 0, 12.3456, 5);
insert into "VID_OPER"("ID", "VID") values (7777, 'Хоз. работы'), (2, 'Сборка');
insert into "WORKERS"("ID", "FIO", "ADDR") values (11, 'О''Нил Д.', null), (10, 'Иванов И.И.', 'ул. Ленина, 1'),
  (12, 'Знаки \ "кавычки" {a,b}', 'NULL');
insert into smena("ID", "W_ID", "I_ID", "O_ID", "KOL_VO", "BRAK", "DATA", "SMENA", "CENA", color, time, ok, vvod)
values (101, 11, 6, 4, 3, 0, '2024-02-29', 4, 0.1, 2, 4, 'no', '2024-02-29 23:59:59'),
       (100, 10, 5, 3, 12, 1, '2024-03-05', 1, 12.3456, 0, 8, 'да', '2024-03-05 08:15:30');
)";

// What the seven targets hold before an import: rows with ids above 0
// (to be replaced) and rows with ids of 0 or below (to survive).
const char *const kTargetRows = R"(
delete from accounts_dep.h_tabel; delete from accounts_dep.smena; delete from accounts_dep.oper;
delete from accounts_dep.vid_oper; delete from accounts_dep.workers; delete from accounts_dep.nomenkl;
delete from cmn_gds_and_srv.gds_and_srv; delete from cmn_classifier.item where id > 1;
insert into accounts_dep.h_tabel(id, w_id, month, year, smena, d1) values (-5, 1, 1, 2020, 1, 1), (0, 1, 1, 2020, 2, 2),
  (1, 99, 1, 2020, 1, 3), (50, 99, 1, 2020, 2, 4);
insert into accounts_dep.smena(id, w_id, i_id, o_id, cena, kol_vo, brak, data, smena, time, ok)
  values (-1, 1, 1, 1, 1, 1, 0, '2020-01-01', 1, 1, 'ok'), (1, 9, 9, 9, 9, 9, 0, '2020-01-02', 1, 1, 'no'),
  (200, 9, 9, 9, 9, 9, 0, '2020-01-03', 1, 1, 'no');
insert into accounts_dep.oper(id, vid, naimen, i_id) values (0, 0, 0, 0), (3, 1, 1, 1), (9, 1, 1, 1);
insert into accounts_dep.vid_oper(id, vid) values (0, 'Нулевой'), (5, 'Старый');
insert into accounts_dep.workers(id, fio, addr) values (0, 'Нулевой', ''), (3, 'Старый', '');
insert into accounts_dep.nomenkl(id, marka, nom) values (0, 'Н', 'Нулевая'), (1, 'С', 'Старая');
insert into cmn_classifier.item(id, s_caption, b_excluded) values (40, 'Арматура', 0);
insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, massa, id_class_item) values
  (0, 'Нулевое', '', 6, 0, 40), (9, 'Старое', '', 6, 0, 40), (500, 'Услуга склада', '', 1, 0, null);
)";

// Each target as text, rows in id order; nomenclature rows without ids.
struct Target
{
    const char *table;
    const char *columns;
};
const Target kTargets[] = {
    {"accounts_dep.h_tabel", "id, w_id, month, year, smena, i_type, i_night, id_nom, d1, d2, d3, d31"},
    {"accounts_dep.izdel", "id, marka, nom, massa"},
    {"accounts_dep.nomenkl", "marka, nom"},
    {"accounts_dep.oper", "id, vid, naimen, cena, i_id"},
    {"accounts_dep.vid_oper", "id, vid"},
    {"accounts_dep.workers", "id, fio, addr"},
    {"accounts_dep.smena", "id, w_id, i_id, o_id, kol_vo, brak, smena, cena, color, ok, data, time, vvod"},
};

} // namespace

class LegacyImportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Before the first ODBC call of the process: the data sources of
        // this run, beside a copy of the machine's driver list.
        QVERIFY(m_config.isValid());
        QProcess where;
        where.start(u"odbcinst"_s, {u"-j"_s});
        QVERIFY(where.waitForFinished(10000));
        QString drivers;
        for (const QString &line : QString::fromUtf8(where.readAllStandardOutput()).split(u'\n')) {
            if (line.startsWith(u"DRIVERS"_s))
                drivers = line.section(u':', 1).trimmed();
        }
        QVERIFY2(QFile::copy(drivers, m_config.filePath(u"odbcinst.ini"_s)), qPrintable(drivers));

        m_legacyName = m_db.name() + u"_legacy"_s;
        QFile ini(m_config.filePath(u"odbc.ini"_s));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(dataSource(u"Tabel"_s, m_legacyName) + dataSource(u"Tabel_PgSQL"_s, m_db.name()));
        ini.close();
        qputenv("ODBCSYSINI", QFile::encodeName(m_config.path()));
        qputenv("ODBCINI", QFile::encodeName(ini.fileName()));

        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_db.exec(u"drop database if exists "_s + m_legacyName + u" with (force)"_s);
        m_db.exec(u"create database "_s + m_legacyName + u" owner sys"_s);
        QSqlDatabase legacy = QSqlDatabase::addDatabase(u"QODBC"_s, kLegacy);
        legacy.setDatabaseName(connectionString(m_legacyName, test::TestDatabase::host()));
        QVERIFY2(legacy.open(), qPrintable(legacy.lastError().text()));
        sql::exec(kLegacy, QString::fromUtf8(kLegacyLayout));
    }

    void cleanupTestCase()
    {
        if (QSqlDatabase::contains(kLegacy)) {
            QSqlDatabase::database(kLegacy, false).close();
            QSqlDatabase::removeDatabase(kLegacy);
        }
    }

    void init()
    {
        sql::exec(kLegacy,
                  u"alter table \"VID_OPER\" alter \"VID\" type varchar(50) using left(\"VID\", 50)"_s);
        sql::exec(
            kLegacy,
            u"truncate \"H_TABEL\", \"IZDEL\", \"NOMENKL\", \"OPER\", \"VID_OPER\", \"WORKERS\", smena"_s);
        sql::exec(kLegacy, QString::fromUtf8(kLegacyRows));
        m_db.exec(QString::fromUtf8(kTargetRows));
    }

    // Every table replaced by the legacy rows with their ids, fields found
    // whatever their letter case, values as they were; the rows with ids of
    // 0 or below stay, and so do goods that are not products.
    void copiesEveryTable()
    {
        LegacyImport import;
        const auto outcome = import.run();
        QCOMPARE(outcome.stepsDone, 7);
        QVERIFY(!outcome.stopped);

        QCOMPARE(rows(kTargets[0]),
                 QStringList({u"(-5,1,1,2020,1,0,0,0,1,,,)"_s, u"(0,1,1,2020,2,0,0,0,2,,,)"_s,
                              u"(1,10,3,2024,1,0,0,0,8,,,4)"_s, u"(2,11,3,2024,2,0,0,0,,7,,)"_s}));
        QCOMPARE(rows(kTargets[1]),
                 QStringList({u"(0,Нулевое,Арматура,0.000000)"_s, u"(5,КР-1,Арматура,1.500000)"_s,
                              u"(6,О'Нил-2,\"Новая группа\",0.333333)"_s, u"(7,Б-3,\"Новая группа\",)"_s,
                              u"(8,\"Без группы\",,2.000000)"_s}));
        // One group made for the two products that name it, the existing one reused.
        QCOMPARE(m_db.count(u"cmn_classifier.item where s_caption = 'Новая группа' and id_level = 2"_s), 1);
        QCOMPARE(m_db.count(u"cmn_classifier.item where s_caption = 'Арматура'"_s), 1);
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id = 500"_s), 1);
        QCOMPARE(rows(kTargets[2]), QStringList({u"(Н,Нулевая)"_s, u"(Т2,Трубы)"_s, u"(А1,Арматура)"_s}));
        QCOMPARE(rows(kTargets[3]),
                 QStringList({u"(0,0,0,,0)"_s, u"(3,2,0,12.3456,5)"_s, u"(4,7778,1,0.1,6)"_s}));
        QCOMPARE(rows(kTargets[4]),
                 QStringList({u"(0,Нулевой)"_s, u"(2,Сборка)"_s, u"(7777,\"Хоз. работы\")"_s}));
        QCOMPARE(rows(kTargets[5]),
                 QStringList({u"(0,Нулевой,\"\")"_s, u"(10,\"Иванов И.И.\",\"ул. Ленина, 1\")"_s,
                              u"(11,\"О'Нил Д.\",)"_s, u"(12,\"Знаки \\\\ \"\"кавычки\"\" {a,b}\",NULL)"_s}));
        QCOMPARE(m_db.count(u"accounts_dep.workers where addr = 'NULL'"_s), 1);
        QCOMPARE(rows(kTargets[6]),
                 QStringList({u"(-1,1,1,1,1,0,1,1.0000,0,ok,2020-01-01,1,)"_s,
                              u"(100,10,5,3,12,1,1,12.3456,0,да,2024-03-05,8,\"2024-03-05 08:15:30\")"_s,
                              u"(101,11,6,4,3,0,4,0.1000,2,no,2024-02-29,4,\"2024-02-29 23:59:59\")"_s}));
    }

    // Rows the client adds after an import draw ids past the imported ones.
    void newRowsAfterAnImport_data()
    {
        QTest::addColumn<QString>("insert");
        QTest::addColumn<int>("above");
        QTest::newRow("journal") << u"insert into accounts_dep.smena(w_id) values (1) returning id"_s << 101;
        QTest::newRow("hours")
            << u"insert into accounts_dep.h_tabel(w_id, month, year) values (1, 1, 2025) returning id"_s << 2;
        QTest::newRow("kinds") << u"insert into accounts_dep.vid_oper(vid) values ('Новый') returning id"_s
                               << 2;
        QTest::newRow("operations")
            << u"insert into accounts_dep.oper(vid, i_id) values (1, 1) returning id"_s << 4;
        QTest::newRow("workers") << u"insert into accounts_dep.workers(fio) values ('Новый') returning id"_s
                                 << 12;
    }
    void newRowsAfterAnImport()
    {
        QFETCH(QString, insert);
        QFETCH(int, above);
        LegacyImport().run();
        const int id = m_db.scalar(insert).toInt();
        QVERIFY2(id > above, qPrintable(QString::number(id)));
        QVERIFY(id < 7776);
    }

    // A second run leaves the same rows; only the nomenclature rows are new.
    void secondRunChangesNothing()
    {
        LegacyImport().run();
        const QStringList first = snapshot();
        const int nomenclatureIds = m_db.scalar(u"select max(id) from accounts_dep.nomenkl"_s).toInt();
        LegacyImport().run();
        QCOMPARE(snapshot(), first);
        QVERIFY(m_db.scalar(u"select min(id) from accounts_dep.nomenkl where id > 0"_s).toInt() >
                nomenclatureIds);
    }

    // Empty legacy tables empty the targets down to the rows with ids of 0
    // or below; the products go, other goods stay.
    void emptySourceEmptiesTargets()
    {
        sql::exec(
            kLegacy,
            u"truncate \"H_TABEL\", \"IZDEL\", \"NOMENKL\", \"OPER\", \"VID_OPER\", \"WORKERS\", smena"_s);
        QCOMPARE(LegacyImport().run().stepsDone, 7);
        for (const Target &target : kTargets) {
            const QString table = QString::fromLatin1(target.table);
            QCOMPARE(m_db.count(table + u" where id > 0"_s), 0);
            QVERIFY2(m_db.count(table + u" where id <= 0"_s) > 0, qPrintable(table));
        }
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id = 500"_s), 1);
    }

    // A legacy row the target refuses: its table keeps its rows, the tables
    // before it are copied, those after it untouched, and the error names
    // the table with the driver's message.
    void refusedRowStopsTheImport_data()
    {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<int>("failingStep");
        QTest::addColumn<QString>("driverSays");
        QTest::newRow("hours row without a worker")
            << u"insert into \"H_TABEL\"(id, month, year, smena) values (3, 3, 2024, 1)"_s << 0 << u"w_id"_s;
        QTest::newRow("operation kind too long for its column")
            << u"alter table \"VID_OPER\" alter \"VID\" type varchar(80); "
               "insert into \"VID_OPER\"(\"ID\", \"VID\") values (3, repeat('я', 60))"_s
            << 4 << u"varying(50)"_s;
        QTest::newRow("journal mark too long, behind a full batch")
            << u"insert into smena(\"ID\", \"W_ID\", \"DATA\", \"SMENA\", ok) "
               "select 1000 + g, 1, '2024-03-01', 1, 'no' from generate_series(1, 3000) g; "
               "insert into smena(\"ID\", \"W_ID\", ok) values (9000, 1, 'принят')"_s
            << 6 << u"varying(2)"_s;
    }
    void refusedRowStopsTheImport()
    {
        QFETCH(QString, spoil);
        QFETCH(int, failingStep);
        QFETCH(QString, driverSays);
        LegacyImport().run(); // the tables as an import of sound rows leaves them
        const QStringList copied = snapshot();
        m_db.exec(QString::fromUtf8(kTargetRows));
        const QStringList before = snapshot();

        sql::exec(kLegacy, spoil);
        QString message;
        try {
            LegacyImport().run();
            QFAIL("the import went through");
        } catch (const DbError &error) {
            message = error.message();
        }
        const ImportStep &failing = importSteps().at(failingStep);
        QVERIFY2(message.contains(failing.source) && message.contains(failing.target), qPrintable(message));
        QVERIFY2(message.contains(driverSays), qPrintable(message));
        const QStringList after = snapshot();
        for (int step = 0; step < 7; ++step) {
            const QString table = QString::fromLatin1(kTargets[step].table);
            QVERIFY2(after[step] == (step < failingStep ? copied[step] : before[step]), qPrintable(table));
        }
    }

    // A journal bigger than a batch arrives whole; progress moves by
    // batches, not by rows, and ends at the total.
    void bigJournalInBatches()
    {
        sql::exec(kLegacy,
                  u"insert into smena(\"ID\", \"W_ID\", \"I_ID\", \"O_ID\", \"KOL_VO\", \"BRAK\", \"DATA\", "
                  "\"SMENA\", \"CENA\", color, time, ok, vvod) "
                  "select 1000 + g, g % 97, 5, 3, g % 13, 0, date '2024-01-01' + g % 60, 1 + g % 4, "
                  "g / 100.0, 0, 8, 'no', timestamp '2024-01-01 07:00' + g * interval '1 minute' "
                  "from generate_series(1, 5000) g"_s);
        LegacyImport import;
        import.connect();
        QList<ImportProgress> seen;
        QVERIFY(import.copy(importSteps().at(6), [&seen](const ImportProgress &p) {
            seen << p;
            return true;
        }));
        QCOMPARE(import.rowsCopied(), 5002);
        QVERIFY(seen.size() >= 4 && seen.size() < 50);
        QCOMPARE(seen.first().done, 0);
        QCOMPARE(seen.last().done, 5002);
        for (qsizetype i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen[i].table, u"smena"_s);
            QCOMPARE(seen[i].total, 5002);
            QVERIFY(i == 0 || seen[i].done >= seen[i - 1].done);
        }
        const QString target =
            u"select count(*) || ' ' || sum(id) || ' ' || sum(w_id) || ' ' || sum(kol_vo) || ' ' || "
            "sum(cena) || ' ' || min(data) || ' ' || max(data) || ' ' || max(vvod) || ' ' || "
            "sum(smena) from accounts_dep.smena where id > 0"_s;
        const QString legacy =
            u"select count(*) || ' ' || sum(\"ID\") || ' ' || sum(\"W_ID\") || ' ' || "
            "sum(\"KOL_VO\") || ' ' || sum(\"CENA\"::numeric(15,4)) || ' ' || min(\"DATA\"::date) "
            "|| ' ' || max(\"DATA\"::date) || ' ' || max(vvod) || ' ' || sum(\"SMENA\") from smena"_s;
        QCOMPARE(m_db.scalar(target).toString(), sql::scalar(kLegacy, legacy).toString());
    }

    // Stopping in the middle of a table leaves it as it was and copies no
    // further tables.
    void stoppedInTheMiddle()
    {
        sql::exec(kLegacy, u"insert into \"H_TABEL\"(id, w_id, month, year, smena) "
                           "select 10 + g, g, 1, 2024, 1 from generate_series(1, 2000) g"_s);
        const QStringList before = snapshot();
        const auto outcome = LegacyImport().run([](const ImportProgress &p) { return p.done < 400; });
        QVERIFY(outcome.stopped);
        QCOMPARE(outcome.stoppedAt, u"H_TABEL"_s);
        QCOMPARE(outcome.stepsDone, 0);
        QCOMPARE(snapshot(), before);
    }

    // A data source that is not there: nothing changes and the user is told
    // which one.  Through the window: the question first, then the outcome.
    void commandTellsTheOutcome_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("changed");
        QTest::newRow("done") << LegacyImport::defaultSource() << true << u"Импорт завершен."_s << true;
        QTest::newRow("declined") << LegacyImport::defaultSource() << false << QString() << false;
        QTest::newRow("no such source") << u"DSN=Tabel_Missing;PWD=wupsordek"_s << true
                                        << u"Нет связи с источником данных Tabel"_s << false;
    }
    void commandTellsTheOutcome()
    {
        QFETCH(QString, source);
        QFETCH(bool, answer);
        QFETCH(QString, told);
        QFETCH(bool, changed);
        test::ScriptedMessages messages;
        messages.answers << answer;
        const QStringList before = snapshot();
        QWidget parent;
        ImportCommand command(&parent);
        command.setConnections(source, LegacyImport::defaultTarget());
        command.run();
        QCOMPARE(snapshot() != before, changed);
        QVERIFY(messages.shown.first().question);
        if (told.isEmpty()) {
            QCOMPARE(messages.shown.size(), 1);
            return;
        }
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY2(messages.shown.last().text.contains(told), qPrintable(messages.shown.last().text));
        if (changed)
            QCOMPARE(command.progressText(), u"smena: 2 из 2 записей"_s);
        QVERIFY(!command.progressDialog());
    }

    void maintenanceItemsOnRequest_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("shown");
        QTest::newRow("not set") << QByteArray() << false;
        QTest::newRow("set") << QByteArray("1") << true;
        QTest::newRow("other") << QByteArray("0") << false;
    }
    void maintenanceItemsOnRequest()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, shown);
        if (value.isNull())
            qunsetenv("KORDEL_MAINTENANCE");
        else
            qputenv("KORDEL_MAINTENANCE", value);
        QWidget window;
        QAction import(&window);
        QAction structure(&window);
        import.setVisible(!shown);
        structure.setVisible(!shown);
        offerMaintenance(&import, &structure);
        QCOMPARE(import.isVisible(), shown);
        QCOMPARE(structure.isVisible(), shown);
        qunsetenv("KORDEL_MAINTENANCE");
    }

private:
    QByteArray dataSource(const QString &name, const QString &database) const
    {
        return (u"["_s + name + u"]\nDriver=PostgreSQL Unicode\nServername="_s + test::TestDatabase::host() +
                u"\nPort=5432\nDatabase="_s + database +
                u"\nUsername=sys\nPassword=qmzvelp\nUseDeclareFetch=1\nFetch=10000\n\n"_s)
            .toUtf8();
    }

    QStringList rows(const Target &target) const
    {
        return m_db
            .scalar(u"select string_agg(row("_s + QString::fromLatin1(target.columns) +
                    u")::text, '|' order by id) from "_s + QString::fromLatin1(target.table))
            .toString()
            .split(u'|', Qt::SkipEmptyParts);
    }

    QStringList snapshot() const
    {
        QStringList all;
        for (const Target &target : kTargets)
            all << rows(target).join(u'|');
        return all;
    }

    test::TestDatabase m_db;
    QTemporaryDir m_config;
    QString m_legacyName;
};

QTEST_MAIN(LegacyImportTest)
#include "tst_legacyimport.moc"
