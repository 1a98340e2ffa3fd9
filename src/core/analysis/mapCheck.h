#pragma once
// How far the map can be trusted between the loggers: for every calculated set and every grid
// position filled from a placed logger, the error e = T^ - T of the value the set's own gap
// filling gives that position when its reading is taken out of the set. Per set the largest
// error and the root mean square, per position the root mean square over the sets and the
// largest error. Plain values in, plain values out.
//
// Singular slots are not checked: the gap filling never estimates them. The border ring lies
// outside the grid and gives no value at a grid position, so it plays no part either. A
// position that the gap filling leaves without an estimate once its reading is out (too few
// neighbours with values) has no error in that set.

#include <cstddef>
#include <string>
#include <vector>

namespace zqar {

class LoggerArray;
class SetList;
class TemperatureSet;

struct SetCheck {
    int checked = 0;           // positions with an error in this set
    double largestError = 0.0; // the error of largest magnitude, with its sign
    int largestRow = 0;        // its grid cell
    int largestCol = 0;
    double rms = 0.0;
    std::vector<double> errors; // rows x columns, row-major; NO_VALUE where none
};

struct PositionCheck {
    int row = 0;
    int col = 0;
    std::string position;      // "R1C1"
    std::string logger;        // the placed record's label
    int sets = 0;              // sets with an error at this position
    double rms = 0.0;          // over those sets
    double largestError = 0.0; // with its sign
    int largestSet = 0;        // index into the set list
};

struct MapCheck {
    int rows = 0;
    int columns = 0;
    std::vector<SetCheck> sets;           // one per set of the list, in its order
    std::vector<PositionCheck> positions; // the grid cells holding a logger, row by row
    // The largest error of the whole study.
    bool found = false;
    double worstError = 0.0;
    int worstSet = 0;
    int worstRow = 0;
    int worstCol = 0;
};

// The errors of one set, as checkMap finds them for each of its sets.
SetCheck checkSet(const TemperatureSet &set);

// Sets whose shape is not the array's are left unchecked. threads: 0 for one per core; the
// result is the same for any number.
MapCheck checkMap(const SetList &sets, const LoggerArray &array, unsigned threads = 0);

// "Set,From,To,Largest Error,At Position,RMS" with a row per set (the largest error as its
// magnitude), an empty line, then "Position,Logger,RMS Error,Largest Error,At Set" with a row
// per position; sets are numbered from 1, "-" where there is no error.
std::string mapCheckCsv(const SetList &sets, const MapCheck &check);
// The rows of the per-position block of that file, as the window and the report show them.
std::vector<std::vector<std::string>> mapCheckPositionRows(const MapCheck &check);

} // namespace zqar
