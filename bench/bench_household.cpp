// The month's average-piecework rate: every average-piecework record of the
// month priced from its worker's journal earnings per hour.  The month is
// the first argument or KORDEL_BENCH_MONTH ("YYYY-MM", as for every benchmark), by default the latest
// month with journal rows.  Each run is rolled back, so the database stays
// as generated.

#include "bench/benchsupport.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "household/householdstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

QDate monthOf(const QString &text)
{
    return QDate::fromString(text.trimmed() + u"-01"_s, u"yyyy-MM-dd"_s);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    DataModule data;
    bench::connect(data);
    try {
        QString chosen = app.arguments().value(1);
        if (chosen.isEmpty())
            chosen = qEnvironmentVariable("KORDEL_BENCH_MONTH");
        QDate month = monthOf(chosen);
        if (!month.isValid()) {
            month =
                sql::scalar(data.connectionName(), u"select max(data) from accounts_dep.smena"_s).toDate();
            month = QDate(month.year(), month.month(), 1);
        }
        if (!month.isValid()) {
            std::fprintf(stderr, "bench_household: no journal rows\n");
            return 2;
        }

        HouseholdStore store(data);
        int priced = 0;
        const double ms = bench::medianMs(5, [&] {
            Transaction run(data.connectionName()); // rolled back
            priced = store.computeAveragePiecework(month.month(), month.year());
        });
        QTextStream(stdout) << u"average-piecework records priced for "_s << month.toString(u"MM.yyyy"_s)
                            << u": "_s << priced << Qt::endl;
        bench::report(u"average-piecework rate of the month"_s, ms);
    } catch (const DbError &e) {
        std::fprintf(stderr, "bench_household: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
