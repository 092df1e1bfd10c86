#pragma once

// A saved workbook read back by openpyxl (readxlsx.py), independently of
// the writer, as {"row,column": cell} for the checks.

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

namespace kordel::test {

struct XlsxCell
{
    QJsonValue value;
    QString type; // "number" or "string"
    bool bold = false;
};

class XlsxBook
{
public:
    // Empty with an error text when the file cannot be read.
    static XlsxBook read(const QString &python, const QString &script, const QString &path)
    {
        XlsxBook book;
        QProcess reader;
        reader.start(python, {script, path});
        if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
            book.error = QString::fromUtf8(reader.readAllStandardError());
            return book;
        }
        const QJsonObject root = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        for (const QJsonValue &item : root.value(QStringLiteral("cells")).toArray()) {
            const QJsonObject cell = item.toObject();
            book.cells.insert(
                key(cell.value(QStringLiteral("row")).toInt(), cell.value(QStringLiteral("column")).toInt()),
                XlsxCell{cell.value(QStringLiteral("value")), cell.value(QStringLiteral("type")).toString(),
                         cell.value(QStringLiteral("bold")).toBool()});
        }
        book.widths = root.value(QStringLiteral("widths")).toObject();
        return book;
    }

    XlsxCell cell(int row, int column) const { return cells.value(key(row, column)); }
    QString text(int row, int column) const
    {
        const QJsonValue value = cell(row, column).value;
        return value.isDouble() ? QString::number(value.toDouble(), 'g', 15) : value.toString();
    }
    int lastRow() const
    {
        int last = 0;
        for (auto it = cells.begin(); it != cells.end(); ++it)
            last = std::max(last, it.key().section(QChar(u','), 0, 0).toInt());
        return last;
    }

    QHash<QString, XlsxCell> cells;
    QJsonObject widths;
    QString error;

private:
    static QString key(int row, int column)
    {
        return QString::number(row) + QChar(u',') + QString::number(column);
    }
};

} // namespace kordel::test
