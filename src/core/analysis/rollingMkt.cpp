#include "core/analysis/rollingMkt.h"
#include "core/data/timeUnits.h"

#include "core/analysis/mkt.h"
#include "core/analysis/placedPositions.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/trimmed.h"
#include "resources/analysisTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <cmath>
#include <limits>

namespace zqar {

namespace {

constexpr double NO_TERM = -std::numeric_limits<double>::infinity(); // a stretch without readings

// The windows of one record, laid out for the visits. Positions count the record's samples in
// the span from 0, in time order; missing readings keep their places.
//
// A window starting at k ends before ends[k]. The stretches are cut so that a window starting in
// one ends within the next: the first starts at 0 and each ends where a window from its first
// position ends. Each stretch factors out the largest term among its readings, so every term in
// it lies from 0 to 1, and keeps the sums of those terms from each position to its end and from
// its start to each position. Only readings that some window holds take part, so every factored
// term is that of a reading in a window: a window whose sum vanishes beside it lies hundreds of
// powers of e below the window that holds it, and cannot be the highest.
class Windows {
public:
    // False when no window fits or a reading lies at or below absolute zero. The room of an
    // earlier record is reused.
    bool prepare(const LogFile &record, double start, double finish, double windowSeconds,
                 double enthalpy);

    // window(k, largestExponent, scaledSum, readings) for every window in time order, and
    // stretchDone() after the windows of each stretch, which share their largest exponent.
    template <class Window, class StretchDone>
    void visit(Window &&window, StretchDone &&stretchDone) const;

    // The day number of position k.
    double time(int32_t k) const { return sampleTime(*source, selection.index(k)); }

private:
    double value(int32_t k) const { return series[k]; }
    double offset(int32_t k) const { return selection.contiguous() ? k * period : offsets[k]; }

    const LogFile *source = nullptr;
    SampleSelection selection;
    const double *series = nullptr;       // NO_VALUE where a reading is missing
    double period = 0.0;                  // seconds
    std::vector<double> gathered;         // the series of a record out of time order
    std::vector<double> offsets;          // seconds from position 0, for such a record
    std::vector<int32_t> ends;            // the end of the window from each position
    std::vector<int32_t> readingsBefore;  // readings before each position, and in all
    std::vector<double> fromStart;        // the terms from the stretch's start through k
    std::vector<double> toEnd;            // the terms from k through the stretch's end
    std::vector<int32_t> cuts;            // each stretch's first position, then its end
    std::vector<double> largestExponents; // each stretch's, NO_TERM without readings
    int32_t lastStart = -1;               // the last position a window starts at
};

bool Windows::prepare(const LogFile &record, double start, double finish, double windowSeconds,
                      double enthalpy) {
    source = &record;
    selection = samplesInSpan(record, start, finish);
    period = record.samplePeriod;
    cuts.clear();
    largestExponents.clear();
    lastStart = -1;
    const int32_t n = selection.count;
    if (n == 0)
        return false;
    const auto size = static_cast<std::size_t>(n);
    ends.resize(size);
    readingsBefore.resize(size + 1);
    fromStart.resize(size);
    toEnd.resize(size);
    const int64_t firstSecond = roundedSeconds(time(0));
    if (selection.contiguous()) {
        series = record.values.data() + selection.first;
    } else {
        gathered.resize(size);
        offsets.resize(size);
        for (int32_t k = 0; k < n; ++k) {
            gathered[k] = record.values[static_cast<std::size_t>(selection.index(k))];
            offsets[k] = static_cast<double>(roundedSeconds(time(k)) - firstSecond);
        }
        series = gathered.data();
    }

    readingsBefore[0] = 0;
    for (int32_t k = 0; k < n; ++k) {
        const double v = value(k);
        if (v != NO_VALUE && v <= -ZERO_CELSIUS)
            return false;
        readingsBefore[k + 1] = readingsBefore[k] + (v != NO_VALUE ? 1 : 0);
    }
    const double latestEnd =
        static_cast<double>(roundedSeconds(finish) - firstSecond) + period; // seconds
    if (selection.contiguous()) {
        // Evenly spaced: every window holds the same number of positions until the series ends.
        int32_t length = 1;
        while (length < n && length * period < windowSeconds)
            ++length;
        for (int32_t k = 0; k < n; ++k)
            ends[k] = std::min(k, n - length) + length;
    } else {
        int32_t end = 0;
        for (int32_t k = 0; k < n; ++k) {
            end = std::max(end, k + 1);
            while (end < n && offsets[end] - offsets[k] < windowSeconds)
                ++end;
            ends[k] = end;
        }
    }
    for (int32_t k = n - 1; k >= 0 && lastStart < 0; --k)
        if (value(k) != NO_VALUE && offset(k) + windowSeconds <= latestEnd)
            lastStart = k;
    if (lastStart < 0)
        return false;

    const int32_t covered = ends[lastStart];
    for (int32_t cut = 0; cut < covered; cut = cut <= lastStart ? ends[cut] : covered)
        cuts.push_back(cut);
    cuts.push_back(covered);
    for (std::size_t s = 0; s + 1 < cuts.size(); ++s) {
        const int32_t first = cuts[s];
        const int32_t last = cuts[s + 1];
        double highest = NO_VALUE;
        for (int32_t k = first; k < last; ++k)
            if (value(k) != NO_VALUE && (highest == NO_VALUE || value(k) > highest))
                highest = value(k);
        const double largest = highest == NO_VALUE ? NO_TERM : mktExponent(enthalpy, highest);
        largestExponents.push_back(largest);
        double sum = 0.0;
        for (int32_t k = first; k < last; ++k) {
            const double v = value(k);
            const double term = v == NO_VALUE ? 0.0 : std::exp(mktExponent(enthalpy, v) - largest);
            toEnd[k] = term;
            sum += term;
            fromStart[k] = sum;
        }
        sum = 0.0;
        for (int32_t k = last - 1; k >= first; --k) {
            sum += toEnd[k];
            toEnd[k] = sum;
        }
    }
    return true;
}

template <class Window, class StretchDone>
void Windows::visit(Window &&window, StretchDone &&stretchDone) const {
    const std::size_t stretches = cuts.size() - 1;
    for (std::size_t s = 0; s < stretches && cuts[s] <= lastStart; ++s) {
        const int32_t next = cuts[s + 1];
        // Both parts of a window expressed against the larger of the two stretches' terms.
        const double own = largestExponents[s];
        const double following = s + 1 < stretches ? largestExponents[s + 1] : NO_TERM;
        const double largest = std::max(own, following);
        const double ownFactor = own == largest ? 1.0 : std::exp(own - largest);
        const double followingFactor = following == NO_TERM   ? 0.0
                                       : following == largest ? 1.0
                                                              : std::exp(following - largest);
        const int32_t last = std::min(next - 1, lastStart);
        for (int32_t k = cuts[s]; k <= last; ++k) {
            if (value(k) == NO_VALUE)
                continue;
            const int32_t end = ends[k];
            double sum = toEnd[k] * ownFactor;
            if (end > next)
                sum += fromStart[end - 1] * followingFactor;
            window(k, largest, sum, readingsBefore[end] - readingsBefore[k]);
        }
        stretchDone();
    }
}

// The highest window of a record, the windows' room reused from record to record.
std::optional<WindowMkt> highestIn(Windows &windows, const LogFile &record, double start,
                                   double finish, double windowHours, double enthalpy) {
    const double windowSeconds = windowHours * SECONDS_PER_HOUR;
    if (!windows.prepare(record, start, finish, windowSeconds, enthalpy))
        return std::nullopt;
    // Within a stretch the windows share the factored term and compare by their scaled means;
    // across stretches by the logarithm of the mean, one per stretch.
    struct Best {
        int32_t at = -1;
        double largest = 0.0;
        double mean = 0.0;
    };
    Best stretchBest;
    Best best;
    double bestLogMean = -std::numeric_limits<double>::infinity();
    windows.visit(
        [&](int32_t k, double largest, double sum, int32_t readings) {
            const double mean = sum / readings;
            if (stretchBest.at < 0 || mean > stretchBest.mean)
                stretchBest = {k, largest, mean};
        },
        [&] {
            if (stretchBest.at >= 0 && stretchBest.mean > 0.0) {
                const double logMean = stretchBest.largest + std::log(stretchBest.mean);
                if (best.at < 0 || logMean > bestLogMean) {
                    best = stretchBest;
                    bestLogMean = logMean;
                }
            }
            stretchBest = Best{};
        });
    if (best.at < 0)
        return std::nullopt;
    const double from = windows.time(best.at);
    return WindowMkt{mktFromScaledMean(enthalpy, best.largest, best.mean), from,
                     from + windowSeconds / SECONDS_PER_DAY};
}

std::string positionWithLogger(const RollingMktPosition &p) {
    return p.position + " (" + p.logger + ")";
}

} // namespace

MktWindowReading readMktWindow(std::string_view text) {
    MktWindowReading reading;
    text = trimmed(text);
    if (text.empty())
        return reading;
    const std::optional<double> hours = readWholeNumber(text);
    if (!hours || !(*hours > 0.0)) {
        reading.wrong = true;
        return reading;
    }
    reading.hours = *hours;
    return reading;
}

std::vector<WindowMkt> windowMkts(const LogFile &record, double start, double finish,
                                  double windowHours, double enthalpy) {
    const double windowSeconds = windowHours * SECONDS_PER_HOUR;
    std::vector<WindowMkt> mkts;
    Windows windows;
    if (!windows.prepare(record, start, finish, windowSeconds, enthalpy))
        return mkts;
    windows.visit(
        [&](int32_t k, double largest, double sum, int32_t readings) {
            const double from = windows.time(k);
            mkts.push_back({mktFromScaledMean(enthalpy, largest, sum / readings), from,
                            from + windowSeconds / SECONDS_PER_DAY});
        },
        [] {});
    return mkts;
}

std::optional<WindowMkt> highestWindowMkt(const LogFile &record, double start, double finish,
                                          double windowHours, double enthalpy) {
    Windows windows;
    return highestIn(windows, record, start, finish, windowHours, enthalpy);
}

RollingMkt computeRollingMkt(const LoggerArray &array, double start, double finish,
                             double windowHours, double activationEnergy) {
    RollingMkt rolling;
    rolling.windowHours = windowHours;
    const double enthalpy = mktEnthalpy(activationEnergy);
    Windows windows;
    for (const PlacedPosition &p : placedPositions(array)) {
        RollingMktPosition position;
        position.position = p.position;
        if (p.record) {
            position.placed = true;
            position.logger = p.record->label();
            position.window = highestIn(windows, *p.record, start, finish, windowHours, enthalpy);
        }
        if (position.window &&
            (!rolling.highest ||
             position.window->mkt > rolling.positions[*rolling.highest].window->mkt))
            rolling.highest = rolling.positions.size();
        rolling.positions.push_back(std::move(position));
    }
    return rolling;
}

std::string rollingMktCsv(const RollingMkt &rolling) {
    std::string csv(text::ROLLING_MKT_CSV_HEADER);
    csv += CSV_LINE_END;
    const std::string none(text::NO_LOGGER);
    const std::string hours = csvNumber(rolling.windowHours);
    for (const RollingMktPosition &p : rolling.positions) {
        if (!p.placed)
            appendCsvLine(csv, {p.position, none, none, none, none, none});
        else if (!p.window)
            appendCsvLine(csv, {p.position, p.logger, hours, none, none, none});
        else
            appendCsvLine(csv, {p.position, p.logger, hours, csvTemperature(p.window->mkt),
                                formatDateTime(p.window->start), formatDateTime(p.window->end)});
    }
    return csv;
}

std::string highestRollingMktLine(const RollingMkt &rolling) {
    if (!rolling.highest)
        return {};
    const RollingMktPosition &p = rolling.positions[*rolling.highest];
    return text::formatAll(text::HIGHEST_ROLLING_MKT,
                           {csvNumber(rolling.windowHours), csvTemperature(p.window->mkt),
                            positionWithLogger(p), formatDateTime(p.window->start),
                            formatDateTime(p.window->end)});
}

} // namespace zqar
