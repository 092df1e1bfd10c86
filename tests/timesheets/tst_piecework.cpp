// The piecework timesheet window: its four sheets and totals over a small
// month, the rebuild of the month's household rows against the day-by-day
// algorithm, its refusals, and the workbook of each mode.

#include "core/datamodule.h"
#include "correlatedsheets.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "stepwiserebuild.h"
#include "testdatabase.h"
#include "timesheets/monthchoosers.h"
#include "timesheets/pieceworkwindow.h"
#include "widgets/datagrid.h"
#include "widgets/excelwriter.h"

#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

class NoOpener : public FileOpener
{
public:
    bool open(const QString &) override { return true; }
};

const QDate april(2025, 4, 1); // 30 days

} // namespace

class PieceworkTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void sessionRunsWithoutJit();
    void rebuildLeavesTheRowsOfTheStepwiseAlgorithm();
    void rebuildTwiceGivesTheSameRows();
    void rebuildRefusesRecordWithoutGroupOrNight_data();
    void rebuildRefusesRecordWithoutGroupOrNight();
    void rebuildWithoutYearIsRefused();
    void sheetsEqualTheCorrelatedStatements_data();
    void sheetsEqualTheCorrelatedStatements();
    void pieceworkSheet();
    void householdSheetsByNight_data();
    void householdSheetsByNight();
    void generalSheet();
    void totals_data();
    void totals();
    void modeColumnsAndClosing_data();
    void modeColumnsAndClosing();
    void workbookPerMode_data();
    void workbookPerMode();

private:
    void fixture();
    void addHousehold(int worker, int kind, int night, int group, int day, int hours, const QString &price);
    QStringList hoursRows() const;
    QJsonObject readWorkbook(const QString &path) const;
    QString latestWorkbook() const;
    QString label(const QString &name) const;

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    NoOpener m_opener;
    QTemporaryDir m_folder;
    std::unique_ptr<PieceworkWindow> m_window;

    int m_operation = 0;
    int m_groupA = 0;
    int m_groupB = 0;
    int m_ivanov = 0;  // two shifts, household work day and night
    int m_petrov = 0;  // one shift, average piecework in two groups
    int m_sidorov = 0; // night household work only, journal without shift row
    int m_orlov = 0;   // a shift row without journal hours
};

void PieceworkTest::initTestCase()
{
    QVERIFY2(m_db.create(), qPrintable(m_db.error()));
    QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    QVERIFY(m_folder.isValid());
    ExcelWriter::setFileOpener(&m_opener);
    m_groupA = m_db.addGroup(u"Корпуса"_s);
    m_groupB = m_db.addGroup(u"Двери"_s);
    const int product = m_db.addProduct(u"КР-1"_s, m_groupA);
    m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), product);
    m_ivanov = m_db.addWorker(u"Иванов И.И."_s);
    m_petrov = m_db.addWorker(u"Петров П.П."_s);
    m_sidorov = m_db.addWorker(u"Сидоров С.С."_s);
    m_orlov = m_db.addWorker(u"О'Нил О.О."_s);
    m_window = std::make_unique<PieceworkWindow>(m_db.data());
    m_window->setExportFolder(m_folder.path());
}

void PieceworkTest::cleanupTestCase()
{
    m_window.reset();
    ExcelWriter::setFileOpener(nullptr);
}

void PieceworkTest::init()
{
    m_messages.clear();
    m_db.exec(u"delete from accounts_dep.h_tabel"_s);
    m_db.exec(u"delete from accounts_dep.smena"_s);
    m_db.exec(u"delete from accounts_dep.fatigue"_s);
    fixture();
}

void PieceworkTest::addHousehold(int worker, int kind, int night, int group, int day, int hours,
                                 const QString &price)
{
    const QDate date = april.addDays(day - 1);
    m_db.exec(
        u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, cnt, price, i_night) "
        "values (:p, :o, :g, :d, :m, :y, :c, :pr::numeric, :n)"_s,
        {{u"p"_s, worker},
         {u"o"_s, kind},
         {u"g"_s, group},
         {u"d"_s, date},
         {u"m"_s, date.month()},
         {u"y"_s, date.year()},
         {u"c"_s, hours},
         {u"pr"_s, price},
         {u"n"_s, night}});
}

// April 2025.  Journal rows earn (12 − 2) × 10 = 100.00 each.  The hours
// timesheet is damaged on purpose: stale cells, a household row of a key
// without records, a cell past the month's end.
void PieceworkTest::fixture()
{
    m_db.addJournalRow(m_ivanov, m_operation, april.addDays(2), 1, 8);
    m_db.addJournalRow(m_ivanov, m_operation, april.addDays(2), 1, 3); // same day, same shift: 11
    m_db.addJournalRow(m_ivanov, m_operation, april.addDays(3), 2, 4);
    m_db.addJournalRow(m_petrov, m_operation, april.addDays(2), 1, 7);
    m_db.addJournalRow(m_sidorov, m_operation, april.addDays(5), 3, 6);  // no shift row: none is made
    m_db.addJournalRow(m_ivanov, m_operation, QDate(2025, 3, 31), 1, 9); // another month

    addHousehold(m_ivanov, 7777, 0, m_groupA, 3, 4, u"150"_s);
    addHousehold(m_ivanov, 7777, 0, m_groupA, 3, 2, u"150"_s); // one key, one day: 6
    addHousehold(m_ivanov, 7777, 0, m_groupA, 10, 5, u"150"_s);
    addHousehold(m_ivanov, 7782, 1, m_groupA, 11, 8, u"180.5"_s);
    addHousehold(m_petrov, 7778, 0, m_groupB, 3, 3, u"200"_s);
    addHousehold(m_petrov, 7778, 0, m_groupA, 4, 5, u"210"_s);
    addHousehold(m_sidorov, 7783, 1, m_groupB, 12, 6, u"120"_s);
    addHousehold(m_sidorov, 7783, 1, m_groupB, 13, 6, u"120"_s);

    const QString insertRow =
        u"insert into accounts_dep.h_tabel(w_id, month, year, smena, i_type, i_night, id_nom, "
        "d3, d4, d7, d31) values (:w, :m, 2025, :s, :t, :n, :g, :d3, :d4, :d7, :d31)"_s;
    auto row = [&](int worker, int month, int shift, int type, int night, int group, QVariant d3, QVariant d4,
                   QVariant d7, QVariant d31) {
        m_db.exec(insertRow, {{u"w"_s, worker},
                              {u"m"_s, month},
                              {u"s"_s, shift},
                              {u"t"_s, type},
                              {u"n"_s, night},
                              {u"g"_s, group},
                              {u"d3"_s, d3},
                              {u"d4"_s, d4},
                              {u"d7"_s, d7},
                              {u"d31"_s, d31}});
    };
    const QVariant none = sql::nullInt();
    row(m_ivanov, 4, 1, 0, 0, 0, 99, none, 8, 5); // stale d3 and d7; d31 past the end stays
    row(m_ivanov, 4, 2, 0, 0, 0, none, none, none, none);
    row(m_petrov, 4, 1, 0, 0, 0, 7, none, none, none);
    row(m_orlov, 4, 3, 0, 0, 0, none, 8, none, none);           // no journal hours at all
    row(m_ivanov, 4, 0, 7777, 0, m_groupA, 1, 1, 1, none);      // damaged household row
    row(m_orlov, 4, 0, 7777, 0, m_groupB, 4, none, none, none); // key without records
    row(m_ivanov, 3, 1, 0, 0, 0, none, none, 9, none);          // another month stays
    row(m_ivanov, 3, 0, 7777, 0, m_groupA, 3, none, none, none);
}

QStringList PieceworkTest::hoursRows() const
{
    QStringList cells;
    for (int day = 1; day <= 31; ++day)
        cells << u"coalesce(d%1::text, '-')"_s.arg(day);
    const QVariant rows = m_db.scalar(u"select string_agg(r, E'\\n' order by r) from (select concat_ws(' ', "
                                      u"w_id, month, year, smena, i_type, "
                                      "i_night, id_nom, "_s +
                                      cells.join(u", "_s) + u") as r from accounts_dep.h_tabel) x"_s);
    return rows.toString().split(u'\n');
}

QString PieceworkTest::label(const QString &name) const
{
    return m_window->findChild<QLabel *>(name)->text();
}

QJsonObject PieceworkTest::readWorkbook(const QString &path) const
{
    QProcess reader;
    reader.start(QStringLiteral(KORDEL_PYTHON), {QStringLiteral(KORDEL_READXLSX), path});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        qWarning("%s", reader.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QString PieceworkTest::latestWorkbook() const
{
    const QFileInfoList files = QDir(m_folder.path()).entryInfoList({u"*.xlsx"_s}, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.first().absoluteFilePath();
}

// Compiling the month statements would cost the server more than running
// them; the client's session, also after a reconnect, has JIT off.
void PieceworkTest::sessionRunsWithoutJit()
{
    QCOMPARE(m_db.scalar(u"show jit"_s).toString(), u"off"_s);
    QVERIFY(m_db.data().reconnect());
    QCOMPARE(m_db.scalar(u"show jit"_s).toString(), u"off"_s);
}

void PieceworkTest::rebuildLeavesTheRowsOfTheStepwiseAlgorithm()
{
    stepwise::rebuildMonth(m_db.data().connectionName(), 4, 2025);
    const QStringList expected = hoursRows();
    init();
    const auto outcome = m_window->store().rebuild(MonthPeriod::of(3, 2025));
    QVERIFY2(outcome.done, qPrintable(outcome.refusal));
    QCOMPARE(hoursRows(), expected);

    // What those rows are, spelled out for a few keys.
    auto cells = [&](const QString &where) {
        return m_db
            .scalar(u"select concat_ws(',', d3, d4, d7, d10, d11, d12, d13, d31) from accounts_dep.h_tabel "
                    "where month=4 and "_s +
                        where,
                    {{u"w"_s, m_ivanov}, {u"p"_s, m_petrov}, {u"s"_s, m_sidorov}, {u"o"_s, m_orlov}})
            .toString();
    };
    QCOMPARE(cells(u"w_id=:w and smena=1"_s), u"11,5"_s); // d3 journal, stale d7 gone, d31 kept
    QCOMPARE(cells(u"w_id=:w and smena=2"_s), u"4"_s);
    QCOMPARE(cells(u"w_id=:o and smena=3"_s), QString());    // no journal: every day empty
    QCOMPARE(cells(u"w_id=:w and i_type=7777"_s), u"6,5"_s); // two records of one day add up
    QCOMPARE(cells(u"w_id=:w and i_type=7782 and i_night=1"_s), u"8"_s);
    QCOMPARE(cells(u"w_id=:s and i_type=7783 and i_night=1"_s), u"6,6"_s);
    QCOMPARE(
        m_db.count(u"accounts_dep.h_tabel where month=4 and w_id=:p and i_type=7778"_s, {{u"p"_s, m_petrov}}),
        2); // one row per group
    QCOMPARE(m_db.count(u"accounts_dep.h_tabel where month=4 and w_id=:o and smena=0"_s, {{u"o"_s, m_orlov}}),
             0);
    QCOMPARE(
        m_db.count(u"accounts_dep.h_tabel where month=4 and w_id=:s and smena<>0"_s, {{u"s"_s, m_sidorov}}),
        0);
    QCOMPARE(m_db.count(u"accounts_dep.h_tabel where month=3"_s), 2);
}

void PieceworkTest::rebuildTwiceGivesTheSameRows()
{
    const MonthPeriod month = MonthPeriod::of(3, 2025);
    QVERIFY(m_window->store().rebuild(month).done);
    const QStringList once = hoursRows();
    QVERIFY(m_window->store().rebuild(month).done);
    QCOMPARE(hoursRows(), once);
}

void PieceworkTest::rebuildRefusesRecordWithoutGroupOrNight_data()
{
    QTest::addColumn<QString>("column");
    QTest::newRow("no group") << u"id_nom"_s;
    QTest::newRow("no night flag") << u"i_night"_s;
}

void PieceworkTest::rebuildRefusesRecordWithoutGroupOrNight()
{
    QFETCH(QString, column);
    m_db.exec(u"update accounts_dep.fatigue set "_s + column +
                  u" = null where id_p=:s and d_date='2025-04-13'"_s,
              {{u"s"_s, m_sidorov}});
    const QStringList before = hoursRows();
    m_window->prepare(PieceworkMode::Household, april);
    m_window->rebuild();
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
    QVERIFY2(m_messages.lastText().contains(u"Сидоров С.С."_s), qPrintable(m_messages.lastText()));
    QVERIFY2(m_messages.lastText().contains(u"13.04.2025"_s), qPrintable(m_messages.lastText()));
    QCOMPARE(hoursRows(), before);
    QVERIFY(m_window->currentSheet().isOpen()); // the sheet is shown again
    m_window->finish();
}

void PieceworkTest::rebuildWithoutYearIsRefused()
{
    const QStringList before = hoursRows();
    m_window->prepare(PieceworkMode::Piecework, april);
    m_window->findChild<YearLookup *>(u"cb_year"_s)->setYear(0);
    m_window->rebuild();
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(m_messages.lastText().contains(u"год"_s));
    QCOMPARE(hoursRows(), before);
    m_window->finish();
}

void PieceworkTest::sheetsEqualTheCorrelatedStatements_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("9") << 9;
    QTest::newRow("17") << 17;
    QTest::newRow("14") << 14;
    QTest::newRow("15") << 15;
}

// The sheets sum each month once and join; the same statements written with
// a subquery per figure return the same rows.
void PieceworkTest::sheetsEqualTheCorrelatedStatements()
{
    QFETCH(int, mode);
    // Night work of no hours, and a shift row without journal records.
    addHousehold(m_petrov, 7778, 1, m_groupA, 20, 0, u"99"_s);
    QVERIFY(m_window->store().rebuild(MonthPeriod::of(3, 2025)).done);
    m_db.exec(u"insert into accounts_dep.h_tabel(w_id, month, year, smena, d9) values (:w, 4, 2025, 2, 3)"_s,
              {{u"w"_s, m_sidorov}});
    const PieceworkStore &store = m_window->store();
    store.openSheet(PieceworkMode(mode), MonthPeriod::of(3, 2025));
    const Dataset &sheet = store.sheet(PieceworkMode(mode));
    Dataset reference(m_db.data().connectionName(), u"reference"_s,
                      correlated::pieceworkSheet(PieceworkMode(mode)));
    for (auto it = sheet.params().cbegin(); it != sheet.params().cend(); ++it)
        reference.setParam(it.key(), it.value());
    reference.open();
    auto rows = [](const Dataset &data, const QStringList &fields) {
        QStringList lines;
        for (int row = 0; row < data.recordCount(); ++row) {
            QStringList cells;
            for (const QString &field : fields)
                cells << data.valueAt(row, field).toString();
            lines << cells.join(u'|');
        }
        lines.sort();
        return lines;
    };
    QVERIFY(reference.recordCount() > 0);
    QCOMPARE(rows(sheet, reference.fieldNames()), rows(reference, reference.fieldNames()));
    QCOMPARE(sheet.fieldNames().size(), reference.fieldNames().size());
}

void PieceworkTest::pieceworkSheet()
{
    QVERIFY(m_window->store().rebuild(MonthPeriod::of(3, 2025)).done);
    m_window->prepare(PieceworkMode::Piecework, april);
    const Dataset &sheet = m_window->currentSheet();
    QCOMPARE(sheet.recordCount(), 3); // workers with shift rows, by name
    QCOMPARE(sheet.valueAt(0, u"fio"_s).toString(), u"Иванов И.И."_s);
    QCOMPARE(sheet.valueAt(1, u"fio"_s).toString(), u"О'Нил О.О."_s);
    QCOMPARE(sheet.valueAt(2, u"fio"_s).toString(), u"Петров П.П."_s);
    // Ivanov: 11 + 4 hours in two shifts, three rows of 100.00.
    QCOMPARE(sheet.valueAt(0, u"d3"_s).toInt(), 11);
    QCOMPARE(sheet.valueAt(0, u"d4"_s).toInt(), 4);
    QCOMPARE(sheet.valueAt(0, u"i_time"_s).toInt(), 15);
    QCOMPARE(Decimal::fromVariant(sheet.valueAt(0, u"f_price"_s)).toString(2), u"300.00"_s);
    QCOMPARE(Decimal::fromVariant(sheet.valueAt(0, u"average_price"_s)).toString(2), u"20.00"_s);
    // No journal hours: rate 0.
    QVERIFY(sheet.valueAt(1, u"i_time"_s).isNull());
    QCOMPARE(Decimal::fromVariant(sheet.valueAt(1, u"average_price"_s)).toString(2), u"0.00"_s);
    QCOMPARE(Decimal::fromVariant(sheet.valueAt(2, u"average_price"_s)).toString(2), u"14.29"_s); // 100 / 7
    m_window->finish();
}

void PieceworkTest::householdSheetsByNight_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("rows");
    // fio, s_night, i_time, f_price, average_price
    QTest::newRow("household works") << int(PieceworkMode::Household)
                                     << QStringList{u"Иванов И.И. дн. 11 1650.00 150.00"_s,
                                                    u"Иванов И.И. ноч. 8 1444.00 180.50"_s,
                                                    u"Сидоров С.С. ноч. 12 1440.00 120.00"_s};
    QTest::newRow("average piecework")
        << int(PieceworkMode::Average) << QStringList{u"Петров П.П. дн. 8 1650.00 206.25"_s};
}

void PieceworkTest::householdSheetsByNight()
{
    QFETCH(int, mode);
    QFETCH(QStringList, rows);
    QVERIFY(m_window->store().rebuild(MonthPeriod::of(3, 2025)).done);
    m_window->prepare(PieceworkMode(mode), april);
    const Dataset &sheet = m_window->currentSheet();
    QStringList seen;
    for (int row = 0; row < sheet.recordCount(); ++row) {
        QStringList fields{sheet.valueAt(row, u"fio"_s).toString(),
                           sheet.valueAt(row, u"s_night"_s).toString(),
                           sheet.valueAt(row, u"i_time"_s).toString()};
        for (const QString &money : {u"f_price"_s, u"average_price"_s})
            fields << Decimal::fromVariant(sheet.valueAt(row, money)).toString(2);
        seen << fields.join(u' ');
    }
    // A worker's day and night rows come in the server's order.
    seen.sort();
    QCOMPARE(seen, rows);
    m_window->finish();
}

void PieceworkTest::generalSheet()
{
    QVERIFY(m_window->store().rebuild(MonthPeriod::of(3, 2025)).done);
    m_window->prepare(PieceworkMode::General, april);
    Dataset &sheet = m_window->currentSheet();
    QVERIFY(sheet.locate(u"fio"_s, u"Иванов И.И."_s));
    // Journal 15 h and 300.00; household 19 h and 3094.00; the days add up
    // every row of the worker.
    QCOMPARE(sheet.intValue(u"i_time"_s), 34);
    QCOMPARE(sheet.decimal(u"f_price"_s).toString(2), u"3394.00"_s);
    QCOMPARE(sheet.intValue(u"d3"_s), 17);
    QVERIFY(sheet.locate(u"fio"_s, u"Сидоров С.С."_s));
    QCOMPARE(sheet.intValue(u"i_time"_s), 18); // 6 journal hours without a shift row count too
    QCOMPARE(sheet.decimal(u"f_price"_s).toString(2), u"1540.00"_s);
    m_window->finish();
}

void PieceworkTest::totals_data()
{
    QTest::addColumn<QString>("remove");
    QTest::addColumn<QStringList>("expected"); // price8, price7, price, all_price
    QTest::newRow("both parts") << QString()
                                << QStringList{u"1650.00"_s, u"4534.00"_s, u"500.00"_s, u"6684.00"_s};
    QTest::newRow("no household records")
        << u"accounts_dep.fatigue"_s << QStringList{QString(), QString(), u"500.00"_s, u"500.00"_s};
    QTest::newRow("no journal") << u"accounts_dep.smena"_s
                                << QStringList{u"1650.00"_s, u"4534.00"_s, QString(), u"6184.00"_s};
}

void PieceworkTest::totals()
{
    QFETCH(QString, remove);
    QFETCH(QStringList, expected);
    if (!remove.isEmpty())
        m_db.exec(u"delete from "_s + remove);
    // Rows without earnings are left out of the totals.
    m_db.exec(u"insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, cnt, price, i_night) "
              "values (:p, 7777, :g, '2025-04-20', 0, 500, 0)"_s,
              {{u"p"_s, m_orlov}, {u"g"_s, m_groupA}});
    m_window->prepare(PieceworkMode::Piecework, april);
    QCOMPARE((QStringList{label(u"price8"_s), label(u"price7"_s), label(u"price"_s), label(u"all_price"_s)}),
             expected);
    // A month change reloads them.
    m_window->findChild<QComboBox *>(u"ComboBox1"_s)->setCurrentIndex(1);
    QCOMPARE(label(u"all_price"_s), u"0.00"_s);
    QCOMPARE(label(u"price"_s), QString());
    m_window->finish();
}

void PieceworkTest::modeColumnsAndClosing_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("nightShown");
    QTest::addColumn<bool>("rateShown");
    QTest::newRow("9") << 9 << u"Табель сделка (27)"_s << false << true;
    QTest::newRow("17") << 17 << u"Общий табель (27)"_s << false << false;
    QTest::newRow("14") << 14 << u"Табель хоз. работы (27)"_s << true << true;
    QTest::newRow("15") << 15 << u"Табель ср. сдельная (27)"_s << true << true;
}

void PieceworkTest::modeColumnsAndClosing()
{
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(bool, nightShown);
    QFETCH(bool, rateShown);
    QVERIFY(m_window->store().rebuild(MonthPeriod::of(3, 2025)).done);
    m_window->prepare(PieceworkMode(mode), april);
    DataGrid *grid = m_window->grid();
    QCOMPARE(m_window->windowTitle(), caption);
    QCOMPARE(grid->objectName(), u"DBGrid"_s);
    QCOMPARE(grid->isColumnHidden(1), !nightShown);
    QCOMPARE(grid->isColumnHidden(35), !rateShown);
    QCOMPARE(grid->model()->headerData(33, Qt::Horizontal).toString(), u"Итого (р.)"_s);
    QCOMPARE(grid->model()->headerData(34, Qt::Horizontal).toString(), u"Итого (ч.)"_s);
    QVERIFY(grid->isColumnHidden(32));  // day 31 of April
    QVERIFY(!grid->isColumnHidden(31)); // day 30
    QCOMPARE(grid->model()->index(0, 6).data(Qt::ForegroundRole).value<QColor>(),
             QColor(Qt::red)); // Saturday the 5th
    QCOMPARE(m_window->findChild<YearLookup *>(u"cb_year"_s)->currentText(), u"2025"_s);
    QCOMPARE(m_window->findChild<QComboBox *>(u"ComboBox1"_s)->currentText(), u"Апрель"_s);

    // Escape closes the window; the grid is put back for the next command.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTRY_VERIFY(!m_window->isVisible());
    m_window->finish();
    QVERIFY(!grid->isColumnHidden(1));
    QVERIFY(!grid->isColumnHidden(35));
    QVERIFY(!m_window->currentSheet().isOpen());
}

void PieceworkTest::workbookPerMode_data()
{
    modeColumnsAndClosing_data();
}

void PieceworkTest::workbookPerMode()
{
    QFETCH(int, mode);
    QFETCH(bool, nightShown);
    QFETCH(bool, rateShown);
    QVERIFY(m_window->store().rebuild(MonthPeriod::of(3, 2025)).done);
    m_window->prepare(PieceworkMode(mode), april);
    const Dataset &sheet = m_window->currentSheet();
    const int rows = sheet.recordCount();
    QDir(m_folder.path()).removeRecursively();
    QDir().mkpath(m_folder.path());
    m_window->exportToExcel();
    QCOMPARE(m_window->findChild<QPushButton *>(u"Button2"_s)->text(), u"Excel (%1 из %1)"_s.arg(rows));
    const QJsonObject book = readWorkbook(latestWorkbook());
    QHash<QPair<int, int>, QJsonObject> cells;
    for (const QJsonValue cell : book.value(u"cells"_s).toArray())
        cells.insert({cell[u"row"_s].toInt(), cell[u"column"_s].toInt()}, cell.toObject());
    auto value = [&](int row, int column) {
        return cells.value({row, column}).value(u"value"_s).toVariant();
    };

    QCOMPARE(value(1, 1).toString(), u"Апрель 2025"_s);
    QVERIFY(cells.value({1, 1}).value(u"bold"_s).toBool());
    QCOMPARE(value(2, 1).toString(), u"Фамилия И.О."_s);
    QCOMPARE(value(2, 3).toInt(), 1);
    QCOMPARE(value(2, 33).toInt(), 31);
    QCOMPARE(value(2, 34).toString(), u"Итого (ч.)"_s);
    QCOMPARE(value(2, 35).toString(), u"Итого (р.)"_s);
    QCOMPARE(value(2, 36).toString(), rateShown ? u"Час (р.)"_s : QString());
    for (int row = 0; row < rows; ++row) {
        const int line = 3 + row;
        QCOMPARE(value(line, 1).toString(), sheet.valueAt(row, u"fio"_s).toString());
        QCOMPARE(value(line, 2).toString(),
                 nightShown ? sheet.valueAt(row, u"s_night"_s).toString() : QString());
        const QVariant earnings = sheet.valueAt(row, u"f_price"_s);
        if (earnings.isNull()) {
            QVERIFY(!cells.contains({line, 35})); // an empty value writes nothing
        } else {
            QCOMPARE(cells.value({line, 35}).value(u"type"_s).toString(), u"number"_s);
            QCOMPARE(Decimal::fromVariant(value(line, 35)).toString(2),
                     Decimal::fromVariant(earnings).toString(2));
        }
        const QVariant day3 = sheet.valueAt(row, u"d3"_s);
        QCOMPARE(value(line, 2 + 3).toString(), day3.isNull() ? QString() : day3.toString());
        QVERIFY(!cells.value({line, 1}).value(u"bold"_s).toBool());
    }
    QVERIFY(!cells.contains({3 + rows, 1}));
    m_window->finish();
}

QTEST_MAIN(PieceworkTest)
#include "tst_piecework.moc"
