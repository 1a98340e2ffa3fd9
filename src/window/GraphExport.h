#pragma once
// The contour graph as a picture without a window: a set drawn on white into an image of a
// given size, and PNG files of it for the batch tool.

#include "core/data/LoggerArray.h"
#include "core/job/JobSettings.h"
#include "pages/presentation/ContourGraph.h"

#include <QImage>

#include <string>

namespace zqar {

class TemperatureSet;

namespace platform {
class DrawingContext;
}

// A set of the array's shape (a calculated set or a statistic map) drawn on white as the Graph
// page draws it, at width x height pixels, with marks over positions when there are any;
// white alone when there is no set. The legend as the Graph page draws it unless asked
// otherwise.
QImage renderSetImage(const TemperatureSet *set, const ArrayDimensions &dimensions,
                      const ContourSettings &settings, int width, int height,
                      const std::vector<PositionMark> &marks = {},
                      LegendStyle legend = LegendStyle::Boxes);

// The same drawing into a context that is white already, for a picture file of any kind.
void drawSetPicture(platform::DrawingContext &dc, const TemperatureSet *set,
                    const ArrayDimensions &dimensions, const ContourSettings &settings, int width,
                    int height, const std::vector<PositionMark> &marks = {},
                    LegendStyle legend = LegendStyle::Boxes);

// A statistic map as its own picture: the title above the graph and a legend that keeps every
// band inside the picture (drawTitledMap), on white at width x height pixels; white alone
// when there is no map.
QImage renderStatisticMapImage(const TemperatureSet *map, const std::string &title,
                               const ArrayDimensions &dimensions, const ContourSettings &settings,
                               int width, int height, const std::vector<PositionMark> &marks = {});
// The same drawing into a context that is white already, for a picture file of any kind.
void drawStatisticMapPicture(platform::DrawingContext &dc, const TemperatureSet *map,
                             const std::string &title, const ArrayDimensions &dimensions,
                             const ContourSettings &settings, int width, int height,
                             const std::vector<PositionMark> &marks = {});

// Qt's PNG quality runs backwards to zlib's level: 80 gives level 1, which packs the flat
// bands tightly and fast. (90 and above store without compression at all.)
constexpr int PNG_QUALITY = 80;

// The same picture with a colour table, or a null image when it has more than 256 colours.
// A graph has its bands, black, white and the greys of its smoothed text: one byte a pixel
// packs and compresses several times faster than three. When the greys alone overflow the
// table they are kept to 64 levels, which no eye tells apart at a letter's edge.
QImage withColourTable(const QImage &image);

// Writes the image (with a colour table when it fits in one) to path by way of a temp file.
// False when anything failed; the old file is then left as it was.
bool savePng(const QImage &image, const std::string &path);

} // namespace zqar
