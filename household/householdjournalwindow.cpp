#include "household/householdjournalwindow.h"

#include "core/journalrules.h"
#include "household/householdentrywindow.h"
#include "household/householdstore.h"
#include "widgets/datagrid.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

QList<GridColumn> householdListColumns()
{
    return {{u"fio"_s, u"ФИО"_s},
            {u"s_caption"_s, u"Номенклатура"_s},
            {u"vid"_s, u"Работа"_s},
            {u"price"_s, u"Цена"_s, Qt::AlignRight | Qt::AlignVCenter, false, formats::number},
            {u"cnt"_s, u"Кол-во"_s, Qt::AlignRight | Qt::AlignVCenter},
            {u"summ"_s, u"Итого"_s, Qt::AlignRight | Qt::AlignVCenter, false, formats::number},
            {u"s_holiday"_s, u"Вых."_s, Qt::AlignCenter},
            {u"s_night"_s, u"Ноч."_s, Qt::AlignCenter}};
}

HouseholdJournalWindow::HouseholdJournalWindow(HouseholdStore &store, HouseholdEntryWindow &entry,
                                               QWidget *parent)
    : QDialog(parent), m_store(store), m_entry(entry)
{
    setObjectName(u"Form25"_s);
    setWindowTitle(u"Хоз. работы (25)"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_date = new QDateEdit(this);
    m_date->setObjectName(u"DTPcker1"_s);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(u"dd.MM.yyyy"_s);
    m_dayOff = new QCheckBox(u"Выходной"_s, this);
    m_dayOff->setObjectName(u"CBox1"_s);
    top->addWidget(m_date);
    top->addWidget(m_dayOff);
    top->addStretch();
    layout->addLayout(top);

    m_grid = makeGrid(u"DBGrid1"_s, householdListColumns(), m_store.list(), this);
    layout->addWidget(m_grid, 1);

    auto *add = makeButton(u"Button5"_s, u"Добавить"_s, this);
    auto *change = makeButton(u"Button6"_s, u"Изменить"_s, this);
    auto *remove = makeButton(u"Button7"_s, u"Удалить"_s, this);
    auto *average = makeButton(u"Button1"_s, u"Расчитать ср.сд."_s, this);
    auto *exit = makeButton(u"Button8"_s, u"Выход"_s, this);
    layout->addLayout(buttonRow({add, change, remove, average}, exit));

    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (!m_settingDate)
            chooseDate(date);
    });
    connect(m_dayOff, &QCheckBox::toggled, this, &HouseholdJournalWindow::markDayOff);
    connect(add, &QPushButton::clicked, this, &HouseholdJournalWindow::addRecord);
    connect(change, &QPushButton::clicked, this, &HouseholdJournalWindow::changeRecord);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &HouseholdJournalWindow::changeRecord);
    connect(remove, &QPushButton::clicked, this, &HouseholdJournalWindow::deleteRecord);
    connect(average, &QPushButton::clicked, this, &HouseholdJournalWindow::computeAverageRate);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(760, 460);
}

QDate HouseholdJournalWindow::date() const
{
    return m_date->date();
}

bool HouseholdJournalWindow::isDayOff() const
{
    return m_dayOff->isChecked();
}

void HouseholdJournalWindow::open(const QDate &date)
{
    m_settingDate = true;
    m_date->setDate(date);
    m_settingDate = false;
    reload();
    m_grid->setFocus();
    exec();
    m_store.list().close();
}

void HouseholdJournalWindow::reload()
{
    m_shift = 1;
    guarded(this, [this] { m_store.openList(m_date->date()); });
}

void HouseholdJournalWindow::chooseDate(const QDate &date)
{
    if (m_date->date() != date) {
        m_settingDate = true;
        m_date->setDate(date);
        m_settingDate = false;
    }
    m_dayOff->setChecked(journal::isWeekend(date));
    reload();
}

void HouseholdJournalWindow::markDayOff(bool ticked)
{
    m_dayOff->setStyleSheet(ticked ? u"QCheckBox { background-color: #ff0000; font-weight: bold; }"_s
                                   : QString());
}

void HouseholdJournalWindow::addRecord()
{
    Dataset &list = m_store.list();
    const int recNo = list.recNo();
    m_entry.openNew({m_date->date(), m_dayOff->isChecked(), m_shift});
    guarded(this, [&] { list.reopenAt(recNo); });
}

void HouseholdJournalWindow::changeRecord()
{
    Dataset &list = m_store.list();
    if (!list.isOpen() || list.isEmpty())
        return;
    const int recNo = list.recNo();
    HouseholdCurrent current;
    current.id = list.intValue(u"id"_s);
    current.worker = list.value(u"id_p"_s).toInt();
    current.workerName = list.text(u"fio"_s);
    current.group = list.value(u"id_nom"_s).toLongLong();
    current.groupName = list.text(u"s_caption"_s);
    current.kind = list.value(u"id_o"_s).toInt();
    current.hours = list.intValue(u"cnt"_s);
    current.night = list.intValue(u"i_night"_s) != 0;
    m_entry.openChange({m_date->date(), m_dayOff->isChecked(), m_shift}, current);
    guarded(this, [&] { list.reopenAt(recNo); });
}

void HouseholdJournalWindow::deleteRecord()
{
    Dataset &list = m_store.list();
    if (!list.isOpen() || list.isEmpty())
        return;
    if (!messages::askDelete(this, u"Удалить позицию из списка?"_s))
        return;
    const int recNo = list.recNo();
    const int id = list.intValue(u"id"_s);
    guarded(this, [&] {
        m_store.remove(id);
        list.reopenAt(recNo);
    });
}

void HouseholdJournalWindow::computeAverageRate()
{
    Dataset &list = m_store.list();
    const int recNo = list.recNo();
    BusyCursor busy;
    const QDate day = m_date->date();
    guarded(this, [&] {
        m_store.computeAveragePiecework(day.month(), day.year());
        list.reopenAt(recNo);
    });
}

} // namespace kordel
