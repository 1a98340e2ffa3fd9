#include "layout/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using zqar::IniFile;
using zqar::testing::TempDir;

TEST(IniFile, ReadsNamesWithoutRegardToCaseAndTakesTheFirstKey) {
    const IniFile file("; notes\r\n"
                       "Key=before any section\r\n"
                       "[Other]\r\n"
                       "Key=other\r\n"
                       "[zqarVEMRO]\r\n"
                       "  key =  first value  \r\n"
                       "KEY=second\r\n"
                       "no equals sign\r\n"
                       "=no key\r\n"
                       "Empty=\r\n"
                       "[ZQARVemro]\r\n"
                       "Late=in a repeated section\r\n");
    EXPECT_EQ(file.value("ZQARVemro", "Key", "?"), "first value");
    EXPECT_EQ(file.value("Other", "KEY", "?"), "other");
    EXPECT_EQ(file.value("ZQARVemro", "Empty", "?"), "");
    EXPECT_EQ(file.value("ZQARVemro", "Late", "?"), "?");
    EXPECT_EQ(file.value("Missing", "Key", "default"), "default");
    EXPECT_EQ(file.value("ZQARVemro", "no equals sign", "?"), "?");
}

TEST(IniFile, LfAndCrLfFilesReadAlike) {
    for (const char *end : {"\n", "\r\n"}) {
        SCOPED_TRACE(end == std::string("\n") ? "LF" : "CR LF");
        const std::string e = end;
        const IniFile file("[S]" + e + "A=1" + e + "B=2" + e + "C=3");
        EXPECT_EQ(file.value("S", "A", "?"), "1");
        EXPECT_EQ(file.value("S", "B", "?"), "2");
        EXPECT_EQ(file.value("S", "C", "?"), "3");
    }
}

TEST(IniFile, AByteOrderMarkDoesNotHideTheFirstSection) {
    IniFile file("\xEF\xBB\xBF[S]\r\nA=1\r\n");
    EXPECT_EQ(file.value("S", "A", "?"), "1");
    file.setValue("S", "B", "2");
    EXPECT_EQ(file.text(), "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFile, OnlyTheFirst299CharactersOfALineCount) {
    const std::string longValue(400, 'v');
    const std::string lateKey = std::string(310, 'x') + "=hidden";
    const IniFile file("[S]\nLong=" + longValue + "\n" + lateKey + "\nZero=ab" +
                       std::string(1, '\0') + "cd\n");
    // "Long=" takes 5 of the 299 characters.
    EXPECT_EQ(file.value("S", "Long", "?"), std::string(294, 'v'));
    EXPECT_EQ(file.value("S", std::string(310, 'x'), "?"), "?");
    EXPECT_EQ(file.value("S", "Zero", "?"), "ab");
    EXPECT_EQ(file.value("S", "Missing", std::string(350, 'd')).size(), 299u);
}

TEST(IniFile, WritingChangesOnlyTheLinesItMust) {
    struct Case {
        const char *name;
        std::string before;
        std::string after;
    } cases[] = {
        {"replaced in place, LF kept", "[S]\nA=1\nB=2\n\n[T]\nX=9\n",
         "[S]\nA=new\nB=2\n\n[T]\nX=9\n"},
        {"added after the section's last non-blank line", "[S]\r\nB=2\r\n\r\n[T]\r\nX=9\r\n",
         "[S]\r\nB=2\r\nA=new\r\n\r\n[T]\r\nX=9\r\n"},
        {"section added at the end of a file without a final line end", "[T]\nX=9",
         "[T]\nX=9\n[S]\nA=new\n"},
        {"replaced key on a last line without line end", "[S]\r\nA=1", "[S]\r\nA=new"},
        {"first of repeated keys replaced", "[S]\nA=1\nA=2\n", "[S]\nA=new\nA=2\n"},
        {"name spelt differently", "[s]\na=1\n", "[s]\nA=new\n"},
        {"new file", "", "[S]\r\nA=new\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        IniFile file(c.before);
        file.setValue("S", "A", "new");
        EXPECT_EQ(file.text(), c.after);
    }
}

TEST(IniFile, AValueWithALineBreakMakesNoLinesOfItsOwn) {
    IniFile file;
    file.setValue("S", "A", "one\r\nB=injected");
    EXPECT_EQ(file.text(), "[S]\r\nA=one\r\n");
    EXPECT_EQ(file.value("S", "B", "?"), "?");
}

TEST(IniFile, ReadAndWriteFiles) {
    TempDir dir;
    EXPECT_FALSE(IniFile::read(dir.file("missing.ttp")));
    EXPECT_FALSE(IniFile::read(dir.path().string()));
    EXPECT_FALSE(
        IniFile::read(dir.write("huge.ttp", std::string(IniFile::MAX_FILE_BYTES + 1, 'x'))));

    const std::string path = dir.write("p.ttp", "[S]\nA=1\n");
    auto file = IniFile::read(path);
    ASSERT_TRUE(file);
    file->setValue("S", "B", "2");
    ASSERT_TRUE(file->write(path));
    EXPECT_EQ(IniFile::read(path)->text(), "[S]\nA=1\nB=2\n");
    EXPECT_FALSE(file->write(dir.file("no such folder/p.ttp")));
    // Only the target is left in the folder: the write went by way of a temp file.
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2); // p.ttp and huge.ttp
}
