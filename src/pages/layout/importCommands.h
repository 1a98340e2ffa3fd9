#pragma once
// Import: the text tables other loggers' software exports, read with the job's four import
// settings and placed by the rules Load Files uses in the current mode. Unlike Load Files it
// keeps what the other cells hold, so log files and imported tables can be mixed.

#include "core/import/ImportSettings.h"
#include "core/import/textImport.h"
#include "core/job/Prefill.h"
#include "platform/CommandOutcome.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class FileSelectionPage;
class Job;

struct ImportFilesOptions {
    // The Data Filter page's "Show singular as text", as for Load Files.
    bool singularAsText = false;
    unsigned threads = 0; // files read at once (0: one per hardware thread)
};

struct ImportFilesResult {
    CommandOutcome outcome;
    int filesImported = 0;              // files from which a record was placed
    std::vector<ImportRefusal> refused; // in the order of the paths
    // What the Data Filter page takes, from every record the array holds, when a record was
    // placed.
    std::optional<Prefill> prefill;
};

// The message for the first import setting that is wrong; empty when all four read.
std::string_view importSettingMessage(ImportSettingProblem problem);

// The paths as the import reads them: a folder stands for its ".csv", ".txt" and ".tsv" files
// in the byte order of their names; a folder that cannot be read is kept, so it is refused as a
// file that cannot be read.
std::vector<std::string> importPaths(const std::vector<std::string> &paths);

// Reads the job's import settings once (a wrong one: its message with the caption "Import",
// and nothing changes), reads every file and places the records of each file that was not
// refused, replacing what those cells held. A placement drops the sets. Each refused file gets
// a message naming it and its line. The status line counts the files placed from. Fails when
// a setting is wrong or a file was refused; the files that could be read are placed all the
// same.
ImportFilesResult importFiles(FileSelectionPage &page, const std::vector<std::string> &paths,
                              const ImportFilesOptions &options);

} // namespace zqar
