#include "core/datamodule.h"

#include "db/dberror.h"

#include <QSqlDatabase>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

// The journal of one shift for one date.  Shift 1 sorts by worker, product,
// kind, finished/blank and colour; the others by worker only.  A stored
// worker id is found among the shared persons by id or by code.
QString journalSql(int shift)
{
    static const QString shift1 =
        u"select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id,\n"
        "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
        "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen,  smena.brak, "
        "smena.kol_vo::numeric,\n"
        "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, color,time, smena.ok, vvod, "
        "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use\n"
        "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,"
        "accounts_dep.vid_oper\n"
        "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or s_code::t_id=w_id) and\n"
        "oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by\n"
        "fio, izdel.marka, vid_oper.vid, oper.naimen, color"_s;
    if (shift == 1)
        return shift1;
    return u"select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id,\n"
           "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
           "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen, smena.kol_vo::numeric, "
           "smena.brak,\n"
           "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, color,time, "
           "smena.ok, "
           "vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use\n"
           "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,"
           "accounts_dep.vid_oper\n"
           "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or s_code::t_id=w_id) and\n"
           "oper.vid=vid_oper.id and smena.smena="_s +
           QString::number(shift) + u" and smena.data=:data and ok<>:ok order by fio"_s;
}

// The month's hours rows of one shift with the worker's earnings of the month.
QString hoursSheetSql(int shift)
{
    QStringList cells;
    for (int day = 1; day <= 31; ++day)
        cells << u"coalesce(d%1,0)"_s.arg(day);
    const QString hours = u'(' + cells.join(u'+') + u')';
    return u"select person.s_caption fio, "_s + hours + u" as summ, case when "_s + hours +
           u"=0 then 0 else (sum(s.cena*(kol_vo-brak))/"_s + hours +
           u") end ::numeric(10,2) as average_price, sum(s.cena*(kol_vo-brak))::numeric(10,2) as cena_all,\n"
           "h_tabel.*\n"
           "from accounts_dep.h_tabel, cmn_contractor.person, accounts_dep.smena s where\n"
           "h_tabel.w_id=person.s_code::integer and h_tabel.smena="_s +
           QString::number(shift) +
           u" and month=:mnth and s.w_id = h_tabel.w_id and\n"
           "h_tabel.year=:yea and s.data >=:date1 and s.data <=:date2\n"
           "group by person.s_caption,h_tabel.w_id,h_tabel.month,h_tabel.year,h_tabel.smena,h_tabel.id\n"
           "order by fio"_s;
}

} // namespace

QString DataModule::priceListSql()
{
    return u"select izdel.MARKA, vid_oper.VID, oper.NAIMEN, i.s_caption  , (SELECT (CASE naimen WHEN 0 THEN "
           "'Готовая продукция' ELSE 'Заготовки' END)) as nmn,\n"
           "count(o_id) norma, min(price)::numeric cena, oper.id, oper.i_id, oper.VID as oper_vid\n"
           "from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER, "
           "cmn_classifier.item i\n"
           "where OPER.i_id=IZDEL.id and norm.o_id=oper.id and oper.vid=vid_oper.id and i.id "
           "=izdel.id_class_item\n"
           "group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID, i.s_caption\n"
           "order by izdel.marka, vid_oper.vid, oper.naimen"_s;
}

DataModule::DataModule(QObject *parent, const QString &connectionName)
    : QObject(parent), m_connectionName(connectionName)
{
    setObjectName(u"DataModule6"_s);
    addDataset(u"Workers"_s, u"select * from accounts_dep.person order by fio"_s);
    addDataset(u"Control"_s);
    addDataset(u"Izdel"_s, u"select *  from accounts_dep.IZDEL order by marka"_s);
    addDataset(u"Oper"_s, priceListSql());
    addDataset(u"Vid_oper"_s, u"select * from accounts_dep.VID_OPER order by vid"_s);
    for (int shift = 1; shift <= 4; ++shift)
        addDataset(u"Smena"_s + QString::number(shift), journalSql(shift));
    for (int shift = 1; shift <= 3; ++shift)
        addDataset(u"H_Tabel_"_s + QString::number(shift), hoursSheetSql(shift));
    addCommand(u"DelSmena"_s);
    addCommand(u"H_Tabel_ins"_s);
    addCommand(u"SQL_exec"_s);
    addCommand(u"Oper_ins"_s);
    addCommand(u"Oper_ed"_s);
    addCommand(u"Oper_del"_s, u"delete from accounts_dep.oper where id=:id"_s);
}

DataModule::~DataModule()
{
    // Datasets and commands hold queries on the connection: drop them first.
    const auto children = findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(children);
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

void DataModule::addDataset(const QString &name, const QString &sql)
{
    new Dataset(m_connectionName, name, sql, this);
}

void DataModule::addCommand(const QString &name, const QString &text)
{
    new Command(m_connectionName, name, text, this);
}

void DataModule::connectTo(const QString &connectionString)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(u"QODBC"_s, m_connectionName);
    db.close();
    // Money stays exact: numeric columns arrive as decimal text.
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    db.setDatabaseName(connectionString);
    // An unreachable server must not keep the client waiting.
    db.setConnectOptions(u"SQL_ATTR_LOGIN_TIMEOUT=15"_s);
    sql::nextConnectionGeneration();
    if (!db.open())
        throw DbError::fromSql(db.lastError(), u"connect"_s);
    // The month statements cost enough to be JIT-compiled, which takes the
    // server far longer than running them.
    sql::exec(m_connectionName, u"set jit = off"_s);
}

bool DataModule::isConnected() const
{
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

bool DataModule::reconnect()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.close();
    sql::nextConnectionGeneration();
    if (!db.open())
        throw DbError::fromSql(db.lastError(), u"connect"_s);
    sql::exec(m_connectionName, u"set jit = off"_s);
    return true;
}

Dataset *DataModule::dataset(const QString &name) const
{
    return findChild<Dataset *>(name, Qt::FindDirectChildrenOnly);
}

Command *DataModule::command(const QString &name) const
{
    return findChild<Command *>(name, Qt::FindDirectChildrenOnly);
}

Dataset &DataModule::journal(int shift) const
{
    Q_ASSERT(shift >= 1 && shift <= 4);
    return *dataset(u"Smena"_s + QString::number(shift));
}

Dataset &DataModule::hoursSheet(int shift) const
{
    Q_ASSERT(shift >= 1 && shift <= 3);
    return *dataset(u"H_Tabel_"_s + QString::number(shift));
}

Check DataModule::countCheck(const QString &statement, const Params &params, const QString &refusal)
{
    Dataset &check = control();
    check.close();
    check.setSql(statement);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        check.setParam(it.key(), it.value());
    check.open();
    const int count = check.intValue(u"cnt"_s);
    check.close();
    return count > 0 ? Check::refused(refusal) : Check::passed();
}

QString DataModule::separatorFix(const QString &text)
{
    qsizetype at = text.indexOf(u',');
    if (at < 0)
        at = text.indexOf(u'.');
    if (at < 0)
        return text;
    if (m_separator.isEmpty())
        m_separator = u"."_s;
    QString fixed = text;
    fixed.replace(at, 1, m_separator);
    return fixed;
}

void DataModule::recordBuildStamp(const BuildStamp &build)
{
    Dataset ver(m_connectionName, u"ver"_s, u"select d, t, delim from accounts_dep.ver limit 1"_s);
    ver.open();
    if (ver.isEmpty())
        throw DbError(u"В таблице accounts_dep.ver нет строки."_s);
    m_separator = ver.text(u"delim"_s);
    if (!build.isNewerThan(ver.intValue(u"d"_s), ver.intValue(u"t"_s)))
        return;
    // The comparison is repeated in the update, so that of two clients
    // starting at once the newer build wins.
    sql::exec(m_connectionName,
              u"update accounts_dep.ver set d=:d, t=:t "
              "where ctid = (select ctid from accounts_dep.ver limit 1) "
              "and (coalesce(d, 0) < :d or (coalesce(d, 0) = :d and coalesce(t, 0) < :t))"_s,
              {{u"d"_s, build.dateNumber}, {u"t"_s, build.seconds}});
}

} // namespace kordel
