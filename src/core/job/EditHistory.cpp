#include "core/job/EditHistory.h"

#include <utility>

namespace zqar {

bool operator==(const EditState &a, const EditState &b) {
    const ArrayDimensions &da = a.dimensions;
    const ArrayDimensions &db = b.dimensions;
    if (da.rows != db.rows || da.columns != db.columns || da.singularCount != db.singularCount ||
        a.values.size() != b.values.size())
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i)
        if (a.values[i].name != b.values[i].name || a.values[i].value != b.values[i].value)
            return false;
    return true;
}

void EditHistory::reset(EditState state) {
    present = std::move(state);
    undoSteps.clear();
    redoSteps.clear();
}

bool EditHistory::note(EditState state) {
    if (state == present)
        return false;
    undoSteps.push_back(std::move(present));
    if (undoSteps.size() > DEPTH)
        undoSteps.erase(undoSteps.begin());
    redoSteps.clear();
    present = std::move(state);
    return true;
}

std::optional<EditState> EditHistory::undo(EditState now) {
    note(std::move(now));
    if (undoSteps.empty())
        return std::nullopt;
    redoSteps.push_back(std::move(present));
    present = std::move(undoSteps.back());
    undoSteps.pop_back();
    return present;
}

std::optional<EditState> EditHistory::redo(EditState now) {
    // An edit made since the Undo is a new branch: there is nothing to redo on it.
    if (note(std::move(now)) || redoSteps.empty())
        return std::nullopt;
    undoSteps.push_back(std::move(present));
    present = std::move(redoSteps.back());
    redoSteps.pop_back();
    return present;
}

} // namespace zqar
