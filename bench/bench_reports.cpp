// "Детальный отчет по рабочим" over a big month: computed and its first
// preview page painted, then its PDF of all pages.
//
//   bench_reports [YYYY-MM]     (or KORDEL_BENCH_MONTH=YYYY-MM)
//
// Without a month: the latest month with journal rows.

#include "bench/benchsupport.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "reports/layouts.h"
#include "reports/reportstore.h"
#include "widgets/report.h"
#include "widgets/reportpreview.h"

#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace kordel;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DataModule data;
    bench::connect(data);

    QString month = app.arguments().value(1, qEnvironmentVariable("KORDEL_BENCH_MONTH"));
    QDate first = QDate::fromString(month + u"-01"_s, u"yyyy-MM-dd"_s);
    if (!first.isValid()) {
        const QDate latest =
            sql::scalar(data.connectionName(), u"select max(data) from accounts_dep.smena"_s).toDate();
        if (!latest.isValid()) {
            std::fprintf(stderr, "bench_reports: no journal rows\n");
            return 2;
        }
        first = QDate(latest.year(), latest.month(), 1);
    }
    const reports::Period period{first, first.addMonths(1)};
    const reports::ReportStore store(data.connectionName());

    auto compute = [&] {
        return reports::workerDetailReport(store.workerDetail(period, reports::ProductKind::All),
                                           store.householdTotals(period), period);
    };
    report::Report computed;
    int pages = 0;
    const double firstPage = bench::medianMs(3, [&] {
        computed = compute();
        report::PreviewDialog preview(computed);
        preview.pageImage(1);
        pages = preview.pageCount();
    });
    QTextStream(stdout) << u"Детальный отчет по рабочим "_s << first.toString(u"MM.yyyy"_s) << u": "_s
                        << computed.lines.size() << u" lines, "_s << pages << u" pages"_s << Qt::endl;
    bench::report(u"Детальный отчет по рабочим: computed and first preview page"_s, firstPage);
    bench::report(u"Детальный отчет по рабочим: computed only"_s, bench::medianMs(3, [&] { compute(); }));
    bench::report(u"Детальный отчет по рабочим: rows read"_s,
                  bench::medianMs(3, [&] { store.workerDetail(period, reports::ProductKind::All); }));

    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.pdf"_s);
    const double pdf = bench::medianMs(3, [&] {
        if (!report::writePdf(computed, path))
            std::fprintf(stderr, "bench_reports: PDF not written\n");
    });
    bench::report(u"Детальный отчет по рабочим: PDF of all pages"_s, pdf);
    return 0;
}
