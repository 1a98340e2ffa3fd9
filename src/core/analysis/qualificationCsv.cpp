#include "core/analysis/qualificationCsv.h"

#include "core/analysis/eventFigures.h"
#include "core/analysis/qualification.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/numbers.h"
#include "resources/qualificationTexts.h"
#include "resources/strings.h"

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
constexpr int MINUTE_DECIMALS = 2;
constexpr std::size_t POSITION_COLUMNS = 6; // the fields of the positions' header

std::string none() { return std::string(text::NO_LOGGER); }

std::string temperature(double value) { return formatFixed(value, TEMPERATURE_DECIMALS); }

std::string temperature(const std::optional<double> &value) {
    return value ? temperature(*value) : none();
}

std::string minutes(const TimeFigure &figure, std::string_view otherwise) {
    return figure.found ? formatFixed(figure.minutes, MINUTE_DECIMALS) : std::string(otherwise);
}

} // namespace

std::vector<FigureRow> qualificationFigures(const Qualification &q) {
    const bool computed = q.problem == QualificationProblem::None;
    auto figure = [computed](double value) { return computed ? temperature(value) : none(); };
    std::string stabilisation = none();
    if (computed && q.stabilisation)
        stabilisation = minutes(*q.stabilisation, text::NOT_REACHED);
    std::string toleranceClass = none();
    if (computed && q.setPoint)
        toleranceClass = q.toleranceClass ? std::to_string(*q.toleranceClass)
                                          : std::string(text::NO_TOLERANCE_CLASS);
    return {
        {text::UNIFORMITY_MAXIMUM_DEVIATION, figure(q.maximumDeviationFromReference),
         text::UNIFORMITY_MAXIMUM_DEVIATION_DEFINITION},
        {text::UNIFORMITY_MEAN_SPREAD, figure(q.meanSpread),
         text::UNIFORMITY_MEAN_SPREAD_DEFINITION},
        {text::STABILITY, figure(q.stability), text::STABILITY_DEFINITION, true},
        {text::OVERALL_VARIATION, figure(q.overallVariation), text::OVERALL_VARIATION_DEFINITION},
        {text::SET_POINT_DEVIATION, computed ? temperature(q.setPointDeviation) : none(),
         text::SET_POINT_DEVIATION_DEFINITION},
        {text::STABILISATION_TIME, stabilisation, text::STABILISATION_TIME_DEFINITION},
        {text::TOLERANCE_CLASS, toleranceClass, text::TOLERANCE_CLASS_DEFINITION},
    };
}

std::vector<std::string> qualificationPositionRow(const PositionQualification &p) {
    std::vector<std::string> row{p.position};
    if (!p.placed) {
        row.resize(POSITION_COLUMNS, none());
        return row;
    }
    row.push_back(p.logger);
    if (p.instants <= 0) {
        row.resize(POSITION_COLUMNS, none());
        return row;
    }
    row.push_back(temperature(p.mean));
    row.push_back(temperature(p.spread()));
    row.push_back(temperature(p.deviationFromReference));
    row.push_back(temperature(p.deviationFromSetPoint));
    return row;
}

std::string qualificationCsv(const Qualification &q) {
    std::string csv(text::QUALIFICATION_FIGURES_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const FigureRow &row : qualificationFigures(q))
        appendCsvLine(csv, {std::string(row.name), row.value, std::string(row.definition)});
    csv += CSV_LINE_END;
    csv += text::QUALIFICATION_POSITIONS_CSV_HEADER;
    csv += CSV_LINE_END;
    for (const PositionQualification &position : q.positions)
        appendCsvLine(csv, qualificationPositionRow(position));
    return csv;
}

std::vector<std::string> eventFigureRow(const EventOutcome &outcome) {
    const EventFigure &figure = outcome.figure;
    std::vector<std::string> row{eventName(outcome.event), eventTimeText(outcome.event.time)};
    switch (figure.kind) {
    case EventFigureKind::None:
        row.insert(row.end(), {none(), none(), none()});
        return row;
    case EventFigureKind::RecoveryTime:
        row.push_back(std::string(text::RECOVERY_TIME));
        row.push_back(figure.limited ? minutes(figure.time, text::NOT_RECOVERED) : none());
        row.push_back(none());
        return row;
    case EventFigureKind::HoldTime:
        row.push_back(std::string(text::HOLD_TIME));
        row.push_back(figure.limited ? minutes(figure.time, text::HELD) : none());
        row.push_back(figure.time.found ? figure.position : none());
        return row;
    }
    return row;
}

std::string eventFiguresCsv(const std::vector<EventOutcome> &outcomes) {
    return csvTable(text::EVENT_FIGURES_CSV_HEADER, outcomes, eventFigureRow);
}

} // namespace zqar
