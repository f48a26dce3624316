#include "forms/tray_margin.h"

#include <algorithm>
#include <cmath>

namespace tavo::forms {

Rgb MarginStartColor() { return kButtonFace; }

Rgb MarginEndColor() {
  const Rgb s = MarginStartColor();
  return {s.red / 4, s.green / 4, s.blue / 4};
}

Rgb MarginBandColor(int band, int bands) {
  const Rgb s = MarginStartColor(), e = MarginEndColor();
  auto channel = [&](int from, int to) {
    return static_cast<int>(std::lround(from + static_cast<double>(to - from) * band / (bands - 1)));
  };
  return {channel(s.red, e.red), channel(s.green, e.green), channel(s.blue, e.blue)};
}

std::vector<MarginFill> MarginGradient(const Rect& margin) {
  const int bands = std::clamp(margin.height, 2, 32);
  const int band_height = margin.height / bands;
  const int width = margin.width - 3;
  std::vector<MarginFill> fills;
  fills.push_back({{margin.left, margin.top, width, margin.height}, MarginEndColor()});
  for (int i = 0; i < bands; ++i)
    fills.push_back({{margin.left, margin.top + i * band_height, width, band_height}, MarginBandColor(i, bands)});
  return fills;
}

}  // namespace tavo::forms
