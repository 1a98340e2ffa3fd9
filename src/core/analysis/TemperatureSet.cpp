#include "core/analysis/TemperatureSet.h"

#include "resources/displayTexts.h"

#include <algorithm>

namespace zqar {

TemperatureSet::TemperatureSet(double setTime, double setSpan, int32_t setRows, int32_t setColumns,
                               int32_t setSingularCount)
    : span(setSpan), rows(std::max(setRows, 0)), columns(std::max(setColumns, 0)),
      singularCount(std::max(setSingularCount, 0)),
      gridSize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns)),
      values(gridSize + static_cast<std::size_t>(singularCount), NO_VALUE) {
    time.day = setTime;
    time.status = DATE_VALID;
}

void TemperatureSet::setValue(int row, int col, double value) {
    if (row >= 0 && row < rows && col >= 0 && col < columns)
        values[static_cast<std::size_t>(row) * columns + col] = value;
    else if (row == SINGULAR_ROW && col >= 0 && col < singularCount)
        values[gridSize + static_cast<std::size_t>(col)] = value;
}

std::optional<std::size_t> TemperatureSet::flatIndex(int row, int col) const {
    if (row >= 0 && row < rows && col >= 0 && col < columns)
        return static_cast<std::size_t>(row) * columns + col;
    if (row == SINGULAR_ROW && col >= 0 && col < singularCount)
        return gridSize + static_cast<std::size_t>(col);
    return std::nullopt;
}

void TemperatureSet::setMeasured(int row, int col) {
    const std::optional<std::size_t> at = flatIndex(row, col);
    if (!at)
        return;
    const uint64_t bit = uint64_t{1} << (*at % 64);
    if (values.size() <= 64) {
        measuredSmall |= bit;
        return;
    }
    if (measuredLarge.empty())
        measuredLarge.assign((values.size() + 63) / 64, 0);
    measuredLarge[*at / 64] |= bit;
}

bool TemperatureSet::isMeasured(int row, int col) const {
    const std::optional<std::size_t> at = flatIndex(row, col);
    if (!at)
        return false;
    const uint64_t bit = uint64_t{1} << (*at % 64);
    if (values.size() <= 64)
        return (measuredSmall & bit) != 0;
    return !measuredLarge.empty() && (measuredLarge[*at / 64] & bit) != 0;
}

double TemperatureSet::valueAt(int row, int col) const {
    const int R = rows;
    const int K = columns;
    const bool singular = row == SINGULAR_ROW && col >= 0 && col < singularCount;
    if (R == 0 || K == 0)
        return singular ? singularAt(col) : NO_VALUE;
    // A single row or column is carried unchanged onto the ring beside it.
    if (R == 1 && (row == -1 || row == 1))
        row = 0;
    if (K == 1 && (col == -1 || col == 1) && row != SINGULAR_ROW)
        col = 0;

    const bool ringRow = row == -1 || row == R;
    const bool ringColumn = col == -1 || col == K;
    if (ringRow && ringColumn) {
        // Corner: the mean of the half-step extrapolations along its column and its row.
        const int nearRow = row == -1 ? 0 : R - 1;
        const int farRow = row == -1 ? 1 : R - 2;
        const int nearCol = col == -1 ? 0 : K - 1;
        const int farCol = col == -1 ? 1 : K - 2;
        const double a = valueAt(nearRow, col);
        const double b = valueAt(farRow, col);
        const double p = valueAt(row, nearCol);
        const double q = valueAt(row, farCol);
        if (a == NO_VALUE || b == NO_VALUE || p == NO_VALUE || q == NO_VALUE)
            return NO_VALUE;
        return ((a - (b - a) / 2) + (p - (q - p) / 2)) / 2;
    }
    if (ringRow && col >= 0 && col < K) {
        const double a = row == -1 ? cell(0, col) : cell(R - 1, col);
        const double b = row == -1 ? valueAt(1, col) : valueAt(R - 2, col);
        if (a == NO_VALUE || b == NO_VALUE)
            return NO_VALUE;
        return a - (b - a) / 2;
    }
    if (ringColumn && row >= 0 && row < R) {
        const double a = col == -1 ? cell(row, 0) : cell(row, K - 1);
        const double b = col == -1 ? valueAt(row, 1) : valueAt(row, K - 2);
        if (a == NO_VALUE || b == NO_VALUE)
            return NO_VALUE;
        return a - (b - a) / 2;
    }
    if (row >= 0 && row < R && col >= 0 && col < K)
        return cell(row, col);
    if (singular)
        return singularAt(col);
    return NO_VALUE;
}

namespace {

// The estimate for place `at` of a line of `count` values from the line alone: inside, the
// mean of its two neighbours; at an end, the straight line through the next two carried on.
// NO_VALUE when the line is shorter than three or a value it needs is missing.
template <class ValueAt> double estimateAlong(int at, int count, ValueAt value) {
    if (count < 3)
        return NO_VALUE;
    double g1;
    double g2;
    bool inner = false;
    if (at > 0 && at < count - 1) {
        g1 = value(at - 1);
        g2 = value(at + 1);
        inner = true;
    } else if (at == 0) {
        g1 = value(1);
        g2 = value(2);
    } else {
        g1 = value(count - 2);
        g2 = value(count - 3);
    }
    if (g1 == NO_VALUE || g2 == NO_VALUE)
        return NO_VALUE;
    return inner ? (g1 + g2) / 2 : g1 - (g2 - g1);
}

} // namespace

void TemperatureSet::fillGaps() {
    const int R = rows;
    const int K = columns;
    for (int row = 0; row < R; ++row) {
        for (int col = 0; col < K; ++col) {
            if (cell(row, col) != NO_VALUE)
                continue;
            const double vertical = estimateAlong(row, R, [&](int r) { return cell(r, col); });
            const double horizontal = estimateAlong(col, K, [&](int c) { return cell(row, c); });
            // Estimates are stored at once, so a later gap in the same pass can lean on them.
            if (vertical != NO_VALUE && horizontal != NO_VALUE)
                setValue(row, col, (vertical + horizontal) / 2);
            else if (vertical != NO_VALUE)
                setValue(row, col, vertical);
            else if (horizontal != NO_VALUE)
                setValue(row, col, horizontal);
        }
    }
}

std::string TemperatureSet::title() const {
    if (span == 0.0)
        return std::string(text::SET_TITLE_TIME) + formatDateTime(time.day);
    return std::string(text::SET_TITLE_FROM) + formatDateTime(time.day) +
           std::string(text::SET_TITLE_TO) + formatDateTime(time.day + span);
}

} // namespace zqar
