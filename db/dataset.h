#pragma once

#include "db/sqlparams.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace kordel {

class Decimal;

// A read-only result set held on the client: a statement with named
// parameters, read whole on open, with a current record (numbered from 1) and
// an optional filter over the rows already read.  Grids show it through
// DatasetModel and follow its current record.
class Dataset : public QObject
{
    Q_OBJECT

public:
    // A row as the filter sees it.
    class Row
    {
    public:
        Row(const Dataset &dataset, int index) : m_dataset(dataset), m_index(index) {}
        QVariant value(const QString &field) const;

    private:
        const Dataset &m_dataset;
        int m_index;
    };
    using Filter = std::function<bool(const Row &)>;

    Dataset(const QString &connectionName, const QString &name, const QString &sql = {},
            QObject *parent = nullptr);

    const QString &connectionName() const { return m_connectionName; }
    void setSql(const QString &sql);
    const QString &sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const { return m_params.value(name); }
    const Params &params() const { return m_params; }

    // Runs the statement and reads every row; throws DbError.  The current
    // record is the first row.
    void open();
    void close();
    // Close and open with the current parameters, then go back to record
    // number `recNo` when there are rows and it is positive.
    void reopenAt(int recNo);
    bool isOpen() const { return m_open; }

    // Navigation over the rows that pass the filter.
    int recordCount() const { return int(m_visible.size()); }
    bool isEmpty() const { return m_visible.isEmpty(); }
    int recNo() const { return m_current + 1; } // 0 when there is no current row
    void setRecNo(int recNo);                   // clamped to the rows there are
    void first() { setRecNo(1); }
    void last() { setRecNo(recordCount()); }
    bool next();  // false at the last row
    bool prior(); // false at the first row
    bool hasCurrent() const { return m_current >= 0; }

    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &field) const; // case-insensitive; -1 when absent
    // Fields of the current record; a null QVariant without a current record.
    QVariant value(const QString &field) const;
    QString text(const QString &field) const { return value(field).toString(); }
    int intValue(const QString &field) const { return value(field).toInt(); }
    Decimal decimal(const QString &field) const;
    // Fields of a visible row, counted from 0.
    QVariant valueAt(int row, int column) const;
    QVariant valueAt(int row, const QString &field) const;

    // Makes the first visible row whose field equals `value` current.
    bool locate(const QString &field, const QVariant &value);

    void setFilter(Filter filter);
    void setFiltered(bool on);
    // Filters by `filter`, or shows every row when it is empty.
    void applyFilter(Filter filter);
    bool isFiltered() const { return m_filtered; }

Q_SIGNALS:
    // The rows changed (open, close, filter): views read everything again.
    void rowsReset();
    // The current record moved (recNo 0: none).
    void currentChanged(int recNo);

private:
    void rebuildVisible(int keepRaw);
    int rawIndex() const { return m_current >= 0 ? m_visible[m_current] : -1; }
    static bool equalValues(const QVariant &a, const QVariant &b);

    QString m_connectionName;
    QString m_sql;
    Params m_params;
    bool m_open = false;
    QStringList m_fields;
    QHash<QString, int> m_fieldIndex;
    QList<QList<QVariant>> m_rows;
    QList<int> m_visible; // indexes into m_rows
    int m_current = -1;   // index into m_visible
    Filter m_filter;
    bool m_filtered = false;
};

// Ready-made filters for the list windows.  Text comparisons ignore letter
// case, Cyrillic included.
namespace filters {
Dataset::Filter beginsWith(const QString &field, const QString &text);
Dataset::Filter contains(const QString &field, const QString &text);
Dataset::Filter lessThan(const QString &field, qint64 bound);
Dataset::Filter equals(const QString &field, const QVariant &value);
Dataset::Filter allOf(QList<Dataset::Filter> parts);
} // namespace filters

} // namespace kordel
