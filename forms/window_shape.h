#pragma once
// The frameless windows' shape and drag rule, apart from any toolkit: the
// window region is the union of the runs of non-zero palette indexes of the
// background picture, and a press on the window's own surface drags the window
// unless it falls inside one of the window's exception rectangles.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "forms/geometry.h"

namespace tavo::forms {

// True when `p` lies in `r` with all four edges included:
// left <= x <= left + width and top <= y <= top + height.
bool ContainsEdgesIncluded(const Rect& r, Point p);

// The palette indexes of an 8-bit picture. Row y starts at
// `pixels + y * stride`; a negative stride reads a bottom-up bitmap (a Windows
// DIB) with `pixels` pointing at its top row.
struct IndexedPicture {
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;
};

// One horizontal run of the window region: pixels x .. x + length - 1 of row y.
struct ShapeRun {
  int y = 0;
  int x = 0;
  int length = 0;
  bool operator==(const ShapeRun&) const = default;
};

// The runs of pixels whose palette index is not 0, row by row from the top,
// left to right. A run that reaches the right edge belongs to the window.
// The union of the runs is the window region; an empty picture gives none.
std::vector<ShapeRun> ShapeRuns(const IndexedPicture& picture);

// Hit-test answers of a window's own surface.
enum HitTest { kHitClient = 1, kHitCaption = 2 };

// The click areas of a window's own surface (e.g. `iHide`): a point inside one
// of them, edges included, is an ordinary click; any other point drags the
// window, as a title bar would.
class ClickAreas {
 public:
  // Adds an exception rectangle; returns its number (0, 1, ...) in order of adding.
  int Add(const Rect& area);
  // The number of the first exception that contains `client_point`, or -1.
  int At(Point client_point) const;
  // kHitClient inside an exception, kHitCaption anywhere else.
  HitTest WMNCHitTest(Point client_point) const;
  // The same for a point in screen coordinates (which may be negative on a
  // monitor left of or above the primary one) over a window whose client
  // origin is at `client_origin` on the screen.
  HitTest WMNCHitTest(Point screen_point, Point client_origin) const;

 private:
  std::vector<Rect> areas_;
};

// The hide symbol drawn in the main, list and settings windows' pictures.
inline constexpr Rect kHideArea{384, 13, 22, 22};
// The turned page corner drawn in the reminder window's picture.
inline constexpr Rect kExpandArea{226, 180, 24, 26};

}  // namespace tavo::forms
