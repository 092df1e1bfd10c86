// The nomenclature groups book: the list with its "not in use" mark, names
// written as typed, the refusals before a deletion, and the pick mode that
// offers only groups in use.

#include "books/groupeditwindow.h"
#include "books/groupsstore.h"
#include "books/groupswindow.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::test;

namespace {

const QString kHasProducts = u"В номенклатурной группе есть изделия."_s;
const QString kHasOperations = u"В номенклатурной группе есть операции."_s;
const QString kAskDelete = u"Удалить позицию из списка?"_s;

// The grid's rows as "name|mark" (the mark column even when hidden).
QStringList visibleRows(QWidget *window)
{
    auto *grid = child<DataGrid>(window, u"DBGrid1"_s);
    QStringList rows;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        rows << grid->model()->index(row, 0).data().toString() + u'|' +
                    grid->model()->index(row, 1).data().toString();
    return rows;
}

} // namespace

class GroupsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_worker = m_db.addWorker(u"Сидоров С.С."_s);
        m_kind = m_db.addKind(u"Покраска"_s);
        m_editor = std::make_unique<GroupEditWindow>(m_db.data());
        m_window = std::make_unique<GroupsWindow>(m_db.data(), *m_editor);
    }

    void init()
    {
        // Every test starts from the reserved rows only.
        for (const QString &statement :
             {u"delete from accounts_dep.smena"_s, u"delete from accounts_dep.fatigue"_s,
              u"delete from accounts_dep.oper where id < 7776"_s,
              u"delete from cmn_gds_and_srv.gds_and_srv where id >= 100000"_s,
              u"delete from cmn_classifier.item where id > 1"_s})
            m_db.exec(statement);
        child<QLineEdit>(m_window.get(), u"Edit1"_s)->clear();
        m_messages.clear();
    }

    void listMarksGroupsNotInUse()
    {
        m_db.addGroup(u"Литьё"_s, true);
        m_db.addGroup(u"Арматура"_s);
        m_db.exec(u"insert into cmn_classifier.item(s_caption, id_level) values ('Подгруппа', 3)"_s);
        GroupsStore store(m_db.data());
        Dataset &list = store.list();
        list.open();
        QStringList rows;
        for (int row = 0; row < list.recordCount(); ++row)
            rows << list.valueAt(row, u"s_caption"_s).toString() + u'|' +
                        list.valueAt(row, u"s_excl"_s).toString();
        QCOMPARE(rows, (QStringList{u"Арматура|"_s, u"Литьё|V"_s, u"Служебные|V"_s}));
    }

    void writtenAsTyped_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("excluded");
        QTest::addColumn<QString>("stored");
        QTest::newRow("new, apostrophe") << false << u"  О'Нил и сыновья "_s << false << u"О'Нил и сыновья"_s;
        QTest::newRow("new, not in use") << false << u"Старьё"_s << true << u"Старьё"_s;
        QTest::newRow("new, empty name") << false << u"  "_s << false << QString();
        QTest::newRow("change, apostrophes") << true << u"'Цех' №2 '"_s << true << u"'Цех' №2 '"_s;
        QTest::newRow("change, back in use") << true << u"Литьё"_s << false << u"Литьё"_s;
    }
    void writtenAsTyped()
    {
        QFETCH(bool, change);
        QFETCH(QString, typed);
        QFETCH(bool, excluded);
        QFETCH(QString, stored);
        GroupsStore store(m_db.data());
        int id = 0;
        if (change) {
            id = m_db.addGroup(u"Прежнее имя"_s, !excluded);
            store.change(id, typed, excluded);
        } else {
            id = store.add(typed, excluded);
        }
        const Params byId{{u"id"_s, id}};
        QCOMPARE(m_db.scalar(u"select s_caption from cmn_classifier.item where id=:id"_s, byId).toString(),
                 stored);
        QCOMPARE(m_db.scalar(u"select b_excluded from cmn_classifier.item where id=:id"_s, byId).toInt(),
                 excluded ? 1 : 0);
        // The database makes every new row a group.
        QCOMPARE(m_db.scalar(u"select id_level from cmn_classifier.item where id=:id"_s, byId).toInt(), 2);
    }

    void remove_data()
    {
        QTest::addColumn<bool>("withProduct");
        QTest::addColumn<bool>("withJournal");
        QTest::addColumn<bool>("withHousehold");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("a product without journal rows")
            << true << false << false << true << kHasProducts << false;
        QTest::newRow("a product with journal rows")
            << true << true << false << true << kHasProducts << false;
        QTest::newRow("household rows") << false << false << true << true << kHasOperations << false;
        QTest::newRow("nothing refers to it, Yes") << false << false << false << true << kAskDelete << true;
        QTest::newRow("nothing refers to it, No") << false << false << false << false << kAskDelete << false;
    }
    void remove()
    {
        QFETCH(bool, withProduct);
        QFETCH(bool, withJournal);
        QFETCH(bool, withHousehold);
        QFETCH(bool, answer);
        QFETCH(QString, text);
        QFETCH(bool, deleted);
        const int group = m_db.addGroup(u"Сборка"_s);
        if (withProduct) {
            const int operation = m_db.addOperation(m_kind, m_db.addProduct(u"Рама"_s, group));
            if (withJournal)
                m_db.addJournalRow(m_worker, operation, QDate(2025, 3, 10), 1, 8);
        }
        if (withHousehold)
            m_db.exec(
                u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, cnt, price) "
                "values (:w, 7777, :g, :d::date, 3, 2025, 8, 100)"_s,
                {{u"w"_s, m_worker}, {u"g"_s, group}, {u"d"_s, QDate(2025, 3, 10)}});

        // The rule on its own.
        GroupsStore store(m_db.data());
        const Check check = store.checkDelete(group);
        QCOMPARE(check.message(), text == kAskDelete ? QString() : text);
        QVERIFY(m_messages.shown.isEmpty());

        // What the user is told or asked in the window.
        m_messages.defaultAnswer = answer;
        const auto restore = qScopeGuard([this] { m_messages.defaultAnswer = true; });
        onModal(u"Form26"_s, [&](QDialog *window) {
            QVERIFY(child<DataGrid>(window, u"DBGrid1"_s)->dataset()->locate(u"id"_s, group));
            child<QPushButton>(window, u"Button1"_s)->click();
            window->reject();
        });
        m_window->openFromMenu();

        QCOMPARE(m_messages.texts(), QStringList{text});
        const auto &shown = m_messages.shown.first();
        QCOMPARE(shown.caption, u"Удаление"_s);
        const bool asked = text == kAskDelete;
        QCOMPARE(shown.question, asked);
        QCOMPARE(shown.icon, asked ? MessageIcon::Question : MessageIcon::Error);
        QCOMPARE(m_db.count(u"cmn_classifier.item where id=:id"_s, {{u"id"_s, group}}), deleted ? 0 : 1);
    }

    void pickOffersOnlyGroupsInUse()
    {
        m_db.addGroup(u"Арматура"_s);
        m_db.addGroup(u"Литьё"_s, true);
        const int casting = m_db.addGroup(u"Литейка  "_s);

        onModal(u"Form26"_s, [&](QDialog *window) {
            auto *choose = child<QPushButton>(window, u"Button3"_s);
            QCOMPARE(choose->text(), u"Выбрать"_s);
            QVERIFY(choose->isDefault());
            QVERIFY(!child<QPushButton>(window, u"Button1"_s)->isEnabled());
            QVERIFY(!child<QPushButton>(window, u"Button2"_s)->isEnabled());
            auto *grid = child<DataGrid>(window, u"DBGrid1"_s);
            QVERIFY(grid->isColumnHidden(1));
            QCOMPARE(window->width(), 460);
            QCOMPARE(visibleRows(window), (QStringList{u"Арматура|"_s, u"Литейка  |"_s}));
            // A typed beginning does not bring back a group not in use.
            auto *filter = child<QLineEdit>(window, u"Edit1"_s);
            typeText(filter, u"лит"_s);
            QCOMPARE(visibleRows(window), QStringList{u"Литейка  |"_s});
            QTest::keyClick(filter, Qt::Key_Return);
            QVERIFY(!window->isVisible());
        });
        const std::optional<GroupPick> picked = m_window->pick();
        QVERIFY(picked);
        QCOMPARE(picked->id, casting);
        QCOMPARE(picked->caption, u"Литейка  "_s);

        // The menu shows the book whole again, the typed filter kept.
        QCOMPARE(m_window->width(), 585);
        onModal(u"Form26"_s, [&](QDialog *window) {
            QCOMPARE(child<QPushButton>(window, u"Button3"_s)->text(), u"Изменить"_s);
            QVERIFY(child<QPushButton>(window, u"Button1"_s)->isEnabled());
            QVERIFY(child<QPushButton>(window, u"Button2"_s)->isEnabled());
            QVERIFY(!child<DataGrid>(window, u"DBGrid1"_s)->isColumnHidden(1));
            QCOMPARE(visibleRows(window), (QStringList{u"Литейка  |"_s, u"Литьё|V"_s}));
            window->reject();
        });
        m_window->openFromMenu();

        onModal(u"Form26"_s, [](QDialog *window) { QTest::keyClick(window, Qt::Key_Escape); });
        QVERIFY(!m_window->pick());
        QCOMPARE(m_window->width(), 585);
    }

    void filterKeys()
    {
        m_db.addGroup(u"Арматура"_s);
        m_db.addGroup(u"Арка"_s);
        m_db.addGroup(u"Болты"_s);
        onModal(u"Form26"_s, [&](QDialog *window) {
            auto *filter = child<QLineEdit>(window, u"Edit1"_s);
            QCOMPARE(window->focusWidget(), filter);
            typeText(filter, u"ар"_s);
            QCOMPARE(visibleRows(window), (QStringList{u"Арка|"_s, u"Арматура|"_s}));
            // Up and Down move the list; keys that only act on key-down do nothing.
            Dataset *list = child<DataGrid>(window, u"DBGrid1"_s)->dataset();
            QTest::keyClick(filter, Qt::Key_Down);
            QCOMPARE(list->text(u"s_caption"_s), u"Арматура"_s);
            QTest::keyClick(filter, Qt::Key_Up);
            QCOMPARE(list->text(u"s_caption"_s), u"Арка"_s);
            QTest::keyClick(filter, Qt::Key_Home);
            QTest::keyClick(filter, Qt::Key_Delete);
            QCOMPARE(filter->text(), u"ар"_s);
            QTest::keyClick(filter, Qt::Key_Backspace);
            QCOMPARE(filter->text(), u"а"_s);
            QCOMPARE(visibleRows(window), (QStringList{u"Арка|"_s, u"Арматура|"_s}));
            QTest::keyClick(filter, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        });
        m_window->openFromMenu();
        QVERIFY(!child<DataGrid>(m_window.get(), u"DBGrid1"_s)->dataset()->isOpen());
    }

    void editThroughTheWindows()
    {
        m_db.addGroup(u"Арматура"_s);
        const int casting = m_db.addGroup(u"Литьё"_s, true);
        m_db.addGroup(u"Болты"_s);

        onModal(u"Form26"_s, [&](QDialog *window) {
            Dataset *list = child<DataGrid>(window, u"DBGrid1"_s)->dataset();
            QVERIFY(list->locate(u"id"_s, casting));
            const int recNo = list->recNo();

            onModal(u"Form29"_s, [&](QDialog *editor) {
                QCOMPARE(editor->windowTitle(), u"Ведение групп (29)"_s);
                auto *name = child<QLineEdit>(editor, u"Edit1"_s);
                QCOMPARE(editor->focusWidget(), name);
                QCOMPARE(name->text(), u"Литьё"_s);
                auto *excluded = child<QCheckBox>(editor, u"CheckBox1"_s);
                QVERIFY(excluded->isChecked());
                excluded->setChecked(false);
                name->setText(u" Литьё д'Арка "_s);
                QTest::keyClick(name, Qt::Key_Return);
                QVERIFY(!editor->isVisible());
            });
            auto *grid = child<DataGrid>(window, u"DBGrid1"_s);
            const QRect row = grid->visualRect(grid->model()->index(recNo - 1, 0));
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row.center());
            QCOMPARE(list->recNo(), recNo);
            QCOMPARE(list->text(u"s_caption"_s), u"Литьё д'Арка"_s);
            QCOMPARE(list->text(u"s_excl"_s), QString());

            // A new group starts empty and in use; "Выход" writes nothing.
            onModal(u"Form29"_s, [&](QDialog *editor) {
                child<QLineEdit>(editor, u"Edit1"_s)->setText(u"Не нужна"_s);
                child<QPushButton>(editor, u"Button2"_s)->click();
            });
            child<QPushButton>(window, u"Button2"_s)->click();

            list->setRecNo(2);
            onModal(u"Form29"_s, [&](QDialog *editor) {
                auto *name = child<QLineEdit>(editor, u"Edit1"_s);
                QVERIFY(name->text().isEmpty());
                auto *excluded = child<QCheckBox>(editor, u"CheckBox1"_s);
                QVERIFY(!excluded->isChecked());
                name->setText(u"О'Нил"_s);
                excluded->setChecked(true);
                child<QPushButton>(editor, u"Button1"_s)->click();
                QVERIFY(!editor->isVisible());
            });
            child<QPushButton>(window, u"Button2"_s)->click();
            QCOMPARE(list->recNo(), 2);
            QVERIFY(visibleRows(window).contains(u"О'Нил|V"_s));
            window->reject();
        });
        m_window->openFromMenu();
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(
            m_db.count(u"cmn_classifier.item where s_caption=:c and b_excluded=1"_s, {{u"c"_s, u"О'Нил"_s}}),
            1);
        QCOMPARE(m_db.count(u"cmn_classifier.item where s_caption=:c"_s, {{u"c"_s, u"Не нужна"_s}}), 0);
    }

    void deleteThroughTheWindow()
    {
        m_db.addGroup(u"Арматура"_s);
        const int used = m_db.addGroup(u"Болты"_s);
        m_db.addProduct(u"Болт М8"_s, used);
        const int empty = m_db.addGroup(u"Гайки"_s);
        m_db.addGroup(u"Шайбы"_s);

        onModal(u"Form26"_s, [&](QDialog *window) {
            Dataset *list = child<DataGrid>(window, u"DBGrid1"_s)->dataset();
            auto *remove = child<QPushButton>(window, u"Button1"_s);
            QVERIFY(list->locate(u"id"_s, used));
            remove->click();
            QCOMPARE(m_messages.texts(), QStringList{kHasProducts});
            QVERIFY(list->locate(u"id"_s, empty));
            const int recNo = list->recNo();
            remove->click();
            QCOMPARE(m_messages.lastText(), kAskDelete);
            QVERIFY(!visibleRows(window).contains(u"Гайки|"_s));
            QCOMPARE(list->recNo(), recNo);
            QCOMPARE(list->text(u"s_caption"_s), u"Служебные"_s);
            child<QPushButton>(window, u"Button4"_s)->click();
        });
        m_window->openFromMenu();
        QCOMPARE(m_db.count(u"cmn_classifier.item where id=:id"_s, {{u"id"_s, used}}), 1);
        QCOMPARE(m_db.count(u"cmn_classifier.item where id=:id"_s, {{u"id"_s, empty}}), 0);
    }

private:
    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    std::unique_ptr<GroupEditWindow> m_editor;
    std::unique_ptr<GroupsWindow> m_window;
    int m_worker = 0;
    int m_kind = 0;
};

QTEST_MAIN(GroupsTest)
#include "tst_groups.moc"
