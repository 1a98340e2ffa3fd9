#include "core/import/textImport.h"
#include "core/data/dateTime.h"
#include "core/import/ImportSettings.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

namespace {

double at(int year, int month, int day, int hour, int minute, int second = 0) {
    return dayNumberFromCivil(CivilTime{year, month, day, hour, minute, second});
}

ImportResult importText(const std::string &bytes, const ImportSettings &settings = {},
                        const std::string &path = "/data/export.csv") {
    return importTextBytes(bytes, path, settings);
}

std::string refusalOf(const ImportResult &result) {
    return result.refusal ? refusalText(*result.refusal) : std::string("(imported)");
}

// UTF-16 of an ASCII or Latin-1 text given as UTF-8, with the byte-order mark.
std::string utf16(const std::string &utf8, bool littleEndian, bool withMark = true) {
    std::string out;
    auto unit = [&](unsigned code) {
        const char high = static_cast<char>(code >> 8);
        const char low = static_cast<char>(code & 0xFF);
        out += littleEndian ? std::string{low, high} : std::string{high, low};
    };
    if (withMark)
        unit(0xFEFF);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC2 && i + 1 < utf8.size())
            unit(static_cast<unsigned char>(utf8[++i]));
        else
            unit(c);
    }
    return out;
}

const std::string US_TABLE =
    "\"Plot Title: 10173910\"\r\n"
    "\"#\",\"Date Time, GMT-08:00\",\"Temp, \xC2\xB0"
    "F (LGR S/N: 10173910, SEN S/N: 10173910)\","
    "\"Coupler Detached (LGR S/N: 10173910)\",\"Stopped (LGR S/N: 10173910)\"\r\n"
    "1,01/12/17 11:00:00 PM,50.000,,\r\n"
    "2,01/13/17 12:00:00 AM,68.000,,\r\n"
    "3,01/13/17 12:10:00 AM,,Logged,\r\n"
    "4,01/13/17 01:00:00 AM,32.000,,\r\n"
    "5,01/13/17 03:00:00 AM,77.000,,Logged\r\n";

} // namespace

// ---- Layouts ----------------------------------------------------------------------------

TEST(TextImport, UsDatesInFahrenheitWithTheSerialInTheColumnTitle) {
    const ImportResult result = importText(US_TABLE);
    ASSERT_FALSE(result.refused()) << refusalOf(result);
    ASSERT_EQ(result.records.size(), 1u);
    const LogFile &record = *result.records[0].record;
    const ImportedRecordFacts &facts = result.records[0].facts;
    EXPECT_EQ(record.fileName.view(), "/data/export.csv");
    EXPECT_EQ(record.loggerName.view(), "10173910");
    EXPECT_EQ(record.channel, 1);
    EXPECT_EQ(record.comments[0].view(), "\"Plot Title: 10173910\"");
    EXPECT_EQ(record.comments[1].view(), "");
    // The second field above 12 says month/day; times stay as written without an offset set.
    EXPECT_EQ(record.startTime(), at(2017, 1, 12, 23, 0));
    EXPECT_EQ(record.samplePeriod, 3600.0);
    // 50, 68, 32, (missing), 77 degrees Fahrenheit; (v - 32) * 5 / 9 is exact for these.
    EXPECT_EQ(record.values, (std::vector<double>{10.0, 20.0, 0.0, NO_VALUE, 25.0}));
    EXPECT_EQ(record.valueCount, 5);
    EXPECT_EQ(facts.unit, TemperatureUnit::Fahrenheit);
    EXPECT_TRUE(facts.unitFromTitle);
    EXPECT_EQ(facts.readings, 4);
    EXPECT_EQ(facts.missingReadings, 1);
    EXPECT_EQ(facts.lastTime, at(2017, 1, 13, 3, 0));
    EXPECT_EQ(facts.label, "10173910");
    EXPECT_EQ(result.layout.delimiter, ',');
    EXPECT_EQ(result.layout.decimalMark, '.');
    EXPECT_EQ(result.layout.dateOrder, DateOrder::MonthDayYear);
    EXPECT_FALSE(result.layout.dateOrderChosen);
    EXPECT_EQ(result.layout.titleLine, 2);
    EXPECT_EQ(result.layout.titleUtcOffsetMinutes, -480);
    EXPECT_EQ(result.layout.columnsNotImported,
              (std::vector<std::string>{"#", "Coupler Detached (LGR S/N: 10173910)",
                                        "Stopped (LGR S/N: 10173910)"}));
}

TEST(TextImport, TheUtcOffsetMovesTimesFromTheTitlesOffsetOrTakesThemAsGiven) {
    ImportSettings settings;
    settings.utcOffsetMinutes = 60;
    const ImportResult moved = importText(US_TABLE, settings);
    ASSERT_FALSE(moved.refused()) << refusalOf(moved);
    EXPECT_EQ(moved.records[0].record->startTime(), at(2017, 1, 13, 8, 0)); // 23:00 -08:00

    const std::string noOffset = "Date Time,Temp (C)\n2017-01-12 23:00,1\n2017-01-12 23:30,2\n";
    const ImportResult asGiven = importText(noOffset, settings);
    ASSERT_FALSE(asGiven.refused()) << refusalOf(asGiven);
    EXPECT_EQ(asGiven.records[0].record->startTime(), at(2017, 1, 12, 23, 0));

    const std::string utcPlusOne = "Time (UTC+1);Temp\n2017-01-12 23:00;1\n2017-01-12 23:30;2\n";
    settings.utcOffsetMinutes = -330;
    const ImportResult west = importText(utcPlusOne, settings);
    ASSERT_FALSE(west.refused()) << refusalOf(west);
    EXPECT_EQ(west.records[0].record->startTime(), at(2017, 1, 12, 16, 30));
}

TEST(TextImport, IsoDatesWithASerialNumberLineAndEventRows) {
    const std::string table = "Logger export\n"
                              "Serial Number: 4711 (rack 3)\n"
                              "R2C3\n"
                              "Model: T-100\n"
                              "Fifth header line\n"
                              "Date/Time,Temperature,Humidity (%RH),Event\n"
                              "2018-05-03 08:00:00,21.5,45,\n"
                              "2018-05-03 08:02:17,,,Door open\n"
                              "2018-05-03T08:05:00,-0.25,46,\n"
                              "2018-05-03 08:15:00,+22,47,\n"
                              "2018-05-03 08:20:00,22.125,48,\n";
    const ImportResult result = importText(table);
    ASSERT_FALSE(result.refused()) << refusalOf(result);
    ASSERT_EQ(result.records.size(), 1u);
    const LogFile &record = *result.records[0].record;
    EXPECT_EQ(record.loggerName.view(), "4711");
    EXPECT_EQ(record.comments[0].view(), "Logger export");
    EXPECT_EQ(record.comments[3].view(), "Model: T-100");
    EXPECT_TRUE(record.positionFromComments(1).found);
    EXPECT_EQ(record.samplePeriod, 300.0);
    EXPECT_EQ(record.startTime(), at(2018, 5, 3, 8, 0));
    EXPECT_EQ(record.values, (std::vector<double>{21.5, -0.25, NO_VALUE, 22.0, 22.125}));
    EXPECT_EQ(result.records[0].facts.unitFromTitle, false);
    EXPECT_EQ(result.layout.dateOrder, DateOrder::YearMonthDay);
    EXPECT_EQ(result.layout.columnsNotImported,
              (std::vector<std::string>{"Humidity (%RH)", "Event"}));
}

TEST(TextImport, GermanDatesWithDecimalCommasAndTabsInWindows1252) {
    // 0xB0 is the degree sign in Windows-1252; the bytes are no valid UTF-8.
    const std::string table = "Messdaten\r\n"
                              "Datum/Zeit\tTemperatur [\xB0"
                              "C]\tTaupunkt [\xB0"
                              "C]\r\n"
                              "13.01.2017 13:00\t21,5\t10,1\r\n"
                              "13.01.2017 13:15\t21\t10,2\r\n"
                              "13.01.2017 13:30\t-1,75\t10,3\r\n";
    const ImportResult result = importText(table, {}, "/logs/T-88.txt");
    ASSERT_FALSE(result.refused()) << refusalOf(result);
    ASSERT_EQ(result.records.size(), 1u);
    const LogFile &record = *result.records[0].record;
    EXPECT_EQ(result.layout.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(result.layout.delimiter, '\t');
    EXPECT_EQ(result.layout.decimalMark, ',');
    EXPECT_EQ(result.layout.dateOrder, DateOrder::DayMonthYear);
    EXPECT_EQ(record.loggerName.view(), "T-88"); // the file name without its extension
    EXPECT_EQ(result.records[0].facts.columnTitle, "Temperatur [\xC2\xB0"
                                                   "C]");
    EXPECT_EQ(record.startTime(), at(2017, 1, 13, 13, 0));
    EXPECT_EQ(record.values, (std::vector<double>{21.5, 21.0, -1.75}));
    EXPECT_EQ(result.layout.columnsNotImported, (std::vector<std::string>{"Taupunkt [\xC2\xB0"
                                                                          "C]"}));
}

TEST(TextImport, Utf16WithADateColumnATimeColumnAndTwoChannels) {
    const std::string table = "Serial number: A-77\r\n"
                              "Date\tTime\tTemp1 (\xC2\xB0"
                              "C)\tHumidity\tTemp2 (K)\r\n"
                              "5/3/2018\t8:00\t21.5\t40\t293.15\r\n"
                              "5/3/2018\t8:30\t21.25\t40\t294.15\r\n"
                              "5/3/2018\t9:00\t21\t40\t\r\n"
                              "5/3/2018\t9:30\t\t40\t295.15\r\n";
    ImportSettings settings;
    settings.dateOrder = DateOrder::DayMonthYear;
    for (const bool little : {true, false}) {
        SCOPED_TRACE(little ? "little endian" : "big endian");
        const ImportResult result = importText(utf16(table, little), settings);
        ASSERT_FALSE(result.refused()) << refusalOf(result);
        EXPECT_EQ(result.layout.encoding,
                  little ? TextEncoding::Utf16LittleEndian : TextEncoding::Utf16BigEndian);
        EXPECT_TRUE(result.layout.dateOrderChosen);
        ASSERT_EQ(result.records.size(), 2u);
        const LogFile &first = *result.records[0].record;
        const LogFile &second = *result.records[1].record;
        EXPECT_EQ(first.loggerName.view(), "A-77");
        EXPECT_EQ(first.startTime(), at(2018, 3, 5, 8, 0));
        EXPECT_EQ(first.values, (std::vector<double>{21.5, 21.25, 21.0}));
        EXPECT_EQ(second.channel, 2);
        EXPECT_EQ(result.records[1].facts.label, "A-77,2");
        EXPECT_EQ(result.records[1].facts.unit, TemperatureUnit::Kelvin);
        EXPECT_EQ(second.values, (std::vector<double>{293.15 - 273.15, 294.15 - 273.15, NO_VALUE,
                                                      295.15 - 273.15}));
        EXPECT_EQ(result.layout.columnsNotImported, (std::vector<std::string>{"Humidity"}));
    }
}

TEST(TextImport, UnitsFromTitlesAndFromTheSettingForTitlesWithoutOne) {
    const std::string table = "Time;Temp A;Temp B deg F;Temp C *C\n"
                              "2020-01-01 00:00;50;50;50\n"
                              "2020-01-01 00:01;59;59;59\n";
    ImportSettings settings;
    settings.untitledUnit = TemperatureUnit::Fahrenheit;
    const ImportResult result = importText(table, settings);
    ASSERT_FALSE(result.refused()) << refusalOf(result);
    ASSERT_EQ(result.records.size(), 3u);
    EXPECT_EQ(result.records[0].record->values, (std::vector<double>{10.0, 15.0}));
    EXPECT_FALSE(result.records[0].facts.unitFromTitle);
    EXPECT_EQ(result.records[1].record->values, (std::vector<double>{10.0, 15.0}));
    EXPECT_EQ(result.records[2].record->values, (std::vector<double>{50.0, 59.0}));
    EXPECT_EQ(result.records[2].facts.label, "export,3");
    // Without a column titled "temp", columns that name a unit count, dew points excepted.
    const std::string byUnit = "Zeit,DewPt (\xC2\xB0"
                               "C),Kanal 1 (\xC2\xB0"
                               "C)\n"
                               "2020-01-01 00:00,1,2\n2020-01-01 00:10,1,3\n";
    const ImportResult unitOnly = importText(byUnit);
    ASSERT_FALSE(unitOnly.refused()) << refusalOf(unitOnly);
    ASSERT_EQ(unitOnly.records.size(), 1u);
    EXPECT_EQ(unitOnly.records[0].facts.columnTitle, "Kanal 1 (\xC2\xB0"
                                                     "C)");
}

TEST(TextImport, QuotedFieldsLineEndsAndTheUtf8Mark) {
    struct Case {
        const char *name;
        std::string bytes;
    };
    const std::string rows = "\"Date \"\"Time\"\"\",\" Temp, \xC2\xB0"
                             "C \"\n"
                             "\"2020-01-01 00:00\",\"1.5\"\n"
                             "2020-01-01 00:01 ,  2\n";
    auto withEnds = [&](const std::string &end) {
        std::string out;
        for (const char c : rows)
            out += c == '\n' ? end : std::string(1, c);
        return out;
    };
    const Case cases[] = {
        {"LF", withEnds("\n")},
        {"CR LF", withEnds("\r\n")},
        {"CR", withEnds("\r")},
        {"UTF-8 mark", "\xEF\xBB\xBF" + withEnds("\r\n")},
        {"no last line end", withEnds("\n").substr(0, withEnds("\n").size() - 1)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = importText(c.bytes);
        ASSERT_FALSE(result.refused()) << refusalOf(result);
        EXPECT_EQ(result.layout.encoding, TextEncoding::Utf8);
        EXPECT_EQ(result.layout.titleLine, 1);
        EXPECT_EQ(result.records[0].facts.columnTitle, "Temp, \xC2\xB0"
                                                       "C");
        // A quoted comma in a comma-delimited file is no decimal mark: the point is.
        EXPECT_EQ(result.layout.decimalMark, '.');
        EXPECT_TRUE(result.refused() || result.records[0].record->values.size() == 2u);
    }
}

TEST(TextImport, SerialsAreCutAsTheRecordsNameHoldsThem) {
    const std::string rows = "2020-01-01 00:00,1\n2020-01-01 00:01,2\n";
    const ImportResult zero = importText(std::string("Date,Temp (S/N: 12\0"
                                                     "34)\n",
                                                     23) +
                                         rows);
    ASSERT_FALSE(zero.refused()) << refusalOf(zero);
    EXPECT_EQ(zero.records[0].facts.serial, "12");
    EXPECT_EQ(zero.records[0].record->loggerName.view(), "12");
    const ImportResult longer = importText("Date,Temp (S/N: " + std::string(400, 'x') + ")," +
                                           "Temp 2\n2020-01-01 00:00,1,1\n2020-01-01 00:01,2,2\n");
    ASSERT_FALSE(longer.refused()) << refusalOf(longer);
    EXPECT_EQ(longer.records[0].facts.serial, std::string(299, 'x'));
    EXPECT_EQ(longer.records[0].facts.label, std::string(299, 'x'));
}

TEST(TextImport, TheIntervalIsTheMostFrequentStepAndTheSmallerOnATie) {
    // Steps 2, 2, 4, 4 minutes: a tie, so 2 minutes, with one missing reading in each 4.
    const std::string tie = "Date,Temp\n2020-01-01 00:00,1\n2020-01-01 00:02,2\n"
                            "2020-01-01 00:04,3\n2020-01-01 00:08,4\n2020-01-01 00:12,5\n";
    const ImportResult result = importText(tie);
    ASSERT_FALSE(result.refused()) << refusalOf(result);
    EXPECT_EQ(result.records[0].record->samplePeriod, 120.0);
    EXPECT_EQ(result.records[0].record->values,
              (std::vector<double>{1, 2, 3, NO_VALUE, 4, NO_VALUE, 5}));
    // A column with fewer than two readings gives no record but the others still do.
    const std::string sparse = "Date,Temp A,Temp B\n2020-01-01 00:00,1,\n2020-01-01 00:02,2,7\n";
    const ImportResult partly = importText(sparse);
    ASSERT_FALSE(partly.refused()) << refusalOf(partly);
    ASSERT_EQ(partly.records.size(), 1u);
    EXPECT_EQ(partly.layout.columnsNotImported, (std::vector<std::string>{"Temp B"}));
}

TEST(TextImport, ALargeFileWithCrLineEndsReadsAcrossItsBlocks) {
    std::string table = "Date Time;Temp\r";
    const int rows = 20000;
    for (int i = 0; i < rows; ++i) {
        const CivilTime t = civilFromDayNumber(at(2021, 3, 1, 0, 0) + i / 1440.0);
        char line[64];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d;%d,%d\r", t.year, t.month, t.day,
                      t.hour, t.minute, i % 30, i % 10);
        table += line;
    }
    const ImportResult result = importText(table);
    ASSERT_FALSE(result.refused()) << refusalOf(result);
    const LogFile &record = *result.records[0].record;
    ASSERT_EQ(record.values.size(), static_cast<std::size_t>(rows));
    EXPECT_EQ(record.values[12345], 15.5);
    EXPECT_EQ(result.layout.decimalMark, ',');
}

// ---- Refusals ---------------------------------------------------------------------------

TEST(TextImport, RefusalsNameTheFileTheLineAndTheReason) {
    struct Case {
        const char *name;
        std::string bytes;
        std::string refusal;
    };
    const std::string head = "Date Time,Temp (C)\n";
    const Case cases[] = {
        {"ambiguous dates", head + "01/02/20 10:00,1\n01/02/20 10:05,2\n",
         "/data/export.csv: the dates could be day/month or month/day: choose the date order"},
        {"off-grid reading",
         head + "2020-01-01 10:00,1\n2020-01-01 10:05,2\n2020-01-01 10:10,3\n"
                "2020-01-01 10:12,4\n",
         "/data/export.csv:5: the reading in column \"Temp (C)\" is not a whole number of "
         "intervals after the first"},
        {"repeated time", head + "2020-01-01 10:00,1\n2020-01-01 10:05,2\n2020-01-01 10:05,3\n",
         "/data/export.csv:4: the time of the reading in column \"Temp (C)\" repeats or goes "
         "back"},
        {"time going back", head + "2020-01-01 10:05,1\n2020-01-01 10:00,2\n",
         "/data/export.csv:3: the time of the reading in column \"Temp (C)\" repeats or goes "
         "back"},
        {"not a number", head + "2020-01-01 10:00,1\n2020-01-01 10:05,n/a\n",
         "/data/export.csv:3: the cell in column \"Temp (C)\" is not a number"},
        {"number with an exponent", head + "2020-01-01 10:00,1e1\n",
         "/data/export.csv:2: the cell in column \"Temp (C)\" is not a number"},
        {"no time column", "Index,Temp (C)\n1,20\n2,21\n",
         "/data/export.csv: no row names a time column and a temperature column"},
        {"no temperature column", "Date Time,Humidity\n2020-01-01 10:00,40\n",
         "/data/export.csv: no row names a time column and a temperature column"},
        {"UTF-16 without its mark", utf16(head + "2020-01-01 10:00,1\n", true, false),
         "/data/export.csv: no row names a time column and a temperature column"},
        {"unreadable time", head + "2020-01-01 25:00,1\n",
         "/data/export.csv:2: the time cannot be read"},
        {"one reading", head + "2020-01-01 10:00,1\n",
         "/data/export.csv: no temperature column holds two readings"},
        {"empty file", "", "/data/export.csv: no row names a time column and a temperature column"},
        {"line too long", head + std::string(2 << 20, '1') + "\n",
         "/data/export.csv:2: the line is too long"},
        {"too many temperature columns",
         "Date" + std::string(3000, ',') + "\n" +
             [] {
                 std::string titles = "Date";
                 for (int k = 0; k < 1001; ++k)
                     titles += ",Temp " + std::to_string(k);
                 return titles;
             }(),
         "/data/export.csv:2: the file has too many temperature columns"},
        {"too many samples",
         head + "2020-01-01 10:00:00,1\n2020-01-01 10:00:01,2\n2020-01-01 10:00:02,3\n"
                "2022-01-01 10:00:02,4\n",
         "/data/export.csv: the readings span too many samples"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = importText(c.bytes);
        EXPECT_EQ(refusalOf(result), c.refusal);
        EXPECT_TRUE(result.records.empty());
    }
}

TEST(TextImport, TheDateOrderComesFromAnyRowOrFromTheSetting) {
    const std::string head = "Date Time,Temp (C)\n";
    const std::string late = head + "01/02/20 10:00,1\n01/02/20 10:05,2\n01/02/20 10:10,3\n"
                                    "13/02/20 10:00,4\n";
    // Day first is only found on the last row: the earlier ones are read again that way.
    const ImportResult found = importText(late);
    ASSERT_FALSE(found.refused()) << refusalOf(found);
    EXPECT_EQ(found.layout.dateOrder, DateOrder::DayMonthYear);
    EXPECT_FALSE(found.layout.dateOrderChosen);
    EXPECT_EQ(found.records[0].record->startTime(), at(2020, 2, 1, 10, 0));
    EXPECT_EQ(found.records[0].facts.lastTime, at(2020, 2, 13, 10, 0));
    EXPECT_EQ(found.records[0].facts.missingReadings, 12 * 288 + 1 - 4);
    const std::string ambiguous = head + "01/02/20 10:00,1\n01/02/20 10:05,2\n";
    ImportSettings settings;
    settings.dateOrder = DateOrder::DayMonthYear;
    const ImportResult chosen = importText(ambiguous, settings);
    ASSERT_FALSE(chosen.refused()) << refusalOf(chosen);
    EXPECT_EQ(chosen.records[0].record->startTime(), at(2020, 2, 1, 10, 0));
    settings.dateOrder = DateOrder::MonthDayYear;
    EXPECT_EQ(importText(ambiguous, settings).records[0].record->startTime(),
              at(2020, 1, 2, 10, 0));
    // A chosen order that a row contradicts makes that row's date no date.
    EXPECT_EQ(refusalOf(importText(head + "13/02/20 10:00,1\n", settings)),
              "/data/export.csv:2: the time cannot be read");
    // Two-digit years: 69 is 2069, 70 is 1970.
    EXPECT_EQ(importText(head + "1/13/69 10:00 PM,1\n1/13/69 10:05 PM,2\n")
                  .records[0]
                  .record->startTime(),
              at(2069, 1, 13, 22, 0));
    EXPECT_EQ(importText(head + "13-1-70 12:00 AM,1\n13-1-70 12:30 am,2\n")
                  .records[0]
                  .record->startTime(),
              at(1970, 1, 13, 0, 0));
}

TEST(TextImport, TheDecimalMarkFoundOrChosen) {
    const std::string table = "Date Time;Temp\n2020-01-01 10:00;21,5\n2020-01-01 10:05;21.5\n";
    EXPECT_EQ(refusalOf(importText(table)),
              "/data/export.csv:2: the cell in column \"Temp\" is not a number");
    ImportSettings settings;
    settings.decimalMark = DecimalMark::Comma;
    EXPECT_EQ(refusalOf(importText(table, settings)),
              "/data/export.csv:3: the cell in column \"Temp\" is not a number");
    const std::string plain = "Date Time;Temp\n2020-01-01 10:00;21\n2020-01-01 10:05;22\n";
    settings.decimalMark = DecimalMark::Point;
    const ImportResult point = importText(plain, settings);
    ASSERT_FALSE(point.refused());
    EXPECT_EQ(point.layout.decimalMark, '.');
    EXPECT_EQ(importText(plain).layout.decimalMark, ',');
}

TEST(TextImport, FilesOnDiskAndFolders) {
    TempDir dir;
    dir.write("b.CSV", "Date Time,Temp\n2020-01-01 10:00,1\n2020-01-01 10:05,2\n");
    dir.write("a.tsv", "x");
    dir.write("B.txt", "x");
    dir.write("c.dta", "x");
    dir.write("csv", "x");
    std::filesystem::create_directory(dir.path() / "d.csv");
    const auto files = listImportFiles(dir.path().string());
    ASSERT_TRUE(files);
    EXPECT_EQ(*files,
              (std::vector<std::string>{dir.file("B.txt"), dir.file("a.tsv"), dir.file("b.CSV")}));
    EXPECT_FALSE(listImportFiles(dir.file("missing")));

    const std::vector<ImportResult> results =
        importTextFiles({dir.file("b.CSV"), dir.file("missing.csv")}, ImportSettings{}, 2);
    ASSERT_EQ(results.size(), 2u);
    ASSERT_FALSE(results[0].refused()) << refusalOf(results[0]);
    EXPECT_EQ(results[0].records[0].record->fileName.view(), dir.file("b.CSV"));
    EXPECT_EQ(results[0].records[0].record->loggerName.view(), "b");
    EXPECT_EQ(refusalOf(results[1]), dir.file("missing.csv") + ": the file cannot be read");
}

// ---- Settings ----------------------------------------------------------------------------

TEST(ImportSettingTexts, AcceptExactlyTheirValues) {
    const ImportSettingsReading fine = readImportSettings("MDY", ",", "F", "-08:00");
    EXPECT_EQ(fine.problem, ImportSettingProblem::None);
    EXPECT_EQ(fine.settings.dateOrder, DateOrder::MonthDayYear);
    EXPECT_EQ(fine.settings.decimalMark, DecimalMark::Comma);
    EXPECT_EQ(fine.settings.untitledUnit, TemperatureUnit::Fahrenheit);
    EXPECT_EQ(fine.settings.utcOffsetMinutes, -480);
    const ImportSettingsReading empty = readImportSettings("", "", "", "");
    EXPECT_EQ(empty.problem, ImportSettingProblem::None);
    EXPECT_EQ(empty.settings.dateOrder, DateOrder::Found);
    EXPECT_EQ(empty.settings.untitledUnit, TemperatureUnit::Celsius);
    EXPECT_FALSE(empty.settings.utcOffsetMinutes);
    EXPECT_EQ(readImportSettings("YMD", ".", "C", "+05:30").settings.utcOffsetMinutes, 330);

    EXPECT_EQ(readImportSettings("dmy", "", "", "").problem, ImportSettingProblem::DateOrder);
    EXPECT_EQ(readImportSettings("", ";", "", "").problem, ImportSettingProblem::DecimalMark);
    EXPECT_EQ(readImportSettings("", "", "K", "").problem, ImportSettingProblem::Unit);
    for (const char *offset : {"+5:00", "05:00", "+24:00", "+05:60", "+05:00 ", "UTC"})
        EXPECT_EQ(readImportSettings("", "", "", offset).problem, ImportSettingProblem::UtcOffset)
            << offset;
}
