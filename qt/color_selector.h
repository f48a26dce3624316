#pragma once
// The colour selector of the settings window: a small button showing its
// colour that drops down a palette of twenty swatches and an "&Outra..." area
// for the system colour dialog.

#include <QAbstractButton>
#include <QColor>
#include <QPointer>
#include <QRect>
#include <cstdint>
#include <functional>

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

  // A test's stand-in for the system colour dialog: gets the current colour
  // and returns the chosen one, or an invalid colour for a cancelled dialog.
  static void SetColorDialogAnswer(std::function<QColor(const QColor&)> answer);

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
  static constexpr int kWidth = 78;
  static constexpr int kHeight = 120;
  static constexpr int kRows = 5;
  static constexpr int kColumns = 4;
  static constexpr int kExtra = kRows * kColumns;  // index of the extra swatch

  ColorPalette(ColorSelector* owner, int32_t current);

  // The twenty colours, row by row (row i, column j at (i-1)*4 + (j-1)).
  static int32_t SwatchColor(int index);
  // The square of a swatch (row i, column j, both 1-based).
  static QRect SwatchRect(int row, int column);
  static QRect ExtraRect() { return QRect(kWidth - 20, kHeight - 20, 16, 16); }
  // The "&Outra..." area, narrower when the extra swatch is shown.
  QRect OtherRect() const;

  bool HasExtra() const { return has_extra_; }
  // The marked swatch: 0..19, kExtra, or -1 for none.
  int Marked() const { return marked_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The swatch under a point: 0..19, kExtra, or -1.
  int SwatchAt(const QPoint& p) const;
  QRect RectOf(int index) const;

  ColorSelector* owner_;
  int32_t current_;
  bool has_extra_ = false;
  int marked_ = -1;
};

}  // namespace tavo::gui
