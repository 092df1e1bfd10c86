#include "testdatabase.h"

#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"

#include <QCoreApplication>
#include <QDate>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace kordel::test {

TestDatabase::TestDatabase(const QString &name)
    : m_name(name.isEmpty() ? QCoreApplication::applicationName().toLower() : name)
{
    m_name.replace(u'-', u'_');
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::host()
{
    const QString fromEnvironment = qEnvironmentVariable("KORDEL_TEST_PGHOST");
    return fromEnvironment.isEmpty() ? QStringLiteral(KORDEL_PG_HOST) : fromEnvironment;
}

bool TestDatabase::psql(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(u"psql"_s, QStringList{u"-X"_s, u"-q"_s, u"-v"_s, u"ON_ERROR_STOP=1"_s, u"-h"_s, host(),
                                         u"-p"_s, u"5432"_s} +
                                 arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        m_error = u"psql "_s + arguments.join(u' ') + u": "_s + QString::fromUtf8(process.readAll());
        return false;
    }
    return true;
}

bool TestDatabase::create(bool withDemo)
{
    m_data.reset();
    const QString source = QStringLiteral(KORDEL_SOURCE_DIR);
    if (!psql({u"-U"_s, u"postgres"_s, u"-d"_s, u"postgres"_s, u"-c"_s,
               u"drop database if exists "_s + m_name + u" with (force)"_s, u"-c"_s,
               u"create database "_s + m_name + u" owner sys"_s}))
        return false;
    if (!psql({u"-U"_s, u"sys"_s, u"-d"_s, m_name, u"-f"_s, source + u"/db/schema.sql"_s}))
        return false;
    if (withDemo && !psql({u"-U"_s, u"sys"_s, u"-d"_s, m_name, u"-f"_s, source + u"/db/demo.sql"_s}))
        return false;
    return true;
}

bool TestDatabase::connect()
{
    m_data = std::make_unique<DataModule>();
    try {
        m_data->connectTo(connectionString(m_name, host()));
    } catch (const DbError &e) {
        m_error = e.message();
        return false;
    }
    return true;
}

void TestDatabase::exec(const QString &statement, const Params &params) const
{
    sql::exec(m_data->connectionName(), statement, params);
}

QVariant TestDatabase::scalar(const QString &statement, const Params &params) const
{
    return sql::scalar(m_data->connectionName(), statement, params);
}

int TestDatabase::count(const QString &fromWhere, const Params &params) const
{
    return scalar(u"select count(*) from "_s + fromWhere, params).toInt();
}

int TestDatabase::addWorker(const QString &fio) const
{
    return scalar(u"insert into accounts_dep.person(fio, s_staffpos_hl) values (:fio, '') returning id"_s,
                  {{u"fio"_s, fio}})
        .toInt();
}

int TestDatabase::addGroup(const QString &caption, bool excluded) const
{
    return scalar(u"insert into cmn_classifier.item(s_caption, b_excluded) values (:c, :e) returning id"_s,
                  {{u"c"_s, caption}, {u"e"_s, excluded ? 1 : 0}})
        .toInt();
}

int TestDatabase::addProduct(const QString &mark, int group) const
{
    return scalar(u"insert into cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, massa, "
                  "id_class_item) values (:m, '', 6, 1, :g) returning id"_s,
                  {{u"m"_s, mark}, {u"g"_s, group}})
        .toInt();
}

int TestDatabase::addKind(const QString &name) const
{
    return scalar(u"insert into accounts_dep.vid_oper(vid) values (:v) returning id"_s, {{u"v"_s, name}})
        .toInt();
}

int TestDatabase::addOperation(int kind, int product, int naimen) const
{
    return scalar(u"insert into accounts_dep.oper(vid, naimen, i_id, cena_new) values (:v, :n, :i, 0) "
                  "returning id"_s,
                  {{u"v"_s, kind}, {u"n"_s, naimen}, {u"i"_s, product}})
        .toInt();
}

void TestDatabase::addNorm(int operation, int norma, const QString &price) const
{
    exec(u"insert into accounts_dep.norm(o_id, norma, price, prize) values (:o, :n, :p::numeric, 0)"_s,
         {{u"o"_s, operation}, {u"n"_s, norma}, {u"p"_s, price}});
}

int TestDatabase::addJournalRow(int worker, int operation, const QDate &date, int shift, int hours,
                                const QString &ok, int colour) const
{
    return scalar(u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
                  "time, vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
                  "select :w, o.i_id, o.id, 10, 12, 2, :d, :s, :c, :t, now(), :ok, 0, 0, 0, 0, 0, 0 "
                  "from accounts_dep.oper o where o.id = :o returning id"_s,
                  {{u"w"_s, worker},
                   {u"o"_s, operation},
                   {u"d"_s, date},
                   {u"s"_s, shift},
                   {u"c"_s, colour},
                   {u"t"_s, hours},
                   {u"ok"_s, ok}})
        .toInt();
}

} // namespace kordel::test
