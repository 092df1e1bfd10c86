#pragma once

#include "books/operationsstore.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QTableView>
#include <utility>

class QPushButton;

namespace kordel {

class DbError;

// The norm rows of one operation, editable in place, with an empty row at
// the end for the next one.  Every accepted cell is written at once; a cell
// whose text is not acceptable is refused with a message and nothing is
// written.
class NormModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Norma = 0, Price = 1, Prize = 2 };

    explicit NormModel(OperationsStore &store, QObject *parent = nullptr);

    // Reads the rows of the operation; throws DbError.
    void load(int operationId);
    int operationId() const { return m_operationId; }
    // The rows written so far (the empty last row not counted).
    int storedCount() const { return int(m_rows.size()); }
    const NormRow &rowAt(int row) const { return m_rows.at(row); }
    // Deletes a written row unless it is the operation's last one; the rows
    // are read again.  False when nothing was deleted.  Throws DbError.
    bool removeStoredRow(int row);
    // Whether a cell was refused since the last call.
    bool takeRefusal() { return std::exchange(m_refused, false); }

    // "#0.00#": two decimals at least, three at most.
    static QString priceText(const Decimal &price);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // A cell text that is not acceptable: nothing was written.
    void refused(const QString &message);
    // The database refused the write.
    void writeFailed(const kordel::DbError &error);

private:
    QString editText(const NormRow &row, int column) const;
    bool refuse(const QString &message);

    OperationsStore &m_store;
    int m_operationId = 0;
    QList<NormRow> m_rows;
    bool m_refused = false;
};

// The grid of the norm window; lets the window finish the cell being edited
// before it acts.
class NormGrid : public QTableView
{
    Q_OBJECT

public:
    using QTableView::QTableView;
    // Commits and closes an open cell editor.
    void finishEditing();
};

// The norm window (Form22) of one operation.  "Сохранить" is both the
// default and the cancel button: Enter, Escape and closing the window all
// keep what was typed.
class NormWindow : public QDialog
{
    Q_OBJECT

public:
    explicit NormWindow(DataModule &dataModule, QWidget *parent = nullptr);

    // Shows the operation's norm rows modally.  The caller reads its list
    // again afterwards.
    void edit(int operationId);

    void save();          // "Сохранить"
    void deleteCurrent(); // "Удалить"

    NormModel *model() const { return m_model; }
    NormGrid *grid() const { return m_grid; }

public Q_SLOTS:
    void reject() override;

private:
    OperationsStore m_store;
    NormModel *m_model = nullptr;
    NormGrid *m_grid = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_delete = nullptr;
};

} // namespace kordel
