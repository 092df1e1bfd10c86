#include "timesheets/monthsheets.h"

#include "timesheets/pieceworkwindow.h"

#include <QAction>
#include <QDate>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace kordel {

void wireMonthSheets(QWidget &mainWindow, DataModule &dataModule)
{
    auto *piecework = new PieceworkWindow(dataModule, &mainWindow);
    auto onItem = [&mainWindow](const QString &name, auto &&open) {
        if (auto *action = mainWindow.findChild<QAction *>(name))
            QObject::connect(action, &QAction::triggered, &mainWindow, open);
    };
    onItem(u"N9"_s, [piecework] { piecework->openMode(PieceworkMode::Piecework, QDate::currentDate()); });
    onItem(u"N17"_s, [piecework] { piecework->openMode(PieceworkMode::General, QDate::currentDate()); });
    onItem(u"N18"_s, [piecework] { piecework->openMode(PieceworkMode::Average, QDate::currentDate()); });
    onItem(u"N20"_s, [piecework] { piecework->openMode(PieceworkMode::Household, QDate::currentDate()); });
}

} // namespace kordel
