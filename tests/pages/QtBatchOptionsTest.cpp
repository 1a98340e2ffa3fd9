#include "window/QtBatchOptions.h"
#include "app/BatchTool.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/LogFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "window/GraphExport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace zqar {
namespace {

class DrawingOptions : public ::testing::Test {
protected:
    DrawingOptions() : tool(out, err) {
        registerDrawingOptions(tool);
        EXPECT_EQ(tool.run({"--set", "NumberOfRows=3", "--set", "NumberOfColumns=4", "--set",
                            "NumberOfSingular=2", "--set", "LoggersOnBoundary=Y", "--update-layout",
                            "--set", "minimumTemperatureText=20", "--set",
                            "maximumTemperatureText=30", "--set", "contourSpacingText=1"}),
                  BATCH_OK)
            << err.str();
    }
    // Sets whose cells are all first, first + 1, ... degrees.
    void addSets(int count, double first) {
        for (int i = 0; i < count; ++i) {
            auto set = std::make_unique<TemperatureSet>(38000.0 + i, 0.0, 3, 4, 2);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c)
                    set->setValue(r, c, first + i);
            tool.window.job.setList.append(std::move(set));
        }
    }

    std::ostringstream out;
    std::ostringstream err;
    BatchTool tool;
    testing::TempDir dir;
};

// The colour in the middle of the field: the field of a 3 x 4 layout on the boundary fills
// the left part of the picture, its middle row at half height.
QRgb fieldMiddle(const QImage &image) { return image.pixel(image.width() / 4, image.height() / 2); }

TEST_F(DrawingOptions, ExportPngDrawsTheCurrentSetAtTheChosenSize) {
    addSets(1, 25.2);
    const std::string path = dir.file("graph.png");
    ASSERT_EQ(tool.run({"--size", "400x300", "--export-png", path}), BATCH_OK) << err.str();
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 400);
    EXPECT_EQ(image.height(), 300);
    EXPECT_EQ(fieldMiddle(image), qRgb(0, 255, 64)); // band 5 of 20 to 30
    EXPECT_EQ(image.pixel(0, image.height() - 1), qRgb(255, 255, 255));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST_F(DrawingOptions, ExportPngNumbersEverySet) {
    addSets(3, 21.5);
    tool.window.job.setList.currentSet = 1;
    const std::string pattern = dir.file("set%d.png");
    ASSERT_EQ(tool.run({"--export-png", pattern}), BATCH_OK) << err.str();
    const QRgb expected[] = {qRgb(12, 0, 255), qRgb(0, 102, 255), qRgb(0, 216, 255)};
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        QImage image(QString::fromStdString(dir.file("set" + std::to_string(i) + ".png")));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(1100, 800));
        EXPECT_EQ(fieldMiddle(image), expected[i - 1]);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("set4.png")));
    EXPECT_EQ(tool.window.job.setList.currentSet, 1);
}

TEST_F(DrawingOptions, BadSizesAreUsageErrors) {
    for (const char *size :
         {"0x100", "100", "x100", "100x", "-5x10", "99999x99999", "1e3x10", "100x100x3"}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(tool.run({"--size", size}), BATCH_USAGE);
    }
}

TEST_F(DrawingOptions, ExportMakesTheFoldersOfItsFile) {
    addSets(1, 25.0);
    const std::string path = dir.file("out/graphs/graph.png");
    ASSERT_EQ(tool.run({"--export-png", path}), BATCH_OK) << err.str();
    EXPECT_FALSE(QImage(QString::fromStdString(path)).isNull());
}

// A file that cannot be written stops the run as a failed command: one message box, exit 1,
// no usage text, and the options after it never run.
TEST_F(DrawingOptions, FilesThatCannotBeWrittenFailTheCommand) {
    addSets(2, 25.0);
    tool.window.job.setList.currentSet = 1;
    dir.write("blocker", "a file where a folder should be");
    struct Case {
        const char *option;
        const char *file;
        const char *caption;
    };
    for (const Case &c : {Case{"--export-png", "blocker/graph.png", "Export"},
                          Case{"--export-png", "blocker/set%d.png", "Export"},
                          Case{"--print-graph", "blocker/graph.pdf", "Print"},
                          Case{"--print-matrix", "blocker/matrix.pdf", "Print"},
                          Case{"--print-statistics", "blocker/statistics.pdf", "Print"}}) {
        SCOPED_TRACE(c.option + std::string(" ") + c.file);
        err.str("");
        const std::string after = dir.file("after.png");
        EXPECT_EQ(tool.run({c.option, dir.file(c.file), "--export-png", after}), BATCH_FAILED);
        std::string expected = std::string(c.caption) + ": could not write " + dir.file(c.file);
        if (std::string(c.file).find("%d") != std::string::npos)
            expected = std::string(c.caption) + ": could not write " + dir.file("blocker/set1.png");
        EXPECT_EQ(err.str(), expected + "\n");
        EXPECT_FALSE(std::filesystem::exists(after));
    }
    EXPECT_EQ(tool.window.job.setList.currentSet, 1);
}

// A statistic map: every cell's logger reads 25.2 for the span, so the field is the band of
// 25.2 as in the graph of a set of 25.2; the CSV is the Matrix page's export of the map.
TEST_F(DrawingOptions, StatisticsMapAsPictureOrMatrixCsv) {
    const double start = 38000.0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            auto record = std::make_unique<LogFile>();
            record->loggerName.assign("L" + std::to_string(r) + std::to_string(c));
            record->startTime.day = start;
            record->samplePeriod = 60.0;
            record->values = {25.2, 25.2};
            record->valueCount = 2;
            tool.window.job.loggerArray.place(r, c, std::move(record));
        }
    const std::string png = dir.file("maps/mean.png");
    const std::string csv = dir.file("maps/mean.CSV");
    ASSERT_EQ(tool.run({"--set", "startTimeText=14-Jan-2004 12:00AM", "--set",
                        "finishTimeText=14-Jan-2004 01:00AM", "--size", "400x300",
                        "--statistics-map", "mean", png, "--statistics-map", "MKT", csv}),
              BATCH_OK)
        << err.str();
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_EQ(fieldMiddle(image), qRgb(0, 255, 64));
    const std::string matrix = zqar::testing::fileBytes(csv);
    EXPECT_EQ(matrix.substr(0, matrix.find("\r\n")), ".,.,C1,C2,C3,C4,.");
    EXPECT_NE(matrix.find("R1,-,25.20,25.20,25.20,25.20,-\r\n"), std::string::npos);

    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"--statistics-map", "median", png},
          std::vector<std::string>{"--statistics-map", "mean", dir.file("map.jpg")},
          std::vector<std::string>{"--statistics-map", "mean"}})
        EXPECT_EQ(tool.run(bad), BATCH_USAGE);
}

TEST_F(DrawingOptions, PrintCommandsWritePdfDocuments) {
    addSets(2, 24.0);
    const std::string graph = dir.file("graph.pdf");
    const std::string matrix = dir.file("matrix.pdf");
    ASSERT_EQ(tool.run({"--print-graph", graph, "--print-matrix", matrix}), BATCH_OK) << err.str();
    for (const std::string &path : {graph, matrix}) {
        SCOPED_TRACE(path);
        const std::string bytes = zqar::testing::fileBytes(path);
        EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
        EXPECT_NE(bytes.find("/Count 1"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    }
}

// The Statistics table into a PDF file once there are figures; without readings the command
// says so, once, and writes nothing.
TEST_F(DrawingOptions, PrintStatisticsWritesTheTableOrSaysWhyNot) {
    const std::string path = dir.file("out/statistics.pdf");
    EXPECT_EQ(tool.run({"--print-statistics", path}), BATCH_FAILED);
    const std::string said = err.str();
    EXPECT_EQ(said.find("could not write"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_FALSE(std::filesystem::exists(path));

    for (int c = 0; c < 4; ++c) {
        auto record = std::make_unique<LogFile>();
        record->loggerName.assign("L" + std::to_string(c));
        record->startTime.day = 38000.0;
        record->samplePeriod = 60.0;
        record->values = {25.2, 25.4};
        record->valueCount = 2;
        tool.window.job.loggerArray.place(0, c, std::move(record));
    }
    err.str("");
    ASSERT_EQ(tool.run({"--set", "startTimeText=14-Jan-2004 12:00AM", "--set",
                        "finishTimeText=14-Jan-2004 01:00AM", "--set", "upperLimitText=25.3",
                        "--print-statistics", path}),
              BATCH_OK)
        << err.str();
    const std::string bytes = zqar::testing::fileBytes(path);
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    EXPECT_NE(bytes.find("/Count 1"), std::string::npos);
}

} // namespace
} // namespace zqar
