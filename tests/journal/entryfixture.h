#pragma once

// The entry window (Form11) as its tests drive it: the client's windows
// built through the books' and the journal's windows classes, scripted
// picks, and helpers to open the window, fill it and read the rows back.

#include "app/mainwindow.h"
#include "books/bookswindows.h"
#include "books/workerswindow.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "journal/entrystore.h"
#include "journal/entrywindow.h"
#include "journal/journalwindows.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kordel;
using kordel::test::onModal;

namespace entrytest {

// Hands the window the choices a test sets, and remembers what it was asked.
class ScriptedPickers : public EntryPickers
{
public:
    std::optional<WorkerPick> worker(WorkersWindow::Mode mode) override
    {
        workerModes << mode;
        return workers.isEmpty() ? std::nullopt : std::optional(workers.takeFirst());
    }
    std::optional<OperationPick> operation(OperationList list, int locate, bool dayOff, int shift) override
    {
        operationCalls << OperationCall{list, locate, dayOff, shift};
        return operations.isEmpty() ? std::nullopt : std::optional(operations.takeFirst());
    }

    struct OperationCall
    {
        OperationList list;
        int locate;
        bool dayOff;
        int shift;
    };
    QList<WorkerPick> workers;
    QList<OperationPick> operations;
    QList<WorkersWindow::Mode> workerModes;
    QList<OperationCall> operationCalls;
};

inline Decimal money(const char *text)
{
    return *Decimal::parse(QString::fromLatin1(text));
}

inline const QDate kToday(2025, 3, 5); // a Wednesday

} // namespace entrytest

using namespace entrytest;

class EntryFixture
{
protected:
    void setUpFixture()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        DataModule &data = m_db.data();
        for (int shift = 1; shift <= 4; ++shift)
            data.journal(shift).setParam(u"ok"_s, u"ta"_s);
        const int group = m_db.addGroup(u"Корпуса"_s);
        m_product = m_db.addProduct(u"КР-1"_s, group);
        m_assembly = m_db.addOperation(m_db.addKind(u"Сборка"_s), m_product);
        m_db.addNorm(m_assembly, 100, u"10"_s);
        m_painting = m_db.addOperation(m_db.addKind(u"Покраска"_s), m_product);
        m_db.addNorm(m_painting, 100, u"5"_s);

        m_main = std::make_unique<MainWindow>(data);
        m_main->setClock([] { return kToday; });
        m_main->activateJournal();
        m_books = std::make_unique<BooksWindows>(data);
    }

    void initFixture()
    {
        m_messages.clear();
        m_main->findChild<QCheckBox *>(u"CBox1"_s)->setChecked(false);
        m_main->setCurrentShift(1);
        m_main->activateJournal();
        m_journal = std::make_unique<JournalWindows>(m_db.data(), *m_main, *m_books);
        m_window = &m_journal->entry;
        m_pickers = ScriptedPickers();
        m_window->setPickers(&m_pickers);
    }

    void cleanupFixture()
    {
        m_window = nullptr;
        m_journal.reset();
    }

    // Opens the window through `open` and runs `steps` while it is shown;
    // leaves it closed whatever the steps did.
    void within(void (EntryWindow::*open)(), const std::function<void()> &steps)
    {
        bool ran = false;
        QTimer::singleShot(0, m_window, [&] {
            ran = true;
            steps();
            while (QWidget *modal = QApplication::activeModalWidget()) {
                if (modal == m_window)
                    break;
                modal->close();
            }
            if (m_window->isVisible())
                m_window->reject();
        });
        (m_window->*open)();
        QVERIFY(ran);
    }

    OperationPick operationPick(int operation, const QString &base, const QString &final) const
    {
        const bool painting = operation == m_painting;
        return OperationPick{operation,
                             m_product,
                             0,
                             *Decimal::parse(base),
                             *Decimal::parse(final),
                             painting ? u"КР-1; Покраска; Готовая продукция"_s
                                      : u"КР-1; Сборка; Готовая продукция"_s};
    }

    void pick(int worker, const QString &name, int operation, const QString &base, const QString &final)
    {
        m_pickers.workers << WorkerPick{worker, name, 0};
        m_pickers.operations << operationPick(operation, base, final);
        click(u"Button3"_s);
        click(u"Button4"_s);
    }

    void type(const QString &quantity, const QString &defects, const QString &hours)
    {
        field(u"Edit3"_s)->setText(quantity);
        field(u"Edit4"_s)->setText(defects);
        field(u"Edit6"_s)->setText(hours);
    }

    // An entry of price 10, 12 pieces, 2 defects; saved, list ticked.
    void saveEntry(int worker, const QString &hours)
    {
        pick(worker, u"Рабочий"_s, m_assembly, u"10"_s, u"10"_s);
        type(u"12"_s, u"2"_s, hours);
        click(u"Button1"_s);
        QVERIFY(m_window->rowId() > 0);
        m_window->findChild<QCheckBox *>(u"CheckBox1"_s)->click();
    }

    void selectRow(int shift, int id)
    {
        m_main->setCurrentShift(shift);
        m_main->refresh();
        QVERIFY(m_db.data().journal(shift).locate(u"id"_s, id));
    }

    QLineEdit *field(const QString &name) const { return test::child<QLineEdit>(m_window, name); }
    QPushButton *button(const QString &name) const { return test::button(m_window, name); }
    void click(const QString &name) const { button(name)->click(); }

    QString rowText(int id) const
    {
        return m_db
            .scalar(
                u"select format('w%s i%s o%s cena %s q%s b%s %s s%s c%s t%s %s prize %s links %s %s %s %s %s "
                u"vvod', "
                "w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, prize::int, id_doc, "
                "id_doc_item, f_gds_qty_use::int, id_gds_use, id_cons_use) from accounts_dep.smena where id=:id"_s,
                {{u"id"_s, id}})
            .toString()
            .section(u" vvod"_s, 0, 0);
    }

    int dayCell(int worker, int shift, const QDate &date) const
    {
        return m_db
            .scalar(u"select "_s + u"d"_s + QString::number(date.day()) +
                        u" from accounts_dep.h_tabel where w_id=:w and smena=:s and month=:m and year=:y"_s,
                    {{u"w"_s, worker}, {u"s"_s, shift}, {u"m"_s, date.month()}, {u"y"_s, date.year()}})
            .toInt();
    }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<BooksWindows> m_books;
    std::unique_ptr<JournalWindows> m_journal;
    EntryWindow *m_window = nullptr;
    ScriptedPickers m_pickers;
    int m_product = 0;
    int m_assembly = 0;
    int m_painting = 0;
};
