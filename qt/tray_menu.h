#pragma once
// The tray icon's popup menu: owner-drawn with a 32-pixel left margin that
// holds a vertical gradient and the word "Quelvo" reading upwards.

#include <QColor>
#include <QMenu>

namespace tavo::gui {

inline constexpr int kMenuMarginWidth = 32;

// Start colour (the buttons' face colour) and end colour (each channel / 4).
QColor MarginStartColor();
QColor MarginEndColor();
// The colour of gradient band i of n.
QColor MarginBandColor(int band, int bands);

class TrayMenu : public QMenu {
  Q_OBJECT
 public:
  explicit TrayMenu(QWidget* parent = nullptr);
  // Runs the first enabled default item (a double click on the icon).
  void RunDefaultItem();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PopupMenuDrawMargin(QPainter& painter, const QRect& margin);
};

}  // namespace tavo::gui
