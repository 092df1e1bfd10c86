#pragma once

#include "db/dataset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <functional>

namespace kordel {

class Dataset;

// One grid column over a dataset field.
struct GridColumn
{
    QString field;
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool hidden = false;
    // Display text of a value; the default shows dates as dd.MM.yyyy.
    std::function<QString(const QVariant &)> format = {};
    // Prices and amounts: every row of the column shows as many decimals as
    // the most precise row needs, at least this many (-1: the format decides).
    int minDecimals = -1;
};

// Shows the visible rows of a dataset to a view.  Cell fonts and colours can
// be supplied per column through the styler.  Numbers are right-aligned
// unless their column asks for another alignment.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Returns a value for Qt::FontRole, Qt::ForegroundRole or Qt::BackgroundRole,
    // or an invalid QVariant for the default.
    using Styler = std::function<QVariant(const Dataset &, int row, const GridColumn &, int role)>;

    DatasetModel(QList<GridColumn> columns, QObject *parent = nullptr);

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_dataset; }
    const QList<GridColumn> &columns() const { return m_columns; }
    void setStyler(Styler styler) { m_styler = std::move(styler); }
    // Font and colour roles of column titles; an invalid QVariant for the default.
    using HeaderStyler = std::function<QVariant(int section, int role)>;
    void setHeaderStyler(HeaderStyler styler) { m_headerStyler = std::move(styler); }
    // Cells and titles are drawn again, for stylers whose answers changed.
    void restyle();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString defaultText(const QVariant &value);

private:
    void measureDecimals();
    bool isNumeric(const GridColumn &column, const QVariant &value) const;

    QList<GridColumn> m_columns;
    QList<int> m_decimals; // per column, for columns with minDecimals
    QPointer<Dataset> m_dataset;
    QMetaObject::Connection m_resetConnection;
    Styler m_styler;
    HeaderStyler m_headerStyler;
};

namespace formats {
// Decimal text with exactly two decimals ("35.00").
QString money(const QVariant &value);
// Decimal text without trailing zeros ("12", "8.75").
QString number(const QVariant &value);
} // namespace formats

} // namespace kordel
