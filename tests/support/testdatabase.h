#pragma once

#include "db/sqlparams.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace kordel {

class DataModule;

namespace test {

// A fresh database on the private test server, made from the repository's
// schema, and the client's data module connected to it through the same
// ODBC driver string the client builds.  Each test binary gets its own.
class TestDatabase
{
public:
    // Name defaults to the test binary's name.
    explicit TestDatabase(const QString &name = {});
    ~TestDatabase();

    // Drops and creates the database from db/schema.sql (and db/demo.sql
    // when asked); false with a message in error() on failure.
    bool create(bool withDemo = false);
    // Connects a data module; false on failure.
    bool connect();
    const QString &name() const { return m_name; }
    const QString &error() const { return m_error; }
    DataModule &data() const { return *m_data; }
    // The socket directory of the test server, given as the server argument.
    static QString host();

    // Statements for fixtures and checks, on the client's connection.
    void exec(const QString &statement, const Params &params = {}) const;
    QVariant scalar(const QString &statement, const Params &params = {}) const;
    int count(const QString &fromWhere, const Params &params = {}) const; // "select count(*) from " + ...

    // Fixture rows: returns the new id.
    int addWorker(const QString &fio) const;
    int addGroup(const QString &caption, bool excluded = false) const;
    int addProduct(const QString &mark, int group) const;
    int addKind(const QString &name) const;
    int addOperation(int kind, int product, int naimen = 0) const;
    void addNorm(int operation, int norma, const QString &price) const;
    int addJournalRow(int worker, int operation, const QDate &date, int shift, int hours,
                      const QString &ok = QStringLiteral("no"), int colour = 0) const;

private:
    bool psql(const QStringList &arguments);

    QString m_name;
    QString m_error;
    std::unique_ptr<DataModule> m_data;
};

} // namespace test
} // namespace kordel
