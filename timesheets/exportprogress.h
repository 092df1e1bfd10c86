#pragma once

#include "widgets/datasetmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QString>

namespace kordel {

// The "Excel (n из ...)" caption of an export button while the rows are
// written.  Drawn at most every 50 ms, so that drawing does not slow the
// export down; the last count is always shown.
class ExportProgress
{
public:
    ExportProgress(QPushButton *button, QString ofText) : m_button(button), m_of(std::move(ofText))
    {
        m_button->setText(QStringLiteral("Excel (0") + m_of);
        m_clock.start();
    }

    void rowsWritten(int count, bool last)
    {
        if (!last && m_clock.elapsed() < 50)
            return;
        m_button->setText(QStringLiteral("Excel (") + QString::number(count) + m_of);
        // The caption is drawn; the user's input waits for the export.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.restart();
    }

private:
    QPushButton *m_button;
    QString m_of;
    QElapsedTimer m_clock;
};

// A field's text as the sheets write it: whole numbers as they are, decimals
// without trailing zeros, nothing for an empty value.
inline QString sheetCellText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return QString::number(value.toLongLong());
    case QMetaType::QString:
        // Whole numbers arrive as their digits already.
        if (!value.toString().contains(u'.'))
            return value.toString();
        return formats::number(value);
    default:
        return formats::number(value);
    }
}

} // namespace kordel
