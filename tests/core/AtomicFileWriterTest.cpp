#include "core/data/AtomicFileWriter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <sys/stat.h>

namespace zqar {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// What a library that writes files by name does with the path it is given.
bool writeByName(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

std::ptrdiff_t entries(const fs::path &folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

TEST(AtomicFileWriter, AFileWrittenByNameReplacesTheTargetOnCommit) {
    TempDir temp;
    const std::string target = temp.write("graph.png", "old");
    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.isOpen());
    const std::string path = writer.writtenByName();
    EXPECT_NE(path, target);
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(target).parent_path());
    ASSERT_TRUE(writeByName(path, "new picture"));
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_TRUE(writer.commit());
    EXPECT_EQ(readBytes(target), "new picture");
    EXPECT_EQ(entries(temp.path()), 1);
}

TEST(AtomicFileWriter, AFileWrittenByNameIsDiscardedWithoutCommit) {
    TempDir temp;
    const std::string target = temp.write("matrix.pdf", "old");
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writeByName(writer.writtenByName(), "half a document"));
    }
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(entries(temp.path()), 1);
}

TEST(AtomicFileWriter, MixingStreamedBytesAndAPathByNameFails) {
    TempDir temp;
    const std::string target = temp.write("data.csv", "old");
    {
        AtomicFileWriter streamedFirst(target);
        streamedFirst.write("streamed");
        streamedFirst.writtenByName();
        EXPECT_FALSE(streamedFirst.commit());
    }
    {
        AtomicFileWriter namedFirst(target);
        namedFirst.writtenByName();
        namedFirst.write("lost");
        EXPECT_FALSE(namedFirst.commit());
    }
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(entries(temp.path()), 1);
}

TEST(AtomicFileWriter, TheNewFileKeepsThePermissionBitsOfTheOldOne) {
    TempDir temp;
    for (const bool byName : {false, true}) {
        SCOPED_TRACE(byName ? "written by name" : "streamed");
        const std::string target = temp.write(byName ? "by-name.ttr" : "streamed.ttr", "old");
        fs::permissions(target,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        AtomicFileWriter writer(target);
        if (byName)
            ASSERT_TRUE(writeByName(writer.writtenByName(), "new"));
        else
            writer.write("new");
        ASSERT_TRUE(writer.commit());
        struct stat status {};
        ASSERT_EQ(::stat(target.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0640u);
        EXPECT_EQ(readBytes(target), "new");
    }
}

} // namespace
} // namespace zqar
