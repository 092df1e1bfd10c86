#pragma once

#include "core/buildstamp.h"
#include "widgets/restrictions.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

class QLineEdit;

namespace kordel {

class DataModule;
class MainWindow;

// The login window (Form23): one code decides the role; the journal window
// is then shown modally from here, and closing it ends the program.
class LoginWindow : public QDialog
{
    Q_OBJECT

public:
    LoginWindow(MainWindow &journal, DataModule &dataModule, const BuildStamp &build,
                QWidget *parent = nullptr);

    // Windows besides the journal whose controls a role restricts.
    void addRestrictedWindow(QWidget *window) { m_restricted << window; }
    // What a successful login does; by default shows the journal modally and
    // finishes this window afterwards, which ends the program.  Tests replace it.
    void setEnterAction(std::function<void()> enter) { m_enter = std::move(enter); }

    // Activation: records the build in the database and sets both captions.
    void activateLogin();
    // "Вход"
    void submit();
    Role role() const { return m_role; }

protected:
    bool event(QEvent *event) override;

private:
    void enterJournal();

    MainWindow &m_journal;
    DataModule &m_data;
    BuildStamp m_build;
    QLineEdit *m_code = nullptr;
    QList<QPointer<QWidget>> m_restricted;
    std::function<void()> m_enter;
    Role m_role = Role::None;
    bool m_stampFailed = false;
};

} // namespace kordel
