// The build tool that turns a text table into a header: what it writes for each kind of entry,
// and that a malformed table stops the build with its line instead of writing a header.

#include "support/FileBytes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// cmd.exe takes double quotes, strips the outermost pair, and answers the exit code itself.
std::string quoted(const std::string &text) { return '"' + text + '"'; }
std::string shellCommand(const std::string &command) { return quoted(command); }
int exitCodeOf(int status) { return status; }
#else
std::string quoted(const std::string &text) { return "'" + text + "'"; }
std::string shellCommand(const std::string &command) { return command; }
int exitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
#endif

struct Made {
    int exitCode = -1;
    std::string header;
    std::string errors;
};

Made make(const std::string &table) {
    const fs::path folder =
        fs::temp_directory_path() / ("zqar-texts-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "table.texts", std::ios::binary) << table;
    fs::remove(folder / "table.h");
    const std::string command =
        std::string(ZQAR_MAKE_TEXTS) + " " + quoted((folder / "table.texts").string()) + " " +
        quoted((folder / "table.h").string()) + " 2>" + quoted((folder / "errors").string());
    Made made;
    made.exitCode = exitCodeOf(std::system(shellCommand(command).c_str()));
    if (fs::exists(folder / "table.h"))
        made.header = zqar::testing::fileBytes(folder / "table.h");
    made.errors = zqar::testing::fileBytes(folder / "errors");
    fs::remove_all(folder);
    return made;
}

TEST(TextTable, WritesEachKindOfEntryAsItsDeclaration) {
    const Made made = make("// A comment stays.\n"
                           "text CAPTION = \"Z-QAR  Vemro\" // two blanks; kept\n"
                           "format COUNT = \"%d files; \\\"quoted\\\" // not a comment\"\n"
                           "text LONG =\n"
                           "    \"first part, \"\n"
                           "    \"second part\" // the end\n"
                           "texts CHOICES = \"Mean\", \"MKT\"\n"
                           "formats MONTHS = \"Jan\",\n"
                           "    \"Feb\"\r\n");
    ASSERT_EQ(made.exitCode, 0) << made.errors;
    const std::string &h = made.header;
    EXPECT_NE(h.find("namespace zqar::text {"), std::string::npos);
    EXPECT_NE(h.find("// A comment stays.\n"), std::string::npos);
    EXPECT_NE(
        h.find("constexpr std::string_view CAPTION = \"Z-QAR  Vemro\"; // two blanks; kept\n"),
        std::string::npos);
    EXPECT_NE(
        h.find("constexpr const char *COUNT = \"%d files; \\\"quoted\\\" // not a comment\";\n"),
        std::string::npos);
    EXPECT_NE(h.find("constexpr std::string_view LONG =\n    \"first part, \"\n"
                     "    \"second part\"; // the end\n"),
              std::string::npos);
    EXPECT_NE(h.find("constexpr std::string_view CHOICES[] = {\"Mean\", \"MKT\"};\n"),
              std::string::npos);
    EXPECT_NE(h.find("constexpr const char *MONTHS[] = {\"Jan\",\n    \"Feb\"};\n"),
              std::string::npos);
}

TEST(TextTable, AMalformedTableNamesItsLineAndWritesNothing) {
    const struct {
        const char *table;
        const char *error;
    } cases[] = {
        {"text A = \"open\n", ":1: a text is not closed"},
        {"text A = \"x\" y\n", ":1: only quoted texts"},
        {"string A = \"x\"\n", ":1: expected: text"},
        {"text 9A = \"x\"\n", ":1: expected: text"},
        {"text A \"x\"\n", ":1: expected: text"},
        {"text A = \"x\"\ntext A = \"y\"\n", ":2: A is already in the table"},
        {"// c\n    \"x\"\n", ":2: an indented line continues no entry"},
        {"text A =\n\ntext B = \"x\"\n", ":1: the entry has no text"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.table);
        const Made made = make(c.table);
        EXPECT_EQ(made.exitCode, 1);
        EXPECT_NE(made.errors.find(c.error), std::string::npos) << made.errors;
        EXPECT_TRUE(made.header.empty());
    }
}

} // namespace
