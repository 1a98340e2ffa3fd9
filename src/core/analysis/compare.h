#pragma once
// Two studies side by side, A the loaded one and B the other: positions matched by name, the
// difference B - A of every statistic of the statistics table, the warmest and coldest
// positions of each and whether they persist, a map of the difference of the means, and the
// alignment of the two time series on the time elapsed since each span's start. Plain values
// in, plain values out.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

class LogFile;
class TemperatureSet;
struct MappingStatistics;
struct PositionStatistics;

// The statistics of the statistics table after the position and the logger, in its column
// order.
enum class ComparedStatistic {
    Samples,
    Minimum,
    TimeOfMinimum,
    Maximum,
    TimeOfMaximum,
    Mean,
    StandardDeviation,
    Mkt,
    MinutesBelow,
    MinutesAbove,
    Excursions,
    LongestExcursion
};
constexpr int COMPARED_STATISTIC_COUNT = 12;

// A statistic of a position as a number, none where the table shows "-". The times of the
// extremes are minutes since the span's start (a day number), so that two studies' times
// compare as elapsed times.
std::optional<double> statisticValue(const PositionStatistics &position,
                                     ComparedStatistic statistic, double spanStart);

struct ComparedPosition {
    std::string position;         // "R1C1", "S1"
    std::optional<std::size_t> a; // index into A's positions, when a logger is placed there
    std::optional<std::size_t> b; // the same in B
    // One per ComparedStatistic: B - A where both have the figure.
    std::vector<std::optional<double>> deltas;
    bool matched() const { return a && b; }
};

// The warmest (or coldest) position by mean in each study. Each is persistent when it is also
// among the three warmest (coldest) by mean of the other study.
struct SpotComparison {
    std::optional<std::size_t> a; // index into A's positions
    std::optional<std::size_t> b;
    bool aPersistent = false;
    bool bPersistent = false;
    bool persistent() const { return aPersistent && bPersistent; }
};

struct StudyComparison {
    // Every position with a logger in either study: A's in its order, then those of B alone.
    std::vector<ComparedPosition> positions;
    std::vector<std::string> onlyInA; // names of positions with a logger in one study only
    std::vector<std::string> onlyInB;
    SpotComparison warmest;
    SpotComparison coldest;
};

StudyComparison compareStudies(const MappingStatistics &a, const MappingStatistics &b);

// A set of A's shape over A's span holding B's mean minus A's at every matched position (those
// marked measured); the other cells estimated by the gap filling, as the statistic maps are.
std::unique_ptr<TemperatureSet> meanDifferenceMap(const MappingStatistics &a,
                                                  const MappingStatistics &b);

// Drawing B's time series over A's on elapsed time: add shift to every time of B.
struct ElapsedAxis {
    double shift = 0.0;  // days: A's start minus B's start
    double length = 0.0; // days: the longer of the two spans, the range to show from A's start
};
ElapsedAxis elapsedAxis(const MappingStatistics &a, const MappingStatistics &b);

// A record's readings within a span as days since the span's start; missing readings are
// left out.
struct ElapsedReading {
    double elapsed = 0.0; // days
    double value = 0.0;
};
std::vector<ElapsedReading> elapsedReadings(const LogFile &record, double start, double finish);

// "Position,Statistic,A,B,Delta", a row per position and statistic (A and B as the statistics
// table writes them, "-" for a side without a logger), an empty line, then
// "Spot,A Position,B Position,Persistent" with the warmest and the coldest spot. The delta of
// a time of an extreme is in minutes of elapsed time.
std::string comparisonCsv(const MappingStatistics &a, const MappingStatistics &b,
                          const StudyComparison &comparison);
// The rows of its two blocks, as the window shows them: COMPARED_STATISTIC_COUNT rows per
// position, in the order of the statistics, then a row per spot.
std::vector<std::vector<std::string>> comparisonRows(const MappingStatistics &a,
                                                     const MappingStatistics &b,
                                                     const StudyComparison &comparison);
std::vector<std::vector<std::string>> spotComparisonRows(const MappingStatistics &a,
                                                         const MappingStatistics &b,
                                                         const StudyComparison &comparison);

} // namespace zqar
