#pragma once

#include "widgets/datasetmodel.h"

#include <QStyledItemDelegate>
#include <QTableView>

namespace kordel {

class Dataset;

// Draws the selected row as a light tint with a frame, so that the colours
// of its cells (the red and green acceptance marks) stay readable.
class SelectionTintDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The options a cell is drawn with: never in the style's selection
    // colours, a selected cell on the tint instead.
    QStyleOptionViewItem cellOption(const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

// A read-only grid over a dataset: whole-row selection that stays visible
// without focus, and the selected row kept in step with the dataset's
// current record both ways.  Columns fit the rows of the dataset shown.
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

    // A grid the user's role may read but not act on: it scrolls and
    // selects, but double-clicks and the context menu do nothing.
    void setActionsRefused(bool refused);
    bool actionsRefused() const { return m_refused; }

    // Width the grid needs to show every visible column without scrolling.
    int fittedWidth() const;

Q_SIGNALS:
    void rowDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followDataset(int recNo);
    void applyColumns();
    void fitColumns(bool exactly);
    void widenWindow();

    DatasetModel *m_model;
    QMetaObject::Connection m_currentConnection;
    bool m_syncing = false;
    bool m_fitted = false; // columns fitted to rows of the dataset shown
    bool m_fitting = false;
    bool m_userResizing = false;
    bool m_userSized = false; // the user dragged a column border: widths are theirs
    bool m_refused = false;
};

} // namespace kordel
