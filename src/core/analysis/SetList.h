#pragma once
// The sets of the last calculation in the order they were made, and the index of the set
// that the graph and the matrix show. Both display pages move the same index.

#include "core/analysis/TemperatureSet.h"

#include <memory>
#include <vector>

namespace zqar {

class SetList {
public:
    void clear() {
        sets.clear();
        currentSet = 0;
    }
    void append(std::unique_ptr<TemperatureSet> set) { sets.push_back(std::move(set)); }
    void reserve(std::size_t count) { sets.reserve(count); }
    int count() const { return static_cast<int>(sets.size()); }
    // The set at an index, or null when the list ends before it.
    const TemperatureSet *at(int index) const {
        return index >= 0 && index < count() ? sets[static_cast<std::size_t>(index)].get()
                                             : nullptr;
    }
    const TemperatureSet *current() const { return at(currentSet); }

    // The navigation of the "1", "<<", ">>" and "L" buttons. previous and next answer
    // whether they moved.
    void first() { currentSet = 0; }
    bool previous() {
        if (currentSet <= 0)
            return false;
        --currentSet;
        return true;
    }
    bool next() {
        if (currentSet >= count() - 1)
            return false;
        ++currentSet;
        return true;
    }
    // An empty list keeps index 0: there is no set to point at.
    void last() { currentSet = count() > 0 ? count() - 1 : 0; }

    int currentSet = 0;

private:
    std::vector<std::unique_ptr<TemperatureSet>> sets;
};

} // namespace zqar
