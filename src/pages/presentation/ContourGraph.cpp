#include "pages/presentation/ContourGraph.h"

#include "core/analysis/TemperatureSet.h"
#include "core/data/numbers.h"
#include "resources/displayTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace zqar {

using platform::Colour;
using platform::DrawingContext;
using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

constexpr double UNIT_PER_DPI = 0.1279527559055118; // 3.25 mm in inches
constexpr int MAX_UNIT = 4096;                      // pixels; a device beyond 32000 dpi
constexpr double MAX_COORDINATE = 1.0e9;            // stays clear of 32-bit overflow
constexpr int FITTING_ROUNDS = 10;
constexpr int FIELD_TO_SINGULAR_GAP = 30; // pixels, in the first width estimate
constexpr int LEGEND_COLUMN_UNITS = 9;
constexpr int PROBLEM_FONT_HEIGHT = 12; // pixels, when the device gives no usable unit
constexpr int LEGEND_DECIMALS = 2;
constexpr int TITLE_UNITS = 2;                  // the height of a map's title line, text units
constexpr double ROUND_STEP_TOLERANCE = 1.0e-9; // relative; band spacings are typed decimals
constexpr int64_t ROUND_STEP_SEARCH = 10;       // how far a bar's tick step may grow to be round
constexpr int SINGULAR_TEXT_DECIMALS = 1;
constexpr const char *GRAPH_FONT_FACE = "Arial";

constexpr unsigned ALIGN_LEFT_TOP = platform::TA_LEFT | platform::TA_TOP;
constexpr unsigned ALIGN_CENTRE_TOP = platform::TA_CENTER | platform::TA_TOP;
constexpr unsigned ALIGN_LEFT_BASELINE = platform::TA_LEFT | platform::TA_BASELINE;
constexpr unsigned ALIGN_RIGHT_BASELINE = platform::TA_RIGHT | platform::TA_BASELINE;

constexpr platform::Pen GRID_PEN{platform::PenStyle::Solid, 1, platform::BLACK};

int componentMix(int thisComponent, int nextComponent, double w) {
    return truncToInt(nextComponent * w + thisComponent * (1.0 - w));
}

// The graph's texts: black on no background, in the graph's face at a height of the layout.
platform::TextStyle graphText(int height, unsigned align) {
    return platform::TextStyle{
        {GRAPH_FONT_FACE, height, platform::FontRequest::NORMAL}, platform::BLACK, align};
}

// Text output as the graph does it: transparent, black, then the alignment.
void drawText(DrawingContext &dc, int x, int y, unsigned align, const std::string &text) {
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.setTextColour(platform::BLACK);
    dc.setTextAlign(align);
    dc.textOut(x, y, text);
}

void drawProblem(DrawingContext &dc, const ContourLayout &layout, int x, int y) {
    const int height =
        layout.unit >= 1 && layout.unit <= MAX_UNIT ? layout.unit : PROBLEM_FONT_HEIGHT;
    dc.setTextStyle(graphText(height, ALIGN_LEFT_TOP));
    drawText(dc, x + height, y + height, ALIGN_LEFT_TOP, layout.problem);
}

// The first band setting that leaves nothing to draw, or null.
const char *bandProblem(const BandParameters &bands) {
    if (!std::isfinite(bands.minimum))
        return text::GRAPH_BAD_MINIMUM;
    if (!std::isfinite(bands.maximum))
        return text::GRAPH_BAD_MAXIMUM;
    if (!std::isfinite(bands.spacing) || !(bands.spacing > 0.0))
        return text::GRAPH_BAD_SPACING;
    if (!(bands.maximum > bands.minimum))
        return text::GRAPH_NO_BANDS;
    if (!((bands.maximum - bands.minimum) / bands.spacing <= MAX_BANDS))
        return text::GRAPH_TOO_MANY_BANDS;
    return nullptr;
}

// The layout's inputs in 64 bits, so that no product of them overflows.
struct LayoutSizes {
    int64_t rows = 0;
    int64_t columns = 0;
    int64_t singularCount = 0;
    int64_t inset = 0;
    int64_t width = 0; // the rectangle, pixels
    int64_t height = 0;
    int64_t unit = 0;
    int64_t rowSlots = 0;
    double bandCount = 0.0;
    double rowSpacing = 1.0;
    double columnSpacing = 1.0;
    int64_t estimatedLinesPerColumn = 0; // legend lines per column in the first estimate
    double legendColumnCount = 0.0;      // legend columns as drawn
    double legendColumnWidth = 0.0;
    bool colourBar = false; // the legend is one column whatever the band count
};

struct FieldPlacement {
    const char *problem = nullptr;
    int64_t cellWidth = 0;
    int64_t cellHeight = 0;
    int64_t left = 0;
    int64_t top = 0;
    bool fitted = false;
};

// First an estimate that centres field, singular squares and legend across the width; when
// that does not fit, cells fitted to the width, the field centred in the height.
FieldPlacement placeField(const LayoutSizes &sizes) {
    FieldPlacement field;
    const int64_t unit = sizes.unit;
    field.cellHeight = (sizes.height - 8 * unit) / sizes.rowSlots;
    field.cellWidth = truncToInt(field.cellHeight / sizes.rowSpacing * sizes.columnSpacing);
    // legA = ceil(nb / (H / (u + 3))); x0 = (W - legA * 9u - (K + inset) * cellW - 30 - cellH) / 2
    const double estimatedLegendColumns =
        sizes.colourBar
            ? 1.0
            : std::ceil(sizes.bandCount / static_cast<double>(sizes.estimatedLinesPerColumn));
    field.left = truncToInt((sizes.width - estimatedLegendColumns * sizes.legendColumnWidth -
                             static_cast<double>((sizes.columns + sizes.inset) * field.cellWidth) -
                             FIELD_TO_SINGULAR_GAP - field.cellHeight) *
                            0.5);
    const int64_t singularsRight =
        field.left + 2 * unit + sizes.columns * field.cellWidth + field.cellHeight;
    field.top = 4 * unit;
    if (field.left >= 0 && static_cast<double>(sizes.width - 4 * unit) -
                                   sizes.legendColumnCount * sizes.legendColumnWidth >=
                               singularsRight)
        return field;
    field.fitted = true;
    if (sizes.columns + sizes.inset < 1) {
        field.problem = text::GRAPH_NO_COLUMNS;
        return field;
    }
    field.left = 4 * unit;
    for (int round = 0; round < FITTING_ROUNDS; ++round) {
        field.cellWidth =
            truncToInt((sizes.width - sizes.legendColumnCount * sizes.legendColumnWidth - 8 * unit -
                        2 * unit - field.cellHeight) /
                       static_cast<double>(sizes.columns + sizes.inset));
        field.cellHeight = truncToInt(field.cellWidth / sizes.columnSpacing * sizes.rowSpacing);
        field.top = (sizes.height - sizes.rowSlots * field.cellHeight) / 2;
    }
    return field;
}

// A cell under one pixel makes the field a line and stacks the labels on each other; spans,
// squares and labels reach at most two cells past the array on each side.
bool fieldIsDrawable(const LayoutSizes &sizes, const FieldPlacement &field) {
    if (field.cellWidth < 1 || field.cellHeight < 1)
        return false;
    const double spanCount =
        static_cast<double>(sizes.rows + 2) * static_cast<double>(sizes.columns + 2);
    const double absWidth = static_cast<double>(std::llabs(field.cellWidth));
    const double absHeight = static_cast<double>(std::llabs(field.cellHeight));
    const double extentX =
        std::abs(static_cast<double>(field.left)) + static_cast<double>(sizes.width) +
        static_cast<double>(sizes.columns + 2) * absWidth + 3 * absHeight + 20.0 * sizes.unit;
    const double extentY =
        std::abs(static_cast<double>(field.top)) + static_cast<double>(sizes.height) +
        static_cast<double>(std::max(sizes.rows, sizes.singularCount) + 2) * absHeight +
        10.0 * sizes.unit;
    return !(spanCount * std::max(absWidth, 1.0) * std::max(absHeight, 1.0) > MAX_FIELD_PIXELS ||
             extentX > MAX_COORDINATE || extentY > MAX_COORDINATE);
}

// What leaves no drawable field, named by the setting to change: the legend's bands taking
// the width the field needed, more rows than the height has pixels, or else the spacings.
const char *fieldProblem(const LayoutSizes &sizes) {
    LayoutSizes withoutLegend = sizes;
    withoutLegend.bandCount = 0.0;
    withoutLegend.legendColumnCount = 0.0;
    withoutLegend.colourBar = false;
    const FieldPlacement bare = placeField(withoutLegend);
    if (!bare.problem && fieldIsDrawable(withoutLegend, bare))
        return text::GRAPH_LEGEND_CROWDS;
    if ((sizes.height - 8 * sizes.unit) / sizes.rowSlots < 1)
        return text::GRAPH_TOO_LOW_FOR_ROWS;
    return text::GRAPH_SPACINGS;
}

// Positions on the device for one drawing: the layout moved to the rectangle's corner.
struct Placement {
    ArrayDimensions dimensions;
    int inset = 0;
    int unit = 0;
    Size cell;            // one cell's width and height
    Point field;          // the field's top-left corner
    Size insetSize;       // from the field's edge to the first logger: half a cell, or none
    int singularLeft = 0; // the singular squares' left edge
};

Placement placeOnDevice(const ContourLayout &layout, const ArrayDimensions &dimensions, int inset,
                        int x, int y) {
    Placement place;
    place.dimensions = dimensions;
    place.inset = inset;
    place.unit = layout.unit;
    place.cell = {layout.cellWidth, layout.cellHeight};
    place.field = {x + layout.fieldLeft, y + layout.fieldTop};
    place.insetSize = {(place.cell.width * inset) / 2, (place.cell.height * inset) / 2};
    place.singularLeft =
        place.field.x + (dimensions.columns + inset) * place.cell.width + 2 * place.unit;
    return place;
}

// Each band's first temperature and colour. The starts accumulate one addition per band, as
// the legend shows them.
struct BandTable {
    std::vector<double> starts;
    std::vector<Colour> colours;

    Colour colourOf(int band) const {
        const int last = static_cast<int>(colours.size()) - 1;
        return colours[static_cast<std::size_t>(band < 0 ? 0 : band > last ? last : band)];
    }
};

BandTable makeBandTable(const ColourScale &scale, const BandParameters &bands, int bandCount) {
    BandTable table;
    table.starts.reserve(static_cast<std::size_t>(bandCount));
    table.colours.reserve(static_cast<std::size_t>(bandCount));
    double t = bands.minimum;
    for (int i = 0; i < bandCount; ++i) {
        table.starts.push_back(t);
        table.colours.push_back(bandColour(scale, bands, t));
        t += bands.spacing;
    }
    return table;
}

struct Run {
    int start;
    int end;
    int band;
};

// The temperatures at the four corners of one span of the field.
struct SpanCorners {
    double topLeft;
    double bottomLeft;
    double topRight;
    double bottomRight;
};

// One span between four neighbouring positions, interpolated row by row. Each pixel row is
// walked first, recording its runs of one band, and then filled run by run, so the per-pixel
// loop stays free of drawing calls.
void fillSpan(DrawingContext &dc, const Placement &place, const BandParameters &bands,
              const BandTable &table, const SpanCorners &corners, int r, int c,
              std::vector<Run> &runs) {
    const int spanHeight =
        (r < 0 || r == place.dimensions.rows - 1) ? place.cell.height / 2 : place.cell.height;
    const int spanWidth =
        (c < 0 || c == place.dimensions.columns - 1) ? place.cell.width / 2 : place.cell.width;
    if (spanHeight <= 0)
        return;
    const int spanLeft = place.field.x + c * place.cell.width +
                         ((c < 0 ? 2 : 1) * place.cell.width * place.inset) / 2;
    const int spanTop = place.field.y + r * place.cell.height +
                        ((r < 0 ? 2 : 1) * place.cell.height * place.inset) / 2;
    // Band positions down the left and right edges, a = (T - minimum) / spacing.
    double leftBand = (corners.topLeft - bands.minimum) / bands.spacing;
    double rightBand = (corners.topRight - bands.minimum) / bands.spacing;
    const double leftStep =
        ((corners.bottomLeft - bands.minimum) / bands.spacing - leftBand) / spanHeight;
    const double rightStep =
        ((corners.bottomRight - bands.minimum) / bands.spacing - rightBand) / spanHeight;
    for (int k = 0; k < spanHeight; ++k) {
        leftBand += leftStep;
        rightBand += rightStep;
        if (spanWidth <= 0)
            continue;
        const double step = (rightBand - leftBand) / spanWidth;
        double position = leftBand;
        int runStart = spanLeft;
        int runBand = truncToInt(leftBand);
        runs.clear();
        for (int j = 0; j < spanWidth; ++j) {
            const int band = truncToInt(position);
            if (band != runBand) {
                runs.push_back({runStart, spanLeft + j, runBand});
                runStart = spanLeft + j;
                runBand = band;
            }
            position += step;
        }
        runs.push_back({runStart, spanLeft + spanWidth, runBand});
        const int row = spanTop + k;
        for (const Run &run : runs)
            dc.fillRect(Rect{run.start, row, run.end, row + 1}, table.colourOf(run.band));
    }
}

void drawField(DrawingContext &dc, const TemperatureSet &set, const Placement &place,
               const BandParameters &bands, const BandTable &table) {
    std::vector<Run> runs;
    const int inset = place.inset;
    for (int r = -inset; r < place.dimensions.rows + 2 * inset - 1; ++r) {
        for (int c = -inset; c < place.dimensions.columns + 2 * inset - 1; ++c) {
            const SpanCorners corners{set.valueAt(r, c), set.valueAt(r + 1, c),
                                      set.valueAt(r, c + 1), set.valueAt(r + 1, c + 1)};
            if (corners.topLeft == NO_VALUE || corners.bottomLeft == NO_VALUE ||
                corners.topRight == NO_VALUE || corners.bottomRight == NO_VALUE)
                continue;
            fillSpan(dc, place, bands, table, corners, r, c, runs);
        }
    }
}

void drawSingularSquares(DrawingContext &dc, const TemperatureSet &set, const Placement &place,
                         const ContourSettings &settings, const ColourScale &scale) {
    const int left = place.singularLeft;
    for (int i = 0; i < place.dimensions.singularCount; ++i) {
        const int top = place.field.y + i * place.cell.height;
        const double v = set.valueAt(SINGULAR_ROW, i);
        if (v == NO_VALUE)
            continue;
        const Rect square{left, top, left + place.cell.height, top + place.cell.height};
        if (settings.showSingularAsText) {
            dc.fillRect(square, platform::WHITE);
            drawText(dc, (square.left + square.right) / 2, (square.top + square.bottom) / 2,
                     ALIGN_CENTRE_TOP, formatFixed(v, SINGULAR_TEXT_DECIMALS));
        } else {
            dc.fillRect(square, bandColour(scale, settings.bands, v));
        }
    }
}

// Which labels of one kind are drawn, and which grid lines: every labelStep-th label and
// every lineStep-th line, from the first position.
struct LabelStep {
    int labelStep = 1;
    int lineStep = 1;
};

struct LabelSteps {
    LabelStep rows;
    LabelStep columns;
    LabelStep singulars;
};

// The widest and the tallest of the labels pattern makes for 1 to count, as dc measures them.
Size largestLabel(DrawingContext &dc, const char *pattern, int count) {
    Size largest;
    std::string label;
    for (int i = 1; i <= count; ++i) {
        text::format(label, pattern, i);
        const Size extent = dc.textExtent(label);
        largest.width = std::max(largest.width, extent.width);
        largest.height = std::max(largest.height, extent.height);
    }
    return largest;
}

// The smallest step whose distance, pitch pixels a position, holds a label of extent pixels
// and a gap of gap pixels.
int smallestStep(int pitch, int extent, int gap) {
    const int64_t needed = static_cast<int64_t>(extent) + gap;
    if (pitch < 1 || needed <= pitch)
        return 1;
    return static_cast<int>((needed + pitch - 1) / pitch);
}

// A cell under two thirds of the text height (8 pixels at 96 dpi, 2.2 mm on paper) keeps
// only the grid lines that carry a label: a line each would hide the colours.
LabelStep labelStep(int pitch, int extent, int gap, int unit) {
    LabelStep step;
    step.labelStep = smallestStep(pitch, extent, gap);
    step.lineStep = pitch < smallCellLimit(unit) ? step.labelStep : 1;
    return step;
}

// Rows and singular slots stack their labels a cell height apart, columns put them side by
// side a cell width apart. The gap is that of the legend's lines, a quarter of the text height.
LabelSteps labelSteps(DrawingContext &dc, const Placement &place) {
    const ArrayDimensions &d = place.dimensions;
    const int u = place.unit;
    const int gap = std::max(1, u / 4);
    LabelSteps steps;
    steps.rows =
        labelStep(place.cell.height, largestLabel(dc, text::ROW_LABEL, d.rows).height, gap, u);
    steps.columns =
        labelStep(place.cell.width, largestLabel(dc, text::COLUMN_LABEL, d.columns).width, gap, u);
    steps.singulars = labelStep(
        place.cell.height, largestLabel(dc, text::SINGULAR_LABEL, d.singularCount).height, gap, u);
    // The squares' outlines stay: each is the edge of its own square, not a line over the field.
    steps.singulars.lineStep = 1;
    return steps;
}

// Row labels left of the field and a grid line through each row of loggers.
void drawRowLabels(DrawingContext &dc, const Placement &place, const LabelStep &step) {
    const int u = place.unit;
    for (int i = 0; i < place.dimensions.rows; ++i) {
        if (i % step.labelStep == 0)
            drawText(dc, place.field.x - u,
                     place.field.y + place.insetSize.height + u / 3 + i * place.cell.height,
                     ALIGN_RIGHT_BASELINE, text::format(text::ROW_LABEL, i + 1));
        if (i % step.lineStep != 0)
            continue;
        const int lineY = place.field.y + place.insetSize.height + i * place.cell.height;
        dc.moveTo(place.field.x + place.insetSize.width, lineY);
        dc.lineTo(place.field.x + place.insetSize.width +
                      (place.dimensions.columns - 1) * place.cell.width,
                  lineY);
    }
}

// Column labels below the field and a grid line through each column of loggers.
void drawColumnLabels(DrawingContext &dc, const Placement &place, const LabelStep &step) {
    const int u = place.unit;
    for (int i = 0; i < place.dimensions.columns; ++i) {
        const int lineX = place.field.x + place.insetSize.width + i * place.cell.width;
        if (i % step.labelStep == 0)
            drawText(dc, lineX,
                     place.field.y + 2 * place.insetSize.height +
                         (place.dimensions.rows - 1) * place.cell.height + u,
                     ALIGN_CENTRE_TOP, text::format(text::COLUMN_LABEL, i + 1));
        if (i % step.lineStep != 0)
            continue;
        dc.moveTo(lineX, place.field.y + place.insetSize.height);
        dc.lineTo(lineX, place.field.y + place.insetSize.height +
                             (place.dimensions.rows - 1) * place.cell.height);
    }
}

// Singular labels between the field and the squares, and each square's outline.
void drawSingularLabels(DrawingContext &dc, const Placement &place, const LabelStep &step) {
    const int u = place.unit;
    const int left = place.singularLeft;
    const int side = place.cell.height;
    for (int i = 0; i < place.dimensions.singularCount; ++i) {
        const int top = place.field.y + i * place.cell.height;
        if (i % step.labelStep == 0)
            drawText(dc,
                     place.field.x + (place.dimensions.columns + place.inset) * place.cell.width +
                         (3 * u) / 2,
                     place.field.y + (2 * u) / 3 + place.cell.height / 2 + i * place.cell.height,
                     ALIGN_RIGHT_BASELINE, text::format(text::SINGULAR_LABEL, i + 1));
        dc.moveTo(left, top);
        dc.lineTo(left, top + side);
        dc.lineTo(left + side, top + side);
        dc.lineTo(left + side, top);
        dc.lineTo(left, top);
    }
}

// The legend; its column breaks follow the rectangle's height, so it may run past the right
// edge when the first estimate of its width was short.
void drawLegend(DrawingContext &dc, const ContourLayout &layout, const BandParameters &bands,
                const BandTable &table, const Rect &area) {
    const int u = layout.unit;
    int legendX = area.right - layout.legendColumnCount * layout.legendColumnWidth;
    int boxTop = area.top + layout.legendTop;
    for (int i = 0; i < layout.bandCount; ++i) {
        const double start = table.starts[static_cast<std::size_t>(i)];
        std::string range = formatFixed(start, LEGEND_DECIMALS);
        range += text::LEGEND_RANGE_SEPARATOR;
        range += formatFixed(start + bands.spacing, LEGEND_DECIMALS);
        drawText(dc, legendX + (3 * u) / 2, boxTop + u / 2 + u / 4, ALIGN_LEFT_BASELINE, range);
        const Rect box{legendX, boxTop, legendX + u, boxTop + u};
        dc.fillRect(box, table.colours[static_cast<std::size_t>(i)]);
        dc.frameRect(box, platform::BLACK);
        if (box.bottom + 2 * u > area.bottom) {
            legendX += layout.legendColumnWidth;
            boxTop = area.top + layout.legendTop;
        } else {
            boxTop += layout.legendLinePitch;
        }
    }
}

// Whether a temperature step reads as 1, 2, 2.5 or 5 times a power of ten.
bool isRoundStep(double step) {
    if (!(step > 0.0) || !std::isfinite(step))
        return false;
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / decade;
    for (const double round : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (std::fabs(mantissa - round) < ROUND_STEP_TOLERANCE * round)
            return true;
    return false;
}

// The bands from one labelled tick of a bar barHeight pixels high to the next: the fewest
// whose share of the height holds needed pixels, moved up to a round step of temperature
// when one lies within ten times that; otherwise the next of 1, 2, 5, 10, 20, ... bands.
int64_t tickStep(int64_t barHeight, int64_t bandCount, int64_t needed, double spacing) {
    const int64_t fewest = std::max<int64_t>(1, (needed * bandCount + barHeight - 1) / barHeight);
    for (int64_t step = fewest; step <= fewest * ROUND_STEP_SEARCH; ++step)
        if (isRoundStep(static_cast<double>(step) * spacing))
            return step;
    for (int64_t decade = 1;; decade *= 10)
        for (const int64_t factor : {1, 2, 5})
            if (factor * decade >= fewest)
                return factor * decade;
}

// The bands as one bar, the coldest at the bottom, in the first legend column: each band a
// slice of the bar's height, and ticks at band edges every few bands, labelled with their
// temperatures, as many as leave the legend's gap between the labels.
void drawColourBar(DrawingContext &dc, const ContourLayout &layout, const BandParameters &bands,
                   const BandTable &table, const Rect &area) {
    const int u = layout.unit;
    const int left = area.right - layout.legendColumnWidth;
    const int top = area.top + layout.legendTop;
    const int bottom = area.bottom - u;
    const int64_t barHeight = bottom - top;
    const int64_t bandCount = layout.bandCount;
    if (barHeight < 1 || bandCount < 1)
        return;
    // The bar's y of the lower edge of band i; band bandCount's lower edge is the top.
    const auto edgeY = [&](int64_t i) {
        return bottom - static_cast<int>(barHeight * i / bandCount);
    };
    for (int64_t i = 0; i < bandCount; ++i) {
        const Rect slice{left, edgeY(i + 1), left + u, edgeY(i)};
        if (slice.top < slice.bottom)
            dc.fillRect(slice, table.colours[static_cast<std::size_t>(i)]);
    }
    dc.frameRect(Rect{left, top, left + u, bottom}, platform::BLACK);

    const int64_t needed =
        static_cast<int64_t>(dc.textExtent(formatFixed(0.0, LEGEND_DECIMALS)).height) +
        std::max(1, u / 4);
    const int64_t step = tickStep(barHeight, bandCount, needed, bands.spacing);
    const int tickRight = left + u + u / 2;
    for (int64_t i = 0; i <= bandCount; i += step) {
        const int y = edgeY(i);
        const double temperature =
            i < bandCount ? table.starts[static_cast<std::size_t>(i)]
                          : table.starts[static_cast<std::size_t>(bandCount - 1)] + bands.spacing;
        dc.moveTo(left + u, y);
        dc.lineTo(tickRight, y);
        drawText(dc, tickRight + u / 4, y + u / 3, ALIGN_LEFT_BASELINE,
                 formatFixed(temperature, LEGEND_DECIMALS));
    }
}
} // namespace

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

namespace {

// The legend boxes drawLegend puts in one column of a rectangle height pixels high: each box
// one unit high from one unit below the top, and a new column once a box's bottom lies less
// than two units above the rectangle's bottom.
int64_t boxesPerColumn(int64_t height, int64_t unit, int64_t pitch) {
    const int64_t room = height - unit - 3 * unit; // above the last top that keeps the column
    if (room < 0 || pitch < 1)
        return 1;
    return room / pitch + 2;
}

} // namespace

ContourLayout layoutContourGraph(int logPixelsX, const ArrayDimensions &dimensions,
                                 const ContourSettings &settings, int width, int height,
                                 LegendStyle legend) {
    ContourLayout layout;
    layout.unit = truncToInt(logPixelsX * UNIT_PER_DPI);
    if (layout.unit < 1 || layout.unit > MAX_UNIT) {
        layout.problem = text::GRAPH_BAD_RESOLUTION;
        return layout;
    }
    const BandParameters &bands = settings.bands;
    if (const char *problem = bandProblem(bands)) {
        layout.problem = problem;
        return layout;
    }
    layout.bandCount = truncToInt(std::ceil((bands.maximum - bands.minimum) / bands.spacing));

    LayoutSizes sizes;
    sizes.rows = dimensions.rows;
    sizes.columns = dimensions.columns;
    sizes.singularCount = dimensions.singularCount;
    sizes.inset = settings.inset;
    sizes.width = width;
    sizes.height = height;
    sizes.unit = layout.unit;
    sizes.bandCount = layout.bandCount;
    sizes.rowSpacing = settings.rowSpacing;
    sizes.columnSpacing = settings.columnSpacing;
    sizes.rowSlots = std::max(sizes.rows + sizes.inset, sizes.singularCount);
    layout.rowSlots = static_cast<int>(sizes.rowSlots);
    if (sizes.rowSlots < 1) {
        layout.problem = text::GRAPH_NO_ROWS;
        return layout;
    }
    sizes.estimatedLinesPerColumn = sizes.height / (sizes.unit + 3);
    layout.legendLinePitch = static_cast<int>(sizes.unit + sizes.unit / 4);
    const int64_t linesPerColumn = sizes.height / layout.legendLinePitch;
    if (sizes.estimatedLinesPerColumn < 1 || linesPerColumn < 1) {
        layout.problem = text::GRAPH_TOO_LOW;
        return layout;
    }
    sizes.legendColumnCount = std::ceil(sizes.bandCount / static_cast<double>(linesPerColumn));
    // The boxes break to a new column by drawLegend's own rule, which leaves room below the
    // last box and so holds fewer lines than linesPerColumn: a legend that counted as one
    // column may be drawn as two, the second beyond the right edge. The bar decides by the
    // boxes as drawn.
    if (legend == LegendStyle::BarWhenCrowded &&
        (sizes.legendColumnCount > 1.0 ||
         sizes.bandCount > boxesPerColumn(sizes.height, layout.unit, layout.legendLinePitch))) {
        layout.colourBar = true;
        sizes.colourBar = true;
        sizes.legendColumnCount = 1.0;
    }
    layout.legendColumnCount = truncToInt(sizes.legendColumnCount);
    layout.legendColumnWidth = LEGEND_COLUMN_UNITS * layout.unit;
    sizes.legendColumnWidth = static_cast<double>(layout.legendColumnWidth);
    layout.legendTop = layout.unit;

    const FieldPlacement field = placeField(sizes);
    layout.fitted = field.fitted;
    if (field.problem) {
        layout.problem = field.problem;
        return layout;
    }
    if (!fieldIsDrawable(sizes, field)) {
        layout.problem = fieldProblem(sizes);
        return layout;
    }
    layout.cellWidth = static_cast<int>(field.cellWidth);
    layout.cellHeight = static_cast<int>(field.cellHeight);
    layout.fieldLeft = static_cast<int>(field.left);
    layout.fieldTop = static_cast<int>(field.top);
    return layout;
}

void drawContourGraph(DrawingContext &dc, const TemperatureSet &set,
                      const ArrayDimensions &dimensions, const ContourSettings &settings,
                      const ColourScale &scale, int x, int y, int width, int height,
                      LegendStyle legend) {
    const ContourLayout layout = layoutContourGraph(dc.deviceCaps(platform::LOGPIXELSX), dimensions,
                                                    settings, width, height, legend);
    if (std::abs(static_cast<double>(x)) > MAX_COORDINATE ||
        std::abs(static_cast<double>(y)) > MAX_COORDINATE)
        return;
    if (!layout.problem.empty()) {
        drawProblem(dc, layout, x, y);
        return;
    }
    const Placement place = placeOnDevice(layout, dimensions, settings.inset, x, y);
    const BandTable table = makeBandTable(scale, settings.bands, layout.bandCount);
    dc.setTextStyle(graphText(layout.unit, ALIGN_LEFT_TOP));
    dc.setPen(GRID_PEN);
    drawField(dc, set, place, settings.bands, table);
    drawSingularSquares(dc, set, place, settings, scale);
    const LabelSteps steps = labelSteps(dc, place);
    drawRowLabels(dc, place, steps.rows);
    drawColumnLabels(dc, place, steps.columns);
    drawSingularLabels(dc, place, steps.singulars);
    const Rect area{x, y, x + width, y + height};
    if (layout.colourBar)
        drawColourBar(dc, layout, settings.bands, table, area);
    else
        drawLegend(dc, layout, settings.bands, table, area);
}

namespace {

constexpr platform::Pen MARK_PEN{platform::PenStyle::Solid, 3, platform::BLACK};

// The logger's point of a position on the device: where its grid lines cross, or the middle
// of its singular square. None for a position outside the array.
std::optional<Point> markPoint(const Placement &place, int row, int col) {
    const ArrayDimensions &d = place.dimensions;
    if (row == SINGULAR_ROW) {
        if (col < 0 || col >= d.singularCount)
            return std::nullopt;
        return Point{place.singularLeft + place.cell.height / 2,
                     place.field.y + col * place.cell.height + place.cell.height / 2};
    }
    if (row < 0 || row >= d.rows || col < 0 || col >= d.columns)
        return std::nullopt;
    return Point{place.field.x + place.insetSize.width + col * place.cell.width,
                 place.field.y + place.insetSize.height + row * place.cell.height};
}

// The text on white, so it reads over any band.
void drawMarkText(DrawingContext &dc, int x, int y, const std::string &text) {
    const Size extent = dc.textExtent(text);
    dc.fillRect(Rect{x - extent.width / 2 - 1, y, x + extent.width - extent.width / 2 + 1,
                     y + extent.height},
                platform::WHITE);
    drawText(dc, x, y, ALIGN_CENTRE_TOP, text);
}

void drawRankMark(DrawingContext &dc, Point at, int unit, const std::string &text) {
    const int half = (3 * unit) / 4;
    const Rect box{at.x - half, at.y - half, at.x + half, at.y + half};
    dc.fillRect(box, platform::WHITE);
    dc.frameRect(box, platform::BLACK);
    dc.frameRect(Rect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, platform::BLACK);
    drawText(dc, at.x, at.y - unit / 2, ALIGN_CENTRE_TOP, text);
}

// A thick black frame with a white one inside it, to be seen on every band.
void drawFrameMark(DrawingContext &dc, Point at, int unit, const std::string &text) {
    const int half = unit;
    dc.frameRect(Rect{at.x - half + 2, at.y - half + 2, at.x + half - 1, at.y + half - 1},
                 platform::WHITE);
    dc.setPen(MARK_PEN);
    dc.moveTo(at.x - half, at.y - half);
    dc.lineTo(at.x + half, at.y - half);
    dc.lineTo(at.x + half, at.y + half);
    dc.lineTo(at.x - half, at.y + half);
    dc.lineTo(at.x - half, at.y - half);
    if (!text.empty())
        drawMarkText(dc, at.x, at.y + half + 2, text);
}

} // namespace

void drawPositionMarks(DrawingContext &dc, const ArrayDimensions &dimensions,
                       const ContourSettings &settings, const std::vector<PositionMark> &marks,
                       int x, int y, int width, int height, LegendStyle legend) {
    if (marks.empty())
        return;
    const ContourLayout layout = layoutContourGraph(dc.deviceCaps(platform::LOGPIXELSX), dimensions,
                                                    settings, width, height, legend);
    if (!layout.problem.empty() || std::abs(static_cast<double>(x)) > MAX_COORDINATE ||
        std::abs(static_cast<double>(y)) > MAX_COORDINATE)
        return;
    const Placement place = placeOnDevice(layout, dimensions, settings.inset, x, y);
    dc.setTextStyle(graphText(layout.unit, ALIGN_LEFT_TOP));
    for (const PositionMark &mark : marks) {
        const std::optional<Point> at = markPoint(place, mark.row, mark.col);
        if (!at)
            continue;
        if (mark.style == PositionMark::Style::Rank)
            drawRankMark(dc, *at, layout.unit, mark.text);
        else
            drawFrameMark(dc, *at, layout.unit, mark.text);
    }
    dc.setPen(GRID_PEN);
}

ContourSettings scaledToData(const ContourSettings &settings, const TemperatureSet &set) {
    const double spacing = settings.bands.spacing;
    if (!std::isfinite(spacing) || !(spacing > 0.0))
        return settings;
    std::optional<double> lowest;
    std::optional<double> highest;
    auto visit = [&](int row, int col) {
        const double value = set.valueAt(row, col);
        if (value == NO_VALUE || !std::isfinite(value))
            return;
        lowest = std::min(lowest.value_or(value), value);
        highest = std::max(highest.value_or(value), value);
    };
    for (int row = 0; row < set.rows; ++row)
        for (int col = 0; col < set.columns; ++col)
            visit(row, col);
    for (int slot = 0; slot < set.singularCount; ++slot)
        visit(SINGULAR_ROW, slot);
    if (!lowest)
        return settings;
    ContourSettings scaled = settings;
    scaled.bands.minimum = std::floor(*lowest / spacing) * spacing;
    scaled.bands.maximum = std::ceil(*highest / spacing) * spacing;
    // One value everywhere, on a band edge: one band above it.
    if (!(scaled.bands.maximum > scaled.bands.minimum))
        scaled.bands.maximum = scaled.bands.minimum + spacing;
    return scaled;
}

void drawTitledMap(DrawingContext &dc, const TemperatureSet &map, const std::string &title,
                   const ArrayDimensions &dimensions, const ContourSettings &settings,
                   const std::vector<PositionMark> &marks, int x, int y, int width, int height) {
    const int unit = truncToInt(dc.deviceCaps(platform::LOGPIXELSX) * UNIT_PER_DPI);
    int titleHeight = 0;
    if (unit >= 1 && unit <= MAX_UNIT && !title.empty()) {
        titleHeight = TITLE_UNITS * unit;
        dc.setTextStyle(graphText(unit, ALIGN_CENTRE_TOP).withWeight(platform::FontRequest::BOLD));
        dc.setBackgroundMode(platform::BackgroundMode::Transparent);
        dc.textOut(x + width / 2, y + unit / 2, title);
    }
    const int graphHeight = height - titleHeight;
    drawContourGraph(dc, map, dimensions, settings, DEFAULT_COLOUR_SCALE, x, y + titleHeight, width,
                     graphHeight, LegendStyle::BarWhenCrowded);
    drawPositionMarks(dc, dimensions, settings, marks, x, y + titleHeight, width, graphHeight,
                      LegendStyle::BarWhenCrowded);
}

} // namespace zqar
