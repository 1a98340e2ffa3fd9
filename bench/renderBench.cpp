// How fast the contour graph draws into a screen-sized bitmap, against a floor that writes the
// same band field straight into the bitmap's pixels with no drawing calls at all; a slide show
// step (drawing plus the copy to the screen); and the batch tool's PNG export.

#if ZQAR_BENCH_WITH_QT

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/numbers.h"
#include "pages/presentation/ContourGraph.h"
#include "platform/memory/MemoryHost.h"
#include "qt/QtDrawingContext.h"
#include "window/GraphExport.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

using namespace zqar;

namespace {

constexpr int SCREEN_WIDTH = 1920;
constexpr int SCREEN_HEIGHT = 1080;

// Fonts need a GUI application; the bench has no window.
void ensureGuiApplication() {
    static std::unique_ptr<QGuiApplication> application;
    if (application || QGuiApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "zqar_bench";
    static char *argv[] = {name, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
}

// A warm middle and cool edges, so every span crosses several of the 40 bands.
std::unique_ptr<TemperatureSet> sampleSet(int rows, int columns, int singular) {
    auto set = std::make_unique<TemperatureSet>(0.0, 0.0, rows, columns, singular);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            set->setValue(r, c, 20.0 + 3.0 * std::sin(r * 0.9) + 4.0 * std::cos(c * 0.7) + r);
    for (int i = 0; i < singular; ++i)
        set->setValue(SINGULAR_ROW, i, 22.0 + 3 * i);
    return set;
}

ContourSettings fortyBands() {
    ContourSettings settings;
    settings.bands = {14.0, 34.0, 0.5};
    settings.inset = 1;
    return settings;
}

void clearWhite(QImage &image) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::fill(line, line + image.width(), qRgb(255, 255, 255));
    }
}

void renderFrame(benchmark::State &state) {
    ensureGuiApplication();
    const int size = static_cast<int>(state.range(0));
    const auto set = sampleSet(size == 0 ? 6 : size, size == 0 ? 4 : size, 2);
    const ArrayDimensions dims{set->rows, set->columns, set->singularCount};
    auto dc = platform::QtDrawingContext::offscreen(SCREEN_WIDTH, SCREEN_HEIGHT);
    const platform::Rect area{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    for (auto _ : state) {
        dc->fillRect(area, platform::WHITE);
        drawContourGraph(*dc, *set, dims, fortyBands(), DEFAULT_COLOUR_SCALE, 0, 0, SCREEN_WIDTH,
                         SCREEN_HEIGHT);
        benchmark::DoNotOptimize(dc->image()->constBits());
    }
}
BENCHMARK(renderFrame)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same spans, rows and truncations as the renderer, each pixel's band colour written
// into the bitmap directly: what drawing the field must cost at least.
void renderFloor(benchmark::State &state) {
    const int size = static_cast<int>(state.range(0));
    const auto set = sampleSet(size == 0 ? 6 : size, size == 0 ? 4 : size, 2);
    const ArrayDimensions dims{set->rows, set->columns, set->singularCount};
    const ContourSettings settings = fortyBands();
    const ContourLayout layout =
        layoutContourGraph(96, dims, settings, SCREEN_WIDTH, SCREEN_HEIGHT);
    std::vector<QRgb> colours;
    double t = settings.bands.minimum;
    for (int i = 0; i < layout.bandCount; ++i, t += settings.bands.spacing) {
        const platform::Colour c = bandColour(DEFAULT_COLOUR_SCALE, settings.bands, t);
        colours.push_back(qRgb(platform::redOf(c), platform::greenOf(c), platform::blueOf(c)));
    }
    const int nb = layout.bandCount;
    QImage image(SCREEN_WIDTH, SCREEN_HEIGHT, QImage::Format_RGB32);
    const int R = dims.rows, K = dims.columns, inset = settings.inset;
    const int cellW = layout.cellWidth, cellH = layout.cellHeight;
    const double minimum = settings.bands.minimum, spacing = settings.bands.spacing;
    for (auto _ : state) {
        clearWhite(image);
        for (int r = -inset; r < R + 2 * inset - 1; ++r) {
            for (int c = -inset; c < K + 2 * inset - 1; ++c) {
                const double tl = set->valueAt(r, c), bl = set->valueAt(r + 1, c);
                const double tr = set->valueAt(r, c + 1), br = set->valueAt(r + 1, c + 1);
                const int spanH = (r < 0 || r == R - 1) ? cellH / 2 : cellH;
                const int spanW = (c < 0 || c == K - 1) ? cellW / 2 : cellW;
                if (tl == NO_VALUE || bl == NO_VALUE || tr == NO_VALUE || br == NO_VALUE ||
                    spanH <= 0 || spanW <= 0)
                    continue;
                const int xL = layout.fieldLeft + c * cellW + ((c < 0 ? 2 : 1) * cellW * inset) / 2;
                const int yT = layout.fieldTop + r * cellH + ((r < 0 ? 2 : 1) * cellH * inset) / 2;
                double a = (tl - minimum) / spacing, b = (tr - minimum) / spacing;
                const double dA = ((bl - minimum) / spacing - a) / spanH;
                const double dB = ((br - minimum) / spacing - b) / spanH;
                for (int k = 0; k < spanH; ++k) {
                    a += dA;
                    b += dB;
                    const double dh = (b - a) / spanW;
                    double h = a;
                    QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(yT + k)) + xL;
                    for (int j = 0; j < spanW; ++j) {
                        const int g = truncToInt(h);
                        line[j] = colours[static_cast<std::size_t>(g < 0     ? 0
                                                                   : g >= nb ? nb - 1
                                                                             : g)];
                        h += dh;
                    }
                }
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(renderFloor)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();

// A window with three sets on the in-memory backend whose off-screen bitmap is a real one.
struct GraphWindow {
    GraphWindow() : window(host) {
        host.offscreenFactory = [](int width,
                                   int height) -> std::unique_ptr<platform::DrawingContext> {
            return platform::QtDrawingContext::offscreen(width, height);
        };
        window.initialise();
        auto &fileSelection = host.dialogOf(window.fileSelectionPage);
        fileSelection.setText(FileSelectionPage::NUMBER_OF_ROWS, "6");
        fileSelection.setText(FileSelectionPage::NUMBER_OF_COLUMNS, "4");
        fileSelection.setText(FileSelectionPage::NUMBER_OF_SINGULAR, "2");
        fileSelection.setChecked(FileSelectionPage::LOGGERS_ON_BOUNDARY, false);
        window.fileSelectionPage.updateLayout();
        auto &dataFilter = host.dialogOf(window.dataFilterPage);
        dataFilter.setText(DataFilterPage::MINIMUM_TEMPERATURE, "14");
        dataFilter.setText(DataFilterPage::MAXIMUM_TEMPERATURE, "34");
        dataFilter.setText(DataFilterPage::CONTOUR_SPACING, "0.5");
        for (int i = 0; i < 3; ++i)
            window.job.setList.append(sampleSet(6, 4, 2));
    }
    platform::MemoryHost host;
    MainWindow window;
};

void slideShowStep(benchmark::State &state) {
    ensureGuiApplication();
    GraphWindow graph;
    auto screen = platform::QtDrawingContext::offscreen(SCREEN_WIDTH, SCREEN_HEIGHT);
    SetList &sets = graph.window.job.setList;
    for (auto _ : state) {
        if (!sets.next())
            sets.first();
        graph.window.graphPage.drawItem(GraphPage::GRAPH_AREA, *screen,
                                        platform::Rect{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT});
        benchmark::DoNotOptimize(screen->image()->constBits());
    }
}
BENCHMARK(slideShowStep)->Unit(benchmark::kMillisecond)->UseRealTime();

void exportPng(benchmark::State &state) {
    ensureGuiApplication();
    GraphWindow graph;
    const std::string path =
        (std::filesystem::temp_directory_path() / "zqar-render-bench.png").string();
    for (auto _ : state) {
        const JobView view = graph.window.jobView();
        const QImage image =
            renderSetImage(view.job.setList.current(), view.job.loggerArray.dimensions(),
                           view.readSettings().contour(), 1100, 800);
        if (!savePng(image, path))
            state.SkipWithError("the PNG could not be written");
    }
    std::error_code ignored;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path, ignored));
    std::filesystem::remove(path, ignored);
}
BENCHMARK(exportPng)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

#endif
