#pragma once
// The Data Filter tab: the analysis and graph settings in its controls, the two set
// calculations, and the report file's two commands.

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

// The averaged calculation refuses an interval that would make more sets than this (an
// interval too small to move the day number would never end the loop at all), or more values
// in all sets together than MAX_SET_VALUES (256 MB of them): a year of 26 loggers at 30
// minutes holds 455,520, and the largest layout, 10,000 cells and 1,000 singular slots,
// still gets 2,909 sets. The fuzz build makes both small, so that no input it tries takes
// seconds under the sanitizers.
#ifdef ZQAR_FUZZ_CALCULATION_BOUNDS
constexpr double MAX_AVERAGED_SETS = 1000.0;
constexpr double MAX_SET_VALUES = 200000.0;
#else
constexpr double MAX_AVERAGED_SETS = 1000000.0;
constexpr double MAX_SET_VALUES = 32000000.0;
#endif

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
