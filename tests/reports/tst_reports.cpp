#include "core/datamodule.h"
#include "fixture.h"
#include "pdftext.h"
#include "reports/layouts.h"
#include "reports/reportstore.h"
#include "testdatabase.h"
#include "widgets/report.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::reports;

namespace {

const Period december{QDate(2024, 12, 1), QDate(2025, 1, 1)};

// A line as "<kind letter>|cell|cell|...".
QString text(const report::Line &line)
{
    static const char *letters = "RHDFE";
    return QChar::fromLatin1(letters[int(line.kind)]) + u'|' + line.cells.join(u'|');
}

QStringList texts(const report::Report &r)
{
    QStringList list;
    for (const report::Line &line : r.lines)
        list << text(line);
    return list;
}

QString L(char kind, const QStringList &cells)
{
    return QChar::fromLatin1(kind) + u'|' + cells.join(u'|');
}

// The worker detail report's footer table row.
QString money(const QString &caption, const QString &hours, const QString &with, const QString &without)
{
    return L('F', {caption, {}, {}, hours, {}, with, without});
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void previousMonth_data();
    void previousMonth();
    void workerDetail();
    void kindFiltersOnlyDetailLines_data();
    void kindFiltersOnlyDetailLines();
    void workerWithoutHoursHasNoHourlyPrice();
    void workerSummary();
    void productReports();
    void statementsMatchTheStoredOnes_data();
    void statementsMatchTheStoredOnes();
    void householdWithoutJournalCountsOnlyInTotals();
    void pdfMatchesGoldenText_data();
    void pdfMatchesGoldenText();
    void longReportRepeatsItsHead();

private:
    report::Report build(const QString &which, ProductKind kind = ProductKind::All) const;
    QList<QStringList> rows(const QString &statement, int parameters) const;

    test::TestDatabase m_db;
    test::ReportFixture m_fixture;
    QTemporaryDir m_dir;
};

void TestReports::initTestCase()
{
    QVERIFY2(m_db.create(), qPrintable(m_db.error()));
    QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    m_fixture.build(m_db);
    QVERIFY(m_dir.isValid());
}

report::Report TestReports::build(const QString &which, ProductKind kind) const
{
    const ReportStore store(m_db.data().connectionName());
    if (which == u"workers detail"_s)
        return workerDetailReport(store.workerDetail(december, kind), store.householdTotals(december),
                                  december);
    if (which == u"products detail"_s)
        return productDetailReport(store.productDetail(december, kind), december);
    if (which == u"workers"_s)
        return workerSummaryReport(store.workerSummary(december, kind), store.householdTotals(december),
                                   december);
    return productSummaryReport(store.productSummary(december, kind), december);
}

void TestReports::previousMonth_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::newRow("January gives December before")
        << QDate(2025, 1, 15) << QDate(2024, 12, 1) << QDate(2025, 1, 1);
    QTest::newRow("March") << QDate(2025, 3, 15) << QDate(2025, 2, 1) << QDate(2025, 3, 1);
    QTest::newRow("first day") << QDate(2025, 1, 1) << QDate(2024, 12, 1) << QDate(2025, 1, 1);
    QTest::newRow("last day") << QDate(2024, 12, 31) << QDate(2024, 11, 1) << QDate(2024, 12, 1);
}

void TestReports::previousMonth()
{
    QFETCH(QDate, today);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    const Period period = Period::previousMonth(today);
    QCOMPARE(period.from, from);
    QCOMPARE(period.to, to);
}

void TestReports::workerDetail()
{
    const report::Report r = build(u"workers detail"_s);
    QCOMPARE(r.title, u"   Детальный отчет по рабочим за период с 01.12.2024 по 01.01.2025"_s);
    QCOMPARE(r.orientation, QPageLayout::Portrait);
    const QStringList captions{u"Часы"_s, u"Сумма с р/к (р.)"_s, u"Сумма без р/к (р.)"_s};
    const QString table = L('F', {{}, {}, {}, captions[0], {}, captions[1], captions[2]});
    const QString head = u"Часы|Брак|Количество|Сумма"_s;
    const QStringList expected{
        // 10 hours for 1000.00: 100.00 an hour, 83.33 without the coefficient.
        u"H|Иванов И.И.|||"_s + head,
        L('D', {u"КР-1"_s, u"Сварка"_s, u"Готовая продукция"_s, u"10"_s, u"0"_s, u"100"_s, u"1000.00"_s}),
        L('F', {u"Всего:"_s, {}, {}, {}, u"0"_s, u"100"_s, u"1000.00"_s}),
        table,
        money(u"Хоз. раб. (дн.)"_s, u"8"_s, u"100.00"_s, u"83.33"_s),
        money(u"Хоз. раб. (нч.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Ср. сд. (дн.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Ср. сд. (нч.)"_s, u"4"_s, u"120.00"_s, u"100.00"_s),
        money(u"Сдел."_s, u"10.00"_s, u"1000.00"_s, u"833.33"_s),
        money(u"Итого:"_s, u"22.00"_s, u"1220.00"_s, u"1016.67"_s),
        money(u"Цена ср. сд. за 1 ч.:"_s, {}, u"100.00"_s, u"83.33"_s),
        // A namesake is a worker of his own, with his own figures.
        u"H|Иванов И.И.|||"_s + head,
        L('D', {u"УГ-5"_s, u"Сварка"_s, u"Готовая продукция"_s, u"1"_s, u"0"_s, u"5"_s, u"10.00"_s}),
        L('F', {u"Всего:"_s, {}, {}, {}, u"0"_s, u"5"_s, u"10.00"_s}),
        table,
        money(u"Хоз. раб. (дн.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Хоз. раб. (нч.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Ср. сд. (дн.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Ср. сд. (нч.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Сдел."_s, u"1.00"_s, u"10.00"_s, u"8.33"_s),
        money(u"Итого:"_s, u"1.00"_s, u"10.00"_s, u"8.33"_s),
        money(u"Цена ср. сд. за 1 ч.:"_s, {}, u"10.00"_s, u"8.33"_s),
        u"H|Петров П.П.|||"_s + head,
        L('D', {u"КР-1"_s, u"Покраска"_s, u"Заготовки"_s, u"4"_s, u"1"_s, u"10"_s, u"22.50"_s}),
        L('D', {u"УГ-5"_s, u"Сварка"_s, u"Готовая продукция"_s, u"6"_s, u"0"_s, u"20"_s, u"66.67"_s}),
        L('F', {u"Всего:"_s, {}, {}, {}, u"1"_s, u"30"_s, u"89.17"_s}),
        table,
        money(u"Хоз. раб. (дн.)"_s, u"2"_s, u"30.00"_s, u"25.00"_s),
        money(u"Хоз. раб. (нч.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Ср. сд. (дн.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Ср. сд. (нч.)"_s, u"0"_s, u"0.00"_s, u"0.00"_s),
        money(u"Сдел."_s, u"10.00"_s, u"89.17"_s, u"74.31"_s),
        money(u"Итого:"_s, u"12.00"_s, u"119.17"_s, u"99.31"_s),
        money(u"Цена ср. сд. за 1 ч.:"_s, {}, u"8.92"_s, u"7.43"_s),
        // The rows of 30 November and of 1 January are in no total.
        L('E', {u"Итого по отчету:"_s, {}, {}, {}, {}, u"135"_s, u"1099.17"_s}),
        L('E', {u"Хоз.р.:"_s, {}, {}, {}, {}, u"230.00"_s, u"191.67"_s}),
        L('E', {u"Ср.сд.:"_s, {}, {}, {}, {}, u"120.00"_s, u"100.00"_s}),
        L('E', {u"Итого:"_s, {}, {}, {}, {}, u"1449.17"_s, u"1207.64"_s}),
    };
    const QStringList actual = texts(r);
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QCOMPARE(actual[i], expected[i]);
    QCOMPARE(actual.size(), expected.size());
}

void TestReports::kindFiltersOnlyDetailLines_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("details");
    QTest::newRow("blanks") << int(ProductKind::Blanks)
                            << QStringList{u"D|КР-1|Покраска|Заготовки|4|1|10|22.50"_s};
    QTest::newRow("finished") << int(ProductKind::Finished)
                              << QStringList{u"D|КР-1|Сварка|Готовая продукция|10|0|100|1000.00"_s,
                                             u"D|УГ-5|Сварка|Готовая продукция|1|0|5|10.00"_s,
                                             u"D|УГ-5|Сварка|Готовая продукция|6|0|20|66.67"_s};
}

void TestReports::kindFiltersOnlyDetailLines()
{
    QFETCH(int, kind);
    QFETCH(QStringList, details);
    const QStringList lines = texts(build(u"workers detail"_s, ProductKind(kind)));
    QStringList actualDetails;
    for (const QString &line : lines) {
        if (line.startsWith(u"D|"_s))
            actualDetails << line;
    }
    QCOMPARE(actualDetails, details);
    // Petrov's household work stays whatever the kind; the report's
    // household totals too.
    QVERIFY(lines.contains(money(u"Хоз. раб. (дн.)"_s, u"2"_s, u"30.00"_s, u"25.00"_s)));
    QVERIFY(lines.contains(L('E', {u"Хоз.р.:"_s, {}, {}, {}, {}, u"230.00"_s, u"191.67"_s})));
    QVERIFY(lines.contains(L('E', {u"Ср.сд.:"_s, {}, {}, {}, {}, u"120.00"_s, u"100.00"_s})));

    // The same in the per-worker report.
    const QStringList summary = texts(build(u"workers"_s, ProductKind(kind)));
    QVERIFY(summary.contains(L('E', {u"Хоз.р.:"_s, {}, {}, u"230.00"_s, u"191.67"_s})));
}

void TestReports::workerWithoutHoursHasNoHourlyPrice()
{
    // Piecework booked without hours: the hourly price is left empty
    // instead of a division by zero.
    WorkerDetailRow row;
    row.workerId = 1;
    row.fio = u"Без часов"_s;
    row.amount = *Decimal::parse(u"50.00"_s);
    row.quantity = Decimal::fromInt(5);
    const QStringList lines = texts(workerDetailReport({row}, {}, december));
    QVERIFY(lines.contains(money(u"Цена ср. сд. за 1 ч.:"_s, {}, {}, {})));
    QVERIFY(lines.contains(money(u"Сдел."_s, u"0.00"_s, u"50.00"_s, u"41.67"_s)));
    // An empty month still ends with the report's totals.
    const QStringList empty = texts(workerDetailReport({}, {}, december));
    QCOMPARE(empty.size(), 4);
    QCOMPARE(empty.last(), L('E', {u"Итого:"_s, {}, {}, {}, {}, u"0.00"_s, u"0.00"_s}));
}

void TestReports::workerSummary()
{
    const report::Report r = build(u"workers"_s);
    QCOMPARE(r.title, u"   Отчет по рабочим за период с 01.12.2024 по 01.01.2025"_s);
    const QStringList expected{
        L('H', {u"Иванов И.И."_s, {}, {}, {}, u"Сумма без Р/К"_s}),
        u"H|Кронштейны"_s,
        L('D', {u"Готовая продукция"_s, u"Сварка"_s, u"100"_s, u"1000.000"_s}),
        // The group's own household money: 8 x 12.5 and 4 x 30.
        L('F', {u"Хоз.р.: 100   Ср. сд.: 120"_s, {}, u"100"_s, u"1000.000"_s, u"833.333"_s}),
        L('F', {u"Итого:"_s, {}, {}, u"1220.000"_s, u"1016.667"_s}),
        L('F', {u"Всего по работнику:"_s, {}, {}, u"1000.00"_s, u"833.33"_s}),
        L('F', {u"С хоз. работами:"_s, {}, {}, u"1220.000"_s, u"1016.667"_s}),
        L('H', {u"Иванов И.И."_s, {}, {}, {}, u"Сумма без Р/К"_s}),
        u"H|Уголки"_s,
        L('D', {u"Готовая продукция"_s, u"Сварка"_s, u"5"_s, u"10.000"_s}),
        L('F', {u"Хоз.р.: 0   Ср. сд.: 0"_s, {}, u"5"_s, u"10.000"_s, u"8.333"_s}),
        L('F', {u"Итого:"_s, {}, {}, u"10.000"_s, u"8.333"_s}),
        L('F', {u"Всего по работнику:"_s, {}, {}, u"10.00"_s, u"8.33"_s}),
        L('F', {u"С хоз. работами:"_s, {}, {}, u"10.000"_s, u"8.333"_s}),
        L('H', {u"Петров П.П."_s, {}, {}, {}, u"Сумма без Р/К"_s}),
        u"H|Кронштейны"_s,
        L('D', {u"Заготовки"_s, u"Покраска"_s, u"9"_s, u"22.500"_s}),
        L('F', {u"Хоз.р.: 0   Ср. сд.: 0"_s, {}, u"9"_s, u"22.500"_s, u"18.750"_s}),
        L('F', {u"Итого:"_s, {}, {}, u"22.500"_s, u"18.750"_s}),
        u"H|Уголки"_s,
        L('D', {u"Готовая продукция"_s, u"Сварка"_s, u"20"_s, u"66.670"_s}),
        L('F', {u"Хоз.р.: 30   Ср. сд.: 0"_s, {}, u"20"_s, u"66.670"_s, u"55.558"_s}),
        L('F', {u"Итого:"_s, {}, {}, u"96.670"_s, u"80.558"_s}),
        L('F', {u"Всего по работнику:"_s, {}, {}, u"89.17"_s, u"74.31"_s}),
        L('F', {u"С хоз. работами:"_s, {}, {}, u"119.170"_s, u"99.308"_s}),
        L('E', {u"Сдел.:"_s, {}, {}, u"1099.17"_s, u"915.98"_s}),
        L('E', {u"Хоз.р.:"_s, {}, {}, u"230.00"_s, u"191.67"_s}),
        L('E', {u"Ср.сд.:"_s, {}, {}, u"120.00"_s, u"100.00"_s}),
        L('E', {u"Итого:"_s, {}, {}, u"1449.17"_s, u"1207.64"_s}),
    };
    const QStringList actual = texts(r);
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QCOMPARE(actual[i], expected[i]);
    QCOMPARE(actual.size(), expected.size());
}

void TestReports::productReports()
{
    const QStringList detail = texts(build(u"products detail"_s));
    // Rejects count in the detailed report's pieces and boxes.
    QVERIFY(detail.contains(
        L('D', {u"КР-1"_s, u"Покраска"_s, u"1"_s, u"Заготовки"_s, u"1"_s, u"10"_s, u"10"_s, u"22.500"_s})));
    QVERIFY(detail.contains(L('D', {u"УГ-5"_s, u"Сварка"_s, u"7"_s, u"Готовая продукция"_s, u"0"_s, u"10"_s,
                                    u"20"_s, u"66.666"_s})));
    QVERIFY(detail.contains(L('F', {u"Всего:"_s, {}, {}, {}, u"1"_s, u"110.00"_s, u"110"_s, u"1022.50"_s})));
    QCOMPARE(detail.last(), L('E', {u"Итого:"_s, {}, {}, {}, u"1"_s, u"122.50"_s, u"135"_s, u"1099.17"_s}));

    const report::Report summary = build(u"products"_s);
    QCOMPARE(summary.title, u"   Отчет по продукции за период с 01.12.2024 по 01.01.2025"_s);
    const QStringList lines = texts(summary);
    // Good pieces only; the colour texts of the printed report.
    QVERIFY(lines.contains(L('D', {u"Заготовки"_s, u"Покраска"_s, u" (грунт)"_s, u"9"_s, u"9"_s})));
    QVERIFY(lines.contains(L('D', {u"Готовая продукция"_s, u"Сварка"_s, u" (RAL: 7)"_s, u"10"_s, u"20"_s})));
    QVERIFY(lines.contains(L('D', {u"Готовая продукция"_s, u"Сварка"_s, u" "_s, u"100"_s, u"100"_s})));
    QCOMPARE(lines.last(), L('E', {u"Итого:"_s, {}, {}, u"122"_s, u"134"_s}));
}

QList<QStringList> TestReports::rows(const QString &statement, int parameters) const
{
    QSqlQuery query(QSqlDatabase::database(m_db.data().connectionName()));
    if (!query.prepare(statement)) {
        qWarning() << query.lastError().text();
        return {};
    }
    for (int i = 1; i <= parameters; ++i)
        query.bindValue(u":data"_s + QString::number(i), i % 2 ? december.from : december.to);
    if (!query.exec())
        qWarning() << query.lastError().text();
    QList<QStringList> result;
    while (query.next()) {
        QStringList row;
        for (int c = 0; c < query.record().count(); ++c) {
            const QVariant value = query.value(c);
            row << (value.isNull() ? QString() : Decimal::fromVariant(value).toString());
            if (row.last() == u"0"_s && !value.toString().isEmpty() && !value.toString().front().isDigit())
                row.last() = value.toString();
        }
        result << row;
    }
    std::sort(result.begin(), result.end());
    return result;
}

void TestReports::statementsMatchTheStoredOnes_data()
{
    QTest::addColumn<QString>("report");
    QTest::newRow("workers detail") << u"workers detail"_s;
    QTest::newRow("workers") << u"workers"_s;
}

// The reports read the household figures once per worker; the result must
// be the one of the statements that read them once per row.
void TestReports::statementsMatchTheStoredOnes()
{
    QFETCH(QString, report);
    const ReportStore store(m_db.data().connectionName());
    QList<QStringList> mine;
    QList<QStringList> stored;
    auto t = [](const Decimal &d) { return d.toString(); };
    if (report == u"workers detail"_s) {
        for (const WorkerDetailRow &r : store.workerDetail(december, ProductKind::All))
            mine << QStringList{r.fio,
                                r.marka,
                                r.vid,
                                QString::number(r.naimen),
                                t(r.hours),
                                t(r.quantity),
                                t(r.rejects),
                                t(r.amount),
                                QString::number(r.color),
                                t(r.household),
                                t(r.householdNight),
                                t(r.average),
                                t(r.averageNight),
                                t(r.householdHours),
                                t(r.householdNightHours),
                                t(r.averageHours),
                                t(r.averageNightHours)};
        QFile file(QStringLiteral(KORDEL_SOURCE_DIR "/tests/reports/data/w_report.sql"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        stored = rows(QString::fromUtf8(file.readAll()), 22);
        // The stored statement's all-worker sums are the last two columns.
        for (QStringList &row : stored) {
            QCOMPARE(row.takeLast(), u"120"_s);
            QCOMPARE(row.takeLast(), u"230"_s);
            row.removeAt(9); // the bonus sum, which the report never prints
        }
    } else {
        for (const WorkerSummaryRow &r : store.workerSummary(december, ProductKind::All))
            mine << QStringList{r.fio,
                                t(r.quantity),
                                r.vid,
                                t(r.amount),
                                r.nom,
                                QString::number(r.naimen),
                                QString::number(r.color),
                                t(r.household),
                                t(r.average),
                                t(r.allOwn)};
        QFile file(QStringLiteral(KORDEL_SOURCE_DIR "/tests/reports/data/t_report.sql"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        stored = rows(QString::fromUtf8(file.readAll()), 12);
        for (QStringList &row : stored) {
            QCOMPARE(row.takeLast(), u"120"_s);
            QCOMPARE(row.takeLast(), u"230"_s);
        }
    }
    std::sort(mine.begin(), mine.end());
    QVERIFY(!mine.isEmpty());
    QCOMPARE(mine, stored);
}

void TestReports::householdWithoutJournalCountsOnlyInTotals()
{
    // Sidorov has household work and no journal rows.
    for (const QString &which : {u"workers detail"_s, u"workers"_s}) {
        const report::Report r = build(which);
        for (const report::Line &line : r.lines)
            QVERIFY2(!line.cells.join(u' ').contains(u"Сидоров"_s), qPrintable(which));
    }
    const ReportStore store(m_db.data().connectionName());
    const HouseholdTotals all = store.householdTotals(december);
    QCOMPARE(all.household.toString(2), u"230.00"_s); // 100 + 30 of the listed workers, 100 of Sidorov
    QCOMPARE(all.average.toString(2), u"120.00"_s);
}

void TestReports::pdfMatchesGoldenText_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("golden");
    QTest::newRow("workers detail") << u"workers detail"_s << u"workers_detail.txt"_s;
    QTest::newRow("products detail") << u"products detail"_s << u"products_detail.txt"_s;
    QTest::newRow("workers") << u"workers"_s << u"workers.txt"_s;
    QTest::newRow("products") << u"products"_s << u"products.txt"_s;
}

void TestReports::pdfMatchesGoldenText()
{
    QFETCH(QString, report);
    QFETCH(QString, golden);
    const report::Report r = build(report);
    const QString path = m_dir.filePath(golden + u".pdf"_s);
    QVERIFY(report::writePdf(r, path));
    QCOMPARE(test::pdfPageCount(path), 1);
    QCOMPARE(test::pdfPageSize(path), u"595 x 842"_s);
    const QString text = test::pdfPages(path).join(u'\f');
    QVERIFY(text.contains(r.title.trimmed()));
    QVERIFY(text.contains(u"Страница 1 из 1"_s));

    const QString goldenPath = QStringLiteral(KORDEL_SOURCE_DIR "/tests/reports/data/") + golden;
    if (qEnvironmentVariableIsSet("KORDEL_UPDATE_GOLDEN")) {
        QFile out(goldenPath);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
    }
    QFile file(goldenPath);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(goldenPath));
    const QString expected = QString::fromUtf8(file.readAll());
    const QStringList actualLines = text.split(u'\n'), expectedLines = expected.split(u'\n');
    for (int i = 0; i < std::min(actualLines.size(), expectedLines.size()); ++i)
        QCOMPARE(actualLines[i], expectedLines[i]);
    QCOMPARE(actualLines.size(), expectedLines.size());
}

void TestReports::longReportRepeatsItsHead()
{
    // February 2025: forty workers of three rows each, several pages.
    const int group = m_db.addGroup(u"Швеллеры"_s);
    const int product = m_db.addProduct(u"ШВ-10"_s, group);
    const int kind = m_db.addKind(u"Резка"_s);
    const int operation = m_db.addOperation(kind, product, 0);
    for (int w = 0; w < 40; ++w) {
        const int worker = m_db.addWorker(u"Работник "_s + QString::number(w).rightJustified(2, u'0'));
        for (int d = 1; d <= 3; ++d)
            test::ReportFixture::row(m_db, worker, operation, QDate(2025, 2, d), 10, 0, u"1.5"_s, 8, d);
    }
    const Period february{QDate(2025, 2, 1), QDate(2025, 3, 1)};
    const ReportStore store(m_db.data().connectionName());
    const report::Report r = workerDetailReport(store.workerDetail(february, ProductKind::All),
                                                store.householdTotals(february), february);
    const QString path = m_dir.filePath(u"long.pdf"_s);
    QVERIFY(report::writePdf(r, path));
    const int count = test::pdfPageCount(path);
    QVERIFY(count > 3);
    const QStringList pages = test::pdfPages(path);
    QCOMPARE(pages.size(), count);
    for (int p = 0; p < count; ++p) {
        const QStringList lines = test::squeezedLines(pages[p]);
        QCOMPARE(lines.first() == u"Детальный отчет по рабочим за период с 01.02.2025 по 01.03.2025"_s,
                 p == 0);
        QVERIFY(lines.contains(u"Изделие Операция Вид продукции Часы Брак Количество Сумма"_s));
        QCOMPARE(lines.last(), u"Страница "_s + QString::number(p + 1) + u" из "_s + QString::number(count));
    }
    // Every worker's totals, and the report's at the end.
    const QString all = pages.join(u'\n');
    for (int w = 0; w < 40; ++w)
        QVERIFY(all.contains(u"Работник "_s + QString::number(w).rightJustified(2, u'0')));
    QCOMPARE(all.count(u"Цена ср. сд. за 1 ч.:"_s), 40);
    const QStringList last = test::squeezedLines(pages.last());
    QVERIFY(last.contains(u"Итого по отчету: 1200 1800.00"_s));
    QVERIFY(last.contains(u"Итого: 1800.00 1500.00"_s));
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
