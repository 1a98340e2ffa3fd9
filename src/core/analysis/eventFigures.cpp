#include "core/analysis/eventFigures.h"
#include "core/data/timeUnits.h"

#include "core/analysis/readingScans.h"
#include "core/analysis/statistics.h"

#include <algorithm>
#include <limits>

namespace zqar {

namespace {

double minutesBetween(double from, int64_t toSecond) {
    return static_cast<double>(toSecond - roundedSeconds(from)) / SECONDS_PER_MINUTE;
}

// The range from the event on: up to the first later event that ends it, or through finish.
template <typename Ends>
ReadingRange rangeAfter(const std::vector<Event> &sorted, std::size_t at, double finish,
                        Ends ends) {
    const int64_t second = roundedSeconds(sorted[at].time);
    for (std::size_t next = at + 1; next < sorted.size(); ++next)
        if (roundedSeconds(sorted[next].time) > second && ends(sorted[next]))
            return rangeBefore(sorted[at].time, sorted[next].time);
    return rangeThrough(sorted[at].time, finish);
}

std::unique_ptr<LogFile> withoutPhases(const LogFile &record, const std::vector<Phase> &phases) {
    auto copy = std::make_unique<LogFile>(record);
    std::vector<double> &values = copy->values;
    const int32_t n = static_cast<int32_t>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(copy->valueCount, 0)), values.size()));
    values.resize(static_cast<std::size_t>(n));
    if (n == 0)
        return copy;
    const double lastTime = sampleTime(record, n - 1);
    for (const Phase &phase : phases) {
        // A phase that was not ended runs past the record's last sample.
        const double finish = phase.finish.value_or(std::max(phase.start, lastTime));
        const SampleSelection selection = samplesInSpan(*copy, phase.start, finish);
        for (int32_t k = 0; k < selection.count; ++k)
            values[static_cast<std::size_t>(selection.index(k))] = NO_VALUE;
    }
    // Only a record whose times grow with the index can lose samples at its start: the others
    // have no start that the rest follows from.
    const bool ordered = copy->samplePeriod > 0.0 && copy->startTime() >= 0.0;
    std::size_t first = 0;
    if (ordered)
        while (first < values.size() && values[first] == NO_VALUE)
            ++first;
    std::size_t end = values.size();
    while (end > first && values[end - 1] == NO_VALUE)
        --end;
    if (first > 0 && first < end)
        copy->startTime.day = sampleTime(record, static_cast<int32_t>(first));
    if (first >= end)
        first = end = 0;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(end), values.end());
    values.erase(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(first));
    copy->valueCount = static_cast<int32_t>(values.size());
    return copy;
}

} // namespace

std::vector<EventOutcome> eventOutcomes(const LoggerArray &array, const std::vector<Event> &events,
                                        double finish, const StatisticsSettings &limits) {
    const std::vector<Event> sorted = sortedByTime(events);
    const std::vector<ArrayPosition> positions = arrayPositions(array.dimensions());
    std::vector<const LogFile *> records;
    for (const ArrayPosition at : positions)
        records.push_back(recordAt(array, at));
    const bool limited = limits.lowerLimit || limits.upperLimit;
    const Band band{limits.lowerLimit.value_or(-std::numeric_limits<double>::infinity()),
                    limits.upperLimit.value_or(std::numeric_limits<double>::infinity())};

    std::vector<EventOutcome> outcomes;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        EventOutcome outcome{sorted[i], {}};
        EventFigure &figure = outcome.figure;
        figure.limited = limited;
        const Event &event = sorted[i];
        if (event.kind == EventKind::DoorClosed) {
            figure.kind = EventFigureKind::RecoveryTime;
            if (limited) {
                const ReadingRange range =
                    rangeAfter(sorted, i, finish, [](const Event &) { return true; });
                const ReadingTime settled = settledFrom(records, range, band);
                if (settled.found)
                    figure.time = {true, settled.time, minutesBetween(event.time, settled.second)};
            }
        } else if (event.kind == EventKind::PowerOff) {
            figure.kind = EventFigureKind::HoldTime;
            if (limited) {
                const ReadingRange range = rangeAfter(sorted, i, finish, [](const Event &next) {
                    return next.kind == EventKind::PowerOn;
                });
                const ReadingTime left = firstOutside(records, range, band);
                if (left.found) {
                    figure.time = {true, left.time, minutesBetween(event.time, left.second)};
                    figure.position = arrayPositionName(positions[left.record]);
                }
            }
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

LoggerArray withoutPhases(const LoggerArray &array, const std::vector<Phase> &phases) {
    LoggerArray copy;
    const ArrayDimensions d = array.dimensions();
    copy.resize(d.rows, d.columns, d.singularCount);
    for (const ArrayPosition at : arrayPositions(d)) {
        const LogFile *record = recordAt(array, at);
        if (record)
            copy.place(at.row < 0 ? -1 : at.row, at.col, withoutPhases(*record, phases));
    }
    return copy;
}

} // namespace zqar
