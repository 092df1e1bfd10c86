#include "widgets/excelwriter.h"

#include "widgets/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>
#include <vector>
#include <xlsxwriter.h>

using namespace Qt::StringLiterals;

namespace kordel {

namespace {

FileOpener *installedOpener = nullptr;

constexpr int maxColumnWidth = 100;
// Excel shows 15 significant digits; longer digit strings (codes, account
// numbers) would be changed by the conversion, so they stay text.
constexpr int maxSignificantDigits = 15;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The callers hand numbers over as text: an optional sign, digits without
// leading zeros, and one decimal point or comma. Only such texts become
// numbers, so that sums stay summable while "007" or "1.2.3" stay as typed.
std::optional<double> plainNumber(QStringView text)
{
    char ascii[32];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof ascii))
        return std::nullopt;

    qsizetype i = 0;
    int length = 0;
    if (text[0] == u'+' || text[0] == u'-') {
        if (text[0] == u'-')
            ascii[length++] = '-';
        ++i;
    }
    const qsizetype integerStart = i;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i)
        ascii[length++] = char(text[i].unicode());
    const qsizetype integerDigits = i - integerStart;
    if (integerDigits == 0 || (integerDigits > 1 && text[integerStart] == u'0'))
        return std::nullopt;

    if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
        ascii[length++] = '.';
        const qsizetype fractionStart = ++i;
        for (; i < text.size() && isAsciiDigit(text[i]); ++i)
            ascii[length++] = char(text[i].unicode());
        if (i == fractionStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    int significant = 0;
    for (int k = 0; k < length; ++k) {
        if (ascii[k] >= '1' && ascii[k] <= '9')
            significant = significant ? significant + 1 : 1;
        else if (ascii[k] == '0' && significant)
            ++significant;
    }
    if (significant > maxSignificantDigits)
        return std::nullopt;

    double value = 0;
    const auto result = std::from_chars(ascii, ascii + length, value);
    if (result.ec != std::errc() || result.ptr != ascii + length)
        return std::nullopt;
    return value;
}

// Width of a text in characters: its longest line.
int textWidth(QStringView text)
{
    int widest = 0;
    for (const QStringView line : text.tokenize(u'\n'))
        widest = std::max(widest, int(line.size()));
    return widest;
}

} // namespace

const QString DesktopFileOpener::workbookType =
    u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"_s;

DesktopFileOpener::DesktopFileOpener(QString mimeTool, QString launcher)
    : m_mimeTool(std::move(mimeTool)), m_launcher(std::move(launcher))
{}

bool DesktopFileOpener::open(const QString &path)
{
    // Without a program for workbooks the launcher fails ("no method
    // available"), sometimes only after showing nothing at all.
    QProcess query;
    query.start(m_mimeTool, {u"query"_s, u"default"_s, workbookType});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return false;
    if (QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed().isEmpty())
        return false;

    auto *launcher = new QProcess;
    launcher->start(m_launcher, {path});
    if (!launcher->waitForStarted(5000)) {
        delete launcher;
        return false;
    }
    // The launcher hands the file over and ends; one still running after a
    // while is the program itself, showing the file: it is left to run.
    if (!launcher->waitForFinished(5000)) {
        QObject::connect(launcher, &QProcess::finished, launcher, &QObject::deleteLater);
        return true;
    }
    const bool opened = launcher->exitStatus() == QProcess::NormalExit && launcher->exitCode() == 0;
    delete launcher;
    return opened;
}

// One workbook being written. libxlsxwriter writes the file only when the
// workbook is closed, so it goes into a private temporary folder first and is
// moved to its final name when saved.
struct ExcelWriter::Book
{
    QTemporaryDir folder;
    QString file;
    lxw_workbook *workbook = nullptr;
    lxw_worksheet *sheet = nullptr;
    // Indexed by textFormat * 2 + bold.
    lxw_format *formats[4] = {};
    // Widest text per column, 0 for columns without any.
    std::vector<int> widths;
    QStringEncoder encoder{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    QByteArray utf8;

    ~Book()
    {
        // Dropped without saving: free it without writing a file.
        if (workbook)
            lxw_workbook_free(workbook);
    }

    lxw_format *format(bool textFormat, bool bold)
    {
        lxw_format *&format = formats[int(textFormat) * 2 + int(bold)];
        if (!format) {
            format = workbook_add_format(workbook);
            if (format && textFormat)
                format_set_num_format_index(format, 49); // built-in "@"
            if (format && bold)
                format_set_bold(format);
        }
        return format;
    }

    // The text as a zero-terminated UTF-8 string, valid until the next call.
    const char *toUtf8(const QString &text)
    {
        utf8.resize(encoder.requiredSpace(text.size()) + 1);
        char *end = encoder.appendToBuffer(utf8.data(), text);
        *end = '\0';
        return utf8.constData();
    }

    void fit(lxw_col_t column, const QString &text)
    {
        if (widths.size() <= column)
            widths.resize(column + 1, 0);
        widths[column] = std::max(widths[column], textWidth(text));
    }

    void applyWidths()
    {
        for (lxw_col_t column = 0; column < widths.size(); ++column) {
            if (widths[column] > 0) {
                const double width = std::min(widths[column] + 1, maxColumnWidth);
                worksheet_set_column(sheet, column, column, width, nullptr);
            }
        }
    }
};

ExcelWriter::ExcelWriter(QWidget *parent) : m_parent(parent), m_exportName(u"Книга"_s) {}

ExcelWriter::~ExcelWriter() = default;

int ExcelWriter::open(const QString &fileName)
{
    m_book.reset();
    // There is no spreadsheet program to open an existing workbook with.
    if (!fileName.isEmpty()) {
        reportOpenError();
        return -1;
    }

    auto book = std::make_unique<Book>();
    if (book->folder.isValid()) {
        book->file = book->folder.filePath(u"book.xlsx"_s);
        book->workbook = workbook_new(QFile::encodeName(book->file).constData());
    }
    if (book->workbook)
        book->sheet = workbook_add_worksheet(book->workbook, "Лист1");
    if (!book->sheet) {
        reportOpenError();
        return -1;
    }
    m_book = std::move(book);
    return 1;
}

int ExcelWriter::setVisible(bool visible)
{
    // Hiding served to keep the spreadsheet program from redrawing while
    // writing; a file being written has nothing to hide.
    if (!visible || !m_book)
        return 1;
    return save();
}

int ExcelWriter::writeCell(int sheet, int column, int row, const QString &text)
{
    return write(sheet, column, row, text, false, false, false);
}

int ExcelWriter::writeFormattedCell(int sheet, int column, int row, const QString &text, bool textFormat,
                                    bool autoFit, bool bold)
{
    Q_UNUSED(autoFit); // every column is fitted at save
    return write(sheet, column, row, text, true, textFormat, bold);
}

int ExcelWriter::writeSpanningCell(int sheet, int column, int row, const QString &text, bool bold)
{
    return write(sheet, column, row, text, true, false, bold, false);
}

int ExcelWriter::write(int sheet, int column, int row, const QString &text, bool formatted, bool textFormat,
                       bool bold, bool widens)
{
    if (text.isEmpty())
        return 1;
    if (sheet != 1) {
        reportWriteError(sheet, column, row, u"Ошибочный номер листа Microsoft Excel"_s);
        return -1;
    }
    if (!m_book || column < 1 || column > LXW_COL_MAX || row < 1 || row > LXW_ROW_MAX) {
        reportWriteError(sheet, column, row, u"Ошибка Microsoft Excel"_s);
        return -1;
    }

    const auto cellRow = lxw_row_t(row - 1);
    const auto cellColumn = lxw_col_t(column - 1);
    lxw_format *format = formatted ? m_book->format(textFormat, bold) : nullptr;
    lxw_error error = LXW_NO_ERROR;
    if (formatted && !format) {
        error = LXW_ERROR_MEMORY_MALLOC_FAILED;
    } else if (const auto number = textFormat ? std::nullopt : plainNumber(text)) {
        error = worksheet_write_number(m_book->sheet, cellRow, cellColumn, *number, format);
    } else {
        error = worksheet_write_string(m_book->sheet, cellRow, cellColumn, m_book->toUtf8(text), format);
    }
    if (error != LXW_NO_ERROR) {
        reportWriteError(sheet, column, row, u"Ошибка Microsoft Excel"_s);
        return -1;
    }

    // Every column is fitted to its widest text when saved, whether the cell
    // asked for it or not: a clerk reads the sheet in a program that would
    // otherwise cut names to the default width.
    if (widens)
        m_book->fit(cellColumn, text);
    return 1;
}

int ExcelWriter::save()
{
    // Whatever happens, this workbook is finished.
    const std::unique_ptr<Book> book = std::move(m_book);
    book->applyWidths();
    // workbook_close() frees the workbook even when it fails.
    const lxw_error error = workbook_close(std::exchange(book->workbook, nullptr));
    const QString saved = error == LXW_NO_ERROR ? moveToOutputFolder(book->file) : QString();
    if (saved.isEmpty()) {
        reportOpenError();
        return -1;
    }

    if (!fileOpener().open(saved)) {
        // No program to show it (no desktop session): the user still gets the file.
        MessageService::current().inform(m_parent, u"Файл сохранён: "_s + QDir::toNativeSeparators(saved),
                                         u"Excel"_s, MessageIcon::Information);
    }
    return 1;
}

// Moves the written file to "<export name> <date time>.xlsx" in the output
// folder, adding " (2)", " (3)" rather than replacing a file the user already
// has. Returns the new path, or an empty string when the file could not be
// placed there.
QString ExcelWriter::moveToOutputFolder(const QString &file) const
{
    const QString folder = outputFolder();
    if (!QDir().mkpath(folder))
        return {};
    const QDateTime time = m_saveTime.isValid() ? m_saveTime : QDateTime::currentDateTime();
    const QString stem = folder + u'/' + m_exportName + u' ' + time.toString(u"yyyy-MM-dd HH-mm-ss"_s);

    for (int copy = 1; copy < 1000; ++copy) {
        const QString candidate = copy == 1 ? QString(stem + u".xlsx"_s)
                                            : QString(stem + u" ("_s + QString::number(copy) + u").xlsx"_s);
        if (QFileInfo::exists(candidate))
            continue;
        // rename() never replaces an existing file.
        if (QFile::rename(file, candidate))
            return candidate;
        if (!QFileInfo::exists(candidate))
            return {};
        // Another export took the name in the meantime: try the next one.
    }
    return {};
}

void ExcelWriter::reportWriteError(int sheet, int column, int row, const QString &caption) const
{
    const QString text = u"Ошибка при записи: лист "_s + QString::number(sheet) + u", столбец "_s +
                         QString::number(column) + u", строка "_s + QString::number(row);
    MessageService::current().inform(m_parent, text, caption, MessageIcon::Error);
}

void ExcelWriter::reportOpenError() const
{
    messages::error(m_parent, u"Ошибка открытия файла Microsoft Excel."_s);
}

void ExcelWriter::setExportName(const QString &name)
{
    // The name becomes part of a file name.
    m_exportName = name;
    for (QChar &c : m_exportName) {
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
            c == u'>' || c == u'|')
            c = u'_';
    }
}

void ExcelWriter::setOutputFolder(const QString &folder)
{
    m_outputFolder = folder;
}

QString ExcelWriter::outputFolder() const
{
    return m_outputFolder.isEmpty() ? defaultOutputFolder() : m_outputFolder;
}

QString ExcelWriter::defaultOutputFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents + u"/Табель"_s;
}

void ExcelWriter::setFileOpener(FileOpener *opener)
{
    installedOpener = opener;
}

FileOpener &ExcelWriter::fileOpener()
{
    static DesktopFileOpener desktop;
    return installedOpener ? *installedOpener : desktop;
}

} // namespace kordel
