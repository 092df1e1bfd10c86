#pragma once

#include "core/buildstamp.h"
#include "core/outcome.h"
#include "db/command.h"
#include "db/dataset.h"

#include <QObject>

namespace kordel {

// Owns the one connection "ADO_DB" and the datasets and commands several
// windows share, found by name: Workers, Control, Izdel, Oper, Vid_oper,
// Smena1..Smena4, H_Tabel_1..H_Tabel_3; DelSmena, H_Tabel_ins, SQL_exec,
// Oper_ins, Oper_ed, Oper_del.  None is open at creation.
class DataModule : public QObject
{
    Q_OBJECT

public:
    explicit DataModule(QObject *parent = nullptr, const QString &connectionName = QStringLiteral("ADO_DB"));
    ~DataModule() override;

    // Connects with an ODBC driver string; throws DbError.
    void connectTo(const QString &connectionString);
    bool isConnected() const;
    // After a lost server: one attempt to connect again; true when done,
    // else throws DbError with the driver's message.
    bool reconnect();
    const QString &connectionName() const { return m_connectionName; }

    Dataset *dataset(const QString &name) const;
    Command *command(const QString &name) const;

    Dataset &workers() const { return *dataset(QStringLiteral("Workers")); }
    Dataset &control() const { return *dataset(QStringLiteral("Control")); }
    Dataset &izdel() const { return *dataset(QStringLiteral("Izdel")); }
    Dataset &oper() const { return *dataset(QStringLiteral("Oper")); }
    Dataset &vidOper() const { return *dataset(QStringLiteral("Vid_oper")); }
    Dataset &journal(int shift) const;    // Smena1..Smena4
    Dataset &hoursSheet(int shift) const; // H_Tabel_1..H_Tabel_3
    Command &delSmena() const { return *command(QStringLiteral("DelSmena")); }
    Command &hoursCommand() const { return *command(QStringLiteral("H_Tabel_ins")); }
    Command &sqlExec() const { return *command(QStringLiteral("SQL_exec")); }
    Command &operIns() const { return *command(QStringLiteral("Oper_ins")); }
    Command &operEd() const { return *command(QStringLiteral("Oper_ed")); }
    Command &operDel() const { return *command(QStringLiteral("Oper_del")); }

    // The stored statement of the price list, which pick modes replace and restore.
    static QString priceListSql();

    // Duplicate test: runs a counting statement (result column "cnt") on
    // Control; above 0 the row is refused with `refusal`, which the window
    // shows.  Errors of the statement itself are thrown.
    Check countCheck(const QString &statement, const Params &params, const QString &refusal);

    // The decimal separator of SQL text, read from accounts_dep.ver.
    const QString &decimalSeparator() const { return m_separator; }
    void setDecimalSeparator(const QString &separator) { m_separator = separator; }
    // Puts the separator in place of the first "," (or else the first ".").
    QString separatorFix(const QString &text);

    // Records this build in accounts_dep.ver when it is newer than the stored
    // one, and takes the decimal separator from there.  Throws DbError.
    void recordBuildStamp(const BuildStamp &build);

private:
    void addDataset(const QString &name, const QString &sql = {});
    void addCommand(const QString &name, const QString &text = {});

    QString m_connectionName;
    QString m_separator;
};

} // namespace kordel
