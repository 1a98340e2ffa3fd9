#include "pages/layout/importCommands.h"

#include "core/data/TextField.h"
#include "core/job/Job.h"
#include "core/job/JobSettings.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/recordPlacement.h"
#include "platform/Dialog.h"
#include "platform/Host.h"
#include "resources/desktopTexts.h"
#include "resources/format.h"
#include "resources/importTexts.h"

#include <algorithm>
#include <filesystem>

namespace zqar {

namespace fs = std::filesystem;
using FS = FileSelectionPage;

namespace {

std::string importedStatus(int files) {
    return text::countText(files, text::NO_FILES_IMPORTED, text::ONE_FILE_IMPORTED,
                           text::FILES_IMPORTED);
}

// The files in the order of the paths: read on the pool, except a path a record's file name
// could not hold, which is refused unread (the record would name another file). None when the
// user cancelled.
std::optional<std::vector<ImportResult>> readFiles(const std::vector<std::string> &paths,
                                                   const ImportSettings &settings, unsigned threads,
                                                   platform::Progress &progress) {
    std::vector<std::string> readable;
    for (const std::string &path : paths)
        if (path.size() <= TEXT_MAX_LENGTH)
            readable.push_back(path);
    std::optional<std::vector<ImportResult>> finished =
        importTextFiles(readable, settings, threads, platform::keepGoingWith(progress));
    if (!finished)
        return std::nullopt;
    std::vector<ImportResult> &read = *finished;
    std::vector<ImportResult> results;
    results.reserve(paths.size());
    std::size_t next = 0;
    for (const std::string &path : paths) {
        if (path.size() <= TEXT_MAX_LENGTH) {
            results.push_back(std::move(read[next++]));
            continue;
        }
        ImportResult refused;
        refused.path = path;
        refused.refusal = ImportRefusal{path, 0, std::string(text::PATH_TOO_LONG)};
        results.push_back(std::move(refused));
    }
    return results;
}

// Load Files' prefill, taken from every record the array holds: the range of the cells, and of
// the singular slots unless their loggers are shown as text in comment-field mode; the span
// every record covers.
Prefill prefillFromArray(const LoggerArray &array, const PlacementRules &rules) {
    Prefill prefill;
    const ArrayDimensions &counts = rules.counts;
    for (int r = 0; r < counts.rows; ++r)
        for (int c = 0; c < counts.columns; ++c)
            if (const LogFile *record = array.at(r, c))
                prefill.widenRange(*record);
    if (rules.bySerialNumber || !rules.singularAsText)
        for (int s = 0; s < counts.singularCount; ++s)
            if (const LogFile *record = array.at(-1, s))
                prefill.widenRange(*record);
    prefill.takeTimes(array);
    return prefill;
}

} // namespace

std::string_view importSettingMessage(ImportSettingProblem problem) {
    switch (problem) {
    case ImportSettingProblem::None:
        break;
    case ImportSettingProblem::DateOrder:
        return text::DATE_ORDER_SETTING_MESSAGE;
    case ImportSettingProblem::DecimalMark:
        return text::DECIMAL_SETTING_MESSAGE;
    case ImportSettingProblem::Unit:
        return text::UNIT_SETTING_MESSAGE;
    case ImportSettingProblem::UtcOffset:
        return text::UTC_OFFSET_SETTING_MESSAGE;
    }
    return {};
}

std::vector<std::string> importPaths(const std::vector<std::string> &paths) {
    std::vector<std::string> files;
    for (const std::string &path : paths) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            files.push_back(path);
            continue;
        }
        std::optional<std::vector<std::string>> listed = listImportFiles(path);
        if (!listed) {
            files.push_back(path);
            continue;
        }
        files.insert(files.end(), std::make_move_iterator(listed->begin()),
                     std::make_move_iterator(listed->end()));
    }
    return files;
}

ImportFilesResult importFiles(FileSelectionPage &page, const std::vector<std::string> &paths,
                              const ImportFilesOptions &options) {
    ImportFilesResult result;
    platform::Dialog &dialog = page.dialog();
    Job &job = page.job;
    const ImportSettingsReading reading = readImportSettings(job);
    if (reading.problem != ImportSettingProblem::None) {
        result.outcome =
            showFailure(dialog, importSettingMessage(reading.problem), text::IMPORT_CAPTION);
        return result;
    }
    // Every file is read before anything changes, so a cancel has nothing to put back.
    const std::unique_ptr<platform::Progress> progress =
        page.host.startProgress(text::IMPORT_CAPTION);
    std::optional<std::vector<ImportResult>> read =
        readFiles(importPaths(paths), reading.settings, options.threads, *progress);
    if (!read) {
        dialog.setText(FS::STATUS, text::COMMAND_CANCELLED);
        result.outcome = CommandOutcome::cancelled();
        return result;
    }
    std::vector<ImportResult> &files = *read;
    // A serial number still in the table's editor counts as typed.
    page.commitEditor();
    const PlacementRules rules{job.loggerArray.dimensions(),
                               dialog.isChecked(FS::USE_SERIAL_NUMBERS), options.singularAsText};
    int placed = 0;
    Prefill unused; // the range comes from the whole array once every file is placed
    for (ImportResult &file : files) {
        if (file.refused()) {
            result.refused.push_back(*file.refusal);
            continue;
        }
        FileRecords records;
        for (ImportedRecord &imported : file.records) {
            const std::size_t channel = static_cast<std::size_t>(imported.record->channel);
            if (channel < 1)
                continue;
            if (records.ready.size() < channel)
                records.ready.resize(channel);
            records.ready[channel - 1] = std::move(imported.record);
        }
        records.channels = static_cast<int>(records.ready.size());
        const int filled = placeFileRecords(page, rules, std::move(records), unused);
        placed += filled;
        if (filled > 0)
            ++result.filesImported;
    }

    dialog.setText(FS::STATUS, importedStatus(result.filesImported));
    if (placed > 0) {
        job.setList.clear();
        result.prefill = prefillFromArray(job.loggerArray, rules);
        dialog.setEnabled(FS::COPY_FILES, true);
        job.changed(JobChange::RECORDS | JobChange::SETS);
    }
    for (const ImportRefusal &refusal : result.refused)
        dialog.messageBox(refusalText(refusal), std::string(text::IMPORT_CAPTION));
    result.outcome = result.refused.empty()
                         ? CommandOutcome::completed()
                         : CommandOutcome::failed(refusalText(result.refused.front()));
    return result;
}

} // namespace zqar
