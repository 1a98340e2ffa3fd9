#include "app/BatchTool.h"
#include "app/batchOptions.h"

#include "core/analysis/dataCheck.h"
#include "core/analysis/exclusions.h"
#include "core/data/AtomicFileWriter.h"
#include "core/job/JobSettings.h"
#include "pages/analysis/calibrationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "resources/analysisTexts.h"
#include "resources/strings.h"

namespace zqar {

namespace {

std::optional<std::string> checkAlarmRule(const std::string &spec) {
    if (!readAlarmRule(spec))
        return alarmRuleProblem(spec);
    return std::nullopt;
}

std::optional<std::string> alarmRuleOption(BatchTool &tool, const std::string &spec) {
    std::optional<AlarmRule> rule = readAlarmRule(spec);
    if (!rule)
        return alarmRuleProblem(spec);
    Job &job = tool.window.job;
    job.alarmRules.push_back(std::move(*rule));
    job.changed(JobChange::ALARM_RULES);
    return std::nullopt;
}

constexpr const char *EXCLUDE_FORM = "--exclude takes POS,FIRST_TIME,LAST_TIME,REASON";

std::optional<std::string> checkExclusion(const std::string &argument) {
    if (!readExclusion(argument))
        return std::string(EXCLUDE_FORM);
    return std::nullopt;
}

// Whether the position holds a logger depends on the records at that point of the run.
std::optional<std::string> exclusionOption(BatchTool &tool, const std::string &argument) {
    const std::optional<Exclusion> exclusion = readExclusion(argument);
    if (!exclusion)
        return std::string(EXCLUDE_FORM);
    Job &job = tool.window.job;
    if (!job.loggerArray.at(exclusion->row, exclusion->col)) {
        tool.failCommand(std::string(text::STATISTICS_CAPTION),
                         std::string(text::EXCLUSION_NO_LOGGER));
        return std::nullopt;
    }
    job.exclusions.push_back(*exclusion);
    job.changed(JobChange::EXCLUSIONS);
    return std::nullopt;
}

CommandOutcome writeDataCheckCsv(BatchTool &tool, const std::string &file) {
    const DataCheckSettingsReading reading = readDataCheckSettings(tool.window.job);
    if (reading.problem != DataCheckProblem::None) {
        tool.failCommand(std::string(text::DATA_CHECK_CAPTION),
                         std::string(problemText(reading.problem)));
        return CommandOutcome::failed(problemText(reading.problem));
    }
    if (!writeFileAtomically(
            file, dataCheckCsv(checkArray(tool.window.job.loggerArray, reading.settings)))) {
        tool.failCommand(std::string(text::DATA_CHECK_CAPTION), std::string(text::EXPORT_FAILED));
        return CommandOutcome::failed(text::EXPORT_FAILED);
    }
    return CommandOutcome::completed();
}

} // namespace

void registerAuditOptions(BatchTool &tool) {
    tool.addOption({"--calibration", "FILE.csv",
                    "load the calibration certificates; the figures then use corrected readings",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        t.noteOutcome(loadCalibrationFile(t.window.job, t.host, file));
                        return std::nullopt;
                    }});
    tool.addOption(fileOption("--calibration-csv", "FILE",
                              "the certificate status of each placed logger over the span as CSV",
                              [](BatchTool &t, const std::string &file) {
                                  return writeCalibrationCsv(t.window.job, t.window.settings(),
                                                             t.host, file);
                              }));
    BatchOption rule{"--alarm-rule", "SPEC",
                     "add an alarm rule above|below,THRESHOLD,single|cumulative,MINUTES[,day]",
                     alarmRuleOption};
    rule.check = checkAlarmRule;
    tool.addOption(std::move(rule));
    tool.addOption(calculationFileOption(
        "--alarms-csv", "every alarm the rules fire over the Data Filter span as CSV",
        calculateStatistics, [](BatchTool &t, const StatisticsRun &run, const std::string &file) {
            return writeAlarmsCsv(t.host, run.alarms, t.window.job.alarmRules, file);
        }));
    tool.addOption(calculationFileOption(
        "--rolling-mkt-csv", "the highest MKT over windows of mktWindowText hours as CSV",
        calculateStatistics, [](BatchTool &t, const StatisticsRun &run, const std::string &file) {
            return writeRollingMktCsv(t.host, run, file);
        }));
    tool.addOption(fileOption("--data-check-csv", "FILE",
                              "readings that suggest a failing logger, per placed logger, as CSV",
                              writeDataCheckCsv));
    BatchOption exclude{
        "--exclude", "POS,FIRST_TIME,LAST_TIME,REASON",
        "leave a logger's readings from FIRST_TIME through LAST_TIME out of the statistics "
        "(POS RrCc or Sn; times such as 02-Jun-2025 06:00AM; the reason may hold commas)",
        exclusionOption};
    exclude.check = checkExclusion;
    tool.addOption(std::move(exclude));
}

} // namespace zqar
