#include "platform/icon/applicationIcon.h"

#include "core/data/numbers.h"

#include <cmath>

namespace zqar {

namespace {

constexpr uint32_t argb(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) |
           static_cast<uint32_t>(blue);
}

// Coolest to warmest, as the graph's colour scale runs.
constexpr uint32_t BANDS[] = {
    argb(112, 0, 160), argb(40, 40, 230), argb(0, 150, 230), argb(0, 170, 70),
    argb(150, 210, 0), argb(250, 200, 0), argb(245, 110, 0), argb(210, 0, 0),
};
constexpr int BAND_COUNT = static_cast<int>(sizeof BANDS / sizeof BANDS[0]);
constexpr uint32_t FRAME = argb(40, 40, 40);

// A warm spot up and right of the centre and a weaker one low on the left: the picture of
// an oven profile with its hot corner.
double warmth(double x, double y) {
    const double dx1 = x - 0.66, dy1 = y - 0.34;
    const double dx2 = x - 0.22, dy2 = y - 0.80;
    const double value = std::exp(-(dx1 * dx1 + dy1 * dy1) / 0.16) +
                         0.45 * std::exp(-(dx2 * dx2 + dy2 * dy2) / 0.05);
    return value < 0.0 ? 0.0 : (value > 0.999 ? 0.999 : value);
}

} // namespace

std::vector<uint32_t> applicationIconPixels(int size) {
    if (size < 4)
        return {};
    std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    const int frame = size >= 32 ? 2 : 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool onFrame = x < frame || y < frame || x >= size - frame || y >= size - frame;
            uint32_t colour = FRAME;
            if (!onFrame) {
                const double value = warmth((x + 0.5) / size, (y + 0.5) / size);
                colour = BANDS[truncToInt(value * BAND_COUNT)];
            }
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                   static_cast<std::size_t>(x)] = colour;
        }
    return pixels;
}

} // namespace zqar
