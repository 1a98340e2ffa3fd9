#pragma once
// The positions of a logger array by name, as the tables and the settings write them: "R3C2"
// for the cell in row 3, column 2, and "S1" for the first singular slot.

#include "core/data/LoggerArray.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// From 0, in set addressing: row SINGULAR_ROW (core/analysis/TemperatureSet.h) names singular
// slot col.
struct ArrayPosition {
    int row = 0;
    int col = 0;
};
inline bool operator==(ArrayPosition a, ArrayPosition b) {
    return a.row == b.row && a.col == b.col;
}

// "R3C2" or "S1" in any letter case, with blanks around it; numbers from 1.
std::optional<ArrayPosition> readArrayPosition(std::string_view text);
std::string arrayPositionName(ArrayPosition position);

bool isInArray(const ArrayDimensions &dimensions, ArrayPosition position);
// The cells row by row, then the singular slots: the order of the statistics' positions.
std::vector<ArrayPosition> arrayPositions(const ArrayDimensions &dimensions);
const LogFile *recordAt(const LoggerArray &array, ArrayPosition position);

} // namespace zqar
