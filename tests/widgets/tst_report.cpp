#include "pdftext.h"
#include "scriptedmessages.h"
#include "widgets/excelwriter.h"
#include "widgets/report.h"
#include "widgets/reportpreview.h"
#include "xlsxbook.h"

#include <QAction>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
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

QString detailText(int i)
{
    return u"Деталь "_s + QString::number(i).rightJustified(4, u'0');
}

// Groups of `perGroup` detail lines under a header, closed by a footer block
// of `footerLines` lines.
report::Report sampleReport(int groups, int perGroup, int footerLines = 1)
{
    report::Report r;
    r.title = u"   Проверочный отчет за период с 01.12.2024 по 01.01.2025"_s;
    r.columns = {{u"Изделие"_s, 4, Qt::AlignLeft},
                 {u"Операция"_s, 3, Qt::AlignLeft},
                 {u"Кол-во"_s, 1.5, Qt::AlignRight},
                 {u"Сумма"_s, 1.5, Qt::AlignRight}};
    int n = 0;
    for (int g = 1; g <= groups; ++g) {
        r.lines << report::Line{report::LineKind::GroupHeader, {u"Группа №"_s + QString::number(g)}, true};
        for (int d = 0; d < perGroup; ++d, ++n)
            r.lines << report::Line{
                report::LineKind::Detail,
                {detailText(n), u"Сборка"_s, QString::number(n), QString::number(n) + u".50"_s}};
        for (int f = 1; f <= footerLines; ++f)
            r.lines << report::Line{
                report::LineKind::GroupFooter,
                {u"Итого группы "_s + QString::number(g) + u" строка "_s + QString::number(f)},
                true};
    }
    r.lines << report::Line{
        report::LineKind::ReportFooter, {u"Итого:"_s, {}, QString::number(n), u"1.00"_s}, true};
    return r;
}

// The page each line of interest landed on (1-based), from the PDF's text.
int pageOf(const QStringList &pages, const QString &text)
{
    for (int p = 0; p < pages.size(); ++p) {
        if (pages[p].contains(text))
            return p + 1;
    }
    return 0;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void pages_data();
    void pages();
    void groupsAreNotTornApart();
    void previewShowsThePagesOfThePdf();
    void previewSavesPdfAndWorkbook();
    void unwritablePdfFails();
    void workbook();

private:
    QString pdfPath(const QString &name) const { return m_dir.filePath(name + u".pdf"_s); }

    QTemporaryDir m_dir;
    test::ScriptedMessages m_messages;
    RecordingOpener m_opener;
};

void TestReport::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    ExcelWriter::setFileOpener(&m_opener);
}

void TestReport::init()
{
    m_messages.clear();
    m_opener.opened.clear();
    report::setPdfPathChooser({});
}

void TestReport::pages_data()
{
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("perGroup");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QString>("pageHeader");
    QTest::addColumn<bool>("captionsOnEveryPage");
    QTest::addColumn<QString>("pageSize");

    QTest::newRow("one page") << 2 << 3 << QPageLayout::Portrait << QString() << true << u"595 x 842"_s;
    QTest::newRow("many pages") << 30 << 9 << QPageLayout::Portrait << QString() << true << u"595 x 842"_s;
    QTest::newRow("landscape with a page header")
        << 30 << 9 << QPageLayout::Landscape << u"Декабрь 2024 г."_s << true << u"842 x 595"_s;
    QTest::newRow("captions only on the first page")
        << 30 << 9 << QPageLayout::Portrait << u"Декабрь 2024 г."_s << false << u"595 x 842"_s;
}

void TestReport::pages()
{
    QFETCH(int, groups);
    QFETCH(int, perGroup);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QString, pageHeader);
    QFETCH(bool, captionsOnEveryPage);
    QFETCH(QString, pageSize);

    report::Report r = sampleReport(groups, perGroup);
    r.orientation = orientation;
    r.pageHeader = pageHeader;
    r.captionsOnEveryPage = captionsOnEveryPage;
    const QString path = pdfPath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'));
    QVERIFY(report::writePdf(r, path));

    QCOMPARE(test::pdfPageSize(path), pageSize);
    const QStringList pages = test::pdfPages(path);
    const int count = test::pdfPageCount(path);
    QCOMPARE(pages.size(), count);
    if (groups * perGroup > 100)
        QVERIFY(count > 2);

    for (int p = 1; p <= count; ++p) {
        const QString &page = pages[p - 1];
        const QStringList lines = test::squeezedLines(page);
        QVERIFY2(!lines.isEmpty(), "blank page");
        // Numbered at the foot, on the right.
        const QString number = u"Страница "_s + QString::number(p) + u" из "_s + QString::number(count);
        QCOMPARE(lines.last(), number);
        // Its right end is the right edge of the widest line of the page.
        const QStringList raw = page.split(u'\n');
        qsizetype widest = 0, footEnd = 0;
        for (const QString &line : raw) {
            const qsizetype end = line.trimmed().isEmpty() ? 0 : line.lastIndexOf(line.trimmed().back()) + 1;
            widest = std::max(widest, end);
            if (line.contains(u"Страница"_s))
                footEnd = end;
        }
        QVERIFY2(footEnd >= widest - 2, qPrintable(page));
        // The title once, the page header and the captions as asked.
        QCOMPARE(page.contains(u"Проверочный отчет за период с 01.12.2024 по 01.01.2025"_s), p == 1);
        if (!pageHeader.isEmpty())
            QVERIFY2(lines.contains(pageHeader), qPrintable(page));
        const bool captions = lines.contains(u"Изделие Операция Кол-во Сумма"_s);
        QCOMPARE(captions, p == 1 || captionsOnEveryPage);
    }
    // Every line printed whole, once, in order.
    int lastPage = 1;
    for (int i = 0; i < groups * perGroup; ++i) {
        const QString whole =
            detailText(i) + u" Сборка "_s + QString::number(i) + u' ' + QString::number(i) + u".50"_s;
        int found = 0, page = 0;
        for (int p = 0; p < pages.size(); ++p) {
            if (test::squeezedLines(pages[p]).contains(whole)) {
                ++found;
                page = p + 1;
            }
        }
        QVERIFY2(found == 1, qPrintable(whole));
        QVERIFY(page >= lastPage);
        lastPage = page;
    }
    QVERIFY(test::squeezedLines(pages.last())
                .contains(u"Итого: "_s + QString::number(groups * perGroup) + u" 1.00"_s));
}

void TestReport::groupsAreNotTornApart()
{
    // Odd group lengths put headers and footers at every height of a page.
    report::Report r;
    r.title = u"Группы"_s;
    r.columns = {{u"Текст"_s, 1, Qt::AlignLeft}};
    for (int g = 1; g <= 60; ++g) {
        r.lines << report::Line{report::LineKind::GroupHeader, {u"Заголовок "_s + QString::number(g)}, true};
        r.lines << report::Line{
            report::LineKind::GroupHeader, {u"Подзаголовок "_s + QString::number(g)}, true};
        for (int d = 0; d < g % 7 + 1; ++d)
            r.lines << report::Line{report::LineKind::Detail, {u"строка "_s + QString::number(g)}};
        for (int f = 1; f <= 5; ++f)
            r.lines << report::Line{report::LineKind::GroupFooter,
                                    {u"Подвал "_s + QString::number(g) + u'.' + QString::number(f)},
                                    true};
    }
    const QString path = pdfPath(u"groups"_s);
    QVERIFY(report::writePdf(r, path));
    const QStringList pages = test::pdfPages(path);
    QVERIFY(pages.size() > 3);
    for (int g = 1; g <= 60; ++g) {
        const QString n = QString::number(g);
        const int header = pageOf(pages, u"Заголовок "_s + n + u'\n');
        QVERIFY(header > 0);
        QCOMPARE(pageOf(pages, u"Подзаголовок "_s + n + u'\n'), header);
        QCOMPARE(pageOf(pages, u"строка "_s + n + u'\n'), header);
        const int footer = pageOf(pages, u"Подвал "_s + n + u".1"_s);
        for (int f = 2; f <= 5; ++f)
            QCOMPARE(pageOf(pages, u"Подвал "_s + n + u'.' + QString::number(f)), footer);
    }
}

void TestReport::previewShowsThePagesOfThePdf()
{
    const report::Report r = sampleReport(30, 9);
    const QString path = pdfPath(u"preview"_s);
    QVERIFY(report::writePdf(r, path));

    QPrinter printer;
    QPrintPreviewWidget preview(&printer);
    int painted = 0;
    connect(&preview, &QPrintPreviewWidget::paintRequested, this,
            [&](QPrinter *p) { painted = report::print(r, *p); });
    preview.updatePreview();
    QCOMPARE(preview.pageCount(), test::pdfPageCount(path));
    QCOMPARE(painted, preview.pageCount());
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
}

void TestReport::previewSavesPdfAndWorkbook()
{
    report::Report r = sampleReport(20, 9);
    r.orientation = QPageLayout::Landscape;
    QWidget parent;
    auto *dialog = qobject_cast<report::PreviewDialog *>(report::createPreview(r, &parent));
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), u"reportPreview"_s);
    QVERIFY(dialog->pageCount() > 1);
    // Pages are drawn the way round the report asks, and not blank.
    const QImage first = dialog->pageImage(1);
    QVERIFY(first.width() > first.height());
    QVERIFY(first.convertToFormat(QImage::Format_Grayscale8) !=
            QImage(first.size(), QImage::Format_Grayscale8));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->showPage(3);
    QCOMPARE(dialog->currentPage(), 3);
    QCOMPARE(dialog->findChild<QLabel *>(u"pageLabel"_s)->text().trimmed(),
             u"Страница 3 из "_s + QString::number(dialog->pageCount()));

    auto *savePdf = dialog->findChild<QAction *>(u"savePdf"_s);
    auto *saveXlsx = dialog->findChild<QAction *>(u"saveXlsx"_s);
    QVERIFY(savePdf && saveXlsx);
    QCOMPARE(savePdf->text(), u"Сохранить в PDF"_s);

    // Cancelled: nothing written.
    QString suggested;
    report::setPdfPathChooser([&](QWidget *, const QString &name) {
        suggested = name;
        return QString();
    });
    savePdf->trigger();
    QVERIFY(suggested.endsWith(u"Проверочный отчет за период с 01.12.2024 по 01.01.2025.pdf"_s));
    QVERIFY(!QFileInfo::exists(suggested));

    const QString path = pdfPath(u"saved from preview"_s);
    report::setPdfPathChooser([&](QWidget *, const QString &) { return path; });
    savePdf->trigger();
    QCOMPARE(test::pdfPageCount(path), dialog->pageCount());
    QCOMPARE(test::pdfPageSize(path), u"842 x 595"_s);
    QVERIFY(m_messages.shown.isEmpty());

    saveXlsx->trigger();
    QCOMPARE(m_opener.opened.size(), 1);
    QVERIFY(QFileInfo(m_opener.opened.first()).fileName().startsWith(u"Проверочный отчет"_s));
}

void TestReport::unwritablePdfFails()
{
    const report::Report r = sampleReport(1, 1);
    QVERIFY(!report::writePdf(r, m_dir.filePath(u"missing/folder/report.pdf"_s)));

    // From the preview the user is told.
    QWidget parent;
    QDialog *dialog = report::createPreview(r, &parent);
    report::setPdfPathChooser([&](QWidget *, const QString &) { return m_dir.filePath(u"missing/r.pdf"_s); });
    dialog->findChild<QAction *>(u"savePdf"_s)->trigger();
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().caption, u"Ошибка"_s);
}

void TestReport::workbook()
{
    report::Report r;
    r.title = u"   Отчет за период"_s;
    r.pageHeader = u"Декабрь 2024 г."_s;
    r.columns = {
        {u"Изделие"_s, 3, Qt::AlignLeft}, {u"Код"_s, 1, Qt::AlignLeft}, {u"Сумма"_s, 1, Qt::AlignRight}};
    r.lines << report::Line{report::LineKind::GroupHeader,
                            {u"Очень длинное название группы, которое не должно расширять столбец"_s},
                            true};
    r.lines << report::Line{report::LineKind::Detail, {u"Кронштейн"_s, u"007"_s, u"1000.00"_s}};
    r.lines << report::Line{report::LineKind::GroupFooter, {u"Итого:"_s, {}, u"833.33"_s}, true};

    ExcelWriter writer;
    writer.setOutputFolder(m_dir.filePath(u"books"_s));
    QCOMPARE(report::exportXlsx(r, writer), 1);
    QCOMPARE(m_opener.opened.size(), 1);
    const auto book = test::XlsxBook::read(QString::fromUtf8(KORDEL_PYTHON),
                                           QString::fromUtf8(KORDEL_READXLSX), m_opener.opened.first());
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));

    QCOMPARE(book.text(1, 1), u"Отчет за период"_s);
    QVERIFY(book.cell(1, 1).bold);
    QCOMPARE(book.text(2, 1), u"Декабрь 2024 г."_s);
    QCOMPARE(book.text(3, 3), u"Сумма"_s);
    QVERIFY(book.cell(3, 3).bold);
    QCOMPARE(book.text(4, 1), u"Очень длинное название группы, которое не должно расширять столбец"_s);
    QCOMPARE(book.text(5, 2), u"007"_s);
    QCOMPARE(book.cell(5, 2).type, u"string"_s);
    QCOMPARE(book.cell(5, 3).type, u"number"_s);
    QCOMPARE(book.cell(5, 3).value.toDouble(), 1000.0);
    QVERIFY(!book.cell(5, 1).bold);
    QCOMPARE(book.cell(6, 3).value.toDouble(), 833.33);
    QVERIFY(book.cell(6, 1).bold);
    QVERIFY(book.widths.value(u"1"_s).toDouble() < 20);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
