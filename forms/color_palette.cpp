#include "forms/color_palette.h"

namespace tavo::forms {
namespace {

// The palette's colours (red, green, blue), row by row.
constexpr int kSwatchRgb[ColorPaletteRules::kExtra][3] = {
    {255, 255, 255}, {0, 0, 0},       {192, 192, 192}, {128, 128, 128},  //
    {255, 0, 0},     {128, 0, 0},     {255, 255, 0},   {128, 128, 0},    //
    {0, 255, 0},     {0, 128, 0},     {0, 255, 255},   {0, 128, 128},    //
    {0, 0, 255},     {0, 0, 128},     {255, 0, 255},   {128, 0, 128},    //
    {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
};

bool Inside(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right() && p.y >= r.top && p.y < r.bottom(); }

}  // namespace

ColorPaletteRules::ColorPaletteRules(int32_t current) : current_(current) {
  for (int k = 0; k < kExtra; ++k)
    if (SwatchColor(k) == current) marked_ = k;
  has_extra_ = marked_ == kNone;
  if (has_extra_) marked_ = kExtra;
}

int32_t ColorPaletteRules::SwatchColor(int index) {
  const int* rgb = kSwatchRgb[index];
  return static_cast<int32_t>(rgb[0] | rgb[1] << 8 | rgb[2] << 16);
}

Rect ColorPaletteRules::SwatchRect(int index) {
  if (index == kExtra) return {kWidth - 20, kHeight - 20, 16, 16};
  const int row = index / kColumns + 1, column = index % kColumns + 1;
  return {18 * column - 14, 18 * row - 14, 16, 16};
}

Rect ColorPaletteRules::OtherRect() const {
  const int right = has_extra_ ? 56 : 75;
  return {3, kHeight - 21, right - 3, 18};
}

int ColorPaletteRules::SwatchAt(Point p) const {
  for (int k = 0; k < kExtra; ++k)
    if (Inside(SwatchRect(k), p)) return k;
  if (has_extra_ && Inside(SwatchRect(kExtra), p)) return kExtra;
  return kNone;
}

bool ColorPaletteRules::MouseMoved(Point p) {
  const int k = SwatchAt(p);
  if (k == kNone || k == marked_) return false;
  marked_ = k;
  return true;
}

}  // namespace tavo::forms
