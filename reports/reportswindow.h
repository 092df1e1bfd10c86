#pragma once

#include "core/roles.h"
#include "reports/reportstore.h"
#include "widgets/excelwriter.h"
#include "widgets/report.h"

#include <QDate>
#include <QDialog>
#include <array>
#include <functional>

class QDateEdit;
class QPushButton;
class QRadioButton;

namespace kordel {

class DataModule;

namespace reports {

// The reports window (Form18): a period and a product kind, four printed
// period reports and the product summary workbook.
class ReportsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ReportsWindow(DataModule &dataModule, QWidget *parent = nullptr);

    // Where "today" comes from; tests fix it.
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }
    // The role of the login, asked on every opening.
    void setRoleSource(std::function<Role()> role) { m_role = std::move(role); }
    // What a report button does with its report; by default the preview.
    void setPresenter(std::function<void(const report::Report &)> present) { m_present = std::move(present); }

    // "Отчеты" → "Сводные отчеты": last month's period, the role's limits,
    // then the window modally.
    void openFromMenu();
    // The opening without showing the window.
    void prepare();
    void applyRole(Role role);

    Period period() const;
    void setPeriod(const Period &period);
    ProductKind kind() const;
    void setKind(ProductKind kind);

    // The report buttons: compute the report and hand it to the presenter.
    // false when the database refused (the user has been told).
    bool showWorkerDetail();   // Button1
    bool showProductDetail();  // Button3
    bool showWorkerSummary();  // Button4
    bool showProductSummary(); // Button2
    // Button6: the product summary workbook.
    void exportSummary();

    ExcelWriter &excelWriter() { return m_excel; }

private:
    bool present(const std::function<report::Report()> &compute);

    ReportStore m_store;
    ExcelWriter m_excel;
    std::function<QDate()> m_today;
    std::function<Role()> m_role;
    std::function<void(const report::Report &)> m_present;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    std::array<QRadioButton *, 3> m_kinds{};
    QPushButton *m_excelButton = nullptr;
};

} // namespace reports
} // namespace kordel
