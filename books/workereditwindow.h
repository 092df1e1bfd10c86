#pragma once

#include "books/workersstore.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace kordel {

class DataModule;

// The worker card (Form2): name and the three look-ups; the department
// chosen is what the book keeps as the worker's position text.
class WorkerEditWindow : public QDialog
{
    Q_OBJECT

public:
    enum Mode { NewWorker = 1, ChangeWorker = 2 };

    explicit WorkerEditWindow(DataModule &dataModule, QWidget *parent = nullptr);

    // Prepares the card for a new worker: empty name, look-ups read again.
    void prepareNew();
    // Prepares the card for changing a worker.  The department shows the
    // worker's stored position text when it names one; a change with no
    // department chosen keeps the stored text.
    void prepareChange(int workerId, const QString &name, const QString &position);
    Mode mode() const { return m_mode; }
    int workerId() const { return m_workerId; }

    // "Записать": checks the name, writes and closes.
    void save();
    // The text shown in "Подразделение" (empty when nothing is chosen).
    QString departmentText() const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void reloadLookups();
    bool turnFocusedLookup(int angleDelta);

    WorkersStore m_store;
    WorkerLookups m_lookups;
    QLineEdit *m_name = nullptr;
    QComboBox *m_position = nullptr;
    QComboBox *m_department = nullptr;
    QComboBox *m_role = nullptr;
    Mode m_mode = NewWorker;
    int m_workerId = 0;
    QString m_storedPosition;
    int m_wheelRest = 0;
};

} // namespace kordel
