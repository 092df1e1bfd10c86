#pragma once

#include "brigade/distributionstore.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QCheckBox;

namespace kordel {

class DataGrid;
class ReferencePicks;

// The refusal of a reference row or a list without hours.
extern const QString kNoHoursToDivide;

// Takes a chosen reference row into the distribution list; false when it
// could not, and the pick window then stays open.
using AddReference = std::function<bool(const ReferenceRow &)>;

// "Выбор операции (134)": what every worker earned in the journal on the
// date and shift, per operation kind or per worker.
class OperationPickWindow : public QDialog
{
    Q_OBJECT

public:
    OperationPickWindow(ReferencePicks &picks, QWidget *parent = nullptr);

    void pick(int shift, const QDate &date, AddReference add);
    void choose(); // "Выбрать", double-click

private:
    void showOperations(bool byOperation); // "Отобразить операции"

    ReferencePicks &m_picks;
    AddReference m_add;
    int m_shift = 1;
    QDate m_date;
    QCheckBox *m_byOperation = nullptr; // CheckBox1
    DataGrid *m_grid = nullptr;         // DBGrid2
};

// "Среднесдельная (135)": the day's household records of every kind.
class AveragePickWindow : public QDialog
{
    Q_OBJECT

public:
    AveragePickWindow(ReferencePicks &picks, QWidget *parent = nullptr);

    void pick(const QDate &date, AddReference add);
    void choose(); // "Выбрать", double-click

private:
    ReferencePicks &m_picks;
    AddReference m_add;
    DataGrid *m_grid = nullptr; // DBGrid1
};

} // namespace kordel
