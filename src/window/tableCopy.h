#pragma once
// Copying a table of a window: the selected cells as tab-separated text with the headings of
// their columns, rows and columns in the order the view shows them (sorted as the user sorted
// it). A spreadsheet pastes each cell into a cell of its own.

#include <string>

class QTableView;

namespace zqar {

// The selected cells, or the whole table when none are selected. Cells between selected ones
// that are not selected themselves stay empty, so every line has the same columns.
std::string tableViewText(const QTableView &view);

// Ctrl+C (the platform's Copy key) on the view puts tableViewText on the clipboard.
void copyTableOnKey(QTableView &view);

} // namespace zqar
