#include "core/analysis/statisticsCsv.h"

#include "core/analysis/SetList.h"
#include "core/analysis/statistics.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <charconv>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int MINUTE_DECIMALS = 1;
constexpr std::size_t STATISTICS_COLUMNS = 14; // the fields of the header

std::string temperature(double value) { return formatFixed(value, TEMPERATURE_DECIMALS); }

std::string temperature(const std::optional<double> &value) {
    return value ? temperature(*value) : std::string(text::NO_LOGGER);
}

std::string minutes(const std::optional<double> &value) {
    return value ? formatFixed(*value, MINUTE_DECIMALS) : std::string(text::NO_LOGGER);
}

void appendLine(std::string &csv, const std::vector<std::string> &fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            csv += ',';
        csv += csvField(fields[i]);
    }
    csv += CSV_LINE_END;
}

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
    appendLine(csv, fields);
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
    const std::string none(text::NO_LOGGER);
    std::vector<std::string> row{p.position};
    if (!p.placed) {
        row.resize(STATISTICS_COLUMNS, none);
        return row;
    }
    row.push_back(p.logger);
    row.push_back(std::to_string(p.samples));
    if (p.samples <= 0) {
        row.resize(STATISTICS_COLUMNS, none);
        return row;
    }
    row.push_back(temperature(p.minimum));
    row.push_back(formatDateTime(p.timeOfMinimum));
    row.push_back(temperature(p.maximum));
    row.push_back(formatDateTime(p.timeOfMaximum));
    row.push_back(temperature(p.mean));
    row.push_back(temperature(p.standardDeviation));
    row.push_back(temperature(p.mkt));
    row.push_back(minutes(p.minutesBelow));
    row.push_back(minutes(p.minutesAbove));
    row.push_back(p.excursions ? std::to_string(*p.excursions) : none);
    row.push_back(minutes(p.longestExcursion));
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
    std::string csv(text::STATISTICS_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const PositionStatistics &position : statistics.positions)
        appendLine(csv, statisticsRow(position));
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
            appendLine(csv,
                       {std::to_string(i + 1), set.title(), none, none, none, none, none, none});
            continue;
        }
        appendLine(csv,
                   {std::to_string(i + 1), set.title(), temperature(summary.minimum),
                    summary.minimumPosition, temperature(summary.maximum), summary.maximumPosition,
                    temperature(summary.mean), temperature(summary.spread)});
    }
    return csv;
}

} // namespace zqar
