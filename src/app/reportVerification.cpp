#include "app/reportVerification.h"

#include "app/MainWindow.h"
#include "core/data/systemCalls.h"
#include "core/job/Job.h"
#include "core/job/jobInputs.h"
#include "pages/analysis/calibrationCommands.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/reportManifest.h"
#include "platform/Host.h"
#include "platform/memory/MemoryHost.h"
#include "resources/integrityTexts.h"
#include "resources/mappingReportTexts.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace zqar {

namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, removed with everything in it when
// this goes.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        const std::string pattern =
            (fs::temp_directory_path(error) / "zqar-verify-XXXXXX").string();
        if (!error)
            path = makeScratchFolder(pattern);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty())
            fs::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    std::string path; // empty when it could not be made
};

bool isRecord(SourceRole role) { return role == SourceRole::LogFile || role == SourceRole::Import; }

// The report file every record's source is taken from, when they all are from the same one.
std::optional<std::string> recordsReport(const Manifest &manifest,
                                         const std::vector<SourceCheck> &sources) {
    std::optional<std::string> report;
    for (std::size_t i = 0; i < manifest.sources.size(); ++i) {
        if (!isRecord(manifest.sources[i].role))
            continue;
        if (!manifest.sources[i].takenFrom || (report && sources[i].path != *report))
            return std::nullopt;
        report = sources[i].path;
    }
    return report;
}

// Places the records as the report's job had them; false when that cannot be done.
bool loadRecords(MainWindow &window, const Manifest &manifest,
                 const std::vector<SourceCheck> &sources, const std::vector<SettingValue> &values,
                 const ScratchFolder &folder) {
    const SettingPlaces places = window.settingPlaces();
    if (const std::optional<std::string> report = recordsReport(manifest, sources)) {
        // The averaged calculation that ends Load Report may fail on the report's own
        // settings; the records are placed all the same.
        window.loadReport(*report);
        if (window.job.reportPath.empty())
            return false;
        // The recorded texts go over the report's; the records stay as the report placed them,
        // as they did in the job the report was made from.
        applySettingValues(places, SettingPage::FileSelection, values);
        applyCellValues(window.fileSelectionPage, values);
        return true;
    }
    std::vector<std::string> tables; // the imported ones, in the manifest's order
    for (std::size_t i = 0; i < manifest.sources.size(); ++i) {
        const ManifestSource &source = manifest.sources[i];
        if (!isRecord(source.role))
            continue;
        if (source.takenFrom)
            return false;
        const fs::path copy = fs::path(folder.path) / source.name;
        std::error_code error;
        fs::copy_file(sources[i].path, copy, error);
        if (error)
            return false;
        if (source.role == SourceRole::Import)
            tables.push_back(copy.string());
    }
    // Load Files reads the Data Filter page's "Show singular as text" and fills the page's
    // span and range, so every setting goes in before it and those of the Data Filter page
    // again after it.
    applySettingValues(places, SettingPage::FileSelection, values);
    applySettingValues(places, SettingPage::DataFilter, values);
    window.fileSelectionPage.dialog().setText(FileSelectionPage::DIRECTORY, folder.path);
    window.fileSelectionPage.updateLayout();
    applyCellValues(window.fileSelectionPage, values);
    if (window.loadFiles().hasFailed())
        return false;
    if (tables.empty())
        return true;
    // The tables were imported after the log files were loaded (Load Files empties every
    // cell), with the recorded import settings, by the serial numbers Load Files may have
    // marked "-" where no log file stood.
    applySettingValues(places, SettingPage::Statistics, values);
    applyCellValues(window.fileSelectionPage, values);
    return !window.importFiles(tables, 0).hasFailed();
}

// Reads the calibration table and, unless the settings text records the events, the events
// from the files found, in the manifest's order; false when one is refused or the manifest
// names a source of no known use.
bool loadInputs(MainWindow &window, platform::Host &host, const Manifest &manifest,
                const std::vector<SourceCheck> &sources, bool eventsRecorded) {
    for (std::size_t i = 0; i < manifest.sources.size(); ++i) {
        const ManifestSource &source = manifest.sources[i];
        if (isRecord(source.role))
            continue;
        if (source.takenFrom)
            return false;
        CommandOutcome outcome;
        switch (source.role) {
        case SourceRole::Calibration:
            outcome = loadCalibrationFile(window.job, host, sources[i].path);
            break;
        case SourceRole::Events:
            // The recorded events are the job's as the report saw them, edits and removals
            // made after the file was read included; the file is only checked by its hash.
            if (eventsRecorded)
                continue;
            outcome = addEventsFile(window.job, host, sources[i].path);
            break;
        default: // a report is never a source of its own
            return false;
        }
        if (outcome.kind != CommandOutcome::Kind::Completed)
            return false;
    }
    return true;
}

} // namespace

Recomputed recomputeReport(const Manifest &manifest, const std::vector<SourceCheck> &sources) {
    Recomputed recomputed;
    for (const SourceCheck &source : sources)
        if (source.status == ItemStatus::Missing)
            return recomputed;
    ScratchFolder folder;
    if (folder.path.empty())
        return recomputed;
    platform::MemoryHost host;
    MainWindow window(host);
    window.initialise();
    const std::vector<SettingValue> values = readSettingsText(manifest.settingsText);
    // The manifest reader refuses lines that do not read, so this is only a second guard.
    RecordedInputsReading inputs = readRecordedInputs(values);
    if (!inputs.problem.empty())
        return recomputed;
    const bool eventsRecorded = !inputs.inputs.events.empty();
    if (!loadRecords(window, manifest, sources, values, folder) ||
        !loadInputs(window, host, manifest, sources, eventsRecorded))
        return recomputed;
    const SettingPlaces places = window.settingPlaces();
    applySettingValues(places, SettingPage::DataFilter, values);
    applySettingValues(places, SettingPage::Statistics, values);
    // A report without event lines (one from an earlier version) computes with the events of
    // its events files, which its settings text does not list.
    if (!eventsRecorded)
        inputs.inputs.events = window.job.events;
    applyRecordedInputs(window.job, std::move(inputs.inputs));
    RecordedInputs applied = recordedInputsOf(window.job);
    if (!eventsRecorded)
        applied.events.clear();
    recomputed.settingsText = window.manifestSettingsText(applied);
    const JobSettings settings = window.settings();
    const StatisticsRun run = calculateStatistics(window.job, settings, host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return recomputed;
    const std::vector<std::string> texts = resultTexts(window.job, settings, run);
    recomputed.resultsText = resultsText(std::vector<std::string_view>(texts.begin(), texts.end()));
    return recomputed;
}

Verification verifyReportFile(const std::string &pdfPath, const std::string &sourcesFolder) {
    return verifyReport(pdfPath, sourcesFolder, recomputeReport);
}

CommandOutcome verifyReportWithDialogs(platform::Host &host) {
    platform::FileDialogOptions options = platform::fileDialogOptions(
        host, text::VERIFY_REPORT_TITLE, text::MAPPING_REPORT_FILTER_DESCRIPTION,
        text::MAPPING_REPORT_FILTER_PATTERN, text::MAPPING_REPORT_EXTENSION);
    options.mustExist = true;
    const std::optional<std::string> report = host.openFile(options);
    if (!report)
        return CommandOutcome::cancelled();
    const std::string reportFolder = fs::path(*report).parent_path().string();
    const std::optional<std::string> sources =
        host.browseFolder(std::string(text::VERIFY_SOURCES_TITLE), reportFolder);
    const Verification verification = verifyReportFile(*report, sources.value_or(std::string()));
    host.messageBox(verificationText(verification), std::string(text::VERIFY_REPORT_TITLE));
    if (!verification.verified())
        return CommandOutcome::failed(text::NOT_VERIFIED);
    return CommandOutcome::completed();
}

} // namespace zqar
