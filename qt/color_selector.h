#pragma once
// The colour selector of the settings window: a small button showing its
// colour that drops down a palette of twenty swatches and an "&Outra..." area
// for the system colour dialog (the palette's rules: forms/color_palette.h).

#include <QAbstractButton>
#include <QColor>
#include <QPointer>
#include <QRect>
#include <cstdint>

#include "forms/color_palette.h"

namespace tavo::gui {

class ColorPalette;

class ColorSelector : public QAbstractButton {
  Q_OBJECT
 public:
  explicit ColorSelector(QWidget* parent);

  // The colour as a 0x00BBGGRR value.
  int32_t Color() const { return color_; }
  // Sets the colour from the program: repaints, raises no ColorChanged.
  void SetColor(int32_t value);

  // Opens the palette right below the button (what a click does).
  void DropDown();
  // The open palette, or nullptr.
  ColorPalette* OpenPalette() const { return palette_; }

 signals:
  // The user chose a colour that differs from the current one.
  void ColorChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  friend class ColorPalette;
  void Pick(int32_t value);
  void ChooseOther();

  int32_t color_ = 0;
  QPointer<ColorPalette> palette_;
};

// The drop-down window: 78 x 120, frameless, on top, closed by a pick or by
// losing the focus.
class ColorPalette : public QWidget {
  Q_OBJECT
 public:
  using Rules = forms::ColorPaletteRules;
  static constexpr int kExtra = Rules::kExtra;

  ColorPalette(ColorSelector* owner, int32_t current);

  // The square of a swatch (row i, column j, both 1-based), and of the extra one.
  static QRect SwatchRect(int row, int column) { return ToQRect(Rules::SwatchRect((row - 1) * Rules::kColumns + column - 1)); }
  static QRect ExtraRect() { return ToQRect(Rules::SwatchRect(kExtra)); }
  QRect OtherRect() const { return ToQRect(rules_.OtherRect()); }
  bool HasExtra() const { return rules_.HasExtra(); }
  // The marked swatch: 0..19, kExtra, or -1 for none.
  int Marked() const { return rules_.Marked(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  static QRect ToQRect(const forms::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }
  void OpenOther();

  ColorSelector* owner_;
  Rules rules_;
};

}  // namespace tavo::gui
