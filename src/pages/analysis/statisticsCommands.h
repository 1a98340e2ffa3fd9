#pragma once
// The statistics commands over the window's pages: the span from the Data Filter page, the
// Statistics window's settings, and the figures, maps and files made from them. The window
// and the batch tool call these; a failure shows its message box (caption "Statistics") and
// answers a failed outcome, leaving everything as it was.

#include "core/analysis/statistics.h"
#include "platform/CommandOutcome.h"

#include <memory>
#include <string>

namespace zqar {

class MainWindow;

struct StatisticsRun {
    CommandOutcome outcome;
    MappingStatistics statistics; // when the outcome is completed
    StatisticsSettings settings;  // the settings they were computed with
};
StatisticsRun calculateStatistics(MainWindow &window);

// A statistic map with its title.
struct StatisticMapSet {
    std::unique_ptr<TemperatureSet> set;
    std::string title;
};
StatisticMapSet makeStatisticMap(const MappingStatistics &statistics, MapStatistic statistic);

// The map as the Matrix page would export it, with the window's present layout settings.
std::string statisticMapCsv(MainWindow &window, const TemperatureSet &map);

// The files; a file that cannot be written shows the export failure.
CommandOutcome writeStatisticsCsv(MainWindow &window, const MappingStatistics &statistics,
                                  const std::string &path);
CommandOutcome writeSetSummaryCsv(MainWindow &window, const std::string &path);
CommandOutcome writeStatisticMapCsv(MainWindow &window, const TemperatureSet &map,
                                    const std::string &path);

} // namespace zqar
