// The report's record of where it came from, on the in-memory backend: the change log the
// window and the batch tool keep, the sources and settings a manifest records, and the
// recomputation a check of the report runs. The PDF side is in tests/pages.

#include "app/BatchTool.h"
#include "app/reportVerification.h"
#include "core/data/IniFile.h"
#include "core/integrity/ChangeLog.h"
#include "core/integrity/manifestXmp.h"
#include "core/integrity/sha256.h"
#include "core/integrity/userAndTime.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/MappingReport.h"
#include "pages/presentation/reportManifest.h"
#include "platform/memory/RecordingContext.h"
#include "support/BatchRun.h"
#include "support/PageHarness.h"
#include "support/Records.h"
#include "support/Shell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace zqar {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// A 1 x 2 array and one singular logger, placed by serial number from a folder "data".
class Study {
public:
    Study() {
        fs::create_directory(dir.path() / "data");
        const char *names[] = {"A1", "A2", "S1"};
        for (int i = 0; i < 3; ++i) {
            testing::DtaFile dta;
            dta.name = names[i];
            dta.samples({20.5 + i, 21.0 + i, 22.25, 23.0 - i, 21.5});
            writeLog(names[i], dta.text());
        }
        project = dir.write("job.ttp", "[ZQARVemro]\r\nDirectory=" + data() +
                                           "\r\nNumberOfRows=1\r\nNumberOfColumns=2\r\n"
                                           "NumberOfSingular=1\r\nUseCommentField=N\r\n"
                                           "R1C1=A1\r\nR1C2=A2\r\nS0=S1\r\n");
    }
    std::string data() const { return (dir.path() / "data").string(); }
    std::string log(const std::string &name) const {
        return (dir.path() / "data" / (name + ".dta")).string();
    }
    void writeLog(const std::string &name, const std::string &text) const {
        std::ofstream(log(name), std::ios::binary) << text;
    }
    // Certificates that correct A1 by +0.5 and A2 by -0.25, and a door opened for two minutes,
    // beside the log files (Load Files reads only the log files there).
    void writeInputs() {
        calibration =
            dir.write("data/cal.csv", "Logger,Certificate,Calibrated,Due,Reading,Correction\r\n"
                                      "A1,C-1,2003-01-01,2004-01-01,20.00,0.50\r\n"
                                      "A2,C-2,2003-01-01,2004-01-01,20.00,-0.25\r\n");
        events = dir.write("data/events.csv", "Time,Event,Note\r\n"
                                              "05-Nov-2003 02:31PM,door-open,\r\n"
                                              "05-Nov-2003 02:33PM,door-closed,\r\n");
    }

    TempDir dir;
    std::string project;
    std::string calibration;
    std::string events;
};

std::string bytesOf(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The file with its first from replaced by to.
void replaceIn(const std::string &path, const std::string &from, const std::string &to) {
    std::string bytes = bytesOf(path);
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    bytes.replace(at, from.size(), to);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The batch tool kept for a look at its job afterwards.
struct Batch {
    std::ostringstream out;
    std::ostringstream err;
    BatchTool tool{out, err};
    int run(const std::vector<std::string> &arguments) { return tool.run(arguments); }
    const std::vector<ChangeEntry> &entries() const { return tool.window.job.changeLog.entries; }
};

std::vector<std::string> fieldsOf(const std::vector<ChangeEntry> &entries) {
    std::vector<std::string> fields;
    for (const ChangeEntry &entry : entries)
        fields.push_back(entry.field + ": " + entry.oldValue + " -> " + entry.newValue);
    return fields;
}

TEST(ChangeRecording, EachChangedSettingAndCellIsLoggedWithWhoAndWhenButNotWhatALoadSet) {
    Study study;
    Batch batch;
    ASSERT_EQ(batch.run({"--load-project", study.project, "--load-files", "--set",
                         "lowerLimitText=15", "--cell", "R1C1=S1", "--cell", "S1=A1", "--set",
                         "RowSpacing=2.5", "--set", "RowSpacing=2.5"}),
              BATCH_OK)
        << batch.err.str();
    EXPECT_EQ(fieldsOf(batch.entries()),
              (std::vector<std::string>{"lowerLimitText:  -> 15", "R1C1: A1 -> S1", "S0: S1 -> A1",
                                        "RowSpacing: 1 -> 2.5"}));
    const std::regex utc("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ");
    for (const ChangeEntry &entry : batch.entries()) {
        EXPECT_TRUE(std::regex_match(entry.time, utc)) << entry.time;
        EXPECT_EQ(entry.user, currentUserName());
        EXPECT_EQ(entry.reason, "");
    }
    EXPECT_TRUE(checkChain(batch.tool.window.job.changeLog).intact());
}

TEST(ChangeRecording, AControlledStudyAsksForTheReasonAndTheBatchToolGivesIt) {
    Study study;
    Batch batch;
    ASSERT_EQ(batch.run({"--load-project", study.project, "--set", "controlledStudy=Y", "--reason",
                         "new limits from QA", "--set", "upperLimitText=25", "--set",
                         "NumberOfColumns=3", "--update-layout"}),
              BATCH_OK)
        << batch.err.str();
    const std::vector<ChangeEntry> &entries = batch.entries();
    ASSERT_EQ(fieldsOf(entries), (std::vector<std::string>{
                                     "controlledStudy:  -> Y", "upperLimitText:  -> 25",
                                     "NumberOfColumns: 2 -> 3", "R1C1: A1 -> -", "R1C2: A2 -> -"}));
    // Without --reason the question goes to the host, which has no answer in a batch run.
    EXPECT_EQ(
        batch.tool.host.textPrompts,
        std::vector<std::string>{"This study is controlled. Why is controlledStudy changed?"});
    EXPECT_EQ(entries[0].reason, "");
    EXPECT_EQ(entries[1].reason, "new limits from QA");
    EXPECT_EQ(entries[2].reason, "new limits from QA");
}

class WindowChangeRecording : public testing::PageTest {};

TEST_F(WindowChangeRecording, WhatWasTypedIsLoggedWhenTheNextCommandRunsWithOneReasonForAll) {
    window.job.setSetting(JobSetting::ControlledStudy, "Y");
    fileSelection().click(FileSelectionPage::UPDATE_LAYOUT);
    host.textPrompts.clear();
    const std::size_t before = window.job.changeLog.entries.size();
    dataFilter().setText(DataFilterPage::AVERAGING_INTERVAL, "45");
    fileSelection().setText(FileSelectionPage::COLUMN_SPACING, "3");
    host.textAnswers.push_back("door moved");
    fileSelection().click(FileSelectionPage::UPDATE_LAYOUT);
    const std::vector<ChangeEntry> &entries = window.job.changeLog.entries;
    ASSERT_EQ(entries.size(), before + 2);
    EXPECT_EQ(entries[before].field, "ColumnSpacing");
    EXPECT_EQ(entries[before + 1].field, "averagingIntervalText");
    EXPECT_EQ(entries[before + 1].newValue, "45");
    EXPECT_EQ(entries[before].reason, "door moved");
    EXPECT_EQ(entries[before + 1].reason, "door moved");
    EXPECT_EQ(host.textPrompts, std::vector<std::string>{"This study is controlled. Why is "
                                                         "ColumnSpacing, averagingIntervalText "
                                                         "changed?"});
    // Nothing new: the next command logs nothing and asks nothing.
    fileSelection().click(FileSelectionPage::UPDATE_LAYOUT);
    EXPECT_EQ(entries.size(), before + 2);
    EXPECT_EQ(host.textPrompts.size(), 1u);
}

TEST(ChangeRecording, TheProjectKeepsTheLogAndItsCheckNamesTheEditedEntry) {
    Study study;
    const std::string saved = study.dir.file("saved.ttp");
    Batch first;
    ASSERT_EQ(first.run({"--load-project", study.project, "--set", "lowerLimitText=2", "--set",
                         "upperLimitText=8", "--save-project", saved}),
              BATCH_OK);
    // A second run of the batch tool goes on with the project's log.
    Batch second;
    ASSERT_EQ(second.run({"--load-project", saved, "--set", "upperLimitText=9"}), BATCH_OK);
    ASSERT_EQ(second.entries().size(), 3u);
    EXPECT_EQ(second.entries()[0], first.entries()[0]);
    // No project keeps the limits: the second run starts without them.
    EXPECT_EQ(second.entries()[2].field, "upperLimitText");
    EXPECT_EQ(second.entries()[2].oldValue, "");

    const testing::BatchRun intact = testing::runBatch({"--verify-project", saved});
    EXPECT_EQ(intact.exit, BATCH_OK);
    EXPECT_EQ(intact.out, "The change log is intact: 2 entries.\n");
    std::string text = bytesOf(saved);
    const std::size_t at = text.find("Entry2.New=8");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 12, "Entry2.New=7");
    std::ofstream(saved, std::ios::binary | std::ios::trunc) << text;
    const testing::BatchRun edited = testing::runBatch({"--verify-project", saved});
    EXPECT_EQ(edited.exit, BATCH_FAILED);
    EXPECT_EQ(edited.out, "Entry 2 of the change log does not follow from the entry before it: "
                          "it was edited, or an entry before it was removed.\n");
}

TEST(ChangeRecording, AProjectSavedWithoutChangesHasNoLogSection) {
    Study study;
    const std::string saved = study.dir.file("saved.ttp");
    ASSERT_EQ(testing::runBatch({"--load-project", study.project, "--load-files",
                                 "--calculate-averaged", "--save-project", saved})
                  .exit,
              BATCH_OK);
    EXPECT_EQ(bytesOf(saved).find("[ChangeLog]"), std::string::npos);
}

TEST(ChangeLog, AShorterValueWrittenOverALongerOneKeepsNothingOfIt) {
    ChangeLog longer;
    appendChange(longer, changeNow("ProjectDescription", "", std::string(700, 'x'), ""));
    ChangeLog shorter;
    appendChange(shorter, changeNow("ProjectDescription", "", "short", ""));
    IniFile file;
    writeChangeLog(longer, file);
    IniFile again(file.text());
    writeChangeLog(shorter, again);
    const StoredChangeLog stored = readChangeLog(IniFile(again.text()));
    ASSERT_EQ(stored.log.entries.size(), 1u);
    EXPECT_EQ(stored.log.entries[0], shorter.entries[0]);
    EXPECT_TRUE(checkChain(stored).intact());
}

// The job of the study loaded and calculated, with the manifest a report of it would hold.
class ReportSources : public ::testing::Test {
protected:
    void load(const std::vector<std::string> &more = {}) {
        std::vector<std::string> arguments = {"--load-project", study.project, "--load-files",
                                              "--set", "lowerLimitText=21"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        ASSERT_EQ(batch.run(arguments), BATCH_OK) << batch.err.str();
    }
    Manifest manifest() { return manifestOf(batch); }
    static Manifest manifestOf(Batch &of) {
        MainWindow &window = of.tool.window;
        const JobSettings settings = window.settings();
        const StatisticsRun run = calculateStatistics(window.job, settings, of.tool.host);
        EXPECT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
        const JobSources sources = jobSources(window.job);
        EXPECT_EQ(sources.unreadable, "");
        return reportManifest(sources.sources, window.manifestSettingsText(),
                              resultTexts(window.job, settings, run));
    }
    Verification verify(const Manifest &recorded, const std::string &sourcesFolder) {
        const std::vector<SourceCheck> checks =
            checkSources(recorded, SourceFolders{sourcesFolder, study.dir.file("reports")});
        return verifyManifest(recorded, checks, recomputeReport(recorded, checks));
    }

    Study study;
    Batch batch;
};

TEST_F(ReportSources, AreTheLogFilesOnceEachInArrayOrderWithTheHashesOfSha256sum) {
    load();
    const Manifest recorded = manifest();
    ASSERT_EQ(recorded.sources.size(), 3u);
    const char *names[] = {"A1", "A2", "S1"};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        const ManifestSource &source = recorded.sources[i];
        EXPECT_EQ(source.name, std::string(names[i]) + ".dta");
        EXPECT_EQ(source.size, fs::file_size(study.log(names[i])));
        if (!testing::haveProgram("sha256sum"))
            continue;
        const auto printed =
            testing::commandOutput("sha256sum " + testing::shellQuoted(study.log(names[i])));
        ASSERT_TRUE(printed);
        EXPECT_EQ(source.sha256, printed->substr(0, 64));
    }
    // The settings that change a figure, in the table's order, then the cells; not where the
    // files are, nor the titles and signatures.
    const std::string &text = recorded.settingsText;
    EXPECT_EQ(text.rfind("NumberOfRows=1\nNumberOfColumns=2\nRowSpacing=1\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nlowerLimitText=21\nupperLimitText=\nactivationEnergyText=83.144\n"),
              std::string::npos)
        << text;
    // With no alarm rule, exclusion, event or excluded phase nothing follows the cells.
    const std::string cells = "=\nR1C1=A1\nR1C2=A2\nS0=S1\n";
    ASSERT_GT(text.size(), cells.size());
    EXPECT_EQ(text.substr(text.size() - cells.size()), cells) << text;
    for (const char *left :
         {"Directory=", "ProjectDescription=", "preparedByText=", "controlledStudy="})
        EXPECT_EQ(text.find(left), std::string::npos) << left;
}

TEST_F(ReportSources, RecomputeToTheSameSettingsAndResultsFromACopyOfTheFiles) {
    load();
    const Manifest recorded = manifest();
    EXPECT_TRUE(verify(recorded, study.data()).verified());
    // The files anywhere else, with a stranger among them that Load Files would place.
    const fs::path elsewhere = study.dir.path() / "elsewhere";
    fs::create_directory(elsewhere);
    for (const char *name : {"A1", "A2", "S1"})
        fs::copy_file(study.log(name), elsewhere / (std::string(name) + ".dta"));
    testing::DtaFile stranger;
    stranger.name = "A1";
    stranger.samples({99.0, 99.0});
    std::ofstream(elsewhere / "0000.dta", std::ios::binary) << stranger.text();
    const Verification copied = verify(recorded, elsewhere.string());
    EXPECT_EQ(verificationText(copied),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK settings\nOK results\nVERIFIED\n");
}

// An imported table among the log files is recorded as an import, with the import settings
// it was read with, and the check imports it again after loading the log files.
TEST_F(ReportSources, OfAnImportedTableAreCheckedByImportingItAgain) {
    const std::string table = (study.dir.path() / "data" / "A2.csv").string();
    std::ofstream(table, std::ios::binary)
        << "Serial Number: A2\nDate Time,Temp\n2003-11-05 14:30,70.7\n2003-11-05 14:31,71.6\n"
           "2003-11-05 14:33,73.4\n2003-11-05 14:34,72.5\n";
    load({"--set", "importUnitText=F", "--import", table});
    const LogFile *imported = batch.tool.window.job.loggerArray.at(0, 1);
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->values[2], NO_VALUE);
    const Manifest recorded = manifest();
    ASSERT_EQ(recorded.sources.size(), 3u);
    EXPECT_EQ(recorded.sources[1].name, "A2.csv");
    EXPECT_EQ(recorded.sources[1].role, SourceRole::Import);
    EXPECT_EQ(recorded.sources[2].role, SourceRole::LogFile);
    // Only the import setting that was set.
    EXPECT_NE(recorded.settingsText.find("\nimportUnitText=F\n"), std::string::npos);
    EXPECT_EQ(recorded.settingsText.find("importDateOrderText"), std::string::npos);
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.csv\nOK S1.dta\nOK settings\nOK results\nVERIFIED\n");

    // Read in degrees Celsius the table gives other results.
    Manifest celsius = recorded;
    const std::size_t at = celsius.settingsText.find("importUnitText=F");
    celsius.settingsText.replace(at, std::string("importUnitText=F").size(), "importUnitText=C");
    celsius.settingsSha256 = sha256Hex(celsius.settingsText);
    EXPECT_EQ(verificationText(verify(celsius, study.data())),
              "OK A1.dta\nOK A2.csv\nOK S1.dta\nOK settings\nCHANGED results\nNOT VERIFIED\n");
}

TEST_F(ReportSources, NameAChangedByteAMissingFileAndAChangedLimit) {
    load();
    const Manifest recorded = manifest();
    // One reading of A2 changed by one byte: 21.0 + 1 becomes 24.
    std::string bytes = bytesOf(study.log("A2"));
    const std::size_t at = bytes.find("2 22");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] = '4';
    study.writeLog("A2", bytes);
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nCHANGED A2.dta\nOK S1.dta\nOK settings\nCHANGED results\nNOT VERIFIED\n");

    fs::rename(study.log("A2"), study.dir.file("data/A2-renamed.dta"));
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nMISSING A2.dta\nOK S1.dta\nOK settings\nMISSING results\n"
              "NOT VERIFIED\n");
    fs::rename(study.dir.file("data/A2-renamed.dta"), study.log("A2"));

    Manifest limitChanged = recorded;
    const std::size_t limit = limitChanged.settingsText.find("lowerLimitText=21");
    ASSERT_NE(limit, std::string::npos);
    limitChanged.settingsText.replace(limit, 17, "lowerLimitText=20");
    const Verification changed = verify(limitChanged, study.data());
    ASSERT_EQ(changed.items.size(), 5u);
    EXPECT_EQ(changed.items[3].name, "settings");
    EXPECT_EQ(changed.items[3].status, ItemStatus::Changed);
}

TEST_F(ReportSources, OfALoadedReportAreTakenFromItAndItIsWhatTheCheckLoads) {
    load({"--create-report", study.dir.file("reports/job.ttr")});
    const std::string report = study.dir.file("reports/job/job.ttr");
    Batch loaded;
    ASSERT_EQ(loaded.run({"--load-report", report, "--set", "upperLimitText=22.5"}), BATCH_OK)
        << loaded.err.str();
    EXPECT_EQ(loaded.tool.window.job.reportPath, fs::path(report).lexically_normal().string());
    EXPECT_EQ(fieldsOf(loaded.entries()), std::vector<std::string>{"upperLimitText:  -> 22.5"});

    const JobSources sources = jobSources(loaded.tool.window.job);
    ASSERT_EQ(sources.sources.size(), 3u);
    for (const ManifestSource &source : sources.sources) {
        ASSERT_TRUE(source.takenFrom) << source.name;
        EXPECT_EQ(source.takenFrom->reportName, "job.ttr");
        EXPECT_EQ(source.takenFrom->reportSha256, sha256File(report)->sha256);
    }
    MainWindow &window = loaded.tool.window;
    const JobSettings settings = window.settings();
    const StatisticsRun run = calculateStatistics(window.job, settings, loaded.tool.host);
    const Manifest recorded = reportManifest(sources.sources, window.manifestSettingsText(),
                                             resultTexts(window.job, settings, run));
    // The log files need not be at hand: the report is found in the sources folder.
    fs::remove_all(study.data());
    EXPECT_TRUE(verify(recorded, fs::path(report).parent_path().string()).verified());
}

TEST_F(ReportSources, GoIntoThePrintedManifestTheXmpAndTheSignatureBlock) {
    load({"--set", "reviewedByText=R. Reviewer"});
    MainWindow &window = batch.tool.window;
    platform::RecordingContext printer;
    printer.setDeviceCap(platform::HORZRES, 2480);
    printer.setDeviceCap(platform::VERTRES, 3508);
    printer.setDeviceCap(platform::LOGPIXELSX, 300);
    printer.setDeviceCap(platform::LOGPIXELSY, 300);
    printer.setDeviceCap(platform::HORZSIZE, 210);
    ASSERT_EQ(printMappingReport(window.job, window.settings(), batch.tool.host, printer, 0.0,
                                 window.manifestSettingsText())
                  .kind,
              CommandOutcome::Kind::Completed);
    const ManifestRead read = readManifestXmp(printer.documentXmp);
    ASSERT_TRUE(read.manifest) << read.reason;
    EXPECT_TRUE(*read.manifest == manifest());
    std::string printed;
    for (const platform::RecordedCall &call : printer.callsOf(platform::CallKind::Text))
        printed += call.text + "\n";
    for (const std::string &expected :
         {std::string("Reviewed by\nR. Reviewer\n"), std::string("Prepared by\n______"),
          std::string("\nManifest\n"), std::string("\nA2.dta\nLog file\n"),
          read.manifest->sources[1].sha256, std::string("reviewedByText\n"),
          std::string("The change log is intact: 2 entries.")})
        EXPECT_NE(printed.find(expected), std::string::npos) << expected;
}

// The sha256sum of a file, or the program's own digest where the system has no sha256sum.
std::string sha256sumOf(const std::string &path) {
    if (testing::haveProgram("sha256sum"))
        if (const auto printed = testing::commandOutput("sha256sum " + testing::shellQuoted(path)))
            return printed->substr(0, 64);
    return sha256File(path)->sha256;
}

TEST_F(ReportSources, NameTheCalibrationAndEventsFilesWithTheBytesTheJobRead) {
    study.writeInputs();
    load({"--calibration", study.calibration, "--events", study.events});
    const std::string calibrationHash = sha256sumOf(study.calibration);
    const std::string eventsHash = sha256sumOf(study.events);
    const auto calibrationSize = fs::file_size(study.calibration);
    const auto eventsSize = fs::file_size(study.events);
    // Edited after they were read: the report names what its figures were made with.
    replaceIn(study.calibration, "0.50", "0.75");
    replaceIn(study.events, "02:33PM", "02:34PM");
    const Manifest recorded = manifest();
    ASSERT_EQ(recorded.sources.size(), 5u);
    const ManifestSource &calibration = recorded.sources[3];
    EXPECT_EQ(calibration.name, "cal.csv");
    EXPECT_EQ(calibration.role, SourceRole::Calibration);
    EXPECT_EQ(calibration.size, calibrationSize);
    EXPECT_EQ(calibration.sha256, calibrationHash);
    EXPECT_FALSE(calibration.takenFrom);
    const ManifestSource &events = recorded.sources[4];
    EXPECT_EQ(events.name, "events.csv");
    EXPECT_EQ(events.role, SourceRole::Events);
    EXPECT_EQ(events.size, eventsSize);
    EXPECT_EQ(events.sha256, eventsHash);
    // The XMP carries both roles through.
    const ManifestRead read = readManifestXmp(manifestXmp(recorded));
    ASSERT_TRUE(read.manifest) << read.reason;
    EXPECT_TRUE(*read.manifest == recorded);
}

TEST_F(ReportSources, RecomputeWithTheCalibrationAndEventsFilesFoundAndNameThemWhenChanged) {
    study.writeInputs();
    load({"--calibration", study.calibration, "--events", study.events});
    const Manifest recorded = manifest();
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK cal.csv\nOK events.csv\nOK settings\n"
              "OK results\nVERIFIED\n");

    const std::string calibration = bytesOf(study.calibration);
    // One byte of A1's correction: +0.6 instead of +0.5.
    replaceIn(study.calibration, "0.50", "0.60");
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nCHANGED cal.csv\nOK events.csv\nOK settings\n"
              "CHANGED results\nNOT VERIFIED\n");
    std::ofstream(study.calibration, std::ios::binary | std::ios::trunc) << calibration;

    fs::rename(study.calibration, study.dir.file("data/cal-old.csv"));
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nMISSING cal.csv\nOK events.csv\nOK settings\n"
              "MISSING results\nNOT VERIFIED\n");
    fs::rename(study.dir.file("data/cal-old.csv"), study.calibration);

    // The settings text records the events, so the events file is checked by its hash alone:
    // the door closed a minute later in the file, but the figures are those of the report.
    EXPECT_NE(recorded.settingsText.find("\nevent=door-open@05-Nov-2003 02:31PM\n"
                                         "event=door-closed@05-Nov-2003 02:33PM\n"),
              std::string::npos)
        << recorded.settingsText;
    const std::string events = bytesOf(study.events);
    replaceIn(study.events, "02:33PM", "02:34PM");
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK cal.csv\nCHANGED events.csv\nOK settings\n"
              "OK results\nNOT VERIFIED\n");
    std::ofstream(study.events, std::ios::binary | std::ios::trunc) << events;

    // A report that records no events, as reports did before, computes with the events file.
    Manifest older = recorded;
    std::string &text = older.settingsText;
    for (std::size_t at = text.find("\nevent="); at != std::string::npos;
         at = text.find("\nevent="))
        text.erase(at + 1, text.find('\n', at + 1) - at);
    older.settingsSha256 = sha256Hex(text);
    ASSERT_EQ(text.find("event="), std::string::npos) << text;
    EXPECT_TRUE(verify(older, study.data()).verified());
    replaceIn(study.events, "02:33PM", "02:34PM");
    EXPECT_EQ(verificationText(verify(older, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK cal.csv\nCHANGED events.csv\nOK settings\n"
              "CHANGED results\nNOT VERIFIED\n");
}

TEST_F(ReportSources, RecordTheEventsAsTheJobHasThemAfterAnEditToThoseOfAFile) {
    study.writeInputs();
    load({"--events", study.events, "--event", "power-off@05-Nov-2003 02:32PM"});
    // The door-open of the file taken away in the window.
    removeEvent(batch.tool.window.job, 0);
    const Manifest recorded = manifest();
    EXPECT_NE(recorded.settingsText.find("\nevent=door-closed@05-Nov-2003 02:33PM\n"
                                         "event=power-off@05-Nov-2003 02:32PM\n"),
              std::string::npos)
        << recorded.settingsText;
    EXPECT_EQ(recorded.settingsText.find("door-open"), std::string::npos);
    // Reading the file again would bring the door-open back.
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK events.csv\nOK settings\nOK results\n"
              "VERIFIED\n");
}

// Each line of the inputs after the settings and the cells, with the verdict of a check of a
// manifest that lacks that line (its settings hash made to fit).
TEST_F(ReportSources, RecordTheRulesExclusionsEventsAndExcludedPhasesThatTheResultsDependOn) {
    load({"--alarm-rule", "above,21,single,2", "--exclude",
          "R1C1,05-Nov-2003 02:33PM,05-Nov-2003 02:33PM,probe moved, then back", "--event",
          "phase-start:Loaded@05-Nov-2003 02:30PM", "--event", "phase-end:Loaded@5 Nov 2003 14:31",
          "--event", "door-open@2003-11-05T14:32:30", "--exclude-phase", "loaded"});
    const Manifest recorded = manifest();
    const std::vector<std::string> lines = {
        "alarmRule=above,21,single,2",
        "exclusion=R1C1,05-Nov-2003 02:33PM,05-Nov-2003 02:33PM,probe moved, then back",
        "event=phase-start:Loaded@05-Nov-2003 02:30PM",
        "event=phase-end:Loaded@05-Nov-2003 02:31PM",
        "event=door-open@05-Nov-2003 02:32:30PM",
        "excludedPhase=loaded"};
    std::string expected = "R1C1=A1\nR1C2=A2\nS0=S1\n";
    for (const std::string &line : lines)
        expected += line + "\n";
    const std::string &text = recorded.settingsText;
    ASSERT_GT(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected) << text;
    EXPECT_EQ(verificationText(verify(recorded, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK settings\nOK results\nVERIFIED\n");

    for (const std::string &line : lines) {
        SCOPED_TRACE(line);
        Manifest without = recorded;
        const std::size_t at = without.settingsText.find("\n" + line + "\n");
        ASSERT_NE(at, std::string::npos);
        without.settingsText.erase(at + 1, line.size() + 1);
        without.settingsSha256 = sha256Hex(without.settingsText);
        EXPECT_EQ(verificationText(verify(without, study.data())),
                  "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK settings\nCHANGED results\n"
                  "NOT VERIFIED\n");
    }

    // The rule's threshold edited in the recorded text: the hash no longer fits.
    Manifest edited = recorded;
    edited.settingsText.replace(edited.settingsText.find("above,21,"), 9, "above,22,");
    EXPECT_EQ(verificationText(verify(edited, study.data())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nCHANGED settings\nCHANGED results\n"
              "NOT VERIFIED\n");
}

TEST_F(ReportSources, WithInputsOfALoadedReportAreRecomputedFromThatReport) {
    load({"--create-report", study.dir.file("reports/job.ttr")});
    const std::string report = study.dir.file("reports/job/job.ttr");
    Batch loaded;
    ASSERT_EQ(loaded.run({"--load-report", report, "--set", "lowerLimitText=21", "--alarm-rule",
                          "below,21,cumulative,1", "--exclude",
                          "S1,05-Nov-2003 02:30PM,05-Nov-2003 02:31PM,warming up", "--event",
                          "power-on@05-Nov-2003 02:34PM"}),
              BATCH_OK)
        << loaded.err.str();
    const Manifest recorded = manifestOf(loaded);
    fs::remove_all(study.data());
    EXPECT_EQ(verificationText(verify(recorded, fs::path(report).parent_path().string())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK settings\nOK results\nVERIFIED\n");
}

TEST_F(ReportSources, OfALoadedReportWithACalibrationFileAreCheckedBothFromBesideTheReport) {
    study.writeInputs();
    load({"--create-report", study.dir.file("reports/job.ttr")});
    const std::string report = study.dir.file("reports/job/job.ttr");
    Batch loaded;
    ASSERT_EQ(loaded.run({"--load-report", report, "--calibration", study.calibration}), BATCH_OK)
        << loaded.err.str();
    const Manifest recorded = manifestOf(loaded);
    ASSERT_EQ(recorded.sources.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(recorded.sources[i].takenFrom) << recorded.sources[i].name;
    EXPECT_FALSE(recorded.sources[3].takenFrom);
    EXPECT_EQ(recorded.sources[3].role, SourceRole::Calibration);
    // The certificates beside the report, the log files gone.
    const fs::path folder = fs::path(report).parent_path();
    fs::copy_file(study.calibration, folder / "cal.csv");
    fs::remove_all(study.data());
    EXPECT_EQ(verificationText(verify(recorded, folder.string())),
              "OK A1.dta\nOK A2.dta\nOK S1.dta\nOK cal.csv\nOK settings\nOK results\n"
              "VERIFIED\n");
}

TEST(ReportSourcesOfEvents, AreTheEventsFilesOfTheEventsTheJobStillHas) {
    Study study;
    study.writeInputs();
    const auto eventsSources = [](Batch &batch) {
        std::vector<std::string> names;
        for (const ManifestSource &source : jobSources(batch.tool.window.job).sources)
            if (source.role == SourceRole::Events)
                names.push_back(source.name);
        return names;
    };
    // A project's events replace those read before it.
    Batch replaced;
    ASSERT_EQ(replaced.run({"--events", study.events, "--load-project", study.project}), BATCH_OK);
    EXPECT_EQ(eventsSources(replaced), std::vector<std::string>{});
    // A file that holds no events was read all the same.
    const std::string none = study.dir.write("none.csv", "Time,Event,Note\r\n");
    Batch added;
    ASSERT_EQ(
        added.run({"--load-project", study.project, "--events", study.events, "--events", none}),
        BATCH_OK);
    EXPECT_EQ(eventsSources(added), (std::vector<std::string>{"events.csv", "none.csv"}));
}

TEST(ReportSourcesOfRecords, AnImportIsNamedSoAndNotReadAgainAsALogFile) {
    TempDir dir;
    Job job;
    job.loggerArray.resize(1, 2, 0);
    const char *files[] = {"10231.CSV", "10232.dta"};
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<LogFile> record =
            testing::recordWith("1023" + std::to_string(i), 0.0, 60.0, {20.0, 21.0});
        record->fileName.assign(dir.write(files[i], "20.0\n21.0\n"));
        job.loggerArray.place(0, i, std::move(record));
    }
    const JobSources sources = jobSources(job);
    ASSERT_EQ(sources.sources.size(), 2u);
    EXPECT_EQ(sources.sources[0].role, SourceRole::Import);
    EXPECT_EQ(sources.sources[1].role, SourceRole::LogFile);
    // The import's settings are not recorded: the check computes nothing rather than a verdict
    // on records read some other way.
    const Manifest recorded = reportManifest(sources.sources, "", {});
    const std::vector<SourceCheck> checks =
        checkSources(recorded, SourceFolders{dir.path().string(), ""});
    EXPECT_FALSE(recomputeReport(recorded, checks).resultsText);
}

// Many files, several placed twice: each is named once, where the array first holds it, with
// its own bytes' hash however the work was shared out; of several that went, the first is
// the one the report names.
TEST(ReportSourcesOfRecords, ManyFilesAreNamedOnceInArrayOrderAndTheFirstMissingOneIsNamed) {
    TempDir dir;
    constexpr int COLUMNS = 40;
    constexpr int FILES = 30; // the last ten positions hold files 0 to 9 again
    Job job;
    job.loggerArray.resize(1, COLUMNS, 0);
    std::vector<std::string> paths;
    for (int i = 0; i < FILES; ++i)
        paths.push_back(dir.write("L" + std::to_string(i) + ".dta",
                                  "file " + std::to_string(i) + std::string(i * 97, 'x')));
    for (int c = 0; c < COLUMNS; ++c) {
        std::unique_ptr<LogFile> record =
            testing::recordWith("L" + std::to_string(c), 0.0, 60.0, {20.0});
        record->fileName.assign(paths[static_cast<std::size_t>(c % FILES)]);
        job.loggerArray.place(0, c, std::move(record));
    }
    const JobSources sources = jobSources(job);
    EXPECT_EQ(sources.unreadable, "");
    ASSERT_EQ(sources.sources.size(), static_cast<std::size_t>(FILES));
    for (int i = 0; i < FILES; ++i) {
        SCOPED_TRACE(i);
        const ManifestSource &source = sources.sources[static_cast<std::size_t>(i)];
        EXPECT_EQ(source.name, "L" + std::to_string(i) + ".dta");
        EXPECT_EQ(source.size, fs::file_size(paths[static_cast<std::size_t>(i)]));
        EXPECT_EQ(source.sha256, sha256File(paths[static_cast<std::size_t>(i)])->sha256);
    }

    fs::remove(paths[21]);
    fs::remove(paths[7]);
    EXPECT_EQ(jobSources(job).unreadable, paths[7]);
}

} // namespace
} // namespace zqar
