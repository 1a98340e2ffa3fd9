#pragma once
// The File Selection page's log file commands: Load Files, Browse and Copy Files.

#include "core/job/Prefill.h"
#include "platform/CommandOutcome.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

class FileSelectionPage;

// Binds buttons 1027, 1006 and 1028.
void bindLogFileCommands(FileSelectionPage &page);

struct LoadFilesOptions {
    // The Data Filter page's "Show singular as text": a singular logger placed by its
    // comment lines then leaves the temperature range that Load Files offers alone.

    bool singularAsText = false;
    // The files are read on this many threads (0: one per hardware thread) and placed in the
    // order of the scan, so the result is the same for every thread count.
    unsigned threads = 0;
    // Lists the log files of the data file directory by name; logFileNames when empty.
    std::function<std::vector<std::string>(const std::string &directory)> listLogFiles;
};

struct LoadFilesResult {
    CommandOutcome outcome;
    std::optional<Prefill> prefill; // what the Data Filter page takes when files were placed
};

// The ".dta" files of a directory in ascending byte order of their names, so a load places
// the same files the same way on every file system. Folders and other non-files are left
// out: they have nothing to read, and an unreadable record could still match a cell. An empty
// directory text lists nothing.
std::vector<std::string> logFileNames(const std::string &directory);

// Empties the job's positions and sets, scans the data file directory and places every log
// file that passes the filters, by serial number or by the positions in its comment lines.
// Fails only on a project date it cannot read; the count of files not loaded is for
// information.
LoadFilesResult loadFiles(FileSelectionPage &page, const LoadFilesOptions &options);

// Takes the directory of a log file chosen in the open dialog as the data file directory.
CommandOutcome browse(FileSelectionPage &page);

// Copies the log file of every placed record into a folder the user chooses. Completes however
// many files it copied: its message says how many.
CommandOutcome copyFiles(FileSelectionPage &page);
// The copying and its message, for a destination chosen already. Answers the count of copies.
int copyFilesTo(FileSelectionPage &page, const std::string &destination);

} // namespace zqar
