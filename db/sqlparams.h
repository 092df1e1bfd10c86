#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class QSqlQuery;

namespace kordel {

// Values bound to a statement's named placeholders (":name"), keyed without
// the colon.  Values are never spliced into statement text.
using Params = QVariantMap;

namespace sql {

// Typed nulls: a bare QVariant() may reach the server as bytea.
inline QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}
inline QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

// Counts the connections made on this process's connections; a statement
// prepared before a reconnect is prepared again.
int connectionGeneration();
void nextConnectionGeneration();

// Binds every parameter that the prepared statement names.
void bind(QSqlQuery &query, const QString &statement, const Params &params);

} // namespace sql
} // namespace kordel
