#include "core/analysis/dataCheck.h"
#include "core/analysis/exclusions.h"
#include "core/data/reportFile.h"

#include "support/Records.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

namespace {

constexpr double HOUR = 1.0 / 24.0; // days

Suspect found(const std::vector<Suspect> &suspects, DataCheck check) {
    for (const Suspect &suspect : suspects)
        if (suspect.check == check)
            return suspect;
    return Suspect{check, 0, 0.0, 0.0};
}

} // namespace

TEST(DataCheck, TheLogReaderNotesSampleLinesWithoutANumberAndReadsThemAsBefore) {
    TempDir dir;
    DtaFile dta;
    dta.sampleLines = {"1 21.5", "2 ERR", "3 0.00", "4 inf", "5 -0", "6 22.0x"};
    LogFile record;
    record.readLogFile(dir.write("a.dta", dta.text()), 1);
    EXPECT_EQ(record.values, (std::vector<double>{21.5, 0.0, 0.0, 0.0, 0.0, 22.0}));
    EXPECT_EQ(record.samplesNotNumbers, (std::vector<int32_t>{1, 3}));

    // The second channel of a line that has only one value.
    DtaFile two;
    two.sampleLines = {"1 21.5 22.5", "2 21.0", "3 20.0 x"};
    record.readLogBytes(two.text(), "b.dta", 2);
    EXPECT_EQ(record.values, (std::vector<double>{22.5, 0.0, 0.0}));
    EXPECT_EQ(record.samplesNotNumbers, (std::vector<int32_t>{1, 2}));

    // The report file's record image does not hold them.
    std::string noted;
    writeReportRecord(noted, record);
    record.samplesNotNumbers.clear();
    std::string plain;
    writeReportRecord(plain, record);
    EXPECT_EQ(noted, plain);

    // A record read again starts afresh.
    record.readLogBytes(dta.text(), "c.dta", 1);
    record.readLogBytes(DtaFile{}.samples({1.0, 2.0}).text(), "d.dta", 1);
    EXPECT_TRUE(record.samplesNotNumbers.empty());
}

TEST(DataCheck, FindsErrorCodesJumpsAndFlatRunsButNeverAcrossAMissingReading) {
    const double start = dayAt(2025, 1, 6);
    // Hourly: an error code, a drop below the range, a jump across a missing reading (none),
    // then 26 hours of one value: a flat run of 26 readings.
    std::vector<double> values{20.0, 9999.5, 20.5, -95.0, 21.0, NO_VALUE, 40.0, 40.5};
    values.insert(values.end(), 26, 18.25);
    values.push_back(882.6);
    auto record = recordWith("a", start, 3600.0, values);
    record->samplesNotNumbers = {4};
    const std::vector<Suspect> suspects = checkRecord(*record, DataCheckSettings{});

    const Suspect nan = found(suspects, DataCheck::NotANumber);
    EXPECT_EQ(nan.count, 1);
    EXPECT_EQ(nan.firstTime, start + 4 * HOUR);
    EXPECT_EQ(nan.value, 21.0);
    const Suspect low = found(suspects, DataCheck::BelowPlausible);
    EXPECT_EQ(low.count, 1);
    EXPECT_EQ(low.value, -95.0);
    const Suspect high = found(suspects, DataCheck::AbovePlausible);
    EXPECT_EQ(high.count, 2);
    EXPECT_EQ(high.firstTime, start + HOUR);
    EXPECT_EQ(high.value, 9999.5);
    // 20 -> 9999.5, 9999.5 -> 20.5, 20.5 -> -95, -95 -> 21, 40.5 -> 18.25, 18.25 -> 882.6;
    // 21 and 40 lie either side of the missing reading.
    const Suspect jump = found(suspects, DataCheck::Jump);
    EXPECT_EQ(jump.count, 6);
    EXPECT_EQ(jump.firstTime, start + HOUR);
    EXPECT_EQ(jump.value, 9999.5 - 20.0);
    const Suspect flat = found(suspects, DataCheck::Flat);
    EXPECT_EQ(flat.count, 1);
    EXPECT_EQ(flat.firstTime, start + 8 * HOUR);
    EXPECT_EQ(flat.value, 18.25);

    // Exactly 24 hours of one value is not yet suspect; a missing reading ends a run.
    std::vector<double> day(24, 5.0);
    EXPECT_TRUE(checkRecord(*recordWith("b", start, 3600.0, day), {}).empty());
    day.insert(day.begin() + 12, NO_VALUE);
    day.push_back(5.0);
    EXPECT_TRUE(checkRecord(*recordWith("c", start, 3600.0, day), {}).empty());
}

TEST(DataCheck, ReadsItsSettingsWithTheirDefaults) {
    const DataCheckSettingsReading defaults = readDataCheckSettings("", " ", "");
    EXPECT_EQ(defaults.problem, DataCheckProblem::None);
    EXPECT_EQ(defaults.settings.plausibleLow, -90.0);
    EXPECT_EQ(defaults.settings.plausibleHigh, 150.0);
    EXPECT_EQ(defaults.settings.plausibleJump, 10.0);
    const DataCheckSettingsReading given = readDataCheckSettings("-40", "60.5", "2");
    EXPECT_EQ(given.problem, DataCheckProblem::None);
    EXPECT_EQ(given.settings.plausibleHigh, 60.5);
    EXPECT_EQ(given.settings.plausibleJump, 2.0);
    EXPECT_EQ(readDataCheckSettings("50", "40", "").problem, DataCheckProblem::Range);
    EXPECT_EQ(readDataCheckSettings("", "200", "").problem, DataCheckProblem::None);
    EXPECT_EQ(readDataCheckSettings("x", "", "").problem, DataCheckProblem::Range);
    EXPECT_EQ(readDataCheckSettings("", "", "0").problem, DataCheckProblem::Jump);
    EXPECT_EQ(readDataCheckSettings("", "", "5 C").problem, DataCheckProblem::Jump);
    EXPECT_EQ(problemText(DataCheckProblem::Jump), "The plausible jump must be a number above 0.");
}

TEST(DataCheckCsv, OneRowPerSuspectInPositionOrder) {
    const double start = dayAt(2025, 1, 6, 14, 30);
    LoggerArray array;
    array.resize(1, 2, 1);
    array.place(-1, 0, recordWith("slot", start, 60.0, {20.0, 160.0}));
    array.place(0, 0, recordWith("clean", start, 60.0, {20.0, 21.0}));
    const std::vector<RecordCheck> checks = checkArray(array, DataCheckSettings{});
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_TRUE(checks[0].suspects.empty());
    EXPECT_EQ(dataCheckCsv(checks), "Position,Logger,Check,Count,First Time,Value\r\n"
                                    "S1,slot,above plausible,1,06-Jan-2025 02:31PM,160.00\r\n"
                                    "S1,slot,jump,1,06-Jan-2025 02:31PM,140.00\r\n");
    EXPECT_EQ(suspectText(checks[1].suspects[0]),
              "above plausible: 1, first at 06-Jan-2025 02:31PM (160.00)");
}

TEST(Exclusions, TakeTheirReadingsOutOfACopyOnly) {
    const double start = dayAt(2025, 1, 6);
    LoggerArray array;
    array.resize(1, 1, 1);
    array.place(0, 0, recordWith("10231", start, 3600.0, {1, 2, 3, 4, 5, 6}));
    array.place(-1, 0, recordWith("slot", start, 3600.0, {1, 2}));
    const std::vector<Exclusion> exclusions{
        {0, 0, start + 1 * HOUR, start + 3 * HOUR, "door open"},
        {0, 1, start, start + HOUR, "no such position"},
    };
    const LoggerArray kept = withExclusions(array, exclusions);
    EXPECT_EQ(kept.at(0, 0)->values, (std::vector<double>{1, NO_VALUE, NO_VALUE, NO_VALUE, 5, 6}));
    EXPECT_EQ(kept.at(-1, 0)->values, (std::vector<double>{1, 2}));
    EXPECT_EQ(array.at(0, 0)->values[2], 3.0);
    EXPECT_EQ(excludedReadings(array, exclusions[0]), 3);
    EXPECT_EQ(excludedReadings(kept, exclusions[0]), 0);
    EXPECT_EQ(exclusionText(array, exclusions[0]),
              "R1C1 (10231): 06-Jan-2025 01:00AM to 06-Jan-2025 03:00AM, door open");
    // The window's row counts what the exclusion takes out of the record, not of a copy.
    EXPECT_EQ(exclusionRow(array, exclusions[0]),
              (std::vector<std::string>{"R1C1 (10231)", "06-Jan-2025 01:00AM",
                                        "06-Jan-2025 03:00AM", "3", "door open"}));
    EXPECT_EQ(exclusionRow(array, exclusions[1])[0], "R1C2 (-)");
    EXPECT_EQ(exclusionRow(array, exclusions[1])[3], "0");
}
