#include "core/analysis/statisticsColumns.h"

#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <cmath>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int MINUTE_DECIMALS = 1;

std::string none() { return std::string(text::NO_LOGGER); }

std::string temperature(const std::optional<double> &value) {
    return value ? formatFixed(*value, TEMPERATURE_DECIMALS) : none();
}

std::string minutes(const std::optional<double> &value) {
    return value ? formatFixed(*value, MINUTE_DECIMALS) : none();
}

std::optional<double> count(const std::optional<int32_t> &value) {
    return value ? std::optional<double>(*value) : std::nullopt;
}

using P = const PositionStatistics &;
constexpr auto LEFT = ColumnAlignment::Left;
constexpr auto RIGHT = ColumnAlignment::Right;
constexpr auto NUMBER = ColumnOrder::Number;
constexpr auto DEGREES = ColumnUnit::Degrees;
constexpr auto MINUTES = ColumnUnit::Minutes;
constexpr auto H = text::STATISTICS_HEADINGS;

} // namespace

const std::array<StatisticsColumn, STATISTICS_COLUMN_COUNT> STATISTICS_COLUMNS = {{
    {H[0], LEFT, ColumnOrder::Position, [](P p) { return p.position; },
     [](P) { return std::optional<double>(); }},
    {H[1], LEFT, ColumnOrder::Text, [](P p) { return p.logger; },
     [](P) { return std::optional<double>(); }},
    {H[2], RIGHT, NUMBER, [](P p) { return std::to_string(p.samples); },
     [](P p) { return std::optional<double>(p.samples); }},
    {H[3], RIGHT, NUMBER, [](P p) { return temperature(p.minimum); },
     [](P p) { return std::optional<double>(p.minimum); }, DEGREES},
    {H[4], RIGHT, NUMBER, [](P p) { return formatDateTime(p.timeOfMinimum); },
     [](P p) { return std::optional<double>(p.timeOfMinimum); }},
    {H[5], RIGHT, NUMBER, [](P p) { return temperature(p.maximum); },
     [](P p) { return std::optional<double>(p.maximum); }, DEGREES},
    {H[6], RIGHT, NUMBER, [](P p) { return formatDateTime(p.timeOfMaximum); },
     [](P p) { return std::optional<double>(p.timeOfMaximum); }},
    {H[7], RIGHT, NUMBER, [](P p) { return temperature(p.mean); },
     [](P p) { return std::optional<double>(p.mean); }, DEGREES},
    {H[8], RIGHT, NUMBER, [](P p) { return temperature(p.standardDeviation); },
     [](P p) { return p.standardDeviation; }, DEGREES},
    {H[9], RIGHT, NUMBER, [](P p) { return temperature(p.mkt); }, [](P p) { return p.mkt; },
     DEGREES},
    {H[10], RIGHT, NUMBER, [](P p) { return minutes(p.minutesBelow); },
     [](P p) { return p.minutesBelow; }, MINUTES},
    {H[11], RIGHT, NUMBER, [](P p) { return minutes(p.minutesAbove); },
     [](P p) { return p.minutesAbove; }, MINUTES},
    {H[12], RIGHT, NUMBER,
     [](P p) { return p.excursions ? std::to_string(*p.excursions) : none(); },
     [](P p) { return count(p.excursions); }},
    {H[13], RIGHT, NUMBER, [](P p) { return minutes(p.longestExcursion); },
     [](P p) { return p.longestExcursion; }, MINUTES},
}};

static_assert(std::size(text::STATISTICS_HEADINGS) == STATISTICS_COLUMN_COUNT);

std::string statisticsHeader() {
    std::string header;
    for (const StatisticsColumn &column : STATISTICS_COLUMNS) {
        if (!header.empty())
            header += ',';
        header += column.heading;
    }
    return header;
}

std::string windowHeading(const StatisticsColumn &column) {
    if (column.unit == ColumnUnit::Degrees)
        return text::format(text::DEGREES_HEADING, std::string(column.heading));
    return std::string(column.heading);
}

std::string windowText(const StatisticsColumn &column, const PositionStatistics &position) {
    const std::string written = column.text(position);
    const std::optional<double> value = column.value(position);
    if (column.unit != ColumnUnit::Minutes || written == text::NO_LOGGER || !value)
        return written;
    const double whole = std::round(*value);
    // A brief excursion must not read as none at all.
    if (whole == 0.0 && *value > 0.0)
        return std::string(text::UNDER_ONE_MINUTE);
    return formatFixed(whole, 0);
}

const std::array<MapStatisticInfo, MAP_STATISTIC_COUNT> MAP_STATISTICS = {{
    {MapStatistic::Mean, "mean", text::MAP_CHOICES[0], text::MEAN_MAP_TITLE},
    {MapStatistic::Minimum, "minimum", text::MAP_CHOICES[1], text::MINIMUM_MAP_TITLE},
    {MapStatistic::Maximum, "maximum", text::MAP_CHOICES[2], text::MAXIMUM_MAP_TITLE},
    {MapStatistic::Mkt, "mkt", text::MAP_CHOICES[3], text::MKT_MAP_TITLE},
}};

} // namespace zqar
