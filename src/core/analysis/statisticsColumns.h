#pragma once
// The columns of the statistics table, in one place: the heading, how a position's figure is
// written, which side it is aligned to, and how the Statistics window sorts it. The CSV file,
// the Statistics window and the mapping report all read this table. Also the map statistics:
// the name the batch tool takes, the text of the window's choice and the title of the map.

#include "core/analysis/statistics.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zqar {

enum class ColumnAlignment { Left, Right };

// What a column sorts by: the position's order in the table, the text shown, or a number
// (a time is its day number); a missing figure sorts below every number.
enum class ColumnOrder { Position, Text, Number };

// What a column's figures count, for the window's headings and its rounding; the CSV file and
// the report write the figures as the column's text does.
enum class ColumnUnit { None, Degrees, Minutes };

struct StatisticsColumn {
    std::string_view heading;
    ColumnAlignment alignment;
    ColumnOrder order;
    // The figure as written for a placed position with samples.
    std::string (*text)(const PositionStatistics &position);
    // The number a Number column sorts by; none for a missing figure.
    std::optional<double> (*value)(const PositionStatistics &position);
    ColumnUnit unit = ColumnUnit::None;
};

constexpr std::size_t STATISTICS_COLUMN_COUNT = 14;
extern const std::array<StatisticsColumn, STATISTICS_COLUMN_COUNT> STATISTICS_COLUMNS;

// The headings joined by commas: the first line of the statistics CSV file.
std::string statisticsHeader();

// The Statistics window's heading of a column: the unit after a temperature's heading.
std::string windowHeading(const StatisticsColumn &column);
// The Statistics window's text of a figure: minutes as whole minutes (a time that rounds to
// none but is not none shows as under one minute); every other figure as the column writes it.
std::string windowText(const StatisticsColumn &column, const PositionStatistics &position);

// A map statistic's name on the batch tool's command line, its choice in the Statistics
// window and the pattern of its title (the span's start and finish follow).
struct MapStatisticInfo {
    MapStatistic statistic;
    std::string_view name;
    std::string_view choice;
    const char *titlePattern;
};
constexpr std::size_t MAP_STATISTIC_COUNT = 4;
extern const std::array<MapStatisticInfo, MAP_STATISTIC_COUNT> MAP_STATISTICS;

} // namespace zqar
