#include "pages/presentation/GraphPage.h"

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "platform/memory/MemoryHost.h"
#include "platform/memory/RecordingContext.h"

#include "support/PageHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zqar {
namespace {

using platform::CallKind;
using platform::RecordingContext;
using GP = GraphPage;

// The window with a recording off-screen bitmap, created before the pages are.
class GraphPageTest : public ::testing::Test {
protected:
    GraphPageTest() : window(host) {
        host.offscreenFactory = [this](int width, int height) {
            offscreenSize = {width, height};
            auto made = std::make_unique<RecordingContext>();
            offscreen = made.get();
            return made;
        };
        window.initialise();
        layout("3", "4", "2");
        dataFilter().setText(DataFilterPage::MINIMUM_TEMPERATURE, "20");
        dataFilter().setText(DataFilterPage::MAXIMUM_TEMPERATURE, "30");
        dataFilter().setText(DataFilterPage::CONTOUR_SPACING, "1");
    }
    void TearDown() override { EXPECT_TRUE(host.takeMessages().empty()); }

    platform::MemoryDialog &graph() { return host.dialogOf(window.graphPage); }
    platform::MemoryDialog &fileSelection() { return host.dialogOf(window.fileSelectionPage); }
    platform::MemoryDialog &dataFilter() { return host.dialogOf(window.dataFilterPage); }
    SetList &sets() { return window.job.setList; }

    void layout(const std::string &rows, const std::string &columns, const std::string &singular) {
        fileSelection().setText(FileSelectionPage::NUMBER_OF_ROWS, rows);
        fileSelection().setText(FileSelectionPage::NUMBER_OF_COLUMNS, columns);
        fileSelection().setText(FileSelectionPage::NUMBER_OF_SINGULAR, singular);
        fileSelection().click(FileSelectionPage::UPDATE_LAYOUT);
    }
    void addSets(int count) {
        for (int i = 0; i < count; ++i) {
            auto set =
                std::make_unique<TemperatureSet>(testing::novemberFifth(10 + i, 0), 0.0, 3, 4, 2);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c)
                    set->setValue(r, c, 25.0);
            sets().append(std::move(set));
        }
    }
    // The Graph tab chosen, as the user chooses it: the status line and the buttons follow the
    // current set, and the area is painted; answers the screen's recording.
    RecordingContext show() {
        window.tabChanged(TAB_GRAPH);
        return paint();
    }
    // Paints the graph area as the window would; answers the screen's recording.
    RecordingContext paint() {
        RecordingContext screen;
        graph().paint(GP::GRAPH_AREA, screen);
        return screen;
    }
    struct Buttons {
        bool first, previous, next, last, print, slides;
        bool operator==(const Buttons &o) const {
            return first == o.first && previous == o.previous && next == o.next && last == o.last &&
                   print == o.print && slides == o.slides;
        }
    };
    Buttons buttons() {
        return {graph().isEnabled(GP::FIRST), graph().isEnabled(GP::PREVIOUS),
                graph().isEnabled(GP::NEXT),  graph().isEnabled(GP::LAST),
                graph().isEnabled(GP::PRINT), graph().isEnabled(GP::SLIDES)};
    }

    platform::MemoryHost host;
    MainWindow window;
    RecordingContext *offscreen = nullptr;
    platform::Size offscreenSize;
};

TEST_F(GraphPageTest, InitialiseStartsTheTimerAndMakesAScreenSizedBitmap) {
    ASSERT_EQ(host.timers.size(), 1u);
    EXPECT_EQ(host.timers[0].id, 42);
    EXPECT_EQ(host.timers[0].intervalMs, 200);
    EXPECT_EQ(offscreenSize.width, host.screenWidth());
    EXPECT_EQ(offscreenSize.height, host.screenHeight());
    EXPECT_EQ(window.graphPage.sliding, 0);
}

TEST_F(GraphPageTest, NoSetsLeaveTheAreaWhite) {
    const RecordingContext screen = show();
    EXPECT_EQ(graph().text(GP::STATUS), "No Data Available.");
    EXPECT_TRUE(buttons() == (Buttons{false, false, false, false, false, false}));
    const auto fills = offscreen->callsOf(CallKind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].colour, platform::rgb(255, 255, 255));
    EXPECT_TRUE(offscreen->callsOf(CallKind::Text).empty());
    // One copy of the whole area onto the screen, nothing drawn there directly.
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].kind, CallKind::Copy);
    EXPECT_EQ(screen.calls[0].rect, fills[0].rect);
}

TEST_F(GraphPageTest, PaintingChangesNeitherTheStatusNorTheButtons) {
    show();
    addSets(2);
    graph().setText(GP::STATUS, "kept");
    paint();
    EXPECT_EQ(graph().text(GP::STATUS), "kept");
    EXPECT_TRUE(buttons() == (Buttons{false, false, false, false, false, false}));
    // A calculation while the page shows brings both up to date at once.
    window.job.changed(JobChange::SETS);
    EXPECT_EQ(graph().text(GP::STATUS).rfind("1 of 2  ", 0), 0u);
    EXPECT_TRUE(buttons() == (Buttons{true, false, true, true, true, true}));
}

TEST_F(GraphPageTest, StatusAndButtonsFollowTheCurrentSet) {
    addSets(1);
    show();
    EXPECT_EQ(graph().text(GP::STATUS), "1 of 1  " + sets().at(0)->title());
    EXPECT_TRUE(buttons() == (Buttons{false, false, false, false, true, true}));
    EXPECT_FALSE(offscreen->callsOf(CallKind::Frame).empty()); // the legend was drawn

    addSets(2);
    sets().currentSet = 1;
    show();
    EXPECT_EQ(graph().text(GP::STATUS).rfind("2 of 3  ", 0), 0u);
    EXPECT_TRUE(buttons() == (Buttons{true, true, true, true, true, true}));
}

TEST_F(GraphPageTest, NavigationMovesTheSharedIndex) {
    addSets(3);
    show();
    const int before = graph().redrawCount(GP::GRAPH_AREA);
    graph().click(GP::LAST);
    EXPECT_EQ(sets().currentSet, 2);
    paint();
    EXPECT_FALSE(graph().click(GP::NEXT)); // disabled on the last set
    graph().click(GP::PREVIOUS);
    EXPECT_EQ(sets().currentSet, 1);
    graph().click(GP::FIRST);
    EXPECT_EQ(sets().currentSet, 0);
    EXPECT_EQ(graph().redrawCount(GP::GRAPH_AREA), before + 3);
}

TEST_F(GraphPageTest, SlideShowStepsToTheLastSetAndStops) {
    addSets(3);
    show();
    graph().click(GP::SLIDES);
    EXPECT_EQ(graph().text(GP::SLIDES), "Stop");
    EXPECT_EQ(sets().currentSet, 0); // the first step waits for the timer
    host.tick(42);
    EXPECT_EQ(sets().currentSet, 1);
    host.tick(42);
    EXPECT_EQ(sets().currentSet, 2);
    EXPECT_EQ(window.graphPage.sliding, 1);
    host.tick(42);
    EXPECT_EQ(sets().currentSet, 2);
    EXPECT_EQ(window.graphPage.sliding, 0);
    EXPECT_EQ(graph().text(GP::SLIDES), "Slides");
    host.tick(42);
    EXPECT_EQ(sets().currentSet, 2);
}

TEST_F(GraphPageTest, SlideShowOfOneSetEndsAtTheFirstTick) {
    addSets(1);
    show();
    graph().click(GP::SLIDES);
    host.tick(42);
    EXPECT_EQ(window.graphPage.sliding, 0);
    EXPECT_EQ(graph().text(GP::SLIDES), "Slides");
    EXPECT_EQ(sets().currentSet, 0);
}

TEST_F(GraphPageTest, StopHaltsTheShow) {
    addSets(3);
    show();
    graph().click(GP::SLIDES);
    host.tick(42);
    graph().click(GP::SLIDES);
    EXPECT_EQ(graph().text(GP::SLIDES), "Slides");
    host.tick(42);
    EXPECT_EQ(sets().currentSet, 1);
}

TEST_F(GraphPageTest, DrawingKeepsTheBandParametersItRead) {
    dataFilter().setText(DataFilterPage::CONTOUR_SPACING, "0");
    paint(); // no set: nothing read
    EXPECT_EQ(window.graphPage.bandMinimum, 0.0);
    addSets(1);
    paint();
    EXPECT_EQ(window.graphPage.bandMinimum, 20.0);
    EXPECT_EQ(window.graphPage.bandMaximum, 30.0);
    EXPECT_EQ(window.graphPage.bandSpacing, 1.0); // spacing 0 draws as 1
    EXPECT_EQ(window.graphPage.bandColour(25.0), platform::rgb(0, 255, 64));
}

TEST_F(GraphPageTest, SettingsAreReadWithTheirReplacements) {
    struct Case {
        const char *spacing;
        const char *rowSpacing;
        const char *columnSpacing;
        double bandSpacing;
        double rows;
        double columns;
    };
    for (const Case &c :
         {Case{"0", "2", "3", 1.0, 2.0, 3.0}, Case{"-2", "0", "-1", -2.0, 1.0, 1.0},
          Case{"0.5abc", "x", "4.5", 0.5, 1.0, 4.5}, Case{"abc", "1", "1", 1.0, 1.0, 1.0},
          Case{"", "1", "1", 1.0, 1.0, 1.0}}) {
        SCOPED_TRACE(c.spacing);
        dataFilter().setText(DataFilterPage::CONTOUR_SPACING, c.spacing);
        fileSelection().setText(FileSelectionPage::ROW_SPACING, c.rowSpacing);
        fileSelection().setText(FileSelectionPage::COLUMN_SPACING, c.columnSpacing);
        const ContourSettings settings = window.settings().contour();
        EXPECT_EQ(settings.bands.spacing, c.bandSpacing);
        EXPECT_EQ(settings.rowSpacing, c.rows);
        EXPECT_EQ(settings.columnSpacing, c.columns);
    }
    fileSelection().setChecked(FileSelectionPage::LOGGERS_ON_BOUNDARY, true);
    dataFilter().setChecked(DataFilterPage::SHOW_SINGULAR_AS_TEXT, true);
    ContourSettings settings = window.settings().contour();
    EXPECT_EQ(settings.inset, 0);
    EXPECT_TRUE(settings.showSingularAsText);
    fileSelection().setChecked(FileSelectionPage::LOGGERS_ON_BOUNDARY, false);
    settings = window.settings().contour();
    EXPECT_EQ(settings.inset, 1);
}

TEST_F(GraphPageTest, UnusableSettingsShowWhatToChange) {
    addSets(1);
    struct Case {
        const char *minimum;
        const char *maximum;
        const char *message;
    };
    for (const Case &c :
         {Case{"abc", "xyz", "Maximum Temperature must be above Minimum Temperature"},
          Case{"1e400", "30", "Minimum Temperature is out of range"},
          Case{"-1e300", "1e300", "Contour Spacing gives too many bands"}}) {
        SCOPED_TRACE(c.minimum);
        dataFilter().setText(DataFilterPage::MINIMUM_TEMPERATURE, c.minimum);
        dataFilter().setText(DataFilterPage::MAXIMUM_TEMPERATURE, c.maximum);
        offscreen->calls.clear();
        show();
        const auto texts = offscreen->callsOf(CallKind::Text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, c.message);
        EXPECT_EQ(offscreen->callsOf(CallKind::Fill).size(), 1u); // the white background only
        EXPECT_EQ(graph().text(GP::STATUS).rfind("1 of 1  ", 0), 0u);
    }
}

TEST_F(GraphPageTest, ResizePlacesTheArea) {
    graph().resize(600, 400);
    EXPECT_EQ(graph().controlRect(GP::GRAPH_AREA), (platform::Rect{4, 29, 600, 401}));
}

// One warm logger in a flat 3 x 4 array: the gap filling, without it, gives its neighbours' 25,
// so its own map check error is -5; the loggers beside it see it pull their estimates up.
TEST_F(GraphPageTest, MapCheckMarksShowOnlyWithAThreshold) {
    auto set = std::make_unique<TemperatureSet>(testing::novemberFifth(10, 0), 0.0, 3, 4, 2);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            set->setValue(r, c, r == 1 && c == 1 ? 30.0 : 25.0);
            set->setMeasured(r, c);
        }
    sets().append(std::move(set));
    const auto drawn = [this] {
        offscreen->calls.clear();
        show();
        std::vector<std::string> texts;
        for (const platform::RecordedCall &call : offscreen->callsOf(CallKind::Text))
            texts.push_back(call.text);
        return std::make_pair(offscreen->calls.size(), texts);
    };
    const auto plain = drawn();
    window.job.setSetting(JobSetting::MapCheckThreshold, "10");
    EXPECT_EQ(drawn(), plain) << "no error reaches 10 degrees";

    window.job.setSetting(JobSetting::MapCheckThreshold, "4.9");
    const auto marked = drawn();
    EXPECT_GT(marked.first, plain.first);
    EXPECT_NE(std::find(marked.second.begin(), marked.second.end(), "-5.00"), marked.second.end());
    EXPECT_NE(std::find(marked.second.begin(), marked.second.end(), "+5.00"), marked.second.end());

    window.job.setSetting(JobSetting::MapCheckThreshold, "");
    EXPECT_EQ(drawn(), plain);
    // A text that is no threshold draws no marks either; the report is where it is refused.
    window.job.setSetting(JobSetting::MapCheckThreshold, "warm");
    EXPECT_EQ(drawn(), plain);
}

} // namespace
} // namespace zqar
