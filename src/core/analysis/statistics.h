#pragma once
// Mapping statistics: per-position figures over the samples of a time span (extremes, mean,
// standard deviation, mean kinetic temperature, time beyond limits and excursions), the hot
// and cold spots among the positions, a summary of each calculated set, and sets of the
// array's shape that hold one statistic per position for the contour graph. Plain values;
// the commands that read the pages and the CSV writers use them.

#include "core/data/LoggerArray.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class SetList;
class TemperatureSet;

// The gas constant of the mean kinetic temperature, J/(mol K), and the activation energy used
// when the user gives none, kJ/mol; with it H = 10000 K.
constexpr double GAS_CONSTANT = 8.3144;
constexpr std::string_view DEFAULT_ACTIVATION_ENERGY = "83.144";
constexpr double ZERO_CELSIUS = 273.15; // kelvin

struct StatisticsSettings {
    std::optional<double> lowerLimit; // the loggers' unit; none: no limit below
    std::optional<double> upperLimit;
    double activationEnergy = 83.144; // kJ/mol, above 0
};

enum class SettingsProblem { None, Limits, ActivationEnergy };
// Which limit is wrong, for the window's messages; the batch tool says only that the limits
// are wrong. A lower limit that is not a number is named before the upper one.
enum class LimitProblem { None, LowerNotANumber, UpperNotANumber, LowerNotBelowUpper };

struct SettingsReading {
    StatisticsSettings settings;
    SettingsProblem problem = SettingsProblem::None;
    LimitProblem limitProblem = LimitProblem::None; // when problem is Limits
};

// The three setting texts as the user typed them. An empty limit is no limit; any other
// limit text must hold a number, and a lower limit must lie below the upper one. The
// activation energy must be a finite number above 0.
SettingsReading readStatisticsSettings(std::string_view lowerLimitText,
                                       std::string_view upperLimitText,
                                       std::string_view activationEnergyText);

// The samples of a record whose times, rounded to the second as the texts round them, lie
// from start through finish (both day numbers, rounded the same way). Sample i is at
// startTime + (i * samplePeriod) / 86400.
struct SampleSelection {
    int32_t first = 0; // the first index of a contiguous run
    int32_t count = 0;
    // Only for records whose times do not grow with the index (before 1900, or a period that
    // is not a positive number): the indices in time order, count of them.
    std::vector<int32_t> indices;
    bool contiguous() const { return indices.empty(); }
    int32_t index(int32_t k) const { return contiguous() ? first + k : indices[std::size_t(k)]; }
};
SampleSelection samplesInSpan(const LogFile &record, double start, double finish);

// The day number of sample index of a record.
double sampleTime(const LogFile &record, int32_t index);

// "R1C1" for a cell, "S1" for a singular slot (row SINGULAR_ROW), counted from 1.

struct PositionStatistics {
    std::string position; // "R1C1" for a cell, "S1" for a singular slot, from 1
    int row = 0;          // set addressing: the cell's row, or SINGULAR_ROW for a slot
    int col = 0;
    bool placed = false;
    std::string logger;  // the record's label; empty when the position is empty
    int32_t samples = 0; // readings in the span; missing readings do not count
    // Meaningful when samples > 0.
    double minimum = 0.0;
    double maximum = 0.0;
    double timeOfMinimum = 0.0; // day numbers
    double timeOfMaximum = 0.0;
    double mean = 0.0;
    std::optional<double> standardDeviation; // none for one sample
    std::optional<double> mkt;               // none when a sample is at or below 0 K
    std::optional<double> minutesBelow;      // none without a lower limit
    std::optional<double> minutesAbove;      // none without an upper limit
    std::optional<int32_t> excursions;       // none without any limit
    std::optional<double> longestExcursion;  // minutes
};

// A position's reading with where and when it was taken.
struct Spot {
    bool found = false;
    std::size_t position = 0; // index into MappingStatistics::positions
    double value = 0.0;
    double time = 0.0; // day number; the readings only
};

struct HotAndColdSpots {
    Spot warmest; // by mean
    Spot coldest;
    Spot highestReading;
    Spot lowestReading;
};

struct MappingStatistics {
    double start = 0.0; // day numbers of the span
    double finish = 0.0;
    ArrayDimensions dimensions;
    std::vector<PositionStatistics> positions; // cells row by row, then the singular slots
    HotAndColdSpots spots;
};

MappingStatistics computeStatistics(const LoggerArray &array, double start, double finish,
                                    const StatisticsSettings &settings);

// One calculated set over its measured positions (those filled from a placed logger).
struct SetSummary {
    bool measured = false; // false: the set has no measured position, every figure is "-"
    double minimum = 0.0;
    std::string minimumPosition;
    double maximum = 0.0;
    std::string maximumPosition;
    double mean = 0.0;
    double spread = 0.0;
};
SetSummary summariseSet(const TemperatureSet &set);

// The order of the map titles in statisticMapTitle.
enum class MapStatistic { Mean, Minimum, Maximum, Mkt };

// "mean", "minimum", "maximum", "mkt" (any letter case) as the batch tool names them.
std::optional<MapStatistic> mapStatisticNamed(std::string_view name);

// A set of the array's shape holding the statistic per position; positions without the
// figure are estimated by fillGaps and the ring is extrapolated as for any set.
std::unique_ptr<TemperatureSet> statisticMap(const MappingStatistics &statistics,
                                             MapStatistic statistic);
// "Mean from %s to %s" and the like, with the span's start and finish.
std::string statisticMapTitle(const MappingStatistics &statistics, MapStatistic statistic);

} // namespace zqar
