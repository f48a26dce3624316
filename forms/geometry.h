#pragma once
// Points, sizes and rectangles in pixels, and colours, as the windows' rules
// exchange them with a front-end.

namespace tavo::forms {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// A rectangle by its left-top corner and its size.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  constexpr int right() const { return left + width; }    // first column after the rectangle
  constexpr int bottom() const { return top + height; }   // first row below it
  bool operator==(const Rect&) const = default;
};

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

}  // namespace tavo::forms
