#pragma once
// Where a file's records go in the job's logger array: by the serial numbers in the layout
// tables, or by the positions in the file's comment lines. Load Files and Import place through
// this one function, so a log file and an imported table with the same name or the same
// comment lines land in the same cells. Every position that names the file gets a record of
// its own, and the record's label goes into the table cell.

#include "core/data/LogFile.h"
#include "core/data/LoggerArray.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class FileSelectionPage;
struct Prefill;

struct PlacementRules {
    ArrayDimensions counts;
    bool bySerialNumber = false; // "Use Serial Numbers"; otherwise the comment lines
    // The Data Filter page's "Show singular as text": a singular logger placed by its comment
    // lines then leaves the temperature range alone.
    bool singularAsText = false;
};

// One file's records. ready[k - 1] holds a record of channel k made ahead of placement, or
// null. The ready record of channel 1 (else the first one) gives the comment lines that say
// where the file goes; each channel's logger name is its ready record's, else that one's. A
// position of a channel with no ready record left gets a copy of the record that channel
// placed last, else what read(k) makes; read answers null when the file has no channel k.
// Cells name channels up to `channels` ("NAME,k").
struct FileRecords {
    std::vector<std::unique_ptr<LogFile>> ready;
    std::function<std::unique_ptr<LogFile>(int channel)> read;
    int channels = 2;
};

// Places the file's records in the job's array and writes their labels into the layout
// tables; widens the prefill's range by each record placed (a singular one by its comment
// lines only when the rules allow). Answers how many positions it filled.
int placeFileRecords(FileSelectionPage &page, const PlacementRules &rules, FileRecords records,
                     Prefill &prefill);

// The channel a layout cell names, letter case aside: 1 for "NAME" and "NAME,1" with channel 1's
// name, k for "NAME,k" with channel k's name (names[k - 1]); 0 for none. An empty name and "-"
// name no cell.
int channelNamed(std::string_view cell, const std::vector<std::string> &names);

// Whether a position from comment lines lies inside the layout: an array cell, or a singular
// slot (row -1), counted from 1.
bool fitsLayout(const CommentPosition &at, const ArrayDimensions &counts);

} // namespace zqar
