#pragma once
// The mapping report as an A4 PDF file, for the window's "Mapping Report..." and the batch
// tool's --mapping-report.

#include "pages/JobView.h"
#include "platform/CommandOutcome.h"

#include <string>

namespace zqar {

// Prints the report into a temp file beside path, which replaces path once the document is
// complete. A failure shows its message box and leaves path as it was.
CommandOutcome writeMappingReportPdf(const JobView &view, const std::string &path);

// The window's command: a wrong limit named at once, then the save dialog for the PDF name,
// then the report.
CommandOutcome saveMappingReport(const JobView &view);

} // namespace zqar
