#include "analysis/statisticsCommands.h"

#include "analysis/TemperatureSet.h"
#include "app/MainWindow.h"
#include "data/AtomicFileWriter.h"
#include "data/dateTime.h"
#include "platform/Host.h"
#include "presentation/MatrixPage.h"
#include "presentation/statisticsCsv.h"
#include "resources/strings.h"

namespace zqar {

namespace {

void showMessage(MainWindow &window, std::string_view message) {
    window.host().messageBox(std::string(message), std::string(text::STATISTICS_CAPTION));
}

bool writeCsv(MainWindow &window, const std::string &path, const std::string &csv) {
    if (writeFileAtomically(path, csv))
        return true;
    showMessage(window, text::EXPORT_FAILED);
    return false;
}

} // namespace

std::optional<MappingStatistics> calculateStatistics(MainWindow &window) {
    // The span is read as the averaged calculation reads it.
    const platform::Dialog &dataFilter = window.dataFilterPage.dialog();
    const std::optional<double> start = parseDateTime(dataFilter.text(DataFilterPage::START_TIME));
    if (!start) {
        showMessage(window, text::START_FORMAT_MESSAGE);
        return std::nullopt;
    }
    const std::optional<double> finish =
        parseDateTime(dataFilter.text(DataFilterPage::FINISH_TIME));
    if (!finish) {
        showMessage(window, text::FINISH_FORMAT_MESSAGE);
        return std::nullopt;
    }
    const StatisticsSettingTexts &texts = window.statisticsSettings;
    const SettingsReading reading = readStatisticsSettings(
        texts.lowerLimitText, texts.upperLimitText, texts.activationEnergyText);
    switch (reading.problem) {
    case SettingsProblem::Limits:
        showMessage(window, text::LIMITS_FORMAT_MESSAGE);
        return std::nullopt;
    case SettingsProblem::ActivationEnergy:
        showMessage(window, text::ACTIVATION_ENERGY_FORMAT_MESSAGE);
        return std::nullopt;
    case SettingsProblem::None:
        break;
    }
    return computeStatistics(window.fileSelectionPage.loggerArray, *start, *finish,
                             reading.settings);
}

StatisticMapSet makeStatisticMap(const MappingStatistics &statistics, MapStatistic statistic) {
    return StatisticMapSet{statisticMap(statistics, statistic),
                           statisticMapTitle(statistics, statistic)};
}

std::string statisticMapCsv(MainWindow &window, const TemperatureSet &map) {
    const bool onBoundary =
        window.fileSelectionPage.dialog().isChecked(FileSelectionPage::LOGGERS_ON_BOUNDARY);
    return matrixCsv(map, window.fileSelectionPage.loggerArray.dimensions(), onBoundary);
}

bool writeStatisticsCsv(MainWindow &window, const MappingStatistics &statistics,
                        const std::string &path) {
    return writeCsv(window, path, statisticsCsv(statistics));
}

bool writeSetSummaryCsv(MainWindow &window, const std::string &path) {
    return writeCsv(window, path, setSummaryCsv(window.fileSelectionPage.setList));
}

bool writeStatisticMapCsv(MainWindow &window, const TemperatureSet &map, const std::string &path) {
    return writeCsv(window, path, statisticMapCsv(window, map));
}

} // namespace zqar
