#pragma once
// A drawing made for screen pixels, put on paper: every coordinate and font height is
// multiplied by a scale and moved to an origin before it reaches the target, and text is
// measured back in the drawing's own units. A chart laid out for a 96-dpi screen thus keeps
// its proportions on a 300-dpi page. The caller owns the target; this context lives for one
// drawing.

#include "platform/DrawingContext.h"

namespace zqar {

class ScaledDrawingContext : public platform::DrawingContext {
public:
    // Drawing units map to target pixels as originX + x * scale; scale above 0.
    ScaledDrawingContext(platform::DrawingContext &target, double scale, int originX, int originY);

    int deviceCaps(platform::DeviceCap cap) const override;
    void fillRect(const platform::Rect &rect, platform::Colour colour) override;
    void frameRect(const platform::Rect &rect, platform::Colour colour) override;
    void textOut(int x, int y, std::string_view text) override;
    platform::Size textExtent(std::string_view text) override;
    void copyFrom(const platform::DrawingContext &source, int x, int y, int width, int height,
                  int sx, int sy) override;

protected:
    void drawLine(platform::Point from, platform::Point to) override;

private:
    int toX(int x) const;
    int toY(int y) const;
    void useFont();

    platform::DrawingContext &target;
    double scale;
    int originX;
    int originY;
};

} // namespace zqar
