#pragma once
// A drawing context that draws nothing and keeps every call, with the colour, pen and font
// each one used, for tests of the renderer and the print job.

#include "platform/DrawingContext.h"

#include <map>
#include <string>
#include <vector>

namespace zqar::platform {

enum class CallKind {
    Fill,
    Frame,
    MoveTo,
    LineTo,
    Text,
    Copy,
    StartDocument,
    StartPage,
    EndPage,
    EndDocument
};

struct RecordedCall {
    CallKind kind = CallKind::Fill;
    Rect rect;             // fills, frames, copies (destination)
    Colour colour = 0;     // fills and frames; the pen's colour for lines
    int penWidth = 0;      // lines
    Point point;           // moveTo, lineTo, text
    Point from;            // lineTo: where the line starts
    std::string text;      // text; document name
    unsigned align = 0;    // text
    FontRequest font;      // text: the current font
    Colour textColour = 0; // text
    BackgroundMode backgroundMode = BackgroundMode::Opaque; // text
    Point source;                                           // copies
};

class RecordingContext : public PrintTarget {
public:
    RecordingContext();

    // Device capabilities answered by deviceCaps; LOGPIXELSX is 96 unless set.
    void setDeviceCap(DeviceCap cap, int value) { caps[cap] = value; }
    // Text is measured as 0.5 x font height per character wide and one font height high.
    static constexpr int DEFAULT_FONT_HEIGHT = 16; // before any font is set

    int deviceCaps(DeviceCap cap) const override;
    void setPen(const Pen &pen) override;
    void setFont(const FontRequest &font) override;
    void fillRect(const Rect &rect, Colour colour) override;
    void frameRect(const Rect &rect, Colour colour) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setBackgroundMode(BackgroundMode mode) override;
    void setTextColour(Colour colour) override;
    void setTextAlign(unsigned align) override;
    void textOut(int x, int y, std::string_view text) override;
    Size textExtent(std::string_view text) override;
    void copyFrom(const DrawingContext &source, int x, int y, int width, int height, int sx,
                  int sy) override;
    void startDocument(const std::string &name) override;
    void startPage() override;
    void endPage() override;
    void endDocument() override;

    std::vector<RecordedCall> calls;

    // Calls of one kind, in order.
    std::vector<RecordedCall> callsOf(CallKind kind) const;
    const FontRequest &font() const { return currentFont; }
    const Pen &pen() const { return currentPen; }
    unsigned textAlign() const { return align; }
    BackgroundMode backgroundMode() const { return mode; }
    Colour textColour() const { return currentTextColour; }

private:
    void record(CallKind kind);

    std::map<DeviceCap, int> caps;
    FontRequest currentFont;
    Pen currentPen;
    Point position;
    unsigned align = TA_LEFT | TA_TOP;
    BackgroundMode mode = BackgroundMode::Opaque;
    Colour currentTextColour = 0;
};

} // namespace zqar::platform
