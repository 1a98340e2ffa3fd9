#pragma once
// The calibration commands: a certificate file read into the job's table (or refused with its
// line, the table in use kept), the table written back, and the status of each placed
// logger's certificate over the Data Filter span. The Calibration window, the project file and
// the batch tool call these; a failure shows its message box (caption "Calibration").

#include "core/analysis/calibration.h"
#include "core/job/JobSettings.h"
#include "platform/CommandOutcome.h"

#include <string>
#include <vector>

namespace zqar {

class Job;

namespace platform {
class Host;
}

// Reads the file and makes its table the job's (the job tells CALIBRATION). A file that
// cannot be read or holds a bad row shows why and leaves the job's table as it was.
CommandOutcome loadCalibrationFile(Job &job, platform::Host &host, const std::string &path);
// The table as a calibration file, which reads back to the same table.
CommandOutcome saveCalibrationFile(platform::Host &host, const CalibrationTable &table,
                                   const std::string &path);

struct CalibrationStatusRun {
    CommandOutcome outcome;
    std::vector<CalibrationRow> rows; // one per placed record, when the outcome is completed
};
// Every placed record's certificate over the span from the Data Filter settings (their raw
// readings against its range); without a table every logger has no certificate.
CalibrationStatusRun calibrationStatus(const Job &job, const JobSettings &settings,
                                       platform::Host &host);
CommandOutcome writeCalibrationCsv(const Job &job, const JobSettings &settings,
                                   platform::Host &host, const std::string &path);

} // namespace zqar
