#include "journal/entrywindow.h"

#include "books/pricelistwindow.h"
#include "core/datamodule.h"
#include "core/journalcontext.h"
#include "widgets/datagrid.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

// The picks through the reference books themselves.
class BookPickers : public EntryPickers
{
public:
    BookPickers(WorkersWindow &workers, PriceListWindow &prices) : m_workers(workers), m_prices(prices) {}

    std::optional<WorkerPick> worker(WorkersWindow::Mode mode) override { return m_workers.pick(mode); }
    std::optional<OperationPick> operation(OperationList list, int locateOperationId, bool dayOff,
                                           int shift) override
    {
        return m_prices.pick(list, locateOperationId, dayOff, shift);
    }

private:
    WorkersWindow &m_workers;
    PriceListWindow &m_prices;
};

QLineEdit *edit(const QString &name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QLabel *label(const QString &name, const QString &caption, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

// Quantity, defects, colour and hours are whole numbers: digits only.
void digitsOnly(QLineEdit *field)
{
    static const QRegularExpression digits(u"[0-9]*"_s);
    field->setValidator(new QRegularExpressionValidator(digits, field));
    field->setMaxLength(9);
}

// A price as the user reads numbers.
QString shown(const Decimal &value)
{
    QString text = value.toString();
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}

const QString kAskSaveAuxiliary = u"Данные о подсобных рабочих не сохранены. Сохранить?"_s;
const QString kHoursRequired = u"Время должно быть больше 0"_s;

} // namespace

EntryWindow::EntryWindow(DataModule &dataModule, JournalContext &context, WorkersWindow &workers,
                         PriceListWindow &prices, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_context(context), m_store(dataModule), m_aux(dataModule),
      m_bookPickers(std::make_unique<BookPickers>(workers, prices)), m_pickers(m_bookPickers.get())
{
    setObjectName(u"Form11"_s);
    setWindowTitle(u"Заведение новой позиции (11)"_s);
    buildControls();
    beginEntry();
}

EntryWindow::~EntryWindow() = default;

void EntryWindow::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;

    auto *frame = new QGroupBox(u"Закрыто мастером"_s, this);
    frame->setObjectName(u"GroupBox1"_s);
    auto *fields = new QGridLayout(frame);

    m_worker = edit(u"Edit1"_s, frame);
    m_workerButton = makeButton(u"Button3"_s, u"..."_s, frame);
    connect(m_workerButton, &QPushButton::clicked, this, &EntryWindow::pickWorker);

    m_operation = edit(u"Edit2"_s, frame);
    m_operationButton = makeButton(u"Button4"_s, u"..."_s, frame);
    connect(m_operationButton, &QPushButton::clicked, this, &EntryWindow::pickOperation);

    // Filled by the picks only; a click on either field picks as well.
    for (QLineEdit *field : {m_worker, m_operation}) {
        field->setReadOnly(true);
        field->setFrame(false);
        field->installEventFilter(this);
    }

    m_quantity = edit(u"Edit3"_s, frame);
    m_defects = edit(u"Edit4"_s, frame);
    m_colour = edit(u"Edit5"_s, frame);
    m_hours = edit(u"Edit6"_s, frame);
    for (QLineEdit *field : {m_quantity, m_defects, m_colour, m_hours})
        digitsOnly(field);
    m_quantity->installEventFilter(this);
    m_hours->installEventFilter(this);

    m_date = new QDateEdit(frame);
    m_date->setObjectName(u"DTimeP"_s);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(u"dd.MM.yyyy"_s);

    m_final = edit(u"Edit7"_s, frame);
    m_base = edit(u"Edit8"_s, frame);
    m_sum = edit(u"Edit9"_s, frame);
    for (QLineEdit *field : {m_final, m_base, m_sum})
        field->setReadOnly(true);

    m_colourLabel = label(u"Label6"_s, u"Цвет"_s, frame);

    int row = 0;
    fields->addWidget(label(u"Label1"_s, u"ФИО"_s, frame), row, 0);
    fields->addWidget(m_worker, row, 1, 1, 3);
    fields->addWidget(m_workerButton, row++, 4);
    fields->addWidget(label(u"Label2"_s, u"Операция"_s, frame), row, 0);
    fields->addWidget(m_operation, row, 1, 1, 3);
    fields->addWidget(m_operationButton, row++, 4);
    fields->addWidget(label(u"Label3"_s, u"Кол-во"_s, frame), row, 0);
    fields->addWidget(m_quantity, row, 1);
    fields->addWidget(label(u"Label4"_s, u"Брак"_s, frame), row, 2);
    fields->addWidget(m_defects, row++, 3);
    fields->addWidget(label(u"Label5"_s, u"Дата"_s, frame), row, 0);
    fields->addWidget(m_date, row, 1);
    fields->addWidget(m_colourLabel, row, 2);
    fields->addWidget(m_colour, row++, 3);
    fields->addWidget(label(u"Label7"_s, u"Время"_s, frame), row, 0);
    fields->addWidget(m_hours, row++, 1);
    fields->addWidget(label(u"Label8"_s, u"Цена база"_s, frame), row, 0);
    fields->addWidget(m_base, row, 1);
    fields->addWidget(label(u"Label9"_s, u"Цена итог"_s, frame), row, 2);
    fields->addWidget(m_final, row++, 3);
    fields->addWidget(label(u"Label10"_s, u"Сумма"_s, frame), row, 0);
    fields->addWidget(m_sum, row++, 1);
    top->addWidget(frame, 1);

    auto *panel = new QVBoxLayout;
    m_auxBox = new QCheckBox(u"Подсобные рабочие"_s, this);
    m_auxBox->setObjectName(u"CheckBox1"_s);
    connect(m_auxBox, &QCheckBox::toggled, this, &EntryWindow::auxiliaryTicked);
    m_auxAdd = makeButton(u"Button5"_s, u"Добавить"_s, this);
    connect(m_auxAdd, &QPushButton::clicked, this, &EntryWindow::addAuxiliary);
    m_auxSave = makeButton(u"Button6"_s, u"Сохранить"_s, this);
    connect(m_auxSave, &QPushButton::clicked, this, &EntryWindow::saveAuxiliary);
    m_auxRemove = makeButton(u"Button7"_s, u"Удалить"_s, this);
    connect(m_auxRemove, &QPushButton::clicked, this, &EntryWindow::removeAuxiliary);
    panel->addWidget(m_auxBox);
    panel->addWidget(m_auxAdd);
    panel->addWidget(m_auxSave);
    panel->addWidget(m_auxRemove);
    panel->addStretch();
    top->addLayout(panel);
    layout->addLayout(top);

    m_auxGrid =
        makeGrid(u"DBGrid1"_s,
                 {{u"fio"_s, u"ФИО"_s},
                  {u"s_staffpos_hl"_s, u"Должность"_s},
                  {u"f_time"_s, u"Время (ч.)"_s, Qt::AlignLeft | Qt::AlignVCenter, false, formats::number},
                  {u"f_count"_s, u"Сумма (р.)"_s, Qt::AlignLeft | Qt::AlignVCenter, false, formats::money}},
                 m_aux.list(), this);
    layout->addWidget(m_auxGrid, 1);

    m_saveButton = makeButton(u"Button1"_s, u"Запись"_s, this, ButtonRole::Default);
    connect(m_saveButton, &QPushButton::clicked, this, &EntryWindow::save);
    m_newButton = makeButton(u"Button8"_s, u"Новый"_s, this);
    connect(m_newButton, &QPushButton::clicked, this, &EntryWindow::startNew);
    m_exitButton = makeButton(u"Button2"_s, u"Выход"_s, this);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttonRow({m_saveButton, m_newButton}, m_exitButton));

    setFixedSize(sizeHint().expandedTo(QSize(760, 520)));
}

void EntryWindow::setPickers(EntryPickers *pickers)
{
    m_pickers = pickers ? pickers : m_bookPickers.get();
}

Dataset &EntryWindow::journal() const
{
    return m_data.journal(m_context.currentShift());
}

void EntryWindow::rereadJournal()
{
    Dataset &rows = journal();
    if (rows.isOpen())
        rows.reopenAt(rows.recNo());
}

// --- opening ---------------------------------------------------------------

void EntryWindow::openNew()
{
    m_date->setDate(m_context.journalDate());
    clearEntry();
    m_aux.list().close();
    setWindowTitle(u"Заведение новой позиции (11)"_s);
    m_mode = NewEntry;
    m_rowId = 0;
    m_changedRowId = 0;
    beginEntry();
    exec();
    m_mode = Closed;
}

void EntryWindow::openChange()
{
    openRow(ChangeEntry);
}

void EntryWindow::openCopy()
{
    openRow(CopyEntry);
}

void EntryWindow::openRow(Mode mode)
{
    Dataset &rows = journal();
    if (!rows.isOpen() || rows.isEmpty())
        return;
    if (rows.intValue(u"o_id"_s) >= EntryStore::kFirstSpecialOperation)
        return;
    const int recNo = rows.recNo();

    const bool filled = guarded(this, [&] {
        const int operation = rows.intValue(u"o_id"_s);
        const std::optional<Decimal> base = m_store.basePrice(operation);
        m_hasBasePrice = base.has_value();
        m_basePrice = base.value_or(Decimal());
        m_finalPrice = rows.decimal(u"cena"_s);
        m_workerId = rows.intValue(u"w_id"_s);
        m_productId = rows.intValue(u"i_id"_s);
        m_operationId = operation;
        m_naimen = rows.intValue(u"naimen"_s);
        m_changedRowId = rows.intValue(u"id"_s);
        m_date->setDate(rows.value(u"data"_s).toDate());
        m_worker->setText(rows.text(u"fio"_s).trimmed());
        m_operation->setText(EntryStore::operationText(rows.text(u"marka"_s), rows.text(u"vid"_s), m_naimen));
        m_quantity->setText(rows.text(u"kol_vo"_s).trimmed());
        m_defects->setText(rows.text(u"brak"_s).trimmed());
        m_hours->setText(rows.text(u"time"_s).trimmed());
        m_colour->setText(EntryStore::isPainting(m_operation->text()) ? rows.text(u"color"_s).trimmed()
                                                                      : QString());
    });
    if (!filled)
        return;

    setWindowTitle(u"Изменение данных о позиции (11)"_s);
    m_mode = mode;
    m_rowId = 0;
    m_aux.list().close();
    beginEntry();
    showPrices();
    exec();
    m_mode = Closed;
    if (rows.isOpen() && !rows.isEmpty())
        rows.setRecNo(recNo);
}

void EntryWindow::clearEntry()
{
    for (QLineEdit *field : {m_worker, m_operation, m_quantity, m_colour, m_final, m_base, m_sum})
        field->clear();
    m_defects->setText(u"0"_s);
    m_hours->setText(u"0"_s);
    m_workerId = 0;
    m_operationId = 0;
    m_productId = 0;
    m_naimen = 0;
    m_basePrice = Decimal();
    m_hasBasePrice = false;
    m_finalPrice = Decimal();
    m_saved = JournalEntry();
}

void EntryWindow::beginEntry()
{
    setEntryEnabled(true);
    setAuxiliaryEnabled(false);
    m_workerButton->setFocus();
}

void EntryWindow::setEntryEnabled(bool enabled)
{
    m_entryOpen = enabled;
    for (QWidget *w : std::initializer_list<QWidget *>{m_worker, m_operation, m_quantity, m_defects, m_hours,
                                                       m_final, m_base, m_sum, m_date, m_saveButton,
                                                       m_workerButton, m_operationButton})
        w->setEnabled(enabled);
    applyPaintingRule();
}

void EntryWindow::setAuxiliaryEnabled(bool enabled)
{
    if (!enabled)
        m_auxBox->setChecked(false);
    m_auxBox->setEnabled(enabled);
    m_auxGrid->setEnabled(enabled);
    const bool buttons = enabled && m_auxBox->isChecked();
    for (QPushButton *b : {m_auxAdd, m_auxSave, m_auxRemove})
        b->setEnabled(buttons);
}

// Painting operations take a colour; for any other the field stays empty
// and the row is written with colour 0.
void EntryWindow::applyPaintingRule()
{
    const bool painting = EntryStore::isPainting(m_operation->text());
    if (!painting)
        m_colour->clear();
    m_colour->setEnabled(painting && m_entryOpen);
    m_colourLabel->setEnabled(painting && m_entryOpen);
}

void EntryWindow::showPrices()
{
    if (m_hours->text().trimmed().isEmpty())
        m_hours->setText(u"0"_s);
    if (m_quantity->text().trimmed().isEmpty())
        m_quantity->setText(u"0"_s);
    if (m_operationId == 0) // nothing picked yet: no price to show
        return;
    m_final->setText(shown(m_finalPrice.rounded(4)));
    m_base->setText(m_hasBasePrice ? shown(m_basePrice.rounded(4)) : QString());
    const int quantity = m_quantity->text().trimmed().toInt();
    m_sum->setText(shown((Decimal::fromInt(quantity) * m_finalPrice).rounded(4)));
}

// --- the entry -------------------------------------------------------------

void EntryWindow::pickWorker()
{
    if (!m_entryOpen)
        return;
    const std::optional<WorkerPick> pick = m_pickers->worker(WorkersWindow::EntryWorker);
    if (!pick)
        return;
    m_workerId = pick->id;
    m_worker->setText(pick->name.trimmed());
}

void EntryWindow::pickOperation()
{
    if (!m_entryOpen)
        return;
    const int locate = m_mode == NewEntry ? 0 : m_operationId;
    const std::optional<OperationPick> pick = m_pickers->operation(
        OperationList::EntryPick, locate, m_context.isDayOff(), m_context.currentShift());
    if (!pick)
        return;
    m_operationId = pick->operationId;
    m_productId = pick->productId;
    m_naimen = pick->naimen;
    m_basePrice = pick->basePrice;
    m_hasBasePrice = true;
    m_finalPrice = pick->finalPrice;
    m_operation->setText(pick->text);
    applyPaintingRule();
    showPrices();
}

void EntryWindow::save()
{
    if (m_mode == Closed || !m_entryOpen)
        return;
    const auto empty = [](const QLineEdit *field) { return field->text().trimmed().isEmpty(); };
    if (empty(m_worker) || empty(m_operation) || empty(m_quantity) || empty(m_defects) || empty(m_hours) ||
        (EntryStore::isPainting(m_operation->text()) && empty(m_colour))) {
        messages::error(this, u"Все поля должны быть заполнены!"_s);
        return;
    }

    JournalEntry entry;
    entry.worker = m_workerId;
    entry.product = m_productId;
    entry.operation = m_operationId;
    entry.price = m_finalPrice;
    entry.quantity = m_quantity->text().trimmed().toInt();
    entry.defects = m_defects->text().trimmed().toInt();
    entry.date = m_date->date();
    entry.shift = m_context.currentShift();
    entry.colour = m_colour->text().trimmed().toInt();
    entry.hours = m_hours->text().trimmed().toInt();

    guarded(this, [&] {
        if (m_mode == ChangeEntry) {
            if (!messages::passes(this, m_store.checkDuplicate(entry, m_changedRowId)))
                return;
            m_store.change(m_changedRowId, entry);
            m_rowId = m_changedRowId;
        } else {
            if (!messages::passes(this, m_store.checkDuplicate(entry, 0)))
                return;
            m_rowId = m_store.insert(entry);
        }
        m_saved = entry;
        // The entry is written with its hours: from here on only its
        // auxiliary workers can be added.
        setEntryEnabled(false);
        for (int shift = 1; shift <= 3; ++shift)
            m_data.hoursSheet(shift).close();
        m_aux.openList(m_rowId);
        m_auxBox->setEnabled(true);
        m_auxGrid->setEnabled(true);
        rereadJournal();
    });
}

void EntryWindow::startNew()
{
    if (m_aux.list().isOpen() && !m_aux.list().isEmpty()) {
        const bool keep =
            MessageService::current().ask(this, kAskSaveAuxiliary, u"Удаление"_s, MessageIcon::Exclamation);
        // Declined workers are dropped now: the next entry's list must not
        // find them, nor another change of this row.
        if (!(keep ? saveAuxiliaryList() : discardAuxiliaryList()))
            return;
    }
    clearEntry();
    m_aux.list().close();
    setWindowTitle(u"Заведение новой позиции (11)"_s);
    m_mode = NewEntry;
    m_rowId = 0;
    m_changedRowId = 0;
    beginEntry();
}

// --- auxiliary workers -----------------------------------------------------

int EntryWindow::entryHours() const
{
    return m_hours->text().trimmed().toInt();
}

void EntryWindow::auxiliaryTicked(bool ticked)
{
    if (ticked && entryHours() <= 0) {
        m_auxBox->setChecked(false);
        messages::error(this, kHoursRequired);
        return;
    }
    for (QPushButton *b : {m_auxAdd, m_auxSave, m_auxRemove})
        b->setEnabled(ticked);
    m_auxGrid->setEnabled(ticked);
}

void EntryWindow::addAuxiliary()
{
    if (m_rowId == 0)
        return;
    const std::optional<WorkerPick> pick = m_pickers->worker(WorkersWindow::AuxiliaryWorker);
    if (!pick)
        return;
    if (m_saved.hours <= 0) {
        messages::error(this, kHoursRequired);
        return;
    }
    const Decimal share =
        AuxiliaryWorkers::hourlyShare(m_saved.price, m_saved.quantity, m_saved.defects, m_saved.hours);
    try {
        m_aux.add(m_rowId, pick->id, share, pick->hours);
    } catch (const DbError &) {
        messages::error(this, u"Невозможно сохранить данные в БД!"_s);
    }
    guarded(this, [this] {
        m_aux.openList(m_rowId);
        m_aux.list().last();
    });
}

void EntryWindow::removeAuxiliary()
{
    Dataset &list = m_aux.list();
    if (!list.isOpen() || list.isEmpty())
        return;
    if (!messages::askDelete(this, u"Удалить позицию из списка?"_s))
        return;
    guarded(this, [&] {
        const int recNo = list.recNo();
        m_aux.removeListed(list.intValue(u"pt_id"_s));
        m_aux.openList(m_rowId);
        if (!list.isEmpty())
            list.setRecNo(recNo);
    });
}

void EntryWindow::saveAuxiliary()
{
    if (saveAuxiliaryList())
        accept();
}

bool EntryWindow::saveAuxiliaryList()
{
    Dataset &list = m_aux.list();
    if (!list.isOpen() || list.isEmpty())
        return true;
    QList<int> scratchIds;
    for (int row = 0; row < list.recordCount(); ++row)
        scratchIds << list.valueAt(row, u"pt_id"_s).toInt();
    const AuxiliaryWorkers::Entry entry{m_rowId, m_saved.product, m_saved.date, m_saved.shift,
                                        m_saved.colour};
    if (!guarded(this, [&] { m_aux.save(entry, scratchIds); }))
        return false;
    list.close();
    setAuxiliaryEnabled(false);
    guarded(this, [this] { rereadJournal(); });
    return true;
}

bool EntryWindow::discardAuxiliaryList()
{
    if (!guarded(this, [this] { m_aux.discard(m_rowId); }))
        return false;
    m_aux.list().close();
    return true;
}

// --- window ----------------------------------------------------------------

bool EntryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_worker || watched == m_operation) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_worker)
            pickWorker();
        else
            pickOperation();
        return true;
    }
    if ((watched == m_quantity || watched == m_hours) && event->type() == QEvent::FocusOut)
        showPrices();
    return QDialog::eventFilter(watched, event);
}

void EntryWindow::done(int result)
{
    if (m_rowId != 0)
        guarded(this, [this] { m_aux.discard(m_rowId); });
    m_aux.list().close();
    QDialog::done(result);
}

} // namespace kordel
