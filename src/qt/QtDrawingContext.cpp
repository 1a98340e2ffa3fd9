#include "qt/QtDrawingContext.h"

#include "qt/QtDialog.h"
#include "qt/QtHelpViewer.h"
#include "qt/QtHost.h"
#include "qt/QtText.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zqar::platform {

namespace {

constexpr int DEFAULT_FONT_PIXELS = DrawingContext::DEFAULT_FONT_HEIGHT; // a request of height 0
constexpr int PRINT_DPI = 300; // enough for text, and keeps the field's fills few
constexpr int MAX_FONT_PIXELS = 100000;

QColor toQColor(Colour colour) { return QColor(redOf(colour), greenOf(colour), blueOf(colour)); }

// Unit steps of a horizontal or vertical line; anything else is drawn by the painter.
int sign(int value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

} // namespace

QtDrawingContext::QtDrawingContext() = default;

QtDrawingContext::QtDrawingContext(QPainter &externalPainter) : painter(&externalPainter) {
    device = externalPainter.device();
}

QtDrawingContext::~QtDrawingContext() {
    if (ownedPainter && ownedPainter->isActive())
        ownedPainter->end();
}

std::unique_ptr<QtDrawingContext> QtDrawingContext::offscreen(int width, int height,
                                                              int dotsPerInch) {
    std::unique_ptr<QtDrawingContext> context(new QtDrawingContext());
    context->ownedImage =
        std::make_unique<QImage>(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const int dotsPerMetre =
        static_cast<int>(std::lround(std::clamp(dotsPerInch, 1, 100000) / 0.0254));
    context->ownedImage->setDotsPerMeterX(dotsPerMetre);
    context->ownedImage->setDotsPerMeterY(dotsPerMetre);
    context->ownedImage->fill(Qt::white);
    context->device = context->ownedImage.get();
    context->ownedPainter = std::make_unique<QPainter>(context->ownedImage.get());
    context->painter = context->ownedPainter.get();
    return context;
}

std::unique_ptr<QtDrawingContext>
QtDrawingContext::forPrinter(std::unique_ptr<QPagedPaintDevice> pagedDevice) {
    std::unique_ptr<QtDrawingContext> context(new QtDrawingContext());
    context->device = pagedDevice.get();
    context->printer = std::move(pagedDevice);
    context->ownedPainter = std::make_unique<QPainter>();
    context->painter = context->ownedPainter.get();
    return context;
}

bool QtDrawingContext::painting() const { return painter && painter->isActive(); }

int QtDrawingContext::deviceCaps(DeviceCap cap) const {
    if (!device)
        return 0;
    switch (cap) {
    case LOGPIXELSX:
        return device->logicalDpiX();
    case LOGPIXELSY:
        return device->logicalDpiY();
    case HORZRES:
        return device->width();
    case VERTRES:
        return device->height();
    case HORZSIZE:
        return device->widthMM();
    }
    return 0;
}

const QFont &QtDrawingContext::currentFont() {
    if (!fontMade || font() != fontRequest) {
        fontRequest = font();
        fontMade = true;
        madeFont = makeFont(fontRequest);
    }
    return madeFont;
}

QFont QtDrawingContext::makeFont(const FontRequest &request) const {
    QFont made(toQString(request.face.empty() ? std::string("Arial") : request.face));
    made.setStyleStrategy(QFont::PreferOutline);
    made.setWeight(static_cast<QFont::Weight>(
        std::clamp(request.weight <= 0 ? 400 : request.weight, 1, 1000)));
    // A positive height is the cell height (ascent + descent), a negative one the character
    // height without the internal leading, which is what a pixel size is.
    int height = std::abs(request.height);
    if (height == 0)
        height = DEFAULT_FONT_PIXELS;
    height = std::min(height, MAX_FONT_PIXELS);
    made.setPixelSize(height);
    if (request.height > 0 && device) {
        const QFontMetrics metrics(made, device);
        const int cell = metrics.ascent() + metrics.descent();
        if (cell > 0 && cell != height) {
            const int scaled =
                static_cast<int>(std::lround(static_cast<double>(height) * height / cell));
            made.setPixelSize(std::max(scaled, 1));
        }
    }
    return made;
}

void QtDrawingContext::fillPixels(int left, int top, int right, int bottom, Colour colour) {
    if (right <= left || bottom <= top)
        return;
    if (ownedImage) {
        // The bitmap's rows are written directly: a graph has tens of thousands of these.
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, ownedImage->width());
        bottom = std::min(bottom, ownedImage->height());
        if (right <= left || bottom <= top)
            return;
        const QRgb pixel = qRgb(redOf(colour), greenOf(colour), blueOf(colour));
        // One detach check for the whole run, then the rows by their stride: an upright run
        // (a chart's column) is many one-pixel rows.
        uchar *bits = ownedImage->bits();
        const qsizetype stride = ownedImage->bytesPerLine();
        if (right - left == 1) {
            uchar *at = bits + top * stride + left * qsizetype(sizeof(QRgb));
            for (int row = top; row < bottom; ++row, at += stride)
                *reinterpret_cast<QRgb *>(at) = pixel;
            return;
        }
        for (int row = top; row < bottom; ++row) {
            QRgb *line = reinterpret_cast<QRgb *>(bits + row * stride);
            std::fill(line + left, line + right, pixel);
        }
        return;
    }
    if (painting())
        painter->fillRect(QRect(left, top, right - left, bottom - top), toQColor(colour));
}

void QtDrawingContext::fillRect(const Rect &rect, Colour colour) {
    fillPixels(rect.left, rect.top, rect.right, rect.bottom, colour);
}

void QtDrawingContext::frameRect(const Rect &rect, Colour colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    fillPixels(rect.left, rect.top, rect.right, rect.top + 1, colour);
    fillPixels(rect.left, rect.bottom - 1, rect.right, rect.bottom, colour);
    fillPixels(rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1, colour);
    fillPixels(rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1, colour);
}

// Every pen the program uses is one pixel wide, so level and upright lines are pixel runs.
void QtDrawingContext::drawLine(Point from, Point to) {
    const int x = to.x;
    const int y = to.y;
    const Colour colour = pen().colour;
    if (from.y == y) {
        // Horizontal: from the start up to, not including, the end.
        const int step = sign(x - from.x);
        if (step > 0)
            fillPixels(from.x, y, x, y + 1, colour);
        else if (step < 0)
            fillPixels(x + 1, y, from.x + 1, y + 1, colour);
        return;
    }
    if (from.x == x) {
        if (y > from.y)
            fillPixels(x, from.y, x + 1, y, colour);
        else
            fillPixels(x, y + 1, x + 1, from.y + 1, colour);
        return;
    }
    if (!painting())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(toQColor(colour), 0));
    // The painter includes the end point; stop one step short along the major axis.
    const int dx = x - from.x;
    const int dy = y - from.y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const double shorten = steps > 0 ? static_cast<double>(steps - 1) / steps : 0.0;
    painter->drawLine(QPointF(from.x, from.y),
                      QPointF(from.x + dx * shorten, from.y + dy * shorten));
    painter->restore();
}

void QtDrawingContext::textOut(int x, int y, std::string_view text) {
    if (!painting())
        return;
    const QString string = toQString(text);
    const QFont &textFont = currentFont();
    const QFontMetrics metrics(textFont, device);
    const unsigned align = textAlign();
    // Measuring shapes the text as drawing does again; a left-aligned text needs no width.
    int left = x;
    if ((align & TA_CENTER) == TA_CENTER)
        left = x - metrics.horizontalAdvance(string) / 2;
    else if (align & TA_RIGHT)
        left = x - metrics.horizontalAdvance(string);
    int baseline = y + metrics.ascent();
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = y;
    else if (align & TA_BOTTOM)
        baseline = y - metrics.descent();
    painter->setFont(textFont);
    painter->setPen(toQColor(textColour()));
    if (backgroundMode() == BackgroundMode::Opaque) {
        painter->setBackgroundMode(Qt::OpaqueMode);
        painter->setBackground(Qt::white);
    } else {
        painter->setBackgroundMode(Qt::TransparentMode);
    }
    painter->drawText(QPoint(left, baseline), string);
}

Size QtDrawingContext::textExtent(std::string_view text) {
    if (!device)
        return {};
    const QFontMetrics metrics(currentFont(), device);
    return {metrics.horizontalAdvance(toQString(text)), metrics.ascent() + metrics.descent()};
}

void QtDrawingContext::copyFrom(const DrawingContext &source, int x, int y, int width, int height,
                                int sx, int sy) {
    const auto *from = dynamic_cast<const QtDrawingContext *>(&source);
    if (!from || !from->image() || !painting() || width <= 0 || height <= 0)
        return;
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(QPoint(x, y), *from->image(), QRect(sx, sy, width, height));
    painter->restore();
}

void QtDrawingContext::setDocumentXmp(const std::string &packet) {
    // The writer puts the packet into the file when painting begins, so it must come first.
    if (auto *pdf = dynamic_cast<QPdfWriter *>(printer.get()); pdf && !painting())
        pdf->setDocumentXmpMetadata(
            QByteArray(packet.data(), static_cast<qsizetype>(packet.size())));
}

void QtDrawingContext::startDocument(const std::string &name) {
    if (!printer || painting())
        return;
    if (auto *paper = dynamic_cast<QPrinter *>(printer.get()))
        paper->setDocName(toQString(name));
    else if (auto *pdf = dynamic_cast<QPdfWriter *>(printer.get()))
        pdf->setTitle(toQString(name));
    painter->begin(printer.get());
    pageEnded = false;
}

void QtDrawingContext::startPage() {
    if (!printer || !painting())
        return;
    // The document begins on its first page; later pages follow an ended one.
    if (pageEnded)
        printer->newPage();
    pageEnded = false;
}

void QtDrawingContext::endPage() { pageEnded = true; }

void QtDrawingContext::endDocument() {
    if (printer && painting())
        painter->end();
}

std::unique_ptr<PrintTarget> pdfPrintTarget(const std::string &path) {
    auto writer = std::make_unique<QPdfWriter>(toQString(path));
    writer->setResolution(PRINT_DPI);
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    return QtDrawingContext::forPrinter(std::move(writer));
}

std::unique_ptr<PrintTarget> choosePrinterWithDialog(QWidget *owner) {
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    printer->setResolution(PRINT_DPI);
    printer->setFromTo(1, 1);
    QPrintDialog dialog(printer.get(), owner);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setMinMax(1, 9999);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return QtDrawingContext::forPrinter(std::move(printer));
}

void installPainterContexts(QtHost &host) {
    host.setOffscreenFactory([](int width, int height) -> std::unique_ptr<DrawingContext> {
        // The graph's unit follows the resolution, as on a bitmap made for the screen.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const int dotsPerInch =
            screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
        return QtDrawingContext::offscreen(width, height, dotsPerInch);
    });
    host.setPrinterChooser([](QWidget *owner) -> std::unique_ptr<PrintTarget> {
        return choosePrinterWithDialog(owner);
    });
    QtDialog::setPainterContextFactory([](QPainter &painter) -> std::unique_ptr<DrawingContext> {
        return std::make_unique<QtDrawingContext>(painter);
    });
}

} // namespace zqar::platform
