#include "core/analysis/readingScans.h"

#include "core/analysis/statistics.h"
#include "core/data/LogFile.h"

namespace zqar {

namespace {

// The samples of a range in time order, without those after its last second. Rounded seconds
// never fall as the selection goes on, so a second can be found by halving.
class RangeSamples {
public:
    RangeSamples(const LogFile &r, const ReadingRange &range)
        : record(r), selection(samplesInSpan(r, range.from, range.through)), end(selection.count) {
        while (end > 0 && second(end - 1) > range.lastSecond)
            --end;
    }
    int32_t count() const { return end; }
    double value(int32_t k) const {
        return record.values[static_cast<std::size_t>(selection.index(k))];
    }
    double time(int32_t k) const { return sampleTime(record, selection.index(k)); }
    int64_t second(int32_t k) const { return roundedSeconds(time(k)); }
    // The first sample after the second given.
    int32_t firstAfter(int64_t wanted) const {
        int32_t low = 0;
        int32_t high = end;
        while (low < high) {
            const int32_t middle = low + (high - low) / 2;
            if (second(middle) > wanted)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

private:
    const LogFile &record;
    SampleSelection selection;
    int32_t end;
};

} // namespace

ReadingRange rangeThrough(double from, double finish) {
    return ReadingRange{from, finish, roundedSeconds(finish)};
}

ReadingRange rangeBefore(double from, double before) {
    return ReadingRange{from, before, roundedSeconds(before) - 1};
}

ReadingTime settledFrom(const std::vector<const LogFile *> &records, const ReadingRange &range,
                        const Band &band) {
    // Backwards from the end: the latest reading outside the band over every record, then the
    // earliest reading after it.
    bool anyOutside = false;
    int64_t lastOutside = 0;
    bool anyReading = false;
    for (const LogFile *record : records) {
        if (!record)
            continue;
        const RangeSamples samples(*record, range);
        for (int32_t k = samples.count() - 1; k >= 0; --k) {
            const double value = samples.value(k);
            if (value == NO_VALUE)
                continue;
            anyReading = true;
            if (!band.holds(value)) {
                const int64_t second = samples.second(k);
                if (!anyOutside || second > lastOutside)
                    lastOutside = second;
                anyOutside = true;
                break;
            }
        }
    }
    ReadingTime earliest;
    if (!anyReading)
        return earliest;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i])
            continue;
        const RangeSamples samples(*records[i], range);
        int32_t k = anyOutside ? samples.firstAfter(lastOutside) : 0;
        while (k < samples.count() && samples.value(k) == NO_VALUE)
            ++k;
        if (k == samples.count())
            continue;
        const int64_t second = samples.second(k);
        // Strict: on a tie the earlier record stays.
        if (!earliest.found || second < earliest.second)
            earliest = ReadingTime{true, i, samples.time(k), second};
    }
    return earliest;
}

ReadingTime firstOutside(const std::vector<const LogFile *> &records, const ReadingRange &range,
                         const Band &band) {
    ReadingTime first;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i])
            continue;
        const RangeSamples samples(*records[i], range);
        for (int32_t k = 0; k < samples.count(); ++k) {
            const double value = samples.value(k);
            if (value == NO_VALUE || band.holds(value))
                continue;
            const int64_t second = samples.second(k);
            if (!first.found || second < first.second)
                first = ReadingTime{true, i, samples.time(k), second};
            break;
        }
    }
    return first;
}

} // namespace zqar
