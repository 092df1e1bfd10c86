#include "books/groupswindow.h"

#include "books/groupeditwindow.h"
#include "books/groupsstore.h"
#include "core/datamodule.h"
#include "widgets/datagrid.h"
#include "widgets/filteredit.h"
#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

// The household work entry window narrows the book while it picks.
constexpr int kWidth = 585;
constexpr int kPickWidth = 460;
constexpr int kHeight = 460;
constexpr int kExcludedColumn = 1;

} // namespace

GroupsWindow::GroupsWindow(DataModule &dataModule, GroupEditWindow &editor, QWidget *parent)
    : ListWindow(parent), m_data(dataModule), m_editor(editor),
      m_store(std::make_unique<GroupsStore>(dataModule))
{
    setObjectName(u"Form26"_s);
    setWindowTitle(u"Номенклатура (26)"_s);

    m_grid =
        addGrid(u"DBGrid1"_s,
                {{u"s_caption"_s, u"Наименование"_s}, {u"s_excl"_s, u"Не используется"_s, Qt::AlignCenter}},
                m_store->list());
    m_grid->setColumnWidth(0, 400);

    m_filter = addFilter(u"Edit1"_s, FilterEdit::Keys::ConsumeKeyDown, m_store->list());

    m_delete = makeButton(u"Button1"_s, u"Удалить"_s, this);
    m_add = makeButton(u"Button2"_s, u"Добавить"_s, this);
    m_change = makeButton(u"Button3"_s, u"Изменить"_s, this, ButtonRole::Default);
    auto *exit = makeButton(u"Button4"_s, u"Выход"_s, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_grid);
    layout->addLayout(buttonRow({m_delete, m_add, m_change}, exit));
    setFixedSize(kWidth, kHeight);

    // "Изменить" and "Выбрать" alike are pressed by Enter.
    setModeButtons(m_change, {m_delete, m_add}, true);
    connect(m_filter, &QLineEdit::textChanged, this, &GroupsWindow::applyFilter);
    connect(m_delete, &QPushButton::clicked, this, &GroupsWindow::deleteGroup);
    connect(m_add, &QPushButton::clicked, this, &GroupsWindow::addGroup);
    connect(m_change, &QPushButton::clicked, this, &GroupsWindow::changeGroup);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &GroupsWindow::changeGroup);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

GroupsWindow::~GroupsWindow() = default;

bool GroupsWindow::openList()
{
    return guarded(this, [this] { m_store->list().open(); });
}

void GroupsWindow::openFromMenu()
{
    m_mode = MenuMode;
    m_picked.reset();
    enterMode(ListMode::Menu);
    applyFilter();
    if (!openList())
        return;
    exec();
    m_store->list().close();
}

std::optional<GroupPick> GroupsWindow::pick()
{
    m_mode = HouseholdPick;
    m_picked.reset();
    enterMode(ListMode::Pick);
    m_grid->setColumnHidden(kExcludedColumn, true);
    setFixedSize(kPickWidth, kHeight);
    applyFilter();
    if (openList())
        exec();

    // Back to the book as the menu shows it.
    enterMode(ListMode::Menu);
    m_grid->setColumnHidden(kExcludedColumn, false);
    setFixedSize(kWidth, kHeight);
    m_store->list().close();
    m_mode = MenuMode;
    applyFilter();
    return std::exchange(m_picked, std::nullopt);
}

void GroupsWindow::showEvent(QShowEvent *event)
{
    ListWindow::showEvent(event);
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - rect().center());
    m_filter->setFocus();
}

void GroupsWindow::applyFilter()
{
    // A typed beginning narrows the list; in pick mode groups not in use
    // stay out whatever is typed.
    QList<Dataset::Filter> parts;
    if (m_mode == HouseholdPick)
        parts << filters::equals(u"b_excluded"_s, 0);
    if (!m_filter->text().isEmpty())
        parts << filters::beginsWith(u"s_caption"_s, m_filter->text());
    Dataset &list = m_store->list();
    list.applyFilter(parts.isEmpty() ? Dataset::Filter() : filters::allOf(parts));
}

void GroupsWindow::deleteGroup()
{
    if (m_mode != MenuMode)
        return;
    Dataset &list = m_store->list();
    if (!list.hasCurrent())
        return;
    const int id = list.intValue(u"id"_s);
    guarded(this, [&] {
        const Check check = m_store->checkDelete(id);
        if (check.isRefused()) {
            MessageService::current().inform(this, check.message(), u"Удаление"_s, MessageIcon::Error);
            return;
        }
        if (!messages::askDelete(this, u"Удалить позицию из списка?"_s))
            return;
        m_store->remove(id);
        list.reopenAt(list.recNo());
    });
}

void GroupsWindow::addGroup()
{
    if (m_mode != MenuMode)
        return;
    reopenAfter(this, m_store->list(), [this] { return m_editor.addGroup(); });
}

void GroupsWindow::changeGroup()
{
    Dataset &list = m_store->list();
    if (!list.hasCurrent())
        return;
    if (m_mode == HouseholdPick) {
        m_picked = GroupPick{list.intValue(u"id"_s), list.text(u"s_caption"_s)};
        accept();
        return;
    }
    reopenAfter(this, list, [&] {
        return m_editor.changeGroup(list.intValue(u"id"_s), list.text(u"s_caption"_s).trimmed(),
                                    list.intValue(u"b_excluded"_s) != 0);
    });
}

} // namespace kordel
