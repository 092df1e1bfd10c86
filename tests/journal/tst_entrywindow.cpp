// The production entry window (Form11) driven offscreen through its whole
// flow against the test database: picks, prices, validation, duplicates,
// insert and change with the worker's hours kept.  Its auxiliary workers are
// in tst_auxiliaryworkers.cpp.

#include "entryfixture.h"

class EntryWindowTest : public QObject, public EntryFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpFixture(); }
    void init() { initFixture(); }
    void cleanup() { cleanupFixture(); }

    // A new entry from the pick to the saved row, its hours and the
    // journal read again on it.
    void newEntryIsSaved()
    {
        const int worker = m_db.addWorker(u"Иванов И.И."_s);
        m_main->setCurrentShift(3);
        m_main->findChild<QCheckBox *>(u"CBox1"_s)->setChecked(true);
        within(&EntryWindow::openNew, [&] {
            QCOMPARE(m_window->windowTitle(), u"Заведение новой позиции (11)"_s);
            QCOMPARE(m_window->mode(), EntryWindow::NewEntry);
            QCOMPARE(m_window->findChild<QDateEdit *>(u"DTimeP"_s)->date(), kToday);
            QCOMPARE(field(u"Edit4"_s)->text(), u"0"_s);
            QCOMPARE(field(u"Edit6"_s)->text(), u"0"_s);
            pick(worker, u"Иванов И.И."_s, m_assembly, u"10"_s, u"24"_s);
            QCOMPARE(m_pickers.workerModes, QList<WorkersWindow::Mode>{WorkersWindow::EntryWorker});
            QCOMPARE(m_pickers.operationCalls.size(), 1);
            const auto call = m_pickers.operationCalls.first();
            // The list without the hanging distribution (what it offers is
            // tested with the price list).
            QCOMPARE(call.list, OperationList::EntryPick);
            QCOMPARE(call.locate, 0);
            QCOMPARE(call.dayOff, true);
            QCOMPARE(call.shift, 3);
            QCOMPARE(field(u"Edit1"_s)->text(), u"Иванов И.И."_s);
            QCOMPARE(field(u"Edit2"_s)->text(), u"КР-1; Сборка; Готовая продукция"_s);
            type(u"12"_s, u"2"_s, u"8"_s);
            click(u"Button1"_s);
            QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));

            // Locked entry, auxiliary part offered.
            for (const auto &name : {u"Edit1"_s, u"Edit3"_s, u"Edit6"_s, u"Edit9"_s})
                QVERIFY(!field(name)->isEnabled());
            QVERIFY(!button(u"Button1"_s)->isEnabled());
            QVERIFY(!button(u"Button3"_s)->isEnabled());
            QVERIFY(m_window->findChild<QCheckBox *>(u"CheckBox1"_s)->isEnabled());
            QVERIFY(!button(u"Button5"_s)->isEnabled());
        });
        const int id = m_window->rowId();
        QVERIFY(id > 0);
        QCOMPARE(
            rowText(id),
            u"w%1 i%2 o%3 cena 24.0000 q12 b2 2025-03-05 s3 c0 t8 no prize 0 links 0 0 0 0 0"_s.arg(worker)
                .arg(m_product)
                .arg(m_assembly));
        QCOMPARE(m_db.scalar(u"select vvod::date = current_date from accounts_dep.smena where id=:id"_s,
                             {{u"id"_s, id}})
                     .toBool(),
                 true);
        QCOMPARE(dayCell(worker, 3, kToday), 8);
        Dataset &journal = m_db.data().journal(3);
        QVERIFY(journal.locate(u"id"_s, id));
    }

    // Prices shown to four decimals, half away from zero on the exact value;
    // the sum ignores defects; the row carries the price as shown.
    void prices_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("final");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("shownFinal");
        QTest::addColumn<QString>("shownSum");
        QTest::addColumn<QString>("stored");
        QTest::newRow("half up at the fifth decimal")
            << u"0.12345"_s << u"0.12345"_s << u"3"_s << u"0.1235"_s << u"0.3704"_s << u"0.1235"_s;
        QTest::newRow("shift 3 factor") << u"10"_s << u"12"_s << u"7"_s << u"12"_s << u"84"_s << u"12.0000"_s;
        QTest::newRow("long fraction")
            << u"3.33335"_s << u"8.000040"_s << u"10"_s << u"8"_s << u"80.0004"_s << u"8.0000"_s;
    }
    void prices()
    {
        QFETCH(QString, base);
        QFETCH(QString, final);
        QFETCH(QString, quantity);
        QFETCH(QString, shownFinal);
        QFETCH(QString, shownSum);
        QFETCH(QString, stored);
        const int worker = m_db.addWorker(u"Цены Ц.Ц."_s);
        within(&EntryWindow::openNew, [&] {
            pick(worker, u"Цены Ц.Ц."_s, m_assembly, base, final);
            type(quantity, u"1"_s, u"8"_s);
            QCOMPARE(field(u"Edit8"_s)->text(), Decimal::parse(base)->rounded(4).toString());
            QCOMPARE(field(u"Edit7"_s)->text(), shownFinal);
            // Leaving the quantity recomputes the sum.
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            field(u"Edit3"_s)->setFocus();
            QTRY_VERIFY(field(u"Edit3"_s)->hasFocus());
            field(u"Edit6"_s)->setFocus();
            QTRY_COMPARE(field(u"Edit9"_s)->text(), shownSum);
            click(u"Button1"_s);
        });
        QCOMPARE(m_db.scalar(u"select cena::text from accounts_dep.smena where id=:id"_s,
                             {{u"id"_s, m_window->rowId()}})
                     .toString(),
                 stored);
    }

    void emptyQuantityOrHoursBecomeZeroOnLeaving()
    {
        within(&EntryWindow::openNew, [&] {
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            for (const QString &name : {u"Edit3"_s, u"Edit6"_s}) {
                field(name)->clear();
                field(name)->setFocus();
                QTRY_VERIFY(field(name)->hasFocus());
                field(u"Edit4"_s)->setFocus();
                QTRY_COMPARE(field(name)->text(), u"0"_s);
            }
        });
    }

    void missingFieldsAreRefused_data()
    {
        QTest::addColumn<bool>("worker");
        QTest::addColumn<bool>("operation");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("defects");
        QTest::addColumn<QString>("hours");
        QTest::newRow("no worker") << false << true << u"1"_s << u"0"_s << u"8"_s;
        QTest::newRow("no operation") << true << false << u"1"_s << u"0"_s << u"8"_s;
        QTest::newRow("no quantity") << true << true << u""_s << u"0"_s << u"8"_s;
        QTest::newRow("no defects") << true << true << u"1"_s << u"  "_s << u"8"_s;
        QTest::newRow("no hours") << true << true << u"1"_s << u"0"_s << u""_s;
    }
    void missingFieldsAreRefused()
    {
        QFETCH(bool, worker);
        QFETCH(bool, operation);
        QFETCH(QString, quantity);
        QFETCH(QString, defects);
        QFETCH(QString, hours);
        const int id = m_db.addWorker(u"Пустов П.П."_s);
        within(&EntryWindow::openNew, [&] {
            if (worker)
                m_pickers.workers << WorkerPick{id, u"Пустов П.П."_s, 0};
            if (operation)
                m_pickers.operations << operationPick(m_assembly, u"10"_s, u"10"_s);
            click(u"Button3"_s);
            click(u"Button4"_s);
            field(u"Edit3"_s)->setText(quantity);
            field(u"Edit4"_s)->setText(defects);
            field(u"Edit6"_s)->setText(hours);
            click(u"Button1"_s);
            QCOMPARE(m_messages.texts(), QStringList{u"Все поля должны быть заполнены!"_s});
            QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
            QVERIFY(button(u"Button1"_s)->isEnabled()); // still the first stage
        });
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, id}}), 0);
    }

    void numberFieldsTakeDigitsOnly()
    {
        within(&EntryWindow::openNew, [&] {
            m_pickers.operations << operationPick(m_painting, u"5"_s, u"5"_s); // so that Edit5 is usable
            click(u"Button4"_s);
            for (const QString &name : {u"Edit3"_s, u"Edit4"_s, u"Edit5"_s, u"Edit6"_s}) {
                QLineEdit *edit = field(name);
                edit->clear();
                QTest::keyClicks(edit, u"1a2-3,4 ."_s);
                QTest::keyClick(edit, Qt::Key_Backspace);
                QCOMPARE(edit->text(), u"123"_s);
            }
        });
    }

    // Colour is asked for painting operations only ("краска" in any case).
    void paintingNeedsAColour()
    {
        const int worker = m_db.addWorker(u"Малярова М.М."_s);
        within(&EntryWindow::openNew, [&] {
            QLineEdit *colour = field(u"Edit5"_s);
            auto *colourLabel = m_window->findChild<QLabel *>(u"Label6"_s);
            QVERIFY(!colour->isEnabled());
            pick(worker, u"Малярова М.М."_s, m_painting, u"5"_s, u"5"_s);
            QVERIFY(colour->isEnabled());
            QVERIFY(colourLabel->isEnabled());
            type(u"10"_s, u"0"_s, u"8"_s);
            click(u"Button1"_s);
            QCOMPARE(m_messages.texts(), QStringList{u"Все поля должны быть заполнены!"_s});
            colour->setText(u"7"_s);
            // Another operation clears the colour and closes the field again.
            m_pickers.operations << operationPick(m_assembly, u"10"_s, u"10"_s);
            click(u"Button4"_s);
            QVERIFY(!colour->isEnabled());
            QVERIFY(!colourLabel->isEnabled());
            QCOMPARE(colour->text(), QString());
            m_pickers.operations << operationPick(m_painting, u"5"_s, u"5"_s);
            click(u"Button4"_s);
            colour->setText(u"3"_s);
            click(u"Button1"_s);
        });
        QCOMPARE(m_db.scalar(u"select color from accounts_dep.smena where id=:id"_s,
                             {{u"id"_s, m_window->rowId()}})
                     .toInt(),
                 3);
    }

    // A copy saved as it is repeats its row and is refused; another date or
    // colour makes it a new row.
    void copyIsRefusedUntilItDiffers_data()
    {
        QTest::addColumn<int>("addDays");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<bool>("saved");
        QTest::newRow("unchanged") << 0 << u"4"_s << false;
        QTest::newRow("another date") << 1 << u"4"_s << true;
        QTest::newRow("another colour") << 0 << u"5"_s << true;
    }
    void copyIsRefusedUntilItDiffers()
    {
        QFETCH(int, addDays);
        QFETCH(QString, colour);
        QFETCH(bool, saved);
        const int worker = m_db.addWorker(u"Копиев К.К."_s);
        const int original = m_db.addJournalRow(worker, m_painting, kToday, 1, 8, u"no"_s, 4);
        selectRow(1, original);
        within(&EntryWindow::openCopy, [&] {
            QCOMPARE(m_window->mode(), EntryWindow::CopyEntry);
            QCOMPARE(m_window->windowTitle(), u"Изменение данных о позиции (11)"_s);
            QCOMPARE(field(u"Edit5"_s)->text(), u"4"_s);
            QCOMPARE(field(u"Edit7"_s)->text(), u"10"_s);
            QCOMPARE(field(u"Edit8"_s)->text(), u"5"_s);
            QCOMPARE(field(u"Edit9"_s)->text(), u"120"_s);
            auto *date = m_window->findChild<QDateEdit *>(u"DTimeP"_s);
            date->setDate(date->date().addDays(addDays));
            field(u"Edit5"_s)->setText(colour);
            click(u"Button1"_s);
        });
        QCOMPARE(m_window->mode(), EntryWindow::Closed);
        QCOMPARE(m_messages.texts(),
                 saved ? QStringList() : QStringList{u"Позиция с такими параметрами уже заведена!"_s});
        QCOMPARE(m_db.count(u"accounts_dep.smena where w_id=:w"_s, {{u"w"_s, worker}}), saved ? 2 : 1);
        if (saved) {
            QVERIFY(m_window->rowId() != original);
            QCOMPARE(dayCell(worker, 1, kToday.addDays(addDays)), addDays ? 8 : 16);
        }
    }

    // A change may keep its own values but not take another row's.
    void changeIsRefusedOnlyAgainstOtherRows()
    {
        const int worker = m_db.addWorker(u"Менялов М.М."_s);
        const int first = m_db.addJournalRow(worker, m_painting, kToday, 1, 8, u"ok"_s, 3);
        m_db.addJournalRow(worker, m_painting, kToday, 1, 2, u"no"_s, 5);
        selectRow(1, first);
        within(&EntryWindow::openChange, [&] {
            QCOMPARE(m_window->mode(), EntryWindow::ChangeEntry);
            field(u"Edit5"_s)->setText(u"5"_s);
            click(u"Button1"_s);
            QCOMPARE(m_messages.texts(), QStringList{u"Позиция с такими параметрами уже заведена!"_s});
            m_messages.clear();
            field(u"Edit5"_s)->setText(u"3"_s);
            field(u"Edit6"_s)->setText(u"6"_s);
            click(u"Button1"_s);
            QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));
        });
        QCOMPARE(m_window->rowId(), first);
        // The change keeps the mark and writes the new hours into the day.
        QCOMPARE(m_db.scalar(u"select ok || ' ' || time from accounts_dep.smena where id=:id"_s,
                             {{u"id"_s, first}})
                     .toString(),
                 u"ok 6"_s);
        QCOMPARE(dayCell(worker, 1, kToday), 8);
    }

    // Moving a row to another day or worker takes its hours from the old
    // day cell, which no row holds any more.
    void changeMovesTheHours_data()
    {
        QTest::addColumn<bool>("otherWorker");
        QTest::addColumn<int>("addDays");
        QTest::newRow("another date") << false << 1;
        QTest::newRow("another worker") << true << 0;
        QTest::newRow("next month") << false << 27;
    }
    void changeMovesTheHours()
    {
        QFETCH(bool, otherWorker);
        QFETCH(int, addDays);
        const int worker = m_db.addWorker(u"Старов С.С."_s);
        const int other = m_db.addWorker(u"Новиков Н.Н."_s);
        m_db.addJournalRow(worker, m_painting, kToday, 1, 3, u"no"_s, 1); // stays on the day
        m_db.addJournalRow(worker, m_painting, kToday.addDays(-1), 1, 5, u"no"_s,
                           1); // another day of the month
        int moved = 0;
        within(&EntryWindow::openNew, [&] {
            pick(worker, u"Старов С.С."_s, m_assembly, u"10"_s, u"10"_s);
            m_pickers.operations.clear();
            type(u"1"_s, u"0"_s, u"8"_s);
            click(u"Button1"_s);
            moved = m_window->rowId();
        });
        QCOMPARE(dayCell(worker, 1, kToday), 11);
        QCOMPARE(dayCell(worker, 1, kToday.addDays(-1)), 0); // not kept by the upkeep yet

        selectRow(1, moved);
        const QDate newDate = kToday.addDays(addDays);
        const int newWorker = otherWorker ? other : worker;
        within(&EntryWindow::openChange, [&] {
            if (otherWorker) {
                m_pickers.workers << WorkerPick{other, u"Новиков Н.Н."_s, 0};
                click(u"Button3"_s);
            }
            m_window->findChild<QDateEdit *>(u"DTimeP"_s)->setDate(newDate);
            click(u"Button1"_s);
            QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));
        });
        QCOMPARE(dayCell(worker, 1, kToday), 3);
        QCOMPARE(dayCell(newWorker, 1, newDate), 8);
    }

    // Rows of the special operations are neither changed nor copied here.
    void specialRowsOpenNothing_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("auxiliary worker") << 7779;
        QTest::newRow("hanging") << 7784;
        QTest::newRow("household") << 7777;
    }
    void specialRowsOpenNothing()
    {
        QFETCH(int, operation);
        const int worker = m_db.addWorker(u"Особов О.О."_s);
        selectRow(1, m_db.addJournalRow(worker, operation, kToday, 1, 8));
        bool shown = false;
        QTimer::singleShot(0, m_window, [&] {
            shown = m_window->isVisible();
            m_window->reject();
        });
        m_window->openChange();
        m_window->openCopy();
        QTest::qWait(10);
        QVERIFY(!shown);
    }

    // The picks through the books themselves: the workers list with its hours
    // prompt for an auxiliary worker, and the price list positioned on the
    // row's operation.
    void picksThroughTheBooks()
    {
        m_window->setPickers(nullptr);
        const int worker = m_db.addWorker(u"Книжный К.К."_s);
        const int helper = m_db.addWorker(u"Книжный-Подсобный К.П."_s);
        const int row = m_db.addJournalRow(worker, m_assembly, kToday, 1, 8);
        selectRow(1, row);
        within(&EntryWindow::openCopy, [&] {
            // The price list opens on the row's operation; "Выбрать" takes it.
            bool priceListShown = false;
            onModal(u"Form4"_s, [&](QDialog *list) {
                priceListShown = true;
                QCOMPARE(m_db.data().oper().intValue(u"id"_s), m_assembly);
                list->findChild<QPushButton *>(u"Button2"_s)->click();
            });
            click(u"Button4"_s);
            QVERIFY(priceListShown);
            QCOMPARE(field(u"Edit2"_s)->text(), u"КР-1; Сборка; Готовая продукция"_s);
            QCOMPARE(field(u"Edit7"_s)->text(), u"10"_s);
            m_window->findChild<QDateEdit *>(u"DTimeP"_s)->setDate(kToday.addDays(2));
            click(u"Button1"_s);
            QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.lastText()));
            m_window->findChild<QCheckBox *>(u"CheckBox1"_s)->click();

            // The workers list, then its hours prompt.
            bool promptShown = false;
            onModal(u"Form5"_s, [&](QDialog *list) {
                onModal(u"Form132"_s, [&](QDialog *prompt) {
                    promptShown = true;
                    QTest::keyClicks(prompt->findChild<QLineEdit *>(u"Edit1"_s), u"4"_s);
                    prompt->findChild<QPushButton *>(u"Button1"_s)->click();
                });
                list->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Книжный-"_s);
                list->findChild<QPushButton *>(u"Button2"_s)->click();
                if (list->isVisible())
                    list->close();
            });
            click(u"Button5"_s);
            QVERIFY(promptShown);
            Dataset &aux = *m_window->findChild<DataGrid *>(u"DBGrid1"_s)->dataset();
            QCOMPARE(aux.recordCount(), 1);
            QCOMPARE(aux.intValue(u"id"_s), helper);
            QCOMPARE(aux.decimal(u"f_count"_s), money("35")); // 10 × 0.7 × 10 / 8 = 8.75 an hour, 4 hours
        });
    }
};

QTEST_MAIN(EntryWindowTest)
#include "tst_entrywindow.moc"
