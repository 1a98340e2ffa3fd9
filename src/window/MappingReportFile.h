#pragma once
// The mapping report as an A4 PDF file, for the window's "Mapping Report..." and the batch
// tool's --mapping-report.

#include "platform/CommandOutcome.h"

#include <string>

namespace zqar {

class MainWindow;

// Prints the report into a temp file beside path, which replaces path once the document is
// complete. A failure shows its message box and leaves path as it was.
CommandOutcome writeMappingReportPdf(MainWindow &window, const std::string &path);

// The window's command: the save dialog for the PDF name, then the report.
CommandOutcome saveMappingReport(MainWindow &window);

} // namespace zqar
