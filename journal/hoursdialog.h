#pragma once

#include "journal/entrystore.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kordel {

class DataModule;

// "Отработано (34)" (Form34): new hours for a hanging distribution row of the
// journal.  "Готово" writes them and recomputes the worker's day; the row's
// price stays as it is.
class HoursDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HoursDialog(DataModule &dataModule, QWidget *parent = nullptr);

    // Shows the row's hours; true when new hours were written.
    bool edit(int rowId, int workerId, int hours);
    // The worker of the row being changed.
    int workerId() const { return m_workerId; }

    // "Готово"
    void confirm();

private:
    EntryStore m_store;
    QLineEdit *m_hours = nullptr;
    int m_rowId = 0;
    int m_workerId = 0;
};

} // namespace kordel
