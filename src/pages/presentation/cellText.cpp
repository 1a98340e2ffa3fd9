#include "pages/presentation/cellText.h"

#include "platform/ListView.h"

namespace zqar {

std::string tabSeparatedText(const TextRows &rows) {
    std::string text;
    for (const std::vector<std::string> &row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += '\t';
            for (const char c : row[i])
                text += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
        }
        text += '\n';
    }
    return text;
}

TextRows headedBlock(const platform::ListView &list, const CellBlock &block, int headingRow,
                     int headingColumn) {
    const bool withHeadingRow = headingRow >= 0 && headingRow < block.top;
    const bool withHeadingColumn = headingColumn >= 0 && headingColumn < block.left;
    auto line = [&](int row) {
        std::vector<std::string> cells;
        if (withHeadingColumn)
            cells.push_back(list.itemText(row, headingColumn));
        for (int column = block.left; column <= block.right; ++column)
            cells.push_back(list.itemText(row, column));
        return cells;
    };
    TextRows rows;
    if (withHeadingRow)
        rows.push_back(line(headingRow));
    for (int row = block.top; row <= block.bottom; ++row)
        rows.push_back(line(row));
    return rows;
}

} // namespace zqar
