#pragma once

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace kordel {

// Hands a saved workbook to the user. Tests install a double so that no
// program is started.
class FileOpener
{
public:
    virtual ~FileOpener() = default;

    // True when a program was started for the file.
    virtual bool open(const QString &path) = 0;
};

// Opens the file with the desktop's default program for .xlsx files.  A
// launcher that starts is not yet a file shown: the desktop must name a
// program for the workbook type (`xdg-mime query default`), and the
// launcher (`xdg-open`) must report success.
class DesktopFileOpener : public FileOpener
{
public:
    explicit DesktopFileOpener(QString mimeTool = QStringLiteral("xdg-mime"),
                               QString launcher = QStringLiteral("xdg-open"));
    bool open(const QString &path) override;

    static const QString workbookType; // the MIME type of .xlsx files

private:
    QString m_mimeTool;
    QString m_launcher;
};

// Writes the exports of the client into an .xlsx workbook.
//
// Every export follows the same protocol: open() with an empty file name,
// optionally setVisible(false), write the cells, then setVisible(true), which
// saves the workbook into the user's documents folder and opens it for the
// user. Results are 1 when done and -1 when failed; the writer has already
// told the user why.
class ExcelWriter
{
public:
    explicit ExcelWriter(QWidget *parent = nullptr);
    ~ExcelWriter();
    ExcelWriter(const ExcelWriter &) = delete;
    ExcelWriter &operator=(const ExcelWriter &) = delete;

    // Starts a new workbook with one sheet; an unsaved workbook of an earlier
    // export is dropped. Existing workbooks cannot be edited: a non-empty
    // file name fails.
    int open(const QString &fileName);
    // false does nothing. true saves the workbook under a new name and opens
    // it; the workbook is finished afterwards. Without a workbook: nothing.
    int setVisible(bool visible);

    // The value only. A plain number text is written as a number.  Every
    // column of the saved sheet is as wide as its widest text.
    int writeCell(int sheet, int column, int row, const QString &text);
    // The value with the text format "@" (always a string) and the bold flag,
    // which is always set, true or false.  Auto-fit is what every column gets
    // anyway.
    int writeFormattedCell(int sheet, int column, int row, const QString &text, bool textFormat, bool autoFit,
                           bool bold);
    // A bold or plain text that runs on over the empty cells beside it (a
    // title, a group name): written as a formatted cell, but it leaves its
    // column as wide as the column's other texts make it.
    int writeSpanningCell(int sheet, int column, int row, const QString &text, bool bold);

    // First part of the saved file's name, e.g. "Цены".
    void setExportName(const QString &name);
    QString exportName() const { return m_exportName; }
    // Where workbooks are saved; defaultOutputFolder() until set.
    void setOutputFolder(const QString &folder);
    QString outputFolder() const;
    // Time stamp of the saved file's name; an invalid time (the default)
    // means the time of saving.
    void setSaveTime(const QDateTime &time) { m_saveTime = time; }

    // "Табель" in the user's documents folder.
    static QString defaultOutputFolder();

    // Replaces the opener of saved workbooks; nullptr brings back the desktop.
    static void setFileOpener(FileOpener *opener);
    static FileOpener &fileOpener();

private:
    struct Book;

    int write(int sheet, int column, int row, const QString &text, bool formatted, bool textFormat, bool bold,
              bool widens = true);
    int save();
    QString moveToOutputFolder(const QString &file) const;
    void reportWriteError(int sheet, int column, int row, const QString &caption) const;
    void reportOpenError() const;

    QPointer<QWidget> m_parent;
    std::unique_ptr<Book> m_book;
    QString m_exportName;
    QString m_outputFolder;
    QDateTime m_saveTime;
};

} // namespace kordel
