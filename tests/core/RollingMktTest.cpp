#include "core/analysis/rollingMkt.h"
#include "core/analysis/mkt.h"
#include "core/analysis/statistics.h"

#include "support/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace zqar;
using namespace zqar::testing;

namespace {

constexpr double MINUTE = 1.0 / 1440.0; // days

// MKT of the readings in each window [t, t + W) that starts at a reading, summed window by
// window with the largest term of each window factored out.
std::vector<double> directWindowMkts(const std::vector<double> &values, double periodMinutes,
                                     double windowMinutes, double lastStartMinutes,
                                     double enthalpy) {
    std::vector<double> mkts;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k] == NO_VALUE || k * periodMinutes > lastStartMinutes)
            continue;
        double highest = -1e300;
        std::vector<double> window;
        for (std::size_t j = k; j < values.size() && (j - k) * periodMinutes < windowMinutes; ++j)
            if (values[j] != NO_VALUE) {
                window.push_back(values[j]);
                highest = std::max(highest, values[j]);
            }
        const double largest = -enthalpy / (highest + ZERO_CELSIUS);
        double sum = 0.0;
        for (const double v : window)
            sum += std::exp(-enthalpy / (v + ZERO_CELSIUS) - largest);
        mkts.push_back(enthalpy / -(largest + std::log(sum / window.size())) - ZERO_CELSIUS);
    }
    return mkts;
}

std::vector<double> randomReadings(std::size_t count, unsigned seed, double missingShare) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> temperature(2.0, 35.0);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::vector<double> values(count);
    for (double &v : values)
        v = chance(random) < missingShare ? NO_VALUE : temperature(random);
    return values;
}

} // namespace

TEST(RollingMkt, AWindowAsLongAsTheSpanGivesTheSpansMkt) {
    const double start = dayAt(2024, 5, 1);
    const std::vector<double> values = randomReadings(720, 3, 0.0);
    const LoggerArray array = arrayOf(recordWith("a", start, 600.0, values));
    const double finish = start + 719 * 10 * MINUTE;
    StatisticsSettings settings;
    const std::optional<double> spanMkt =
        computeStatistics(array, start, finish, settings).positions[0].mkt;
    ASSERT_TRUE(spanMkt);

    const double enthalpy = mktEnthalpy(settings.activationEnergy);
    const std::vector<WindowMkt> windows =
        windowMkts(*array.at(0, 0), start, finish, 120.0, enthalpy);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_NEAR(windows[0].mkt, *spanMkt, 1e-9);
    const RollingMkt rolling = computeRollingMkt(array, start, finish, 120.0, 83.144);
    ASSERT_TRUE(rolling.positions[0].window);
    EXPECT_NEAR(rolling.positions[0].window->mkt, *spanMkt, 1e-9);
    EXPECT_EQ(rolling.positions[0].window->start, start);
    EXPECT_EQ(rolling.positions[0].window->end, start + 5.0);
}

TEST(RollingMkt, SlidingSumsAgreeWithASumPerWindow) {
    struct Case {
        std::size_t readings;
        double periodMinutes;
        double windowHours;
        double missingShare;
        double energy;
    };
    const Case cases[] = {
        {3000, 5.0, 6.0, 0.0, 83.144},   {3000, 5.0, 6.0, 0.1, 83.144},
        {2000, 10.0, 2.25, 0.3, 60.0},   {1500, 1.0, 0.5, 0.05, 1000.0},
        {500, 60.0, 500.0, 0.0, 83.144}, {400, 15.0, 0.1, 0.0, 83.144},
    };
    unsigned seed = 11;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.windowHours);
        const double start = dayAt(2024, 5, 1, 7, 0);
        const std::vector<double> values = randomReadings(c.readings, seed++, c.missingShare);
        const auto record = recordWith("a", start, c.periodMinutes * 60.0, values);
        const double lastMinutes = (c.readings - 1) * c.periodMinutes;
        // The span ends half an interval after the last reading: windows may end an interval
        // after that.
        const double finish = start + (lastMinutes + c.periodMinutes / 2) * MINUTE;
        const double windowMinutes = c.windowHours * 60.0;
        const double lastStart = lastMinutes + c.periodMinutes * 1.5 - windowMinutes;
        const double enthalpy = mktEnthalpy(c.energy);

        const std::vector<WindowMkt> sliding =
            windowMkts(*record, start, finish, c.windowHours, enthalpy);
        const std::vector<double> direct =
            directWindowMkts(values, c.periodMinutes, windowMinutes, lastStart, enthalpy);
        ASSERT_EQ(sliding.size(), direct.size());
        ASSERT_FALSE(direct.empty());
        for (std::size_t w = 0; w < direct.size(); ++w)
            ASSERT_NEAR(sliding[w].mkt, direct[w], 1e-9) << w;

        const auto top =
            std::max_element(sliding.begin(), sliding.end(),
                             [](const WindowMkt &a, const WindowMkt &b) { return a.mkt < b.mkt; });
        const std::optional<WindowMkt> highest =
            highestWindowMkt(*record, start, finish, c.windowHours, enthalpy);
        ASSERT_TRUE(highest);
        EXPECT_NEAR(highest->mkt, top->mkt, 1e-12);
        EXPECT_EQ(highest->start, top->start);
    }
}

TEST(RollingMkt, WindowsStartAtReadingsAndEndAnIntervalAfterTheFinishAtTheLatest) {
    const double start = dayAt(2024, 5, 1);
    const auto record =
        recordWith("a", start, 3600.0, {20, 21, NO_VALUE, 23, 24, 25, 26, 27, 28, 29});
    const double enthalpy = mktEnthalpy(83.144);
    for (const double finishHours : {9.0, 9.5}) {
        SCOPED_TRACE(finishHours);
        const std::vector<WindowMkt> windows =
            windowMkts(*record, start, start + finishHours / 24.0, 3.0, enthalpy);
        // Starts at hours 0, 1, 3, ... 7 (hour 2 is missing); the last ends at hour 10.
        ASSERT_EQ(windows.size(), 7u);
        EXPECT_EQ(windows[1].start, start + 1.0 / 24.0);
        EXPECT_EQ(windows[2].start, start + 3.0 / 24.0);
        EXPECT_NEAR(windows.back().end, start + 10.0 / 24.0, 1e-9);
        // The window from hour 1 holds the readings of hours 1 and 3 only.
        const double twoReadings =
            enthalpy / -std::log((std::exp(-enthalpy / (21 + ZERO_CELSIUS)) +
                                  std::exp(-enthalpy / (23 + ZERO_CELSIUS))) /
                                 2) -
            ZERO_CELSIUS;
        EXPECT_NEAR(windows[1].mkt, twoReadings, 1e-9);
    }
    EXPECT_TRUE(windowMkts(*record, start, start + 1.5 / 24.0, 3.0, enthalpy).empty());
    EXPECT_FALSE(highestWindowMkt(*record, start, start + 1.5 / 24.0, 3.0, enthalpy));
}

TEST(RollingMkt, HugeEnergiesNeitherCollapseNorLetAReadingOutsideEveryWindowIn) {
    // Hourly readings at 20 with a warm and a hot hour, then a gap, then a reading at 40 that no
    // window starting at a reading holds (the last start is hour 10).
    const double start = dayAt(2024, 5, 1);
    std::vector<double> values(61, NO_VALUE);
    for (int h = 0; h <= 10; ++h)
        values[h] = 20.0;
    values[0] = 25.0;
    values[4] = 30.0;
    values[60] = 40.0;
    const auto record = recordWith("a", start, 3600.0, values);
    const double finish = start + 60.0 / 24.0;
    for (const double energy : {83.144, 83144.0, 1e9}) {
        SCOPED_TRACE(energy);
        const double enthalpy = mktEnthalpy(energy);
        const std::vector<WindowMkt> windows = windowMkts(*record, start, finish, 5.0, enthalpy);
        ASSERT_EQ(windows.size(), 11u);
        const std::vector<double> direct =
            directWindowMkts(values, 60.0, 300.0, 55 * 60.0, enthalpy);
        ASSERT_EQ(direct.size(), 11u);
        for (std::size_t w = 0; w < direct.size(); ++w)
            EXPECT_NEAR(windows[w].mkt, direct[w], 1e-9) << w;
        const std::optional<WindowMkt> highest =
            highestWindowMkt(*record, start, finish, 5.0, enthalpy);
        ASSERT_TRUE(highest);
        EXPECT_EQ(highest->start, start); // the window holding hours 0 and 4
        EXPECT_LT(highest->mkt, 30.0);
        EXPECT_GT(highest->mkt, 20.0);
    }
}

TEST(RollingMkt, ReadsTheWindowSetting) {
    EXPECT_FALSE(readMktWindow("").hours);
    EXPECT_FALSE(readMktWindow(" ").wrong);
    EXPECT_EQ(readMktWindow("720").hours, 720.0);
    EXPECT_EQ(readMktWindow(" 0.5 ").hours, 0.5);
    for (const char *wrong : {"0", "-24", "abc", "24h", "1e999"})
        EXPECT_TRUE(readMktWindow(wrong).wrong) << wrong;
}

TEST(RollingMktCsv, OneRowPerPositionAndTheHighestNamed) {
    const double start = dayAt(2024, 5, 1);
    LoggerArray array;
    array.resize(1, 3, 0);
    // Its only reading in the span is too late for a window to end in time.
    array.place(0, 0, recordWith("late", start + 4.5 / 24.0, 3600.0, {20, 21}));
    array.place(0, 2, recordWith("long", start, 3600.0, {20, 20, 30, 30, 20, 20}));
    const double finish = start + 5.0 / 24.0;
    const RollingMkt rolling = computeRollingMkt(array, start, finish, 2.0, 83.144);
    EXPECT_EQ(rollingMktCsv(rolling),
              "Position,Logger,Window Hours,Highest MKT,Window Start,Window End\r\n"
              "R1C1,late,2,-,-,-\r\n"
              "R1C2,-,-,-,-,-\r\n"
              "R1C3,long,2,30.00,01-May-2024 02:00AM,01-May-2024 04:00AM\r\n");
    EXPECT_EQ(highestRollingMktLine(rolling),
              "Highest 2-hour MKT: 30.00 at R1C3 (long), from 01-May-2024 02:00AM to "
              "01-May-2024 04:00AM");
    EXPECT_EQ(highestRollingMktLine(computeRollingMkt(array, start, finish, 48.0, 83.144)), "");
}
