#pragma once
// Load Project and Save Project of the File Selection page: its settings and the texts of its
// two layout tables in an INI file (".ttp"), section "ZQARVemro"; the job's events and
// excluded phases, and its change log (core/integrity/ChangeLog.h), each in a section of its
// own that older readers skip.

#include "platform/CommandOutcome.h"

#include <string>

namespace zqar {

class FileSelectionPage;

// Binds buttons 1029 and 1030 to the two commands.
void bindProjectCommands(FileSelectionPage &page);

// The commands as the buttons run them: a file dialog, then the file.
CommandOutcome loadProject(FileSelectionPage &page);
CommandOutcome saveProject(FileSelectionPage &page);

// The file part of the commands. Both show their failure message on the page.
CommandOutcome loadProjectFile(FileSelectionPage &page, const std::string &path);
CommandOutcome saveProjectFile(FileSelectionPage &page, const std::string &path);

} // namespace zqar
