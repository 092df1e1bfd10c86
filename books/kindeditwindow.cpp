#include "books/kindeditwindow.h"

#include "db/dataset.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

KindEditWindow::KindEditWindow(DataModule &dataModule, QWidget *parent) : QDialog(parent), m_store(dataModule)
{
    setObjectName(u"Form9"_s);

    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(u"Вид операции"_s, this);
    group->setObjectName(u"GroupBox1"_s);
    auto *fields = new QFormLayout(group);
    m_name = new QLineEdit(group);
    m_name->setObjectName(u"Edit1"_s);
    m_name->setMaxLength(50);
    m_name->setMinimumWidth(280);
    fields->addRow(u"Операция"_s, m_name);
    layout->addWidget(group);

    auto *save = makeButton(u"Button1"_s, u"Записать"_s, this, ButtonRole::Default);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);
    layout->addLayout(dialogButtons(save, cancel));

    connect(save, &QPushButton::clicked, this, &KindEditWindow::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void KindEditWindow::prepareNew()
{
    setWindowTitle(u"Заведение нового вида операций"_s);
    m_mode = NewKind;
    m_kindId = 0;
    m_name->clear();
}

void KindEditWindow::prepareChange(int kindId, const QString &name)
{
    setWindowTitle(u"Изменение данных вида операции"_s);
    m_mode = ChangeKind;
    m_kindId = kindId;
    m_name->setText(name.trimmed());
}

void KindEditWindow::save()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        messages::error(this, u"Все поля должны быть заполнены!"_s);
        m_name->setFocus();
        return;
    }
    bool refused = false;
    int savedId = m_kindId;
    const bool written = guarded(this, [&] {
        if (m_mode == NewKind) {
            refused = !messages::passes(this, m_store.checkNewName(name));
            if (!refused)
                savedId = m_store.add(name);
        } else {
            refused = !messages::passes(this, m_store.checkRename(m_kindId, name));
            if (!refused)
                m_store.rename(m_kindId, name);
        }
    });
    if (!written || refused) {
        m_name->setFocus();
        return;
    }
    // The list shows the kind just written.
    guarded(this, [&] {
        Dataset &list = m_store.kinds();
        list.open();
        list.locate(u"id"_s, savedId);
    });
    accept();
}

bool KindEditWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        m_name->setFocus();
    return QDialog::event(event);
}

} // namespace kordel
