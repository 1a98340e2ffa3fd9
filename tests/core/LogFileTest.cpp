#include "core/data/LoggerArray.h"
#include "core/job/Prefill.h"

#include <gtest/gtest.h>

using namespace zqar;

namespace {

std::unique_ptr<LogFile> record(double start, double period, std::vector<double> values,
                                const char *name = "L") {
    auto file = std::make_unique<LogFile>();
    file->loggerName.assign(name);
    file->startTime.day = start;
    file->samplePeriod = period;
    file->values = std::move(values);
    file->valueCount = static_cast<int32_t>(file->values.size());
    return file;
}

constexpr double DAY0 = 37930.5; // 5 November 2003 12:00

} // namespace

TEST(LogFileRecord, NewAndResetStates) {
    LogFile file;
    EXPECT_EQ(file.fileName.view(), "?");
    EXPECT_EQ(file.startTime(), 0.0);
    EXPECT_EQ(file.startTime.status, DATE_VALID);
    EXPECT_EQ(file.channel, 1);
    file.loggerName.assign("abc");
    file.startTime.day = 5.0;
    file.channel = 2;
    file.comments[2].assign("x");
    file.values = {1, 2};
    file.valueCount = 2;
    file.reset();
    EXPECT_EQ(file.loggerName.view(), "abc");
    EXPECT_EQ(file.startTime(), 5.0);
    EXPECT_EQ(file.channel, 1);
    EXPECT_TRUE(file.comments[2].empty());
    EXPECT_EQ(file.valueCount, 0);
    EXPECT_TRUE(file.values.empty());
}

TEST(LogFileRecord, TextFieldsHoldAtMost299Characters) {
    TextField field(std::string(500, 'a'));
    EXPECT_EQ(field.view().size(), 299u);
    EXPECT_EQ(field.bytes[299], 0);
    // A field without a terminating zero is read as its first 299 characters.
    std::memset(field.bytes, 'b', sizeof field.bytes);
    EXPECT_EQ(field.view(), std::string(299, 'b'));
}

TEST(LogFileRecord, EndTime) {
    auto file = record(DAY0, 60, {3, -1, 7, 7, -1});
    EXPECT_EQ(file->endTime(), DAY0 + 4 * 60 / 86400.0);
    auto one = record(DAY0, 60, {5});
    EXPECT_EQ(one->endTime(), DAY0);
    auto none = record(DAY0, 60, {});
    EXPECT_EQ(none->endTime(), DAY0 - 60 / 86400.0);
}

TEST(Prefill, RangeOfTheRecordsWithSamples) {
    Prefill prefill;
    prefill.widenRange(*record(DAY0, 60, {}));
    EXPECT_FALSE(prefill.rangeSeen);
    prefill.widenRange(*record(DAY0, 60, {3, -1, 7, 7, -1}));
    prefill.widenRange(*record(DAY0, 60, {5, 6}));
    EXPECT_TRUE(prefill.rangeSeen);
    EXPECT_EQ(prefill.lowest, -1);
    EXPECT_EQ(prefill.highest, 7);
}

TEST(LogFileRecord, CommentsContain) {
    LogFile file;
    file.comments[1].assign("Project P-17\n");
    EXPECT_TRUE(file.commentsContain(""));
    EXPECT_TRUE(file.commentsContain("P-17"));
    EXPECT_FALSE(file.commentsContain("p-17"));
    EXPECT_FALSE(file.commentsContain("P-18"));
}

TEST(LogFileRecord, PropertiesText) {
    auto file = record(37930.0 + 14.5 / 24, 60, {1, 2, 3});
    file->fileName.assign("/data/4711.dta");
    EXPECT_EQ(file->propertiesText(),
              "Filename: /data/4711.dta\r\nStart Time: 05-Nov-2003 02:30PM\r\n"
              "End Time: 05-Nov-2003 02:32PM\r\nSample period: 60\r\nChannel: 1\r\n"
              "Number of Values: 3\r\n");
}

TEST(AverageAround, WindowsAndNearestSamples) {
    const double period = 60.0;
    auto file = record(DAY0, period, {10, 20, 30, 40, 50});
    const double p = period / 86400.0;
    // Window 0: the nearest sample; half-way takes the later one.
    EXPECT_EQ(file->averageAround(DAY0, 0), 10);
    EXPECT_EQ(file->averageAround(DAY0 + 1.4 * p, 0), 20);
    EXPECT_EQ(file->averageAround(DAY0 + 2 * p, 120), 40); // samples 2, 3, 4
    EXPECT_EQ(file->averageAround(DAY0 + 3 * p, 600), 45); // past the end: 3 and 4 only
    // Before the start: 1.4 periods still reach sample 0, 1.5 periods do not.
    EXPECT_EQ(file->averageAround(DAY0 - 1.4 * p, 0), 10);
    EXPECT_EQ(file->averageAround(DAY0 - 1.5 * p, 0), NO_VALUE);
    EXPECT_EQ(file->averageAround(DAY0 - 1.5 * p, 60), 10);
    EXPECT_EQ(file->averageAround(DAY0 + 10 * p, 0), NO_VALUE);
    // A negative window: only the first index is visited.
    EXPECT_EQ(file->averageAround(DAY0 + p, -600), 20);
}

TEST(AverageAround, ThirtyMinuteWindowOfOneMinuteSamplesHas31Samples) {
    std::vector<double> values(100);
    for (int i = 0; i < 100; ++i)
        values[static_cast<std::size_t>(i)] = i;
    auto file = record(DAY0, 60, values);
    // Samples 10 to 40 inclusive.
    EXPECT_EQ(file->averageAround(DAY0 + 10 * 60 / 86400.0, 1800), 25.0);
}

TEST(AverageAround, DegeneratePeriodsNeitherHangNorCrash) {
    auto zero = record(DAY0, 0.0, {1, 2, 3});
    EXPECT_EQ(zero->averageAround(DAY0, 0), NO_VALUE);        // 0/0
    EXPECT_EQ(zero->averageAround(DAY0 + 1, 1800), NO_VALUE); // inf
    auto tiny = record(DAY0, 1e-300, {1, 2, 3});
    EXPECT_EQ(tiny->averageAround(DAY0 - 1, 1e9), NO_VALUE);
    auto negative = record(DAY0, -60, {1, 2, 3});
    EXPECT_EQ(negative->averageAround(DAY0 - 60 / 86400.0, 0), 2);
}

TEST(AverageAround, MissingReadingsAreLeftOutAndAWindowWithoutReadingsHasNoValue) {
    const double p = 60.0 / 86400.0;
    auto file = record(DAY0, 60.0, {10, NO_VALUE, 30, NO_VALUE, NO_VALUE, 60});
    EXPECT_EQ(file->averageAround(DAY0, 120), 20);              // 10 and 30
    EXPECT_EQ(file->averageAround(DAY0 + 3 * p, 60), NO_VALUE); // samples 3 and 4
    EXPECT_EQ(file->averageAround(DAY0 + 3 * p, 120), 60);
    // Calculate At takes the nearest sample; when it is missing the position has no value.
    EXPECT_EQ(file->averageAround(DAY0 + 1.2 * p, 0), NO_VALUE);
    EXPECT_EQ(file->averageAround(DAY0 + 2.2 * p, 0), 30);
    // The range Load Files offers leaves the missing readings out, and a record without a
    // reading offers none.
    Prefill range;
    range.widenRange(*file);
    EXPECT_EQ(range.lowest, 10);
    EXPECT_EQ(range.highest, 60);
    Prefill none;
    none.widenRange(*record(DAY0, 60.0, {NO_VALUE, NO_VALUE}));
    EXPECT_FALSE(none.rangeSeen);
}

TEST(LoggerArray, AddressingAndPlacement) {
    LoggerArray array;
    EXPECT_EQ(array.dimensions().rows, 0);
    array.resize(2, 3, 2);
    array.place(1, 2, record(DAY0, 60, {1}, "cell"));
    array.place(-1, 1, record(DAY0, 60, {1}, "slot"));
    array.place(2, 0, record(DAY0, 60, {1}, "out"));
    array.place(0, 3, record(DAY0, 60, {1}, "out"));
    array.place(-1, 2, record(DAY0, 60, {1}, "out"));
    EXPECT_EQ(array.at(1, 2)->loggerName.view(), "cell");
    EXPECT_EQ(array.at(-1, 1)->loggerName.view(), "slot");
    EXPECT_EQ(array.at(-5, 1), array.at(-1, 1));
    EXPECT_EQ(array.at(0, 3), nullptr);
    EXPECT_EQ(array.at(2, 0), nullptr);
    EXPECT_EQ(array.at(-1, 2), nullptr);
    EXPECT_EQ(array.at(0, -1), nullptr);
    int placed = 0;
    array.forEachPlaced([&](const LogFile &) { ++placed; });
    EXPECT_EQ(placed, 2);
    array.resize(2, 3, 2);
    EXPECT_EQ(array.at(1, 2), nullptr);
}

TEST(LoggerArray, ANoteOfAnEmptyPositionLastsUntilARecordOrANewLayout) {
    LoggerArray array;
    array.resize(2, 2, 1);
    array.noteEmpty(0, 1, EmptyPosition{NotLoaded::NoFile, "A", ""});
    array.noteEmpty(-3, 0, EmptyPosition{NotLoaded::NoSamples, "S", "/s.dta"});
    // Outside the array, or where a record sits, nothing is noted.
    array.noteEmpty(2, 0, EmptyPosition{});
    array.noteEmpty(-1, 1, EmptyPosition{});
    array.place(1, 1, record(DAY0, 60, {1}, "here"));
    array.noteEmpty(1, 1, EmptyPosition{});
    ASSERT_NE(array.whyEmpty(0, 1), nullptr);
    EXPECT_EQ(array.whyEmpty(0, 1)->serial, "A");
    ASSERT_NE(array.whyEmpty(-1, 0), nullptr);
    EXPECT_EQ(array.whyEmpty(-1, 0)->reason, NotLoaded::NoSamples);
    EXPECT_EQ(array.whyEmpty(2, 0), nullptr);
    EXPECT_EQ(array.whyEmpty(-1, 1), nullptr);
    EXPECT_EQ(array.whyEmpty(1, 1), nullptr);
    EXPECT_EQ(array.whyEmpty(0, 0), nullptr);

    array.place(0, 1, record(DAY0, 60, {1}, "A"));
    EXPECT_EQ(array.whyEmpty(0, 1), nullptr);
    array.place(0, 1, nullptr);
    EXPECT_EQ(array.whyEmpty(0, 1), nullptr) << "the note went with the placement";
    array.resize(2, 2, 1);
    EXPECT_EQ(array.whyEmpty(-1, 0), nullptr);
}

TEST(LoggerArray, NegativeCountsAreTreatedAsZero) {
    LoggerArray array;
    array.resize(-3, 4, -1);
    EXPECT_EQ(array.dimensions().rows, 0);
    EXPECT_EQ(array.dimensions().columns, 4);
    EXPECT_EQ(array.dimensions().singularCount, 0);
    EXPECT_EQ(array.at(0, 0), nullptr);
    EXPECT_EQ(array.at(-1, 0), nullptr);
}

TEST(Prefill, LatestStartAndEarliestEndOfThePlacedRecords) {
    LoggerArray array;
    array.resize(1, 3, 1);
    Prefill none;
    none.takeTimes(array);
    EXPECT_FALSE(none.timeSeen);
    array.place(0, 0, record(DAY0, 86400, {1, 2, 3}));           // ends DAY0 + 2
    array.place(0, 2, record(DAY0 + 0.25, 86400, {1, 2, 3, 4})); // ends DAY0 + 3.25
    array.place(-1, 0, record(DAY0 + 0.5, 86400, {1, 2}));       // ends DAY0 + 1.5
    array.place(0, 1, record(DAY0 + 9, 86400, {}));              // no samples: no span
    Prefill prefill;
    prefill.takeTimes(array);
    EXPECT_TRUE(prefill.timeSeen);
    EXPECT_EQ(prefill.latestStart, DAY0 + 0.5);
    EXPECT_EQ(prefill.earliestEnd, DAY0 + 1.5);
}

TEST(Prefill, EndAtZeroDoesNotHoldTheEarliestEnd) {
    LoggerArray array;
    array.resize(1, 2, 0);
    array.place(0, 0, record(0.0, 60, {1}));  // ends exactly at 0.0
    array.place(0, 1, record(DAY0, 60, {1})); // ends at DAY0
    Prefill prefill;
    prefill.takeTimes(array);
    EXPECT_EQ(prefill.earliestEnd, DAY0);
}
