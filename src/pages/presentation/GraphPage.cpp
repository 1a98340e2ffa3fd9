#include "pages/presentation/GraphPage.h"

#include "core/job/Job.h"
#include "pages/analysis/studyCommands.h"
#include "pages/presentation/PrintJob.h"
#include "platform/DrawingContext.h"
#include "platform/Host.h"
#include "resources/displayTexts.h"
#include "resources/templates.h"

namespace zqar {

GraphPage::GraphPage(Job &theJob, platform::Host &theHost,
                     std::function<JobSettings()> settingsReader)
    : SetPage(GRAPH_TEMPLATE, theJob, theHost, std::move(settingsReader)) {
    bind(SLIDES, [this] { onSlides(); });
    bind(PRINT, [this] { onPrint(); });
}

GraphPage::~GraphPage() = default;

void GraphPage::initialise() {
    sliding = 0;
    // The timer runs for the page's whole life; a slide show goes on behind other tabs.
    host.startTimer(*this, SLIDE_TIMER, SLIDE_INTERVAL_MS);
    offscreenDC = host.createOffscreen(host.screenWidth(), host.screenHeight());
}

void GraphPage::resized(int width, int height) {
    if (!isCreated())
        return;
    dialog().moveControl(GRAPH_AREA,
                         platform::Rect{AREA_LEFT, AREA_TOP, AREA_LEFT + width - AREA_RIGHT_SHRINK,
                                        AREA_TOP + height - AREA_BOTTOM_SHRINK});
}

void GraphPage::setButtonStates() {
    platform::Dialog &page = dialog();
    navigator.enableButtons(page);
    page.setEnabled(PRINT, navigator.hasSets());
    page.setEnabled(SLIDES, navigator.hasSets());
}

void GraphPage::showCurrentSet() {
    setButtonStates();
    navigator.showStatus(dialog());
    dialog().redraw(GRAPH_AREA);
}

void GraphPage::drawItem(int id, platform::DrawingContext &dc, const platform::Rect &item) {
    if (id != GRAPH_AREA)
        return;
    // Composed off screen and copied in one go, so the area never shows a half-drawn graph.
    platform::DrawingContext &target = offscreenDC ? *offscreenDC : dc;
    target.fillRect(item, platform::WHITE);
    drawContourGraph(target, item.left, item.top, item.width(), item.height());
    if (offscreenDC)
        dc.copyFrom(*offscreenDC, 0, 0, item.right, item.bottom, 0, 0);
}

ContourSettings GraphPage::drawingSettings() {
    const ContourSettings settings = readSettings().contour();
    bandMinimum = settings.bands.minimum;
    bandMaximum = settings.bands.maximum;
    bandSpacing = settings.bands.spacing;
    return settings;
}

void GraphPage::drawContourGraph(platform::DrawingContext &dc, int x, int y, int width,
                                 int height) {
    const TemperatureSet *set = job.setList.current();
    if (!set)
        return;
    const ContourSettings settings = drawingSettings();
    zqar::drawContourGraph(dc, *set, job.loggerArray.dimensions(), settings, colourScale, x, y,
                           width, height);
    // The map check's marks only when its threshold is set; without one the graph is drawn
    // exactly as before.
    drawPositionMarks(dc, job.loggerArray.dimensions(), settings, currentSetMapCheckMarks(job), x,
                      y, width, height);
}

platform::Colour GraphPage::bandColour(double t) const {
    return zqar::bandColour(colourScale, BandParameters{bandMinimum, bandMaximum, bandSpacing}, t);
}

void GraphPage::timer(int) {
    if (sliding == 0)
        return;
    const SetList &sets = job.setList;
    if (sets.currentSet < sets.count() - 1) {
        navigator.next();
        return;
    }
    dialog().setText(SLIDES, text::SLIDES_BUTTON);
    sliding = 0;
}

void GraphPage::onSlides() {
    if (sliding == 1) {
        sliding = 0;
        dialog().setText(SLIDES, text::SLIDES_BUTTON);
    } else {
        sliding = 1;
        dialog().setText(SLIDES, text::STOP_BUTTON);
    }
}

CommandOutcome GraphPage::onPrint() {
    const JobSettings settings = readSettings();
    PrintedGraph graph;
    graph.projectDescription = settings.layout.projectDescription;
    graph.status = dialog().text(STATUS);
    graph.set = job.setList.current();
    graph.dimensions = job.loggerArray.dimensions();
    graph.settings = drawingSettings();
    graph.scale = colourScale;
    return printGraph(host, graph, localNow()) ? CommandOutcome::completed()
                                               : CommandOutcome::cancelled();
}

} // namespace zqar
