#include "core/analysis/placedPositions.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statistics.h"

#include <memory>

namespace zqar {

std::vector<PlacedPosition> placedPositions(const LoggerArray &array) {
    const ArrayDimensions d = array.dimensions();
    std::vector<PlacedPosition> positions;
    positions.reserve(static_cast<std::size_t>(d.rows) * d.columns + d.singularCount);
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            positions.push_back({positionName(row, col), row, col, array.at(row, col)});
    for (int slot = 0; slot < d.singularCount; ++slot)
        positions.push_back(
            {positionName(SINGULAR_ROW, slot), SINGULAR_ROW, slot, array.at(SINGULAR_ROW, slot)});
    return positions;
}

LoggerArray copyArray(const LoggerArray &array) {
    const ArrayDimensions d = array.dimensions();
    LoggerArray copy;
    copy.resize(d.rows, d.columns, d.singularCount);
    for (const PlacedPosition &p : placedPositions(array))
        if (p.record)
            copy.place(p.row, p.col, std::make_unique<LogFile>(*p.record));
    return copy;
}

} // namespace zqar
