#pragma once
// The settings as a list of names and stored values: every setting of the table in its order,
// then the cells of the two layout tables under their project keys ("R1C1", "S0"). The
// manifest of a mapping report records the ones that change a figure; the change log compares
// the whole list before and after a command; checking a report puts a recorded list back.

#include "core/integrity/Manifest.h"
#include "core/job/EditHistory.h"
#include "pages/layout/settings.h"

#include <vector>

namespace zqar {

class FileSelectionPage;

enum class SettingChoice {
    All,
    // The settings whose Setting::changesNumbers is set (less the empty ones not recorded
    // when empty), and the cells.
    ChangingNumbers,
};

// The values as the controls, the job and the layout tables hold them now; the cells within
// the array's present dimensions.
std::vector<SettingValue> settingValues(const SettingPlaces &places, FileSelectionPage &page,
                                        SettingChoice choice);

// Puts the values of settings that live on page (a name the table does not know is skipped).
void applySettingValues(const SettingPlaces &places, SettingPage page,
                        const std::vector<SettingValue> &values);
// Puts the cell values into the layout tables, where the present layout has such a cell.
void applyCellValues(FileSelectionPage &page, const std::vector<SettingValue> &values);

// Every setting and cell as they are now, with the layout's dimensions: what Undo goes back to.
EditState editState(const SettingPlaces &places, FileSelectionPage &page);
// Puts a state back into the controls, the job and the tables. A state of other dimensions
// shapes the layout first, as Update Layout does (which takes the records from the array).
void restoreEditState(const SettingPlaces &places, FileSelectionPage &page, const EditState &state);
// Whether the two states differ in what a report or a project keeps: the settings the job
// alone keeps (the Statistics window's) do not count.
bool differInSavedValues(const EditState &a, const EditState &b);

} // namespace zqar
