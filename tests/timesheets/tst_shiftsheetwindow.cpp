// The timesheet by shifts (Form19): the month's periods, the three shift
// grids and how their day cells are drawn, the rebuild from the window, the
// printed monthly hours timesheet and its workbook.

#include "core/datamodule.h"
#include "core/journalcontext.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "timesheets/hourssheetreport.h"
#include "timesheets/shiftsheetwindow.h"
#include "timesheets/timesheetswindows.h"
#include "widgets/datagrid.h"
#include "widgets/excelwriter.h"
#include "widgets/report.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

class RecordingOpener : public FileOpener
{
public:
    bool open(const QString &path) override
    {
        opened << path;
        return true;
    }
    QStringList opened;
};

class FixedJournal : public JournalContext
{
public:
    int currentShift() const override { return 1; }
    QDate journalDate() const override { return date; }
    bool isDayOff() const override { return false; }
    Dataset &currentJournal() override { Q_UNREACHABLE(); }
    QString roleText() const override { return {}; }
    QDate date;
};

const QColor silver(0xC0, 0xC0, 0xC0);
const QColor longDay(192, 220, 192);

} // namespace

class ShiftSheetWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s),
                                        m_db.addProduct(u"КР-1"_s, m_db.addGroup(u"Корпуса"_s)));
        ExcelWriter::setFileOpener(&m_opener);
    }
    void cleanupTestCase() { ExcelWriter::setFileOpener(nullptr); }

    void init()
    {
        m_db.exec(u"delete from accounts_dep.smena"_s);
        m_db.exec(u"delete from accounts_dep.h_tabel"_s);
        m_messages.clear();
        m_opener.opened.clear();
    }

    void periods_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("next");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<int>>("weekend");
        QTest::newRow("December: the next month in the next year")
            << 12 << 2024 << QDate(2025, 1, 1) << QDate(2024, 12, 31) << u"Декабрь 2024 г."_s
            << QList<int>{1, 7, 8, 14, 15, 21, 22, 28, 29};
        QTest::newRow("February of a leap year")
            << 2 << 2024 << QDate(2024, 3, 1) << QDate(2024, 2, 29) << u"Февраль 2024 г."_s
            << QList<int>{3, 4, 10, 11, 17, 18, 24, 25};
        QTest::newRow("February of a common year")
            << 2 << 2023 << QDate(2023, 3, 1) << QDate(2023, 2, 28) << u"Февраль 2023 г."_s
            << QList<int>{4, 5, 11, 12, 18, 19, 25, 26};
        QTest::newRow("a month starting on Saturday")
            << 6 << 2024 << QDate(2024, 7, 1) << QDate(2024, 6, 30) << u"Июнь 2024 г."_s
            << QList<int>{1, 2, 8, 9, 15, 16, 22, 23, 29, 30};
    }
    void periods()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QDate, next);
        QFETCH(QDate, last);
        QFETCH(QString, label);
        QFETCH(QList<int>, weekend);
        const MonthPeriod p = MonthPeriod::of(month - 1, year);
        QCOMPARE(p.first, QDate(year, month, 1));
        QCOMPARE(p.next, next);
        QCOMPARE(p.last, last);
        QCOMPARE(p.label(), label);
        QList<int> marked;
        for (int day = 1; day <= 31; ++day) {
            if (p.isWeekend(day))
                marked << day;
            QCOMPARE(p.isPastEnd(day), day > last.day());
        }
        QCOMPARE(marked, weekend);
    }

    // June 2024 starts on a Saturday and has 30 days.
    void dayCells_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QVariant>("hours");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QVariant>("foreground");
        QTest::addColumn<QVariant>("background");
        const QVariant none;
        const QVariant red = QColor(Qt::red);
        QTest::newRow("0 on a working day is silver")
            << 3 << QVariant(0) << false << QVariant(silver) << none;
        QTest::newRow("empty counts as 0") << 4 << QVariant() << false << QVariant(silver) << none;
        QTest::newRow("0 on a weekend stays red") << 1 << QVariant(0) << false << red << none;
        QTest::newRow("8 is bold") << 5 << QVariant(8) << true << none << none;
        QTest::newRow("8 on a weekend is bold and red") << 2 << QVariant(8) << true << red << none;
        QTest::newRow("above 8 is bold on green") << 6 << QVariant(10) << true << none << QVariant(longDay);
        QTest::newRow("below 8 as it is") << 7 << QVariant(5) << false << none << none;
        QTest::newRow("past the end: the background colour")
            << 31 << QVariant() << false << QVariant(QColor(u"#010203"_s)) << none;
    }
    void dayCells()
    {
        QFETCH(int, day);
        QFETCH(QVariant, hours);
        QFETCH(bool, bold);
        QFETCH(QVariant, foreground);
        QFETCH(QVariant, background);
        const int worker = m_db.addWorker(u"Иванов И.И."_s);
        m_db.addJournalRow(worker, m_operation, QDate(2024, 6, 3), 1, 1);
        m_db.exec(u"insert into accounts_dep.h_tabel(w_id, smena, month, year, d"_s + QString::number(day) +
                      u") values (:w, 1, 6, 2024, :h::integer)"_s,
                  {{u"w"_s, worker}, {u"h"_s, hours.isValid() ? hours : sql::nullInt()}});

        ShiftSheetWindow window(m_db.data());
        QPalette palette = window.grid(1)->palette();
        palette.setColor(QPalette::Base, QColor(u"#010203"_s));
        window.grid(1)->setPalette(palette);
        window.choose(5, 2024);
        const QAbstractItemModel *model = window.grid(1)->model();
        QCOMPARE(model->rowCount(), 1);
        const QModelIndex cell = model->index(0, day);
        QCOMPARE(cell.data(Qt::FontRole).value<QFont>().bold(), bold);
        QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(), foreground.value<QColor>());
        QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), background.value<QColor>());
        // The name and the total are drawn plainly.
        QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid());
        QVERIFY(!model->index(0, 32).data(Qt::BackgroundRole).isValid());
    }

    // The shift tabs list a worker once he has a journal row in the month;
    // the choosers read the month again at once.
    void shiftsAndChoosers()
    {
        const int ivanov = m_db.addWorker(u"Иванов И.И."_s);
        const int petrov = m_db.addWorker(u"Петров П.П."_s);
        m_db.addJournalRow(ivanov, m_operation, QDate(2025, 3, 3), 1, 8);
        m_db.addJournalRow(ivanov, m_operation, QDate(2025, 3, 4), 3, 4);
        m_db.addJournalRow(petrov, m_operation, QDate(2025, 3, 31), 1, 10);
        m_db.addJournalRow(petrov, m_operation, QDate(2025, 4, 1), 2, 7);
        ShiftSheetStore store(m_db.data());
        store.rebuild(MonthPeriod::of(2, 2025));
        store.rebuild(MonthPeriod::of(3, 2025));

        ShiftSheetWindow window(m_db.data());
        window.choose(2, 2025);
        QCOMPARE(test::gridColumn(&window, 0), (QStringList{u"Иванов И.И."_s, u"Петров П.П."_s}));
        QCOMPARE(test::gridColumn(&window, 3), (QStringList{u"8"_s, QString()}));
        QCOMPARE(test::gridColumn(&window, 31), (QStringList{QString(), u"10"_s}));
        QCOMPARE(test::gridColumn(&window, 32), (QStringList{u"8"_s, u"10"_s}));
        QCOMPARE(window.grid(2)->model()->rowCount(), 0);
        QCOMPARE(window.grid(3)->model()->rowCount(), 1);

        auto *month = test::child<QComboBox>(&window, u"ComboBox1"_s);
        month->setCurrentIndex(3);
        QCOMPARE(test::gridColumn(&window, 0), QStringList());
        QCOMPARE(window.grid(2)->model()->rowCount(), 1);
        auto *year = test::child<QComboBox>(&window, u"ComboBox2"_s);
        QCOMPARE(year->itemText(0), u"2007"_s);
        QCOMPARE(year->itemText(year->count() - 1), QString::number(QDate::currentDate().year() + 1));
        year->setCurrentIndex(year->findText(u"2024"_s));
        QCOMPARE(window.grid(2)->model()->rowCount(), 0);
    }

    // "Табель по сменам" opens on the journal's month, not today's, also in
    // a year the list did not hold; Escape closes the window and the shifts
    // are closed with it.
    void opensOnTheJournalsMonth_data()
    {
        QTest::addColumn<QDate>("journalDate");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::newRow("a listed year") << QDate(2019, 11, 20) << u"Ноябрь"_s << u"2019"_s;
        QTest::newRow("before the list") << QDate(2005, 2, 10) << u"Февраль"_s << u"2005"_s;
    }
    void opensOnTheJournalsMonth()
    {
        QFETCH(QDate, journalDate);
        QFETCH(QString, month);
        QFETCH(QString, year);
        FixedJournal journal;
        journal.date = journalDate;
        TimesheetsWindows windows(m_db.data(), journal, nullptr);
        QString shownMonth, shownYear, firstYear;
        test::onModal(u"Form19"_s, [&](QDialog *dialog) {
            auto *years = test::child<QComboBox>(dialog, u"ComboBox2"_s);
            shownMonth = test::child<QComboBox>(dialog, u"ComboBox1"_s)->currentText();
            shownYear = years->currentText();
            firstYear = years->itemText(0);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        windows.openShifts();
        QCOMPARE(shownMonth, month);
        QCOMPARE(shownYear, year);
        QCOMPARE(firstYear, qMin(year, u"2007"_s));
        QVERIFY(!windows.shifts().isVisible());
        QVERIFY(!m_db.data().hoursSheet(1).isOpen());
    }

    void rebuildFromTheWindow()
    {
        const int worker = m_db.addWorker(u"Орлов О.О."_s);
        m_db.addJournalRow(worker, m_operation, QDate(2025, 3, 5), 2, 6);
        ShiftSheetWindow window(m_db.data());
        window.choose(2, 2025);
        QCOMPARE(window.grid(2)->model()->rowCount(), 0);
        test::button(&window, u"Button1"_s)->click();
        QCOMPARE(window.grid(2)->model()->rowCount(), 1);
        QCOMPARE(window.grid(2)->model()->index(0, 5).data().toString(), u"6"_s);
        QVERIFY(test::child<QProgressBar>(&window, u"PB"_s)->isHidden());
        QVERIFY(m_messages.shown.isEmpty());

        // A refused rebuild shows the server's message; the rows stay shown.
        m_db.exec(u"create function pg_temp.refuse() returns trigger language plpgsql as "
                  "'begin raise exception ''табель занят''; end'"_s);
        m_db.exec(u"create trigger refuse before insert on accounts_dep.h_tabel "
                  "for each row execute function pg_temp.refuse()"_s);
        test::button(&window, u"Button1"_s)->click();
        m_db.exec(u"drop trigger refuse on accounts_dep.h_tabel"_s);
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(m_messages.lastText().contains(u"табель занят"_s), qPrintable(m_messages.lastText()));
        QCOMPARE(window.grid(2)->model()->rowCount(), 1);
        QCOMPARE(window.grid(2)->model()->index(0, 5).data().toString(), u"6"_s);
    }

    // The printed timesheet: every row of the worker's month summed by day,
    // whatever the shift or kind; namesakes keep their own lines.
    void printedTimesheet()
    {
        const int ivanov = m_db.addWorker(u"Иванов И.И."_s);
        const int namesake = m_db.addWorker(u"Иванов И.И."_s);
        const int orlov = m_db.addWorker(u"Орлов О.О."_s);
        auto row = [&](int worker, int shift, int kind, int d1, int d2) {
            m_db.exec(u"insert into accounts_dep.h_tabel(w_id, smena, i_type, month, year, d1, d2) "
                      "values (:w, :s, :k, 4, 2025, :a, :b)"_s,
                      {{u"w"_s, worker}, {u"s"_s, shift}, {u"k"_s, kind}, {u"a"_s, d1}, {u"b"_s, d2}});
        };
        row(ivanov, 1, 0, 8, 4);
        row(ivanov, 4, 0, 2, 0);
        row(ivanov, 0, 7777, 1, 0);
        row(namesake, 2, 0, 3, 3);
        m_db.exec(
            u"insert into accounts_dep.h_tabel(w_id, smena, month, year, d30) values (:w, 3, 4, 2025, 12)"_s,
            {{u"w"_s, orlov}});
        row(orlov, 1, 0, 5, 5);
        m_db.exec(u"update accounts_dep.h_tabel set month=5 where w_id=:w and smena=1"_s, {{u"w"_s, orlov}});

        ShiftSheetWindow window(m_db.data());
        window.choose(3, 2025);
        report::Report shown;
        window.setPreviewer([&](const report::Report &r, QWidget *) { shown = r; });
        test::button(&window, u"Button6"_s)->click();

        QCOMPARE(shown.pageHeader, u"Апрель 2025 г."_s);
        QCOMPARE(shown.orientation, QPageLayout::Landscape);
        QCOMPARE(shown.columns.size(), 33);
        QCOMPARE(shown.columns.at(1).caption, u"1"_s);
        QCOMPARE(shown.columns.at(31).caption, u"31"_s);
        QCOMPARE(shown.columns.at(32).caption, u"Итого"_s);
        QStringList lines;
        for (const report::Line &line : shown.lines) {
            QCOMPARE(line.cells.size(), 33);
            QStringList filled{line.cells.at(0)};
            for (int day = 1; day <= 31; ++day)
                if (!line.cells.at(day).isEmpty())
                    filled << u"%1:%2"_s.arg(day).arg(line.cells.at(day));
            lines << filled.join(u' ') + u" = "_s + line.cells.at(32);
        }
        QCOMPARE(lines, (QStringList{u"Иванов И.И. 1:11 2:4 = 15"_s, u"Иванов И.И. 1:3 2:3 = 6"_s,
                                     u"Орлов О.О. 30:12 = 12"_s}));
    }

    void exportOfAMonth()
    {
        const int ivanov = m_db.addWorker(u"О'Нил И.И."_s);
        m_db.exec(
            u"insert into accounts_dep.h_tabel(w_id, smena, month, year, d1, d31) values (:w, 1, 1, 2025, 8, 3)"_s,
            {{u"w"_s, ivanov}});
        QJsonArray cells = exportMonth(0, 2025, u"Excel (1 из 1)"_s);
        QStringList texts;
        for (const auto &c : cells) {
            const QJsonObject cell = c.toObject();
            texts << u"%1,%2 %3 %4%5"_s.arg(cell[u"row"_s].toInt())
                         .arg(cell[u"column"_s].toInt())
                         .arg(cell[u"value"_s].toVariant().toString(), cell[u"type"_s].toString(),
                              cell[u"bold"_s].toBool() ? u" bold"_s : QString());
        }
        QVERIFY(texts.contains(u"1,1 Январь 2025 string bold"_s));
        QVERIFY(texts.contains(u"2,1 Фамилия И.О. string bold"_s));
        QVERIFY(texts.contains(u"2,2 1 number bold"_s));
        QVERIFY(texts.contains(u"2,33 Итого string bold"_s));
        QVERIFY(texts.contains(u"3,1 О'Нил И.И. string"_s));
        QVERIFY(texts.contains(u"3,2 8 number"_s));
        QVERIFY(texts.contains(u"3,32 3 number"_s));
        QVERIFY(texts.contains(u"3,33 11 number"_s));
        QCOMPARE(texts.filter(QRegularExpression(u"^3,"_s)).size(), 4); // empty days write nothing
    }

    void exportOfAnEmptyMonth()
    {
        const QJsonArray cells = exportMonth(1, 2025, u"Excel (0 из 0)"_s);
        for (const auto &c : cells)
            QVERIFY(c.toObject()[u"row"_s].toInt() <= 2);
        QCOMPARE(cells.size(), 34);
    }

private:
    QJsonArray exportMonth(int monthIndex, int year, const QString &caption)
    {
        QTemporaryDir folder;
        ShiftSheetWindow window(m_db.data());
        window.setExportFolder(folder.path());
        window.choose(monthIndex, year);
        window.show();
        QPushButton *excel = test::button(&window, u"Button2"_s);
        excel->click();
        [&] { QCOMPARE(excel->text(), caption); }();
        window.hide();
        window.show(); // the next activation
        [&] { QCOMPARE(excel->text(), u"Excel"_s); }();
        [&] { QCOMPARE(m_opener.opened.size(), 1); }();
        if (m_opener.opened.isEmpty())
            return {};
        QProcess reader;
        reader.start(QString::fromUtf8(KORDEL_PYTHON),
                     {QString::fromUtf8(KORDEL_READXLSX), m_opener.opened.first()});
        reader.waitForFinished(30000);
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).object()[u"cells"_s].toArray();
    }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    RecordingOpener m_opener;
    int m_operation = 0;
};

QTEST_MAIN(ShiftSheetWindowTest)
#include "tst_shiftsheetwindow.moc"
