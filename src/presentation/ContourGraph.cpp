#include "presentation/ContourGraph.h"

#include "analysis/DataFilterPage.h"
#include "analysis/TemperatureSet.h"
#include "data/numbers.h"
#include "layout/FileSelectionPage.h"
#include "platform/Dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace zqar {

using platform::Colour;
using platform::DrawingContext;
using platform::ObjectHandle;
using platform::Rect;

namespace {

constexpr double UNIT_PER_DPI = 0.1279527559055118; // 3.25 mm in inches
constexpr int MAX_UNIT = 4096;                      // pixels; a device beyond 32000 dpi
constexpr double MAX_COORDINATE = 1.0e9;            // stays clear of 32-bit overflow
constexpr int FITTING_ROUNDS = 10;
constexpr int FIELD_TO_SINGULAR_GAP = 30; // pixels, in the first width estimate
constexpr int LEGEND_COLUMN_UNITS = 9;
constexpr int PROBLEM_FONT_HEIGHT = 12; // pixels, when the device gives no usable unit

constexpr unsigned ALIGN_LEFT_TOP = platform::TA_LEFT | platform::TA_TOP;
constexpr unsigned ALIGN_CENTRE_TOP = platform::TA_CENTER | platform::TA_TOP;
constexpr unsigned ALIGN_LEFT_BASELINE = platform::TA_LEFT | platform::TA_BASELINE;
constexpr unsigned ALIGN_RIGHT_BASELINE = platform::TA_RIGHT | platform::TA_BASELINE;

constexpr Colour BLACK = platform::rgb(0, 0, 0);

// What the user reads instead of the graph when a drawing cannot be made.
constexpr const char *TEXT_BAD_RESOLUTION = "The device resolution does not suit the graph";
constexpr const char *TEXT_BAD_MINIMUM = "Minimum Temperature is out of range";
constexpr const char *TEXT_BAD_MAXIMUM = "Maximum Temperature is out of range";
constexpr const char *TEXT_BAD_SPACING = "Contour Spacing must be a number above 0";
constexpr const char *TEXT_NO_BANDS = "Maximum Temperature must be above Minimum Temperature";
constexpr const char *TEXT_TOO_MANY_BANDS = "Contour Spacing gives too many bands";
constexpr const char *TEXT_NO_ROWS = "The layout needs a row or a singular logger";
constexpr const char *TEXT_NO_COLUMNS = "The layout needs a column";
constexpr const char *TEXT_TOO_LOW = "The graph area is too low for the legend";
constexpr const char *TEXT_SPACINGS = "Row Spacing and Column Spacing do not fit the graph area";

int componentMix(int thisComponent, int nextComponent, double w) {
    return truncToInt(nextComponent * w + thisComponent * (1.0 - w));
}

platform::FontRequest graphFont(int height) {
    platform::FontRequest font;
    font.height = height;
    font.weight = 400;
    font.charSet = 1;
    font.outputPrecision = 4;
    font.face = "Arial";
    return font;
}

// Text output as the graph does it: transparent, black, then the alignment.
void drawText(DrawingContext &dc, int x, int y, unsigned align, const std::string &text) {
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.setTextColour(BLACK);
    dc.setTextAlign(align);
    dc.textOut(x, y, text);
}

void drawProblem(DrawingContext &dc, const ContourLayout &layout, int x, int y) {
    const int height = layout.u >= 1 && layout.u <= MAX_UNIT ? layout.u : PROBLEM_FONT_HEIGHT;
    const ObjectHandle font = dc.createFont(graphFont(height));
    const ObjectHandle previousFont = dc.selectObject(font);
    drawText(dc, x + height, y + height, ALIGN_LEFT_TOP, layout.problem);
    dc.selectObject(previousFont);
    dc.deleteObject(font);
}

struct Run {
    int start;
    int end;
    int band;
};

} // namespace

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

Colour bandColour(const ColourScale &scale, const BandParameters &bands, double t) {
    const int k = truncToInt((t - bands.minimum) / bands.spacing);
    const int n = truncToInt((bands.maximum - bands.minimum) / bands.spacing + 0.999);
    double f;
    if (n == 0)
        f = k > 0 ? HUGE_VAL : 0.0;
    else
        f = static_cast<double>(k) / n;
    if (!(f > 0.0))
        return scale[0];
    if (f >= 1.0)
        return scale[9];
    const double g = f * 9;
    const int i = truncToInt(g);
    const double w = g - i;
    const Colour here = scale[static_cast<std::size_t>(i)];
    const Colour next = scale[static_cast<std::size_t>(i) + 1];
    return platform::rgb(componentMix(platform::redOf(here), platform::redOf(next), w),
                         componentMix(platform::greenOf(here), platform::greenOf(next), w),
                         componentMix(platform::blueOf(here), platform::blueOf(next), w));
}

ContourLayout layoutContourGraph(int logPixelsX, const ArrayDimensions &dimensions,
                                 const ContourSettings &settings, int width, int height) {
    ContourLayout layout;
    const BandParameters &bands = settings.bands;
    const int64_t R = dimensions.rows;
    const int64_t K = dimensions.columns;
    const int64_t Q = dimensions.singularCount;
    const int64_t inset = settings.inset;
    const int64_t W = width;
    const int64_t H = height;

    layout.u = truncToInt(logPixelsX * UNIT_PER_DPI);
    const int64_t u = layout.u;
    if (u < 1 || u > MAX_UNIT) {
        layout.problem = TEXT_BAD_RESOLUTION;
        return layout;
    }
    if (!std::isfinite(bands.minimum)) {
        layout.problem = TEXT_BAD_MINIMUM;
        return layout;
    }
    if (!std::isfinite(bands.maximum)) {
        layout.problem = TEXT_BAD_MAXIMUM;
        return layout;
    }
    if (!std::isfinite(bands.spacing) || !(bands.spacing > 0.0)) {
        layout.problem = TEXT_BAD_SPACING;
        return layout;
    }
    if (!(bands.maximum > bands.minimum)) {
        layout.problem = TEXT_NO_BANDS;
        return layout;
    }
    const double bandRatio = (bands.maximum - bands.minimum) / bands.spacing;
    if (!(bandRatio <= MAX_BANDS)) {
        layout.problem = TEXT_TOO_MANY_BANDS;
        return layout;
    }
    layout.bandCount = truncToInt(std::ceil(bandRatio));
    const double nb = layout.bandCount;

    const int64_t m = std::max(R + inset, Q);
    layout.m = static_cast<int>(m);
    if (m < 1) {
        layout.problem = TEXT_NO_ROWS;
        return layout;
    }
    const int64_t linesA = H / (u + 3);
    layout.pitch = static_cast<int>(u + u / 4);
    const int64_t linesB = H / layout.pitch;
    if (linesA < 1 || linesB < 1) {
        layout.problem = TEXT_TOO_LOW;
        return layout;
    }

    int64_t cellH = (H - 8 * u) / m;
    int64_t cellW = truncToInt(cellH / settings.rowSpacing * settings.columnSpacing);
    const double legA = std::ceil(nb / static_cast<double>(linesA));
    const double columnWidth = static_cast<double>(LEGEND_COLUMN_UNITS * u);
    int64_t x0 = truncToInt((W - legA * columnWidth - static_cast<double>((K + inset) * cellW) -
                             FIELD_TO_SINGULAR_GAP - cellH) *
                            0.5);
    const double legB = std::ceil(nb / static_cast<double>(linesB));
    layout.legendColumns = truncToInt(legB);
    const int64_t xS = x0 + 2 * u + K * cellW + cellH;
    int64_t y0 = 4 * u;
    if (!(x0 >= 0 && static_cast<double>(W - 4 * u) - legB * columnWidth >= xS)) {
        layout.fitted = true;
        if (K + inset < 1) {
            layout.problem = TEXT_NO_COLUMNS;
            return layout;
        }
        x0 = 4 * u;
        for (int round = 0; round < FITTING_ROUNDS; ++round) {
            cellW = truncToInt((W - legB * columnWidth - 8 * u - 2 * u - cellH) /
                               static_cast<double>(K + inset));
            cellH = truncToInt(cellW / settings.columnSpacing * settings.rowSpacing);
            y0 = (H - m * cellH) / 2;
        }
    }

    // A cell under one pixel makes the field a line and stacks the labels on each other.
    if (cellW < 1 || cellH < 1) {
        layout.problem = TEXT_SPACINGS;
        return layout;
    }
    // Spans, squares and labels reach at most two cells past the array on each side.
    const double spanCount = static_cast<double>(R + 2) * static_cast<double>(K + 2);
    const double absW = static_cast<double>(std::llabs(cellW));
    const double absH = static_cast<double>(std::llabs(cellH));
    const double extentX = std::abs(static_cast<double>(x0)) + static_cast<double>(W) +
                           static_cast<double>(K + 2) * absW + 3 * absH + 20.0 * u;
    const double extentY = std::abs(static_cast<double>(y0)) + static_cast<double>(H) +
                           static_cast<double>(std::max(R, Q) + 2) * absH + 10.0 * u;
    if (spanCount * std::max(absW, 1.0) * std::max(absH, 1.0) > MAX_FIELD_PIXELS ||
        extentX > MAX_COORDINATE || extentY > MAX_COORDINATE) {
        layout.problem = TEXT_SPACINGS;
        return layout;
    }
    layout.cellW = static_cast<int>(cellW);
    layout.cellH = static_cast<int>(cellH);
    layout.x0 = static_cast<int>(x0);
    layout.y0 = static_cast<int>(y0);
    return layout;
}

void drawContourGraph(DrawingContext &dc, const TemperatureSet &set,
                      const ArrayDimensions &dimensions, const ContourSettings &settings,
                      const ColourScale &scale, int x, int y, int width, int height) {
    const ContourLayout layout = layoutContourGraph(dc.deviceCaps(platform::LOGPIXELSX), dimensions,
                                                    settings, width, height);
    if (std::abs(static_cast<double>(x)) > MAX_COORDINATE ||
        std::abs(static_cast<double>(y)) > MAX_COORDINATE)
        return;
    if (!layout.problem.empty()) {
        drawProblem(dc, layout, x, y);
        return;
    }
    const BandParameters &bands = settings.bands;
    const int R = dimensions.rows;
    const int K = dimensions.columns;
    const int Q = dimensions.singularCount;
    const int inset = settings.inset;
    const int u = layout.u;
    const int cellW = layout.cellW;
    const int cellH = layout.cellH;
    const int nb = layout.bandCount;

    // One brush per band; T(i) accumulates one addition per band, as the legend shows it.
    std::vector<ObjectHandle> brushes;
    std::vector<double> bandStarts;
    brushes.reserve(static_cast<std::size_t>(nb));
    bandStarts.reserve(static_cast<std::size_t>(nb));
    double t = bands.minimum;
    for (int i = 0; i < nb; ++i) {
        bandStarts.push_back(t);
        brushes.push_back(dc.createSolidBrush(bandColour(scale, bands, t)));
        t += bands.spacing;
    }
    const auto brushOf = [&](int g) {
        return brushes[static_cast<std::size_t>(g < 0 ? 0 : g > nb - 1 ? nb - 1 : g)];
    };

    const ObjectHandle font = dc.createFont(graphFont(u));
    const ObjectHandle pen = dc.createPen(platform::PenStyle::Solid, 1, BLACK);
    const ObjectHandle previousFont = dc.selectObject(font);
    const ObjectHandle previousPen = dc.selectObject(pen);

    const int X0 = x + layout.x0;
    const int Y0 = y + layout.y0;
    const int halfW = (cellW * inset) / 2;
    const int halfH = (cellH * inset) / 2;

    // The field. Each pixel row is walked first, recording its runs of one band, and then
    // filled run by run, so the per-pixel loop stays free of drawing calls.
    std::vector<Run> runs;
    for (int r = -inset; r < R + 2 * inset - 1; ++r) {
        for (int c = -inset; c < K + 2 * inset - 1; ++c) {
            const double tl = set.valueAt(r, c);
            const double bl = set.valueAt(r + 1, c);
            const double tr = set.valueAt(r, c + 1);
            const double br = set.valueAt(r + 1, c + 1);
            const int spanH = (r < 0 || r == R - 1) ? cellH / 2 : cellH;
            const int spanW = (c < 0 || c == K - 1) ? cellW / 2 : cellW;
            if (tl == NO_VALUE || bl == NO_VALUE || tr == NO_VALUE || br == NO_VALUE || spanH <= 0)
                continue;
            const int xL = X0 + c * cellW + ((c < 0 ? 2 : 1) * cellW * inset) / 2;
            const int yT = Y0 + r * cellH + ((r < 0 ? 2 : 1) * cellH * inset) / 2;
            double a = (tl - bands.minimum) / bands.spacing;
            double b = (tr - bands.minimum) / bands.spacing;
            const double dA = ((bl - bands.minimum) / bands.spacing - a) / spanH;
            const double dB = ((br - bands.minimum) / bands.spacing - b) / spanH;
            for (int k = 0; k < spanH; ++k) {
                a += dA;
                b += dB;
                if (spanW <= 0)
                    continue;
                const double dh = (b - a) / spanW;
                double h = a;
                int runStart = xL;
                int g = truncToInt(a);
                runs.clear();
                for (int j = 0; j < spanW; ++j) {
                    const int band = truncToInt(h);
                    if (band != g) {
                        runs.push_back({runStart, xL + j, g});
                        runStart = xL + j;
                        g = band;
                    }
                    h += dh;
                }
                runs.push_back({runStart, xL + spanW, g});
                const int row = yT + k;
                for (const Run &run : runs)
                    dc.fillRect(Rect{run.start, row, run.end, row + 1}, brushOf(run.band));
            }
        }
    }

    // Singular squares.
    const int xQ = X0 + (K + inset) * cellW + 2 * u;
    for (int i = 0; i < Q; ++i) {
        const int top = Y0 + i * cellH;
        const double v = set.valueAt(SINGULAR_ROW, i);
        if (v == NO_VALUE)
            continue;
        const Rect square{xQ, top, xQ + cellH, top + cellH};
        const ObjectHandle brush = dc.createSolidBrush(bandColour(scale, bands, v));
        if (settings.showSingularAsText) {
            dc.fillRect(square, dc.stockObject(platform::StockObject::WhiteBrush));
            drawText(dc, (square.left + square.right) / 2, (square.top + square.bottom) / 2,
                     ALIGN_CENTRE_TOP, formatFixed(v, 1));
        } else {
            dc.fillRect(square, brush);
        }
        dc.deleteObject(brush);
    }

    if (R > 0) {
        for (int i = 0; i < R; ++i) {
            drawText(dc, X0 - u, Y0 + halfH + u / 3 + i * cellH, ALIGN_RIGHT_BASELINE,
                     "R" + std::to_string(i + 1));
            const int lineY = Y0 + halfH + i * cellH;
            dc.moveTo(X0 + halfW, lineY);
            dc.lineTo(X0 + halfW + (K - 1) * cellW, lineY);
        }
    }
    if (K > 0) {
        for (int i = 0; i < K; ++i) {
            const int xi = X0 + halfW + i * cellW;
            drawText(dc, xi, Y0 + 2 * halfH + (R - 1) * cellH + u, ALIGN_CENTRE_TOP,
                     "C" + std::to_string(i + 1));
            dc.moveTo(xi, Y0 + halfH);
            dc.lineTo(xi, Y0 + halfH + (R - 1) * cellH);
        }
    }
    if (Q > 0) {
        for (int i = 0; i < Q; ++i) {
            const int top = Y0 + i * cellH;
            drawText(dc, X0 + (K + inset) * cellW + (3 * u) / 2,
                     Y0 + (2 * u) / 3 + cellH / 2 + i * cellH, ALIGN_RIGHT_BASELINE,
                     "S" + std::to_string(i + 1));
            dc.moveTo(xQ, top);
            dc.lineTo(xQ, top + cellH);
            dc.lineTo(xQ + cellH, top + cellH);
            dc.lineTo(xQ + cellH, top);
            dc.lineTo(xQ, top);
        }
    }

    // The legend; its column breaks follow the rectangle's height, so it may run past the
    // right edge when the first estimate of its width was short.
    const ObjectHandle black = dc.stockObject(platform::StockObject::BlackBrush);
    int legendX = x + width - layout.legendColumns * LEGEND_COLUMN_UNITS * u;
    int boxTop = y + u;
    for (int i = 0; i < nb; ++i) {
        const double start = bandStarts[static_cast<std::size_t>(i)];
        drawText(dc, legendX + (3 * u) / 2, boxTop + u / 2 + u / 4, ALIGN_LEFT_BASELINE,
                 formatFixed(start, 2) + " - " + formatFixed(start + bands.spacing, 2));
        const Rect box{legendX, boxTop, legendX + u, boxTop + u};
        dc.fillRect(box, brushes[static_cast<std::size_t>(i)]);
        dc.frameRect(box, black);
        if (box.bottom + 2 * u > y + height) {
            legendX += LEGEND_COLUMN_UNITS * u;
            boxTop = y + u;
        } else {
            boxTop += layout.pitch;
        }
    }

    dc.selectObject(previousFont);
    dc.selectObject(previousPen);
    dc.deleteObject(font);
    dc.deleteObject(pen);
    for (const ObjectHandle brush : brushes)
        dc.deleteObject(brush);
}

} // namespace zqar
