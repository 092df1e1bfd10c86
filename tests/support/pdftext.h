#pragma once

// Reading a written PDF back with poppler's tools, independently of the Qt
// code that wrote it.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace kordel::test {

// The text of every page as `pdftotext -layout` lays it out.
inline QStringList pdfPages(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QChar(u'\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The page count `pdfinfo` reports, -1 when it cannot read the file.
inline int pdfPageCount(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return -1;
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// "595 x 842" for A4 portrait, as pdfinfo gives the page size in points.
inline QString pdfPageSize(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const auto match = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)"))
                           .match(QString::fromUtf8(process.readAllStandardOutput()));
    if (!match.hasMatch())
        return {};
    return QString::number(qRound(match.captured(1).toDouble())) + QStringLiteral(" x ") +
           QString::number(qRound(match.captured(2).toDouble()));
}

// The lines of a page's text with the layout's blanks squeezed to one.
inline QStringList squeezedLines(const QString &page)
{
    QStringList lines;
    for (const QString &line : page.split(QChar(u'\n'))) {
        const QString simple = line.simplified();
        if (!simple.isEmpty())
            lines << simple;
    }
    return lines;
}

} // namespace kordel::test
