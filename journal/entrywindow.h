#pragma once

#include "books/operationsstore.h"
#include "books/picks.h"
#include "books/workerswindow.h"
#include "db/decimal.h"
#include "journal/auxiliaryworkers.h"
#include "journal/entrystore.h"

#include <QDialog>
#include <memory>
#include <optional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kordel {

class DataGrid;
class DataModule;
class Dataset;
class JournalContext;
class PriceListWindow;

// The two picks of the entry window.  The default asks the workers list and
// the price list; tests put their own choices in.
class EntryPickers
{
public:
    virtual ~EntryPickers() = default;
    virtual std::optional<WorkerPick> worker(WorkersWindow::Mode mode) = 0;
    virtual std::optional<OperationPick> operation(OperationList list, int locateOperationId, bool dayOff,
                                                   int shift) = 0;
};

// The production entry window (Form11): one journal row of the current
// shift, new, changed or copied, and then the auxiliary workers of that row.
class EntryWindow : public QDialog
{
    Q_OBJECT

public:
    // The window's mode while it is open.
    enum Mode { Closed = 0, NewEntry = 1, ChangeEntry = 2, CopyEntry = 3 };

    EntryWindow(DataModule &dataModule, JournalContext &context, WorkersWindow &workers,
                PriceListWindow &prices, QWidget *parent = nullptr);
    ~EntryWindow() override;

    // "Добавить" of the journal: an empty entry on the journal's date.
    void openNew();
    // "Изменить": the journal's current row; rows of operations 7777 and up
    // open nothing.
    void openChange();
    // "Копия": the current row as a new entry.
    void openCopy();

    // Replaces the picks (nullptr: the books again).  The window does not
    // take ownership.
    void setPickers(EntryPickers *pickers);

    Mode mode() const { return m_mode; }
    // The journal row this window saved last; 0 before the first save.
    int rowId() const { return m_rowId; }

    // The actions behind the controls.
    void pickWorker();      // "..." of "ФИО", or a click on the name
    void pickOperation();   // "..." of "Операция", or a click on it
    void save();            // "Запись"
    void startNew();        // "Новый"
    void addAuxiliary();    // "Добавить"
    void removeAuxiliary(); // "Удалить"
    void saveAuxiliary();   // "Сохранить"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Every way out discards the auxiliary workers not saved.
    void done(int result) override;

private:
    void buildControls();
    Dataset &journal() const;
    void rereadJournal();
    void clearEntry();
    void beginEntry(); // the first stage: fields open, auxiliary part closed
    void setEntryEnabled(bool enabled);
    void setAuxiliaryEnabled(bool enabled);
    void applyPaintingRule();
    void openRow(Mode mode);
    void showPrices();
    void auxiliaryTicked(bool ticked);
    bool saveAuxiliaryList();
    bool discardAuxiliaryList();
    int entryHours() const;

    DataModule &m_data;
    JournalContext &m_context;
    EntryStore m_store;
    AuxiliaryWorkers m_aux;
    std::unique_ptr<EntryPickers> m_bookPickers;
    EntryPickers *m_pickers = nullptr;

    Mode m_mode = Closed;
    bool m_entryOpen = true; // the first stage: the entry can still be edited
    int m_workerId = 0;
    int m_operationId = 0;
    int m_productId = 0;
    int m_naimen = 0;
    Decimal m_basePrice;
    bool m_hasBasePrice = false;
    Decimal m_finalPrice;
    int m_changedRowId = 0; // the journal row a change writes
    int m_rowId = 0;
    JournalEntry m_saved; // the entry as last saved, for its auxiliary workers

    QLineEdit *m_worker = nullptr;    // Edit1
    QLineEdit *m_operation = nullptr; // Edit2
    QLineEdit *m_quantity = nullptr;  // Edit3
    QLineEdit *m_defects = nullptr;   // Edit4
    QLineEdit *m_colour = nullptr;    // Edit5
    QLineEdit *m_hours = nullptr;     // Edit6
    QLineEdit *m_final = nullptr;     // Edit7
    QLineEdit *m_base = nullptr;      // Edit8
    QLineEdit *m_sum = nullptr;       // Edit9
    QLabel *m_colourLabel = nullptr;
    QDateEdit *m_date = nullptr;              // DTimeP
    QPushButton *m_saveButton = nullptr;      // Button1
    QPushButton *m_exitButton = nullptr;      // Button2
    QPushButton *m_workerButton = nullptr;    // Button3
    QPushButton *m_operationButton = nullptr; // Button4
    QPushButton *m_auxAdd = nullptr;          // Button5
    QPushButton *m_auxSave = nullptr;         // Button6
    QPushButton *m_auxRemove = nullptr;       // Button7
    QPushButton *m_newButton = nullptr;       // Button8
    QCheckBox *m_auxBox = nullptr;            // CheckBox1
    DataGrid *m_auxGrid = nullptr;            // DBGrid1
};

} // namespace kordel
