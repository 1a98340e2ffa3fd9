#include "app/BatchTool.h"
#include "support/BatchRun.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
