#include "pages/presentation/MappingReport.h"
#include "pages/presentation/printUnits.h"

#include "core/analysis/SetList.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/calibration.h"
#include "core/analysis/dataCheck.h"
#include "core/analysis/exclusions.h"
#include "core/analysis/qualificationCsv.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/LoggerArray.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/integrity/SignatureSettings.h"
#include "core/integrity/manifestXmp.h"
#include "core/job/Job.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/analysis/studyCommands.h"
#include "pages/presentation/ContourGraph.h"
#include "pages/presentation/PagedDocument.h"
#include "pages/presentation/ScaledDrawingContext.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "pages/presentation/reportManifest.h"
#include "pages/presentation/statisticsPrint.h"
#include "platform/Host.h"
#include "resources/analysisTexts.h"
#include "resources/displayTexts.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"
#include "resources/mappingReportTexts.h"
#include "resources/qualificationTexts.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace zqar {

namespace {

using Facts = std::vector<std::pair<std::string, std::string>>;

constexpr double MAP_HEIGHT = 95.0;    // millimetres
constexpr double CHART_HEIGHT = 115.0; // millimetres
constexpr double HEADING_ROOM = 20.0;  // a heading with the space around it, millimetres
constexpr double CAPTION_ROOM = 12.0;
constexpr double SIGNATURE_ROOM = 30.0; // the signature table, millimetres
constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int SETTING_DECIMALS = 3;
constexpr int MAX_GRID_COLUMNS = 12; // wider arrays are listed position by position
constexpr double SCREEN_DPI = 96.0;  // the time-series chart is laid out for it
// The statistics, the figures and the sources, the tables and maps, and the printing.
constexpr std::uint64_t REPORT_STAGES = 4;
// A map beside a legend of several columns of boxes would shrink to a thumbnail.
constexpr LegendStyle REPORT_LEGEND = LegendStyle::BarWhenCrowded;

std::string duration(double start, double finish) {
    const int64_t seconds = std::max<int64_t>(0, roundedSeconds(finish) - roundedSeconds(start));
    std::string text =
        text::format(text::DURATION_DAYS, static_cast<int>(seconds / WHOLE_SECONDS_PER_DAY));
    text +=
        " " + text::format(text::DURATION_HOURS, static_cast<int>(seconds % WHOLE_SECONDS_PER_DAY /
                                                                  WHOLE_SECONDS_PER_HOUR));
    text += " " +
            text::format(text::DURATION_MINUTES, static_cast<int>(seconds % WHOLE_SECONDS_PER_HOUR /
                                                                  WHOLE_SECONDS_PER_MINUTE));
    return text;
}

std::string period(double seconds) {
    const double whole = static_cast<double>(truncToInt(seconds));
    if (whole == seconds && whole > 0.0) {
        const int count = truncToInt(seconds);
        if (count % WHOLE_SECONDS_PER_HOUR == 0)
            return text::format(text::PERIOD_HOURS,
                                static_cast<int>(count / WHOLE_SECONDS_PER_HOUR));
        if (count % WHOLE_SECONDS_PER_MINUTE == 0)
            return text::format(text::PERIOD_MINUTES,
                                static_cast<int>(count / WHOLE_SECONDS_PER_MINUTE));
    }
    return text::format(text::PERIOD_SECONDS, plainNumber(seconds));
}

// "5 min (24), 10 min (2)": each sample period with the number of placed loggers that have it.
std::string samplePeriods(const LoggerArray &array) {
    std::map<double, int> counts;
    array.forEachPlaced([&counts](const LogFile &record) { ++counts[record.samplePeriod]; });
    std::string text;
    for (const auto &[seconds, count] : counts) {
        if (!text.empty())
            text += ", ";
        text += text::format(text::PERIOD_COUNT, period(seconds), std::to_string(count));
    }
    return text.empty() ? std::string(text::NO_LOGGER) : text;
}

// The last part of a path, as the title page names a file.
std::string fileName(const std::string &path) {
    return std::filesystem::path(path).filename().string();
}

Facts titleFacts(const Job &job, const JobSettings &settings, const StatisticsRun &run) {
    const LayoutSettings &layout = settings.layout;
    const LoggerArray &array = job.loggerArray;
    const ArrayDimensions dimensions = array.dimensions();
    const ContourSettings contour = settings.contour();
    int placed = 0;
    array.forEachPlaced([&placed](const LogFile &) { ++placed; });

    Facts facts;
    for (const auto &[label, value] : {std::pair{text::FACT_PROJECT_NUMBER, &layout.projectNumber},
                                       std::pair{text::FACT_PROJECT_DATE, &layout.projectDate}})
        if (!value->empty())
            facts.emplace_back(label, *value);
    facts.emplace_back(text::FACT_DATA_DIRECTORY, layout.directory);
    facts.emplace_back(text::FACT_START, formatDateTime(run.statistics.start));
    facts.emplace_back(text::FACT_FINISH, formatDateTime(run.statistics.finish));
    facts.emplace_back(text::FACT_DURATION, duration(run.statistics.start, run.statistics.finish));
    facts.emplace_back(text::FACT_ROWS, std::to_string(dimensions.rows));
    facts.emplace_back(text::FACT_COLUMNS, std::to_string(dimensions.columns));
    facts.emplace_back(text::FACT_ROW_SPACING, plainNumber(contour.rowSpacing));
    facts.emplace_back(text::FACT_COLUMN_SPACING, plainNumber(contour.columnSpacing));
    facts.emplace_back(text::FACT_ON_BOUNDARY,
                       std::string(contour.inset == 0 ? text::YES : text::NO));
    facts.emplace_back(text::FACT_SINGULAR, std::to_string(dimensions.singularCount));
    facts.emplace_back(text::FACT_PLACED, std::to_string(placed));
    facts.emplace_back(text::FACT_SAMPLE_PERIODS, samplePeriods(array));
    facts.emplace_back(text::FACT_SETS, std::to_string(job.setList.count()));
    facts.emplace_back(text::FACT_LOWER_LIMIT, limitText(run.settings.lowerLimit));
    facts.emplace_back(text::FACT_UPPER_LIMIT, limitText(run.settings.upperLimit));
    facts.emplace_back(
        text::FACT_ACTIVATION_ENERGY,
        text::format(text::ACTIVATION_ENERGY_VALUE, plainNumber(run.settings.activationEnergy)));
    if (job.calibration())
        facts.emplace_back(text::FACT_CALIBRATION_FILE, fileName(job.calibrationFile()));
    return facts;
}

// The headings of a CSV header text ("Position,Logger,...") as left-aligned table columns.
std::vector<PagedDocument::Column> csvColumns(std::string_view header) {
    std::vector<PagedDocument::Column> columns;
    std::size_t at = 0;
    while (at <= header.size()) {
        const std::size_t comma = std::min(header.find(',', at), header.size());
        columns.push_back({std::string(header.substr(at, comma - at)), PagedDocument::Align::Left});
        at = comma + 1;
    }
    return columns;
}

PagedDocument::Table statisticsTable(const MappingStatistics &statistics) {
    PagedDocument::Table table;
    for (const StatisticsColumn &column : STATISTICS_COLUMNS)
        table.columns.push_back(
            {std::string(column.heading), column.alignment == ColumnAlignment::Left
                                              ? PagedDocument::Align::Left
                                              : PagedDocument::Align::Right});
    for (const PositionStatistics &position : statistics.positions)
        table.rows.push_back(statisticsRow(position));
    return table;
}

std::string positionLabel(const LogFile *record) {
    return record ? record->label() : std::string(text::NO_LOGGER);
}

// The array as a grid of logger labels, or as a list when it is too wide for the page.
PagedDocument::Table arrayTable(const LoggerArray &array) {
    const ArrayDimensions d = array.dimensions();
    PagedDocument::Table table;
    if (d.columns > MAX_GRID_COLUMNS) {
        table.columns = {{std::string(text::POSITION_HEADING), PagedDocument::Align::Left},
                         {std::string(text::LOGGER_HEADING), PagedDocument::Align::Left}};
        for (int row = 0; row < d.rows; ++row)
            for (int col = 0; col < d.columns; ++col)
                table.rows.push_back({positionName(row, col), positionLabel(array.at(row, col))});
        return table;
    }
    table.columns.push_back({"", PagedDocument::Align::Centre});
    for (int col = 0; col < d.columns; ++col)
        table.columns.push_back(
            {text::format(text::COLUMN_LABEL, col + 1), PagedDocument::Align::Centre});
    for (int row = 0; row < d.rows; ++row) {
        std::vector<std::string> cells{text::format(text::ROW_LABEL, row + 1)};
        for (int col = 0; col < d.columns; ++col)
            cells.push_back(positionLabel(array.at(row, col)));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

PagedDocument::Table singularTable(const LoggerArray &array) {
    PagedDocument::Table table;
    table.columns = {{std::string(text::POSITION_HEADING), PagedDocument::Align::Centre},
                     {std::string(text::LOGGER_HEADING), PagedDocument::Align::Centre}};
    for (int slot = 0; slot < array.dimensions().singularCount; ++slot)
        table.rows.push_back({positionName(-1, slot), positionLabel(array.at(-1, slot))});
    return table;
}

// The calculated sets whose measured positions hold the highest and the lowest value; the
// first such set when several do.
struct ExtremeSets {
    int highest = -1;
    int lowest = -1;
    SetSummary highSummary;
    SetSummary lowSummary;
};

ExtremeSets extremeSets(const SetList &sets) {
    ExtremeSets found;
    for (int i = 0; i < sets.count(); ++i) {
        const SetSummary summary = summariseSet(*sets.at(i));
        if (!summary.measured)
            continue;
        if (found.highest < 0 || summary.maximum > found.highSummary.maximum) {
            found.highest = i;
            found.highSummary = summary;
        }
        if (found.lowest < 0 || summary.minimum < found.lowSummary.minimum) {
            found.lowest = i;
            found.lowSummary = summary;
        }
    }
    return found;
}

// A contour graph of set, drawn with the settings the pages hold when the report is made.
PagedDocument::Picture contourPicture(std::shared_ptr<const TemperatureSet> set,
                                      const ArrayDimensions &dimensions,
                                      const ContourSettings &settings) {
    return [set = std::move(set), dimensions, settings](platform::DrawingContext &dc,
                                                        const platform::Rect &area) {
        drawContourGraph(dc, *set, dimensions, settings, DEFAULT_COLOUR_SCALE, area.left, area.top,
                         area.width(), area.height(), REPORT_LEGEND);
    };
}

void addResult(PagedDocument &document, const StatisticsRun &run) {
    document.addHeading(std::string(text::RESULT_HEADING));
    document.addParagraph(limitsResult(run.statistics, run.settings), true);
    const std::string outside = outsidePositionsLine(run.statistics);
    if (!outside.empty())
        document.addParagraph(outside);
    document.addSpace(2.0);
    for (const std::string &line :
         statisticsNotes(run.statistics, run.rollingMkt ? &*run.rollingMkt : nullptr))
        document.addParagraph(line);
}

std::string alarmCount(std::size_t count) {
    if (count == 0)
        return std::string(text::NO_ALARM_FIRED);
    if (count == 1)
        return std::string(text::ONE_ALARM_FIRED);
    return text::format(text::ALARMS_FIRED, static_cast<int>(count));
}

// A rule in words, with the rule as the user gave it first.
std::string ruleInWords(const AlarmRule &rule) {
    const char *pattern = rule.mode == AlarmMode::Single ? text::ALARM_RULE_SINGLE
                          : rule.perDay                  ? text::ALARM_RULE_PER_DAY
                                                         : text::ALARM_RULE_CUMULATIVE;
    return text::formatAll(
        pattern, {rule.spec, rule.side == AlarmSide::Above ? text::ALARM_ABOVE : text::ALARM_BELOW,
                  plainNumber(rule.threshold), plainNumber(rule.minutes)});
}

void addAlarms(PagedDocument &document, const StatisticsRun &run,
               const std::vector<AlarmRule> &rules) {
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM * 2);
    document.addHeading(std::string(text::ALARMS_HEADING));
    document.addParagraph(std::string(text::ALARM_RULES_CAPTION), true);
    for (const AlarmRule &rule : rules)
        document.addParagraph(ruleInWords(rule));
    document.addSpace(2.0);
    document.addParagraph(alarmCount(run.alarms.size()), true);
    if (run.alarms.empty())
        return;
    int overADay = 0;
    PagedDocument::Table table;
    table.columns = csvColumns(text::ALARMS_CSV_HEADER);
    for (const Alarm &alarm : run.alarms) {
        table.rows.push_back(alarmRow(alarm, rules));
        overADay += table.rows.back().back() == text::ALARM_OVER_A_DAY;
    }
    document.addTable(table);
    if (overADay > 0)
        document.addParagraph(text::format(text::ALARMS_OVER_A_DAY, overADay));
}

void addCalibration(PagedDocument &document, const Job &job, const StatisticsRun &run) {
    const CalibrationTable &table = *job.calibration();
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM * 3);
    document.addHeading(std::string(text::CALIBRATION_HEADING));
    document.addParagraph(text::format(text::CALIBRATION_NOTE, fileName(job.calibrationFile())));
    document.addSpace(2.0);
    document.addParagraph(std::string(text::CALIBRATION_STATUS_CAPTION), true);
    PagedDocument::Table status;
    status.columns = csvColumns(text::CALIBRATION_CSV_HEADER);
    for (const CalibrationRow &row :
         calibrationRows(job.loggerArray, table, run.statistics.start, run.statistics.finish))
        status.rows.push_back(calibrationStatusRow(row));
    document.addTable(status);
    document.addParagraph(std::string(text::CALIBRATION_POINTS_CAPTION), true);
    PagedDocument::Table points;
    points.columns = csvColumns(text::CALIBRATION_FILE_HEADER);
    for (const LoggerCalibration &calibration : table.loggers)
        for (const CalibrationPoint &point : calibration.points)
            points.rows.push_back(calibrationPointRow(calibration, point));
    document.addTable(points);
}

// A row for every reading the data check finds suspect, logger by logger.
PagedDocument::Table dataCheckTable(const Job &job, const DataCheckSettings &settings) {
    PagedDocument::Table table;
    table.columns = csvColumns(text::DATA_CHECK_CSV_HEADER);
    for (const RecordCheck &check : checkArray(job.loggerArray, settings))
        for (const Suspect &suspect : check.suspects)
            table.rows.push_back(suspectRow(check, suspect));
    return table;
}

// The section is left out when nothing was found.
void addDataCheck(PagedDocument &document, const PagedDocument::Table &table,
                  const DataCheckSettings &settings) {
    if (table.rows.empty())
        return;
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM * 2);
    document.addHeading(std::string(text::DATA_CHECK_HEADING));
    document.addParagraph(
        text::formatAll(text::DATA_CHECK_NOTE,
                        {plainNumber(settings.plausibleLow), plainNumber(settings.plausibleHigh),
                         plainNumber(settings.plausibleJump)}));
    document.addTable(table);
}

void addExclusions(PagedDocument &document, const Job &job) {
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM * 2);
    document.addHeading(std::string(text::EXCLUSIONS_HEADING));
    document.addParagraph(std::string(text::EXCLUSIONS_NOTE));
    for (const Exclusion &exclusion : job.exclusions)
        document.addParagraph(
            text::formatAll(text::EXCLUDED_READINGS,
                            {exclusionText(job.loggerArray, exclusion),
                             std::to_string(excludedReadings(job.loggerArray, exclusion))}));
}

// The maps of the mean, the minimum and the maximum with their titles.
struct ReportMap {
    std::string title;
    std::shared_ptr<const TemperatureSet> set;
};

std::vector<ReportMap> statisticMaps(const MappingStatistics &statistics) {
    std::vector<ReportMap> maps;
    for (const MapStatistic statistic :
         {MapStatistic::Mean, MapStatistic::Minimum, MapStatistic::Maximum}) {
        StatisticMapSet map = makeStatisticMap(statistics, statistic);
        maps.push_back({std::move(map.title), std::move(map.set)});
    }
    return maps;
}

void addMaps(PagedDocument &document, const std::vector<ReportMap> &maps,
             const ArrayDimensions &dimensions, const ContourSettings &settings) {
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM + MAP_HEIGHT);
    document.addHeading(std::string(text::MAPS_HEADING));
    // Each map in the colours of its own figures: the Graph Options may have been zoomed to a
    // range that shows the whole map in one colour.
    for (const ReportMap &map : maps)
        document.addPicture(map.title, MAP_HEIGHT,
                            contourPicture(map.set, dimensions, scaledToData(settings, *map.set)));
}

void addExtremeSets(PagedDocument &document, const SetList &sets, const ExtremeSets &found,
                    const ArrayDimensions &dimensions, const ContourSettings &settings) {
    if (found.highest < 0) {
        document.addHeading(std::string(text::EXTREME_SETS_HEADING));
        document.addParagraph(std::string(text::NO_SETS_NOTE));
        return;
    }
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM + MAP_HEIGHT);
    document.addHeading(std::string(text::EXTREME_SETS_HEADING));
    const auto add = [&](int index, const char *pattern, double value,
                         const std::string &position) {
        // The set list outlives the printout; the picture only borrows the set.
        const std::shared_ptr<const TemperatureSet> set(sets.at(index),
                                                        [](const TemperatureSet *) {});
        const std::string caption =
            text::format(pattern, formatFixed(value, TEMPERATURE_DECIMALS), position) +
            std::string(text::CAPTION_SEPARATOR) + set->title();
        document.addPicture(caption, MAP_HEIGHT, contourPicture(set, dimensions, settings));
    };
    add(found.highest, text::HIGHEST_SET_CAPTION, found.highSummary.maximum,
        found.highSummary.maximumPosition);
    add(found.lowest, text::LOWEST_SET_CAPTION, found.lowSummary.minimum,
        found.lowSummary.minimumPosition);
}

// The chart with the default pick, its hot and cold spots those of the report's statistics.
void addTimeSeries(PagedDocument &document, const Job &job, const JobSettings &settings,
                   const MappingStatistics &statistics) {
    TimeSeriesInput input = timeSeriesInput(job, settings);
    // A report covers the whole span; the set the pages show now has no place in it.
    input.hasCurrentSet = false;
    auto lineOf = [&](const Spot &spot) -> std::optional<std::size_t> {
        if (!spot.found || spot.position >= statistics.positions.size())
            return std::nullopt;
        const std::string &position = statistics.positions[spot.position].position;
        for (std::size_t i = 0; i < input.lines.size(); ++i)
            if (input.lines[i].position == position)
                return i;
        return std::nullopt;
    };
    input.spots =
        TimeSeriesSpots{lineOf(statistics.spots.warmest), lineOf(statistics.spots.coldest)};
    const double scale = document.pixelsPerMillimetre() * MILLIMETRES_PER_INCH / SCREEN_DPI;
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM + CHART_HEIGHT);
    document.addHeading(std::string(text::TIME_SERIES_HEADING));
    document.addPicture(text::format(text::TIME_SERIES_REPORT_CAPTION, formatDateTime(input.start),
                                     formatDateTime(input.finish)),
                        CHART_HEIGHT,
                        [input, scale](platform::DrawingContext &dc, const platform::Rect &area) {
                            ScaledDrawingContext chart(dc, scale, area.left, area.top);
                            const platform::Rect inside{0, 0, truncToInt(area.width() / scale),
                                                        truncToInt(area.height() / scale)};
                            drawTimeSeries(chart, input, inside);
                        });
}

PagedDocument::Table textTable(std::initializer_list<std::string_view> headings,
                               std::initializer_list<std::size_t> numberColumns) {
    PagedDocument::Table table;
    std::size_t column = 0;
    for (const std::string_view heading : headings) {
        const bool number =
            std::find(numberColumns.begin(), numberColumns.end(), column) != numberColumns.end();
        table.columns.push_back({std::string(heading), number ? PagedDocument::Align::Right
                                                              : PagedDocument::Align::Left});
        ++column;
    }
    return table;
}

// The qualification section: what the figures were computed over, the figures, what each
// stands for, and each position's row.
void addQualification(PagedDocument &document, const Qualification &q, const LoggerArray &array) {
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM + 60.0);
    document.addHeading(std::string(text::QUALIFICATION_HEADING));
    const PositionQualification &reference = q.referencePosition();
    std::string referenceText = reference.position;
    if (const LogFile *record = recordAt(array, reference.at))
        referenceText += " (" + record->label() + ")";
    Facts facts;
    facts.emplace_back(text::FACT_STABLE_WINDOW,
                       text::format(text::STABLE_WINDOW_VALUE, formatDateTime(q.stableStart),
                                    formatDateTime(q.stableFinish)));
    facts.emplace_back(text::FACT_REFERENCE_POSITION, referenceText);
    facts.emplace_back(text::FACT_SET_POINT,
                       q.setPoint ? plainNumber(*q.setPoint) : std::string(text::NOT_GIVEN));
    facts.emplace_back(text::FACT_TOLERANCE,
                       q.tolerance ? text::format(text::PLUS_MINUS_VALUE, plainNumber(*q.tolerance))
                                   : std::string(text::NOT_GIVEN));
    facts.emplace_back(text::FACT_INSTANTS, std::to_string(q.instants));
    document.addFacts(facts);

    PagedDocument::Table figures = textTable({text::FIGURE_HEADING, text::VALUE_HEADING}, {1});
    Facts definitions;
    for (const FigureRow &row : qualificationFigures(q)) {
        figures.rows.push_back(
            {std::string(row.name),
             row.plusMinus ? text::format(text::PLUS_MINUS_VALUE, row.value) : row.value});
        definitions.emplace_back(std::string(row.name), std::string(row.definition));
    }
    figures.fillWidth = false;
    document.addTable(figures);
    document.addParagraph(std::string(text::DEFINITIONS_CAPTION), true);
    document.addFacts(definitions);
    document.addParagraph(std::string(text::QUALIFICATION_READINGS_NOTE));

    document.addParagraph(std::string(text::QUALIFICATION_POSITIONS_CAPTION), true);
    PagedDocument::Table positions =
        textTable({text::POSITION_HEADING, text::LOGGER_HEADING, text::POSITION_MEAN_HEADING,
                   text::POSITION_SPREAD_HEADING, text::POSITION_FROM_REFERENCE_HEADING,
                   text::POSITION_FROM_SET_POINT_HEADING},
                  {2, 3, 4, 5});
    for (const PositionQualification &position : q.positions)
        positions.rows.push_back(qualificationPositionRow(position));
    document.addTable(positions);
}

std::string phaseText(const Phase &phase) {
    return phase.name + " (" + eventTimeText(phase.start) + " - " +
           (phase.finish ? eventTimeText(*phase.finish) : std::string(text::PHASE_NOT_ENDED)) + ")";
}

// The events section: every event with its figure and note, what the figures stand for, the
// phases, and which readings were left out of the statistics.
void addEvents(PagedDocument &document, const Job &job, const std::vector<EventOutcome> &outcomes) {
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM + 40.0);
    document.addHeading(std::string(text::EVENTS_HEADING));
    document.addParagraph(std::string(text::EVENT_FIGURES_CAPTION), true);
    PagedDocument::Table events =
        textTable({text::EVENT_HEADING, text::TIME_HEADING, text::FIGURE_HEADING,
                   text::VALUE_HEADING, text::POSITION_HEADING, text::NOTE_HEADING},
                  {3});
    bool recovery = false;
    bool hold = false;
    for (const EventOutcome &outcome : outcomes) {
        std::vector<std::string> row = eventFigureRow(outcome);
        row.push_back(outcome.event.note);
        events.rows.push_back(std::move(row));
        recovery = recovery || outcome.figure.kind == EventFigureKind::RecoveryTime;
        hold = hold || outcome.figure.kind == EventFigureKind::HoldTime;
    }
    document.addTable(events);
    Facts definitions;
    if (recovery)
        definitions.emplace_back(text::RECOVERY_TIME, text::RECOVERY_TIME_DEFINITION);
    if (hold)
        definitions.emplace_back(text::HOLD_TIME, text::HOLD_TIME_DEFINITION);
    if (!definitions.empty())
        document.addFacts(definitions);

    const PhaseList phases = phasesOf(job.events);
    if (!phases.phases.empty()) {
        document.addParagraph(std::string(text::PHASES_CAPTION), true);
        PagedDocument::Table table =
            textTable({text::PHASE_HEADING, text::PHASE_START_HEADING, text::PHASE_FINISH_HEADING,
                       text::PHASE_EXCLUDED_HEADING},
                      {});
        for (const Phase &phase : phases.phases)
            table.rows.push_back(
                {phase.name, eventTimeText(phase.start),
                 phase.finish ? eventTimeText(*phase.finish) : std::string(text::PHASE_NOT_ENDED),
                 std::string(isPhaseExcluded(job, phase.name) ? text::YES : text::NO)});
        table.fillWidth = false;
        document.addTable(table);
    }
    if (!phases.unmatched.empty()) {
        std::string unmatched;
        for (const std::size_t index : phases.unmatched)
            unmatched += (unmatched.empty() ? "" : std::string(text::LIST_SEPARATOR)) +
                         eventName(job.events[index]) + " " + eventTimeText(job.events[index].time);
        document.addParagraph(text::format(text::UNMATCHED_EVENTS_NOTE, unmatched));
    }
    const std::vector<Phase> excluded = excludedPhasesOfJob(job);
    std::string excludedText;
    for (const Phase &phase : excluded)
        excludedText +=
            (excludedText.empty() ? "" : std::string(text::LIST_SEPARATOR)) + phaseText(phase);
    document.addParagraph(excluded.empty()
                              ? std::string(text::NO_EXCLUDED_PHASES)
                              : text::format(text::EXCLUDED_PHASES_NOTE, excludedText));
}

// The signature block: a row each for preparing, reviewing and approving, the printed name
// from the settings or a line, and lines for the date and time and the signature.
void addSignatures(PagedDocument &document, const Job &job) {
    const SignatureSettings settings{job.setting(JobSetting::PreparedBy),
                                     job.setting(JobSetting::ReviewedBy),
                                     job.setting(JobSetting::ApprovedBy)};
    PagedDocument::Table table;
    for (const std::string_view heading : text::SIGNATURE_HEADINGS)
        table.columns.push_back({std::string(heading), PagedDocument::Align::Left});
    const std::string line(text::SIGNATURE_LINE);
    for (const SignatureRow &row : signatureRows(settings))
        table.rows.push_back({std::string(row.role), row.text.empty() ? line : row.text, line,
                              std::string(row.meaning), line});
    document.keepRoom(HEADING_ROOM + SIGNATURE_ROOM);
    document.addHeading(std::string(text::SIGNATURES_HEADING));
    document.addTable(table);
}

void addChangeLog(PagedDocument &document, const ChangeLog &log) {
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM);
    document.addHeading(std::string(text::CHANGE_LOG_TITLE));
    document.addParagraph(chainCheckText(checkChain(log)));
    if (log.entries.empty())
        return;
    PagedDocument::Table table;
    for (const std::string_view heading : text::CHANGE_LOG_HEADINGS)
        table.columns.push_back({std::string(heading), PagedDocument::Align::Left});
    for (const ChangeEntry &entry : log.entries)
        table.rows.push_back({entry.time, entry.user, entry.field, entry.oldValue, entry.newValue,
                              entry.reason, entry.hash});
    document.addTable(table);
}

// The last page: the sources with their sizes and hashes, the hashes of the settings and the
// results, the program's version and the settings themselves, as the PDF's XMP holds them.
void addManifest(PagedDocument &document, const Manifest &manifest) {
    document.newPage();
    document.addHeading(std::string(text::MANIFEST_TITLE));
    PagedDocument::Table sources;
    for (const std::string_view heading : text::MANIFEST_SOURCE_HEADINGS)
        sources.columns.push_back({std::string(heading), PagedDocument::Align::Left});
    sources.columns[2].align = PagedDocument::Align::Right;
    for (const ManifestSource &source : manifest.sources) {
        if (source.takenFrom)
            sources.rows.push_back(
                {source.name, std::string(roleLabel(source.role)),
                 text::format(text::TAKEN_FROM_REPORT, source.takenFrom->reportName),
                 source.takenFrom->reportSha256});
        else
            sources.rows.push_back({source.name, std::string(roleLabel(source.role)),
                                    std::to_string(source.size), source.sha256});
    }
    document.addTable(sources);
    document.addSpace(2.0);
    document.addFacts({{std::string(text::MANIFEST_SETTINGS_HASH), manifest.settingsSha256},
                       {std::string(text::MANIFEST_RESULTS_HASH), manifest.resultsSha256},
                       {std::string(text::MANIFEST_PROGRAM_VERSION), manifest.programVersion}});
    document.addHeading(std::string(text::MANIFEST_SETTINGS_TEXT));
    Facts settings;
    for (const SettingValue &setting : readSettingsText(manifest.settingsText))
        settings.emplace_back(setting.name, setting.value);
    document.addFacts(settings);
}

PagedDocument::Table textTable(std::string_view header,
                               std::vector<std::vector<std::string>> rows) {
    PagedDocument::Table table;
    for (std::string &heading : headerFields(header))
        table.columns.push_back({std::move(heading), PagedDocument::Align::Left});
    table.rows = std::move(rows);
    return table;
}

// The suggested probes for the report's statistics, with the reasoning behind their choice
// and the map of the mean with their ranks.
void addProbes(PagedDocument &document, const Job &job, const MappingStatistics &statistics,
               const FittedProbes &probes, const ContourSettings &graphSettings) {
    const ProbeSuggestion &suggestion = probes.suggestion;
    document.keepRoom(HEADING_ROOM + 40.0);
    document.addHeading(std::string(text::PROBES_REPORT_HEADING));
    document.addParagraph(text::format(text::PROBES_REPORT_ASKED, std::to_string(job.probeCount)));
    document.addParagraph(std::string(text::PROBE_CHOICE_HELP));
    document.addParagraph(probesFitNote(probes));
    document.addTable(textTable(text::PROBES_CSV_HEADER, probeRows(statistics, suggestion)));
    StatisticMapSet map = makeStatisticMap(statistics, MapStatistic::Mean);
    const std::vector<PositionMark> marks = probeMarks(statistics, suggestion);
    const std::shared_ptr<const TemperatureSet> set(std::move(map.set));
    const ArrayDimensions dimensions = job.loggerArray.dimensions();
    const ContourSettings scaled = scaledToData(graphSettings, *set);
    document.keepRoom(CAPTION_ROOM + MAP_HEIGHT);
    document.addPicture(text::format(text::PROBES_MAP_TITLE, map.title), MAP_HEIGHT,
                        [set, dimensions, settings = scaled, marks](platform::DrawingContext &dc,
                                                                    const platform::Rect &area) {
                            drawContourGraph(dc, *set, dimensions, settings, DEFAULT_COLOUR_SCALE,
                                             area.left, area.top, area.width(), area.height(),
                                             REPORT_LEGEND);
                            drawPositionMarks(dc, dimensions, settings, marks, area.left, area.top,
                                              area.width(), area.height(), REPORT_LEGEND);
                        });
}

// The map check of every calculated set: the worst error of the study, the positions beyond
// the threshold and the table of the positions.
void addMapCheck(PagedDocument &document, const Job &job, const MapCheck &check, double threshold) {
    document.keepRoom(HEADING_ROOM + 40.0);
    document.addHeading(std::string(text::MAP_CHECK_REPORT_HEADING));
    document.addParagraph(std::string(text::MAP_CHECK_EXPLAINED));
    if (!check.found) {
        document.addParagraph(std::string(text::MAP_CHECK_NOTHING), true);
        return;
    }
    const TemperatureSet *worst = job.setList.at(check.worstSet);
    document.addParagraph(
        text::formatAll(text::MAP_CHECK_WORST,
                        {formatFixed(check.worstError, TEMPERATURE_DECIMALS),
                         positionName(check.worstRow, check.worstCol),
                         std::to_string(check.worstSet + 1), worst ? worst->title() : ""}),
        true);
    std::vector<std::string> over;
    for (const PositionCheck &position : check.positions)
        if (position.sets > 0 && std::fabs(position.largestError) > threshold)
            over.push_back(position.position);
    const std::string limit = plainNumber(threshold);
    document.addParagraph(over.empty()
                              ? text::format(text::MAP_CHECK_NOT_OVER, limit)
                              : text::format(text::MAP_CHECK_OVER, limit, namedPositions(over)));
    document.addTable(textTable(text::MAP_CHECK_POSITIONS_HEADER, mapCheckPositionRows(check)));
}

} // namespace

std::string limitsResult(const MappingStatistics &statistics, const StatisticsSettings &settings) {
    if (!settings.lowerLimit && !settings.upperLimit)
        return std::string(text::NO_LIMITS);
    const std::size_t outside = positionsOutside(statistics).size();
    if (outside == 0)
        return std::string(text::LIMITS_HELD);
    return text::format(text::LIMITS_BROKEN, static_cast<int>(outside));
}

std::string plainNumber(double value) {
    std::string text = formatFixed(value, SETTING_DECIMALS);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    return text;
}

std::string limitText(const std::optional<double> &limit) {
    return limit ? plainNumber(*limit) : std::string(text::NO_LIMIT);
}

std::string namedPositions(const std::vector<std::string> &positions) {
    std::string line;
    const std::size_t named = std::min(positions.size(), MAX_NAMED_OUTSIDE);
    for (std::size_t i = 0; i < named; ++i)
        line += (i == 0 ? "" : ", ") + positions[i];
    if (positions.size() > named)
        line +=
            " " + text::format(text::MORE_POSITIONS, static_cast<int>(positions.size() - named));
    return line;
}

std::string outsidePositionsLine(const MappingStatistics &statistics) {
    const std::vector<std::string> outside = positionsOutside(statistics);
    if (outside.empty())
        return {};
    return std::string(text::OUTSIDE_POSITIONS) + namedPositions(outside);
}

std::vector<std::string> positionsOutside(const MappingStatistics &statistics) {
    std::vector<std::string> outside;
    for (const PositionStatistics &position : statistics.positions)
        if (position.excursions && *position.excursions > 0)
            outside.push_back(position.position);
    return outside;
}

namespace {

// What the report's pages print, found before the first page is drawn: what takes work to
// find is found once, as laying the pages out twice only measures again.
struct ReportBody {
    ReportBody(const Job &theJob, const JobSettings &settings, const StatisticsRun &statistics)
        : job(theJob), jobSettings(settings), run(statistics) {}

    const Job &job;
    const JobSettings &jobSettings;
    const StatisticsRun &run;
    std::optional<Qualification> qualification;
    std::vector<EventOutcome> eventFigures;
    std::optional<Manifest> manifest;
    std::optional<double> threshold;
    DataCheckSettings dataCheck;
    std::optional<FittedProbes> probes;
    std::optional<MapCheck> mapCheck;
    Facts facts;
    PagedDocument::Table positions;
    PagedDocument::Table suspects;
    std::vector<ReportMap> maps;
    ExtremeSets extremes;
    PagedDocument::Table grid;     // the array's layout; empty for an array of no cells
    PagedDocument::Table singular; // the singular slots' layout
};

void addLayout(PagedDocument &document, const ReportBody &body) {
    const ArrayDimensions dimensions = body.job.loggerArray.dimensions();
    document.keepRoom(HEADING_ROOM + CAPTION_ROOM + 40.0);
    document.addHeading(std::string(text::LAYOUT_HEADING));
    if (dimensions.rows > 0 && dimensions.columns > 0) {
        document.addParagraph(std::string(text::ARRAY_LAYOUT_CAPTION), true);
        document.addTable(body.grid);
    }
    if (dimensions.singularCount > 0) {
        document.addParagraph(std::string(text::SINGULAR_LAYOUT_CAPTION), true);
        document.addTable(body.singular);
    }
}

// The pages' content, in the order the report has always had; the sections a study does not
// use are left out.
void addReportContent(PagedDocument &document, const ReportBody &body) {
    const Job &job = body.job;
    const ArrayDimensions dimensions = job.loggerArray.dimensions();
    const ContourSettings settings = body.jobSettings.contour();
    const std::string &description = body.jobSettings.layout.projectDescription;
    document.addTitle(std::string(text::MAPPING_REPORT_TITLE));
    if (!description.empty())
        document.addSubtitle(description);
    document.addFacts(body.facts);
    addResult(document, body.run);
    addSignatures(document, job);

    document.newPage();
    document.addHeading(std::string(text::STATISTICS_HEADING));
    document.addTable(body.positions);
    if (!job.exclusions.empty())
        addExclusions(document, job);
    if (job.calibration())
        addCalibration(document, job, body.run);
    if (!job.alarmRules.empty())
        addAlarms(document, body.run, job.alarmRules);
    addDataCheck(document, body.suspects, body.dataCheck);
    addMaps(document, body.maps, dimensions, settings);
    addExtremeSets(document, job.setList, body.extremes, dimensions, settings);
    if (body.qualification)
        addQualification(document, *body.qualification, job.loggerArray);
    if (!job.events.empty())
        addEvents(document, job, body.eventFigures);
    addTimeSeries(document, job, body.jobSettings, body.run.statistics);
    if (body.probes)
        addProbes(document, job, body.run.statistics, *body.probes, settings);
    if (body.mapCheck)
        addMapCheck(document, job, *body.mapCheck, *body.threshold);
    addLayout(document, body);
    addChangeLog(document, job.changeLog);
    addManifest(document, *body.manifest);
}

// The qualification figures, the events' figures, the sources' manifest and the settings of
// the map check and the data check: a failed outcome says which could not be had.
CommandOutcome gatherSections(ReportBody &body, platform::Host &host,
                              const std::string &settingsText) {
    const Job &job = body.job;
    // The qualification section only when a qualification setting is given, the events
    // section only when there are events: a report of neither reads as it always did.
    if (hasQualificationSettings(job)) {
        QualificationRun computed = calculateQualification(job, body.jobSettings, host);
        if (computed.outcome.kind != CommandOutcome::Kind::Completed)
            return computed.outcome;
        body.qualification = std::move(computed.qualification);
    }
    body.eventFigures =
        eventOutcomes(job.loggerArray, job.events, body.run.statistics.finish, body.run.settings);
    JobSources sources = jobSources(job);
    if (!sources.unreadable.empty()) {
        const std::string message = text::format(text::SOURCE_UNREADABLE, sources.unreadable);
        host.messageBox(message, std::string(text::MAPPING_REPORT_CAPTION));
        return CommandOutcome::failed(message);
    }
    body.manifest = reportManifest(std::move(sources.sources), settingsText,
                                   resultTexts(job, body.jobSettings, body.run));
    const ThresholdRun threshold = readThreshold(job, host);
    if (threshold.outcome.kind != CommandOutcome::Kind::Completed)
        return threshold.outcome;
    body.threshold = threshold.threshold;
    const DataCheckSettingsReading dataCheck = readDataCheckSettings(job);
    if (dataCheck.problem != DataCheckProblem::None) {
        const std::string problem(problemText(dataCheck.problem));
        host.messageBox(problem, std::string(text::DATA_CHECK_CAPTION));
        return CommandOutcome::failed(problem);
    }
    body.dataCheck = dataCheck.settings;
    return CommandOutcome::completed();
}

} // namespace

CommandOutcome printMappingReport(const Job &job, const JobSettings &jobSettings,
                                  platform::Host &host, platform::PrintTarget &printer, double now,
                                  const std::string &settingsText) {
    // A report of no readings would certify a study that never took place.
    if (!hasReadings(job.loggerArray)) {
        host.messageBox(std::string(text::NO_DATA_LOADED),
                        std::string(text::MAPPING_REPORT_CAPTION));
        return CommandOutcome::failed(text::NO_DATA_LOADED);
    }
    // Asked between the stages that take time, and once the document is printed: a cancel
    // then prints no more, and the caller keeps no file of what was printed.
    const std::unique_ptr<platform::Progress> progress =
        host.startProgress(text::MAPPING_REPORT_CAPTION);
    const auto cancelledAt = [&progress](std::uint64_t stage) {
        return !progress->step(stage, REPORT_STAGES);
    };
    const StatisticsRun run = calculateStatistics(job, jobSettings, host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    if (cancelledAt(1))
        return CommandOutcome::cancelled();
    // A span that runs backwards holds no reading: the report would certify an empty study.
    if (*jobSettings.dataFilter.start > *jobSettings.dataFilter.finish) {
        host.messageBox(std::string(text::START_AFTER_FINISH),
                        std::string(text::MAPPING_REPORT_CAPTION));
        return CommandOutcome::failed(text::START_AFTER_FINISH);
    }
    ReportBody body{job, jobSettings, run};
    const CommandOutcome gathered = gatherSections(body, host, settingsText);
    if (gathered.kind != CommandOutcome::Kind::Completed)
        return gathered;
    if (cancelledAt(2))
        return CommandOutcome::cancelled();

    body.facts = titleFacts(job, jobSettings, run);
    body.positions = statisticsTable(run.statistics);
    body.suspects = dataCheckTable(job, body.dataCheck);
    body.maps = statisticMaps(run.statistics);
    body.extremes = extremeSets(job.setList);
    const ArrayDimensions dimensions = job.loggerArray.dimensions();
    if (dimensions.rows > 0 && dimensions.columns > 0)
        body.grid = arrayTable(job.loggerArray);
    body.singular = singularTable(job.loggerArray);
    // Each only when asked for, so that the report is otherwise as it always was.
    if (job.probeCount > 0)
        body.probes = suggestProbesFor(job, run.statistics, job.probeCount);
    if (body.threshold)
        body.mapCheck = checkMap(job.setList, job.loggerArray);
    if (cancelledAt(3))
        return CommandOutcome::cancelled();

    const std::string &description = jobSettings.layout.projectDescription;
    printer.setDocumentXmp(manifestXmp(*body.manifest));
    printer.startDocument(std::string(text::MAPPING_REPORT_TITLE));
    const PagedDocument::Footer footer = PagedDocument::printedFooter(
        now, description.empty() ? std::string(text::MAPPING_REPORT_TITLE) : description);
    PagedDocument::print(printer, footer,
                         [&](PagedDocument &document) { addReportContent(document, body); });
    printer.endDocument();
    return cancelledAt(REPORT_STAGES) ? CommandOutcome::cancelled() : CommandOutcome::completed();
}

} // namespace zqar
