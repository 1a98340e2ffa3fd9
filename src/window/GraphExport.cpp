#include "window/GraphExport.h"

#include "core/data/AtomicFileWriter.h"
#include "pages/presentation/ContourGraph.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtText.h"

#include <algorithm>
#include <unordered_map>

namespace zqar {

QImage renderSetImage(const TemperatureSet *set, const ArrayDimensions &dimensions,
                      const ContourSettings &settings, int width, int height,
                      const std::vector<PositionMark> &marks, LegendStyle legend) {
    auto dc = platform::QtDrawingContext::offscreen(width, height);
    dc->fillRect(platform::Rect{0, 0, width, height}, platform::WHITE);
    drawSetPicture(*dc, set, dimensions, settings, width, height, marks, legend);
    // A shared copy: the context's painter ends with it, and nothing draws after that.
    return *dc->image();
}

void drawSetPicture(platform::DrawingContext &dc, const TemperatureSet *set,
                    const ArrayDimensions &dimensions, const ContourSettings &settings, int width,
                    int height, const std::vector<PositionMark> &marks, LegendStyle legend) {
    if (!set)
        return;
    drawContourGraph(dc, *set, dimensions, settings, DEFAULT_COLOUR_SCALE, 0, 0, width, height,
                     legend);
    drawPositionMarks(dc, dimensions, settings, marks, 0, 0, width, height, legend);
}

QImage renderStatisticMapImage(const TemperatureSet *map, const std::string &title,
                               const ArrayDimensions &dimensions, const ContourSettings &settings,
                               int width, int height, const std::vector<PositionMark> &marks) {
    auto dc = platform::QtDrawingContext::offscreen(width, height);
    dc->fillRect(platform::Rect{0, 0, width, height}, platform::WHITE);
    drawStatisticMapPicture(*dc, map, title, dimensions, settings, width, height, marks);
    return *dc->image();
}

void drawStatisticMapPicture(platform::DrawingContext &dc, const TemperatureSet *map,
                             const std::string &title, const ArrayDimensions &dimensions,
                             const ContourSettings &settings, int width, int height,
                             const std::vector<PositionMark> &marks) {
    if (map)
        drawTitledMap(dc, *map, title, dimensions, settings, marks, 0, 0, width, height);
}

namespace {

constexpr qsizetype MAX_COLOURS = 256;

// Greys to 64 levels: the edges of smoothed text are the only greys beside black and white.
QRgb snapGrey(QRgb colour) {
    const int red = qRed(colour);
    if (red != qGreen(colour) || red != qBlue(colour) || red == 0 || red == 255)
        return colour;
    const int level = std::min((red + 2) & ~3, 255);
    return qRgb(level, level, level);
}

QImage indexedImage(const QImage &source, bool snapGreys) {
    QImage indexed(source.size(), QImage::Format_Indexed8);
    QVector<QRgb> table;
    std::unordered_map<QRgb, uchar> index;
    for (int y = 0; y < source.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        // Runs of one colour are long, so the last colour answers most pixels.
        QRgb last = 0;
        uchar lastIndex = 0;
        bool haveLast = false;
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = in[x] | 0xFF000000u;
            if (!haveLast || pixel != last) {
                const QRgb colour = snapGreys ? snapGrey(pixel) : pixel;
                const auto found = index.find(colour);
                if (found != index.end()) {
                    lastIndex = found->second;
                } else {
                    if (table.size() == MAX_COLOURS)
                        return QImage();
                    lastIndex = static_cast<uchar>(table.size());
                    index.emplace(colour, lastIndex);
                    table.push_back(colour);
                }
                last = pixel;
                haveLast = true;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

} // namespace

QImage withColourTable(const QImage &image) {
    const QImage source = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    QImage indexed = indexedImage(source, false);
    if (indexed.isNull())
        indexed = indexedImage(source, true);
    return indexed;
}

bool savePng(const QImage &image, const std::string &path) {
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return false;
    const QImage indexed = withColourTable(image);
    return (indexed.isNull() ? image : indexed)
               .save(platform::toQString(writer.writtenByName()), "PNG", PNG_QUALITY) &&
           writer.commit();
}

} // namespace zqar
