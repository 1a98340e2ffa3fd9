#pragma once
// The option groups of the batch tool. To add options: write a register function in your own
// source file that calls tool.addOption for each of them, declare it here, and call it from
// registerAllOptions (app/batchOptions.cpp). Options that need Qt live in zqar_pages; register
// those from app/main/batchMain.cpp instead, after the tool is made.

namespace zqar {

class BatchTool;

void registerAllOptions(BatchTool &tool);

// --load-report, --create-report, --set, --cell, --update-layout, --calculate-at,
// --calculate-averaged, --first, --previous, --next, --last, --export-csv.
void registerPageOptions(BatchTool &tool);

// --load-files, --import, --copy-files, --load-project, --save-project.
void registerFileOptions(BatchTool &tool);

// --statistics-csv, --set-summary-csv (--statistics-map draws, so it is a drawing option).
void registerStatisticsOptions(BatchTool &tool);

// --event, --events, --exclude-phase, --qualification-csv, --events-csv.
void registerQualificationOptions(BatchTool &tool);
// --verify-report, --verify-project, --reason.
void registerIntegrityOptions(BatchTool &tool);
// --suggest-probes, --map-check-csv, --compare-report.
void registerStudyOptions(BatchTool &tool);
// --calibration, --calibration-csv, --alarm-rule, --alarms-csv, --rolling-mkt-csv,
// --data-check-csv, --exclude.
void registerAuditOptions(BatchTool &tool);

} // namespace zqar
