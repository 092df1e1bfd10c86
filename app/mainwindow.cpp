#include "app/mainwindow.h"

#include "core/datamodule.h"
#include "widgets/datagrid.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

const QColor kGreen(0x00, 0x80, 0x00);
const QColor kRed(0xff, 0x00, 0x00);

QList<GridColumn> journalColumns()
{
    const auto centred = Qt::AlignCenter;
    return {
        {u"fio"_s, u"Фамилия И.О."_s},
        {u"marka"_s, u"Марка изделия"_s},
        {u"vid"_s, u"Операция"_s},
        {u"nmn"_s, u"Вид"_s},
        {u"color"_s, u"Цвет"_s, centred},
        {u"time"_s, u"Часы"_s},
        {u"kol_vo"_s, u"Кол-во"_s, Qt::AlignLeft | Qt::AlignVCenter, false, formats::number},
        {u"brak"_s, u"Брак"_s},
        {u"summa"_s, u"Итого (р.)"_s, Qt::AlignLeft | Qt::AlignVCenter, false, formats::money},
        {u"prize"_s, u"Премия (%)"_s, Qt::AlignLeft | Qt::AlignVCenter, true, formats::number},
        {u"ok"_s, u"OK"_s, centred},
        {u"vvod"_s, u"Заведен"_s, centred},
    };
}

QAction *item(QMenu *menu, const QString &name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

} // namespace

MainWindow::MainWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_acceptance(dataModule),
      m_today([] { return QDate::currentDate(); })
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Табель"_s);
    buildControls();
    buildMenus();
    m_currentJournal = &m_data.journal(1);
    m_session.setJournal(this);
    showShift(1);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::focusMoved);
    resize(1160, 640);
    setFixedSize(size());
}

void MainWindow::buildControls()
{
    auto *layout = new QVBoxLayout(this);

    auto *strip = new QHBoxLayout;
    m_dayOff = new QCheckBox(u"Выходной"_s, this);
    m_dayOff->setObjectName(u"CBox1"_s);
    m_dayOff->setAutoFillBackground(true);
    connect(m_dayOff, &QCheckBox::toggled, this, &MainWindow::markDayOff);
    strip->addWidget(m_dayOff);

    m_date = new QDateEdit(this);
    m_date->setObjectName(u"DateT"_s);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(u"dd.MM.yyyy"_s);
    m_date->installEventFilter(this);
    connect(m_date->calendarWidget(), &QCalendarWidget::clicked, this, &MainWindow::chooseDate);
    connect(m_date->calendarWidget(), &QCalendarWidget::activated, this, &MainWindow::chooseDate);
    strip->addWidget(m_date);

    const QStringList shiftTexts{u"Смена №1"_s, u"Смена №2"_s, u"Смена №3"_s, u"Переработка"_s};
    for (int i = 0; i < 4; ++i) {
        auto *radio = new QRadioButton(shiftTexts[i], this);
        radio->setObjectName(u"RadioButton"_s + QString::number(i + 1));
        connect(radio, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                showShift(i + 1);
        });
        m_shiftButtons[i] = radio;
        strip->addWidget(radio);
    }
    strip->addStretch();
    layout->addLayout(strip);

    m_grid = new DataGrid(journalColumns(), this);
    m_grid->setObjectName(u"DBGrid2"_s);
    m_grid->datasetModel()->setStyler([](const Dataset &ds, int row, const GridColumn &column, int role) {
        if (column.field != u"ok"_s)
            return QVariant();
        const QString mark = ds.valueAt(row, u"ok"_s).toString();
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return QVariant(bold);
        }
        if (role == Qt::ForegroundRole)
            return QVariant(mark == u"ok"_s || mark == u"да"_s ? kGreen : kRed);
        return QVariant();
    });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &MainWindow::toggleAcceptance);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *changeTime = new QAction(u"Изменить время"_s, m_grid);
    changeTime->setObjectName(u"MenuItem1"_s);
    m_grid->addAction(changeTime);
    layout->addWidget(m_grid, 1);

    auto *bottom = new QHBoxLayout;
    auto *add = makeButton(u"Button1"_s, u"Добавить"_s, this);
    add->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *copy = new QAction(u"Копия"_s, add);
    copy->setObjectName(u"N21"_s);
    add->addAction(copy);
    bottom->addWidget(add);
    bottom->addWidget(makeButton(u"Button2"_s, u"Изменить"_s, this));
    bottom->addWidget(makeButton(u"Button3"_s, u"Удалить"_s, this));
    bottom->addWidget(makeButton(u"Button7"_s, u"Бригада"_s, this));
    bottom->addWidget(makeButton(u"Button6"_s, u"Покраска"_s, this));
    bottom->addStretch();
    auto *refreshButton = makeButton(u"Button8"_s, u"Обновить"_s, this);
    connect(refreshButton, &QPushButton::clicked, this, &MainWindow::refresh);
    bottom->addWidget(refreshButton);
    bottom->addWidget(makeButton(u"Button5"_s, u"Ср.сд./хоз. работы"_s, this));
    auto *exitButton = makeButton(u"Button4"_s, u"Выход"_s, this);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(exitButton);
    layout->addLayout(bottom);
}

void MainWindow::buildMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);

    QMenu *books = bar->addMenu(u"Справочники"_s);
    books->setObjectName(u"N2"_s);
    item(books, u"N1"_s, u"Рабочие"_s);
    item(books, u"N3"_s, u"Изделия"_s);
    item(books, u"N4"_s, u"Цены"_s);
    item(books, u"N6"_s, u"Операции"_s);
    item(books, u"N8"_s, u"Ном. группы"_s);

    QMenu *sheets = bar->addMenu(u"Табель"_s);
    sheets->setObjectName(u"N11"_s);
    item(sheets, u"N9"_s, u"Табель сделка"_s);
    item(sheets, u"N13"_s, u"Табель по сменам"_s);
    QMenu *household = sheets->addMenu(u"Табель хоз. работ"_s);
    household->setObjectName(u"HouseholdSheets"_s);
    item(household, u"N20"_s, u"По людям"_s);
    item(household, u"N22"_s, u"По номенклатуре"_s);
    QMenu *average = sheets->addMenu(u"Табель ср. сдельная"_s);
    average->setObjectName(u"AverageSheets"_s);
    item(average, u"N18"_s, u"По людям"_s);
    item(average, u"N19"_s, u"По номенклатуре"_s);
    item(sheets, u"N17"_s, u"Общий табель"_s);
    item(sheets, u"N23"_s, u"Общий табель ЗП"_s);

    QMenu *reports = bar->addMenu(u"Отчеты"_s);
    reports->setObjectName(u"N7"_s);
    item(reports, u"N10"_s, u"Сводные отчеты"_s);

    QAction *exitItem = bar->addAction(u"Выход"_s);
    exitItem->setObjectName(u"N5"_s);
    connect(exitItem, &QAction::triggered, this, &QDialog::reject);

    // Maintenance commands no role sees.
    QAction *import = bar->addAction(u"Импорт"_s);
    import->setObjectName(u"N12"_s);
    import->setVisible(false);
    QAction *structure = bar->addAction(u"Структура БД"_s);
    structure->setObjectName(u"N16"_s);
    structure->setVisible(false);
}

QAction *MainWindow::menuAction(const QString &name) const
{
    return findChild<QAction *>(name);
}

void MainWindow::setCurrentShift(int shift)
{
    Q_ASSERT(shift >= 1 && shift <= 4);
    if (m_shiftButtons[shift - 1]->isChecked())
        showShift(shift);
    else
        m_shiftButtons[shift - 1]->setChecked(true);
}

QDate MainWindow::journalDate() const
{
    return m_date->date();
}

bool MainWindow::isDayOff() const
{
    return m_dayOff->isChecked();
}

Dataset &MainWindow::currentJournal()
{
    return *m_currentJournal;
}

Dataset &MainWindow::journalOfShift() const
{
    return m_data.journal(m_shift);
}

void MainWindow::showShift(int shift)
{
    m_shift = shift;
    m_grid->setDataset(&m_data.journal(shift));
    for (int i = 0; i < 4; ++i) {
        m_shiftButtons[i]->setStyleSheet(i == shift - 1 ? u"QRadioButton { background-color: #008000; "
                                                          "font-weight: bold; }"_s
                                                        : QString());
    }
}

void MainWindow::markDayOff(bool ticked)
{
    m_dayOff->setStyleSheet(ticked ? u"QCheckBox { background-color: #ff0000; font-weight: bold; }"_s
                                   : QString());
}

void MainWindow::readAllShifts()
{
    for (int shift = 1; shift <= 4; ++shift)
        m_data.journal(shift).close();
    for (int shift = 1; shift <= 4; ++shift) {
        Dataset &journal = m_data.journal(shift);
        journal.setParam(u"data"_s, m_date->date());
        journal.open();
    }
}

void MainWindow::activateJournal()
{
    const QDate today = m_today();
    m_date->setDate(today);
    if (journal::isWeekend(today))
        m_dayOff->setChecked(true);
    guarded(this, [this] { readAllShifts(); });
}

void MainWindow::chooseDate(const QDate &date)
{
    m_date->setDate(date);
    {
        BusyCursor busy;
        guarded(this, [this] { readAllShifts(); });
    }
    m_dayOff->setChecked(journal::isWeekend(date));
    m_grid->setFocus();
}

void MainWindow::refresh()
{
    BusyCursor busy;
    guarded(this, [this] {
        for (int shift = 1; shift <= 4; ++shift)
            m_data.journal(shift).close();
        for (int shift = 1; shift <= 4; ++shift)
            m_data.journal(shift).open();
    });
}

void MainWindow::toggleAcceptance()
{
    if (!mayToggleAcceptance(m_session.role()))
        return;
    selectCurrentJournal();
    Dataset &journal = *m_currentJournal;
    if (journal.isEmpty())
        return;
    guarded(this, [&journal, this] {
        const int recNo = journal.recNo();
        m_acceptance.toggle(journal.intValue(u"id"_s), journal.text(u"ok"_s));
        journal.close();
        journal.reopenAt(recNo);
    });
}

// The journal is read afresh when the user comes back to it from another
// window of the program, not when the whole program regains the focus from
// another application.
void MainWindow::focusMoved(QWindow *now)
{
    if (now && now == windowHandle() && m_lastFocus && m_lastFocus != now)
        activateJournal();
    m_lastFocus = now;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_date && event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseDate(m_date->date());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kordel
