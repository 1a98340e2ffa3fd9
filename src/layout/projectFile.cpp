#include "layout/projectFile.h"

#include "app/MainWindow.h"
#include "layout/FileSelectionPage.h"
#include "layout/IniFile.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "resources/fileTexts.h"
#include "resources/strings.h"

#include <filesystem>
#include <string_view>

namespace zqar {

namespace {

using FS = FileSelectionPage;

// A key read with its default, and the control its text goes to; in the order of the file.
struct TextSetting {
    std::string_view key;
    int control;
    std::string_view defaultValue;
};

// The order in which Save Project writes the keys; a new file lists them this way.
// ProjectDescription's default is "2": it always shared the default text of
// NumberOfSingular, and older projects rely on it.
constexpr TextSetting LEADING_SETTINGS[] = {
    {"Directory", FS::DIRECTORY, ""},
    {"NumberOfRows", FS::NUMBER_OF_ROWS, "6"},
    {"NumberOfColumns", FS::NUMBER_OF_COLUMNS, "4"},
    {"RowSpacing", FS::ROW_SPACING, "1"},
    {"ColumnSpacing", FS::COLUMN_SPACING, "1"},
    {"NumberOfSingular", FS::NUMBER_OF_SINGULAR, "2"},
};
constexpr TextSetting TRAILING_SETTINGS[] = {
    {"ProjectDescription", FS::PROJECT_DESCRIPTION, "2"},
    {"ProjectNumber", FS::PROJECT_NUMBER, ""},
    {"ProjectDate", FS::PROJECT_DATE, ""},
};
constexpr std::string_view USE_COMMENT_FIELD_KEY = "UseCommentField";
constexpr std::string_view LOGGERS_ON_BOUNDARY_KEY = "LoggersOnBoundary";
constexpr std::string_view FLAG_DEFAULT = "Y";
constexpr char FLAG_SET = 'Y'; // only a capital Y counts
constexpr std::string_view NO_LOGGER = "-";
constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column

// "R%dC%d" of a table cell, "S%d" of a singular slot counted from 0.
std::string cellKey(int row, int column) {
    return "R" + std::to_string(row) + "C" + std::to_string(column);
}
std::string singularKey(int slot) { return "S" + std::to_string(slot); }

platform::FileDialogOptions projectDialogOptions(platform::Host &host, std::string_view title) {
    platform::FileDialogOptions options;
    options.title = std::string(title);
    options.filterDescription = std::string(text::PROJECT_FILTER_DESCRIPTION);
    options.filterPattern = std::string(text::PROJECT_FILTER_PATTERN);
    options.defaultExtension = std::string(text::PROJECT_EXTENSION);
    options.initialDirectory = host.currentDirectory();
    return options;
}

bool flagSet(const std::string &value) { return !value.empty() && value.front() == FLAG_SET; }

} // namespace

void bindProjectCommands(FileSelectionPage &page) {
    page.bindCommand(FS::LOAD_PROJECT, [&page] { loadProject(page); });
    page.bindCommand(FS::SAVE_PROJECT, [&page] { saveProject(page); });
}

CommandOutcome loadProject(FileSelectionPage &page) {
    platform::FileDialogOptions options =
        projectDialogOptions(page.window.host(), text::LOAD_PROJECT_TITLE);
    options.mustExist = true;
    const auto chosen = page.window.host().openFile(options);
    return chosen ? loadProjectFile(page, *chosen) : CommandOutcome::cancelled();
}

CommandOutcome saveProject(FileSelectionPage &page) {
    platform::FileDialogOptions options =
        projectDialogOptions(page.window.host(), text::SAVE_PROJECT_TITLE);
    options.pathMustExist = true;
    options.promptOverwrite = true;
    const auto chosen = page.window.host().saveFile(options);
    return chosen ? saveProjectFile(page, *chosen) : CommandOutcome::cancelled();
}

CommandOutcome loadProjectFile(FileSelectionPage &page, const std::string &path) {
    platform::Dialog &dialog = page.dialog();
    // The whole file is read before any control changes, so a file that cannot be read
    // leaves every setting as it was.
    const std::optional<IniFile> file = IniFile::read(path);
    if (!file)
        return showFailure(dialog, text::PROJECT_NOT_LOADED, text::LOAD_PROJECT_CAPTION);
    const std::string_view section = text::PROJECT_SECTION;
    for (const TextSetting &setting : LEADING_SETTINGS)
        dialog.setText(setting.control, file->value(section, setting.key, setting.defaultValue));
    const bool useCommentField = flagSet(file->value(section, USE_COMMENT_FIELD_KEY, FLAG_DEFAULT));
    dialog.setChecked(FS::USE_COMMENT_FIELD, useCommentField);
    dialog.setChecked(FS::USE_SERIAL_NUMBERS, !useCommentField);
    dialog.setChecked(FS::LOGGERS_ON_BOUNDARY,
                      flagSet(file->value(section, LOGGERS_ON_BOUNDARY_KEY, FLAG_DEFAULT)));
    for (const TextSetting &setting : TRAILING_SETTINGS)
        dialog.setText(setting.control, file->value(section, setting.key, setting.defaultValue));

    // Update Layout empties the array table, so the cell texts go in afterwards, within the
    // dimensions it settled on.
    page.updateLayout();
    const ArrayDimensions counts = page.loggerArray.dimensions();
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            arrayList.setItemText(r, c, file->value(section, cellKey(r, c), NO_LOGGER));
    platform::ListView &singularList = page.singularLayoutList();
    for (int i = 0; i < counts.singularCount; ++i)
        singularList.setItemText(i, SERIAL_COLUMN, file->value(section, singularKey(i), NO_LOGGER));
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

    const std::string_view section = text::PROJECT_SECTION;
    for (const TextSetting &setting : LEADING_SETTINGS)
        file.setValue(section, setting.key, dialog.text(setting.control));
    file.setValue(section, USE_COMMENT_FIELD_KEY,
                  dialog.isChecked(FS::USE_COMMENT_FIELD) ? text::FLAG_YES : text::FLAG_NO);
    file.setValue(section, LOGGERS_ON_BOUNDARY_KEY,
                  dialog.isChecked(FS::LOGGERS_ON_BOUNDARY) ? text::FLAG_YES : text::FLAG_NO);
    for (const TextSetting &setting : TRAILING_SETTINGS)
        file.setValue(section, setting.key, dialog.text(setting.control));

    // The dimensions of the array as the last Update Layout or Load Files left it, which the
    // tables match, not the count texts as they may have been typed since.
    const ArrayDimensions counts = page.loggerArray.dimensions();
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            file.setValue(section, cellKey(r, c), arrayList.itemText(r, c));
    platform::ListView &singularList = page.singularLayoutList();
    for (int i = 0; i < counts.singularCount; ++i)
        file.setValue(section, singularKey(i), singularList.itemText(i, SERIAL_COLUMN));

    // One write of the whole file: it either holds every key or is as it was.
    if (!file.write(path))
        return fail();
    return CommandOutcome::completed();
}

} // namespace zqar
