#pragma once
// The time-series chart: every placed logger's samples over a time range, optional lower and
// upper limits as level lines, and the current set's interval shaded. Up to a dozen positions
// are drawn as lines, one colour each; more are drawn as their envelope (a band from the
// smallest to the largest reading at each time, and the mean of all of them as a line), with
// the hot and cold spots and the positions the user picked as lines over it. The legend names
// what is drawn and fits beside the plot. It draws on any drawing context, so the window, the
// batch tool's PNG and a printout show the same picture.
//
// A year of minute samples is far more than a screen has pixel columns, so each series is
// reduced to one vertical run per column from its smallest to its largest reading there: no
// excursion disappears, however short, and the drawing costs one run per column. Positions
// not drawn as lines only go into the envelope's columns, one pass over their readings.

#include "pages/presentation/timeSeriesColumns.h"
#include "platform/DrawingContext.h"
#include "platform/Geometry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class LogFile;
class Job;
struct JobSettings;
class SetList;

// Tick positions on an axis, all inside [from, to].
struct Ticks {
    std::vector<double> positions;
    double step = 0.0;
};

// Times (day numbers) from the step list 1, 2, 5, 10, 15, 30 minutes, 1, 2, 3, 6, 12 hours,
// 1, 2, 7, 14, 28, 91, 182, 364 days (and multiples of a year beyond): the smallest step whose
// ticks are at least minSpacing pixels apart over widthPixels. Ticks fall on whole multiples
// of the step: hours on the hour, days at midnight, weeks on Mondays.
Ticks timeTicks(double start, double finish, int widthPixels, int minSpacing);
// Temperatures with a step of 1, 2 or 5 x 10^k, ticks at least minSpacing pixels apart.
Ticks valueTicks(double low, double high, int heightPixels, int minSpacing);
// A time tick's text for that step: "14:30" under a day ("05-Nov" at midnight), "05-Nov"
// from a day on.
std::string timeTickText(double time, double step);

struct TimeSeriesLine {
    std::string label; // "R1C2 10231", "S1 10240"
    const LogFile *log = nullptr;
    std::string position; // "R1C2", "S1"; empty where the line is no array position
};

// More lines than this are drawn as their envelope with the picked ones over it.
constexpr std::size_t MOST_SEPARATE_LINES = 12;

// The warmest and the coldest line by the mean of their readings, as indices into the lines;
// none where no line has a reading.
struct TimeSeriesSpots {
    std::optional<std::size_t> warmest;
    std::optional<std::size_t> coldest;
};

// An event as the chart marks it: a labelled vertical line.
struct TimeSeriesEvent {
    double time = 0.0; // day number
    std::string label; // "door closed"
};

// A phase as the chart shades it, darker when its readings are left out of the statistics.
struct TimeSeriesPhase {
    std::string label; // the phase's name, with "(excluded)" when it is
    double start = 0.0;
    double finish = 0.0; // a phase not ended runs to the end of the range
    bool excluded = false;
};

struct TimeSeriesInput {
    std::vector<TimeSeriesLine> lines;
    double start = 0.0; // the time range shown, day numbers
    double finish = 0.0;
    std::optional<double> lowerLimit;
    std::optional<double> upperLimit;
    bool hasCurrentSet = false;
    double currentTime = 0.0; // the current set's time or interval start
    double currentSpan = 0.0; // days; 0 for a set at a time
    // The job's events in the order given and its phases; a chart without them is drawn as it
    // always was.
    std::vector<TimeSeriesEvent> events;
    std::vector<TimeSeriesPhase> phases;
    // The hot and cold spots; none: the chart finds them over its time range, which costs one
    // more pass over the readings.
    std::optional<TimeSeriesSpots> spots;
    // The lines drawn one by one (indices into lines); none: the default pick, every line up
    // to MOST_SEPARATE_LINES of them and the hot and cold spots beyond.
    std::optional<std::vector<std::size_t>> picked;
};

// Whether the chart draws the envelope of the lines.
bool drawsEnvelope(const TimeSeriesInput &input);
// The warmest and coldest line by the mean of their readings from input.start up to
// input.finish; a tie goes to the line that comes first.
TimeSeriesSpots findTimeSeriesSpots(const TimeSeriesInput &input);
// The lines the chart draws one by one, in the legend's order: the pick (or the default pick)
// without indices outside the lines or twice; over an envelope the hot spot first and the
// cold spot second, otherwise in the order of the lines.
std::vector<std::size_t> drawnLines(const TimeSeriesInput &input, const TimeSeriesSpots &spots);
// Whether a line's label holds the filter text, in any letter case; an empty or blank filter
// matches every line.
bool lineMatchesFilter(std::string_view label, std::string_view filter);

// Where the chart puts its plot inside the area it is given.
platform::Rect timeSeriesPlotArea(platform::DrawingContext &dc, const TimeSeriesInput &input,
                                  const platform::Rect &area);
// The time at pixel column x of the plot; x outside the plot is taken at its nearest edge.
double timeAtColumn(const TimeSeriesInput &input, const platform::Rect &plot, int x);
// The pixel column at which the chart draws a time (outside the plot for a time outside the
// range).
int columnAtTime(const TimeSeriesInput &input, const platform::Rect &plot, double time);
// The index of the event drawn nearest to column x within slop pixels; -1 when none is.
int eventNearColumn(const TimeSeriesInput &input, const platform::Rect &plot, int x, int slop);

// Draws the chart into area (which it fills white first).
void drawTimeSeries(platform::DrawingContext &dc, const TimeSeriesInput &input,
                    const platform::Rect &area);

// The colour of line i.
platform::Colour timeSeriesColour(std::size_t index);

// Every placed position in array order with its label, the Data Filter's Start and Finish
// Time (when either does not read, or the finish is not after the start, the range of the
// samples), the current set, the Statistics window's limits when they read by the rule of
// the statistics (otherwise none), and the job's events and phases.
TimeSeriesInput timeSeriesInput(const Job &job, const JobSettings &settings);

// The index of the set that holds time: the one whose interval [time, time + span) contains
// it, else the one nearest to it; -1 when there are no sets.
int setHoldingTime(const SetList &sets, double time);

} // namespace zqar
