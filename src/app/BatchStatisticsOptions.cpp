#include "app/BatchTool.h"
#include "app/batchOptions.h"

#include "pages/analysis/statisticsCommands.h"

namespace zqar {

void registerStatisticsOptions(BatchTool &tool) {
    tool.addOption({"--statistics-csv", "FILE",
                    "the statistics of each position over the Data Filter span as CSV",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        const StatisticsRun run =
                            calculateStatistics(t.window.job, t.window.settings(), t.host);
                        if (t.noteOutcome(run.outcome).kind == CommandOutcome::Kind::Completed)
                            t.noteOutcome(writeStatisticsCsv(t.host, run.statistics, file));
                        return std::nullopt;
                    },
                    true});
    tool.addOption(fileOption("--set-summary-csv", "FILE",
                              "minimum, maximum, mean and spread of each calculated set as CSV",
                              [](BatchTool &t, const std::string &file) {
                                  return writeSetSummaryCsv(t.host, t.window.job.setList, file);
                              }));
}

} // namespace zqar
