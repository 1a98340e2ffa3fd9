#include "core/analysis/statistics.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/MatrixPage.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include "support/FileBytes.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;

namespace {

using DF = DataFilterPage;

StatisticsSettings limits(std::optional<double> lower, std::optional<double> upper) {
    StatisticsSettings settings;
    settings.lowerLimit = lower;
    settings.upperLimit = upper;
    return settings;
}

// The one position of a 1 x 1 array holding the record, over the whole of 5 November 2003.
PositionStatistics figuresOf(std::unique_ptr<LogFile> record, const StatisticsSettings &settings) {
    LoggerArray array;
    array.resize(1, 1, 0);
    array.place(0, 0, std::move(record));
    return computeStatistics(array, novemberFifth(0, 0), novemberFifth(23, 59), settings)
        .positions.at(0);
}

} // namespace

// ---- Samples in span ------------------------------------------------------------------

TEST(SamplesInSpan, TakesTheSamplesFromStartThroughFinishToTheSecond) {
    // Minute samples from 10:00; the start's last bits lie a hair after the minute, which the
    // second rounding forgives.
    auto record = makeRecord("a", std::nextafter(novemberFifth(10, 0), 1e9), 60.0,
                             std::vector<double>(10, 1.0));
    struct Case {
        double start, finish;
        int32_t first, count;
    };
    const Case cases[] = {
        {novemberFifth(10, 0), novemberFifth(10, 9), 0, 10},
        {novemberFifth(10, 3), novemberFifth(10, 5), 3, 3},
        {novemberFifth(10, 3) + 0.4 / SECONDS_PER_DAY, novemberFifth(10, 3), 3, 1},
        {novemberFifth(10, 3) + 0.6 / SECONDS_PER_DAY, novemberFifth(10, 5), 4, 2},
        {novemberFifth(9, 0), novemberFifth(9, 59), 0, 0},
        {novemberFifth(10, 10), novemberFifth(11, 0), 0, 0},
        {novemberFifth(10, 5), novemberFifth(10, 4), 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(formatDateTime(c.start) + " to " + formatDateTime(c.finish));
        const SampleSelection selection = samplesInSpan(*record, c.start, c.finish);
        EXPECT_TRUE(selection.contiguous());
        EXPECT_EQ(selection.count, c.count);
        if (c.count > 0) {
            EXPECT_EQ(selection.first, c.first);
        }
    }
}

TEST(SamplesInSpan, DirectRangeEqualsTheTestOfEverySample) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    const double periods[] = {0.25, 1.0, 7.0, 59.999, 60.0, 86400.0};
    for (const double period : periods) {
        for (int round = 0; round < 40; ++round) {
            const double start = novemberFifth(0, 0) + fraction(random);
            auto record = makeRecord("a", start, period, std::vector<double>(500, 0.0));
            const double spanStart = start + fraction(random) * 500 * period / SECONDS_PER_DAY;
            const double spanFinish = spanStart + fraction(random) * 300 * period / SECONDS_PER_DAY;
            std::vector<int32_t> expected;
            for (int32_t i = 0; i < 500; ++i) {
                const int64_t t = roundedSeconds(start + (i * period) / SECONDS_PER_DAY);
                if (roundedSeconds(spanStart) <= t && t <= roundedSeconds(spanFinish))
                    expected.push_back(i);
            }
            const SampleSelection selection = samplesInSpan(*record, spanStart, spanFinish);
            std::vector<int32_t> got;
            for (int32_t k = 0; k < selection.count; ++k)
                got.push_back(selection.index(k));
            SCOPED_TRACE("period " + std::to_string(period));
            ASSERT_EQ(got, expected);
        }
    }
}

TEST(SamplesInSpan, RecordsBefore1900AreTestedSampleBySampleAndTakenInTimeOrder) {
    // Before 30 December 1899 the fraction of a day number counts backwards within its day:
    // six-hourly samples from -1.75 are at 18:00, 12:00, 06:00 and 00:00 of 29 December.
    auto record = makeRecord("a", -1.75, 6 * 3600.0, {1.0, 2.0, 3.0, 4.0});
    const SampleSelection selection = samplesInSpan(*record, -1.25, -1.5); // 06:00 to 12:00
    ASSERT_EQ(selection.count, 2);
    EXPECT_EQ(selection.index(0), 2);
    EXPECT_EQ(selection.index(1), 1);
}

// ---- Figures per position ---------------------------------------------------------------

TEST(PositionFigures, HandComputedRecordWithBothLimits) {
    // Below 0: -1. Above 6: 7, 7, 10. The 0 sits on the lower limit and is inside. The run
    // -1, 7, 7 jumps from below to above and is one excursion of three minutes.
    const PositionStatistics p = figuresOf(
        makeRecord("a", novemberFifth(10, 0), 60.0, {4, -1, 7, 7, 2, 10, 0, 5}), limits(0.0, 6.0));
    EXPECT_EQ(p.samples, 8);
    EXPECT_EQ(p.minimum, -1.0);
    EXPECT_EQ(p.timeOfMinimum, novemberFifth(10, 1));
    EXPECT_EQ(p.maximum, 10.0);
    EXPECT_EQ(formatDateTime(p.timeOfMaximum), "05-Nov-2003 10:05AM");
    EXPECT_EQ(p.mean, 4.25);
    ASSERT_TRUE(p.standardDeviation);
    EXPECT_NEAR(*p.standardDeviation, 3.770183777256185, 1e-12); // sqrt(99.5 / 7)
    EXPECT_EQ(p.minutesBelow, 1.0);
    EXPECT_EQ(p.minutesAbove, 3.0);
    EXPECT_EQ(p.excursions, 2);
    EXPECT_EQ(p.longestExcursion, 3.0);
    EXPECT_EQ(
        statisticsCsv(MappingStatistics{0, 0, {}, {p}, {}}),
        std::string("Position,Logger,Samples,Minimum,Time of Minimum,Maximum,Time of Maximum,Mean,"
                    "Standard Deviation,MKT,Minutes Below,Minutes Above,Excursions,"
                    "Longest Excursion") +
            "\r\nR1C1,a,8,-1.00,05-Nov-2003 10:01AM,10.00,05-Nov-2003 10:05AM,4.25,3.77,"
            "5.00,1.0,3.0,2,3.0\r\n");
}

TEST(PositionFigures, MissingReadingsCountForNothingAndEndAnExcursion) {
    // The readings 4, 7, 7, 10, 5 with two missing between them: one excursion 7, 7 and one
    // of 10, not one of three; the times are those of the readings themselves.
    const PositionStatistics p =
        figuresOf(makeRecord("a", novemberFifth(10, 0), 60.0, {4, 7, 7, NO_VALUE, 10, NO_VALUE, 5}),
                  limits(0.0, 6.0));
    EXPECT_EQ(p.samples, 5);
    EXPECT_EQ(p.maximum, 10.0);
    EXPECT_EQ(p.timeOfMaximum, novemberFifth(10, 4));
    EXPECT_EQ(p.minimum, 4.0);
    EXPECT_EQ(p.mean, 33.0 / 5);
    EXPECT_EQ(p.minutesAbove, 3.0);
    EXPECT_EQ(p.excursions, 2);
    EXPECT_EQ(p.longestExcursion, 2.0);
    ASSERT_TRUE(p.mkt);
    EXPECT_LT(*p.mkt, 10.0);
}

TEST(PositionFigures, LimitsDecideWhichColumnsHaveFigures) {
    struct Case {
        std::optional<double> lower, upper;
        const char *tail; // Minutes Below, Minutes Above, Excursions, Longest Excursion
    };
    // 30-second samples 5, 9, 9, 1, 5.
    const Case cases[] = {
        {std::nullopt, std::nullopt, "-,-,-,-"},
        {2.0, std::nullopt, "0.5,-,1,0.5"},
        {std::nullopt, 8.0, "-,1.0,1,1.0"},
        {2.0, 8.0, "0.5,1.0,1,1.5"}, // 9, 9, 1: above, then below, one excursion
        {-5.0, 50.0, "0.0,0.0,0,0.0"},
    };
    for (const Case &c : cases) {
        const PositionStatistics p = figuresOf(
            makeRecord("a", novemberFifth(10, 0), 30.0, {5, 9, 9, 1, 5}), limits(c.lower, c.upper));
        const std::vector<std::string> row = statisticsRow(p);
        const std::string tail = row[10] + "," + row[11] + "," + row[12] + "," + row[13];
        EXPECT_EQ(tail, c.tail);
    }
}

TEST(PositionFigures, FirstOfEqualExtremesWinsAndOneSampleHasNoDeviation) {
    const PositionStatistics ties = figuresOf(
        makeRecord("a", novemberFifth(10, 0), 60.0, {3, 1, 1, 4, 4}), StatisticsSettings{});
    EXPECT_EQ(ties.timeOfMinimum, novemberFifth(10, 1));
    EXPECT_EQ(ties.timeOfMaximum, novemberFifth(10, 3));

    const PositionStatistics one =
        figuresOf(makeRecord("a", novemberFifth(10, 0), 60.0, {21.5}), StatisticsSettings{});
    const std::vector<std::string> row = statisticsRow(one);
    EXPECT_EQ(row[2], "1");
    EXPECT_EQ(row[7], "21.50");
    EXPECT_EQ(row[8], "-");
    EXPECT_EQ(row[9], "21.50");
}

TEST(PositionFigures, MeanKineticTemperature) {
    struct Case {
        std::vector<double> values;
        double energy; // kJ/mol
        double expected;
    };
    // Expected values worked out to 50 digits with decimal arithmetic from
    // MKT = (E/R) / -ln(mean of exp(-(E/R) / T)) - 273.15.
    const Case cases[] = {
        {{20, 30}, 83.144, 26.25988691600341},
        {{4, -1, 7, 7, 2, 10, 0, 5}, 83.144, 4.996624647543108},
        {{20, 30}, 60.0, 25.90747677905530},
        {{25, 25, 25, 25, 25}, 83.144, 25.0},
        {{-40.5, -40.5}, 83.144, -40.5},
    };
    for (const Case &c : cases) {
        StatisticsSettings settings;
        settings.activationEnergy = c.energy;
        const PositionStatistics p =
            figuresOf(makeRecord("a", novemberFifth(10, 0), 60.0, c.values), settings);
        ASSERT_TRUE(p.mkt);
        EXPECT_NEAR(*p.mkt, c.expected, 1e-9);
    }
    const PositionStatistics frozen = figuresOf(
        makeRecord("a", novemberFifth(10, 0), 60.0, {5, -273.15, 5}), StatisticsSettings{});
    EXPECT_FALSE(frozen.mkt);
}

TEST(PositionFigures, EmptyPositionsAndPositionsWithoutSamplesInTheSpan) {
    LoggerArray array;
    array.resize(1, 2, 1);
    array.place(0, 1, makeRecord("late", novemberFifth(12, 0), 60.0, {1, 2}));
    array.place(-1, 0, makeRecord("abc", novemberFifth(10, 0), 60.0, {7}, 2));
    const MappingStatistics statistics =
        computeStatistics(array, novemberFifth(10, 0), novemberFifth(11, 0), StatisticsSettings{});
    EXPECT_EQ(
        statisticsCsv(statistics),
        std::string("Position,Logger,Samples,Minimum,Time of Minimum,Maximum,Time of Maximum,Mean,"
                    "Standard Deviation,MKT,Minutes Below,Minutes Above,Excursions,"
                    "Longest Excursion") +
            "\r\nR1C1,-,-,-,-,-,-,-,-,-,-,-,-,-"
            "\r\nR1C2,late,0,-,-,-,-,-,-,-,-,-,-,-"
            "\r\nS1,\"abc,2\",1,7.00,05-Nov-2003 10:00AM,7.00,05-Nov-2003 10:00AM,7.00,-,"
            "7.00,-,-,-,-\r\n");
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},   {"", ""},
        {"a,b", "\"a,b\""},   {"say \"x\"", "\"say \"\"x\"\"\""},
        {"a\rb", "\"a\rb\""}, {"a\nb", "\"a\nb\""},
    };
    for (const auto &[field, written] : cases)
        EXPECT_EQ(csvField(field), written);
}

// ---- Spots ----------------------------------------------------------------------------

TEST(HotAndColdSpots, FirstPositionWinsATie) {
    LoggerArray array;
    array.resize(2, 2, 1);
    array.place(0, 0, makeRecord("a", novemberFifth(10, 0), 60.0, {20, 22}));  // mean 21
    array.place(0, 1, makeRecord("b", novemberFifth(10, 0), 60.0, {25, 17}));  // mean 21
    array.place(1, 1, makeRecord("c", novemberFifth(10, 0), 60.0, {18, 18}));  // mean 18
    array.place(-1, 0, makeRecord("d", novemberFifth(10, 0), 60.0, {16, 25})); // mean 20.5
    const HotAndColdSpots spots =
        computeStatistics(array, novemberFifth(10, 0), novemberFifth(11, 0), StatisticsSettings{})
            .spots;
    EXPECT_EQ(spots.warmest.position, 0u);
    EXPECT_EQ(spots.warmest.value, 21.0);
    EXPECT_EQ(spots.coldest.position, 3u);
    EXPECT_EQ(spots.highestReading.position, 1u);
    EXPECT_EQ(spots.highestReading.time, novemberFifth(10, 0));
    EXPECT_EQ(spots.lowestReading.position, 4u);
    EXPECT_EQ(spots.lowestReading.value, 16.0);
}

TEST(HotAndColdSpots, NoneWithoutSamples) {
    LoggerArray array;
    array.resize(1, 1, 0);
    const HotAndColdSpots spots =
        computeStatistics(array, novemberFifth(10, 0), novemberFifth(11, 0), StatisticsSettings{})
            .spots;
    EXPECT_FALSE(spots.warmest.found);
    EXPECT_FALSE(spots.lowestReading.found);
}

// ---- Settings -------------------------------------------------------------------------

TEST(StatisticsSettingsTexts, AreCheckedInOrder) {
    struct Case {
        const char *lower, *upper, *energy;
        SettingsProblem problem;
    };
    const Case cases[] = {
        {"", "", "83.144", SettingsProblem::None},
        {"2", "8", "60", SettingsProblem::None},
        {"-3.5", "", "1e-3", SettingsProblem::None},
        {"abc", "", "83.144", SettingsProblem::Limits},
        {"", " ", "83.144", SettingsProblem::Limits},
        {"5", "5", "83.144", SettingsProblem::Limits},
        {"6", "5", "x", SettingsProblem::Limits},
        {"", "", "0", SettingsProblem::ActivationEnergy},
        {"", "", "-1", SettingsProblem::ActivationEnergy},
        {"", "", "", SettingsProblem::ActivationEnergy},
        {"", "", "1e999", SettingsProblem::ActivationEnergy},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.lower) + "|" + c.upper + "|" + c.energy);
        EXPECT_EQ(readStatisticsSettings(c.lower, c.upper, c.energy).problem, c.problem);
    }
    const StatisticsSettings read = readStatisticsSettings("2", "", "60").settings;
    EXPECT_EQ(read.lowerLimit, 2.0);
    EXPECT_FALSE(read.upperLimit);
    EXPECT_EQ(read.activationEnergy, 60.0);
}

// The window's table writes minutes as whole minutes and gives temperatures their unit; the
// CSV file keeps its headings and its tenths of a minute.
TEST(StatisticsWindowTable, MinutesAreWholeAndTemperaturesCarryTheirUnit) {
    const StatisticsColumn &samples = STATISTICS_COLUMNS[2];
    const StatisticsColumn &mean = STATISTICS_COLUMNS[7];
    const StatisticsColumn &above = STATISTICS_COLUMNS[11];
    EXPECT_EQ(windowHeading(mean), "Mean (\xC2\xB0"
                                   "C)");
    EXPECT_EQ(windowHeading(samples), "Samples");
    EXPECT_EQ(windowHeading(above), "Minutes Above");
    EXPECT_EQ(statisticsHeader().find("\xC2\xB0"), std::string::npos);

    PositionStatistics p;
    p.placed = true;
    p.samples = 10;
    p.mean = 20.125;
    EXPECT_EQ(windowText(mean, p), mean.text(p));
    const struct {
        std::optional<double> minutes;
        const char *shown;
        const char *inCsv;
    } cases[] = {{0.0, "0", "0.0"},       {0.3, "<1", "0.3"},   {0.5, "1", "0.5"},
                 {1.0, "1", "1.0"},       {59.6, "60", "59.6"}, {1439.5, "1440", "1439.5"},
                 {std::nullopt, "-", "-"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shown);
        p.minutesAbove = c.minutes;
        EXPECT_EQ(windowText(above, p), c.shown);
        EXPECT_EQ(statisticsRow(p)[11], c.inCsv);
    }
}

// ---- Through the window's pages -----------------------------------------------------------

namespace {

class Statistics : public PageTest {
protected:
    void span(const std::string &start, const std::string &finish) {
        dataFilter().setText(DF::START_TIME, start);
        dataFilter().setText(DF::FINISH_TIME, finish);
    }
    void settings(const std::string &lower, const std::string &upper, const std::string &energy) {
        window.job.setSetting(JobSetting::LowerLimit, lower);
        window.job.setSetting(JobSetting::UpperLimit, upper);
        window.job.setSetting(JobSetting::ActivationEnergy, energy);
    }
    StatisticsRun calculate() { return calculateStatistics(window.job, window.settings(), host); }
    TempDir temp;
};

} // namespace

TEST_F(Statistics, WrongSettingsShowTheirMessageAndGiveNothing) {
    layout("1", "1", "0");
    window.job.loggerArray.place(0, 0, makeRecord("a", novemberFifth(10, 0), 60.0, {10, 11}));
    struct Case {
        const char *start, *finish, *lower, *upper, *energy;
        std::string_view message;
    };
    const Case cases[] = {
        {"junk", "05-Nov-2003 11:00AM", "", "", "83.144", text::START_FORMAT_MESSAGE},
        {"05-Nov-2003 10:00AM", "", "", "", "83.144", text::FINISH_FORMAT_MESSAGE},
        {"05-Nov-2003 10:00AM", "05-Nov-2003 11:00AM", "9", "1", "83.144",
         text::LIMITS_FORMAT_MESSAGE},
        {"05-Nov-2003 10:00AM", "05-Nov-2003 11:00AM", "", "", "none",
         text::ACTIVATION_ENERGY_FORMAT_MESSAGE},
    };
    for (const Case &c : cases) {
        span(c.start, c.finish);
        settings(c.lower, c.upper, c.energy);
        EXPECT_EQ(calculate().outcome.kind, CommandOutcome::Kind::Failed);
        const platform::RecordedMessage message = takeMessage();
        EXPECT_EQ(message.text, c.message);
        EXPECT_EQ(message.caption, text::STATISTICS_CAPTION);
    }
}

// Before anything is loaded the span is empty too: the message sends the user to the data,
// not to the Data Filter tab. A span typed in still gives the figures of the empty array.
TEST_F(Statistics, NothingLoadedIsSaidBeforeAnEmptySpan) {
    layout("1", "2", "0");
    for (const char *start : {"", "junk"}) {
        SCOPED_TRACE(start);
        span(start, "");
        EXPECT_EQ(calculate().outcome.kind, CommandOutcome::Kind::Failed);
        EXPECT_EQ(takeMessage().text, text::NO_DATA_LOADED);
    }
    // A logger without a single reading is no data either.
    window.job.loggerArray.place(0, 0, makeRecord("a", novemberFifth(10, 0), 60.0, {}));
    calculate();
    EXPECT_EQ(takeMessage().text, text::NO_DATA_LOADED);

    span("05-Nov-2003 10:00AM", "05-Nov-2003 11:00AM");
    const StatisticsRun run = calculate();
    ASSERT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(run.statistics.positions.size(), 2u);

    window.job.loggerArray.place(0, 1, makeRecord("b", novemberFifth(10, 0), 60.0, {20}));
    span("", "05-Nov-2003 11:00AM");
    calculate();
    EXPECT_EQ(takeMessage().text, text::START_FORMAT_MESSAGE);
}

// The window names the limit that is wrong; the reading says which for every pair of texts,
// the lower limit's own fault first.
TEST_F(Statistics, TheWindowNamesTheWrongLimit) {
    struct Case {
        const char *lower, *upper;
        LimitProblem problem;
        std::string_view message; // empty: the limits read
    };
    const Case cases[] = {
        {"", "", LimitProblem::None, {}},
        {"2", "8", LimitProblem::None, {}},
        {"abc", "8", LimitProblem::LowerNotANumber, text::LOWER_LIMIT_NOT_A_NUMBER},
        {"abc", "x", LimitProblem::LowerNotANumber, text::LOWER_LIMIT_NOT_A_NUMBER},
        {"", "x", LimitProblem::UpperNotANumber, text::UPPER_LIMIT_NOT_A_NUMBER},
        {"9", "1", LimitProblem::LowerNotBelowUpper, text::LOWER_LIMIT_NOT_BELOW_UPPER},
        {"5", "5", LimitProblem::LowerNotBelowUpper, text::LOWER_LIMIT_NOT_BELOW_UPPER},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.lower) + " / " + c.upper);
        const SettingsReading reading = readStatisticsSettings(c.lower, c.upper, "83.144");
        EXPECT_EQ(reading.limitProblem, c.problem);
        EXPECT_EQ(reading.problem == SettingsProblem::Limits, c.problem != LimitProblem::None);
        settings(c.lower, c.upper, "83.144");
        const CommandOutcome outcome = checkLimitsByName(window.job, host);
        EXPECT_EQ(outcome.kind, c.message.empty() ? CommandOutcome::Kind::Completed
                                                  : CommandOutcome::Kind::Failed);
        if (c.message.empty()) {
            EXPECT_TRUE(host.takeMessages().empty());
            continue;
        }
        const platform::RecordedMessage message = takeMessage();
        EXPECT_EQ(message.text, c.message);
        EXPECT_EQ(message.caption, text::STATISTICS_CAPTION);
    }
}

TEST_F(Statistics, SetSummaryCountsOnlyMeasuredPositions) {
    // R2C1 has no logger and is estimated from R1C1 and R3C1; the set summary leaves it out.
    layout("3", "1", "1");
    LoggerArray &array = window.job.loggerArray;
    array.place(0, 0, makeRecord("a", novemberFifth(10, 0), 60.0, {10, 10, 10}));
    array.place(2, 0, makeRecord("b", novemberFifth(10, 0), 60.0, {20, 20, 20}));
    array.place(-1, 0, makeRecord("c", novemberFifth(12, 0), 60.0, {30}));
    span("05-Nov-2003 10:00AM", "05-Nov-2003 10:02AM");
    dataFilter().setText(DF::AVERAGING_INTERVAL, "1");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    ASSERT_EQ(window.job.setList.count(), 2);
    const TemperatureSet &first = *window.job.setList.at(0);
    EXPECT_FALSE(first.isMeasured(1, 0));
    EXPECT_FALSE(first.isMeasured(SINGULAR_ROW, 0)); // no sample of c in the window
    EXPECT_EQ(first.valueAt(1, 0), 15.0);

    const std::string path = (temp.path() / "summary.csv").string();
    ASSERT_EQ(writeSetSummaryCsv(host, window.job.setList, path).kind,
              CommandOutcome::Kind::Completed);
    EXPECT_EQ(zqar::testing::fileBytes(path),
              std::string(text::SET_SUMMARY_CSV_HEADER) +
                  "\r\n1,From 05-Nov-2003 10:00AM to 05-Nov-2003 10:01AM,10.00,"
                  "R1C1,20.00,R3C1,15.00,10.00"
                  "\r\n2,From 05-Nov-2003 10:01AM to 05-Nov-2003 10:02AM,10.00,"
                  "R1C1,20.00,R3C1,15.00,10.00\r\n");
}

TEST_F(Statistics, SetWithoutMeasuredPositionsIsAllDashes) {
    layout("1", "1", "0");
    span("05-Nov-2003 10:00AM", "05-Nov-2003 10:00AM");
    dataFilter().setText(DF::AVERAGING_INTERVAL, "1");
    dataFilter().click(DF::CALCULATE_AVERAGED);
    EXPECT_EQ(setSummaryCsv(window.job.setList),
              std::string(text::SET_SUMMARY_CSV_HEADER) +
                  "\r\n1,From 05-Nov-2003 10:00AM to 05-Nov-2003 10:01AM,-,-,-,-,-,-\r\n");
}

TEST_F(Statistics, MapFillsGapsAndExportsAsTheMatrixPageDoes) {
    layout("3", "3", "1");
    fileSelection().setChecked(FileSelectionPage::LOGGERS_ON_BOUNDARY, false);
    LoggerArray &array = window.job.loggerArray;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (!(row == 1 && col == 1))
                array.place(row, col,
                            makeRecord("r" + std::to_string(row) + std::to_string(col),
                                       novemberFifth(10, 0), 60.0,
                                       {double(row * 3 + col), double(row * 3 + col + 2)}));
    array.place(-1, 0, makeRecord("s", novemberFifth(10, 0), 60.0, {-4, 6}));
    span("05-Nov-2003 10:00AM", "05-Nov-2003 10:01AM");
    const StatisticsRun run = calculate();
    ASSERT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
    const MappingStatistics *statistics = &run.statistics;
    const StatisticMapSet map = makeStatisticMap(*statistics, MapStatistic::Maximum);
    EXPECT_EQ(map.title, "Maximum from 05-Nov-2003 10:00AM to 05-Nov-2003 10:01AM");
    EXPECT_EQ(map.set->valueAt(0, 0), 2.0);
    // The centre has no logger: the mean of (3 + 9) / 2 down its column and (5 + 7) / 2 along its
    // row.
    EXPECT_EQ(map.set->valueAt(1, 1), 6.0);
    EXPECT_EQ(map.set->valueAt(SINGULAR_ROW, 0), 6.0);
    EXPECT_EQ(makeStatisticMap(*statistics, MapStatistic::Minimum).set->valueAt(0, 1), 1.0);

    // The same set shown on the Matrix page and exported from there.
    const std::string expected =
        statisticMapCsv(*map.set, window.job.loggerArray.dimensions(), window.settings().layout);
    window.job.setList.clear();
    window.job.setList.append(makeStatisticMap(*statistics, MapStatistic::Maximum).set);
    window.matrixPage.showCurrentSet();
    EXPECT_EQ(window.matrixPage.csvText(), expected);
    EXPECT_NE(expected.find("6.00"), std::string::npos);
}
