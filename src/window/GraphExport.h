#pragma once
// The contour graph as a picture without a window: the current set drawn on white into an
// image of a given size, and PNG files of it for the batch tool.

#include <QImage>

#include <string>

namespace zqar {

class MainWindow;
class TemperatureSet;

// The picture the Graph page would show for the current set, at width x height pixels; white
// when there is no set.
QImage renderGraphImage(MainWindow &window, int width, int height);

// Any set of the array's shape (a statistic map) drawn on white as the Graph page draws its
// sets, with the band and layout settings the pages hold now.
QImage renderSetImage(MainWindow &window, const TemperatureSet &set, int width, int height);

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
