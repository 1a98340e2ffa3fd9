#pragma once
// One computed set: a temperature for every array position and singular slot, at one time
// or averaged over one interval. The set list owns its sets; a set is not changed once its
// calculation has appended it.

#include "core/data/LogFile.h"
#include "core/data/dateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

// Row of the singular slots in a set's addressing (-1 is the border ring).
constexpr int SINGULAR_ROW = -2;

class TemperatureSet {
public:
    TemperatureSet(double time, double span, int32_t rows, int32_t columns, int32_t singularCount);

    DateTime time;     // moment of the set, or start of its interval
    double span = 0.0; // days; 0 for a set at a time
    int32_t rows = 0;
    int32_t columns = 0;
    int32_t singularCount = 0;

    // Grid cell (row, col), or singular slot col with row -2; anything else is ignored.
    void setValue(int row, int col, double value);
    // Marks a grid cell or singular slot (same addressing) as filled from a placed logger,
    // as opposed to estimated by fillGaps or left empty.
    void setMeasured(int row, int col);
    bool isMeasured(int row, int col) const;
    // Stored values, the extrapolated border ring, NO_VALUE anywhere else.
    double valueAt(int row, int col) const;
    // One pass that estimates missing grid cells from their neighbours in row and column.
    void fillGaps();
    // "Time: %s" for a set at a time, "From %s to %s" for an averaged one.
    std::string title() const;

private:
    double cell(int row, int col) const {
        return values[static_cast<std::size_t>(row) * columns + col];
    }
    double singularAt(int slot) const { return values[gridSize + static_cast<std::size_t>(slot)]; }

    // The grid, rows x columns row-major, then the singular slots: one allocation per set,
    // since a calculation may make tens of thousands of sets.
    std::size_t gridSize = 0;
    std::vector<double> values;
    // One bit per value in the same order. Arrays of up to 64 positions keep them in the
    // set itself; larger ones get a vector.
    std::optional<std::size_t> flatIndex(int row, int col) const;
    uint64_t measuredSmall = 0;
    std::vector<uint64_t> measuredLarge;
};

} // namespace zqar
