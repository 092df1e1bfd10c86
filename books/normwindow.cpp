#include "books/normwindow.h"

#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

NormModel::NormModel(OperationsStore &store, QObject *parent) : QAbstractTableModel(parent), m_store(store) {}

void NormModel::load(int operationId)
{
    QList<NormRow> rows = m_store.normRows(operationId);
    beginResetModel();
    m_operationId = operationId;
    m_rows = std::move(rows);
    m_refused = false;
    endResetModel();
}

bool NormModel::removeStoredRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    const bool deleted = m_store.deleteNorm(m_rows[row].id, m_operationId);
    load(m_operationId);
    return deleted;
}

QString NormModel::priceText(const Decimal &price)
{
    const Decimal shown = price.rounded(3);
    const QString text = shown.toString();
    const qsizetype point = text.indexOf(u'.');
    const qsizetype decimals = point < 0 ? 0 : text.size() - point - 1;
    return decimals < 2 ? shown.toString(2) : text;
}

int NormModel::rowCount(const QModelIndex &parent) const
{
    // The last row is the empty one a new norm row is typed into.
    return parent.isValid() ? 0 : int(m_rows.size()) + 1;
}

int NormModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QString NormModel::editText(const NormRow &row, int column) const
{
    switch (column) {
    case Norma:
        return row.norma ? QString::number(*row.norma) : QString();
    case Price:
        return row.price ? row.price->toString() : QString();
    case Prize:
        return row.prize ? QString::number(*row.prize) : QString();
    default:
        return {};
    }
}

QVariant NormModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() > m_rows.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (index.row() == m_rows.size())
        return QString();
    const NormRow &row = m_rows[index.row()];
    if (role == Qt::DisplayRole && index.column() == Price)
        return row.price ? priceText(*row.price) : QString();
    return editText(row, index.column());
}

QVariant NormModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Norma:
        return u"Норматив"_s;
    case Price:
        return u"Цена"_s;
    case Prize:
        return u"Премия, %"_s;
    default:
        return {};
    }
}

Qt::ItemFlags NormModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool NormModel::refuse(const QString &message)
{
    m_refused = true;
    Q_EMIT refused(message);
    return false;
}

bool NormModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() > m_rows.size() || m_operationId == 0)
        return false;
    const int rowIndex = index.row();
    const bool isNew = rowIndex == m_rows.size();
    const QString text = value.toString().trimmed();
    // Leaving a cell without changing it writes nothing, also in the empty row.
    if (text == (isNew ? QString() : editText(m_rows[rowIndex], index.column())))
        return true;

    NormRow row = isNew ? NormRow{} : m_rows[rowIndex];
    if (isNew)
        row.prize = 0; // the table's default
    switch (index.column()) {
    case Norma:
        if (const auto norma = OperationsStore::parseWhole(text))
            row.norma = norma;
        else
            return refuse(u"Норматив должен быть целым числом."_s);
        break;
    case Price:
        // The column keeps four decimals: hold what the database will hold.
        if (const auto price = OperationsStore::parsePrice(text))
            row.price = price->rounded(4);
        else
            return refuse(u"Цена должна быть числом."_s);
        break;
    case Prize:
        if (const auto prize = OperationsStore::parseWhole(text))
            row.prize = prize;
        else
            return refuse(u"Премия должна быть целым числом."_s);
        break;
    default:
        return false;
    }

    try {
        if (isNew)
            row.id = m_store.insertNorm(m_operationId, row);
        else
            m_store.updateNorm(row);
    } catch (const DbError &error) {
        m_refused = true;
        Q_EMIT writeFailed(error);
        return false;
    }
    if (isNew) {
        // The typed row is written; a new empty row follows it.
        beginInsertRows({}, rowIndex + 1, rowIndex + 1);
        m_rows.append(row);
        endInsertRows();
    } else {
        m_rows[rowIndex] = row;
    }
    Q_EMIT dataChanged(this->index(rowIndex, 0), this->index(rowIndex, columnCount() - 1));
    return true;
}

void NormGrid::finishEditing()
{
    if (state() != EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

NormWindow::NormWindow(DataModule &dataModule, QWidget *parent) : QDialog(parent), m_store(dataModule)
{
    setObjectName(u"Form22"_s);
    setWindowTitle(u"Норматив"_s);

    m_model = new NormModel(m_store, this);
    connect(m_model, &NormModel::refused, this,
            [this](const QString &message) { messages::error(this, message); });
    // The driver's message, and a lost server connected again, as for any action.
    connect(m_model, &NormModel::writeFailed, this,
            [this](const DbError &error) { guarded(this, [&] { throw error; }); });
    m_grid = new NormGrid(this);
    m_grid->setObjectName(u"DBGrid1"_s);
    m_grid->setModel(m_model);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);

    m_save = makeButton(u"Button1"_s, u"Сохранить"_s, this, ButtonRole::Default);
    m_delete = makeButton(u"Button2"_s, u"Удалить"_s, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttonRow({m_save, m_delete}));
    resize(420, 300);

    connect(m_save, &QPushButton::clicked, this, &NormWindow::save);
    connect(m_delete, &QPushButton::clicked, this, &NormWindow::deleteCurrent);
}

void NormWindow::edit(int operationId)
{
    if (!guarded(this, [&] { m_model->load(operationId); }))
        return;
    m_grid->setCurrentIndex(m_model->index(0, NormModel::Norma));
    m_grid->setFocus();
    exec();
}

void NormWindow::save()
{
    m_model->takeRefusal();
    m_grid->finishEditing();
    // A refused cell was not written: the user corrects it first.
    if (m_model->takeRefusal())
        return;
    done(QDialog::Accepted);
}

void NormWindow::reject()
{
    // Escape and closing the window are "Сохранить" too.
    save();
}

void NormWindow::deleteCurrent()
{
    m_grid->finishEditing();
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_model->storedCount())
        return;
    const int column = std::max(0, m_grid->currentIndex().column());
    // The last norm row of an operation stays: the refusal is silent.
    guarded(this, [&] { m_model->removeStoredRow(row); });
    m_grid->setCurrentIndex(m_model->index(std::min(row, std::max(0, m_model->storedCount() - 1)), column));
}

} // namespace kordel
