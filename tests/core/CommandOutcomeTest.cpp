// Commands answer how they ended; the batch tool's exit status follows that answer alone.
#include "pages/layout/logFileCommands.h"
#include "pages/layout/projectFile.h"
#include "platform/ChosenFile.h"
#include "resources/fileTexts.h"
#include "resources/strings.h"

#include "support/BatchRun.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <functional>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;
using DF = DataFilterPage;
using Kind = CommandOutcome::Kind;

namespace {

struct Case {
    const char *what;
    std::function<CommandOutcome()> run;
    CommandOutcome::Kind kind;
    std::string message; // the one message box shown, its text; empty for none
};

class Outcomes : public PageTest {
protected:
    TempDir temp;
};

} // namespace

TEST_F(Outcomes, EachCommandAnswersHowItEnded) {
    const std::string missing = temp.file("missing/x");
    const std::vector<Case> cases = {
        {"calculate at a bad time",
         [&] {
             dataFilter().setText(DF::TIME, "soon");
             return window.dataFilterPage.calculateAtTime();
         },
         Kind::Failed, std::string(text::TIME_FORMAT_MESSAGE)},
        {"calculate at a good time",
         [&] {
             dataFilter().setText(DF::TIME, "05-Nov-2003 10:00AM");
             return window.dataFilterPage.calculateAtTime();
         },
         Kind::Completed, ""},
        {"calculate averaged with no interval",
         [&] {
             dataFilter().setText(DF::AVERAGING_INTERVAL, "0");
             return window.dataFilterPage.calculateAveraged();
         },
         Kind::Failed, std::string(text::INTERVAL_FORMAT_MESSAGE)},
        {"load report cancelled", [&] { return window.loadReport(); }, Kind::Cancelled, ""},
        {"load a missing report",
         [&] {
             host.openAnswers.push_back(missing);
             return window.loadReport();
         },
         Kind::Failed, std::string(text::REPORT_NOT_LOADED)},
        {"create report cancelled", [&] { return window.createReport(); }, Kind::Cancelled, ""},
        {"load files with none to load",
         [&] {
             fileSelection().setText(FS::DIRECTORY, temp.path().string());
             return window.loadFiles();
         },
         Kind::Completed, "26 log files were not loaded."},
        {"load files with a bad date",
         [&] {
             fileSelection().setText(FS::PROJECT_DATE, "someday");
             const CommandOutcome outcome = window.loadFiles();
             fileSelection().setText(FS::PROJECT_DATE, "");
             return outcome;
         },
         Kind::Failed, std::string(text::LOAD_FILES_DATE_MESSAGE)},
        {"copy files into a folder",
         [&] {
             host.folderAnswers.push_back(temp.path().string());
             return copyFiles(window.fileSelectionPage);
         },
         Kind::Completed, "0 log files were copied."},
        {"copy files cancelled", [&] { return copyFiles(window.fileSelectionPage); },
         Kind::Cancelled, ""},
        {"save project into a missing folder",
         [&] {
             host.saveAnswers.push_back(missing);
             return saveProject(window.fileSelectionPage);
         },
         Kind::Failed, std::string(text::PROJECT_NOT_SAVED)},
        {"load project cancelled", [&] { return loadProject(window.fileSelectionPage); },
         Kind::Cancelled, ""},
        {"update layout", [&] { return window.fileSelectionPage.updateLayout(); }, Kind::Completed,
         ""},
        {"export into a missing folder",
         [&] {
             host.saveAnswers.push_back(missing);
             return window.matrixPage.onExport();
         },
         Kind::Failed, std::string(text::EXPORT_FAILED)},
        {"export cancelled", [&] { return window.matrixPage.onExport(); }, Kind::Cancelled, ""},
    };
    for (const Case &c : cases) {
        const CommandOutcome outcome = c.run();
        EXPECT_EQ(outcome.kind, c.kind) << c.what;
        const auto messages = host.takeMessages();
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty()) << c.what;
        } else {
            ASSERT_EQ(messages.size(), 1u) << c.what;
            EXPECT_EQ(messages[0].text, c.message) << c.what;
        }
        // A failure carries the text it showed; nothing else carries one.
        EXPECT_EQ(outcome.message, c.kind == Kind::Failed ? c.message : "") << c.what;
    }
}

TEST(BatchOutcomes, InformationMessagesDoNotEndTheRun) {
    TempDir temp;
    const BatchRun run = runBatch({"--set", "Directory=" + temp.path().string(), "--load-files",
                                   "--copy-files", temp.path().string(), "--update-layout"});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_EQ(run.err, "Load: 26 log files were not loaded.\nCopy: 0 log files were copied.\n");
}

TEST(BatchOutcomes, AFailedExportStopsANumberedExport) {
    TempDir temp;
    // A folder where the first set's file would go.
    std::filesystem::create_directory(temp.file("set1.csv"));
    const BatchRun run =
        runBatch({"--set", "startTimeText=05-Nov-2003 10:00AM", "--set",
                  "finishTimeText=05-Nov-2003 11:00AM", "--set", "averagingIntervalText=20",
                  "--calculate-averaged", "--export-csv", temp.file("set%d.csv")});
    EXPECT_EQ(run.exit, BATCH_FAILED);
    // One message: the loop ends at the first failed set.
    EXPECT_FALSE(std::filesystem::exists(temp.file("set2.csv")));
    EXPECT_EQ(run.err,
              std::string(text::EXPORT_CAPTION) + ": " + std::string(text::EXPORT_FAILED) + "\n");
}

// A command behind a file dialog goes on with the path only when one was chosen, from the
// dialog of its own kind, and answers what the command answered.
TEST(ChosenFile, CancelsWithoutAnAnswerAndOtherwiseRunsOnThePath) {
    platform::MemoryHost host;
    const platform::FileDialogOptions options;
    std::vector<std::string> used;
    auto use = [&used](const std::string &path) {
        used.push_back(path);
        return CommandOutcome::failed(path);
    };
    using platform::FileChoice;
    EXPECT_EQ(platform::withChosenFile(host, FileChoice::Open, options, use).kind, Kind::Cancelled);
    EXPECT_EQ(platform::withChosenFile(host, FileChoice::Save, options, use).kind, Kind::Cancelled);
    EXPECT_TRUE(used.empty());

    host.saveAnswers.push_back("/tmp/saved.csv");
    EXPECT_EQ(platform::withChosenFile(host, FileChoice::Open, options, use).kind, Kind::Cancelled);
    host.openAnswers.push_back("/tmp/opened.csv");
    const CommandOutcome opened = platform::withChosenFile(host, FileChoice::Open, options, use);
    const CommandOutcome saved = platform::withChosenFile(host, FileChoice::Save, options, use);
    EXPECT_EQ(opened.message, "/tmp/opened.csv");
    EXPECT_EQ(saved.message, "/tmp/saved.csv");
    EXPECT_EQ(used, (std::vector<std::string>{"/tmp/opened.csv", "/tmp/saved.csv"}));
}
