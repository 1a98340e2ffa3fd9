#include "app/BatchTool.h"
#include "app/batchOptions.h"
#include "app/numberedFiles.h"
#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "pages/layout/settings.h"
#include "platform/ListView.h"
#include "resources/strings.h"

#include <algorithm>
#include <cctype>

namespace zqar {

namespace {

// A positive decimal number of at most six digits at text[at], moving at past it.
std::optional<int> readIndex(const std::string &text, std::size_t &at) {
    const std::size_t begin = at;
    while (at < text.size() && isDigit(text[at]) && at - begin < 7)
        ++at;
    if (at == begin || at - begin > 6)
        return std::nullopt;
    const int value = readInteger(std::string_view(text).substr(begin, at - begin));
    return value >= 1 ? std::optional<int>(value) : std::nullopt;
}

// A --set argument taken apart: the setting and its value. Checked before the first option
// runs, so a misspelt name ends the run before any command has changed a file.
struct SettingAssignment {
    const Setting *setting = nullptr;
    std::string value;
};

std::optional<std::string> parseSetting(const std::string &argument, SettingAssignment &out) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos)
        return "--set takes NAME=VALUE";
    const std::string name = argument.substr(0, equals);
    out.value = argument.substr(equals + 1);
    out.setting = findSetting(name);
    if (!out.setting)
        return "no setting named " + name;
    if (out.setting->kind != SettingKind::Text) {
        const std::string flag = lowerCase(out.value);
        if (flag != "y" && flag != "n")
            return std::string(out.setting->name) + " takes Y or N";
        // Stored as the files store it.
        out.value = std::string(flagText(flag == "y"));
    }
    return std::nullopt;
}

std::optional<std::string> checkSetting(const std::string &argument) {
    SettingAssignment ignored;
    return parseSetting(argument, ignored);
}

std::optional<std::string> setSetting(BatchTool &tool, const std::string &argument) {
    SettingAssignment assignment;
    if (auto error = parseSetting(argument, assignment))
        return error;
    const Setting &setting = *assignment.setting;
    writeSetting(tool.window.settingPlaces(), setting, assignment.value);
    return std::nullopt;
}

// A --cell position: "Sn" (singular slot n, from 1) or "RrCc" (array table item r, column c).
struct CellPosition {
    bool singular = false;
    int row = 0;
    int column = 0;
};

std::optional<CellPosition> parseCellPosition(const std::string &position) {
    std::size_t at = 1;
    const char kind = position.empty() ? '\0' : asciiUpper(position[0]);
    if (kind == 'S') {
        const std::optional<int> slot = readIndex(position, at);
        if (slot && at == position.size())
            return CellPosition{true, *slot, 1};
    } else if (kind == 'R') {
        const std::optional<int> row = readIndex(position, at);
        if (row && at < position.size() && asciiUpper(position[at]) == 'C') {
            ++at;
            const std::optional<int> column = readIndex(position, at);
            if (column && at == position.size())
                return CellPosition{false, *row, *column};
        }
    }
    return std::nullopt;
}

std::optional<std::string> checkCell(const std::string &argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos || !parseCellPosition(argument.substr(0, equals)))
        return "--cell takes RrCc=TEXT or Sn=TEXT";
    return std::nullopt;
}

// Whether the cell exists depends on the layout at that point of the run.
std::optional<std::string> setCell(BatchTool &tool, const std::string &argument) {
    if (auto error = checkCell(argument))
        return error;
    const std::size_t equals = argument.find('=');
    const std::string position = argument.substr(0, equals);
    const std::string value = argument.substr(equals + 1);
    const CellPosition cell = *parseCellPosition(position);
    FileSelectionPage &layout = tool.window.fileSelectionPage;
    if (cell.singular) {
        platform::ListView &list = layout.singularLayoutList();
        if (cell.row > list.itemCount())
            return "no singular slot " + position + " in the layout table";
        list.setItemText(cell.row - 1, 1, value);
        return std::nullopt;
    }
    platform::ListView &list = layout.arrayLayoutList();
    if (cell.row >= list.itemCount() || cell.column >= list.columnCount())
        return "no cell " + position + " in the layout table";
    list.setItemText(cell.row, cell.column, value);
    return std::nullopt;
}

std::optional<std::string> checkProperties(const std::string &position) {
    if (!parseCellPosition(position))
        return "--properties takes RrCc or Sn";
    return std::nullopt;
}

// A right click on the cell, as the user gives it: the page's own pick shows the pop-up.
std::optional<std::string> showProperties(BatchTool &tool, const std::string &position) {
    if (auto error = checkProperties(position))
        return error;
    const CellPosition cell = *parseCellPosition(position);
    FileSelectionPage &layout = tool.window.fileSelectionPage;
    platform::MemoryDialog &page = tool.host.dialogOf(layout);
    if (cell.singular) {
        if (cell.row > layout.singularLayoutList().itemCount())
            return "no singular slot " + position + " in the layout table";
        page.clickCell(FileSelectionPage::SINGULAR_LAYOUT_LIST, cell.row - 1, 1,
                       platform::MOUSE_RIGHT);
        return std::nullopt;
    }
    const platform::ListView &list = layout.arrayLayoutList();
    if (cell.row >= list.itemCount() || cell.column >= list.columnCount())
        return "no cell " + position + " in the layout table";
    page.clickCell(FileSelectionPage::ARRAY_LAYOUT_LIST, cell.row, cell.column,
                   platform::MOUSE_RIGHT);
    return std::nullopt;
}

std::optional<std::string> exportCsv(BatchTool &tool, const std::string &file) {
    MatrixPage &matrix = tool.window.matrixPage;
    const std::unique_ptr<platform::Progress> progress =
        tool.host.startProgress(text::EXPORT_CAPTION);
    exportEverySet(
        tool.window.job.setList, file,
        [&tool, &matrix](const std::string &name) {
            matrix.showCurrentSet();
            tool.host.saveAnswers.push_back(name);
            return tool.noteOutcome(matrix.onExport()).kind == CommandOutcome::Kind::Completed;
        },
        platform::keepGoingWith(*progress));
    matrix.showCurrentSet();
    return std::nullopt;
}

// An option without an argument that runs one page operation and hands on its outcome.
template <typename F> BatchOption command(const char *name, const char *help, F operation) {
    return BatchOption{
        name, "", help,
        [operation](BatchTool &tool, const std::string &) -> std::optional<std::string> {
            tool.noteOutcome(operation(tool.window));
            return std::nullopt;
        }};
}

// Navigation through the sets cannot fail.
template <typename F> BatchOption navigation(const char *name, const char *help, F operation) {
    return command(name, help, [operation](MainWindow &w) {
        operation(w);
        return CommandOutcome::completed();
    });
}

} // namespace

void registerPageOptions(BatchTool &tool) {
    tool.addOption({"--load-report", "FILE", "Load Report from FILE",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        t.host.openAnswers.push_back(file);
                        t.noteOutcome(t.window.loadReport());
                        return std::nullopt;
                    }});
    tool.addOption({"--create-report", "FILE", "Create Report as FILE (a new name gets a folder)",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        t.host.saveAnswers.push_back(file);
                        t.noteOutcome(t.window.createReport());
                        return std::nullopt;
                    },
                    true});
    BatchOption set{"--set", "NAME=VALUE", "set a page setting (flags take Y or N)", setSetting};
    set.check = checkSetting;
    tool.addOption(std::move(set));
    BatchOption cell{"--cell", "RrCc=TEXT|Sn=TEXT", "write a layout table cell", setCell};
    cell.check = checkCell;
    tool.addOption(std::move(cell));
    BatchOption properties{"--properties", "RrCc|Sn",
                           "show the log file properties of a layout cell, as a right click does",
                           showProperties};
    properties.check = checkProperties;
    tool.addOption(std::move(properties));
    tool.addOption(command("--update-layout", "Update Layout",
                           [](MainWindow &w) { return w.fileSelectionPage.updateLayout(); }));
    tool.addOption(command("--calculate-at", "Calculate the set at timeText",
                           [](MainWindow &w) { return w.dataFilterPage.calculateAtTime(); }));
    tool.addOption(command("--calculate-averaged", "Calculate the averaged sets",
                           [](MainWindow &w) { return w.dataFilterPage.calculateAveraged(); }));
    tool.addOption(navigation("--first", "show the first set in the matrix",
                              [](MainWindow &w) { w.matrixPage.onFirst(); }));
    tool.addOption(navigation("--previous", "show the previous set in the matrix",
                              [](MainWindow &w) { w.matrixPage.onPrevious(); }));
    tool.addOption(navigation("--next", "show the next set in the matrix",
                              [](MainWindow &w) { w.matrixPage.onNext(); }));
    tool.addOption(navigation("--last", "show the last set in the matrix",
                              [](MainWindow &w) { w.matrixPage.onLast(); }));
    tool.addOption({"--export-csv", "FILE",
                    "export the matrix as CSV; a %d in FILE exports every set, numbered from 1",
                    exportCsv, true});
}

} // namespace zqar
