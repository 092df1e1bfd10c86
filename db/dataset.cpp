#include "db/dataset.h"

#include "db/dberror.h"
#include "db/decimal.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace kordel {

QVariant Dataset::Row::value(const QString &field) const
{
    const int column = m_dataset.fieldIndex(field);
    return column < 0 ? QVariant() : m_dataset.m_rows[m_index][column];
}

Dataset::Dataset(const QString &connectionName, const QString &name, const QString &sql, QObject *parent)
    : QObject(parent), m_connectionName(connectionName), m_sql(sql)
{
    setObjectName(name);
}

void Dataset::setSql(const QString &sql)
{
    m_sql = sql;
}

void Dataset::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name, value);
}

void Dataset::open()
{
    close();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(m_sql))
        throw DbError::fromSql(query.lastError(), m_sql);
    sql::bind(query, m_sql, m_params);
    if (!query.exec())
        throw DbError::fromSql(query.lastError(), m_sql);

    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        m_fields << record.fieldName(i);
        // The first of two equal names wins, as a lookup by name would find it.
        m_fieldIndex.insert(record.fieldName(i).toLower(),
                            m_fieldIndex.value(record.fieldName(i).toLower(), i));
    }
    while (query.next()) {
        QList<QVariant> row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        m_rows << row;
    }
    if (query.lastError().isValid())
        throw DbError::fromSql(query.lastError(), m_sql);
    m_open = true;
    rebuildVisible(-1);
}

void Dataset::close()
{
    if (!m_open && m_rows.isEmpty() && m_fields.isEmpty())
        return;
    m_open = false;
    m_rows.clear();
    m_fields.clear();
    m_fieldIndex.clear();
    m_visible.clear();
    m_current = -1;
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(0);
}

void Dataset::reopenAt(int recNo)
{
    open();
    if (!isEmpty() && recNo > 0)
        setRecNo(recNo);
}

void Dataset::setRecNo(int recNo)
{
    const int index = m_visible.isEmpty() ? -1 : std::clamp(recNo, 1, int(m_visible.size())) - 1;
    if (index == m_current)
        return;
    m_current = index;
    Q_EMIT currentChanged(m_current + 1);
}

bool Dataset::next()
{
    if (m_current + 1 >= m_visible.size())
        return false;
    setRecNo(m_current + 2);
    return true;
}

bool Dataset::prior()
{
    if (m_current <= 0)
        return false;
    setRecNo(m_current);
    return true;
}

int Dataset::fieldIndex(const QString &field) const
{
    return m_fieldIndex.value(field.toLower(), -1);
}

QVariant Dataset::value(const QString &field) const
{
    const int raw = rawIndex();
    const int column = fieldIndex(field);
    return raw < 0 || column < 0 ? QVariant() : m_rows[raw][column];
}

Decimal Dataset::decimal(const QString &field) const
{
    return Decimal::fromVariant(value(field));
}

QVariant Dataset::valueAt(int row, int column) const
{
    if (row < 0 || row >= m_visible.size() || column < 0 || column >= m_fields.size())
        return {};
    return m_rows[m_visible[row]][column];
}

QVariant Dataset::valueAt(int row, const QString &field) const
{
    return valueAt(row, fieldIndex(field));
}

bool Dataset::equalValues(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    // Numeric columns arrive as decimal text: compare them as numbers.
    const auto da = Decimal::parse(a.toString());
    const auto db = Decimal::parse(b.toString());
    if (da && db)
        return *da == *db;
    return a.toString() == b.toString();
}

bool Dataset::locate(const QString &field, const QVariant &value)
{
    const int column = fieldIndex(field);
    if (column < 0)
        return false;
    for (int i = 0; i < m_visible.size(); ++i) {
        if (equalValues(m_rows[m_visible[i]][column], value)) {
            setRecNo(i + 1);
            return true;
        }
    }
    return false;
}

void Dataset::setFilter(Filter filter)
{
    m_filter = std::move(filter);
    if (m_filtered)
        rebuildVisible(rawIndex());
}

void Dataset::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    rebuildVisible(rawIndex());
}

void Dataset::applyFilter(Filter filter)
{
    if (!filter) {
        setFiltered(false);
        return;
    }
    setFilter(std::move(filter));
    setFiltered(true);
}

void Dataset::rebuildVisible(int keepRaw)
{
    m_visible.clear();
    int current = -1;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_filtered && m_filter && !m_filter(Row(*this, i)))
            continue;
        if (i == keepRaw)
            current = int(m_visible.size());
        m_visible << i;
    }
    // A record that no longer passes the filter gives way to the first row.
    m_current = current >= 0 ? current : (m_visible.isEmpty() ? -1 : 0);
    Q_EMIT rowsReset();
    Q_EMIT currentChanged(m_current + 1);
}

namespace filters {

Dataset::Filter beginsWith(const QString &field, const QString &text)
{
    return [field, text](const Dataset::Row &row) {
        return row.value(field).toString().startsWith(text, Qt::CaseInsensitive);
    };
}

Dataset::Filter contains(const QString &field, const QString &text)
{
    return [field, text](const Dataset::Row &row) {
        return row.value(field).toString().contains(text, Qt::CaseInsensitive);
    };
}

Dataset::Filter lessThan(const QString &field, qint64 bound)
{
    return [field, bound](const Dataset::Row &row) {
        const QVariant v = row.value(field);
        return !v.isNull() && v.toLongLong() < bound;
    };
}

Dataset::Filter equals(const QString &field, const QVariant &value)
{
    return
        [field, value](const Dataset::Row &row) { return row.value(field).toString() == value.toString(); };
}

Dataset::Filter allOf(QList<Dataset::Filter> parts)
{
    return [parts = std::move(parts)](const Dataset::Row &row) {
        return std::all_of(parts.cbegin(), parts.cend(), [&row](const Dataset::Filter &f) { return f(row); });
    };
}

} // namespace filters
} // namespace kordel
