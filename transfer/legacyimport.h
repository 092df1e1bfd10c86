#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace kordel::transfer {

// How a legacy value is written into its target column.
enum class ValueKind { Integer, Text, Float, Date, DateTime };

struct FieldCopy
{
    QString name; // matched in the source without regard to letter case
    ValueKind kind;
};

// One table of the import: the legacy table read through the data source
// "Tabel", the table it replaces through "Tabel_PgSQL".
struct ImportStep
{
    QString source;
    QString target;
    QList<FieldCopy> fields;
    // Copied in the order of the legacy ids; the nomenclature rows have no id
    // and keep the source's own order, receiving new ids.
    bool byId = true;
    // The table whose id sequence must end up past the imported ids, so
    // that rows added later by the client never meet an imported id.
    QString idTable;
    QString idSequence; // schema.name
};

// The seven tables, in the order they are copied.
const QList<ImportStep> &importSteps();

struct ImportProgress
{
    QString table; // the legacy table being copied
    qint64 done = 0;
    qint64 total = 0;
    int step = 0; // counted from 1
    int steps = 0;
};
// Called after every batch; returning false stops the import, leaving the
// table being copied as it was.
using ProgressCallback = std::function<bool(const ImportProgress &)>;

// Copies the legacy tables into the timesheet's tables, each table in one
// transaction of its own: a table either takes all the legacy rows or keeps
// its rows as they were.  The first failure stops the import; the tables
// copied before it stay copied.  Failures are thrown as DbError with the
// driver's message and the table named.
class LegacyImport
{
public:
    static QString defaultSource(); // the legacy data source "Tabel"
    static QString defaultTarget(); // the data source "Tabel_PgSQL", account sys

    explicit LegacyImport(QString sourceConnection = defaultSource(),
                          QString targetConnection = defaultTarget());
    ~LegacyImport();
    LegacyImport(const LegacyImport &) = delete;
    LegacyImport &operator=(const LegacyImport &) = delete;

    struct Outcome
    {
        int stepsDone = 0;
        bool stopped = false; // the progress callback asked to stop
        QString stoppedAt;    // the legacy table left as it was
    };

    // Every step in order.  Throws DbError.
    Outcome run(const ProgressCallback &progress = {});

    // The parts of a run, for callers that copy single tables.
    void connect();
    // Returns false when the callback stopped it (the table is left as it was).
    bool copy(const ImportStep &step, const ProgressCallback &progress, int stepNumber = 1, int steps = 1);
    // Rows copied by the last copy().
    qint64 rowsCopied() const { return m_rowsCopied; }

private:
    QString m_sourceConnection;
    QString m_targetConnection;
    QString m_source; // Qt connection names, unique per object
    QString m_target;
    qint64 m_rowsCopied = 0;
};

} // namespace kordel::transfer
