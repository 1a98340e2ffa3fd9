#include "app/MainWindow.h"
#include "resources/templates.h"

#include "support/PageHarness.h"

using namespace zqar;
using namespace zqar::testing;

namespace {

class Window : public PageTest {
protected:
    struct Shown {
        bool dataFilter, matrix, graph, fileSelection;
        bool operator==(const Shown &o) const {
            return dataFilter == o.dataFilter && matrix == o.matrix && graph == o.graph &&
                   fileSelection == o.fileSelection;
        }
    };
    Shown shown() {
        return Shown{host.isPageShown(window.dataFilterPage), host.isPageShown(window.matrixPage),
                     host.isPageShown(window.graphPage),
                     host.isPageShown(window.fileSelectionPage)};
    }
};

} // namespace

TEST_F(Window, StartsOnTheDataFilterPageWithTheSlideTimer) {
    EXPECT_EQ(window.currentTab, TAB_DATA_FILTER);
    EXPECT_TRUE(shown() == (Shown{true, false, false, false}));
    ASSERT_EQ(host.timers.size(), 1u);
    EXPECT_EQ(host.timers[0].page, &window.graphPage);
    EXPECT_EQ(host.timers[0].id, 42);
    EXPECT_EQ(host.timers[0].intervalMs, 200);
    // Update Layout at start-up reached the Matrix page, so that page was made first.
    EXPECT_EQ(window.matrixPage.arrayList().itemCount(), 9);
}

TEST_F(Window, TabsShowTheirPagesAndHelpKeepsThePreviousTab) {
    EXPECT_EQ(window.tabChanged(TAB_GRAPH), TAB_GRAPH);
    EXPECT_TRUE(shown() == (Shown{false, false, true, false}));
    EXPECT_EQ(window.tabChanged(TAB_HELP), TAB_GRAPH);
    EXPECT_EQ(window.currentTab, TAB_GRAPH);
    EXPECT_TRUE(shown() == (Shown{false, false, true, false}));
    ASSERT_EQ(host.helpRequests.size(), 1u);
    EXPECT_EQ(host.helpRequests[0], host.executableDirectory() + "/ZQARVemroRO.hlp");
    EXPECT_EQ(window.tabChanged(TAB_DATA_FILTER), TAB_DATA_FILTER);
    EXPECT_TRUE(shown() == (Shown{true, false, false, false}));
}

TEST_F(Window, SelectingTheMatrixTabRefillsTheMatrix) {
    window.job.setList.append(std::make_unique<TemperatureSet>(novemberFifth(10, 0), 0.0, 6, 4, 2));
    EXPECT_EQ(window.tabChanged(TAB_MATRIX), TAB_MATRIX);
    EXPECT_EQ(matrix().text(MatrixPage::STATUS), "1 of 1  Time: 05-Nov-2003 10:00AM");
    matrix().setText(MatrixPage::STATUS, "");
    // Back to the matrix through Help: no notification, no refill.
    window.tabChanged(TAB_HELP);
    EXPECT_EQ(matrix().text(MatrixPage::STATUS), "");
}

TEST_F(Window, PagesShareOneRectangleBelowTheTabRow) {
    const platform::Rect strip = WindowLayout::tabStripRect(800, 600);
    EXPECT_EQ(strip, (platform::Rect{4, 4, 796, 596}));
    // A tab strip drawn without a border: its client area is its whole window, 792 x 592,
    // and tab item 0 sits at (2, 2) to (60, 22) in it.
    const platform::Rect page = WindowLayout::pageRect(platform::Rect{2, 2, 60, 22}, {4, 4},
                                                       {strip.width(), strip.height()});
    // P = (2 + 4, 22 + 8 + 4): the page starts there, P.x + 4 inside the strip's right
    // edge and 14 pixels above its bottom edge.
    EXPECT_EQ(page, (platform::Rect{6, 34, 6 + 792 - 12, 34 + 592 - 34 - 10}));
    EXPECT_EQ(strip.right - page.right, 6 + 4);
    EXPECT_EQ(strip.bottom - page.bottom, 14);
}

TEST_F(Window, SystemMenuCommandsIgnoreTheirLowFourBits) {
    for (int low : {0, 1, 7, 15}) {
        SCOPED_TRACE(low);
        EXPECT_EQ(window.systemCommand(16 | low), SystemCommandAction::ShowAbout);
        EXPECT_EQ(window.systemCommand(0xF060 | low), SystemCommandAction::Default);
    }
    EXPECT_EQ(window.systemCommand(32 | 3), SystemCommandAction::Handled);
    EXPECT_EQ(host.helpRequests.size(), 1u);
}

TEST(DialogTemplates, ControlsConvertToPixelsWithTheBaseUnits) {
    platform::MemoryDialog graph(dialogTemplate(GRAPH_TEMPLATE));
    // 10, 22, 383 x 242 dialog units.
    EXPECT_EQ(graph.controlRect(1002), (platform::Rect{15, 35, 15 + 574, 35 + 393}));
    EXPECT_FALSE(graph.isEnabled(1002));
    EXPECT_EQ(graph.clientSize().width, 606);
    platform::MemoryDialog dataFilter(dialogTemplate(DATA_FILTER_TEMPLATE));
    EXPECT_FALSE(dataFilter.isShown(1016));
    EXPECT_TRUE(dataFilter.isShown(1015));
    EXPECT_EQ(dataFilter.text(1015), "Load Report");
    for (int id : {1002, 1005, 1009, 1010, 1011, 1012, 1013, 1015})
        EXPECT_TRUE(graph.hasControl(id)) << id;
}
