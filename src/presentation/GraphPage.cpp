#include "presentation/GraphPage.h"

#include "app/MainWindow.h"
#include "platform/Host.h"
#include "resources/templates.h"

namespace zqar {

GraphPage::GraphPage(MainWindow &mainWindow) : Page(GRAPH_TEMPLATE), window(mainWindow) {
    bind(FIRST, [this] { onFirst(); });
    bind(PREVIOUS, [this] { onPrevious(); });
    bind(NEXT, [this] { onNext(); });
    bind(LAST, [this] { onLast(); });
}

void GraphPage::initialise() {
    sliding = 0;
    // The timer runs for the page's whole life; a slide show goes on behind other tabs.
    window.host().startTimer(*this, SLIDE_TIMER, SLIDE_INTERVAL_MS);
}

void GraphPage::onFirst() {
    window.fileSelectionPage.setList.first();
    redrawGraph();
}

void GraphPage::onPrevious() {
    if (window.fileSelectionPage.setList.previous())
        redrawGraph();
}

void GraphPage::onNext() {
    if (window.fileSelectionPage.setList.next())
        redrawGraph();
}

void GraphPage::onLast() {
    window.fileSelectionPage.setList.last();
    redrawGraph();
}

void GraphPage::redrawGraph() {
    dialog().redraw(GRAPH_AREA);
}

} // namespace zqar
