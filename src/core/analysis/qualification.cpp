#include "core/analysis/qualification.h"
#include "core/data/timeUnits.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/readingScans.h"
#include "core/analysis/statistics.h"
#include "core/data/dateTime.h"
#include "core/data/enumTexts.h"
#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "core/data/trimmed.h"
#include "resources/qualificationTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace zqar {

namespace {

// Instants compared at a time: their times and values stay in the cache while every position
// is read.
constexpr int32_t INSTANT_BLOCK = 4096;

// A number setting: empty is none; anything else must start with a finite number, as the
// statistics' limits are read.
bool readNumber(std::string_view text, std::optional<double> &number) {
    text = trimmed(text);
    if (text.empty())
        return true;
    const DecimalRead read = readDecimalPrefix(text);
    if (!read.found || !std::isfinite(read.value))
        return false;
    number = read.value;
    return true;
}

bool readTime(std::string_view text, std::optional<double> &time) {
    text = trimmed(text);
    if (text.empty())
        return true;
    time = parseDateTime(text);
    return time.has_value();
}

std::size_t positionIndex(const ArrayDimensions &d, ArrayPosition at) {
    const std::size_t cells = static_cast<std::size_t>(d.rows) * d.columns;
    if (at.row == SINGULAR_ROW)
        return cells + static_cast<std::size_t>(at.col);
    return static_cast<std::size_t>(at.row) * d.columns + static_cast<std::size_t>(at.col);
}

// One position's samples, looked up by time.
class Series {
public:
    explicit Series(const LogFile *source) : record(source) {
        if (!record || !(record->samplePeriod > 0.0) || !std::isfinite(record->samplePeriod))
            return;
        period = record->samplePeriod;
        start = record->startTime();
        count = static_cast<int32_t>(std::min<std::size_t>(
            static_cast<std::size_t>(std::max(record->valueCount, 0)), record->values.size()));
        samplesPerDay = SECONDS_PER_DAY / period;
        clearDistance = (period - 3.0) / 2.0 - CLEAR_MARGIN;
    }

    // The reading nearest to an instant within half the period, the earlier of two equally
    // near, both times rounded to the second; NO_VALUE when there is none.
    double nearest(double time) const {
        if (count == 0)
            return NO_VALUE;
        // A product rather than a quotient: an offset a few bits off is harmless, as the margin
        // below and the two samples looked at around it allow for far more.
        const double offset = (time - start) * samplesPerDay;
        if (!(offset > -1.0 && offset < static_cast<double>(count)))
            return NO_VALUE;
        // Rounding each time to the second moves a distance by at most a second. A sample less
        // than (period - 3) / 2 seconds away is therefore within half the period and nearer
        // than its neighbours, whose distances exceed (period + 1) / 2 after rounding, so no
        // time needs rounding. Day numbers before 1900 do not count time evenly.
        const double nearestIndex = std::floor(offset + 0.5);
        const bool inRecord = nearestIndex >= 0.0 && nearestIndex < static_cast<double>(count);
        if (inRecord && start >= 0.0 && time >= 0.0 &&
            std::fabs(offset - nearestIndex) * period < clearDistance)
            return record->values[static_cast<std::size_t>(truncToInt(nearestIndex))];
        return nearestBySecond(offset, roundedSeconds(time));
    }

private:
    // Far above the error of a day number's arithmetic, far below a second.
    static constexpr double CLEAR_MARGIN = 1e-3; // seconds

    // Only the two samples around the instant's offset can lie within half the period.
    double nearestBySecond(double offset, int64_t second) const {
        const int32_t before = truncToInt(std::floor(offset));
        double found = NO_VALUE;
        int64_t foundDistance = 0;
        for (int32_t k = std::max(before, 0); k <= before + 1 && k < count; ++k) {
            const double value = record->values[static_cast<std::size_t>(k)];
            if (value == NO_VALUE)
                continue;
            const int64_t distance = std::llabs(roundedSeconds(sampleTime(*record, k)) - second);
            if (2.0 * static_cast<double>(distance) > period)
                continue;
            if (found == NO_VALUE || distance < foundDistance) {
                found = value;
                foundDistance = distance;
            }
        }
        return found;
    }

    const LogFile *record = nullptr;
    double start = 0.0;
    double period = 0.0; // seconds
    int32_t count = 0;
    double samplesPerDay = 0.0;
    double clearDistance = 0.0; // seconds
};

// The extremes start beyond every value, so that adding needs no test of the count.
struct Accumulator {
    int32_t count = 0;
    double sum = 0.0;
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    void add(double value) {
        minimum = std::min(minimum, value);
        maximum = std::max(maximum, value);
        sum += value;
        ++count;
    }
};

struct Extremes {
    bool found = false;
    double lowest = 0.0;
    double highest = 0.0;
};

// The lowest and the highest reading of the records from one time through another. Four lanes
// so that each comparison need not wait for the one before; a missing sample is the largest
// double, which no minimum takes, and is made -infinity for the maximum.
Extremes readingExtremes(const std::vector<const LogFile *> &records, double from, double through) {
    constexpr int LANES = 4;
    constexpr double INFINITE = std::numeric_limits<double>::infinity();
    double lowest[LANES] = {INFINITE, INFINITE, INFINITE, INFINITE};
    double highest[LANES] = {-INFINITE, -INFINITE, -INFINITE, -INFINITE};
    auto add = [&](int lane, double value) {
        lowest[lane] = std::min(lowest[lane], value);
        highest[lane] = std::max(highest[lane], value == NO_VALUE ? -INFINITE : value);
    };
    for (const LogFile *record : records) {
        if (!record)
            continue;
        const SampleSelection selection = samplesInSpan(*record, from, through);
        if (!selection.contiguous()) {
            for (const int32_t index : selection.indices)
                add(0, record->values[static_cast<std::size_t>(index)]);
            continue;
        }
        const double *x = record->values.data() + selection.first;
        int32_t k = 0;
        for (; k + LANES <= selection.count; k += LANES)
            for (int lane = 0; lane < LANES; ++lane)
                add(lane, x[k + lane]);
        for (; k < selection.count; ++k)
            add(0, x[k]);
    }
    Extremes extremes;
    extremes.lowest = *std::min_element(lowest, lowest + LANES);
    extremes.highest = *std::max_element(highest, highest + LANES);
    extremes.found = extremes.highest > -INFINITE;
    return extremes;
}

std::optional<int> tightestClass(const Extremes &readings, double setPoint) {
    if (!readings.found)
        return std::nullopt;
    for (const int kelvin : TOLERANCE_CLASSES) {
        const Band band{setPoint - kelvin, setPoint + kelvin};
        if (band.holds(readings.lowest) && band.holds(readings.highest))
            return kelvin;
    }
    return std::nullopt;
}

// The records at the positions, in their order (cells row by row, then the singular slots).
std::vector<const LogFile *> positionRecords(const LoggerArray &array) {
    std::vector<const LogFile *> records;
    for (const ArrayPosition at : arrayPositions(array.dimensions()))
        records.push_back(recordAt(array, at));
    return records;
}

// Where the instants come from: the stable window W and the reference position. The figures
// and the matrix of T values refuse the same settings for the same reasons.
struct InstantsChoice {
    QualificationProblem problem = QualificationProblem::None;
    double stableStart = 0.0; // W, resolved
    double stableFinish = 0.0;
    std::size_t reference = 0; // index into the positions; 0 when it is outside the array
};

InstantsChoice chooseInstants(const LoggerArray &array, const std::vector<const LogFile *> &records,
                              double start, double finish, const QualificationSettings &settings) {
    InstantsChoice choice;
    choice.stableStart = settings.stableStart.value_or(start);
    choice.stableFinish = settings.stableFinish.value_or(finish);
    if (roundedSeconds(choice.stableFinish) < roundedSeconds(choice.stableStart)) {
        choice.problem = QualificationProblem::StableWindowOrder;
        return choice;
    }
    const ArrayDimensions d = array.dimensions();
    const std::optional<ArrayPosition> reference =
        settings.referencePosition ? settings.referencePosition : defaultReferencePosition(array);
    if (reference && !isInArray(d, *reference)) {
        choice.problem = QualificationProblem::ReferencePositionOutside;
        return choice;
    }
    if (reference)
        choice.reference = positionIndex(d, *reference);
    if (!reference || !records[choice.reference])
        choice.problem = QualificationProblem::NoReferenceReadings;
    return choice;
}

// The instants of W in blocks: the reference's readings in W with their times. Every other
// position's T value at an instant is its reading nearest to that time (seriesOf). Blocks can
// be read in any order and from any thread.
class InstantBlocks {
public:
    InstantBlocks(const std::vector<const LogFile *> &records, std::size_t referenceIndex,
                  double from, double through)
        : reference(*records[referenceIndex]), selection(samplesInSpan(reference, from, through)) {
        series.reserve(records.size());
        for (const LogFile *record : records)
            series.emplace_back(record);
    }

    std::size_t blockCount() const {
        return (static_cast<std::size_t>(selection.count) + INSTANT_BLOCK - 1) / INSTANT_BLOCK;
    }

    // The instants of one block: the reference's readings and their times (day numbers).
    void read(std::size_t block, std::vector<double> &times,
              std::vector<double> &referenceValues) const {
        const int32_t blockStart = static_cast<int32_t>(block) * INSTANT_BLOCK;
        const int32_t blockEnd = std::min(selection.count, blockStart + INSTANT_BLOCK);
        times.clear();
        referenceValues.clear();
        for (int32_t k = blockStart; k < blockEnd; ++k) {
            const int32_t index = selection.index(k);
            const double value = reference.values[static_cast<std::size_t>(index)];
            if (value == NO_VALUE)
                continue;
            times.push_back(sampleTime(reference, index));
            referenceValues.push_back(value);
        }
    }

    // No more instants than this in all: the reference's samples in W, missing ones included.
    std::size_t mostInstants() const { return static_cast<std::size_t>(selection.count); }
    const Series &seriesOf(std::size_t position) const { return series[position]; }

private:
    const LogFile &reference;
    SampleSelection selection;
    std::vector<Series> series;
};

// The T values: every position's accumulator, the spread and the deviation from the
// reference at each instant. The instants go in blocks, and within a block position by
// position, so that each position's samples are read in one run rather than a sample of every
// position at each instant; the sums still run in time order.
void compareAtInstants(const std::vector<const LogFile *> &records, Qualification &q,
                       std::vector<Accumulator> &perPosition) {
    const InstantBlocks blocks(records, q.reference, q.stableStart, q.stableFinish);
    std::vector<double> times;
    std::vector<double> referenceValues;
    std::vector<double> lowest;
    std::vector<double> highest;
    double spreadSum = 0.0;
    double largestDeviation = 0.0;
    for (std::size_t block = 0; block < blocks.blockCount(); ++block) {
        blocks.read(block, times, referenceValues);
        for (const double value : referenceValues)
            perPosition[q.reference].add(value);
        lowest = referenceValues;
        highest = referenceValues;
        const std::size_t count = times.size();
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (i == q.reference)
                continue;
            const Series &own = blocks.seriesOf(i);
            // Locals rather than the vector's element: the compiler keeps them in registers.
            Accumulator figures = perPosition[i];
            double deviation = largestDeviation;
            for (std::size_t m = 0; m < count; ++m) {
                const double value = own.nearest(times[m]);
                if (value == NO_VALUE)
                    continue;
                figures.add(value);
                lowest[m] = std::min(lowest[m], value);
                highest[m] = std::max(highest[m], value);
                deviation = std::max(deviation, std::fabs(value - referenceValues[m]));
            }
            perPosition[i] = figures;
            largestDeviation = deviation;
        }
        for (std::size_t m = 0; m < count; ++m)
            spreadSum += highest[m] - lowest[m];
        q.instants += static_cast<int32_t>(count);
    }
    q.maximumDeviationFromReference = largestDeviation;
    if (q.instants > 0)
        q.meanSpread = spreadSum / q.instants;
}

} // namespace

QualificationSettingsReading readQualificationSettings(std::string_view setPointText,
                                                       std::string_view toleranceText,
                                                       std::string_view stableStartText,
                                                       std::string_view stableFinishText,
                                                       std::string_view referencePositionText) {
    QualificationSettingsReading reading;
    QualificationSettings &s = reading.settings;
    auto fail = [&reading](QualificationProblem problem) {
        reading.problem = problem;
        return reading;
    };
    if (!readNumber(setPointText, s.setPoint))
        return fail(QualificationProblem::SetPoint);
    if (!readNumber(toleranceText, s.tolerance) || (s.tolerance && *s.tolerance < 0.0))
        return fail(QualificationProblem::Tolerance);
    if (!readTime(stableStartText, s.stableStart))
        return fail(QualificationProblem::StableStart);
    if (!readTime(stableFinishText, s.stableFinish))
        return fail(QualificationProblem::StableFinish);
    if (s.stableStart && s.stableFinish &&
        roundedSeconds(*s.stableFinish) < roundedSeconds(*s.stableStart))
        return fail(QualificationProblem::StableWindowOrder);
    const std::string_view reference = trimmed(referencePositionText);
    if (!reference.empty()) {
        s.referencePosition = readArrayPosition(reference);
        if (!s.referencePosition)
            return fail(QualificationProblem::ReferencePositionFormat);
    }
    return reading;
}

std::string_view qualificationProblemMessage(QualificationProblem problem) {
    using P = QualificationProblem;
    static constexpr TextEntry<P> MESSAGES[] = {
        {P::SetPoint, text::SET_POINT_FORMAT_MESSAGE},
        {P::Tolerance, text::TOLERANCE_FORMAT_MESSAGE},
        {P::StableStart, text::STABLE_START_FORMAT_MESSAGE},
        {P::StableFinish, text::STABLE_FINISH_FORMAT_MESSAGE},
        {P::StableWindowOrder, text::STABLE_WINDOW_ORDER_MESSAGE},
        {P::ReferencePositionFormat, text::REFERENCE_POSITION_FORMAT_MESSAGE},
        {P::ReferencePositionOutside, text::REFERENCE_POSITION_OUTSIDE_MESSAGE},
        {P::NoReferenceReadings, text::NO_REFERENCE_READINGS_MESSAGE},
    };
    return textOf(MESSAGES, problem);
}

std::optional<ArrayPosition> defaultReferencePosition(const LoggerArray &array) {
    const ArrayDimensions d = array.dimensions();
    // Distances in half cells, squared, so that the even counts' centres stay whole numbers.
    std::optional<ArrayPosition> nearest;
    int64_t nearestDistance = 0;
    for (int row = 0; row < d.rows; ++row) {
        for (int col = 0; col < d.columns; ++col) {
            if (!array.at(row, col))
                continue;
            const int64_t rowOffset = 2 * (int64_t{row} + 1) - (int64_t{d.rows} + 1);
            const int64_t colOffset = 2 * (int64_t{col} + 1) - (int64_t{d.columns} + 1);
            const int64_t distance = rowOffset * rowOffset + colOffset * colOffset;
            // Strict: row by row, the smaller row and then the smaller column stay on a tie.
            if (!nearest || distance < nearestDistance) {
                nearest = ArrayPosition{row, col};
                nearestDistance = distance;
            }
        }
    }
    return nearest;
}

Qualification computeQualification(const LoggerArray &array, double start, double finish,
                                   const QualificationSettings &settings) {
    Qualification q;
    q.start = start;
    q.finish = finish;
    q.setPoint = settings.setPoint;
    q.tolerance = settings.tolerance;

    const std::vector<const LogFile *> records = positionRecords(array);
    const std::vector<ArrayPosition> places = arrayPositions(array.dimensions());
    for (std::size_t i = 0; i < records.size(); ++i) {
        PositionQualification p;
        p.at = places[i];
        p.position = arrayPositionName(places[i]);
        if (records[i]) {
            p.placed = true;
            p.logger = records[i]->label();
        }
        q.positions.push_back(std::move(p));
    }

    const InstantsChoice choice = chooseInstants(array, records, start, finish, settings);
    q.stableStart = choice.stableStart;
    q.stableFinish = choice.stableFinish;
    q.reference = choice.reference;
    q.problem = choice.problem;
    if (q.problem != QualificationProblem::None)
        return q;

    std::vector<Accumulator> perPosition(records.size());
    compareAtInstants(records, q, perPosition);
    if (q.instants == 0) {
        q.problem = QualificationProblem::NoReferenceReadings;
        return q;
    }

    // Every T value: the positions' sums added position by position.
    Accumulator all;
    const double referenceMean = perPosition[q.reference].sum / perPosition[q.reference].count;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Accumulator &a = perPosition[i];
        all.count += a.count;
        all.sum += a.sum;
        all.minimum = std::min(all.minimum, a.minimum);
        all.maximum = std::max(all.maximum, a.maximum);
        PositionQualification &p = q.positions[i];
        p.instants = a.count;
        if (a.count == 0)
            continue;
        p.mean = a.sum / a.count;
        p.minimum = a.minimum;
        p.maximum = a.maximum;
        p.deviationFromReference = p.mean - referenceMean;
        if (q.setPoint)
            p.deviationFromSetPoint = p.mean - *q.setPoint;
        q.stability = std::max(q.stability, (a.maximum - a.minimum) / 2.0);
    }
    q.overallVariation = all.maximum - all.minimum;

    if (q.setPoint) {
        const double setPoint = *q.setPoint;
        q.setPointDeviation = all.sum / all.count - setPoint;
        q.toleranceClass =
            tightestClass(readingExtremes(records, q.stableStart, q.stableFinish), setPoint);
        if (q.tolerance) {
            const Band band{setPoint - *q.tolerance, setPoint + *q.tolerance};
            const ReadingTime settled =
                settledFrom(records, rangeThrough(start, q.stableFinish), band);
            TimeFigure figure;
            figure.found = settled.found;
            if (settled.found) {
                figure.time = settled.time;
                figure.minutes = static_cast<double>(settled.second - roundedSeconds(start)) /
                                 SECONDS_PER_MINUTE;
            }
            q.stabilisation = figure;
        }
    }
    return q;
}

QualificationInstants qualificationInstants(const LoggerArray &array, double start, double finish,
                                            const QualificationSettings &settings,
                                            unsigned threads) {
    const std::vector<const LogFile *> records = positionRecords(array);
    const std::size_t positions = records.size();
    QualificationInstants result;
    result.instants = ReadingInstants(positions);
    const InstantsChoice choice = chooseInstants(array, records, start, finish, settings);
    result.problem = choice.problem;
    result.reference = choice.reference;
    if (result.problem != QualificationProblem::None)
        return result;

    // The instants first, to know where each block's rows go; then the blocks' rows, each
    // filled by one thread.
    ReadingInstants &instants = result.instants;
    const InstantBlocks blocks(records, choice.reference, choice.stableStart, choice.stableFinish);
    std::vector<double> referenceValues;
    std::vector<std::size_t> firstRows{0};
    std::vector<double> blockTimes;
    std::vector<double> blockReadings;
    for (std::size_t block = 0; block < blocks.blockCount(); ++block) {
        blocks.read(block, blockTimes, blockReadings);
        instants.times.insert(instants.times.end(), blockTimes.begin(), blockTimes.end());
        referenceValues.insert(referenceValues.end(), blockReadings.begin(), blockReadings.end());
        firstRows.push_back(instants.count());
    }
    instants.values.resize(instants.count() * positions);
    // Instant by instant, so that each row is written in one run; every record is read onwards
    // from where the instant before left it.
    parallelInOrder<bool>(
        blocks.blockCount(), threads,
        [&](std::size_t block) {
            double *out = instants.values.data() + firstRows[block] * positions;
            for (std::size_t m = firstRows[block]; m < firstRows[block + 1]; ++m) {
                const double time = instants.times[m];
                for (std::size_t i = 0; i < positions; ++i)
                    *out++ = i == choice.reference ? referenceValues[m]
                                                   : blocks.seriesOf(i).nearest(time);
            }
            return true;
        },
        [](std::size_t, bool) {});
    if (instants.count() == 0)
        result.problem = QualificationProblem::NoReferenceReadings;
    return result;
}

} // namespace zqar
