#pragma once
// The time-series chart: every placed logger's samples over a time range as lines, one colour
// per position with a legend, optional lower and upper limits as level lines, and the current
// set's interval shaded. It draws on any drawing context, so the window, the batch tool's PNG
// and a printout show the same picture.
//
// A year of minute samples is far more than a screen has pixel columns, so each series is
// reduced to one vertical run per column from its smallest to its largest sample there: no
// excursion disappears, however short, and the drawing costs one run per column.

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

// One pixel column of one series: the samples whose times fall in it.
struct ColumnExtent {
    bool hasSamples = false; // readings, that is: missing readings (NO_VALUE) take no part
    double minimum = 0.0;
    double maximum = 0.0;
    double first = 0.0; // the column's earliest reading
    double last = 0.0;  // and its latest
    // A missing reading lies between the last reading of an earlier column and this column's
    // first: the line breaks there instead of joining them.
    bool gapBefore = false;
};

// Samples i = 0 .. count-1 at firstTime + i * periodDays (day numbers); the view
// [viewStart, viewEnd) split into `columns` equal columns. Column c takes the samples from the
// first at or after its left edge to the last before its right edge, found by index
// arithmetic. A period of 0 or below puts every sample at firstTime. out gets `columns`
// entries.
void decimateColumns(const double *values, std::size_t count, double firstTime, double periodDays,
                     double viewStart, double viewEnd, int columns, std::vector<ColumnExtent> &out);

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
};

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
