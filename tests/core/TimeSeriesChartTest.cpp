#include "pages/presentation/TimeSeriesChart.h"
#include "core/analysis/TemperatureSet.h"
#include "resources/strings.h"

#include "support/PageHarness.h"

#include <array>
#include <cmath>

using namespace zqar;
using namespace zqar::testing;

namespace {

struct Extent {
    bool hasSamples;
    double minimum, maximum, first, last;
};

std::vector<Extent> decimate(const std::vector<double> &values, double first, double period,
                             double viewStart, double viewEnd, int columns) {
    std::vector<ColumnExtent> out;
    decimateColumns(values.data(), values.size(), first, period, viewStart, viewEnd, columns, out);
    std::vector<Extent> result;
    for (const ColumnExtent &e : out)
        result.push_back({e.hasSamples, e.minimum, e.maximum, e.first, e.last});
    return result;
}

TEST(TimeSeriesDecimation, TakesEachSampleIntoTheColumnItsTimeFallsIn) {
    // Samples at 0, 1, ... 7 into four columns of width 2 over [0, 8).
    const auto e = decimate({5, 1, 7, 3, 2, 9, 4, 6}, 0.0, 1.0, 0.0, 8.0, 4);
    ASSERT_EQ(e.size(), 4u);
    const double expected[4][4] = {{1, 5, 5, 1}, {3, 7, 7, 3}, {2, 9, 2, 9}, {4, 6, 4, 6}};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_TRUE(e[c].hasSamples);
        EXPECT_EQ(e[c].minimum, expected[c][0]);
        EXPECT_EQ(e[c].maximum, expected[c][1]);
        EXPECT_EQ(e[c].first, expected[c][2]);
        EXPECT_EQ(e[c].last, expected[c][3]);
    }
}

TEST(TimeSeriesDecimation, KeepsASingleSampleSpikeAmongAMillion) {
    std::vector<double> values(1000000, 20.0);
    values[654321] = 45.5;
    values[123456] = -3.0;
    const auto e = decimate(values, 100.0, 1.0 / 1440.0, 100.0, 100.0 + 1000000 / 1440.0, 1920);
    double highest = 0.0;
    double lowest = 100.0;
    int spikeColumns = 0;
    for (const Extent &c : e) {
        ASSERT_TRUE(c.hasSamples);
        highest = std::max(highest, c.maximum);
        lowest = std::min(lowest, c.minimum);
        spikeColumns += c.maximum == 45.5;
    }
    EXPECT_EQ(highest, 45.5);
    EXPECT_EQ(lowest, -3.0);
    EXPECT_EQ(spikeColumns, 1); // in one column, not smeared and not lost
}

TEST(TimeSeriesDecimation, ViewsPartlyOrWhollyOutsideTheSamples) {
    struct Case {
        const char *what;
        double viewStart, viewEnd, period;
        int columns;
        std::vector<bool> filled;
    };
    const Case cases[] = {
        {"view before the samples", -10.0, -2.0, 1.0, 2, {false, false}},
        {"view after the samples", 20.0, 30.0, 1.0, 2, {false, false}},
        {"samples end halfway", 2.0, 10.0, 1.0, 4, {true, true, false, false}},
        {"samples sparser than columns",
         0.0,
         4.0,
         1.0,
         8,
         {true, false, true, false, true, false, true, false}},
        {"no period: every sample at the start", -1.0, 1.0, 0.0, 2, {false, true}},
        {"no columns", 0.0, 4.0, 1.0, 0, {}},
        {"empty view", 3.0, 3.0, 1.0, 2, {false, false}},
    };
    const std::vector<double> values{1, 2, 3, 4, 5, 6}; // times 0 .. 5
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto e = decimate(values, 0.0, c.period, c.viewStart, c.viewEnd, c.columns);
        ASSERT_EQ(e.size(), c.filled.size());
        for (std::size_t i = 0; i < e.size(); ++i)
            EXPECT_EQ(e[i].hasSamples, c.filled[i]) << "column " << i;
    }
}

TEST(TimeSeriesDecimation, MissingReadingsTakeNoPartAndBreakTheLine) {
    constexpr double M = NO_VALUE;
    struct Case {
        const char *what;
        std::vector<double> values; // at times 0, 1, ... into columns of width 3
        std::vector<bool> filled;
        std::vector<bool> gapBefore;
        std::vector<std::array<double, 4>> extents; // minimum, maximum, first, last of filled
    };
    const Case cases[] = {
        {"a missing reading inside a column",
         {1, M, 3, 4, 5, 6},
         {true, true},
         {false, false},
         {{{1, 3, 1, 3}}, {{4, 6, 4, 6}}}},
        {"a column of missing readings between two",
         {1, 2, 3, M, M, M, 7, 8, 9},
         {true, false, true},
         {false, false, true},
         {{{1, 3, 1, 3}}, {{7, 9, 7, 9}}}},
        {"missing at a column's end",
         {1, 2, M, 4, 5, 6},
         {true, true},
         {false, true},
         {{{1, 2, 1, 2}}, {{4, 6, 4, 6}}}},
        {"missing at a column's start",
         {1, 2, 3, M, 5, 6},
         {true, true},
         {false, true},
         {{{1, 3, 1, 3}}, {{5, 6, 5, 6}}}},
        // The break before the first reading has nothing to part from.
        {"missing before the first reading",
         {M, M, M, M, 5, 6, 7, 8, 9},
         {false, true, true},
         {false, true, false},
         {{{5, 6, 5, 6}}, {{7, 9, 7, 9}}}},
        {"nothing but missing readings", {M, M, M, M, M, M}, {false, false}, {false, false}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ColumnExtent> out;
        const int columns = static_cast<int>(c.filled.size());
        decimateColumns(c.values.data(), c.values.size(), 0.0, 1.0, 0.0, 3.0 * columns, columns,
                        out);
        ASSERT_EQ(out.size(), c.filled.size());
        std::size_t filled = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(out[i].hasSamples, c.filled[i]);
            if (!out[i].hasSamples)
                continue;
            EXPECT_EQ(out[i].breakBefore, c.gapBefore[i]);
            ASSERT_LT(filled, c.extents.size());
            const std::array<double, 4> &x = c.extents[filled++];
            EXPECT_EQ(out[i].minimum, x[0]);
            EXPECT_EQ(out[i].maximum, x[1]);
            EXPECT_EQ(out[i].first, x[2]);
            EXPECT_EQ(out[i].last, x[3]);
        }
        EXPECT_EQ(filled, c.extents.size());
    }
}

constexpr double HOUR = 1.0 / 24.0;

TEST(TimeSeriesTicks, TimeStepsKeepTicksApartAndOnRoundTimes) {
    struct Case {
        double span; // days
        int width;   // pixels
        double step; // days
    };
    const Case cases[] = {
        {HOUR, 1000, 5.0 / 1440.0}, {1.0, 1000, 2 * HOUR}, {1.0, 300, 12 * HOUR},
        {3.0, 1000, 6 * HOUR},      {7.0, 1000, 1.0},      {30.0, 1000, 7.0},
        {365.0, 1920, 28.0},        {365.0, 600, 91.0},    {3650.0, 800, 728.0},
    };
    const double start = novemberFifth(10, 17);
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.span << " days over " << c.width << " px");
        const Ticks ticks = timeTicks(start, start + c.span, c.width, 80);
        EXPECT_NEAR(ticks.step, c.step, 1e-12);
        ASSERT_FALSE(ticks.positions.empty());
        EXPECT_GE(ticks.step / c.span * c.width, 80.0);
        for (const double t : ticks.positions) {
            EXPECT_GE(t, start);
            EXPECT_LE(t, start + c.span);
            const CivilTime civil = civilFromDayNumber(t);
            if (c.step >= HOUR) {
                EXPECT_EQ(civil.minute, 0);
            }
            if (c.step >= 1.0) {
                EXPECT_EQ(civil.hour, 0);
            }
            if (c.step == 7.0) {
                EXPECT_EQ(std::fmod(t - 2.0, 7.0), 0.0) << "weeks start on Monday";
            }
        }
    }
}

TEST(TimeSeriesTicks, ValueStepsAreOneTwoOrFiveTimesAPowerOfTen) {
    struct Case {
        double low, high;
        int height;
        double step, first;
    };
    const Case cases[] = {
        {18.3, 24.9, 300, 1.0, 19.0}, {18.3, 24.9, 100, 5.0, 20.0},
        {-40, 80, 600, 10.0, -40.0},  {20.01, 20.09, 400, 0.01, 20.01},
        {0, 1000, 200, 200.0, 0.0},   {-5.5, -1.2, 1000, 0.2, -5.4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.low << " to " << c.high << " over " << c.height);
        const Ticks ticks = valueTicks(c.low, c.high, c.height, 30);
        EXPECT_NEAR(ticks.step, c.step, c.step * 1e-9);
        ASSERT_FALSE(ticks.positions.empty());
        EXPECT_NEAR(ticks.positions.front(), c.first, c.step * 1e-6);
        EXPECT_LE(ticks.positions.back(), c.high + c.step * 1e-6);
        EXPECT_GE(ticks.step / (c.high - c.low) * c.height, 30.0);
    }
}

TEST(TimeSeriesTicks, TextsOfTimesAndDates) {
    EXPECT_EQ(timeTickText(novemberFifth(14, 30), HOUR), "14:30");
    EXPECT_EQ(timeTickText(novemberFifth(0, 0), HOUR), "05-Nov");
    EXPECT_EQ(timeTickText(novemberFifth(0, 0), 7.0), "05-Nov");
}

// Two loggers on a 1 x 2 array, samples every minute from 10:00 to 12:00 on 5 November 2003,
// and hourly averaged sets from 10:00 to 11:59: two of them.
class TimeSeriesPages : public PageTest {
protected:
    void SetUp() override {
        layout("1", "2", "1");
        LoggerArray &array = window.job.loggerArray;
        array.place(
            0, 0, makeRecord("10230", novemberFifth(10, 0), 60.0, std::vector<double>(121, 20.0)));
        array.place(
            0, 1,
            makeRecord("10231", novemberFifth(10, 0), 60.0, std::vector<double>(121, 22.0), 2));
        dataFilter().setText(DataFilterPage::START_TIME, "05-Nov-2003 10:00AM");
        dataFilter().setText(DataFilterPage::FINISH_TIME, "05-Nov-2003 11:59AM");
        dataFilter().setText(DataFilterPage::AVERAGING_INTERVAL, "60");
        ASSERT_FALSE(window.dataFilterPage.calculateAveraged().hasFailed());
    }
};

TEST_F(TimeSeriesPages, ReadsTheLinesTheRangeAndTheCurrentSetFromThePages) {
    const TimeSeriesInput input = timeSeriesInput(window.job, window.settings());
    ASSERT_EQ(input.lines.size(), 2u);
    EXPECT_EQ(input.lines[0].label, "R1C1 10230");
    EXPECT_EQ(input.lines[1].label, "R1C2 10231,2");
    EXPECT_EQ(input.start, novemberFifth(10, 0));
    EXPECT_EQ(input.finish, novemberFifth(11, 59));
    EXPECT_TRUE(input.hasCurrentSet);
    EXPECT_EQ(input.currentTime, novemberFifth(10, 0));
    EXPECT_FALSE(input.lowerLimit);
    EXPECT_FALSE(input.upperLimit);

    // A start time that does not read: the samples' own range.
    dataFilter().setText(DataFilterPage::START_TIME, "soon");
    const TimeSeriesInput fallback = timeSeriesInput(window.job, window.settings());
    EXPECT_EQ(fallback.start, novemberFifth(10, 0));
    EXPECT_DOUBLE_EQ(fallback.finish, novemberFifth(12, 0));
}

TEST_F(TimeSeriesPages, AClickMakesTheSetHoldingThatTimeCurrentOnBothPages) {
    ASSERT_EQ(window.job.setList.count(), 2);
    struct Case {
        double time;
        int set;
    };
    const Case cases[] = {
        {novemberFifth(11, 30), 1}, {novemberFifth(10, 59), 0}, {novemberFifth(11, 0), 1},
        {novemberFifth(9, 0), 0},   {novemberFifth(15, 0), 1},
    };
    for (const Case &c : cases) {
        const int index = setHoldingTime(window.job.setList, c.time);
        ASSERT_GE(index, 0);
        window.showSet(index);
        EXPECT_EQ(window.job.setList.currentSet, c.set);
        const std::string status = matrix().text(MatrixPage::STATUS);
        EXPECT_EQ(status.substr(0, 6), std::to_string(c.set + 1) + " of 2");
        EXPECT_NEAR(timeSeriesInput(window.job, window.settings()).currentTime,
                    novemberFifth(10 + c.set, 0), 1e-9);
    }
}

TEST(TimeSeriesSets, NoSetsNoMove) {
    SetList sets;
    EXPECT_EQ(setHoldingTime(sets, 1000.0), -1);
    sets.append(std::make_unique<TemperatureSet>(10.0, 0.0, 1, 1, 0));
    sets.append(std::make_unique<TemperatureSet>(20.0, 0.0, 1, 1, 0));
    EXPECT_EQ(setHoldingTime(sets, 14.0), 0); // sets at a time: the nearest
    EXPECT_EQ(setHoldingTime(sets, 16.0), 1);
}

} // namespace
