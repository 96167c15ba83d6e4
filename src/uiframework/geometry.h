#pragma once

// Plain value types for window coordinates. Rectangles are half-open: `right` and `bottom`
// lie just outside, as the layouts' sizes are counted.

#include <algorithm>
#include <cstdint>

namespace uiframework {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Four edge widths: paddings, insets, nine-grid corners.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Insets&, const Insets&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect FromSize(int x, int y, int width, int height) {
        return Rect{x, y, x + width, y + height};
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Point Center() const { return Point{left + Width() / 2, top + Height() / 2}; }
    Rect Deflated(const Insets& by) const {
        return Rect{left + by.left, top + by.top, right - by.right, bottom - by.bottom};
    }
    Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
    Rect Intersect(const Rect& other) const {
        Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
               std::min(bottom, other.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// 0xAARRGGBB.
using Color = uint32_t;

}  // namespace uiframework
