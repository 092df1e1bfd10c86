// The month timesheets on the benchmark's big month: opening the piecework
// window in each mode with its totals, the month rebuild against the
// day-by-day algorithm and against its bare statements in psql, the
// workbook against libxlsxwriter writing the same cells, JIT on and off;
// opening and exporting the timesheets by nomenclature group and the payroll.
//
//     bench_piecework [YYYY-MM]     (or KORDEL_BENCH_MONTH; default: the
//                                    latest month with journal rows)

#include "../tests/timesheets/correlatedsheets.h"
#include "../tests/timesheets/stepwiserebuild.h"
#include "bench/benchsupport.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "timesheets/groupsheetwindow.h"
#include "timesheets/pieceworkwindow.h"
#include "widgets/excelwriter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>
#include <xlsxwriter.h>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

class NoOpener : public FileOpener
{
public:
    bool open(const QString &) override { return true; }
};

QDate benchMonth(const QStringList &arguments, const QString &connection)
{
    QString text = arguments.value(1, qEnvironmentVariable("KORDEL_BENCH_MONTH"));
    if (!text.isEmpty()) {
        const QDate date = QDate::fromString(text + u"-01"_s, u"yyyy-MM-dd"_s);
        if (date.isValid())
            return date;
        std::fprintf(stderr, "bench: month '%s' is not YYYY-MM\n", qPrintable(text));
        std::exit(2);
    }
    const QDate latest = sql::scalar(connection, u"select max(data) from accounts_dep.smena"_s).toDate();
    return latest.isValid() ? QDate(latest.year(), latest.month(), 1) : QDate::currentDate();
}

// A digest of the month's hours rows, to tell two rebuilds' results apart.
QString monthDigest(const QString &connection, const MonthPeriod &month)
{
    QStringList cells;
    for (int day = 1; day <= 31; ++day)
        cells << u"d%1"_s.arg(day);
    return sql::scalar(
               connection,
               u"select md5(coalesce(string_agg(r, ';' order by r), '')) from (select concat_ws(',', w_id, "
               "smena, i_type, i_night, id_nom, "_s +
                   cells.join(u", "_s) + u") r from accounts_dep.h_tabel where month=:m and year=:y) x"_s,
               {{u"m"_s, month.month}, {u"y"_s, month.year}})
        .toString();
}

// The rebuild's statements run bare by psql in one transaction; the sum of
// the times psql reports for them.
double psqlRebuildMs(const MonthPeriod &month)
{
    QString script = u"\\timing on\nbegin;\n"_s;
    for (const QString &statement : PieceworkStore::rebuildStatements(month.days()))
        script += statement + u";\n"_s;
    script += u"commit;\n"_s;
    QProcess psql;
    psql.start(u"psql"_s, {u"-X"_s, u"-q"_s,
                           u"-v"_s, u"ON_ERROR_STOP=1"_s,
                           u"-h"_s, bench::serverHost(),
                           u"-d"_s, bench::databaseName(),
                           u"-U"_s, qEnvironmentVariable("KORDEL_BENCH_USER", u"sys"_s),
                           u"-v"_s, u"k="_s + QString::number(monthLockKey(month)),
                           u"-v"_s, u"m="_s + QString::number(month.month),
                           u"-v"_s, u"y="_s + QString::number(month.year),
                           u"-v"_s, u"f='"_s + month.first.toString(Qt::ISODate) + u"'"_s,
                           u"-v"_s, u"n='"_s + month.next.toString(Qt::ISODate) + u"'"_s});
    psql.waitForStarted();
    psql.write(script.toUtf8());
    psql.closeWriteChannel();
    if (!psql.waitForFinished(600000) || psql.exitCode() != 0) {
        std::fprintf(stderr, "bench: psql failed: %s\n", psql.readAllStandardError().constData());
        return 0;
    }
    double total = 0;
    static const QRegularExpression time(u"^Time: ([0-9.]+) ms"_s, QRegularExpression::MultilineOption);
    auto it = time.globalMatch(QString::fromUtf8(psql.readAllStandardOutput()));
    while (it.hasNext())
        total += it.next().captured(1).toDouble();
    return total;
}

// The cells of the piecework workbook written straight with libxlsxwriter.
void writeBare(const Dataset &sheet, const QString &path, bool withNight, bool withRate)
{
    lxw_workbook *book = workbook_new(path.toUtf8().constData());
    lxw_worksheet *ws = workbook_add_worksheet(book, nullptr);
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *text = workbook_add_format(book);
    format_set_num_format_index(text, 49);
    lxw_format *plain = workbook_add_format(book); // every cell the client writes has a format

    worksheet_write_string(ws, 0, 0, "Месяц", bold);
    worksheet_write_string(ws, 1, 0, "Фамилия И.О.", bold);
    for (int day = 1; day <= 31; ++day)
        worksheet_write_number(ws, 1, lxw_col_t(1 + day), day, bold);
    auto number = [&](int row, int column, const QVariant &value) {
        if (!value.isNull())
            worksheet_write_number(ws, lxw_row_t(row), lxw_col_t(column), value.toDouble(), plain);
    };
    for (int row = 0; row < sheet.recordCount(); ++row) {
        const lxw_row_t line = lxw_row_t(row + 2);
        worksheet_write_string(ws, line, 0, sheet.valueAt(row, u"fio"_s).toString().toUtf8().constData(),
                               text);
        if (withNight)
            worksheet_write_string(ws, line, 1,
                                   sheet.valueAt(row, u"s_night"_s).toString().toUtf8().constData(), text);
        for (int day = 1; day <= 31; ++day)
            number(int(line), 1 + day, sheet.valueAt(row, u"d"_s + QString::number(day)));
        number(int(line), 33, sheet.valueAt(row, u"i_time"_s));
        number(int(line), 34, sheet.valueAt(row, u"f_price"_s));
        if (withRate)
            number(int(line), 35, sheet.valueAt(row, u"average_price"_s));
    }
    workbook_close(book);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DataModule data;
    bench::connect(data);
    const QString connection = data.connectionName();
    const QDate first = benchMonth(app.arguments(), connection);
    const MonthPeriod month = MonthPeriod::containing(first);
    QTextStream(stdout) << "month: " << first.toString(u"yyyy-MM"_s) << Qt::endl;
    NoOpener opener;
    ExcelWriter::setFileOpener(&opener);
    QTemporaryDir folder;

    try {
        PieceworkWindow piecework(data);
        piecework.setExportFolder(folder.path());

        // The rebuild first: it also makes the month's household rows the
        // other figures read.
        const double setBased = bench::medianMs(3, [&] { piecework.store().rebuild(month); });
        const QString setBasedRows = monthDigest(connection, month);
        QElapsedTimer timer;
        timer.start();
        {
            Transaction transaction(connection);
            stepwise::rebuildMonth(connection, month.month, month.year);
            transaction.commit();
        }
        const double stepwiseMs = double(timer.nsecsElapsed()) / 1e6;
        const bool same = monthDigest(connection, month) == setBasedRows;
        bench::reportAgainst(u"piecework rebuild vs day-by-day statements"_s, setBased, stepwiseMs);
        QTextStream(stdout) << "piecework rebuild rows equal to the day-by-day algorithm: "
                            << (same ? "yes" : "NO") << Qt::endl;
        QList<double> bareRuns;
        for (int run = 0; run < 3; ++run)
            bareRuns << psqlRebuildMs(month);
        std::sort(bareRuns.begin(), bareRuns.end());
        const double bareStatements = bareRuns[1];
        bench::reportAgainst(u"piecework rebuild vs bare statements in psql (reference = psql)"_s, setBased,
                             bareStatements);
        piecework.store().rebuild(month);

        for (const auto &[mode, name] :
             {std::pair{PieceworkMode::Piecework, u"9"_s}, std::pair{PieceworkMode::General, u"17"_s},
              std::pair{PieceworkMode::Household, u"14"_s}, std::pair{PieceworkMode::Average, u"15"_s}}) {
            const double open = bench::medianMs(5, [&] {
                piecework.prepare(mode, first);
                piecework.finish();
            });
            bench::report(u"piecework window open with totals, mode "_s + name, open);
        }

        // JIT as a stock server does it, against the client's session, for
        // the sheet written with a subquery per figure and for the client's.
        Dataset correlatedSheet(connection, u"correlated"_s,
                                correlated::pieceworkSheet(PieceworkMode::Piecework));
        for (const auto &[name, value] :
             piecework.store().sheet(PieceworkMode::Piecework).params().asKeyValueRange())
            correlatedSheet.setParam(name, value);
        const auto openCorrelated = [&] { correlatedSheet.open(); };
        const auto openPiecework = [&] { piecework.store().openSheet(PieceworkMode::Piecework, month); };
        for (const auto &[name, open] :
             {std::pair{u"subquery per figure"_s, std::function<void()>(openCorrelated)},
              std::pair{u"summed once and joined"_s, std::function<void()>(openPiecework)}}) {
            sql::exec(connection, u"set jit = on"_s);
            const double jitOn = bench::medianMs(3, open);
            sql::exec(connection, u"set jit = off"_s);
            const double jitOff = bench::medianMs(3, open);
            bench::reportAgainst(u"piecework sheet mode 9 (%1), JIT off (reference = JIT on)"_s.arg(name),
                                 jitOff, jitOn);
        }
        const double correlatedOff = bench::medianMs(3, openCorrelated);
        bench::reportAgainst(
            u"piecework sheet mode 9 summed once and joined (reference = subquery per figure)"_s,
            bench::medianMs(3, openPiecework), correlatedOff);

        for (const auto &[mode, withNight, withRate] : {std::tuple{PieceworkMode::Piecework, false, true},
                                                        std::tuple{PieceworkMode::Household, true, true}}) {
            piecework.prepare(mode, first);
            piecework.exportToExcel(); // warms the fonts and the writer
            const double client = bench::medianMs(3, [&] { piecework.exportToExcel(); });
            const double direct = bench::medianMs(3, [&] {
                writeBare(piecework.currentSheet(), folder.filePath(u"bare.xlsx"_s), withNight, withRate);
            });
            bench::reportAgainst(u"piecework workbook mode %1 vs libxlsxwriter"_s.arg(int(mode)), client,
                                 direct);
            piecework.finish();
        }

        GroupSheetWindow groups(data);
        groups.setExportFolder(folder.path());
        for (int kind : {7777, 7778}) {
            const double open = bench::medianMs(3, [&] {
                groups.prepare(kind, first);
                groups.finish();
            });
            bench::report(u"group timesheet open, mode %1"_s.arg(kind), open);
            groups.prepare(kind, first);
            bench::report(u"group timesheet workbook, mode %1"_s.arg(kind),
                          bench::medianMs(3, [&] { groups.exportToExcel(); }));
            groups.finish();
        }
        PayrollWindow payroll(data);
        payroll.setExportFolder(folder.path());
        GroupSheetStore payrollStore(data);
        bench::report(u"payroll statement"_s, bench::medianMs(3, [&] { payrollStore.openPayroll(month); }));
        bench::report(u"payroll open"_s, bench::medianMs(3, [&] {
                          payroll.prepare(first);
                          payroll.finish();
                      }));
        payroll.prepare(first);
        bench::report(u"payroll workbook"_s, bench::medianMs(3, [&] { payroll.exportToExcel(); }));
        payroll.finish();
    } catch (const DbError &error) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(error.message()));
        return 1;
    }
    ExcelWriter::setFileOpener(nullptr);
    return 0;
}
