#pragma once
// The positions of a logger array in the order every table and CSV file lists them, and a
// copy of an array that a calculation may change without touching the records the user loaded.

#include "core/data/LoggerArray.h"

#include <string>
#include <vector>

namespace zqar {

struct PlacedPosition {
    std::string position; // "R1C1" for a cell, "S1" for a singular slot
    int row = 0;          // the cell's row, or SINGULAR_ROW for a slot (LoggerArray takes both)
    int col = 0;
    const LogFile *record = nullptr; // none for an empty position
};

// Cells row by row, then the singular slots; empty positions included.
std::vector<PlacedPosition> placedPositions(const LoggerArray &array);

// The same layout with a copy of every placed record in the same position.
LoggerArray copyArray(const LoggerArray &array);

} // namespace zqar
