#include "db/sqlparams.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace kordel::sql {

namespace {
int generation = 0;
}

int connectionGeneration()
{
    return generation;
}

void nextConnectionGeneration()
{
    ++generation;
}

void bind(QSqlQuery &query, const QString &statement, const Params &params)
{
    Q_UNUSED(statement);
    // A name the statement does not use is ignored by Qt's placeholder map.
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.bindValue(u':' + it.key(), it.value());
}

} // namespace kordel::sql
