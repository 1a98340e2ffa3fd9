#pragma once
// The application icon (resource 128): a small banded contour map, violet and blue at the
// cool edge through green to red at the warm spot, in a dark frame. It is computed rather
// than stored, so every size is drawn sharp.

#include <cstdint>
#include <vector>

namespace zqar {

constexpr int ICON_SIZES[] = {16, 32, 48};

// size x size pixels, row by row from the top, each 0xAARRGGBB. Sizes below 4 give an empty
// picture.
std::vector<uint32_t> applicationIconPixels(int size);

} // namespace zqar
