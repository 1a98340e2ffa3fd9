// The generated application icon: every size framed, opaque, and banded from cool at the
// edge to red at the warm spot, so the window manager and the About box get a real picture.

#include "platform/icon/applicationIcon.h"
#include "qt/QtIcon.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace {

int redOf(uint32_t argb) { return static_cast<int>((argb >> 16) & 0xFF); }
int blueOf(uint32_t argb) { return static_cast<int>(argb & 0xFF); }

TEST(ApplicationIcon, EverySizeIsFramedOpaqueAndBandedFromCoolToWarm) {
    for (const int size : zqar::ICON_SIZES) {
        SCOPED_TRACE(size);
        const std::vector<uint32_t> pixels = zqar::applicationIconPixels(size);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
        const auto at = [&](int x, int y) {
            return pixels[static_cast<std::size_t>(y * size + x)];
        };
        for (const uint32_t pixel : pixels)
            ASSERT_EQ(pixel >> 24, 0xFFu) << "every pixel opaque";
        EXPECT_EQ(at(0, 0), at(size - 1, size - 1)) << "the frame is one colour";
        // Just inside the frame at the bottom right lies the coolest band: blue over red.
        const uint32_t cool = at(size - 3, size - 3);
        EXPECT_GT(blueOf(cool), redOf(cool));
        // The warm spot, up and right of the centre, is red.
        const uint32_t warm = at(size * 2 / 3, size / 3);
        EXPECT_GT(redOf(warm), 200);
        EXPECT_LT(blueOf(warm), 50);
        std::set<uint32_t> colours(pixels.begin(), pixels.end());
        EXPECT_GE(colours.size(), 6u) << "several bands, not a blob";
        EXPECT_EQ(zqar::platform::applicationPixmap(size).size(), QSize(size, size));
    }
    EXPECT_TRUE(zqar::applicationIconPixels(0).empty());
    EXPECT_TRUE(zqar::applicationIconPixels(-5).empty());
    EXPECT_EQ(zqar::platform::applicationIcon().availableSizes().size(), 3);
}

} // namespace
