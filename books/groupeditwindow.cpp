#include "books/groupeditwindow.h"

#include "books/groupsstore.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

GroupEditWindow::GroupEditWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_store(std::make_unique<GroupsStore>(dataModule))
{
    setObjectName(u"Form29"_s);
    setWindowTitle(u"Ведение групп (29)"_s);

    auto *box = new QGroupBox(u"Номенклатурная группа"_s, this);
    box->setObjectName(u"GroupBox1"_s);
    m_caption = new QLineEdit(box);
    m_caption->setObjectName(u"Edit1"_s);
    m_caption->setMaxLength(254);
    m_excluded = new QCheckBox(u"Не используется"_s, box);
    m_excluded->setObjectName(u"CheckBox1"_s);
    auto *fields = new QVBoxLayout(box);
    fields->addWidget(new QLabel(u"Наименование"_s, box));
    fields->addWidget(m_caption);
    fields->addWidget(m_excluded);

    auto *write = makeButton(u"Button1"_s, u"Записать"_s, this, ButtonRole::Default);
    auto *exit = makeButton(u"Button2"_s, u"Выход"_s, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(dialogButtons(write, exit));
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));

    connect(write, &QPushButton::clicked, this, &GroupEditWindow::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

GroupEditWindow::~GroupEditWindow() = default;

bool GroupEditWindow::addGroup()
{
    m_mode = NewGroup;
    m_id = 0;
    m_caption->clear();
    // A new group is in use unless the user says otherwise.
    m_excluded->setChecked(false);
    return run();
}

bool GroupEditWindow::changeGroup(int id, const QString &caption, bool excluded)
{
    m_mode = ChangeGroup;
    m_id = id;
    m_caption->setText(caption);
    m_excluded->setChecked(excluded);
    return run();
}

bool GroupEditWindow::run()
{
    return exec() == QDialog::Accepted;
}

void GroupEditWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - rect().center());
    m_caption->setFocus();
}

void GroupEditWindow::save()
{
    guarded(this, [this] {
        if (m_mode == ChangeGroup)
            m_store->change(m_id, m_caption->text(), m_excluded->isChecked());
        else
            m_store->add(m_caption->text(), m_excluded->isChecked());
        accept();
    });
}

} // namespace kordel
