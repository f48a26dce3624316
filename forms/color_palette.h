#pragma once
// The colour selector's drop-down palette, apart from its drawing: twenty
// swatches in four columns and five rows, an extra swatch for a current
// colour outside them, and the "&Outra..." area that opens the colour dialog.

#include <cstdint>
#include <string>

#include "forms/geometry.h"

namespace tavo::forms {

class ColorPaletteRules {
 public:
  static constexpr int kWidth = 78;
  static constexpr int kHeight = 120;
  static constexpr int kRows = 5;
  static constexpr int kColumns = 4;
  static constexpr int kExtra = kRows * kColumns;  // the extra swatch's number
  static constexpr int kOther = kExtra + 1;        // the "&Outra..." area, as a keyboard stop
  static constexpr int kNone = -1;

  // What a key asks of the open palette.
  enum class Command { None, Moved, Pick, Other, Close };

  // A palette opened on the selector's current colour.
  explicit ColorPaletteRules(int32_t current);

  // The colour of swatch 0..19 (row by row), as a 0x00BBGGRR value.
  static int32_t SwatchColor(int index);
  // The 16-pixel square of swatch 0..19, or of kExtra.
  static Rect SwatchRect(int index);
  // The separator line's row, 24 pixels above the bottom edge.
  static constexpr int kSeparatorY = kHeight - 24;

  int32_t Current() const { return current_; }
  // True when the current colour is none of the twenty.
  bool HasExtra() const { return has_extra_; }
  // The "&Outra..." area: (3, height - 21) to (56, height - 3), widened to
  // x = 75 when no extra swatch is shown.
  Rect OtherRect() const;
  // The swatch under a point: 0..19, kExtra, or kNone.
  int SwatchAt(Point p) const;
  // The colour a swatch stands for.
  int32_t ColorOf(int swatch) const { return swatch == kExtra ? current_ : SwatchColor(swatch); }

  // The marked swatch: at first the current colour's (or the extra one);
  // afterwards the one under the mouse or reached by the keyboard, which may
  // also mark kOther. MouseMoved returns true when the mark moved.
  int Marked() const { return marked_; }
  bool MouseMoved(Point p);
  // Marks a swatch, the extra one (when shown) or kOther.
  void Mark(int item);

  // A key (virtual-key code) on the open palette: the arrows move the mark
  // over the five rows of swatches and the bottom strip ("&Outra..." and the
  // extra swatch); Enter or Space picks the marked swatch's colour, or asks
  // for the colour dialog on "&Outra..."; "O" asks for the colour dialog;
  // Escape closes the palette without a pick.
  Command KeyDown(int key);

  // What a screen reader calls a colour: its name in the palette's table
  // ("preto", "azul-marinho"), or its red, green and blue values.
  static std::string ColorName(int32_t color);

 private:
  int32_t current_;
  bool has_extra_ = false;
  int marked_ = kNone;
};

}  // namespace tavo::forms
