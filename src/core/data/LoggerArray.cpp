#include "core/data/LoggerArray.h"

#include "core/data/numbers.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <algorithm>

namespace zqar {

LayoutCounts readLayoutCounts(std::string_view rowsText, std::string_view columnsText,
                              std::string_view singularText) {
    LayoutCounts result;
    ArrayDimensions &counts = result.dimensions;
    counts.rows = std::max(readInteger(rowsText), 0);
    counts.columns = std::max(readInteger(columnsText), 0);
    counts.singularCount = std::max(readInteger(singularText), 0);
    const int64_t arrayCells = int64_t{counts.rows} * counts.columns;
    if (arrayCells > MAX_ARRAY_CELLS || counts.rows > MAX_ARRAY_CELLS ||
        counts.columns > MAX_ARRAY_CELLS) {
        counts.rows = 0;
        counts.columns = 0;
        result.tooLarge = true;
    }
    if (counts.singularCount > MAX_SINGULAR_COUNT) {
        counts.singularCount = 0;
        result.tooLarge = true;
    }
    return result;
}

ArrayDimensions layoutDimensions(std::string_view rowsText, std::string_view columnsText,
                                 std::string_view singularText) {
    return readLayoutCounts(rowsText, columnsText, singularText).dimensions;
}

void LoggerArray::resize(int32_t newRows, int32_t newColumns, int32_t newSingularCount) {
    rows = std::max(newRows, 0);
    columns = std::max(newColumns, 0);
    singularCount = std::max(newSingularCount, 0);
    cells.clear();
    singulars.clear();
    cells.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    singulars.resize(static_cast<std::size_t>(singularCount));
    emptyNotes.clear();
}

LogFile *LoggerArray::at(int row, int col) const {
    if (row >= 0) {
        if (row < rows && col >= 0 && col < columns)
            return cells[static_cast<std::size_t>(row) * columns + col].get();
        return nullptr;
    }
    if (col >= 0 && col < singularCount)
        return singulars[static_cast<std::size_t>(col)].get();
    return nullptr;
}

void LoggerArray::place(int row, int col, std::unique_ptr<LogFile> record) {
    emptyNotes.erase({row < 0 ? -1 : row, col});
    if (row >= 0) {
        if (row < rows && col >= 0 && col < columns)
            cells[static_cast<std::size_t>(row) * columns + col] = std::move(record);
        return;
    }
    if (col >= 0 && col < singularCount)
        singulars[static_cast<std::size_t>(col)] = std::move(record);
}

void LoggerArray::noteEmpty(int row, int col, EmptyPosition why) {
    const bool inside =
        row >= 0 ? row < rows && col >= 0 && col < columns : col >= 0 && col < singularCount;
    if (inside && !at(row, col))
        emptyNotes[{row < 0 ? -1 : row, col}] = std::move(why);
}

const EmptyPosition *LoggerArray::whyEmpty(int row, int col) const {
    if (at(row, col))
        return nullptr;
    const auto note = emptyNotes.find({row < 0 ? -1 : row, col});
    return note == emptyNotes.end() ? nullptr : &note->second;
}

std::string positionName(int row, int col) {
    if (row < 0)
        return text::format(text::SINGULAR_LABEL, col + 1);
    return text::format(text::ROW_LABEL, row + 1) + text::format(text::COLUMN_LABEL, col + 1);
}

} // namespace zqar
