#include "widgets/datagrid.h"

#include "db/dataset.h"

#include <QApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace kordel {
namespace {

// Share of the selection colour in the tint of a selected row.
constexpr int kTintPercent = 30;

QColor mixed(const QColor &base, const QColor &tint, int percent)
{
    const auto mix = [percent](int a, int b) { return (a * (100 - percent) + b * percent) / 100; };
    return QColor(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                  mix(base.blue(), tint.blue()));
}

// First and last shown column in the order the user sees them.
std::pair<int, int> shownEnds(const QHeaderView *header)
{
    int first = -1;
    int last = -1;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        if (first < 0)
            first = logical;
        last = logical;
    }
    return {first, last};
}

} // namespace

QStyleOptionViewItem SelectionTintDelegate::cellOption(const QStyleOptionViewItem &option,
                                                       const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    cell.state &= ~QStyle::State_HasFocus;
    if (cell.state & QStyle::State_Selected) {
        cell.state &= ~QStyle::State_Selected;
        const QColor base = cell.backgroundBrush.style() != Qt::NoBrush ? cell.backgroundBrush.color()
                                                                        : cell.palette.color(QPalette::Base);
        cell.backgroundBrush =
            mixed(base, cell.palette.color(QPalette::Active, QPalette::Highlight), kTintPercent);
    }
    return cell;
}

void SelectionTintDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const QStyleOptionViewItem cell = cellOption(option, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (!(option.state & QStyle::State_Selected))
        return;

    // A frame around the whole row: top and bottom of every cell, the sides
    // at the row's ends.
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Active, QPalette::Highlight), 1));
    const QRect r = option.rect.adjusted(0, 0, -1, -1);
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (const auto *view = qobject_cast<const QTableView *>(widget)) {
        const auto [first, last] = shownEnds(view->horizontalHeader());
        if (index.column() == first)
            painter->drawLine(r.topLeft(), r.bottomLeft());
        if (index.column() == last)
            painter->drawLine(r.topRight(), r.bottomRight());
    }
    painter->restore();
}

DataGrid::DataGrid(QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent), m_model(new DatasetModel(std::move(columns), this))
{
    setModel(m_model);
    setItemDelegate(new SelectionTintDelegate(this));
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
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);

    // A border dragged by the user keeps its width from then on.
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (m_userResizing && !m_fitting)
            m_userSized = true;
    });

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing || !dataset() || !current.isValid())
                    return;
                m_syncing = true;
                dataset()->setRecNo(current.row() + 1);
                m_syncing = false;
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // Columns fit the first rows of the dataset shown exactly; rows read
        // later only widen them, so a filter does not make them jump.
        if (m_model->rowCount() > 0) {
            fitColumns(!m_fitted);
            m_fitted = true;
        }
        if (dataset())
            followDataset(dataset()->recNo());
    });
    applyColumns();
}

void DataGrid::setDataset(Dataset *dataset)
{
    disconnect(m_currentConnection);
    m_fitted = false;
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

void DataGrid::setActionsRefused(bool refused)
{
    if (refused == m_refused)
        return;
    m_refused = refused;
    // The grid's own menu is not handed on to the window either.
    static const char *const kPolicy = "kordelContextMenuPolicy";
    if (refused) {
        setProperty(kPolicy, int(contextMenuPolicy()));
        setContextMenuPolicy(Qt::PreventContextMenu);
    } else {
        setContextMenuPolicy(Qt::ContextMenuPolicy(property(kPolicy).toInt()));
    }
}

int DataGrid::fittedWidth() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (!verticalHeader()->isHidden())
        width += verticalHeader()->width();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        width += m_userSized
                     ? columnWidth(column)
                     : std::max(sizeHintForColumn(column), horizontalHeader()->sectionSizeHint(column));
    }
    return width;
}

void DataGrid::followDataset(int recNo)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (recNo > 0) {
        const QModelIndex index = m_model->index(recNo - 1, 0);
        selectionModel()->setCurrentIndex(index,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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

void DataGrid::fitColumns(bool exactly)
{
    if (m_userSized)
        return;
    m_fitting = true;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        const int needed = std::max(sizeHintForColumn(column), horizontalHeader()->sectionSizeHint(column));
        if (exactly || needed > columnWidth(column))
            setColumnWidth(column, needed);
    }
    m_fitting = false;
    widenWindow();
}

// A list window that has not been shown yet opens wide enough for its grid,
// within the screen.  Windows of a fixed size keep it.
void DataGrid::widenWindow()
{
    QWidget *top = window();
    if (top == this || top->isVisible() || top->minimumWidth() == top->maximumWidth() || !top->layout())
        return;
    // Lay the window out at its present size to learn the room around the grid.
    top->layout()->activate();
    int wanted = fittedWidth() + top->width() - width();
    if (const QScreen *screen = top->screen())
        wanted = std::min(wanted, screen->availableGeometry().width());
    if (wanted > top->width())
        top->resize(wanted, top->height());
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_userResizing = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_userResizing = false;
    }
    return QTableView::eventFilter(watched, event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (!m_refused && event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT rowDoubleClicked();
}

void DataGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_refused)
        QTableView::contextMenuEvent(event);
}

} // namespace kordel
