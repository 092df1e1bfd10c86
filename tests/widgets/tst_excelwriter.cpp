#include "scriptedmessages.h"
#include "widgets/excelwriter.h"
#include "widgets/messages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
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
        opened.append(path);
        return succeeds;
    }

    QStringList opened;
    bool succeeds = true;
};

const QString openError = u"Ошибка открытия файла Microsoft Excel."_s;
const QString sheetCaption = u"Ошибочный номер листа Microsoft Excel"_s;
const QString cellCaption = u"Ошибка Microsoft Excel"_s;

} // namespace

class TestExcelWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void values_data();
    void values();
    void emptyTextWritesNothing();
    void writeErrors_data();
    void writeErrors();
    void lastCellOfTheSheet();
    void openExistingFileFails();
    void lifecycle();
    void savedFilesAreNeverOverwritten();
    void openerFailureStillSaves();
    void desktopOpenerChecksHandlerAndLauncher_data();
    void desktopOpenerChecksHandlerAndLauncher();
    void failedSaveReportsError();
    void autoFitWidths();
    void manyCellsAreWritten();

private:
    // Saves through setVisible(true) and reads the saved file back.
    void saveAndRead(ExcelWriter &writer, QJsonObject *book);
    void read(const QString &path, QJsonObject *book);
    void expectOneMessage(const QString &text, const QString &caption, MessageIcon icon);

    test::ScriptedMessages m_messages;
    RecordingOpener m_opener;
    QTemporaryDir m_root;
    QString m_folder;
    int m_run = 0;
};

void TestExcelWriter::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_root.isValid());
    QVERIFY2(QFileInfo(QString::fromUtf8(KORDEL_READXLSX)).isFile(), KORDEL_READXLSX);
    MessageService::install(&m_messages);
    ExcelWriter::setFileOpener(&m_opener);
}

void TestExcelWriter::cleanupTestCase()
{
    ExcelWriter::setFileOpener(nullptr);
    MessageService::install(nullptr);
}

void TestExcelWriter::init()
{
    m_messages.shown.clear();
    m_opener.opened.clear();
    m_opener.succeeds = true;
    m_folder = m_root.filePath(QString::number(++m_run));
}

void TestExcelWriter::read(const QString &path, QJsonObject *book)
{
    QProcess reader;
    reader.start(QString::fromUtf8(KORDEL_PYTHON), {QString::fromUtf8(KORDEL_READXLSX), path});
    QVERIFY2(reader.waitForFinished(30000), "the reader did not finish");
    QVERIFY2(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0,
             reader.readAllStandardError().constData());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reader.readAllStandardOutput(), &error);
    QVERIFY2(document.isObject(), qPrintable(error.errorString()));
    *book = document.object();
}

void TestExcelWriter::saveAndRead(ExcelWriter &writer, QJsonObject *book)
{
    writer.setOutputFolder(m_folder);
    QCOMPARE(writer.setVisible(true), 1);
    QCOMPARE(m_opener.opened.size(), 1);
    read(m_opener.opened.constFirst(), book);
}

void TestExcelWriter::expectOneMessage(const QString &text, const QString &caption, MessageIcon icon)
{
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.constFirst().text, text);
    QCOMPARE(m_messages.shown.constFirst().caption, caption);
    QCOMPARE(m_messages.shown.constFirst().icon, icon);
}

void TestExcelWriter::values_data()
{
    QTest::addColumn<bool>("formatted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("textFormat");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("numberFormat");

    // Value-only writes: plain number texts become numbers, the rest stays text.
    const auto plain = [](const char *tag, const QString &text, const QString &type, const QVariant &value) {
        QTest::newRow(tag) << false << text << false << false << type << value << u"General"_s;
    };
    plain("integer", u"123"_s, u"number"_s, 123.0);
    plain("zero", u"0"_s, u"number"_s, 0.0);
    plain("fraction below one", u"0.5"_s, u"number"_s, 0.5);
    plain("negative with comma", u"-4,5"_s, u"number"_s, -4.5);
    plain("plus sign", u"+2.25"_s, u"number"_s, 2.25);
    plain("fifteen digits", u"123456789012345"_s, u"number"_s, 123456789012345.0);
    plain("sixteen digits stay text", u"1234567890123456"_s, u"string"_s, u"1234567890123456"_s);
    plain("leading zero", u"007"_s, u"string"_s, u"007"_s);
    plain("two separators", u"1.2.3"_s, u"string"_s, u"1.2.3"_s);
    plain("exponent", u"1e5"_s, u"string"_s, u"1e5"_s);
    plain("trailing separator", u"5."_s, u"string"_s, u"5."_s);
    plain("leading separator", u",5"_s, u"string"_s, u",5"_s);
    plain("thousands blank", u"1 000"_s, u"string"_s, u"1 000"_s);
    plain("sign only", u"-"_s, u"string"_s, u"-"_s);
    plain("arabic-indic digits", u"١٢"_s, u"string"_s, u"١٢"_s);
    plain("cyrillic", u"Готовая продукция"_s, u"string"_s, u"Готовая продукция"_s);

    // Formatted writes: "@" keeps the text as typed; bold is always set.
    QTest::newRow("text format keeps leading zero")
        << true << u"007"_s << true << false << u"string"_s << QVariant(u"007"_s) << u"@"_s;
    QTest::newRow("text format keeps a number as text")
        << true << u"12,5"_s << true << false << u"string"_s << QVariant(u"12,5"_s) << u"@"_s;
    QTest::newRow("text format and bold")
        << true << u"Цех №1"_s << true << true << u"string"_s << QVariant(u"Цех №1"_s) << u"@"_s;
    QTest::newRow("bold number") << true << u"42"_s << false << true << u"number"_s << QVariant(42.0)
                                 << u"General"_s;
    QTest::newRow("not bold") << true << u"Итого"_s << false << false << u"string"_s << QVariant(u"Итого"_s)
                              << u"General"_s;
}

void TestExcelWriter::values()
{
    QFETCH(bool, formatted);
    QFETCH(QString, text);
    QFETCH(bool, textFormat);
    QFETCH(bool, bold);
    QFETCH(QString, type);
    QFETCH(QVariant, value);
    QFETCH(QString, numberFormat);

    ExcelWriter writer;
    QCOMPARE(writer.open(QString()), 1);
    // Column 2 of row 3 is B3: checks that column and row are not swapped.
    const int result = formatted ? writer.writeFormattedCell(1, 2, 3, text, textFormat, false, bold)
                                 : writer.writeCell(1, 2, 3, text);
    QCOMPARE(result, 1);
    QJsonObject book;
    saveAndRead(writer, &book);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(m_messages.shown.size(), 0);
    QCOMPARE(book.value("sheets"_L1).toArray().size(), 1);
    const QJsonArray cells = book.value("cells"_L1).toArray();
    QCOMPARE(cells.size(), 1);
    const QJsonObject cell = cells.at(0).toObject();
    QCOMPARE(cell.value("row"_L1).toInt(), 3);
    QCOMPARE(cell.value("column"_L1).toInt(), 2);
    QCOMPARE(cell.value("type"_L1).toString(), type);
    if (type == "number"_L1)
        QCOMPARE(cell.value("value"_L1).toDouble(), value.toDouble());
    else
        QCOMPARE(cell.value("value"_L1).toString(), value.toString());
    QCOMPARE(cell.value("format"_L1).toString(), numberFormat);
    QCOMPARE(cell.value("bold"_L1).toBool(), bold);
}

void TestExcelWriter::emptyTextWritesNothing()
{
    ExcelWriter writer;
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.writeFormattedCell(1, 2, 2, QString(), true, true, true), 1);
    QCOMPARE(writer.writeFormattedCell(1, 3, 3, u""_s, false, true, false), 1);
    QCOMPARE(writer.writeCell(1, 4, 4, QString()), 1);
    // The empty text is looked at before the position: no message either.
    QCOMPARE(writer.writeFormattedCell(2, 0, 0, QString(), true, true, true), 1);
    QCOMPARE(writer.writeCell(1, 1, 1, u"x"_s), 1);

    QJsonObject book;
    saveAndRead(writer, &book);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_messages.shown.size(), 0);
    const QJsonArray cells = book.value("cells"_L1).toArray();
    QCOMPARE(cells.size(), 1);
    QCOMPARE(cells.at(0).toObject().value("row"_L1).toInt(), 1);
    QCOMPARE(cells.at(0).toObject().value("column"_L1).toInt(), 1);
    // Empty texts widen nothing: only the written column has a width.
    QCOMPARE(book.value("widths"_L1).toObject().keys(), QStringList({u"1"_s}));
}

void TestExcelWriter::writeErrors_data()
{
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("formatted");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");

    const QString x = u"x"_s;
    QTest::newRow("second sheet") << true << false << 2 << 5 << 3 << x
                                  << u"Ошибка при записи: лист 2, столбец 5, строка 3"_s << sheetCaption;
    QTest::newRow("sheet 0, formatted")
        << true << true << 0 << 1 << 1 << x << u"Ошибка при записи: лист 0, столбец 1, строка 1"_s
        << sheetCaption;
    QTest::newRow("column 0") << true << false << 1 << 0 << 7 << x
                              << u"Ошибка при записи: лист 1, столбец 0, строка 7"_s << cellCaption;
    QTest::newRow("past the last column, formatted")
        << true << true << 1 << 16385 << 2 << x << u"Ошибка при записи: лист 1, столбец 16385, строка 2"_s
        << cellCaption;
    QTest::newRow("row 0, formatted") << true << true << 1 << 4 << 0 << x
                                      << u"Ошибка при записи: лист 1, столбец 4, строка 0"_s << cellCaption;
    QTest::newRow("past the last row")
        << true << false << 1 << 1 << 1048577 << x
        << u"Ошибка при записи: лист 1, столбец 1, строка 1048577"_s << cellCaption;
    QTest::newRow("negative column") << true << false << 1 << -1 << 1 << x
                                     << u"Ошибка при записи: лист 1, столбец -1, строка 1"_s << cellCaption;
    QTest::newRow("before open") << false << false << 1 << 5 << 3 << x
                                 << u"Ошибка при записи: лист 1, столбец 5, строка 3"_s << cellCaption;
    QTest::newRow("before open, formatted")
        << false << true << 1 << 5 << 3 << x << u"Ошибка при записи: лист 1, столбец 5, строка 3"_s
        << cellCaption;
    // A cell holds at most 32767 characters: refused by the library itself.
    QTest::newRow("text too long") << true << true << 1 << 2 << 9 << QString(32768, u'я')
                                   << u"Ошибка при записи: лист 1, столбец 2, строка 9"_s << cellCaption;
}

void TestExcelWriter::writeErrors()
{
    QFETCH(bool, opened);
    QFETCH(bool, formatted);
    QFETCH(int, sheet);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, caption);

    ExcelWriter writer;
    if (opened)
        QCOMPARE(writer.open(QString()), 1);
    const int result = formatted ? writer.writeFormattedCell(sheet, column, row, text, true, true, true)
                                 : writer.writeCell(sheet, column, row, text);
    QCOMPARE(result, -1);
    expectOneMessage(message, caption, MessageIcon::Error);
}

void TestExcelWriter::lastCellOfTheSheet()
{
    ExcelWriter writer;
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.writeFormattedCell(1, 16384, 1048576, u"угол"_s, false, false, true), 1);
    QJsonObject book;
    saveAndRead(writer, &book);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_messages.shown.size(), 0);
    const QJsonArray cells = book.value("cells"_L1).toArray();
    QCOMPARE(cells.size(), 1);
    QCOMPARE(cells.at(0).toObject().value("row"_L1).toInt(), 1048576);
    QCOMPARE(cells.at(0).toObject().value("column"_L1).toInt(), 16384);
    QCOMPARE(cells.at(0).toObject().value("value"_L1).toString(), u"угол"_s);
}

void TestExcelWriter::openExistingFileFails()
{
    const QString existing = m_root.filePath(u"есть.xlsx"_s);
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    ExcelWriter writer;
    // A failed open also ends the workbook the writer had.
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.open(existing), -1);
    expectOneMessage(openError, u"Ошибка"_s, MessageIcon::Error);
    m_messages.shown.clear();
    QCOMPARE(writer.writeCell(1, 1, 1, u"x"_s), -1);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(writer.setVisible(true), 1);
    QVERIFY(m_opener.opened.isEmpty());
}

void TestExcelWriter::lifecycle()
{
    ExcelWriter writer;
    writer.setOutputFolder(m_folder);

    // Without a workbook visibility changes nothing.
    QCOMPARE(writer.setVisible(true), 1);
    QCOMPARE(writer.setVisible(false), 1);
    QVERIFY(m_opener.opened.isEmpty());
    QVERIFY(!QFileInfo::exists(m_folder));

    // A second open starts afresh: the unsaved first workbook is dropped.
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.writeCell(1, 1, 1, u"старое"_s), 1);
    QCOMPARE(writer.open(QString()), 1);

    // Hiding while writing neither saves nor ends the workbook.
    QCOMPARE(writer.setVisible(false), 1);
    QVERIFY(m_opener.opened.isEmpty());
    QVERIFY(!QFileInfo::exists(m_folder));
    QCOMPARE(writer.writeCell(1, 2, 2, u"новое"_s), 1);

    QJsonObject book;
    saveAndRead(writer, &book);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_messages.shown.size(), 0);
    const QJsonArray cells = book.value("cells"_L1).toArray();
    QCOMPARE(cells.size(), 1);
    QCOMPARE(cells.at(0).toObject().value("value"_L1).toString(), u"новое"_s);

    // After the save the workbook is finished.
    QCOMPARE(writer.setVisible(true), 1);
    QCOMPARE(m_opener.opened.size(), 1);
    QCOMPARE(writer.writeCell(1, 3, 3, u"поздно"_s), -1);
    expectOneMessage(u"Ошибка при записи: лист 1, столбец 3, строка 3"_s, cellCaption, MessageIcon::Error);
}

void TestExcelWriter::savedFilesAreNeverOverwritten()
{
    // A folder that does not exist yet is created.
    const QString folder = m_folder + u"/Документы/Табель"_s;
    const QDateTime time(QDate(2026, 12, 11), QTime(14, 5, 9));
    const QString first = folder + u"/Цены 2026-12-11 14-05-09.xlsx"_s;
    QVERIFY(QDir().mkpath(folder));
    {
        QFile file(first);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("занято");
    }

    for (const QString &value : {u"1"_s, u"2"_s}) {
        ExcelWriter writer;
        writer.setOutputFolder(folder);
        writer.setExportName(u"Цены"_s);
        writer.setSaveTime(time);
        QCOMPARE(writer.open(QString()), 1);
        QCOMPARE(writer.writeCell(1, 1, 1, value), 1);
        QCOMPARE(writer.setVisible(true), 1);
    }
    QCOMPARE(m_messages.shown.size(), 0);
    QCOMPARE(m_opener.opened, QStringList({folder + u"/Цены 2026-12-11 14-05-09 (2).xlsx"_s,
                                           folder + u"/Цены 2026-12-11 14-05-09 (3).xlsx"_s}));
    {
        QFile file(first);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("занято"));
    }
    QJsonObject book;
    read(m_opener.opened.at(1), &book);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(book.value("cells"_L1).toArray().at(0).toObject().value("value"_L1).toDouble(), 2.0);
}

void TestExcelWriter::openerFailureStillSaves()
{
    m_opener.succeeds = false;
    ExcelWriter writer;
    writer.setOutputFolder(m_folder);
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.writeCell(1, 1, 1, u"Марка"_s), 1);
    QCOMPARE(writer.setVisible(true), 1);

    QCOMPARE(m_opener.opened.size(), 1);
    const QString path = m_opener.opened.constFirst();
    QVERIFY(path.startsWith(m_folder + u'/'));
    QVERIFY(QFileInfo(path).isFile());
    expectOneMessage(u"Файл сохранён: "_s + QDir::toNativeSeparators(path), u"Excel"_s,
                     MessageIcon::Information);
    QJsonObject book;
    read(path, &book);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(book.value("cells"_L1).toArray().at(0).toObject().value("value"_L1).toString(), u"Марка"_s);
}

void TestExcelWriter::desktopOpenerChecksHandlerAndLauncher_data()
{
    QTest::addColumn<QString>("handler"); // what the type query prints
    QTest::addColumn<int>("queryStatus");
    QTest::addColumn<int>("launcherStatus");
    QTest::addColumn<bool>("launched");
    QTest::addColumn<bool>("opened");
    QTest::newRow("opened") << u"libreoffice-calc.desktop"_s << 0 << 0 << true << true;
    QTest::newRow("no program for workbooks") << QString() << 0 << 0 << false << false;
    QTest::newRow("type query fails") << u"x.desktop"_s << 1 << 0 << false << false;
    QTest::newRow("launcher finds no method") << u"libreoffice-calc.desktop"_s << 0 << 3 << true << false;
    QTest::newRow("no desktop tools") << u"-"_s << 0 << 0 << false << false;
}

// The desktop opener counts a workbook as shown only when a program is
// registered for it and the launcher succeeded; otherwise the user is told
// where the file is.
void TestExcelWriter::desktopOpenerChecksHandlerAndLauncher()
{
    QFETCH(QString, handler);
    QFETCH(int, queryStatus);
    QFETCH(int, launcherStatus);
    QFETCH(bool, launched);
    QFETCH(bool, opened);
    const QString tools = m_root.filePath(u"tools-"_s + QString::number(++m_run));
    QVERIFY(QDir().mkpath(tools));
    const QString launchedFile = tools + u"/launched"_s;
    const auto script = [&](const QString &name, const QString &body) {
        QFile file(tools + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\n" + body.toUtf8() + "\n"));
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    script(u"mime"_s, u"[ \"$1 $2 $3\" = \"query default %1\" ] || exit 9\n"
                      "printf '%2'\nexit %3"_s.arg(DesktopFileOpener::workbookType, handler)
                          .arg(queryStatus));
    script(u"open"_s, u"printf '%s' \"$1\" > '%1'\nexit %2"_s.arg(launchedFile).arg(launcherStatus));
    const QString mimeTool = handler == u"-"_s ? tools + u"/missing"_s : tools + u"/mime"_s;
    DesktopFileOpener opener(mimeTool, tools + u"/open"_s);

    ExcelWriter::setFileOpener(&opener);
    const auto restore = qScopeGuard([this] { ExcelWriter::setFileOpener(&m_opener); });
    ExcelWriter writer;
    writer.setOutputFolder(m_folder);
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.writeCell(1, 1, 1, u"Марка"_s), 1);
    QCOMPARE(writer.setVisible(true), 1);

    QCOMPARE(QFileInfo::exists(launchedFile), launched);
    QString path;
    if (launched) {
        QFile file(launchedFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        path = QString::fromUtf8(file.readAll());
        QVERIFY(path.startsWith(m_folder + u'/'));
        QVERIFY(QFileInfo(path).isFile());
    }
    if (opened) {
        QVERIFY(m_messages.shown.isEmpty());
    } else {
        QCOMPARE(m_messages.shown.size(), 1);
        const QString text = m_messages.shown.first().text;
        QVERIFY2(text.startsWith(u"Файл сохранён: "_s + QDir::toNativeSeparators(m_folder)),
                 qPrintable(text));
        QVERIFY(text.endsWith(u".xlsx"_s));
        if (launched)
            QCOMPARE(text, u"Файл сохранён: "_s + QDir::toNativeSeparators(path));
    }
}

void TestExcelWriter::failedSaveReportsError()
{
    // A folder below a regular file can never be created.
    QVERIFY(QDir().mkpath(m_folder));
    const QString file = m_folder + u"/файл"_s;
    {
        QFile blocker(file);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    ExcelWriter writer;
    writer.setOutputFolder(file + u"/Табель"_s);
    QCOMPARE(writer.open(QString()), 1);
    QCOMPARE(writer.writeFormattedCell(1, 1, 1, u"Итого"_s, false, true, true), 1);
    QCOMPARE(writer.setVisible(true), -1);
    expectOneMessage(openError, u"Ошибка"_s, MessageIcon::Error);
    QVERIFY(m_opener.opened.isEmpty());
    QCOMPARE(QDir(m_folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({u"файл"_s}));

    m_messages.shown.clear();
    QCOMPARE(writer.writeCell(1, 1, 2, u"x"_s), -1);
    QCOMPARE(m_messages.shown.size(), 1);
}

void TestExcelWriter::autoFitWidths()
{
    ExcelWriter writer;
    QCOMPARE(writer.open(QString()), 1);
    // Column 2: the widest of several Cyrillic texts, counted in characters.
    QCOMPARE(writer.writeFormattedCell(1, 2, 1, u"Иванов"_s, false, true, true), 1);
    QCOMPARE(writer.writeFormattedCell(1, 2, 2, u"Константинопольский"_s, true, true, false), 1);
    QCOMPARE(writer.writeFormattedCell(1, 2, 3, u"Ян"_s, false, true, false), 1);
    // Column 3: a very long text is capped.
    QCOMPARE(writer.writeFormattedCell(1, 3, 1, QString(150, u'ж'), false, true, false), 1);
    // Column 4: no auto-fit asked, the column is fitted all the same, to the
    // widest of a formatted and a plain cell.
    QCOMPARE(writer.writeFormattedCell(1, 4, 1, QString(30, u'ж'), false, false, false), 1);
    QCOMPARE(writer.writeCell(1, 4, 2, QString(40, u'ж')), 1);
    // Column 6: plain cells only, as the price list writes them; a number
    // counts as its text.
    QCOMPARE(writer.writeCell(1, 6, 1, u"Цена"_s), 1);
    QCOMPARE(writer.writeCell(1, 6, 2, u"1234567.25"_s), 1);
    // Column 7: the widest line of a text of several lines.
    QCOMPARE(writer.writeCell(1, 7, 1, u"Итого\nза месяц"_s), 1);
    // Column 5: a number is as wide as its text.
    QCOMPARE(writer.writeFormattedCell(1, 5, 1, u"12345,25"_s, false, true, false), 1);

    QJsonObject book;
    saveAndRead(writer, &book);
    if (QTest::currentTestFailed())
        return;
    const QJsonObject widths = book.value("widths"_L1).toObject();
    QCOMPARE(widths.keys(), QStringList({u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s}));
    // The file stores each width plus the cell padding the library adds.
    for (const auto &[column, expected] :
         {std::pair("2"_L1, 20.0), std::pair("3"_L1, 100.0), std::pair("4"_L1, 41.0), std::pair("5"_L1, 9.0),
          std::pair("6"_L1, 11.0), std::pair("7"_L1, 9.0)}) {
        const double width = widths.value(column).toDouble();
        QVERIFY2(width >= expected && width < expected + 1,
                 qPrintable(u"column %1 is %2 wide"_s.arg(column).arg(width)));
    }
}

void TestExcelWriter::manyCellsAreWritten()
{
    constexpr int rows = 3000;
    constexpr int columns = 40;
    const QString name = u"Сидоров Пётр Иванович"_s;
    const QString amount = u"12345,67"_s;
    const QString code = u"0042"_s;

    ExcelWriter writer;
    writer.setOutputFolder(m_folder);
    QCOMPARE(writer.open(QString()), 1);
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            const QString &text = column == 1 ? name : column == 2 ? code : amount;
            writer.writeFormattedCell(1, column, row, text, column == 2, true, row == 1);
        }
    }
    QCOMPARE(writer.setVisible(true), 1);

    // Speed is measured by the benchmark; here only that a big sheet is
    // written whole.
    QCOMPARE(m_messages.shown.size(), 0);
    QCOMPARE(m_opener.opened.size(), 1);
    QVERIFY(QFileInfo(m_opener.opened.constFirst()).size() > 0);
}

QTEST_MAIN(TestExcelWriter)
#include "tst_excelwriter.moc"
