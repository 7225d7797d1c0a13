#pragma once
#include <algorithm>

namespace corvane {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle as Windows keeps it: left and top inside, right and bottom outside. One whose
// right is not beyond its left (or bottom beyond its top) holds no pixel.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The pixels both hold; an empty rectangle when they share none.
inline Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.Empty() ? Rect{} : r;
}

} // namespace corvane
