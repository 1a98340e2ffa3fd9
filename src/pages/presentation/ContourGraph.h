#pragma once
// The contour graph: a colour-banded field over the logger array by bilinear interpolation,
// one square per singular logger, labels with grid lines, and a legend of the bands. The same
// routine draws on the screen and on paper; every size follows from the rectangle and the
// device's horizontal resolution. It takes the set, the array's dimensions and the contour
// settings as values.

#include "core/data/LoggerArray.h"
#include "core/job/JobSettings.h"
#include "platform/DrawingContext.h"

#include <array>
#include <string>
#include <vector>

namespace zqar {

class TemperatureSet;

using ColourScale = std::array<platform::Colour, 10>;

// Index 0 is the cold end, index 9 the hot end.
constexpr ColourScale DEFAULT_COLOUR_SCALE = {
    platform::rgb(128, 0, 255), platform::rgb(0, 0, 255),   platform::rgb(0, 128, 255),
    platform::rgb(0, 255, 255), platform::rgb(0, 255, 128), platform::rgb(0, 255, 0),
    platform::rgb(128, 255, 0), platform::rgb(255, 255, 0), platform::rgb(255, 128, 0),
    platform::rgb(255, 0, 0)};

// The colour of a temperature on the scale, by its band number among the bands.
platform::Colour bandColour(const ColourScale &scale, const BandParameters &bands, double t);

// Far more bands than any legend can show; beyond it a drawing refuses the settings, so
// absurd spacings cannot make millions of brushes and legend lines.
constexpr double MAX_BANDS = 10000.0;
// How the bands are shown beside the field. The Graph tab, its pictures and its printout list
// the bands as boxes in as many columns as they need; a report's map draws them as one colour
// bar with labelled ticks instead once the boxes need more than one column, so the map keeps
// the width.
enum class LegendStyle { Boxes, BarWhenCrowded };

// Pixels the field's spans may visit in one drawing (a field of 16000 x 16000). A layout
// that asks for more, or whose coordinates leave the 32-bit range, is refused.
constexpr double MAX_FIELD_PIXELS = 256.0e6;

// Where things go, for one rectangle on one device; positions are pixels from the
// rectangle's top left corner. problem is empty when the graph can be drawn; otherwise it is
// the line shown instead, saying which setting to change.
struct ContourLayout {
    std::string problem;
    int bandCount = 0;
    int unit = 0;     // text height and margin unit, 3.25 mm in pixels
    int rowSlots = 0; // rows the height is shared among: array rows and inset, or singulars
    int cellWidth = 0;
    int cellHeight = 0;
    int fieldLeft = 0; // the field's top left corner, inset included
    int fieldTop = 0;
    int legendColumnCount = 0;
    int legendColumnWidth = 0;
    int legendTop = 0;       // the first legend box of each column
    int legendLinePitch = 0; // from one legend box to the next below it
    bool fitted = false;     // the first estimate did not fit the width
    bool colourBar = false;  // the legend is one colour bar, in one column
};

ContourLayout layoutContourGraph(int logPixelsX, const ArrayDimensions &dimensions,
                                 const ContourSettings &settings, int width, int height,
                                 LegendStyle legend = LegendStyle::Boxes);

// Paints set into [x, x + width) x [y, y + height) of dc; the caller clears the rectangle.
// Leaves dc with the graph's pen and font. Where the cells are too small for a label each,
// every k-th row, column and singular label is drawn, k the smallest step that leaves a gap
// between neighbours as dc measures them; cells under smallCellLimit pixels get grid lines
// only through the labelled positions.
void drawContourGraph(platform::DrawingContext &dc, const TemperatureSet &set,
                      const ArrayDimensions &dimensions, const ContourSettings &settings,
                      const ColourScale &scale, int x, int y, int width, int height,
                      LegendStyle legend = LegendStyle::Boxes);

// The cell size in pixels below which a grid line through every position would hide the
// colours: two thirds of the text height unit, 8 pixels at 96 dpi, where a line covers an
// eighth of the cell, and 2.2 mm on paper.
constexpr int smallCellLimit(int unit) { return (2 * unit) / 3; }

// A mark over one logger of a contour graph, addressed as a set addresses its values (row
// SINGULAR_ROW for a singular slot): a probe's rank in a box, or a frame around a position
// with its text beside it.
struct PositionMark {
    enum class Style { Rank, Frame };
    int row = 0;
    int col = 0;
    std::string text;
    Style style = Style::Rank;
};

// Draws the marks over a graph that drawContourGraph drew into the same rectangle with the
// same dimensions and settings; nothing when that graph showed a problem instead.
void drawPositionMarks(platform::DrawingContext &dc, const ArrayDimensions &dimensions,
                       const ContourSettings &settings, const std::vector<PositionMark> &marks,
                       int x, int y, int width, int height,
                       LegendStyle legend = LegendStyle::Boxes);

// The settings with the bands moved to the set's own values (cells and singular slots, the
// estimated ones too, since they are drawn), from the spacing step at or below the lowest to
// the step at or above the highest, the spacing kept: a statistic map keeps its colours however
// far the Graph Options were zoomed to some other range. Settings whose spacing cannot be
// drawn, or a set without a value, are returned as they are.
ContourSettings scaledToData(const ContourSettings &settings, const TemperatureSet &set);

// A statistic map as a picture of its own: the title centred in a line above the graph, and
// the bands as one colour bar once the boxes would need more than one column, so that the
// legend keeps every band inside the rectangle. The marks go over the graph.
void drawTitledMap(platform::DrawingContext &dc, const TemperatureSet &map,
                   const std::string &title, const ArrayDimensions &dimensions,
                   const ContourSettings &settings, const std::vector<PositionMark> &marks, int x,
                   int y, int width, int height);

} // namespace zqar
