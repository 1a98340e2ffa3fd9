#pragma once
// The statistics as CSV text: the per-position table and the summary of the calculated sets.
// Comma-separated, "\r\n" after every line; a field holding a comma, a quote, CR or LF is
// quoted with its quotes doubled.

#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct MappingStatistics;
struct PositionStatistics;
class SetList;

inline constexpr std::string_view CSV_LINE_END = "\r\n";

std::string csvField(std::string_view text);
// The fields as one line: each through csvField, commas between, the line end after.
void appendCsvLine(std::string &csv, const std::vector<std::string> &fields);
// A table: the header line, then the line of fields rowOf gives each item.
template <class Items, class RowOf>
std::string csvTable(std::string_view header, const Items &items, RowOf rowOf) {
    std::string csv(header);
    csv += CSV_LINE_END;
    for (const auto &item : items)
        appendCsvLine(csv, rowOf(item));
    return csv;
}
// A temperature with two decimals, and minutes with one, as every CSV file writes them.
std::string csvTemperature(double value);
std::string csvMinutes(double value);
// A day number's date, "05-Jun-2025", as the times are written without their time of day.
std::string csvDate(double dayNumber);
// The shortest text that reads back to the same double: "-0.03", "720".
std::string csvNumber(double value);

// The texts of a position's table row as the window and the CSV show them: position, logger,
// samples and the figures, "-" for what is missing.
std::vector<std::string> statisticsRow(const PositionStatistics &position);
// The same row as the Statistics window shows it and prints it: each figure the position has
// written by windowText, "-" for the others.
std::vector<std::string> windowRow(const PositionStatistics &position);

// The hot and cold spots as the Statistics window shows them: the warmest and the coldest
// position by mean, then the highest and the lowest reading with its time.
std::vector<std::string> spotLines(const MappingStatistics &statistics);

std::string statisticsCsv(const MappingStatistics &statistics);
std::string setSummaryCsv(const SetList &sets);

} // namespace zqar
