// Login: which code gives which role, and what each role may not use in the
// journal window.  Driven through the window's controls.

#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "core/datamodule.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {
const QStringList kRestrictable{u"Button1"_s,      u"Button2"_s,      u"Button3"_s,      u"RadioButton1"_s,
                                u"RadioButton2"_s, u"RadioButton3"_s, u"RadioButton4"_s, u"CBox1"_s,
                                u"Button8"_s,      u"DBGrid2"_s,      u"DateT"_s,        u"N2"_s,
                                u"N11"_s};

bool usable(MainWindow &window, const QString &name)
{
    QObject *control = window.findChild<QObject *>(name);
    if (auto *menu = qobject_cast<QMenu *>(control))
        return menu->menuAction()->isEnabled();
    // A grid the role may not use is still read: it refuses actions instead.
    if (auto *grid = qobject_cast<DataGrid *>(control))
        return grid->isEnabled() && !grid->actionsRefused();
    if (auto *widget = qobject_cast<QWidget *>(control))
        return widget->isEnabled();
    return false;
}
} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    }

    void roles_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("entered");
        QTest::addColumn<QStringList>("disabled");
        QTest::newRow("administrator") << u"61730482"_s << true << QStringList();
        QTest::newRow("second administrator code") << u"4927"_s << true << QStringList();
        QTest::newRow("payroll office")
            << u"plutar"_s << true
            << QStringList{u"Button1"_s,      u"Button2"_s,      u"Button3"_s,      u"RadioButton1"_s,
                           u"RadioButton2"_s, u"RadioButton3"_s, u"RadioButton4"_s, u"CBox1"_s,
                           u"Button8"_s,      u"DBGrid2"_s,      u"DateT"_s,        u"N2"_s,
                           u"N11"_s};
        QTest::newRow("foremen with blanks around")
            << u"  wendrix "_s << true << QStringList{u"Button2"_s, u"Button3"_s, u"N2"_s, u"N11"_s};
        QTest::newRow("warehouse") << u"torvu"_s << true
                                   << QStringList{u"Button1"_s, u"Button2"_s, u"Button3"_s, u"N2"_s,
                                                  u"N11"_s};
        QTest::newRow("wrong letter case") << u"Wendrix"_s << false << QStringList{u"N11"_s};
        QTest::newRow("empty") << QString() << false << QStringList{u"N11"_s};
    }
    void roles()
    {
        QFETCH(QString, code);
        QFETCH(bool, entered);
        QFETCH(QStringList, disabled);
        test::ScriptedMessages messages;
        MainWindow journal(m_db.data());
        LoginWindow login(journal, m_db.data(), BuildStamp{20241226, 68633});
        int enters = 0;
        login.setEnterAction([&enters] { ++enters; });
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));

        auto *edit = login.findChild<QLineEdit *>(u"Edit1"_s);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QTest::keyClicks(edit, code);
        QTest::keyClick(edit, Qt::Key_Return); // Enter presses "Вход"

        QCOMPARE(enters, entered ? 1 : 0);
        QCOMPARE(journal.roleText(), code.trimmed());
        QCOMPARE(journal.currentShift(), 1);
        for (const QString &name : kRestrictable)
            QVERIFY2(usable(journal, name) == !disabled.contains(name), qPrintable(name));
        if (entered) {
            QVERIFY(messages.shown.isEmpty());
            QCOMPARE(m_db.data().journal(1).param(u"ok"_s).toString(), u"ta"_s);
        } else {
            QCOMPARE(messages.shown.size(), 1);
            QCOMPARE(messages.shown[0].text, u"Введены неверные данные."_s);
            QCOMPARE(messages.shown[0].caption, u"Ошибка"_s);
            QVERIFY(login.isVisible()); // another attempt is possible
        }
    }

    // A refused attempt after an administrator's keeps the timesheet menu closed.
    void timesheetMenuFollowsEveryAttempt()
    {
        test::ScriptedMessages messages;
        MainWindow journal(m_db.data());
        LoginWindow login(journal, m_db.data(), BuildStamp{});
        login.setEnterAction([] {});
        auto *edit = login.findChild<QLineEdit *>(u"Edit1"_s);
        auto *enter = login.findChild<QPushButton *>(u"Button1"_s);
        edit->setText(u"4927"_s);
        enter->click();
        QVERIFY(usable(journal, u"N11"_s));
        edit->setText(u"nobody"_s);
        enter->click();
        QVERIFY(!usable(journal, u"N11"_s));
        QCOMPARE(journal.roleText(), u"nobody"_s);
    }

    void escapeCancels()
    {
        MainWindow journal(m_db.data());
        LoginWindow login(journal, m_db.data(), BuildStamp{});
        bool entered = false;
        login.setEnterAction([&entered] { entered = true; });
        QSignalSpy finished(&login, &QDialog::finished);
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QTest::keyClick(login.findChild<QLineEdit *>(u"Edit1"_s), Qt::Key_Escape);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!login.isVisible());
        QVERIFY(!entered);
    }

    // A build stamp that cannot be recorded is told once, however often the
    // window is activated again, and the window stays usable.
    void failedStampIsToldOnce()
    {
        m_db.exec(u"alter table accounts_dep.ver rename to ver_away"_s);
        const auto restore =
            qScopeGuard([this] { m_db.exec(u"alter table accounts_dep.ver_away rename to ver"_s); });
        test::ScriptedMessages messages;
        MainWindow journal(m_db.data());
        LoginWindow login(journal, m_db.data(), BuildStamp{20241226, 68633});
        int enters = 0;
        login.setEnterAction([&enters] { ++enters; });
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        for (int i = 0; i < 3; ++i) {
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(&login, &activate);
        }
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains(u"ver"_s), qPrintable(messages.shown[0].text));
        QCOMPARE(messages.shown[0].caption, u"Ошибка"_s);
        QCOMPARE(login.windowTitle(), u"Авторизация (build: 20241226.68633)"_s);

        auto *edit = login.findChild<QLineEdit *>(u"Edit1"_s);
        QTest::keyClicks(edit, u"4927"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(enters, 1);
        QSignalSpy finished(&login, &QDialog::finished);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(finished.size(), 1);
    }

private:
    test::TestDatabase m_db;
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
