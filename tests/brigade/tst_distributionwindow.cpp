// The distribution window (Form33) with its picks from the journal
// (Form134) and from household records (Form135), driven offscreen: the
// three kinds of pay, the hours box, refusals, and the list let go on every
// way out.

#include "books/hoursprompt.h"
#include "books/workereditwindow.h"
#include "books/workerswindow.h"
#include "brigade/brigadewindows.h"
#include "brigade/distributionwindow.h"
#include "brigade/referencepickwindows.h"
#include "core/connectionstring.h"
#include "core/datamodule.h"
#include "core/journalcontext.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using kordel::test::button;
using kordel::test::child;
using kordel::test::onModal;

namespace {

class FixedJournal : public JournalContext
{
public:
    int currentShift() const override { return shift; }
    QDate journalDate() const override { return date; }
    bool isDayOff() const override { return false; }
    Dataset &currentJournal() override { return *journal; }
    QString roleText() const override { return {}; }
    int shift = 1;
    QDate date;
    Dataset *journal = nullptr;
};

class ScriptedPicker : public PaidWorkerPicker
{
public:
    std::optional<WorkerPick> paidWorker() override { return pick; }
    std::optional<WorkerPick> pick;
};

const QDate kDay(2025, 3, 5);

} // namespace

class DistributionWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        const int group = m_db.addGroup(u"Корпуса"_s);
        const int product = m_db.addProduct(u"КР-1"_s, group);
        const int kindA = m_db.addKind(u"Сборка"_s);
        const int kindB = m_db.addKind(u"Резка"_s);
        const int opA = m_db.addOperation(kindA, product);
        const int opB = m_db.addOperation(kindB, product);
        m_kindA = kindA;
        // Shift 1: 1000.00 for 10 hours.  Shift 2: 600.00 for 6 hours on one
        // kind and 200.00 for 2 on another; and a row without hours.
        m_thousand = m_db.addWorker(u"Андреев А.А."_s);
        journalRow(m_thousand, opA, 1, u"100"_s, 10, 10);
        m_twoKinds = m_db.addWorker(u"Борисов Б.Б."_s);
        journalRow(m_twoKinds, opA, 2, u"100"_s, 6, 6);
        journalRow(m_twoKinds, opB, 2, u"100"_s, 2, 2);
        m_noHours = m_db.addWorker(u"Васильев В.В."_s);
        journalRow(m_noHours, opB, 2, u"100"_s, 1, 0);

        m_journal.date = kDay;
        m_journal.journal = &m_db.data().journal(1);
        m_journal.journal->setParam(u"data"_s, kDay);
        m_journal.journal->setParam(u"ok"_s, u"ta"_s);
        m_journal.journal->open();
        m_workerEdit = std::make_unique<WorkerEditWindow>(m_db.data());
        m_workers = std::make_unique<WorkersWindow>(m_db.data(), *m_workerEdit, m_hoursPrompt);
        m_windows = std::make_unique<BrigadeWindows>(m_db.data(), m_journal, *m_workers, nullptr);
        window().setPicker(&m_picker);
    }

    void init()
    {
        m_messages.clear();
        m_journal.shift = 1;
        m_paid = m_db.addWorker(u"Получатель П.П."_s);
        m_picker.pick = WorkerPick{m_paid, u" Получатель П.П. "_s, 0};
    }

    // The examples of the three kinds: list 1000.00 for 10 hours, 8 hours
    // worked; the pay row under the kind's code; hanging hours counted.
    void distribute_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("pay");
        QTest::addColumn<int>("code");
        QTest::newRow("brigade") << u"brigade"_s << u"Подсобный рабочий (134)"_s << u"70"_s << u"560"_s
                                 << 7781;
        QTest::newRow("painting") << u"painting"_s << u"Оператор покраски (134)"_s << u"120"_s << u"960"_s
                                  << 7780;
        QTest::newRow("hanging") << u"hanging"_s << u"Подсобный рабочий (134)"_s << u"40"_s << u"320"_s
                                 << 7784;
    }
    void distribute()
    {
        QFETCH(QString, how);
        QFETCH(QString, title);
        QFETCH(QString, rate);
        QFETCH(QString, pay);
        QFETCH(int, code);
        bool acted = false;
        onModal(u"Form33"_s, [&](QDialog *w) {
            acted = true;
            QCOMPARE(w->windowTitle(), title);
            QCOMPARE(text(u"Edit2"_s), u"8"_s);
            QCOMPARE(label(u"Label5"_s), u"0"_s);
            QCOMPARE(label(u"Label7"_s), u"0"_s);
            for (const QString &name : {u"Button4"_s, u"Button5"_s, u"Button6"_s, u"Button7"_s})
                QVERIFY(!button(w, name)->isEnabled());
            button(w, u"Button3"_s)->click();
            QCOMPARE(text(u"Edit1"_s), u"Получатель П.П."_s);
            for (const QString &name : {u"Button4"_s, u"Button5"_s, u"Button6"_s, u"Button7"_s})
                QVERIFY(button(w, name)->isEnabled());
            pickFromJournal(m_thousand, how == u"hanging"_s ? u"Button6"_s : u"Button4"_s);
            QCOMPARE(text(u"DBEdit1"_s), u"1000.00"_s);
            QCOMPARE(text(u"DBEdit2"_s), u"10"_s);
            QCOMPARE(label(u"Label5"_s), rate);
            QCOMPARE(label(u"Label7"_s), pay);
            QVERIFY(button(w, u"Button4"_s)->isEnabled()); // more rows may follow
            button(w, u"Button1"_s)->click();
            QVERIFY(!w->isVisible());
        });
        if (how == u"painting"_s)
            m_windows->openPainting();
        else
            m_windows->openBrigade();
        QVERIFY(acted);
        QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));
        QCOMPARE(
            m_db.scalar(u"select concat_ws(' ', i_id, o_id, color, cena::text, kol_vo, brak, smena, time) "
                        "from accounts_dep.smena where w_id=:w"_s,
                        {{u"w"_s, m_paid}})
                .toString(),
            u"%1 %1 %1 %2.0000 1 0 1 8"_s.arg(code).arg(pay));
        QCOMPARE(listRows(), 0);
        const QVariant cell = m_db.scalar(u"select d5 from accounts_dep.h_tabel where w_id=:w and smena=1"_s,
                                          {{u"w"_s, m_paid}});
        QCOMPARE(cell.isNull() ? 0 : cell.toInt(), code == 7784 ? 8 : 0);
        // The daily journal was read again and shows the pay row.
        QVERIFY(m_journal.journal->isOpen());
        QVERIFY(m_journal.journal->locate(u"w_id"_s, m_paid));
    }

    // Rate and pay follow the hours typed; an empty box changes nothing;
    // "Выход" writes nothing and leaves no list rows.
    void hoursBoxFollows()
    {
        onModal(u"Form33"_s, [&](QDialog *w) {
            button(w, u"Button3"_s)->click();
            pickFromJournal(m_thousand, u"Button4"_s);
            auto *hours = child<QLineEdit>(w, u"Edit2"_s);
            hours->clear();
            QCOMPARE(label(u"Label5"_s), u"70"_s);
            QCOMPARE(label(u"Label7"_s), u"560"_s);
            QTest::keyClicks(hours, u"7"_s);
            QCOMPARE(label(u"Label5"_s), u"70"_s);
            QCOMPARE(label(u"Label7"_s), u"490"_s);
            QCOMPARE(listRows(), 1);
            button(w, u"Button2"_s)->click();
        });
        m_windows->openBrigade();
        QCOMPARE(listRows(), 0);
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, m_paid}}), 0);
    }

    // "Навеска" after rows collected for a brigade: the shown rate and the
    // pay written follow the hanging coefficient even when its pick is left
    // without a choice.
    void hangingAfterBrigadeRows()
    {
        onModal(u"Form33"_s, [&](QDialog *w) {
            button(w, u"Button3"_s)->click();
            pickFromJournal(m_thousand, u"Button4"_s);
            QCOMPARE(label(u"Label7"_s), u"560"_s);
            onModal(u"Form134"_s, [](QDialog *pick) { button(pick, u"Button2"_s)->click(); });
            button(w, u"Button6"_s)->click();
            QCOMPARE(label(u"Label5"_s), u"40"_s);
            QCOMPARE(label(u"Label7"_s), u"320"_s);
            button(w, u"Button1"_s)->click();
        });
        m_windows->openBrigade();
        QCOMPARE(m_db.scalar(u"select o_id || ' ' || cena::text from accounts_dep.smena where w_id=:w"_s,
                             {{u"w"_s, m_paid}})
                     .toString(),
                 u"7784 320.0000"_s);
    }

    // Per operation kind two rows of 100 per hour; per worker one row of
    // 800.00 for 8 hours, picked with kind 0.  Two rows in one opening.
    void operationView()
    {
        m_journal.shift = 2;
        onModal(u"Form33"_s, [&](QDialog *w) {
            button(w, u"Button3"_s)->click();
            onModal(u"Form134"_s, [&](QDialog *pick) {
                Dataset &list = pickList();
                QCOMPARE(countOf(list, m_twoKinds), 2);
                QVERIFY(list.locate(u"w_id"_s, m_twoKinds));
                QCOMPARE(list.decimal(u"f_summ"_s).toString(2), u"600.00"_s);
                button(pick, u"Button1"_s)->click();
            });
            button(w, u"Button4"_s)->click();
            onModal(u"Form134"_s, [&](QDialog *pick) {
                auto *box = child<QCheckBox>(pick, u"CheckBox1"_s);
                QVERIFY(box->isChecked());
                box->click();
                Dataset &list = pickList();
                QCOMPARE(countOf(list, m_twoKinds), 1);
                QVERIFY(list.locate(u"w_id"_s, m_twoKinds));
                QCOMPARE(list.decimal(u"f_summ"_s).toString(2), u"800.00"_s);
                QCOMPARE(list.intValue(u"t_time"_s), 8);
                button(pick, u"Button1"_s)->click();
                box->click(); // back to operations for the tests that follow
            });
            button(w, u"Button4"_s)->click();
            QCOMPARE(text(u"DBEdit1"_s), u"1400.00"_s);
            QCOMPARE(text(u"DBEdit2"_s), u"14"_s);
            QCOMPARE(
                m_db.scalar(
                        u"select string_agg(v_id || ':' || f_count || ':' || f_time::int, ',' order by id) "
                        "from accounts_dep.painting_temp where id_p=:p"_s,
                        {{u"p"_s, m_paid}})
                    .toString(),
                u"%1:100.00:6,0:100.00:8"_s.arg(m_kindA));
            w->reject();
        });
        m_windows->openBrigade();
        QCOMPARE(listRows(), 0);
    }

    // A journal row without hours is refused; nothing goes into the list
    // and the pick stays open.
    void rowWithoutHoursRefused()
    {
        m_journal.shift = 2;
        onModal(u"Form33"_s, [&](QDialog *w) {
            button(w, u"Button3"_s)->click();
            onModal(u"Form134"_s, [&](QDialog *pick) {
                QVERIFY(pickList().locate(u"w_id"_s, m_noHours));
                button(pick, u"Button1"_s)->click();
                QVERIFY(pick->isVisible());
                QCOMPARE(m_messages.texts(), QStringList{kNoHoursToDivide});
            });
            button(w, u"Button4"_s)->click();
            QCOMPARE(listRows(), 0);
            QCOMPARE(label(u"Label5"_s), u"0"_s);
            w->reject();
        });
        m_windows->openBrigade();
    }

    // Household records of the day as reference: 150 × 8 h gives a rate of
    // 105 and a pay of 840; a price of 123.4567 goes in as 123.46.
    void householdReference()
    {
        const int group = m_db.addGroup(u"Тара"_s);
        const int worker = m_db.addWorker(u"Григорьев Г.Г."_s);
        for (const auto &[kind, price] : {std::pair{7777, u"150"_s}, std::pair{7778, u"123.4567"_s}}) {
            m_db.exec(
                u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, cnt, "
                "price, i_holiday, i_night) values (:w, :k, :g, :d::date, 3, 2025, 1, 8, :p::numeric, 0, 0)"_s,
                {{u"w"_s, worker}, {u"k"_s, kind}, {u"g"_s, group}, {u"d"_s, kDay}, {u"p"_s, price}});
        }
        onModal(u"Form33"_s, [&](QDialog *w) {
            button(w, u"Button3"_s)->click();
            auto pickHousehold = [&](int kind) {
                onModal(u"Form135"_s, [&](QDialog *pick) {
                    Dataset &list = *pick->findChild<DataGrid *>(u"DBGrid1"_s)->dataset();
                    QVERIFY(list.locate(u"id_o"_s, kind));
                    button(pick, u"Button5"_s)->click();
                });
                button(w, u"Button5"_s)->click();
            };
            pickHousehold(7777);
            QCOMPARE(label(u"Label5"_s), u"105"_s);
            QCOMPARE(label(u"Label7"_s), u"840"_s);
            pickHousehold(7778);
            QCOMPARE(
                m_db.scalar(
                        u"select f_count::text from accounts_dep.painting_temp where id_p=:p and v_id=7778"_s,
                        {{u"p"_s, m_paid}})
                    .toString(),
                u"123.46"_s);
            // "Удалить" asks, then the rate follows the rest of the list.
            window().store().list().setRecNo(2); // the second pick
            button(w, u"Button7"_s)->click();
            QCOMPARE(m_messages.lastText(), u"Удалить позицию из списка?"_s);
            QCOMPARE(listRows(), 1);
            QCOMPARE(label(u"Label5"_s), u"105"_s);
            w->reject();
        });
        m_windows->openBrigade();
    }

    // Another workstation holding the paid worker's list: the pick is
    // refused with a message and its list is left alone.
    void secondWorkstationRefused()
    {
        DataModule other(nullptr, u"second"_s);
        other.connectTo(connectionString(m_db.name(), test::TestDatabase::host()));
        {
            DistributionStore elsewhere(other);
            QVERIFY(elsewhere.take(m_paid));
            elsewhere.add({m_thousand, 0, *Decimal::parse(u"100"), Decimal::fromInt(10)});
            onModal(u"Form33"_s, [&](QDialog *w) {
                button(w, u"Button3"_s)->click();
                QCOMPARE(m_messages.shown.size(), 1);
                QVERIFY(m_messages.lastText().contains(u"другом рабочем месте"_s));
                QCOMPARE(text(u"Edit1"_s), QString());
                QVERIFY(!button(w, u"Button4"_s)->isEnabled());
                w->reject();
            });
            m_windows->openBrigade();
            QCOMPARE(listRows(), 1); // the other workstation's list
            elsewhere.release();
        }
        QCOMPARE(listRows(), 0);
    }

    // "Сохранить" with an empty list closes without writing.
    void emptyListSavesNothing()
    {
        onModal(u"Form33"_s, [&](QDialog *w) {
            button(w, u"Button3"_s)->click();
            button(w, u"Button1"_s)->click();
            QVERIFY(!w->isVisible());
        });
        m_windows->openBrigade();
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, m_paid}}), 0);
        QVERIFY(m_messages.shown.isEmpty());
    }

private:
    DistributionWindow &window() const { return m_windows->window(); }
    Dataset &pickList() const
    {
        return *window().operationPick().findChild<DataGrid *>(u"DBGrid2"_s)->dataset();
    }
    QString text(const QString &name) const { return child<QLineEdit>(&window(), name)->text(); }
    QString label(const QString &name) const { return child<QLabel>(&window(), name)->text(); }
    int listRows() const
    {
        return m_db.count(u"accounts_dep.painting_temp where id_p=:p"_s, {{u"p"_s, m_paid}});
    }
    static int countOf(const Dataset &list, int worker)
    {
        int n = 0;
        for (int row = 0; row < list.recordCount(); ++row)
            n += list.valueAt(row, u"w_id"_s).toInt() == worker ? 1 : 0;
        return n;
    }

    // Picks the worker's row in the operation pick opened by `opener`.
    void pickFromJournal(int worker, const QString &opener)
    {
        onModal(u"Form134"_s, [&, worker](QDialog *pick) {
            QVERIFY(pickList().locate(u"w_id"_s, worker));
            button(pick, u"Button1"_s)->click();
        });
        button(&window(), opener)->click();
    }

    void journalRow(int worker, int operation, int shift, const QString &price, int quantity, int hours)
    {
        m_db.exec(
            u"insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
            "vvod, ok) select :w, o.i_id, o.id, :c::numeric, :q, 0, :d::date, :s, 0, :t, now(), 'no' "
            "from accounts_dep.oper o where o.id=:o"_s,
            {{u"w"_s, worker},
             {u"o"_s, operation},
             {u"c"_s, price},
             {u"q"_s, quantity},
             {u"d"_s, kDay},
             {u"s"_s, shift},
             {u"t"_s, hours}});
    }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    HoursPrompt m_hoursPrompt;
    FixedJournal m_journal;
    ScriptedPicker m_picker;
    std::unique_ptr<WorkerEditWindow> m_workerEdit;
    std::unique_ptr<WorkersWindow> m_workers;
    std::unique_ptr<BrigadeWindows> m_windows;
    int m_kindA = 0;
    int m_thousand = 0;
    int m_twoKinds = 0;
    int m_noHours = 0;
    int m_paid = 0;
};

QTEST_MAIN(DistributionWindowTest)
#include "tst_distributionwindow.moc"
