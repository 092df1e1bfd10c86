// The timesheet by shifts on the big month: the rebuild against the
// day-by-day recomputation and against its own statements run bare in psql;
// opening Form19; the printed hours timesheet; the workbook export against
// libxlsxwriter writing the same cells directly.

#include "bench/benchsupport.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "db/dataset.h"
#include "db/dberror.h"
#include "timesheets/hourssheetreport.h"
#include "timesheets/shiftsheetstore.h"
#include "timesheets/shiftsheetwindow.h"
#include "widgets/excelwriter.h"
#include "widgets/messages.h"
#include "widgets/report.h"
#include "widgets/reportpreview.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <xlsxwriter.h>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

void say(const QString &text)
{
    QTextStream(stdout) << text << Qt::endl;
}

// The month recomputed one worker, shift and day at a time through the
// client's connection: for each day the day's hours per shift and worker,
// then a count and an update or insert each, without a transaction.
void rebuildRowByRow(const QString &connection, const MonthPeriod &p)
{
    const Params month{{u"m"_s, p.month}, {u"y"_s, p.year}};
    sql::exec(connection, u"delete from accounts_dep.h_tabel where smena>0 and month=:m and year=:y"_s,
              month);
    for (int day = 1; day <= p.days(); ++day) {
        const QString column = u"d"_s + QString::number(day);
        QSqlQuery dt(QSqlDatabase::database(connection));
        dt.setForwardOnly(true);
        dt.prepare(u"select smena, w_id, sum(time) as tim from accounts_dep.smena where data=:data "
                   "group by smena, w_id"_s);
        dt.bindValue(u":data"_s, p.first.addDays(day - 1));
        if (!dt.exec())
            throw DbError::fromSql(dt.lastError(), dt.lastQuery());
        QList<std::array<QVariant, 3>> rows;
        while (dt.next())
            rows.append({dt.value(0), dt.value(1), dt.value(2)});
        sql::exec(connection,
                  u"update accounts_dep.h_tabel set "_s + column +
                      u"=NULL where i_type=0 and i_night=0 and month=:m and year=:y and id_nom=0"_s,
                  month);
        for (const auto &row : rows) {
            Params key = month;
            key.insert(u"s"_s, row[0].toInt());
            key.insert(u"w"_s, row[1].toInt());
            key.insert(u"t"_s, row[2].isNull() ? sql::nullInt() : QVariant(row[2].toInt()));
            const int count = sql::scalar(connection,
                                          u"select count(w_id) as cnt from accounts_dep.h_tabel h_tabel "
                                          "where w_id=:w and smena=:s and month=:m and year=:y"_s,
                                          key)
                                  .toInt();
            if (count != 0)
                sql::exec(connection,
                          u"update accounts_dep.h_tabel set "_s + column +
                              u"=:t::integer where w_id=:w and smena=:s and month=:m and year=:y"_s,
                          key);
            else
                sql::exec(connection,
                          u"insert into accounts_dep.h_tabel(smena, w_id, month, year, "_s + column +
                              u") values(:s, :w, :m, :y, :t::integer)"_s,
                          key);
        }
    }
}

// The month's shift rows without their ids, in a fixed order.
QString monthRows(const QString &connection, const MonthPeriod &p)
{
    return sql::scalar(
               connection,
               u"select md5(string_agg(t::text, '|' order by t::text)) from (select smena, w_id, month, "
               u"year, "
               "i_type, i_night, id_nom, d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, "
               "d16, d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31 "
               "from accounts_dep.h_tabel where month=:m and year=:y) t"_s,
               {{u"m"_s, p.month}, {u"y"_s, p.year}})
        .toString();
}

// The rebuild's own statements in psql, in one transaction with the same
// lock: the sum of the statement times psql reports.
double bareStatementsMs(const MonthPeriod &p)
{
    QString script = u"\\set ON_ERROR_STOP 1\n\\timing on\nbegin;\n"
                     "select pg_advisory_xact_lock(0);\n"_s;
    for (const QString &statement : ShiftSheetStore::rebuildStatements())
        script += statement + u";\n"_s;
    script += u"commit;\n"_s;
    QProcess psql;
    psql.start(u"psql"_s, {u"-X"_s, u"-q"_s, u"-h"_s, bench::serverHost(), u"-U"_s, u"sys"_s, u"-d"_s,
                           bench::databaseName(), u"-v"_s, u"m=%1"_s.arg(p.month), u"-v"_s,
                           u"y=%1"_s.arg(p.year), u"-v"_s, u"first='%1'"_s.arg(p.first.toString(Qt::ISODate)),
                           u"-v"_s, u"next='%1'"_s.arg(p.next.toString(Qt::ISODate)), u"-f"_s, u"-"_s});
    psql.write(script.toUtf8());
    psql.closeWriteChannel();
    psql.waitForFinished(600000);
    const QString out = QString::fromUtf8(psql.readAllStandardOutput());
    if (psql.exitCode() != 0) {
        std::fprintf(stderr, "bench_shifts: psql failed: %s\n", psql.readAllStandardError().constData());
        return 0;
    }
    double total = 0;
    static const QRegularExpression time(u"^Time: ([0-9.]+) ms"_s, QRegularExpression::MultilineOption);
    for (auto it = time.globalMatch(out); it.hasNext();)
        total += it.next().captured(1).toDouble();
    return total;
}

// The cells of the export written straight with libxlsxwriter.
void writeDirectly(const QString &file, const MonthPeriod &p, const QList<MonthHoursLine> &lines)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *boldText = workbook_add_format(book);
    format_set_bold(boldText);
    format_set_num_format_index(boldText, 49);
    lxw_format *text = workbook_add_format(book);
    format_set_num_format_index(text, 49);
    lxw_format *plain = workbook_add_format(book);
    worksheet_write_string(
        sheet, 0, 0, (monthNames().at(p.month - 1) + u' ' + QString::number(p.year)).toUtf8().constData(),
        boldText);
    worksheet_write_string(sheet, 1, 0, "Фамилия И.О.", boldText);
    for (int day = 1; day <= 31; ++day)
        worksheet_write_number(sheet, 1, lxw_col_t(day), day, bold);
    worksheet_write_string(sheet, 1, 32, "Итого", boldText);
    lxw_row_t row = 2;
    for (const MonthHoursLine &line : lines) {
        worksheet_write_string(sheet, row, 0, line.fio.toUtf8().constData(), text);
        for (int day = 0; day < 31; ++day)
            if (line.days[std::size_t(day)])
                worksheet_write_number(sheet, row, lxw_col_t(day + 1), *line.days[std::size_t(day)], plain);
        worksheet_write_number(sheet, row, 32, line.total(), plain);
        ++row;
    }
    worksheet_set_column(sheet, 0, 0, 30, nullptr);
    workbook_close(book);
}

// A benchmark must never wait for a message box: what the user would be
// told goes to stderr.
class PrintedMessages : public MessageService
{
public:
    void inform(QWidget *, const QString &text, const QString &caption, MessageIcon) override
    {
        std::fprintf(stderr, "bench_shifts: %s: %s\n", qPrintable(caption), qPrintable(text));
    }
    bool ask(QWidget *parent, const QString &text, const QString &caption, MessageIcon icon) override
    {
        inform(parent, text, caption, icon);
        return false;
    }
};

class NoOpener : public FileOpener
{
public:
    bool open(const QString &) override { return true; }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PrintedMessages messages;
    MessageService::install(&messages);
    DataModule data;
    bench::connect(data);
    const QString connection = data.connectionName();
    const QDate month =
        QDate::fromString(qEnvironmentVariable("KORDEL_BENCH_MONTH", u"2025-03"_s) + u"-01"_s, Qt::ISODate);
    const MonthPeriod p = MonthPeriod::containing(month);
    ShiftSheetStore store(data);

    try {
        // The rebuild and its references, leaving the same rows.
        QElapsedTimer timer;
        timer.start();
        rebuildRowByRow(connection, p);
        const double rowByRowMs = double(timer.nsecsElapsed()) / 1e6;
        const QString reference = monthRows(connection, p);
        const double rebuildMs = bench::medianMs(5, [&] { store.rebuild(p); });
        const QString rebuilt = monthRows(connection, p);
        QList<double> bareRuns;
        for (int i = 0; i < 5; ++i)
            bareRuns << bareStatementsMs(p);
        std::sort(bareRuns.begin(), bareRuns.end());
        const double bareMs = bareRuns.at(2);
        bench::reportAgainst(u"shift rebuild vs day-by-day statements (1 run)"_s, rebuildMs, rowByRowMs);
        bench::reportAgainst(u"shift rebuild vs its statements bare in psql"_s, rebuildMs, bareMs);
        say(u"shift rebuild rows identical to day-by-day: "_s + (reference == rebuilt ? u"yes"_s : u"NO"_s));

        // The daily journal finds its workers by their code as a number.
        Dataset &journal = data.journal(1);
        journal.setParam(u"data"_s, p.first.addDays(11));
        journal.setParam(u"ok"_s, u"x"_s);
        const double journalMs = bench::medianMs(5, [&] {
            journal.close();
            journal.open();
        });
        const int journalRows = journal.recordCount();
        journal.close();
        bench::report(u"daily journal of shift 1 (%1 rows)"_s.arg(journalRows), journalMs);
        QSqlQuery plan(QSqlDatabase::database(connection));
        QString planText;
        plan.prepare(u"explain "_s + journal.sql());
        plan.bindValue(u":data"_s, p.first.addDays(11));
        plan.bindValue(u":ok"_s, u"x"_s);
        if (plan.exec()) {
            while (plan.next())
                planText += plan.value(0).toString() + u'\n';
        } else {
            std::fprintf(stderr, "bench_shifts: %s\n", qPrintable(plan.lastError().text()));
        }
        say(u"daily journal plan uses person_s_code_integer: "_s +
            (planText.contains(u"person_s_code_integer"_s) ? u"yes"_s : u"NO"_s));

        // Form19 opened on the month and its first screen drawn.
        ShiftSheetWindow window(data);
        window.resize(1280, 800);
        window.show();
        const double openMs = bench::medianMs(5, [&] {
            for (int shift = 1; shift <= 3; ++shift)
                data.hoursSheet(shift).close();
            window.choose(p.month - 1, p.year);
            QApplication::processEvents();
            (void)window.grab();
        });
        bench::report(u"Form19 open on the month and first screen (3 shifts)"_s, openMs);

        // The printed hours timesheet.
        report::Report sheet;
        const double computeMs =
            bench::medianMs(5, [&] { sheet = hoursSheetReport(p, store.monthHours(p)); });
        bench::report(u"Form15 report computed (%1 lines)"_s.arg(sheet.lines.size()), computeMs);
        // What "Печать" does: the month read and computed, the preview laid
        // out and its first page on screen.
        QTemporaryDir folder;
        int pages = 0;
        const double firstPageMs = bench::medianMs(3, [&] {
            const report::Report shown = hoursSheetReport(p, store.monthHours(p));
            std::unique_ptr<QDialog> preview(report::createPreview(shown, nullptr));
            preview->show();
            QApplication::processEvents();
            (void)preview->grab();
            pages = static_cast<report::PreviewDialog *>(preview.get())->pageCount();
        });
        bench::report(u"Form15 preview first page (%1 pages)"_s.arg(pages), firstPageMs);
        // The month read and written whole as a PDF.
        bool pdfWritten = true;
        const double pdfMs = bench::medianMs(3, [&] {
            pdfWritten = report::writePdf(hoursSheetReport(p, store.monthHours(p)),
                                          folder.filePath(u"form15.pdf"_s)) &&
                         pdfWritten;
        });
        bench::report(u"Form15 whole PDF (%1 lines)"_s.arg(sheet.lines.size()), pdfMs);
        if (!pdfWritten)
            say(u"Form15 whole PDF: the file could not be written"_s);

        // The export against the same cells written directly.
        NoOpener opener;
        ExcelWriter::setFileOpener(&opener);
        window.setExportFolder(folder.path());
        const double exportMs = bench::medianMs(3, [&] { window.exportToExcel(); });
        const double directMs = bench::medianMs(
            3, [&] { writeDirectly(folder.filePath(u"direct.xlsx"_s), p, store.monthHours(p)); });
        ExcelWriter::setFileOpener(nullptr);
        bench::reportAgainst(u"Form19 export vs libxlsxwriter directly"_s, exportMs, directMs);
    } catch (const DbError &e) {
        std::fprintf(stderr, "bench_shifts: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
