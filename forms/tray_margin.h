#pragma once
// The tray menu's left margin, apart from its drawing: a 32-pixel strip with
// a vertical gradient from the buttons' face colour down to a quarter of it,
// a sunken edge in its 3 rightmost columns and the word "Quelvo" reading
// upwards from its bottom-left corner.

#include <cstdint>
#include <vector>

#include "forms/desktop.h"
#include "forms/geometry.h"

namespace tavo::forms {

inline constexpr int kMenuMarginWidth = 32;
// Where the items' text begins, from the menu's left edge: right of the
// margin, one pixel apart. There is no check-mark column.
inline constexpr int MenuItemTextLeft() { return kMenuMarginWidth + 1; }

// kButtonFace, the colour of the main window's buttons, and each of its
// channels divided by 4, rounded down.
Rgb MarginStartColor();
Rgb MarginEndColor();
// The colour of gradient band i of n: start + (end - start) * i / (n - 1),
// rounded to the nearest integer.
Rgb MarginBandColor(int band, int bands);

struct MarginFill {
  Rect rect;
  Rgb color;
};

// What the margin's gradient fills, in order: the rows left over below the
// bands in the end colour, then every band; the 3 rightmost columns are left
// for the edge. Bands: the height, at most 32 and at least 2.
std::vector<MarginFill> MarginGradient(const Rect& margin);
// The columns of the sunken edge: button shadow at right - 2, button
// highlight at right - 1.
inline int MarginShadowColumn(const Rect& margin) { return margin.right() - 2; }
inline int MarginHighlightColumn(const Rect& margin) { return margin.right() - 1; }
// Where the turned word starts: the margin's left edge, 5 pixels above its
// bottom (the first row below it).
inline Point MarginTextOrigin(const Rect& margin) { return {margin.left, margin.bottom() - 5}; }

}  // namespace tavo::forms
