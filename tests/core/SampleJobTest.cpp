#include "layout/FileSelectionPage.h"
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

// After scripts/make-samples.sh, both modes must place the 26 loggers the same way.
TEST_F(SampleJob, SerialNumbersAndCommentPositionsPlaceTheSameLoggers) {
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
        EXPECT_EQ(fileSelection().text(FS::STATUS), "26 files were loaded.");
        labels[mode] = cells(window.fileSelectionPage.arrayLayoutList());
        labels[mode].push_back({window.fileSelectionPage.singularLayoutList().itemText(0, 1),
                                window.fileSelectionPage.singularLayoutList().itemText(1, 1)});

        const LoggerArray &array = window.fileSelectionPage.loggerArray;
        ASSERT_NE(array.at(2, 1), nullptr);
        EXPECT_EQ(array.at(2, 1)->loggerName.view(), "10240");
        EXPECT_EQ(array.at(2, 1)->valueCount, 1152); // stopped after four days
        ASSERT_NE(array.at(-1, 1), nullptr);
        EXPECT_EQ(array.at(-1, 1)->channel, 2);
        EXPECT_EQ(array.at(5, 3)->values.size(), 2016u);
    }
    EXPECT_EQ(labels[0], labels[1]);
    EXPECT_EQ(labels[0][6][4], "20417");
    EXPECT_EQ(labels[0].back(), (std::vector<std::string>{"10255", "20417,2"}));
    EXPECT_EQ(dataFilter().text(DataFilterPage::START_TIME), "02-Jun-2025 12:00AM");
}
