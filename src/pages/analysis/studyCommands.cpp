#include "pages/analysis/studyCommands.h"

#include "core/analysis/SetList.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/LoggerArray.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/reportFile.h"
#include "core/data/trimmed.h"
#include "core/job/Job.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/hostOutcomes.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/layout/settings.h"
#include "platform/Host.h"
#include "resources/controlIds.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"

#include <algorithm>
#include <cmath>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int SHIFT_DECIMALS = 2; // days
constexpr double DIFFERENCE_BANDS = 10.0;
constexpr double SMALLEST_DIFFERENCE_STEP = 0.01;      // degrees
constexpr double STEP_OF_EQUAL_DIFFERENCES = 0.1;      // degrees, when every difference is one
constexpr double NICE_STEPS[] = {1.0, 2.0, 5.0, 10.0}; // times a power of ten

// An error with its sign, as the marks show it: "+0.84", "-1.20".
std::string signedTemperature(double value) {
    std::string text = formatFixed(value, TEMPERATURE_DECIMALS);
    if (value > 0.0)
        text.insert(0, "+");
    return text;
}

// A report's Data Filter time (Start or Finish Time) as the averaged calculation reads it.
std::optional<double> reportTime(const ReportFields &fields, int control) {
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i)
        if (SETTINGS[i].page == SettingPage::DataFilter && SETTINGS[i].control == control)
            return readTimeSetting(fields[i + 1]);
    return std::nullopt;
}

// The records of a report in an array of its own, placed as Load Report places them.
LoggerArray arrayOf(ReportContents &report) {
    LoggerArray array;
    const ArrayDimensions d = report.dimensions;
    array.resize(d.rows, d.columns, d.singularCount);
    std::size_t position = 0;
    auto next = [&]() -> std::unique_ptr<LogFile> {
        return position < report.records.size() ? std::move(report.records[position++]) : nullptr;
    };
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            array.place(row, col, next());
    for (int slot = 0; slot < d.singularCount; ++slot)
        array.place(-1, slot, next());
    return array;
}

// A copy of a record's readings from start through finish, its times moved by shift days.
std::unique_ptr<LogFile> readingsInSpan(const LogFile &record, double start, double finish,
                                        double shift) {
    auto copy = std::make_unique<LogFile>(record);
    copy->samplesNotNumbers.clear();
    const SampleSelection selection = samplesInSpan(record, start, finish);
    if (selection.contiguous()) {
        const auto first = record.values.begin() + selection.first;
        copy->values.assign(first, first + selection.count);
        copy->valueCount = selection.count;
        copy->startTime.day = sampleTime(record, selection.first);
    }
    // Records whose times do not grow with the index are kept whole.
    copy->startTime.day += shift;
    return copy;
}

const LogFile *recordAt(const LoggerArray &array, const PositionStatistics &position) {
    return array.at(position.row, position.col);
}

} // namespace

std::vector<std::string> headerFields(std::string_view header) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = header.find(',', from);
        fields.emplace_back(header.substr(from, comma - from));
        if (comma == std::string_view::npos)
            return fields;
        from = comma + 1;
    }
}

ProbeInstants probeInstants(const Job &job, const MappingStatistics &statistics) {
    ProbeInstants chosen;
    if (!trimmed(job.setting(JobSetting::ReferencePosition)).empty()) {
        QualificationInstants own =
            qualificationInstantsOver(job, statistics.start, statistics.finish);
        if (own.problem == QualificationProblem::None) {
            chosen.fromQualification = true;
            chosen.note = text::format(text::PROBE_INSTANTS_FROM_QUALIFICATION,
                                       statistics.positions[own.reference].position);
            chosen.instants = std::move(own.instants);
            return chosen;
        }
        chosen.note = text::format(text::PROBE_INSTANTS_FROM_SETS_INSTEAD,
                                   std::string(qualificationProblemMessage(own.problem)));
    } else {
        chosen.note = std::string(text::PROBE_INSTANTS_FROM_SETS);
    }
    chosen.instants = instantsFromSets(job.setList, statistics, excludedPhasesOfJob(job));
    return chosen;
}

FittedProbes suggestProbesFor(const Job &job, const MappingStatistics &statistics, int count) {
    FittedProbes fitted;
    ProbeInstants instants = probeInstants(job, statistics);
    fitted.suggestion = suggestProbes(statistics, instants.instants, count);
    fitted.overQualificationInstants = instants.fromQualification;
    fitted.instantsNote = std::move(instants.note);
    return fitted;
}

ProbesRun runProbeSuggestion(const Job &job, const JobSettings &settings, platform::Host &host,
                             int count) {
    ProbesRun run;
    StatisticsRun statistics = calculateStatistics(job, settings, host);
    run.outcome = statistics.outcome;
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run;
    run.statistics = std::move(statistics.statistics);
    run.probes = suggestProbesFor(job, run.statistics, count);
    return run;
}

std::string probesFitNote(const FittedProbes &probes) {
    const ProbeSuggestion &suggestion = probes.suggestion;
    if (!suggestion.hasFit)
        return probes.instantsNote + " " + std::string(text::PROBES_NO_FIT_NOTE);
    return probes.instantsNote + " " +
           text::formatAll(text::PROBES_FIT_NOTE,
                           {std::to_string(suggestion.fittedPositions),
                            std::to_string(suggestion.instantsUsed),
                            std::to_string(suggestion.instantsLeftOut),
                            formatFixed(suggestion.rmsBefore, TEMPERATURE_DECIMALS)});
}

std::vector<PositionMark> probeMarks(const MappingStatistics &statistics,
                                     const ProbeSuggestion &suggestion) {
    std::vector<PositionMark> marks;
    for (std::size_t rank = 0; rank < suggestion.probes.size(); ++rank) {
        const PositionStatistics &p = statistics.positions[suggestion.probes[rank].position];
        marks.push_back({p.row, p.col, std::to_string(rank + 1), PositionMark::Style::Rank});
    }
    return marks;
}

CommandOutcome writeProbesCsv(platform::Host &host, const MappingStatistics &statistics,
                              const ProbeSuggestion &suggestion, const std::string &path) {
    return writeExport(host, path, probesCsv(statistics, suggestion), text::STATISTICS_CAPTION);
}

ThresholdRun readThreshold(const Job &job, platform::Host &host) {
    ThresholdRun run;
    const ThresholdReading reading = readMapCheckThreshold(job);
    if (reading.wrong) {
        run.outcome =
            showFailure(host, text::MAP_CHECK_THRESHOLD_MESSAGE, text::STATISTICS_CAPTION);
        return run;
    }
    run.threshold = reading.threshold;
    return run;
}

std::vector<PositionMark> mapCheckMarks(const TemperatureSet &set, const ArrayDimensions &array,
                                        double threshold) {
    std::vector<PositionMark> marks;
    if (set.rows != array.rows || set.columns != array.columns)
        return marks;
    const SetCheck check = checkSet(set);
    for (int row = 0; row < set.rows; ++row)
        for (int col = 0; col < set.columns; ++col) {
            const double error =
                check.errors[static_cast<std::size_t>(row) * static_cast<std::size_t>(set.columns) +
                             static_cast<std::size_t>(col)];
            if (error != NO_VALUE && std::fabs(error) > threshold)
                marks.push_back({row, col, signedTemperature(error), PositionMark::Style::Frame});
        }
    return marks;
}

std::vector<PositionMark> currentSetMapCheckMarks(const Job &job) {
    const ThresholdReading reading = readMapCheckThreshold(job);
    const TemperatureSet *set = job.setList.current();
    if (!reading.threshold || !set)
        return {};
    return mapCheckMarks(*set, job.loggerArray.dimensions(), *reading.threshold);
}

CommandOutcome writeMapCheckCsv(platform::Host &host, const Job &job, const std::string &path) {
    const MapCheck check = checkMap(job.setList, job.loggerArray);
    return writeExport(host, path, mapCheckCsv(job.setList, check), text::STATISTICS_CAPTION);
}

ComparisonRun compareWithReport(const Job &job, const JobSettings &settings, platform::Host &host,
                                const std::string &otherPath) {
    ComparisonRun run;
    run.otherPath = otherPath;
    StatisticsRun a = calculateStatistics(job, settings, host);
    run.outcome = a.outcome;
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run;

    // The other report is read whole and checked as Load Report checks it, but into an array
    // of its own: the job stays as it is.
    ReportFileRead read = readReportFile(otherPath);
    if (!read.opened) {
        run.outcome = showFailure(host, text::REPORT_NOT_LOADED, text::COMPARE_CAPTION);
        return run;
    }
    if (!read.contents) {
        run.outcome = showFailure(host, text::REPORT_BAD_FORMAT, text::COMPARE_CAPTION);
        return run;
    }
    const std::optional<double> start =
        reportTime(read.contents->fields, DataFilterControls::START_TIME);
    const std::optional<double> finish =
        reportTime(read.contents->fields, DataFilterControls::FINISH_TIME);
    if (!start || !finish) {
        run.outcome = showFailure(host, text::COMPARE_SPAN_UNREADABLE, text::COMPARE_CAPTION);
        return run;
    }
    const LoggerArray other = arrayOf(*read.contents);

    run.settings = a.settings;
    run.a = std::move(a.statistics);
    run.b = computeStatistics(other, *start, *finish, run.settings);
    run.comparison = compareStudies(run.a, run.b);
    run.axis = elapsedAxis(run.a, run.b);
    for (const ComparedPosition &compared : run.comparison.positions) {
        ComparedSeries series;
        series.position = compared.position;
        if (compared.a)
            if (const LogFile *record = recordAt(job.loggerArray, run.a.positions[*compared.a]))
                series.a = readingsInSpan(*record, run.a.start, run.a.finish, 0.0);
        if (compared.b)
            if (const LogFile *record = recordAt(other, run.b.positions[*compared.b]))
                series.b = readingsInSpan(*record, run.b.start, run.b.finish, run.axis.shift);
        run.series.push_back(std::move(series));
    }
    return run;
}

CommandOutcome writeComparisonCsv(platform::Host &host, const ComparisonRun &run,
                                  const std::string &path) {
    return writeExport(host, path, comparisonCsv(run.a, run.b, run.comparison),
                       text::COMPARE_CAPTION);
}

BandParameters bandsOver(double low, double high) {
    double step = STEP_OF_EQUAL_DIFFERENCES;
    const double range = high - low;
    if (range >= SMALLEST_DIFFERENCE_STEP && std::isfinite(range)) {
        const double rough = range / DIFFERENCE_BANDS;
        const double power = std::pow(10.0, std::floor(std::log10(rough)));
        for (const double nice : NICE_STEPS) {
            step = nice * power;
            if (step >= rough)
                break;
        }
        step = std::max(step, SMALLEST_DIFFERENCE_STEP);
    }
    // Each band is centred on a multiple of the step: differences that are equal but for the
    // rounding of their means (a study against a copy of itself moved by one degree) fall in
    // the middle of one band, not on both sides of a band's edge.
    BandParameters bands;
    bands.spacing = step;
    bands.minimum = (std::round(low / step) - 0.5) * step;
    bands.maximum = (std::round(high / step) + 0.5) * step;
    return bands;
}

DifferenceMap differenceMap(const ComparisonRun &run, const ContourSettings &pageSettings) {
    DifferenceMap map;
    map.set = meanDifferenceMap(run.a, run.b);
    map.title = text::format(text::DIFFERENCE_MAP_TITLE, formatDateTime(run.a.start),
                             formatDateTime(run.a.finish));
    bool any = false;
    double low = 0.0;
    double high = 0.0;
    auto take = [&](double value) {
        if (value == NO_VALUE)
            return;
        low = any ? std::min(low, value) : value;
        high = any ? std::max(high, value) : value;
        any = true;
    };
    const TemperatureSet &set = *map.set;
    for (int row = 0; row < set.rows; ++row)
        for (int col = 0; col < set.columns; ++col)
            if (set.isMeasured(row, col))
                take(set.valueAt(row, col));
    for (int slot = 0; slot < set.singularCount; ++slot)
        take(set.valueAt(SINGULAR_ROW, slot));
    map.settings = pageSettings;
    map.settings.bands = bandsOver(low, high);
    return map;
}

TimeSeriesInput comparedSeriesInput(const ComparisonRun &run, const std::string &position) {
    TimeSeriesInput input;
    for (const ComparedSeries &series : run.series) {
        if (!position.empty() && series.position != position)
            continue;
        if (series.a && !series.a->values.empty())
            input.lines.push_back(
                {text::format(text::STUDY_A_LINE, series.position + " " + series.a->label()),
                 series.a.get(), series.position});
        if (series.b && !series.b->values.empty())
            input.lines.push_back(
                {text::format(text::STUDY_B_LINE, series.position + " " + series.b->label()),
                 series.b.get(), series.position});
    }
    input.start = run.a.start;
    input.finish = run.a.start + run.axis.length;
    input.lowerLimit = run.settings.lowerLimit;
    input.upperLimit = run.settings.upperLimit;
    return input;
}

std::string elapsedNote(const ComparisonRun &run) {
    return text::format(text::ELAPSED_NOTE,
                        text::format(text::SHIFT_DAYS, formatFixed(run.axis.shift, SHIFT_DECIMALS)),
                        formatDateTime(run.a.start));
}

} // namespace zqar
