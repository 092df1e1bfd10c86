#pragma once

#include <QString>

namespace kordel {

// The site's database server when no server is named on the command line.
inline constexpr auto kDefaultServerHost = "localhost";

// The ODBC driver string of the one connection: the database and server as
// typed on the command line, or the built-in default when no server is given.
QString connectionString(const QString &databaseArgument, const QString &serverArgument);

} // namespace kordel
