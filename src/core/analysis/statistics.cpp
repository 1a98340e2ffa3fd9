#include "core/analysis/statistics.h"
#include "core/analysis/statisticsColumns.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/compare.h"
#include "core/analysis/mkt.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zqar {

namespace {

// Day numbers this far out give no calendar date; samplesInSpan tests such records one by one.
constexpr double LARGEST_DAY_NUMBER = 1e9;

std::optional<double> readLimit(std::string_view text, bool &wrong) {
    if (text.empty())
        return std::nullopt;
    const DecimalRead read = readDecimalPrefix(text);
    if (!read.found) {
        wrong = true;
        return std::nullopt;
    }
    return read.value;
}

// The figures of one position's samples, with the offsets of its extremes.
struct SeriesFigures {
    PositionStatistics figures;
    int32_t minimumAt = 0;
    int32_t maximumAt = 0;
};

// The samples beyond each limit and the excursions: runs of samples outside the limits, a
// jump from one side to the other staying in the same excursion.
struct LimitCounts {
    int32_t below = 0;
    int32_t above = 0;
    int32_t excursions = 0;
    int32_t run = 0; // the samples of the excursion going on now
    int32_t longestRun = 0;

    // Written without branches: samples near a limit cross it often, and mispredicted jumps
    // cost more than the arithmetic.
    void add(bool isBelow, bool isAbove) {
        below += isBelow;
        above += isAbove;
        const int32_t outside = static_cast<int32_t>(isBelow | isAbove);
        run = (run + 1) * outside;
        excursions += static_cast<int32_t>(run == 1);
        longestRun = std::max(longestRun, run);
    }
};

// Every sum runs in time order in one pass; the squared deviations need the mean and take a
// second one. Missing readings (NO_VALUE) are left out of every figure: the counts and the
// minutes count readings only, and a missing reading ends an excursion. runBreaks, when
// given, marks further readings after which an excursion ends.
SeriesFigures seriesFigures(const double *x, int32_t n, double samplePeriod,
                            const StatisticsSettings &settings,
                            const std::vector<bool> *runBreaks = nullptr) {
    SeriesFigures result;
    PositionStatistics &out = result.figures;
    out.samples = 0;
    if (n <= 0)
        return result;
    const double lower = settings.lowerLimit.value_or(-std::numeric_limits<double>::infinity());
    const double upper = settings.upperLimit.value_or(std::numeric_limits<double>::infinity());
    const double enthalpy = mktEnthalpy(settings.activationEnergy);

    double sum = 0.0;
    double boltzmannSum = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    int32_t minimumAt = 0;
    int32_t maximumAt = 0;
    int32_t readings = 0;
    LimitCounts limits;
    bool atOrBelowAbsoluteZero = false;
    for (int32_t k = 0; k < n; ++k) {
        const double value = x[k];
        if (value == NO_VALUE) {
            limits.run = 0;
            continue;
        }
        sum += value;
        if (readings == 0 || value < minimum) {
            minimum = value;
            minimumAt = k;
        }
        if (readings == 0 || value > maximum) {
            maximum = value;
            maximumAt = k;
        }
        ++readings;
        atOrBelowAbsoluteZero |= value <= -ZERO_CELSIUS;
        boltzmannSum += std::exp(-enthalpy / (value + ZERO_CELSIUS));
        if (runBreaks && (*runBreaks)[static_cast<std::size_t>(k)])
            limits.run = 0;
        limits.add(value<lower, value> upper);
    }
    out.samples = readings;
    if (readings == 0)
        return result;
    const double mean = sum / readings;
    out.minimum = minimum;
    out.maximum = maximum;
    out.mean = mean;
    result.minimumAt = minimumAt;
    result.maximumAt = maximumAt;

    if (readings > 1) {
        double squares = 0.0;
        for (int32_t k = 0; k < n; ++k) {
            if (x[k] == NO_VALUE)
                continue;
            const double deviation = x[k] - mean;
            squares += deviation * deviation;
        }
        out.standardDeviation = std::sqrt(squares / (readings - 1));
    }
    if (!atOrBelowAbsoluteZero)
        out.mkt = meanKineticTemperature(x, n, enthalpy, boltzmannSum, readings, maximum);
    if (settings.lowerLimit)
        out.minutesBelow = limits.below * samplePeriod / SECONDS_PER_MINUTE;
    if (settings.upperLimit)
        out.minutesAbove = limits.above * samplePeriod / SECONDS_PER_MINUTE;
    if (settings.lowerLimit || settings.upperLimit) {
        out.excursions = limits.excursions;
        out.longestExcursion = limits.longestRun * samplePeriod / SECONDS_PER_MINUTE;
    }
    return result;
}

PositionStatistics positionStatistics(const LogFile *record, int row, int col,
                                      const MappingStatistics &span,
                                      const StatisticsSettings &settings,
                                      std::vector<double> &scratch) {
    PositionStatistics result;
    if (record) {
        const SampleSelection selection = samplesInSpan(*record, span.start, span.finish);
        const double *series = record->values.data() + selection.first;
        if (!selection.contiguous()) {
            scratch.clear();
            for (const int32_t index : selection.indices)
                scratch.push_back(record->values[static_cast<std::size_t>(index)]);
            series = scratch.data();
        }
        SeriesFigures figures =
            seriesFigures(series, selection.count, record->samplePeriod, settings);
        std::vector<int32_t> readingAt; // offsets in the selection, when readings are missing
        // Missing readings (readings left out of the statistics) count for nothing: the figures
        // are those of the readings alone, and a missing reading ends an excursion. NO_VALUE is
        // above every reading, so the maximum tells without a pass of its own.
        if (selection.count > 0 && figures.figures.maximum == NO_VALUE) {
            std::vector<double> readings;
            std::vector<bool> runBreaks;
            bool afterGap = false;
            for (int32_t k = 0; k < selection.count; ++k) {
                if (series[k] == NO_VALUE) {
                    afterGap = true;
                    continue;
                }
                readings.push_back(series[k]);
                readingAt.push_back(k);
                runBreaks.push_back(afterGap);
                afterGap = false;
            }
            figures = seriesFigures(readings.data(), static_cast<int32_t>(readings.size()),
                                    record->samplePeriod, settings, &runBreaks);
        }
        result = figures.figures;
        if (result.samples > 0) {
            auto offset = [&readingAt](int32_t at) {
                return readingAt.empty() ? at : readingAt[static_cast<std::size_t>(at)];
            };
            result.timeOfMinimum = sampleTime(*record, selection.index(offset(figures.minimumAt)));
            result.timeOfMaximum = sampleTime(*record, selection.index(offset(figures.maximumAt)));
        }
        result.placed = true;
        result.logger = record->label();
    }
    result.row = row;
    result.col = col;
    result.position = positionName(row, col);
    return result;
}

void findSpots(MappingStatistics &statistics) {
    HotAndColdSpots &spots = statistics.spots;
    for (std::size_t i = 0; i < statistics.positions.size(); ++i) {
        const PositionStatistics &p = statistics.positions[i];
        if (p.samples <= 0)
            continue;
        // Strict comparisons: on a tie the first position in order stays.
        if (!spots.warmest.found || p.mean > spots.warmest.value)
            spots.warmest = Spot{true, i, p.mean, 0.0};
        if (!spots.coldest.found || p.mean < spots.coldest.value)
            spots.coldest = Spot{true, i, p.mean, 0.0};
        if (!spots.highestReading.found || p.maximum > spots.highestReading.value)
            spots.highestReading = Spot{true, i, p.maximum, p.timeOfMaximum};
        if (!spots.lowestReading.found || p.minimum < spots.lowestReading.value)
            spots.lowestReading = Spot{true, i, p.minimum, p.timeOfMinimum};
    }
}

} // namespace

SettingsReading readStatisticsSettings(std::string_view lowerLimitText,
                                       std::string_view upperLimitText,
                                       std::string_view activationEnergyText) {
    SettingsReading reading;
    bool wrongLower = false;
    bool wrongUpper = false;
    reading.settings.lowerLimit = readLimit(lowerLimitText, wrongLower);
    reading.settings.upperLimit = readLimit(upperLimitText, wrongUpper);
    const StatisticsSettings &s = reading.settings;
    if (wrongLower)
        reading.limitProblem = LimitProblem::LowerNotANumber;
    else if (wrongUpper)
        reading.limitProblem = LimitProblem::UpperNotANumber;
    else if (s.lowerLimit && s.upperLimit && !(*s.lowerLimit < *s.upperLimit))
        reading.limitProblem = LimitProblem::LowerNotBelowUpper;
    if (reading.limitProblem != LimitProblem::None) {
        reading.problem = SettingsProblem::Limits;
        return reading;
    }
    const DecimalRead energy = readDecimalPrefix(activationEnergyText);
    if (!energy.found || !(energy.value > 0.0) || !std::isfinite(energy.value)) {
        reading.problem = SettingsProblem::ActivationEnergy;
        return reading;
    }
    reading.settings.activationEnergy = energy.value;
    return reading;
}

double sampleTime(const LogFile &record, int32_t index) {
    return record.startTime() +
           (static_cast<double>(index) * record.samplePeriod) / SECONDS_PER_DAY;
}

SampleSelection samplesInSpan(const LogFile &record, double start, double finish) {
    SampleSelection selection;
    const int64_t first = roundedSeconds(start);
    const int64_t last = roundedSeconds(finish);
    const int32_t n = static_cast<int32_t>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(record.valueCount, 0)), record.values.size()));
    if (n == 0 || first > last)
        return selection;
    auto second = [&](int32_t i) { return roundedSeconds(sampleTime(record, i)); };

    const double period = record.samplePeriod;
    const double startTime = record.startTime();
    const double endTime = sampleTime(record, n - 1);
    // Rounded seconds grow with the day number from 30 December 1899 on; before it the
    // fraction counts backwards within each day, and other periods do not move forwards.
    const bool ordered = period > 0.0 && std::isfinite(period) && startTime >= 0.0 &&
                         std::isfinite(endTime) && endTime < LARGEST_DAY_NUMBER;
    if (!ordered) {
        for (int32_t i = 0; i < n; ++i) {
            const int64_t t = second(i);
            if (first <= t && t <= last)
                selection.indices.push_back(i);
        }
        std::stable_sort(selection.indices.begin(), selection.indices.end(),
                         [&](int32_t a, int32_t b) { return second(a) < second(b); });
        selection.count = static_cast<int32_t>(selection.indices.size());
        return selection;
    }

    // The index where the rounded time first reaches a second, estimated from the period and
    // then moved until the test holds exactly on both sides of it.
    const int64_t origin = roundedSeconds(startTime);
    auto firstReaching = [&](int64_t wanted, bool inclusive) {
        const double estimate = std::ceil(static_cast<double>(wanted - origin) / period);
        int32_t i = truncToInt(std::clamp(estimate, 0.0, static_cast<double>(n)));
        auto reaches = [&](int32_t at) {
            return inclusive ? second(at) >= wanted : second(at) > wanted;
        };
        while (i > 0 && reaches(i - 1))
            --i;
        while (i < n && !reaches(i))
            ++i;
        return i;
    };
    const int32_t begin = firstReaching(first, true);
    const int32_t end = firstReaching(last, false);
    selection.first = begin;
    selection.count = std::max(end - begin, 0);
    return selection;
}

MappingStatistics computeStatistics(const LoggerArray &array, double start, double finish,
                                    const StatisticsSettings &settings) {
    MappingStatistics statistics;
    statistics.start = start;
    statistics.finish = finish;
    statistics.dimensions = array.dimensions();
    const ArrayDimensions &d = statistics.dimensions;
    std::vector<double> scratch;
    statistics.positions.reserve(static_cast<std::size_t>(d.rows) * d.columns + d.singularCount);
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            statistics.positions.push_back(
                positionStatistics(array.at(row, col), row, col, statistics, settings, scratch));
    for (int slot = 0; slot < d.singularCount; ++slot)
        statistics.positions.push_back(positionStatistics(array.at(-1, slot), SINGULAR_ROW, slot,
                                                          statistics, settings, scratch));
    findSpots(statistics);
    return statistics;
}

SetSummary summariseSet(const TemperatureSet &set) {
    SetSummary summary;
    double sum = 0.0;
    int32_t count = 0;
    auto visit = [&](int row, int col) {
        if (!set.isMeasured(row, col))
            return;
        const double value = set.valueAt(row, col);
        if (!summary.measured || value < summary.minimum) {
            summary.minimum = value;
            summary.minimumPosition = positionName(row, col);
        }
        if (!summary.measured || value > summary.maximum) {
            summary.maximum = value;
            summary.maximumPosition = positionName(row, col);
        }
        summary.measured = true;
        sum += value;
        ++count;
    };
    for (int row = 0; row < set.rows; ++row)
        for (int col = 0; col < set.columns; ++col)
            visit(row, col);
    for (int slot = 0; slot < set.singularCount; ++slot)
        visit(SINGULAR_ROW, slot);
    if (summary.measured) {
        summary.mean = sum / count;
        summary.spread = summary.maximum - summary.minimum;
    }
    return summary;
}

std::optional<MapStatistic> mapStatisticNamed(std::string_view name) {
    for (const MapStatisticInfo &info : MAP_STATISTICS)
        if (equalIgnoringCase(info.name, name))
            return info.statistic;
    return std::nullopt;
}

std::unique_ptr<TemperatureSet> statisticMap(const MappingStatistics &statistics,
                                             MapStatistic statistic) {
    const ArrayDimensions &d = statistics.dimensions;
    auto set = std::make_unique<TemperatureSet>(
        statistics.start, statistics.finish - statistics.start, d.rows, d.columns, d.singularCount);
    // The figures a map can show, in the order of MapStatistic; none of them is a time.
    static constexpr ComparedStatistic FIGURES[] = {
        ComparedStatistic::Mean, ComparedStatistic::Minimum, ComparedStatistic::Maximum,
        ComparedStatistic::Mkt};
    const ComparedStatistic figure = FIGURES[static_cast<std::size_t>(statistic)];
    auto valueOf = [figure](const PositionStatistics &p) {
        return statisticValue(p, figure, 0.0).value_or(NO_VALUE);
    };
    for (const PositionStatistics &p : statistics.positions)
        if (p.row != SINGULAR_ROW)
            set->setValue(p.row, p.col, valueOf(p));
    // As in the calculations: gaps are filled from the grid alone, singular values stay.
    set->fillGaps();
    for (const PositionStatistics &p : statistics.positions)
        if (p.row == SINGULAR_ROW)
            set->setValue(p.row, p.col, valueOf(p));
    return set;
}

std::string statisticMapTitle(const MappingStatistics &statistics, MapStatistic statistic) {
    return text::format(MAP_STATISTICS[static_cast<std::size_t>(statistic)].titlePattern,
                        formatDateTime(statistics.start), formatDateTime(statistics.finish));
}

} // namespace zqar
