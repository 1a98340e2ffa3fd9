#pragma once
// The Graph tab: the current set as a contour graph composed in a screen-sized off-screen
// bitmap and copied to the graph area in one go, navigation through the sets, the slide show
// on timer 42, and Print Graph. The page owns the colour scale and the band parameters of
// the last drawing.

#include "pages/presentation/ContourGraph.h"
#include "pages/presentation/SetPage.h"
#include "platform/CommandOutcome.h"
#include "resources/controlIds.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zqar {

class Job;

namespace platform {
class Host;
}

class GraphPage : public SetPage, public GraphControls {
public:
    static constexpr int SLIDE_TIMER = 42;
    static constexpr int SLIDE_INTERVAL_MS = 200;
    // Where the graph area goes in the page's client area, in pixels.
    static constexpr int AREA_LEFT = 4;
    static constexpr int AREA_TOP = 29;
    static constexpr int AREA_RIGHT_SHRINK = 4;
    static constexpr int AREA_BOTTOM_SHRINK = 28;

    // readSettings gives every page's settings at the moment of a drawing.
    GraphPage(Job &job, platform::Host &host, std::function<JobSettings()> readSettings);
    ~GraphPage() override;

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

    // The status line and the buttons for the current set, and the graph drawn anew.
    void showCurrentSet() override;

    void onSlides();
    CommandOutcome onPrint();

    // Paints the current set into the rectangle with the settings the pages hold now (the
    // batch export and Print Graph use it too), with the map check's marks over it when the
    // job's threshold is set. Nothing is drawn, and the band parameters stay, when there is no
    // current set.
    void drawContourGraph(platform::DrawingContext &dc, int x, int y, int width, int height);
    // The colour of a temperature with the band parameters of the last drawing.
    platform::Colour bandColour(double t) const;

private:
    void setButtonStates();
    // The settings of a drawing, kept as the band parameters of the last one.
    ContourSettings drawingSettings();

    std::unique_ptr<platform::DrawingContext> offscreenDC;
};

} // namespace zqar
