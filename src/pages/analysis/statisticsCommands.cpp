#include "pages/analysis/statisticsCommands.h"

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/AtomicFileWriter.h"
#include "core/data/dateTime.h"
#include "pages/presentation/MatrixPage.h"
#include "platform/Host.h"
#include "resources/strings.h"
#include "resources/templates.h"

namespace zqar {

namespace {

CommandOutcome fail(MainWindow &window, std::string_view message) {
    window.host().messageBox(std::string(message), std::string(text::STATISTICS_CAPTION));
    return CommandOutcome::failed(message);
}

CommandOutcome writeCsv(MainWindow &window, const std::string &path, const std::string &csv) {
    if (writeFileAtomically(path, csv))
        return CommandOutcome::completed();
    return fail(window, text::EXPORT_FAILED);
}

} // namespace

StatisticsRun calculateStatistics(MainWindow &window) {
    StatisticsRun run;
    // The span is read as the averaged calculation reads it.
    const platform::Dialog &dataFilter = window.dataFilterPage.dialog();
    const std::optional<double> start = parseDateTime(dataFilter.text(DataFilterPage::START_TIME));
    if (!start) {
        run.outcome = fail(window, text::START_FORMAT_MESSAGE);
        return run;
    }
    const std::optional<double> finish =
        parseDateTime(dataFilter.text(DataFilterPage::FINISH_TIME));
    if (!finish) {
        run.outcome = fail(window, text::FINISH_FORMAT_MESSAGE);
        return run;
    }
    const platform::Dialog &settings = window.statisticsSettings();
    const SettingsReading reading =
        readStatisticsSettings(settings.text(StatisticsControls::LOWER_LIMIT),
                               settings.text(StatisticsControls::UPPER_LIMIT),
                               settings.text(StatisticsControls::ACTIVATION_ENERGY));
    switch (reading.problem) {
    case SettingsProblem::Limits:
        run.outcome = fail(window, text::LIMITS_FORMAT_MESSAGE);
        return run;
    case SettingsProblem::ActivationEnergy:
        run.outcome = fail(window, text::ACTIVATION_ENERGY_FORMAT_MESSAGE);
        return run;
    case SettingsProblem::None:
        break;
    }
    run.settings = reading.settings;
    run.statistics =
        computeStatistics(window.fileSelectionPage.loggerArray, *start, *finish, reading.settings);
    return run;
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

CommandOutcome writeStatisticsCsv(MainWindow &window, const MappingStatistics &statistics,
                                  const std::string &path) {
    return writeCsv(window, path, statisticsCsv(statistics));
}

CommandOutcome writeSetSummaryCsv(MainWindow &window, const std::string &path) {
    return writeCsv(window, path, setSummaryCsv(window.fileSelectionPage.setList));
}

CommandOutcome writeStatisticMapCsv(MainWindow &window, const TemperatureSet &map,
                                    const std::string &path) {
    return writeCsv(window, path, statisticMapCsv(window, map));
}

} // namespace zqar
