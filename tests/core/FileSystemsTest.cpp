// Where file dialogs may start: never on the kernel's own file systems, whose files can block
// a reader for good.

#include "platform/fileSystems.h"
#include "platform/memory/MemoryHost.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using namespace zqar::platform;

namespace {

TEST(PseudoFileSystem, IsKnownByItsFolderOrItsType) {
    zqar::testing::TempDir folder;
    struct Case {
        std::string path;
        bool pseudo;
    };
    const Case cases[] = {
        {"/proc", true},
        {"/proc/kmsg", true},
        {"/proc/zz.csv", true}, // does not exist: judged by its folder
        {"/proc/", true},
        {"/sys/kernel", true},
        {"/dev", true},
        {"/dev/null", true},
        {"/dev/fd", true}, // a link into /proc
        {"/proc/../tmp", false},
        {"/procedures", false},
        {"/devices/x", false},
        {"/", false},
        {"", false},
        {folder.path().string(), false},
        {folder.file("new.csv"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(isPseudoFileSystem(c.path), c.pseudo);
    }
}

TEST(PseudoFileSystem, DialogsStartInTheFallbackInstead) {
    EXPECT_EQ(dialogStartFolder("/proc", "/home/user"), "/home/user");
    EXPECT_EQ(dialogStartFolder("/sys/class", "/home/user"), "/home/user");
    EXPECT_EQ(dialogStartFolder("", "/home/user"), "/home/user");
    EXPECT_EQ(dialogStartFolder("/tmp", "/home/user"), "/tmp");
}

TEST(PseudoFileSystem, AFileChosenThereLeavesTheNextDialogInTheStartFolder) {
    zqar::testing::TempDir folder;
    MemoryHost host;
    const std::string start = host.currentDirectory();
    FileDialogOptions options;
    host.saveAnswers = {"/proc/zz.csv", folder.file("report.csv")};
    ASSERT_TRUE(host.saveFile(options).has_value());
    EXPECT_EQ(host.currentDirectory(), start);

    options.initialDirectory = "/proc";
    ASSERT_TRUE(host.saveFile(options).has_value());
    EXPECT_EQ(host.dialogs.back().initialDirectory, start);
    // An ordinary folder is followed as before.
    EXPECT_EQ(host.currentDirectory(), folder.path().string());
}

} // namespace
