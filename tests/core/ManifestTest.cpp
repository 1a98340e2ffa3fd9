#include "core/integrity/Manifest.h"
#include "core/data/dateTime.h"
#include "core/integrity/recordedInputs.h"
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

// ---- The alarm rules, exclusions, events and excluded phases after the settings -----------

namespace {

// The inputs as the batch tool's options read them from what a user typed.
RecordedInputs typedInputs() {
    RecordedInputs inputs;
    inputs.alarmRules = {*readAlarmRule("Above, 8 ,single,60"),
                         *readAlarmRule("below,2,cumulative,600,day")};
    inputs.exclusions = {*readExclusion("r2c3,2025-06-02 06:00:15,02-Jun-2025 8:00 am,door, open"),
                         *readExclusion("S1,05-Jun-2025 06:00PM,05-Jun-2025 06:00PM,")};
    inputs.events = {*readEvent("Phase-Start: Loaded @05-Jun-2025 06:00PM"),
                     *readEvent("door-open@2025-06-05T18:30:59"),
                     *readEvent("phase-end:Loaded@05-Jun-2025 07:00PM")};
    inputs.events[1].note = "not recorded";
    inputs.excludedPhases = {"Loaded", " empty run "};
    return inputs;
}

} // namespace

TEST(RecordedInputs, AreOneLineEachInTheFormsTheBatchToolTakesAndReadBackToTheSameTimes) {
    const RecordedInputs inputs = typedInputs();
    const std::string text = settingsText(recordedInputValues(inputs));
    EXPECT_EQ(text, "alarmRule=Above, 8 ,single,60\n"
                    "alarmRule=below,2,cumulative,600,day\n"
                    "exclusion=R2C3,02-Jun-2025 06:00:15AM,02-Jun-2025 08:00AM,door, open\n"
                    "exclusion=S1,05-Jun-2025 06:00PM,05-Jun-2025 06:00PM,\n"
                    "event=phase-start:Loaded@05-Jun-2025 06:00PM\n"
                    "event=door-open@05-Jun-2025 06:30:59PM\n"
                    "event=phase-end:Loaded@05-Jun-2025 07:00PM\n"
                    "excludedPhase=Loaded\n"
                    "excludedPhase= empty run \n");

    // Among the settings and cells of a whole settings text, which the reader passes over.
    const RecordedInputsReading read =
        readRecordedInputs(readSettingsText("lowerLimitText=2\nR1C1=10231\n" + text));
    ASSERT_EQ(read.problem, "");
    const RecordedInputs &back = read.inputs;
    ASSERT_EQ(back.alarmRules.size(), 2u);
    EXPECT_EQ(back.alarmRules[0].spec, "Above, 8 ,single,60");
    EXPECT_EQ(back.alarmRules[1].mode, AlarmMode::Cumulative);
    EXPECT_TRUE(back.alarmRules[1].perDay);
    ASSERT_EQ(back.exclusions.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        // The figures compare these day numbers: they must come back bit for bit.
        EXPECT_EQ(back.exclusions[i].row, inputs.exclusions[i].row);
        EXPECT_EQ(back.exclusions[i].col, inputs.exclusions[i].col);
        EXPECT_EQ(back.exclusions[i].first, inputs.exclusions[i].first);
        EXPECT_EQ(back.exclusions[i].last, inputs.exclusions[i].last);
        EXPECT_EQ(back.exclusions[i].reason, inputs.exclusions[i].reason);
    }
    EXPECT_EQ(back.exclusions[0].first, dayNumberFromCivil(CivilTime{2025, 6, 2, 6, 0, 15}));
    ASSERT_EQ(back.events.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back.events[i].kind, inputs.events[i].kind);
        EXPECT_EQ(back.events[i].time, inputs.events[i].time);
        EXPECT_EQ(back.events[i].phase, inputs.events[i].phase);
    }
    EXPECT_EQ(back.excludedPhases, inputs.excludedPhases);
    EXPECT_EQ(settingsText(recordedInputValues(back)), text);
}

TEST(RecordedInputs, ALineThatDoesNotReadIsNamedAndNothingIsTaken) {
    const std::string good = settingsText(recordedInputValues(typedInputs()));
    for (const char *bad : {"alarmRule=above,eight,single,60", "alarmRule=",
                            "exclusion=R0C1,02-Jun-2025 06:00AM,"
                            "02-Jun-2025 08:00AM,x",
                            "exclusion=R1C1,02-Jun-2025 08:00AM,02-Jun-2025 06:00AM,backwards",
                            "exclusion=R1C1,02-Jun-2025 06:00AM", "event=door-open@never",
                            "event=door-ajar@"
                            "05-Jun-2025 06:00PM",
                            "excludedPhase=", "excludedPhase=  \t"}) {
        SCOPED_TRACE(bad);
        const RecordedInputsReading read = readRecordedInputs(
            readSettingsText(good + bad + "\nevent=power-on@05-Jun-2025 09:00PM"));
        EXPECT_EQ(read.problem,
                  std::string("the manifest's settings text holds a line that does not read: ") +
                      bad);
        EXPECT_TRUE(read.inputs.alarmRules.empty() && read.inputs.exclusions.empty() &&
                    read.inputs.events.empty() && read.inputs.excludedPhases.empty());
    }
    // The names are matched as written; any other is a setting or a cell, and passed over.
    EXPECT_EQ(readRecordedInputs(readSettingsText("AlarmRule=nonsense\nEVENT=x\n")).problem, "");
}
