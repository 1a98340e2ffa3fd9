// Import as the user runs it: tables placed by serial number or by their comment lines beside
// log files, the refusals and the status line, the settings that decide what a table does not
// tell, and the Data Filter span and range taken from every placed record.

#include "core/data/TextField.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/importCommands.h"
#include "pages/layout/logFileCommands.h"
#include "pages/layout/settings.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;
using DF = DataFilterPage;

namespace {

// Readings every five minutes from 14:30 on 5 November 2003, one column per list of values;
// an empty text is a blank cell.
std::string isoTable(const std::vector<std::string> &header, const std::vector<std::string> &titles,
                     const std::vector<std::vector<std::string>> &columns) {
    std::string text;
    for (const std::string &line : header)
        text += line + "\r\n";
    text += "Date Time";
    for (const std::string &title : titles)
        text += "," + title;
    text += "\r\n";
    const std::size_t rows = columns.empty() ? 0 : columns[0].size();
    for (std::size_t r = 0; r < rows; ++r) {
        const int minutes = 30 + 5 * static_cast<int>(r);
        char time[32];
        std::snprintf(time, sizeof time, "2003-11-05 %02d:%02d:00", 14 + minutes / 60,
                      minutes % 60);
        text += time;
        for (const auto &column : columns)
            text += "," + column[r];
        text += "\r\n";
    }
    return text;
}

class ImportFiles : public PageTest {
protected:
    ImportFiles() {
        changes = window.job.listen([this](const JobChange &change) { seen |= change.what; });
    }
    ~ImportFiles() override { window.job.stopListening(changes); }

    // A table of one logger: "Serial Number: SERIAL" above the titles.
    std::string table(const std::string &name, const std::string &serial,
                      const std::vector<std::vector<std::string>> &columns,
                      const std::string &comment = "") {
        std::vector<std::string> titles;
        for (std::size_t k = 1; k <= columns.size(); ++k)
            titles.push_back("Temp " + std::to_string(k) +
                             " (\xC2\xB0"
                             "C)");
        std::vector<std::string> header;
        if (!comment.empty())
            header.push_back(comment);
        header.push_back("Serial Number: " + serial);
        return dir.write(name, isoTable(header, titles, columns));
    }

    CommandOutcome import(const std::vector<std::string> &paths) {
        seen = 0;
        return window.importFiles(paths, 1);
    }
    void useSerialNumbers() { fileSelection().click(FS::USE_SERIAL_NUMBERS); }
    void cell(int row, int column, const std::string &text) {
        window.fileSelectionPage.arrayLayoutList().setItemText(row, column, text);
    }
    void singular(int slot, const std::string &text) {
        window.fileSelectionPage.singularLayoutList().setItemText(slot, 1, text);
    }
    std::string cellText(int row, int column) {
        return window.fileSelectionPage.arrayLayoutList().itemText(row, column);
    }
    std::string singularText(int slot) {
        return window.fileSelectionPage.singularLayoutList().itemText(slot, 1);
    }
    const LogFile *at(int row, int col) { return window.job.loggerArray.at(row, col); }
    std::string status() { return fileSelection().text(FS::STATUS); }
    void set(const char *name, const std::string &value) {
        writeSetting(window.settingPlaces(), *findSetting(name), value);
    }

    TempDir dir;
    unsigned seen = 0;
    int changes = 0;
};

} // namespace

TEST_F(ImportFiles, SerialNumbersPlaceEachChannelWhereItsLabelStands) {
    layout("2", "2", "1");
    useSerialNumbers();
    const std::string path = table("a.csv", "A7", {{"20.5", "21"}, {"30", "31"}, {"40", "41"}});
    cell(1, 1, "a7");
    cell(1, 2, "A7,2");
    cell(2, 1, "B");
    singular(0, "a7,3");
    cell(2, 2, "A7,4"); // the table has three columns
    ASSERT_EQ(import({path}).kind, CommandOutcome::Kind::Completed);

    EXPECT_EQ(status(), "One file was imported.");
    EXPECT_EQ(cellText(1, 1), "A7");
    EXPECT_EQ(cellText(1, 2), "A7,2");
    EXPECT_EQ(singularText(0), "A7,3");
    // The cells the file does not fill keep their text: no "-" over a serial number not yet
    // placed.
    EXPECT_EQ(cellText(2, 1), "B");
    EXPECT_EQ(cellText(2, 2), "A7,4");
    EXPECT_EQ(at(1, 0), nullptr);
    for (auto [row, col, channel, first] :
         {std::tuple{0, 0, 1, 20.5}, std::tuple{0, 1, 2, 30.0}, std::tuple{-1, 0, 3, 40.0}}) {
        SCOPED_TRACE(std::to_string(row) + "," + std::to_string(col));
        const LogFile *record = at(row, col);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->channel, channel);
        EXPECT_EQ(record->fileName.str(), path);
        ASSERT_EQ(record->values.size(), 2u);
        EXPECT_EQ(record->values[0], first);
        EXPECT_EQ(record->samplePeriod, 300.0);
        EXPECT_EQ(record->startTime(), novemberFifth(14, 30));
    }
    EXPECT_TRUE(fileSelection().isEnabled(FS::COPY_FILES));
    EXPECT_TRUE(JobChange{seen}.touches(JobChange::RECORDS));
    EXPECT_TRUE(JobChange{seen}.touches(JobChange::SETS));
}

TEST_F(ImportFiles, CommentLinesPlaceTheFirstTwoChannels) {
    layout("4", "4", "2");
    const std::string both =
        table("both.csv", "C1", {{"1", "2"}, {"3", "4"}, {"5", "6"}}, "R2C3,S2");
    const std::string outside = table("outside.csv", "C2", {{"1", "2"}}, "R5C1");
    ASSERT_FALSE(import({both, outside}).hasFailed());
    EXPECT_EQ(status(), "One file was imported.");
    ASSERT_NE(at(1, 2), nullptr);
    EXPECT_EQ(at(1, 2)->channel, 1);
    ASSERT_NE(at(-1, 1), nullptr);
    EXPECT_EQ(at(-1, 1)->channel, 2);
    EXPECT_EQ(cellText(2, 3), "C1");
    EXPECT_EQ(singularText(1), "C1,2");
    int placed = 0;
    window.job.loggerArray.forEachPlaced([&placed](const LogFile &) { ++placed; });
    EXPECT_EQ(placed, 2);
}

TEST_F(ImportFiles, ImportedTablesReplaceOnlyTheCellsTheyFill) {
    layout("1", "3", "0");
    useSerialNumbers();
    for (const char *name : {"L1", "L2"}) {
        DtaFile dta;
        dta.name = name;
        dta.period = "300";
        dta.samples({19.5, 19.75, 20.0, 20.5});
        dir.write(std::string(name) + ".dta", dta.text());
    }
    cell(1, 1, "L1");
    cell(1, 2, "L2");
    cell(1, 3, "L3");
    fileSelection().setText(FS::DIRECTORY, dir.path().string());
    window.loadFiles(1);
    EXPECT_EQ(takeMessage().text, "One log file was not loaded.");
    const LogFile *kept = at(0, 0);
    ASSERT_NE(kept, nullptr);
    // The cell of the missing logger keeps its serial number, marked as not loaded.
    EXPECT_EQ(cellText(1, 3), "L3");
    EXPECT_TRUE(window.fileSelectionPage.arrayLayoutList().isItemMissing(1, 3));

    // L2 as a table now, starting later and ending earlier, and the L3 the log files lack.
    const std::string l2 = dir.write("l2.csv", isoTable({"Serial Number: L2"},
                                                        {"Temp (\xC2\xB0"
                                                         "C)"},
                                                        {{"", "24.25", "23"}}));
    const std::string l3 = table("l3.txt", "L3", {{"21", "22", "23", "22.5"}});
    ASSERT_FALSE(import({l2, l3}).hasFailed());
    EXPECT_EQ(status(), "2 files were imported.");
    EXPECT_EQ(at(0, 0), kept);
    ASSERT_NE(at(0, 1), nullptr);
    EXPECT_EQ(at(0, 1)->fileName.str(), l2);
    ASSERT_NE(at(0, 2), nullptr);
    EXPECT_EQ(at(0, 2)->fileName.str(), l3);
    // The imported table fills the gap: no longer marked, nor said to be missing.
    EXPECT_FALSE(window.fileSelectionPage.arrayLayoutList().isItemMissing(1, 3));
    EXPECT_EQ(window.job.loggerArray.whyEmpty(0, 2), nullptr);
    // The Data Filter page from all three: the latest start is L2's first reading at 14:35, the
    // earliest end its last at 14:40; the range 19.5 to 24.25.
    EXPECT_EQ(dataFilter().text(DF::START_TIME), "05-Nov-2003 02:35PM");
    EXPECT_EQ(dataFilter().text(DF::TIME), "05-Nov-2003 02:35PM");
    EXPECT_EQ(dataFilter().text(DF::FINISH_TIME), "05-Nov-2003 02:40PM");
    EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), "19");
    EXPECT_EQ(dataFilter().text(DF::MAXIMUM_TEMPERATURE), "25");
    EXPECT_EQ(dataFilter().text(DF::AVERAGING_INTERVAL), "30");
    EXPECT_EQ(dataFilter().text(DF::CONTOUR_SPACING), "0.25");
}

TEST_F(ImportFiles, ASingularLoggerShownAsTextLeavesTheRangeAloneInCommentMode) {
    layout("1", "1", "1");
    dataFilter().setChecked(DF::SHOW_SINGULAR_AS_TEXT, true);
    const std::string cellFile = table("cell.csv", "A", {{"20.2", "21.4"}}, "R1C1");
    const std::string slotFile = table("slot.csv", "B", {{"-40", "90"}}, "S1");
    ASSERT_FALSE(import({cellFile, slotFile}).hasFailed());
    EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), "20");
    EXPECT_EQ(dataFilter().text(DF::MAXIMUM_TEMPERATURE), "22");
}

TEST_F(ImportFiles, EachRefusedFileHasItsMessageAndTheOthersImport) {
    layout("1", "3", "0");
    useSerialNumbers();
    cell(1, 1, "GOOD");
    cell(1, 2, "BAD");
    cell(1, 3, "GAP");
    const std::string good = table("good.csv", "GOOD", {{"20", "21"}});
    const std::string bad = table("bad.csv", "BAD", {{"20", "warm", "22"}});
    // Five minutes apart, then two: the reading at 14:42 is off the grid.
    const std::string offGrid =
        dir.write("off.csv", "Serial Number: GAP\nDate Time,Temp (C)\n2003-11-05 14:30,1\n"
                             "2003-11-05 14:35,2\n2003-11-05 14:40,3\n2003-11-05 14:42,4\n");
    const std::string missing = dir.file("missing.csv");
    const CommandOutcome outcome = import({bad, good, offGrid, missing});
    EXPECT_TRUE(outcome.hasFailed());
    EXPECT_EQ(status(), "One file was imported.");
    const auto messages = host.takeMessages();
    ASSERT_EQ(messages.size(), 3u);
    for (const auto &message : messages)
        EXPECT_EQ(message.caption, "Import");
    EXPECT_EQ(messages[0].text, bad + ":4: the cell in column \"Temp 1 (\xC2\xB0"
                                      "C)\" is not a number");
    EXPECT_EQ(messages[1].text, offGrid + ":6: the reading in column \"Temp (C)\" is not a whole "
                                          "number of intervals after the first");
    EXPECT_EQ(messages[2].text, missing + ": the file cannot be read");
    ASSERT_NE(at(0, 0), nullptr);
    EXPECT_EQ(at(0, 1), nullptr);
    EXPECT_EQ(at(0, 2), nullptr);
    EXPECT_EQ(cellText(1, 2), "BAD");
}

TEST_F(ImportFiles, TheStatusCountsFilesNotPositions) {
    layout("2", "2", "0");
    useSerialNumbers();
    cell(1, 1, "P");
    cell(1, 2, "P");
    cell(2, 1, "Q");
    cell(2, 2, "R");
    const std::string p = table("p.csv", "P", {{"20", "21"}});
    const std::string q = table("q.csv", "Q", {{"20", "21"}});
    const std::string r = table("r.csv", "R", {{"20", "21"}});
    const std::string elsewhere = table("x.csv", "X", {{"20", "21"}});
    struct Case {
        std::vector<std::string> paths;
        const char *status;
    };
    const Case cases[] = {
        {{elsewhere}, "No files were imported."},
        {{p}, "One file was imported."}, // in two cells
        {{p, q, elsewhere, r}, "3 files were imported."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status);
        ASSERT_FALSE(import(c.paths).hasFailed());
        EXPECT_EQ(status(), c.status);
    }
    EXPECT_NE(at(0, 0), at(0, 1));
    EXPECT_EQ(at(0, 0)->fileName.str(), p);
    EXPECT_EQ(at(0, 1)->fileName.str(), p);
}

TEST_F(ImportFiles, NothingPlacedChangesNothing) {
    layout("1", "1", "0");
    useSerialNumbers();
    cell(1, 1, "P");
    dataFilter().setText(DF::START_TIME, "01-Jan-2020 12:00AM");
    const std::string elsewhere = table("x.csv", "X", {{"20", "21"}});
    ASSERT_FALSE(import({elsewhere}).hasFailed());
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(cellText(1, 1), "P");
    EXPECT_EQ(dataFilter().text(DF::START_TIME), "01-Jan-2020 12:00AM");
    EXPECT_FALSE(fileSelection().isEnabled(FS::COPY_FILES));
}

TEST_F(ImportFiles, AWrongSettingStopsTheImportBeforeAnyFileIsRead) {
    layout("1", "1", "0");
    useSerialNumbers();
    cell(1, 1, "P");
    const std::string p = table("p.csv", "P", {{"20", "21"}});
    struct Case {
        const char *setting;
        const char *value;
        const char *message;
    };
    const Case cases[] = {
        {"importDateOrderText", "dmy", "The date order must be empty, DMY, MDY or YMD."},
        {"importDecimalText", ";", "The decimal mark must be empty, \".\" or \",\"."},
        {"importUnitText", "K", "The unit must be empty, C or F."},
        {"importUtcOffsetText", "+2", "The UTC offset must be empty, +hh:mm or -hh:mm."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.setting);
        set(c.setting, c.value);
        EXPECT_TRUE(import({p}).hasFailed());
        const auto message = takeMessage();
        EXPECT_EQ(message.caption, "Import");
        EXPECT_EQ(message.text, c.message);
        EXPECT_EQ(at(0, 0), nullptr);
        EXPECT_EQ(seen, 0u);
        set(c.setting, "");
    }
    ASSERT_FALSE(import({p}).hasFailed());
    EXPECT_NE(at(0, 0), nullptr);
}

TEST_F(ImportFiles, TheSettingsDecideWhatATableDoesNotTell) {
    layout("1", "1", "0");
    useSerialNumbers();
    cell(1, 1, "T");
    // 01/02 and 02/02 could be either order; no unit in the title; an offset in the time title.
    const std::string path =
        dir.write("t.csv", "Serial Number: T\n\"Date Time, GMT+01:00\",Temp\n"
                           "01/02/2003 10:00,68\n01/02/2003 10:30,77\n02/02/2003 10:00,86\n");
    EXPECT_TRUE(import({path}).hasFailed());
    EXPECT_EQ(takeMessage().text,
              path + ": the dates could be day/month or month/day: choose the date order");

    set("importDateOrderText", "DMY");
    set("importUnitText", "F");
    set("importUtcOffsetText", "+03:00");
    ASSERT_FALSE(import({path}).hasFailed());
    const LogFile *record = at(0, 0);
    ASSERT_NE(record, nullptr);
    // 1 February, moved from UTC+1 to UTC+3; half-hourly, so 2 February 10:00 is reading 49.
    EXPECT_EQ(record->startTime(), dayNumberFromCivil(CivilTime{2003, 2, 1, 12, 0, 0}));
    EXPECT_EQ(record->samplePeriod, 1800.0);
    ASSERT_EQ(record->values.size(), 49u);
    EXPECT_EQ(record->values[0], (68.0 - 32.0) * 5.0 / 9.0);
    EXPECT_EQ(record->values[1], (77.0 - 32.0) * 5.0 / 9.0);
    EXPECT_EQ(record->values[2], NO_VALUE);
    EXPECT_EQ(record->values[48], (86.0 - 32.0) * 5.0 / 9.0);

    set("importDateOrderText", "MDY");
    ASSERT_FALSE(import({path}).hasFailed());
    // 2 January to 2 February: a month of half hours.
    EXPECT_EQ(at(0, 0)->startTime(), dayNumberFromCivil(CivilTime{2003, 1, 2, 12, 0, 0}));
    EXPECT_EQ(at(0, 0)->values.size(), 31u * 48u + 1u);
}

TEST_F(ImportFiles, APathARecordCannotHoldIsRefusedUnread) {
    layout("1", "1", "0");
    const std::string longPath =
        dir.path().string() + "/" + std::string(TEXT_MAX_LENGTH, 'x') + ".csv";
    EXPECT_TRUE(import({longPath}).hasFailed());
    EXPECT_EQ(takeMessage().text, longPath + ": the path is longer than 299 characters");
    EXPECT_EQ(status(), "No files were imported.");
}

TEST_F(ImportFiles, APlacementDropsTheSets) {
    layout("1", "1", "0");
    // An hour of readings: two averaged sets.
    std::vector<std::string> readings;
    for (int i = 0; i <= 12; ++i)
        readings.push_back(std::to_string(20 + i));
    const std::string path = table("p.csv", "P", {readings}, "R1C1");
    ASSERT_FALSE(import({path}).hasFailed());
    ASSERT_EQ(window.dataFilterPage.calculateAveraged().kind, CommandOutcome::Kind::Completed);
    ASSERT_GT(window.job.setList.count(), 0);
    window.tabChanged(TAB_MATRIX);
    EXPECT_TRUE(matrix().isEnabled(MatrixPage::FIRST));
    ASSERT_FALSE(import({path}).hasFailed());
    EXPECT_EQ(window.job.setList.count(), 0);
    EXPECT_FALSE(matrix().isEnabled(MatrixPage::FIRST));
}

TEST_F(ImportFiles, CopyFilesCopiesTheImportedTables) {
    layout("1", "2", "0");
    const std::string path = table("both.csv", "B", {{"20", "21"}, {"30", "31"}}, "R1C1,R1C2");
    ASSERT_FALSE(import({path}).hasFailed());
    const std::filesystem::path copies = dir.path() / "copies";
    std::filesystem::create_directory(copies);
    // One table, placed twice: copied twice, as a two-channel log file is.
    EXPECT_EQ(copyFilesTo(window.fileSelectionPage, copies.string()), 2);
    EXPECT_EQ(takeMessage().text, "2 log files were copied.");
    EXPECT_TRUE(std::filesystem::exists(copies / "both.csv"));
}

TEST(ImportPaths, AFolderStandsForItsTablesInTheByteOrderOfTheirNames) {
    TempDir dir;
    for (const char *name : {"b.CSV", "a.txt", "C.tsv", "d.dta", "e.xlsx"})
        dir.write(name, "x");
    std::filesystem::create_directory(dir.path() / "f.csv");
    const std::string folder = dir.path().string();
    const std::vector<std::string> expected = {"/one.csv", folder + "/C.tsv", folder + "/a.txt",
                                               folder + "/b.CSV", dir.file("missing")};
    EXPECT_EQ(importPaths({"/one.csv", folder, dir.file("missing")}), expected);
}
