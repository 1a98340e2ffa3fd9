#include "core/data/numbers.h"
#include "core/data/systemCalls.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/logFileCommands.h"
#include "pages/presentation/GraphPage.h"
#include "pages/presentation/MatrixPage.h"

#include "support/FileBytes.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;
using DF = DataFilterPage;

namespace {

class LoadFiles : public PageTest {
protected:
    LoadFiles() {
        fileSelection().setText(FS::DIRECTORY, dir.path().string());
        auto &page = fileSelection();
        auto previous = page.onTextChanged;
        page.onTextChanged = [this, previous](int id) {
            if (previous)
                previous(id);
            if (id == FS::STATUS)
                statuses.push_back(fileSelection().text(FS::STATUS));
        };
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
    void loadFiles() { ASSERT_TRUE(fileSelection().click(FS::LOAD_FILES)); }
    std::string status() { return fileSelection().text(FS::STATUS); }
    bool cellMissing(int row, int column) {
        return window.fileSelectionPage.arrayLayoutList().isItemMissing(row, column);
    }
    // The properties pop-up of a position, as a right click shows it.
    std::string properties(int row, int col) {
        window.fileSelectionPage.showProperties(row, col);
        return takeMessage().text;
    }

    // A logger that starts at 14:30 on 5 November 2003 with minute samples.
    std::string log(const std::string &fileName, const std::string &loggerName,
                    std::initializer_list<double> samples, const std::string &comment = "") {
        DtaFile dta;
        dta.name = loggerName;
        dta.comments[1] = comment;
        dta.samples(samples);
        return dir.write(fileName, dta.text());
    }
    // Sample lines with two values: channel 1 reads first, channel 2 second.
    std::string twoChannelLog(const std::string &fileName, const std::string &loggerName,
                              double first, double second, const std::string &comment = "") {
        DtaFile dta;
        dta.name = loggerName;
        dta.comments[0] = comment;
        dta.sampleLines = {"1 " + formatFixed(first, 2) + " " + formatFixed(second, 2)};
        return dir.write(fileName, dta.text());
    }

    TempDir dir;
    std::vector<std::string> statuses;
};

} // namespace

TEST_F(LoadFiles, SerialNumbersMatchWithoutRegardToCaseOrChannelSuffix) {
    layout("2", "3", "1");
    useSerialNumbers();
    twoChannelLog("a.dta", "abc", 20.5, 30.5);
    cell(1, 1, "abc");
    cell(1, 2, "ABC,1");
    cell(1, 3, "Abc,2");
    cell(2, 1, "abc");
    singular(0, "ABC");
    loadFiles();

    EXPECT_EQ(cellText(1, 1), "abc");
    EXPECT_EQ(cellText(1, 2), "abc");
    EXPECT_EQ(cellText(1, 3), "abc,2");
    EXPECT_EQ(cellText(2, 1), "abc");
    EXPECT_EQ(cellText(2, 2), "-");
    EXPECT_EQ(singularText(0), "abc");
    for (auto [row, col, channel, value] :
         {std::tuple{0, 0, 1, 20.5}, std::tuple{0, 1, 1, 20.5}, std::tuple{0, 2, 2, 30.5},
          std::tuple{1, 0, 1, 20.5}, std::tuple{-1, 0, 1, 20.5}}) {
        SCOPED_TRACE(std::to_string(row) + "," + std::to_string(col));
        ASSERT_NE(at(row, col), nullptr);
        EXPECT_EQ(at(row, col)->channel, channel);
        ASSERT_EQ(at(row, col)->values.size(), 1u);
        EXPECT_EQ(at(row, col)->values[0], value);
    }
    // Every placement has a record of its own.
    EXPECT_NE(at(0, 0), at(0, 1));
    EXPECT_NE(at(0, 0), at(1, 0));
    EXPECT_EQ(status(), "5 files were loaded.");
    const auto message = takeMessage();
    EXPECT_EQ(message.text, "2 log files were not loaded.");
    EXPECT_EQ(message.caption, "Load");
    EXPECT_TRUE(fileSelection().isEnabled(FS::COPY_FILES));
}

TEST_F(LoadFiles, AFileWithoutANameFillsNoEmptyCell) {
    layout("1", "3", "0");
    useSerialNumbers();
    cell(1, 1, "");
    log("unnamed.dta", "", {1.0});
    log("dash.dta", "-", {2.0});
    log("ok.dta", "A", {3.0});
    cell(1, 3, "A");
    loadFiles();
    EXPECT_EQ(status(), "One file was loaded.");
    EXPECT_EQ(at(0, 0), nullptr);
    EXPECT_EQ(at(0, 1), nullptr);
    EXPECT_EQ(cellText(1, 1), "-");
    EXPECT_EQ(takeMessage().text, "2 log files were not loaded.");
}

TEST_F(LoadFiles, CommentPositionsPlaceEachChannelInsideTheLayout) {
    struct Case {
        const char *comment;
        std::vector<std::tuple<int, int, int>> placed; // row, col (-1: singular), channel
    } cases[] = {
        {"R2C3,R2C4", {{1, 2, 1}, {1, 3, 2}}},
        {"R3C4,S2", {{2, 3, 1}, {-1, 1, 2}}},
        {"R5C1,S1", {{-1, 0, 2}}}, // 4 rows: channel 1 is outside
        {"S3", {}},                // 2 singular slots
        {"R1C5", {}},              // 4 columns
    };
    layout("4", "4", "2");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.comment);
        std::filesystem::remove_all(dir.path() / "one.dta");
        twoChannelLog("one.dta", "7", 1.0, 2.0, c.comment);
        loadFiles();
        host.takeMessages();
        int filled = 0;
        for (int r = -1; r < 4; ++r)
            for (int col = 0; col < 4; ++col)
                filled += at(r, col) && (r >= 0 || col < 2) ? 1 : 0;
        EXPECT_EQ(filled, static_cast<int>(c.placed.size()));
        for (auto [row, col, channel] : c.placed) {
            ASSERT_NE(at(row, col), nullptr);
            EXPECT_EQ(at(row, col)->channel, channel);
            const std::string label = channel == 2 ? "7,2" : "7";
            EXPECT_EQ(row < 0 ? singularText(col) : cellText(row + 1, col + 1), label);
        }
    }
}

TEST_F(LoadFiles, SingularsAsTextKeepOutOfTheRangeOnlyInCommentFieldMode) {
    struct Case {
        bool serialNumbers;
        const char *minimum;
        const char *maximum;
    } cases[] = {
        {false, "20", "22"},
        {true, "5", "40"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serialNumbers ? "serial numbers" : "comment field");
        layout("1", "1", "1");
        if (c.serialNumbers)
            useSerialNumbers();
        cell(1, 1, "A");
        singular(0, "S");
        log("a.dta", "A", {20.5, 21.5}, "R1C1");
        log("s.dta", "S", {5.0, 40.0}, "S1");
        dataFilter().setChecked(DF::SHOW_SINGULAR_AS_TEXT, true);
        loadFiles();
        EXPECT_EQ(status(), "2 files were loaded.");
        EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), c.minimum);
        EXPECT_EQ(dataFilter().text(DF::MAXIMUM_TEMPERATURE), c.maximum);
    }
}

TEST_F(LoadFiles, PrefillsTheDataFilterFromThePlacedRecords) {
    layout("1", "2", "0");
    log("a.dta", "A", {20.3, 24.6, 22.0}, "R1C1");
    DtaFile later;
    later.name = "B";
    later.minute = "31";
    later.comments[1] = "R1C2";
    later.samples({21.0, 23.0, 22.0, 21.0});
    dir.write("b.dta", later.text());
    loadFiles();
    // A starts 14:30 and ends 14:32; B starts 14:31 and ends 14:34.
    EXPECT_EQ(dataFilter().text(DF::START_TIME), "05-Nov-2003 02:31PM");
    EXPECT_EQ(dataFilter().text(DF::TIME), "05-Nov-2003 02:31PM");
    EXPECT_EQ(dataFilter().text(DF::FINISH_TIME), "05-Nov-2003 02:32PM");
    EXPECT_EQ(dataFilter().text(DF::AVERAGING_INTERVAL), "30");
    EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), "20");
    EXPECT_EQ(dataFilter().text(DF::MAXIMUM_TEMPERATURE), "25");
    EXPECT_EQ(dataFilter().text(DF::CONTOUR_SPACING), "0.25");
    EXPECT_EQ(status(), "2 files were loaded.");
    EXPECT_EQ(statuses.front(), "Scanning:  a.dta   Loaded: 0");
    EXPECT_EQ(statuses[1], "Scanning:  b.dta   Loaded: 1");
}

TEST_F(LoadFiles, RecordsWithoutSamplesOrStartTakeNoPartInThePrefill) {
    layout("1", "3", "0");
    useSerialNumbers();
    cell(1, 1, "A");
    cell(1, 2, "short");
    cell(1, 3, "leap");
    DtaFile shortFile;
    shortFile.name = "short";
    shortFile.count = "5";
    shortFile.samples({-40.0});
    dir.write("short.dta", shortFile.text());
    DtaFile badStart;
    badStart.name = "leap";
    badStart.month = "2";
    badStart.day = "29"; // 2003 has no 29 February
    badStart.samples({90.0});
    dir.write("leap.dta", badStart.text());

    // With only those two, the times and the range stay as they were.
    dataFilter().setText(DF::START_TIME, "kept");
    dataFilter().setText(DF::MINIMUM_TEMPERATURE, "kept");
    loadFiles();
    EXPECT_EQ(status(), "2 files were loaded.");
    EXPECT_EQ(cellText(1, 2), "short");
    ASSERT_NE(at(0, 1), nullptr);
    EXPECT_EQ(at(0, 1)->valueCount, 0);
    EXPECT_EQ(dataFilter().text(DF::START_TIME), "kept");
    EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), "kept");
    EXPECT_EQ(dataFilter().text(DF::AVERAGING_INTERVAL), "30");
    EXPECT_EQ(takeMessage().text, "One log file was not loaded.");

    log("a.dta", "A", {20.5, 21.5});
    EXPECT_EQ(cellText(1, 1), "A") << "a serial number whose file was missing stays";
    loadFiles();
    EXPECT_EQ(status(), "3 files were loaded.");
    EXPECT_EQ(dataFilter().text(DF::START_TIME), "05-Nov-2003 02:30PM");
    EXPECT_EQ(dataFilter().text(DF::FINISH_TIME), "05-Nov-2003 02:31PM");
    EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), "20");
    EXPECT_EQ(dataFilter().text(DF::MAXIMUM_TEMPERATURE), "22");
}

TEST_F(LoadFiles, AllSamplesBeyondAThousandFallBackToFifteenToTwentyFive) {
    layout("1", "1", "0");
    log("hot.dta", "H", {1500.0, 1600.0}, "R1C1");
    loadFiles();
    EXPECT_EQ(dataFilter().text(DF::MINIMUM_TEMPERATURE), "15");
    EXPECT_EQ(dataFilter().text(DF::MAXIMUM_TEMPERATURE), "25");
}

TEST_F(LoadFiles, NothingToLoadLeavesEveryPositionEmpty) {
    for (const std::string &directory : {dir.file("missing"), dir.path().string()}) {
        SCOPED_TRACE(directory);
        fileSelection().setText(FS::DIRECTORY, directory);
        dataFilter().setText(DF::AVERAGING_INTERVAL, "15");
        loadFiles();
        EXPECT_EQ(status(), "No files were loaded - Check your data settings.");
        const auto message = takeMessage();
        EXPECT_EQ(message.text, "26 log files were not loaded.");
        EXPECT_EQ(message.caption, "Load");
        EXPECT_FALSE(fileSelection().isEnabled(FS::COPY_FILES));
        EXPECT_EQ(dataFilter().text(DF::AVERAGING_INTERVAL), "15");
        EXPECT_EQ(cellText(1, 1), "-");
    }
}

TEST_F(LoadFiles, OnlyDtaFilesAreReadInByteOrderOfTheirNames) {
    layout("1", "1", "0");
    useSerialNumbers();
    cell(1, 1, "same");
    log("b.dta", "same", {2.0});
    log("a.dta", "same", {1.0});
    log("C.DTA", "same", {3.0});
    log("notes.txt", "same", {4.0});
    std::filesystem::create_directory(dir.path() / "folder.dta");
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>((i * 131) % 256);
    dir.write("binary.dta", binary);
    loadFiles();
    // "C.DTA" sorts before "a.dta" and "b.dta"; the last file that names the cell keeps it,
    // and every placement counts.
    EXPECT_EQ(status(), "3 files were loaded.");
    ASSERT_NE(at(0, 0), nullptr);
    EXPECT_EQ(at(0, 0)->fileName.view(), dir.file("b.dta"));
    std::vector<std::string> scanned;
    for (const auto &s : statuses)
        if (s.rfind("Scanning:", 0) == 0)
            scanned.push_back(s.substr(11, s.find("   ") - 11));
    EXPECT_EQ(scanned, (std::vector<std::string>{"C.DTA", "a.dta", "b.dta", "binary.dta"}));
}

TEST_F(LoadFiles, PathsBeyond299CharactersAreSkipped) {
    const std::filesystem::path deep = dir.path() / std::string(250, 'd');
    std::filesystem::create_directory(deep);
    const std::string directory = deep.string();
    ASSERT_LT(directory.size() + 6, 300u);
    fileSelection().setText(FS::DIRECTORY, directory);
    layout("1", "2", "0");
    DtaFile dta;
    dta.samples({1.0});
    dta.comments[1] = "R1C1";
    std::ofstream(deep / "a.dta", std::ios::binary) << dta.text();
    const std::string longName = std::string(299 - directory.size(), 'n') + ".dta";
    dta.comments[1] = "R1C2";
    std::ofstream(deep / longName, std::ios::binary) << dta.text();
    loadFiles();
    EXPECT_EQ(status(), "One file was loaded.");
    EXPECT_NE(at(0, 0), nullptr);
    EXPECT_EQ(at(0, 1), nullptr);
    EXPECT_EQ(takeMessage().text, "One log file was not loaded.");
}

TEST_F(LoadFiles, FiltersByProjectNumberAndModificationDate) {
    layout("1", "2", "0");
    DtaFile dta;
    dta.comments[0] = "Project P17";
    dta.comments[1] = "R1C1";
    dta.samples({1.0});
    dir.write("a.dta", dta.text());
    dta.comments[0] = "Project P18";
    dta.comments[1] = "R1C2";
    const std::string old = dir.write("b.dta", dta.text());
    // The date written inside the files is 5 November 2003 for both; only b.dta was last
    // written then.
    const auto now = std::filesystem::last_write_time(old);
    std::filesystem::last_write_time(old, now - std::chrono::hours(24 * 400));

    fileSelection().setText(FS::PROJECT_NUMBER, "P17");
    loadFiles();
    EXPECT_EQ(status(), "One file was loaded.");
    EXPECT_NE(at(0, 0), nullptr);
    takeMessage();

    fileSelection().setText(FS::PROJECT_NUMBER, "");
    const std::time_t today = std::time(nullptr);
    std::tm local{};
    zqar::toLocalTime(today, local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    fileSelection().setText(FS::PROJECT_DATE, date);
    loadFiles();
    EXPECT_EQ(status(), "One file was loaded.");
    EXPECT_NE(at(0, 0), nullptr);
    EXPECT_EQ(at(0, 1), nullptr);
    takeMessage();
}

TEST_F(LoadFiles, ABadDateStopsWithTheArrayEmptied) {
    layout("1", "1", "0");
    log("a.dta", "A", {1.0}, "R1C1");
    loadFiles();
    ASSERT_NE(at(0, 0), nullptr);
    dataFilter().setText(DF::AVERAGING_INTERVAL, "15");
    fileSelection().setText(FS::PROJECT_DATE, "not a date");
    loadFiles();
    const auto message = takeMessage();
    EXPECT_EQ(message.text, "The date is in an incorrect format.");
    EXPECT_EQ(message.caption, "Load Files");
    EXPECT_EQ(at(0, 0), nullptr);
    EXPECT_EQ(window.job.setList.count(), 0);
    EXPECT_EQ(dataFilter().text(DF::AVERAGING_INTERVAL), "15");
    EXPECT_FALSE(matrix().isEnabled(MatrixPage::NEXT));
    EXPECT_FALSE(graph().isEnabled(GraphPage::LAST));
}

TEST_F(LoadFiles, EveryPositionFilledShowsNoMessage) {
    layout("1", "1", "1");
    log("a.dta", "A", {1.0}, "R1C1");
    log("s.dta", "S", {1.0}, "S1");
    loadFiles();
    EXPECT_EQ(status(), "2 files were loaded.");
    // The fixture's tear-down fails the test on any message box.
}

namespace {

class CopyFiles : public LoadFiles {
protected:
    std::string copyTo(const std::string &destination) {
        host.folderAnswers.push_back(destination);
        EXPECT_TRUE(fileSelection().click(FS::COPY_FILES));
        const auto message = takeMessage();
        EXPECT_EQ(message.caption, "Copy");
        return message.text;
    }
};

} // namespace

TEST_F(CopyFiles, CopiesEveryPlacementAndCountsWhatWorked) {
    layout("1", "2", "1");
    twoChannelLog("two.dta", "T", 1.0, 2.0, "R1C1,R1C2");
    const std::string single = log("s.dta", "S", {1.0}, "S1");
    loadFiles();
    ASSERT_EQ(status(), "3 files were loaded.");
    TempDir target;
    target.write("s.dta", "old");
    // The two-channel file fills two positions: copied twice, counted twice.
    EXPECT_EQ(copyTo(target.path().string()), "3 log files were copied.");
    EXPECT_EQ(zqar::testing::fileBytes(target.file("s.dta")), zqar::testing::fileBytes(single));
    EXPECT_EQ(zqar::testing::fileBytes(target.file("two.dta")),
              zqar::testing::fileBytes(dir.file("two.dta")));

    // Onto themselves nothing is copied and the files stay whole.
    const std::string before = zqar::testing::fileBytes(single);
    EXPECT_EQ(copyTo(dir.path().string()), "0 log files were copied.");
    EXPECT_EQ(zqar::testing::fileBytes(single), before);

    EXPECT_EQ(copyTo(target.file("missing")), "0 log files were copied.");
    std::filesystem::remove(dir.file("two.dta"));
    EXPECT_EQ(copyTo(target.path().string()), "One log file was copied.");
    EXPECT_EQ(host.dialogs.back().prompt, "Select the directory to copy the files to:");
    // A cancelled folder dialog ends the command without a message.
    EXPECT_TRUE(fileSelection().click(FS::COPY_FILES));
}

TEST_F(LoadFiles, BrowseTakesTheFolderOfTheChosenFile) {
    host.openAnswers.push_back("/data/run1/0042.dta");
    fileSelection().click(FS::BROWSE);
    EXPECT_EQ(fileSelection().text(FS::DIRECTORY), "/data/run1");
    EXPECT_EQ(host.dialogs.back().options.title, "Locate Log Files");
    EXPECT_EQ(host.dialogs.back().options.filterPattern, "*.dta");
    fileSelection().click(FS::BROWSE); // cancelled
    EXPECT_EQ(fileSelection().text(FS::DIRECTORY), "/data/run1");
}

// Load Files flags the cells of loggers the data check finds suspect; the flags follow the
// plausible settings, and Update Layout takes the exclusions of the old positions away.
TEST_F(LoadFiles, FlagsSuspectLoggersInTheLayoutTables) {
    layout("1", "2", "1");
    useSerialNumbers();
    log("a.dta", "A", {9999.5, 9999.5});
    log("b.dta", "B", {20.0, 20.5});
    log("s.dta", "S", {-120.0, -120.0});
    cell(1, 1, "A");
    cell(1, 2, "B");
    singular(0, "S");
    loadFiles();
    platform::ListView &cells = window.fileSelectionPage.arrayLayoutList();
    platform::ListView &slots = window.fileSelectionPage.singularLayoutList();
    EXPECT_TRUE(cells.isItemFlagged(1, 1));
    EXPECT_FALSE(cells.isItemFlagged(1, 2));
    EXPECT_TRUE(slots.isItemFlagged(0, 1));
    EXPECT_EQ(cellText(1, 1), "A") << "the text stays as it is";

    window.job.setSetting(JobSetting::PlausibleHigh, "10000");
    EXPECT_FALSE(cells.isItemFlagged(1, 1));
    EXPECT_TRUE(slots.isItemFlagged(0, 1));

    window.fileSelectionPage.showProperties(-1, 0);
    const std::string properties = takeMessage().text;
    EXPECT_NE(properties.find("Number of Values: 2\r\nData check:\r\nbelow plausible: 2, first at "
                              "05-Nov-2003 02:30PM (-120.00)\r\n"),
              std::string::npos)
        << properties;

    window.job.exclusions.push_back({0, 1, 0.0, 1e6, "door"});
    layout("1", "2", "1");
    EXPECT_TRUE(window.job.exclusions.empty());
    EXPECT_FALSE(slots.isItemFlagged(0, 1)) << "nothing placed after Update Layout";
}

TEST_F(LoadFiles, TypedSerialNumbersOfMissingFilesStayThroughLoadAndSave) {
    layout("1", "3", "1");
    useSerialNumbers();
    log("a.dta", "A", {20.0});
    cell(1, 1, "A");
    cell(1, 2, "B");
    cell(1, 3, "");
    singular(0, "C,2");
    loadFiles();
    EXPECT_EQ(status(), "One file was loaded.");
    EXPECT_EQ(takeMessage().text, "3 log files were not loaded.");
    EXPECT_EQ(cellText(1, 1), "A");
    EXPECT_EQ(cellText(1, 2), "B");
    EXPECT_EQ(cellText(1, 3), "-") << "a cell without a serial number still shows none";
    EXPECT_EQ(singularText(0), "C,2");
    EXPECT_FALSE(cellMissing(1, 1));
    EXPECT_TRUE(cellMissing(1, 2));
    EXPECT_TRUE(cellMissing(1, 3));
    EXPECT_TRUE(window.fileSelectionPage.singularLayoutList().isItemMissing(0, 1));

    host.saveAnswers.push_back(dir.file("typed.ttp"));
    ASSERT_TRUE(fileSelection().click(FS::SAVE_PROJECT));
    const std::string project = fileBytes(dir.file("typed.ttp"));
    EXPECT_NE(project.find("R1C2=B"), std::string::npos) << project;
    EXPECT_NE(project.find("R1C3=-"), std::string::npos) << project;
    EXPECT_NE(project.find("S0=C,2"), std::string::npos) << project;

    // Once the file is there, the same serial number loads it, and the mark goes.
    log("b.dta", "B", {21.0});
    loadFiles();
    EXPECT_EQ(takeMessage().text, "2 log files were not loaded.");
    EXPECT_NE(at(0, 1), nullptr);
    EXPECT_FALSE(cellMissing(1, 2));
    // A new layout has loaded nothing yet: nothing is marked missing.
    fileSelection().click(FS::UPDATE_LAYOUT);
    EXPECT_FALSE(window.fileSelectionPage.singularLayoutList().isItemMissing(0, 1));
    EXPECT_EQ(properties(-1, 0), "File not loaded.");
}

TEST_F(LoadFiles, PropertiesSayWhyASerialNumbersFileDidNotLoad) {
    layout("1", "6", "0");
    useSerialNumbers();
    const std::vector<std::string> serials = {"A", "gone", "bad", "short,2", "other", "-"};
    for (int c = 0; c < 6; ++c)
        cell(1, c + 1, serials[static_cast<std::size_t>(c)]);
    log("a.dta", "A", {20.0}, "P-1");
    // The header ends after the logger name: no log file.
    const std::string bad = dir.write("bad.dta", "Logger data file\r\nbad\r\nsec\r\n");
    DtaFile shortFile;
    shortFile.name = "short";
    shortFile.comments[1] = "P-1";
    shortFile.count = "3";
    shortFile.samples({1.0, 2.0});
    const std::string shortPath = dir.write("short.dta", shortFile.text());
    const std::string other = log("other.dta", "other", {20.0}, "P-2");
    fileSelection().setText(FS::PROJECT_NUMBER, "P-1");
    loadFiles();
    EXPECT_EQ(takeMessage().text, "5 log files were not loaded.");

    const std::string reasons[] = {
        "No log file of logger gone is in the data file directory.",
        "The log file of logger bad could not be read: " + bad,
        "The log file of logger short,2 holds no samples: " + shortPath,
        "The project number or date stamp filter leaves out the log file of logger other: " + other,
        "No serial number is given for this position.",
    };
    for (int c = 1; c < 6; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(properties(0, c), "File not loaded.\r\n" + reasons[c - 1]);
        EXPECT_TRUE(cellMissing(1, c + 1));
    }
    EXPECT_EQ(cellText(1, 3), "bad");
}

TEST_F(LoadFiles, CommentFieldModeSaysWhichFileNamedAnEmptyPosition) {
    layout("1", "3", "1");
    cell(1, 3, "stale"); // a label of an earlier load
    log("a.dta", "A", {20.0}, "R1C1 P-1");
    DtaFile shortFile;
    shortFile.name = "short";
    shortFile.comments[1] = "R1C2 P-1";
    shortFile.count = "3";
    shortFile.samples({1.0});
    const std::string shortPath = dir.write("short.dta", shortFile.text());
    const std::string other = log("other.dta", "other", {20.0}, "R1C1,R1C3 P-2");
    fileSelection().setText(FS::PROJECT_NUMBER, "P-1");
    loadFiles();
    EXPECT_EQ(takeMessage().text, "3 log files were not loaded.");
    EXPECT_EQ(cellText(1, 1), "A");
    EXPECT_EQ(cellText(1, 3), "-") << "no typed text in comment-field mode";
    EXPECT_EQ(properties(0, 1),
              "File not loaded.\r\nThe log file that names this position holds no samples: " +
                  shortPath);
    EXPECT_EQ(properties(0, 2), "File not loaded.\r\nThe project number filter leaves out the "
                                "log file that names this position: " +
                                    other);
    EXPECT_EQ(properties(-1, 0),
              "File not loaded.\r\nNo log file names this position in its comment lines.");
    EXPECT_TRUE(cellMissing(1, 2));
    EXPECT_FALSE(cellMissing(1, 1));
}

TEST_F(LoadFiles, AnEmptyDirectoryReadsNothing) {
    std::vector<std::string> listed;
    LoadFilesOptions options;
    options.listLogFiles = [&listed](const std::string &directory) {
        listed.push_back(directory);
        return logFileNames(directory);
    };
    log("a.dta", "A", {20.0}, "R1C1");
    fileSelection().setText(FS::DIRECTORY, "");
    zqar::loadFiles(window.fileSelectionPage, options);
    EXPECT_TRUE(listed.empty()) << listed.front();
    EXPECT_EQ(status(), "No files were loaded - Check your data settings.");
    EXPECT_EQ(takeMessage().text, "26 log files were not loaded.");
    EXPECT_TRUE(logFileNames("").empty());

    // The same lister reads a directory that is given.
    fileSelection().setText(FS::DIRECTORY, dir.path().string());
    zqar::loadFiles(window.fileSelectionPage, options);
    EXPECT_EQ(listed, std::vector<std::string>{dir.path().string()});
    EXPECT_EQ(status(), "One file was loaded.");
    takeMessage();
}
