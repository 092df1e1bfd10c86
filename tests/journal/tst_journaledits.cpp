// The journal's row actions: "Удалить" with the worker's day recomputed,
// "Копия" into the entry window, and "Изменить время" of a hanging
// distribution row through "Отработано (34)".

#include "app/mainwindow.h"
#include "books/bookswindows.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "journal/entrywindow.h"
#include "journal/hoursdialog.h"
#include "journal/hoursupkeep.h"
#include "journal/journaledits.h"
#include "journal/journalwindows.h"
#include "scriptedmessages.h"
#include "testdatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kordel;
using kordel::test::button;

namespace {

const QDate kToday(2025, 3, 5);

// A journal row of the worker under test: operation and hours.
struct Row
{
    int operation; // 0: the ordinary operation of the fixture
    int hours;
};

} // namespace

Q_DECLARE_METATYPE(Row)

class JournalEditsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        DataModule &data = m_db.data();
        for (int shift = 1; shift <= 4; ++shift)
            data.journal(shift).setParam(u"ok"_s, u"ta"_s);
        const int group = m_db.addGroup(u"Корпуса"_s);
        const int product = m_db.addProduct(u"КР-1"_s, group);
        m_assembly = m_db.addOperation(m_db.addKind(u"Сборка"_s), product);
        m_db.addNorm(m_assembly, 100, u"10"_s);
        m_packing = m_db.addOperation(m_db.addKind(u"Упаковка"_s), product);
        m_db.addNorm(m_packing, 100, u"3"_s);

        m_main = std::make_unique<MainWindow>(data);
        m_main->setClock([] { return kToday; });
        m_books = std::make_unique<BooksWindows>(data);
        m_windows = std::make_unique<JournalWindows>(data, *m_main, *m_books, m_main.get());
        m_entry = &m_windows->entry;
        m_hours = &m_windows->hours;
        m_edits = &m_windows->edits;
    }

    void init()
    {
        m_messages.clear();
        m_main->setCurrentShift(1);
        m_main->activateJournal();
    }

    // Deleting a row recomputes its worker's day from the rows left; rows
    // of auxiliary workers leave the timesheet as it is.
    void deleteRecomputesTheDay_data()
    {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("one of two rows") << QList<Row>{{0, 4}, {-1, 3}} << 1 << 7 << 4;
        QTest::newRow("the only row") << QList<Row>{{0, 8}} << 0 << 8 << 0;
        QTest::newRow("auxiliary worker's row") << QList<Row>{{0, 4}, {7779, 3}} << 1 << 7 << 7;
        QTest::newRow("hanging distribution row") << QList<Row>{{0, 4}, {7784, 3}} << 1 << 7 << 4;
    }
    void deleteRecomputesTheDay()
    {
        QFETCH(QList<Row>, rows);
        QFETCH(int, deleted);
        QFETCH(int, before);
        QFETCH(int, after);
        const int worker = m_db.addWorker(u"Удалов У.У."_s);
        QList<int> ids;
        for (const Row &row : rows)
            ids << addRow(worker, row, 2);
        HoursUpkeep(m_db.data()).shiftHours(worker, 2, kToday, HoursUpkeep::Mode::Upsert);
        QCOMPARE(dayCell(worker, 2), before);

        select(2, ids[deleted]);
        const int recNo = m_db.data().journal(2).recNo();
        m_edits->deleteCurrent();
        QCOMPARE(m_messages.texts(), QStringList{u"Удалить позицию из списка?"_s});
        QCOMPARE(m_messages.shown.first().caption, u"Удаление"_s);
        QCOMPARE(m_messages.shown.first().icon, MessageIcon::Question);
        QCOMPARE(m_db.count(u"accounts_dep.smena where id=:id"_s, {{u"id"_s, ids[deleted]}}), 0);
        QCOMPARE(dayCell(worker, 2), after);
        QCOMPARE(m_db.count(u"accounts_dep.h_tabel where w_id=:w"_s, {{u"w"_s, worker}}), 1);
        // Read again, at the same place.
        Dataset &journal = m_db.data().journal(2);
        QVERIFY(!journal.locate(u"id"_s, ids[deleted]));
        QCOMPARE(journal.recNo(), std::min(recNo, journal.recordCount()));
    }

    void deleteAnsweredNoOrOnNothing()
    {
        const int worker = m_db.addWorker(u"Несогласный Н.Н."_s);
        const int id = addRow(worker, {0, 8}, 1);
        select(1, id);
        m_messages.answers << false;
        m_edits->deleteCurrent();
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_db.count(u"accounts_dep.smena where id=:id"_s, {{u"id"_s, id}}), 1);

        // An empty journal asks nothing.
        m_messages.clear();
        m_main->setCurrentShift(4);
        QVERIFY(m_db.data().journal(4).isEmpty());
        m_edits->deleteCurrent();
        QVERIFY(m_messages.shown.isEmpty());
    }

    // The actions take the row selected in the shift on screen.
    void actionsFollowTheCurrentShift()
    {
        const int worker = m_db.addWorker(u"Сменный С.С."_s);
        const int first = addRow(worker, {7784, 5}, 1);
        const int third = addRow(worker, {7784, 5}, 3);
        select(1, first);
        select(3, third);
        m_edits->deleteCurrent();
        QCOMPARE(m_db.count(u"accounts_dep.smena where id=:id"_s, {{u"id"_s, third}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.smena where id=:id"_s, {{u"id"_s, first}}), 1);
    }

    // New hours of a hanging row: written, the day recomputed, the price kept.
    void changeTimeOfAHangingRow()
    {
        const int worker = m_db.addWorker(u"Навесной Н.Н."_s);
        addRow(worker, {0, 2}, 3);
        const int hanging = addRow(worker, {7784, 8}, 3);
        m_db.exec(u"update accounts_dep.smena set cena=56, kol_vo=1, brak=0 where id=:id"_s,
                  {{u"id"_s, hanging}});
        HoursUpkeep(m_db.data()).shiftHours(worker, 3, kToday, HoursUpkeep::Mode::Upsert);
        QCOMPARE(dayCell(worker, 3), 10);
        select(3, hanging);
        const int recNo = m_db.data().journal(3).recNo();

        const bool shown = inDialog([](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), u"Отработано (34)"_s);
            auto *hours = dialog->findChild<QLineEdit *>(u"Edit1"_s);
            QCOMPARE(hours->text(), u"8"_s);
            hours->setText(u"6"_s);
            button(dialog, u"Button1"_s)->click();
        });
        QVERIFY(shown);
        QCOMPARE(m_hours->workerId(), worker);
        QCOMPARE(m_db.scalar(u"select time || ' ' || cena from accounts_dep.smena where id=:id"_s,
                             {{u"id"_s, hanging}})
                     .toString(),
                 u"6 56.0000"_s);
        QCOMPARE(dayCell(worker, 3), 8);
        Dataset &journal = m_db.data().journal(3);
        QCOMPARE(journal.recNo(), recNo);
        QCOMPARE(journal.intValue(u"time"_s), 6);
    }

    // An empty hours field is refused; the row keeps its hours.
    void changeTimeRefusesEmptyHours()
    {
        const int worker = m_db.addWorker(u"Пустой П.П."_s);
        const int hanging = addRow(worker, {7784, 8}, 1);
        select(1, hanging);
        const bool shown = inDialog([this](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(u"Edit1"_s)->clear();
            button(dialog, u"Button1"_s)->click();
            QCOMPARE(m_messages.texts(), QStringList{u"Время должно быть заполнено!"_s});
            QVERIFY(dialog->isVisible());
            button(dialog, u"Button2"_s)->click();
        });
        QVERIFY(shown);
        QCOMPARE(
            m_db.scalar(u"select time from accounts_dep.smena where id=:id"_s, {{u"id"_s, hanging}}).toInt(),
            8);
    }

    // Only hanging rows are re-timed; on others nothing opens.
    void changeTimeOnOtherRowsOpensNothing_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("ordinary") << 0;
        QTest::newRow("auxiliary worker") << 7779;
    }
    void changeTimeOnOtherRowsOpensNothing()
    {
        QFETCH(int, operation);
        const int worker = m_db.addWorker(u"Обычный О.О."_s);
        select(1, addRow(worker, {operation, 8}, 1));
        QVERIFY(!inDialog([](QWidget *) {}));
        m_main->setCurrentShift(4); // empty
        QVERIFY(!inDialog([](QWidget *) {}));
    }

    // "Копия" opens the entry window in copy mode for ordinary rows only.
    void copyOpensTheEntryWindow_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("opens");
        QTest::newRow("ordinary") << 0 << true;
        QTest::newRow("auxiliary worker") << 7779 << false;
        QTest::newRow("hanging") << 7784 << false;
    }
    void copyOpensTheEntryWindow()
    {
        QFETCH(int, operation);
        QFETCH(bool, opens);
        const int worker = m_db.addWorker(u"Копиев К.К."_s);
        select(1, addRow(worker, {operation, 8}, 1));
        EntryWindow::Mode modeShown = EntryWindow::Closed;
        QString name;
        QTimer::singleShot(0, m_entry, [&] {
            if (!m_entry->isVisible())
                return;
            modeShown = m_entry->mode();
            name = m_entry->findChild<QLineEdit *>(u"Edit1"_s)->text();
            m_entry->reject();
        });
        m_edits->copyCurrent();
        QTest::qWait(10);
        QCOMPARE(modeShown, opens ? EntryWindow::CopyEntry : EntryWindow::Closed);
        QCOMPARE(name, opens ? u"Копиев К.К."_s : QString());
        QCOMPARE(m_entry->mode(), EntryWindow::Closed);
    }

private:
    int addRow(int worker, const Row &row, int shift)
    {
        const int operation = row.operation == 0    ? m_assembly
                              : row.operation == -1 ? m_packing
                                                    : row.operation;
        return m_db.addJournalRow(worker, operation, kToday, shift, row.hours);
    }

    void select(int shift, int id)
    {
        m_main->setCurrentShift(shift);
        m_main->refresh();
        QVERIFY(m_db.data().journal(shift).locate(u"id"_s, id));
    }

    // Runs "Изменить время" and `steps` on Form34 if it opens; true when it did.
    bool inDialog(const std::function<void(QWidget *)> &steps)
    {
        bool shown = false;
        QTimer::singleShot(0, m_hours, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog != m_hours)
                return;
            shown = true;
            steps(dialog);
            if (dialog->isVisible())
                m_hours->reject();
        });
        m_edits->changeTime();
        QTest::qWait(10);
        return shown;
    }

    int dayCell(int worker, int shift) const
    {
        return m_db
            .scalar(
                u"select d5 from accounts_dep.h_tabel where w_id=:w and smena=:s and month=3 and year=2025"_s,
                {{u"w"_s, worker}, {u"s"_s, shift}})
            .toInt();
    }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<BooksWindows> m_books;
    std::unique_ptr<JournalWindows> m_windows;
    EntryWindow *m_entry = nullptr;
    HoursDialog *m_hours = nullptr;
    JournalEdits *m_edits = nullptr;
    int m_assembly = 0;
    int m_packing = 0;
};

QTEST_MAIN(JournalEditsTest)
#include "tst_journaledits.moc"
