#pragma once

#include "books/picks.h"
#include "db/decimal.h"
#include "household/householdstore.h"

#include <QDate>
#include <QDialog>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kordel {

class DataModule;
class GroupsWindow;
class WorkersWindow;

// The two picks of the household entry window.  The default asks the workers
// list and the nomenclature groups book; tests put their own choices in.
class HouseholdPickers
{
public:
    virtual ~HouseholdPickers() = default;
    virtual std::optional<WorkerPick> worker() = 0;
    virtual std::optional<GroupPick> group() = 0;
};

// What the household works journal hands the entry window.
struct HouseholdJournalState
{
    QDate date;
    bool dayOff = false;
    int shift = 1;
};

// The journal's current record, for a change.
struct HouseholdCurrent
{
    int id = 0;
    int worker = 0;
    QString workerName;
    qint64 group = 0;
    QString groupName;
    int kind = 0;
    int hours = 0;
    bool night = false;
};

// "Хоз. работы/среднесдельная (24)": adds a household record or changes the
// journal's current one, priced from the kind's norm price.
class HouseholdEntryWindow : public QDialog
{
    Q_OBJECT

public:
    enum Mode { NewRecord = 0, ChangeRecord = 1 };

    HouseholdEntryWindow(DataModule &dataModule, HouseholdStore &store, WorkersWindow &workers,
                         GroupsWindow &groups, QWidget *parent = nullptr);
    ~HouseholdEntryWindow() override;

    // Both return whether a record was written.
    bool openNew(const HouseholdJournalState &journal);
    bool openChange(const HouseholdJournalState &journal, const HouseholdCurrent &current);

    // Replaces the picks (nullptr: the books again); not owned.
    void setPickers(HouseholdPickers *pickers);

    Mode mode() const { return m_mode; }

    void pickWorker(); // Button3
    void pickGroup();  // Button4
    void save();       // "Записать"

private:
    void buildControls();
    bool run(int kind); // shows the window with the kind list open
    void selectKind(int kind);
    void showPrice();
    std::optional<Decimal> normPrice() const;

    HouseholdStore &m_store;
    std::unique_ptr<HouseholdPickers> m_bookPickers;
    HouseholdPickers *m_pickers = nullptr;

    Mode m_mode = NewRecord;
    HouseholdJournalState m_journal;
    int m_recordId = 0;
    int m_workerId = 0;
    qint64 m_groupId = 0;
    bool m_saved = false;

    QLineEdit *m_worker = nullptr; // Edit1
    QLineEdit *m_group = nullptr;  // Edit2
    QComboBox *m_kind = nullptr;   // cb_type_work
    QLineEdit *m_hours = nullptr;  // Edit6
    QLineEdit *m_price = nullptr;  // DBEdit1
    QLineEdit *m_sum = nullptr;    // DBEdit2
    QCheckBox *m_night = nullptr;  // CBox1
};

} // namespace kordel
