#include "widgets/restrictions.h"

#include "widgets/datagrid.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace kordel {

void applyRestrictions(Role role, QWidget *window)
{
    if (!window)
        return;
    // The timesheet menu is open only to administrators, whatever else applies.
    if (window->objectName() == u"Form1"_s) {
        if (auto *menu = window->findChild<QMenu *>(u"N11"_s))
            menu->menuAction()->setEnabled(role == Role::Administrator);
    }
    for (const QString &name : disabledControls(role, window->objectName())) {
        QObject *control = window->findChild<QObject *>(name);
        if (auto *menu = qobject_cast<QMenu *>(control))
            menu->menuAction()->setEnabled(false);
        else if (auto *action = qobject_cast<QAction *>(control))
            action->setEnabled(false);
        else if (auto *grid = qobject_cast<DataGrid *>(control))
            grid->setActionsRefused(true); // still read and scrolled
        else if (auto *widget = qobject_cast<QWidget *>(control))
            widget->setEnabled(false);
    }
}

} // namespace kordel
