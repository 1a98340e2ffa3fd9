#include "pages/analysis/statisticsCommands.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/exclusions.h"
#include "core/analysis/mkt.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/enumTexts.h"
#include "core/data/trimmed.h"
#include "core/job/Job.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/hostOutcomes.h"
#include "pages/presentation/MatrixPage.h"
#include "platform/Host.h"
#include "resources/analysisTexts.h"
#include "resources/strings.h"

namespace zqar {

namespace {

CommandOutcome fail(platform::Host &host, std::string_view message) {
    return showFailure(host, message, text::STATISTICS_CAPTION);
}

// Takes entry index out of one of the job's lists and tells of the change; false when there
// is no such entry.
template <typename Entries>
bool removeEntry(Job &job, Entries &entries, std::size_t index, unsigned change) {
    if (index >= entries.size())
        return false;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    job.changed(change);
    return true;
}

std::string_view limitProblemText(LimitProblem problem) {
    static constexpr TextEntry<LimitProblem> PROBLEM_TEXTS[] = {
        {LimitProblem::LowerNotANumber, text::LOWER_LIMIT_NOT_A_NUMBER},
        {LimitProblem::UpperNotANumber, text::UPPER_LIMIT_NOT_A_NUMBER},
        {LimitProblem::LowerNotBelowUpper, text::LOWER_LIMIT_NOT_BELOW_UPPER},
    };
    return textOf(PROBLEM_TEXTS, problem, text::LIMITS_FORMAT_MESSAGE);
}

} // namespace

bool hasReadings(const LoggerArray &array) {
    bool found = false;
    array.forEachPlaced([&found](const LogFile &record) {
        if (record.valueCount > 0 && !record.values.empty())
            found = true;
    });
    return found;
}

std::string_view settingsProblemMessage(SettingsProblem problem) {
    static constexpr TextEntry<SettingsProblem> MESSAGES[] = {
        {SettingsProblem::Limits, text::LIMITS_FORMAT_MESSAGE},
        {SettingsProblem::ActivationEnergy, text::ACTIVATION_ENERGY_FORMAT_MESSAGE},
    };
    return textOf(MESSAGES, problem);
}

StatisticsRun calculateStatistics(const Job &job, const JobSettings &settings,
                                  platform::Host &host) {
    StatisticsRun run;
    // The span is read as the averaged calculation reads it.
    const DataFilterSettings &span = settings.dataFilter;
    // Before anything is loaded the span's texts are empty too, and blaming them would send
    // the user to the wrong tab. A span that reads gives the figures of an empty array.
    if (!span.start || !span.finish) {
        const bool loaded = hasReadings(job.loggerArray);
        run.outcome = fail(host, !loaded       ? text::NO_DATA_LOADED
                                 : !span.start ? text::START_FORMAT_MESSAGE
                                               : text::FINISH_FORMAT_MESSAGE);
        return run;
    }
    const SettingsReading reading = readStatisticsSettings(job);
    if (reading.problem != SettingsProblem::None) {
        run.outcome = fail(host, settingsProblemMessage(reading.problem));
        return run;
    }
    const MktWindowReading window = readMktWindow(job);
    if (window.wrong) {
        run.outcome = fail(host, text::MKT_WINDOW_INVALID);
        return run;
    }
    run.settings = reading.settings;
    const auto compute = [&](const LoggerArray &array) {
        run.statistics = computeStatistics(array, *span.start, *span.finish, reading.settings);
        if (!job.alarmRules.empty())
            run.alarms = evaluateAlarms(array, *span.start, *span.finish, job.alarmRules);
        if (window.hours)
            run.rollingMkt = computeRollingMkt(array, *span.start, *span.finish, *window.hours,
                                               reading.settings.activationEnergy);
    };
    // The readings of excluded phases and excluded stretches are missing from the copies the
    // statistics read; a copy is made only when there is something to leave out.
    LoggerArray withoutPhases;
    const LoggerArray &phased = statisticsArray(job, withoutPhases);
    if (job.exclusions.empty())
        compute(phased);
    else
        compute(withExclusions(phased, job.exclusions));
    return run;
}

CommandOutcome checkActivationEnergyUnit(const Job &job, platform::Host &host) {
    const SettingsReading reading = readStatisticsSettings(job);
    if (reading.problem == SettingsProblem::None &&
        activationEnergyLooksLikeJoules(reading.settings.activationEnergy))
        return fail(host,
                    activationEnergyInJoulesMessage(job.setting(JobSetting::ActivationEnergy)));
    return CommandOutcome::completed();
}

CommandOutcome checkLimitsByName(const Job &job, platform::Host &host) {
    const SettingsReading reading = readStatisticsSettings(job);
    if (reading.problem == SettingsProblem::Limits)
        return fail(host, limitProblemText(reading.limitProblem));
    return CommandOutcome::completed();
}

CommandOutcome addAlarmRule(Job &job, platform::Host &host, std::string_view spec) {
    // Blanks around the rule would stand in the CSV file's Rule column.
    const std::string_view typed = trimmed(spec);
    std::optional<AlarmRule> rule = readAlarmRule(typed);
    if (!rule)
        return fail(host, alarmRuleProblem(typed));
    job.alarmRules.push_back(std::move(*rule));
    job.changed(JobChange::ALARM_RULES);
    return CommandOutcome::completed();
}

bool removeAlarmRule(Job &job, std::size_t index) {
    return removeEntry(job, job.alarmRules, index, JobChange::ALARM_RULES);
}

bool removeExclusion(Job &job, std::size_t index) {
    return removeEntry(job, job.exclusions, index, JobChange::EXCLUSIONS);
}

ExclusionReading readExclusionEntry(const LoggerArray &array, const ExclusionEntry &entry) {
    if (!array.at(entry.row, entry.col))
        return {std::nullopt, text::EXCLUSION_NO_LOGGER};
    const std::optional<double> first = readTimeSetting(entry.first);
    const std::optional<double> last = readTimeSetting(entry.last);
    if (!first || !last || *last < *first)
        return {std::nullopt, text::EXCLUSION_TIMES_INVALID};
    const std::string_view reason = trimmed(entry.reason);
    if (reason.empty())
        return {std::nullopt, text::EXCLUSION_NO_REASON};
    return {Exclusion{entry.row, entry.col, *first, *last, std::string(reason)}, {}};
}

CommandOutcome addExclusion(Job &job, platform::Host &host, const ExclusionEntry &entry) {
    const ExclusionReading reading = readExclusionEntry(job.loggerArray, entry);
    if (!reading.exclusion)
        return fail(host, reading.problem);
    job.exclusions.push_back(*reading.exclusion);
    job.changed(JobChange::EXCLUSIONS);
    return CommandOutcome::completed();
}

StatisticMapSet makeStatisticMap(const MappingStatistics &statistics, MapStatistic statistic) {
    return StatisticMapSet{statisticMap(statistics, statistic),
                           statisticMapTitle(statistics, statistic)};
}

std::string statisticMapCsv(const TemperatureSet &map, const ArrayDimensions &dimensions,
                            const LayoutSettings &layout) {
    return matrixCsv(map, dimensions, layout.loggersOnBoundary);
}

CommandOutcome writeStatisticsCsv(platform::Host &host, const MappingStatistics &statistics,
                                  const std::string &path) {
    return writeExport(host, path, statisticsCsv(statistics), text::STATISTICS_CAPTION);
}

CommandOutcome writeAlarmsCsv(platform::Host &host, const std::vector<Alarm> &alarms,
                              const std::vector<AlarmRule> &rules, const std::string &path) {
    return writeExport(host, path, alarmsCsv(alarms, rules), text::STATISTICS_CAPTION);
}

CommandOutcome writeRollingMktCsv(platform::Host &host, const StatisticsRun &run,
                                  const std::string &path) {
    if (!run.rollingMkt)
        return fail(host, text::MKT_WINDOW_INVALID);
    return writeExport(host, path, rollingMktCsv(*run.rollingMkt), text::STATISTICS_CAPTION);
}

CommandOutcome writeSetSummaryCsv(platform::Host &host, const SetList &sets,
                                  const std::string &path) {
    return writeExport(host, path, setSummaryCsv(sets), text::STATISTICS_CAPTION);
}

CommandOutcome writeStatisticMapCsv(platform::Host &host, const TemperatureSet &map,
                                    const ArrayDimensions &dimensions, const LayoutSettings &layout,
                                    const std::string &path) {
    return writeExport(host, path, statisticMapCsv(map, dimensions, layout),
                       text::STATISTICS_CAPTION);
}

} // namespace zqar
