#pragma once
// Lengths on a printed page: the printouts and the mapping report are laid out in millimetres.

namespace zqar {

namespace platform {
class DrawingContext;
}

constexpr double MILLIMETRES_PER_INCH = 25.4;

// Device pixels per millimetre across the page. A printer that reports no paper size would
// make every length infinite; its resolution, or 300 dpi, gives a sane page instead.
double pixelsPerMillimetre(const platform::DrawingContext &dc);

} // namespace zqar
