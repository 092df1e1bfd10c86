#include "transfer/legacyimport.h"

#include "db/dberror.h"
#include "db/transaction.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <atomic>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kordel::transfer {
namespace {

// Rows of one insert.  Each column of a batch travels as one array
// parameter, so a batch costs one round trip and a handful of parameters
// however many rows it holds; the progress moves once a batch.
constexpr int kRowsPerBatch = 2000;

QList<FieldCopy> hoursFields()
{
    QList<FieldCopy> fields{{u"id"_s, ValueKind::Integer},
                            {u"w_id"_s, ValueKind::Integer},
                            {u"month"_s, ValueKind::Integer},
                            {u"year"_s, ValueKind::Integer},
                            {u"smena"_s, ValueKind::Integer}};
    for (int day = 1; day <= 31; ++day)
        fields.append({u"d"_s + QString::number(day), ValueKind::Integer});
    return fields;
}

QString arrayType(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Integer:
        return u"integer[]"_s;
    case ValueKind::Text:
        return u"varchar[]"_s;
    case ValueKind::Float:
        return u"numeric[]"_s;
    case ValueKind::Date:
        return u"date[]"_s;
    case ValueKind::DateTime:
        return u"timestamp[]"_s;
    }
    return {};
}

QVariant typedNull(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Integer:
        return QVariant(QMetaType::fromType<int>());
    case ValueKind::Date:
        return QVariant(QMetaType::fromType<QDate>());
    case ValueKind::DateTime:
        return QVariant(QMetaType::fromType<QDateTime>());
    case ValueKind::Text:
    case ValueKind::Float:
        break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

[[noreturn]] void refuseValue(const QString &field, const QVariant &value, const QString &what)
{
    throw DbError(u"поле "_s + field + u": значение «"_s + value.toString() + u"» не "_s + what + u'.');
}

QDateTime parseDateTime(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &format : {u"yyyy-MM-dd HH:mm:ss.zzz"_s, u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-dd"_s,
                                  u"dd.MM.yyyy HH:mm:ss"_s, u"dd.MM.yyyy"_s}) {
        const QDateTime parsed = QDateTime::fromString(t, format);
        if (parsed.isValid())
            return parsed;
    }
    return QDateTime::fromString(t, Qt::ISODateWithMs);
}

// A legacy value as its target column takes it.  Integers from fractional
// numbers are rounded, as the legacy tools did; fractional numbers travel
// as exact decimal text; dates keep their day.
QVariant convert(const QVariant &value, const FieldCopy &field)
{
    if (value.isNull())
        return typedNull(field.kind);
    const int type = value.metaType().id();
    switch (field.kind) {
    case ValueKind::Integer: {
        bool ok = false;
        qint64 number = 0;
        if (type == QMetaType::Double || type == QMetaType::Float) {
            const double d = value.toDouble();
            ok = std::isfinite(d);
            number = ok ? qRound64(d) : 0;
        } else if (type == QMetaType::Bool) {
            number = value.toBool() ? 1 : 0;
            ok = true;
        } else {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return typedNull(field.kind);
            number = text.toLongLong(&ok);
            if (!ok) {
                const double d = QLocale::c().toDouble(QString(text).replace(u',', u'.'), &ok);
                ok = ok && std::isfinite(d);
                number = ok ? qRound64(d) : 0;
            }
        }
        if (!ok)
            refuseValue(field.name, value, u"является целым числом"_s);
        if (number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
            return int(number);
        return number; // the target refuses it as out of range
    }
    case ValueKind::Text:
        return value.toString();
    case ValueKind::Float: {
        QString text;
        if (type == QMetaType::Double || type == QMetaType::Float)
            text = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        else
            text = value.toString().trimmed();
        if (text.isEmpty())
            return typedNull(field.kind);
        if (!text.contains(u'.'))
            text.replace(u',', u'.');
        return text;
    }
    case ValueKind::Date:
    case ValueKind::DateTime: {
        QDateTime stamp;
        if (type == QMetaType::QDateTime)
            stamp = value.toDateTime();
        else if (type == QMetaType::QDate)
            stamp = value.toDate().startOfDay();
        else if (value.toString().trimmed().isEmpty())
            return typedNull(field.kind);
        else
            stamp = parseDateTime(value.toString());
        if (!stamp.isValid())
            refuseValue(field.name, value, u"является датой"_s);
        if (field.kind == ValueKind::Date)
            return stamp.date();
        return stamp;
    }
    }
    return value;
}

QString nextConnectionName(const QString &prefix)
{
    static std::atomic<int> serial{0};
    return u"transfer_"_s + prefix + u'_' + QString::number(++serial);
}

void open(const QString &name, const QString &connection, const QString &what)
{
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(u"QODBC"_s, name);
    db.close();
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    // Qt's driver puts "DSN=" before a string that names no driver or
    // server itself.
    db.setDatabaseName(connection.startsWith(u"DSN="_s, Qt::CaseInsensitive) ? connection.mid(4)
                                                                             : connection);
    db.setConnectOptions(u"SQL_ATTR_LOGIN_TIMEOUT=15"_s);
    if (!db.open()) {
        const DbError error = DbError::fromSql(db.lastError(), u"connect"_s);
        throw DbError(u"Нет связи с источником данных "_s + what + u": "_s + error.message(),
                      error.sqlState());
    }
}

void execute(QSqlQuery &query, const QString &statement)
{
    if (!query.exec(statement))
        throw DbError::fromSql(query.lastError(), statement);
}

// The legacy table's name as the source knows it: the legacy tools matched
// names without regard to letter case.
QString sourceTableName(const QSqlDatabase &db, const QString &wanted)
{
    const QStringList tables = db.tables(QSql::Tables) + db.tables(QSql::Views);
    if (tables.contains(wanted))
        return wanted;
    for (const QString &name : tables) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return wanted;
}

// One batch: the columns as arrays, unnested in the order of the legacy rows.
// Storing into the target's columns checks every value as a row insert
// would (a text too long, a number out of range, a missing value).
QString insertStatement(const ImportStep &step)
{
    QStringList columns;
    QStringList arrays;
    QStringList names;
    for (qsizetype i = 0; i < step.fields.size(); ++i) {
        columns << step.fields[i].name;
        arrays << u"?::"_s + arrayType(step.fields[i].kind);
        names << u"c"_s + QString::number(i);
    }
    return u"insert into "_s + step.target + u" ("_s + columns.join(u", "_s) + u") select "_s +
           names.join(u", "_s) + u" from unnest("_s + arrays.join(u", "_s) +
           u") with ordinality as batch("_s + names.join(u", "_s) + u", n) order by n"_s;
}

// Appends a converted value to the text of an array parameter.
void appendElement(QString &array, const QVariant &value)
{
    if (array.size() > 1)
        array += u',';
    if (value.isNull()) {
        array += u"NULL"_s;
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        array += value.toString();
        return;
    case QMetaType::QDate:
        array += value.toDate().toString(Qt::ISODate);
        return;
    case QMetaType::QDateTime:
        array += u'"' + value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s) + u'"';
        return;
    default:
        break;
    }
    const QString text = value.toString();
    array += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            array += u'\\';
        array += c;
    }
    array += u'"';
}

} // namespace

const QList<ImportStep> &importSteps()
{
    using K = ValueKind;
    static const QList<ImportStep> steps{
        {u"H_TABEL"_s, u"accounts_dep.h_tabel"_s, hoursFields(), true, u"accounts_dep.h_tabel"_s,
         u"accounts_dep.h_tabel_id_seq"_s},
        {u"IZDEL"_s,
         u"accounts_dep.izdel"_s,
         {{u"id"_s, K::Integer}, {u"marka"_s, K::Text}, {u"nom"_s, K::Text}, {u"massa"_s, K::Float}},
         true,
         u"cmn_gds_and_srv.gds_and_srv"_s,
         u"cmn_gds_and_srv.gds_and_srv_id_seq"_s},
        {u"NOMENKL"_s,
         u"accounts_dep.nomenkl"_s,
         {{u"marka"_s, K::Text}, {u"nom"_s, K::Text}},
         false,
         {},
         {}},
        {u"OPER"_s,
         u"accounts_dep.oper"_s,
         {{u"id"_s, K::Integer},
          {u"vid"_s, K::Integer},
          {u"naimen"_s, K::Integer},
          {u"cena"_s, K::Float},
          {u"i_id"_s, K::Integer}},
         true,
         u"accounts_dep.oper"_s,
         u"accounts_dep.oper_id_seq"_s},
        {u"VID_OPER"_s,
         u"accounts_dep.vid_oper"_s,
         {{u"id"_s, K::Integer}, {u"vid"_s, K::Text}},
         true,
         u"accounts_dep.vid_oper"_s,
         u"accounts_dep.vid_oper_id_seq"_s},
        {u"WORKERS"_s,
         u"accounts_dep.workers"_s,
         {{u"id"_s, K::Integer}, {u"fio"_s, K::Text}, {u"addr"_s, K::Text}},
         true,
         u"accounts_dep.workers"_s,
         u"accounts_dep.workers_id_seq"_s},
        // The journal comes from the legacy source like every other table;
        // read through the client's own connection it would be the target
        // itself, deleted and copied onto itself.
        {u"smena"_s,
         u"accounts_dep.smena"_s,
         {{u"id"_s, K::Integer},
          {u"w_id"_s, K::Integer},
          {u"i_id"_s, K::Integer},
          {u"o_id"_s, K::Integer},
          {u"kol_vo"_s, K::Integer},
          {u"brak"_s, K::Integer},
          {u"smena"_s, K::Integer},
          {u"cena"_s, K::Float},
          {u"color"_s, K::Integer},
          {u"ok"_s, K::Text},
          {u"data"_s, K::Date},
          {u"time"_s, K::Integer},
          {u"vvod"_s, K::DateTime}},
         true,
         u"accounts_dep.smena"_s,
         u"accounts_dep.smena_id_seq"_s},
    };
    return steps;
}

QString LegacyImport::defaultSource()
{
    return u"DSN=Tabel;PWD=wupsordek"_s;
}

QString LegacyImport::defaultTarget()
{
    return u"DSN=Tabel_PgSQL;UID=sys"_s;
}

LegacyImport::LegacyImport(QString sourceConnection, QString targetConnection)
    : m_sourceConnection(std::move(sourceConnection)), m_targetConnection(std::move(targetConnection)),
      m_source(nextConnectionName(u"MSA"_s)), m_target(nextConnectionName(u"PGSQL"_s))
{}

LegacyImport::~LegacyImport()
{
    for (const QString &name : {m_source, m_target}) {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
}

void LegacyImport::connect()
{
    open(m_source, m_sourceConnection, u"Tabel"_s);
    open(m_target, m_targetConnection, u"Tabel_PgSQL"_s);
}

LegacyImport::Outcome LegacyImport::run(const ProgressCallback &progress)
{
    connect();
    Outcome outcome;
    const QList<ImportStep> &steps = importSteps();
    for (const ImportStep &step : steps) {
        if (!copy(step, progress, outcome.stepsDone + 1, int(steps.size()))) {
            outcome.stopped = true;
            outcome.stoppedAt = step.source;
            break;
        }
        ++outcome.stepsDone;
    }
    return outcome;
}

bool LegacyImport::copy(const ImportStep &step, const ProgressCallback &progress, int stepNumber, int steps)
{
    m_rowsCopied = 0;
    QSqlDatabase source = QSqlDatabase::database(m_source, false);
    QSqlDatabase target = QSqlDatabase::database(m_target, false);
    try {
        const QString table = sourceTableName(source, step.source);
        const QString quotedTable = source.driver()->escapeIdentifier(table, QSqlDriver::TableName);

        // The legacy fields by name, without regard to letter case.
        QSqlQuery probe(source);
        execute(probe, u"select * from "_s + quotedTable + u" where 1=0"_s);
        const QSqlRecord record = probe.record();
        probe.finish();
        auto actualName = [&](const QString &wanted) {
            for (int i = 0; i < record.count(); ++i) {
                if (record.fieldName(i).compare(wanted, Qt::CaseInsensitive) == 0)
                    return source.driver()->escapeIdentifier(record.fieldName(i), QSqlDriver::FieldName);
            }
            throw DbError(u"в таблице нет поля "_s + wanted + u'.');
        };
        QStringList columns;
        for (const FieldCopy &field : step.fields)
            columns << actualName(field.name);

        QSqlQuery counter(source);
        execute(counter, u"select count(*) from "_s + quotedTable);
        const qint64 total = counter.next() ? counter.value(0).toLongLong() : 0;
        counter.finish();

        ImportProgress state{step.source, 0, total, stepNumber, steps};
        if (progress && !progress(state))
            return false;

        QSqlQuery reader(source);
        reader.setForwardOnly(true);
        QString select = u"select "_s + columns.join(u", "_s) + u" from "_s + quotedTable;
        if (step.byId)
            select += u" order by "_s + actualName(u"id"_s);
        execute(reader, select);

        Transaction transaction(m_target);
        QSqlQuery writer(target);
        execute(writer, u"delete from "_s + step.target + u" where id>0"_s);

        const int width = int(step.fields.size());
        const QString statement = insertStatement(step);
        QSqlQuery batch(target);
        if (!batch.prepare(statement))
            throw DbError::fromSql(batch.lastError(), statement);
        QStringList arrays(width, u"{"_s);
        int rows = 0;
        auto flush = [&] {
            if (rows == 0)
                return;
            for (int i = 0; i < width; ++i) {
                arrays[i] += u'}';
                batch.bindValue(i, arrays[i]);
            }
            if (!batch.exec())
                throw DbError::fromSql(batch.lastError(), statement);
            for (QString &array : arrays) {
                array.truncate(0);
                array += u'{';
            }
            m_rowsCopied += rows;
            rows = 0;
        };
        while (reader.next()) {
            for (int i = 0; i < width; ++i)
                appendElement(arrays[i], convert(reader.value(i), step.fields.at(i)));
            if (++rows >= kRowsPerBatch) {
                flush();
                state.done = m_rowsCopied;
                if (progress && !progress(state))
                    return false;
            }
        }
        if (reader.lastError().isValid())
            throw DbError::fromSql(reader.lastError(), select);
        flush();
        reader.finish();

        if (!step.idSequence.isEmpty()) {
            const QString schema = step.idSequence.section(u'.', 0, 0);
            const QString sequence = step.idSequence.section(u'.', 1);
            QSqlQuery raise(target);
            const QString raising =
                u"select setval((p.schemaname || '.' || p.sequencename)::regclass, t.top) "
                "from pg_sequences p, lateral (select max(id) as top from "_s +
                step.idTable +
                u" where id <= p.max_value) t "
                "where p.schemaname = ?::name and p.sequencename = ?::name "
                "and t.top > coalesce(p.last_value, p.start_value - 1)"_s;
            if (!raise.prepare(raising))
                throw DbError::fromSql(raise.lastError(), raising);
            raise.addBindValue(schema);
            raise.addBindValue(sequence);
            if (!raise.exec())
                throw DbError::fromSql(raise.lastError(), raising);
        }
        writer.finish();
        batch.finish();
        transaction.commit();
        state.done = m_rowsCopied;
        if (progress)
            progress(state);
        return true;
    } catch (const DbError &error) {
        m_rowsCopied = 0;
        throw DbError(u"Таблица "_s + step.source + u" → "_s + step.target + u": "_s + error.message(),
                      error.sqlState(), error.statement());
    }
}

} // namespace kordel::transfer
