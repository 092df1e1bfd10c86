#pragma once

#include "widgets/datasetmodel.h"

#include <QTableView>

namespace kordel {

class Dataset;

// A read-only grid over a dataset: whole-row selection that stays visible
// without focus, and the selected row kept in step with the dataset's
// current record both ways.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QList<GridColumn> columns, QWidget *parent = nullptr);

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_model->dataset(); }
    DatasetModel *datasetModel() const { return m_model; }
    // Visual row of the dataset's current record, -1 when none.
    int currentDatasetRow() const;

Q_SIGNALS:
    void rowDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void followDataset(int recNo);
    void applyColumns();

    DatasetModel *m_model;
    QMetaObject::Connection m_currentConnection;
    bool m_syncing = false;
    bool m_sized = false;
};

} // namespace kordel
