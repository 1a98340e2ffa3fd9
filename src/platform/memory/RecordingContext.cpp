#include "platform/memory/RecordingContext.h"

namespace zqar::platform {

RecordingContext::RecordingContext() {
    caps[LOGPIXELSX] = 96;
    caps[LOGPIXELSY] = 96;
    caps[HORZRES] = 1920;
    caps[VERTRES] = 1080;
    caps[HORZSIZE] = 508;
    RecordedObject stock;
    stock.stock = true;
    stock.colour = rgb(255, 255, 255);
    whiteBrush = add(stock);
    stock.colour = rgb(0, 0, 0);
    blackBrush = add(stock);
    nullBrush = add(stock);
    stock.kind = ObjectKind::Pen;
    stock.penWidth = 1;
    defaultPen = add(stock);
    stock.kind = ObjectKind::Font;
    stock.font.height = DEFAULT_FONT_HEIGHT;
    defaultFont = add(stock);
    font = defaultFont;
    pen = defaultPen;
    brush = whiteBrush;
}

ObjectHandle RecordingContext::add(RecordedObject object) {
    const ObjectHandle handle = nextHandle++;
    objects[handle] = std::move(object);
    return handle;
}

const RecordedObject *RecordingContext::use(ObjectHandle handle) {
    const auto found = objects.find(handle);
    if (found == objects.end() || found->second.deleted) {
        ++faults;
        return nullptr;
    }
    return &found->second;
}

const RecordedObject *RecordingContext::object(ObjectHandle handle) const {
    const auto found = objects.find(handle);
    return found == objects.end() ? nullptr : &found->second;
}

int RecordingContext::deviceCaps(DeviceCap cap) const {
    const auto found = caps.find(cap);
    return found == caps.end() ? 0 : found->second;
}

ObjectHandle RecordingContext::createSolidBrush(Colour colour) {
    RecordedObject made;
    made.colour = colour;
    return add(made);
}

ObjectHandle RecordingContext::stockObject(StockObject stock) {
    switch (stock) {
    case StockObject::WhiteBrush:
        return whiteBrush;
    case StockObject::BlackBrush:
        return blackBrush;
    case StockObject::NullBrush:
        return nullBrush;
    }
    return 0;
}

ObjectHandle RecordingContext::createPen(PenStyle, int width, Colour colour) {
    RecordedObject made;
    made.kind = ObjectKind::Pen;
    made.penWidth = width;
    made.colour = colour;
    return add(made);
}

ObjectHandle RecordingContext::createFont(const FontRequest &request) {
    RecordedObject made;
    made.kind = ObjectKind::Font;
    made.font = request;
    return add(made);
}

ObjectHandle RecordingContext::selectObject(ObjectHandle handle) {
    const RecordedObject *selected = use(handle);
    if (!selected)
        return 0;
    ObjectHandle *slot = selected->kind == ObjectKind::Font  ? &font
                         : selected->kind == ObjectKind::Pen ? &pen
                                                             : &brush;
    const ObjectHandle previous = *slot;
    *slot = handle;
    return previous;
}

bool RecordingContext::deleteObject(ObjectHandle handle) {
    const auto found = objects.find(handle);
    if (found == objects.end() || found->second.deleted) {
        ++faults;
        return false;
    }
    if (found->second.stock)
        return true;
    if (handle == font || handle == pen || handle == brush) {
        ++faults;
        return false;
    }
    found->second.deleted = true;
    return true;
}

void RecordingContext::fillRect(const Rect &rect, ObjectHandle brushHandle) {
    const RecordedObject *used = use(brushHandle);
    RecordedCall call;
    call.kind = CallKind::Fill;
    call.rect = rect;
    call.brush = brushHandle;
    call.colour = used ? used->colour : 0;
    calls.push_back(std::move(call));
}

void RecordingContext::frameRect(const Rect &rect, ObjectHandle brushHandle) {
    const RecordedObject *used = use(brushHandle);
    RecordedCall call;
    call.kind = CallKind::Frame;
    call.rect = rect;
    call.brush = brushHandle;
    call.colour = used ? used->colour : 0;
    calls.push_back(std::move(call));
}

void RecordingContext::moveTo(int x, int y) {
    position = {x, y};
    RecordedCall call;
    call.kind = CallKind::MoveTo;
    call.point = position;
    calls.push_back(std::move(call));
}

void RecordingContext::lineTo(int x, int y) {
    const RecordedObject *used = use(pen);
    RecordedCall call;
    call.kind = CallKind::LineTo;
    call.from = position;
    call.point = {x, y};
    call.colour = used ? used->colour : 0;
    calls.push_back(std::move(call));
    position = {x, y};
}

void RecordingContext::setBackgroundMode(BackgroundMode newMode) { mode = newMode; }
void RecordingContext::setTextColour(Colour colour) { currentTextColour = colour; }
void RecordingContext::setTextAlign(unsigned newAlign) { align = newAlign; }

void RecordingContext::textOut(int x, int y, std::string_view text) {
    const RecordedObject *used = use(font);
    RecordedCall call;
    call.kind = CallKind::Text;
    call.point = {x, y};
    call.text = std::string(text);
    call.align = align;
    call.fontHeight = used ? used->font.height : 0;
    call.textColour = currentTextColour;
    call.backgroundMode = mode;
    calls.push_back(std::move(call));
}

Size RecordingContext::textExtent(std::string_view text) {
    const RecordedObject *used = use(font);
    const int height = used ? (used->font.height < 0 ? -used->font.height : used->font.height) : 0;
    return {static_cast<int>(text.size()) * height / 2, height};
}

void RecordingContext::copyFrom(const DrawingContext &, int x, int y, int width, int height, int sx,
                                int sy) {
    RecordedCall call;
    call.kind = CallKind::Copy;
    call.rect = {x, y, x + width, y + height};
    call.source = {sx, sy};
    calls.push_back(std::move(call));
}

void RecordingContext::startDocument(const std::string &name) {
    RecordedCall call;
    call.kind = CallKind::StartDocument;
    call.text = name;
    calls.push_back(std::move(call));
}

void RecordingContext::startPage() {
    RecordedCall call;
    call.kind = CallKind::StartPage;
    calls.push_back(std::move(call));
}

void RecordingContext::endPage() {
    RecordedCall call;
    call.kind = CallKind::EndPage;
    calls.push_back(std::move(call));
}

void RecordingContext::endDocument() {
    RecordedCall call;
    call.kind = CallKind::EndDocument;
    calls.push_back(std::move(call));
}

int RecordingContext::liveObjects() const {
    int live = 0;
    for (const auto &entry : objects)
        if (!entry.second.stock && !entry.second.deleted)
            ++live;
    return live;
}

std::vector<RecordedCall> RecordingContext::callsOf(CallKind kind) const {
    std::vector<RecordedCall> found;
    for (const auto &call : calls)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

} // namespace zqar::platform
