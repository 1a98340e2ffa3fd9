#include "pages/analysis/DataFilterPage.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/dateTime.h"
#include "resources/strings.h"

#include "support/PageHarness.h"

using namespace zqar;
using namespace zqar::testing;
using DF = DataFilterPage;

namespace {

class DataFilter : public PageTest {
protected:
    // One logger in a 1 x 1 array, sampling once a minute from 10:00 with values 0, 1, 2, ...
    void oneLoggerFromTen(int samples) {
        layout("1", "1", "0");
        std::vector<double> values;
        for (int i = 0; i < samples; ++i)
            values.push_back(i);
        window.job.loggerArray.place(0, 0, makeRecord("4711", novemberFifth(10, 0), 60, values));
    }
    void averaging(const std::string &start, const std::string &finish,
                   const std::string &interval) {
        dataFilter().setText(DF::START_TIME, start);
        dataFilter().setText(DF::FINISH_TIME, finish);
        dataFilter().setText(DF::AVERAGING_INTERVAL, interval);
    }
    // A set of an earlier calculation, to see that a failed one leaves it.
    void earlierSets() {
        dataFilter().setText(DF::TIME, "05-Nov-2003 10:00AM");
        dataFilter().click(DF::CALCULATE_AT_TIME);
        window.job.setList.currentSet = 0;
        ASSERT_EQ(window.job.setList.count(), 1);
    }
    const SetList &sets() { return window.job.setList; }
};

} // namespace

TEST_F(DataFilter, AveragedSetsFromTenToElevenByTwentyFive) {
    oneLoggerFromTen(120);
    averaging("05-Nov-2003 10:00AM", "05-Nov-2003 11:00AM", "25");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    ASSERT_EQ(sets().count(), 3);
    EXPECT_EQ(sets().at(0)->title(), "From 05-Nov-2003 10:00AM to 05-Nov-2003 10:25AM");
    EXPECT_EQ(sets().at(1)->title(), "From 05-Nov-2003 10:25AM to 05-Nov-2003 10:50AM");
    EXPECT_EQ(sets().at(2)->title(), "From 05-Nov-2003 10:50AM to 05-Nov-2003 11:15AM");
    // The start times are sums of the interval, exactly.
    const double interval = 25 * DAYS_PER_MINUTE;
    const double start = sets().at(0)->time();
    EXPECT_EQ(sets().at(1)->time(), start + interval);
    EXPECT_EQ(sets().at(2)->time(), start + interval + interval);
    EXPECT_EQ(sets().at(0)->span, interval);
    EXPECT_EQ(dataFilter().text(DF::STATUS), "3 sets created.");
    EXPECT_EQ(sets().currentSet, 0);
}

TEST_F(DataFilter, FinishNotAfterStartGivesOneSet) {
    oneLoggerFromTen(60);
    for (const char *finish : {"05-Nov-2003 10:00AM", "04-Nov-2003 10:00AM"}) {
        SCOPED_TRACE(finish);
        averaging("05-Nov-2003 10:00AM", finish, "30");
        dataFilter().click(DF::CALCULATE_AVERAGED);
        ASSERT_EQ(sets().count(), 1);
        EXPECT_EQ(sets().at(0)->time(), novemberFifth(10, 0));
        EXPECT_EQ(dataFilter().text(DF::STATUS), "1 sets created.");
    }
}

TEST_F(DataFilter, ThirtyMinuteWindowsOfMinuteSamplesAverageThirtyOne) {
    oneLoggerFromTen(61);
    averaging("05-Nov-2003 10:00AM", "05-Nov-2003 11:00AM", "30");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    ASSERT_GE(sets().count(), 2);
    // Samples 0 to 30 and 30 to 60, both ends included: means 15 and 45.
    EXPECT_EQ(sets().at(0)->valueAt(0, 0), 15.0);
    EXPECT_EQ(sets().at(1)->valueAt(0, 0), 45.0);
}

TEST_F(DataFilter, SetAtATimeTakesTheNearestSample) {
    oneLoggerFromTen(10);
    dataFilter().setText(DF::TIME, "05-Nov-2003 10:03AM");
    dataFilter().click(DF::CALCULATE_AT_TIME);
    ASSERT_EQ(sets().count(), 1);
    EXPECT_EQ(sets().at(0)->valueAt(0, 0), 3.0);
    EXPECT_EQ(sets().at(0)->span, 0.0);
    EXPECT_EQ(dataFilter().text(DF::STATUS), "1 sets created.");
}

TEST_F(DataFilter, WrongTimeKeepsTheEarlierSets) {
    oneLoggerFromTen(10);
    earlierSets();
    const TemperatureSet *before = sets().at(0);
    for (const char *time : {"", "tomorrow"}) {
        SCOPED_TRACE(time);
        dataFilter().setText(DF::TIME, time);
        dataFilter().click(DF::CALCULATE_AT_TIME);
        const auto message = takeMessage();
        EXPECT_EQ(message.text, text::TIME_FORMAT_MESSAGE);
        EXPECT_EQ(message.caption, text::CALCULATE_CAPTION);
        EXPECT_EQ(message.page, &window.dataFilterPage);
        EXPECT_EQ(sets().at(0), before);
    }
}

TEST_F(DataFilter, OnlyTheFirstWrongAveragingSettingIsReported) {
    oneLoggerFromTen(10);
    earlierSets();
    const TemperatureSet *before = sets().at(0);
    struct Case {
        const char *start, *finish, *interval;
        std::string_view message;
    };
    const Case cases[] = {
        {"bad", "bad", "0", text::INTERVAL_FORMAT_MESSAGE},
        {"bad", "bad", "-5", text::INTERVAL_FORMAT_MESSAGE},
        {"bad", "bad", "abc", text::INTERVAL_FORMAT_MESSAGE},
        {"bad", "bad", "", text::INTERVAL_FORMAT_MESSAGE},
        {"bad", "bad", "1e999", text::INTERVAL_FORMAT_MESSAGE},
        {"bad", "bad", "30 minutes", text::START_FORMAT_MESSAGE},
        {"05-Nov-2003 10:00AM", "", "30", text::FINISH_FORMAT_MESSAGE},
        // Far too many sets, or an interval that cannot move the start time.
        {"05-Nov-2003 10:00AM", "05-Nov-2103 10:00AM", "0.01", text::INTERVAL_FORMAT_MESSAGE},
        {"05-Nov-2003 10:00AM", "05-Nov-2003 10:00AM", "1e-12", text::INTERVAL_FORMAT_MESSAGE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.finish + " / " + c.interval);
        averaging(c.start, c.finish, c.interval);
        dataFilter().click(DF::CALCULATE_AVERAGED);
        const auto message = takeMessage();
        EXPECT_EQ(message.text, c.message);
        EXPECT_EQ(message.caption, text::CALCULATE_CAPTION);
        ASSERT_EQ(sets().count(), 1);
        EXPECT_EQ(sets().at(0), before);
    }
}

TEST_F(DataFilter, LargeArraysAllowFewerSets) {
    // The largest layout, 11,000 values a set: an estimate of 2,912 sets is beyond 32 million
    // values in all sets.
    layout("100", "100", "1000");
    const double start = novemberFifth(10, 0);
    averaging(formatDateTime(start), formatDateTime(start + 2910 * DAYS_PER_MINUTE), "1");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    EXPECT_EQ(takeMessage().text, text::INTERVAL_FORMAT_MESSAGE);
    EXPECT_EQ(sets().count(), 0);
    averaging(formatDateTime(start), formatDateTime(start + 10 * DAYS_PER_MINUTE), "1");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    EXPECT_GE(sets().count(), 10);
}

TEST_F(DataFilter, ArrayCellsAndSingularSlotsGetTheirLoggersMeans) {
    layout("1", "2", "1");
    const double ten = novemberFifth(10, 0);
    auto &array = window.job.loggerArray;
    array.place(0, 0, makeRecord("a", ten, 60, {20, 22, 24}));
    array.place(-1, 0, makeRecord("s", ten, 60, {5, 6, 7}));
    averaging("05-Nov-2003 10:00AM", "05-Nov-2003 10:01AM", "2");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    ASSERT_EQ(sets().count(), 1);
    EXPECT_EQ(sets().at(0)->valueAt(0, 0), 22.0);
    EXPECT_EQ(sets().at(0)->valueAt(SINGULAR_ROW, 0), 6.0);
}
