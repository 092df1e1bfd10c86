#include "startup.h"

#include "connectionstring.h"
#include "datamodule.h"
#include "dberror.h"
#include "guarded.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "messages.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace kordel {

Client::Client() : m_data(std::make_unique<DataModule>()) {}

Client::~Client()
{
    setReconnectHandler({});
    m_login.reset();
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
    } catch (const DbError &) {
        MessageService::current().inform(nullptr, u"Подключение к БД отсутсвует!!!"_s, u"Ошибка!"_s,
                                         MessageIcon::Error);
        return 1;
    }
    setReconnectHandler([this] { return m_data->reconnect(); });
    m_login = std::make_unique<LoginWindow>(*m_main, *m_data, build);
    QObject::connect(m_login.get(), &QDialog::finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    m_login->show();
    return 0;
}

} // namespace kordel
