#pragma once

#include "books/picks.h"
#include "brigade/distributionstore.h"
#include "brigade/referencepicks.h"

#include <QDialog>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kordel {

class AveragePickWindow;
class DataGrid;
class DataModule;
class JournalContext;
class OperationPickWindow;
class WorkersWindow;

// The paid worker pick of the distribution window.  The default asks the
// workers list; tests put their own choice in.
class PaidWorkerPicker
{
public:
    virtual ~PaidWorkerPicker() = default;
    virtual std::optional<WorkerPick> paidWorker() = 0;
};

// Form33: pays a brigade auxiliary worker, a painting operator or a hanging
// worker a multiple of the hourly earnings of the reference workers
// collected in his distribution list, as one journal row of the daily
// journal's date and shift.
class DistributionWindow : public QDialog
{
    Q_OBJECT

public:
    DistributionWindow(DataModule &dataModule, JournalContext &journal, WorkersWindow &workers,
                       QWidget *parent = nullptr);
    ~DistributionWindow() override;

    // "Бригада" or "Покраска" of the daily journal.
    void open(Distribution kind);

    void setPicker(PaidWorkerPicker *picker); // nullptr: the workers list; not owned

    Distribution kind() const { return m_kind; }
    int paidWorker() const { return m_store.paidWorker(); }
    DistributionStore &store() { return m_store; }
    OperationPickWindow &operationPick() const { return *m_operationPick; }
    AveragePickWindow &averagePick() const { return *m_averagePick; }

    void pickPaidWorker();  // "..."
    void pickFromJournal(); // "Бригада"
    void pickHanging();     // "Навеска"
    void pickHousehold();   // "Ср. сдельная"
    void removeRow();       // "Удалить"
    void save();            // "Сохранить"
    // The rate and the pay from the list's totals, the hours worked and
    // the coefficient; labels unchanged when something is missing.
    void recompute();

protected:
    // Every way out lets the paid worker's list go.
    void done(int result) override;

private:
    void buildControls();
    bool addReference(QWidget *pickWindow, const ReferenceRow &row);
    void setPickButtonsEnabled(bool enabled);

    DataModule &m_data;
    JournalContext &m_journal;
    DistributionStore m_store;
    ReferencePicks m_picks;
    std::unique_ptr<OperationPickWindow> m_operationPick;
    std::unique_ptr<AveragePickWindow> m_averagePick;
    std::unique_ptr<PaidWorkerPicker> m_bookPicker;
    PaidWorkerPicker *m_picker = nullptr;
    Distribution m_kind = Distribution::Brigade;

    QLineEdit *m_worker = nullptr;    // Edit1
    QLineEdit *m_money = nullptr;     // DBEdit1
    QLineEdit *m_hours = nullptr;     // DBEdit2
    QLineEdit *m_worked = nullptr;    // Edit2
    QLabel *m_rate = nullptr;         // Label5
    QLabel *m_pay = nullptr;          // Label7
    DataGrid *m_grid = nullptr;       // DBGrid1
    QPushButton *m_average = nullptr; // Button5
    QPushButton *m_remove = nullptr;  // Button7
    QPushButton *m_brigade = nullptr; // Button4
    QPushButton *m_hanging = nullptr; // Button6
};

} // namespace kordel
