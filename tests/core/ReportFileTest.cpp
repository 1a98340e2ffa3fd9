#include "core/data/reportFile.h"
#include "core/data/AtomicFileWriter.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "resources/strings.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <cstring>
#include <fstream>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;
namespace fs = std::filesystem;
using FS = FileSelectionPage;
using DF = DataFilterPage;

namespace {

std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every text and check state a report keeps, in field order.
struct Settings {
    std::vector<std::string> texts;
    std::vector<bool> checks;
    bool operator==(const Settings &other) const {
        return texts == other.texts && checks == other.checks;
    }
};

class Report : public PageTest {
protected:
    // A 2 x 3 array with one singular slot; four positions hold records, one of them empty of
    // samples and one a channel-2 record.
    void makeJob() {
        layout("2", "3", "1");
        fileSelection().setText(FS::DIRECTORY, "/data/job 17");
        fileSelection().setText(FS::ROW_SPACING, "1.5");
        fileSelection().setText(FS::COLUMN_SPACING, "0.75");
        fileSelection().setText(FS::PROJECT_DESCRIPTION, "Oven 3, top shelf");
        fileSelection().setText(FS::PROJECT_NUMBER, "P-17");
        fileSelection().setText(FS::PROJECT_DATE, "05-Nov-2003");
        fileSelection().setChecked(FS::USE_COMMENT_FIELD, false);
        fileSelection().setChecked(FS::USE_SERIAL_NUMBERS, true);
        fileSelection().setChecked(FS::LOGGERS_ON_BOUNDARY, false);
        dataFilter().setText(DF::TIME, "05-Nov-2003 10:02AM");
        dataFilter().setText(DF::START_TIME, "05-Nov-2003 10:00AM");
        dataFilter().setText(DF::FINISH_TIME, "05-Nov-2003 10:04AM");
        dataFilter().setText(DF::AVERAGING_INTERVAL, "2");
        dataFilter().setText(DF::MINIMUM_TEMPERATURE, "15");
        dataFilter().setText(DF::MAXIMUM_TEMPERATURE, "25");
        dataFilter().setText(DF::CONTOUR_SPACING, "0.25");
        dataFilter().setChecked(DF::SHOW_SINGULAR_AS_TEXT, true);

        const double ten = novemberFifth(10, 0);
        auto &array = window.job.loggerArray;
        auto first = makeRecord("1001", ten, 60, {20.0, 20.5, 21.0, 21.5, 22.0});
        first->comments[0].assign("Project P-17\r\n");
        first->comments[3].assign("R1C1");
        first->startTime.status = DATE_INVALID;
        array.place(0, 0, std::move(first));
        array.place(0, 2, makeRecord("1002", ten, 60, {19.0, 19.25, -0.0, 1e-300}, 2));
        array.place(1, 1, makeRecord("1003", ten, 30, {}));
        array.place(-1, 0, makeRecord("1004", ten + 0.5, 120.5, {18.25, 18.5}));
    }

    Settings settings() {
        Settings s;
        for (int id : {FS::DIRECTORY, FS::NUMBER_OF_ROWS, FS::NUMBER_OF_COLUMNS, FS::ROW_SPACING,
                       FS::COLUMN_SPACING, FS::NUMBER_OF_SINGULAR, FS::PROJECT_DESCRIPTION,
                       FS::PROJECT_NUMBER, FS::PROJECT_DATE})
            s.texts.push_back(fileSelection().text(id));
        for (int id : {DF::TIME, DF::START_TIME, DF::FINISH_TIME, DF::AVERAGING_INTERVAL,
                       DF::MINIMUM_TEMPERATURE, DF::MAXIMUM_TEMPERATURE, DF::CONTOUR_SPACING})
            s.texts.push_back(dataFilter().text(id));
        for (int id : {FS::USE_COMMENT_FIELD, FS::USE_SERIAL_NUMBERS, FS::LOGGERS_ON_BOUNDARY})
            s.checks.push_back(fileSelection().isChecked(id));
        s.checks.push_back(dataFilter().isChecked(DF::SHOW_SINGULAR_AS_TEXT));
        return s;
    }

    std::string createReport(const std::string &path) {
        host.saveAnswers.push_back(path);
        window.createReport();
        return path;
    }

    void loadReport(const std::string &path) {
        host.openAnswers.push_back(path);
        dataFilter().click(DF::LOAD_REPORT);
    }

    // Something else in every setting, another layout, and no sets.
    void changeEverything() {
        layout("4", "4", "0");
        for (int id : {FS::DIRECTORY, FS::ROW_SPACING, FS::COLUMN_SPACING, FS::PROJECT_DESCRIPTION,
                       FS::PROJECT_NUMBER, FS::PROJECT_DATE})
            fileSelection().setText(id, "other");
        for (int id : {DF::TIME, DF::START_TIME, DF::FINISH_TIME, DF::AVERAGING_INTERVAL,
                       DF::MINIMUM_TEMPERATURE, DF::MAXIMUM_TEMPERATURE, DF::CONTOUR_SPACING})
            dataFilter().setText(id, "other");
        fileSelection().setChecked(FS::USE_COMMENT_FIELD, true);
        fileSelection().setChecked(FS::USE_SERIAL_NUMBERS, false);
        fileSelection().setChecked(FS::LOGGERS_ON_BOUNDARY, true);
        dataFilter().setChecked(DF::SHOW_SINGULAR_AS_TEXT, false);
        window.job.setList.clear();
    }

    TempDir temp;
};

void expectSameRecord(const LogFile &a, const LogFile &b) {
    EXPECT_EQ(a.fileName.str(), b.fileName.str());
    EXPECT_EQ(a.loggerName.str(), b.loggerName.str());
    EXPECT_EQ(a.startTime.day, b.startTime.day);
    EXPECT_EQ(a.startTime.status, b.startTime.status);
    EXPECT_EQ(a.samplePeriod, b.samplePeriod);
    for (int i = 0; i < COMMENT_LINES; ++i)
        EXPECT_EQ(a.comments[i].str(), b.comments[i].str());
    EXPECT_EQ(a.valueCount, b.valueCount);
    EXPECT_EQ(a.channel, b.channel);
    ASSERT_EQ(a.values.size(), b.values.size());
    for (std::size_t i = 0; i < a.values.size(); ++i)
        EXPECT_EQ(std::memcmp(&a.values[i], &b.values[i], sizeof(double)), 0) << i;
}

} // namespace

TEST_F(Report, RoundTripRestoresEverySettingAndRecord) {
    makeJob();
    const Settings written = settings();
    // Copies of the records, as the report should give them back.
    std::vector<std::unique_ptr<LogFile>> originals;
    for (auto [row, col] : {std::pair{0, 0}, {0, 2}, {1, 1}, {-1, 0}})
        originals.push_back(std::make_unique<LogFile>(*window.job.loggerArray.at(row, col)));

    createReport(temp.file("job.ttr"));
    const std::string path = temp.file("job/job.ttr");
    ASSERT_TRUE(fs::exists(path));
    // 6000 bytes of fields, 7 flags, 4 images, 11 samples.
    EXPECT_EQ(fs::file_size(path), 6000u + 7 * 4 + 4 * 1840 + 8 * 11);

    changeEverything();
    loadReport(path);
    EXPECT_EQ(settings(), written);
    const LoggerArray &array = window.job.loggerArray;
    EXPECT_EQ(array.dimensions().rows, 2);
    EXPECT_EQ(array.dimensions().columns, 3);
    EXPECT_EQ(array.dimensions().singularCount, 1);
    int i = 0;
    for (auto [row, col] : {std::pair{0, 0}, {0, 2}, {1, 1}, {-1, 0}}) {
        SCOPED_TRACE(i);
        const LogFile *loaded = array.at(row, col);
        ASSERT_NE(loaded, nullptr);
        expectSameRecord(*loaded, *originals[static_cast<std::size_t>(i++)]);
    }
    EXPECT_EQ(array.at(0, 2)->label(), "1002,2");
    for (auto [row, col] : {std::pair{0, 1}, {1, 0}, {1, 2}})
        EXPECT_EQ(array.at(row, col), nullptr);
    // Load Report ends with the averaged calculation: 10:00, 10:02 and the set at 10:04 that
    // the accumulated rounding may or may not add.
    const int count = window.job.setList.count();
    EXPECT_TRUE(count == 2 || count == 3) << count;
    EXPECT_EQ(dataFilter().text(DF::STATUS), std::to_string(count) + " sets created.");
    EXPECT_EQ(window.fileSelectionPage.arrayLayoutList().itemText(1, 1), "-");
}

TEST_F(Report, FileLayoutIsLittleEndianWithZerosInEveryMeaninglessByte) {
    layout("1", "1", "0");
    auto record = makeRecord("A", 2.5, 60, {1.0});
    record->fileName.assign("f");
    window.job.loggerArray.place(0, 0, std::move(record));
    createReport(temp.file("tiny.ttr"));
    const std::string bytes = readBytes(temp.file("tiny/tiny.ttr"));
    ASSERT_EQ(bytes.size(), 6000u + 4 + 1840 + 8);
    EXPECT_EQ(bytes.substr(0, 23), std::string("ZQAR Report File V1.00") + '\0');
    EXPECT_EQ(bytes.substr(23, 277), std::string(277, '\0'));
    EXPECT_EQ(bytes.substr(600, 2), std::string("1\0", 2)); // number of rows
    EXPECT_EQ(bytes.substr(6000, 4), std::string("\1\0\0\0", 4));
    const std::string image = bytes.substr(6004, 1840);
    EXPECT_EQ(image.substr(0, 2), std::string("f\0", 2));
    EXPECT_EQ(image.substr(2, 298), std::string(298, '\0'));
    EXPECT_EQ(image.substr(600, 8), std::string("\0\0\0\0\0\0\x04\x40", 8));  // 2.5
    EXPECT_EQ(image.substr(608, 8), std::string(8, '\0'));                    // status, padding
    EXPECT_EQ(image.substr(1824, 4), std::string("\1\0\0\0", 4));             // valueCount
    EXPECT_EQ(image.substr(1828, 4), std::string("\1\0\0\0", 4));             // channel
    EXPECT_EQ(image.substr(1832, 8), std::string(8, '\0'));                   // reference, padding
    EXPECT_EQ(bytes.substr(7844, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8)); // 1.0
}

TEST_F(Report, TextFieldWithoutTerminatorReadsAs299Characters) {
    layout("0", "0", "0");
    createReport(temp.file("r.ttr"));
    std::string bytes = readBytes(temp.file("r/r.ttr"));
    std::memset(&bytes[2700], 'x', 300); // project description, no zero at all
    const std::string path = temp.write("full.ttr", bytes);
    loadReport(path);
    EXPECT_EQ(fileSelection().text(FS::PROJECT_DESCRIPTION), std::string(299, 'x'));
    takeMessage(); // the empty interval of this report
}

TEST_F(Report, CommentModeAndFlagsReadOnlyTheirFirstCharacter) {
    layout("2", "2", "0");
    createReport(temp.file("flags.ttr"));
    const std::string good = readBytes(temp.file("flags/flags.ttr"));
    struct Case {
        const char *field8, *field9;
        bool commentField, boundary;
    };
    for (const Case &c : {Case{"Y", "Yes", true, true}, Case{"N", "N", false, false},
                          Case{"y", "?", false, false}, Case{"", "Y", false, true}}) {
        SCOPED_TRACE(std::string(c.field8) + "/" + c.field9);
        std::string bytes = good;
        std::memset(&bytes[2100], 0, 600);
        std::memcpy(&bytes[2100], c.field8, std::strlen(c.field8));
        std::memcpy(&bytes[2400], c.field9, std::strlen(c.field9));
        loadReport(temp.write("f.ttr", bytes));
        takeMessage(); // the empty interval of this report
        EXPECT_EQ(fileSelection().isChecked(FS::USE_COMMENT_FIELD), c.commentField);
        EXPECT_EQ(fileSelection().isChecked(FS::USE_SERIAL_NUMBERS), !c.commentField);
        EXPECT_EQ(fileSelection().isChecked(FS::LOGGERS_ON_BOUNDARY), c.boundary);
    }
}

TEST_F(Report, DamagedReportsChangeNothing) {
    makeJob();
    createReport(temp.file("good.ttr"));
    const std::string good = readBytes(temp.file("good/good.ttr"));
    // The first record's image starts after the fields and one flag.
    const std::size_t firstCount = 6000 + 4 + 1824;
    auto withCount = [&](int32_t count) {
        std::string bytes = good;
        std::memcpy(&bytes[firstCount], &count, sizeof count);
        return bytes;
    };
    std::string wrongIdentification = good;
    wrongIdentification[5] = 'r';
    std::string moreRows = good;
    moreRows[600] = '3';
    const std::pair<const char *, std::string> cases[] = {
        {"empty", ""},
        {"fields only, cut", good.substr(0, 5999)},
        {"truncated sample", good.substr(0, good.size() - 1)},
        {"truncated image", good.substr(0, 6000 + 4 + 1000)},
        {"negative count", withCount(-1)},
        {"count beyond the file", withCount(0x7FFFFFFF)},
        {"one sample too many", withCount(6)},
        {"trailing bytes", good + std::string(4, '\0')},
        {"two thousand million samples in 10 KB", withCount(2000000000).substr(0, 10240)},
        {"wrong identification", wrongIdentification},
        {"fields name more rows", moreRows},
    };
    // A loaded earlier job to compare with: settings, array and sets.
    changeEverything();
    layout("2", "2", "1");
    window.job.loggerArray.place(0, 0, makeRecord("keep", 1.0, 60, {1}));
    dataFilter().setText(DF::TIME, "05-Nov-2003 10:00AM");
    dataFilter().click(DF::CALCULATE_AT_TIME);
    const Settings before = settings();
    const LogFile *kept = window.job.loggerArray.at(0, 0);
    const TemperatureSet *set = window.job.setList.at(0);
    for (const auto &[name, bytes] : cases) {
        SCOPED_TRACE(name);
        loadReport(temp.write("bad.ttr", bytes));
        const auto message = takeMessage();
        EXPECT_EQ(message.text, "The report information is not in the correct format.");
        EXPECT_EQ(message.caption, "Load Report");
        EXPECT_TRUE(settings() == before);
        EXPECT_EQ(window.job.loggerArray.at(0, 0), kept);
        EXPECT_EQ(window.job.loggerArray.dimensions().rows, 2);
        EXPECT_EQ(window.job.setList.count(), 1);
        EXPECT_EQ(window.job.setList.at(0), set);
    }
    loadReport(temp.file("no such file.ttr"));
    EXPECT_EQ(takeMessage().text, "The report information could not be loaded");
    loadReport(temp.path().string());
    EXPECT_EQ(takeMessage().text, "The report information could not be loaded");
    EXPECT_TRUE(settings() == before);
}

TEST_F(Report, CancelledDialogsDoNothing) {
    window.loadReport();
    window.createReport();
    EXPECT_EQ(host.dialogs.size(), 2u);
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(Report, ProposesTheProjectNumberAndFollowsTheChosenFolder) {
    fileSelection().setText(FS::PROJECT_NUMBER, "P-17");
    window.createReport();
    EXPECT_EQ(host.dialogs.back().options.proposedName, "P-17.ttr");
    // The next dialog starts in the folder of the file chosen last.
    layout("0", "0", "0");
    createReport(temp.file("r.ttr"));
    EXPECT_EQ(host.currentDirectory(), temp.path().string());
    window.loadReport();
    EXPECT_EQ(host.dialogs.back().options.initialDirectory, temp.path().string());
}

TEST_F(Report, NewNamesGetAFolderAndExistingFilesAreReplacedInPlace) {
    layout("1", "1", "0");
    createReport(temp.file("report.ttr"));
    EXPECT_TRUE(fs::is_regular_file(temp.file("report/report.ttr")));
    EXPECT_FALSE(fs::exists(temp.file("report.ttr")));

    const std::string existing = temp.write("old.ttr", "old contents");
    layout("2", "1", "0");
    createReport(existing);
    EXPECT_FALSE(fs::exists(temp.file("old")));
    EXPECT_EQ(fs::file_size(existing), 6000u + 2 * 4);
    // Nothing but the report is left beside it.
    int entries = 0;
    for (const auto &entry : fs::directory_iterator(temp.path()))
        entries += entry.path().filename().string()[0] == '.' ? 100 : 1;
    EXPECT_EQ(entries, 2); // old.ttr and the report folder

    createReport(temp.file("no folder/x.ttr"));
    const auto message = takeMessage();
    EXPECT_EQ(message.text, "The report information could not be saved");
    EXPECT_EQ(message.caption, "Save Report");
}

TEST_F(Report, CountFieldsThatDisagreeWithTheArrayGetItsCounts) {
    layout("2", "2", "1");
    // Typed, but Update Layout not pressed: the array is still 2 x 2 with one slot.
    fileSelection().setText(FS::NUMBER_OF_ROWS, "5");
    fileSelection().setText(FS::NUMBER_OF_COLUMNS, "2 columns");
    createReport(temp.file("c.ttr"));
    const std::string bytes = readBytes(temp.file("c/c.ttr"));
    EXPECT_EQ(std::string(bytes.c_str() + 600), "2");
    EXPECT_EQ(std::string(bytes.c_str() + 900), "2 columns");
    EXPECT_EQ(std::string(bytes.c_str() + 1800), "1");
    loadReport(temp.file("c/c.ttr"));
    takeMessage(); // the empty interval of this report
    EXPECT_EQ(window.job.loggerArray.dimensions().rows, 2);
}

TEST_F(Report, CompanionFilesAreCopiedBesideANewReport) {
    const fs::path program = temp.path() / "program";
    fs::create_directory(program);
    host.setExecutableDirectory(program.string());
    std::ofstream(program / "ReportFiles.TXT", std::ios::binary)
        << "viewer.txt\r\nmissing.txt\r\n\r\nnotes.txt";
    std::ofstream(program / "viewer.txt") << "viewer";
    std::ofstream(program / "notes.txt") << "notes";
    layout("1", "1", "0");
    createReport(temp.file("job.ttr"));
    EXPECT_EQ(readBytes(temp.file("job/viewer.txt")), "viewer");
    EXPECT_EQ(readBytes(temp.file("job/notes.txt")), "notes");
    EXPECT_FALSE(fs::exists(temp.file("job/missing.txt")));
}

TEST(AtomicFileWriter, AnUncommittedWriteLeavesTheTargetAsItWas) {
    TempDir temp;
    const std::string target = temp.write("data.csv", "old");
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.isOpen());
        writer.write("half of the new");
    }
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(writeFileAtomically(target, "new"));
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_FALSE(writeFileAtomically(temp.path().string(), "a folder"));
}
