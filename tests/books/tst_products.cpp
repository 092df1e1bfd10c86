// The products book: the duplicate test on the mark, the "Расценка" number,
// the deletion cascade with its questions and date rule, the reserved
// products, the filter and the hand-over in pick mode.

#include "books/producteditwindow.h"
#include "books/productsstore.h"
#include "books/productswindow.h"
#include "core/datamodule.h"
#include "db/dberror.h"
#include "db/decimal.h"
#include "guitest.h"
#include "journal/hoursupkeep.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::test;

namespace {

const QString kIncomplete = u"Все поля должны быть заполнены!"_s;
const QString kNotANumber = u"В поле «Расценка» должно быть число!"_s;
const QString kDuplicate = u"Такая марка изделия уже заведена!"_s;
const QString kAskOperations = u"По изделию есть расценки они будут удалены!!!"_s;
const QString kAskWithJournal = u"По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут "
                                "удалены. Удалить изделие? "_s;
const QString kAskProduct = u"Удалить изделие? "_s;

} // namespace

class ProductsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_worker = m_db.addWorker(u"Петров П.П."_s);
        m_kind = m_db.addKind(u"Сборка"_s);
        m_editor = std::make_unique<ProductEditWindow>(m_db.data());
        m_window = std::make_unique<ProductsWindow>(m_db.data(), *m_editor);
    }

    void init()
    {
        // Every test starts from the reserved rows only.
        for (const QString &statement :
             {u"delete from accounts_dep.smena"_s, u"delete from accounts_dep.norm where o_id < 7776"_s,
              u"delete from accounts_dep.oper where id < 7776"_s,
              u"delete from cmn_gds_and_srv.gds_and_srv where id >= 100000"_s,
              u"delete from cmn_classifier.item where id > 1"_s})
            m_db.exec(statement);
        m_group = m_db.addGroup(u"Корпуса"_s);
        m_messages.clear();
    }

    void journalCountFrom_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("from");
        QTest::newRow("January: December of 2000") << QDate(2025, 1, 20) << QDate(2000, 12, 1);
        QTest::newRow("New Year's day") << QDate(2026, 1, 1) << QDate(2000, 12, 1);
        QTest::newRow("February") << QDate(2025, 2, 28) << QDate(2000, 1, 1);
        QTest::newRow("March") << QDate(2024, 3, 31) << QDate(2000, 2, 1);
        QTest::newRow("December") << QDate(2025, 12, 1) << QDate(2000, 11, 1);
    }
    void journalCountFrom()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, from);
        QCOMPARE(ProductsStore::journalCountFrom(today), from);
    }

    // Product "Деталь-А" (massa 1) and "Корпус" exist; `change` edits the first.
    void save_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("massa");
        QTest::addColumn<bool>("withGroup");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("message");
        const int written = int(ProductsStore::Saved::Written);
        const int duplicate = int(ProductsStore::Saved::Duplicate);
        const int incomplete = int(ProductsStore::Saved::Incomplete);
        const int notANumber = int(ProductsStore::Saved::NotANumber);
        QTest::newRow("new mark") << false << u"Крышка"_s << u"2"_s << true << written << QString();
        QTest::newRow("Cyrillic mark in another case")
            << false << u"дЕТАЛЬ-а"_s << u"2"_s << true << duplicate << kDuplicate;
        QTest::newRow("blanks around an existing mark")
            << false << u"  Корпус "_s << u"2"_s << true << duplicate << kDuplicate;
        QTest::newRow("change keeps its own mark")
            << true << u"Деталь-А"_s << u"3"_s << true << written << QString();
        QTest::newRow("change keeps its own mark in capitals")
            << true << u"ДЕТАЛЬ-А"_s << u"3"_s << true << written << QString();
        QTest::newRow("change to another product's mark")
            << true << u"корпус"_s << u"3"_s << true << duplicate << kDuplicate;
        QTest::newRow("mark of blanks") << false << u"   "_s << u"2"_s << true << incomplete << kIncomplete;
        QTest::newRow("no Расценка") << false << u"Крышка"_s << u" "_s << true << incomplete << kIncomplete;
        QTest::newRow("no group") << false << u"Крышка"_s << u"2"_s << false << incomplete << kIncomplete;
        QTest::newRow("change without a group")
            << true << u"Деталь-А"_s << u"3"_s << false << incomplete << kIncomplete;
        QTest::newRow("two points") << false << u"Крышка"_s << u"1.2.3"_s << true << notANumber
                                    << kNotANumber;
        QTest::newRow("letters") << true << u"Деталь-А"_s << u"12a"_s << true << notANumber << kNotANumber;
    }
    void save()
    {
        QFETCH(bool, change);
        QFETCH(QString, mark);
        QFETCH(QString, massa);
        QFETCH(bool, withGroup);
        QFETCH(int, expected);
        QFETCH(QString, message);
        const int first = m_db.addProduct(u"Деталь-А"_s, m_group);
        m_db.addProduct(u"Корпус"_s, m_group);
        const int before = m_db.count(u"accounts_dep.izdel"_s);

        ProductsStore store(m_db.data());
        const auto outcome = store.save(change ? first : 0, {mark, massa, withGroup ? m_group : 0});
        const auto saved = outcome.status;
        QCOMPARE(int(saved), expected);
        QCOMPARE(outcome.check.message(), message);
        QCOMPARE(outcome.id, saved == ProductsStore::Saved::Written ? (change ? first : outcome.id) : 0);
        // The store tells the user nothing itself.
        QVERIFY(m_messages.shown.isEmpty());
        const bool added = !change && saved == ProductsStore::Saved::Written;
        QCOMPARE(m_db.count(u"accounts_dep.izdel"_s), before + (added ? 1 : 0));
        const bool changed = change && saved == ProductsStore::Saved::Written;
        const QString massaNow =
            m_db.scalar(u"select massa::text from accounts_dep.izdel where id=:id"_s, {{u"id"_s, first}})
                .toString();
        QCOMPARE(massaNow, changed ? u"3.000000"_s : u"1.000000"_s);
    }

    // What is written is the trimmed mark, apostrophes included, and the
    // number with a comma or a point, read back through accounts_dep.izdel.
    void savedAsTyped_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("massa");
        QTest::addColumn<QString>("storedMark");
        QTest::addColumn<QString>("storedMassa");
        QTest::newRow("new, apostrophe and comma")
            << false << u"  О'Нил-12 "_s << u"12,5"_s << u"О'Нил-12"_s << u"12.500000"_s;
        QTest::newRow("new, point") << false << u"Кр.1'"_s << u"0.125"_s << u"Кр.1'"_s << u"0.125000"_s;
        QTest::newRow("change, apostrophe and comma")
            << true << u"Д'Артаньян "_s << u"7,25"_s << u"Д'Артаньян"_s << u"7.250000"_s;
        QTest::newRow("change, whole number")
            << true << u"Деталь"_s << u"40"_s << u"Деталь"_s << u"40.000000"_s;
    }
    void savedAsTyped()
    {
        QFETCH(bool, change);
        QFETCH(QString, mark);
        QFETCH(QString, massa);
        QFETCH(QString, storedMark);
        QFETCH(QString, storedMassa);
        const int other = m_db.addGroup(u"Арматура"_s);
        int id = change ? m_db.addProduct(u"Старая марка"_s, m_group) : 0;

        ProductsStore store(m_db.data());
        const auto saved = store.save(id, {mark, massa, other});
        QCOMPARE(saved.status, ProductsStore::Saved::Written);
        if (!change)
            id = saved.id;
        QVERIFY(id > 0);
        QVERIFY(m_messages.shown.isEmpty());

        Dataset &izdel = m_db.data().izdel();
        izdel.open();
        QVERIFY(izdel.locate(u"id"_s, id));
        QCOMPARE(izdel.text(u"marka"_s), storedMark);
        QCOMPARE(izdel.text(u"massa"_s), storedMassa);
        QCOMPARE(izdel.intValue(u"id_class_item"_s), other);
        QCOMPARE(izdel.text(u"nom"_s), u"Арматура"_s);
        izdel.close();
        QCOMPARE(
            m_db.count(u"cmn_gds_and_srv.gds_and_srv where id=:id and s_description='' and id_msm_bs=6"_s,
                       {{u"id"_s, id}}),
            1);
    }

    void remove_data()
    {
        QTest::addColumn<bool>("withOperations");
        QTest::addColumn<QDate>("journalDate"); // null: no journal row
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("operationsLeft");
        QTest::addColumn<bool>("journalLeft");
        QTest::addColumn<bool>("productLeft");
        const QDate march(2025, 3, 10);
        const QDate january(2025, 1, 15);
        QTest::newRow("nothing refers to it") << false << QDate() << march << QList<bool>{true}
                                              << QStringList{kAskProduct} << false << false << false;
        QTest::newRow("nothing refers to it, No") << false << QDate() << march << QList<bool>{false}
                                                  << QStringList{kAskProduct} << false << false << true;
        QTest::newRow("operations kept, product deleted")
            << true << QDate() << march << QList<bool>{false, true}
            << QStringList{kAskOperations, kAskProduct} << true << false << false;
        QTest::newRow("operations deleted, product kept")
            << true << QDate() << march << QList<bool>{true, false}
            << QStringList{kAskOperations, kAskProduct} << false << false << true;
        QTest::newRow("journal rows go with the product")
            << true << QDate(2024, 5, 6) << march << QList<bool>{true, true}
            << QStringList{kAskOperations, kAskWithJournal} << false << false << false;
        QTest::newRow("journal rows kept on No")
            << true << QDate(2024, 5, 6) << march << QList<bool>{false, false}
            << QStringList{kAskOperations, kAskWithJournal} << true << true << true;
        QTest::newRow("March counts from 1 February 2000")
            << true << QDate(2000, 2, 1) << march << QList<bool>{false, false}
            << QStringList{kAskOperations, kAskWithJournal} << true << true << true;
        QTest::newRow("March: 31 January 2000 is not counted")
            << true << QDate(2000, 1, 31) << march << QList<bool>{false, false}
            << QStringList{kAskOperations, kAskProduct} << true << true << true;
        QTest::newRow("January counts from 1 December 2000")
            << true << QDate(2000, 12, 1) << january << QList<bool>{false, false}
            << QStringList{kAskOperations, kAskWithJournal} << true << true << true;
        QTest::newRow("January: 30 November 2000 is not counted")
            << true << QDate(2000, 11, 30) << january << QList<bool>{false, false}
            << QStringList{kAskOperations, kAskProduct} << true << true << true;
    }
    void remove()
    {
        QFETCH(bool, withOperations);
        QFETCH(QDate, journalDate);
        QFETCH(QDate, today);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, questions);
        QFETCH(bool, operationsLeft);
        QFETCH(bool, journalLeft);
        QFETCH(bool, productLeft);
        const int product = m_db.addProduct(u"Втулка"_s, m_group);
        // Something else that must survive whatever is answered.
        const int neighbour = m_db.addProduct(u"Втулка-2"_s, m_group);
        const int neighbourOperation = m_db.addOperation(m_kind, neighbour);
        m_db.addJournalRow(m_worker, neighbourOperation, QDate(2024, 5, 6), 1, 8);
        if (withOperations) {
            const int operation = m_db.addOperation(m_kind, product);
            m_db.addOperation(m_kind, product, 1);
            if (journalDate.isValid())
                m_db.addJournalRow(m_worker, operation, journalDate, 2, 8);
        }

        ProductsStore store(m_db.data());
        const ProductsStore::DeletePlan plan = store.deletePlan(product, today);
        QVERIFY(plan.allowed);
        // The window asks about the operations when there are any, then
        // about the product, naming the journal rows when some are counted.
        QCOMPARE(plan.operations > 0, questions.first() == kAskOperations);
        QCOMPARE(plan.journalRows > 0, questions.last() == kAskWithJournal);
        store.remove(product, {questions.size() > 1 && answers.first(), answers.last()});
        QVERIFY(m_messages.shown.isEmpty());
        const Params id{{u"id"_s, product}};
        QCOMPARE(m_db.count(u"accounts_dep.oper where i_id=:id"_s, id) > 0, operationsLeft);
        QCOMPARE(m_db.count(u"accounts_dep.smena where i_id=:id"_s, id) > 0, journalLeft);
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id=:id"_s, id) > 0, productLeft);
        QCOMPARE(m_db.count(u"accounts_dep.smena where i_id=:id"_s, {{u"id"_s, neighbour}}), 1);
        QCOMPARE(m_db.count(u"accounts_dep.oper where i_id=:id"_s, {{u"id"_s, neighbour}}), 1);
    }

    // The journal rows and the product go together or not at all.
    void failedDeletionKeepsTheJournal()
    {
        m_db.exec(u"create function public.refuse_delete() returns trigger language plpgsql as "
                  "$$ begin raise exception 'Изделие используется'; end $$"_s);
        m_db.exec(u"create trigger refuse_delete before delete on cmn_gds_and_srv.gds_and_srv for each row "
                  "when (old.s_caption = 'Занятое') execute function public.refuse_delete()"_s);
        const auto dropTrigger = qScopeGuard([this] {
            m_db.exec(u"drop trigger refuse_delete on cmn_gds_and_srv.gds_and_srv"_s);
            m_db.exec(u"drop function public.refuse_delete()"_s);
        });
        const int product = m_db.addProduct(u"Занятое"_s, m_group);
        m_db.addJournalRow(m_worker, m_db.addOperation(m_kind, product), QDate(2024, 5, 6), 1, 8);

        ProductsStore store(m_db.data());
        try {
            store.remove(product, {true, true});
            QFAIL("the refused deletion was reported as done");
        } catch (const DbError &error) {
            QVERIFY2(error.message().contains(u"Изделие используется"_s), qPrintable(error.message()));
        }
        const Params id{{u"id"_s, product}};
        QCOMPARE(m_db.count(u"accounts_dep.smena where i_id=:id"_s, id), 1);
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id=:id"_s, id), 1);
        QCOMPARE(m_db.count(u"accounts_dep.oper where i_id=:id"_s, id), 1);
        // Autocommit is back: what follows is written for good.
        QCOMPARE(store.save(0, {u"После отказа"_s, u"1"_s, m_group}).status, ProductsStore::Saved::Written);
    }

    // "Да" to the operations and "Нет" to the product: an operation that
    // journal rows still use stays, so no row is left without it.
    void operationsInUseStayWithTheProduct()
    {
        const int product = m_db.addProduct(u"Шайба"_s, m_group);
        const int used = m_db.addOperation(m_kind, product);
        const int unused = m_db.addOperation(m_kind, product, 1);
        m_db.addJournalRow(m_worker, used, QDate(2024, 5, 6), 1, 8);

        ProductsStore store(m_db.data());
        QVERIFY(store.remove(product, {true, false}));
        QCOMPARE(m_db.count(u"accounts_dep.oper where id=:id"_s, {{u"id"_s, used}}), 1);
        QCOMPARE(m_db.count(u"accounts_dep.oper where id=:id"_s, {{u"id"_s, unused}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.smena where i_id=:id"_s, {{u"id"_s, product}}), 1);
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id=:id"_s, {{u"id"_s, product}}), 1);
    }

    // The product's journal rows leave the hours timesheet with it: every
    // day cell they counted in is recomputed from what remains, and a month
    // without a timesheet row gets none.
    void deletedJournalLeavesTheHours()
    {
        const int product = m_db.addProduct(u"Кронштейн"_s, m_group);
        const int operation = m_db.addOperation(m_kind, product);
        const int other = m_db.addOperation(m_kind, m_db.addProduct(u"Уголок"_s, m_group));
        const int second = m_db.addWorker(u"Сидоров С.С."_s);
        const QDate shared(2024, 5, 6), alone(2024, 5, 31), noSheet(2024, 6, 3);
        m_db.addJournalRow(m_worker, operation, shared, 1, 8);
        m_db.addJournalRow(m_worker, other, shared, 1, 3);
        m_db.addJournalRow(m_worker, operation, alone, 1, 5);
        m_db.addJournalRow(second, operation, shared, 2, 7);
        HoursUpkeep upkeep(m_db.data());
        upkeep.shiftHours(m_worker, 1, shared, HoursUpkeep::Mode::Upsert);
        upkeep.shiftHours(m_worker, 1, alone, HoursUpkeep::Mode::Upsert);
        upkeep.shiftHours(second, 2, shared, HoursUpkeep::Mode::Upsert);
        m_db.addJournalRow(m_worker, operation, noSheet, 1, 4);
        const auto day = [this](int worker, int shift, const QDate &date) {
            return m_db
                .scalar(u"select coalesce(sum(%1), -1) from accounts_dep.h_tabel where w_id=:w and smena=:s "
                        "and month=:m and year=:y"_s.arg(HoursUpkeep::dayColumn(date.day())),
                        {{u"w"_s, worker}, {u"s"_s, shift}, {u"m"_s, date.month()}, {u"y"_s, date.year()}})
                .toInt();
        };
        QCOMPARE(day(m_worker, 1, shared), 11);
        QCOMPARE(day(m_worker, 1, alone), 5);
        QCOMPARE(day(second, 2, shared), 7);

        ProductsStore store(m_db.data());
        QVERIFY(store.remove(product, {true, true}));
        QCOMPARE(day(m_worker, 1, shared), 3);
        QCOMPARE(day(m_worker, 1, alone), 0);
        QCOMPARE(day(second, 2, shared), 0);
        QCOMPARE(day(m_worker, 1, noSheet), -1); // update-only: no row made
        QCOMPARE(m_db.count(u"accounts_dep.h_tabel where w_id in (:a, :b)"_s,
                            {{u"a"_s, m_worker}, {u"b"_s, second}}),
                 2);
    }

    // What the user is asked before a product goes, and what the answers do.
    void deleteAsksInTheWindow_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("operationsLeft");
        QTest::addColumn<bool>("productLeft");
        QTest::newRow("Да, Да") << QList<bool>{true, true} << false << false;
        QTest::newRow("Нет, Нет") << QList<bool>{false, false} << true << true;
        QTest::newRow("Нет, Да") << QList<bool>{false, true} << true << false;
    }
    void deleteAsksInTheWindow()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(bool, operationsLeft);
        QFETCH(bool, productLeft);
        const int product = m_db.addProduct(u"Фланец"_s, m_group);
        const int operation = m_db.addOperation(m_kind, product);
        m_db.addOperation(m_kind, product, 1);
        m_db.addJournalRow(m_worker, operation, QDate::currentDate(), 1, 8);

        m_messages.answers = answers;
        onModal(u"Form3"_s, [&](QDialog *window) {
            QVERIFY(m_db.data().izdel().locate(u"id"_s, product));
            child<QPushButton>(window, u"Button3"_s)->click();
            window->reject();
        });
        m_window->openFromMenu();

        QCOMPARE(m_messages.texts(), (QStringList{kAskOperations, kAskWithJournal}));
        for (const auto &shown : std::as_const(m_messages.shown)) {
            QVERIFY(shown.question);
            QCOMPARE(shown.caption, u"Удаление"_s);
            QCOMPARE(shown.icon, MessageIcon::Question);
        }
        const Params id{{u"id"_s, product}};
        // The operation the journal row uses stays while the row stays.
        QCOMPARE(m_db.count(u"accounts_dep.oper where i_id=:id"_s, id) > 0, operationsLeft || productLeft);
        QCOMPARE(m_db.count(u"accounts_dep.oper where i_id=:id and naimen=1"_s, id) > 0, operationsLeft);
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id=:id"_s, id) > 0, productLeft);
        QCOMPARE(m_db.count(u"accounts_dep.smena where i_id=:id"_s, id) > 0, productLeft);
    }

    void reservedProductsAreLeftAlone()
    {
        ProductsStore store(m_db.data());
        for (int id : {7777, 7778, 7782, 7783}) {
            QVERIFY(ProductsStore::isReserved(id));
            QVERIFY(!store.deletePlan(id).allowed);
            QVERIFY(!store.remove(id, {true, true}));
        }
        QVERIFY(!ProductsStore::isReserved(7779));
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id in (7777, 7778, 7782, 7783)"_s), 4);

        // Neither "Изменить" nor "Удалить" reacts in the list.
        bool editorOpened = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (modal && modal->objectName() == u"Form7"_s) {
                editorOpened = true;
                modal->reject();
            }
        });
        watch.start(20);
        onModal(u"Form3"_s, [&](QDialog *window) {
            QVERIFY(m_db.data().izdel().locate(u"id"_s, 7782));
            child<QPushButton>(window, u"Button2"_s)->click();
            child<QPushButton>(window, u"Button3"_s)->click();
            QTest::qWait(100);
            window->reject();
        });
        m_window->openFromMenu();
        watch.stop();
        QVERIFY(!editorOpened);
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id = 7782"_s), 1);

        // Nor can one be picked: Enter leaves the window open.
        onModal(u"Form3"_s, [&](QDialog *window) {
            auto *filter = child<QLineEdit>(window, u"Edit1"_s);
            typeText(filter, u"Хоз"_s);
            QCOMPARE(gridColumn(window).size(), 3);
            QTest::keyClick(filter, Qt::Key_Return);
            QVERIFY(window->isVisible());
            QTest::keyClick(filter, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        });
        QVERIFY(!m_window->pick());
    }

    void filter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("beginning in another case") << u"кор"_s << QStringList{u"Корпус"_s, u"корпус-2"_s};
        QTest::newRow("longer beginning") << u"Корпус-"_s << QStringList{u"корпус-2"_s};
        QTest::newRow("found only inside a mark") << u"орпус"_s << QStringList{};
        QTest::newRow("nothing begins so") << u"Ящик"_s << QStringList{};
    }
    void filter()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, marks);
        m_db.addProduct(u"Корпус"_s, m_group);
        m_db.addProduct(u"корпус-2"_s, m_group);
        m_db.addProduct(u"Бокс корпуса"_s, m_group);

        onModal(u"Form3"_s, [&](QDialog *window) {
            auto *filter = child<QLineEdit>(window, u"Edit1"_s);
            QCOMPARE(window->focusWidget(), filter);
            filter->clear();
            const int all = gridColumn(window).size();
            typeText(filter, typed);
            QCOMPARE(gridColumn(window), marks);
            filter->clear();
            QCOMPARE(gridColumn(window).size(), all);
            typeText(filter, typed);
            window->reject();
        });
        m_window->openFromMenu();
        QVERIFY(!m_db.data().izdel().isOpen());

        // The filter and its text stay for the next opening from the menu.
        onModal(u"Form3"_s, [&](QDialog *window) {
            QCOMPARE(child<QLineEdit>(window, u"Edit1"_s)->text(), typed);
            QCOMPARE(gridColumn(window), marks);
            window->reject();
        });
        m_window->openFromMenu();
        child<QLineEdit>(m_window.get(), u"Edit1"_s)->clear();
    }

    void pickWithTheKeyboard()
    {
        m_db.addProduct(u"Альфа"_s, m_group);
        const int beta = m_db.addProduct(u"Бета  "_s, m_group);
        m_db.addProduct(u"Гамма"_s, m_group);
        child<QLineEdit>(m_window.get(), u"Edit1"_s)->setText(u"Гам"_s);

        onModal(u"Form3"_s, [&](QDialog *window) {
            auto *choose = child<QPushButton>(window, u"Button2"_s);
            QCOMPARE(choose->text(), u"Выбрать"_s);
            QVERIFY(choose->isDefault());
            QVERIFY(!child<QPushButton>(window, u"Button1"_s)->isEnabled());
            QVERIFY(!child<QPushButton>(window, u"Button3"_s)->isEnabled());
            auto *filter = child<QLineEdit>(window, u"Edit1"_s);
            QVERIFY(filter->text().isEmpty()); // pick mode starts unfiltered
            QCOMPARE(window->focusWidget(), filter);
            Dataset &izdel = m_db.data().izdel();
            QCOMPARE(izdel.text(u"marka"_s), u"Альфа"_s);
            QTest::keyClick(filter, Qt::Key_Down);
            QTest::keyClick(filter, Qt::Key_Down);
            QCOMPARE(izdel.text(u"marka"_s), u"Гамма"_s);
            QTest::keyClick(filter, Qt::Key_Up);
            QCOMPARE(child<DataGrid>(window, u"DBGrid1"_s)->currentIndex().row(), 1);
            QTest::keyClick(filter, Qt::Key_Return);
            QVERIFY(!window->isVisible());
        });
        const std::optional<ProductPick> picked = m_window->pick();
        QVERIFY(picked);
        QCOMPARE(picked->id, beta);
        QCOMPARE(picked->mark, u"Бета"_s);
        QVERIFY(!child<QPushButton>(m_window.get(), u"Button2"_s)->isDefault());
        QVERIFY(!m_db.data().izdel().isOpen());

        // A double-click picks as well; Escape picks nothing.
        onModal(u"Form3"_s, [&](QDialog *window) {
            auto *grid = child<DataGrid>(window, u"DBGrid1"_s);
            const QRect third = grid->visualRect(grid->model()->index(2, 0));
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third.center());
        });
        const std::optional<ProductPick> clicked = m_window->pick();
        QVERIFY(clicked);
        QCOMPARE(clicked->mark, u"Гамма"_s);
        onModal(u"Form3"_s, [](QDialog *window) { QTest::keyClick(window, Qt::Key_Escape); });
        QVERIFY(!m_window->pick());
    }

    void addThroughTheWindows()
    {
        const int fittings = m_db.addGroup(u"Арматура"_s);
        m_db.addGroup(u"Старые"_s, true);
        m_db.exec(u"insert into cmn_classifier.item(s_caption, id_level) values ('Подгруппа', 3)"_s);
        m_db.addProduct(u"Альфа"_s, m_group);
        m_db.addProduct(u"Бета"_s, m_group);

        onModal(u"Form3"_s, [&](QDialog *window) {
            Dataset &izdel = m_db.data().izdel();
            izdel.setRecNo(2);
            onModal(u"Form7"_s, [&](QDialog *editor) {
                QCOMPARE(editor->windowTitle(), u"Заведение нового изделия (7)"_s);
                auto *mark = child<QLineEdit>(editor, u"Edit1"_s);
                auto *massa = child<QLineEdit>(editor, u"Edit2"_s);
                auto *group = child<QComboBox>(editor, u"DBLookupComboBox1"_s);
                QCOMPARE(editor->focusWidget(), mark);
                QVERIFY(mark->text().isEmpty() && massa->text().isEmpty());
                QStringList offered;
                for (int i = 0; i < group->count(); ++i)
                    offered << group->itemText(i);
                QCOMPARE(offered, (QStringList{u"Арматура"_s, u"Корпуса"_s}));

                child<QPushButton>(editor, u"Button1"_s)->click();
                QCOMPARE(m_messages.texts(), QStringList{kIncomplete});
                QVERIFY(editor->isVisible());

                typeText(mark, u"Новое'"_s);
                typeText(massa, u"1a2,5-x."_s);
                QCOMPARE(massa->text(), u"12.5."_s);
                group->setCurrentIndex(group->findText(u"Арматура"_s));
                child<QPushButton>(editor, u"Button1"_s)->click();
                QCOMPARE(m_messages.lastText(), kNotANumber);
                QVERIFY(editor->isVisible());
                QTest::keyClick(massa, Qt::Key_Backspace);
                QTest::keyClick(massa, Qt::Key_Return);
                QVERIFY(!editor->isVisible());
            });
            child<QPushButton>(window, u"Button1"_s)->click();
            QCOMPARE(izdel.recNo(), 2);
            QVERIFY(gridColumn(window).contains(u"Новое'"_s));

            // The next new product is offered the group chosen last.
            onModal(u"Form7"_s, [&](QDialog *editor) {
                QVERIFY(child<QLineEdit>(editor, u"Edit1"_s)->text().isEmpty());
                QCOMPARE(child<QComboBox>(editor, u"DBLookupComboBox1"_s)->currentText(), u"Арматура"_s);
                QTest::keyClick(editor, Qt::Key_Escape);
            });
            child<QPushButton>(window, u"Button1"_s)->click();
            window->reject();
        });
        m_window->openFromMenu();
        QCOMPARE(m_db.count(u"accounts_dep.izdel where marka=:m and massa=12.5 and id_class_item=:g"_s,
                            {{u"m"_s, u"Новое'"_s}, {u"g"_s, fittings}}),
                 1);
    }

    void changeThroughTheWindows()
    {
        m_db.addProduct(u"Альфа"_s, m_group);
        const int product = m_db.addProduct(u"Деталь  "_s, m_group);
        m_db.addProduct(u"Ёлка"_s, m_group);

        onModal(u"Form3"_s, [&](QDialog *window) {
            Dataset &izdel = m_db.data().izdel();
            QVERIFY(izdel.locate(u"id"_s, product));
            const int recNo = izdel.recNo();
            QVERIFY(!child<QPushButton>(window, u"Button2"_s)->isDefault());
            onModal(u"Form7"_s, [&](QDialog *editor) {
                QCOMPARE(editor->windowTitle(), u"Изменение данных изделия (7)"_s);
                QCOMPARE(child<QLineEdit>(editor, u"Edit1"_s)->text(), u"Деталь"_s);
                auto *massa = child<QLineEdit>(editor, u"Edit2"_s);
                QCOMPARE(massa->text(), u"1"_s);
                QCOMPARE(child<QComboBox>(editor, u"DBLookupComboBox1"_s)->currentText(), u"Корпуса"_s);
                massa->clear();
                typeText(massa, u"2,75"_s);
                QTest::keyClick(massa, Qt::Key_Enter);
                QVERIFY(!editor->isVisible());
            });
            auto *grid = child<DataGrid>(window, u"DBGrid1"_s);
            const QRect row = grid->visualRect(grid->model()->index(recNo - 1, 0));
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row.center());
            QCOMPARE(izdel.recNo(), recNo);
            QCOMPARE(izdel.text(u"massa"_s), u"2.750000"_s);
            window->reject();
        });
        m_window->openFromMenu();
        QVERIFY(m_messages.shown.isEmpty());
    }

    void deleteThroughTheWindow()
    {
        const int product = m_db.addProduct(u"Лишнее"_s, m_group);
        onModal(u"Form3"_s, [&](QDialog *window) {
            QVERIFY(m_db.data().izdel().locate(u"id"_s, product));
            child<QPushButton>(window, u"Button3"_s)->click();
            QCOMPARE(m_messages.texts(), QStringList{kAskProduct});
            QVERIFY(!gridColumn(window).contains(u"Лишнее"_s));
            child<QPushButton>(window, u"Button4"_s)->click();
        });
        m_window->openFromMenu();
        QCOMPARE(m_db.count(u"cmn_gds_and_srv.gds_and_srv where id=:id"_s, {{u"id"_s, product}}), 0);
    }

private:
    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    std::unique_ptr<ProductEditWindow> m_editor;
    std::unique_ptr<ProductsWindow> m_window;
    int m_worker = 0;
    int m_kind = 0;
    int m_group = 0;
};

QTEST_MAIN(ProductsTest)
#include "tst_products.moc"
