// The sample job's mapping report checked as a user checks it: --verify-report reads the
// manifest from the PDF's XMP and computes the report again from the log files or the report
// file, with the calibration and events files where the job had them, and the alarm rules,
// exclusions, events and excluded phases the settings text records. A changed byte, a renamed
// file, a changed limit or recorded line, and damaged PDFs are named; the manifest's hashes are
// those of sha256sum. The batch tool runs in-process from the repository root, because the sample
// project names its data folder relative to it.

#include "app/BatchTool.h"
#include "core/integrity/manifestXmp.h"
#include "support/Shell.h"
#include "support/TempDir.h"
#include "window/QtBatchOptions.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace zqar {
namespace {

namespace fs = std::filesystem;

const fs::path SAMPLES = ZQAR_SAMPLES_DIR;
const std::string CALIBRATION = "warehouse-calibration.csv";
const std::string EVENTS = "events.csv";
const std::string ALARM_RULE = "above,23,single,60";
const std::string EXCLUSION = "R1C4,02-Jun-2025 12:00PM,02-Jun-2025 06:00PM,door left open";

std::string bytesOf(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct BatchResult {
    int exit = -1;
    std::string out;
    std::string err;
};

// The mapping reports are made once for every test: printing the maps takes a while.
class ReportVerification : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new testing::TempDir;
        const fs::path previous = fs::current_path();
        fs::current_path(SAMPLES.parent_path());
        fromFiles = run({"--load-project", (SAMPLES / "warehouse.ttp").string(), "--load-files",
                         "--set", "lowerLimitText=15", "--set", "upperLimitText=25",
                         "--mapping-report", folder->file("files.pdf")});
        fromReport = run({"--load-report", (SAMPLES / "warehouse.ttr").string(), "--mapping-report",
                          folder->file("report.pdf")});
        // The log files with the certificates and the events in one folder of sources.
        const fs::path sources = folder->path() / "sources";
        fs::copy(SAMPLES / "data", sources);
        fs::copy_file(SAMPLES / CALIBRATION, sources / CALIBRATION);
        writeBytes(sources / EVENTS, "Time,Event,Note\r\n05-Jun-2025 05:40PM,door-open,\r\n"
                                     "05-Jun-2025 06:00PM,door-closed,\r\n");
        withInputs =
            run({"--load-project", (SAMPLES / "warehouse.ttp").string(), "--load-files",
                 "--calibration", (sources / CALIBRATION).string(), "--events",
                 (sources / EVENTS).string(), "--mapping-report", folder->file("inputs.pdf")});
        // An alarm rule, an exclusion, events typed in and a phase left out: inputs the settings
        // text records after the settings and the cells.
        withRecorded = run({"--load-project",
                            (SAMPLES / "warehouse.ttp").string(),
                            "--load-files",
                            "--set",
                            "lowerLimitText=15",
                            "--set",
                            "upperLimitText=25",
                            "--alarm-rule",
                            ALARM_RULE,
                            "--exclude",
                            EXCLUSION,
                            "--event",
                            "phase-start:Loaded@03-Jun-2025 08:00AM",
                            "--event",
                            "phase-end:Loaded@03-Jun-2025 06:00PM",
                            "--event",
                            "door-open@04-Jun-2025 10:00:30AM",
                            "--exclude-phase",
                            "Loaded",
                            "--mapping-report",
                            folder->file("recorded.pdf")});
        fs::current_path(previous);
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }

    static BatchResult run(const std::vector<std::string> &arguments) {
        std::ostringstream out;
        std::ostringstream err;
        BatchTool tool(out, err);
        registerDrawingOptions(tool);
        BatchResult result;
        result.exit = tool.run(arguments);
        result.out = out.str();
        result.err = err.str();
        return result;
    }
    static BatchResult verify(const fs::path &pdf, const fs::path &sources) {
        return run({"--verify-report", pdf.string(), "--sources", sources.string()});
    }
    // A copy of the sample log files to change.
    fs::path copyOfData() const {
        const fs::path copy = dir.path() / "data";
        fs::copy(SAMPLES / "data", copy);
        return copy;
    }
    // A copy of the report from log files (or another) with one text of its bytes replaced.
    fs::path changedPdf(const std::string &from, const std::string &to,
                        const std::string &report = "files.pdf") const {
        std::string bytes = bytesOf(folder->file(report));
        const std::size_t at = bytes.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            bytes.replace(at, from.size(), to);
        const fs::path changed = dir.path() / "changed.pdf";
        writeBytes(changed, bytes);
        return changed;
    }

    static testing::TempDir *folder;
    static BatchResult fromFiles;
    static BatchResult fromReport;
    static BatchResult withInputs;
    static BatchResult withRecorded;
    testing::TempDir dir;
};

testing::TempDir *ReportVerification::folder = nullptr;
BatchResult ReportVerification::fromFiles;
BatchResult ReportVerification::fromReport;
BatchResult ReportVerification::withInputs;
BatchResult ReportVerification::withRecorded;

// The pages of a PDF as "pdftotext -layout" reads them (each ends with a form feed).
std::vector<std::string> pagesOf(const fs::path &pdf) {
    QProcess process;
    process.start("pdftotext", {"-layout", QString::fromStdString(pdf.string()), "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QByteArray output = process.readAllStandardOutput();
    std::vector<std::string> pages;
    std::istringstream in(std::string(output.constData(), static_cast<std::size_t>(output.size())));
    for (std::string page; std::getline(in, page, '\f');)
        pages.push_back(page);
    if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
        pages.pop_back();
    return pages;
}

// Every line OK, one per log file, then the settings and the results.
void expectVerified(const BatchResult &checked, std::size_t sources) {
    EXPECT_EQ(checked.exit, BATCH_OK) << checked.out << checked.err;
    std::istringstream lines(checked.out);
    std::vector<std::string> read;
    for (std::string line; std::getline(lines, line);)
        read.push_back(line);
    ASSERT_EQ(read.size(), sources + 3) << checked.out;
    for (std::size_t i = 0; i + 1 < read.size(); ++i)
        EXPECT_EQ(read[i].rfind("OK ", 0), 0u) << read[i];
    EXPECT_EQ(read[sources], "OK settings");
    EXPECT_EQ(read[sources + 1], "OK results");
    EXPECT_EQ(read.back(), "VERIFIED");
}

TEST_F(ReportVerification, TheSampleJobsReportIsVerifiedFromItsLogFilesAndFromItsReport) {
    ASSERT_EQ(fromFiles.exit, BATCH_OK) << fromFiles.err;
    ASSERT_EQ(fromReport.exit, BATCH_OK) << fromReport.err;
    // 26 positions from 25 files: logger 20417 fills two with its two channels, and a report
    // names the files its records were read from.
    expectVerified(verify(folder->file("files.pdf"), SAMPLES / "data"), 25);
    expectVerified(verify(folder->file("report.pdf"), SAMPLES), 25);
}

TEST_F(ReportVerification, AChangedByteNamesTheFileAndTheResults) {
    const fs::path data = copyOfData();
    std::string log = bytesOf(data / "10231.dta");
    const std::size_t sample = log.find("Data:");
    ASSERT_NE(sample, std::string::npos);
    const std::size_t digit = log.find_first_of("0123456789", log.find(' ', sample + 8) + 1);
    log[digit] = log[digit] == '9' ? '8' : static_cast<char>(log[digit] + 1);
    writeBytes(data / "10231.dta", log);
    const BatchResult checked = verify(folder->file("files.pdf"), data);
    EXPECT_EQ(checked.exit, BATCH_FAILED);
    EXPECT_EQ(checked.out.rfind("CHANGED 10231.dta\n", 0), 0u) << checked.out;
    EXPECT_NE(checked.out.find("\nOK 10232.dta\n"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("\nOK settings\nCHANGED results\nNOT VERIFIED\n"), std::string::npos)
        << checked.out;
}

TEST_F(ReportVerification, CertificatesAndEventsAreSourcesOfTheirOwnThatTheResultsDependOn) {
    ASSERT_EQ(withInputs.exit, BATCH_OK) << withInputs.err;
    const fs::path sources = folder->path() / "sources";
    const BatchResult checked = verify(folder->file("inputs.pdf"), sources);
    expectVerified(checked, 27);
    EXPECT_NE(checked.out.find(".dta\nOK " + CALIBRATION + "\nOK " + EVENTS + "\nOK settings\n"),
              std::string::npos)
        << checked.out;

    // One byte of logger 10231's correction at 20.16: -0.13 instead of -0.03.
    const fs::path copy = dir.path() / "sources";
    fs::copy(sources, copy);
    const std::string certificates = bytesOf(copy / CALIBRATION);
    std::string changed = certificates;
    const std::size_t at = changed.find("10231,CAL-2025-10231,14-Jan-2025,14-Jan-2026,20.16,-0.03");
    ASSERT_NE(at, std::string::npos);
    changed[changed.find("-0.03", at) + 3] = '1';
    writeBytes(copy / CALIBRATION, changed);
    const BatchResult edited = verify(folder->file("inputs.pdf"), copy);
    EXPECT_EQ(edited.exit, BATCH_FAILED);
    EXPECT_NE(edited.out.find("\nCHANGED " + CALIBRATION + "\nOK " + EVENTS +
                              "\nOK settings\nCHANGED results\nNOT VERIFIED\n"),
              std::string::npos)
        << edited.out;
    EXPECT_EQ(edited.out.find("CHANGED 1"), std::string::npos) << "the log files are as they were";

    writeBytes(copy / CALIBRATION, certificates);
    fs::rename(copy / CALIBRATION, copy / ("old-" + CALIBRATION));
    const BatchResult renamed = verify(folder->file("inputs.pdf"), copy);
    EXPECT_EQ(renamed.exit, BATCH_FAILED);
    EXPECT_NE(renamed.out.find("\nMISSING " + CALIBRATION + "\nOK " + EVENTS +
                               "\nOK settings\nMISSING results\nNOT VERIFIED\n"),
              std::string::npos)
        << renamed.out;
}

TEST_F(ReportVerification, RulesExclusionsEventsAndExcludedPhasesAreRecordedAndComputedWith) {
    ASSERT_EQ(withRecorded.exit, BATCH_OK) << withRecorded.err;
    const ManifestRead read = readManifestFromPdf(folder->file("recorded.pdf"));
    ASSERT_TRUE(read.manifest) << read.reason;
    const std::string lines = "alarmRule=" + ALARM_RULE + "\nexclusion=" + EXCLUSION +
                              "\nevent=phase-start:Loaded@03-Jun-2025 08:00AM"
                              "\nevent=phase-end:Loaded@03-Jun-2025 06:00PM"
                              "\nevent=door-open@04-Jun-2025 10:00:30AM"
                              "\nexcludedPhase=Loaded\n";
    const std::string &text = read.manifest->settingsText;
    ASSERT_GT(text.size(), lines.size());
    EXPECT_EQ(text.substr(text.size() - lines.size()), lines) << text;
    expectVerified(verify(folder->file("recorded.pdf"), SAMPLES / "data"), 25);

    // One recorded line edited in the PDF's bytes.
    const BatchResult edited = verify(
        changedPdf("alarmRule=above,23,", "alarmRule=above,24,", "recorded.pdf"), SAMPLES / "data");
    EXPECT_EQ(edited.exit, BATCH_FAILED);
    EXPECT_NE(edited.out.find("\nCHANGED settings\n"), std::string::npos) << edited.out;
    EXPECT_NE(edited.out.find("\nNOT VERIFIED\n"), std::string::npos) << edited.out;

    // One that no longer reads: the manifest is damaged.
    const BatchResult damaged =
        verify(changedPdf("event=door-open@04-Jun", "event=door-ajar@04-Jun", "recorded.pdf"),
               SAMPLES / "data");
    EXPECT_EQ(damaged.exit, BATCH_FAILED);
    EXPECT_EQ(damaged.out, "NOT VERIFIED: the manifest's settings text holds a line that does not "
                           "read: event=door-ajar@04-Jun-2025 10:00:30AM\n");
}

TEST_F(ReportVerification, AReportWithoutThoseInputsRecordsWhatItRecordedBefore) {
    // The settings and results hashes of the sample job's two reports as the program wrote them
    // before the inputs above were recorded: reports made before and after are the same. Only a
    // change of the settings table or of the result texts changes these; say so in its commit.
    const std::pair<std::string, std::pair<const char *, const char *>> reports[] = {
        {"files.pdf",
         {"2753abb1d2d3a06d947994cda0e6867b74927377552e784c35f88e261eaea686",
          "09b7be4caca642a94fcd2dca79e3c24257b59a344e358af78ef9505765a685f8"}},
        {"report.pdf",
         {"2d71d4e1ec84cd0f45eb424f64debc8fb80bb0811981d426a3725f3e38cec95f",
          "811d0871a62e3d75c7197f437d7a40dc0a1b4ac525ba53037948c07a7863edf3"}},
    };
    for (const auto &[name, hashes] : reports) {
        SCOPED_TRACE(name);
        const ManifestRead read = readManifestFromPdf(folder->file(name));
        ASSERT_TRUE(read.manifest) << read.reason;
        EXPECT_EQ(read.manifest->settingsSha256, hashes.first);
        EXPECT_EQ(read.manifest->resultsSha256, hashes.second);
    }
}

TEST_F(ReportVerification, ARenamedSourceIsMissing) {
    const fs::path data = copyOfData();
    fs::rename(data / "10240.dta", data / "10240-old.dta");
    const BatchResult checked = verify(folder->file("files.pdf"), data);
    EXPECT_EQ(checked.exit, BATCH_FAILED);
    EXPECT_NE(checked.out.find("\nMISSING 10240.dta\n"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("\nMISSING results\nNOT VERIFIED\n"), std::string::npos)
        << checked.out;
}

TEST_F(ReportVerification, ALimitChangedInTheXmpChangesTheSettings) {
    const BatchResult checked =
        verify(changedPdf("lowerLimitText=15", "lowerLimitText=16"), SAMPLES / "data");
    EXPECT_EQ(checked.exit, BATCH_FAILED);
    EXPECT_NE(checked.out.find("\nCHANGED settings\n"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("\nNOT VERIFIED\n"), std::string::npos) << checked.out;
}

TEST_F(ReportVerification, ADamagedOrMissingManifestIsNotVerifiedWithTheReason) {
    const std::string pdf = bytesOf(folder->file("files.pdf"));
    const std::size_t hash = pdf.find("<zqar:settingsSha256>");
    ASSERT_NE(hash, std::string::npos);
    const fs::path badHash = changedPdf(pdf.substr(hash, 25), "<zqar:settingsSha256>xyz!");
    const fs::path truncated = dir.path() / "truncated.pdf";
    writeBytes(truncated, pdf.substr(0, pdf.size() / 2));
    const fs::path noManifest = dir.path() / "matrix.pdf";
    const fs::path previous = fs::current_path();
    fs::current_path(SAMPLES.parent_path());
    ASSERT_EQ(run({"--load-report", (SAMPLES / "warehouse.ttr").string(), "--print-matrix",
                   noManifest.string()})
                  .exit,
              BATCH_OK);
    fs::current_path(previous);
    const std::pair<fs::path, std::string> cases[] = {
        {badHash, "NOT VERIFIED: the manifest's settingsSha256 is not a SHA-256 of 64 "
                  "hexadecimal digits\n"},
        {truncated, "NOT VERIFIED: the PDF file is truncated: it does not end with an "
                    "end-of-file marker\n"},
        {noManifest, "NOT VERIFIED: the PDF file "},
        {dir.path() / "nothing.pdf", "NOT VERIFIED: the report file cannot be read\n"},
    };
    for (const auto &[file, expected] : cases) {
        SCOPED_TRACE(file.string());
        const BatchResult checked = verify(file, SAMPLES / "data");
        EXPECT_EQ(checked.exit, BATCH_FAILED);
        EXPECT_EQ(checked.out.rfind(expected, 0), 0u) << checked.out;
    }
}

TEST_F(ReportVerification, TheLastPageIsTheManifestOfTheXmpAndTheTitlePageHasTheSignatures) {
    const ManifestRead read = readManifestFromPdf(folder->file("files.pdf"));
    ASSERT_TRUE(read.manifest) << read.reason;
    const std::vector<std::string> pages = pagesOf(folder->file("files.pdf"));
    ASSERT_GE(pages.size(), 4u);
    // The manifest starts a page and runs to the end.
    std::string last;
    for (auto page = pages.rbegin(); page != pages.rend(); ++page) {
        last = *page + last;
        if (page->find_first_not_of(" \n") == page->find("Manifest"))
            break;
    }
    ASSERT_NE(last.find("Manifest"), std::string::npos) << last;
    for (const std::string &expected :
         {read.manifest->settingsSha256, read.manifest->resultsSha256,
          read.manifest->sources.front().sha256, read.manifest->sources.back().name,
          std::string("Program version"), std::string("lowerLimitText")})
        EXPECT_NE(last.find(expected), std::string::npos) << expected;
    EXPECT_NE(pages.front().find("Prepared by"), std::string::npos) << pages.front();
    // The recorded inputs are listed with the settings.
    const std::vector<std::string> recorded = pagesOf(folder->file("recorded.pdf"));
    ASSERT_FALSE(recorded.empty());
    for (const std::string &expected :
         {std::string("alarmRule"), ALARM_RULE, std::string("excludedPhase"),
          std::string("door-open@04-Jun-2025 10:00:30AM")})
        EXPECT_NE(recorded.back().find(expected), std::string::npos) << expected;
    EXPECT_NE(pages.front().find("Approved the report"), std::string::npos) << pages.front();
}

TEST_F(ReportVerification, TheManifestsHashesAreThoseOfSha256sum) {
    if (!testing::haveProgram("sha256sum"))
        GTEST_SKIP() << "no sha256sum";
    const ManifestRead read = readManifestFromPdf(folder->file("files.pdf"));
    ASSERT_TRUE(read.manifest) << read.reason;
    ASSERT_EQ(read.manifest->sources.size(), 25u);
    for (const ManifestSource &source : read.manifest->sources) {
        const fs::path path = SAMPLES / "data" / source.name;
        const auto printed = testing::commandOutput("sha256sum " + testing::shellQuoted(path));
        ASSERT_TRUE(printed) << path;
        EXPECT_EQ(source.sha256, printed->substr(0, 64)) << path;
        EXPECT_EQ(source.size, fs::file_size(path)) << path;
    }
    const ManifestRead inputs = readManifestFromPdf(folder->file("inputs.pdf"));
    ASSERT_TRUE(inputs.manifest) << inputs.reason;
    ASSERT_EQ(inputs.manifest->sources.size(), 27u);
    for (std::size_t i = 25; i < 27; ++i) {
        const ManifestSource &source = inputs.manifest->sources[i];
        const fs::path path = folder->path() / "sources" / source.name;
        const auto printed = testing::commandOutput("sha256sum " + testing::shellQuoted(path));
        ASSERT_TRUE(printed) << path;
        EXPECT_EQ(source.sha256, printed->substr(0, 64)) << path;
        EXPECT_EQ(source.size, fs::file_size(path)) << path;
    }
    EXPECT_EQ(inputs.manifest->sources[25].name, CALIBRATION);
    EXPECT_EQ(inputs.manifest->sources[25].role, SourceRole::Calibration);
    EXPECT_EQ(inputs.manifest->sources[26].name, EVENTS);
    EXPECT_EQ(inputs.manifest->sources[26].role, SourceRole::Events);
    const ManifestRead report = readManifestFromPdf(folder->file("report.pdf"));
    ASSERT_TRUE(report.manifest) << report.reason;
    const auto printed =
        testing::commandOutput("sha256sum " + testing::shellQuoted(SAMPLES / "warehouse.ttr"));
    ASSERT_TRUE(printed);
    ASSERT_FALSE(report.manifest->sources.empty());
    ASSERT_TRUE(report.manifest->sources[0].takenFrom);
    EXPECT_EQ(report.manifest->sources[0].takenFrom->reportSha256, printed->substr(0, 64));
}

} // namespace
} // namespace zqar
