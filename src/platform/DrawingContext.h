#pragma once
// A drawing context in the terms the renderer and the print job are written in: device
// capabilities, rectangle fills and frames in a colour over [left, right) x [top, bottom),
// lines with the current pen that leave out their end point, and text in the current font
// with a reference-point alignment. Pens and fonts are values the caller sets; a backend
// turns them into whatever its device needs. Backends: a QPainter one (screen, image,
// printer, PDF) and a recording one for tests that keeps every call.

#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zqar::platform {

using Colour = uint32_t; // 0x00BBGGRR

constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

enum DeviceCap : int { HORZSIZE = 4, HORZRES = 8, VERTRES = 10, LOGPIXELSX = 88, LOGPIXELSY = 90 };

constexpr Colour BLACK = rgb(0, 0, 0);
constexpr Colour WHITE = rgb(255, 255, 255);

// Text alignment flags, combined as the renderer uses them: left/top 0, centre/top 6,
// left/baseline 24, right/baseline 26.
enum TextAlign : unsigned {
    TA_LEFT = 0,
    TA_TOP = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// The font a drawing asks for; the device makes the nearest one it has.
struct FontRequest {
    static constexpr int NORMAL = 400; // weights
    static constexpr int BOLD = 700;

    std::string face; // empty: the device's default face
    // Pixels: a positive height is the cell height (ascent and descent), a negative one the
    // character height without the internal leading.
    int height = 0;
    int weight = NORMAL;

    bool operator==(const FontRequest &other) const {
        return face == other.face && height == other.height && weight == other.weight;
    }
    bool operator!=(const FontRequest &other) const { return !(*this == other); }
};

// How a text is drawn, in one value: the font, the colour, and where the reference point of
// textOut sits (TextAlign flags).
struct TextStyle {
    FontRequest font;
    Colour colour = BLACK;
    unsigned align = TA_LEFT | TA_TOP;

    TextStyle withHeight(int height) const {
        TextStyle style = *this;
        style.font.height = height;
        return style;
    }
    TextStyle withWeight(int weight) const {
        TextStyle style = *this;
        style.font.weight = weight;
        return style;
    }
    TextStyle aligned(unsigned flags) const {
        TextStyle style = *this;
        style.align = flags;
        return style;
    }
};

enum class PenStyle { Solid = 0 };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1; // pixels
    Colour colour = BLACK;
};

class DrawingContext {
public:
    virtual ~DrawingContext() = default;

    virtual int deviceCaps(DeviceCap cap) const = 0;

    // What the next lines and texts are drawn with. A context starts with a one-pixel black
    // pen, a font of its own, opaque black text aligned left/top, at (0, 0).
    void setPen(const Pen &pen) { currentPen = pen; }
    void setFont(const FontRequest &font) { currentFont = font; }
    // The style's font, colour and alignment at once.
    void setTextStyle(const TextStyle &style) {
        currentFont = style.font;
        currentTextColour = style.colour;
        currentAlign = style.align;
    }
    void setBackgroundMode(BackgroundMode mode) { currentMode = mode; }
    void setTextColour(Colour colour) { currentTextColour = colour; }
    void setTextAlign(unsigned align) { currentAlign = align; }
    void moveTo(int x, int y) { currentPosition = {x, y}; }
    // A line with the current pen from the current position to (x, y), without (x, y).
    void lineTo(int x, int y) {
        const Point from = currentPosition;
        currentPosition = {x, y};
        drawLine(from, currentPosition);
    }

    const Pen &pen() const { return currentPen; }
    const FontRequest &font() const { return currentFont; }
    BackgroundMode backgroundMode() const { return currentMode; }
    Colour textColour() const { return currentTextColour; }
    unsigned textAlign() const { return currentAlign; }
    Point position() const { return currentPosition; }

    virtual void fillRect(const Rect &rect, Colour colour) = 0;
    // A one-pixel border just inside the rectangle.
    virtual void frameRect(const Rect &rect, Colour colour) = 0;
    virtual void textOut(int x, int y, std::string_view text) = 0;
    // Width and height of the text in the current font.
    virtual Size textExtent(std::string_view text) = 0;

    // Copies width x height pixels from source (at sx, sy) to (x, y) of this context.
    virtual void copyFrom(const DrawingContext &source, int x, int y, int width, int height, int sx,
                          int sy) = 0;

    static constexpr int DEFAULT_FONT_HEIGHT = 16; // pixels, before any font is set

protected:
    // A line with the current pen from from to to, without to.
    virtual void drawLine(Point from, Point to) = 0;

private:
    Pen currentPen;
    FontRequest currentFont = defaultFont();
    BackgroundMode currentMode = BackgroundMode::Opaque;
    Colour currentTextColour = BLACK;
    unsigned currentAlign = TA_LEFT | TA_TOP;
    Point currentPosition;

    static FontRequest defaultFont() {
        FontRequest font;
        font.height = DEFAULT_FONT_HEIGHT;
        return font;
    }
};

// A printer context for one document, as the print dialog gives it.
class PrintTarget : public DrawingContext {
public:
    // The document's XMP metadata packet, given before startDocument. A PDF file carries it;
    // a paper printer has nowhere to put it and ignores it.
    virtual void setDocumentXmp(const std::string & /*packet*/) {}
    virtual void startDocument(const std::string &name) = 0;
    virtual void startPage() = 0;
    virtual void endPage() = 0;
    virtual void endDocument() = 0;
};

} // namespace zqar::platform
