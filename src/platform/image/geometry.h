#pragma once

#include <algorithm>
#include <cmath>

// Plane geometry in doubles, origin at the top left and y growing downward.
// A rectangle is held as origin and size; sizes are taken to be non-negative.
namespace kesta {

struct Point {
  double x = 0;
  double y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  constexpr double minX() const { return x; }
  constexpr double minY() const { return y; }
  constexpr double maxX() const { return x + width; }
  constexpr double maxY() const { return y + height; }
  constexpr double midX() const { return x + width / 2; }
  constexpr double midY() const { return y + height / 2; }
  constexpr Size size() const { return {width, height}; }
  constexpr bool isEmpty() const { return !(width > 0 && height > 0); }

  // The smallest rectangle with whole-number edges that contains this one.
  Rect integral() const {
    const double left = std::floor(minX());
    const double top = std::floor(minY());
    return {left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top};
  }

  // The common part of two rectangles; empty (zero size) when they do not overlap.
  Rect intersection(const Rect& other) const {
    const double left = std::max(minX(), other.minX());
    const double top = std::max(minY(), other.minY());
    const double right = std::min(maxX(), other.maxX());
    const double bottom = std::min(maxY(), other.maxY());
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
  }

  // A rectangle given as fractions of a whole (0 to 1) in the units of `whole`:
  // each edge is scaled, then the result is widened to whole units.
  Rect scaledTo(Size whole) const {
    return Rect{x * whole.width, y * whole.height, width * whole.width, height * whole.height}.integral();
  }

  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace kesta
