#include "app/MainWindow.h"
#include "core/data/projectFormat.h"
#include "pages/analysis/calibrationCommands.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/settings.h"
#include "platform/memory/MemoryHost.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace zqar;
using platform::MemoryDialog;
using platform::MemoryHost;
using zqar::testing::TempDir;
using FS = FileSelectionPage;

namespace {

class ProjectFile : public ::testing::Test {
protected:
    void SetUp() override {
        window.initialise();
        host.takeMessages();
    }

    MemoryDialog &page() { return host.dialogOf(window.fileSelectionPage); }
    platform::ListView &arrayTable() { return window.fileSelectionPage.arrayLayoutList(); }
    platform::ListView &singularTable() { return window.fileSelectionPage.singularLayoutList(); }

    void load(const std::string &path) {
        host.openAnswers.push_back(path);
        ASSERT_TRUE(page().click(FS::LOAD_PROJECT));
    }
    void save(const std::string &path) {
        host.saveAnswers.push_back(path);
        ASSERT_TRUE(page().click(FS::SAVE_PROJECT));
    }
    void setLayout(const char *rows, const char *columns, const char *singular) {
        page().setText(FS::NUMBER_OF_ROWS, rows);
        page().setText(FS::NUMBER_OF_COLUMNS, columns);
        page().setText(FS::NUMBER_OF_SINGULAR, singular);
        page().click(FS::UPDATE_LAYOUT);
    }

    TempDir dir;
    MemoryHost host;
    MainWindow window{host};
};

// The settings every test of loading looks at, in the order of the file.
struct Settings {
    std::string directory, rows, columns, rowSpacing, columnSpacing, singular;
    bool commentField, serialNumbers, boundary;
    std::string description, number, date;
};

Settings settingsOf(MemoryDialog &d) {
    return {d.text(FS::DIRECTORY),
            d.text(FS::NUMBER_OF_ROWS),
            d.text(FS::NUMBER_OF_COLUMNS),
            d.text(FS::ROW_SPACING),
            d.text(FS::COLUMN_SPACING),
            d.text(FS::NUMBER_OF_SINGULAR),
            d.isChecked(FS::USE_COMMENT_FIELD),
            d.isChecked(FS::USE_SERIAL_NUMBERS),
            d.isChecked(FS::LOGGERS_ON_BOUNDARY),
            d.text(FS::PROJECT_DESCRIPTION),
            d.text(FS::PROJECT_NUMBER),
            d.text(FS::PROJECT_DATE)};
}

void expectSame(const Settings &a, const Settings &b) {
    EXPECT_EQ(a.directory, b.directory);
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.columns, b.columns);
    EXPECT_EQ(a.rowSpacing, b.rowSpacing);
    EXPECT_EQ(a.columnSpacing, b.columnSpacing);
    EXPECT_EQ(a.singular, b.singular);
    EXPECT_EQ(a.commentField, b.commentField);
    EXPECT_EQ(a.serialNumbers, b.serialNumbers);
    EXPECT_EQ(a.boundary, b.boundary);
    EXPECT_EQ(a.description, b.description);
    EXPECT_EQ(a.number, b.number);
    EXPECT_EQ(a.date, b.date);
}

} // namespace

// A new file is written with CR LF line ends, the line end of INI files on the platform the
// project files come from.
TEST_F(ProjectFile, NewFileHoldsTheKeysInTheirOrder) {
    setLayout("2", "2", "1");
    const std::string path = dir.file("new.ttp");
    save(path);
    // The layout typed above went into the job's change log, which follows in its own section.
    const std::string text = zqar::testing::fileBytes(path);
    EXPECT_EQ(text.substr(0, text.find("[ChangeLog]")),
              "[ZQARVemro]\r\nDirectory=\r\nNumberOfRows=2\r\nNumberOfColumns=2\r\n"
              "RowSpacing=1\r\nColumnSpacing=1\r\nNumberOfSingular=1\r\n"
              "UseCommentField=Y\r\nLoggersOnBoundary=Y\r\nProjectDescription=\r\n"
              "ProjectNumber=\r\nProjectDate=\r\nR1C1=-\r\nR1C2=-\r\nR2C1=-\r\n"
              "R2C2=-\r\nS0=-\r\n");
    EXPECT_TRUE(host.takeMessages().empty());
    ASSERT_FALSE(host.dialogs.empty());
    const auto &options = host.dialogs.back().options;
    EXPECT_EQ(options.filterDescription, "Z-QAR Vemro Project Files *.ttp");
    EXPECT_EQ(options.filterPattern, "*.ttp");
    EXPECT_EQ(options.defaultExtension, "ttp");
    EXPECT_TRUE(options.promptOverwrite);
    EXPECT_TRUE(options.pathMustExist);
}

TEST_F(ProjectFile, SavedProjectLoadsBackIntoTheSameSettingsAndTables) {
    setLayout("3", "2", "2");
    MemoryDialog &d = page();
    d.setText(FS::DIRECTORY, "/data/run 1");
    d.setText(FS::ROW_SPACING, "2.5");
    d.setText(FS::PROJECT_DESCRIPTION, "Warehouse, east wing");
    d.setText(FS::PROJECT_NUMBER, "P17");
    d.setText(FS::PROJECT_DATE, "05-Nov-2003");
    d.click(FS::USE_SERIAL_NUMBERS);
    d.click(FS::LOGGERS_ON_BOUNDARY);
    arrayTable().setItemText(1, 1, "4711");
    arrayTable().setItemText(3, 2, "0815,2");
    singularTable().setItemText(0, 1, "1234");
    // Counts typed without Update Layout are stored as typed, but the tables are stored as
    // the array's dimensions have them.
    d.setText(FS::NUMBER_OF_ROWS, "9");
    const Settings saved = settingsOf(d);
    const std::string path = dir.file("p.ttp");
    save(path);
    const std::string written = zqar::testing::fileBytes(path);
    const std::string bytes = written.substr(0, written.find("[ChangeLog]"));
    EXPECT_NE(bytes.find("NumberOfRows=9\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("R3C2=0815,2\r\nS0=1234\r\nS1=-\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("R4C1"), std::string::npos);

    d.setText(FS::NUMBER_OF_ROWS, "3");
    setLayout("1", "1", "0");
    d.click(FS::USE_COMMENT_FIELD);
    load(path);
    expectSame(settingsOf(d), saved);
    EXPECT_EQ(window.job.loggerArray.dimensions().rows, 9);
    EXPECT_EQ(arrayTable().itemText(1, 1), "4711");
    // The first singular slot is stored as S0 and comes back into the row labelled S1.
    EXPECT_EQ(singularTable().itemText(0, 0), "S1");
    EXPECT_EQ(singularTable().itemText(0, 1), "1234");
    EXPECT_EQ(arrayTable().itemText(3, 2), "0815,2");
    EXPECT_EQ(arrayTable().itemText(4, 1), "-");
    EXPECT_TRUE(host.takeMessages().empty());
}

TEST_F(ProjectFile, SavingOverALargerProjectKeepsItsOtherKeys) {
    const std::string path = dir.write(
        "big.ttp", "[Notes]\nWho=me\n\n[ZQARVemro]\nNumberOfRows=7\nR1C1=old\nR7C1=extra\n"
                   "Custom=kept\n\n[After]\nX=1\n");
    save(path); // the default 6 x 4 layout
    const std::string bytes = zqar::testing::fileBytes(path);
    const std::string start = "[Notes]\nWho=me\n\n[ZQARVemro]\nNumberOfRows=6\n";
    EXPECT_EQ(bytes.substr(0, start.size()), start);
    EXPECT_NE(bytes.find("R1C1=-\nR7C1=extra\nCustom=kept\nDirectory=\n"), std::string::npos);
    EXPECT_NE(bytes.find("S1=-\n\n[After]\nX=1\n"), std::string::npos);

    // Keys outside the dimensions have no effect on loading.
    page().setText(FS::NUMBER_OF_ROWS, "8");
    load(path);
    EXPECT_EQ(window.job.loggerArray.dimensions().rows, 6);
    EXPECT_EQ(arrayTable().itemCount(), 7);
}

TEST_F(ProjectFile, MissingKeysLoadTheirDefaults) {
    for (const char *text : {"[ZQARVemro]\r\n", "[zqarvemro]", "NumberOfRows=3\r\nRowSpacing=7\r\n",
                             "[Other]\nNumberOfRows=3\n", ""}) {
        SCOPED_TRACE(text);
        setLayout("2", "3", "5");
        MemoryDialog &d = page();
        d.setText(FS::DIRECTORY, "/somewhere");
        d.setText(FS::ROW_SPACING, "3");
        d.setText(FS::PROJECT_NUMBER, "P1");
        d.click(FS::USE_SERIAL_NUMBERS);
        d.click(FS::LOGGERS_ON_BOUNDARY);
        arrayTable().setItemText(1, 1, "4711");
        singularTable().setItemText(0, 1, "0815");
        load(dir.write("only.ttp", text));

        expectSame(settingsOf(d), {"", "6", "4", "1", "1", "2", true, false, true, "2", "", ""});
        EXPECT_EQ(arrayTable().itemCount(), 7);
        for (int r = 1; r <= 6; ++r)
            for (int c = 1; c <= 4; ++c)
                EXPECT_EQ(arrayTable().itemText(r, c), "-");
        EXPECT_EQ(singularTable().itemText(0, 1), "-");
        EXPECT_EQ(singularTable().itemText(1, 1), "-");
        EXPECT_TRUE(host.takeMessages().empty());
    }
}

TEST_F(ProjectFile, AFreshPageShowsTheDefaultsButNoDescription) {
    expectSame(settingsOf(page()), {"", "6", "4", "1", "1", "2", true, false, true, "", "", ""});
    EXPECT_EQ(arrayTable().itemCount(), 7);
    EXPECT_EQ(singularTable().itemText(1, 1), "-");
}

TEST_F(ProjectFile, OnlyACapitalYChecksAFlag) {
    struct Case {
        const char *value;
        bool checked;
    } cases[] = {
        {"Y", true}, {"Yes", true}, {"yes", false}, {"", false}, {"N", false}, {" Y", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        load(dir.write("flags.ttp", std::string("[ZQARVemro]\nusecommentfield=") + c.value +
                                        "\nLOGGERSONBOUNDARY=" + c.value + "\n"));
        EXPECT_EQ(page().isChecked(FS::USE_COMMENT_FIELD), c.checked);
        EXPECT_EQ(page().isChecked(FS::USE_SERIAL_NUMBERS), !c.checked);
        EXPECT_EQ(page().isChecked(FS::LOGGERS_ON_BOUNDARY), c.checked);
    }
}

TEST_F(ProjectFile, KeysInAnyLetterCaseAreRead) {
    load(dir.write("lower.ttp", "[zqarvemro]\nnumberofrows=2\nnumberofcolumns=3\n"
                                "numberofsingular=1\nprojectdescription=Cold store\n"
                                "r2c3=4711\ns0=0815\n"));
    EXPECT_EQ(page().text(FS::PROJECT_DESCRIPTION), "Cold store");
    EXPECT_EQ(arrayTable().itemCount(), 3);
    EXPECT_EQ(arrayTable().itemText(2, 3), "4711");
    EXPECT_EQ(singularTable().itemText(0, 1), "0815");
}

TEST_F(ProjectFile, ASingleRowOrColumnUnchecksTheBoundary) {
    for (const char *counts : {"NumberOfRows=1\n", "NumberOfColumns=1\n"}) {
        SCOPED_TRACE(counts);
        load(dir.write("one.ttp", std::string("[ZQARVemro]\nLoggersOnBoundary=Y\n") + counts));
        EXPECT_FALSE(page().isChecked(FS::LOGGERS_ON_BOUNDARY));
    }
}

TEST_F(ProjectFile, AFileThatCannotBeReadChangesNothing) {
    setLayout("3", "3", "1");
    arrayTable().setItemText(1, 1, "4711");
    const Settings before = settingsOf(page());
    for (const std::string &path : {dir.file("gone.ttp"), dir.path().string()}) {
        SCOPED_TRACE(path);
        load(path);
        const auto messages = host.takeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "The project information could not be loaded");
        EXPECT_EQ(messages[0].caption, "Load Project");
        expectSame(settingsOf(page()), before);
        EXPECT_EQ(arrayTable().itemText(1, 1), "4711");
    }
}

TEST_F(ProjectFile, CancelledDialogsChangeNothing) {
    const Settings before = settingsOf(page());
    EXPECT_TRUE(page().click(FS::LOAD_PROJECT));
    EXPECT_TRUE(page().click(FS::SAVE_PROJECT));
    EXPECT_TRUE(host.takeMessages().empty());
    expectSame(settingsOf(page()), before);
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_TRUE(host.dialogs[0].options.mustExist);
}

TEST_F(ProjectFile, SaveThatCannotWriteSaysSoAndLeavesNoFile) {
    const std::string path = dir.file("missing folder/p.ttp");
    save(path);
    const auto messages = host.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The project information could not be saved");
    EXPECT_EQ(messages[0].caption, "Save Project");
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing folder")));
}

TEST_F(ProjectFile, BinaryAndRepeatedKeyFilesLoadWithoutHarm) {
    std::string binary = "\x7f"
                         "ELF";
    for (int i = 0; i < 20000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    binary += "\n[ZQARVemro]\nNumberOfRows=3\nNumberOfRows=5\nR1C1=" + std::string(500, 'x') +
              "\n" + std::string(100000, '\0') + "\nR1C2=after zeros\n";
    load(dir.write("binary.ttp", binary));
    EXPECT_TRUE(host.takeMessages().empty());
    EXPECT_EQ(page().text(FS::NUMBER_OF_ROWS), "3");
    EXPECT_EQ(arrayTable().itemText(1, 1), std::string(299, 'x'));
    EXPECT_EQ(arrayTable().itemText(1, 2), "after zeros");
}

// The 300-character buffer a value is read with cuts the value, not the line with its key.
TEST_F(ProjectFile, LongTextsComeBackAsSavedUpTo299Characters) {
    MemoryDialog &d = page();
    const std::string description(295, 'd');
    const std::string directory = "/data/" + std::string(290, 'p'); // 296 characters
    d.setText(FS::PROJECT_DESCRIPTION, description);
    d.setText(FS::DIRECTORY, directory + "/and more"); // 305 characters
    const std::string path = dir.file("long.ttp");
    save(path);
    d.setText(FS::PROJECT_DESCRIPTION, "short");
    d.setText(FS::DIRECTORY, "short");
    load(path);
    EXPECT_EQ(d.text(FS::PROJECT_DESCRIPTION), description);
    EXPECT_EQ(d.text(FS::DIRECTORY), directory + "/an");
    EXPECT_TRUE(host.takeMessages().empty());
}

// A huge file is no reason to refuse a project: it is read and rewritten as a stream.
TEST_F(ProjectFile, AHugeFileLoadsAndKeepsItsOtherLinesWhenSavedOver) {
    const std::string path = dir.file("huge.ttp");
    const std::string head = "[Notes]\r\nWho=me\r\n";
    const std::string tail = "[ZQARVemro]\r\nNumberOfRows=3\r\nCustom=kept\r\n";
    std::uintmax_t size = 0;
    {
        std::ofstream out(path, std::ios::binary);
        out << head;
        std::string block;
        for (int i = 0; block.size() < (1u << 20); ++i)
            block += "Filler" + std::to_string(i) + "=" + std::string(90, 'f') + "\r\n";
        for (int i = 0; i < 40; ++i)
            out << block;
        out << "Unended=" << std::string(3u << 20, 'u') << "\r\n" << tail;
        ASSERT_TRUE(out.flush());
        size = static_cast<std::uintmax_t>(out.tellp());
    }
    ASSERT_GT(size, 40u << 20);
    load(path);
    EXPECT_TRUE(host.takeMessages().empty());
    EXPECT_EQ(page().text(FS::NUMBER_OF_ROWS), "3");
    EXPECT_EQ(page().text(FS::NUMBER_OF_COLUMNS), "4");

    save(path);
    EXPECT_TRUE(host.takeMessages().empty());
    EXPECT_GT(std::filesystem::file_size(path), size);
    std::ifstream in(path, std::ios::binary);
    std::string start(head.size(), ' ');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    EXPECT_EQ(start, head);
    in.seekg(-4096, std::ios::end);
    std::string end(4096, ' ');
    in.read(end.data(), 4096);
    EXPECT_NE(end.find("[ZQARVemro]\r\nNumberOfRows=3\r\nCustom=kept\r\nDirectory=\r\n"),
              std::string::npos);
    EXPECT_NE(end.find("R3C4=-\r\nS0=-\r\nS1=-\r\n"), std::string::npos);
    in.close();
    page().setText(FS::NUMBER_OF_ROWS, "1");
    load(path);
    EXPECT_EQ(page().text(FS::NUMBER_OF_ROWS), "3");
}

namespace {

const char *const CALIBRATION_FILE = "Logger,Certificate,Calibrated,Due,Reading,Correction\r\n"
                                     "10231,C-1,01-Jan-2003,31-Dec-2004,20,0.25\r\n";

// A project keeps the calibration file the job uses, so reopening it brings the table back.
TEST_F(ProjectFile, KeepsTheCalibrationFileOfTheJob) {
    const std::string calibration = dir.write("cal.csv", CALIBRATION_FILE);
    ASSERT_EQ(loadCalibrationFile(window.job, host, calibration).kind,
              CommandOutcome::Kind::Completed);
    save(dir.file("with.ttp"));
    EXPECT_NE(zqar::testing::fileBytes(dir.file("with.ttp"))
                  .find("CalibrationFile=" + calibration + "\r\n"),
              std::string::npos);

    window.job.clearCalibration();
    load(dir.file("with.ttp"));
    ASSERT_NE(window.job.calibration(), nullptr);
    EXPECT_EQ(window.job.calibrationFile(), calibration);
    EXPECT_EQ(window.job.calibration()->loggers.at(0).points.at(0).correction, 0.25);

    // Saved again without a table, the key is emptied; reading it leaves no table.
    window.job.clearCalibration();
    save(dir.file("with.ttp"));
    EXPECT_NE(zqar::testing::fileBytes(dir.file("with.ttp")).find("CalibrationFile=\r\n"),
              std::string::npos);
}

// Without a table a project gets no new key, and a reader that does not ask for the key reads
// the same settings from a file that has it.
TEST_F(ProjectFile, WithoutCalibrationTheFileHasNoNewKey) {
    save(dir.file("plain.ttp"));
    const std::string plain = zqar::testing::fileBytes(dir.file("plain.ttp"));
    EXPECT_EQ(plain.find("CalibrationFile"), std::string::npos);
    const std::string with = plain + "CalibrationFile=/somewhere/cal.csv\r\n";
    const ProjectValues a = readProject(plain, projectKeys());
    const ProjectValues b = readProject(with, projectKeys());
    EXPECT_EQ(a.settings, b.settings);
    EXPECT_EQ(a.arrayCells, b.arrayCells);
    EXPECT_EQ(a.singularCells, b.singularCells);
}

// A calibration file the project names that is refused says so; the project is loaded.
TEST_F(ProjectFile, ARefusedCalibrationFileLeavesTheProjectLoaded) {
    const std::string project = dir.write(
        "job.ttp",
        "[ZQARVemro]\r\nNumberOfRows=2\r\nCalibrationFile=" + dir.file("missing.csv") + "\r\n");
    load(project);
    const auto messages = host.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Calibration");
    EXPECT_EQ(page().text(FS::NUMBER_OF_ROWS), "2");
    EXPECT_EQ(window.job.calibration(), nullptr);
}

} // namespace
