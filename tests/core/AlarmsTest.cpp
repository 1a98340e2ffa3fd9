#include "core/analysis/alarms.h"

#include "support/Records.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

namespace {

constexpr double TEN_MINUTES = 600.0;   // seconds
constexpr double MINUTE = 1.0 / 1440.0; // days

AlarmRule rule(const std::string &spec) {
    const std::optional<AlarmRule> read = readAlarmRule(spec);
    EXPECT_TRUE(read) << spec;
    return read.value_or(AlarmRule{});
}

// The alarms of readings every ten minutes from 06:00 on 3 March 2025, over all of them.
std::vector<Alarm> alarmsOf(const std::vector<double> &readings, const std::string &spec,
                            double start = dayAt(2025, 3, 3, 6, 0)) {
    const auto record = recordWith("a", start, TEN_MINUTES, readings);
    return recordAlarms(*record, start, start + 30.0, rule(spec));
}

double readingTime(int index, double start = dayAt(2025, 3, 3, 6, 0)) {
    return start + index * 10 * MINUTE;
}

} // namespace

TEST(AlarmRule, ReadsTheRuleAsTypedAndRefusesAnythingElse) {
    const AlarmRule cumulative = rule(" Below , -2.5 ,CUMULATIVE, 90 , day ");
    EXPECT_EQ(cumulative.spec, " Below , -2.5 ,CUMULATIVE, 90 , day ");
    EXPECT_EQ(cumulative.side, AlarmSide::Below);
    EXPECT_EQ(cumulative.threshold, -2.5);
    EXPECT_EQ(cumulative.mode, AlarmMode::Cumulative);
    EXPECT_EQ(cumulative.minutes, 90.0);
    EXPECT_TRUE(cumulative.perDay);
    const AlarmRule single = rule("above,45,single,60");
    EXPECT_EQ(single.side, AlarmSide::Above);
    EXPECT_EQ(single.mode, AlarmMode::Single);
    EXPECT_FALSE(single.perDay);

    for (const char *wrong :
         {"", "above", "above,45,single", "over,45,single,60", "above,4x,single,60",
          "above,45,once,60", "above,45,single,0", "above,45,single,-5", "above,45,single,60,day",
          "above,45,cumulative,60,week", "above,45,cumulative,60,day,day", "above,,single,60"})
        EXPECT_FALSE(readAlarmRule(wrong)) << wrong;
    EXPECT_EQ(alarmRuleProblem("above,45"),
              "above,45 is not an alarm rule: "
              "above|below,THRESHOLD,single|cumulative,MINUTES[,day].");
}

TEST(AlarmRule, SingleFiresOnceWhenARunReachesItsMinutes) {
    const std::vector<Alarm> alarms = alarmsOf({1, 9, 9, 9, 9, 9, 9, 9, 9}, "above,8,single,60");
    ASSERT_EQ(alarms.size(), 1u);
    EXPECT_EQ(alarms[0].minutesBeyond, 80.0);
    EXPECT_EQ(alarms[0].firstBeyond, readingTime(1));
    EXPECT_EQ(alarms[0].trigger, readingTime(6)); // the sixth 9
    EXPECT_EQ(alarms[0].peak, 9.0);
    EXPECT_EQ(alarms[0].timeOfPeak, readingTime(1));
    EXPECT_FALSE(alarms[0].day);

    // A reading at the threshold is not beyond it; each run that reaches the minutes fires.
    EXPECT_TRUE(alarmsOf({8, 8, 8, 8, 8, 8, 8}, "above,8,single,60").empty());
    const std::vector<Alarm> two = alarmsOf({-3, -3, -1, -4, -3.5, 0, -3, 2}, "below,-2,single,20");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].trigger, readingTime(1));
    EXPECT_EQ(two[1].firstBeyond, readingTime(3));
    EXPECT_EQ(two[1].peak, -4.0);
    EXPECT_EQ(two[1].minutesBeyond, 20.0);
    EXPECT_EQ(two[1].trigger, readingTime(4));
}

TEST(AlarmRule, CumulativeAddsTheTimeBeyondOverTheSpanOrEachDay) {
    // Two 40-minute runs above 8 on one day.
    const std::vector<double> readings{5, 9, 9, 9, 9, 5, 5, 9.5, 9, 9, 9, 5};
    const std::vector<Alarm> daily = alarmsOf(readings, "above,8,cumulative,60,day");
    ASSERT_EQ(daily.size(), 1u);
    EXPECT_EQ(daily[0].trigger, readingTime(8)); // the second run's second reading
    EXPECT_EQ(daily[0].firstBeyond, readingTime(1));
    EXPECT_EQ(daily[0].minutesBeyond, 80.0);
    EXPECT_EQ(daily[0].peak, 9.5);
    EXPECT_EQ(daily[0].timeOfPeak, readingTime(7));
    ASSERT_TRUE(daily[0].day);
    EXPECT_EQ(*daily[0].day, dayAt(2025, 3, 3));

    // The same runs on either side of midnight: each day holds 40 minutes, the span 80.
    const double lateEvening = dayAt(2025, 3, 3, 23, 0);
    EXPECT_TRUE(alarmsOf(readings, "above,8,cumulative,60,day", lateEvening).empty());
    const std::vector<Alarm> span = alarmsOf(readings, "above,8,cumulative,60", lateEvening);
    ASSERT_EQ(span.size(), 1u);
    EXPECT_FALSE(span[0].day);
    EXPECT_EQ(span[0].trigger, readingTime(8, lateEvening));
}

TEST(AlarmRule, AMissingReadingEndsARunAndCountsNoTime) {
    const std::vector<double> readings{9, 9, 9, NO_VALUE, 9, 9, 9, NO_VALUE};
    EXPECT_TRUE(alarmsOf(readings, "above,8,single,40").empty());
    const std::vector<Alarm> runs = alarmsOf(readings, "above,8,single,30");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].firstBeyond, readingTime(4));
    EXPECT_EQ(runs[1].minutesBeyond, 30.0);
    const std::vector<Alarm> total = alarmsOf(readings, "above,8,cumulative,60");
    ASSERT_EQ(total.size(), 1u);
    EXPECT_EQ(total[0].trigger, readingTime(6));
    EXPECT_EQ(total[0].minutesBeyond, 60.0);
    // The marker itself is never a reading beyond a limit.
    EXPECT_TRUE(alarmsOf({NO_VALUE, NO_VALUE, NO_VALUE}, "above,8,cumulative,10").empty());
}

TEST(AlarmRule, OnlyTheReadingsInTheSpanCount) {
    const double start = dayAt(2025, 3, 3, 6, 0);
    const auto record = recordWith("a", start, TEN_MINUTES, {9, 9, 9, 9, 9, 9});
    EXPECT_EQ(recordAlarms(*record, start, start + 60 * MINUTE, rule("above,8,single,60")).size(),
              1u);
    EXPECT_TRUE(
        recordAlarms(*record, start + 10 * MINUTE, start + 60 * MINUTE, rule("above,8,single,60"))
            .empty());
}

TEST(AlarmsCsv, OneRowPerAlarmInPositionThenTriggerOrder) {
    const double start = dayAt(2025, 3, 3, 6, 0);
    LoggerArray array;
    array.resize(1, 2, 1);
    // Hourly: above 30 for 25 hours in the slot, and above 8 for 26; one reading is an hour.
    std::vector<double> hot(26, 31.0);
    hot[0] = 20.0;
    array.place(-1, 0, recordWith("slot", start, 3600.0, hot));
    array.place(0, 1, recordWith("cell", start, TEN_MINUTES, {1, 9, 9, 9, 9, 9, 9, 9, 9}));
    const std::vector<AlarmRule> rules{rule("above,30,cumulative,600"), rule("above,8,single,60"),
                                       rule("above,8,single,30")};
    const std::vector<Alarm> alarms = evaluateAlarms(array, start, start + 2.0, rules);
    EXPECT_EQ(alarmsCsv(alarms, rules),
              "Position,Logger,Rule,Day,First Beyond,Trigger,Minutes Beyond,Peak,Time of "
              "Peak,Over 24 Hours\r\n"
              "R1C2,cell,\"above,8,single,30\",-,03-Mar-2025 06:10AM,03-Mar-2025 06:30AM,"
              "80.0,9.00,03-Mar-2025 06:10AM,No\r\n"
              "R1C2,cell,\"above,8,single,60\",-,03-Mar-2025 06:10AM,03-Mar-2025 07:00AM,"
              "80.0,9.00,03-Mar-2025 06:10AM,No\r\n"
              "S1,slot,\"above,8,single,60\",-,03-Mar-2025 06:00AM,03-Mar-2025 06:00AM,"
              "1560.0,31.00,03-Mar-2025 07:00AM,Yes\r\n"
              "S1,slot,\"above,8,single,30\",-,03-Mar-2025 06:00AM,03-Mar-2025 06:00AM,"
              "1560.0,31.00,03-Mar-2025 07:00AM,Yes\r\n"
              "S1,slot,\"above,30,cumulative,600\",-,03-Mar-2025 07:00AM,03-Mar-2025 04:00PM,"
              "1500.0,31.00,03-Mar-2025 07:00AM,Yes\r\n");
}
