// The host on the screen: file dialogs set up from their options, the folder they start in,
// page timers and the help viewer.

#include "qt/QtHost.h"
#include "platform/Page.h"
#include "qt/QtDialog.h"
#include "qt/QtHelpViewer.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using namespace zqar::platform;

namespace {

TEST(QtHostFileDialog, TakesFilterExtensionAndPromptsFromTheOptions) {
    zqar::testing::TempDir folder;
    FileDialogOptions save;
    save.title = "Export Data";
    save.filterDescription = "CSV Files *.csv";
    save.filterPattern = "*.csv";
    save.defaultExtension = "csv";
    save.promptOverwrite = true;
    save.pathMustExist = true;
    QFileDialog dialog;
    QtHost::configureFileDialog(dialog, save, true, folder.path().string());
    EXPECT_EQ(dialog.windowTitle(), QString("Export Data"));
    EXPECT_EQ(dialog.nameFilters(), QStringList{"CSV Files *.csv (*.csv)"});
    EXPECT_EQ(dialog.defaultSuffix(), QString("csv"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(),
              QDir(QString::fromStdString(folder.path().string())).canonicalPath());

    FileDialogOptions open;
    open.title = "Locate Report Files";
    open.filterDescription = "Z-QAR Vemro Report Files *.ttr";
    open.filterPattern = "*.ttr";
    open.defaultExtension = "ttr";
    open.mustExist = true;
    open.initialDirectory = folder.path().string();
    QFileDialog openDialog;
    QtHost::configureFileDialog(openDialog, open, false, "/nonexistent-start");
    EXPECT_EQ(openDialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(openDialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(QDir(openDialog.directory()).canonicalPath(),
              QDir(QString::fromStdString(folder.path().string())).canonicalPath())
        << "the options' folder wins over the host's";
}

// Answers the next modal file dialog from inside its run: a name to type, or cancel.
void answerFileDialog(const QString &name) {
    QTimer::singleShot(0, [name] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (name.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

TEST(QtHostFileDialog, AddsTheDefaultExtensionAndLaterDialogsStartWhereItEnded) {
    zqar::testing::TempDir folder;
    const std::filesystem::path chosenFolder = folder.path() / "exports";
    std::filesystem::create_directory(chosenFolder);
    QtHost host;
    host.setCurrentDirectory(folder.path().string());
    FileDialogOptions save;
    save.title = "Export Data";
    save.filterDescription = "CSV Files *.csv";
    save.filterPattern = "*.csv";
    save.defaultExtension = "csv";
    save.pathMustExist = true;

    answerFileDialog(QString::fromStdString((chosenFolder / "profile").string()));
    const std::optional<std::string> chosen = host.saveFile(save);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (chosenFolder / "profile.csv").string());
    EXPECT_EQ(host.currentDirectory(), chosenFolder.string());

    // A cancelled dialog answers nothing and leaves the folder as it was.
    answerFileDialog(QString());
    EXPECT_FALSE(host.saveFile(save).has_value());
    EXPECT_EQ(host.currentDirectory(), chosenFolder.string());
}

TEST(QtHostFileDialog, OpensSeveralFilesWhateverTheCaseOfTheirExtensions) {
    zqar::testing::TempDir folder;
    for (const char *name : {"a.csv", "B.CSV", "c.Txt", "d.dta"})
        folder.write(name, "x");
    QtHost host;
    FileDialogOptions options;
    options.title = "Import Files";
    options.filterDescription = "Exported Tables *.csv *.txt *.tsv";
    options.filterPattern = "*.csv *.txt *.tsv";
    options.initialDirectory = folder.path().string();
    options.mustExist = true;
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        // The files the dialog lists, once its model has read the folder.
        auto *view = dialog->findChild<QAbstractItemView *>("listView");
        if (view && QTest::qWaitFor(
                        [view] { return view->model()->rowCount(view->rootIndex()) >= 3; }, 5000))
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                shown.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
        // Two names typed, as the dialog writes a selection of several.
        if (auto *name = dialog->findChild<QLineEdit *>("fileNameEdit"))
            name->setText("\"a.csv\" \"B.CSV\"");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::vector<std::string> chosen = host.openFiles(options);
    shown.sort();
    EXPECT_EQ(shown, QStringList({"B.CSV", "a.csv", "c.Txt"}));
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0], folder.file("a.csv"));
    EXPECT_EQ(chosen[1], folder.file("B.CSV"));
    EXPECT_EQ(host.currentDirectory(), folder.path().string());

    answerFileDialog(QString());
    EXPECT_TRUE(host.openFiles(options).empty());
}

TEST(QtHostFileDialog, NeverStartsOnAKernelFileSystem) {
    zqar::testing::TempDir folder;
    setenv(START_DIRECTORY_VARIABLE, folder.path().string().c_str(), 1);
    const QString start = QDir(QString::fromStdString(folder.path().string())).canonicalPath();
    struct Case {
        const char *asked;     // the options' folder
        const char *hostsLast; // the folder the last dialog ended in
    };
    const Case cases[] = {{"/proc", ""}, {"", "/proc"}, {"/sys/kernel", "/proc"}, {"/dev", ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.asked) + " | " + c.hostsLast);
        FileDialogOptions options;
        options.initialDirectory = c.asked;
        QFileDialog dialog;
        QtHost::configureFileDialog(dialog, options, true, c.hostsLast);
        EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), start);
    }

    // A file chosen there (an export that then fails) does not move the next dialog there.
    QtHost host;
    FileDialogOptions save;
    answerFileDialog("/proc/zz.csv");
    ASSERT_TRUE(host.saveFile(save).has_value());
    EXPECT_EQ(host.currentDirectory(), folder.path().string());
    unsetenv(START_DIRECTORY_VARIABLE);
}

TEST(QtHostFolders, StartInTheFolderTheEnvironmentNames) {
    zqar::testing::TempDir folder;
    setenv(START_DIRECTORY_VARIABLE, folder.path().string().c_str(), 1);
    EXPECT_EQ(QtHost().currentDirectory(), folder.path().string());
    // A folder that does not exist is no place to start: the working directory is.
    setenv(START_DIRECTORY_VARIABLE, (folder.path() / "missing").string().c_str(), 1);
    EXPECT_EQ(QtHost().currentDirectory(), QDir::currentPath().toStdString());
    unsetenv(START_DIRECTORY_VARIABLE);
    EXPECT_EQ(QtHost().currentDirectory(), QDir::currentPath().toStdString());
}

class TickingPage : public Page {
public:
    TickingPage() : Page(999) {}
    void timer(int id) override { ticks.push_back(id); }
    std::vector<int> ticks;
};

TEST(QtHostTimers, TickUntilThePageWindowGoes) {
    QtHost host;
    TickingPage page;
    DialogTemplate empty;
    auto *dialog = new QtDialog(empty, page);
    host.startTimer(page, 42, 5);
    host.startTimer(page, 42, 5); // again: the same timer, not a second one
    QTest::qWait(60);
    ASSERT_FALSE(page.ticks.empty());
    EXPECT_EQ(page.ticks.front(), 42);
    EXPECT_EQ(dialog->findChildren<QTimer *>().size(), 1);
    delete dialog;
    const std::size_t before = page.ticks.size();
    QTest::qWait(30);
    EXPECT_EQ(page.ticks.size(), before);
}

TEST(QtHostTimers, WaitDuringPendingInputHandling) {
    // A printout hands waiting input to the window; the slide show must not step meanwhile.
    QtHost host;
    TickingPage page;
    DialogTemplate empty;
    QtDialog dialog(empty, page);
    host.startTimer(page, 42, 1);
    QTest::qWait(20);
    page.ticks.clear();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30)
        host.processPendingInput();
    EXPECT_TRUE(page.ticks.empty());
    QTest::qWait(20);
    EXPECT_FALSE(page.ticks.empty()) << "the timer runs on afterwards";
}

TEST(QtHostHelp, ShowsTheHelpFileAndSaysNothingWhenItIsMissing) {
    zqar::testing::TempDir folder;
    QtHost host;
    host.showHelp(folder.file("ZQARVemroRO.hlp"));
    EXPECT_TRUE(host.helpViewer() == nullptr || !host.helpViewer()->isVisible());
    host.showHelp(folder.write("plain.hlp", "Plain words <not a tag> & more\n"));
    ASSERT_NE(host.helpViewer(), nullptr);
    EXPECT_TRUE(host.helpViewer()->isVisible());
    EXPECT_EQ(host.helpViewer()->browser()->toPlainText(),
              QString("Plain words <not a tag> & more\n"));
}

TEST(QtHostHelp, TheProgramsHelpFileReadsAsAGuideToEveryTab) {
    QtHelpViewer viewer;
    ASSERT_TRUE(viewer.open(ZQAR_HELP_SOURCE));
    EXPECT_FALSE(viewer.browser()->documentTitle().isEmpty());
    const QString text = viewer.browser()->toPlainText();
    for (const char *topic : {"Data Filter", "Matrix", "Graph", "Help", ".dta", ".ttr", ".ttp",
                              "CSV", "Loggers on boundary"}) {
        SCOPED_TRACE(topic);
        EXPECT_TRUE(text.contains(topic));
    }
}

TEST(QtHelpViewerPlace, BesideTheMainWindowWhereTheScreenHasRoom) {
    const QRect screen(0, 0, 1400, 1000);
    const QSize wanted(640, 560);
    struct Case {
        const char *situation;
        QRect mainFrame;
        QRect expected;
    };
    const Case cases[] = {
        {"room on the right", QRect(0, 0, 750, 600), QRect(754, 0, 640, 560)},
        {"room on the left only", QRect(700, 100, 700, 600), QRect(56, 100, 640, 560)},
        {"neither side wide enough: the wider side, narrowed", QRect(300, 50, 750, 600),
         QRect(1054, 50, 346, 560)},
        {"no room at all: over the main window at the screen's right edge",
         QRect(100, 0, 1200, 900), QRect(760, 0, 640, 560)},
        {"low on the screen: moved up to stay whole", QRect(0, 700, 750, 300),
         QRect(754, 440, 640, 560)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(helpViewerPlace(c.mainFrame, screen, wanted, 300), c.expected);
    }
    // A screen smaller than the viewer: it fits the screen.
    EXPECT_EQ(helpViewerPlace(QRect(0, 0, 750, 600), QRect(0, 0, 800, 480), wanted, 300),
              QRect(160, 0, 640, 480));
}

TEST(QtHelpViewer, BackAndForwardFollowTheLinksAndCloseHidesIt) {
    QtHelpViewer viewer;
    ASSERT_TRUE(viewer.open(ZQAR_HELP_SOURCE));
    viewer.show();
    EXPECT_FALSE(viewer.backButton()->isEnabled());
    EXPECT_FALSE(viewer.forwardButton()->isEnabled());
    const QUrl page = viewer.browser()->source();
    ASSERT_EQ(page, QUrl::fromLocalFile(QFileInfo(ZQAR_HELP_SOURCE).absoluteFilePath()));

    // What a click on a contents link does.
    QUrl section = page;
    section.setFragment("matrix");
    viewer.browser()->setSource(section);
    EXPECT_TRUE(viewer.backButton()->isEnabled());
    viewer.backButton()->click();
    EXPECT_EQ(viewer.browser()->source(), page);
    EXPECT_FALSE(viewer.backButton()->isEnabled());
    EXPECT_TRUE(viewer.forwardButton()->isEnabled());
    viewer.forwardButton()->click();
    EXPECT_EQ(viewer.browser()->source(), section);

    // Opening the file again starts a fresh history.
    ASSERT_TRUE(viewer.open(ZQAR_HELP_SOURCE));
    EXPECT_FALSE(viewer.backButton()->isEnabled());
    EXPECT_FALSE(viewer.forwardButton()->isEnabled());

    viewer.closeButton()->click();
    EXPECT_FALSE(viewer.isVisible());
}

} // namespace
