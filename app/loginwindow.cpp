#include "app/loginwindow.h"

#include "app/mainwindow.h"
#include "core/datamodule.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

LoginWindow::LoginWindow(MainWindow &journal, DataModule &dataModule, const BuildStamp &build,
                         QWidget *parent)
    : QDialog(parent), m_journal(journal), m_data(dataModule), m_build(build)
{
    setObjectName(u"Form23"_s);
    setWindowTitle(u"Авторизация"_s);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Код доступа"_s, this));
    m_code = new QLineEdit(this);
    m_code->setObjectName(u"Edit1"_s);
    m_code->setEchoMode(QLineEdit::Password);
    layout->addWidget(m_code);

    auto *enter = makeButton(u"Button1"_s, u"Вход"_s, this, ButtonRole::Default);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);
    layout->addLayout(dialogButtons(enter, cancel));

    connect(enter, &QPushButton::clicked, this, &LoginWindow::submit);
    // Escape rejects the dialog, as "Отмена" does: the program ends.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));

    m_enter = [this] { enterJournal(); };
}

bool LoginWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activateLogin();
    return QDialog::event(event);
}

void LoginWindow::activateLogin()
{
    // Closing the error box activates this window again: a stamp that failed
    // is told once, and the window stays usable (Escape ends the program).
    if (!m_stampFailed) {
        m_stampFailed = true;
        m_stampFailed = !guarded(this, [this] { m_data.recordBuildStamp(m_build); });
    }
    m_journal.setBuildStamp(m_build);
    setWindowTitle(u"Авторизация (build: "_s + m_build.text() + u')');
    m_journal.setWindowTitle(m_journal.buildCaption());
}

void LoginWindow::submit()
{
    const QString code = m_code->text().trimmed();
    m_journal.setCurrentShift(1);
    m_journal.setRoleText(code);
    m_role = roleForCode(code);

    // The "Табель" menu follows every attempt, refused ones included.
    applyRestrictions(m_role, &m_journal);
    for (int shift = 1; shift <= 4; ++shift)
        m_data.journal(shift).setParam(u"ok"_s, journalHiddenMark());

    if (m_role == Role::None) {
        messages::error(this, u"Введены неверные данные."_s);
        return;
    }
    for (const auto &window : std::as_const(m_restricted))
        applyRestrictions(m_role, window);
    m_enter();
}

void LoginWindow::enterJournal()
{
    hide();
    m_journal.exec();
    accept(); // finishing the login window ends the program
}

} // namespace kordel
