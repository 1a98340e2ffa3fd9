#include "pages/layout/FileSelectionPage.h"
#include "platform/ListView.h"

#include "support/PageHarness.h"

#include <filesystem>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;

namespace {

// The repository's samples folder, found from this source file. The project names its data
// directory relative to the repository root; the test points it at the same folder by its
// full path, so it runs from any working directory.
std::filesystem::path samplesFolder() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "samples";
}

class SampleJob : public PageTest {};

} // namespace

// After scripts/make-samples.sh: the project's serial-number tables place all 26 loggers. Only
// the loggers of rows 1 to 3 and the singular loggers name their position in a comment line,
// so comment-field mode places those 15, in the same places, and leaves the rest empty.
TEST_F(SampleJob, SerialNumbersPlaceAllLoggersAndCommentPositionsSomeOfThem) {
    const std::filesystem::path samples = samplesFolder();
    ASSERT_TRUE(std::filesystem::exists(samples / "warehouse.ttp"));
    std::vector<std::vector<std::string>> labels[2];
    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(mode == 0 ? "serial numbers" : "comment field");
        host.openAnswers.push_back((samples / "warehouse.ttp").string());
        fileSelection().click(FS::LOAD_PROJECT);
        EXPECT_TRUE(fileSelection().isChecked(FS::USE_SERIAL_NUMBERS));
        EXPECT_EQ(fileSelection().text(FS::DIRECTORY), "samples/data");
        fileSelection().setText(FS::DIRECTORY, (samples / "data").string());
        if (mode == 1)
            fileSelection().click(FS::USE_COMMENT_FIELD);
        fileSelection().click(FS::LOAD_FILES);
        labels[mode] = cells(window.fileSelectionPage.arrayLayoutList());
        labels[mode].push_back({window.fileSelectionPage.singularLayoutList().itemText(0, 1),
                                window.fileSelectionPage.singularLayoutList().itemText(1, 1)});

        const LoggerArray &array = window.job.loggerArray;
        ASSERT_NE(array.at(2, 1), nullptr);
        EXPECT_EQ(array.at(2, 1)->loggerName.view(), "10240");
        EXPECT_EQ(array.at(2, 1)->valueCount, 1152); // stopped after four days
        ASSERT_NE(array.at(-1, 1), nullptr);
        EXPECT_EQ(array.at(-1, 1)->channel, 2);
        ASSERT_NE(array.at(5, 3), nullptr);
        EXPECT_EQ(array.at(5, 3)->values.size(), 2016u);
        EXPECT_NE(array.at(-1, 0), nullptr);
        int placed = 0;
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 4; ++c)
                placed += array.at(r, c) ? 1 : 0;
        if (mode == 0) {
            EXPECT_EQ(fileSelection().text(FS::STATUS), "26 files were loaded.");
            EXPECT_EQ(placed, 24);
        } else {
            EXPECT_EQ(fileSelection().text(FS::STATUS), "15 files were loaded.");
            EXPECT_EQ(takeMessage().text, "11 log files were not loaded.");
            EXPECT_EQ(placed, 13);
            for (int r = 0; r < 6; ++r)
                for (int c = 0; c < 4; ++c)
                    EXPECT_EQ(array.at(r, c) != nullptr, r < 3 || (r == 5 && c == 3))
                        << "R" << r + 1 << "C" << c + 1;
        }
    }
    EXPECT_EQ(labels[0][6][4], "20417");
    EXPECT_EQ(labels[0][4][2], "10244");
    EXPECT_EQ(labels[0].back(), (std::vector<std::string>{"10255", "20417,2"}));
    // Every place comment-field mode fills holds the logger the serial numbers put there.
    ASSERT_EQ(labels[1].size(), labels[0].size());
    for (std::size_t item = 0; item < labels[0].size(); ++item) {
        ASSERT_EQ(labels[1][item].size(), labels[0][item].size());
        for (std::size_t column = 0; column < labels[0][item].size(); ++column) {
            const std::string &byComment = labels[1][item][column];
            if (byComment != "-") {
                EXPECT_EQ(byComment, labels[0][item][column]) << item << "," << column;
            }
        }
    }
    EXPECT_EQ(labels[1][4][2], "-");
    EXPECT_EQ(labels[1][3][2], labels[0][3][2]);
    EXPECT_EQ(dataFilter().text(DataFilterPage::START_TIME), "02-Jun-2025 12:00AM");
}
