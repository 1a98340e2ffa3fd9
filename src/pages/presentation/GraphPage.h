#pragma once
// The Graph tab: the current set as a contour graph composed in a screen-sized off-screen
// bitmap and copied to the graph area in one go, navigation through the sets, the slide show
// on timer 42, and Print Graph. The page owns the colour scale and the band parameters of
// the last drawing.

#include "pages/presentation/ContourGraph.h"
#include "pages/presentation/SetNavigator.h"
#include "platform/CommandOutcome.h"
#include "platform/Page.h"
#include "resources/controlIds.h"

#include <cstdint>
#include <memory>

namespace zqar {

class MainWindow;

class GraphPage : public platform::Page, public GraphControls {
public:
    static constexpr int SLIDE_TIMER = 42;
    static constexpr int SLIDE_INTERVAL_MS = 200;
    // Where the graph area goes in the page's client area, in pixels.
    static constexpr int AREA_LEFT = 4;
    static constexpr int AREA_TOP = 29;
    static constexpr int AREA_RIGHT_SHRINK = 4;
    static constexpr int AREA_BOTTOM_SHRINK = 28;

    explicit GraphPage(MainWindow &window);
    ~GraphPage() override;

    MainWindow &window;

    const ColourScale colourScale = DEFAULT_COLOUR_SCALE;
    // Band parameters of the last drawing that found a set.
    double bandMinimum = 0.0;
    double bandMaximum = 0.0;
    double bandSpacing = 1.0;
    int32_t sliding = 0; // 1 while the slide show runs

    void initialise() override;
    void resized(int width, int height) override;
    void drawItem(int id, platform::DrawingContext &dc, const platform::Rect &item) override;
    void timer(int id) override;

    SetNavigator navigator; // redraws the graph after a move

    void onSlides();
    CommandOutcome onPrint();

    // Paints the current set into the rectangle with the settings the pages hold now (the
    // batch export and Print Graph use it too). Nothing is drawn, and the band parameters
    // stay, when there is no current set.
    void drawContourGraph(platform::DrawingContext &dc, int x, int y, int width, int height);
    // The colour of a temperature with the band parameters of the last drawing.
    platform::Colour bandColour(double t) const;

    // The screen-sized bitmap the graph is composed in; null until initialise, or when the
    // platform has none (the graph is then painted straight into the area).
    platform::DrawingContext *offscreen() const { return offscreenDC.get(); }

private:
    void redrawGraph();
    void setButtonStates();

    std::unique_ptr<platform::DrawingContext> offscreenDC;
};

// The drawing's settings from the Data Filter page (Minimum and Maximum Temperature, Contour
// Spacing, singular loggers as text) and the File Selection page (loggers on the boundary,
// Row and Column Spacing), with a spacing of 0 or below replaced by 1.
ContourSettings readContourSettings(const platform::Dialog &dataFilter,
                                    const platform::Dialog &fileSelection);

} // namespace zqar
