// The household works journal (Form25) and its entry window (Form24) driven
// offscreen: the day-off rule, entry with prices and refusals, the sum that
// follows the hours, change, deletion and the average-piecework button.

#include "books/groupeditwindow.h"
#include "books/groupswindow.h"
#include "books/hoursprompt.h"
#include "books/workereditwindow.h"
#include "books/workerswindow.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "household/householdentrywindow.h"
#include "household/householdjournalwindow.h"
#include "household/householdstore.h"
#include "household/householdwindows.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using kordel::test::button;
using kordel::test::child;
using kordel::test::onModal;

namespace {

class ScriptedPickers : public HouseholdPickers
{
public:
    std::optional<WorkerPick> worker() override { return workerPick; }
    std::optional<GroupPick> group() override { return groupPick; }
    std::optional<WorkerPick> workerPick;
    std::optional<GroupPick> groupPick;
};

const QDate kWednesday(2025, 3, 5);
const QDate kSaturday(2025, 3, 8);
const QDate kSunday(2025, 3, 9);
const QDate kMonday(2025, 3, 10);

} // namespace

class HouseholdWindowsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_db.exec(u"update accounts_dep.norm set price=150 where o_id=7777"_s);
        m_db.exec(u"update accounts_dep.norm set price=null where o_id=7783"_s);
        m_group = m_db.addGroup(u"Тара"_s);
        DataModule &data = m_db.data();
        m_workerEdit = std::make_unique<WorkerEditWindow>(data);
        m_workers = std::make_unique<WorkersWindow>(data, *m_workerEdit, m_hoursPrompt);
        m_groupEdit = std::make_unique<GroupEditWindow>(data);
        m_groups = std::make_unique<GroupsWindow>(data, *m_groupEdit);
        m_windows = std::make_unique<HouseholdWindows>(data, *m_workers, *m_groups, nullptr);
        m_windows->entry().setPickers(&m_pickers);
    }

    void init() { m_messages.clear(); }

    // Opening from the daily journal leaves the box alone; a date picked by
    // the user ticks it on weekends (bold on red) and clears it otherwise.
    void dayOffRule()
    {
        HouseholdJournalWindow &journal = m_windows->journal();
        auto *box = child<QCheckBox>(&journal, u"CBox1"_s);
        box->setChecked(false);
        bool opened = false;
        onModal(u"Form25"_s, [&](QDialog *) {
            opened = true;
            QVERIFY(!box->isChecked()); // a Sunday, set by the opener
            QCOMPARE(journal.date(), kSunday);
            child<QDateEdit>(&journal, u"DTPcker1"_s)->setDate(kSaturday);
            QVERIFY(box->isChecked());
            QVERIFY(box->styleSheet().contains(u"font-weight: bold"_s));
            QVERIFY(box->styleSheet().contains(u"#ff0000"_s));
            child<QDateEdit>(&journal, u"DTPcker1"_s)->setDate(kMonday);
            QVERIFY(!box->isChecked());
            QVERIFY(box->styleSheet().isEmpty());
            box->setChecked(true); // by hand
            QVERIFY(journal.isDayOff());
        });
        journal.open(kSunday);
        QVERIFY(opened);
        box->setChecked(false);
    }

    // New records priced from the kind's norm price; the list shows them.
    void newRecord_data()
    {
        QTest::addColumn<bool>("dayOff");
        QTest::addColumn<bool>("night");
        QTest::addColumn<QString>("price");
        QTest::newRow("working day") << false << false << u"150.0000"_s;
        QTest::newRow("day off with night") << true << true << u"360.0000"_s;
    }
    void newRecord()
    {
        QFETCH(bool, dayOff);
        QFETCH(bool, night);
        QFETCH(QString, price);
        const int worker = m_db.addWorker(u"Иванов И.И."_s);
        m_pickers.workerPick = WorkerPick{worker, u"Иванов И.И."_s, 0};
        m_pickers.groupPick = GroupPick{m_group, u"Тара"_s};
        HouseholdEntryWindow &entry = m_windows->entry();
        onModal(u"Form24"_s, [&](QDialog *window) {
            QCOMPARE(window->windowTitle(), u"Хоз. работы/среднесдельная (24)"_s);
            QCOMPARE(child<QLineEdit>(window, u"Edit6"_s)->text(), u"0"_s);
            QCOMPARE(child<QComboBox>(window, u"cb_type_work"_s)->currentData().toInt(), 7777);
            QCOMPARE(child<QLineEdit>(window, u"DBEdit1"_s)->text(), u"150"_s);
            QVERIFY(child<QCheckBox>(window, u"CBox1"_s)->isEnabled());
            button(window, u"Button3"_s)->click();
            button(window, u"Button4"_s)->click();
            QCOMPARE(child<QLineEdit>(window, u"Edit1"_s)->text(), u"Иванов И.И."_s);
            QCOMPARE(child<QLineEdit>(window, u"Edit2"_s)->text(), u"Тара"_s);
            auto *hours = child<QLineEdit>(window, u"Edit6"_s);
            hours->clear();
            QTest::keyClicks(hours, u"8"_s);
            QCOMPARE(child<QLineEdit>(window, u"DBEdit2"_s)->text(), u"1200"_s); // follows the hours
            child<QCheckBox>(window, u"CBox1"_s)->setChecked(night);
            button(window, u"Button1"_s)->click();
        });
        QVERIFY(entry.openNew({kWednesday, dayOff, 1}));
        QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));
        QCOMPARE(m_db.scalar(u"select price::text || ' ' || cnt || ' ' || i_holiday || i_night || i_smena "
                             "from accounts_dep.fatigue where id_p=:w"_s,
                             {{u"w"_s, worker}})
                     .toString(),
                 u"%1 8 %2%3%4"_s.arg(price).arg(int(dayOff)).arg(int(night)).arg(1));
        QCOMPARE(m_db.scalar(u"select d5 from accounts_dep.h_tabel where w_id=:w and i_type=7777"_s,
                             {{u"w"_s, worker}})
                     .toInt(),
                 8);
    }

    // Refusals leave the window open and write nothing.
    void refusals_data()
    {
        QTest::addColumn<bool>("group");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("no group, no hours")
            << false << u"0"_s << 7777 << u"Все поля должны быть заполнены!"_s;
        QTest::newRow("no hours") << true << u"0"_s << 7777 << u"Нужно завести количество!"_s;
        QTest::newRow("empty hours") << true << u""_s << 7777 << u"Нужно завести количество!"_s;
        QTest::newRow("kind without price")
            << true << u"8"_s << 7783 << u"У выбранной работы не задана цена!"_s;
    }
    void refusals()
    {
        QFETCH(bool, group);
        QFETCH(QString, hours);
        QFETCH(int, kind);
        QFETCH(QString, message);
        const int worker = m_db.addWorker(u"Петров П.П."_s);
        m_pickers.workerPick = WorkerPick{worker, u"Петров П.П."_s, 0};
        m_pickers.groupPick = group ? std::optional(GroupPick{m_group, u"Тара"_s}) : std::nullopt;
        bool stayedOpen = false;
        onModal(u"Form24"_s, [&](QDialog *window) {
            button(window, u"Button3"_s)->click();
            button(window, u"Button4"_s)->click();
            auto *kinds = child<QComboBox>(window, u"cb_type_work"_s);
            kinds->setCurrentIndex(kinds->findData(kind));
            child<QLineEdit>(window, u"Edit6"_s)->setText(hours);
            button(window, u"Button1"_s)->click();
            stayedOpen = window->isVisible();
        });
        QVERIFY(!m_windows->entry().openNew({kWednesday, false, 1}));
        QVERIFY(stayedOpen);
        QCOMPARE(m_messages.texts(), QStringList{message});
        QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
        QCOMPARE(m_db.count(u"accounts_dep.fatigue where id_p=:w"_s, {{u"w"_s, worker}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.h_tabel where w_id=:w"_s, {{u"w"_s, worker}}), 0);
    }

    // "Изменить" hands over the current record with its night flag locked;
    // the change re-prices it and moves its hours to the new group.
    void changeThroughTheJournal()
    {
        const int worker = m_db.addWorker(u"Яковлев Я.Я."_s);
        const qint64 other = m_db.addGroup(u"Уборка"_s);
        HouseholdRecord r;
        r.worker = worker;
        r.kind = 7777;
        r.group = m_group;
        r.date = kMonday;
        r.hours = 5;
        r.price = *Decimal::parse(u"99");
        r.night = true;
        m_windows->store().insert(r);
        m_pickers.groupPick = GroupPick{int(other), u"Уборка"_s};

        HouseholdJournalWindow &journal = m_windows->journal();
        onModal(u"Form25"_s, [&](QDialog *) {
            QVERIFY(m_windows->store().list().locate(u"id_p"_s, worker));
            onModal(u"Form24"_s, [&](QDialog *window) {
                QCOMPARE(child<QLineEdit>(window, u"Edit1"_s)->text(), u"Яковлев Я.Я."_s);
                QCOMPARE(child<QLineEdit>(window, u"Edit2"_s)->text(), u"Тара"_s);
                QCOMPARE(child<QLineEdit>(window, u"Edit6"_s)->text(), u"5"_s);
                QVERIFY(child<QCheckBox>(window, u"CBox1"_s)->isChecked());
                QVERIFY(!child<QCheckBox>(window, u"CBox1"_s)->isEnabled());
                button(window, u"Button4"_s)->click();
                button(window, u"Button1"_s)->click();
            });
            button(&journal, u"Button6"_s)->click();
            QCOMPARE(m_windows->store().list().value(u"id_p"_s).toInt(), worker); // same record again
        });
        journal.open(kMonday);
        QCOMPARE(
            m_db.scalar(u"select price::text from accounts_dep.fatigue where id_p=:w"_s, {{u"w"_s, worker}})
                .toString(),
            u"180.0000"_s);
        QCOMPARE(m_db.scalar(u"select string_agg(id_nom || ':' || d10, ',' order by id_nom) "
                             "from accounts_dep.h_tabel where w_id=:w"_s,
                             {{u"w"_s, worker}})
                     .toString(),
                 u"%1:0,%2:5"_s.arg(m_group).arg(other));
    }

    // "Удалить" asks first; No keeps the record, Yes removes it with its hours.
    void deleteAsksFirst()
    {
        const int worker = m_db.addWorker(u"Абрамов А.А."_s);
        HouseholdRecord r;
        r.worker = worker;
        r.kind = 7777;
        r.group = m_group;
        r.date = QDate(2025, 4, 1);
        r.hours = 7;
        r.price = *Decimal::parse(u"150");
        m_windows->store().insert(r);

        HouseholdJournalWindow &journal = m_windows->journal();
        onModal(u"Form25"_s, [&](QDialog *) {
            m_messages.answers = {false};
            button(&journal, u"Button7"_s)->click();
            QCOMPARE(m_messages.shown.size(), 1);
            QCOMPARE(m_messages.shown.first().text, u"Удалить позицию из списка?"_s);
            QCOMPARE(m_messages.shown.first().caption, u"Удаление"_s);
            QCOMPARE(m_windows->store().list().recordCount(), 1);
            button(&journal, u"Button7"_s)->click();
            QCOMPARE(m_windows->store().list().recordCount(), 0);
            m_messages.clear();
            button(&journal, u"Button7"_s)->click(); // empty list: no question
            button(&journal, u"Button6"_s)->click(); // and no entry window
            QVERIFY(m_messages.shown.isEmpty());
            QCOMPARE(QApplication::activeModalWidget(), &journal);
        });
        journal.open(QDate(2025, 4, 1));
        QCOMPARE(m_db.count(u"accounts_dep.fatigue where id_p=:w"_s, {{u"w"_s, worker}}), 0);
        QCOMPARE(
            m_db.scalar(u"select d1 from accounts_dep.h_tabel where w_id=:w"_s, {{u"w"_s, worker}}).toInt(),
            0);
    }

    // "Расчитать ср.сд." prices the month's average-piecework records and the
    // list shows the new price.
    void averageButton()
    {
        const int worker = m_db.addWorker(u"Борисов Б.Б."_s);
        const int operation =
            m_db.addOperation(m_db.addKind(u"Сборка"_s), m_db.addProduct(u"КР-1"_s, m_group));
        m_db.exec(
            u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, time, ok) "
            "select :w, o.i_id, o.id, 12.5, 8, 0, '2025-05-06', 1, 8, 'no' from accounts_dep.oper o "
            "where o.id=:o"_s,
            {{u"w"_s, worker}, {u"o"_s, operation}});
        m_db.exec(u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, "
                  u"cnt, price, "
                  "i_holiday, i_night) values (:w, 7778, :g, '2025-05-20', 5, 2025, 1, 8, 0, 0, 0)"_s,
                  {{u"w"_s, worker}, {u"g"_s, m_group}});
        HouseholdJournalWindow &journal = m_windows->journal();
        onModal(u"Form25"_s, [&](QDialog *) {
            button(&journal, u"Button1"_s)->click();
            QCOMPARE(m_windows->store().list().decimal(u"price"_s).toString(), u"12.5"_s);
        });
        journal.open(QDate(2025, 5, 20));
        QVERIFY(m_messages.shown.isEmpty());
    }

private:
    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    HoursPrompt m_hoursPrompt;
    std::unique_ptr<WorkerEditWindow> m_workerEdit;
    std::unique_ptr<WorkersWindow> m_workers;
    std::unique_ptr<GroupEditWindow> m_groupEdit;
    std::unique_ptr<GroupsWindow> m_groups;
    std::unique_ptr<HouseholdWindows> m_windows;
    ScriptedPickers m_pickers;
    int m_group = 0;
};

QTEST_MAIN(HouseholdWindowsTest)
#include "tst_householdwindows.moc"
