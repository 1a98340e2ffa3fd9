#include "pages/presentation/printUnits.h"

#include "platform/DrawingContext.h"

namespace zqar {

namespace {

constexpr double FALLBACK_DPI = 300.0;

} // namespace

double pixelsPerMillimetre(const platform::DrawingContext &dc) {
    const int width = dc.deviceCaps(platform::HORZRES);
    const int widthMillimetres = dc.deviceCaps(platform::HORZSIZE);
    if (width > 0 && widthMillimetres > 0)
        return static_cast<double>(width) / widthMillimetres;
    const int dpi = dc.deviceCaps(platform::LOGPIXELSX);
    return (dpi > 0 ? dpi : FALLBACK_DPI) / MILLIMETRES_PER_INCH;
}

} // namespace zqar
