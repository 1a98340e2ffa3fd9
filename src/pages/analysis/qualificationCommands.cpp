#include "pages/analysis/qualificationCommands.h"

#include "core/analysis/eventsCsv.h"
#include "core/analysis/qualificationCsv.h"
#include "core/job/Job.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/hostOutcomes.h"
#include "pages/analysis/statisticsCommands.h"
#include "platform/Host.h"
#include "resources/format.h"
#include "resources/qualificationTexts.h"
#include "resources/strings.h"

namespace zqar {

namespace {

CommandOutcome fail(platform::Host &host, std::string_view message,
                    std::string_view caption = text::STATISTICS_CAPTION) {
    return showFailure(host, message, caption);
}

// A run over the span as the statistics read it: calculate(run, start, finish) fills it when
// both ends read; otherwise the run carries the failure.
template <typename Run, typename Calculate>
Run overSpan(const JobSettings &settings, platform::Host &host, Calculate calculate) {
    Run run;
    const DataFilterSettings &span = settings.dataFilter;
    if (!span.start)
        run.outcome = fail(host, text::START_FORMAT_MESSAGE);
    else if (!span.finish)
        run.outcome = fail(host, text::FINISH_FORMAT_MESSAGE);
    else
        calculate(run, *span.start, *span.finish);
    return run;
}

// The figures or their instants over the job's settings and its readings without the excluded
// phases; a setting that does not read is the answer's problem.
template <typename Result, typename Compute>
Result overJobReadings(const Job &job, double start, double finish, Compute compute) {
    const QualificationSettingsReading reading = readQualificationSettings(job);
    if (reading.problem != QualificationProblem::None) {
        Result refused;
        refused.problem = reading.problem;
        return refused;
    }
    LoggerArray withoutExcluded;
    return compute(statisticsArray(job, withoutExcluded), start, finish, reading.settings);
}

} // namespace

Qualification qualificationOver(const Job &job, double start, double finish) {
    Qualification figures =
        overJobReadings<Qualification>(job, start, finish,
                                       [](const LoggerArray &array, double from, double to,
                                          const QualificationSettings &settings) {
                                           return computeQualification(array, from, to, settings);
                                       });
    // A refused result still names the span it was asked for.
    figures.start = start;
    figures.finish = finish;
    return figures;
}

QualificationInstants qualificationInstantsOver(const Job &job, double start, double finish) {
    return overJobReadings<QualificationInstants>(
        job, start, finish,
        [](const LoggerArray &array, double from, double to,
           const QualificationSettings &settings) {
            return qualificationInstants(array, from, to, settings);
        });
}

QualificationRun calculateQualification(const Job &job, const JobSettings &settings,
                                        platform::Host &host) {
    return overSpan<QualificationRun>(
        settings, host, [&](QualificationRun &run, double start, double finish) {
            run.qualification = qualificationOver(job, start, finish);
            if (run.qualification.problem != QualificationProblem::None)
                run.outcome = fail(host, qualificationProblemMessage(run.qualification.problem));
        });
}

EventFiguresRun calculateEventFigures(const Job &job, const JobSettings &settings,
                                      platform::Host &host) {
    return overSpan<EventFiguresRun>(
        settings, host, [&](EventFiguresRun &run, double /*start*/, double finish) {
            const SettingsReading limits = readStatisticsSettings(job);
            if (limits.problem != SettingsProblem::None)
                run.outcome = fail(host, settingsProblemMessage(limits.problem));
            else
                run.outcomes = eventOutcomes(job.loggerArray, job.events, finish, limits.settings);
        });
}

CommandOutcome writeQualificationCsv(platform::Host &host, const Qualification &qualification,
                                     const std::string &path) {
    return writeExport(host, path, qualificationCsv(qualification), text::STATISTICS_CAPTION);
}

CommandOutcome writeEventFiguresCsv(platform::Host &host, const std::vector<EventOutcome> &outcomes,
                                    const std::string &path) {
    return writeExport(host, path, eventFiguresCsv(outcomes), text::STATISTICS_CAPTION);
}

CommandOutcome addEventsFile(Job &job, platform::Host &host, const std::string &path) {
    const EventsCsvReading reading = readEventsCsvFile(path);
    if (reading.unreadable)
        return fail(host, text::EVENTS_FILE_NOT_READ, text::EVENTS_CAPTION);
    if (reading.badLine != 0)
        return fail(host, text::format(text::EVENTS_FILE_LINE_MESSAGE, reading.badLine),
                    text::EVENTS_CAPTION);
    addEventsFromFile(job, reading.events, InputFile{path, reading.digest});
    return CommandOutcome::completed();
}

} // namespace zqar
