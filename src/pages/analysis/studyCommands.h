#pragma once
// The commands that look at the study as a whole: where to put the monitoring probes, how far
// the map can be trusted between the loggers, and what changed against another study's
// report. The Statistics window, the Graph tab, the comparison window, the mapping report and
// the batch tool call these; a failure shows its message box and answers a failed outcome.

#include "core/analysis/compare.h"
#include "core/analysis/mapCheck.h"
#include "core/analysis/probes.h"
#include "core/analysis/statistics.h"
#include "core/job/JobSettings.h"
#include "pages/presentation/ContourGraph.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "platform/CommandOutcome.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class Job;
class LogFile;
class LoggerArray;
class SetList;
class TemperatureSet;

namespace platform {
class Host;
}

// The most probes anyone can ask for; more than any array has positions.
constexpr int MAX_PROBE_COUNT = 100000;

// The headings of a CSV header line, for the tables that show that file's rows.
std::vector<std::string> headerFields(std::string_view header);

// The instants a probe fit reads over the statistics' span. With a qualification reference set
// (referencePositionText) and figures that can be computed: the qualification's reading
// instants, over the same readings as its figures. Else the calculated sets that start in the
// span. The note says which, and why the qualification's could not be used.
struct ProbeInstants {
    ReadingInstants instants;
    bool fromQualification = false;
    std::string note; // "Fitted over ..."
};
ProbeInstants probeInstants(const Job &job, const MappingStatistics &statistics);

// Probes with the note of the instants they were fitted over.
struct FittedProbes {
    ProbeSuggestion suggestion;
    bool overQualificationInstants = false;
    std::string instantsNote;
};
FittedProbes suggestProbesFor(const Job &job, const MappingStatistics &statistics, int count);

struct ProbesRun {
    CommandOutcome outcome;
    MappingStatistics statistics; // when the outcome is completed
    FittedProbes probes;
};
// The statistics as calculateStatistics gives them, then count probes (1 or more).
ProbesRun runProbeSuggestion(const Job &job, const JobSettings &settings, platform::Host &host,
                             int count);
// Which instants were fitted over, then "The fit took ... positions at ... instants", or that
// nothing could be fitted.
std::string probesFitNote(const FittedProbes &probes);
// The chosen positions with their rank, for the map of a statistic.
std::vector<PositionMark> probeMarks(const MappingStatistics &statistics,
                                     const ProbeSuggestion &suggestion);
CommandOutcome writeProbesCsv(platform::Host &host, const MappingStatistics &statistics,
                              const ProbeSuggestion &suggestion, const std::string &path);

// The job's map check threshold; a text that does not read shows its message box (caption
// "Statistics") and answers a failed outcome.
struct ThresholdRun {
    CommandOutcome outcome;
    std::optional<double> threshold; // degrees; none when the text is empty
};
ThresholdRun readThreshold(const Job &job, platform::Host &host);
// The positions of a set whose error in the map check is larger than threshold in
// magnitude, each framed with its error ("+0.84"). None for a set not of the array's shape.
std::vector<PositionMark> mapCheckMarks(const TemperatureSet &set, const ArrayDimensions &array,
                                        double threshold);
// The same for the job's current set, when its threshold is set and reads; no marks else.
std::vector<PositionMark> currentSetMapCheckMarks(const Job &job);
// The map check of every calculated set as CSV.
CommandOutcome writeMapCheckCsv(platform::Host &host, const Job &job, const std::string &path);

// The loaded job (A) against the study of another report (B). B's records are read into an
// array of their own and its statistics taken over the span the report stores (its Start and
// Finish Time), with the job's statistics settings.
struct ComparedSeries {
    std::string position;       // "R1C1"
    std::unique_ptr<LogFile> a; // A's readings in A's span; null without a logger there
    std::unique_ptr<LogFile> b; // B's readings in B's span, moved to start at A's start
};
struct ComparisonRun {
    CommandOutcome outcome;
    std::string otherPath;
    StatisticsSettings settings;
    MappingStatistics a; // when the outcome is completed
    MappingStatistics b;
    StudyComparison comparison;
    ElapsedAxis axis;
    std::vector<ComparedSeries> series; // the positions of the comparison, in its order
};
ComparisonRun compareWithReport(const Job &job, const JobSettings &settings, platform::Host &host,
                                const std::string &otherPath);
CommandOutcome writeComparisonCsv(platform::Host &host, const ComparisonRun &run,
                                  const std::string &path);

// The map of B's mean minus A's, with bands of its own: the pages' bands are for
// temperatures, not for their differences.
struct DifferenceMap {
    std::unique_ptr<TemperatureSet> set;
    std::string title;
    ContourSettings settings;
};
DifferenceMap differenceMap(const ComparisonRun &run, const ContourSettings &pageSettings);
// Bands of a nice spacing (1, 2 or 5 x 10^k, about ten of them) over [low, high], each centred
// on a multiple of the spacing.
BandParameters bandsOver(double low, double high);

// The two studies' series on A's time axis over the longer span, for one position ("R1C1")
// or, when position is empty, for every position. The input points into run.series.
TimeSeriesInput comparedSeriesInput(const ComparisonRun &run, const std::string &position);
std::string elapsedNote(const ComparisonRun &run);

} // namespace zqar
