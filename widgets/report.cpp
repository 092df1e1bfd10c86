#include "widgets/report.h"

#include "widgets/excelwriter.h"
#include "widgets/messages.h"
#include "widgets/reportlayout.h"
#include "widgets/reportpreview.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace kordel::report {

namespace {

using detail::isBlank;
using detail::pageMarginsMm;

PdfPathChooser pdfPathChooser;

} // namespace

QPageLayout detail::pageLayoutOf(const Report &report)
{
    return QPageLayout(QPageSize(QPageSize::A4), report.orientation, pageMarginsMm, QPageLayout::Millimeter);
}

void detail::setPage(QPagedPaintDevice &device, const Report &report)
{
    device.setPageLayout(pageLayoutOf(report));
}

QString detail::documentName(const Report &report)
{
    const QString name = report.name.simplified();
    return name.isEmpty() ? report.title.simplified() : name;
}

QString detail::askPdfPath(QWidget *parent, const Report &report)
{
    QString name = documentName(report);
    for (QChar &c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
            c == u'>' || c == u'|')
            c = u'_';
    }
    if (name.isEmpty())
        name = u"Отчет"_s;
    const QString suggested = ExcelWriter::defaultOutputFolder() + u'/' + name + u".pdf"_s;
    if (pdfPathChooser)
        return pdfPathChooser(parent, suggested);
    QDir().mkpath(QFileInfo(suggested).absolutePath());
    return QFileDialog::getSaveFileName(parent, u"Сохранить в PDF"_s, suggested, u"PDF (*.pdf)"_s);
}

int paintPages(const Report &report, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const QRect paper = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const PageLayout layout(report, device, QRectF(0, 0, paper.width(), paper.height()));
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            device.newPage();
        layout.paintPage(painter, page);
    }
    painter.end();
    return layout.pageCount();
}

int print(const Report &report, QPrinter &printer)
{
    detail::setPage(printer, report);
    return paintPages(report, printer);
}

bool writePdf(const Report &report, const QString &path)
{
    QPdfWriter writer(path);
    writer.setCreator(u"Табель"_s);
    writer.setTitle(detail::documentName(report));
    writer.setResolution(1200);
    detail::setPage(writer, report);
    // QPdfWriter opens the file only when painting begins.
    return paintPages(report, writer) > 0;
}

QDialog *createPreview(const Report &report, QWidget *parent)
{
    return new PreviewDialog(report, parent);
}

void preview(const Report &report, QWidget *parent)
{
    PreviewDialog dialog(report, parent);
    dialog.exec();
}

int writeXlsx(const Report &report, ExcelWriter &writer)
{
    int row = 1;
    if (!report.title.isEmpty())
        writer.writeSpanningCell(1, 1, row++, report.title.trimmed(), true);
    if (!report.pageHeader.isEmpty())
        writer.writeSpanningCell(1, 1, row++, report.pageHeader, true);
    if (std::any_of(report.columns.begin(), report.columns.end(),
                    [](const Column &column) { return !isBlank(column.caption); })) {
        for (int c = 0; c < report.columns.size(); ++c)
            writer.writeFormattedCell(1, c + 1, row, report.columns[c].caption, false, true, true);
        ++row;
    }
    for (const Line &line : report.lines) {
        // A spanning text does not widen the first column.
        if (line.cells.size() == 1)
            writer.writeSpanningCell(1, 1, row, line.cells.first().trimmed(), line.bold);
        else
            for (int c = 0; c < line.cells.size(); ++c)
                writer.writeFormattedCell(1, c + 1, row, line.cells[c].trimmed(), false, true, line.bold);
        ++row;
    }
    return row;
}

int exportXlsx(const Report &report, ExcelWriter &writer)
{
    const QString name = detail::documentName(report);
    writer.setExportName(name.isEmpty() ? u"Отчет"_s : name);
    if (writer.open(QString()) != 1)
        return -1;
    writeXlsx(report, writer);
    return writer.setVisible(true);
}

void setPdfPathChooser(PdfPathChooser chooser)
{
    pdfPathChooser = std::move(chooser);
}

} // namespace kordel::report
