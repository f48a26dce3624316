#include "forms/color_palette.h"

#include "forms/keys.h"

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

// Their names, as a Brazilian user calls them.
constexpr const char* kSwatchNames[ColorPaletteRules::kExtra] = {
    "branco",     "preto",        "prata",        "cinza",        //
    "vermelho",   "marrom",       "amarelo",      "oliva",        //
    "verde-limão", "verde",       "ciano",        "azul-petróleo",  //
    "azul",       "azul-marinho", "fúcsia",       "roxo",         //
    "verde-claro", "azul-celeste", "creme",       "cinza-médio",
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

void ColorPaletteRules::Mark(int item) {
  if ((item >= 0 && item < kExtra) || item == kOther || (item == kExtra && has_extra_)) marked_ = item;
}

ColorPaletteRules::Command ColorPaletteRules::KeyDown(int key) {
  using keys::kDown, keys::kLeft, keys::kRight, keys::kUp;
  if (key == keys::kEscape) return Command::Close;
  if (key == keys::kLetterO) return Command::Other;
  if (keys::ClicksButton(key)) {
    if (marked_ == kOther) return Command::Other;
    return marked_ == kNone ? Command::None : Command::Pick;
  }
  if (key != kLeft && key != kRight && key != kUp && key != kDown) return Command::None;
  // The bottom strip is a sixth row: "&Outra..." from the left, the extra
  // swatch (when shown) under the last column.
  int next = marked_;
  if (marked_ == kNone) {
    next = 0;
  } else if (marked_ == kOther) {
    if (key == kUp) next = (kRows - 1) * kColumns;
    else if (key == kRight && has_extra_) next = kExtra;
  } else if (marked_ == kExtra) {
    if (key == kUp) next = kExtra - 1;
    else if (key == kLeft) next = kOther;
  } else {
    const int row = marked_ / kColumns, column = marked_ % kColumns;
    if (key == kLeft && column > 0) next = marked_ - 1;
    else if (key == kRight && column < kColumns - 1) next = marked_ + 1;
    else if (key == kUp && row > 0) next = marked_ - kColumns;
    else if (key == kDown && row < kRows - 1) next = marked_ + kColumns;
    else if (key == kDown) next = column == kColumns - 1 && has_extra_ ? kExtra : kOther;
  }
  if (next == marked_) return Command::None;
  marked_ = next;
  return Command::Moved;
}

std::string ColorPaletteRules::ColorName(int32_t color) {
  for (int k = 0; k < kExtra; ++k)
    if (SwatchColor(k) == color) return kSwatchNames[k];
  const auto v = static_cast<uint32_t>(color);
  return "vermelho " + std::to_string(v & 0xFF) + ", verde " + std::to_string((v >> 8) & 0xFF) + ", azul " +
         std::to_string((v >> 16) & 0xFF);
}

}  // namespace tavo::forms
