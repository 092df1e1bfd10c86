// The timesheets by nomenclature group (Form31) and the general payroll
// (Form30): rows, group footers and the workbooks with their group rows,
// "ИТОГО:" rows and final totals.

#include "core/datamodule.h"
#include "correlatedsheets.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "timesheets/groupsheetwindow.h"
#include "timesheets/monthsheets.h"
#include "timesheets/pieceworkstore.h"
#include "timesheets/pieceworkwindow.h"
#include "widgets/excelwriter.h"
#include "widgets/groupedgrid.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
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

const QDate may(2025, 5, 1);

} // namespace

class GroupSheetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void rowsByGroupThenName();
    void sheetsEqualTheCorrelatedStatements_data();
    void sheetsEqualTheCorrelatedStatements();
    void gridFootersSumTheGroupsEarnings();
    void groupWorkbook();
    void emptyMonthWorkbooks_data();
    void emptyMonthWorkbooks();
    void payrollWithoutRegionalCoefficient_data();
    void payrollWithoutRegionalCoefficient();
    void payrollKeepsEveryLineAndEveryWorker();
    void payrollDecemberEndsBeforeJanuary();
    void payrollWorkbook();
    void menuCommandsOpenTheirWindows_data();
    void menuCommandsOpenTheirWindows();

private:
    void addHousehold(int worker, int kind, int night, int group, const QDate &date, int hours,
                      const QString &price);
    // Each cell of the first sheet by (row, column): its value as text.
    QMap<QPair<int, int>, QString> exported(const std::function<void()> &exportNow);
    QStringList payrollRows();

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    NoOpener m_opener;
    QTemporaryDir m_folder;
    std::unique_ptr<GroupSheetWindow> m_groups;
    std::unique_ptr<PayrollWindow> m_payroll;

    int m_doors = 0;  // "Двери"
    int m_bodies = 0; // "Корпуса"
    int m_operation = 0;
    int m_ivanov = 0;
    int m_petrov = 0;
    int m_orlov = 0; // earnings in a group without an hours row there
};

void GroupSheetsTest::initTestCase()
{
    QVERIFY2(m_db.create(), qPrintable(m_db.error()));
    QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    QVERIFY(m_folder.isValid());
    ExcelWriter::setFileOpener(&m_opener);
    m_doors = m_db.addGroup(u"Двери"_s);
    m_bodies = m_db.addGroup(u"Корпуса"_s);
    m_operation = m_db.addOperation(m_db.addKind(u"Сборка"_s), m_db.addProduct(u"Д-1"_s, m_doors));
    m_ivanov = m_db.addWorker(u"Иванов И.И."_s);
    m_petrov = m_db.addWorker(u"Петров П.П."_s);
    m_orlov = m_db.addWorker(u"Орлов О.О."_s);
    m_groups = std::make_unique<GroupSheetWindow>(m_db.data());
    m_groups->setExportFolder(m_folder.path());
    m_payroll = std::make_unique<PayrollWindow>(m_db.data());
    m_payroll->setExportFolder(m_folder.path());
}

void GroupSheetsTest::cleanupTestCase()
{
    m_groups.reset();
    m_payroll.reset();
    ExcelWriter::setFileOpener(nullptr);
}

void GroupSheetsTest::addHousehold(int worker, int kind, int night, int group, const QDate &date, int hours,
                                   const QString &price)
{
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

// May 2025, average piecework: Ivanov day and night in "Двери" and by day in
// "Корпуса", Petrov in "Двери", Orlov in "Корпуса" without an hours row;
// household works of Petrov at night.
void GroupSheetsTest::init()
{
    m_messages.clear();
    m_db.exec(u"delete from accounts_dep.h_tabel"_s);
    m_db.exec(u"delete from accounts_dep.smena"_s);
    m_db.exec(u"delete from accounts_dep.fatigue"_s);
    addHousehold(m_ivanov, 7778, 0, m_doors, may.addDays(1), 4, u"100"_s);  // 400
    addHousehold(m_ivanov, 7778, 1, m_doors, may.addDays(2), 2, u"130"_s);  // 260
    addHousehold(m_ivanov, 7778, 0, m_bodies, may.addDays(3), 4, u"110"_s); // 440
    addHousehold(m_petrov, 7778, 0, m_doors, may.addDays(1), 3, u"90.5"_s); // 271.50
    addHousehold(m_orlov, 7778, 0, m_bodies, may.addDays(4), 5, u"80"_s);   // 400
    addHousehold(m_petrov, 7777, 1, m_bodies, may.addDays(5), 6, u"150"_s); // 900
    PieceworkStore rows(m_db.data());
    QVERIFY(rows.rebuild(MonthPeriod::containing(may)).done);
    m_db.exec(u"delete from accounts_dep.h_tabel where w_id=:o"_s, {{u"o"_s, m_orlov}});
}

QMap<QPair<int, int>, QString> GroupSheetsTest::exported(const std::function<void()> &exportNow)
{
    QDir(m_folder.path()).removeRecursively();
    QDir().mkpath(m_folder.path());
    exportNow();
    const QFileInfoList files = QDir(m_folder.path()).entryInfoList({u"*.xlsx"_s}, QDir::Files);
    if (files.size() != 1)
        return {};
    QProcess reader;
    reader.start(QStringLiteral(KORDEL_PYTHON),
                 {QStringLiteral(KORDEL_READXLSX), files.first().absoluteFilePath()});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0)
        return {};
    QMap<QPair<int, int>, QString> cells;
    const QJsonObject book = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    for (const QJsonValue cell : book.value(u"cells"_s).toArray()) {
        const QJsonValue value = cell[u"value"_s];
        QString text = value.isDouble() ? QString::number(value.toDouble(), 'f', 2) : value.toString();
        if (cell[u"bold"_s].toBool())
            text += u" *"_s;
        cells.insert({cell[u"row"_s].toInt(), cell[u"column"_s].toInt()}, text);
    }
    return cells;
}

void GroupSheetsTest::rowsByGroupThenName()
{
    m_groups->prepare(7778, may);
    QCOMPARE(m_groups->windowTitle(), u"Табель по ном. гр. ср. сдельная (31)"_s);
    Dataset &sheet = m_groups->currentSheet();
    QStringList rows;
    for (int row = 0; row < sheet.recordCount(); ++row)
        rows << QStringList{sheet.valueAt(row, u"s_nom"_s).toString(),
                            sheet.valueAt(row, u"fio"_s).toString(),
                            sheet.valueAt(row, u"s_night"_s).toString(),
                            Decimal::fromVariant(sheet.valueAt(row, u"f_price"_s)).toString(2),
                            Decimal::fromVariant(sheet.valueAt(row, u"average_price"_s)).toString(2)}
                    .join(u' ');
    // Ivanov's rate by day is that of all his day records, whatever the
    // group: (400 + 440) / 8.
    QCOMPARE(rows.mid(0, 2).join(u';').count(u"Иванов"_s), 2);
    rows.sort(); // day and night rows of a worker come in the server's order
    QCOMPARE(rows, (QStringList{
                       u"Двери Иванов И.И. дн. 400.00 105.00"_s, u"Двери Иванов И.И. ноч. 260.00 130.00"_s,
                       u"Двери Петров П.П. дн. 271.50 90.50"_s, u"Корпуса Иванов И.И. дн. 440.00 105.00"_s}));
    m_groups->finish();

    m_groups->prepare(7777, may);
    QCOMPARE(m_groups->windowTitle(), u"Табель по ном. гр. хоз. работы (31)"_s);
    QCOMPARE(m_groups->currentSheet().recordCount(), 1);
    QCOMPARE(m_groups->currentSheet().text(u"s_night"_s), u"ноч."_s);
    m_groups->finish();
}

void GroupSheetsTest::sheetsEqualTheCorrelatedStatements_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("7777") << 7777;
    QTest::newRow("7778") << 7778;
}

// The sheets sum each month once and join; the same statements written with
// a subquery per figure return the same rows.
void GroupSheetsTest::sheetsEqualTheCorrelatedStatements()
{
    QFETCH(int, kind);
    addHousehold(m_ivanov, 7777, 0, m_doors, may.addDays(7), 3, u"70"_s);
    addHousehold(m_orlov, 7783, 1, m_doors, may.addDays(8), 2, u"75"_s);
    QVERIFY(PieceworkStore(m_db.data()).rebuild(MonthPeriod::containing(may)).done);
    m_db.exec(u"delete from accounts_dep.fatigue where id_p=:o and id_o=7783"_s, {{u"o"_s, m_orlov}});
    GroupSheetStore store(m_db.data());
    store.openSheet(kind, MonthPeriod::containing(may));
    const Dataset &sheet = store.sheet(kind);
    Dataset reference(m_db.data().connectionName(), u"reference"_s, correlated::groupSheet(kind));
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
}

void GroupSheetsTest::gridFootersSumTheGroupsEarnings()
{
    m_groups->prepare(7778, may);
    const GroupedModel *model = m_groups->grid()->groupedModel();
    QCOMPARE(model->groupCount(), 2);
    QCOMPARE(model->groupTitle(0), u"Двери"_s);
    QCOMPARE(model->groupSum(0, 34).toString(2), u"931.50"_s);
    QCOMPARE(model->groupSum(1, 34).toString(2), u"440.00"_s);
    const int footer = model->rowCount() - 1;
    QCOMPARE(model->index(footer, 1).data().toString(), u"ИТОГО:"_s);
    QCOMPARE(model->index(footer, 34).data().toString(), u"440.00"_s);
    QCOMPARE(m_groups->grid()->model()->headerData(2, Qt::Horizontal).toString(), u"!"_s);
    QVERIFY(m_groups->grid()->isColumnHidden(0));
    m_groups->finish();
}

void GroupSheetsTest::groupWorkbook()
{
    m_groups->prepare(7778, may);
    const auto cells = exported([&] { m_groups->exportToExcel(); });
    QCOMPARE(cells.value({1, 1}), u"Май 2025 *"_s);
    QCOMPARE(cells.value({2, 1}), u"СР. СДЕЛЬНАЯ *"_s);
    QCOMPARE(cells.value({2, 2}), u"Фамилия И.О. *"_s);
    QCOMPARE(cells.value({2, 4}), u"1.00 *"_s);
    QCOMPARE(cells.value({2, 37}), u"Час (р.) *"_s);
    QCOMPARE(cells.value({3, 1}), u"Двери *"_s);
    // Rows 4..6: the group's three rows; then its total, the next group, its
    // row, its total (Orlov's earnings included), the final total.
    QCOMPARE(cells.value({6, 2}), u"Петров П.П."_s);
    QCOMPARE(cells.value({6, 36}), u"271.50"_s);
    QCOMPARE(cells.value({6, 5}), u"3.00"_s); // day 2
    QCOMPARE(cells.value({7, 2}), u"ИТОГО: *"_s);
    QCOMPARE(cells.value({7, 36}), u"931.50 *"_s);
    QCOMPARE(cells.value({8, 1}), u"Корпуса *"_s);
    QCOMPARE(cells.value({9, 3}), u"дн."_s);
    QCOMPARE(cells.value({10, 2}), u"ИТОГО: *"_s);
    QCOMPARE(cells.value({10, 36}), u"840.00 *"_s);
    QCOMPARE(cells.value({11, 1}), u"ИТОГО: *"_s);
    QCOMPARE(cells.value({11, 36}), u"1771.50 *"_s);
    QVERIFY(!cells.contains({12, 1}));
    QVERIFY(m_groups->findChild<QPushButton *>(u"Button2"_s)->text().endsWith(u" из ...)"_s));
    m_groups->finish();
}

void GroupSheetsTest::emptyMonthWorkbooks_data()
{
    QTest::addColumn<bool>("payroll");
    QTest::newRow("by group") << false;
    QTest::newRow("payroll") << true;
}

void GroupSheetsTest::emptyMonthWorkbooks()
{
    QFETCH(bool, payroll);
    const QDate june(2025, 6, 1);
    QMap<QPair<int, int>, QString> cells;
    if (payroll) {
        m_payroll->prepare(june);
        cells = exported([&] { m_payroll->exportToExcel(); });
        m_payroll->finish();
    } else {
        m_groups->prepare(7777, june);
        cells = exported([&] { m_groups->exportToExcel(); });
        m_groups->finish();
    }
    QVERIFY(m_messages.shown.isEmpty());
    const int sumColumn = payroll ? 3 : 36;
    QCOMPARE(cells.value({1, 1}), u"Июнь 2025 *"_s);
    QCOMPARE(cells.value({3, 2}), u"ИТОГО: *"_s);
    QCOMPARE(cells.value({3, sumColumn}), u"0.00 *"_s);
    QCOMPARE(cells.value({4, 1}), u"ИТОГО: *"_s);
    QCOMPARE(cells.value({4, sumColumn}), u"0.00 *"_s);
    if (payroll)
        QCOMPARE(cells.value({4, 4}), u"0.00 *"_s);
}

QStringList GroupSheetsTest::payrollRows()
{
    Dataset &rows = m_payroll->payroll();
    QStringList lines;
    for (int row = 0; row < rows.recordCount(); ++row)
        lines << QStringList{rows.valueAt(row, u"s_nom"_s).toString(), rows.valueAt(row, u"fio"_s).toString(),
                             Decimal::fromVariant(rows.valueAt(row, u"sum_all"_s)).toString(2),
                             Decimal::fromVariant(rows.valueAt(row, u"sum_all_12"_s)).toString(2)}
                     .join(u' ');
    return lines;
}

void GroupSheetsTest::payrollWithoutRegionalCoefficient_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("withoutCoefficient");
    QTest::newRow("120.00") << u"120"_s << u"100.00"_s;
    QTest::newRow("100.00") << u"100"_s << u"83.33"_s;
    QTest::newRow("0.01") << u"0.01"_s << u"0.01"_s;
}

void GroupSheetsTest::payrollWithoutRegionalCoefficient()
{
    QFETCH(QString, price);
    QFETCH(QString, withoutCoefficient);
    const QDate july(2025, 7, 10);
    addHousehold(m_petrov, 7777, 0, m_doors, july, 1, price);
    m_payroll->prepare(july);
    QCOMPARE(payrollRows().size(), 1);
    QVERIFY2(payrollRows().first().endsWith(u' ' + withoutCoefficient), qPrintable(payrollRows().first()));
    m_payroll->finish();
}

void GroupSheetsTest::payrollKeepsEveryLineAndEveryWorker()
{
    // The same day sum in the same group from the journal and from the
    // household records; and a second worker of the same name.
    const int namesake = m_db.addWorker(u"Петров П.П."_s);
    m_db.addJournalRow(m_petrov, m_operation, may.addDays(9), 1, 8);       // 100.00 in "Двери"
    addHousehold(m_petrov, 7777, 0, m_doors, may.addDays(9), 1, u"100"_s); // 100.00 in "Двери"
    addHousehold(namesake, 7777, 0, m_doors, may.addDays(9), 2, u"50"_s);  // 100.00
    m_payroll->prepare(may);
    QCOMPARE(m_payroll->windowTitle(), u"Общий табель ЗП (30)"_s);
    const QStringList rows = payrollRows();
    QCOMPARE(rows,
             (QStringList{u"Двери Иванов И.И. 660.00 550.00"_s, u"Двери Петров П.П. 471.50 392.92"_s,
                          u"Двери Петров П.П. 100.00 83.33"_s, u"Корпуса Иванов И.И. 440.00 366.67"_s,
                          u"Корпуса Орлов О.О. 400.00 333.33"_s, u"Корпуса Петров П.П. 900.00 750.00"_s}));
    const GroupedModel *model = m_payroll->grid()->groupedModel();
    QCOMPARE(model->groupCount(), 2);
    QCOMPARE(model->groupSum(0, 1).toString(2), u"1231.50"_s);
    QCOMPARE(model->groupSum(0, 3).toString(2), u"1026.25"_s);
    m_payroll->finish();
}

void GroupSheetsTest::payrollDecemberEndsBeforeJanuary()
{
    addHousehold(m_ivanov, 7777, 0, m_doors, QDate(2024, 12, 1), 1, u"10"_s);
    addHousehold(m_ivanov, 7777, 0, m_doors, QDate(2024, 12, 31), 1, u"20"_s);
    addHousehold(m_ivanov, 7777, 0, m_doors, QDate(2025, 1, 1), 1, u"40"_s);
    addHousehold(m_ivanov, 7777, 0, m_doors, QDate(2024, 11, 30), 1, u"80"_s);
    m_payroll->prepare(QDate(2024, 12, 15));
    QCOMPARE(payrollRows(), QStringList{u"Двери Иванов И.И. 30.00 25.00"_s});
    m_payroll->finish();
}

void GroupSheetsTest::payrollWorkbook()
{
    m_payroll->prepare(may);
    const auto cells = exported([&] { m_payroll->exportToExcel(); });
    const QStringList expected{u"1,1 Май 2025 *"_s,
                               u"2,1 Общая ЗП *"_s,
                               u"2,2 Фамилия И.О. *"_s,
                               u"2,3 Сумма (р.) *"_s,
                               u"2,4 Сумма без РК (р.) *"_s,
                               u"3,1 Двери *"_s,
                               u"4,2 Иванов И.И."_s,
                               u"4,3 660.00"_s,
                               u"4,4 550.00"_s,
                               u"5,2 Петров П.П."_s,
                               u"5,3 271.50"_s,
                               u"5,4 226.25"_s,
                               u"6,2 ИТОГО: *"_s,
                               u"6,3 931.50 *"_s,
                               u"6,4 776.25 *"_s,
                               u"7,1 Корпуса *"_s,
                               u"8,2 Иванов И.И."_s,
                               u"8,3 440.00"_s,
                               u"8,4 366.67"_s,
                               u"9,2 Орлов О.О."_s,
                               u"9,3 400.00"_s,
                               u"9,4 333.33"_s,
                               u"10,2 Петров П.П."_s,
                               u"10,3 900.00"_s,
                               u"10,4 750.00"_s,
                               u"11,2 ИТОГО: *"_s,
                               u"11,3 1740.00 *"_s,
                               u"11,4 1450.00 *"_s,
                               u"12,1 ИТОГО: *"_s,
                               u"12,3 2671.50 *"_s,
                               u"12,4 2226.25 *"_s};
    QStringList seen;
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        seen << u"%1,%2 %3"_s.arg(it.key().first).arg(it.key().second).arg(it.value());
    QCOMPARE(seen, expected);
    m_payroll->finish();
}

void GroupSheetsTest::menuCommandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("N9") << u"N9"_s << u"Form27"_s << u"Табель сделка (27)"_s;
    QTest::newRow("N17") << u"N17"_s << u"Form27"_s << u"Общий табель (27)"_s;
    QTest::newRow("N18") << u"N18"_s << u"Form27"_s << u"Табель ср. сдельная (27)"_s;
    QTest::newRow("N20") << u"N20"_s << u"Form27"_s << u"Табель хоз. работы (27)"_s;
    QTest::newRow("N19") << u"N19"_s << u"Form31"_s << u"Табель по ном. гр. ср. сдельная (31)"_s;
    QTest::newRow("N22") << u"N22"_s << u"Form31"_s << u"Табель по ном. гр. хоз. работы (31)"_s;
    QTest::newRow("N23") << u"N23"_s << u"Form30"_s << u"Общий табель ЗП (30)"_s;
}

// Each command opens its window for the current month, which is closed with
// Escape.
void GroupSheetsTest::menuCommandsOpenTheirWindows()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QWidget main;
    for (const QString &name : {u"N9"_s, u"N17"_s, u"N18"_s, u"N19"_s, u"N20"_s, u"N22"_s, u"N23"_s})
        new QAction(name, &main);
    for (QAction *action : main.findChildren<QAction *>())
        action->setObjectName(action->text());
    wireMonthSheets(main, m_db.data());
    QString seenCaption;
    QString seenMonth;
    test::onModal(window, [&](QDialog *dialog) {
        seenCaption = dialog->windowTitle();
        seenMonth = dialog->findChild<QComboBox *>(u"ComboBox1"_s)->currentText();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    main.findChild<QAction *>(item)->trigger();
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenMonth, monthNames().at(QDate::currentDate().month() - 1));
    QVERIFY(m_messages.shown.isEmpty());
}

QTEST_MAIN(GroupSheetsTest)
#include "tst_groupsheets.moc"
