#pragma once
// The colour selector of the settings window: a small button showing its
// colour that drops down a palette of twenty swatches and an "&Outra..." area
// for the system colour dialog (the palette's rules: forms/color_palette.h).
// Enter or Space drops the palette down; in it the arrows move the mark and
// Enter or Space picks.

#include <QAbstractButton>
#include <QColor>
#include <QPointer>
#include <QRect>
#include <cstdint>
#include <vector>

#include "forms/color_palette.h"

namespace tavo::gui {

class ColorPalette;

class ColorSelector : public QAbstractButton {
  Q_OBJECT
 public:
  // `spoken_label` names it to a screen reader, followed by its colour's
  // name ("Cor do texto: preto").
  ColorSelector(QWidget* parent, const QString& spoken_label);

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
  QString spoken_label_;
  QPointer<ColorPalette> palette_;
};

// One swatch of the palette, or its "&Outra..." area, as a screen reader and
// the focus know it. The palette draws it and takes its mouse and keys.
class PaletteItem : public QAbstractButton {
  Q_OBJECT
 public:
  PaletteItem(ColorPalette* palette, int item, const QString& name);
  int Item() const { return item_; }

 protected:
  void paintEvent(QPaintEvent*) override {}
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  ColorPalette* palette_;
  int item_;
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
  // The marked swatch: 0..19, kExtra, kOther (by keyboard), or -1 for none.
  int Marked() const { return rules_.Marked(); }
  // The swatch or area an item stands for, and the item of one.
  PaletteItem* ItemOf(int item) const;
  // Gives the keyboard focus to the marked item.
  void FocusMark();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class PaletteItem;
  static QRect ToQRect(const forms::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }
  void OpenOther();
  // Picks the swatch's colour (closing the palette), or opens the dialog from "&Outra...".
  void Activate(int item);
  void ItemFocused(int item);

  ColorSelector* owner_;
  Rules rules_;
  std::vector<PaletteItem*> items_;
};

}  // namespace tavo::gui
