// Load Report and Create Report: a report holds every page's settings and the job's records,
// so its commands belong to the window that owns them all.

#include "app/MainWindow.h"
#include "app/windowSnapshot.h"
#include "core/data/TextField.h"
#include "core/data/reportFile.h"
#include "core/data/systemCalls.h"
#include "core/integrity/sha256.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "platform/fileSystems.h"
#include "resources/desktopTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <filesystem>
#include <fstream>

namespace zqar {

namespace fs = std::filesystem;

namespace {

platform::FileDialogOptions reportDialogOptions(platform::Host &host) {
    return platform::fileDialogOptions(host, text::REPORT_DIALOG_TITLE,
                                       text::REPORT_FILTER_DESCRIPTION, text::REPORT_FILTER_PATTERN,
                                       text::REPORT_EXTENSION);
}

struct ReportTarget {
    std::string path;
    std::string madeFolder; // the folder made for it, empty when none was made
};

// A new report gets a folder named after it: D/report.ttr becomes D/report/report.ttr. An
// existing file is written where it is.
ReportTarget reportTarget(const std::string &chosen) {
    if (std::ifstream(chosen, std::ios::binary))
        return {chosen, {}};
    const fs::path path(chosen);
    const std::string title = path.filename().string();
    const std::size_t dot = title.rfind('.');
    const std::string base = dot == std::string::npos ? title : title.substr(0, dot);
    const fs::path folder = path.parent_path() / base;
    std::error_code error; // an existing folder is fine, and any other failure shows later
    const bool made = fs::create_directory(folder, error);
    return {(folder / title).string(), made ? folder.string() : std::string()};
}

void copyCompanionFiles(const std::string &programDirectory, const std::string &reportFolder) {
    const fs::path listPath = fs::path(programDirectory) / std::string(text::COMPANION_LIST);
    std::ifstream list(listPath, std::ios::binary);
    if (!list)
        return;
    std::string line;
    while (std::getline(list, line)) {
        line = cutText(line);
        const std::size_t cr = line.find('\r');
        if (cr != std::string::npos)
            line.erase(cr);
        if (line.empty())
            continue;
        // Copy failures are not reported.
        copyFileOver((fs::path(programDirectory) / line).string(),
                     (fs::path(reportFolder) / line).string());
    }
}

} // namespace

CommandOutcome MainWindow::loadReport() {
    platform::FileDialogOptions options = reportDialogOptions(platformHost);
    options.mustExist = true;
    return platform::withChosenFile(platformHost, platform::FileChoice::Open, options,
                                    [this](const std::string &path) { return loadReport(path); });
}

CommandOutcome MainWindow::loadReport(const std::string &path) {
    platform::Dialog &page = dataFilterPage.dialog();
    const std::string caption(text::LOAD_REPORT_CAPTION);
    // The whole file is read and checked into new records before any control changes, so a
    // damaged report leaves the pages and the array as they were.
    ReportFileRead read = readReportFile(path);
    if (!read.opened)
        return showFailure(page, text::REPORT_NOT_LOADED, caption);
    std::optional<ReportContents> &report = read.contents;
    if (!report)
        return showFailure(page, text::REPORT_BAD_FORMAT, caption);

    // Kept until the calculation that ends the command has finished or failed.
    const std::unique_ptr<Snapshot> before = takeSnapshot();
    // Update Layout runs between the File Selection page's settings and the Data Filter
    // page's, which come after them.
    const SettingPlaces places = settingPlaces();
    bool layoutUpdated = false;
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i) {
        const Setting &setting = SETTINGS[i];
        if (setting.page == SettingPage::DataFilter && !layoutUpdated) {
            fileSelectionPage.updateLayout();
            layoutUpdated = true;
        }
        writeSetting(places, setting, report->fields[i + 1]);
    }

    LoggerArray &array = job.loggerArray;
    const ArrayDimensions placed = array.dimensions();
    // The records were read with the dimensions the count fields give, which is what Update
    // Layout just applied; the bound only guards against the two ever parting.
    std::vector<std::unique_ptr<LogFile>> &records = report->records;
    std::size_t position = 0;
    auto next = [&]() -> std::unique_ptr<LogFile> {
        return position < records.size() ? std::move(records[position++]) : nullptr;
    };
    for (int row = 0; row < placed.rows; ++row)
        for (int col = 0; col < placed.columns; ++col)
            array.place(row, col, next());
    for (int slot = 0; slot < placed.singularCount; ++slot)
        array.place(-1, slot, next());
    // The records' sources are this report as it was read; a report is a study of its own,
    // so the log of changes starts anew.
    job.reportPath = platform::absolutePath(path);
    job.reportDigest = sha256File(path).value_or(FileDigest{});
    job.changeLog = ChangeLog{};
    job.changed(JobChange::RECORDS | JobChange::CHANGE_LOG | JobChange::OPENED);

    const std::unique_ptr<platform::Progress> progress =
        platformHost.startProgress(text::LOAD_REPORT_CAPTION);
    const CommandOutcome calculated = dataFilterPage.calculateAveraged(*progress);
    if (calculated.kind == CommandOutcome::Kind::Cancelled) {
        restoreSnapshot(*before);
        dataFilterPage.dialog().setText(DataFilterPage::STATUS, text::COMMAND_CANCELLED);
        return calculated;
    }
    platformHost.noteDocument(job.reportPath);
    markSaved(DocumentKind::Report);
    return calculated;
}

CommandOutcome MainWindow::createReport() {
    platform::FileDialogOptions options = reportDialogOptions(platformHost);
    const std::string projectNumber = fileSelectionPage.settings().projectNumber;
    if (!projectNumber.empty())
        options.proposedName = projectNumber + "." + std::string(text::REPORT_EXTENSION);
    options.promptOverwrite = true;
    options.pathMustExist = true;
    const std::optional<std::string> chosen = platformHost.saveFile(options);
    if (!chosen)
        return CommandOutcome::cancelled();

    recordChanges();
    const SettingPlaces places = settingPlaces();
    ReportFields fields;
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i)
        fields[i + 1] = readSetting(places, SETTINGS[i]);
    const ReportTarget made = reportTarget(*chosen);
    const std::string &target = made.path;
    const std::unique_ptr<platform::Progress> progress =
        platformHost.startProgress(text::CREATE_REPORT_TITLE);
    const ReportWrite written =
        writeReportFile(target, fields, job.loggerArray, platform::keepGoingWith(*progress));
    if (written != ReportWrite::Written) {
        // A folder made for the report goes with it; remove leaves one that holds anything.
        std::error_code ignored;
        if (!made.madeFolder.empty())
            fs::remove(made.madeFolder, ignored);
        if (written == ReportWrite::Failed)
            return showFailure(dataFilterPage.dialog(), text::REPORT_NOT_SAVED,
                               text::SAVE_REPORT_CAPTION);
        dataFilterPage.dialog().setText(DataFilterPage::STATUS, text::COMMAND_CANCELLED);
        return CommandOutcome::cancelled();
    }
    copyCompanionFiles(platformHost.executableDirectory(), fs::path(target).parent_path().string());
    const std::string saved = platform::absolutePath(target);
    dataFilterPage.dialog().setText(DataFilterPage::STATUS,
                                    text::format(text::REPORT_SAVED_AS, saved));
    platformHost.noteDocument(saved);
    markSaved(DocumentKind::Report);
    return CommandOutcome::completed();
}

} // namespace zqar
