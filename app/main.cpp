#include "core/buildstamp.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kordel::Client client;
    const int status = client.start(app.arguments().mid(1), kordel::BuildStamp::current());
    if (status != 0)
        return status;
    return app.exec();
}
