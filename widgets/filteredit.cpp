#include "widgets/filteredit.h"

#include "db/dataset.h"

#include <QKeyEvent>

namespace kordel {

FilterEdit::FilterEdit(Keys keys, QWidget *parent) : QLineEdit(parent), m_keys(keys) {}

void FilterEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        if (m_dataset)
            m_dataset->prior();
        event->accept();
        return;
    case Qt::Key_Down:
        if (m_dataset)
            m_dataset->next();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    // Only typed characters reach the field; editing and moving keys do not.
    if (m_keys == Keys::ConsumeKeyDown && (event->text().isEmpty() || !event->text().front().isPrint())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace kordel
