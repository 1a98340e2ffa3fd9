#include "pages/presentation/ScaledDrawingContext.h"

#include "core/data/numbers.h"

#include <algorithm>
#include <cmath>

namespace zqar {

using platform::Rect;

namespace {

int scaled(double value) { return truncToInt(std::floor(value + 0.5)); }

} // namespace

ScaledDrawingContext::ScaledDrawingContext(platform::DrawingContext &drawingTarget,
                                           double drawingScale, int x, int y)
    : target(drawingTarget), scale(drawingScale > 0.0 ? drawingScale : 1.0), originX(x),
      originY(y) {}

// Each edge is mapped on its own, so rectangles that touch in drawing units touch on paper.
int ScaledDrawingContext::toX(int x) const { return originX + scaled(x * scale); }
int ScaledDrawingContext::toY(int y) const { return originY + scaled(y * scale); }

int ScaledDrawingContext::deviceCaps(platform::DeviceCap cap) const {
    const int value = target.deviceCaps(cap);
    switch (cap) {
    case platform::HORZRES:
    case platform::VERTRES:
    case platform::LOGPIXELSX:
    case platform::LOGPIXELSY:
        return scaled(value / scale);
    case platform::HORZSIZE:
        break;
    }
    return value;
}

void ScaledDrawingContext::fillRect(const Rect &rect, platform::Colour colour) {
    target.fillRect(Rect{toX(rect.left), toY(rect.top), toX(rect.right), toY(rect.bottom)}, colour);
}

void ScaledDrawingContext::frameRect(const Rect &rect, platform::Colour colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    fillRect(Rect{rect.left, rect.top, rect.right, rect.top + 1}, colour);
    fillRect(Rect{rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    fillRect(Rect{rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1}, colour);
    fillRect(Rect{rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1}, colour);
}

void ScaledDrawingContext::useFont() {
    platform::FontRequest request = font();
    const int height = request.height == 0 ? DEFAULT_FONT_HEIGHT : request.height;
    request.height = scaled(height * scale);
    target.setFont(request);
}

void ScaledDrawingContext::textOut(int x, int y, std::string_view text) {
    useFont();
    target.setTextColour(textColour());
    target.setBackgroundMode(backgroundMode());
    target.setTextAlign(textAlign());
    target.textOut(toX(x), toY(y), text);
}

platform::Size ScaledDrawingContext::textExtent(std::string_view text) {
    useFont();
    const platform::Size size = target.textExtent(text);
    return {scaled(size.width / scale), scaled(size.height / scale)};
}

void ScaledDrawingContext::copyFrom(const platform::DrawingContext &source, int x, int y, int width,
                                    int height, int sx, int sy) {
    target.copyFrom(source, toX(x), toY(y), width, height, sx, sy);
}

void ScaledDrawingContext::drawLine(platform::Point from, platform::Point to) {
    platform::Pen pen = this->pen();
    pen.width = std::max(1, scaled(pen.width * scale));
    target.setPen(pen);
    target.moveTo(toX(from.x), toY(from.y));
    target.lineTo(toX(to.x), toY(to.y));
}

} // namespace zqar
