#include "app/BatchTool.h"
#include "support/BatchRun.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace zqar;
using namespace zqar::testing;

namespace {} // namespace

// A project names the loggers by serial number; the files are loaded, saved back into a new
// project and copied, all from the command line.
TEST(BatchFileOptions, ProjectLoadFilesSaveAndCopy) {
    TempDir dir;
    const std::filesystem::path data = dir.path() / "data";
    std::filesystem::create_directory(data);
    for (const char *name : {"A1", "A2", "S1"}) {
        DtaFile dta;
        dta.name = name;
        dta.samples({20.5, 21.0});
        std::ofstream(data / (std::string(name) + ".dta"), std::ios::binary) << dta.text();
    }
    const std::string project =
        dir.write("job.ttp", "[ZQARVemro]\r\nDirectory=" + data.string() +
                                 "\r\nNumberOfRows=1\r\nNumberOfColumns=2\r\nNumberOfSingular=1\r\n"
                                 "UseCommentField=N\r\nR1C1=A1\r\nR1C2=a2\r\nS0=S1\r\n");
    const std::filesystem::path copies = dir.path() / "copies";
    std::filesystem::create_directory(copies);
    const BatchRun run = runBatch({"--load-project", project, "--load-files", "--save-project",
                                   dir.file("saved.ttp"), "--copy-files", copies.string()});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_NE(run.out.find("STATUS: 3 files were loaded."), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("Copy: 3 log files were copied."), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::exists(copies / "A2.dta"));
    std::ifstream saved(dir.file("saved.ttp"), std::ios::binary);
    std::stringstream bytes;
    bytes << saved.rdbuf();
    // The tables hold the labels Load Files wrote.
    EXPECT_NE(bytes.str().find("R1C1=A1\r\nR1C2=A2\r\nS0=S1\r\n"), std::string::npos);
}

TEST(BatchFileOptions, AProjectThatCannotBeReadEndsTheRun) {
    TempDir dir;
    const BatchRun run = runBatch({"--load-project", dir.file("missing.ttp"), "--load-files"});
    EXPECT_EQ(run.exit, BATCH_FAILED);
    EXPECT_NE(run.err.find("The project information could not be loaded"), std::string::npos);
}

namespace {

// A table of one logger with readings every five minutes; "warm" in a cell refuses it.
std::string exportedTable(const std::string &serial, const std::vector<std::string> &readings) {
    std::string text = "Serial Number: " + serial + "\r\nDate Time,Temp (C)\r\n";
    for (std::size_t i = 0; i < readings.size(); ++i)
        text += "2025-06-02 10:" + std::string(i < 2 ? "0" : "") + std::to_string(5 * i) + ":00," +
                readings[i] + "\r\n";
    return text;
}

} // namespace

// A folder stands for its tables in the byte order of their names, so of two tables of one
// logger the later holds its cell; a refused table is named on standard error, the others
// still import, and the run ends there with exit status 1.
TEST(BatchFileOptions, ImportTakesFoldersAndEndsFailedAfterARefusal) {
    TempDir dir;
    const std::filesystem::path tables = dir.path() / "tables";
    std::filesystem::create_directory(tables);
    const auto write = [&tables](const std::string &name, const std::string &bytes) {
        std::ofstream(tables / name, std::ios::binary) << bytes;
        return (tables / name).string();
    };
    write("a.txt", exportedTable("X", {"1", "2"}));
    const std::string later = write("b.CSV", exportedTable("X", {"3", "4"}));
    write("c.tsv", exportedTable("Y", {"5", "6"}));
    write("notes.dta", "not a table");
    const std::string project =
        dir.write("job.ttp", "[ZQARVemro]\r\nNumberOfRows=1\r\nNumberOfColumns=2\r\n"
                             "NumberOfSingular=0\r\nUseCommentField=N\r\nR1C1=X\r\nR1C2=Y\r\n");

    const BatchRun run =
        runBatch({"--load-project", project, "--import", tables.string(), "--properties", "R1C1"});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_NE(run.out.find("STATUS: 3 files were imported."), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("Properties: Filename: " + later + "\\r\\n"), std::string::npos)
        << run.err;

    const std::string bad = write("bad.csv", exportedTable("Z", {"1", "warm"}));
    const BatchRun refused = runBatch({"--load-project", project, "--import", tables.string(),
                                       "--save-project", dir.file("saved.ttp")});
    EXPECT_EQ(refused.exit, BATCH_FAILED);
    EXPECT_NE(refused.err.find("Import: " + bad +
                               ":4: the cell in column \"Temp (C)\" is not a number\n"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.out.find("STATUS: 3 files were imported."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("saved.ttp")));
}

// Several --import options in a row are one import: one status line for all their files.
TEST(BatchFileOptions, ConsecutiveImportsAreOneCommand) {
    TempDir dir;
    const std::string x = dir.write("x.csv", exportedTable("X", {"1", "2"}));
    const std::string y = dir.write("y.csv", exportedTable("Y", {"1", "2"}));
    const std::string project =
        dir.write("job.ttp", "[ZQARVemro]\r\nNumberOfRows=1\r\nNumberOfColumns=2\r\n"
                             "NumberOfSingular=0\r\nUseCommentField=N\r\nR1C1=X\r\nR1C2=Y\r\n");
    const BatchRun run = runBatch({"--load-project", project, "--import", x, "--import", y});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_NE(run.out.find("STATUS: 2 files were imported."), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("One file was imported."), std::string::npos) << run.out;
    EXPECT_EQ(runBatch({"--import"}).exit, BATCH_USAGE);
    EXPECT_EQ(runBatch({"--import", x, "--import"}).exit, BATCH_USAGE);
}

TEST(BatchFileOptions, ImportSettingsAreCheckedWhenTheImportRuns) {
    TempDir dir;
    const std::string x = dir.write("x.csv", exportedTable("X", {"1", "2"}));
    const BatchRun run =
        runBatch({"--set", "importUnitText=kelvin", "--import", x, "--update-layout"});
    EXPECT_EQ(run.exit, BATCH_FAILED);
    EXPECT_EQ(run.err, "Import: The unit must be empty, C or F.\n");
    EXPECT_EQ(runBatch({"--set", "importUnitText=F", "--import", x}).exit, BATCH_OK);
}
