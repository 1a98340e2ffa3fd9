#pragma once
// The statistics commands over the window's pages: the span from the Data Filter page, the
// settings of the Statistics window, and the figures, maps and files made from them. The
// window and the batch tool call these; a failure shows its message box (caption
// "Statistics") and answers none, leaving everything as it was.

#include "analysis/statistics.h"

#include <memory>
#include <optional>
#include <string>

namespace zqar {

class MainWindow;

// The Statistics window's three texts as typed. Not stored in report or project files.
struct StatisticsSettingTexts {
    std::string lowerLimitText;
    std::string upperLimitText;
    std::string activationEnergyText{DEFAULT_ACTIVATION_ENERGY};
};

std::optional<MappingStatistics> calculateStatistics(MainWindow &window);

// A statistic map with its title.
struct StatisticMapSet {
    std::unique_ptr<TemperatureSet> set;
    std::string title;
};
StatisticMapSet makeStatisticMap(const MappingStatistics &statistics, MapStatistic statistic);

// The map as the Matrix page would export it, with the window's present layout settings.
std::string statisticMapCsv(MainWindow &window, const TemperatureSet &map);

// Files: false after showing the export failure message.
bool writeStatisticsCsv(MainWindow &window, const MappingStatistics &statistics,
                        const std::string &path);
bool writeSetSummaryCsv(MainWindow &window, const std::string &path);
bool writeStatisticMapCsv(MainWindow &window, const TemperatureSet &map, const std::string &path);

} // namespace zqar
