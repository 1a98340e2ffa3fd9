#pragma once
// Points and rectangles in device pixels. A rectangle covers [left, right) x [top, bottom).
// Also where a text sits across the width it is given: a list column, a table cell, a tab stop.

namespace zqar::platform {

enum class Align { Left, Centre, Right };

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // Left and top edges inside, right and bottom edges outside.
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};

inline bool operator==(const Rect &a, const Rect &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace zqar::platform
