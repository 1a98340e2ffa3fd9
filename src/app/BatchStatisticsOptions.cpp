#include "app/BatchTool.h"
#include "app/batchOptions.h"

#include "pages/analysis/statisticsCommands.h"

namespace zqar {

void registerStatisticsOptions(BatchTool &tool) {
    tool.addOption(calculationFileOption(
        "--statistics-csv", "the statistics of each position over the Data Filter span as CSV",
        calculateStatistics, [](BatchTool &t, const StatisticsRun &run, const std::string &file) {
            return writeStatisticsCsv(t.host, run.statistics, file);
        }));
    tool.addOption(fileOption("--set-summary-csv", "FILE",
                              "minimum, maximum, mean and spread of each calculated set as CSV",
                              [](BatchTool &t, const std::string &file) {
                                  return writeSetSummaryCsv(t.host, t.window.job.setList, file);
                              }));
}

} // namespace zqar
