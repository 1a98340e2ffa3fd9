#include "pages/layout/settings.h"

#include "app/BatchTool.h"
#include "core/data/caseless.h"
#include "core/data/projectFormat.h"
#include "core/data/reportFile.h"
#include "pages/layout/projectFile.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <set>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;

namespace {

// A value for every setting other than its start-up one, and a second value to overwrite it
// with before it is loaded back. The counts keep the array small; the times and the interval
// keep the averaged calculation that ends Load Report working.
struct Case {
    const char *name;
    const char *value;
    const char *other;
};
const Case CASES[] = {
    {"Directory", "/data/job 17", "/elsewhere"},
    {"NumberOfRows", "3", "5"},
    {"NumberOfColumns", "2", "5"},
    {"RowSpacing", "1.5", "2"},
    {"ColumnSpacing", "0.75", "2"},
    {"NumberOfSingular", "1", "4"},
    {"UseCommentField", "N", "Y"},
    {"LoggersOnBoundary", "N", "Y"},
    {"ProjectDescription", "Oven 3, top shelf", "other"},
    {"ProjectNumber", "P-17", "other"},
    {"ProjectDate", "05-Nov-2003", "other"},
    {"timeText", "05-Nov-2003 10:02AM", "other"},
    {"startTimeText", "05-Nov-2003 10:01AM", "05-Nov-2003 10:00AM"},
    {"finishTimeText", "05-Nov-2003 10:09AM", "05-Nov-2003 10:04AM"},
    {"averagingIntervalText", "3", "2"},
    {"minimumTemperatureText", "15", "other"},
    {"maximumTemperatureText", "25", "other"},
    {"contourSpacingText", "0.25", "other"},
    {"showSingularAsText", "Y", "N"},
};
static_assert(std::size(CASES) == REPORT_SETTING_COUNT);

class Settings : public PageTest {
protected:
    Settings() {
        // Times and an interval the averaged calculation accepts.
        for (const char *name : {"startTimeText", "finishTimeText", "averagingIntervalText"})
            for (const Case &c : CASES)
                if (std::string_view(c.name) == name)
                    put(*findSetting(name), c.other);
    }
    void put(const Setting &setting, std::string_view value) {
        writeSetting(window.settingPlaces(), setting, value);
    }
    std::string get(const Setting &setting) { return readSetting(window.settingPlaces(), setting); }
    // Sets the case's value, as the user would, with Update Layout for a count.
    void set(const Setting &setting, const Case &c) {
        put(setting, c.value);
        window.fileSelectionPage.updateLayout();
    }
    TempDir temp;
};

std::string upperCaseForTest(std::string_view text) {
    std::string upper(text);
    for (char &c : upper)
        c = asciiUpper(c);
    return upper;
}

} // namespace

TEST(SettingTable, NamesAreUniqueAndTheFormatsFindTheirCounts) {
    std::set<std::string> names;
    for (const Setting &setting : SETTINGS) {
        EXPECT_TRUE(names.insert(lowerCase(setting.name)).second) << setting.name;
        EXPECT_EQ(findSetting(upperCaseForTest(setting.name)), &setting);
        EXPECT_EQ(setting.kind == SettingKind::RadioPair, setting.partner != 0) << setting.name;
    }
    EXPECT_EQ(findSetting("NoSuchSetting"), nullptr);
    // Report field n holds SETTINGS[n - 2]; fields 2 to 20 are the settings in table order.
    EXPECT_EQ(SETTINGS[REPORT_ROWS_FIELD - 1].name, PROJECT_ROWS_KEY);
    EXPECT_EQ(SETTINGS[REPORT_COLUMNS_FIELD - 1].name, PROJECT_COLUMNS_KEY);
    EXPECT_EQ(SETTINGS[REPORT_SINGULAR_FIELD - 1].name, PROJECT_SINGULAR_KEY);
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i)
        EXPECT_EQ(SETTINGS[i].name, CASES[i].name) << "report field " << i + 2;
}

TEST(SettingTable, ProjectKeysKeepTheOrderAndDefaultsOfExistingFiles) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Directory", ""},        {"NumberOfRows", "6"},      {"NumberOfColumns", "4"},
        {"RowSpacing", "1"},      {"ColumnSpacing", "1"},     {"NumberOfSingular", "2"},
        {"UseCommentField", "Y"}, {"LoggersOnBoundary", "Y"}, {"ProjectDescription", "2"},
        {"ProjectNumber", ""},    {"ProjectDate", ""},
    };
    std::vector<std::pair<std::string, std::string>> keys;
    for (const ProjectKey &key : projectKeys())
        keys.emplace_back(std::string(key.name), std::string(key.defaultValue));
    EXPECT_EQ(keys, expected);
}

TEST(SettingTable, FlagsReadOnlyALeadingCapitalY) {
    const std::pair<const char *, bool> cases[] = {
        {"Y", true}, {"Yes", true}, {"y", false}, {"N", false}, {"", false}, {" Y", false},
    };
    for (const auto &[stored, set] : cases)
        EXPECT_EQ(flagIsSet(stored), set) << stored;
    EXPECT_EQ(flagText(true), "Y");
    EXPECT_EQ(flagText(false), "N");
}

TEST_F(Settings, EverySettingComesBackFromAReport) {
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i) {
        const Setting &setting = SETTINGS[i];
        const Case &c = CASES[i];
        set(setting, c);
        const std::string path = temp.file(std::string(c.name) + ".ttr");
        host.saveAnswers.push_back(path);
        ASSERT_EQ(window.createReport().kind, CommandOutcome::Kind::Completed);
        put(setting, c.other);
        host.openAnswers.push_back(temp.file(std::string(c.name) + "/" + c.name + ".ttr"));
        const CommandOutcome loaded = window.loadReport();
        EXPECT_EQ(loaded.kind, CommandOutcome::Kind::Completed) << c.name << " " << loaded.message;
        EXPECT_EQ(get(setting), c.value) << c.name;
        put(setting, c.other); // the next case starts from the other value
        window.fileSelectionPage.updateLayout();
    }
    EXPECT_FALSE(window.fileSelectionPage.dialog().isChecked(FS::USE_SERIAL_NUMBERS));
}

TEST_F(Settings, EveryProjectSettingComesBackFromAProject) {
    for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i) {
        const Setting &setting = SETTINGS[i];
        if (!inProject(setting))
            continue;
        const Case &c = CASES[i];
        set(setting, c);
        const std::string path = temp.file(std::string(c.name) + ".ttp");
        ASSERT_FALSE(saveProjectFile(window.fileSelectionPage, path).hasFailed());
        put(setting, c.other);
        ASSERT_FALSE(loadProjectFile(window.fileSelectionPage, path).hasFailed());
        EXPECT_EQ(get(setting), c.value) << c.name;
        put(setting, c.other);
    }
}

TEST_F(Settings, TheRadioPairAlwaysHasOneButtonChecked) {
    const Setting &useComments = *findSetting("UseCommentField");
    platform::Dialog &page = window.fileSelectionPage.dialog();
    for (const char *stored : {"N", "Y", "N", "y"}) {
        put(useComments, stored);
        EXPECT_EQ(page.isChecked(FS::USE_COMMENT_FIELD), stored[0] == 'Y') << stored;
        EXPECT_NE(page.isChecked(FS::USE_COMMENT_FIELD), page.isChecked(FS::USE_SERIAL_NUMBERS));
    }
}

TEST(BatchSettings, EverySettingIsSetByName) {
    for (const Case &c : CASES) {
        std::ostringstream out, err;
        BatchTool tool(out, err);
        // Flags are given in lower case on the command line and stored as Y or N.
        std::string value = c.value;
        const Setting &setting = *findSetting(c.name);
        if (setting.kind != SettingKind::Text)
            value = lowerCase(value);
        ASSERT_EQ(tool.run({"--set", std::string(c.name) + "=" + value}), BATCH_OK) << err.str();
        EXPECT_EQ(readSetting(tool.window.settingPlaces(), setting), c.value) << c.name;
    }
}
