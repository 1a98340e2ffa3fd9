#pragma once
// The readings of one temperature column in file order, kept compactly until the interval is
// known: the values in chunks that grow to a fixed size (so the last one wastes little and no
// chunk is ever copied to grow), the steps between their times as runs of equal steps (one run
// for a regular file). Told how many readings are still to come, the first chunk takes them
// all, and a file without missing readings then gives it as the samples without a copy. The
// importer owns one per temperature column.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zqar {

class Readings {
public:
    Readings();
    // Moving keeps the chunks where they are, so current stays right.
    Readings(Readings &&) = default;
    Readings &operator=(Readings &&) = default;
    Readings(const Readings &) = delete;
    Readings &operator=(const Readings &) = delete;

    // A reading at time (seconds). False, adding nothing, when the time does not come after the
    // last reading's.
    bool add(double value, int64_t time) {
        if (total == 0) {
            first = time;
        } else {
            const int64_t step = time - last;
            if (step <= 0)
                return false;
            if (step == runStep)
                ++runLength;
            else
                newRun(step);
        }
        if (current->size() == backed)
            makeRoom();
        current->push_back(value);
        ++total;
        last = time;
        return true;
    }

    // About how many more readings are to come: the readings so far and room for those go into
    // one chunk (its memory taken from the system only as they come). Meant for early on,
    // since the readings so far are copied.
    void expect(int64_t more);

    int64_t count() const { return total; }
    int64_t firstTime() const { return first; } // seconds; of the first reading
    int64_t lastTime() const { return last; }

    // The most frequent step between consecutive readings, the smaller on a tie; 0 for fewer
    // than two readings.
    int64_t interval() const;
    // The reading (counted from 0) that is not a whole number of intervals after the one
    // before, or -1 when there is none.
    int64_t offGrid(int64_t interval) const;
    // The samples of the grid from the first reading to the last.
    int64_t samples(int64_t interval) const { return (last - first) / interval + 1; }
    // The readings onto the grid of an interval that offGrid accepts, with missing readings
    // between them, each chunk let go once it is placed; the readings are gone afterwards.
    std::vector<double> takeOnGrid(int64_t interval, double missing);

private:
    struct Run {
        int64_t step = 0; // seconds
        int64_t count = 0;
    };
    void makeRoom();
    void newRun(int64_t step);
    // The runs with the one still growing.
    std::vector<Run> allRuns() const;

    std::vector<std::vector<double>> chunks; // the last one is being filled
    std::vector<double> *current = nullptr;  // the last chunk
    std::size_t backed = 0; // readings of the last chunk whose memory is taken already
    int64_t total = 0;
    int64_t first = 0;
    int64_t last = 0;
    std::vector<Run> runs; // without the one still growing
    int64_t runStep = 0;   // never a step: times rise
    int64_t runLength = 0;
};

} // namespace zqar
