// Operation kinds (Form8, Form9): the reserved kinds, the pick list of
// ordinary kinds, the duplicate test without regard to letter case and the
// round trip of adding, changing and deleting from the menu.

#include "books/kindeditwindow.h"
#include "books/kindsstore.h"
#include "books/kindswindow.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::test;

namespace {

QList<int> listedIds(const Dataset &list)
{
    QList<int> ids;
    for (int row = 0; row < list.recordCount(); ++row)
        ids << list.valueAt(row, u"id"_s).toInt();
    return ids;
}

} // namespace

class KindsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    }

    void init()
    {
        m_messages.clear();
        m_messages.defaultAnswer = true;
        m_db.exec(u"delete from accounts_dep.vid_oper where id<7776"_s);
        m_painting = m_db.addKind(u"Покраска"_s);
        m_assembly = m_db.addKind(u"Сборка"_s);
        m_db.addKind(u"Paint"_s);
        m_db.addKind(u"О'Нил"_s);
        data().vidOper().close();
        data().vidOper().setFiltered(false);
    }

    // Form9 on its own: what "Записать" writes and what it refuses.
    void saveChecksNames_data()
    {
        QTest::addColumn<QString>("renamed"); // the kind changed; empty for a new kind
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty when written

        const QString duplicate = u"Такая операция уже заведена!"_s;
        const QString empty = u"Все поля должны быть заполнены!"_s;
        QTest::newRow("new: same name") << QString() << u"Покраска"_s << duplicate;
        QTest::newRow("new: Cyrillic lower case") << QString() << u"покраска"_s << duplicate;
        QTest::newRow("new: Cyrillic upper case") << QString() << u"ПОКРАСКА"_s << duplicate;
        QTest::newRow("new: Latin other case") << QString() << u"pAINT"_s << duplicate;
        QTest::newRow("new: blanks around a name") << QString() << u"  Сборка "_s << duplicate;
        QTest::newRow("new: apostrophe, other case") << QString() << u"о'НИЛ"_s << duplicate;
        QTest::newRow("new: a new name") << QString() << u"Полировка"_s << QString();
        QTest::newRow("new: stored trimmed") << QString() << u"  Резка  "_s << QString();
        QTest::newRow("new: apostrophe") << QString() << u"Д'Артаньян"_s << QString();
        QTest::newRow("new: statement-like text")
            << QString() << u"x'); delete from accounts_dep.vid_oper; --"_s << QString();
        QTest::newRow("new: only blanks") << QString() << u"   "_s << empty;
        QTest::newRow("change: own name, other case") << u"Покраска"_s << u"ПОКРАСКА"_s << QString();
        QTest::newRow("change: own name unchanged") << u"Сборка"_s << u"Сборка"_s << QString();
        QTest::newRow("change: onto another kind") << u"Сборка"_s << u"покраска"_s << duplicate;
        QTest::newRow("change: a new name") << u"Сборка"_s << u" Сборка-2 "_s << QString();
        QTest::newRow("change: emptied") << u"Сборка"_s << QString() << empty;
    }
    void saveChecksNames()
    {
        QFETCH(QString, renamed);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);

        const QMap<int, QString> before = kinds();
        KindEditWindow edit(data());
        int changedId = 0;
        if (renamed.isEmpty()) {
            edit.prepareNew();
            QCOMPARE(edit.windowTitle(), u"Заведение нового вида операций"_s);
        } else {
            changedId = before.key(renamed);
            edit.prepareChange(changedId, renamed);
            QCOMPARE(edit.windowTitle(), u"Изменение данных вида операции"_s);
        }
        auto *field = edit.findChild<QLineEdit *>(u"Edit1"_s);
        QCOMPARE(field->text(), renamed);
        field->setText(typed);
        edit.setResult(QDialog::Rejected);
        button(&edit, u"Button1"_s)->click();

        QMap<int, QString> expected = before;
        if (refusal.isEmpty()) {
            QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.texts().join(u'|')));
            QCOMPARE(edit.result(), int(QDialog::Accepted));
            const int writtenId = changedId ? changedId : newId(before);
            expected[writtenId] = typed.trimmed();
            // The list shows the kind just written.
            QCOMPARE(data().vidOper().intValue(u"id"_s), writtenId);
        } else {
            QCOMPARE(m_messages.texts(), QStringList{refusal});
            QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
            QCOMPARE(m_messages.shown.first().icon, MessageIcon::Error);
            QCOMPARE(edit.result(), int(QDialog::Rejected)); // the card stays open
        }
        QCOMPARE(kinds(), expected);
    }

    // Reserved kinds: "Изменить" and "Удалить" refuse some of them silently;
    // the others are refused while their reserved operation uses them.
    void reservedKinds_data()
    {
        const QStringList ask{u"Удалить вид операции?"_s};
        const QStringList inUse{u"Вид операции есть в операциях, удалить его нельзя!"_s};
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("changeable");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("7776 boundary") << 7776 << true << inUse;
        QTest::newRow("7777 household") << 7777 << false << QStringList();
        QTest::newRow("7778 average piecework") << 7778 << false << QStringList();
        QTest::newRow("7779 auxiliary") << 7779 << true << inUse;
        QTest::newRow("7782 household") << 7782 << false << QStringList();
        QTest::newRow("7783 household") << 7783 << false << QStringList();
        QTest::newRow("7784 hanging") << 7784 << true << QStringList();
        QTest::newRow("ordinary") << 0 << true << ask;
    }
    void reservedKinds()
    {
        QFETCH(int, id);
        QFETCH(bool, changeable);
        QFETCH(QStringList, told);
        if (id == 0)
            id = m_assembly;

        KindEditWindow edit(data());
        KindsWindow window(data(), edit);
        m_messages.defaultAnswer = false; // nothing is really deleted
        onModal(u"Form8"_s, [&](QDialog *form) {
            QVERIFY(data().vidOper().locate(u"id"_s, id));
            QCOMPARE(modalAfter([&] { button(form, u"Button2"_s)->click(); }),
                     changeable ? u"Form9"_s : u"Form8"_s);
            button(form, u"Button3"_s)->click();
            QCOMPARE(m_messages.texts(), told);
        });
        window.openFromMenu();
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where id=:id"_s, {{u"id"_s, id}}), 1);
    }

    // The price list's pick: ordinary kinds only; Enter, the button and a
    // double-click choose, Escape leaves without a choice.
    void pickOffersOrdinaryKinds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("Выбрать") << u"button"_s << true;
        QTest::newRow("Enter") << u"enter"_s << true;
        QTest::newRow("double-click") << u"double-click"_s << true;
        QTest::newRow("Escape") << u"escape"_s << false;
        QTest::newRow("Выход") << u"exit"_s << false;
    }
    void pickOffersOrdinaryKinds()
    {
        QFETCH(QString, how);
        QFETCH(bool, chosen);
        const int cutting = m_db.addKind(u"  Резка  "_s);

        KindEditWindow edit(data());
        KindsWindow window(data(), edit);
        onModal(u"Form8"_s, [&](QDialog *form) {
            Dataset &list = data().vidOper();
            QVERIFY(list.isOpen());
            const QList<int> ids = listedIds(list);
            QVERIFY(ids.contains(m_painting) && ids.contains(cutting));
            QVERIFY(std::all_of(ids.cbegin(), ids.cend(), [](int id) { return id < 7776; }));

            QPushButton *change = button(form, u"Button2"_s);
            QCOMPARE(change->text(), u"Выбрать"_s);
            QVERIFY(change->isDefault());
            QVERIFY(!button(form, u"Button1"_s)->isEnabled());
            QVERIFY(!button(form, u"Button3"_s)->isEnabled());
            QVERIFY(form->findChild<QLineEdit *>(u"Edit1"_s)->isHidden());

            auto *grid = form->findChild<DataGrid *>(u"DBGrid1"_s);
            QVERIFY(list.locate(u"id"_s, cutting));
            if (how == u"button"_s) {
                change->click();
            } else if (how == u"enter"_s) {
                grid->setFocus();
                QTest::keyClick(grid, Qt::Key_Return);
            } else if (how == u"double-click"_s) {
                const QRect cell = grid->visualRect(grid->model()->index(list.recNo() - 1, 0));
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            } else if (how == u"escape"_s) {
                QTest::keyClick(grid, Qt::Key_Escape);
            } else {
                button(form, u"Button4"_s)->click();
            }
            QTRY_VERIFY(!form->isVisible());
        });
        const std::optional<KindPick> picked = window.pick();
        QCOMPARE(picked.has_value(), chosen);
        if (chosen) {
            QCOMPARE(picked->id, cutting);
            QCOMPARE(picked->name, u"Резка"_s);
        }
        // Vid_oper is closed and unfiltered again for the price list.
        QVERIFY(!data().vidOper().isOpen());
        QVERIFY(!data().vidOper().isFiltered());
    }

    void menuListsEveryKind()
    {
        KindEditWindow edit(data());
        KindsWindow window(data(), edit);
        // A pick left open elsewhere must not hide the reserved kinds here.
        data().vidOper().setFilter(filters::lessThan(u"id"_s, 7776));
        data().vidOper().setFiltered(true);
        onModal(u"Form8"_s, [&](QDialog *form) {
            QVERIFY(!data().vidOper().isFiltered());
            const QList<int> ids = listedIds(data().vidOper());
            for (int reserved = 7776; reserved <= 7784; ++reserved)
                QVERIFY2(ids.contains(reserved), qPrintable(QString::number(reserved)));
            QVERIFY(ids.contains(m_painting));
            QPushButton *change = button(form, u"Button2"_s);
            QCOMPARE(change->text(), u"Изменить"_s);
            QVERIFY(!change->isDefault());
            QVERIFY(button(form, u"Button1"_s)->isEnabled());
            QVERIFY(button(form, u"Button3"_s)->isEnabled());
        });
        window.openFromMenu();
        QVERIFY(!data().vidOper().isOpen());
    }

    // From the menu: add, change, a refused duplicate, delete after "No"
    // and "Yes", all through the windows.
    void menuRoundTrip()
    {
        KindEditWindow edit(data());
        KindsWindow window(data(), edit);
        int etching = 0;
        onModal(u"Form8"_s, [&](QDialog *form) {
            Dataset &list = data().vidOper();

            onModal(u"Form9"_s, [&](QDialog *card) {
                QCOMPARE(card->windowTitle(), u"Заведение нового вида операций"_s);
                auto *field = card->findChild<QLineEdit *>(u"Edit1"_s);
                QVERIFY(field->text().isEmpty());
                QCOMPARE(card->focusWidget(), field);
                typeText(field, u"Травление"_s);
                QTest::keyClick(field, Qt::Key_Return);
                QVERIFY(!card->isVisible());
            });
            button(form, u"Button1"_s)->click();
            QCOMPARE(list.text(u"vid"_s), u"Травление"_s);
            etching = list.intValue(u"id"_s);

            onModal(u"Form9"_s, [&](QDialog *card) {
                QCOMPARE(card->windowTitle(), u"Изменение данных вида операции"_s);
                auto *field = card->findChild<QLineEdit *>(u"Edit1"_s);
                QCOMPARE(field->text(), u"Травление"_s);
                field->setText(u"покраска"_s);
                QTest::keyClick(field, Qt::Key_Return);
                // Refused: the card stays open with the text typed.
                QCOMPARE(m_messages.texts(), QStringList{u"Такая операция уже заведена!"_s});
                QVERIFY(card->isVisible());
                field->setText(u"Травление кислотное"_s);
                button(card, u"Button1"_s)->click();
                QVERIFY(!card->isVisible());
            });
            button(form, u"Button2"_s)->click();
            QCOMPARE(list.intValue(u"id"_s), etching);
            QCOMPARE(list.text(u"vid"_s), u"Травление кислотное"_s);

            m_messages.clear();
            m_messages.answers = {false};
            button(form, u"Button3"_s)->click();
            QCOMPARE(m_messages.texts(), QStringList{u"Удалить вид операции?"_s});
            QCOMPARE(m_messages.shown.first().caption, u"Удаление"_s);
            QCOMPARE(m_messages.shown.first().icon, MessageIcon::Question);
            QVERIFY(listedIds(list).contains(etching));
            m_messages.answers = {true};
            button(form, u"Button3"_s)->click();
            QVERIFY(list.isOpen());
            QVERIFY(!listedIds(list).contains(etching));
        });
        window.openFromMenu();
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where id=:id"_s, {{u"id"_s, etching}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where vid='Покраска'"_s), 1);
    }

    // A database error stops the action with the driver's message and
    // leaves the program usable.
    void databaseErrorIsShown()
    {
        KindEditWindow edit(data());
        KindsWindow window(data(), edit);
        m_db.exec(u"alter table accounts_dep.vid_oper rename to vid_oper_away"_s);
        const std::optional<KindPick> picked = window.pick();
        m_db.exec(u"alter table accounts_dep.vid_oper_away rename to vid_oper"_s);
        QVERIFY(!picked);
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(m_messages.lastText().contains(u"vid_oper"_s, Qt::CaseInsensitive),
                 qPrintable(m_messages.lastText()));

        m_messages.clear();
        edit.prepareNew();
        edit.findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Новая"_s);
        m_db.exec(u"alter table accounts_dep.vid_oper rename to vid_oper_away"_s);
        edit.setResult(QDialog::Rejected);
        button(&edit, u"Button1"_s)->click();
        m_db.exec(u"alter table accounts_dep.vid_oper_away rename to vid_oper"_s);
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(edit.result(), int(QDialog::Rejected)); // still open to try again
        button(&edit, u"Button1"_s)->click();
        QCOMPARE(edit.result(), int(QDialog::Accepted));
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where vid='Новая'"_s), 1);
    }

    // A kind that operations use stays, with its operations; one no longer
    // used goes.
    void kindInUseIsNotDeleted()
    {
        const int operation =
            m_db.addOperation(m_painting, m_db.addProduct(u"Рама"_s, m_db.addGroup(u"Сборка"_s)));
        const auto cleanup =
            qScopeGuard([this] { m_db.exec(u"delete from accounts_dep.oper where id<7776"_s); });
        const QString inUse = u"Вид операции есть в операциях, удалить его нельзя!"_s;

        KindsStore store(data());
        QCOMPARE(store.checkDelete(m_painting).message(), inUse);
        QCOMPARE(store.remove(m_painting).message(), inUse);
        QVERIFY(store.checkDelete(m_assembly).isPassed());
        QVERIFY(m_messages.shown.isEmpty());

        KindEditWindow edit(data());
        KindsWindow window(data(), edit);
        onModal(u"Form8"_s, [&](QDialog *form) {
            QVERIFY(data().vidOper().locate(u"id"_s, m_painting));
            button(form, u"Button3"_s)->click();
            // Refused before any question.
            QCOMPARE(m_messages.texts(), QStringList{inUse});
            QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
            QCOMPARE(m_messages.shown.first().icon, MessageIcon::Error);
            QVERIFY(!m_messages.shown.first().question);
            form->reject();
        });
        window.openFromMenu();
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where id=:id"_s, {{u"id"_s, m_painting}}), 1);
        QCOMPARE(m_db.count(u"accounts_dep.oper where id=:id and vid=:vid"_s,
                            {{u"id"_s, operation}, {u"vid"_s, m_painting}}),
                 1);

        // Once its operations are gone, the kind may go.
        m_db.exec(u"delete from accounts_dep.oper where id=:id"_s, {{u"id"_s, operation}});
        QVERIFY(store.remove(m_painting).isPassed());
        QCOMPARE(m_db.count(u"accounts_dep.vid_oper where id=:id"_s, {{u"id"_s, m_painting}}), 0);
    }

private:
    DataModule &data() { return m_db.data(); }
    int newId(const QMap<int, QString> &before) const
    {
        const QList<int> now = kinds().keys();
        for (int id : now) {
            if (!before.contains(id))
                return id;
        }
        return 0;
    }
    QMap<int, QString> kinds() const
    {
        QMap<int, QString> all;
        Dataset list(m_db.data().connectionName(), u"check"_s,
                     u"select id, vid from accounts_dep.vid_oper"_s);
        list.open();
        for (int row = 0; row < list.recordCount(); ++row)
            all.insert(list.valueAt(row, u"id"_s).toInt(), list.valueAt(row, u"vid"_s).toString());
        return all;
    }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    int m_painting = 0;
    int m_assembly = 0;
};

QTEST_MAIN(KindsTest)
#include "tst_kinds.moc"
