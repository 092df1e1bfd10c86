// The workers book (Form5, Form2, Form132): the name filter, the pick modes
// and their hand-over, the hours prompt of an auxiliary worker, the worker
// card and names written exactly as typed.

#include "books/hoursprompt.h"
#include "books/workereditwindow.h"
#include "books/workersstore.h"
#include "books/workerswindow.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::test;

class WorkersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_db.exec(u"insert into hrms_staffpos.staffpos(s_caption) values ('Слесарь'), ('Маляр')"_s);
        m_db.exec(
            u"insert into cmn_department.department(s_caption) values ('Цех 1'), ('Цех 2'), ('Склад')"_s);
        m_db.exec(u"insert into adm_role.roles(s_name, s_caption) values ('op', 'Оператор')"_s);
    }

    void init()
    {
        m_messages.clear();
        m_db.exec(u"delete from accounts_dep.person"_s);
        m_ivanov = m_db.addWorker(u"Иванов Иван  "_s);
        m_ivanenko = m_db.addWorker(u"Иваненко Пётр"_s);
        m_db.addWorker(u"Петров Сидор"_s);
        m_db.addWorker(u"Сидоров-Иванов Олег"_s);
        data().workers().close();
        data().workers().setFiltered(false);
        m_edit = std::make_unique<WorkerEditWindow>(data());
        m_hours = std::make_unique<HoursPrompt>();
        m_window = std::make_unique<WorkersWindow>(data(), *m_edit, *m_hours);
    }

    void cleanup()
    {
        m_window.reset();
        m_hours.reset();
        m_edit.reset();
    }

    // Names beginning with the typed text, letter case ignored; the text and
    // the filter hold until the next menu opening, a pick starts empty.
    void filterMatchesNameBeginnings_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("backspaces");
        QTest::addColumn<QStringList>("listed");
        const QStringList everyone{u"Иваненко Пётр"_s, u"Иванов Иван  "_s, u"Петров Сидор"_s,
                                   u"Сидоров-Иванов Олег"_s};
        QTest::newRow("beginning") << u"Иван"_s << 0 << QStringList{u"Иваненко Пётр"_s, u"Иванов Иван  "_s};
        QTest::newRow("lower case") << u"иванов"_s << 0 << QStringList{u"Иванов Иван  "_s};
        QTest::newRow("upper case") << u"ПЕТР"_s << 0 << QStringList{u"Петров Сидор"_s};
        QTest::newRow("only inside names") << u"ванов"_s << 0 << QStringList{};
        QTest::newRow("emptied again") << u"Пет"_s << 3 << everyone;
    }
    void filterMatchesNameBeginnings()
    {
        QFETCH(QString, typed);
        QFETCH(int, backspaces);
        QFETCH(QStringList, listed);
        onModal(u"Form5"_s, [&](QDialog *form) {
            QVERIFY(data().workers().isOpen());
            auto *filter = form->findChild<QLineEdit *>(u"Edit1"_s);
            typeText(filter, typed);
            for (int i = 0; i < backspaces; ++i)
                QTest::keyClick(filter, Qt::Key_Backspace);
            QCOMPARE(gridColumn(form), listed);
        });
        m_window->openFromMenu();
        QVERIFY(!data().workers().isOpen());

        // The next menu opening keeps text and filter.
        onModal(u"Form5"_s, [&](QDialog *form) {
            QCOMPARE(form->findChild<QLineEdit *>(u"Edit1"_s)->text(), backspaces ? QString() : typed);
            QCOMPARE(gridColumn(form), listed);
        });
        m_window->openFromMenu();

        // A pick starts with an empty filter and everyone listed.
        onModal(u"Form5"_s, [&](QDialog *form) {
            QVERIFY(form->findChild<QLineEdit *>(u"Edit1"_s)->text().isEmpty());
            QCOMPARE(gridColumn(form).size(), 4);
        });
        m_window->pick(WorkersWindow::EntryWorker);
    }

    // Up and Down in the filter move the list; other editing keys do
    // nothing there; Enter picks the current worker.
    void filterKeysMoveTheList()
    {
        onModal(u"Form5"_s, [&](QDialog *form) {
            auto *filter = form->findChild<QLineEdit *>(u"Edit1"_s);
            Dataset &list = data().workers();
            QCOMPARE(list.recNo(), 1);
            QTest::keyClick(filter, Qt::Key_Down);
            QTest::keyClick(filter, Qt::Key_Down);
            QCOMPARE(list.recNo(), 3);
            QTest::keyClick(filter, Qt::Key_Up);
            QCOMPARE(list.recNo(), 2);
            QCOMPARE(form->findChild<DataGrid *>(u"DBGrid1"_s)->currentIndex().row(), 1);
            typeText(filter, u"Ив"_s);
            QTest::keyClick(filter, Qt::Key_Left);
            QTest::keyClick(filter, Qt::Key_Delete);
            QCOMPARE(filter->text(), u"Ив"_s);
            QTest::keyClick(filter, Qt::Key_Down); // Иванов
            QTest::keyClick(filter, Qt::Key_Return);
            QVERIFY(!form->isVisible());
        });
        const std::optional<WorkerPick> picked = m_window->pick(WorkersWindow::HouseholdWorker);
        QVERIFY(picked);
        QCOMPARE(picked->id, m_ivanov);
    }

    // Modes 1, 24 and 33 hand over the trimmed name and the id; the list is
    // open only while shown.
    void pickHandsOverTheWorker_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("entry worker, Выбрать") << int(WorkersWindow::EntryWorker) << u"button"_s << true;
        QTest::newRow("household, double-click")
            << int(WorkersWindow::HouseholdWorker) << u"double-click"_s << true;
        QTest::newRow("distribution, Enter") << int(WorkersWindow::DistributionWorker) << u"enter"_s << true;
        QTest::newRow("entry worker, Escape") << int(WorkersWindow::EntryWorker) << u"escape"_s << false;
        QTest::newRow("household, Выход") << int(WorkersWindow::HouseholdWorker) << u"exit"_s << false;
    }
    void pickHandsOverTheWorker()
    {
        QFETCH(int, mode);
        QFETCH(QString, how);
        QFETCH(bool, chosen);
        onModal(u"Form5"_s, [&](QDialog *form) {
            QVERIFY(data().workers().isOpen());
            QCOMPARE(form->windowTitle(), u"Список рабочих"_s);
            QPushButton *choose = button(form, u"Button2"_s);
            QCOMPARE(choose->text(), u"Выбрать"_s);
            QVERIFY(choose->isDefault() && choose->isEnabled());
            QVERIFY(!button(form, u"Button1"_s)->isEnabled());
            QVERIFY(!button(form, u"Button3"_s)->isEnabled());

            auto *grid = form->findChild<DataGrid *>(u"DBGrid1"_s);
            QVERIFY(data().workers().locate(u"id"_s, m_ivanov));
            if (how == u"button"_s) {
                choose->click();
            } else if (how == u"double-click"_s) {
                const QRect cell = grid->visualRect(grid->model()->index(data().workers().recNo() - 1, 0));
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            } else if (how == u"enter"_s) {
                QTest::keyClick(grid, Qt::Key_Enter);
            } else if (how == u"escape"_s) {
                QTest::keyClick(form->findChild<QLineEdit *>(u"Edit1"_s), Qt::Key_Escape);
            } else {
                button(form, u"Button4"_s)->click();
            }
            QTRY_VERIFY(!form->isVisible());
        });
        const std::optional<WorkerPick> picked = m_window->pick(WorkersWindow::Mode(mode));
        QVERIFY(!data().workers().isOpen());
        QCOMPARE(picked.has_value(), chosen);
        if (chosen) {
            QCOMPARE(picked->id, m_ivanov);
            QCOMPARE(picked->name, u"Иванов Иван"_s);
            QCOMPARE(picked->hours, 0);
        }
        QVERIFY(m_messages.shown.isEmpty());
    }

    // Mode 11 asks the hours: a whole number above 0 is handed over and
    // closes the list; anything else keeps the list open without a choice.
    void auxiliaryWorkerHours_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("cancel");   // "Отмена" instead of "Запись"
        QTest::addColumn<QString>("field"); // what the field accepted
        QTest::addColumn<int>("hours");     // 0: nothing handed over
        QTest::addColumn<QString>("refusal");
        const QString refusal = u"Значение должно быть больше 0!"_s;
        QTest::newRow("8 hours") << u"8"_s << false << u"8"_s << 8 << QString();
        QTest::newRow("digits only") << u"1a2,5"_s << false << u"125"_s << 125 << QString();
        QTest::newRow("0 hours") << u"0"_s << false << u"0"_s << 0 << refusal;
        QTest::newRow("00 hours") << u"00"_s << false << u"00"_s << 0 << refusal;
        QTest::newRow("empty") << QString() << false << QString() << 0 << refusal;
        QTest::newRow("too many digits") << u"99999999999"_s << false << u"99999999999"_s << 0 << refusal;
        QTest::newRow("cancelled") << u"8"_s << true << u"8"_s << 0 << QString();
    }
    void auxiliaryWorkerHours()
    {
        QFETCH(QString, keys);
        QFETCH(bool, cancel);
        QFETCH(QString, field);
        QFETCH(int, hours);
        QFETCH(QString, refusal);
        bool listStayedOpen = false;
        onModal(u"Form5"_s, [&](QDialog *form) {
            QVERIFY(data().workers().locate(u"id"_s, m_ivanenko));
            onModal(u"Form132"_s, [&](QDialog *prompt) {
                QCOMPARE(prompt->windowTitle(), u"Ввод данных (132)"_s);
                QCOMPARE(prompt->findChild<QLabel *>(u"Label1"_s)->text(), u"Иваненко Пётр"_s);
                auto *edit = prompt->findChild<QLineEdit *>(u"Edit1"_s);
                QVERIFY(edit->text().isEmpty());
                QTest::keyClicks(edit, keys);
                QCOMPARE(edit->text(), field);
                if (cancel)
                    button(prompt, u"Button2"_s)->click();
                else
                    QTest::keyClick(edit, Qt::Key_Return);
                QVERIFY(!prompt->isVisible());
            });
            button(form, u"Button2"_s)->click();
            listStayedOpen = form->isVisible();
            QCOMPARE(m_window->picked(), hours > 0);
            if (listStayedOpen) {
                // The field is empty again the next time the prompt shows.
                onModal(u"Form132"_s, [&](QDialog *prompt) {
                    QVERIFY(prompt->findChild<QLineEdit *>(u"Edit1"_s)->text().isEmpty());
                    button(prompt, u"Button2"_s)->click();
                });
                button(form, u"Button2"_s)->click();
                QVERIFY(form->isVisible());
            }
        });
        const std::optional<WorkerPick> picked = m_window->pick(WorkersWindow::AuxiliaryWorker);
        QCOMPARE(listStayedOpen, hours == 0);
        QCOMPARE(picked.has_value(), hours > 0);
        if (picked) {
            QCOMPARE(picked->id, m_ivanenko);
            QCOMPARE(picked->hours, hours);
        }
        QCOMPARE(m_messages.texts(), refusal.isEmpty() ? QStringList{} : QStringList{refusal});
        if (!refusal.isEmpty()) {
            QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
            QCOMPARE(m_messages.shown.first().icon, MessageIcon::Error);
        }
    }

    // Mode 11 leaves "Добавить" as the opening before it left it.
    void auxiliaryModeLeavesAddAlone()
    {
        bool addEnabled = false;
        auto probe = [&](QDialog *form) { addEnabled = button(form, u"Button1"_s)->isEnabled(); };
        onModal(u"Form5"_s, [](QDialog *) {});
        m_window->openFromMenu();
        onModal(u"Form5"_s, probe);
        m_window->pick(WorkersWindow::AuxiliaryWorker);
        QVERIFY(addEnabled);
        onModal(u"Form5"_s, [](QDialog *) {});
        m_window->pick(WorkersWindow::EntryWorker);
        onModal(u"Form5"_s, probe);
        m_window->pick(WorkersWindow::AuxiliaryWorker);
        QVERIFY(!addEnabled);
    }

    // From the menu, "Изменить" opens the card with the trimmed name; after
    // the card closes, saved or not, the list closes too.
    void menuChangeClosesTheList_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("cancelled") << false;
    }
    void menuChangeClosesTheList()
    {
        QFETCH(bool, save);
        m_db.exec(u"update accounts_dep.person set s_staffpos_hl='Мастер' where id=:id"_s,
                  {{u"id"_s, m_ivanov}});
        onModal(u"Form5"_s, [&](QDialog *form) {
            QPushButton *change = button(form, u"Button2"_s);
            QCOMPARE(change->text(), u"Изменить"_s);
            QVERIFY(!change->isDefault());
            QVERIFY(button(form, u"Button1"_s)->isEnabled() && button(form, u"Button3"_s)->isEnabled());
            QVERIFY(data().workers().locate(u"id"_s, m_ivanov));
            onModal(u"Form2"_s, [&](QDialog *card) {
                QCOMPARE(card->windowTitle(), u"Изменение данных работника"_s);
                auto *name = card->findChild<QLineEdit *>(u"Edit1"_s);
                QCOMPARE(name->text(), u"Иванов Иван"_s);
                QCOMPARE(card->focusWidget(), name);
                name->setText(u"О'Нил Иван"_s);
                if (save)
                    button(card, u"Button1"_s)->click();
                else
                    QTest::keyClick(name, Qt::Key_Escape);
                QVERIFY(!card->isVisible());
            });
            change->click();
            QVERIFY(!form->isVisible());
        });
        m_window->openFromMenu();
        QVERIFY(!data().workers().isOpen());
        const QString fio =
            m_db.scalar(u"select fio from accounts_dep.person where id=:id"_s, {{u"id"_s, m_ivanov}})
                .toString();
        const QString position = m_db.scalar(u"select s_staffpos_hl from accounts_dep.person where id=:id"_s,
                                             {{u"id"_s, m_ivanov}})
                                     .toString();
        // A rename without choosing a department keeps the position text.
        QCOMPARE(fio, save ? u"О'Нил Иван"_s : u"Иванов Иван  "_s);
        QCOMPARE(position, u"Мастер"_s);
    }

    // "Изменить" with nobody listed does nothing and the list stays open.
    void changeOnAnEmptyList()
    {
        onModal(u"Form5"_s, [&](QDialog *form) {
            typeText(form->findChild<QLineEdit *>(u"Edit1"_s), u"Я"_s);
            QVERIFY(data().workers().isEmpty());
            QCOMPARE(modalAfter([&] { button(form, u"Button2"_s)->click(); }), u"Form5"_s);
            QVERIFY(form->isVisible());
            button(form, u"Button3"_s)->click();
            QVERIFY(m_messages.shown.isEmpty());
        });
        m_window->openFromMenu();
        QCOMPARE(m_db.count(u"accounts_dep.person"_s), 4);
    }

    // "Добавить": an empty name is refused, the department chosen becomes
    // the position text, the list stays open and shows the new worker.
    void addThroughTheCard()
    {
        onModal(u"Form5"_s, [&](QDialog *form) {
            onModal(u"Form2"_s, [&](QDialog *card) {
                QCOMPARE(card->windowTitle(), u"Заведение данных нового работника"_s);
                auto *name = card->findChild<QLineEdit *>(u"Edit1"_s);
                QVERIFY(name->text().isEmpty());
                auto *department = card->findChild<QComboBox *>(u"DBLookupComboBox2"_s);
                QCOMPARE(department->count(), 3);
                QCOMPARE(department->maxVisibleItems(), 10);
                QCOMPARE(card->findChild<QComboBox *>(u"DBLookupComboBox1"_s)->count(), 2);
                QCOMPARE(card->findChild<QComboBox *>(u"DBLookupComboBox3"_s)->itemText(0), u"Оператор"_s);

                name->setText(u"   "_s);
                QTest::keyClick(name, Qt::Key_Return);
                QCOMPARE(m_messages.texts(), QStringList{u"ФИО нужно заполнить!"_s});
                QVERIFY(card->isVisible());

                name->setText(u"  Д'Артаньян Шарль "_s);
                department->setCurrentIndex(department->findText(u"Цех 2"_s));
                button(card, u"Button1"_s)->click();
                QVERIFY(!card->isVisible());
            });
            button(form, u"Button1"_s)->click();
            QVERIFY(form->isVisible());
            QVERIFY(gridColumn(form).contains(u"Д'Артаньян Шарль"_s));
        });
        m_window->openFromMenu();
        QCOMPARE(m_db.count(u"accounts_dep.person where fio=:f and s_staffpos_hl='Цех 2'"_s,
                            {{u"f"_s, u"Д'Артаньян Шарль"_s}}),
                 1);
    }

    // "Удалить" asks first; after Yes the list is read again near the same
    // place.
    void deleteAsksFirst()
    {
        m_messages.answers = {false, true};
        onModal(u"Form5"_s, [&](QDialog *form) {
            Dataset &list = data().workers();
            list.setRecNo(2); // Иванов
            button(form, u"Button3"_s)->click();
            QCOMPARE(list.recordCount(), 4);
            button(form, u"Button3"_s)->click();
            QCOMPARE(gridColumn(form),
                     (QStringList{u"Иваненко Пётр"_s, u"Петров Сидор"_s, u"Сидоров-Иванов Олег"_s}));
            QCOMPARE(list.recNo(), 2);
            QVERIFY(form->isVisible());
        });
        m_window->openFromMenu();
        QCOMPARE(m_messages.texts(), (QStringList{u"Удалить работника?"_s, u"Удалить работника?"_s}));
        QCOMPARE(m_messages.shown.first().caption, u"Удаление"_s);
        QCOMPARE(m_messages.shown.first().icon, MessageIcon::Question);
        QCOMPARE(m_db.count(u"accounts_dep.person where id=:id"_s, {{u"id"_s, m_ivanov}}), 0);
    }

    // Names travel as bound values: quotes and statement-like text are
    // stored and read back unchanged, and nothing else is touched.
    void namesStoredAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::newRow("apostrophe") << u"О'Нил"_s << u"Цех 'А'"_s;
        QTest::newRow("statement-like")
            << u"x'); delete from accounts_dep.person; --"_s << u"'; drop table accounts_dep.person; --"_s;
        QTest::newRow("colon and question mark") << u"Ким :id ?"_s << u"::text"_s;
    }
    void namesStoredAsTyped()
    {
        QFETCH(QString, name);
        QFETCH(QString, position);
        WorkersStore store(data());
        auto read = [&](int id) {
            return m_db
                .scalar(u"select fio || '|' || s_staffpos_hl from accounts_dep.person where id=:id"_s,
                        {{u"id"_s, id}})
                .toString();
        };
        const int added = store.add(name, position);
        QCOMPARE(read(added), name + u'|' + position);
        store.change(m_ivanov, name, position);
        QCOMPARE(read(m_ivanov), name + u'|' + position);
        QCOMPARE(m_db.count(u"accounts_dep.person"_s), 5);
        // The worker's display name in the shared person book follows.
        QCOMPARE(m_db.scalar(u"select s_caption from cmn_contractor.person where s_code=:c"_s,
                             {{u"c"_s, QString::number(added)}})
                     .toString(),
                 name);
    }

    // The wheel over the card turns the look-up that has the focus, one row
    // per step, wherever the mouse is.
    void wheelTurnsTheFocusedLookup()
    {
        m_edit->prepareNew();
        m_edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
        auto *position = m_edit->findChild<QComboBox *>(u"DBLookupComboBox1"_s);
        auto *department = m_edit->findChild<QComboBox *>(u"DBLookupComboBox2"_s);
        QCOMPARE(department->currentIndex(), -1);
        department->setFocus();
        QCOMPARE(m_edit->focusWidget(), department);

        auto wheel = [](QWidget *over, int delta) {
            const QPointF at(over->rect().center());
            QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &event);
        };
        wheel(m_edit->findChild<QLineEdit *>(u"Edit1"_s), -120); // over the name field
        QCOMPARE(department->currentIndex(), 0);
        wheel(position, -240); // over another look-up: two steps down
        QCOMPARE(department->currentIndex(), 2);
        QCOMPARE(position->currentIndex(), -1);
        wheel(department, 120);
        QCOMPARE(department->currentIndex(), 1);
        QCOMPARE(m_edit->departmentText(), department->itemText(1));
        m_edit->hide();

        // The choice holds when the card is prepared for a new worker, but
        // not for a worker who has a position of his own.
        m_edit->prepareNew();
        QCOMPARE(department->currentIndex(), 1);
        m_edit->prepareChange(m_ivanov, u"Иванов Иван"_s, QString());
        QCOMPARE(department->currentIndex(), -1);
    }

    // The card shows the department the worker has, so saving a rename
    // keeps it.
    void changeShowsStoredDepartment()
    {
        m_edit->prepareChange(m_ivanov, u"Иванов Иван"_s, u"Склад"_s);
        auto *department = m_edit->findChild<QComboBox *>(u"DBLookupComboBox2"_s);
        QCOMPARE(department->currentText(), u"Склад"_s);
        QCOMPARE(m_edit->departmentText(), u"Склад"_s);
    }

    // A worker whose stored position names no department gets an empty box,
    // not the department of the worker shown before, and a rename keeps
    // his position.
    void changeKeepsAPositionThatIsNoDepartment_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("an older text") << u"Слесарь"_s;
    }
    void changeKeepsAPositionThatIsNoDepartment()
    {
        QFETCH(QString, stored);
        const int other = m_db.addWorker(u"Петров Пётр"_s);
        m_db.exec(u"update accounts_dep.person set s_staffpos_hl=:p where id=:id"_s,
                  {{u"p"_s, stored}, {u"id"_s, m_ivanov}});
        m_edit->prepareChange(other, u"Петров Пётр"_s, u"Склад"_s);
        auto *department = m_edit->findChild<QComboBox *>(u"DBLookupComboBox2"_s);
        QCOMPARE(department->currentText(), u"Склад"_s);

        m_edit->prepareChange(m_ivanov, u"Иванов Иван"_s, stored);
        QCOMPARE(department->currentIndex(), -1);
        QVERIFY(m_edit->departmentText().isEmpty());
        m_edit->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Иванов Иван Иванович"_s);
        m_edit->save();
        QCOMPARE(m_db.scalar(u"select coalesce(s_staffpos_hl, '') || '|' || fio from accounts_dep.person "
                             "where id=:id"_s,
                             {{u"id"_s, m_ivanov}})
                     .toString(),
                 stored + u"|Иванов Иван Иванович"_s);
    }

    // A database error stops the action with the driver's message; no
    // window is left hanging.
    void databaseErrorIsShown()
    {
        m_db.exec(u"alter table accounts_dep.person rename to person_away"_s);
        const std::optional<WorkerPick> picked = m_window->pick(WorkersWindow::EntryWorker);
        m_db.exec(u"alter table accounts_dep.person_away rename to person"_s);
        QVERIFY(!picked);
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(m_messages.lastText().contains(u"person"_s), qPrintable(m_messages.lastText()));

        // The card stays open to try again.
        m_messages.clear();
        m_edit->prepareNew();
        m_edit->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Новиков"_s);
        m_edit->setResult(QDialog::Rejected);
        m_db.exec(u"alter table accounts_dep.person rename to person_away"_s);
        button(m_edit.get(), u"Button1"_s)->click();
        m_db.exec(u"alter table accounts_dep.person_away rename to person"_s);
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_edit->result(), int(QDialog::Rejected));
        button(m_edit.get(), u"Button1"_s)->click();
        QCOMPARE(m_edit->result(), int(QDialog::Accepted));
        QCOMPARE(m_db.count(u"accounts_dep.person where fio='Новиков'"_s), 1);
    }

private:
    DataModule &data() { return m_db.data(); }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    std::unique_ptr<WorkerEditWindow> m_edit;
    std::unique_ptr<HoursPrompt> m_hours;
    std::unique_ptr<WorkersWindow> m_window;
    int m_ivanov = 0;
    int m_ivanenko = 0;
};

QTEST_MAIN(WorkersTest)
#include "tst_workers.moc"
