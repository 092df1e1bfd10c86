#pragma once

#include "widgets/report.h"

#include <QCache>
#include <QDialog>
#include <QImage>
#include <memory>

class QLabel;
class QScrollArea;

namespace kordel::report {

class PageLayout;
class PreviewPages;

// The print preview of a report.  The pages are laid out once at print
// resolution and painted on screen only as the user scrolls to them, so a
// month of a thousand workers opens as quickly as one page; printing, PDF
// and the workbook are offered from its tool bar.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PreviewDialog(const Report &report, QWidget *parent = nullptr);
    ~PreviewDialog() override;

    int pageCount() const;
    // The page in view, from 1.
    int currentPage() const;
    void showPage(int page);
    // A page as the preview shows it at the current zoom.
    QImage pageImage(int page) const;
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);

    // The tool bar's actions.
    void printReport();
    void savePdf();
    void saveXlsx();

private:
    friend class PreviewPages;
    QSize pageSize() const; // on screen at the current zoom
    void updatePageLabel();

    Report m_report;
    QImage m_device; // the print-resolution device the pages are laid out for
    std::unique_ptr<PageLayout> m_layout;
    QRectF m_paper;    // the printed area within the page, device pixels
    QSizeF m_fullPage; // the whole sheet, device pixels
    qreal m_zoom = 1;
    mutable QCache<int, QImage> m_images;
    QScrollArea *m_scroll = nullptr;
    PreviewPages *m_pages = nullptr;
    QLabel *m_pageLabel = nullptr;
};

} // namespace kordel::report
