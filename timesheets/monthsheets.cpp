#include "timesheets/monthsheets.h"

#include "timesheets/groupsheetwindow.h"
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
    auto *groups = new GroupSheetWindow(dataModule, &mainWindow);
    onItem(u"N19"_s, [groups] { groups->openMode(7778, QDate::currentDate()); });
    onItem(u"N22"_s, [groups] { groups->openMode(7777, QDate::currentDate()); });
    auto *payroll = new PayrollWindow(dataModule, &mainWindow);
    onItem(u"N23"_s, [payroll] { payroll->openFor(QDate::currentDate()); });
}

} // namespace kordel
