#pragma once
// The File Selection page's log file commands: Load Files, Browse and Copy Files.

#include <string>

namespace zqar {

class FileSelectionPage;

// Binds buttons 1027, 1006 and 1028.
void bindLogFileCommands(FileSelectionPage &page);

// Scans the data file directory and places every log file that passes the filters, by serial
// number or by the positions in its comment lines; then prefills the Data Filter page.
void loadFiles(FileSelectionPage &page);

// Takes the directory of a log file chosen in the open dialog as the data file directory.
void browse(FileSelectionPage &page);

// Copies the log file of every placed record into a folder the user chooses.
void copyFiles(FileSelectionPage &page);
// The copying and its message, for a destination chosen already. Answers the count of copies.
int copyFilesTo(FileSelectionPage &page, const std::string &destination);

} // namespace zqar
