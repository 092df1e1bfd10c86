// The price list window: operations and their norm rows, the pick for a
// journal entry, the edit and norm windows, and the workbook of prices.  The
// store's rules on their own are in tst_operationsstore.cpp.

#include "books/bookswindows.h"
#include "books/kindeditwindow.h"
#include "books/kindswindow.h"
#include "books/normwindow.h"
#include "books/operationeditwindow.h"
#include "books/operationsstore.h"
#include "books/pricelistwindow.h"
#include "books/producteditwindow.h"
#include "books/productswindow.h"
#include "core/datamodule.h"
#include "guitest.h"
#include "scriptedmessages.h"
#include "testdatabase.h"
#include "widgets/datagrid.h"
#include "widgets/excelwriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kordel;
using kordel::test::button;
using kordel::test::typeText;

namespace {

class RecordingOpener : public FileOpener
{
public:
    bool open(const QString &path) override
    {
        opened << path;
        return true;
    }
    QStringList opened;
};

// Acts on the modal window `name` as soon as it is shown (from the event
// loop of whatever window is modal then), and closes it afterwards if the
// action did not, so that no test can hang on it.  The flag tells whether the
// window was seen within `waitMs`; unlike test::onModal, a window that never
// shows is no failure by itself.
std::shared_ptr<bool> onModal(const QString &name, std::function<void(QDialog *)> act, int waitMs = 5000)
{
    auto seen = std::make_shared<bool>(false);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == name && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *seen = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->done(QDialog::Rejected);
        } else if (clock->elapsed() > waitMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return seen;
}

} // namespace

class PriceListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void editWindowRefusals();
    void pickersFillTheEditWindow();
    void addingAnOperationAsksForItsFirstNormRow();
    void normCells_data();
    void normCells();
    void cellBeingEdited();
    void lastNormRowStays();
    void reservedOperations_data();
    void reservedOperations();
    void operationInTheJournalIsNotDeleted();
    void filterByMark_data();
    void filterByMark();
    void pick();
    void reservedOperationIsNotPicked();
    void entryPickLeavesOutTheHangingDistribution_data();
    void entryPickLeavesOutTheHangingDistribution();
    void doubleClick();
    void exportToExcel();

private:
    int addOperation(int kind, int product, int naimen, const QStringList &prices = {}) const;
    QString prices(int operation) const;
    int normCount(int operation) const;
    QJsonObject readWorkbook(const QString &path);

    test::TestDatabase m_db;
    test::ScriptedMessages m_messages;
    RecordingOpener m_opener;
    QTemporaryDir m_folder;

    std::unique_ptr<BooksWindows> m_books;
    ProductEditWindow *m_productEdit = nullptr;
    ProductsWindow *m_products = nullptr;
    KindEditWindow *m_kindEdit = nullptr;
    KindsWindow *m_kinds = nullptr;
    OperationEditWindow *m_edit = nullptr;
    NormWindow *m_norms = nullptr;
    PriceListWindow *m_list = nullptr;

    int m_bolt8 = 0;  // "Болт М8"
    int m_bolt10 = 0; // "болт м10"
    int m_nut = 0;    // "Гайка О'Нил"
    int m_drilling = 0;
    int m_painting = 0;
};

void PriceListTest::initTestCase()
{
    QVERIFY2(m_db.create(), qPrintable(m_db.error()));
    QVERIFY2(m_db.connect(), qPrintable(m_db.error()));
    QVERIFY(m_folder.isValid());
    ExcelWriter::setFileOpener(&m_opener);

    const int group = m_db.addGroup(u"Крепёж"_s);
    m_bolt8 = m_db.addProduct(u"Болт М8"_s, group);
    m_bolt10 = m_db.addProduct(u"болт м10"_s, group);
    m_nut = m_db.addProduct(u"Гайка О'Нил"_s, group);
    m_drilling = m_db.addKind(u"Сверловка  "_s);
    m_painting = m_db.addKind(u"Покраска"_s);

    DataModule &data = m_db.data();
    m_books = std::make_unique<BooksWindows>(data);
    m_productEdit = &m_books->productCard;
    m_products = &m_books->products;
    m_kindEdit = &m_books->kindCard;
    m_kinds = &m_books->kinds;
    m_edit = &m_books->operationCard;
    m_norms = &m_books->norms;
    m_list = &m_books->prices;
    m_list->setExportFolder(m_folder.path());
}

void PriceListTest::cleanupTestCase()
{
    ExcelWriter::setFileOpener(nullptr);
}

void PriceListTest::init()
{
    m_messages.clear();
    m_opener.opened.clear();
    m_db.exec(u"delete from accounts_dep.smena"_s);
    m_db.exec(u"delete from accounts_dep.norm where o_id not in (7777, 7778, 7782, 7783)"_s);
    m_db.exec(u"delete from accounts_dep.oper where id < 7776"_s);
    // Reserved operations a test deleted come back.
    m_db.exec(
        u"insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new) "
        "select v.id, v.id, 0, v.id, 0 from accounts_dep.vid_oper v "
        "where v.id between 7776 and 7784 and not exists (select 1 from accounts_dep.oper o where o.id = v.id)"_s);
    m_list->findChild<QLineEdit *>(u"Edit1"_s)->clear();
    m_list->findChild<QCheckBox *>(u"CheckBox1"_s)->setChecked(false);
}

int PriceListTest::addOperation(int kind, int product, int naimen, const QStringList &prices) const
{
    const int operation = m_db.addOperation(kind, product, naimen);
    int norma = 100;
    for (const QString &price : prices)
        m_db.addNorm(operation, norma++, price);
    return operation;
}

QString PriceListTest::prices(int operation) const
{
    return m_db
        .scalar(u"select string_agg(price::text, ' ' order by id) from accounts_dep.norm where o_id=:o"_s,
                {{u"o"_s, operation}})
        .toString();
}

int PriceListTest::normCount(int operation) const
{
    return m_db.count(u"accounts_dep.norm where o_id=:o"_s, {{u"o"_s, operation}});
}

QJsonObject PriceListTest::readWorkbook(const QString &path)
{
    QProcess reader;
    reader.start(u"/usr/bin/python3"_s, {QString::fromUtf8(READXLSX_SCRIPT), path});
    if (!reader.waitForFinished(30000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        qWarning("%s", reader.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

void PriceListTest::editWindowRefusals()
{
    // Two operations that differ only in naimen; the first gets a price of
    // the other software, which a change must leave alone.
    const int finished = addOperation(m_painting, m_nut, 0, {u"4"_s});
    const int blank = addOperation(m_painting, m_nut, 1, {u"5"_s});
    m_db.exec(u"update accounts_dep.oper set cena_new=7.25 where id=:id"_s, {{u"id"_s, finished}});

    auto listSeen = onModal(u"Form4"_s, [&](QDialog *list) {
        Dataset &oper = m_db.data().oper();
        QVERIFY(oper.locate(u"id"_s, finished));
        // Changed into the other operation: refused, the window stays.
        auto editSeen = onModal(u"Form10"_s, [&](QDialog *edit) {
            QCOMPARE(edit->windowTitle(), u"Изменение данных о цене за операцию (10)"_s);
            QCOMPARE(edit->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"Гайка О'Нил"_s);
            QCOMPARE(edit->findChild<QLineEdit *>(u"Edit2"_s)->text(), u"Покраска"_s);
            auto *naimen = edit->findChild<QComboBox *>(u"ComboBox1"_s);
            QCOMPARE(naimen->currentIndex(), 0);
            naimen->setCurrentIndex(1);
            button(edit, u"Button1"_s)->click();
            QCOMPARE(m_messages.lastText(), u"Операция с такими параметрами уже заведена!"_s);
            QVERIFY(edit->isVisible());
            // Saved unchanged: the operation itself is no duplicate.
            naimen->setCurrentIndex(0);
            button(edit, u"Button1"_s)->click();
            QVERIFY(!edit->isVisible());
        });
        button(list, u"Button2"_s)->click();
        QVERIFY(*editSeen);
        QCOMPARE(oper.intValue(u"id"_s), finished);

        // Nothing picked: refused before any statement.
        m_messages.clear();
        auto addSeen = onModal(u"Form10"_s, [&](QDialog *edit) {
            QCOMPARE(edit->windowTitle(), u"Заведение новой цены за операцию (10)"_s);
            QVERIFY(edit->findChild<QLineEdit *>(u"Edit1"_s)->text().isEmpty());
            QCOMPARE(edit->findChild<QComboBox *>(u"ComboBox1"_s)->currentIndex(), 0);
            button(edit, u"Button1"_s)->click();
            QCOMPARE(m_messages.texts(), QStringList{u"Все поля должны быть заполнены!"_s});
            QVERIFY(edit->isVisible());
            QTest::keyClick(edit, Qt::Key_Escape);
            QVERIFY(!edit->isVisible());
        });
        button(list, u"Button1"_s)->click();
        QVERIFY(*addSeen);
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*listSeen);
    QCOMPARE(m_db.count(u"accounts_dep.oper where id < 7776"_s), 2);
    QCOMPARE(
        m_db.scalar(u"select naimen from accounts_dep.oper where id=:id"_s, {{u"id"_s, finished}}).toInt(),
        0);
    QCOMPARE(
        m_db.scalar(u"select cena_new::text from accounts_dep.oper where id=:id"_s, {{u"id"_s, finished}})
            .toString(),
        u"7.25"_s);
    QCOMPARE(m_db.scalar(u"select naimen from accounts_dep.oper where id=:id"_s, {{u"id"_s, blank}}).toInt(),
             1);
}

void PriceListTest::pickersFillTheEditWindow()
{
    DataModule &data = m_db.data();
    auto editSeen = onModal(u"Form10"_s, [&](QDialog *edit) {
        // The focus starts on the product's "...".
        QCOMPARE(edit->focusWidget(), button(edit, u"Button3"_s));
        auto products = onModal(u"Form3"_s, [&](QDialog *book) {
            QVERIFY(data.izdel().locate(u"id"_s, m_nut));
            button(book, u"Button2"_s)->click();
        });
        button(edit, u"Button3"_s)->click();
        QVERIFY(*products);
        QCOMPARE(edit->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"Гайка О'Нил"_s);

        auto kinds = onModal(u"Form8"_s, [&](QDialog *book) {
            QVERIFY(data.vidOper().locate(u"id"_s, m_drilling));
            button(book, u"Button2"_s)->click();
        });
        button(edit, u"Button4"_s)->click();
        QVERIFY(*kinds);
        QCOMPARE(edit->findChild<QLineEdit *>(u"Edit2"_s)->text(), u"Сверловка"_s);
        QVERIFY(!data.vidOper().isFiltered());
        button(edit, u"Button1"_s)->click();
    });
    QVERIFY(m_edit->addNew());
    QVERIFY(*editSeen);
    QCOMPARE(m_db.count(u"accounts_dep.oper where id=:id and vid=:v and naimen=0 and i_id=:i"_s,
                        {{u"id"_s, m_edit->savedOperationId()}, {u"v"_s, m_drilling}, {u"i"_s, m_nut}}),
             1);
    QVERIFY(m_messages.shown.isEmpty());
}

void PriceListTest::addingAnOperationAsksForItsFirstNormRow()
{
    int normWindowOperation = 0;
    auto listSeen = onModal(u"Form4"_s, [&](QDialog *list) {
        auto editSeen = onModal(u"Form10"_s, [&](QDialog *dialog) {
            auto *edit = qobject_cast<OperationEditWindow *>(dialog);
            QVERIFY(edit);
            // What the product and kind pickers fill in.
            edit->setProduct(m_nut, u"Гайка О'Нил "_s);
            edit->setKind(m_drilling, u"Сверловка  "_s);
            QCOMPARE(edit->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"Гайка О'Нил"_s);
            edit->findChild<QComboBox *>(u"ComboBox1"_s)->setCurrentIndex(1);

            // Saving opens the norm window of the new operation at once.
            onModal(u"Form22"_s, [&](QDialog *dialog22) {
                auto *norms = qobject_cast<NormWindow *>(dialog22);
                QVERIFY(norms);
                normWindowOperation = norms->model()->operationId();
                QCOMPARE(norms->model()->storedCount(), 0);
                NormGrid *grid = norms->grid();
                const QModelIndex norma = norms->model()->index(0, NormModel::Norma);
                grid->setCurrentIndex(norma);
                QTest::keyClick(grid, '1'); // any key starts editing the cell
                QWidget *editor = grid->indexWidget(norma);
                QVERIFY(editor);
                QTest::keyClicks(editor, u"50"_s);
                // Tab writes the row and goes on to the price.
                QTest::keyClick(editor, Qt::Key_Tab);
                QCOMPARE(norms->model()->storedCount(), 1);
                editor = grid->indexWidget(norms->model()->index(0, NormModel::Price));
                QVERIFY(editor);
                QTest::keyClicks(editor, u"12,5"_s);
                // "Сохранить" takes the cell still being edited.
                button(norms, u"Button1"_s)->click();
                QVERIFY(!norms->isVisible());
            });
            button(edit, u"Button1"_s)->click();
        });
        button(list, u"Button1"_s)->click();
        QVERIFY(*editSeen);

        // Back in the list on the new operation, now with its price.
        Dataset &oper = m_db.data().oper();
        QCOMPARE(oper.intValue(u"id"_s), normWindowOperation);
        QCOMPARE(oper.decimal(u"cena"_s).toString(), u"12.5"_s);
        QCOMPARE(oper.text(u"nmn"_s), u"Заготовки"_s);
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*listSeen);
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(normWindowOperation > 0);
    QCOMPARE(
        m_db.count(u"accounts_dep.oper where id=:id and vid=:v and naimen=1 and i_id=:i and cena_new=0"_s,
                   {{u"id"_s, normWindowOperation}, {u"v"_s, m_drilling}, {u"i"_s, m_nut}}),
        1);
    QCOMPARE(m_db.count(u"accounts_dep.norm where o_id=:o and norma=150 and price=12.5 and prize=0"_s,
                        {{u"o"_s, normWindowOperation}}),
             1);
    // The list of the menu is back to the statement the pickers rely on.
    QCOMPARE(m_db.data().oper().sql(), DataModule::priceListSql());
    QVERIFY(!m_db.data().oper().isOpen());
}

void PriceListTest::normCells_data()
{
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // prices of the operation afterwards
    QTest::addColumn<QString>("message");

    const QString none;
    QTest::newRow("price with a comma")
        << false << int(NormModel::Price) << u"12,35"_s << u"12.3500"_s << none;
    QTest::newRow("price with a point")
        << false << int(NormModel::Price) << u" 7.125 "_s << u"7.1250"_s << none;
    QTest::newRow("new row, price with a comma")
        << true << int(NormModel::Price) << u"0,05"_s << u"10.0000 0.0500"_s << none;
    QTest::newRow("price not a number")
        << false << int(NormModel::Price) << u"12р"_s << u"10.0000"_s << u"Цена должна быть числом."_s;
    QTest::newRow("price with two separators")
        << false << int(NormModel::Price) << u"1,2.5"_s << u"10.0000"_s << u"Цена должна быть числом."_s;
    QTest::newRow("price cleared") << false << int(NormModel::Price) << u""_s << u"10.0000"_s
                                   << u"Цена должна быть числом."_s;
    QTest::newRow("new row, price not a number")
        << true << int(NormModel::Price) << u"abc"_s << u"10.0000"_s << u"Цена должна быть числом."_s;
    QTest::newRow("norm with a fraction") << false << int(NormModel::Norma) << u"1,5"_s << u"10.0000"_s
                                          << u"Норматив должен быть целым числом."_s;
    QTest::newRow("new row, premium not a number")
        << true << int(NormModel::Prize) << u"5%"_s << u"10.0000"_s << u"Премия должна быть целым числом."_s;
    // Beyond what the column holds: the server refuses, the user is told.
    QTest::newRow("price too large") << false << int(NormModel::Price) << u"123456789012"_s << u"10.0000"_s
                                     << u"*"_s;
}

void PriceListTest::normCells()
{
    QFETCH(bool, newRow);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    const int operation = addOperation(m_drilling, m_bolt10, 0, {u"10"_s});
    NormModel *model = m_norms->model();
    model->load(operation);
    QCOMPARE(model->rowCount(), 2);

    const QModelIndex cell = model->index(newRow ? 1 : 0, column);
    const bool accepted = model->setData(cell, typed);
    QCOMPARE(accepted, message.isEmpty());
    QCOMPARE(prices(operation), stored);
    if (message.isEmpty()) {
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(model->rowCount(), newRow ? 3 : 2);
        // What the grid shows: two decimals at least, three at most.
        if (!newRow && column == NormModel::Price)
            QCOMPARE(model->data(cell, Qt::DisplayRole).toString(),
                     typed.trimmed() == u"12,35"_s ? u"12.35"_s : u"7.125"_s);
    } else {
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_messages.shown[0].caption, u"Ошибка"_s);
        QCOMPARE(m_messages.shown[0].icon, MessageIcon::Error);
        if (message != u"*"_s)
            QCOMPARE(m_messages.shown[0].text, message);
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(model->takeRefusal());
    }
    QCOMPARE(normCount(operation), accepted && newRow ? 2 : 1);
}

void PriceListTest::cellBeingEdited()
{
    const int operation = addOperation(m_drilling, m_bolt10, 0, {u"10"_s});
    auto seen = onModal(u"Form22"_s, [&](QDialog *dialog) {
        auto *norms = qobject_cast<NormWindow *>(dialog);
        NormGrid *grid = norms->grid();
        const QModelIndex price = norms->model()->index(0, NormModel::Price);
        QCOMPARE(norms->model()->data(price, Qt::DisplayRole).toString(), u"10.00"_s);
        grid->setCurrentIndex(price);
        // "Сохранить" with a cell that is no number: told, kept open, nothing written.
        grid->edit(price);
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(price));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, u"9,8x"_s);
        button(norms, u"Button1"_s)->click();
        QCOMPARE(m_messages.texts(), QStringList{u"Цена должна быть числом."_s});
        QVERIFY(norms->isVisible());
        QCOMPARE(prices(operation), u"10.0000"_s);
        m_messages.clear();

        grid->edit(price);
        editor = qobject_cast<QLineEdit *>(grid->indexWidget(price));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, u"9,875"_s);
        // Enter ends the cell; Enter again (or at once) is "Сохранить".
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(prices(operation), u"9.8750"_s);
        if (norms->isVisible())
            QTest::keyClick(grid, Qt::Key_Return);
        QTRY_VERIFY(!norms->isVisible());
    });
    m_norms->edit(operation);
    QVERIFY(*seen);
    QCOMPARE(prices(operation), u"9.8750"_s);
    QVERIFY(m_messages.shown.isEmpty());
}

void PriceListTest::lastNormRowStays()
{
    const int operation = addOperation(m_drilling, m_bolt10, 0, {u"10"_s, u"8"_s});
    auto seen = onModal(u"Form22"_s, [&](QDialog *dialog) {
        auto *norms = qobject_cast<NormWindow *>(dialog);
        NormModel *model = norms->model();
        // The empty row at the end is nothing to delete.
        norms->grid()->setCurrentIndex(model->index(2, 0));
        button(norms, u"Button2"_s)->click();
        QCOMPARE(normCount(operation), 2);
        norms->grid()->setCurrentIndex(model->index(0, 0));
        button(norms, u"Button2"_s)->click();
        QCOMPARE(normCount(operation), 1);
        QCOMPARE(model->storedCount(), 1);
        QCOMPARE(prices(operation), u"8.0000"_s);
        button(norms, u"Button2"_s)->click();
        QCOMPARE(normCount(operation), 1);
        QCOMPARE(model->storedCount(), 1);
        // Escape is "Сохранить".
        QTest::keyClick(norms, Qt::Key_Escape);
        QVERIFY(!norms->isVisible());
    });
    m_norms->edit(operation);
    QVERIFY(*seen);
    QVERIFY(m_messages.shown.isEmpty());
}

void PriceListTest::reservedOperations_data()
{
    QTest::addColumn<int>("operation"); // 0: an ordinary one
    QTest::addColumn<bool>("changeable");
    QTest::addColumn<bool>("deletable");
    QTest::newRow("ordinary") << 0 << true << true;
    QTest::newRow("7780, painting distribution") << 7780 << false << true;
    QTest::newRow("7784, hanging distribution") << 7784 << false << false;
    QTest::newRow("7777, household works") << 7777 << false << false;
}

void PriceListTest::reservedOperations()
{
    QFETCH(int, operation);
    QFETCH(bool, changeable);
    QFETCH(bool, deletable);
    if (operation == 0)
        operation = addOperation(m_drilling, m_bolt8, 0, {u"3"_s});
    else if (operation != 7777)
        m_db.addNorm(operation, 1, u"2"_s); // listed once it has a price

    bool editorShown = false;
    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        Dataset &oper = m_db.data().oper();
        QVERIFY(oper.locate(u"id"_s, operation));
        onModal(
            u"Form10"_s, [&](QDialog *) { editorShown = true; }, 300);
        button(list, u"Button2"_s)->click();
        QTest::qWait(350);
        QCOMPARE(editorShown, changeable);
        QVERIFY(oper.locate(u"id"_s, operation));
        button(list, u"Button3"_s)->click();
        QCOMPARE(oper.locate(u"id"_s, operation), !deletable);
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*seen);
    QCOMPARE(m_db.count(u"accounts_dep.oper where id=:id"_s, {{u"id"_s, operation}}), deletable ? 0 : 1);
    // The question comes only where a deletion may follow; reserved refusals are silent.
    if (deletable) {
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_messages.shown[0].text, u"Удалить операцию?"_s);
        QCOMPARE(m_messages.shown[0].caption, u"Удаление"_s);
        QVERIFY(m_messages.shown[0].question);
    } else {
        QVERIFY(m_messages.shown.isEmpty());
    }
}

void PriceListTest::operationInTheJournalIsNotDeleted()
{
    const int operation = addOperation(m_drilling, m_bolt8, 0, {u"3"_s});
    m_db.addJournalRow(m_db.addWorker(u"Петров П.П."_s), operation, QDate(2025, 6, 2), 1, 8);
    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        QVERIFY(m_db.data().oper().locate(u"id"_s, operation));
        button(list, u"Button3"_s)->click();
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*seen);
    QCOMPARE(m_db.count(u"accounts_dep.oper where id=:id"_s, {{u"id"_s, operation}}), 1);
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(!m_messages.shown[0].question);
    QCOMPARE(m_messages.shown[0].caption, u"Ошибка"_s);
}

void PriceListTest::filterByMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("marks");
    const QStringList all{u"болт м10"_s, u"Болт М8"_s, u"Гайка О'Нил"_s};
    QTest::newRow("part of the mark, any case") << u"БОЛТ"_s << QStringList{u"болт м10"_s, u"Болт М8"_s};
    QTest::newRow("inside the mark") << u"м1"_s << QStringList{u"болт м10"_s};
    QTest::newRow("leading blank kept") << u" М8"_s << QStringList{u"Болт М8"_s};
    QTest::newRow("apostrophe") << u"о'н"_s << QStringList{u"Гайка О'Нил"_s};
    QTest::newRow("nothing matches") << u"шайба"_s << QStringList{};
    QTest::newRow("blanks only: no filter") << u"   "_s << all;
}

void PriceListTest::filterByMark()
{
    QFETCH(QString, text);
    QFETCH(QStringList, marks);
    addOperation(m_drilling, m_bolt8, 0, {u"1"_s});
    addOperation(m_drilling, m_bolt10, 0, {u"1"_s});
    addOperation(m_drilling, m_nut, 0); // without norm rows: found all the same

    QStringList shown;
    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        auto *filter = list->findChild<QLineEdit *>(u"Edit1"_s);
        QCOMPARE(list->focusWidget(), filter);
        typeText(filter, text);
        Dataset &oper = m_db.data().oper();
        for (int row = 0; row < oper.recordCount(); ++row) {
            const QString mark = oper.valueAt(row, u"marka"_s).toString();
            if (oper.valueAt(row, u"id"_s).toInt() < 7776)
                shown << mark;
        }
        if (marks.size() > 1) {
            // Down in the field moves the list; Delete edits nothing.
            QCOMPARE(oper.recNo(), 1);
            QTest::keyClick(filter, Qt::Key_Down);
            QCOMPARE(oper.recNo(), 2);
            QTest::keyClick(filter, Qt::Key_Home);
            QTest::keyClick(filter, Qt::Key_Delete);
            QCOMPARE(filter->text(), text);
        }
        // Cleared: every row again.
        filter->clear();
        QVERIFY(!oper.isFiltered());
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*seen);
    shown.sort();
    marks.sort();
    QCOMPARE(shown, marks);
}

void PriceListTest::pick()
{
    const int first = addOperation(m_drilling, m_bolt10, 0, {u"1"_s});
    const int wanted = addOperation(m_drilling, m_bolt8, 1, {u"10"_s, u"15.5"_s});
    const int bare = addOperation(m_painting, m_bolt8, 0);
    const OperationList pickSql = OperationList::Pick;
    Dataset &oper = m_db.data().oper();
    oper.setSql(u"select 1 as id"_s); // whatever the caller had
    oper.setFiltered(true);

    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        QCOMPARE(button(list, u"Button2"_s)->text(), u"Выбрать"_s);
        QVERIFY(button(list, u"Button2"_s)->isDefault());
        QVERIFY(!button(list, u"Button1"_s)->isEnabled());
        QVERIFY(!button(list, u"Button3"_s)->isEnabled());
        auto *filter = list->findChild<QLineEdit *>(u"Edit1"_s);
        QVERIFY(filter->isEnabled());
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(oper.intValue(u"id"_s), wanted);
        QVERIFY(!oper.locate(u"id"_s, bare)); // no price, nothing to pick
        QVERIFY(oper.locate(u"id"_s, first));
        QVERIFY(oper.locate(u"id"_s, wanted));
        // Enter in the filter field presses "Выбрать".
        QTest::keyClick(filter, Qt::Key_Return);
        QVERIFY(!list->isVisible());
    });
    const auto picked = m_list->pick(pickSql, wanted, true, 4);
    QVERIFY(*seen);
    QVERIFY(picked);
    QCOMPARE(picked->operationId, wanted);
    QCOMPARE(picked->productId, m_bolt8);
    QCOMPARE(picked->naimen, 1);
    QCOMPARE(picked->basePrice.toString(), u"10"_s);
    QCOMPARE(picked->finalPrice.toString(), u"30"_s);
    QCOMPARE(picked->text, u"Болт М8; Сверловка; Заготовки"_s);
    QCOMPARE(oper.sql(), u"select 1 as id"_s);
    QVERIFY(!oper.isFiltered());
    QVERIFY(!button(m_list, u"Button2"_s)->isDefault());
    oper.setSql(DataModule::priceListSql());

    // Leaving without a choice hands back nothing; 0 starts at the first row.
    seen = onModal(u"Form4"_s, [&](QDialog *list) {
        QCOMPARE(oper.recNo(), 1);
        QTest::keyClick(list, Qt::Key_Escape);
    });
    QVERIFY(!m_list->pick(pickSql, 0, false, 1));
    QVERIFY(*seen);
    QVERIFY(m_messages.shown.isEmpty());
}

void PriceListTest::entryPickLeavesOutTheHangingDistribution_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("offered");
    QTest::newRow("the stored pick") << int(OperationList::Pick) << true;
    QTest::newRow("the entry window's pick") << int(OperationList::EntryPick) << false;
}

// The hanging distribution, once priced, is offered to the pickers but
// never to the entry window, whose rows the brigade window writes.
void PriceListTest::entryPickLeavesOutTheHangingDistribution()
{
    QFETCH(int, list);
    QFETCH(bool, offered);
    const int ordinary = addOperation(m_drilling, m_bolt8, 0, {u"2"_s});
    m_db.addNorm(7784, 1, u"3"_s);
    const auto cleanup =
        qScopeGuard([this] { m_db.exec(u"delete from accounts_dep.norm where o_id=7784"_s); });
    QStringList shownIds;
    auto seen = onModal(u"Form4"_s, [&](QDialog *window) {
        Dataset &oper = m_db.data().oper();
        for (int row = 0; row < oper.recordCount(); ++row)
            shownIds << oper.valueAt(row, u"id"_s).toString();
        window->reject();
    });
    QVERIFY(!m_list->pick(OperationList(list), 0, false, 1));
    QVERIFY(*seen);
    QVERIFY(shownIds.contains(QString::number(ordinary)));
    QCOMPARE(shownIds.contains(u"7784"_s), offered);
}

void PriceListTest::reservedOperationIsNotPicked()
{
    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        QVERIFY(m_db.data().oper().locate(u"id"_s, 7777));
        button(list, u"Button2"_s)->click();
        QVERIFY(list->isVisible());
        list->reject();
    });
    QVERIFY(!m_list->pick(OperationList::Pick, 7777, false, 1));
    QVERIFY(*seen);
    QVERIFY(m_messages.shown.isEmpty());
}

void PriceListTest::doubleClick()
{
    addOperation(m_drilling, m_bolt10, 0, {u"1"_s});
    const int second = addOperation(m_drilling, m_bolt8, 0, {u"2"_s});
    addOperation(m_drilling, m_nut, 0, {u"3"_s});
    const auto doubleClickRow = [](QDialog *list, int row) {
        auto *grid = list->findChild<DataGrid *>(u"DBGrid1"_s);
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    };

    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        Dataset &oper = m_db.data().oper();
        QVERIFY(oper.locate(u"id"_s, second));
        const int recNo = oper.recNo();

        // "Цены" unticked: the edit window.
        auto edit = onModal(u"Form10"_s, [](QDialog *dialog) { dialog->reject(); });
        doubleClickRow(list, recNo - 1);
        QVERIFY(*edit);

        // "Цены" ticked: the norm rows, then back at the same record.
        list->findChild<QCheckBox *>(u"CheckBox1"_s)->setChecked(true);
        int normsOf = 0;
        auto norms = onModal(u"Form22"_s, [&](QDialog *dialog) {
            auto *window = qobject_cast<NormWindow *>(dialog);
            normsOf = window->model()->operationId();
            window->model()->setData(window->model()->index(0, NormModel::Price), u"1,75"_s);
            button(window, u"Button1"_s)->click();
        });
        doubleClickRow(list, recNo - 1);
        QVERIFY(*norms);
        QCOMPARE(normsOf, second);
        QCOMPARE(oper.recNo(), recNo);
        QCOMPARE(oper.decimal(u"cena"_s).toString(), u"1.75"_s);
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*seen);
    // "Цены" keeps its state between openings.
    QVERIFY(m_list->findChild<QCheckBox *>(u"CheckBox1"_s)->isChecked());

    // In pick mode a double-click picks, "Цены" or not.
    seen = onModal(u"Form4"_s, [&](QDialog *list) {
        doubleClickRow(list, m_db.data().oper().recNo() - 1);
        QVERIFY(!list->isVisible());
    });
    const auto picked = m_list->pick(OperationList::Pick, second, false, 3);
    QVERIFY(*seen);
    QVERIFY(picked);
    QCOMPARE(picked->operationId, second);
    // 1.75 since the norm window, x1.2 in shift 3.
    QCOMPARE(picked->basePrice.toString(), u"1.75"_s);
    QCOMPARE(picked->finalPrice.toString(), u"2.1"_s);
}

void PriceListTest::exportToExcel()
{
    const int priced = addOperation(m_drilling, m_bolt8, 1, {u"10"_s});
    m_db.exec(u"update accounts_dep.oper set cena_new=12.5 where id=:id"_s, {{u"id"_s, priced}});
    addOperation(m_painting, m_nut, 0); // no norm rows
    const int operations = m_db.count(u"accounts_dep.oper"_s);

    auto seen = onModal(u"Form4"_s, [&](QDialog *list) {
        // The filter of the list does not narrow the export.
        typeText(list->findChild<QLineEdit *>(u"Edit1"_s), u"шайба"_s);
        QCOMPARE(m_db.data().oper().recordCount(), 0);
        button(list, u"Button5"_s)->click();
        list->reject();
    });
    m_list->openFromMenu();
    QVERIFY(*seen);
    QVERIFY(m_messages.shown.isEmpty());
    QCOMPARE(m_opener.opened.size(), 1);
    const QString path = m_opener.opened.constFirst();
    QVERIFY2(path.startsWith(m_folder.path() + u"/Цены "_s), qPrintable(path));

    const QJsonObject book = readWorkbook(path);
    QVERIFY(!book.isEmpty());
    QHash<QPair<int, int>, QJsonObject> cells;
    int lastRow = 0;
    for (const QJsonValue &value : book.value("cells"_L1).toArray()) {
        const QJsonObject cell = value.toObject();
        const int row = cell.value("row"_L1).toInt();
        const int column = cell.value("column"_L1).toInt();
        QVERIFY2(column >= 1 && column <= 4, "four columns only");
        cells.insert({row, column}, cell);
        lastRow = std::max(lastRow, row);
    }
    QCOMPARE(lastRow, operations + 1);
    const QStringList header{u"Марка"_s, u"Операция"_s, u"Цена"_s, u"Вид"_s};
    for (int column = 1; column <= 4; ++column)
        QCOMPARE(cells.value({1, column}).value("value"_L1).toString(), header[column - 1]);

    const auto rowOf = [&](const QString &mark, const QString &kind) {
        for (int row = 2; row <= lastRow; ++row) {
            if (cells.value({row, 1}).value("value"_L1).toString() == mark &&
                cells.value({row, 2}).value("value"_L1).toString() == kind)
                return row;
        }
        return 0;
    };
    const int pricedRow = rowOf(u"Болт М8"_s, u"Сверловка  "_s);
    QVERIFY(pricedRow > 0);
    QCOMPARE(cells.value({pricedRow, 3}).value("type"_L1).toString(), u"number"_s);
    QCOMPARE(cells.value({pricedRow, 3}).value("value"_L1).toDouble(), 12.5);
    QCOMPARE(cells.value({pricedRow, 4}).value("value"_L1).toString(), u"Заготовки"_s);
    const int bareRow = rowOf(u"Гайка О'Нил"_s, u"Покраска"_s);
    QVERIFY(bareRow > 0);
    QCOMPARE(cells.value({bareRow, 3}).value("type"_L1).toString(), u"number"_s);
    QCOMPARE(cells.value({bareRow, 3}).value("value"_L1).toDouble(), 0.0);
    QCOMPARE(cells.value({bareRow, 4}).value("value"_L1).toString(), u"Готовая продукция"_s);
    // In the order of the list: by mark.
    QVERIFY(pricedRow < bareRow);
}

QTEST_MAIN(PriceListTest)
#include "tst_pricelist.moc"
