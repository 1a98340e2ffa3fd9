#pragma once
// The mapping report: the printout a mapping study ends with. A title page with what was
// measured, where and for how long, the limits, the result and the signature block; the
// statistics of every position; the maps of the mean, the minimum and the maximum; the graphs
// of the calculated sets that hold the highest and the lowest measured value; the qualification
// figures when a qualification setting is given, and the events with their figures when there
// are any; the time-series chart with the events drawn; the suggested monitoring probes once
// the user asked for them (Job::probeCount) and the map check once its threshold is set; and
// the layout. When given, the exclusions with their reasons, the calibration (its file, the
// status of every placed logger, the certificate points), the alarm rules with every alarm
// fired, the data check's findings and the highest rolling MKT have their place too; without
// them the report is as it always was. Then the job's change log, and a last page with the
// manifest of what the report was made from, which the document's XMP metadata carries as well.
// Every figure comes from the statistics commands, as in the Statistics window and its CSV
// export. Laid out on A4-sized pages of the printer it is given, every page with the
// printed-on date and "Page n of N" in its footer.

#include "platform/CommandOutcome.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

class Job;
struct JobSettings;
struct MappingStatistics;
struct StatisticsSettings;

namespace platform {
class Host;
class PrintTarget;
} // namespace platform

// The result line: no limits set, every position within them, or how many went outside.
std::string limitsResult(const MappingStatistics &statistics, const StatisticsSettings &settings);
// The positions with an excursion beyond a limit, in table order.
std::vector<std::string> positionsOutside(const MappingStatistics &statistics);
// The line under the result that names the positions outside the limits: the first
// MAX_NAMED_OUTSIDE of them and how many more there are, whose rows the statistics table
// holds. Empty when no position went outside.
std::string outsidePositionsLine(const MappingStatistics &statistics);
constexpr std::size_t MAX_NAMED_OUTSIDE = 20;
// Positions as every paragraph of the report names them: the first MAX_NAMED_OUTSIDE joined by
// commas, then "and N more" for the rest, which a table of the report lists in full.
std::string namedPositions(const std::vector<std::string> &positions);

// A setting as short as it reads (15, 82.5, 83.144), and a limit so or "none".
std::string plainNumber(double value);
std::string limitText(const std::optional<double> &limit);

// Calculates the statistics as the Statistics window does (a failure shows its message box
// and prints nothing) and prints the report as one document on printer. now is the day
// number the footers give as the printed-on date; settingsText is the manifest's text of the
// settings that change a figure, as the window reads them now (settingValues.h). A log file
// that can no longer be read for the manifest shows its message box and prints nothing.
CommandOutcome printMappingReport(const Job &job, const JobSettings &settings, platform::Host &host,
                                  platform::PrintTarget &printer, double now,
                                  const std::string &settingsText);

} // namespace zqar
