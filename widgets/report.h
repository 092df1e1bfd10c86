#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QDialog;
class QWidget;

namespace kordel {
class ExcelWriter;
}

namespace kordel::report {

// A printed report as one computed table: every renderer (the print
// preview, the printer, PDF and .xlsx) draws the same lines, so the figures
// on paper, in the PDF and in the workbook never differ.

struct Column
{
    QString caption;
    // Relative width; the columns share the page width in proportion.
    double width = 1;
    Qt::Alignment alignment = Qt::AlignLeft;
};

enum class LineKind {
    ReportHeader, // printed once at the start
    GroupHeader,  // names the group that follows
    Detail,       // one per row of the report's dataset
    GroupFooter,  // the group's totals
    ReportFooter, // printed once at the end
};

struct Line
{
    LineKind kind = LineKind::Detail;
    // Already formatted texts, one per column.  A line with a single cell
    // spans the whole width (group names, report header and footer texts).
    // A plain number text ("12", "1000.00") goes to a workbook as a number.
    QStringList cells;
    bool bold = false;
};

struct Report
{
    // The title label; also the workbook's first row.
    QString title;
    // What the saved files and the print job are called; the title when
    // empty (a report printed without a title names itself here).
    QString name;
    // Printed above the column captions on every page (for example the
    // period "Март 2024 г."); may be empty.
    QString pageHeader;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<Column> columns;
    // Column captions under the page header on every page.
    bool captionsOnEveryPage = true;
    // Cells of the captions and of the detail lines framed by rules, for
    // tables of many narrow columns (a month of days) read across the page.
    bool ruled = false;
    QList<Line> lines;
};

// The print preview, from which the user prints or saves a PDF.
void preview(const Report &report, QWidget *parent);
// Paints every page on the printer; returns the number of pages.
int print(const Report &report, QPrinter &printer);
// Writes the report as a PDF file; false when the file cannot be written.
bool writePdf(const Report &report, const QString &path);

// Paints every page on a device whose page size and margins are already set
// (the preview's printer keeps the user's choices); returns the page count.
// Pages repeat the page header and the column captions, never split a line,
// keep a group header with the line after it and number themselves in the
// footer.
int paintPages(const Report &report, QPagedPaintDevice &device);

// The preview dialog (objectName "reportPreview"), not yet shown: A4 in the
// report's orientation, pages painted as they come into view, with the
// actions "Печать" ("print"), "Сохранить в PDF" ("savePdf") and "Сохранить
// в Excel" ("saveXlsx").  Deleted with its parent.
QDialog *createPreview(const Report &report, QWidget *parent);

// Writes the report into the open workbook of the writer from sheet row 1:
// the title, the page header, the column captions, then every line; a plain
// number text becomes a number.  Returns the row after the last one written.
int writeXlsx(const Report &report, ExcelWriter &writer);
// A whole export: opens a workbook, writes the report and saves and opens
// it (the writer's protocol).  1 when done, -1 when failed (already told).
int exportXlsx(const Report &report, ExcelWriter &writer);

// Asks where to save a PDF (suggested name given); an empty answer cancels.
// Tests replace it; an empty function brings back the file dialog.
using PdfPathChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
void setPdfPathChooser(PdfPathChooser chooser);

} // namespace kordel::report
