#include "app/BatchTool.h"
#include "app/batchOptions.h"

#include "core/data/numbers.h"
#include "pages/analysis/studyCommands.h"

#include <string>
#include <vector>

namespace zqar {

namespace {

// The probe count of --suggest-probes: a whole number from 1, digits only.
std::optional<int> readProbeCount(const std::string &text) {
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    for (const char c : text)
        if (!isDigit(c))
            return std::nullopt;
    const int count = readInteger(text);
    if (count < 1 || count > MAX_PROBE_COUNT)
        return std::nullopt;
    return count;
}

std::optional<std::string> checkProbes(const std::vector<std::string> &arguments) {
    if (!readProbeCount(arguments[0]))
        return "--suggest-probes takes a number of probes from 1, then the CSV file";
    return std::nullopt;
}

// The job keeps the count, so a mapping report made later in the run lists the same probes.
std::optional<std::string> suggestProbesOption(BatchTool &tool,
                                               const std::vector<std::string> &arguments) {
    const int count = *readProbeCount(arguments[0]);
    Job &job = tool.window.job;
    const ProbesRun run = runProbeSuggestion(job, tool.window.settings(), tool.host, count);
    if (tool.noteOutcome(run.outcome).kind != CommandOutcome::Kind::Completed)
        return std::nullopt;
    if (tool.noteOutcome(
                writeProbesCsv(tool.host, run.statistics, run.probes.suggestion, arguments[1]))
            .kind != CommandOutcome::Kind::Completed)
        return std::nullopt;
    if (job.probeCount != count) {
        job.probeCount = count;
        job.changed(JobChange::PROBES);
    }
    return std::nullopt;
}

std::optional<std::string> compareReport(BatchTool &tool,
                                         const std::vector<std::string> &arguments) {
    const ComparisonRun run =
        compareWithReport(tool.window.job, tool.window.settings(), tool.host, arguments[0]);
    if (tool.noteOutcome(run.outcome).kind == CommandOutcome::Kind::Completed)
        tool.noteOutcome(writeComparisonCsv(tool.host, run, arguments[1]));
    return std::nullopt;
}

} // namespace

void registerStudyOptions(BatchTool &tool) {
    BatchOption probes{"--suggest-probes", "K FILE.csv",
                       "suggest K monitoring probes over the statistics span (the mapping "
                       "report lists them from then on) as CSV",
                       nullptr, true};
    probes.checkArguments = checkProbes;
    probes.runArguments = suggestProbesOption;
    tool.addOption(std::move(probes));
    tool.addOption(fileOption("--map-check-csv", "FILE",
                              "how well the gap filling gives each measured position, for every "
                              "calculated set, as CSV",
                              [](BatchTool &t, const std::string &file) {
                                  return writeMapCheckCsv(t.host, t.window.job, file);
                              }));
    BatchOption compare{"--compare-report", "OTHER.ttr FILE.csv",
                        "compare the job's statistics with those of another report (B - A per "
                        "position and statistic, hot and cold spots) as CSV",
                        nullptr, true};
    compare.runArguments = compareReport;
    tool.addOption(std::move(compare));
}

} // namespace zqar
