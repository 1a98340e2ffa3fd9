#include "core/analysis/mapCheck.h"

#include "core/analysis/SetList.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/LoggerArray.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"

#include <cmath>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;

} // namespace

// The calculation stored the loggers' readings, ran the gap filling
// once and marked the readings as measured; so the grid it filled is the measured values
// alone, and taking one of them out and filling again gives what the map would show there
// without that logger: the estimates before it in the pass change too when they leaned on it.
SetCheck checkSet(const TemperatureSet &set) {
    SetCheck result;
    const int rows = set.rows;
    const int columns = set.columns;
    result.errors.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns),
                         NO_VALUE);
    std::vector<double> readings(result.errors.size(), NO_VALUE);
    std::vector<std::pair<int, int>> gaps;
    TemperatureSet scratch(set.time.day, set.span, rows, columns, 0);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col) {
            const double value = set.valueAt(row, col);
            if (set.isMeasured(row, col) && value != NO_VALUE) {
                readings[static_cast<std::size_t>(row) * columns + col] = value;
                scratch.setValue(row, col, value);
            } else {
                gaps.emplace_back(row, col);
            }
        }

    double squares = 0.0;
    double largestMagnitude = -1.0;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col) {
            const double reading = readings[static_cast<std::size_t>(row) * columns + col];
            if (reading == NO_VALUE)
                continue;
            scratch.setValue(row, col, NO_VALUE);
            scratch.fillGaps();
            const double estimate = scratch.valueAt(row, col);
            // The gap filling changes the empty cells alone: emptying them again restores
            // the measured grid for the next position.
            for (const auto &[gapRow, gapCol] : gaps)
                scratch.setValue(gapRow, gapCol, NO_VALUE);
            scratch.setValue(row, col, reading);
            if (estimate == NO_VALUE)
                continue;
            const double error = estimate - reading;
            result.errors[static_cast<std::size_t>(row) * columns + col] = error;
            squares += error * error;
            ++result.checked;
            if (std::fabs(error) > largestMagnitude) {
                largestMagnitude = std::fabs(error);
                result.largestError = error;
                result.largestRow = row;
                result.largestCol = col;
            }
        }
    if (result.checked > 0)
        result.rms = std::sqrt(squares / result.checked);
    return result;
}

namespace {

std::string temperature(double value) { return formatFixed(value, TEMPERATURE_DECIMALS); }

} // namespace

MapCheck checkMap(const SetList &sets, const LoggerArray &array, unsigned threads) {
    MapCheck check;
    const ArrayDimensions d = array.dimensions();
    check.rows = d.rows;
    check.columns = d.columns;
    const std::size_t cells =
        static_cast<std::size_t>(d.rows) * static_cast<std::size_t>(d.columns);
    std::vector<double> squares(cells, 0.0);
    std::vector<int> counts(cells, 0);
    std::vector<double> largest(cells, 0.0);
    std::vector<int> largestSet(cells, 0);
    check.sets.reserve(static_cast<std::size_t>(sets.count()));

    // Each set is checked on its own; the per-position sums are made here, in set order,
    // whatever thread checked the set.
    parallelInOrder<SetCheck>(
        static_cast<std::size_t>(sets.count()), threads,
        [&](std::size_t index) {
            const TemperatureSet &set = *sets.at(static_cast<int>(index));
            if (set.rows != d.rows || set.columns != d.columns)
                return SetCheck{};
            return checkSet(set);
        },
        [&](std::size_t index, SetCheck result) {
            const int setIndex = static_cast<int>(index);
            for (std::size_t cell = 0; cell < result.errors.size(); ++cell) {
                const double error = result.errors[cell];
                if (error == NO_VALUE)
                    continue;
                squares[cell] += error * error;
                if (counts[cell] == 0 || std::fabs(error) > std::fabs(largest[cell])) {
                    largest[cell] = error;
                    largestSet[cell] = setIndex;
                }
                ++counts[cell];
            }
            if (result.checked > 0 &&
                (!check.found || std::fabs(result.largestError) > std::fabs(check.worstError))) {
                check.found = true;
                check.worstError = result.largestError;
                check.worstSet = setIndex;
                check.worstRow = result.largestRow;
                check.worstCol = result.largestCol;
            }
            check.sets.push_back(std::move(result));
        });

    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col) {
            const LogFile *logger = array.at(row, col);
            if (!logger)
                continue;
            const std::size_t cell = static_cast<std::size_t>(row) * d.columns + col;
            PositionCheck position;
            position.row = row;
            position.col = col;
            position.position = positionName(row, col);
            position.logger = logger->label();
            position.sets = counts[cell];
            if (counts[cell] > 0) {
                position.rms = std::sqrt(squares[cell] / counts[cell]);
                position.largestError = largest[cell];
                position.largestSet = largestSet[cell];
            }
            check.positions.push_back(std::move(position));
        }
    return check;
}

std::string mapCheckCsv(const SetList &sets, const MapCheck &check) {
    const std::string none(text::NO_LOGGER);
    std::string csv(text::MAP_CHECK_SETS_HEADER);
    csv += CSV_LINE_END;
    for (std::size_t index = 0; index < check.sets.size(); ++index) {
        const SetCheck &result = check.sets[index];
        const TemperatureSet *set = sets.at(static_cast<int>(index));
        std::vector<std::string> fields{std::to_string(index + 1)};
        fields.push_back(set ? formatDateTime(set->time.day) : none);
        fields.push_back(set ? formatDateTime(set->time.day + set->span) : none);
        if (result.checked > 0) {
            fields.push_back(temperature(std::fabs(result.largestError)));
            fields.push_back(positionName(result.largestRow, result.largestCol));
            fields.push_back(temperature(result.rms));
        } else {
            fields.insert(fields.end(), 3, none);
        }
        appendCsvLine(csv, fields);
    }
    csv += CSV_LINE_END;
    csv += text::MAP_CHECK_POSITIONS_HEADER;
    csv += CSV_LINE_END;
    for (const std::vector<std::string> &row : mapCheckPositionRows(check))
        appendCsvLine(csv, row);
    return csv;
}

std::vector<std::vector<std::string>> mapCheckPositionRows(const MapCheck &check) {
    const std::string none(text::NO_LOGGER);
    std::vector<std::vector<std::string>> rows;
    for (const PositionCheck &position : check.positions) {
        if (position.sets > 0)
            rows.push_back({position.position, position.logger, temperature(position.rms),
                            temperature(std::fabs(position.largestError)),
                            std::to_string(position.largestSet + 1)});
        else
            rows.push_back({position.position, position.logger, none, none, none});
    }
    return rows;
}

} // namespace zqar
