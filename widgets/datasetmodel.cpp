#include "widgets/datasetmodel.h"

#include "db/dataset.h"
#include "db/decimal.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

constexpr Qt::Alignment kDefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;

// Digits after the point that the value needs: 2 for 31.20, 0 for 40.
int decimalsNeeded(const QVariant &value)
{
    if (value.isNull())
        return 0;
    const QString text = Decimal::fromVariant(value).toString();
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}

bool isNumberFormat(const GridColumn &column)
{
    using Format = QString (*)(const QVariant &);
    const Format *format = column.format.target<Format>();
    return column.minDecimals >= 0 || (format && (*format == &formats::money || *format == &formats::number));
}

} // namespace

DatasetModel::DatasetModel(QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{}

void DatasetModel::setDataset(Dataset *dataset)
{
    beginResetModel();
    disconnect(m_resetConnection);
    m_dataset = dataset;
    if (dataset) {
        m_resetConnection = connect(dataset, &Dataset::rowsReset, this, [this] {
            beginResetModel();
            measureDecimals();
            endResetModel();
        });
    }
    measureDecimals();
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

void DatasetModel::measureDecimals()
{
    m_decimals.fill(-1, m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].minDecimals < 0)
            continue;
        int decimals = m_columns[c].minDecimals;
        const int rows = rowCount();
        for (int row = 0; row < rows; ++row)
            decimals = std::max(decimals, decimalsNeeded(m_dataset->valueAt(row, m_columns[c].field)));
        m_decimals[c] = decimals;
    }
}

bool DatasetModel::isNumeric(const GridColumn &column, const QVariant &value) const
{
    if (isNumberFormat(column))
        return true;
    switch (value.metaType().id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
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
        return dt.time() == QTime(0, 0) ? dt.toString(u"dd.MM.yyyy"_s)
                                        : dt.toString(u"dd.MM.yyyy hh:mm:ss"_s);
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
        if (const int decimals = m_decimals.value(index.column(), -1); decimals >= 0)
            return value.isNull() ? QString() : Decimal::fromVariant(value).toString(decimals);
        return column.format ? column.format(value) : defaultText(value);
    }
    case Qt::TextAlignmentRole:
        if (column.alignment == kDefaultAlignment &&
            isNumeric(column, m_dataset->valueAt(index.row(), column.field)))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
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
