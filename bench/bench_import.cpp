// The legacy import of a journal of 1,000,000 rows: a legacy database and an
// empty target made on the benchmark server beside the benchmark database
// (which is left alone), both reached through data sources registered for
// this run only.  Prints the time and the rows per second.

#include "bench/benchsupport.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"
#include "transfer/legacyimport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

constexpr int kJournalRows = 1000000;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "bench_import: %s\n", qPrintable(what));
    std::exit(2);
}

// The repository, for the schema of the target.
QString sourceRoot()
{
    const QString fromEnvironment = qEnvironmentVariable("KORDEL_SOURCE_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QFileInfo self(QString::fromUtf8(__FILE__));
    if (self.isRelative()) // compiled from the top of the build directory
        self = QFileInfo(QCoreApplication::applicationDirPath() + u"/../"_s + self.filePath());
    return QFileInfo(self.absolutePath() + u"/.."_s).canonicalFilePath();
}

QByteArray dataSource(const QString &name, const QString &database)
{
    return (u"["_s + name + u"]\nDriver=PostgreSQL Unicode\nServername="_s + bench::serverHost() +
            u"\nPort=5432\nDatabase="_s + database +
            u"\nUsername=sys\nPassword=qmzvelp\nUseDeclareFetch=1\nFetch=10000\n\n"_s)
        .toUtf8();
}

// unixODBC reads these once, before its first call: done first thing.
void registerDataSources(const QTemporaryDir &config, const QString &legacy, const QString &target)
{
    QProcess where;
    where.start(u"odbcinst"_s, {u"-j"_s});
    if (!where.waitForFinished(10000))
        fail(u"odbcinst -j did not answer"_s);
    QString drivers;
    for (const QString &line : QString::fromUtf8(where.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(u"DRIVERS"_s))
            drivers = line.section(u':', 1).trimmed();
    }
    if (!QFile::copy(drivers, config.filePath(u"odbcinst.ini"_s)))
        fail(u"cannot copy the driver list "_s + drivers);
    QFile ini(config.filePath(u"odbc.ini"_s));
    if (!ini.open(QIODevice::WriteOnly))
        fail(u"cannot write "_s + ini.fileName());
    ini.write(dataSource(u"Tabel"_s, legacy) + dataSource(u"Tabel_PgSQL"_s, target));
    ini.close();
    qputenv("ODBCSYSINI", QFile::encodeName(config.path()));
    qputenv("ODBCINI", QFile::encodeName(ini.fileName()));
}

void psql(const QString &database, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(u"psql"_s,
                  QStringList{u"-X"_s, u"-q"_s, u"-v"_s, u"ON_ERROR_STOP=1"_s, u"-h"_s, bench::serverHost(),
                              u"-p"_s, u"5432"_s, u"-U"_s, u"sys"_s, u"-d"_s, database} +
                      arguments);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        fail(u"psql "_s + arguments.join(u' ') + u": "_s + QString::fromUtf8(process.readAll()));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (bench::serverHost().isEmpty())
        fail(u"KORDEL_BENCH_HOST is not set"_s);
    const QString legacy = bench::databaseName() + u"_legacy"_s;
    const QString target = bench::databaseName() + u"_import"_s;
    QTemporaryDir config;
    if (!config.isValid())
        fail(u"no temporary directory"_s);
    registerDataSources(config, legacy, target);

    {
        DataModule data;
        bench::connect(data);
        const QString c = data.connectionName();
        try {
            for (const QString &name : {legacy, target}) {
                sql::exec(c, u"drop database if exists "_s + name + u" with (force)"_s);
                sql::exec(c, u"create database "_s + name + u" owner sys"_s);
            }
        } catch (const DbError &e) {
            fail(e.message());
        }
    }
    psql(target, {u"-f"_s, sourceRoot() + u"/db/schema.sql"_s});
    psql(legacy,
         {u"-c"_s,
          u"create table smena (\"W_ID\" integer, \"I_ID\" integer, \"O_ID\" integer, \"KOL_VO\" integer, "
          "\"BRAK\" smallint, \"DATA\" timestamp, \"SMENA\" smallint, \"ID\" serial primary key, "
          "\"CENA\" double precision, color integer, time integer, ok varchar(255), vvod timestamp)"_s,
          u"-c"_s,
          u"insert into smena(\"ID\", \"W_ID\", \"I_ID\", \"O_ID\", \"KOL_VO\", \"BRAK\", \"DATA\", "
          u"\"SMENA\", "
          "\"CENA\", color, time, ok, vvod) "
          "select g, 1 + g % 1000, 1 + g % 300, 1 + g % 2000, 1 + g % 50, g % 3, "
          "timestamp '2015-01-01' + (g / 400) * interval '1 day', 1 + g % 4, round((g % 10000) / 37.0, 4), "
          "g % 5, 1 + g % 12, case when g % 7 = 0 then 'no' else 'да' end, "
          "timestamp '2015-01-01 08:00' + g * interval '37 seconds' from generate_series(1, "_s +
              QString::number(kJournalRows) + u") g"_s,
          u"-c"_s, u"analyze smena"_s});

    qint64 rows = 0;
    const double ms = bench::medianMs(1, [&] {
        try {
            transfer::LegacyImport import;
            import.connect();
            import.copy(transfer::importSteps().last(), {});
            rows = import.rowsCopied();
        } catch (const DbError &e) {
            fail(e.message());
        }
    });
    if (rows != kJournalRows)
        fail(u"copied "_s + QString::number(rows) + u" rows of "_s + QString::number(kJournalRows));
    bench::report(u"import: legacy journal of "_s + QString::number(rows) + u" rows"_s, ms);
    QTextStream(stdout) << u"import: rows per second: "_s << QString::number(rows * 1000.0 / ms, 'f', 0)
                        << Qt::endl;

    DataModule data;
    bench::connect(data);
    for (const QString &name : {legacy, target})
        sql::exec(data.connectionName(), u"drop database if exists "_s + name + u" with (force)"_s);
    return 0;
}
