#include "app/programicon.h"
#include "app/startup.h"
#include "core/buildstamp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setWindowIcon(kordel::programIcon());
    // The desktop matches the running client with its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("kordel-tabel"));
    kordel::Client client;
    const int status = client.start(app.arguments().mid(1), kordel::BuildStamp::current());
    if (status != 0)
        return status;
    return app.exec();
}
