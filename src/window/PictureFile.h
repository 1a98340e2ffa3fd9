#pragma once
// Pictures of what a window draws (the Graph tab, the statistic map, the time series) as
// files and on the clipboard. A picture is a drawing through a drawing context, so the same
// code makes the bitmap, the PNG file and the SVG file, whose lines and texts stay sharp at
// any size.

#include "platform/CommandOutcome.h"

#include <QImage>

#include <functional>
#include <string>
#include <string_view>

namespace zqar {

namespace platform {
class DrawingContext;
class Host;
} // namespace platform

// Draws the picture into a context of width x height pixels that starts white.
using PictureDrawing = std::function<void(platform::DrawingContext &dc, int width, int height)>;

struct PictureSize {
    int width = 0; // pixels
    int height = 0;
};

// The picture as a bitmap.
QImage pictureImage(const PictureDrawing &draw, PictureSize size);

// Whether a path names an SVG file (".svg", any case); every other path is written as PNG.
bool isSvgPath(const std::string &path);

// Writes the picture to path, as SVG or PNG by its extension, by way of a temp file beside it.
// False when anything failed; an old file is then left as it was.
bool savePicture(const PictureDrawing &draw, PictureSize size, const std::string &path);

// The texts of a picture's save dialog and of the message box that says it was not saved.
struct PictureSaveTexts {
    std::string_view dialogTitle;
    std::string_view notSaved;
    std::string_view caption;
};

// The save dialog for a picture, then the file; a failure's message box has the caption given.
CommandOutcome savePictureAs(platform::Host &host, const PictureDrawing &draw, PictureSize size,
                             std::string_view caption);
CommandOutcome savePictureAs(platform::Host &host, const PictureDrawing &draw, PictureSize size,
                             const PictureSaveTexts &texts);

// The picture on the clipboard as an image.
void copyPicture(const PictureDrawing &draw, PictureSize size);

} // namespace zqar
