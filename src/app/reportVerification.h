#pragma once
// Checking a mapping report against what it was made from (core/integrity/verifyReport.h):
// the sources found again and hashed, then the settings and the results computed again from
// them on a window of its own on the in-memory backend, so the job on show stays as it is.

#include "core/integrity/verifyReport.h"
#include "platform/CommandOutcome.h"

#include <string>

namespace zqar {

namespace platform {
class Host;
}

// The recomputation: the log files copied into a folder of their own and loaded with the
// recorded settings (the layout's first, Update Layout, the cells, Load Files, then the rest),
// or the report file the records were taken from loaded and the recorded settings put over
// it; the calibration file and the events files read as found; the recorded alarm rules,
// exclusions, events (in place of the events files' when any are recorded) and excluded phases
// put in; then the settings text and the result texts as a report would record them. Nothing when a
// source is missing or refused, the records' sources are of both kinds, or a record was imported.
Recomputed recomputeReport(const Manifest &manifest, const std::vector<SourceCheck> &sources);

// The whole check of a report file, sources looked for in sourcesFolder (empty: beside it).
Verification verifyReportFile(const std::string &pdfPath, const std::string &sourcesFolder);

// The window's "Verify Report...": the open dialog for the PDF, the folder dialog for its
// sources (cancelled: beside the report), then the check's lines in a message box. Completes
// when the report is verified.
CommandOutcome verifyReportWithDialogs(platform::Host &host);

} // namespace zqar
