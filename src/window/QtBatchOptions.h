#pragma once
// The batch tool's options that need the painter backend: the picture size, PNG export of the
// graph, the two print commands and the mapping report into PDF files.

namespace zqar {

class BatchTool;

// --size WxH, --export-png FILE, --print-graph FILE.pdf, --print-matrix FILE.pdf,
// --print-statistics FILE.pdf, --mapping-report FILE.pdf and the other drawing options.
void registerDrawingOptions(BatchTool &tool);

} // namespace zqar
