#pragma once
// Why positions stay empty after Load Files. The files of the scan that placed nothing leave
// a trace; once the scan is done, every empty position gets a note in the job's logger array
// saying why, which its properties show, and the layout tables keep the serial numbers the user
// typed for them.

#include "core/data/LoggerArray.h"

#include <string>
#include <vector>

namespace zqar {

class FileSelectionPage;
struct PlacementRules;

// A file of the scan that may have placed nothing, and why.
struct SkippedFile {
    NotLoaded reason = NotLoaded::Unreadable; // Unreadable, NoSamples or FilteredOut
    std::string path;
    std::string stem;       // the file's name without its extension
    std::string loggerName; // as far as the file was read; empty when nothing was
    // The positions its comment lines name, by channel, as read before any emptying.
    CommentPosition positions[2];
};

// Notes why each empty position of the array is empty. In serial-number mode the cell's text
// names the logger: a skipped file with that logger name (or, when it gave none, that file
// name) tells the reason, else no file was found. In comment-field mode a skipped file whose
// comment lines name the position tells it. Later files of the scan speak last.
void noteEmptyPositions(FileSelectionPage &page, const PlacementRules &rules,
                        const std::vector<SkippedFile> &skipped);

// Writes "-" into the table cells of the empty positions, except, in serial-number mode, a cell
// that holds a serial number: the user typed it, and a project saved next keeps it.
void markEmptyPositions(FileSelectionPage &page, const PlacementRules &rules);

// The line that says why, for the properties of an empty position.
std::string notLoadedText(const EmptyPosition &why);

} // namespace zqar
