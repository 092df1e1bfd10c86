#pragma once

#include <QString>
#include <functional>

namespace kordel {

class DataModule;

namespace bench {

// Connects a data module to the benchmark database through the client's
// own driver string: KORDEL_BENCH_DB on the server KORDEL_BENCH_HOST (a
// socket directory), both set by scripts/bench.  Exits the program when the
// database cannot be reached.
void connect(DataModule &data);
QString databaseName();
QString serverHost();

// Runs the work `runs` times and returns the median in milliseconds.
double medianMs(int runs, const std::function<void()> &work);

// One figure a line: "<figure>: <ms> ms", and with a reference
// "<figure>: <ms> ms (reference <ref> ms, ratio <ref/ms>)".
void report(const QString &figure, double ms);
void reportAgainst(const QString &figure, double ms, double referenceMs);

} // namespace bench
} // namespace kordel
