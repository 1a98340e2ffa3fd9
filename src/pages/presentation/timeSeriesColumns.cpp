#include "pages/presentation/timeSeriesColumns.h"

#include "core/data/LogFile.h"

#include <algorithm>
#include <cmath>

namespace zqar {

namespace {

bool usableRange(double start, double finish) {
    return std::isfinite(start) && std::isfinite(finish) && finish > start;
}

// The first sample index at or after time t, in [0, count].
std::size_t firstIndexFrom(double t, std::size_t count, double firstTime, double periodDays) {
    if (!(periodDays > 0.0))
        return t <= firstTime ? 0 : count;
    const double index = std::ceil((t - firstTime) / periodDays);
    if (!(index > 0.0))
        return 0;
    if (index >= static_cast<double>(count))
        return count;
    return static_cast<std::size_t>(index);
}

} // namespace

// NO_VALUE is the largest finite double, so one comparison leaves out it, its negative,
// infinities and NaN alike.
bool isReading(double value) { return std::fabs(value) < NO_VALUE; }

// Four running sums, each over every fourth value, then added in a fixed order: the adds of
// one sum wait for each other, four of them need not.
ReadingSum sumReadings(const double *values, std::size_t count) {
    constexpr std::size_t LANES = 4;
    double sums[LANES] = {};
    int64_t readings[LANES] = {};
    std::size_t i = 0;
    for (; i + LANES <= count; i += LANES)
        for (std::size_t lane = 0; lane < LANES; ++lane) {
            const double v = values[i + lane];
            const bool reading = isReading(v);
            sums[lane] += reading ? v : 0.0;
            readings[lane] += reading;
        }
    for (; i < count; ++i)
        if (isReading(values[i])) {
            sums[0] += values[i];
            ++readings[0];
        }
    return ReadingSum{(sums[0] + sums[1]) + (sums[2] + sums[3]),
                      readings[0] + readings[1] + readings[2] + readings[3]};
}

std::vector<std::size_t> columnBounds(std::size_t count, double firstTime, double periodDays,
                                      double viewStart, double viewEnd, int columns) {
    std::vector<std::size_t> bounds(static_cast<std::size_t>(std::max(columns, 0)) + 1, 0);
    if (columns <= 0 || count == 0 || !usableRange(viewStart, viewEnd))
        return bounds;
    const double width = (viewEnd - viewStart) / columns;
    bounds[0] = firstIndexFrom(viewStart, count, firstTime, periodDays);
    for (int c = 0; c < columns; ++c) {
        const double right = c + 1 == columns ? viewEnd : viewStart + (c + 1) * width;
        const std::size_t c1 = static_cast<std::size_t>(c) + 1;
        bounds[c1] = std::max(bounds[c1 - 1], firstIndexFrom(right, count, firstTime, periodDays));
    }
    return bounds;
}

void reduceColumns(const double *values, const std::vector<std::size_t> &bounds,
                   std::vector<ColumnExtent> &out) {
    const std::size_t columns = bounds.empty() ? 0 : bounds.size() - 1;
    out.assign(columns, ColumnExtent{});
    bool brokenSinceReading = false;
    for (std::size_t c = 0; c < columns; ++c) {
        ColumnExtent &e = out[c];
        const double *p = values + bounds[c];
        const double *const stop = values + bounds[c + 1];
        // Up to the column's first reading.
        for (; p < stop && !isReading(*p); ++p)
            e.missing = true;
        if (p == stop) {
            brokenSinceReading = brokenSinceReading || e.missing;
            continue;
        }
        e.hasSamples = true;
        e.breakBefore = brokenSinceReading || e.missing;
        e.first = *p;
        double lo = *p;
        double hi = *p;
        // Four running sums, added in a fixed order at the end: a long column's adds need not
        // each wait for the one before.
        double sums[4] = {*p, 0.0, 0.0, 0.0};
        double last = *p;
        int32_t readings = 1;
        bool missingAfterLast = false;
        for (++p; p < stop;) {
            if (stop - p >= 4 && isReading(p[0]) && isReading(p[1]) && isReading(p[2]) &&
                isReading(p[3])) {
                const double low = std::min(std::min(p[0], p[1]), std::min(p[2], p[3]));
                const double high = std::max(std::max(p[0], p[1]), std::max(p[2], p[3]));
                lo = low < lo ? low : lo;
                hi = high > hi ? high : hi;
                for (int lane = 0; lane < 4; ++lane)
                    sums[lane] += p[lane];
                last = p[3];
                readings += 4;
                missingAfterLast = false;
                p += 4;
                continue;
            }
            const double v = *p++;
            if (!isReading(v)) {
                e.missing = true;
                missingAfterLast = true;
                continue;
            }
            missingAfterLast = false;
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
            sums[0] += v;
            last = v;
            ++readings;
        }
        const double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
        e.minimum = lo;
        e.maximum = hi;
        e.last = last;
        e.sum = sum;
        e.readings = readings;
        brokenSinceReading = missingAfterLast;
    }
}

void decimateColumns(const double *values, std::size_t count, double firstTime, double periodDays,
                     double viewStart, double viewEnd, int columns,
                     std::vector<ColumnExtent> &out) {
    reduceColumns(values, columnBounds(count, firstTime, periodDays, viewStart, viewEnd, columns),
                  out);
}

void addToEnvelope(std::vector<EnvelopeColumn> &envelope, const std::vector<ColumnExtent> &series) {
    const std::size_t columns = std::min(envelope.size(), series.size());
    for (std::size_t c = 0; c < columns; ++c) {
        const ColumnExtent &e = series[c];
        EnvelopeColumn &column = envelope[c];
        column.missing = column.missing || e.missing;
        if (!e.hasSamples)
            continue;
        if (column.readings == 0) {
            column.minimum = e.minimum;
            column.maximum = e.maximum;
        } else {
            column.minimum = std::min(column.minimum, e.minimum);
            column.maximum = std::max(column.maximum, e.maximum);
        }
        column.sum += e.sum;
        column.readings += e.readings;
    }
}

} // namespace zqar
