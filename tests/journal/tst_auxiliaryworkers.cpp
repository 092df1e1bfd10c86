// The auxiliary workers of a saved entry in the entry window (Form11): their
// share and rows, the hours they need, and the list kept, discarded or saved
// whole.

#include "entryfixture.h"

class AuxiliaryWorkersTest : public QObject, public EntryFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpFixture(); }
    void init() { initFixture(); }
    void cleanup() { cleanupFixture(); }

    // The auxiliary workers' share of an entry and the rows they become.
    void auxiliaryWorkersArePaid_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("defects");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<int>("auxHours");
        QTest::addColumn<QString>("share");
        QTest::addColumn<QString>("amount");
        QTest::newRow("8.75 an hour") << u"10"_s << u"12"_s << u"2"_s << u"8"_s << 4 << u"8.75"_s << u"35"_s;
        QTest::newRow("8.333… an hour")
            << u"10"_s << u"25"_s << u"0"_s << u"21"_s << 3 << u"8.33"_s << u"24.99"_s;
        QTest::newRow("half a kopeck up")
            << u"1"_s << u"1"_s << u"0"_s << u"4"_s << 2 << u"0.18"_s << u"0.36"_s;
    }
    void auxiliaryWorkersArePaid()
    {
        QFETCH(QString, price);
        QFETCH(QString, quantity);
        QFETCH(QString, defects);
        QFETCH(QString, hours);
        QFETCH(int, auxHours);
        QFETCH(QString, share);
        QFETCH(QString, amount);
        const int worker = m_db.addWorker(u"Мастеров М.М."_s);
        const int helper = m_db.addWorker(u"Подсобнов П.П."_s);
        m_main->setCurrentShift(2);
        int entry = 0;
        within(&EntryWindow::openNew, [&] {
            pick(worker, u"Мастеров М.М."_s, m_painting, price, price);
            field(u"Edit5"_s)->setText(u"6"_s);
            type(quantity, defects, hours);
            click(u"Button1"_s);
            entry = m_window->rowId();
            m_window->findChild<QCheckBox *>(u"CheckBox1"_s)->click();
            QVERIFY(button(u"Button5"_s)->isEnabled());
            m_pickers.workers << WorkerPick{helper, u"Подсобнов П.П."_s, auxHours};
            click(u"Button5"_s);
            QCOMPARE(m_pickers.workerModes.last(), WorkersWindow::AuxiliaryWorker);
            Dataset &list = *m_window->findChild<DataGrid *>(u"DBGrid1"_s)->dataset();
            QCOMPARE(list.recordCount(), 1);
            QCOMPARE(list.text(u"fio"_s), u"Подсобнов П.П."_s);
            QCOMPARE(list.decimal(u"f_count"_s), *Decimal::parse(amount));
            QCOMPARE(list.decimal(u"f_time"_s), Decimal::fromInt(auxHours));
            QCOMPARE(m_db.scalar(u"select f_count::text from accounts_dep.person_temp where id_smena=:s"_s,
                                 {{u"s"_s, entry}})
                         .toString(),
                     share);
            click(u"Button6"_s);
            QVERIFY(!m_window->isVisible());
        });
        QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));
        QCOMPARE(m_db.count(u"accounts_dep.person_temp where id_smena=:s"_s, {{u"s"_s, entry}}), 0);
        const int row =
            m_db.scalar(u"select id from accounts_dep.smena where w_id=:w"_s, {{u"w"_s, helper}}).toInt();
        QCOMPARE(rowText(row).section(u" vvod"_s, 0, 0),
                 u"w%1 i%2 o7779 cena %3 q1 b0 2025-03-05 s2 c6 t%4 no prize 0 links 0 0 0 0 0"_s.arg(helper)
                     .arg(m_product)
                     .arg(Decimal::parse(amount)->toString(4))
                     .arg(auxHours));
        QVERIFY(
            m_db.scalar(u"select vvod is not null from accounts_dep.smena where id=:id"_s, {{u"id"_s, row}})
                .toBool());
        // Saving them keeps the timesheet as it was: no row for the helper.
        QCOMPARE(m_db.count(u"accounts_dep.h_tabel where w_id=:w"_s, {{u"w"_s, helper}}), 0);
    }

    void auxiliaryWorkersNeedEntryHours()
    {
        const int worker = m_db.addWorker(u"Безчасов Б.Б."_s);
        within(&EntryWindow::openNew, [&] {
            pick(worker, u"Безчасов Б.Б."_s, m_assembly, u"10"_s, u"10"_s);
            type(u"5"_s, u"0"_s, u"0"_s);
            click(u"Button1"_s);
            auto *box = m_window->findChild<QCheckBox *>(u"CheckBox1"_s);
            QVERIFY(box->isEnabled());
            box->click();
            QVERIFY(!box->isChecked());
            QVERIFY(!button(u"Button5"_s)->isEnabled());
            QCOMPARE(m_messages.texts(), QStringList{u"Время должно быть больше 0"_s});
        });
    }

    // Every way out of the window drops the list that was not saved.
    void closingDiscardsTheList_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Выход") << u"button"_s;
        QTest::newRow("Escape") << u"escape"_s;
        QTest::newRow("close box") << u"close"_s;
    }
    void closingDiscardsTheList()
    {
        QFETCH(QString, how);
        const int worker = m_db.addWorker(u"Уходов У.У."_s);
        const int helper = m_db.addWorker(u"Помощников П.П."_s);
        int entry = 0;
        within(&EntryWindow::openNew, [&] {
            saveEntry(worker, u"8"_s);
            entry = m_window->rowId();
            // The same helper twice is listed twice.
            m_pickers.workers << WorkerPick{helper, u"Помощников П.П."_s, 2}
                              << WorkerPick{helper, u"Помощников П.П."_s, 3};
            click(u"Button5"_s);
            click(u"Button5"_s);
            QCOMPARE(m_db.count(u"accounts_dep.person_temp where id_smena=:s"_s, {{u"s"_s, entry}}), 2);
            if (how == u"button"_s)
                click(u"Button2"_s);
            else if (how == u"escape"_s)
                QTest::keyClick(field(u"Edit3"_s), Qt::Key_Escape);
            else
                m_window->close();
            QVERIFY(!m_window->isVisible());
        });
        QCOMPARE(m_db.count(u"accounts_dep.person_temp where id_smena=:s"_s, {{u"s"_s, entry}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, helper}}), 0);
    }

    void removingFromTheList()
    {
        const int worker = m_db.addWorker(u"Удалов У.У."_s);
        const int first = m_db.addWorker(u"Первов П.П."_s);
        const int second = m_db.addWorker(u"Вторых В.В."_s);
        within(&EntryWindow::openNew, [&] {
            saveEntry(worker, u"8"_s);
            m_pickers.workers << WorkerPick{first, u"Первов П.П."_s, 2}
                              << WorkerPick{second, u"Вторых В.В."_s, 3};
            click(u"Button5"_s);
            click(u"Button5"_s);
            Dataset &list = *m_window->findChild<DataGrid *>(u"DBGrid1"_s)->dataset();
            list.first();
            m_messages.answers << false << true;
            click(u"Button7"_s);
            QCOMPARE(list.recordCount(), 2);
            click(u"Button7"_s);
            QCOMPARE(list.recordCount(), 1);
            QCOMPARE(list.intValue(u"id"_s), second);
            QCOMPARE(m_messages.shown.size(), 2);
            QCOMPARE(m_messages.shown.first().text, u"Удалить позицию из списка?"_s);
            QCOMPARE(m_messages.shown.first().caption, u"Удаление"_s);
            QCOMPARE(m_messages.shown.first().icon, MessageIcon::Question);
            click(u"Button6"_s);
        });
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, first}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w and o_id=7779"_s, {{u"w"_s, second}}), 1);
    }

    void savingAnEmptyListClosesTheWindow()
    {
        const int worker = m_db.addWorker(u"Одинов О.О."_s);
        int rows = 0;
        within(&EntryWindow::openNew, [&] {
            saveEntry(worker, u"8"_s);
            rows = m_db.count(u"accounts_dep.smena"_s);
            click(u"Button6"_s);
            QVERIFY(!m_window->isVisible());
        });
        QCOMPARE(m_db.count(u"accounts_dep.smena"_s), rows);
    }

    // A list that cannot be saved whole is not saved at all.
    void savingTheListIsAllOrNothing()
    {
        const int worker = m_db.addWorker(u"Целов Ц.Ц."_s);
        const int helper = m_db.addWorker(u"Частичный Ч.Ч."_s);
        int entry = 0;
        within(&EntryWindow::openNew, [&] {
            saveEntry(worker, u"8"_s);
            entry = m_window->rowId();
            m_pickers.workers << WorkerPick{helper, u"Частичный Ч.Ч."_s, 2}
                              << WorkerPick{helper, u"Частичный Ч.Ч."_s, 3};
            click(u"Button5"_s);
            // Hours no journal row can hold, between two good rows.
            m_db.exec(u"insert into accounts_dep.person_temp(id_smena, id_person, f_count, f_time, type) "
                      "values (:s, :p, 1, 10000000000, 1)"_s,
                      {{u"s"_s, entry}, {u"p"_s, helper}});
            click(u"Button5"_s);
            QCOMPARE(m_db.count(u"accounts_dep.person_temp where id_smena=:s"_s, {{u"s"_s, entry}}), 3);
            click(u"Button6"_s);
            QCOMPARE(m_messages.shown.size(), 1); // the database's refusal
            QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
            QVERIFY(m_window->isVisible());
            QCOMPARE(m_db.count(u"accounts_dep.person_temp where id_smena=:s"_s, {{u"s"_s, entry}}), 3);
            QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, helper}}), 0);
        });
    }

    // "Новый" with an unsaved list asks first: Yes pays the workers, No drops
    // them; either way the window starts an empty entry.
    void newEntryAsksAboutTheList_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("save them") << true;
        QTest::newRow("drop them") << false;
    }
    void newEntryAsksAboutTheList()
    {
        QFETCH(bool, answer);
        const int worker = m_db.addWorker(u"Новых Н.Н."_s);
        const int helper = m_db.addWorker(u"Ждущий Ж.Ж."_s);
        int entry = 0;
        within(&EntryWindow::openNew, [&] {
            saveEntry(worker, u"8"_s);
            entry = m_window->rowId();
            m_pickers.workers << WorkerPick{helper, u"Ждущий Ж.Ж."_s, 4};
            click(u"Button5"_s);
            m_messages.answers << answer;
            click(u"Button8"_s);
            QCOMPARE(m_messages.shown.size(), 1);
            QCOMPARE(m_messages.shown.first().text, u"Данные о подсобных рабочих не сохранены. Сохранить?"_s);
            QCOMPARE(m_messages.shown.first().caption, u"Удаление"_s);
            QCOMPARE(m_messages.shown.first().icon, MessageIcon::Exclamation);
            QVERIFY(m_window->isVisible());
            QCOMPARE(m_window->mode(), EntryWindow::NewEntry);
            QCOMPARE(m_window->rowId(), 0);
            QCOMPARE(m_window->windowTitle(), u"Заведение новой позиции (11)"_s);
            QCOMPARE(field(u"Edit1"_s)->text(), QString());
            QCOMPARE(field(u"Edit6"_s)->text(), u"0"_s);
            QVERIFY(button(u"Button1"_s)->isEnabled());
            QVERIFY(!m_window->findChild<QCheckBox *>(u"CheckBox1"_s)->isEnabled());
            // A save now needs a new worker and operation.
            click(u"Button1"_s);
            QCOMPARE(m_messages.lastText(), u"Все поля должны быть заполнены!"_s);
        });
        QCOMPARE(m_db.count(u"accounts_dep.person_temp where id_smena=:s"_s, {{u"s"_s, entry}}), 0);
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w and o_id=7779"_s, {{u"w"_s, helper}}),
                 answer ? 1 : 0);
    }
};

QTEST_MAIN(AuxiliaryWorkersTest)
#include "tst_auxiliaryworkers.moc"
