#pragma once
// The batch tool's options that need the painter backend: the picture size, PNG export of the
// graph, and the two print commands into PDF files.

namespace zqar {

class BatchTool;

// --size WxH, --export-png FILE, --print-graph FILE.pdf, --print-matrix FILE.pdf.
void registerDrawingOptions(BatchTool &tool);

} // namespace zqar
