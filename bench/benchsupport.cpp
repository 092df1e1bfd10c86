#include "bench/benchsupport.h"

#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/dberror.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace kordel::bench {

QString databaseName()
{
    return qEnvironmentVariable("KORDEL_BENCH_DB", u"kordel_bench"_s);
}

QString serverHost()
{
    return qEnvironmentVariable("KORDEL_BENCH_HOST");
}

void connect(DataModule &data)
{
    try {
        data.connectTo(connectionString(databaseName(), serverHost()));
    } catch (const DbError &e) {
        std::fprintf(stderr, "bench: cannot connect: %s\n", qPrintable(e.message()));
        std::exit(2);
    }
}

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const QString &figure, double ms)
{
    QTextStream(stdout) << figure << u": "_s << QString::number(ms, 'f', 1) << u" ms"_s << Qt::endl;
}

void reportAgainst(const QString &figure, double ms, double referenceMs)
{
    QTextStream(stdout) << figure << u": "_s << QString::number(ms, 'f', 1) << u" ms (reference "_s
                        << QString::number(referenceMs, 'f', 1) << u" ms, ratio "_s
                        << QString::number(ms > 0 ? referenceMs / ms : 0, 'f', 2) << u")"_s << Qt::endl;
}

} // namespace kordel::bench
