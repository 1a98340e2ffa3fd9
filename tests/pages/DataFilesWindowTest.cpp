// The File Selection page in its own window, opened from the menu: typing serial numbers into
// the layout table with the mouse and Tab, the properties of a loaded file on a right click,
// the sample job loaded through the window giving what the batch tool gives, and Import Files.

#include "window/DataFilesWindow.h"
#include "app/MainWindow.h"
#include "qt/QtDialog.h"
#include "qt/QtHost.h"
#include "qt/QtListView.h"
#include "qt/QtMessageBox.h"
#include "support/BatchRun.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "window/ImportPreviewWindow.h"
#include "window/MainWindowShell.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace zqar;
using platform::QtDialog;
using platform::QtListView;
using FS = FileSelectionPage;

namespace {

struct Message {
    std::string caption;
    std::string text;
};

// Answers the next modal file dialog from inside its run with a path.
void answerFileDialog(const std::string &path) {
    QTimer::singleShot(0, [path] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            dialog->selectFile(QString::fromStdString(path));
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
}

class DataFilesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setMessageBoxHook([this](const std::string &text, const std::string &caption) {
            messages.push_back(Message{caption, text});
        });
        window = std::make_unique<MainWindow>(host);
        shell = std::make_unique<MainWindowShell>(*window, host);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
        // Opened as the user does, from the menu at the end of the tab row.
        QMenu *menu = shell->menuButton()->menu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().value(0)->text(), QString("Data Files..."));
        menu->actions().value(0)->trigger();
        ASSERT_NE(shell->dataFilesWindow(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(shell->dataFilesWindow()));
        page = &shell->dataFilesWindow()->page();
        array = page->listWidget(FS::ARRAY_LAYOUT_LIST);
        ASSERT_NE(array, nullptr);
    }
    void TearDown() override {
        shell.reset();
        window.reset();
        platform::setMessageBoxHook(nullptr);
        for (const Message &message : messages)
            ADD_FAILURE() << "unexpected message box " << message.caption << ": " << message.text;
    }

    // A click on a cell of a layout list, with the cursor moved there first as the mouse
    // would move it.
    void clickCell(QtListView *list, int item, int column, Qt::MouseButton button) {
        list->synchronise();
        const QPoint centre =
            list->visualRect(list->QTableWidget::model()->index(item, column)).center();
        QCursor::setPos(list->viewport()->mapToGlobal(centre));
        QTest::mouseClick(list->viewport(), button, Qt::NoModifier, centre);
        QApplication::processEvents();
    }
    // The editor that is open over a cell of the list, or null.
    QLineEdit *openEditor(QtListView *list) const {
        for (QLineEdit *edit : list->viewport()->findChildren<QLineEdit *>("20000"))
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    void click(int id) {
        QTest::mouseClick(page->control(id), Qt::LeftButton);
        QApplication::processEvents();
    }
    void typeInto(int id, const std::string &text) {
        auto *edit = qobject_cast<QLineEdit *>(page->control(id));
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    std::vector<Message> takeMessages() { return std::exchange(messages, {}); }

    zqar::testing::TempDir folder;
    platform::QtHost host;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowShell> shell;
    QtDialog *page = nullptr;
    QtListView *array = nullptr;
    std::vector<Message> messages;
};

} // namespace

TEST_F(DataFilesWindowTest, OpensTheFileSelectionPageBesideTheTabs) {
    DataFilesWindow *files = shell->dataFilesWindow();
    EXPECT_TRUE(files->isWindow());
    EXPECT_FALSE(files->isModal());
    EXPECT_EQ(files->windowTitle(), QString("Data Files"));
    EXPECT_EQ(page, window->fileSelectionPage.isCreated() ? host.dialogOf(window->fileSelectionPage)
                                                          : nullptr);
    EXPECT_EQ(page->size(), QSize(606, 446)) << "404 x 275 dialog units";
    EXPECT_TRUE(page->isVisible());
    // Shown for the first time, its captions must be readable whole.
    for (int id : {FS::USE_SERIAL_NUMBERS, FS::USE_COMMENT_FIELD})
        EXPECT_GE(page->control(id)->width(), page->control(id)->sizeHint().width()) << id;
    // The tabs go on as before, and the page stays where it is.
    shell->tabBar()->setCurrentIndex(TAB_MATRIX);
    shell->resize(800, 640);
    EXPECT_EQ(page->size(), QSize(606, 446));
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(shell->tabBar()->count(), 4);
}

TEST_F(DataFilesWindowTest, TypedSerialNumbersLandInTheirCells) {
    click(FS::USE_SERIAL_NUMBERS);
    ASSERT_TRUE(page->isChecked(FS::USE_SERIAL_NUMBERS));
    clickCell(array, 1, 1, Qt::LeftButton);
    QLineEdit *first = openEditor(array);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->hasFrame());
    EXPECT_EQ(first->geometry(), array->visualRect(array->QTableWidget::model()->index(1, 1)));
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->text(), QString()) << "a cell showing - opens empty";
    QTest::keyClicks(first, "10231");
    QTest::keyClick(first, Qt::Key_Tab);
    QApplication::processEvents();
    QLineEdit *second = openEditor(array);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->geometry(), array->visualRect(array->QTableWidget::model()->index(1, 2)));
    QTest::keyClicks(second, "10232");
    // Elsewhere: the row label of the first row commits and opens nothing.
    clickCell(array, 1, 0, Qt::LeftButton);
    EXPECT_EQ(openEditor(array), nullptr);
    EXPECT_EQ(array->model().itemText(1, 1), "10231");
    EXPECT_EQ(array->model().itemText(1, 2), "10232");
    array->synchronise();
    EXPECT_EQ(array->item(1, 2)->text(), QString("10232"));
    EXPECT_TRUE(shell->dataFilesWindow()->isVisible()) << "Tab and clicks close nothing";
}

TEST_F(DataFilesWindowTest, RightClickOnALoadedCellShowsItsProperties) {
    const std::filesystem::path samples(ZQAR_SAMPLES_DIR);
    std::filesystem::create_directory(folder.path() / "data");
    for (const char *name : {"10231.dta", "10232.dta"})
        std::filesystem::copy_file(samples / "data" / name, folder.path() / "data" / name);
    typeInto(FS::DIRECTORY, folder.file("data"));
    // Comment-field mode: both files name their cells, R1C1 and R1C2.
    click(FS::LOAD_FILES);
    EXPECT_EQ(array->model().itemText(1, 1), "10231");
    EXPECT_EQ(array->model().itemText(1, 2), "10232");
    takeMessages();

    clickCell(array, 1, 2, Qt::RightButton);
    const std::vector<Message> shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u) << "one pop-up per right click";
    EXPECT_EQ(shown[0].caption, "Properties");
    EXPECT_EQ(shown[0].text, "Filename: " + folder.file("data") +
                                 "/10232.dta\r\n"
                                 "Start Time: 02-Jun-2025 12:00AM\r\n"
                                 "End Time: 08-Jun-2025 11:55PM\r\n"
                                 "Sample period: 300\r\nChannel: 1\r\nNumber of Values: 2016\r\n");
    clickCell(array, 2, 1, Qt::RightButton);
    const std::vector<Message> empty = takeMessages();
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].text,
              "File not loaded.\r\nNo log file names this position in its comment lines.");
    EXPECT_EQ(openEditor(array), nullptr);
    // The empty cell is set apart from the loaded ones; the text stays "-".
    array->synchronise();
    const QTableWidgetItem *loaded = array->item(1, 1);
    const QTableWidgetItem *missing = array->item(2, 1);
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->text(), "-");
    EXPECT_TRUE(missing->font().italic());
    EXPECT_FALSE(loaded->font().italic());
    EXPECT_NE(missing->background(), loaded->background());
}

TEST_F(DataFilesWindowTest, SampleJobThroughTheWindowMatchesTheBatchTool) {
    const std::string samples = ZQAR_SAMPLES_DIR;
    answerFileDialog(samples + "/warehouse.ttp");
    click(FS::LOAD_PROJECT);
    EXPECT_EQ(page->text(FS::DIRECTORY), "samples/data");
    // The project names its folder from the repository root; the test runs elsewhere.
    typeInto(FS::DIRECTORY, samples + "/data");
    click(FS::LOAD_FILES);
    EXPECT_EQ(takeMessages().size(), 0u);

    shell->tabBar()->setCurrentIndex(TAB_DATA_FILTER);
    QtDialog *filter = host.dialogOf(window->dataFilterPage);
    QTest::mouseClick(filter->control(DataFilterPage::CALCULATE_AVERAGED), Qt::LeftButton);
    // Four days in 30-minute sets: Load Files proposes the earliest end, that of 10240.
    EXPECT_EQ(filter->text(DataFilterPage::STATUS), "192 sets created.");
    shell->tabBar()->setCurrentIndex(TAB_MATRIX);
    QtDialog *matrix = host.dialogOf(window->matrixPage);
    answerFileDialog(folder.file("window.csv"));
    QTest::mouseClick(matrix->control(MatrixPage::EXPORT), Qt::LeftButton);

    const zqar::testing::BatchRun batch = zqar::testing::runBatch(
        {"--load-project", samples + "/warehouse.ttp", "--set", "Directory=" + samples + "/data",
         "--load-files", "--calculate-averaged", "--export-csv", folder.file("batch.csv")});
    ASSERT_EQ(batch.exit, 0) << batch.err;
    const std::string shown = zqar::testing::fileBytes(folder.file("window.csv"));
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(shown, zqar::testing::fileBytes(folder.file("batch.csv")));
}

// Import Files in the menu, as a new user runs it: several tables chosen at once, the preview
// with a row per file and channel, Import, and the Data Files window showing where they went.
TEST_F(DataFilesWindowTest, ImportFilesInTheMenuPlacesTheChosenTables) {
    const std::string samples = ZQAR_SAMPLES_DIR;
    answerFileDialog(samples + "/imports.ttp");
    click(FS::LOAD_PROJECT);
    shell->dataFilesWindow()->hide();
    QAction *importFiles = nullptr;
    for (QAction *action : shell->menuButton()->menu()->actions())
        if (action->text() == QString("Import Files..."))
            importFiles = action;
    ASSERT_NE(importFiles, nullptr);

    // Each modal window as it comes: the file dialog, then the preview.
    int previewRows = -1;
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
            dialog->setDirectory(QString::fromStdString(samples + "/imports"));
            if (auto *name = dialog->findChild<QLineEdit *>("fileNameEdit"))
                name->setText("\"10231.csv\" \"10234.tsv\" \"20417-export.csv\"");
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto *preview = qobject_cast<ImportPreviewWindow *>(modal)) {
            previewRows = preview->previewTable()->rowCount();
            preview->importButton()->click();
            answer.stop();
        } else if (modal) {
            ADD_FAILURE() << "unexpected modal window";
            modal->close();
            answer.stop();
        }
    });
    answer.start();
    importFiles->trigger();
    answer.stop();

    EXPECT_EQ(previewRows, 4); // the two-channel logger has two rows
    ASSERT_NE(shell->dataFilesWindow(), nullptr);
    EXPECT_TRUE(shell->dataFilesWindow()->isVisible());
    EXPECT_EQ(page->text(FS::STATUS), "3 files were imported.");
    const LoggerArray &array = window->job.loggerArray;
    ASSERT_NE(array.at(0, 0), nullptr);
    EXPECT_EQ(array.at(0, 0)->fileName.str(), samples + "/imports/10231.csv");
    EXPECT_NE(array.at(0, 3), nullptr);
    EXPECT_NE(array.at(5, 3), nullptr);
    ASSERT_NE(array.at(-1, 1), nullptr);
    EXPECT_EQ(array.at(-1, 1)->label(), "20417,2");
    EXPECT_EQ(array.at(0, 1), nullptr);
    // The cells of the loggers not imported keep their serial numbers.
    EXPECT_EQ(window->fileSelectionPage.arrayLayoutList().itemText(1, 2), "10232");
}

TEST_F(DataFilesWindowTest, SaveReportInTheMenuRunsCreateReport) {
    QAction *saveReport = nullptr;
    for (QAction *action : shell->menuButton()->menu()->actions())
        if (action->text() == QString("Save Report..."))
            saveReport = action;
    ASSERT_NE(saveReport, nullptr);
    answerFileDialog(folder.file("job.ttr"));
    saveReport->trigger();
    const std::string report = zqar::testing::fileBytes(folder.file("job/job.ttr"));
    const std::string written =
        report.empty() ? zqar::testing::fileBytes(folder.file("job.ttr")) : report;
    EXPECT_EQ(written.rfind("ZQAR Report File V1.00", 0), 0u);
}
