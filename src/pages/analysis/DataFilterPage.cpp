#include "pages/analysis/DataFilterPage.h"

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/reportFile.h"
#include "pages/layout/settings.h"
#include "platform/Host.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include <cmath>
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

// A new report gets a folder named after it: D/report.ttr becomes D/report/report.ttr. An
// existing file is written where it is.
std::string reportTarget(const std::string &chosen) {
    if (std::ifstream(chosen, std::ios::binary))
        return chosen;
    const fs::path path(chosen);
    const std::string title = path.filename().string();
    const std::size_t dot = title.rfind('.');
    const std::string base = dot == std::string::npos ? title : title.substr(0, dot);
    const fs::path folder = path.parent_path() / base;
    std::error_code ignored; // an existing folder is fine, and any other failure shows later
    fs::create_directory(folder, ignored);
    return (folder / title).string();
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
        std::error_code ignored; // copy failures are not reported
        fs::copy_file(fs::path(programDirectory) / line, fs::path(reportFolder) / line,
                      fs::copy_options::overwrite_existing, ignored);
    }
}

} // namespace

DataFilterPage::DataFilterPage(MainWindow &mainWindow)
    : Page(DATA_FILTER_TEMPLATE), window(mainWindow) {
    bind(CALCULATE_AT_TIME, [this] { calculateAtTime(); });
    bind(CALCULATE_AVERAGED, [this] { calculateAveraged(); });
    bind(LOAD_REPORT, [this] { loadReport(); });
    bind(CREATE_REPORT, [this] { createReport(); });
}

std::optional<double> DataFilterPage::readTime(int id, std::string_view message) {
    const std::optional<double> time = parseDateTime(dialog().text(id));
    if (!time)
        dialog().messageBox(std::string(message), std::string(text::CALCULATE_CAPTION));
    return time;
}

std::optional<double> DataFilterPage::readInterval() {
    const double interval = readDecimal(dialog().text(AVERAGING_INTERVAL)) * DAYS_PER_MINUTE;
    // An infinite interval ("1e999") is refused with the others: it would make one set whose
    // window has no end.
    if (!(interval > 0.0) || !std::isfinite(interval)) {
        dialog().messageBox(std::string(text::INTERVAL_FORMAT_MESSAGE),
                            std::string(text::CALCULATE_CAPTION));
        return std::nullopt;
    }
    return interval;
}

void DataFilterPage::fillSet(TemperatureSet &set, double time, double windowSeconds) const {
    const LoggerArray &array = window.fileSelectionPage.loggerArray;
    // A position is measured when its logger had samples in the window; the set summaries
    // look at those alone.
    auto measure = [&](const LogFile &logger, int row, int col) {
        const double value = logger.averageAround(time, windowSeconds);
        set.setValue(row, col, value);
        if (value != NO_VALUE)
            set.setMeasured(row, col);
    };
    for (int row = 0; row < set.rows; ++row)
        for (int col = 0; col < set.columns; ++col)
            if (const LogFile *logger = array.at(row, col))
                measure(*logger, row, col);
    // Gaps are filled from the grid alone; singular values are never estimated.
    set.fillGaps();
    for (int slot = 0; slot < set.singularCount; ++slot)
        if (const LogFile *logger = array.at(-1, slot))
            measure(*logger, SINGULAR_ROW, slot);
}

void DataFilterPage::showStatus(int count) {
    text::format(statusText, text::SETS_CREATED, count);
    dialog().setText(STATUS, statusText);
}

CommandOutcome DataFilterPage::calculateAtTime() {
    const std::optional<double> time = readTime(TIME, text::TIME_FORMAT_MESSAGE);
    if (!time)
        return CommandOutcome::failed(text::TIME_FORMAT_MESSAGE);
    SetList &sets = window.fileSelectionPage.setList;
    const ArrayDimensions d = window.fileSelectionPage.loggerArray.dimensions();
    auto set = std::make_unique<TemperatureSet>(*time, 0.0, d.rows, d.columns, d.singularCount);
    fillSet(*set, *time, 0.0);
    sets.clear();
    sets.append(std::move(set));
    showStatus(1);
    return CommandOutcome::completed();
}

CommandOutcome DataFilterPage::calculateAveraged() {
    const std::optional<double> interval = readInterval();
    if (!interval)
        return CommandOutcome::failed(text::INTERVAL_FORMAT_MESSAGE);
    const std::optional<double> start = readTime(START_TIME, text::START_FORMAT_MESSAGE);
    if (!start)
        return CommandOutcome::failed(text::START_FORMAT_MESSAGE);
    const std::optional<double> finish = readTime(FINISH_TIME, text::FINISH_FORMAT_MESSAGE);
    if (!finish)
        return CommandOutcome::failed(text::FINISH_FORMAT_MESSAGE);
    // An interval too small to move the start time would repeat the first set for ever, and
    // one far smaller than the time span would fill the memory with sets.
    const ArrayDimensions d = window.fileSelectionPage.loggerArray.dimensions();
    const double valuesPerSet = static_cast<double>(d.rows) * d.columns + d.singularCount;
    const double estimate = (*finish - *start) / *interval + 2.0;
    if (*start + *interval == *start || estimate > MAX_AVERAGED_SETS ||
        estimate * valuesPerSet > MAX_SET_VALUES)
        return showFailure(dialog(), text::INTERVAL_FORMAT_MESSAGE, text::CALCULATE_CAPTION);

    SetList &sets = window.fileSelectionPage.setList;
    const double windowSeconds = *interval * SECONDS_PER_DAY;
    sets.clear();
    if (estimate > 0.0)
        sets.reserve(static_cast<std::size_t>(truncToInt(estimate)));
    int count = 0;
    // Repeated addition and exact comparisons: later start times carry the accumulated
    // rounding, and that decides whether a set starting at the finish time is made.
    for (double t = *start; t == *start || t < *finish; t += *interval) {
        auto set =
            std::make_unique<TemperatureSet>(t, *interval, d.rows, d.columns, d.singularCount);
        fillSet(*set, t, windowSeconds);
        sets.append(std::move(set));
        ++count;
        showStatus(count);
    }
    return CommandOutcome::completed();
}

CommandOutcome DataFilterPage::loadReport() {
    platform::Host &host = window.host();
    platform::FileDialogOptions options = reportDialogOptions(host);
    options.mustExist = true;
    const std::optional<std::string> chosen = host.openFile(options);
    if (!chosen)
        return CommandOutcome::cancelled();
    return loadReport(*chosen);
}

CommandOutcome DataFilterPage::loadReport(const std::string &path) {
    const std::string caption(text::LOAD_REPORT_CAPTION);
    // The whole file is read and checked into new records before any control changes, so a
    // damaged report leaves the pages and the array as they were.
    ReportFileRead read = readReportFile(path);
    if (!read.opened)
        return showFailure(dialog(), text::REPORT_NOT_LOADED, caption);
    std::optional<ReportContents> &report = read.contents;
    if (!report)
        return showFailure(dialog(), text::REPORT_BAD_FORMAT, caption);

    // Update Layout runs between the File Selection page's settings and the Data Filter
    // page's, which come after them.
    FileSelectionPage &layout = window.fileSelectionPage;
    bool layoutUpdated = false;
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i) {
        const Setting &setting = SETTINGS[i];
        if (setting.page == SettingPage::DataFilter && !layoutUpdated) {
            layout.updateLayout();
            layoutUpdated = true;
        }
        writeSetting(settingDialog(window, setting), setting, report->fields[i + 1]);
    }

    LoggerArray &array = layout.loggerArray;
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

    return calculateAveraged();
}

CommandOutcome DataFilterPage::createReport() {
    platform::Host &host = window.host();
    FileSelectionPage &layout = window.fileSelectionPage;
    platform::FileDialogOptions options = reportDialogOptions(host);
    const std::string projectNumber = layout.dialog().text(FileSelectionPage::PROJECT_NUMBER);
    if (!projectNumber.empty())
        options.proposedName = projectNumber + "." + std::string(text::REPORT_EXTENSION);
    options.promptOverwrite = true;
    options.pathMustExist = true;
    const std::optional<std::string> chosen = host.saveFile(options);
    if (!chosen)
        return CommandOutcome::cancelled();

    ReportFields fields;
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i)
        fields[i + 1] = readSetting(settingDialog(window, SETTINGS[i]), SETTINGS[i]);
    const std::string target = reportTarget(*chosen);
    if (!writeReportFile(target, fields, layout.loggerArray))
        return showFailure(dialog(), text::REPORT_NOT_SAVED, text::SAVE_REPORT_CAPTION);
    copyCompanionFiles(host.executableDirectory(), fs::path(target).parent_path().string());
    return CommandOutcome::completed();
}

} // namespace zqar
