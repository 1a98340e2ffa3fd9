#pragma once
// Scans over the readings of several records by time, for the figures that ask when readings
// settle within a band or first leave it: stabilisation, recovery and hold times. Readings are
// the samples that are not NO_VALUE; times are compared rounded to the second.

#include <cstdint>
#include <vector>

namespace zqar {

class LogFile;

// The readings from the rounded second of from through lastSecond, both included. through is a
// day number at or after lastSecond that bounds the search.
struct ReadingRange {
    double from = 0.0;
    double through = 0.0;
    int64_t lastSecond = 0;
};

// A band, both edges included; an infinite edge is no edge.
struct Band {
    double lower = 0.0;
    double upper = 0.0;
    bool holds(double value) const { return lower <= value && value <= upper; }
};

struct ReadingTime {
    bool found = false;
    std::size_t record = 0; // index into the records given
    double time = 0.0;      // day number
    int64_t second = 0;     // rounded
};

// The earliest reading time t such that every reading of every record in the range from t
// (included) on lies within the band; not found when the last reading does not, or there is
// none. Null records are skipped.
ReadingTime settledFrom(const std::vector<const LogFile *> &records, const ReadingRange &range,
                        const Band &band);

// The first reading in the range outside the band, the earlier record on a tie.
ReadingTime firstOutside(const std::vector<const LogFile *> &records, const ReadingRange &range,
                         const Band &band);

// The reading range from a time through the end of a span: lastSecond is the span's.
ReadingRange rangeThrough(double from, double finish);
// The reading range from a time up to a later time, that one left out.
ReadingRange rangeBefore(double from, double before);

} // namespace zqar
