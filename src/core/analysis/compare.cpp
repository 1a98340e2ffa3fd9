#include "core/analysis/compare.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/timeUnits.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"

#include <algorithm>
#include <map>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int MINUTE_DECIMALS = 1;
constexpr std::size_t SPOT_RANKS = 3; // a spot persists among this many warmest or coldest
// statisticsRow's fields before the statistics: the position and the logger.
constexpr std::size_t ROW_FIELDS_BEFORE = 2;

bool hasLogger(const PositionStatistics &position) { return position.placed; }

int decimalsOf(ComparedStatistic statistic) {
    switch (statistic) {
    case ComparedStatistic::Samples:
    case ComparedStatistic::Excursions:
        return 0;
    case ComparedStatistic::TimeOfMinimum:
    case ComparedStatistic::TimeOfMaximum:
    case ComparedStatistic::MinutesBelow:
    case ComparedStatistic::MinutesAbove:
    case ComparedStatistic::LongestExcursion:
        return MINUTE_DECIMALS;
    default:
        return TEMPERATURE_DECIMALS;
    }
}

// A difference that rounds to zero is written as zero, without the sign of the rounding.
std::string deltaText(double delta, int decimals) {
    std::string text = formatFixed(delta, decimals);
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// The positions with figures by mean, warmest first, the earlier position first on a tie.
std::vector<std::string> byMean(const MappingStatistics &statistics, bool warmestFirst) {
    std::vector<std::size_t> order;
    for (std::size_t p = 0; p < statistics.positions.size(); ++p)
        if (statistics.positions[p].samples > 0)
            order.push_back(p);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const double mx = statistics.positions[x].mean;
        const double my = statistics.positions[y].mean;
        return warmestFirst ? mx > my : mx < my;
    });
    std::vector<std::string> names;
    for (std::size_t k = 0; k < std::min(order.size(), SPOT_RANKS); ++k)
        names.push_back(statistics.positions[order[k]].position);
    return names;
}

bool contains(const std::vector<std::string> &names, const std::string &name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

SpotComparison compareSpot(const MappingStatistics &a, const MappingStatistics &b,
                           const Spot &spotA, const Spot &spotB, bool warmest) {
    SpotComparison result;
    if (spotA.found)
        result.a = spotA.position;
    if (spotB.found)
        result.b = spotB.position;
    if (result.a && result.b) {
        result.aPersistent = contains(byMean(b, warmest), a.positions[*result.a].position);
        result.bPersistent = contains(byMean(a, warmest), b.positions[*result.b].position);
    }
    return result;
}

} // namespace

std::optional<double> statisticValue(const PositionStatistics &p, ComparedStatistic statistic,
                                     double spanStart) {
    if (!p.placed)
        return std::nullopt;
    if (statistic == ComparedStatistic::Samples)
        return static_cast<double>(p.samples);
    if (p.samples <= 0)
        return std::nullopt;
    switch (statistic) {
    case ComparedStatistic::Samples:
        break;
    case ComparedStatistic::Minimum:
        return p.minimum;
    case ComparedStatistic::TimeOfMinimum:
        return (p.timeOfMinimum - spanStart) * MINUTES_PER_DAY;
    case ComparedStatistic::Maximum:
        return p.maximum;
    case ComparedStatistic::TimeOfMaximum:
        return (p.timeOfMaximum - spanStart) * MINUTES_PER_DAY;
    case ComparedStatistic::Mean:
        return p.mean;
    case ComparedStatistic::StandardDeviation:
        return p.standardDeviation;
    case ComparedStatistic::Mkt:
        return p.mkt;
    case ComparedStatistic::MinutesBelow:
        return p.minutesBelow;
    case ComparedStatistic::MinutesAbove:
        return p.minutesAbove;
    case ComparedStatistic::Excursions:
        if (p.excursions)
            return static_cast<double>(*p.excursions);
        return std::nullopt;
    case ComparedStatistic::LongestExcursion:
        return p.longestExcursion;
    }
    return std::nullopt;
}

StudyComparison compareStudies(const MappingStatistics &a, const MappingStatistics &b) {
    StudyComparison comparison;
    std::map<std::string, std::size_t> inB;
    for (std::size_t q = 0; q < b.positions.size(); ++q)
        if (hasLogger(b.positions[q]))
            inB.emplace(b.positions[q].position, q);
    std::map<std::string, std::size_t> inA;
    for (std::size_t p = 0; p < a.positions.size(); ++p) {
        const PositionStatistics &position = a.positions[p];
        if (!hasLogger(position))
            continue;
        inA.emplace(position.position, p);
        ComparedPosition compared;
        compared.position = position.position;
        compared.a = p;
        const auto match = inB.find(position.position);
        if (match != inB.end())
            compared.b = match->second;
        else
            comparison.onlyInA.push_back(position.position);
        comparison.positions.push_back(std::move(compared));
    }
    for (std::size_t q = 0; q < b.positions.size(); ++q) {
        const PositionStatistics &position = b.positions[q];
        if (!hasLogger(position) || inA.count(position.position) > 0)
            continue;
        ComparedPosition compared;
        compared.position = position.position;
        compared.b = q;
        comparison.onlyInB.push_back(position.position);
        comparison.positions.push_back(std::move(compared));
    }
    for (ComparedPosition &compared : comparison.positions) {
        compared.deltas.assign(COMPARED_STATISTIC_COUNT, std::nullopt);
        if (!compared.matched())
            continue;
        for (int s = 0; s < COMPARED_STATISTIC_COUNT; ++s) {
            const auto statistic = static_cast<ComparedStatistic>(s);
            const std::optional<double> valueA =
                statisticValue(a.positions[*compared.a], statistic, a.start);
            const std::optional<double> valueB =
                statisticValue(b.positions[*compared.b], statistic, b.start);
            if (valueA && valueB)
                compared.deltas[static_cast<std::size_t>(s)] = *valueB - *valueA;
        }
    }
    comparison.warmest = compareSpot(a, b, a.spots.warmest, b.spots.warmest, true);
    comparison.coldest = compareSpot(a, b, a.spots.coldest, b.spots.coldest, false);
    return comparison;
}

std::unique_ptr<TemperatureSet> meanDifferenceMap(const MappingStatistics &a,
                                                  const MappingStatistics &b) {
    const ArrayDimensions &d = a.dimensions;
    auto set = std::make_unique<TemperatureSet>(a.start, a.finish - a.start, d.rows, d.columns,
                                                d.singularCount);
    std::map<std::string, std::size_t> inB;
    for (std::size_t q = 0; q < b.positions.size(); ++q)
        if (b.positions[q].samples > 0)
            inB.emplace(b.positions[q].position, q);
    auto store = [&](bool singular) {
        for (const PositionStatistics &p : a.positions) {
            if ((p.row == SINGULAR_ROW) != singular || p.samples <= 0)
                continue;
            const auto match = inB.find(p.position);
            if (match == inB.end())
                continue;
            set->setValue(p.row, p.col, b.positions[match->second].mean - p.mean);
            set->setMeasured(p.row, p.col);
        }
    };
    // As in the calculations: gaps are filled from the grid alone, singular values stay.
    store(false);
    set->fillGaps();
    store(true);
    return set;
}

ElapsedAxis elapsedAxis(const MappingStatistics &a, const MappingStatistics &b) {
    ElapsedAxis axis;
    axis.shift = a.start - b.start;
    axis.length = std::max(a.finish - a.start, b.finish - b.start);
    return axis;
}

std::vector<ElapsedReading> elapsedReadings(const LogFile &record, double start, double finish) {
    std::vector<ElapsedReading> readings;
    const SampleSelection selection = samplesInSpan(record, start, finish);
    readings.reserve(static_cast<std::size_t>(selection.count));
    for (int32_t k = 0; k < selection.count; ++k) {
        const int32_t index = selection.index(k);
        const double value = record.values[static_cast<std::size_t>(index)];
        if (value == NO_VALUE)
            continue;
        readings.push_back(ElapsedReading{sampleTime(record, index) - start, value});
    }
    return readings;
}

std::string comparisonCsv(const MappingStatistics &a, const MappingStatistics &b,
                          const StudyComparison &comparison) {
    std::string csv(text::COMPARE_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const std::vector<std::string> &row : comparisonRows(a, b, comparison))
        appendCsvLine(csv, row);
    csv += CSV_LINE_END;
    csv += text::COMPARE_SPOTS_HEADER;
    csv += CSV_LINE_END;
    for (const std::vector<std::string> &row : spotComparisonRows(a, b, comparison))
        appendCsvLine(csv, row);
    return csv;
}

std::vector<std::vector<std::string>> comparisonRows(const MappingStatistics &a,
                                                     const MappingStatistics &b,
                                                     const StudyComparison &comparison) {
    const std::string none(text::NO_LOGGER);
    // The statistics' names are the statistics table's own column headings.
    std::vector<std::string> names;
    for (const StatisticsColumn &column : STATISTICS_COLUMNS)
        names.emplace_back(column.heading);
    std::vector<std::vector<std::string>> rows;
    for (const ComparedPosition &compared : comparison.positions) {
        const std::vector<std::string> rowA =
            compared.a ? statisticsRow(a.positions[*compared.a]) : std::vector<std::string>{};
        const std::vector<std::string> rowB =
            compared.b ? statisticsRow(b.positions[*compared.b]) : std::vector<std::string>{};
        for (int s = 0; s < COMPARED_STATISTIC_COUNT; ++s) {
            const std::size_t field = ROW_FIELDS_BEFORE + static_cast<std::size_t>(s);
            const std::optional<double> &delta = compared.deltas[static_cast<std::size_t>(s)];
            rows.push_back(
                {compared.position, field < names.size() ? names[field] : none,
                 field < rowA.size() ? rowA[field] : none, field < rowB.size() ? rowB[field] : none,
                 delta ? deltaText(*delta, decimalsOf(static_cast<ComparedStatistic>(s))) : none});
        }
    }
    return rows;
}

std::vector<std::vector<std::string>> spotComparisonRows(const MappingStatistics &a,
                                                         const MappingStatistics &b,
                                                         const StudyComparison &comparison) {
    const std::string none(text::NO_LOGGER);
    auto spotRow = [&](std::string_view name, const SpotComparison &spot) {
        return std::vector<std::string>{
            std::string(name), spot.a ? a.positions[*spot.a].position : none,
            spot.b ? b.positions[*spot.b].position : none,
            std::string(spot.persistent() ? text::PERSISTENT_YES : text::PERSISTENT_NO)};
    };
    return {spotRow(text::WARMEST_SPOT_NAME, comparison.warmest),
            spotRow(text::COLDEST_SPOT_NAME, comparison.coldest)};
}

} // namespace zqar
