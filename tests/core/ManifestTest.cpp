#include "core/integrity/Manifest.h"
#include "core/integrity/sha256.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using zqar::testing::TempDir;

TEST(Manifest, WritesTheSettingsAsNameValueLinesInTheOrderGiven) {
    const std::vector<SettingValue> settings = {{"upperLimit", "8.0"},
                                                {"lowerLimit", "2.0"},
                                                {"description", " cold room 3 "},
                                                {"empty", ""}};
    const std::string text = settingsText(settings);
    EXPECT_EQ(text, "upperLimit=8.0\nlowerLimit=2.0\ndescription= cold room 3 \nempty=\n");
    const std::vector<SettingValue> back = readSettingsText(text);
    ASSERT_EQ(back.size(), settings.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].name, settings[i].name);
        EXPECT_EQ(back[i].value, settings[i].value);
    }
}

TEST(Manifest, CutsASettingBeforeALineBreakAsTheProjectFileDoes) {
    EXPECT_EQ(settingsText({{"a", "one\ntwo"}, {"b", "x=y\r\nz"}, {"c", "\r5"}}),
              "a=one\nb=x=y\nc=5\n");
    // A value may hold "="; a line without one is not a setting.
    const auto back = readSettingsText("b=x=y\nnoise\nc=5");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].value, "x=y");
    EXPECT_EQ(back[1].name, "c");
}

TEST(Manifest, HashesTheTextsAndDescribesSourceFiles) {
    TempDir dir;
    const std::string path = dir.write("4711.dta", "Logger data file\r\n");
    const auto source = describeSource(path, SourceRole::LogFile);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->name, "4711.dta");
    EXPECT_EQ(source->size, 18u);
    EXPECT_EQ(source->sha256, sha256Hex("Logger data file\r\n"));
    EXPECT_FALSE(describeSource(dir.file("absent.dta"), SourceRole::LogFile));

    const auto report = describeSource(dir.write("job.ttr", "report"), SourceRole::Report);
    const ManifestSource taken = sourceTakenFromReport("4712.dta", SourceRole::LogFile, *report);
    ASSERT_TRUE(taken.takenFrom);
    EXPECT_EQ(taken.takenFrom->reportName, "job.ttr");
    EXPECT_EQ(taken.takenFrom->reportSha256, sha256Hex("report"));
    EXPECT_TRUE(taken.sha256.empty());

    const std::string results = resultsText({"a,b\n1,2\n", "", "c\n3\n"});
    EXPECT_EQ(results, "a,b\n1,2\nc\n3\n");
    const Manifest manifest = makeManifest({*source, taken}, "x=1\n", results, "1.3");
    EXPECT_EQ(manifest.settingsSha256, sha256Hex("x=1\n"));
    EXPECT_EQ(manifest.resultsSha256, sha256Hex(results));
    EXPECT_EQ(manifest.sources.size(), 2u);
}

TEST(Manifest, NamesEveryRoleAndReadsItBack) {
    for (const SourceRole role : {SourceRole::LogFile, SourceRole::Import, SourceRole::Report,
                                  SourceRole::Calibration, SourceRole::Events}) {
        EXPECT_EQ(roleFromKey(roleKey(role)), role);
        EXPECT_FALSE(roleLabel(role).empty());
    }
    EXPECT_FALSE(roleFromKey("LogFile"));
    EXPECT_FALSE(roleFromKey(""));
}
