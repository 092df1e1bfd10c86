#pragma once

#include "core/buildstamp.h"

#include <QStringList>
#include <memory>

namespace kordel {

class DataModule;
class LoginWindow;
class MainWindow;

// The client's windows and data, created once at start and living until the
// program ends.
class Client
{
public:
    Client();
    ~Client();

    // Connects with the command-line arguments (database, server) and creates
    // the windows; shows the login window.  Returns the exit status to end
    // with when the database cannot be reached, 0 otherwise.
    int start(const QStringList &arguments, const BuildStamp &build);

    DataModule &data() const { return *m_data; }
    MainWindow *mainWindow() const { return m_main.get(); }
    LoginWindow *loginWindow() const { return m_login.get(); }

private:
    struct Windows;
    void createWindows();
    void wireJournal();

    std::unique_ptr<DataModule> m_data;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<Windows> m_windows;
    std::unique_ptr<LoginWindow> m_login;
};

} // namespace kordel
