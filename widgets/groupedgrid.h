#pragma once

#include "db/decimal.h"
#include "widgets/datasetmodel.h"

#include <QAbstractProxyModel>
#include <QHash>
#include <QList>
#include <QTableView>

namespace kordel {

// The rows of a table grouped by one column: before each group a row naming
// it, after it a footer row with "ИТОГО:" and the group's exact decimal sums
// of the stated columns.  Groups follow the order in which their first row
// comes; the rows keep their order within a group.  Read-only.
class GroupedModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    enum RowKind { DetailRow, GroupRow, FooterRow };
    // RowKind of a row, for views and tests.
    static constexpr int RowKindRole = Qt::UserRole + 100;

    struct Grouping
    {
        int groupColumn = 0;   // whose text makes the group
        int labelColumn = 1;   // where the group's title and "ИТОГО:" stand
        QList<int> sumColumns; // summed in the footers
    };

    explicit GroupedModel(Grouping grouping, QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;

    RowKind rowKind(int row) const;
    int groupCount() const { return int(m_groups.size()); }
    QString groupTitle(int group) const { return m_groups.value(group).title; }
    // The group's sum of a summed column; zero for an empty group.
    Decimal groupSum(int group, int column) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Row
    {
        RowKind kind;
        int source; // the source row of a detail row
        int group;
    };
    struct Group
    {
        QString title;
        QList<int> rows;
        QHash<int, Decimal> sums;
    };
    void regroup();

    Grouping m_grouping;
    QList<Row> m_rows;
    QList<Group> m_groups;
    QList<int> m_proxyRowOfSource;
    QList<QMetaObject::Connection> m_connections;
};

// A read-only grid over a dataset whose rows are grouped: group rows span
// the row and stand out, footer rows are bold, selection takes whole rows.
class GroupedGrid : public QTableView
{
    Q_OBJECT

public:
    GroupedGrid(QList<GridColumn> columns, GroupedModel::Grouping grouping, QWidget *parent = nullptr);

    void setDataset(Dataset *dataset);
    DatasetModel *datasetModel() const { return m_source; }
    GroupedModel *groupedModel() const { return m_grouped; }

private:
    void spanGroupRows();

    DatasetModel *m_source;
    GroupedModel *m_grouped;
    int m_labelColumn;
    bool m_sized = false;
};

} // namespace kordel
