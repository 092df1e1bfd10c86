#include "books/workereditwindow.h"

#include "core/datamodule.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

// Refills a look-up from its dataset, keeping the row chosen before when it
// is still there.
void fill(QComboBox *box, Dataset &list)
{
    const QVariant chosen = box->currentData();
    const QSignalBlocker blocker(box);
    box->clear();
    for (int row = 0; row < list.recordCount(); ++row)
        box->addItem(list.valueAt(row, u"s_caption"_s).toString(), list.valueAt(row, u"id"_s));
    box->setCurrentIndex(chosen.isValid() ? box->findData(chosen) : -1);
}

QComboBox *lookupBox(const QString &name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMaxVisibleItems(10);
    box->setMinimumContentsLength(30);
    return box;
}

} // namespace

WorkerEditWindow::WorkerEditWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_store(dataModule), m_lookups(dataModule.connectionName())
{
    setObjectName(u"Form2"_s);

    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(u"Данные о работнике"_s, this);
    group->setObjectName(u"GroupBox1"_s);
    auto *fields = new QFormLayout(group);
    m_name = new QLineEdit(group);
    m_name->setObjectName(u"Edit1"_s);
    m_name->setMaxLength(254);
    m_position = lookupBox(u"DBLookupComboBox1"_s, group);
    m_department = lookupBox(u"DBLookupComboBox2"_s, group);
    m_role = lookupBox(u"DBLookupComboBox3"_s, group);
    fields->addRow(u"ФИО"_s, m_name);
    fields->addRow(u"Должность"_s, m_position);
    fields->addRow(u"Подразделение"_s, m_department);
    fields->addRow(u"Роль"_s, m_role);
    layout->addWidget(group);

    auto *save = makeButton(u"Button1"_s, u"Записать"_s, this, ButtonRole::Default);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);
    layout->addLayout(dialogButtons(save, cancel));

    connect(save, &QPushButton::clicked, this, &WorkerEditWindow::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Anywhere over the card the wheel turns the look-up that has the
    // focus, not the one under the mouse.
    const auto children = findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child->window() == this) // an open drop-down list scrolls as usual
            child->installEventFilter(this);
    }
}

void WorkerEditWindow::prepareNew()
{
    setWindowTitle(u"Заведение данных нового работника"_s);
    m_mode = NewWorker;
    m_workerId = 0;
    m_storedPosition.clear();
    m_name->clear();
    reloadLookups();
}

void WorkerEditWindow::prepareChange(int workerId, const QString &name, const QString &position)
{
    setWindowTitle(u"Изменение данных работника"_s);
    m_mode = ChangeWorker;
    m_workerId = workerId;
    m_storedPosition = position;
    m_name->setText(name.trimmed());
    reloadLookups();
    // Renaming a worker must not wipe the position he has: the box shows it
    // when it names a department and nothing otherwise, never the choice
    // left from the worker shown before; saving with nothing chosen keeps
    // the stored text.
    m_department->setCurrentIndex(m_department->findText(position));
}

void WorkerEditWindow::reloadLookups()
{
    m_lookups.reload();
    fill(m_position, m_lookups.positions());
    fill(m_department, m_lookups.departments());
    fill(m_role, m_lookups.roles());
}

QString WorkerEditWindow::departmentText() const
{
    return m_department->currentIndex() < 0 ? QString() : m_department->currentText();
}

void WorkerEditWindow::save()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        messages::error(this, u"ФИО нужно заполнить!"_s);
        m_name->setFocus();
        return;
    }
    const bool written = guarded(this, [&] {
        if (m_mode == NewWorker)
            m_workerId = m_store.add(name, departmentText());
        else
            m_store.change(m_workerId, name,
                           m_department->currentIndex() < 0 ? m_storedPosition : departmentText());
    });
    if (written)
        accept();
}

bool WorkerEditWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        m_name->setFocus();
    return QDialog::event(event);
}

bool WorkerEditWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        const bool turned = turnFocusedLookup(static_cast<QWheelEvent *>(event)->angleDelta().y());
        // A look-up without the focus never turns under the mouse.
        const bool overLookup = watched == m_position || watched == m_department || watched == m_role;
        if (turned || overLookup)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void WorkerEditWindow::wheelEvent(QWheelEvent *event)
{
    if (!turnFocusedLookup(event->angleDelta().y()))
        QDialog::wheelEvent(event);
}

bool WorkerEditWindow::turnFocusedLookup(int angleDelta)
{
    QWidget *focused = focusWidget();
    QComboBox *box = nullptr;
    for (QComboBox *candidate : {m_position, m_department, m_role}) {
        if (candidate == focused)
            box = candidate;
    }
    if (!box) {
        m_wheelRest = 0;
        return false;
    }
    // One arrow key per wheel step; fine-grained wheels add up to a step.
    m_wheelRest += angleDelta;
    const int steps = m_wheelRest / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRest %= QWheelEvent::DefaultDeltasPerStep;
    const Qt::Key key = steps > 0 ? Qt::Key_Up : Qt::Key_Down;
    for (int i = 0; i < qAbs(steps); ++i) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
    }
    return true;
}

} // namespace kordel
