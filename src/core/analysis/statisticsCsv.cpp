#include "core/analysis/statisticsCsv.h"

#include "core/analysis/SetList.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsColumns.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <charconv>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int MINUTE_DECIMALS = 1;

std::string temperature(double value) { return formatFixed(value, TEMPERATURE_DECIMALS); }

std::string spotLine(const char *pattern, const MappingStatistics &statistics, const Spot &spot,
                     bool withTime) {
    const std::string none(text::NO_LOGGER);
    if (!spot.found)
        return text::format(pattern, none, none);
    const PositionStatistics &p = statistics.positions[spot.position];
    std::string value = temperature(spot.value);
    if (withTime)
        value += ", " + formatDateTime(spot.time);
    return text::format(pattern, p.position + " (" + p.logger + ")", value);
}

} // namespace

std::string csvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void appendCsvLine(std::string &csv, const std::vector<std::string> &fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            csv += ',';
        csv += csvField(fields[i]);
    }
    csv += CSV_LINE_END;
}

std::string csvTemperature(double value) { return temperature(value); }

std::string csvMinutes(double value) { return formatFixed(value, MINUTE_DECIMALS); }

std::string csvDate(double dayNumber) {
    // formatDateTime writes "%d-%b-%Y %I:%M%p": the date is all before the blank.
    const std::string dateTime = formatDateTime(dayNumber);
    return dateTime.substr(0, dateTime.find(' '));
}

std::string csvNumber(double value) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

std::vector<std::string> statisticsRow(const PositionStatistics &p) {
    // An empty position has only its name; a position without samples its logger and count.
    const std::size_t written = !p.placed ? 1 : p.samples <= 0 ? 3 : STATISTICS_COLUMN_COUNT;
    std::vector<std::string> row;
    for (std::size_t i = 0; i < STATISTICS_COLUMN_COUNT; ++i)
        row.push_back(i < written ? STATISTICS_COLUMNS[i].text(p) : std::string(text::NO_LOGGER));
    return row;
}

std::vector<std::string> windowRow(const PositionStatistics &p) {
    std::vector<std::string> row = statisticsRow(p);
    for (std::size_t i = 0; i < row.size(); ++i)
        if (row[i] != text::NO_LOGGER)
            row[i] = windowText(STATISTICS_COLUMNS[i], p);
    return row;
}

std::vector<std::string> spotLines(const MappingStatistics &statistics) {
    const HotAndColdSpots &found = statistics.spots;
    return {spotLine(text::WARMEST_SPOT, statistics, found.warmest, false),
            spotLine(text::COLDEST_SPOT, statistics, found.coldest, false),
            spotLine(text::HIGHEST_READING, statistics, found.highestReading, true),
            spotLine(text::LOWEST_READING, statistics, found.lowestReading, true)};
}

std::string statisticsCsv(const MappingStatistics &statistics) {
    std::string csv = statisticsHeader();
    csv += CSV_LINE_END;
    for (const PositionStatistics &position : statistics.positions)
        appendCsvLine(csv, statisticsRow(position));
    return csv;
}

std::string setSummaryCsv(const SetList &sets) {
    std::string csv(text::SET_SUMMARY_CSV_HEADER);
    csv += CSV_LINE_END;
    const std::string none(text::NO_LOGGER);
    for (int i = 0; i < sets.count(); ++i) {
        const TemperatureSet &set = *sets.at(i);
        const SetSummary summary = summariseSet(set);
        if (!summary.measured) {
            appendCsvLine(csv,
                          {std::to_string(i + 1), set.title(), none, none, none, none, none, none});
            continue;
        }
        appendCsvLine(csv, {std::to_string(i + 1), set.title(), temperature(summary.minimum),
                            summary.minimumPosition, temperature(summary.maximum),
                            summary.maximumPosition, temperature(summary.mean),
                            temperature(summary.spread)});
    }
    return csv;
}

} // namespace zqar
