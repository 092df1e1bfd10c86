#include "household/householdentrywindow.h"

#include "books/groupswindow.h"
#include "books/workerswindow.h"
#include "core/vocabulary.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

class BookPickers : public HouseholdPickers
{
public:
    BookPickers(WorkersWindow &workers, GroupsWindow &groups) : m_workers(workers), m_groups(groups) {}
    std::optional<WorkerPick> worker() override { return m_workers.pick(WorkersWindow::HouseholdWorker); }
    std::optional<GroupPick> group() override { return m_groups.pick(); }

private:
    WorkersWindow &m_workers;
    GroupsWindow &m_groups;
};

QLabel *label(const QString &name, const QString &caption, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QString shown(const Decimal &value)
{
    QString text = value.toString();
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}

const QString kAllFields = u"Все поля должны быть заполнены!"_s;
const QString kHoursRequired = u"Нужно завести количество!"_s;
const QString kNoPrice = u"У выбранной работы не задана цена!"_s;

} // namespace

HouseholdEntryWindow::HouseholdEntryWindow(DataModule &, HouseholdStore &store, WorkersWindow &workers,
                                           GroupsWindow &groups, QWidget *parent)
    : QDialog(parent), m_store(store), m_bookPickers(std::make_unique<BookPickers>(workers, groups)),
      m_pickers(m_bookPickers.get())
{
    setObjectName(u"Form24"_s);
    setWindowTitle(u"Хоз. работы/среднесдельная (24)"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
}

HouseholdEntryWindow::~HouseholdEntryWindow() = default;

void HouseholdEntryWindow::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(u"Закрыто мастером"_s, this);
    frame->setObjectName(u"GroupBox1"_s);
    auto *fields = new QGridLayout(frame);

    m_worker = new QLineEdit(frame);
    m_worker->setObjectName(u"Edit1"_s);
    auto *workerButton = makeButton(u"Button3"_s, u"..."_s, frame);
    m_group = new QLineEdit(frame);
    m_group->setObjectName(u"Edit2"_s);
    auto *groupButton = makeButton(u"Button4"_s, u"..."_s, frame);
    for (QLineEdit *field : {m_worker, m_group})
        field->setReadOnly(true);

    m_kind = new QComboBox(frame);
    m_kind->setObjectName(u"cb_type_work"_s);

    m_hours = new QLineEdit(frame);
    m_hours->setObjectName(u"Edit6"_s);
    m_hours->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_hours));
    m_hours->setMaxLength(9);

    m_price = new QLineEdit(frame);
    m_price->setObjectName(u"DBEdit1"_s);
    m_sum = new QLineEdit(frame);
    m_sum->setObjectName(u"DBEdit2"_s);
    for (QLineEdit *field : {m_price, m_sum})
        field->setEnabled(false);

    m_night = new QCheckBox(u"Ночные"_s, frame);
    m_night->setObjectName(u"CBox1"_s);

    int row = 0;
    fields->addWidget(label(u"Label1"_s, u"ФИО"_s, frame), row, 0);
    fields->addWidget(m_worker, row, 1, 1, 5);
    fields->addWidget(workerButton, row++, 6);
    fields->addWidget(label(u"Label2"_s, u"Номенклатура"_s, frame), row, 0);
    fields->addWidget(m_group, row, 1, 1, 5);
    fields->addWidget(groupButton, row++, 6);
    fields->addWidget(m_kind, row++, 0, 1, 7);
    fields->addWidget(m_hours, row, 0);
    fields->addWidget(label(u"Label3"_s, u"ч.    Цена"_s, frame), row, 1);
    fields->addWidget(m_price, row, 2);
    fields->addWidget(label(u"Label4"_s, u"р.    Сумма"_s, frame), row, 3);
    fields->addWidget(m_sum, row, 4);
    fields->addWidget(m_night, row++, 5, 1, 2);
    layout->addWidget(frame);

    auto *save = makeButton(u"Button1"_s, u"Записать"_s, this, ButtonRole::Default);
    auto *exit = makeButton(u"Button6"_s, u"Выход"_s, this);
    layout->addLayout(dialogButtons(save, exit));

    connect(workerButton, &QPushButton::clicked, this, &HouseholdEntryWindow::pickWorker);
    connect(groupButton, &QPushButton::clicked, this, &HouseholdEntryWindow::pickGroup);
    connect(save, &QPushButton::clicked, this, &HouseholdEntryWindow::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &HouseholdEntryWindow::showPrice);
    connect(m_hours, &QLineEdit::textChanged, this, &HouseholdEntryWindow::showPrice);
    setFixedSize(sizeHint().expandedTo(QSize(520, 200)));
}

void HouseholdEntryWindow::setPickers(HouseholdPickers *pickers)
{
    m_pickers = pickers ? pickers : m_bookPickers.get();
}

bool HouseholdEntryWindow::openNew(const HouseholdJournalState &journal)
{
    m_mode = NewRecord;
    m_journal = journal;
    m_recordId = 0;
    m_worker->clear();
    m_group->clear();
    m_hours->setText(u"0"_s);
    m_night->setChecked(false);
    m_night->setEnabled(true);
    m_groupId = 0;
    m_workerId = 0;
    return run(vocabulary::HouseholdWork);
}

bool HouseholdEntryWindow::openChange(const HouseholdJournalState &journal, const HouseholdCurrent &current)
{
    m_mode = ChangeRecord;
    m_journal = journal;
    m_recordId = current.id;
    m_worker->setText(current.workerName);
    m_group->setText(current.groupName);
    m_hours->setText(QString::number(current.hours));
    m_groupId = current.group;
    m_workerId = current.worker;
    m_night->setChecked(current.night);
    m_night->setEnabled(false);
    return run(current.kind);
}

// The kind list is read for each opening and closed afterwards; the choices
// are the kinds it lists, each once, priced by its first row.
bool HouseholdEntryWindow::run(int kind)
{
    m_saved = false;
    const bool opened = guarded(parentWidget(), [this] { m_store.openKinds(); });
    {
        const QSignalBlocker block(m_kind);
        m_kind->clear();
        Dataset &kinds = m_store.kinds();
        for (int row = 0; opened && row < kinds.recordCount(); ++row) {
            const int id = kinds.valueAt(row, u"id"_s).toInt();
            if (m_kind->findData(id) < 0)
                m_kind->addItem(kinds.valueAt(row, u"vid"_s).toString().trimmed(), id);
        }
    }
    if (!opened)
        return false;
    selectKind(kind);
    exec();
    m_store.kinds().close();
    return m_saved;
}

void HouseholdEntryWindow::selectKind(int kind)
{
    m_kind->setCurrentIndex(m_kind->findData(kind));
    showPrice();
    m_hours->setFocus();
    m_hours->selectAll();
}

std::optional<Decimal> HouseholdEntryWindow::normPrice() const
{
    const QVariant kind = m_kind->currentData();
    Dataset &kinds = m_store.kinds();
    if (!kind.isValid() || !kinds.isOpen())
        return std::nullopt;
    for (int row = 0; row < kinds.recordCount(); ++row) {
        if (kinds.valueAt(row, u"id"_s).toInt() != kind.toInt())
            continue;
        const QVariant price = kinds.valueAt(row, u"price"_s);
        if (price.isNull() || price.toString().trimmed().isEmpty())
            return std::nullopt;
        return Decimal::fromVariant(price);
    }
    return std::nullopt;
}

// The price of the chosen kind, and the sum for the hours as typed.
void HouseholdEntryWindow::showPrice()
{
    const std::optional<Decimal> price = normPrice();
    m_price->setText(price ? shown(*price) : QString());
    bool ok = false;
    const int hours = m_hours->text().trimmed().toInt(&ok);
    m_sum->setText(price ? shown(*price * Decimal::fromInt(ok ? hours : 0)) : QString());
}

void HouseholdEntryWindow::pickWorker()
{
    if (const std::optional<WorkerPick> pick = m_pickers->worker()) {
        m_workerId = pick->id;
        m_worker->setText(pick->name.trimmed());
    }
}

void HouseholdEntryWindow::pickGroup()
{
    if (const std::optional<GroupPick> pick = m_pickers->group()) {
        m_groupId = pick->id;
        m_group->setText(pick->caption);
    }
}

void HouseholdEntryWindow::save()
{
    if (m_groupId == 0 || m_workerId == 0 || m_kind->currentIndex() < 0) {
        messages::error(this, kAllFields);
        return;
    }
    bool ok = false;
    const int hours = m_hours->text().trimmed().toInt(&ok);
    if (!ok || hours < 1) {
        messages::error(this, kHoursRequired);
        return;
    }
    const std::optional<Decimal> price = normPrice();
    if (!price) {
        messages::error(this, kNoPrice);
        return;
    }

    HouseholdRecord record;
    record.worker = m_workerId;
    record.kind = m_kind->currentData().toInt();
    record.group = m_groupId;
    record.date = m_journal.date;
    record.shift = m_journal.shift;
    record.hours = hours;
    record.dayOff = m_journal.dayOff;
    record.night = m_night->isChecked();
    record.price = HouseholdStore::finalPrice(*price, record.dayOff, record.night);

    const bool written = guarded(this, [&] {
        if (m_mode == NewRecord)
            m_store.insert(record);
        else
            m_store.change(m_recordId, record);
    });
    if (!written)
        return;
    m_saved = true;
    accept();
}

} // namespace kordel
