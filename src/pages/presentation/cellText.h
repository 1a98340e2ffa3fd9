#pragma once
// Table cells as the clipboard takes them: tab-separated, one line for each row, so that a
// spreadsheet puts each cell in a cell of its own. The Matrix lists and the statistics table
// copy their selection this way.

#include <string>
#include <vector>

namespace zqar {

namespace platform {
class ListView;
}

using TextRows = std::vector<std::vector<std::string>>;

// The rows joined by tabs, "\n" after every row. A tab or a line end inside a cell would
// split it, so it becomes a blank.
std::string tabSeparatedText(const TextRows &rows);

// List rows top to bottom and columns left to right, both inclusive.
struct CellBlock {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

// The block's texts, headed by the list's heading row and heading column where the block does
// not already take them in; a heading of -1 is a list that has none. The heading row takes the
// heading column's text too, so that each line starts with the same column.
TextRows headedBlock(const platform::ListView &list, const CellBlock &block, int headingRow,
                     int headingColumn);

} // namespace zqar
