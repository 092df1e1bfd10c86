#pragma once

class QWidget;

namespace kordel {

class DataModule;

// Creates the piecework, nomenclature-group and payroll timesheet windows
// once, as children of the main window, and connects the main window's
// "Табель" menu commands that open them (found by name: N9, N17, N18, N19,
// N20, N22, N23).
void wireMonthSheets(QWidget &mainWindow, DataModule &dataModule);

} // namespace kordel
