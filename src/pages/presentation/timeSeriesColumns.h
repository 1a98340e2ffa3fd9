#pragma once
// Readings reduced to the pixel columns of a chart. A year of minute samples is far more than a
// screen has columns, so each series becomes one extent per column (its smallest and largest
// reading there, and the first and last for joining the trace), and many series become one
// envelope: the smallest and largest reading of any series in each column, with the mean of
// all of them. Missing readings (NO_VALUE, or anything not a finite number) count nowhere;
// they only mark where a trace breaks.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zqar {

// One pixel column of one series: the samples whose times fall in it.
struct ColumnExtent {
    bool hasSamples = false; // holds at least one reading
    double minimum = 0.0;
    double maximum = 0.0;
    double first = 0.0; // the column's earliest reading
    double last = 0.0;  // and its latest
    double sum = 0.0;   // of its readings, in time order
    int32_t readings = 0;
    bool missing = false; // a missing reading falls in the column
    // A missing reading lies between the series' reading before this column and the column's
    // first reading: the trace breaks here instead of joining them.
    bool breakBefore = false;
};

// A reading, as opposed to a missing one.
bool isReading(double value);

// The sum and the number of the readings among count values.
struct ReadingSum {
    double sum = 0.0;
    int64_t readings = 0;
};
ReadingSum sumReadings(const double *values, std::size_t count);

// The sample indices at which the columns of the view [viewStart, viewEnd) begin, for samples
// i = 0 .. count-1 at firstTime + i * periodDays (day numbers); columns + 1 of them, so column
// c takes the samples [bounds[c], bounds[c + 1]): from the first at or after its left edge to
// the last before its right edge. A period of 0 or below puts every sample at firstTime. A
// view that is empty or not finite takes no samples at all.
std::vector<std::size_t> columnBounds(std::size_t count, double firstTime, double periodDays,
                                      double viewStart, double viewEnd, int columns);

// One pass over the samples of the columns given by bounds; out gets one extent per column.
void reduceColumns(const double *values, const std::vector<std::size_t> &bounds,
                   std::vector<ColumnExtent> &out);

// columnBounds and reduceColumns in one call.
void decimateColumns(const double *values, std::size_t count, double firstTime, double periodDays,
                     double viewStart, double viewEnd, int columns, std::vector<ColumnExtent> &out);

// One pixel column of many series.
struct EnvelopeColumn {
    double minimum = 0.0; // meaningful when readings > 0
    double maximum = 0.0;
    double sum = 0.0; // the series' column sums, added in the order the series came
    int64_t readings = 0;
    bool missing = false; // some series has a missing reading here

    double mean() const { return sum / static_cast<double>(readings); }
};

// Takes one series' extents into the envelope; the envelope starts as columns default
// EnvelopeColumn entries, one for each extent.
void addToEnvelope(std::vector<EnvelopeColumn> &envelope, const std::vector<ColumnExtent> &series);

} // namespace zqar
