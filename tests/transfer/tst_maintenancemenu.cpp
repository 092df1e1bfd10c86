// The maintenance items of the journal window as the client is started:
// hidden unless the administrator asks for them, "Импорт" running the
// import (declined here at its question), "Структура БД" changing nothing.

#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/datamodule.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QAction>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::test;

class MaintenanceMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestDatabase db;
        QVERIFY2(db.create(), qPrintable(db.error()));
        m_name = db.name();
    }

    void itemsOnRequest_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<bool>("shown");
        QTest::newRow("normal start") << QByteArray() << false;
        QTest::newRow("KORDEL_MAINTENANCE=1") << QByteArray("1") << true;
    }
    void itemsOnRequest()
    {
        QFETCH(QByteArray, variable);
        QFETCH(bool, shown);
        if (variable.isNull())
            qunsetenv("KORDEL_MAINTENANCE");
        else
            qputenv("KORDEL_MAINTENANCE", variable);
        ScriptedMessages messages;
        messages.defaultAnswer = false;
        Client client;
        QCOMPARE(client.start({m_name, TestDatabase::host()}, BuildStamp{20241226, 68633}), 0);
        qunsetenv("KORDEL_MAINTENANCE");
        MainWindow &main = *client.mainWindow();
        QAction *import = main.menuAction(u"N12"_s);
        QAction *structure = main.menuAction(u"N16"_s);
        QVERIFY(import && structure);
        QCOMPARE(import->text(), u"Импорт"_s);
        QCOMPARE(structure->text(), u"Структура БД"_s);
        QCOMPARE(import->isVisible(), shown);
        QCOMPARE(structure->isVisible(), shown);

        const QString c = client.data().connectionName();
        const auto rows = [&c] {
            return sql::scalar(c, u"select (select count(*) from accounts_dep.fatigue) || ' ' || "
                                  "(select count(*) from accounts_dep.vid_oper)"_s)
                .toString();
        };
        const QString before = rows();
        structure->trigger();
        QVERIFY(messages.shown.isEmpty());
        import->trigger();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.first().question);
        QCOMPARE(messages.shown.first().caption, u"Импорт"_s);
        QCOMPARE(rows(), before);
    }

private:
    QString m_name;
};

QTEST_MAIN(MaintenanceMenuTest)
#include "tst_maintenancemenu.moc"
