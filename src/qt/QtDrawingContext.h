#pragma once
// The drawing context over a QPainter: on a widget while it paints, on an off-screen QImage
// (the Graph page's screen-sized bitmap, PNG export), and on a printer or a PDF file for one
// document. It keeps the old device context's rules: fills and frames cover
// [left, right) x [top, bottom), lines leave out their end point, a font's height is its cell
// height in pixels, and text is placed by its reference point and alignment flags.

#include "platform/DrawingContext.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace zqar::platform {

class QtHost;

class QtDrawingContext : public PrintTarget {
public:
    // Paints through a painter that someone else began and ends (a widget's paint event).
    explicit QtDrawingContext(QPainter &painter);
    // An off-screen bitmap of width x height pixels, white to begin with, that answers
    // dotsPerInch as its resolution (the screen's, for a bitmap compatible with it).
    static std::unique_ptr<QtDrawingContext> offscreen(int width, int height, int dotsPerInch = 96);
    // A printer or PDF writer for one document; painting starts with startDocument.
    static std::unique_ptr<QtDrawingContext> forPrinter(std::unique_ptr<QPagedPaintDevice> device);
    ~QtDrawingContext() override;
    QtDrawingContext(const QtDrawingContext &) = delete;
    QtDrawingContext &operator=(const QtDrawingContext &) = delete;

    // The off-screen bitmap, or null when this context paints elsewhere. Do not keep a copy
    // while still drawing: the fills write the rows directly, and a shared copy would make
    // the next row write detach the bitmap from the painter's buffer.
    const QImage *image() const { return ownedImage.get(); }

#include "platform/DrawingOverrides.inc"

    // Document calls; on a widget or a bitmap they do nothing. Only a PDF writer keeps XMP.
    void setDocumentXmp(const std::string &packet) override;
    void startDocument(const std::string &name) override;
    void startPage() override;
    void endPage() override;
    void endDocument() override;

protected:
    void drawLine(Point from, Point to) override;

private:
    QtDrawingContext();

    // The font made from the current request; making one measures it on the device, so the
    // last one is kept while the request stays the same.
    const QFont &currentFont();
    QFont makeFont(const FontRequest &request) const;
    // Fills device pixels, straight into the bitmap when there is one.
    void fillPixels(int left, int top, int right, int bottom, Colour colour);
    bool painting() const;

    QPainter *painter = nullptr;
    std::unique_ptr<QPainter> ownedPainter;
    std::unique_ptr<QImage> ownedImage;
    std::unique_ptr<QPagedPaintDevice> printer;
    QPaintDevice *device = nullptr;
    bool pageEnded = false;

    bool fontMade = false;
    FontRequest fontRequest; // what madeFont was made from
    QFont madeFont;
};

// A PDF file of A4 pages at 300 dots per inch, no margins of its own, as a printer context.
std::unique_ptr<PrintTarget> pdfPrintTarget(const std::string &path);
// The print dialog over owner; a printer context, or none when cancelled.
std::unique_ptr<PrintTarget> choosePrinterWithDialog(QWidget *owner);

// Plugs the painter contexts into the host (off-screen bitmaps, the print dialog) and into
// the owner-drawn controls of every page. Call once, before the pages are created.
void installPainterContexts(QtHost &host);

} // namespace zqar::platform
