// The data module's shared services: the separator fix for numbers typed or
// formatted on the client, and the count check behind every duplicate test.

#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "db/dberror.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/guarded.h"

#include <QScopeGuard>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

class DataModuleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    }

    void namedObjects()
    {
        DataModule &dm = m_db.data();
        QCOMPARE(dm.objectName(), u"DataModule6"_s);
        for (const QString &name : {u"Workers"_s, u"Control"_s, u"Izdel"_s, u"Oper"_s, u"Vid_oper"_s,
                                    u"Smena1"_s, u"Smena4"_s, u"H_Tabel_1"_s, u"H_Tabel_3"_s})
            QVERIFY2(dm.findChild<Dataset *>(name), qPrintable(name));
        for (const QString &name :
             {u"DelSmena"_s, u"H_Tabel_ins"_s, u"SQL_exec"_s, u"Oper_ins"_s, u"Oper_ed"_s, u"Oper_del"_s})
            QVERIFY2(dm.findChild<Command *>(name), qPrintable(name));
    }

    void separatorFix_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("separatorAfter");
        QTest::newRow("comma") << u"."_s << u"12,5"_s << u"12.5"_s << u"."_s;
        QTest::newRow("point kept") << u"."_s << u"3.75"_s << u"3.75"_s << u"."_s;
        QTest::newRow("only the first") << u"."_s << u"1,234,5"_s << u"1.234,5"_s << u"."_s;
        QTest::newRow("no separator") << u"."_s << u"12"_s << u"12"_s << u"."_s;
        QTest::newRow("empty separator becomes point") << QString() << u"8,75"_s << u"8.75"_s << u"."_s;
        QTest::newRow("empty separator, integer") << QString() << u"12"_s << u"12"_s << QString();
        QTest::newRow("comma separator") << u","_s << u"8.75"_s << u"8,75"_s << u","_s;
    }
    void separatorFix()
    {
        QFETCH(QString, separator);
        QFETCH(QString, text);
        DataModule &dm = m_db.data();
        dm.setDecimalSeparator(separator);
        QTEST(dm.separatorFix(text), "expected");
        QTEST(dm.decimalSeparator(), "separatorAfter");
    }

    void countCheck_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("passed");
        QTest::newRow("none: passes") << 0 << true;
        QTest::newRow("two: refused with the message") << 2 << false;
    }
    void countCheck()
    {
        QFETCH(int, rows);
        QFETCH(bool, passed);
        test::ScriptedMessages messages;
        const QString statement = u"select count(*) as cnt from generate_series(1, :n)"_s;
        const Check check =
            m_db.data().countCheck(statement, {{u"n"_s, rows}}, u"Такая марка изделия уже заведена!"_s);
        QCOMPARE(check.isPassed(), passed);
        QCOMPARE(check.message(), passed ? QString() : u"Такая марка изделия уже заведена!"_s);
        // The data module itself tells the user nothing.
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(!m_db.data().control().isOpen());

        // A window shows the refusal as an error box.
        QCOMPARE(messages::passes(nullptr, check), passed);
        QCOMPARE(messages.shown.size(), passed ? 0 : 1);
        if (!passed) {
            QCOMPARE(messages.shown[0].text, u"Такая марка изделия уже заведена!"_s);
            QCOMPARE(messages.shown[0].caption, u"Ошибка"_s);
            QCOMPARE(messages.shown[0].icon, MessageIcon::Error);
            QVERIFY(!messages.shown[0].question);
        }
    }

    // A dropped server is told as such, the connection is made again, and
    // the next action works.
    void lostServerReconnects()
    {
        test::ScriptedMessages messages;
        DataModule &dm = m_db.data();
        setReconnectHandler([&dm] { return dm.reconnect(); });
        const int pid = m_db.scalar(u"select pg_backend_pid()"_s).toInt();
        {
            DataModule other(nullptr, u"other"_s);
            other.connectTo(connectionString(m_db.name(), test::TestDatabase::host()));
            sql::scalar(other.connectionName(), u"select pg_terminate_backend(:pid)"_s, {{u"pid"_s, pid}});
        }
        const bool done = guarded(nullptr, [&dm] { dm.workers().open(); });
        QVERIFY(!done);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains(u"восстановлена"_s), qPrintable(messages.shown[0].text));
        QVERIFY(guarded(nullptr, [&dm] { dm.workers().open(); }));
        dm.workers().close();
        setReconnectHandler({});
    }

    // While the server is not back (still starting, say), every action tries
    // to connect again and shows what the driver says; once it answers, the
    // action runs.
    void everyActionTriesAgainUntilTheServerAnswers()
    {
        test::ScriptedMessages messages;
        DataModule &dm = m_db.data();
        int refusals = 2;
        QStringList driverSaid;
        setReconnectHandler([&] {
            if (refusals > 0) {
                --refusals;
                // A real refusal of the driver, as from a server not ready.
                DataModule probe(nullptr, u"probe"_s);
                try {
                    probe.connectTo(
                        connectionString(u"kordel_no_such_database"_s, test::TestDatabase::host()));
                } catch (const DbError &error) {
                    driverSaid << error.message();
                    throw;
                }
            }
            return dm.reconnect();
        });
        const auto restore = qScopeGuard([] { setReconnectHandler({}); });
        const int pid = m_db.scalar(u"select pg_backend_pid()"_s).toInt();
        {
            DataModule other(nullptr, u"other"_s);
            other.connectTo(connectionString(m_db.name(), test::TestDatabase::host()));
            sql::scalar(other.connectionName(), u"select pg_terminate_backend(:pid)"_s, {{u"pid"_s, pid}});
        }
        const auto openWorkers = [&dm] { dm.workers().open(); };
        QVERIFY(!guarded(nullptr, openWorkers));
        QVERIFY(isConnectionDown());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains(u"потеряна"_s), qPrintable(messages.shown[0].text));
        QVERIFY(!messages.shown[0].text.contains(u"восстановлена"_s));

        // The next action tries again, and the user reads the driver's words.
        QVERIFY(!guarded(nullptr, openWorkers));
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(driverSaid.size(), 2);
        QVERIFY2(messages.shown[1].text.startsWith(driverSaid[1]), qPrintable(messages.shown[1].text));
        for (const auto &shown : std::as_const(messages.shown)) {
            QVERIFY(!shown.text.contains(u"Неизвестная ошибка"_s));
            QCOMPARE(shown.caption, u"Ошибка"_s);
        }

        // The server answers: the action runs without a word.
        QVERIFY(guarded(nullptr, openWorkers));
        QVERIFY(!isConnectionDown());
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(dm.workers().isOpen());
        dm.workers().close();
    }

private:
    test::TestDatabase m_db;
};

QTEST_MAIN(DataModuleTest)
#include "tst_datamodule.moc"
