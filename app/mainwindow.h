#pragma once

#include "core/buildstamp.h"
#include "core/journalcontext.h"
#include "core/journalrules.h"
#include "core/session.h"

#include <QDialog>
#include <QPointer>
#include <QWindow>
#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QDateEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace kordel {

class DataGrid;
class DataModule;

// The daily shift journal (Form1): one date and one shift of production
// records, their acceptance, and the way into every other window.
class MainWindow : public QDialog, public JournalContext
{
    Q_OBJECT

public:
    explicit MainWindow(DataModule &dataModule, QWidget *parent = nullptr);

    DataModule &dataModule() const { return m_data; }

    // The run's arguments, build stamp and role; this window is its journal.
    Session &session() { return m_session; }
    const Session &session() const { return m_session; }

    void setArguments(const QString &databaseArgument, const QString &serverArgument)
    {
        m_session.setArguments(databaseArgument, serverArgument);
    }
    const QString &databaseArgument() const { return m_session.databaseArgument(); }
    const QString &serverArgument() const { return m_session.serverArgument(); }
    void setBuildStamp(const BuildStamp &stamp) { m_session.setBuildStamp(stamp); }
    const BuildStamp &buildStamp() const { return m_session.buildStamp(); }
    // "Табель (build: D.T) Сервер:<server>, БД:<database>"
    QString buildCaption() const { return m_session.buildCaption(); }

    void setRoleText(const QString &text) { m_session.setRoleText(text); }
    QString roleText() const override { return m_session.roleText(); }
    void setCurrentShift(int shift); // selects the shift's radio button
    int currentShift() const override { return m_shift; }
    QDate journalDate() const override;
    bool isDayOff() const override;
    Dataset &currentJournal() override;
    // The journal the grid shows and other windows act on.
    void selectCurrentJournal() { m_currentJournal = &journalOfShift(); }

    // Where "today" comes from; tests fix it.
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }

    // Activation: back to today, every shift read afresh.
    void activateJournal();
    // A date picked in the calendar or confirmed with Enter.
    void chooseDate(const QDate &date);
    // "Обновить"
    void refresh();
    // Double-click on the grid: toggles the current row's acceptance.
    void toggleAcceptance();

    // Menu items and buttons are found by their names (N1, Button1, ...).
    QAction *menuAction(const QString &name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildControls();
    void showShift(int shift);
    void markDayOff(bool ticked);
    Dataset &journalOfShift() const;
    void readAllShifts();
    void focusMoved(QWindow *now);

    DataModule &m_data;
    journal::Acceptance m_acceptance;
    Session m_session;
    int m_shift = 1;
    Dataset *m_currentJournal = nullptr;
    std::function<QDate()> m_today;
    QPointer<QWindow> m_lastFocus; // the program's window that had the focus last

    QCheckBox *m_dayOff = nullptr;
    QDateEdit *m_date = nullptr;
    std::array<QRadioButton *, 4> m_shiftButtons{};
    DataGrid *m_grid = nullptr;
};

} // namespace kordel
