#pragma once
// The Graph tab: the current set as a contour graph, navigation through the sets and the
// slide show on timer 42.

#include "platform/Page.h"

#include <cstdint>

namespace zqar {

class MainWindow;

class GraphPage : public platform::Page {
public:
    enum Control : int {
        GRAPH_AREA = 1002,
        STATUS = 1005,
        FIRST = 1009,
        PREVIOUS = 1010,
        NEXT = 1011,
        LAST = 1012,
        PRINT = 1013,
        SLIDES = 1015,
    };

    static constexpr int SLIDE_TIMER = 42;
    static constexpr int SLIDE_INTERVAL_MS = 200;

    explicit GraphPage(MainWindow &window);

    MainWindow &window;

    // Band parameters of the last drawing that found a set.
    double bandMinimum = 0.0;
    double bandMaximum = 0.0;
    double bandSpacing = 1.0;
    int32_t sliding = 0; // 1 while the slide show runs

    void initialise() override;

    void onFirst();
    void onPrevious();
    void onNext();
    void onLast();

private:
    void redrawGraph();
};

} // namespace zqar
