// The client as started: every window created once, the journal's menus and
// buttons opening their windows, and the way from the login to the end.

#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "app/programicon.h"
#include "app/startup.h"
#include "core/datamodule.h"
#include "db/command.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QAction>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::test;

class ClientTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestDatabase db;
        QVERIFY2(db.create(), qPrintable(db.error()));
        m_name = db.name();
        QCOMPARE(m_client.start({m_name, TestDatabase::host()}, BuildStamp{20241226, 68633}), 0);
        QVERIFY(m_messages.shown.isEmpty());
        const QString c = m_client.data().connectionName();
        // One ordinary row and one hanging row in shift 1 today.
        m_worker =
            sql::scalar(c, u"insert into accounts_dep.person(fio) values ('Иванов И.И.') returning id"_s)
                .toInt();
        const int group =
            sql::scalar(
                c, u"insert into cmn_classifier.item(s_caption, b_excluded) values ('Г', 0) returning id"_s)
                .toInt();
        const int product = sql::scalar(c,
                                        u"insert into cmn_gds_and_srv.gds_and_srv(s_caption, s_description, "
                                        "id_msm_bs, massa, id_class_item) values ('КР-1', '', 6, 1, :g) "
                                        "returning id"_s,
                                        {{u"g"_s, group}})
                                .toInt();
        const int kind =
            sql::scalar(c, u"insert into accounts_dep.vid_oper(vid) values ('Сборка') returning id"_s)
                .toInt();
        m_operation = sql::scalar(c,
                                  u"insert into accounts_dep.oper(vid, naimen, i_id, cena_new) "
                                  "values (:k, 0, :p, 0) returning id"_s,
                                  {{u"k"_s, kind}, {u"p"_s, product}})
                          .toInt();
        sql::exec(c, u"insert into accounts_dep.norm(o_id, norma, price) values (:o, 1, 10)"_s,
                  {{u"o"_s, m_operation}});
        const QString insert =
            u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
            "color, time, vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, "
            "id_cons_use) values (:w, :i, :o, 10, 5, 0, current_date, 1, :c, 8, now(), 'no', "
            "0, 0, 0, 0, 0, 0)"_s;
        sql::exec(c, insert, {{u"w"_s, m_worker}, {u"i"_s, product}, {u"o"_s, m_operation}, {u"c"_s, 0}});
        sql::exec(c, insert, {{u"w"_s, m_worker}, {u"i"_s, 7784}, {u"o"_s, 7784}, {u"c"_s, 7784}});
        for (int shift = 1; shift <= 4; ++shift)
            m_client.data().journal(shift).setParam(u"ok"_s, u"ta"_s);
    }

    void everyWindowOnce()
    {
        const QStringList names{u"Form1"_s,   u"Form2"_s,  u"Form3"_s,  u"Form4"_s,  u"Form5"_s,
                                u"Form7"_s,   u"Form8"_s,  u"Form9"_s,  u"Form10"_s, u"Form11"_s,
                                u"Form22"_s,  u"Form23"_s, u"Form26"_s, u"Form29"_s, u"Form132"_s,
                                u"Form34"_s,  u"Form24"_s, u"Form25"_s, u"Form33"_s, u"Form134"_s,
                                u"Form135"_s, u"Form18"_s};
        const auto windows = QApplication::topLevelWidgets();
        for (const QString &name : names) {
            const auto count = std::count_if(windows.cbegin(), windows.cend(),
                                             [&name](QWidget *w) { return w->objectName() == name; });
            QVERIFY2(count == 1, qPrintable(name));
        }
    }

    // The icon travels inside the client, whatever folder it is started from.
    void programIconIsBuiltIn()
    {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(128, 128)));
    }

    void journalOpensItsWindows_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row"); // 0: none chosen, 1: the ordinary row, 2: the hanging row
        QTest::addColumn<QString>("opens");
        QTest::newRow("Рабочие") << u"N1"_s << 0 << u"Form5"_s;
        QTest::newRow("Изделия") << u"N3"_s << 0 << u"Form3"_s;
        QTest::newRow("Цены") << u"N4"_s << 0 << u"Form4"_s;
        QTest::newRow("Операции") << u"N6"_s << 0 << u"Form8"_s;
        QTest::newRow("Ном. группы") << u"N8"_s << 0 << u"Form26"_s;
        QTest::newRow("Сводные отчеты") << u"N10"_s << 0 << u"Form18"_s;
        QTest::newRow("Добавить") << u"Button1"_s << 0 << u"Form11"_s;
        QTest::newRow("Изменить") << u"Button2"_s << 1 << u"Form11"_s;
        QTest::newRow("Изменить: hanging row opens nothing") << u"Button2"_s << 2 << u"none"_s;
        QTest::newRow("Копия") << u"N21"_s << 1 << u"Form11"_s;
        QTest::newRow("Изменить время") << u"MenuItem1"_s << 2 << u"Form34"_s;
        QTest::newRow("Изменить время: ordinary row") << u"MenuItem1"_s << 1 << u"none"_s;
        QTest::newRow("Ср.сд./хоз. работы") << u"Button5"_s << 0 << u"Form25"_s;
        QTest::newRow("Бригада") << u"Button7"_s << 0 << u"Form33"_s;
        QTest::newRow("Покраска") << u"Button6"_s << 0 << u"Form33"_s;
    }
    void journalOpensItsWindows()
    {
        QFETCH(QString, control);
        QFETCH(int, row);
        MainWindow &main = *m_client.mainWindow();
        main.activateJournal();
        Dataset &journal = m_client.data().journal(1);
        QCOMPARE(journal.recordCount(), 2);
        if (row > 0)
            QVERIFY(journal.locate(u"o_id"_s, row == 2 ? 7784 : m_operation));
        const QString seen = modalAfter([&] {
            if (auto *b = main.findChild<QPushButton *>(control))
                b->click();
            else
                main.menuAction(control)->trigger();
        });
        QTEST(seen, "opens");
    }

    void deleteAsksFirst()
    {
        m_messages.clear();
        m_messages.answers = {false};
        m_client.mainWindow()->activateJournal();
        button(m_client.mainWindow(), u"Button3"_s)->click();
        QCOMPARE(m_messages.texts(), QStringList{u"Удалить позицию из списка?"_s});
        QCOMPARE(m_client.data().journal(1).recordCount(), 2);
    }

    // Last: finishing the login window ends the program's event loop.
    void loginShowsJournalAndClosingEnds()
    {
        LoginWindow &login = *m_client.loginWindow();
        QVERIFY(login.isVisible());
        QSignalSpy finished(&login, &QDialog::finished);
        bool journalShown = false;
        for (int shift = 1; shift <= 4; ++shift)
            m_client.data().journal(shift).close();
        onModal(u"Form1"_s, [&](QDialog *main) {
            journalShown = true;
            QVERIFY(!login.isVisible());
            // Shown after the login, the journal reads today's rows.
            QTRY_VERIFY(m_client.data().journal(4).isOpen());
            QCOMPARE(m_client.data().journal(1).recordCount(), 2);
            QCOMPARE(main->windowTitle(), u"Табель (build: 20241226.68633) Сервер:"_s + TestDatabase::host() +
                                              u", БД:"_s + m_name);
            button(main, u"Button4"_s)->click(); // "Выход"
        });
        login.findChild<QLineEdit *>(u"Edit1"_s)->setText(u"4927"_s);
        button(&login, u"Button1"_s)->click();
        QVERIFY(journalShown);
        QCOMPARE(finished.size(), 1);
        QVERIFY(m_messages.shown.isEmpty() ||
                m_messages.texts() == QStringList{u"Удалить позицию из списка?"_s});
    }

private:
    ScriptedMessages m_messages;
    Client m_client;
    QString m_name;
    int m_worker = 0;
    int m_operation = 0;
};

QTEST_MAIN(ClientTest)
#include "tst_client.moc"
