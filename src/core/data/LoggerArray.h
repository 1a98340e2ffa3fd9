#pragma once
// Which log file sits where: rows x columns cells, row-major, and a row of singular slots.
// The array holds the only reference to every placed record.

#include "core/data/LogFile.h"
#include "core/data/bounds.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct ArrayDimensions {
    int32_t rows = 0;
    int32_t columns = 0;
    int32_t singularCount = 0;
};

// Layout counts as Update Layout takes them from the three count texts.
//   Negative counts are 0. So are counts beyond the bounds, which keep a project or report of
//   a few bytes from costing gigabytes in tables and sets: rows and columns both become 0
//   when rows x columns, or either count alone, exceeds MAX_ARRAY_CELLS, and the singular
//   count becomes 0 above MAX_SINGULAR_COUNT; tooLarge then says so. Load Report sizes what
//   it reads with the same rule, so the two always agree. The bounds are in data/bounds.h.
struct LayoutCounts {
    ArrayDimensions dimensions;
    bool tooLarge = false; // a count was set to 0 for exceeding its bound
};
LayoutCounts readLayoutCounts(std::string_view rowsText, std::string_view columnsText,
                              std::string_view singularText);
ArrayDimensions layoutDimensions(std::string_view rowsText, std::string_view columnsText,
                                 std::string_view singularText);

// The name of a position as tables, files and charts give it: "R1C2" for cell (0, 1), "S1"
// for singular slot 0 (any negative row), counted from 1.
std::string positionName(int row, int col);

// Why a position holds no record after Load Files.
enum class NotLoaded {
    NoSerialNumber, // serial-number mode: the cell names no logger
    NoFile,         // no log file names the logger, or the position in its comment lines
    Unreadable,     // the logger's file could not be opened, or is no log file
    NoSamples,      // the file that names the logger or the position ran short of samples
    FilteredOut,    // the project number or date stamp filter left the file out
};

struct EmptyPosition {
    NotLoaded reason = NotLoaded::NoFile;
    std::string serial; // the serial number in the cell; empty in comment-field mode
    std::string path;   // the file the reason is about, when there is one
};

class LoggerArray {
public:
    ArrayDimensions dimensions() const { return {rows, columns, singularCount}; }
    // Stores the counts (negative ones as 0) and empties every position.
    void resize(int32_t newRows, int32_t newColumns, int32_t newSingularCount);

    // row >= 0: cell (row, col); any negative row: singular slot col. Null outside.
    LogFile *at(int row, int col) const;
    // Same addressing; a position out of range drops the record. A record placed takes the
    // position's note away.
    void place(int row, int col, std::unique_ptr<LogFile> record);

    // Notes why a position stayed empty. Ignored for a position outside the array or with a
    // record. resize takes every note away.
    void noteEmpty(int row, int col, EmptyPosition why);
    // The note of an empty position; null where a record is placed or nothing was noted.
    const EmptyPosition *whyEmpty(int row, int col) const;

    // Visits the placed records in array order: cells row by row, then the singular slots.
    template <typename F> void forEachPlaced(F &&visit) const {
        for (const auto &cell : cells)
            if (cell)
                visit(*cell);
        for (const auto &slot : singulars)
            if (slot)
                visit(*slot);
    }

private:
    int32_t rows = 0;
    int32_t columns = 0;
    int32_t singularCount = 0;
    std::vector<std::unique_ptr<LogFile>> cells;
    std::vector<std::unique_ptr<LogFile>> singulars;
    // By (row, col), singular slots with row -1.
    std::map<std::pair<int, int>, EmptyPosition> emptyNotes;
};

} // namespace zqar
