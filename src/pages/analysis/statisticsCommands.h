#pragma once
// The statistics commands: the span from the Data Filter settings, the Statistics window's
// settings kept by the job, and the figures, maps and files made from them. The window, the
// report and the batch tool call these; a failure shows its message box (caption
// "Statistics") and answers a failed outcome, leaving everything as it was.

#include "core/analysis/statistics.h"
#include "core/job/JobSettings.h"
#include "platform/CommandOutcome.h"

#include <memory>
#include <string>

namespace zqar {

class Job;
class SetList;

namespace platform {
class Host;
}

struct StatisticsRun {
    CommandOutcome outcome;
    MappingStatistics statistics; // when the outcome is completed
    StatisticsSettings settings;  // the settings they were computed with
};
StatisticsRun calculateStatistics(const Job &job, const JobSettings &settings,
                                  platform::Host &host);

// A statistic map with its title.
struct StatisticMapSet {
    std::unique_ptr<TemperatureSet> set;
    std::string title;
};
StatisticMapSet makeStatisticMap(const MappingStatistics &statistics, MapStatistic statistic);

// The map as the Matrix page would export it, with the layout's present settings.
std::string statisticMapCsv(const TemperatureSet &map, const ArrayDimensions &dimensions,
                            const LayoutSettings &layout);

// The files; a file that cannot be written shows the export failure.
CommandOutcome writeStatisticsCsv(platform::Host &host, const MappingStatistics &statistics,
                                  const std::string &path);
CommandOutcome writeSetSummaryCsv(platform::Host &host, const SetList &sets,
                                  const std::string &path);
CommandOutcome writeStatisticMapCsv(platform::Host &host, const TemperatureSet &map,
                                    const ArrayDimensions &dimensions, const LayoutSettings &layout,
                                    const std::string &path);

} // namespace zqar
