// The real main window: its tabs, the order its pages are made in, the layout over the tab
// strip, the keys that must not close it, the Help tab and the menu with Undo, Help and About, and
// the mapping report from the menu.

#include "window/MainWindowShell.h"
#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/dateTime.h"
#include "qt/QtDialog.h"
#include "qt/QtHelpViewer.h"
#include "qt/QtHost.h"
#include "qt/QtMessageBox.h"
#include "resources/controlIds.h"
#include "support/TempDir.h"
#include "window/AboutBox.h"
#include "window/CalibrationWindow.h"
#include "window/CompareWindow.h"
#include "window/StatisticsWindow.h"
#include "window/TabStrip.h"
#include "window/TimeSeriesWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace zqar;
using platform::QtDialog;

namespace {

// The real host, with the program's folder in a temp directory that holds a help file, and
// a record of the pages made and the help asked for.
class TestHost : public platform::QtHost {
public:
    explicit TestHost(std::string folder) : folder(std::move(folder)) {}
    void createPage(platform::Page &page) override {
        created.push_back(&page);
        QtHost::createPage(page);
    }
    void showHelp(const std::string &path) override {
        helpPaths.push_back(path);
        QtHost::showHelp(path);
    }
    std::string executableDirectory() override { return folder; }

    std::string folder;
    std::vector<platform::Page *> created;
    std::vector<std::string> helpPaths;
};

class MainWindowShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setMessageBoxHook(
            [this](const std::string &text, const std::string &) { messages.push_back(text); });
        helpFile =
            folder.write("ZQARVemroRO.hlp", "<html><head><title>Test help</title></head>"
                                            "<body><p>How to use the program.</p></body></html>");
        host = std::make_unique<TestHost>(folder.path().string());
        window = std::make_unique<MainWindow>(*host);
        shell = std::make_unique<MainWindowShell>(*window, *host);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
    }
    void TearDown() override {
        shell.reset();
        window.reset();
        host.reset();
        platform::setMessageBoxHook(nullptr);
        EXPECT_TRUE(messages.empty()) << "unexpected message box: " << messages.front();
    }
    QtDialog *dialogOf(const platform::Page &page) const { return host->dialogOf(page); }
    bool shown(const platform::Page &page) const { return dialogOf(page)->isVisible(); }
    void selectTab(int index) { shell->tabBar()->setCurrentIndex(index); }

    zqar::testing::TempDir folder;
    std::string helpFile;
    std::unique_ptr<TestHost> host;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowShell> shell;
    std::vector<std::string> messages;
};

TEST_F(MainWindowShellTest, OpensWithItsCaptionTabsIconAndSize) {
    EXPECT_EQ(shell->windowTitle(), QString("Z-QAR  Vemro"));
    EXPECT_FALSE(shell->windowIcon().isNull());
    QTabBar *tabs = shell->tabBar();
    ASSERT_EQ(tabs->count(), 4);
    const char *names[] = {"Data Filter", "Matrix", "Graph", "Help"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs->tabText(i), QString(names[i]));
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    // The offscreen platform draws no frame, so the outer size is the client size.
    EXPECT_EQ(shell->frameGeometry().size(), QSize(750, 600));
}

TEST_F(MainWindowShellTest, MakesThePagesInOrderAndShowsOnlyDataFilter) {
    const std::vector<platform::Page *> order = {&window->dataFilterPage, &window->matrixPage,
                                                 &window->graphPage, &window->fileSelectionPage};
    EXPECT_EQ(host->created, order);
    for (platform::Page *page : order) {
        ASSERT_NE(dialogOf(*page), nullptr);
        EXPECT_EQ(dialogOf(*page)->parentWidget(), shell.get());
        EXPECT_TRUE(page->isCreated());
    }
    EXPECT_TRUE(shown(window->dataFilterPage));
    EXPECT_FALSE(shown(window->matrixPage));
    EXPECT_FALSE(shown(window->graphPage));
    EXPECT_FALSE(shown(window->fileSelectionPage));
}

TEST_F(MainWindowShellTest, EachTabShowsItsPageAndFileSelectionNever) {
    struct Case {
        int tab;
        const platform::Page *page;
    };
    const Case cases[] = {
        {TAB_MATRIX, &window->matrixPage},
        {TAB_GRAPH, &window->graphPage},
        {TAB_DATA_FILTER, &window->dataFilterPage},
        {TAB_GRAPH, &window->graphPage},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tab);
        selectTab(c.tab);
        EXPECT_EQ(window->currentTab, c.tab);
        for (platform::Page *page : window->pages())
            EXPECT_EQ(shown(*page), page == c.page);
    }
}

TEST_F(MainWindowShellTest, LaysOutTheTabStripAndOnePageRectangleFor800By600) {
    shell->resize(800, 600);
    EXPECT_EQ(shell->tabStrip()->geometry(), QRect(4, 4, 792, 592));
    // Each page starts at tab item 0's left edge and 8 pixels below its bottom edge, in the
    // window's coordinates, and keeps as far from the right and 10 more from the bottom.
    const QRect tab0 = shell->tabStrip()->tabRect(0);
    const int left = 4 + tab0.x();
    const int top = 4 + tab0.y() + tab0.height() + 8;
    const QRect expected(left, top, 792 - 2 * left, 592 - top - 10);
    EXPECT_GT(top, 4 + shell->tabBar()->height()) << "pages lie below the tab row";
    for (platform::Page *page : window->pages()) {
        SCOPED_TRACE(page->templateId);
        EXPECT_EQ(dialogOf(*page)->geometry(), expected);
    }
    // Hidden pages were told their size too, so the matrix lists fit the new page.
    const platform::Rect arrayList =
        dialogOf(window->matrixPage)->controlRect(MatrixPage::ARRAY_LIST);
    EXPECT_EQ(arrayList.width(), expected.width() - 128);
}

TEST_F(MainWindowShellTest, ShrinkingToAlmostNothingLeavesNoNegativeSizes) {
    auto set = std::make_unique<TemperatureSet>(37930.5, 0.0, 6, 4, 2);
    set->setValue(0, 0, 20.0);
    window->job.setList.append(std::move(set));
    selectTab(TAB_GRAPH);
    for (const QSize size : {QSize(30, 30), QSize(1, 1), QSize(120, 40)}) {
        SCOPED_TRACE(size.width());
        shell->resize(size);
        for (platform::Page *page : window->pages()) {
            const QRect area = dialogOf(*page)->geometry();
            EXPECT_GE(area.width(), 0);
            EXPECT_GE(area.height(), 0);
        }
        QWidget *graphArea = dialogOf(window->graphPage)->control(GraphPage::GRAPH_AREA);
        EXPECT_GE(graphArea->width(), 0);
        graphArea->grab(); // paints the set into whatever room is left
        selectTab(TAB_MATRIX);
        selectTab(TAB_GRAPH);
    }
}

TEST_F(MainWindowShellTest, ShrinksNoFurtherThanKeepsEveryControlOfEveryPageInside) {
    shell->resize(300, 200);
    EXPECT_EQ(shell->size(), shell->minimumSize());
    shell->resize(1, 1);
    EXPECT_EQ(shell->size(), shell->minimumSize());
    for (platform::Page *page : window->pages()) {
        SCOPED_TRACE(page->templateId);
        QtDialog *dialog = dialogOf(*page);
        EXPECT_TRUE(shell->rect().contains(dialog->geometry()));
        const auto controls =
            dialog->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_FALSE(controls.empty());
        for (const QWidget *control : controls) {
            // The graph area is a drawing surface that follows the page's size, no control.
            if (control == dialog->control(GraphPage::GRAPH_AREA) && page == &window->graphPage)
                continue;
            SCOPED_TRACE(control->metaObject()->className());
            EXPECT_TRUE(dialog->rect().contains(control->geometry()))
                << control->geometry().x() << "," << control->geometry().y() << " "
                << control->geometry().width() << "x" << control->geometry().height();
        }
    }
    // At the start-up size the Matrix lists keep their whole frame inside their page too.
    shell->resize(750, 600);
    QtDialog *matrix = dialogOf(window->matrixPage);
    for (const int list : {MatrixPage::ARRAY_LIST, MatrixPage::SINGULAR_LIST})
        EXPECT_TRUE(matrix->rect().contains(matrix->control(list)->geometry())) << list;
}

TEST_F(MainWindowShellTest, NavigationButtonsExplainThemselves) {
    struct Case {
        const platform::Page *page;
        int id;
        const char *tip;
    };
    const Case cases[] = {
        {&window->matrixPage, MatrixPage::FIRST, "First set"},
        {&window->matrixPage, MatrixPage::PREVIOUS, "Previous set"},
        {&window->matrixPage, MatrixPage::NEXT, "Next set"},
        {&window->matrixPage, MatrixPage::LAST, "Last set"},
        {&window->graphPage, GraphPage::FIRST, "First set"},
        {&window->graphPage, GraphPage::PREVIOUS, "Previous set"},
        {&window->graphPage, GraphPage::NEXT, "Next set"},
        {&window->graphPage, GraphPage::LAST, "Last set"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(dialogOf(*c.page)->control(c.id)->toolTip(), QString(c.tip));
    }
    EXPECT_TRUE(dialogOf(window->graphPage)
                    ->control(GraphPage::SLIDES)
                    ->toolTip()
                    .startsWith("Play the sets as a slide show"));
    EXPECT_TRUE(dialogOf(window->matrixPage)->control(MatrixPage::EXPORT)->toolTip().isEmpty());
}

TEST_F(MainWindowShellTest, F1OpensHelpFromAnyPage) {
    selectTab(TAB_MATRIX);
    QWidget *list = dialogOf(window->matrixPage)->control(MatrixPage::ARRAY_LIST);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F1);
    ASSERT_EQ(host->helpPaths.size(), 1u);
    EXPECT_EQ(host->helpPaths.back(), helpFile);
    EXPECT_EQ(window->currentTab, TAB_MATRIX);
}

TEST_F(MainWindowShellTest, EnterAndEscapeNeverCloseIt) {
    QWidget *timeEdit = dialogOf(window->dataFilterPage)->control(DataFilterPage::TIME);
    ASSERT_NE(timeEdit, nullptr);
    QWidget *targets[] = {shell.get(), shell->tabBar(), timeEdit};
    for (QWidget *target : targets) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            SCOPED_TRACE(key);
            target->setFocus();
            QTest::keyClick(target, key);
            QApplication::processEvents();
            EXPECT_TRUE(shell->isVisible());
        }
    }
    EXPECT_EQ(window->currentTab, TAB_DATA_FILTER);
}

TEST_F(MainWindowShellTest, HelpTabOpensHelpAndKeepsThePreviousTab) {
    selectTab(TAB_GRAPH);
    selectTab(TAB_HELP);
    EXPECT_EQ(shell->tabBar()->currentIndex(), TAB_GRAPH);
    EXPECT_EQ(window->currentTab, TAB_GRAPH);
    EXPECT_TRUE(shown(window->graphPage));
    ASSERT_EQ(host->helpPaths.size(), 1u);
    EXPECT_EQ(host->helpPaths[0], helpFile);
    ASSERT_NE(host->helpViewer(), nullptr);
    EXPECT_TRUE(host->helpViewer()->isVisible());
    EXPECT_EQ(host->helpViewer()->windowTitle(), QString("Test help"));
    EXPECT_TRUE(host->helpViewer()->browser()->toPlainText().contains("How to use"));
}

TEST_F(MainWindowShellTest, MatrixTabRefillsTheMatrixOnlyWhenTheUserSelectsIt) {
    QtDialog *matrix = dialogOf(window->matrixPage);
    EXPECT_EQ(matrix->text(MatrixPage::STATUS), "");
    selectTab(TAB_MATRIX);
    EXPECT_EQ(matrix->text(MatrixPage::STATUS), "No Data Available.");
    // Back to Matrix through Help is no new selection: the matrix is not written again.
    matrix->setText(MatrixPage::STATUS, "kept");
    selectTab(TAB_HELP);
    EXPECT_EQ(shell->tabBar()->currentIndex(), TAB_MATRIX);
    EXPECT_EQ(matrix->text(MatrixPage::STATUS), "kept");
    selectTab(TAB_GRAPH);
    selectTab(TAB_MATRIX);
    EXPECT_EQ(matrix->text(MatrixPage::STATUS), "No Data Available.");
}

TEST_F(MainWindowShellTest, TabsStayDuringAPrintout) {
    QtDialog *matrix = dialogOf(window->matrixPage);
    {
        const QtDialog::CommandHold hold;
        selectTab(TAB_MATRIX);
        shell->runSystemCommand(SYSTEM_COMMAND_HELP);
    }
    EXPECT_EQ(shell->tabBar()->currentIndex(), TAB_DATA_FILTER);
    EXPECT_EQ(window->currentTab, TAB_DATA_FILTER);
    EXPECT_TRUE(shown(window->dataFilterPage));
    EXPECT_EQ(matrix->text(MatrixPage::STATUS), "") << "the matrix lists were not rewritten";
    EXPECT_TRUE(host->helpPaths.empty());
}

TEST_F(MainWindowShellTest, MenuOffersHelpAndAbout) {
    QMenu *menu = shell->menuButton()->menu();
    ASSERT_NE(menu, nullptr);
    std::vector<QAction *> entries;
    for (QAction *action : menu->actions())
        if (!action->isSeparator())
            entries.push_back(action);
    ASSERT_EQ(entries.size(), 18u);
    // Undo and Redo follow the pictures, each naming its key.
    EXPECT_EQ(entries[6]->text(), QString("Undo\tCtrl+Z"));
    EXPECT_EQ(entries[7]->text(), QString("Redo\tCtrl+Y"));
    entries.erase(entries.begin() + 6, entries.begin() + 8);
    // Import Files comes right after Data Files.
    EXPECT_EQ(entries[0]->text(), QString("Data Files..."));
    EXPECT_EQ(entries[1]->text(), QString("Import Files..."));
    entries.erase(entries.begin() + 1);
    EXPECT_EQ(entries[2]->text(), QString("Recent Files"));
    EXPECT_EQ(entries[2]->menu(), shell->recentFilesMenu());
    EXPECT_EQ(entries[3]->text(), QString("Save Graph Picture..."));
    EXPECT_EQ(entries[4]->text(), QString("Copy Graph Picture"));
    entries.erase(entries.begin() + 2, entries.begin() + 5);
    EXPECT_EQ(entries[2]->text(), QString("Calibration..."));
    entries.erase(entries.begin() + 2);
    EXPECT_EQ(entries[5]->text(), QString("Compare With Report..."));
    entries.erase(entries.begin() + 5);
    EXPECT_EQ(entries[0]->text(), QString("Data Files..."));
    EXPECT_EQ(entries[1]->text(), QString("Save Report..."));
    EXPECT_EQ(entries[2]->text(), QString("Statistics..."));
    EXPECT_EQ(entries[4]->text(), QString("Mapping Report..."));
    EXPECT_EQ(entries[5]->text(), QString("Verify Report..."));
    EXPECT_EQ(entries[6]->text(), QString("Signatures..."));
    EXPECT_EQ(entries[7]->text(), QString("Controlled Study"));
    // The check item is the job's setting, and a change of it goes into the change log.
    // In a controlled study the reason is asked at once.
    ASSERT_TRUE(entries[7]->isCheckable());
    QString prompt;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        prompt = dialog->labelText();
        dialog->setTextValue("audit");
        dialog->accept();
    });
    entries[7]->trigger();
    const JobView view = window->jobView();
    EXPECT_EQ(view.job.setting(JobSetting::ControlledStudy), "Y");
    EXPECT_EQ(prompt, QString("This study is controlled. Why is controlledStudy changed?"));
    ASSERT_FALSE(view.job.changeLog.entries.empty());
    EXPECT_EQ(view.job.changeLog.entries.back().field, "controlledStudy");
    EXPECT_EQ(view.job.changeLog.entries.back().reason, "audit");
    entries.erase(entries.begin() + 4, entries.begin() + 8);
    entries.erase(entries.begin(), entries.begin() + 3);
    EXPECT_EQ(entries[0]->text(), QString("Time Series..."));
    EXPECT_EQ(entries[1]->text(), QString("Help"));
    EXPECT_EQ(entries[2]->text(), QString("&About Z-QAR Vemro..."));
    EXPECT_EQ(shell->timeSeriesWindow(), nullptr);
    entries[0]->trigger();
    ASSERT_NE(shell->timeSeriesWindow(), nullptr);
    EXPECT_TRUE(shell->timeSeriesWindow()->isVisible());
    EXPECT_FALSE(shell->timeSeriesWindow()->isModal());
    shell->timeSeriesWindow()->close();
    entries[1]->trigger();
    EXPECT_EQ(host->helpPaths.size(), 1u);

    // The About box is modal; it is read and closed with its OK button from inside its run.
    QString caption;
    std::vector<QString> lines;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<AboutBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        for (QLabel *label : box->findChildren<QLabel *>())
            if (!label->text().isEmpty())
                lines.push_back(label->text());
        for (QPushButton *button : box->findChildren<QPushButton *>())
            if (button->text() == "OK") {
                QTest::mouseClick(button, Qt::LeftButton);
                closed = true;
            }
        if (!closed)
            box->reject();
    });
    entries[2]->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(caption, QString("About Z-QAR Vemro"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), QString("Version 1.3")), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), QString("Z-QAR Vemro")), lines.end());
}

TEST_F(MainWindowShellTest, AboutCommandIgnoresItsLowFourBits) {
    for (const int command : {16, 17, 31}) {
        SCOPED_TRACE(command);
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<AboutBox *>(QApplication::activeModalWidget())) {
                opened = true;
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        shell->runSystemCommand(command);
        EXPECT_TRUE(opened);
    }
}

TEST_F(MainWindowShellTest, ClosingItEndsTheProgramEvenWithHelpOpen) {
    shell->runSystemCommand(SYSTEM_COMMAND_HELP);
    ASSERT_TRUE(host->helpViewer() && host->helpViewer()->isVisible());
    QTimer::singleShot(0, shell.get(), [this] { shell->close(); });
    // Should the program not end, this ends the run with a code that fails the test.
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QApplication::exit(1); });
    fallback.start(3000);
    EXPECT_EQ(QApplication::exec(), 0);
}

QAction *menuEntry(MainWindowShell &shell, const QString &text) {
    for (QAction *action : shell.menuButton()->menu()->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// Answers the next modal file dialog from inside its run with a path.
void answerFileDialog(const std::string &path) {
    QTimer::singleShot(0, [path] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            dialog->selectFile(QString::fromStdString(path));
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
}

TEST_F(MainWindowShellTest, SampleReportLoadsAndExportsThroughTheRealDialogs) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    answerFileDialog(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr");
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    EXPECT_EQ(filter->text(DataFilterPage::STATUS), "336 sets created.");

    selectTab(TAB_GRAPH);
    QtDialog *graph = dialogOf(window->graphPage);
    graph->control(GraphPage::GRAPH_AREA)->grab();
    EXPECT_EQ(graph->text(GraphPage::STATUS),
              "1 of 336  From 02-Jun-2025 12:00AM to 02-Jun-2025 12:30AM");
    QTest::mouseClick(graph->control(GraphPage::NEXT), Qt::LeftButton);
    graph->control(GraphPage::GRAPH_AREA)->grab();
    EXPECT_EQ(graph->text(GraphPage::STATUS).rfind("2 of 336  ", 0), 0u);
    QApplication::processEvents();
    if (const char *keep = std::getenv("ZQAR_SCREENSHOT_DIR"))
        shell->grab().save(QString("%1/sample-graph.png").arg(keep));

    selectTab(TAB_MATRIX);
    QtDialog *matrix = dialogOf(window->matrixPage);
    EXPECT_EQ(matrix->text(MatrixPage::STATUS).rfind("2 of 336  ", 0), 0u);
    QApplication::processEvents();
    if (const char *keep = std::getenv("ZQAR_SCREENSHOT_DIR"))
        shell->grab().save(QString("%1/sample-matrix.png").arg(keep));

    // Export to a bare name: the dialog adds ".csv", and the file holds the matrix as shown,
    // 6 + 3 lines of the array and one per singular logger.
    answerFileDialog(folder.file("week"));
    QTest::mouseClick(matrix->control(MatrixPage::EXPORT), Qt::LeftButton);
    std::ifstream csv(folder.file("week.csv"), std::ios::binary);
    ASSERT_TRUE(csv.good());
    std::vector<std::string> lines;
    for (std::string line; std::getline(csv, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].rfind(".,.,C1,C2,C3,C4,.", 0), 0u) << lines[0];
    EXPECT_EQ(lines[2].rfind("R1,", 0), 0u);
    EXPECT_EQ(lines[10].rfind("S2,", 0), 0u);
}

TEST_F(MainWindowShellTest, EveryTabDrawsSomething) {
    // ZQAR_SCREENSHOT_DIR keeps a picture of each tab, to look at by eye.
    const char *keep = std::getenv("ZQAR_SCREENSHOT_DIR");
    for (const int tab : {TAB_DATA_FILTER, TAB_MATRIX, TAB_GRAPH}) {
        SCOPED_TRACE(tab);
        selectTab(tab);
        QApplication::processEvents();
        const QImage picture = shell->grab().toImage();
        if (keep)
            picture.save(QString("%1/tab%2.png").arg(keep).arg(tab));
        const QRect page =
            dialogOf(*window->pages()[static_cast<std::size_t>(tab) + 1])->geometry();
        int differing = 0;
        const QRgb background = picture.pixel(page.center());
        for (int y = page.top(); y < page.bottom(); y += 3)
            for (int x = page.left(); x < page.right(); x += 3)
                differing += picture.pixel(x, y) != background;
        EXPECT_GT(differing, 100);
    }
}

} // namespace

// The Statistics window from the menu: a window of its own, its settings written through to
// the window's settings, the table sortable by number, the spots and the map.
TEST_F(MainWindowShellTest, StatisticsWindowShowsTheFiguresOfEachPosition) {
    const double start = dayNumberFromCivil(CivilTime{2003, 11, 5, 10, 0, 0});
    auto record = [start](const char *name, std::vector<double> values) {
        auto log = std::make_unique<LogFile>();
        log->loggerName.assign(name);
        log->startTime.day = start;
        log->samplePeriod = 60.0;
        log->valueCount = static_cast<int32_t>(values.size());
        log->values = std::move(values);
        return log;
    };
    LoggerArray &array = window->job.loggerArray;
    array.place(0, 0, record("a", {20, 21, 22}));
    array.place(0, 1, record("b", {25, 26, 30}));
    array.place(-1, 0, record("c", {10, 12, 14}));
    window->dataFilterPage.dialog().setText(DataFilterPage::START_TIME, "05-Nov-2003 10:00AM");
    window->dataFilterPage.dialog().setText(DataFilterPage::FINISH_TIME, "05-Nov-2003 11:00AM");

    QAction *item = shell->menuButton()->menu()->actions().front();
    item->trigger();
    StatisticsWindow *statistics = shell->showStatistics();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(statistics));
    EXPECT_TRUE(statistics->isWindow());
    EXPECT_FALSE(statistics->isModal());
    EXPECT_EQ(statistics->settingEdit(StatisticsControls::ACTIVATION_ENERGY)->text(),
              QString("83.144"));
    QTest::keyClicks(statistics->settingEdit(StatisticsControls::UPPER_LIMIT), "29");
    EXPECT_EQ(window->job.setting(JobSetting::UpperLimit), "29");

    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    QAbstractItemModel *table = statistics->table()->model();
    ASSERT_EQ(table->rowCount(), 26);
    EXPECT_EQ(table->index(0, 1).data().toString(), QString("a"));
    EXPECT_EQ(table->index(1, 11).data().toString(), QString("1")); // 30 above 29, a minute
    EXPECT_EQ(table->headerData(7, Qt::Horizontal).toString(), QString("Mean (\u00B0C)"));
    EXPECT_EQ(table->headerData(11, Qt::Horizontal).toString(), QString("Minutes Above"));
    EXPECT_EQ(table->index(25, 0).data().toString(), QString("S2"));
    statistics->table()->sortByColumn(7, Qt::DescendingOrder); // Mean
    EXPECT_EQ(table->index(0, 0).data().toString(), QString("R1C2"));
    EXPECT_EQ(table->index(1, 0).data().toString(), QString("R1C1"));
    EXPECT_EQ(table->index(2, 0).data().toString(), QString("S1"));
    const QStringList spots = statistics->spotsLabel()->text().split('\n');
    ASSERT_EQ(spots.size(), 4);
    EXPECT_EQ(spots[0], QString("Warmest position (mean): R1C2 (b)  27.00"));
    EXPECT_EQ(spots[3], QString("Lowest reading: S1 (c)  10.00, 05-Nov-2003 10:00AM"));

    ASSERT_NE(statistics->currentMap(), nullptr);
    statistics->mapChoice()->setCurrentIndex(1);
    EXPECT_EQ(statistics->currentMap()->valueAt(0, 1), 25.0); // Minimum of b

    // The window names the limit that is wrong; the figures shown stay.
    for (const auto &[lower, upper, said] :
         {std::tuple{"40", "29", "Lower Limit must be below Upper Limit"},
          std::tuple{"low", "29", "Lower Limit is not a number"},
          std::tuple{"", "high", "Upper Limit is not a number"}}) {
        window->job.setSetting(JobSetting::LowerLimit, lower);
        window->job.setSetting(JobSetting::UpperLimit, upper);
        EXPECT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Failed);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages.front(), said);
        messages.clear();
        EXPECT_EQ(table->rowCount(), 26);
    }
}

// Figures of the last report must not stay on show, nor be exported, once another job is
// loaded: another report, or a project or log files (which open a job without new records
// of their own making).
TEST_F(MainWindowShellTest, StatisticsWindowForgetsTheFiguresOfTheLastJob) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    const std::string sample = std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr";
    answerFileDialog(sample);
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    ASSERT_EQ(filter->text(DataFilterPage::STATUS), "336 sets created.");
    StatisticsWindow *statistics = shell->showStatistics();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(statistics));
    auto calculated = [&] {
        ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
        EXPECT_EQ(statistics->model()->rowCount(), 26);
        EXPECT_TRUE(statistics->statisticsExportButton()->isEnabled());
        EXPECT_TRUE(statistics->mapExportButton()->isEnabled());
    };
    auto forgotten = [&] {
        EXPECT_EQ(statistics->model()->rowCount(), 0);
        EXPECT_TRUE(statistics->spotsLabel()->text().isEmpty());
        EXPECT_EQ(statistics->currentMap(), nullptr);
        EXPECT_FALSE(statistics->statisticsExportButton()->isEnabled());
        EXPECT_FALSE(statistics->mapExportButton()->isEnabled());
    };
    calculated();
    answerFileDialog(sample);
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    ASSERT_EQ(filter->text(DataFilterPage::STATUS), "336 sets created.");
    forgotten();

    calculated();
    window->job.changed(JobChange::OPENED);
    forgotten();
}

// Without anything loaded the statistics and the mapping report say so, not that the empty
// Start Time on the Data Filter tab is wrong; a wrong limit stops the report before its file
// dialog.
TEST_F(MainWindowShellTest, StatisticsAndTheMappingReportSayWhatIsMissing) {
    StatisticsWindow *statistics = shell->showStatistics();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(statistics));
    EXPECT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Failed);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front(), "No data is loaded: load a report or log files first.");
    messages.clear();

    QAction *report = menuEntry(*shell, "Mapping Report...");
    ASSERT_NE(report, nullptr);
    bool dialogShown = false;
    auto refuseDialogs = [&dialogShown] {
        QTimer::singleShot(0, [&dialogShown] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                dialogShown = true;
                QMetaObject::invokeMethod(dialog, "reject");
            }
        });
    };
    window->job.setSetting(JobSetting::UpperLimit, "high");
    refuseDialogs();
    report->trigger();
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front(), "Upper Limit is not a number");
    messages.clear();
    QApplication::processEvents();
}

// The time fields show the format they take while they are empty.
TEST_F(MainWindowShellTest, TimeFieldsShowAnExampleOfTheirFormat) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    for (const int id :
         {DataFilterPage::TIME, DataFilterPage::START_TIME, DataFilterPage::FINISH_TIME}) {
        auto *edit = qobject_cast<QLineEdit *>(filter->control(id));
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(edit->placeholderText(), QString("02-Jun-2025 06:00AM")) << id;
    }
    auto *minimum = qobject_cast<QLineEdit *>(filter->control(DataFilterPage::MINIMUM_TEMPERATURE));
    ASSERT_NE(minimum, nullptr);
    EXPECT_TRUE(minimum->placeholderText().isEmpty());
}

// "Mapping Report..." asks for the PDF's name (the dialog adds ".pdf" to a bare one) and writes
// the report there; a cancelled dialog writes nothing and says nothing.
TEST_F(MainWindowShellTest, MappingReportFromTheMenuWritesThePdfNamedInItsDialog) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    answerFileDialog(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr");
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    ASSERT_EQ(filter->text(DataFilterPage::STATUS), "336 sets created.");
    QAction *item = nullptr;
    for (QAction *action : shell->menuButton()->menu()->actions())
        if (action->text() == "Mapping Report...")
            item = action;
    ASSERT_NE(item, nullptr);

    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            QMetaObject::invokeMethod(dialog, "reject");
    });
    item->trigger();
    EXPECT_FALSE(std::filesystem::exists(folder.file("mapping.pdf")));

    answerFileDialog(folder.file("mapping"));
    item->trigger();
    std::ifstream pdf(folder.file("mapping.pdf"), std::ios::binary);
    std::string head(4, '\0');
    ASSERT_TRUE(pdf.read(head.data(), 4));
    EXPECT_EQ(head, "%PDF");
}

// Suggest Probes on the sample report: the table of the five, their ranks on the map, the
// instants they were fitted over, and the count kept for the mapping report.
TEST_F(MainWindowShellTest, SuggestProbesListsThemAndMarksTheMapByRank) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    answerFileDialog(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr");
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    ASSERT_EQ(filter->text(DataFilterPage::STATUS), "336 sets created.");
    StatisticsWindow *statistics = shell->showStatistics();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(statistics));
    EXPECT_EQ(statistics->probeCountBox()->value(), 5);
    EXPECT_TRUE(statistics->mapMarks().empty());

    ASSERT_EQ(statistics->suggestProbes().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(window->job.probeCount, 5);
    QStandardItemModel *probes = statistics->probeModel();
    ASSERT_EQ(probes->rowCount(), 5);
    EXPECT_EQ(probes->headerData(3, Qt::Horizontal).toString(), QString("Reason"));
    EXPECT_EQ(probes->index(0, 3).data().toString(), QString("highest reading"));
    const std::vector<PositionMark> marks = statistics->mapMarks();
    ASSERT_EQ(marks.size(), 5u);
    for (std::size_t rank = 0; rank < marks.size(); ++rank) {
        EXPECT_EQ(marks[rank].text, std::to_string(rank + 1));
        EXPECT_EQ(positionName(marks[rank].row, marks[rank].col),
                  probes->index(static_cast<int>(rank), 1).data().toString().toStdString());
    }
    EXPECT_TRUE(statistics->probesNoteLabel()->text().startsWith("Fitted over the averaged sets"))
        << statistics->probesNoteLabel()->text().toStdString();

    // A reference typed in: the probes are fitted over the qualification's instants.
    QTest::keyClicks(statistics->settingEdit(StatisticsControls::REFERENCE_POSITION), "R3C2");
    ASSERT_EQ(statistics->suggestProbes().kind, CommandOutcome::Kind::Completed);
    EXPECT_TRUE(statistics->probesNoteLabel()->text().startsWith(
        "Fitted over the qualification's reading instants"))
        << statistics->probesNoteLabel()->text().toStdString();
    ASSERT_EQ(probes->rowCount(), 5);
    QApplication::processEvents();
    if (const char *keep = std::getenv("ZQAR_SCREENSHOT_DIR"))
        statistics->grab().save(QString("%1/probes.png").arg(keep));

    // New records take the probes of the old ones away.
    window->job.changed(JobChange::RECORDS);
    EXPECT_TRUE(statistics->mapMarks().empty());
    EXPECT_EQ(probes->rowCount(), 0);
}

// "Compare With Report..." with the loaded report itself: every difference zero, both spots
// persistent, and the time series of both studies on one axis.
TEST_F(MainWindowShellTest, CompareWithReportShowsTheDifferencesOfEachPosition) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    const std::string sample = std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr";
    answerFileDialog(sample);
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    QAction *item = menuEntry(*shell, "Compare With Report...");
    ASSERT_NE(item, nullptr);

    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            QMetaObject::invokeMethod(dialog, "reject");
    });
    item->trigger();
    ASSERT_NE(shell->compareWindow(), nullptr);
    EXPECT_FALSE(shell->compareWindow()->isVisible());

    answerFileDialog(sample);
    item->trigger();
    CompareWindow *compare = shell->compareWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(compare));
    QStandardItemModel *differences = compare->differencesModel();
    ASSERT_EQ(differences->rowCount(), 26);
    ASSERT_EQ(differences->columnCount(), 13);
    EXPECT_EQ(differences->headerData(6, Qt::Horizontal).toString(), QString("Mean"));
    for (int row = 0; row < differences->rowCount(); ++row)
        for (int column = 1; column < differences->columnCount(); ++column) {
            const QString delta = differences->index(row, column).data().toString();
            EXPECT_TRUE(delta == "-" || delta.toDouble() == 0.0) << delta.toStdString();
        }
    ASSERT_EQ(compare->spotsModel()->rowCount(), 2);
    EXPECT_EQ(compare->spotsModel()->index(0, 3).data().toString(), QString("Yes"));
    EXPECT_EQ(compare->matchingLabel()->text(),
              QString("Every position with a logger in one study has one in the other."));
    EXPECT_EQ(compare->seriesChoice()->count(), 27);
    ASSERT_EQ(compare->seriesShown().lines.size(), 2u);
    EXPECT_EQ(compare->seriesShown().lines[0].label.rfind("A R1C1 ", 0), 0u);
    EXPECT_EQ(compare->seriesShown().lines[1].label.rfind("B R1C1 ", 0), 0u);
    compare->seriesChoice()->setCurrentIndex(0);
    EXPECT_EQ(compare->seriesShown().lines.size(), 52u);
    ASSERT_NE(compare->differenceMapShown().set, nullptr);
    EXPECT_EQ(compare->differenceMapShown().set->valueAt(0, 0), 0.0);
    if (const char *keep = std::getenv("ZQAR_SCREENSHOT_DIR"))
        for (int tab = 0; tab < compare->tabWidget()->count(); ++tab) {
            compare->tabWidget()->setCurrentIndex(tab);
            QApplication::processEvents();
            compare->grab().save(QString("%1/compare-%2.png").arg(keep).arg(tab));
        }
}
// The sample report with the sample certificates loaded in the Calibration window: the points,
// the status of every placed logger, and the maps of the corrected readings.
TEST_F(MainWindowShellTest, CalibrationWindowLoadsTheCertificatesAndShowsTheStatus) {
    QtDialog *filter = dialogOf(window->dataFilterPage);
    answerFileDialog(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr");
    QTest::mouseClick(filter->control(DataFilterPage::LOAD_REPORT), Qt::LeftButton);
    ASSERT_EQ(window->job.setList.count(), 336);
    const double rawMean = window->job.setList.at(0)->valueAt(0, 0);

    CalibrationWindow *calibration = shell->showCalibration();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(calibration));
    EXPECT_EQ(calibration->pointsTable()->rowCount(), 0);
    answerFileDialog(std::string(ZQAR_SAMPLES_DIR) + "/warehouse-calibration.csv");
    ASSERT_EQ(calibration->load().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(calibration->pointsTable()->rowCount(), 74);
    QTableWidget *status = calibration->statusTable();
    ASSERT_EQ(status->rowCount(), 26);
    EXPECT_EQ(status->item(9, 0)->text(), QString("R3C2"));
    EXPECT_EQ(status->item(9, 7)->text(), QString("due before the finish"));
    EXPECT_EQ(status->item(24, 7)->text(), QString("no certificate"));
    EXPECT_TRUE(calibration->fileLabel()->text().contains("warehouse-calibration.csv"));

    // The sets are calculated again from the corrected readings, the set on show kept; clearing
    // the table brings the raw readings back.
    EXPECT_EQ(window->job.setList.count(), 336);
    EXPECT_NE(window->job.setList.at(0)->valueAt(0, 0), rawMean);
    calibration->clear();
    EXPECT_EQ(calibration->pointsTable()->rowCount(), 0);
    EXPECT_EQ(window->job.calibration(), nullptr);
    EXPECT_EQ(window->job.setList.at(0)->valueAt(0, 0), rawMean);
}
