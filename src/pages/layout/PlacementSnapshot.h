#pragma once
// What Load Files replaces before it knows whether it finishes: the job's records and sets,
// the cell texts of both layout tables, the page's status line and Copy Files' state. Taken
// when the load begins and put back when the user cancels it, so a cancelled load leaves the
// job as the user had it.

#include "core/analysis/SetList.h"
#include "core/data/LoggerArray.h"

#include <string>
#include <vector>

namespace zqar {

class FileSelectionPage;

class PlacementSnapshot {
public:
    // Takes the records and the sets out of the job, which keeps an empty array of the same
    // shape and no sets, and copies the rest.
    explicit PlacementSnapshot(FileSelectionPage &page);

    // Puts everything back and tells the job's listeners that the records and sets changed.
    void restore();

private:
    FileSelectionPage &page;
    LoggerArray records;
    SetList sets;
    std::vector<std::string> cells; // array cells row by row, then the singular slots
    std::string status;
    bool copyEnabled = false;
};

} // namespace zqar
