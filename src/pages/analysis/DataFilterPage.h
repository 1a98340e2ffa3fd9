#pragma once
// The Data Filter tab: the analysis and graph settings in its controls, the two set
// calculations, and the report file's two commands.

#include "core/data/bounds.h"
#include "platform/CommandOutcome.h"
#include "platform/Page.h"
#include "resources/controlIds.h"

#include <optional>
#include <string>
#include <string_view>

namespace zqar {

class MainWindow;
class LoggerArray;
class TemperatureSet;

// Minutes to days: one unit in the last place below the nearest double of 1/1440. The
// averaged sets' start times and their count depend on this exact constant.
constexpr double DAYS_PER_MINUTE = 0.0006944444444444444;

class DataFilterPage : public platform::Page, public DataFilterControls {
public:
    explicit DataFilterPage(MainWindow &window);

    MainWindow &window;

    CommandOutcome calculateAtTime();
    CommandOutcome calculateAveraged();
    // Both end with Calculate Averaged, whose outcome they answer.
    CommandOutcome loadReport();
    // Load Report without its file dialog: the report at path.
    CommandOutcome loadReport(const std::string &path);
    CommandOutcome createReport();

private:
    // The interval in days, or none after showing the interval message.
    std::optional<double> readInterval();
    // A date-time control's day number, or none after showing message.
    std::optional<double> readTime(int id, std::string_view message);
    void fillSet(TemperatureSet &set, double time, double window) const;
    void showStatus(int count);
    std::string statusText; // kept, so a status per set made allocates nothing
};

} // namespace zqar
