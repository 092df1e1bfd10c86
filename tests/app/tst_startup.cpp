// Start-up: the driver string, the build stamp, the stamp rule in the
// database and what happens when the server cannot be reached.

#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/buildstamp.h"
#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {
const QString kOptions =
    u"ReadOnly=0;Protocol=7.4;FakeOidIndex=0;ShowOidColumn=0;RowVersioning=0;ShowSystemTables=0;Fetch=100;"
    "UnknownSizes=0;MaxVarcharSize=255;MaxLongVarcharSize=8190;Debug=0;CommLog=0;UseDeclareFetch=0;"
    "TextAsLongVarchar=1;UnknownsAsLongVarchar=0;BoolsAsChar=1;Parse=0;ExtraSysTablePrefixes=;LFConversion=1;"
    "UpdatableCursors=1;TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;"
    "LowerCaseIdentifier=0;D6=-101;OptionalErrors=0;XaOpt=1"_s;
}

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    }

    void connectionString_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("expected");
        const QString account = u";PORT=5432;UID=sys;PWD=qmzvelp;SSLmode=allow;"_s;
        QTest::newRow("no arguments")
            << QString() << QString()
            << u"DRIVER={PostgreSQL UNICODE};DATABASE=kordel_erp;SERVER=localhost"_s + account + kOptions;
        QTest::newRow("database and server")
            << u"alpha"_s << u"dbhost"_s
            << u"DRIVER={PostgreSQL UNICODE};DATABASE=alpha;SERVER=dbhost"_s + account + kOptions;
        QTest::newRow("only the database: default string")
            << u"alpha"_s << QString()
            << u"DRIVER={PostgreSQL UNICODE};DATABASE=kordel_erp;SERVER=localhost"_s + account + kOptions;
        QTest::newRow("only the server: empty database")
            << QString() << u"dbhost"_s
            << u"DRIVER={PostgreSQL UNICODE};DATABASE=;SERVER=dbhost"_s + account + kOptions;
    }
    void connectionString()
    {
        QFETCH(QString, database);
        QFETCH(QString, server);
        QFETCH(QString, expected);
        QCOMPARE(kordel::connectionString(database, server), expected);
    }

    void buildStamp_data()
    {
        QTest::addColumn<QByteArray>("date");
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<int>("dateNumber");
        QTest::addColumn<int>("seconds");
        QTest::newRow("26 December") << QByteArray("Dec 26 2024") << QByteArray("19:03:53") << 20241226
                                     << 68633;
        QTest::newRow("blank-padded day")
            << QByteArray("Mar  5 2025") << QByteArray("07:08:09") << 20250305 << 25689;
        QTest::newRow("midnight") << QByteArray("Jan  1 2026") << QByteArray("00:00:00") << 20260101 << 0;
        QTest::newRow("last second") << QByteArray("Oct 31 2026") << QByteArray("23:59:59") << 20261031
                                     << 86399;
    }
    void buildStamp()
    {
        QFETCH(QByteArray, date);
        QFETCH(QByteArray, time);
        const BuildStamp stamp = BuildStamp::fromCompilerText(date.constData(), time.constData());
        QTEST(stamp.dateNumber, "dateNumber");
        QTEST(stamp.seconds, "seconds");
    }

    // The stored stamp only ever moves forward.
    void storedStamp_data()
    {
        QTest::addColumn<int>("storedDate");
        QTest::addColumn<int>("storedSeconds");
        QTest::addColumn<int>("expectedSeconds");
        QTest::newRow("same day, later time stored: kept") << 20241226 << 70000 << 70000;
        QTest::newRow("same day, earlier time stored: replaced") << 20241226 << 60000 << 68633;
        QTest::newRow("equal: kept") << 20241226 << 68633 << 68633;
        QTest::newRow("newer day stored: kept") << 20250101 << 0 << 0;
        QTest::newRow("older day stored: replaced") << 20241225 << 86000 << 68633;
    }
    void storedStamp()
    {
        QFETCH(int, storedDate);
        QFETCH(int, storedSeconds);
        m_db.exec(u"update accounts_dep.ver set d=:d, t=:t, delim=','"_s,
                  {{u"d"_s, storedDate}, {u"t"_s, storedSeconds}});
        m_db.data().recordBuildStamp(BuildStamp{20241226, 68633});
        QTEST(m_db.scalar(u"select t from accounts_dep.ver"_s).toInt(), "expectedSeconds");
        QCOMPARE(m_db.data().decimalSeparator(), u","_s);
        QCOMPARE(m_db.count(u"accounts_dep.ver"_s), 1);
    }

    // The client's own driver string reaches the server.
    void realStringConnects()
    {
        QVERIFY(m_db.data().isConnected());
        QCOMPARE(m_db.scalar(u"select current_database()"_s).toString(), m_db.name());
        QCOMPARE(m_db.scalar(u"select current_user"_s).toString(), u"sys"_s);
    }

    void captions()
    {
        test::ScriptedMessages messages;
        MainWindow journal(m_db.data());
        journal.setArguments(u"alpha"_s, u"dbhost"_s);
        LoginWindow login(journal, m_db.data(), BuildStamp{20241226, 68633});
        login.activateLogin();
        QCOMPARE(login.windowTitle(), u"Авторизация (build: 20241226.68633)"_s);
        QCOMPARE(journal.windowTitle(), u"Табель (build: 20241226.68633) Сервер:dbhost, БД:alpha"_s);
        journal.setArguments(QString(), QString());
        login.activateLogin();
        QVERIFY(journal.windowTitle().endsWith(u") Сервер:, БД:"_s));
        QVERIFY(messages.shown.isEmpty());
    }

    void unreachableServerEndsTheProgram()
    {
        test::ScriptedMessages messages;
        Client client;
        QElapsedTimer timer;
        timer.start();
        const int status = client.start({m_db.name(), u"/nonexistent/socket"_s}, BuildStamp{});
        QVERIFY(status != 0);
        QVERIFY(timer.elapsed() < 30000);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, u"Подключение к БД отсутсвует!!!"_s);
        QCOMPARE(messages.shown[0].caption, u"Ошибка!"_s);
        QCOMPARE(messages.shown[0].icon, MessageIcon::Error);
        // The administrator learns where the client looked and what the driver said.
        const QString detail = messages.shown[0].detail;
        QVERIFY2(detail.contains(u"Сервер: /nonexistent/socket"_s), qPrintable(detail));
        QVERIFY2(detail.contains(u"БД: "_s + m_db.name()), qPrintable(detail));
        const QString driverText = detail.section(u"\n\n"_s, 1);
        QVERIFY2(driverText.trimmed().size() > 10, qPrintable(detail));
        QVERIFY(!client.loginWindow());
    }

    // Without a server argument the built-in server and database are named.
    void failureDetailNamesTheDefaults()
    {
        test::ScriptedMessages messages;
        Client client;
        if (client.start({u"alpha"_s}, BuildStamp{}) == 0)
            QSKIP("a database server answers on localhost with the built-in account");
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].detail.startsWith(u"Сервер: localhost\nБД: kordel_erp\n\n"_s),
                 qPrintable(messages.shown[0].detail));
    }

private:
    test::TestDatabase m_db;
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
