#pragma once
// The statistics commands: the span from the Data Filter settings, the Statistics window's
// settings kept by the job, and the figures, maps and files made from them. The window, the
// report and the batch tool call these; a failure shows its message box (caption
// "Statistics") and answers a failed outcome, leaving everything as it was.
//
// The figures are those of the job's analysis array (corrected readings while a calibration
// table is loaded) with the job's exclusions taken out.

#include "core/analysis/alarms.h"
#include "core/analysis/exclusions.h"
#include "core/analysis/rollingMkt.h"
#include "core/analysis/statistics.h"
#include "core/job/JobSettings.h"
#include "platform/CommandOutcome.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class Job;
class SetList;

namespace platform {
class Host;
}

struct StatisticsRun {
    CommandOutcome outcome;
    MappingStatistics statistics;         // when the outcome is completed
    StatisticsSettings settings;          // the settings they were computed with
    std::vector<Alarm> alarms;            // the job's alarm rules over the same readings
    std::optional<RollingMkt> rollingMkt; // when the job's MKT window is set
};
// A span that does not read is refused as no data loaded while no placed logger has a
// reading, as the wrong start or finish otherwise.
StatisticsRun calculateStatistics(const Job &job, const JobSettings &settings,
                                  platform::Host &host);

// What the commands say of limits or an activation energy that do not read; empty for None.
std::string_view settingsProblemMessage(SettingsProblem problem);

// Whether any placed logger holds a reading.
bool hasReadings(const LoggerArray &array);

// The window's check of the activation energy before it calculates: an energy above
// LARGEST_ACTIVATION_ENERGY is J/mol typed into the kJ/mol field. Shows that in a message box
// and answers a failed outcome; completed otherwise (a text that is no energy at all is
// left to calculateStatistics). The batch tool takes such an energy as given.
CommandOutcome checkActivationEnergyUnit(const Job &job, platform::Host &host);

// The window's check of the two limits before it calculates or writes the mapping report:
// names the limit that is wrong ("Lower Limit is not a number", "Lower Limit must be below
// Upper Limit") in a message box and answers a failed outcome; completed when both read. The
// batch tool leaves the limits to calculateStatistics and its one message for both.
CommandOutcome checkLimitsByName(const Job &job, platform::Host &host);

// The rules and exclusions as the Statistics window changes them: each change tells the
// job's listeners (ALARM_RULES, EXCLUSIONS), so the figures of the old ones go.
//
// Add Rule: the rule as typed joins the job's rules. A text that is no rule shows its
// message and answers a failed outcome, the rules as they were.
CommandOutcome addAlarmRule(Job &job, platform::Host &host, std::string_view spec);
// Remove Rule and Remove Exclusion: the one at index goes; answers whether there was one.
bool removeAlarmRule(Job &job, std::size_t index);
bool removeExclusion(Job &job, std::size_t index);

// What the Exclude Readings dialog holds: a position, the first and the last time as typed,
// and the reason.
struct ExclusionEntry {
    int row = 0; // the position as Exclusion names it
    int col = 0;
    std::string first;
    std::string last;
    std::string reason;
};
// The exclusion, or the message that says what is wrong with the entry: no logger at the
// position, times that do not read or run backwards, no reason (blanks around it go).
struct ExclusionReading {
    std::optional<Exclusion> exclusion;
    std::string_view problem; // when there is no exclusion
};
ExclusionReading readExclusionEntry(const LoggerArray &array, const ExclusionEntry &entry);
// Exclude Readings: the entry's exclusion joins the job's; one that does not read shows its
// message and answers a failed outcome.
CommandOutcome addExclusion(Job &job, platform::Host &host, const ExclusionEntry &entry);

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
// The alarms of a run, with the rules the run evaluated.
CommandOutcome writeAlarmsCsv(platform::Host &host, const std::vector<Alarm> &alarms,
                              const std::vector<AlarmRule> &rules, const std::string &path);
// Fails with the MKT window's message when no window is set.
CommandOutcome writeRollingMktCsv(platform::Host &host, const StatisticsRun &run,
                                  const std::string &path);
CommandOutcome writeSetSummaryCsv(platform::Host &host, const SetList &sets,
                                  const std::string &path);
CommandOutcome writeStatisticMapCsv(platform::Host &host, const TemperatureSet &map,
                                    const ArrayDimensions &dimensions, const LayoutSettings &layout,
                                    const std::string &path);

} // namespace zqar
