#pragma once
// The File Selection page's log file commands: Load Files, Browse and Copy Files.

#include "platform/CommandOutcome.h"

#include <string>

namespace zqar {

class FileSelectionPage;

// Binds buttons 1027, 1006 and 1028.
void bindLogFileCommands(FileSelectionPage &page);

// Scans the data file directory and places every log file that passes the filters, by serial
// number or by the positions in its comment lines; then prefills the Data Filter page. Fails
// only on a project date it cannot read; the count of files not loaded is for information.
// The files are read on `threads` threads (0: one per hardware thread) and placed in the
// order of the scan, so the result is the same for every thread count.
CommandOutcome loadFiles(FileSelectionPage &page, unsigned threads = 0);

// Takes the directory of a log file chosen in the open dialog as the data file directory.
CommandOutcome browse(FileSelectionPage &page);

// Copies the log file of every placed record into a folder the user chooses. Completes however
// many files it copied: its message says how many.
CommandOutcome copyFiles(FileSelectionPage &page);
// The copying and its message, for a destination chosen already. Answers the count of copies.
int copyFilesTo(FileSelectionPage &page, const std::string &destination);

} // namespace zqar
