#include "widgets/datasetmodel.h"

#include "db/dataset.h"
#include "db/decimal.h"

#include <QDate>
#include <QDateTime>

using namespace Qt::StringLiterals;

namespace kordel {

DatasetModel::DatasetModel(QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{
}

void DatasetModel::setDataset(Dataset *dataset)
{
    beginResetModel();
    disconnect(m_resetConnection);
    m_dataset = dataset;
    if (dataset) {
        m_resetConnection = connect(dataset, &Dataset::rowsReset, this, [this] {
            beginResetModel();
            endResetModel();
        });
    }
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataset ? 0 : m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DatasetModel::defaultText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(u"dd.MM.yyyy"_s);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(u"dd.MM.yyyy"_s) : dt.toString(u"dd.MM.yyyy hh:mm:ss"_s);
    }
    default:
        return value.toString();
    }
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_dataset || !index.isValid() || index.row() >= m_dataset->recordCount())
        return {};
    const GridColumn &column = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant value = m_dataset->valueAt(index.row(), column.field);
        return column.format ? column.format(value) : defaultText(value);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    case Qt::FontRole:
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
        return m_styler ? m_styler(*m_dataset, index.row(), column, role) : QVariant();
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (m_headerStyler && (role == Qt::FontRole || role == Qt::ForegroundRole))
        return m_headerStyler(section, role);
    return {};
}

void DatasetModel::restyle()
{
    if (const int columns = columnCount(); columns > 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns - 1);
        if (const int rows = rowCount(); rows > 0)
            Q_EMIT dataChanged(index(0, 0), index(rows - 1, columns - 1),
                               {Qt::FontRole, Qt::ForegroundRole, Qt::BackgroundRole});
    }
}

namespace formats {

QString money(const QVariant &value)
{
    return value.isNull() ? QString() : Decimal::fromVariant(value).toString(2);
}

QString number(const QVariant &value)
{
    return value.isNull() ? QString() : Decimal::fromVariant(value).toString();
}

} // namespace formats
} // namespace kordel
