// What the preview of Import Files shows of each file, and its choices as the job's settings.

#include "pages/layout/importPreview.h"
#include "core/job/Job.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

TEST(ImportPreview, OneRowPerChannelAndOneForARefusedFile) {
    TempDir dir;
    // German layout: tabs, decimal commas, day.month dates, a humidity column.
    const std::string two = dir.write("two.txt", "Seriennummer: 4711\n"
                                                 "Datum\tTemp 1 (\xC2\xB0"
                                                 "F)\tTemp 2\tFeuchte %\n"
                                                 "13.01.2017 13:00\t68,0\t20,5\t40\n"
                                                 "13.01.2017 14:00\t\t21,5\t41\n"
                                                 "13.01.2017 15:00\t71,6\t22,0\t40\n"
                                                 "13.01.2017 16:00\t73,4\t22,5\t39\n");
    const std::string bad = dir.write("bad.csv", "Date Time,Temp (C)\n2017-01-13 13:00,x\n");
    const std::vector<PreviewRow> rows =
        previewRows(importTextFiles({two, bad}, ImportSettings{}, 1));
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::string> first = {"two.txt",
                                            "4711",
                                            "1",
                                            "\xC2\xB0"
                                            "F",
                                            "13-Jan-2017 01:00PM",
                                            "13-Jan-2017 04:00PM",
                                            "60 min",
                                            "3",
                                            "1",
                                            "tab",
                                            "comma",
                                            "day-month-year",
                                            "Feuchte %"};
    EXPECT_EQ(rows[0].cells, first);
    EXPECT_FALSE(rows[0].refused);
    // The second column names no unit: the choice's, said so; the file's other columns are
    // listed once.
    EXPECT_EQ(rows[1].cells[2], "2");
    EXPECT_EQ(rows[1].cells[3], "\xC2\xB0"
                                "C (not in the title)");
    EXPECT_EQ(rows[1].cells[8], "0");
    EXPECT_EQ(rows[1].cells[12], "");
    EXPECT_TRUE(rows[2].refused);
    EXPECT_EQ(rows[2].cells, (std::vector<std::string>{
                                 "bad.csv", "Refused: line 2: the cell in column \"Temp (C)\" is "
                                            "not a number"}));
}

TEST(ImportPreview, ChoicesComeFromTheSettingsAndGoBackOnlyWhenChanged) {
    Job job;
    struct Case {
        const char *dateOrder, *decimal, *unit;
        ImportChoices read;
    };
    const Case cases[] = {
        {"", "", "", {DateOrder::Found, DecimalMark::Found, TemperatureUnit::Celsius}},
        {"DMY",
         ",",
         "F",
         {DateOrder::DayMonthYear, DecimalMark::Comma, TemperatureUnit::Fahrenheit}},
        {"YMD", ".", "C", {DateOrder::YearMonthDay, DecimalMark::Point, TemperatureUnit::Celsius}},
        // Texts that do not read leave their choice at what an empty text means.
        {"ymd", "x", "K", {DateOrder::Found, DecimalMark::Found, TemperatureUnit::Celsius}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.dateOrder) + "|" + c.decimal + "|" + c.unit);
        job.setSetting(JobSetting::ImportDateOrder, c.dateOrder);
        job.setSetting(JobSetting::ImportDecimal, c.decimal);
        job.setSetting(JobSetting::ImportUnit, c.unit);
        const ImportChoices read = importChoices(job);
        EXPECT_EQ(read.dateOrder, c.read.dateOrder);
        EXPECT_EQ(read.decimalMark, c.read.decimalMark);
        EXPECT_EQ(read.untitledUnit, c.read.untitledUnit);
    }

    // "C" and "" both mean degrees Celsius: writing that choice keeps the text as it is. A text
    // that does not read is replaced by the choice's.
    job.setSetting(JobSetting::ImportDateOrder, "dmy");
    job.setSetting(JobSetting::ImportDecimal, "");
    job.setSetting(JobSetting::ImportUnit, "C");
    int changes = 0;
    job.listen([&changes](const JobChange &change) {
        changes += change.touches(JobChange::SETTINGS) ? 1 : 0;
    });
    writeImportChoices(job, {DateOrder::Found, DecimalMark::Found, TemperatureUnit::Celsius});
    EXPECT_EQ(job.setting(JobSetting::ImportDateOrder), "");
    EXPECT_EQ(job.setting(JobSetting::ImportUnit), "C");
    EXPECT_EQ(changes, 1);

    // Every choice written reads back as itself through the import's own reader.
    for (const DateOrder order : {DateOrder::Found, DateOrder::DayMonthYear,
                                  DateOrder::MonthDayYear, DateOrder::YearMonthDay})
        for (const DecimalMark mark : {DecimalMark::Found, DecimalMark::Point, DecimalMark::Comma})
            for (const TemperatureUnit unit :
                 {TemperatureUnit::Celsius, TemperatureUnit::Fahrenheit}) {
                writeImportChoices(job, {order, mark, unit});
                const ImportSettingsReading reading =
                    readImportSettings(job.setting(JobSetting::ImportDateOrder),
                                       job.setting(JobSetting::ImportDecimal),
                                       job.setting(JobSetting::ImportUnit), "");
                ASSERT_EQ(reading.problem, ImportSettingProblem::None);
                EXPECT_EQ(reading.settings.dateOrder, order);
                EXPECT_EQ(reading.settings.decimalMark, mark);
                EXPECT_EQ(reading.settings.untitledUnit, unit);
            }
}
