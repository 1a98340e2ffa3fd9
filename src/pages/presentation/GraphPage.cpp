#include "pages/presentation/GraphPage.h"

#include "app/MainWindow.h"
#include "core/data/numbers.h"
#include "pages/presentation/PrintJob.h"
#include "platform/DrawingContext.h"
#include "platform/Host.h"
#include "resources/displayTexts.h"
#include "resources/templates.h"

namespace zqar {

GraphPage::GraphPage(MainWindow &mainWindow)
    : Page(GRAPH_TEMPLATE), window(mainWindow),
      navigator(mainWindow.fileSelectionPage.setList, [this] { redrawGraph(); }) {
    navigator.bindButtons(*this);
    bind(SLIDES, [this] { onSlides(); });
    bind(PRINT, [this] { onPrint(); });
}

GraphPage::~GraphPage() = default;

void GraphPage::initialise() {
    sliding = 0;
    // The timer runs for the page's whole life; a slide show goes on behind other tabs.
    platform::Host &host = window.host();
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

void GraphPage::drawItem(int id, platform::DrawingContext &dc, const platform::Rect &item) {
    if (id != GRAPH_AREA)
        return;
    setButtonStates();
    // Composed off screen and copied in one go, so the area never shows a half-drawn graph.
    platform::DrawingContext &target = offscreenDC ? *offscreenDC : dc;
    target.fillRect(item, platform::WHITE);
    if (navigator.showStatus(dialog()))
        drawContourGraph(target, item.left, item.top, item.width(), item.height());
    if (offscreenDC)
        dc.copyFrom(*offscreenDC, 0, 0, item.right, item.bottom, 0, 0);
}

void GraphPage::drawContourGraph(platform::DrawingContext &dc, int x, int y, int width,
                                 int height) {
    const TemperatureSet *set = window.fileSelectionPage.setList.current();
    if (!set || !window.dataFilterPage.isCreated() || !window.fileSelectionPage.isCreated())
        return;
    const ContourSettings settings =
        readContourSettings(window.dataFilterPage.dialog(), window.fileSelectionPage.dialog());
    bandMinimum = settings.bands.minimum;
    bandMaximum = settings.bands.maximum;
    bandSpacing = settings.bands.spacing;
    zqar::drawContourGraph(dc, *set, window.fileSelectionPage.loggerArray.dimensions(), settings,
                           colourScale, x, y, width, height);
}

platform::Colour GraphPage::bandColour(double t) const {
    return zqar::bandColour(colourScale, BandParameters{bandMinimum, bandMaximum, bandSpacing}, t);
}

void GraphPage::timer(int) {
    if (sliding == 0)
        return;
    const SetList &sets = window.fileSelectionPage.setList;
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
    return printGraph(window, localNow()) ? CommandOutcome::completed()
                                          : CommandOutcome::cancelled();
}

void GraphPage::redrawGraph() { dialog().redraw(GRAPH_AREA); }

ContourSettings readContourSettings(const platform::Dialog &dataFilter,
                                    const platform::Dialog &fileSelection) {
    ContourSettings settings;
    using DF = DataFilterPage;
    using FS = FileSelectionPage;
    settings.bands.minimum = readDecimal(dataFilter.text(DF::MINIMUM_TEMPERATURE));
    settings.bands.maximum = readDecimal(dataFilter.text(DF::MAXIMUM_TEMPERATURE));
    settings.bands.spacing = readDecimal(dataFilter.text(DF::CONTOUR_SPACING));
    if (settings.bands.spacing == 0.0)
        settings.bands.spacing = 1.0;
    settings.showSingularAsText = dataFilter.isChecked(DF::SHOW_SINGULAR_AS_TEXT);
    settings.inset = fileSelection.isChecked(FS::LOGGERS_ON_BOUNDARY) ? 0 : 1;
    settings.rowSpacing = readDecimal(fileSelection.text(FS::ROW_SPACING));
    if (!(settings.rowSpacing > 0.0))
        settings.rowSpacing = 1.0;
    settings.columnSpacing = readDecimal(fileSelection.text(FS::COLUMN_SPACING));
    if (!(settings.columnSpacing > 0.0))
        settings.columnSpacing = 1.0;
    return settings;
}

} // namespace zqar
