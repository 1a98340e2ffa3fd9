// Small files that once cost gigabytes: each is refused or handled within the bounds on
// layouts and averaged sets, and what is built for it stays as small as the file.

#include "app/MainWindow.h"
#include "core/data/reportFile.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/projectFile.h"
#include "platform/ListView.h"
#include "platform/memory/MemoryHost.h"
#include "resources/strings.h"
#include "support/BatchRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace zqar;
using namespace zqar::testing;

namespace {

// A report of rows x columns cells and no singular slot, every position absent.
std::string absentReport(const char *rows, const char *columns, const char *start,
                         const char *finish, const char *interval) {
    ReportFields fields;
    fields[0] = std::string(text::REPORT_IDENTIFICATION);
    fields[2] = rows;
    fields[3] = columns;
    fields[6] = "0";
    fields[13] = start;
    fields[14] = finish;
    fields[15] = interval;
    std::string bytes;
    for (const std::string &field : fields)
        appendTextField(bytes, field);
    const std::size_t positions = std::stoul(rows) * std::stoul(columns);
    bytes.append(positions * REPORT_FLAG_SIZE, '\0');
    return bytes;
}

} // namespace

TEST(SmallFileBounds, ReportAskingForAQuarterBillionValuesIsRefused) {
    // 250 cells, a day's interval over 2,737 years: 999,681 sets, 250 million values.
    TempDir dir;
    const std::string bytes =
        absentReport("1", "250", "01-Jan-0001 12:00AM", "01-Jan-2738 12:00AM", "1440");
    ASSERT_EQ(bytes.size(), 7000u);
    const std::string path = dir.write("big.ttr", bytes);
    const BatchRun run = runBatch({"--load-report", path});
    EXPECT_EQ(run.exit, BATCH_FAILED);
    EXPECT_EQ(run.err, std::string(text::CALCULATE_CAPTION) + ": " +
                           std::string(text::INTERVAL_FORMAT_MESSAGE) + "\n");

    // Refused before a single set is made: the job holds the 250 empty positions and no set.
    platform::MemoryHost host;
    MainWindow window(host);
    window.initialise();
    EXPECT_TRUE(window.loadReport(path).hasFailed());
    host.takeMessages();
    EXPECT_EQ(window.job.setList.count(), 0);
    EXPECT_EQ(window.job.loggerArray.dimensions().columns, 250);
}

TEST(SmallFileBounds, AveragedSetsAreBoundByTheirValues) {
    // 250 cells: a day at 30 minutes (49 sets) is made; a year at 4 minutes (131,402 sets,
    // 32.9 million values) is refused, though it stays below a million sets.
    TempDir dir;
    struct Case {
        const char *finish, *interval;
        int exit;
    } cases[] = {{"02-Jan-2003 12:00AM", "30", BATCH_OK},
                 {"01-Jan-2004 12:00AM", "4", BATCH_FAILED}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.interval);
        const std::string bytes =
            absentReport("1", "250", "01-Jan-2003 12:00AM", c.finish, c.interval);
        const BatchRun run = runBatch({"--load-report", dir.write("year.ttr", bytes)});
        EXPECT_EQ(run.exit, c.exit);
    }
}

TEST(SmallFileBounds, ProjectAskingForAMillionCellsGetsAnEmptyLayout) {
    // 55 bytes with the byte order mark: 997 x 997 cells.
    TempDir dir;
    const std::string project = dir.write(
        "big.ttp", "\xEF\xBB\xBF[ZQARVemro]\r\nNumberOfRows=997\r\nNumberOfColumns=997\r\n");
    const std::string saved = dir.file("saved.ttp");
    const BatchRun run = runBatch({"--load-project", project, "--save-project", saved});
    EXPECT_EQ(run.exit, BATCH_OK);
    // The save's own line follows the warning, naming where the project went.
    EXPECT_EQ(run.out, "STATUS: " + std::string(text::LAYOUT_TOO_LARGE) +
                           "\nSTATUS: Project saved as " + saved + "\n");
    // The counts stay as the file gave them; no cell keys are written for the empty layout.
    std::ifstream in(saved, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("NumberOfRows=997"), std::string::npos);
    EXPECT_EQ(text.find("R1C1="), std::string::npos);

    // Nothing is built for the million cells: an empty array, and tables of their labels only.
    platform::MemoryHost host;
    MainWindow window(host);
    window.initialise();
    EXPECT_FALSE(loadProjectFile(window.fileSelectionPage, project).hasFailed());
    const ArrayDimensions placed = window.job.loggerArray.dimensions();
    EXPECT_EQ(placed.rows, 0);
    EXPECT_EQ(placed.columns, 0);
    EXPECT_LE(window.fileSelectionPage.arrayLayoutList().itemCount(), 1);
    EXPECT_LE(window.fileSelectionPage.arrayLayoutList().columnCount(), 2);
    EXPECT_LE(window.matrixPage.arrayList().itemCount(), 4);
}
