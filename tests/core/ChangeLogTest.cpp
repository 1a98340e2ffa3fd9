#include "core/integrity/ChangeLog.h"
#include "core/data/IniFile.h"
#include "core/data/projectFormat.h"
#include "core/integrity/sha256.h"
#include "core/integrity/userAndTime.h"
#include "support/Shell.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

using namespace zqar;
using zqar::testing::TempDir;

namespace {

ChangeEntry entry(const std::string &field, const std::string &oldValue,
                  const std::string &newValue, const std::string &reason = "") {
    ChangeEntry made;
    made.time = "2025-06-05T18:00:0" + std::to_string(field.size() % 10) + "Z";
    made.user = "mapping";
    made.field = field;
    made.oldValue = oldValue;
    made.newValue = newValue;
    made.reason = reason;
    return made;
}

ChangeLog fiveChanges() {
    ChangeLog log;
    appendChange(log, entry("RowSpacing", "1.0", "1.5", "measured again"));
    appendChange(log, entry("R1C1", "-", "4711"));
    appendChange(log, entry("R1C2", "-", "4712"));
    appendChange(log, entry("upperLimit", "8", "25", "room, not fridge"));
    appendChange(log, entry("R1C1", "4711", "4713"));
    return log;
}

std::string replacedOnce(std::string text, const std::string &from, const std::string &to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string withoutLinesHolding(const std::string &text, const std::string &part) {
    std::string kept;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end == std::string::npos ? end : end + 1 - at);
        if (line.find(part) == std::string::npos)
            kept += line;
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return kept;
}

} // namespace

TEST(ChangeLog, ChainsEachEntryToTheOneBeforeAsTheShellComputesIt) {
    const ChangeLog log = fiveChanges();
    if (!zqar::testing::haveProgram("sha256sum"))
        GTEST_SKIP() << "sha256sum is not installed";
    std::string previous(CHAIN_START);
    for (const ChangeEntry &made : log.entries) {
        using zqar::testing::shellQuoted;
        const std::string command = "printf '%s%s\\n%s\\n%s\\n%s\\n%s\\n%s\\n' " +
                                    shellQuoted(previous) + " " + shellQuoted(made.time) + " " +
                                    shellQuoted(made.user) + " " + shellQuoted(made.field) + " " +
                                    shellQuoted(made.oldValue) + " " + shellQuoted(made.newValue) +
                                    " " + shellQuoted(made.reason) + " | sha256sum";
        const auto printed = zqar::testing::commandOutput(command);
        ASSERT_TRUE(printed);
        EXPECT_EQ(made.hash, printed->substr(0, 64));
        previous = made.hash;
    }
}

TEST(ChangeLog, KeepsFieldBoundariesInTheEntryText) {
    const ChangeEntry a = entry("a\nb", "\\", "x\ry");
    EXPECT_EQ(changeEntryText(a), "2025-06-05T18:00:03Z\nmapping\na\\nb\n\\\\\nx\\ry\n\n");
    // A field's LF cannot pass for the end of the field.
    EXPECT_NE(changeEntryText(entry("a\nb", "", "c")), changeEntryText(entry("a", "b", "c")));
    EXPECT_NE(chainHash(CHAIN_START, entry("a", "b", "c")),
              chainHash(CHAIN_START, entry("a", "b", "c", " ")));
}

TEST(ChangeLog, NamesTheFirstEntryEditedRemovedOrMoved) {
    const ChangeLog log = fiveChanges();
    const ChainCheck intact = checkChain(log);
    EXPECT_TRUE(intact.intact());
    EXPECT_EQ(chainCheckText(intact), "The change log is intact: 5 entries.");

    struct Case {
        const char *what;
        ChangeLog log;
        ChainBreak kind;
        std::size_t entry;
        std::size_t followed;
        std::string text;
    };
    std::vector<Case> cases;
    const auto add = [&](const char *what, auto change, ChainBreak kind, std::size_t number,
                         std::size_t followed, std::string text) {
        ChangeLog changed = log;
        change(changed.entries);
        cases.push_back(Case{what, changed, kind, number, followed, std::move(text)});
    };
    using Entries = std::vector<ChangeEntry>;
    const std::string edited = "Entry 3 of the change log does not follow from the entry before "
                               "it: it was edited, or an entry before it was removed.";
    add(
        "new value edited", [](Entries &e) { e[2].newValue = "4714"; }, ChainBreak::Edited, 3, 0,
        edited);
    add(
        "reason edited", [](Entries &e) { e[2].reason = " "; }, ChainBreak::Edited, 3, 0, edited);
    add(
        "hash edited", [](Entries &e) { e[2].hash[0] = e[2].hash[0] == 'a' ? 'b' : 'a'; },
        ChainBreak::Edited, 3, 0, edited);
    add(
        "entry removed", [](Entries &e) { e.erase(e.begin() + 2); }, ChainBreak::Edited, 3, 0,
        edited);
    add(
        "two entries swapped", [](Entries &e) { std::swap(e[1], e[2]); }, ChainBreak::Moved, 2, 3,
        "Entry 2 of the change log was moved: it followed entry 3.");
    add(
        "entry moved to the front",
        [](Entries &e) { std::rotate(e.begin(), e.begin() + 3, e.begin() + 4); }, ChainBreak::Moved,
        1, 4, "Entry 1 of the change log was moved: it followed entry 4.");
    add(
        "first entry moved back",
        [](Entries &e) { std::rotate(e.begin(), e.begin() + 1, e.begin() + 3); }, ChainBreak::Moved,
        1, 3, "Entry 1 of the change log was moved: it followed entry 3.");
    add(
        "first entry removed", [](Entries &e) { e.erase(e.begin()); }, ChainBreak::Edited, 1, 0,
        "Entry 1 of the change log does not follow from the entry before it: it was edited, or "
        "an entry before it was removed.");
    add(
        "first entry copied after itself", [](Entries &e) { e.insert(e.begin() + 1, e[0]); },
        ChainBreak::Moved, 2, 0, "Entry 2 of the change log was moved: it was the first entry.");
    add(
        "hash upper case",
        [](Entries &e) {
            for (char &c : e[4].hash)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        },
        ChainBreak::None, 0, 0, "The change log is intact: 5 entries.");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ChainCheck check = checkChain(c.log);
        EXPECT_EQ(check.kind, c.kind);
        EXPECT_EQ(check.entry, c.entry);
        EXPECT_EQ(check.followed, c.followed);
        EXPECT_EQ(chainCheckText(check), c.text);
    }
    EXPECT_EQ(chainCheckText(checkChain(ChangeLog{})), "The change log has no entries.");
}

TEST(ChangeLog, KeepsAnyValueThroughTheProjectFile) {
    ChangeLog log;
    const std::string nasty = std::string("  lead and trail\t ") + '\0' + "%41 %% \r\n[Section]";
    appendChange(log, entry("description", std::string(1000, 'x') + " " + std::string(400, ' '),
                            nasty, "=starts with equals"));
    appendChange(log, entry("", "", "", ""));
    appendChange(log, entry("Zelle \xC3\xA4 \xE4", std::string(199, 'y') + " z", " ",
                            std::string(600, '%')));
    TempDir dir;
    IniFile file;
    writeChangeLog(log, file);
    ASSERT_TRUE(file.write(dir.file("job.ttp")));
    const auto read = IniFile::read(dir.file("job.ttp"));
    ASSERT_TRUE(read);
    const StoredChangeLog stored = readChangeLog(*read);
    EXPECT_EQ(stored.storedCount, 3u);
    ASSERT_EQ(stored.log.entries.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(stored.log.entries[i] == log.entries[i]) << i;
    EXPECT_TRUE(checkChain(stored).intact());
    EXPECT_EQ(readChangeLog(IniFile("")).storedCount, 0u);
}

TEST(ChangeLog, LivesInASectionTheProjectReaderAndWriterLeaveAlone) {
    const std::vector<ProjectKey> keys = {{"RowSpacing", "1"},
                                          {"NumberOfRows", "0"},
                                          {"NumberOfColumns", "0"},
                                          {"NumberOfSingular", "0"}};
    const std::string project = "[ZQARVemro]\r\nRowSpacing=2.5\r\nNumberOfRows=1\r\n"
                                "NumberOfColumns=2\r\nNumberOfSingular=0\r\nR1C1=4711\r\n";
    IniFile withLog(project);
    writeChangeLog(fiveChanges(), withLog);
    const std::string text = withLog.text();
    // The project's own lines are as they were, the log follows in its own section.
    EXPECT_EQ(text.rfind(project, 0), 0u);
    EXPECT_NE(text.find("\r\n[ChangeLog]\r\nEntries=5\r\nEntry1.Time="), std::string::npos);

    const ProjectValues before = readProject(project, keys);
    const ProjectValues after = readProject(text, keys);
    EXPECT_EQ(after.settings, before.settings);
    EXPECT_EQ(after.arrayCells, before.arrayCells);
    EXPECT_EQ(after.arrayCells, (std::vector<std::string>{"4711", "-"}));

    // Saving the project again keeps the log byte for byte.
    ProjectValues changed = after;
    changed.settings[0] = "3";
    const std::string saved = writeProject(changed, keys, text);
    EXPECT_NE(saved.find("RowSpacing=3\r\n"), std::string::npos);
    EXPECT_EQ(saved.substr(saved.find("[ChangeLog]")), text.substr(text.find("[ChangeLog]")));
    EXPECT_TRUE(checkChain(readChangeLog(IniFile(saved))).intact());
}

TEST(ChangeLog, NamesTheEntryEditedOrRemovedInTheProjectFile) {
    IniFile file;
    writeChangeLog(fiveChanges(), file);
    const std::string text = file.text();
    const auto check = [](const std::string &stored) {
        return chainCheckText(checkChain(readChangeLog(IniFile(stored))));
    };
    EXPECT_EQ(check(replacedOnce(text, "Entry4.New=25", "Entry4.New=26")),
              "Entry 4 of the change log does not follow from the entry before it: it was "
              "edited, or an entry before it was removed.");
    EXPECT_EQ(check(withoutLinesHolding(text, "Entry2.")), "Entry 2 of the change log is missing.");
    EXPECT_EQ(check(withoutLinesHolding(text, "Entry5.")), "Entry 5 of the change log is missing.");
    EXPECT_EQ(check(replacedOnce(text, "Entries=5", "Entries=2000000000")),
              "Entry 6 of the change log is missing.");
    // Renumbered after a removal: the chain shows it.
    std::string renumbered = withoutLinesHolding(text, "Entry2.");
    for (const char *number : {"3", "4", "5"}) {
        const std::string from = std::string("Entry") + number + ".";
        const std::string to = "Entry" + std::to_string(std::stoi(number) - 1) + ".";
        for (std::size_t at; (at = renumbered.find(from)) != std::string::npos;)
            renumbered.replace(at, from.size(), to);
    }
    renumbered = replacedOnce(renumbered, "Entries=5", "Entries=4");
    EXPECT_EQ(check(renumbered), "Entry 2 of the change log does not follow from the entry "
                                 "before it: it was edited, or an entry before it was removed.");
}

TEST(ChangeLog, RecordsTheUserAndTheTimeInUtc) {
    EXPECT_EQ(utcTimeText(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(utcTimeText(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(utcTimeText(951782400), "2000-02-29T00:00:00Z");
    EXPECT_EQ(utcTimeText(1749146400), "2025-06-05T18:00:00Z");
    EXPECT_EQ(utcTimeText(4102444799), "2099-12-31T23:59:59Z");

    const ChangeEntry made = changeNow("R1C1", "-", "4711", "");
    EXPECT_EQ(made.time.size(), 20u);
    EXPECT_EQ(made.time.substr(10, 1), "T");
    EXPECT_FALSE(made.user.empty());
    EXPECT_EQ(made.user, currentUserName());
    if (const auto name = zqar::testing::commandOutput("id -un")) {
        EXPECT_EQ(made.user + "\n", *name);
    }
}
