#pragma once
// A matrix of positions x reading instants: the readings of every position of an array at a
// list of times, as the probe suggestion fits them. The calculated sets give one
// (instantsFromSets in probes.h), and so do the qualification figures (qualificationInstants
// in qualification.h). A plain value; whoever makes it owns it.

#include <cstddef>
#include <vector>

namespace zqar {

// One row per instant with a value for every position (in the order of
// MappingStatistics::positions: cells row by row, then the singular slots), NO_VALUE where a
// position has none.
struct ReadingInstants {
    std::size_t positionCount = 0;
    std::vector<double> times;  // day numbers, one per instant
    std::vector<double> values; // instant by instant, positionCount values each

    explicit ReadingInstants(std::size_t positions = 0) : positionCount(positions) {}
    std::size_t count() const { return times.size(); }
    // Appends an instant; row holds positionCount values (missing ones are NO_VALUE, extra
    // ones are dropped).
    void add(double time, const std::vector<double> &row);
    double at(std::size_t instant, std::size_t position) const {
        return values[instant * positionCount + position];
    }
};

} // namespace zqar
