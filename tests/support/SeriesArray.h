#pragma once
// Logger arrays made from plain series for the analysis tests, without the pages: one record
// per position, all starting together with the same sample period.

#include "core/data/LoggerArray.h"
#include "core/data/dateTime.h"
#include "support/Records.h"

#include <memory>
#include <string>
#include <vector>

namespace zqar::testing {

constexpr double MINUTE = 60.0; // seconds

// 1 June 2025 at midnight.
inline double juneFirst() { return dayNumberFromCivil(CivilTime{2025, 6, 1, 0, 0, 0}); }

inline std::unique_ptr<LogFile> seriesRecord(const std::string &name, double start,
                                             double periodSeconds, std::vector<double> values) {
    return recordWith(name, start, periodSeconds, std::move(values));
}

// cells: rows x columns series, row-major, an empty one for a cell without a logger; then
// the singular slots' series. Loggers are named L1, L2 ... in that order.
inline LoggerArray seriesArray(int rows, int columns, const std::vector<std::vector<double>> &cells,
                               const std::vector<std::vector<double>> &singular = {},
                               double start = juneFirst(), double periodSeconds = MINUTE) {
    LoggerArray array;
    array.resize(rows, columns, static_cast<int32_t>(singular.size()));
    int number = 0;
    for (int cell = 0; cell < rows * columns; ++cell) {
        ++number;
        if (!cells[static_cast<std::size_t>(cell)].empty())
            array.place(cell / columns, cell % columns,
                        seriesRecord("L" + std::to_string(number), start, periodSeconds,
                                     cells[static_cast<std::size_t>(cell)]));
    }
    for (std::size_t slot = 0; slot < singular.size(); ++slot) {
        ++number;
        array.place(
            -1, static_cast<int>(slot),
            seriesRecord("L" + std::to_string(number), start, periodSeconds, singular[slot]));
    }
    return array;
}

} // namespace zqar::testing
