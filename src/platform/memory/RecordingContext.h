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
    Point point;           // lineTo: where the line ends; text
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

#include "platform/DrawingOverrides.inc"
    void setDocumentXmp(const std::string &packet) override { documentXmp = packet; }
    void startDocument(const std::string &name) override;
    void startPage() override;
    void endPage() override;
    void endDocument() override;

    std::vector<RecordedCall> calls;
    std::string documentXmp; // as given

    // Calls of one kind, in order.
    std::vector<RecordedCall> callsOf(CallKind kind) const;

protected:
    void drawLine(Point from, Point to) override;

private:
    void record(CallKind kind);

    std::map<DeviceCap, int> caps;
};

} // namespace zqar::platform
