#include "app/startup.h"

#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "books/bookswindows.h"
#include "brigade/brigadewindows.h"
#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/dberror.h"
#include "household/householdwindows.h"
#include "journal/journalwindows.h"
#include "reports/reportswindow.h"
#include "timesheets/monthsheets.h"
#include "timesheets/timesheetswindows.h"
#include "transfer/importcommand.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kordel {

// Every window of the client, created once and reused; each subsystem
// connects its own windows to each other.
struct Client::Windows
{
    Windows(DataModule &dm, MainWindow &main)
        : books(dm, &main), journal(dm, main, books, &main), timesheets(dm, main, &main), reports(dm, &main),
          household(dm, books.workers, books.groups, &main), brigade(dm, main, books.workers, &main)
    {}

    BooksWindows books;
    JournalWindows journal;
    TimesheetsWindows timesheets;   // Form19 and the other month windows
    reports::ReportsWindow reports; // Form18
    HouseholdWindows household;     // Form25, Form24
    BrigadeWindows brigade;         // Form33, Form134, Form135
};

Client::Client() : m_data(std::make_unique<DataModule>()) {}

Client::~Client()
{
    setReconnectHandler({});
    m_login.reset();
    m_windows.reset();
    m_main.reset();
    m_data.reset();
}

int Client::start(const QStringList &arguments, const BuildStamp &build)
{
    const QString database = arguments.value(0);
    const QString server = arguments.value(1);
    m_main = std::make_unique<MainWindow>(*m_data);
    m_main->setArguments(database, server);
    try {
        m_data->connectTo(connectionString(database, server));
    } catch (const DbError &error) {
        // The server and database actually tried (the built-in ones without a
        // server argument) and the driver's words, for the administrator.
        const bool byDefault = server.isEmpty();
        const QString detail = u"Сервер: "_s +
                               (byDefault ? QString::fromLatin1(kDefaultServerHost) : server) + u"\nБД: "_s +
                               (byDefault ? u"kordel_erp"_s : database) + u"\n\n"_s + error.message();
        MessageService::current().informWithDetail(nullptr, u"Подключение к БД отсутсвует!!!"_s, u"Ошибка!"_s,
                                                   MessageIcon::Error, detail);
        return 1;
    }
    setReconnectHandler([this] { return m_data->reconnect(); });
    m_login = std::make_unique<LoginWindow>(*m_main, *m_data, build);
    QObject::connect(m_login.get(), &QDialog::finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    createWindows();
    m_login->show();
    return 0;
}

void Client::createWindows()
{
    m_windows = std::make_unique<Windows>(*m_data, *m_main);
    Windows &w = *m_windows;
    MainWindow &main = *m_main;
    auto onItem = [&main](const QString &name, auto &&slot) {
        QObject::connect(main.menuAction(name), &QAction::triggered, &main, slot);
    };
    onItem(u"N1"_s, [&w] { w.books.workers.openFromMenu(); });
    onItem(u"N3"_s, [&w] { w.books.products.openFromMenu(); });
    onItem(u"N4"_s, [&w] { w.books.prices.openFromMenu(); });
    onItem(u"N6"_s, [&w] { w.books.kinds.openFromMenu(); });
    onItem(u"N8"_s, [&w] { w.books.groups.openFromMenu(); });
    onItem(u"N13"_s, [&w] { w.timesheets.openShifts(); });
    w.reports.setRoleSource([this] { return m_login ? m_login->role() : Role::None; });
    onItem(u"N10"_s, [&w] { w.reports.openFromMenu(); });
    // Maintenance: shown only to an administrator who asks for it at start;
    // "Структура БД" has no effect.
    transfer::offerMaintenance(main.menuAction(u"N12"_s), main.menuAction(u"N16"_s));
    auto *import = new transfer::ImportCommand(&main);
    onItem(u"N12"_s, [import] { import->run(); });
    wireMonthSheets(main, *m_data);
    wireJournal();
}

void Client::wireJournal()
{
    Windows &w = *m_windows;
    MainWindow &main = *m_main;
    auto onButton = [&main](const QString &name, auto &&slot) {
        QObject::connect(main.findChild<QPushButton *>(name), &QPushButton::clicked, &main, slot);
    };
    // Both openers act on the journal of the shift shown.
    onButton(u"Button1"_s, [&w, &main] {
        main.selectCurrentJournal();
        w.journal.entry.openNew();
    });
    onButton(u"Button2"_s, [&w, &main] {
        main.selectCurrentJournal();
        w.journal.entry.openChange();
    });
    onButton(u"Button3"_s, [&w] { w.journal.edits.deleteCurrent(); });
    QObject::connect(main.menuAction(u"N21"_s), &QAction::triggered, &main, [&w, &main] {
        main.selectCurrentJournal();
        w.journal.edits.copyCurrent();
    });
    QObject::connect(main.menuAction(u"MenuItem1"_s), &QAction::triggered, &main,
                     [&w] { w.journal.edits.changeTime(); });
    onButton(u"Button5"_s, [&w, &main] { w.household.openJournal(main.journalDate()); });
    onButton(u"Button7"_s, [&w, &main] {
        main.selectCurrentJournal();
        w.brigade.openBrigade();
    });
    onButton(u"Button6"_s, [&w, &main] {
        main.selectCurrentJournal();
        w.brigade.openPainting();
    });
}

} // namespace kordel
