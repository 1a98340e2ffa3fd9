#pragma once
// A drawing context that draws nothing and keeps every call, for tests of the renderer and
// the print job. It checks the handle discipline as it goes: using or deleting an object that
// is gone, or deleting one that is still selected, counts as a fault.

#include "platform/DrawingContext.h"

#include <map>
#include <string>
#include <vector>

namespace zqar::platform {

enum class ObjectKind { Brush, Pen, Font };

struct RecordedObject {
    ObjectKind kind = ObjectKind::Brush;
    Colour colour = 0; // brushes and pens
    int penWidth = 0;
    FontRequest font; // fonts
    bool stock = false;
    bool deleted = false;
};

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
    Rect rect;              // fills, frames, copies (destination)
    ObjectHandle brush = 0; // fills and frames
    Colour colour = 0;      // the brush's colour for fills and frames; pen colour for lines
    Point point;            // moveTo, lineTo, text
    Point from;             // lineTo: where the line starts
    std::string text;       // text; document name
    unsigned align = 0;     // text
    int fontHeight = 0;     // text: the selected font's height
    Colour textColour = 0;  // text
    BackgroundMode backgroundMode = BackgroundMode::Opaque; // text
    Point source;                                           // copies
};

class RecordingContext : public PrintTarget {
public:
    RecordingContext();

    // Device capabilities answered by deviceCaps; LOGPIXELSX is 96 unless set.
    void setDeviceCap(DeviceCap cap, int value) { caps[cap] = value; }
    // Text is measured as 0.5 x font height per character wide and one font height high.
    static constexpr int DEFAULT_FONT_HEIGHT = 16; // when no font is selected

    int deviceCaps(DeviceCap cap) const override;
    ObjectHandle createSolidBrush(Colour colour) override;
    ObjectHandle stockObject(StockObject object) override;
    ObjectHandle createPen(PenStyle style, int width, Colour colour) override;
    ObjectHandle createFont(const FontRequest &font) override;
    ObjectHandle selectObject(ObjectHandle object) override;
    bool deleteObject(ObjectHandle object) override;
    void fillRect(const Rect &rect, ObjectHandle brush) override;
    void frameRect(const Rect &rect, ObjectHandle brush) override;
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
    std::map<ObjectHandle, RecordedObject> objects; // every object ever made, stock ones too
    int faults = 0;

    // Objects made by createXxx and not deleted yet.
    int liveObjects() const;
    // Calls of one kind, in order.
    std::vector<RecordedCall> callsOf(CallKind kind) const;
    const RecordedObject *object(ObjectHandle handle) const;
    ObjectHandle selectedFont() const { return font; }
    ObjectHandle selectedPen() const { return pen; }
    ObjectHandle selectedBrush() const { return brush; }
    unsigned textAlign() const { return align; }
    BackgroundMode backgroundMode() const { return mode; }
    Colour textColour() const { return currentTextColour; }

private:
    ObjectHandle add(RecordedObject object);
    // The object behind a handle in use; a fault when it does not exist or is deleted.
    const RecordedObject *use(ObjectHandle handle);

    std::map<DeviceCap, int> caps;
    ObjectHandle nextHandle = 1;
    ObjectHandle whiteBrush = 0;
    ObjectHandle blackBrush = 0;
    ObjectHandle nullBrush = 0;
    ObjectHandle defaultPen = 0;
    ObjectHandle defaultFont = 0;
    ObjectHandle font = 0;
    ObjectHandle pen = 0;
    ObjectHandle brush = 0;
    Point position;
    unsigned align = TA_LEFT | TA_TOP;
    BackgroundMode mode = BackgroundMode::Opaque;
    Colour currentTextColour = 0;
};

} // namespace zqar::platform
