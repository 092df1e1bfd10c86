#include "widgets/reportpreview.h"

#include "widgets/excelwriter.h"
#include "widgets/messages.h"
#include "widgets/reportlayout.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel::report {

namespace {

// Layout and PDF share this resolution, so the preview shows the PDF's pages.
constexpr int layoutDpi = 1200;
constexpr int gap = 12;

} // namespace

// The column of pages in the scroll area; paints only what is exposed.
class PreviewPages : public QWidget
{
public:
    explicit PreviewPages(PreviewDialog &dialog) : m_dialog(dialog) {}

    void resizeToPages()
    {
        const QSize page = m_dialog.pageSize();
        const int count = m_dialog.pageCount();
        setFixedSize(page.width() + 2 * gap, count * (page.height() + gap) + gap);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(128, 128, 128));
        const QSize page = m_dialog.pageSize();
        const int step = page.height() + gap;
        const int first = std::max(0, (event->rect().top() - gap) / step);
        const int last = std::min(m_dialog.pageCount() - 1, event->rect().bottom() / step);
        for (int p = first; p <= last; ++p)
            painter.drawImage(QPoint(gap, gap + p * step), m_dialog.pageImage(p + 1));
    }

private:
    PreviewDialog &m_dialog;
};

PreviewDialog::PreviewDialog(const Report &report, QWidget *parent)
    : QDialog(parent), m_report(report), m_device(1, 1, QImage::Format_RGB32), m_images(24)
{
    setObjectName(u"reportPreview"_s);
    setWindowTitle(u"Предварительный просмотр"_s);
    setModal(true);

    const int dotsPerMeter = qRound(layoutDpi / 0.0254);
    m_device.setDotsPerMeterX(dotsPerMeter);
    m_device.setDotsPerMeterY(dotsPerMeter);
    const QPageLayout page = detail::pageLayoutOf(m_report);
    const QRect paint = page.paintRectPixels(layoutDpi);
    m_paper = QRectF(paint);
    m_fullPage = QSizeF(page.fullRectPixels(layoutDpi).size());
    m_layout = std::make_unique<PageLayout>(m_report, m_device, QRectF(QPointF(0, 0), m_paper.size()));

    auto *toolbar = new QToolBar(this);
    auto addAction = [&](const QString &name, const QString &text, auto slot) {
        auto *action = toolbar->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addAction(u"print"_s, u"Печать"_s, &PreviewDialog::printReport);
    addAction(u"savePdf"_s, u"Сохранить в PDF"_s, &PreviewDialog::savePdf);
    addAction(u"saveXlsx"_s, u"Сохранить в Excel"_s, &PreviewDialog::saveXlsx);
    toolbar->addSeparator();
    addAction(u"zoomOut"_s, u"Мельче"_s, [this] { setZoom(m_zoom / 1.25); });
    addAction(u"zoomIn"_s, u"Крупнее"_s, [this] { setZoom(m_zoom * 1.25); });
    toolbar->addSeparator();
    m_pageLabel = new QLabel(toolbar);
    m_pageLabel->setObjectName(u"pageLabel"_s);
    toolbar->addWidget(m_pageLabel);

    m_pages = new PreviewPages(*this);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_pages);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::valueChanged, this, &PreviewDialog::updatePageLabel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_scroll);

    setZoom(1);
    resize(pageSize().width() + 2 * gap + 40, 900);
}

PreviewDialog::~PreviewDialog() = default;

int PreviewDialog::pageCount() const
{
    return m_layout->pageCount();
}

int PreviewDialog::currentPage() const
{
    const int step = pageSize().height() + gap;
    return std::clamp(m_scroll->verticalScrollBar()->value() / step + 1, 1, pageCount());
}

void PreviewDialog::showPage(int page)
{
    page = std::clamp(page, 1, pageCount());
    m_scroll->verticalScrollBar()->setValue((page - 1) * (pageSize().height() + gap));
    updatePageLabel();
}

QSize PreviewDialog::pageSize() const
{
    // Zoom 1 is the sheet at the screen's resolution.
    const qreal scale = m_zoom * logicalDpiY() / layoutDpi;
    return (m_fullPage * scale).toSize();
}

QImage PreviewDialog::pageImage(int page) const
{
    if (QImage *cached = m_images.object(page))
        return *cached;
    const QSize size = pageSize();
    auto *image = new QImage(size, QImage::Format_RGB32);
    // Fonts take their size from the device: the image claims the layout's
    // resolution and the painter scales it down to the screen.
    const int dotsPerMeter = qRound(layoutDpi / 0.0254);
    image->setDotsPerMeterX(dotsPerMeter);
    image->setDotsPerMeterY(dotsPerMeter);
    image->fill(Qt::white);
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal scale = qreal(size.width()) / m_fullPage.width();
    painter.scale(scale, scale);
    painter.translate(m_paper.topLeft());
    m_layout->paintPage(painter, page - 1);
    painter.end();
    m_images.insert(page, image);
    return *image;
}

void PreviewDialog::setZoom(qreal zoom)
{
    const int page = m_scroll->verticalScrollBar()->value() > 0 ? currentPage() : 1;
    m_zoom = std::clamp(zoom, 0.3, 4.0);
    m_images.clear();
    m_pages->resizeToPages();
    m_pages->update();
    showPage(page);
}

void PreviewDialog::updatePageLabel()
{
    m_pageLabel->setText(u"  Страница "_s + QString::number(currentPage()) + u" из "_s +
                         QString::number(pageCount()));
}

void PreviewDialog::printReport()
{
    // The printer is made only now: asking the print system can take a while.
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(detail::documentName(m_report));
    detail::setPage(printer, m_report);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintPages(m_report, printer);
}

void PreviewDialog::savePdf()
{
    const QString path = detail::askPdfPath(this, m_report);
    if (path.isEmpty())
        return;
    if (!writePdf(m_report, path))
        messages::error(this, u"Невозможно сохранить файл "_s + QDir::toNativeSeparators(path) + u'.');
}

void PreviewDialog::saveXlsx()
{
    ExcelWriter writer(this);
    exportXlsx(m_report, writer);
}

} // namespace kordel::report
