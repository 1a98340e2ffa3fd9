#include "qt/QtDrawingContext.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>

#include <fstream>
#include <iterator>
#include <string>

namespace zqar::platform {
namespace {

QColor pixel(const QtDrawingContext &dc, int x, int y) { return dc.image()->pixelColor(x, y); }

Colour colourAt(const QtDrawingContext &dc, int x, int y) {
    const QColor c = pixel(dc, x, y);
    return rgb(c.red(), c.green(), c.blue());
}

// The smallest rectangle holding every non-white pixel.
Rect inkBounds(const QtDrawingContext &dc) {
    const QImage &image = *dc.image();
    Rect bounds{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                bounds.left = std::min(bounds.left, x);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x + 1);
                bounds.bottom = std::max(bounds.bottom, y + 1);
            }
    return bounds;
}

TEST(QtDrawing, FillsAndFramesCoverHalfOpenRectangles) {
    auto dc = QtDrawingContext::offscreen(40, 30);
    const Colour red = rgb(255, 0, 0);
    dc->fillRect({2, 3, 5, 7}, red);
    EXPECT_EQ(colourAt(*dc, 2, 3), rgb(255, 0, 0));
    EXPECT_EQ(colourAt(*dc, 4, 6), rgb(255, 0, 0));
    EXPECT_EQ(colourAt(*dc, 5, 6), rgb(255, 255, 255));
    EXPECT_EQ(colourAt(*dc, 4, 7), rgb(255, 255, 255));
    EXPECT_EQ(colourAt(*dc, 1, 3), rgb(255, 255, 255));

    dc->frameRect({10, 10, 20, 15}, BLACK);
    EXPECT_EQ(colourAt(*dc, 10, 10), rgb(0, 0, 0));
    EXPECT_EQ(colourAt(*dc, 19, 14), rgb(0, 0, 0));
    EXPECT_EQ(colourAt(*dc, 11, 11), rgb(255, 255, 255));
    EXPECT_EQ(colourAt(*dc, 20, 14), rgb(255, 255, 255));
    EXPECT_EQ(colourAt(*dc, 15, 15), rgb(255, 255, 255));

    // Off the bitmap and empty rectangles are no fault.
    dc->fillRect({-100, -100, 1000, 2}, red);
    dc->fillRect({30, 20, 10, 5}, red);
    EXPECT_EQ(colourAt(*dc, 39, 1), rgb(255, 0, 0));
    EXPECT_EQ(colourAt(*dc, 19, 10), rgb(0, 0, 0));
    EXPECT_EQ(colourAt(*dc, 15, 12), rgb(255, 255, 255));
}

TEST(QtDrawing, LinesLeaveOutTheirEndPoint) {
    auto dc = QtDrawingContext::offscreen(40, 30);
    dc->setPen(Pen{PenStyle::Solid, 1, rgb(0, 0, 0)});
    dc->moveTo(5, 5);
    dc->lineTo(15, 5);
    dc->lineTo(15, 20);
    dc->lineTo(5, 20);
    dc->lineTo(5, 5);
    EXPECT_EQ(inkBounds(*dc), (Rect{5, 5, 16, 21}));
    dc->moveTo(30, 2);
    dc->lineTo(30, 10);
    EXPECT_EQ(colourAt(*dc, 30, 9), rgb(0, 0, 0));
    EXPECT_EQ(colourAt(*dc, 30, 10), rgb(255, 255, 255));
}

TEST(QtDrawing, TextSitsOnItsReferencePoint) {
    auto dc = QtDrawingContext::offscreen(200, 100);
    FontRequest request;
    request.height = 24;
    request.face = "Arial";
    dc->setFont(request);
    const Size extent = dc->textExtent("Hg");
    EXPECT_NEAR(extent.height, 24, 1);
    EXPECT_GT(extent.width, 10);
    dc->setBackgroundMode(BackgroundMode::Transparent);
    dc->setTextColour(rgb(0, 0, 0));
    struct Case {
        unsigned align;
        bool leftOfX;
        bool aboveY;
    };
    for (const Case &testCase :
         {Case{TA_LEFT | TA_TOP, false, false}, Case{TA_RIGHT | TA_BASELINE, true, true},
          Case{TA_CENTER | TA_TOP, true, false}}) {
        SCOPED_TRACE(testCase.align);
        dc->fillRect({0, 0, 200, 100}, WHITE);
        dc->setTextAlign(testCase.align);
        dc->textOut(100, 50, "EEE");
        const Rect ink = inkBounds(*dc);
        if (testCase.leftOfX && (testCase.align & TA_CENTER) != TA_CENTER) {
            EXPECT_LE(ink.right, 101);
        } else if (!testCase.leftOfX) {
            EXPECT_GE(ink.left, 100);
        } else {
            EXPECT_LT(ink.left, 100);
            EXPECT_GT(ink.right, 100);
        }
        if (testCase.aboveY) {
            EXPECT_LE(ink.bottom, 51);
        } else {
            EXPECT_GE(ink.top, 50);
            EXPECT_LE(ink.bottom, 50 + 24);
        }
    }
}

TEST(QtDrawing, BitmapCapabilitiesAndCopies) {
    auto source = QtDrawingContext::offscreen(64, 48);
    EXPECT_EQ(source->deviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(source->deviceCaps(HORZRES), 64);
    EXPECT_EQ(source->deviceCaps(VERTRES), 48);
    EXPECT_EQ(QtDrawingContext::offscreen(8, 8, 144)->deviceCaps(LOGPIXELSX), 144);
    source->fillRect({0, 0, 10, 10}, BLACK);
    auto target = QtDrawingContext::offscreen(64, 48);
    target->copyFrom(*source, 20, 20, 5, 5, 3, 3);
    EXPECT_EQ(colourAt(*target, 20, 20), rgb(0, 0, 0));
    EXPECT_EQ(colourAt(*target, 24, 24), rgb(0, 0, 0));
    EXPECT_EQ(colourAt(*target, 25, 24), rgb(255, 255, 255));
    EXPECT_EQ(colourAt(*target, 19, 20), rgb(255, 255, 255));
}

TEST(QtDrawing, PdfTargetIsA4WithOnePagePerBreak) {
    testing::TempDir dir;
    const std::string path = (dir.path() / "out.pdf").string();
    {
        auto pdf = pdfPrintTarget(path);
        ASSERT_NE(pdf, nullptr);
        // 210 x 297 mm at 300 dots per inch.
        EXPECT_NEAR(pdf->deviceCaps(HORZRES), 2480, 1);
        EXPECT_EQ(pdf->deviceCaps(HORZSIZE), 210);
        EXPECT_NEAR(pdf->deviceCaps(VERTRES), 3508, 1);
        EXPECT_EQ(pdf->deviceCaps(LOGPIXELSX), 300);
        pdf->startDocument("Temperature Profile");
        pdf->startPage();
        pdf->textOut(100, 100, "first");
        pdf->endPage();
        pdf->startPage();
        pdf->textOut(100, 100, "second");
        pdf->endPage();
        pdf->endDocument();
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    EXPECT_NE(bytes.find("/Count 2"), std::string::npos);
}

} // namespace
} // namespace zqar::platform
