#include "window/MappingReportFile.h"

#include "app/MainWindow.h"
#include "core/data/AtomicFileWriter.h"
#include "pages/presentation/MappingReport.h"
#include "pages/presentation/PrintJob.h"
#include "platform/Host.h"
#include "qt/QtDrawingContext.h"
#include "resources/mappingReportTexts.h"

#include <filesystem>
#include <system_error>

namespace zqar {

namespace {

CommandOutcome notSaved(MainWindow &window) {
    window.host().messageBox(std::string(text::MAPPING_REPORT_NOT_SAVED),
                             std::string(text::MAPPING_REPORT_CAPTION));
    return CommandOutcome::failed(text::MAPPING_REPORT_NOT_SAVED);
}

} // namespace

CommandOutcome writeMappingReportPdf(MainWindow &window, const std::string &path) {
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return notSaved(window);
    const std::string temporary = writer.writtenByName();
    CommandOutcome outcome;
    {
        // The writer finishes its file when it goes.
        const std::unique_ptr<platform::PrintTarget> pdf = platform::pdfPrintTarget(temporary);
        outcome = printMappingReport(window, *pdf, localNow());
    }
    if (outcome.kind != CommandOutcome::Kind::Completed)
        return outcome;
    std::error_code error;
    const auto written = std::filesystem::file_size(temporary, error);
    if (error || written == 0 || !writer.commit())
        return notSaved(window);
    return outcome;
}

CommandOutcome saveMappingReport(MainWindow &window) {
    platform::Host &host = window.host();
    const platform::FileDialogOptions options = platform::saveDialogOptions(
        host, text::MAPPING_REPORT_DIALOG_TITLE, text::MAPPING_REPORT_FILTER_DESCRIPTION,
        text::MAPPING_REPORT_FILTER_PATTERN, text::MAPPING_REPORT_EXTENSION);
    const std::optional<std::string> chosen = host.saveFile(options);
    if (!chosen)
        return CommandOutcome::cancelled();
    return writeMappingReportPdf(window, *chosen);
}

} // namespace zqar
