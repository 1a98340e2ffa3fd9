#pragma once
// Undo and Redo of the user's edits, kept as whole states rather than as operations: every
// setting as the pages and the job hold it and every layout cell, with the dimensions of the
// layout the cells belong to. Putting a state back is then one plain copy, and a state taken
// after Undo equals the one taken before the edit. The main window owns the one history; it
// takes a state after each edit and puts the answered one back.

#include "core/data/LoggerArray.h"
#include "core/integrity/Manifest.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zqar {

struct EditState {
    ArrayDimensions dimensions;       // of the layout, as the last Update Layout left it
    std::vector<SettingValue> values; // the settings in the table's order, then the cells
};

bool operator==(const EditState &a, const EditState &b);
inline bool operator!=(const EditState &a, const EditState &b) { return !(a == b); }

class EditHistory {
public:
    // The oldest steps go beyond this many; a large layout's state holds thousands of cells.
    static constexpr std::size_t DEPTH = 100;

    // Starts afresh from the state: nothing to undo or to redo.
    void reset(EditState state);
    // The state after an edit. When it differs from the last one, the last becomes the step
    // Undo goes back to and what was undone can no longer be redone. Answers whether it was a
    // new step.
    bool note(EditState state);
    // The state to put back, after noting now (an edit not yet noted is the first undone);
    // none when there is nothing to go back to.
    std::optional<EditState> undo(EditState now);
    // The state an Undo left, to put back again; none after a new edit or when nothing was
    // undone.
    std::optional<EditState> redo(EditState now);

    bool canUndo() const { return !undoSteps.empty(); }
    bool canRedo() const { return !redoSteps.empty(); }
    // The state last noted or put back.
    const EditState &current() const { return present; }

private:
    EditState present;
    std::vector<EditState> undoSteps; // oldest first
    std::vector<EditState> redoSteps; // the last undone at the back
};

} // namespace zqar
