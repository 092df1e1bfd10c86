#include "brigade/distributionwindow.h"

#include "books/workerswindow.h"
#include "brigade/referencepickwindows.h"
#include "core/datamodule.h"
#include "core/journalcontext.h"
#include "widgets/datagrid.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

class BookPicker : public PaidWorkerPicker
{
public:
    explicit BookPicker(WorkersWindow &workers) : m_workers(workers) {}
    std::optional<WorkerPick> paidWorker() override
    {
        return m_workers.pick(WorkersWindow::DistributionWorker);
    }

private:
    WorkersWindow &m_workers;
};

QLabel *label(const QString &name, const QString &caption, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

const QString kListTaken =
    u"Список распределения этого работника уже заполняется на другом рабочем месте. Выберите его позже."_s;
const QString kHoursWorkedRequired = u"Нужно указать отработанное время!"_s;

} // namespace

DistributionWindow::DistributionWindow(DataModule &dataModule, JournalContext &journal,
                                       WorkersWindow &workers, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_journal(journal), m_store(dataModule), m_picks(dataModule),
      m_bookPicker(std::make_unique<BookPicker>(workers)), m_picker(m_bookPicker.get())
{
    setObjectName(u"Form33"_s);
    setWindowTitle(u"Оператор рокраски (33)"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    m_operationPick = std::make_unique<OperationPickWindow>(m_picks, this);
    m_averagePick = std::make_unique<AveragePickWindow>(m_picks, this);
}

DistributionWindow::~DistributionWindow() = default;

void DistributionWindow::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *frame = new QGroupBox(u"Закрыто мастером"_s, this);
    frame->setObjectName(u"GroupBox1"_s);
    auto *fields = new QGridLayout(frame);

    m_worker = new QLineEdit(frame);
    m_worker->setObjectName(u"Edit1"_s);
    m_worker->setReadOnly(true);
    auto *workerButton = makeButton(u"Button3"_s, u"..."_s, frame);
    m_money = new QLineEdit(frame);
    m_money->setObjectName(u"DBEdit1"_s);
    m_hours = new QLineEdit(frame);
    m_hours->setObjectName(u"DBEdit2"_s);
    for (QLineEdit *field : {m_money, m_hours})
        field->setReadOnly(true);
    m_worked = new QLineEdit(frame);
    m_worked->setObjectName(u"Edit2"_s);
    m_worked->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_worked));
    m_worked->setMaxLength(6);
    m_rate = label(u"Label5"_s, u"0"_s, frame);
    m_pay = label(u"Label7"_s, u"0"_s, frame);

    int row = 0;
    fields->addWidget(label(u"Label1"_s, u"ФИО"_s, frame), row, 0);
    fields->addWidget(m_worker, row, 1, 1, 3);
    fields->addWidget(workerButton, row++, 4);
    fields->addWidget(label(u"Label2"_s, u"Сумма (р.)"_s, frame), row, 0);
    fields->addWidget(m_money, row, 1);
    fields->addWidget(label(u"Label3"_s, u"Время (ч.)"_s, frame), row, 2);
    fields->addWidget(m_hours, row++, 3);
    fields->addWidget(label(u"Label6"_s, u"Отработано (ч.)"_s, frame), row, 0);
    fields->addWidget(m_worked, row++, 1);
    fields->addWidget(label(u"Label4"_s, u"Цена часса (р.):"_s, frame), row, 0);
    fields->addWidget(m_rate, row, 1);
    fields->addWidget(label(u"Label8"_s, u"ИТОГО:"_s, frame), row, 2);
    fields->addWidget(m_pay, row++, 3);
    top->addWidget(frame, 1);

    auto *side = new QVBoxLayout;
    m_average = makeButton(u"Button5"_s, u"Ср. сдельная"_s, this);
    m_remove = makeButton(u"Button7"_s, u"Удалить"_s, this);
    m_brigade = makeButton(u"Button4"_s, u"Бригада"_s, this);
    m_hanging = makeButton(u"Button6"_s, u"Навеска"_s, this);
    for (QPushButton *b : {m_average, m_remove, m_brigade, m_hanging})
        side->addWidget(b);
    side->addStretch();
    top->addLayout(side);
    layout->addLayout(top);

    m_grid =
        makeGrid(u"DBGrid1"_s,
                 {{u"w_fio"_s, u"ФИО"_s},
                  {u"vid"_s, u"Операция"_s},
                  {u"f_time"_s, u"Время (ч.)"_s, Qt::AlignRight | Qt::AlignVCenter, false, formats::number},
                  {u"f_count"_s, u"Сумма (р.)"_s, Qt::AlignRight | Qt::AlignVCenter, false, formats::money}},
                 m_store.list(), this);
    layout->addWidget(m_grid, 1);

    auto *save = makeButton(u"Button1"_s, u"Сохранить"_s, this, ButtonRole::Default);
    auto *exit = makeButton(u"Button2"_s, u"Выход"_s, this);
    layout->addLayout(dialogButtons(save, exit));

    connect(workerButton, &QPushButton::clicked, this, &DistributionWindow::pickPaidWorker);
    connect(m_brigade, &QPushButton::clicked, this, &DistributionWindow::pickFromJournal);
    connect(m_hanging, &QPushButton::clicked, this, &DistributionWindow::pickHanging);
    connect(m_average, &QPushButton::clicked, this, &DistributionWindow::pickHousehold);
    connect(m_remove, &QPushButton::clicked, this, &DistributionWindow::removeRow);
    connect(save, &QPushButton::clicked, this, &DistributionWindow::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_worked, &QLineEdit::textChanged, this, &DistributionWindow::recompute);
    setFixedSize(sizeHint().expandedTo(QSize(640, 460)));
}

void DistributionWindow::setPicker(PaidWorkerPicker *picker)
{
    m_picker = picker ? picker : m_bookPicker.get();
}

void DistributionWindow::setPickButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {m_average, m_remove, m_brigade, m_hanging})
        b->setEnabled(enabled);
}

void DistributionWindow::open(Distribution kind)
{
    m_kind = kind;
    setWindowTitle(kind == Distribution::Painting ? u"Оператор покраски (134)"_s
                                                  : u"Подсобный рабочий (134)"_s);
    m_worker->clear();
    {
        const QSignalBlocker block(m_worked);
        m_worked->setText(u"8"_s);
    }
    m_rate->setText(u"0"_s);
    m_pay->setText(u"0"_s);
    m_money->clear();
    m_hours->clear();
    m_store.list().close();
    m_store.totals().close();
    setPickButtonsEnabled(false);
    exec();
}

void DistributionWindow::pickPaidWorker()
{
    const std::optional<WorkerPick> pick = m_picker->paidWorker();
    // Without a choice the worker picked before stays, with his list cleared.
    const int candidate = pick ? pick->id : m_store.paidWorker();
    if (candidate == 0)
        return;
    guarded(this, [&] {
        if (!m_store.take(candidate)) {
            messages::error(this, kListTaken);
            return;
        }
        if (pick)
            m_worker->setText(pick->name.trimmed());
        m_store.reopen();
        m_money->clear();
        m_hours->clear();
        setPickButtonsEnabled(true);
    });
}

void DistributionWindow::pickFromJournal()
{
    if (m_store.paidWorker() == 0)
        return;
    m_operationPick->pick(m_journal.currentShift(), m_journal.journalDate(), [this](const ReferenceRow &row) {
        return addReference(m_operationPick.get(), row);
    });
}

void DistributionWindow::pickHanging()
{
    if (m_store.paidWorker() == 0)
        return;
    // The rate shown follows the new coefficient even when the pick is
    // left without a choice: "Сохранить" pays by it.
    m_kind = Distribution::Hanging;
    recompute();
    pickFromJournal();
}

void DistributionWindow::pickHousehold()
{
    if (m_store.paidWorker() == 0)
        return;
    m_averagePick->pick(m_journal.journalDate(),
                        [this](const ReferenceRow &row) { return addReference(m_averagePick.get(), row); });
}

bool DistributionWindow::addReference(QWidget *pickWindow, const ReferenceRow &row)
{
    bool inserted = true;
    try {
        m_store.add(row);
    } catch (const DbError &) {
        messages::error(pickWindow, u"Невозможно сохранить данные в БД!"_s);
        inserted = false;
    }
    guarded(pickWindow, [this] { m_store.reopen(); });
    if (inserted)
        recompute();
    return inserted;
}

void DistributionWindow::removeRow()
{
    Dataset &list = m_store.list();
    if (!list.isOpen() || list.isEmpty())
        return;
    if (!messages::askDelete(this, u"Удалить позицию из списка?"_s))
        return;
    const int id = list.intValue(u"id"_s);
    guarded(this, [&] {
        m_store.removeRow(id);
        m_store.reopen();
    });
    recompute();
}

void DistributionWindow::recompute()
{
    const std::optional<DistributionStore::Totals> totals = m_store.currentTotals();
    m_money->setText(totals ? totals->money.toString(2) : QString());
    m_hours->setText(totals ? totals->hours.toString() : QString());
    const QString worked = m_worked->text().trimmed();
    if (!totals || worked.isEmpty())
        return;
    const std::optional<distribution::Pay> pay =
        distribution::compute(totals->money, totals->hours, worked.toInt(), m_kind);
    if (!pay) {
        messages::error(this, kNoHoursToDivide);
        return;
    }
    m_rate->setText(pay->rate.toString());
    m_pay->setText(pay->pay.toString());
}

void DistributionWindow::save()
{
    const std::optional<DistributionStore::Totals> totals = m_store.currentTotals();
    if (!totals) {
        accept();
        return;
    }
    const QString worked = m_worked->text().trimmed();
    if (worked.isEmpty()) {
        messages::error(this, kHoursWorkedRequired);
        return;
    }
    const std::optional<distribution::Pay> pay =
        distribution::compute(totals->money, totals->hours, worked.toInt(), m_kind);
    if (!pay) {
        messages::error(this, kNoHoursToDivide);
        return;
    }
    const bool saved = guarded(this, [&] {
        m_store.save(m_kind, pay->pay, worked.toInt(), m_journal.journalDate(), m_journal.currentShift());
    });
    if (!saved)
        return;
    if (m_kind == Distribution::Hanging) {
        for (int shift = 1; shift <= 3; ++shift)
            m_data.hoursSheet(shift).close();
    }
    accept();
}

void DistributionWindow::done(int result)
{
    guarded(this, [this] { m_store.release(); });
    QDialog::done(result);
}

} // namespace kordel
