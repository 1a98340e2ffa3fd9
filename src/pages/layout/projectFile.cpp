#include "pages/layout/projectFile.h"

#include "core/data/IniFile.h"
#include "core/data/projectFormat.h"
#include "core/integrity/ChangeLog.h"
#include "core/job/Job.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/calibrationCommands.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/settings.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "platform/fileSystems.h"
#include "resources/desktopTexts.h"
#include "resources/fileTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <filesystem>
#include <string_view>

namespace zqar {

namespace {

using FS = FileSelectionPage;

constexpr std::string_view NO_LOGGER = "-";
constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column

platform::FileDialogOptions projectDialogOptions(platform::Host &host, std::string_view title) {
    return platform::fileDialogOptions(host, title, text::PROJECT_FILTER_DESCRIPTION,
                                       text::PROJECT_FILTER_PATTERN, text::PROJECT_EXTENSION);
}

// The project's settings and table cells as the page holds them now.
ProjectValues pageValues(FileSelectionPage &page) {
    ProjectValues values;
    for (const Setting &setting : SETTINGS)
        if (inProject(setting))
            values.settings.push_back(readSetting(page.dialog(), setting));
    // The dimensions of the array as the last Update Layout or Load Files left it, which the
    // tables match, not the count texts as they may have been typed since.
    values.dimensions = page.job.loggerArray.dimensions();
    const ArrayDimensions &counts = values.dimensions;
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            values.arrayCells.push_back(arrayList.itemText(r, c));
    platform::ListView &singularList = page.singularLayoutList();
    for (int i = 0; i < counts.singularCount; ++i)
        values.singularCells.push_back(singularList.itemText(i, SERIAL_COLUMN));
    return values;
}

// The cell of the values at (row, column) from 1, or "-" outside their tables.
std::string_view arrayCell(const ProjectValues &values, int row, int column) {
    const ArrayDimensions &d = values.dimensions;
    if (row > d.rows || column > d.columns)
        return NO_LOGGER;
    return values.arrayCells[static_cast<std::size_t>(row - 1) * d.columns + (column - 1)];
}

} // namespace

void bindProjectCommands(FileSelectionPage &page) {
    page.bindCommand(FS::LOAD_PROJECT, [&page] { loadProject(page); });
    page.bindCommand(FS::SAVE_PROJECT, [&page] { saveProject(page); });
}

CommandOutcome loadProject(FileSelectionPage &page) {
    platform::FileDialogOptions options = projectDialogOptions(page.host, text::LOAD_PROJECT_TITLE);
    options.mustExist = true;
    const auto chosen = page.host.openFile(options);
    return chosen ? loadProjectFile(page, *chosen) : CommandOutcome::cancelled();
}

CommandOutcome saveProject(FileSelectionPage &page) {
    page.commitEditor();
    platform::FileDialogOptions options = projectDialogOptions(page.host, text::SAVE_PROJECT_TITLE);
    options.pathMustExist = true;
    options.promptOverwrite = true;
    const auto chosen = page.host.saveFile(options);
    return chosen ? saveProjectFile(page, *chosen) : CommandOutcome::cancelled();
}

CommandOutcome loadProjectFile(FileSelectionPage &page, const std::string &path) {
    platform::Dialog &dialog = page.dialog();
    // The whole file is read before any control changes, so a file that cannot be read
    // leaves every setting as it was.
    const std::optional<IniFile> file = IniFile::read(path);
    if (!file)
        return showFailure(dialog, text::PROJECT_NOT_LOADED, text::LOAD_PROJECT_CAPTION);
    const ProjectValues values = readProject(*file, projectKeys());
    StoredChangeLog stored = readChangeLog(*file);
    std::size_t next = 0;
    for (const Setting &setting : SETTINGS)
        if (inProject(setting))
            writeSetting(dialog, setting, values.settings[next++]);

    // Update Layout empties the array table, so the cell texts go in afterwards, within the
    // dimensions it settled on.
    page.updateLayout();
    const ArrayDimensions counts = page.job.loggerArray.dimensions();
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            arrayList.setItemText(r, c, arrayCell(values, r, c));
    platform::ListView &singularList = page.singularLayoutList();
    for (int i = 0; i < counts.singularCount; ++i)
        singularList.setItemText(i, SERIAL_COLUMN,
                                 i < values.dimensions.singularCount
                                     ? std::string_view(values.singularCells[i])
                                     : NO_LOGGER);
    // A project without the events section has no events: the job's go with the old project.
    setEventsSection(page.job, readEventsSection(*file).section);
    // The project's log goes on from where the file left it; what the load itself set is no
    // change of the user's.
    page.job.changeLog = std::move(stored.log);
    page.job.changed(JobChange::CHANGE_LOG | JobChange::OPENED);
    // A project without a calibration file leaves the table in use alone; a file that is
    // refused says why, and the project stays loaded.
    const std::string calibration = readProjectCalibrationFile(*file);
    if (!calibration.empty())
        loadCalibrationFile(page.job, page.host, calibration);
    page.host.noteDocument(platform::absolutePath(path));
    return CommandOutcome::completed();
}

CommandOutcome saveProjectFile(FileSelectionPage &page, const std::string &path) {
    platform::Dialog &dialog = page.dialog();
    const auto fail = [&dialog] {
        return showFailure(dialog, text::PROJECT_NOT_SAVED, text::SAVE_PROJECT_CAPTION);
    };
    // An existing file keeps its other sections and keys, so it must be read whole first; one
    // that exists but cannot be read would lose them and is not written over.
    std::error_code error;
    IniFile file;
    if (std::filesystem::exists(path, error)) {
        std::optional<IniFile> existing = IniFile::read(path);
        if (!existing)
            return fail();
        file = std::move(*existing);
    } else if (error) {
        return fail();
    }
    // A job without events leaves a file without the section as it was, byte for byte; events
    // an earlier save wrote are emptied.
    const EventsSection stored = readEventsSection(file).section;
    const EventsSection events = eventsSectionOf(page.job);
    writeProject(pageValues(page), projectKeys(), file);
    if (!events.events.empty() || !events.excludedPhases.empty() || !stored.events.empty() ||
        !stored.excludedPhases.empty())
        writeEventsSection(events, file);
    writeChangeLog(page.job.changeLog, file);
    writeProjectCalibrationFile(page.job.calibrationFile(), file);
    // One write of the whole file: it either holds every key or is as it was.
    if (!file.write(path))
        return fail();
    const std::string saved = platform::absolutePath(path);
    dialog.setText(FS::STATUS, text::format(text::PROJECT_SAVED_AS, saved));
    page.host.noteDocument(saved);
    return CommandOutcome::completed();
}

} // namespace zqar
