// The printed monthly hours timesheet as "Печать" of the timesheet by shifts
// shows it: the preview opened from the window, saved as a PDF and read back
// with poppler's tools.

#include "guitest.h"
#include "pdftext.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "timesheets/shiftsheetwindow.h"
#include "widgets/report.h"
#include "widgets/reportpreview.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kordel;

namespace {

const QString golden = QStringLiteral(KORDEL_SOURCE_DIR "/tests/timesheets/golden/hourssheet-april.txt");

struct Printed
{
    QString pdf;
    QString suggested; // the file name the preview offered
    int previewPages = 0;
    bool secondPageDrawn = false;
};

} // namespace

class HoursSheetPrintTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(m_db.create(), qPrintable(m_db.error()));
        QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
        QVERIFY(m_dir.isValid());
    }
    void cleanupTestCase() { report::setPdfPathChooser({}); }
    void cleanup()
    {
        // KORDEL_KEEP_PDF=<folder> keeps the printed files to look at.
        const QString keep = qEnvironmentVariable("KORDEL_KEEP_PDF");
        if (!keep.isEmpty() && !m_lastPdf.isEmpty())
            QFile::copy(m_lastPdf, keep + u'/' + QFileInfo(m_lastPdf).fileName());
    }

    void init()
    {
        m_db.exec(u"delete from accounts_dep.h_tabel"_s);
        m_messages.clear();
    }

    // A small month against the stored text of its page: the period, the
    // ruled header, every worker's hours summed over his shifts and kinds
    // under their day numbers, the totals and the page number.
    void smallMonthMatchesGolden()
    {
        m_month = 4;
        m_year = 2025;
        const int ivanov = m_db.addWorker(u"Иванов И.И."_s);
        const int onil = m_db.addWorker(u"О'Нил П.П."_s);
        const int long_ = m_db.addWorker(u"Константинопольский К.К."_s);
        row(ivanov, 1, 0, {{1, 8}, {2, 4}, {15, 12}});
        row(ivanov, 4, 0, {{1, 2}});
        row(ivanov, 0, 7777, {{2, 1}});
        row(onil, 2, 0, {{10, 8}, {30, 10}});
        row(long_, 3, 0, {{1, 7}, {29, 8}});
        row(long_, 1, 0, {{1, 0}}); // 0 hours in another shift add nothing

        const Printed printed = print(3, 2025);
        QCOMPARE(test::pdfPageCount(printed.pdf), 1);
        QCOMPARE(printed.previewPages, 1);
        QCOMPARE(test::pdfPageSize(printed.pdf), u"842 x 595"_s);
        QCOMPARE(printed.suggested, u"Табель Апрель 2025.pdf"_s);
        const QStringList pages = test::pdfPages(printed.pdf);
        QCOMPARE(pages.size(), 1);

        // Rewrite the stored page with KORDEL_UPDATE_GOLDEN=1 after a
        // deliberate change of the layout, and read it before committing.
        if (qEnvironmentVariableIsSet("KORDEL_UPDATE_GOLDEN")) {
            QFile out(golden);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(pages.first().toUtf8());
        }
        QFile in(golden);
        QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(golden));
        const QString expected = QString::fromUtf8(in.readAll());
        if (pages.first() != expected) {
            qWarning("%s", qPrintable(pages.first()));
            QCOMPARE(pages.first().split(u'\n'), expected.split(u'\n'));
        }

        // The same facts independent of the stored page's spacing.
        const QStringList lines = test::squeezedLines(pages.first());
        QVERIFY(lines.size() >= 5);
        QCOMPARE(lines.at(0), u"Апрель 2025 г."_s);
        QCOMPARE(lines.at(1), dayNumbers());
        QCOMPARE(lines.mid(2, 3),
                 (QStringList{u"Иванов И.И. 10 5 12 27"_s, u"Константинопольский К.К. 7 8 15"_s,
                              u"О'Нил П.П. 8 10 18"_s}));
        QCOMPARE(lines.last(), u"Страница 1 из 1"_s);
    }

    // Enough workers for two pages: each page repeats the period and the
    // day numbers and numbers itself; every worker is printed once, whole.
    void headerOnEveryPage()
    {
        m_month = 12;
        m_year = 2025;
        const int workers = 60;
        QStringList expected;
        for (int i = 1; i <= workers; ++i) {
            const QString fio = u"Работник %1 Р.Р."_s.arg(QString::number(i).rightJustified(3, u'0'));
            const int worker = m_db.addWorker(fio);
            const int first = i % 12 + 1;
            row(worker, 1 + i % 3, 0, {{1, first}, {31, 8}});
            expected << u"%1 %2 8 %3"_s.arg(fio).arg(first).arg(first + 8);
        }

        const Printed printed = print(11, 2025);
        const int pageCount = test::pdfPageCount(printed.pdf);
        QVERIFY2(pageCount >= 2, qPrintable(QString::number(pageCount)));
        QCOMPARE(printed.previewPages, pageCount);
        QVERIFY(printed.secondPageDrawn);
        const QStringList pages = test::pdfPages(printed.pdf);
        QCOMPARE(pages.size(), pageCount);

        QStringList found;
        for (int p = 0; p < pages.size(); ++p) {
            const QStringList lines = test::squeezedLines(pages[p]);
            QVERIFY(lines.size() > 3);
            QCOMPARE(lines.at(0), u"Декабрь 2025 г."_s);
            QCOMPARE(lines.at(1), dayNumbers());
            QCOMPARE(lines.last(), u"Страница %1 из %2"_s.arg(p + 1).arg(pageCount));
            found << lines.mid(2, lines.size() - 3);
        }
        QCOMPARE(found, expected);
    }

private:
    // One hours row of the month under test, days given as (day, hours).
    void row(int worker, int shift, int kind, const QList<QPair<int, int>> &days)
    {
        QStringList columns{u"w_id"_s, u"smena"_s, u"i_type"_s, u"month"_s, u"year"_s};
        QStringList values{u":w"_s, u":s"_s, u":k"_s, u":m"_s, u":y"_s};
        Params params{{u"w"_s, worker}, {u"s"_s, shift}, {u"k"_s, kind}, {u"m"_s, m_month}, {u"y"_s, m_year}};
        for (const auto &[day, hours] : days) {
            columns << u"d"_s + QString::number(day);
            values << u":d"_s + QString::number(day);
            params.insert(u"d"_s + QString::number(day), hours);
        }
        m_db.exec(u"insert into accounts_dep.h_tabel("_s + columns.join(u", "_s) + u") values ("_s +
                      values.join(u", "_s) + u')',
                  params);
    }

    // "Печать" of the window on the month, the preview saved as a PDF from
    // its own tool bar.
    Printed print(int monthIndex, int year)
    {
        Printed printed;
        printed.pdf = m_dir.filePath(u"hours-%1-%2.pdf"_s.arg(year).arg(monthIndex + 1));
        report::setPdfPathChooser([&](QWidget *, const QString &suggested) {
            printed.suggested = QFileInfo(suggested).fileName();
            return printed.pdf;
        });
        ShiftSheetWindow window(m_db.data());
        window.choose(monthIndex, year);
        test::onModal(u"reportPreview"_s, [&](QDialog *dialog) {
            auto *preview = qobject_cast<report::PreviewDialog *>(dialog);
            QVERIFY(preview);
            printed.previewPages = preview->pageCount();
            if (preview->pageCount() > 1) {
                const QImage page = preview->pageImage(2).convertToFormat(QImage::Format_Grayscale8);
                QImage blank(page.size(), QImage::Format_Grayscale8);
                blank.fill(Qt::white);
                printed.secondPageDrawn = page != blank;
            }
            auto *save = preview->findChild<QAction *>(u"savePdf"_s);
            QVERIFY(save);
            save->trigger();
        });
        test::button(&window, u"Button6"_s)->click();
        report::setPdfPathChooser({});
        m_lastPdf = printed.pdf;
        return printed;
    }

    static QString dayNumbers()
    {
        QStringList numbers;
        for (int day = 1; day <= 31; ++day)
            numbers << QString::number(day);
        return numbers.join(u' ') + u" Итого"_s;
    }

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    QTemporaryDir m_dir;
    QString m_lastPdf;
    int m_month = 0;
    int m_year = 0;
};

QTEST_MAIN(HoursSheetPrintTest)
#include "tst_hourssheetprint.moc"
