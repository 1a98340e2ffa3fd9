// A report or project named on the window program's command line: opened once the window
// shows, as Load Report and Load Project open the file chosen in their dialogs.

#include "app/MainWindow.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "qt/QtDialog.h"
#include "qt/QtHost.h"
#include "qt/QtMessageBox.h"
#include "resources/fileTexts.h"
#include "resources/strings.h"
#include "support/TempDir.h"
#include "window/MainWindowShell.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace zqar;
using platform::QtDialog;

namespace {

const std::string SAMPLE_REPORT = std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr";
const std::string SAMPLE_PROJECT = std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttp";

struct Message {
    std::string text;
    std::string caption;
};

class CommandLineFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setMessageBoxHook([this](const std::string &text, const std::string &caption) {
            messages.push_back({text, caption});
        });
        window = std::make_unique<MainWindow>(host);
        shell = std::make_unique<MainWindowShell>(*window, host);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
    }
    void TearDown() override {
        shell.reset();
        window.reset();
        platform::setMessageBoxHook(nullptr);
    }
    // As main does it: the file is opened from the event loop, after the window shows.
    void startWith(const std::string &path) {
        shell->openFileWhenShown(path);
        QApplication::processEvents();
    }
    QtDialog *filter() const { return host.dialogOf(window->dataFilterPage); }
    QtDialog *layout() const { return host.dialogOf(window->fileSelectionPage); }

    platform::QtHost host;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowShell> shell;
    std::vector<Message> messages;
};

TEST_F(CommandLineFileTest, SampleReportFillsThePagesAndMakesItsSets) {
    startWith(SAMPLE_REPORT);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(filter()->text(DataFilterPage::STATUS), "336 sets created.");
    EXPECT_FALSE(filter()->text(DataFilterPage::START_TIME).empty());
    EXPECT_FALSE(filter()->text(DataFilterPage::FINISH_TIME).empty());
    EXPECT_EQ(layout()->text(FileSelectionPage::PROJECT_NUMBER), "W-2025");
    EXPECT_EQ(window->job.setList.count(), 336);
    EXPECT_TRUE(shell->isVisible());
}

TEST_F(CommandLineFileTest, SampleProjectFillsTheFileSelectionPage) {
    startWith(SAMPLE_PROJECT);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(layout()->text(FileSelectionPage::PROJECT_NUMBER), "W-2025");
    EXPECT_EQ(layout()->text(FileSelectionPage::DIRECTORY), "samples/data");
    // A project holds no sets: the Data Filter page is left alone.
    EXPECT_EQ(filter()->text(DataFilterPage::STATUS), "");
    EXPECT_TRUE(shell->isVisible());
}

TEST_F(CommandLineFileTest, ProjectExtensionIsMatchedInAnyCase) {
    zqar::testing::TempDir folder;
    std::ifstream sample(SAMPLE_PROJECT, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(sample), {}};
    startWith(folder.write("WAREHOUSE.TTP", bytes));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(layout()->text(FileSelectionPage::PROJECT_NUMBER), "W-2025");
}

TEST_F(CommandLineFileTest, AFileThatCannotBeUsedShowsItsCommandsMessageAndChangesNothing) {
    zqar::testing::TempDir folder;
    const std::string notAReport = folder.write("notes.ttr", "Just some notes\n");
    const std::string otherName = folder.write("notes.txt", "Just some notes\n");
    const std::string cutReport = [&] {
        std::ifstream sample(SAMPLE_REPORT, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(sample), {}};
        return folder.write("cut.ttr", bytes.substr(0, bytes.size() / 2));
    }();
    struct Case {
        std::string path;
        std::string_view message;
        std::string_view caption;
    };
    const Case cases[] = {
        {folder.path().string() + "/missing.ttr", text::REPORT_NOT_LOADED,
         text::LOAD_REPORT_CAPTION},
        {notAReport, text::REPORT_BAD_FORMAT, text::LOAD_REPORT_CAPTION},
        {otherName, text::REPORT_BAD_FORMAT, text::LOAD_REPORT_CAPTION},
        {cutReport, text::REPORT_BAD_FORMAT, text::LOAD_REPORT_CAPTION},
        {folder.path().string(), text::REPORT_NOT_LOADED, text::LOAD_REPORT_CAPTION},
        {folder.path().string() + "/missing.ttp", text::PROJECT_NOT_LOADED,
         text::LOAD_PROJECT_CAPTION},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        messages.clear();
        startWith(c.path);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.message);
        EXPECT_EQ(messages[0].caption, c.caption);
        EXPECT_TRUE(shell->isVisible());
        EXPECT_EQ(filter()->text(DataFilterPage::STATUS), "");
        EXPECT_EQ(layout()->text(FileSelectionPage::PROJECT_NUMBER), "");
        EXPECT_EQ(window->job.setList.count(), 0);
    }
}

TEST_F(CommandLineFileTest, NothingHappensBeforeTheEventLoopRuns) {
    shell->openFileWhenShown(SAMPLE_REPORT);
    EXPECT_EQ(filter()->text(DataFilterPage::STATUS), "");
    QApplication::processEvents();
    EXPECT_EQ(filter()->text(DataFilterPage::STATUS), "336 sets created.");
}

} // namespace
