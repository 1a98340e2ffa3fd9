#include "pages/analysis/calibrationCommands.h"

#include "core/job/Job.h"
#include "pages/analysis/hostOutcomes.h"
#include "platform/Host.h"
#include "resources/analysisTexts.h"
#include "resources/strings.h"

namespace zqar {

namespace {

CommandOutcome fail(platform::Host &host, std::string_view message) {
    return showFailure(host, message, text::CALIBRATION_CAPTION);
}

} // namespace

CommandOutcome loadCalibrationFile(Job &job, platform::Host &host, const std::string &path) {
    CalibrationRead read = readCalibrationFile(path);
    if (!read.table)
        return fail(host, read.problem);
    job.setCalibration(std::move(*read.table), InputFile{path, std::move(read.digest)});
    return CommandOutcome::completed();
}

CommandOutcome saveCalibrationFile(platform::Host &host, const CalibrationTable &table,
                                   const std::string &path) {
    return writeExport(host, path, calibrationFileText(table), text::CALIBRATION_CAPTION);
}

CalibrationStatusRun calibrationStatus(const Job &job, const JobSettings &settings,
                                       platform::Host &host) {
    CalibrationStatusRun run;
    const DataFilterSettings &span = settings.dataFilter;
    if (!span.start) {
        run.outcome = fail(host, text::START_FORMAT_MESSAGE);
        return run;
    }
    if (!span.finish) {
        run.outcome = fail(host, text::FINISH_FORMAT_MESSAGE);
        return run;
    }
    static const CalibrationTable NO_TABLE;
    const CalibrationTable *table = job.calibration();
    run.rows =
        calibrationRows(job.loggerArray, table ? *table : NO_TABLE, *span.start, *span.finish);
    return run;
}

CommandOutcome writeCalibrationCsv(const Job &job, const JobSettings &settings,
                                   platform::Host &host, const std::string &path) {
    const CalibrationStatusRun run = calibrationStatus(job, settings, host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    return writeExport(host, path, calibrationCsv(run.rows), text::CALIBRATION_CAPTION);
}

} // namespace zqar
