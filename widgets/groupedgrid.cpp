#include "widgets/groupedgrid.h"

#include <QFont>
#include <QHeaderView>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace kordel {

GroupedModel::GroupedModel(Grouping grouping, QObject *parent)
    : QAbstractProxyModel(parent), m_grouping(std::move(grouping))
{}

void GroupedModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        auto reset = [this] {
            beginResetModel();
            regroup();
            endResetModel();
        };
        m_connections << connect(source, &QAbstractItemModel::modelReset, this, reset)
                      << connect(source, &QAbstractItemModel::rowsInserted, this, reset)
                      << connect(source, &QAbstractItemModel::rowsRemoved, this, reset)
                      << connect(source, &QAbstractItemModel::layoutChanged, this, reset)
                      << connect(source, &QAbstractItemModel::dataChanged, this,
                                 [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                                     if (roles.isEmpty() || roles.contains(Qt::DisplayRole)) {
                                         beginResetModel();
                                         regroup();
                                         endResetModel();
                                     } else if (!m_rows.isEmpty()) {
                                         Q_EMIT dataChanged(index(0, 0),
                                                            index(rowCount() - 1, columnCount() - 1), roles);
                                     }
                                 })
                      << connect(source, &QAbstractItemModel::headerDataChanged, this,
                                 &QAbstractItemModel::headerDataChanged);
    }
    regroup();
    endResetModel();
}

void GroupedModel::regroup()
{
    m_rows.clear();
    m_groups.clear();
    m_proxyRowOfSource.clear();
    QAbstractItemModel *source = sourceModel();
    if (!source)
        return;
    const int count = source->rowCount();
    QHash<QString, int> groupOf;
    for (int row = 0; row < count; ++row) {
        const QString title = source->index(row, m_grouping.groupColumn).data().toString();
        auto found = groupOf.constFind(title);
        if (found == groupOf.constEnd()) {
            found = groupOf.insert(title, int(m_groups.size()));
            m_groups.append({title, {}, {}});
        }
        Group &group = m_groups[*found];
        group.rows.append(row);
        for (int column : std::as_const(m_grouping.sumColumns)) {
            const QString text = source->index(row, column).data().toString();
            if (const auto value = Decimal::parse(text))
                group.sums[column] = group.sums.value(column) + *value;
        }
    }
    m_proxyRowOfSource.fill(-1, count);
    for (int g = 0; g < m_groups.size(); ++g) {
        m_rows.append({GroupRow, -1, g});
        for (int row : std::as_const(m_groups[g].rows)) {
            m_proxyRowOfSource[row] = int(m_rows.size());
            m_rows.append({DetailRow, row, g});
        }
        m_rows.append({FooterRow, -1, g});
    }
}

GroupedModel::RowKind GroupedModel::rowKind(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].kind : DetailRow;
}

Decimal GroupedModel::groupSum(int group, int column) const
{
    return m_groups.value(group).sums.value(column);
}

QModelIndex GroupedModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex GroupedModel::parent(const QModelIndex &) const
{
    return {};
}

int GroupedModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GroupedModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QModelIndex GroupedModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel() || proxyIndex.row() >= m_rows.size())
        return {};
    const Row &row = m_rows[proxyIndex.row()];
    return row.kind == DetailRow ? sourceModel()->index(row.source, proxyIndex.column()) : QModelIndex();
}

QModelIndex GroupedModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.row() >= m_proxyRowOfSource.size())
        return {};
    return index(m_proxyRowOfSource[sourceIndex.row()], sourceIndex.column());
}

QVariant GroupedModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows[index.row()];
    if (role == RowKindRole)
        return int(row.kind);
    if (row.kind == DetailRow)
        return sourceModel()->data(mapToSource(index), role);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == m_grouping.labelColumn)
            return row.kind == GroupRow ? m_groups[row.group].title : u"ИТОГО:"_s;
        if (row.kind == FooterRow && m_grouping.sumColumns.contains(index.column()))
            return groupSum(row.group, index.column()).toString(2);
        return {};
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::TextAlignmentRole:
        if (row.kind == FooterRow && m_grouping.sumColumns.contains(index.column()))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case Qt::BackgroundRole:
        return row.kind == GroupRow ? QColor(0xDD, 0xE6, 0xF0) : QColor(0xF2, 0xF2, 0xF2);
    default:
        return {};
    }
}

QVariant GroupedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && sourceModel())
        return sourceModel()->headerData(section, orientation, role);
    return QAbstractProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags GroupedModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

GroupedGrid::GroupedGrid(QList<GridColumn> columns, GroupedModel::Grouping grouping, QWidget *parent)
    : QTableView(parent), m_labelColumn(grouping.labelColumn)
{
    const QList<GridColumn> shown = columns;
    m_source = new DatasetModel(std::move(columns), this);
    m_grouped = new GroupedModel(std::move(grouping), this);
    m_grouped->setSourceModel(m_source);
    setModel(m_grouped);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    QFont titles = horizontalHeader()->font();
    titles.setBold(true);
    horizontalHeader()->setFont(titles);
    for (int i = 0; i < shown.size(); ++i)
        setColumnHidden(i, shown[i].hidden);
    connect(m_grouped, &QAbstractItemModel::modelReset, this, [this] {
        spanGroupRows();
        if (!m_sized && m_grouped->rowCount() > 0) {
            m_sized = true;
            resizeColumnsToContents();
        }
    });
}

void GroupedGrid::setDataset(Dataset *dataset)
{
    m_source->setDataset(dataset);
}

void GroupedGrid::spanGroupRows()
{
    clearSpans();
    const int columns = m_grouped->columnCount();
    if (columns <= m_labelColumn + 1)
        return;
    for (int row = 0; row < m_grouped->rowCount(); ++row)
        if (m_grouped->rowKind(row) == GroupedModel::GroupRow)
            setSpan(row, m_labelColumn, 1, columns - m_labelColumn);
}

} // namespace kordel
