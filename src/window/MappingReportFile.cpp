#include "window/MappingReportFile.h"

#include "core/data/AtomicFileWriter.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/MappingReport.h"
#include "pages/presentation/PrintJob.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "qt/QtDrawingContext.h"
#include "resources/mappingReportTexts.h"

#include <filesystem>
#include <system_error>

namespace zqar {

namespace {

CommandOutcome notSaved(platform::Host &host) {
    host.messageBox(std::string(text::MAPPING_REPORT_NOT_SAVED),
                    std::string(text::MAPPING_REPORT_CAPTION));
    return CommandOutcome::failed(text::MAPPING_REPORT_NOT_SAVED);
}

} // namespace

CommandOutcome writeMappingReportPdf(const JobView &view, const std::string &path) {
    // The report prints the change log and records the settings: what was changed since the
    // last command belongs in the log first.
    if (view.recordChanges)
        view.recordChanges();
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return notSaved(view.host);
    const std::string temporary = writer.writtenByName();
    const std::string settingsText = view.settingsText ? view.settingsText() : std::string();
    CommandOutcome outcome;
    {
        // The writer finishes its file when it goes.
        const std::unique_ptr<platform::PrintTarget> pdf = platform::pdfPrintTarget(temporary);
        outcome = printMappingReport(view.job, view.readSettings(), view.host, *pdf, localNow(),
                                     settingsText);
    }
    if (outcome.kind != CommandOutcome::Kind::Completed)
        return outcome;
    std::error_code error;
    const auto written = std::filesystem::file_size(temporary, error);
    if (error || written == 0 || !writer.commit())
        return notSaved(view.host);
    return outcome;
}

CommandOutcome saveMappingReport(const JobView &view) {
    platform::Host &host = view.host;
    // Said before the file dialog, which would otherwise ask for a name in vain.
    const CommandOutcome limits = checkLimitsByName(view.job, host);
    if (limits.kind != CommandOutcome::Kind::Completed)
        return limits;
    const platform::FileDialogOptions options = platform::saveDialogOptions(
        host, text::MAPPING_REPORT_DIALOG_TITLE, text::MAPPING_REPORT_FILTER_DESCRIPTION,
        text::MAPPING_REPORT_FILTER_PATTERN, text::MAPPING_REPORT_EXTENSION);
    return platform::withChosenFile(
        host, platform::FileChoice::Save, options,
        [&view](const std::string &path) { return writeMappingReportPdf(view, path); });
}

} // namespace zqar
