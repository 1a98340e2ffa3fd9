#include "platform/memory/RecordingContext.h"

namespace zqar::platform {

RecordingContext::RecordingContext() {
    caps[LOGPIXELSX] = 96;
    caps[LOGPIXELSY] = 96;
    caps[HORZRES] = 1920;
    caps[VERTRES] = 1080;
    caps[HORZSIZE] = 508;
}

int RecordingContext::deviceCaps(DeviceCap cap) const {
    const auto found = caps.find(cap);
    return found == caps.end() ? 0 : found->second;
}

void RecordingContext::record(CallKind kind) {
    RecordedCall call;
    call.kind = kind;
    calls.push_back(std::move(call));
}

void RecordingContext::fillRect(const Rect &rect, Colour colour) {
    record(CallKind::Fill);
    calls.back().rect = rect;
    calls.back().colour = colour;
}

void RecordingContext::frameRect(const Rect &rect, Colour colour) {
    record(CallKind::Frame);
    calls.back().rect = rect;
    calls.back().colour = colour;
}

void RecordingContext::drawLine(Point from, Point to) {
    record(CallKind::LineTo);
    RecordedCall &call = calls.back();
    call.from = from;
    call.point = to;
    call.colour = pen().colour;
    call.penWidth = pen().width;
}

void RecordingContext::textOut(int x, int y, std::string_view text) {
    record(CallKind::Text);
    RecordedCall &call = calls.back();
    call.point = {x, y};
    call.text = std::string(text);
    call.align = textAlign();
    call.font = font();
    call.textColour = textColour();
    call.backgroundMode = backgroundMode();
}

Size RecordingContext::textExtent(std::string_view text) {
    const int height = font().height < 0 ? -font().height : font().height;
    return {static_cast<int>(text.size()) * height / 2, height};
}

void RecordingContext::copyFrom(const DrawingContext &, int x, int y, int width, int height, int sx,
                                int sy) {
    record(CallKind::Copy);
    calls.back().rect = {x, y, x + width, y + height};
    calls.back().source = {sx, sy};
}

void RecordingContext::startDocument(const std::string &name) {
    record(CallKind::StartDocument);
    calls.back().text = name;
}

void RecordingContext::startPage() { record(CallKind::StartPage); }
void RecordingContext::endPage() { record(CallKind::EndPage); }
void RecordingContext::endDocument() { record(CallKind::EndDocument); }

std::vector<RecordedCall> RecordingContext::callsOf(CallKind kind) const {
    std::vector<RecordedCall> found;
    for (const auto &call : calls)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

} // namespace zqar::platform
