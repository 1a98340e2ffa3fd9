#include "window/PictureFile.h"

#include "core/data/AtomicFileWriter.h"
#include "core/data/caseless.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtText.h"
#include "resources/desktopTexts.h"
#include "window/GraphExport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>

namespace zqar {

namespace {

// The screen's resolution, which the bitmaps are drawn for: the SVG file keeps their sizes.
constexpr int PICTURE_DOTS_PER_INCH = 96;

PictureSize atLeastOnePixel(PictureSize size) {
    return PictureSize{std::max(1, size.width), std::max(1, size.height)};
}

bool saveSvg(const PictureDrawing &draw, PictureSize size, const std::string &path) {
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return false;
    QSvgGenerator generator;
    generator.setFileName(platform::toQString(writer.writtenByName()));
    generator.setSize(QSize(size.width, size.height));
    generator.setViewBox(QRect(0, 0, size.width, size.height));
    generator.setResolution(PICTURE_DOTS_PER_INCH);
    generator.setDescription(platform::toQString(text::SVG_PICTURE_DESCRIPTION));
    {
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        platform::QtDrawingContext dc(painter);
        dc.fillRect(platform::Rect{0, 0, size.width, size.height}, platform::WHITE);
        draw(dc, size.width, size.height);
        if (!painter.end())
            return false;
    }
    return writer.commit();
}

} // namespace

QImage pictureImage(const PictureDrawing &draw, PictureSize size) {
    size = atLeastOnePixel(size);
    auto dc = platform::QtDrawingContext::offscreen(size.width, size.height);
    dc->fillRect(platform::Rect{0, 0, size.width, size.height}, platform::WHITE);
    draw(*dc, size.width, size.height);
    return dc->image()->copy();
}

bool isSvgPath(const std::string &path) {
    const std::string_view extension = text::SVG_EXTENSION;
    return path.size() >= extension.size() &&
           equalIgnoringCase(path.substr(path.size() - extension.size()), extension);
}

bool savePicture(const PictureDrawing &draw, PictureSize size, const std::string &path) {
    size = atLeastOnePixel(size);
    if (isSvgPath(path))
        return saveSvg(draw, size, path);
    return savePng(pictureImage(draw, size), path);
}

CommandOutcome savePictureAs(platform::Host &host, const PictureDrawing &draw, PictureSize size,
                             std::string_view caption) {
    return savePictureAs(
        host, draw, size,
        PictureSaveTexts{text::PICTURE_DIALOG_TITLE, text::PICTURE_NOT_SAVED, caption});
}

CommandOutcome savePictureAs(platform::Host &host, const PictureDrawing &draw, PictureSize size,
                             const PictureSaveTexts &texts) {
    const platform::FileDialogOptions options =
        platform::saveDialogOptions(host, texts.dialogTitle, text::PICTURE_FILTER_DESCRIPTION,
                                    text::PICTURE_FILTER_PATTERN, text::PICTURE_EXTENSION);
    return platform::withChosenFile(
        host, platform::FileChoice::Save, options, [&](const std::string &path) {
            if (savePicture(draw, size, path))
                return CommandOutcome::completed();
            host.messageBox(std::string(texts.notSaved), std::string(texts.caption));
            return CommandOutcome::failed(texts.notSaved);
        });
}

void copyPicture(const PictureDrawing &draw, PictureSize size) {
    QGuiApplication::clipboard()->setImage(pictureImage(draw, size));
}

} // namespace zqar
