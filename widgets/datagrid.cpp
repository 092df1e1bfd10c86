#include "widgets/datagrid.h"

#include "db/dataset.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace kordel {

DataGrid::DataGrid(QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent), m_model(new DatasetModel(std::move(columns), this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    // The selected row stays marked while another control has the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing || !dataset() || !current.isValid())
                    return;
                m_syncing = true;
                dataset()->setRecNo(current.row() + 1);
                m_syncing = false;
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // Columns take the width of the first rows shown; the user may
        // change them afterwards.
        if (!m_sized && m_model->rowCount() > 0) {
            m_sized = true;
            resizeColumnsToContents();
        }
        if (dataset())
            followDataset(dataset()->recNo());
    });
    applyColumns();
}

void DataGrid::setDataset(Dataset *dataset)
{
    disconnect(m_currentConnection);
    m_model->setDataset(dataset);
    if (dataset) {
        m_currentConnection = connect(dataset, &Dataset::currentChanged, this, &DataGrid::followDataset);
        followDataset(dataset->recNo());
    }
}

int DataGrid::currentDatasetRow() const
{
    return dataset() ? dataset()->recNo() - 1 : -1;
}

void DataGrid::followDataset(int recNo)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (recNo > 0) {
        const QModelIndex index = m_model->index(recNo - 1, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    m_syncing = false;
}

void DataGrid::applyColumns()
{
    const auto &columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i)
        setColumnHidden(i, columns[i].hidden);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT rowDoubleClicked();
}

} // namespace kordel
