#include "core/datamodule.h"
#include "fixture.h"
#include "guitest.h"
#include "reports/reportswindow.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/excelwriter.h"
#include "xlsxbook.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;
using namespace kordel::reports;

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

const QStringList reportButtons{u"Button1"_s, u"Button2"_s, u"Button3"_s, u"Button4"_s, u"Button6"_s};

} // namespace

class TestReportsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void opensWithLastMonth();
    void roles_data();
    void roles();
    void kindIsKeptBetweenOpenings();
    void reportButtonsPresentTheirReports_data();
    void reportButtonsPresentTheirReports();
    void reportOpensInThePreview();
    void databaseErrorIsShownAndWindowStaysUsable();
    void excelSummary_data();
    void excelSummary();
    void escapeCloses();

private:
    std::unique_ptr<ReportsWindow> makeWindow();

    test::TestDatabase m_db;
    test::ReportFixture m_fixture;
    test::ScriptedMessages m_messages;
    RecordingOpener m_opener;
    QTemporaryDir m_dir;
    QList<report::Report> m_presented;
};

void TestReportsWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(m_db.create(), qPrintable(m_db.error()));
    QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    m_fixture.build(m_db);
    ExcelWriter::setFileOpener(&m_opener);
}

void TestReportsWindow::cleanupTestCase()
{
    ExcelWriter::setFileOpener(nullptr);
}

void TestReportsWindow::init()
{
    m_messages.clear();
    m_opener.opened.clear();
    m_presented.clear();
}

std::unique_ptr<ReportsWindow> TestReportsWindow::makeWindow()
{
    auto window = std::make_unique<ReportsWindow>(m_db.data());
    window->setClock([] { return QDate(2025, 1, 15); });
    window->setPresenter([this](const report::Report &r) { m_presented << r; });
    window->excelWriter().setOutputFolder(m_dir.filePath(u"books"_s));
    return window;
}

void TestReportsWindow::opensWithLastMonth()
{
    auto window = makeWindow();
    window->prepare();
    QCOMPARE(window->windowTitle(), u"Отчеты (18)"_s);
    QCOMPARE(test::child<QDateEdit>(window.get(), u"DTPicker1"_s)->date(), QDate(2024, 12, 1));
    QCOMPARE(test::child<QDateEdit>(window.get(), u"DTPicker2"_s)->date(), QDate(2025, 1, 1));
    QCOMPARE(test::child<QGroupBox>(window.get(), u"RadioGroup1"_s)->title(), u"Вид продукции"_s);
    QCOMPARE(test::child<QGroupBox>(window.get(), u"GroupBox1"_s)->title(), u"Период отбора"_s);
    QCOMPARE(window->kind(), ProductKind::All);
    const QStringList captions{u"Детальный отчет по рабочим"_s, u"Отчет по продукции"_s,
                               u"Детальный отчет по продукции"_s, u"Отчет по рабочим"_s, u"Excel (0 из 0)"_s};
    for (int i = 0; i < reportButtons.size(); ++i)
        QCOMPARE(test::button(window.get(), reportButtons[i])->text(), captions[i]);
    QCOMPARE(test::button(window.get(), u"Button5"_s)->text(), u"Выход"_s);
}

void TestReportsWindow::roles_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<bool>("kindFree");
    QTest::addColumn<int>("kind");
    QTest::newRow("administrator") << u"4927"_s << reportButtons << true << int(ProductKind::Blanks);
    QTest::newRow("payroll office") << u"plutar"_s << reportButtons << true << int(ProductKind::Blanks);
    QTest::newRow("foremen") << u"wendrix"_s << QStringList{u"Button3"_s} << true << int(ProductKind::Blanks);
    QTest::newRow("warehouse") << u"torvu"_s << QStringList{u"Button3"_s} << false
                               << int(ProductKind::Finished);
}

void TestReportsWindow::roles()
{
    QFETCH(QString, code);
    QFETCH(QStringList, enabled);
    QFETCH(bool, kindFree);
    QFETCH(int, kind);
    auto window = makeWindow();
    window->setKind(ProductKind::Blanks);
    window->setRoleSource([code] { return roleForCode(code); });
    window->prepare();
    for (const QString &name : reportButtons)
        QCOMPARE(test::button(window.get(), name)->isEnabled(), enabled.contains(name));
    QVERIFY(test::button(window.get(), u"Button5"_s)->isEnabled());
    QCOMPARE(test::child<QGroupBox>(window.get(), u"RadioGroup1"_s)->isEnabled(), kindFree);
    QCOMPARE(int(window->kind()), kind);
    QVERIFY(test::child<QGroupBox>(window.get(), u"GroupBox1"_s)->isEnabled());
}

void TestReportsWindow::kindIsKeptBetweenOpenings()
{
    auto window = makeWindow();
    window->prepare();
    test::child<QRadioButton>(window.get(), u"RadioGroup1_2"_s)->click();
    window->setPeriod(Period{QDate(2020, 5, 1), QDate(2020, 7, 1)});
    window->prepare();
    QCOMPARE(window->kind(), ProductKind::Blanks);
    // The period is set again on every opening.
    QCOMPARE(window->period().from, QDate(2024, 12, 1));
    QCOMPARE(window->period().to, QDate(2025, 1, 1));
}

void TestReportsWindow::reportButtonsPresentTheirReports_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::newRow("Button1") << u"Button1"_s
                             << u"   Детальный отчет по рабочим за период с 01.12.2024 по 01.01.2025"_s;
    QTest::newRow("Button3") << u"Button3"_s
                             << u"   Детальный отчет по продукции за период с 01.12.2024 по 01.01.2025"_s;
    QTest::newRow("Button4") << u"Button4"_s << u"   Отчет по рабочим за период с 01.12.2024 по 01.01.2025"_s;
    QTest::newRow("Button2") << u"Button2"_s
                             << u"   Отчет по продукции за период с 01.12.2024 по 01.01.2025"_s;
}

void TestReportsWindow::reportButtonsPresentTheirReports()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    auto window = makeWindow();
    window->prepare();
    test::child<QRadioButton>(window.get(), u"RadioGroup1_2"_s)->click();
    test::button(window.get(), button)->click();
    QCOMPARE(m_presented.size(), 1);
    const report::Report &r = m_presented.first();
    QCOMPARE(r.title, title);
    QCOMPARE(r.orientation, QPageLayout::Portrait);
    // Blanks only: the painting of brackets is the one blank row.
    int details = 0;
    for (const report::Line &line : r.lines) {
        if (line.kind == report::LineKind::Detail) {
            ++details;
            QVERIFY(line.cells.contains(u"Заготовки"_s));
        }
    }
    QCOMPARE(details, 1);
    QVERIFY(m_messages.shown.isEmpty());
}

void TestReportsWindow::reportOpensInThePreview()
{
    ReportsWindow window(m_db.data());
    window.setClock([] { return QDate(2025, 1, 15); });
    window.prepare();
    const QString seen = test::modalAfter([&] { test::button(&window, u"Button3"_s)->click(); });
    QCOMPARE(seen, u"reportPreview"_s);
}

void TestReportsWindow::databaseErrorIsShownAndWindowStaysUsable()
{
    auto window = makeWindow();
    window->prepare();
    m_db.exec(u"alter table accounts_dep.vid_oper rename to vid_oper_away"_s);
    test::button(window.get(), u"Button1"_s)->click();
    m_db.exec(u"alter table accounts_dep.vid_oper_away rename to vid_oper"_s);
    QCOMPARE(m_presented.size(), 0);
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(m_messages.lastText().contains(u"vid_oper"_s));
    // The next try works.
    test::button(window.get(), u"Button1"_s)->click();
    QCOMPARE(m_presented.size(), 1);
}

void TestReportsWindow::excelSummary_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("rows");
    // The caption's first number is the sheet row written last.
    QTest::newRow("finished products") << int(ProductKind::Finished) << u"Excel (4 из 3)"_s
                                       << QStringList{u"Кронштейны|Сварка|Готовая продукция|100|100"_s,
                                                      u"Уголки|Сварка|Готовая продукция|2.5|5"_s,
                                                      u"Уголки|Сварка (цвет: 7)|Готовая продукция|10|20"_s};
    QTest::newRow("all") << int(ProductKind::All) << u"Excel (5 из 4)"_s
                         << QStringList{u"Кронштейны|Покраска (грунт)|Заготовки|9|9"_s,
                                        u"Кронштейны|Сварка|Готовая продукция|100|100"_s,
                                        u"Уголки|Сварка|Готовая продукция|2.5|5"_s,
                                        u"Уголки|Сварка (цвет: 7)|Готовая продукция|10|20"_s};
}

void TestReportsWindow::excelSummary()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, rows);
    auto window = makeWindow();
    window->prepare();
    window->setKind(ProductKind(kind));
    test::button(window.get(), u"Button6"_s)->click();
    QCOMPARE(test::button(window.get(), u"Button6"_s)->text(), caption);
    QCOMPARE(m_opener.opened.size(), 1);
    QVERIFY(m_messages.shown.isEmpty());

    const auto book = test::XlsxBook::read(QString::fromUtf8(KORDEL_PYTHON),
                                           QString::fromUtf8(KORDEL_READXLSX), m_opener.opened.first());
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    const QStringList captions{u"Наименование"_s, u"Операция"_s, u"Вид продукции"_s, u"Коробки"_s,
                               u"Кол-во"_s};
    for (int c = 1; c <= 5; ++c)
        QCOMPARE(book.text(1, c), captions[c - 1]);
    QCOMPARE(book.lastRow(), rows.size() + 1);
    for (int r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (int c = 1; c <= 5; ++c)
            cells << book.text(r + 2, c);
        QCOMPARE(cells.join(u'|'), rows[r]);
        QCOMPARE(book.cell(r + 2, 4).type, u"number"_s);
        QCOMPARE(book.cell(r + 2, 5).type, u"number"_s);
    }
}

void TestReportsWindow::escapeCloses()
{
    auto window = makeWindow();
    window->prepare();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTRY_VERIFY(!window->isVisible());

    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    test::button(window.get(), u"Button5"_s)->click();
    QTRY_VERIFY(!window->isVisible());
}

QTEST_MAIN(TestReportsWindow)
#include "tst_reportswindow.moc"
