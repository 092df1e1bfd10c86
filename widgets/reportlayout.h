#pragma once

#include "widgets/report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QTextLayout>
#include <algorithm>

// The page layout shared by the renderers of the report layer; not for use
// outside it.

namespace kordel::report {

namespace detail {

// Every report names its fonts: without them an offscreen or fresh system
// may pick a font without Cyrillic letters and print blanks.
inline const QString fontFamily = QStringLiteral("DejaVu Sans");
constexpr qreal bodyPoints = 8;
constexpr qreal titlePoints = 11;
constexpr qreal footerPoints = 7;
inline const QMarginsF pageMarginsMm(15, 10, 10, 10);

inline QFont reportFont(qreal points, bool bold)
{
    QFont font(fontFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setKerning(false); // the same advances on every device
    font.setStyleHint(QFont::SansSerif);
    return font;
}

inline bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

QPageLayout pageLayoutOf(const Report &report);
// The report's name for files and print jobs.
QString documentName(const Report &report);
void setPage(QPagedPaintDevice &device, const Report &report);
// Where the user wants the PDF; empty when cancelled.
QString askPdfPath(QWidget *parent, const Report &report);

} // namespace detail

// The geometry of the pages of one report on one device, in device pixels,
// and the pages' first lines.
class PageLayout
{
public:
    PageLayout(const Report &report, QPaintDevice &device, const QRectF &paper)
        : m_report(report), m_device(&device), m_paper(paper),
          m_body(detail::reportFont(detail::bodyPoints, false)),
          m_bold(detail::reportFont(detail::bodyPoints, true)),
          m_title(detail::reportFont(detail::titlePoints, true)),
          m_footer(detail::reportFont(detail::footerPoints, false)), m_bodyMetrics(m_body, &device),
          m_boldMetrics(m_bold, &device), m_titleMetrics(m_title, &device), m_footerMetrics(m_footer, &device)
    {
        const qreal mm = device.logicalDpiX() / 25.4;
        m_padding = mm;
        m_lineHeight = m_boldMetrics.height() * 1.35;
        m_titleHeight = m_titleMetrics.height() * 1.8;
        m_footerHeight = m_footerMetrics.height() * 2;

        qreal total = 0;
        for (const Column &column : report.columns)
            total += std::max(column.width, 0.0);
        qreal x = 0;
        for (const Column &column : report.columns) {
            const qreal width = total > 0 ? paper.width() * std::max(column.width, 0.0) / total : 0;
            m_columnX << x;
            m_columnWidth << width;
            x += width;
        }
        m_hasCaptions = std::any_of(report.columns.begin(), report.columns.end(),
                                    [](const Column &column) { return !detail::isBlank(column.caption); });
        paginate();
    }

    int pageCount() const { return int(m_pageStarts.size()); }

    void paintPage(QPainter &painter, int page) const
    {
        // A picture (the print preview's) records glyphs without their
        // letters as outlines: it gets the texts.
        m_drawGlyphs = painter.paintEngine() && painter.paintEngine()->type() != QPaintEngine::Picture;
        qreal y = headTop(page, painter);
        const int end = page + 1 < pageCount() ? m_pageStarts[page + 1] : int(m_report.lines.size());
        for (int i = m_pageStarts[page]; i < end; ++i) {
            paintLine(painter, m_report.lines[i], y,
                      i > m_pageStarts[page] ? &m_report.lines[i - 1] : nullptr);
            y += m_lineHeight;
        }
        paintFooter(painter, page);
    }

private:
    qreal headHeight(int page) const
    {
        qreal height = 0;
        if (page == 0 && !m_report.title.isEmpty())
            height += m_titleHeight;
        if (!m_report.pageHeader.isEmpty())
            height += m_lineHeight;
        if (m_hasCaptions && (page == 0 || m_report.captionsOnEveryPage))
            height += m_lineHeight;
        return height;
    }

    // Paints the title, the page header and the captions; returns where the
    // lines begin.
    qreal headTop(int page, QPainter &painter) const
    {
        qreal y = 0;
        if (page == 0 && !m_report.title.isEmpty()) {
            painter.setFont(m_title);
            const QString text = m_titleMetrics.elidedText(m_report.title, Qt::ElideRight, m_paper.width(),
                                                           Qt::TextSingleLine);
            painter.drawText(QPointF(0, y + m_titleMetrics.ascent()), text);
            y += m_titleHeight;
        }
        if (!m_report.pageHeader.isEmpty()) {
            Line header;
            header.cells = QStringList{m_report.pageHeader};
            header.bold = true;
            paintLine(painter, header, y, nullptr);
            y += m_lineHeight;
        }
        if (m_hasCaptions && (page == 0 || m_report.captionsOnEveryPage)) {
            Line captions;
            captions.bold = true;
            for (const Column &column : m_report.columns)
                captions.cells << column.caption;
            paintLine(painter, captions, y, nullptr);
            painter.setPen(QPen(Qt::black, 0));
            painter.drawLine(QPointF(0, y + m_lineHeight), QPointF(m_paper.width(), y + m_lineHeight));
            if (m_report.ruled)
                paintRules(painter, y);
            y += m_lineHeight;
        }
        return y;
    }

    void paintFooter(QPainter &painter, int page) const
    {
        painter.setFont(m_footer);
        painter.setPen(Qt::black);
        const QString text = QStringLiteral("Страница ") + QString::number(page + 1) +
                             QStringLiteral(" из ") + QString::number(pageCount());
        const qreal width = m_footerMetrics.horizontalAdvance(text);
        painter.drawText(QPointF(m_paper.width() - width, m_paper.height() - m_footerMetrics.descent()),
                         text);
    }

    void paintLine(QPainter &painter, const Line &line, qreal top, const Line *previous) const
    {
        const bool bold = line.bold;
        const QFontMetricsF &metrics = bold ? m_boldMetrics : m_bodyMetrics;
        if (line.kind == LineKind::GroupHeader)
            painter.fillRect(QRectF(0, top, m_paper.width(), m_lineHeight), QColor(235, 235, 235));
        // A rule above the first line of the report footer.
        if (line.kind == LineKind::ReportFooter && (!previous || previous->kind != LineKind::ReportFooter)) {
            painter.setPen(QPen(Qt::black, 0));
            painter.drawLine(QPointF(0, top), QPointF(m_paper.width(), top));
        }
        painter.setPen(Qt::black);
        painter.setFont(bold ? m_bold : m_body);
        const qreal baseline = top + (m_lineHeight - metrics.height()) / 2 + metrics.ascent();

        if (line.cells.size() == 1 || m_columnX.isEmpty()) {
            const QString &text = line.cells.value(0);
            if (!text.isEmpty())
                paintText(painter, text, bold, 0, m_paper.width(), Qt::AlignLeft, baseline);
            return;
        }
        if (m_report.ruled && line.kind == LineKind::Detail)
            paintRules(painter, top);
        const int count = std::min(int(line.cells.size()), int(m_columnX.size()));
        for (int c = 0; c < count; ++c) {
            const QString &text = line.cells[c];
            if (text.isEmpty())
                continue;
            // A text may spill over empty neighbours on the side it grows to.
            int first = c, last = c;
            const Qt::Alignment alignment = m_report.columns[c].alignment;
            if (alignment & Qt::AlignRight) {
                while (first > 0 && line.cells.value(first - 1).isEmpty())
                    --first;
            } else if (!(alignment & Qt::AlignHCenter)) {
                while (last + 1 < int(m_columnX.size()) && line.cells.value(last + 1).isEmpty())
                    ++last;
            }
            const qreal cellLeft = m_columnX[c] + m_padding;
            const qreal cellWidth = m_columnWidth[c] - 2 * m_padding;
            const qreal roomLeft = m_columnX[first] + m_padding;
            const qreal roomRight = m_columnX[last] + m_columnWidth[last] - m_padding;
            const Shaped &shaped = shape(text, bold);
            if (shaped.width <= cellWidth || shaped.width > roomRight - roomLeft)
                paintText(painter, text, bold, cellLeft, cellWidth, alignment, baseline);
            else if (alignment & Qt::AlignRight)
                paintShaped(painter, shaped, cellLeft + cellWidth - shaped.width, baseline);
            else
                paintShaped(painter, shaped, cellLeft, baseline);
        }
    }

    // The frame of every cell of one line.
    void paintRules(QPainter &painter, qreal top) const
    {
        const QPen pen = painter.pen();
        painter.setPen(QPen(Qt::black, 0));
        const qreal bottom = top + m_lineHeight;
        painter.drawLine(QPointF(0, top), QPointF(m_paper.width(), top));
        painter.drawLine(QPointF(0, bottom), QPointF(m_paper.width(), bottom));
        for (const qreal x : m_columnX)
            painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        painter.drawLine(QPointF(m_paper.width(), top), QPointF(m_paper.width(), bottom));
        painter.setPen(pen);
    }

    // A text laid out once per report and font: the same names, kinds and
    // figures recur on every page, and laying text out is what painting a
    // report costs most.
    struct Shaped
    {
        QString text;
        QList<QGlyphRun> runs;
        qreal width = 0;
        qreal ascent = 0;
    };

    const Shaped &shape(const QString &text, bool bold) const
    {
        QHash<QString, Shaped> &cache = m_shaped[bold ? 1 : 0];
        auto found = cache.constFind(text);
        if (found != cache.constEnd())
            return *found;
        QTextLayout layout(text, bold ? m_bold : m_body, m_device);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        Shaped shaped;
        shaped.text = text;
        if (line.isValid()) {
            shaped.runs = layout.glyphRuns();
            shaped.width = line.horizontalAdvance();
            shaped.ascent = line.ascent();
        }
        return *cache.insert(text, std::move(shaped));
    }

    void paintShaped(QPainter &painter, const Shaped &shaped, qreal x, qreal baseline) const
    {
        if (m_drawGlyphs) {
            for (const QGlyphRun &run : shaped.runs)
                painter.drawGlyphRun(QPointF(x, baseline - shaped.ascent), run);
        } else {
            painter.drawText(QPointF(x, baseline), shaped.text);
        }
    }

    void paintText(QPainter &painter, const QString &text, bool bold, qreal left, qreal width,
                   Qt::Alignment alignment, qreal baseline) const
    {
        const Shaped *shaped = &shape(text, bold);
        if (shaped->width > width) {
            const QFontMetricsF &metrics = bold ? m_boldMetrics : m_bodyMetrics;
            shaped = &shape(metrics.elidedText(text, Qt::ElideRight, width, Qt::TextSingleLine), bold);
            paintShaped(painter, *shaped, left, baseline);
            return;
        }
        qreal x = left;
        if (alignment & Qt::AlignRight)
            x = left + width - shaped->width;
        else if (alignment & Qt::AlignHCenter)
            x = left + (width - shaped->width) / 2;
        paintShaped(painter, *shaped, x, baseline);
    }

    // Lines of the same kind that stay together when they fit on a page:
    // a group footer or the report footer.
    int blockLength(int i) const
    {
        const QList<Line> &lines = m_report.lines;
        const LineKind kind = lines[i].kind;
        if (kind != LineKind::GroupFooter && kind != LineKind::ReportFooter)
            return 1;
        int end = i + 1;
        while (end < lines.size() && lines[end].kind == kind)
            ++end;
        return end - i;
    }

    void paginate()
    {
        const QList<Line> &lines = m_report.lines;
        const qreal bottom = m_paper.height() - m_footerHeight;
        m_pageStarts = {0};
        qreal y = headHeight(0);
        int onPage = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const LineKind kind = lines[i].kind;
            // Room this line needs on the page: a group header (or several in a
            // row) takes the line after it along; a footer block stays whole
            // when a page can hold it.
            int need = 1;
            if (kind == LineKind::GroupHeader) {
                int next = i;
                while (next < lines.size() && lines[next].kind == LineKind::GroupHeader)
                    ++next;
                need = next - i + (next < lines.size() ? 1 : 0);
            } else if (i == 0 || lines[i - 1].kind != kind) {
                need = blockLength(i);
            }
            const qreal fullPage = bottom - headHeight(1);
            if (need * m_lineHeight > fullPage)
                need = 1;
            if (onPage > 0 && y + need * m_lineHeight > bottom) {
                m_pageStarts << i;
                y = headHeight(int(m_pageStarts.size()) - 1);
                onPage = 0;
            }
            y += m_lineHeight;
            ++onPage;
        }
    }

    const Report &m_report;
    QPaintDevice *m_device;
    QRectF m_paper;
    QFont m_body, m_bold, m_title, m_footer;
    QFontMetricsF m_bodyMetrics, m_boldMetrics, m_titleMetrics, m_footerMetrics;
    qreal m_padding = 0;
    qreal m_lineHeight = 0;
    qreal m_titleHeight = 0;
    qreal m_footerHeight = 0;
    QList<qreal> m_columnX;
    QList<qreal> m_columnWidth;
    bool m_hasCaptions = false;
    QList<int> m_pageStarts;
    mutable QHash<QString, Shaped> m_shaped[2];
    mutable bool m_drawGlyphs = true;
};

} // namespace kordel::report
