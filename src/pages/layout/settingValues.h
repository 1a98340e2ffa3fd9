#pragma once
// The settings as a list of names and stored values: every setting of the table in its order,
// then the cells of the two layout tables under their project keys ("R1C1", "S0"). The
// manifest of a mapping report records the ones that change a figure; the change log compares
// the whole list before and after a command; checking a report puts a recorded list back.

#include "core/integrity/Manifest.h"
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

} // namespace zqar
