#include "books/producteditwindow.h"

#include "books/productsstore.h"
#include "core/datamodule.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

// "Расценка": digits and Backspace; a point or a comma is entered as a point;
// other characters are ignored.  Keys that type nothing keep their meaning.
class MassaEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const QString typed = event->text();
        if (event->key() == Qt::Key_Backspace || typed.isEmpty() || !typed.front().isPrint()) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        event->accept();
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            QLineEdit::keyPressEvent(event); // shortcuts such as copy and paste
            return;
        }
        const QChar c = typed.front();
        if (c == u'.' || c == u',')
            insert(u"."_s);
        else if (c >= u'0' && c <= u'9')
            insert(QString(c));
    }
};

} // namespace

ProductEditWindow::ProductEditWindow(DataModule &dataModule, QWidget *parent)
    : QDialog(parent), m_data(dataModule), m_store(std::make_unique<ProductsStore>(dataModule))
{
    setObjectName(u"Form7"_s);
    setWindowTitle(u"Заведение нового изделия (7)"_s);

    auto *box = new QGroupBox(u"Данные об изделии"_s, this);
    box->setObjectName(u"GroupBox1"_s);
    m_mark = new QLineEdit(box);
    m_mark->setObjectName(u"Edit1"_s);
    m_mark->setMaxLength(254);
    m_massa = new MassaEdit(box);
    m_massa->setObjectName(u"Edit2"_s);
    m_massa->setMaxLength(30);
    m_group = new QComboBox(box);
    m_group->setObjectName(u"DBLookupComboBox1"_s);
    m_group->setMaxVisibleItems(20);
    auto *fields = new QFormLayout(box);
    fields->addRow(u"Марка"_s, m_mark);
    fields->addRow(u"Расценка"_s, m_massa);
    fields->addRow(u"Номенклатурная группа"_s, m_group);

    auto *write = makeButton(u"Button1"_s, u"Записать"_s, this, ButtonRole::Default);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(dialogButtons(write, cancel));
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));

    connect(write, &QPushButton::clicked, this, &ProductEditWindow::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_group, &QComboBox::activated, this, [this] { m_lastGroup = chosenGroup(); });
}

ProductEditWindow::~ProductEditWindow() = default;

bool ProductEditWindow::addProduct()
{
    m_mode = NewProduct;
    m_id = 0;
    setWindowTitle(u"Заведение нового изделия (7)"_s);
    m_mark->clear();
    m_massa->clear();
    return run();
}

bool ProductEditWindow::changeProduct(int id, const QString &mark, const QString &massa, int groupId)
{
    m_mode = ChangeProduct;
    m_id = id;
    setWindowTitle(u"Изменение данных изделия (7)"_s);
    m_mark->setText(mark);
    m_massa->setText(massa);
    m_lastGroup = groupId;
    return run();
}

bool ProductEditWindow::run()
{
    if (!guarded(this, [this] { openGroups(); }))
        return false;
    const bool written = exec() == QDialog::Accepted;
    m_store->groups().close();
    m_group->clear();
    return written;
}

void ProductEditWindow::openGroups()
{
    Dataset &groups = m_store->groups();
    groups.open();
    m_group->clear();
    for (int row = 0; row < groups.recordCount(); ++row)
        m_group->addItem(groups.valueAt(row, u"s_caption"_s).toString(),
                         groups.valueAt(row, u"id"_s).toInt());
    // The last choice is offered again; a group no longer in use is not.
    m_group->setCurrentIndex(m_group->findData(m_lastGroup));
}

int ProductEditWindow::chosenGroup() const
{
    return m_group->currentIndex() < 0 ? 0 : m_group->currentData().toInt();
}

void ProductEditWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - rect().center());
    m_mark->setFocus();
}

void ProductEditWindow::save()
{
    guarded(this, [this] {
        m_lastGroup = chosenGroup();
        const ProductsStore::Fields fields{m_mark->text(), m_massa->text(), m_lastGroup};
        if (messages::passes(this, m_store->save(m_mode == ChangeProduct ? m_id : 0, fields).check))
            accept();
    });
}

} // namespace kordel
