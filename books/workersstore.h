#pragma once

#include "db/dataset.h"

#include <QString>

namespace kordel {

class DataModule;

// The worker book, accounts_dep.person: the data module's Workers list, its
// name filter, the look-ups of the worker card and the writes.
class WorkersStore
{
public:
    explicit WorkersStore(DataModule &dataModule);

    Dataset &workers() const;
    // Names beginning with the text, letter case ignored; an empty text
    // shows everyone.
    void setNameFilter(const QString &text);

    // Adds a worker and returns the new id.  The name is stored trimmed,
    // the position text as given.
    int add(const QString &name, const QString &position);
    void change(int id, const QString &name, const QString &position);
    // No reference check: rows of the journal and timesheets stay.
    void remove(int id);

private:
    DataModule &m_data;
};

// The three look-ups of the worker card, each read in full and shown by its
// caption: positions, departments and roles.
class WorkerLookups
{
public:
    explicit WorkerLookups(const QString &connectionName);

    Dataset &positions() { return m_positions; }
    Dataset &departments() { return m_departments; }
    Dataset &roles() { return m_roles; }
    // Reads all three again.
    void reload();

private:
    Dataset m_positions;
    Dataset m_departments;
    Dataset m_roles;
};

} // namespace kordel
