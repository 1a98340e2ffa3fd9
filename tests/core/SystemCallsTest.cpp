// The calls that differ between the operating systems: each behaves the same on both.

#include "core/data/systemCalls.h"

#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zqar {
namespace {

namespace fs = std::filesystem;

TEST(ScratchFolder, EachCallMakesAFolderOfItsOwnBesideThePattern) {
    testing::TempDir dir;
    const std::string pattern = (dir.path() / "scratch-XXXXXX").string();
    std::set<std::string> made;
    for (int i = 0; i < 5; ++i) {
        const std::string folder = makeScratchFolder(pattern);
        ASSERT_FALSE(folder.empty());
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_EQ(fs::path(folder).parent_path(), dir.path());
        EXPECT_EQ(fs::path(folder).filename().string().rfind("scratch-", 0), 0u);
        EXPECT_EQ(folder.size(), pattern.size());
        made.insert(folder);
    }
    EXPECT_EQ(made.size(), 5u);
    // No placeholder at the end, or no folder to make it in: nothing is made.
    EXPECT_EQ(makeScratchFolder((dir.path() / "scratch").string()), "");
    EXPECT_EQ(makeScratchFolder((dir.path() / "missing" / "s-XXXXXX").string()), "");
}

TEST(LocalTime, ConvertsTheSameSecondsAsTheCalendarSays) {
    std::tm local{};
    // Noon UTC on 1 January 1971 is that day in every time zone within twelve hours of UTC.
    ASSERT_TRUE(toLocalTime(std::time_t{86400 * 365 + 43200}, local));
    EXPECT_EQ(local.tm_year, 71);
    EXPECT_EQ(local.tm_mon, 0);
    EXPECT_EQ(local.tm_mday, 1);
}

TEST(LocaleDateFormat, NamesDayMonthAndYear) {
    const std::string format = localeDateFormat();
    EXPECT_NE(format.find('d'), std::string::npos) << format;
    EXPECT_NE(format.find('m'), std::string::npos) << format;
    EXPECT_NE(format.find_first_of("yY"), std::string::npos) << format;
}

TEST(SyncDescriptor, SyncsAWrittenFile) {
    testing::TempDir dir;
    const std::string path = (dir.path() / "synced.txt").string();
    std::ofstream(path) << "data";
    const int descriptor = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(descriptor, 0);
    EXPECT_TRUE(syncDescriptor(descriptor));
    EXPECT_EQ(::close(descriptor), 0);
}

TEST(CopyFileOver, ReplacesTheTargetAndFailsWithoutASource) {
    testing::TempDir dir;
    const std::string source = dir.write("source.dta", "new bytes\r\n");
    const std::string target = dir.write("target.dta", "old and longer bytes\n");
    ASSERT_TRUE(copyFileOver(source, target));
    EXPECT_EQ(testing::fileBytes(target), "new bytes\r\n");
    EXPECT_TRUE(copyFileOver(source, dir.file("fresh.dta")));
    EXPECT_EQ(testing::fileBytes(dir.file("fresh.dta")), "new bytes\r\n");
    EXPECT_FALSE(copyFileOver(dir.file("missing.dta"), target));
    EXPECT_EQ(testing::fileBytes(target), "new bytes\r\n");
}

} // namespace
} // namespace zqar
