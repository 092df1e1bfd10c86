#include "timesheets/monthchoosers.h"

#include "db/dataset.h"
#include "widgets/datagrid.h"

#include <QHeaderView>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace kordel {

QComboBox *makeMonthChooser(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(u"ComboBox1"_s);
    box->setEditable(false);
    box->addItems(monthNames());
    box->setCurrentIndex(0);
    return box;
}

YearLookup::YearLookup(QWidget *parent) : QComboBox(parent)
{
    setObjectName(u"cb_year"_s);
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_year = itemData(index).toInt();
        Q_EMIT yearChosen(m_year);
    });
}

void YearLookup::reload(const QString &connectionName)
{
    Dataset years(connectionName, u"q_year"_s,
                  u"select distinct ht.year from accounts_dep.h_tabel ht order by year"_s);
    years.open();
    const QSignalBlocker blocker(this);
    clear();
    for (int row = 0; row < years.recordCount(); ++row) {
        const int y = years.valueAt(row, u"year"_s).toInt();
        addItem(QString::number(y), y);
    }
    setYear(m_year);
}

void YearLookup::setYear(int year)
{
    m_year = year;
    const QSignalBlocker blocker(this);
    setCurrentIndex(findData(year)); // -1, no text, for a year without rows
}

DayColumns::DayColumns(DataGrid *grid, int leading, DayMarking variant)
    : m_grid(grid), m_leading(leading), m_variant(variant)
{}

int DayColumns::dayOf(int gridColumn) const
{
    const int day = gridColumn - m_leading + 1;
    return day >= 1 && day <= 31 ? day : 0;
}

QVariant DayColumns::cellForeground(int gridColumn) const
{
    const int day = dayOf(gridColumn);
    if (!m_marked || day == 0)
        return {};
    if (m_period.isPastEnd(day))
        return m_grid->palette().color(QPalette::Base);
    if (m_period.isWeekend(day))
        return QColor(Qt::red);
    return {};
}

QVariant DayColumns::titleForeground(int gridColumn) const
{
    const int day = dayOf(gridColumn);
    if (!m_marked || day == 0)
        return {};
    if (m_period.isPastEnd(day))
        return QColor(0xC0, 0xC0, 0xC0); // silver
    if (m_period.isWeekend(day))
        return QColor(Qt::red);
    return {};
}

void DayColumns::mark(const MonthPeriod &period)
{
    m_period = period;
    m_marked = true;
    if (m_variant == DayMarking::Piecework) {
        int hidden = 0;
        for (int day = 1; day <= 31; ++day) {
            const int column = m_leading + day - 1;
            const bool past = period.isPastEnd(day);
            // Only columns hidden now widen the name column, as each month
            // change adds its own width while the window stays open.
            if (past && !m_grid->isColumnHidden(column))
                ++hidden;
            m_grid->setColumnHidden(column, past);
        }
        if (hidden > 0)
            m_grid->setColumnWidth(0, m_grid->columnWidth(0) + 20 * hidden);
    }
    DatasetModel *model = m_grid->datasetModel();
    model->setHeaderStyler([this](int section, int role) -> QVariant {
        return role == Qt::ForegroundRole ? titleForeground(section) : QVariant();
    });
    model->restyle();
}

} // namespace kordel
