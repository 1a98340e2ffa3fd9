#pragma once
// The qualification figures and the events' figures as rows of texts and as CSV text, for the
// batch tool's --qualification-csv and --events-csv and for the report and the Statistics
// window, which show the same texts. Temperatures and minutes with two decimals, "-" where a
// figure needs a setting that was not given. Comma-separated, "\r\n" after every line.

#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct Qualification;
struct PositionQualification;
struct EventOutcome;

// A figure with the formula it stands for.
struct FigureRow {
    std::string_view name;
    std::string value;
    std::string_view definition;
    bool plusMinus = false; // a half range: the report writes "+/-" before the value
};

// Uniformity (maximum deviation from reference), uniformity (mean spread), stability, overall
// variation, set-point deviation, stabilisation time and tolerance class, in that order.
std::vector<FigureRow> qualificationFigures(const Qualification &qualification);

// Position, logger, mean, spread, deviation from the reference, deviation from the set point.
std::vector<std::string> qualificationPositionRow(const PositionQualification &position);

// "Figure,Value,Definition" and the figures, an empty line, then
// "Position,Logger,Mean,Spread,Deviation From Reference,Deviation From Set Point" and a row per
// position.
std::string qualificationCsv(const Qualification &qualification);

// Event, time, figure, value, position: "door closed", its time, "recovery time", "12.00", "-".
std::vector<std::string> eventFigureRow(const EventOutcome &outcome);

// "Event,Time,Figure,Value,Position" and a row per event.
std::string eventFiguresCsv(const std::vector<EventOutcome> &outcomes);

} // namespace zqar
