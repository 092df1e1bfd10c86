#include "brigade/referencepickwindows.h"

#include "brigade/referencepicks.h"
#include "household/householdjournalwindow.h"
#include "widgets/datagrid.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

// Shared with the distribution window.
const QString kNoHoursToDivide = u"Время равно 0: цену часа рассчитать невозможно!"_s;

namespace {

void fixedDialog(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
}

} // namespace

OperationPickWindow::OperationPickWindow(ReferencePicks &picks, QWidget *parent)
    : QDialog(parent), m_picks(picks)
{
    setObjectName(u"Form134"_s);
    setWindowTitle(u"Выбор операции (134)"_s);
    fixedDialog(this);
    auto *layout = new QVBoxLayout(this);
    m_grid =
        makeGrid(u"DBGrid2"_s,
                 {{u"p_fio"_s, u"Работник"_s},
                  {u"vid"_s, u"Операция"_s},
                  {u"f_summ"_s, u"Сумма (р.)"_s, Qt::AlignRight | Qt::AlignVCenter, false, formats::money},
                  {u"t_time"_s, u"Время (ч.)"_s, Qt::AlignRight | Qt::AlignVCenter}},
                 picks.journal(), this);
    layout->addWidget(m_grid, 1);
    auto *choose = makeButton(u"Button1"_s, u"Выбрать"_s, this, ButtonRole::Default);
    auto *exit = makeButton(u"Button2"_s, u"Выход"_s, this);
    m_byOperation = new QCheckBox(u"Отобразить операции"_s, this);
    m_byOperation->setObjectName(u"CheckBox1"_s);
    m_byOperation->setChecked(true);
    auto *row = buttonRow({choose, exit});
    row->addWidget(m_byOperation);
    layout->addLayout(row);

    connect(choose, &QPushButton::clicked, this, &OperationPickWindow::choose);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &OperationPickWindow::choose);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_byOperation, &QCheckBox::clicked, this, &OperationPickWindow::showOperations);
    setFixedSize(620, 420);
}

void OperationPickWindow::pick(int shift, const QDate &date, AddReference add)
{
    m_shift = shift;
    m_date = date;
    m_add = std::move(add);
    // The view chosen last time stays in force.
    if (!guarded(parentWidget(), [&] { m_picks.openJournal(m_byOperation->isChecked(), shift, date); }))
        return;
    m_grid->setFocus();
    exec();
    m_picks.journal().close();
}

void OperationPickWindow::showOperations(bool byOperation)
{
    guarded(this, [&] { m_picks.openJournal(byOperation, m_shift, m_date); });
}

void OperationPickWindow::choose()
{
    Dataset &list = m_picks.journal();
    if (!list.isOpen() || list.isEmpty())
        return;
    const int kind = m_byOperation->isChecked() ? list.intValue(u"v_id"_s) : 0;
    const std::optional<ReferenceRow> row = ReferencePicks::fromJournal(
        list.intValue(u"w_id"_s), kind, list.decimal(u"f_summ"_s), list.decimal(u"t_time"_s));
    if (!row) {
        messages::error(this, kNoHoursToDivide);
        return;
    }
    if (m_add && m_add(*row))
        accept();
}

AveragePickWindow::AveragePickWindow(ReferencePicks &picks, QWidget *parent) : QDialog(parent), m_picks(picks)
{
    setObjectName(u"Form135"_s);
    setWindowTitle(u"Среднесдельная (135)"_s);
    fixedDialog(this);
    auto *layout = new QVBoxLayout(this);
    m_grid = makeGrid(u"DBGrid1"_s, householdListColumns(), picks.household(), this);
    layout->addWidget(m_grid, 1);
    auto *choose = makeButton(u"Button5"_s, u"Выбрать"_s, this, ButtonRole::Default);
    auto *exit = makeButton(u"Button8"_s, u"Выход"_s, this);
    layout->addLayout(buttonRow({choose}, exit));
    connect(choose, &QPushButton::clicked, this, &AveragePickWindow::choose);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &AveragePickWindow::choose);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(760, 420);
}

void AveragePickWindow::pick(const QDate &date, AddReference add)
{
    m_add = std::move(add);
    if (!guarded(parentWidget(), [&] { m_picks.openHousehold(date); }))
        return;
    m_grid->setFocus();
    exec();
    m_picks.household().close();
}

void AveragePickWindow::choose()
{
    Dataset &list = m_picks.household();
    if (!list.isOpen() || list.isEmpty())
        return;
    const std::optional<ReferenceRow> row =
        ReferencePicks::fromHousehold(list.value(u"id_p"_s).toInt(), list.value(u"id_o"_s).toInt(),
                                      list.decimal(u"price"_s), list.intValue(u"cnt"_s));
    if (!row) {
        messages::error(this, kNoHoursToDivide);
        return;
    }
    if (m_add && m_add(*row))
        accept();
}

} // namespace kordel
