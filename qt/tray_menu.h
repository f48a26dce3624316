#pragma once
// The tray icon's popup menu: owner-drawn with a 32-pixel left margin that
// holds a vertical gradient and the word "Quelvo" reading upwards, and no
// check-mark column (the margin's geometry and colours are forms/tray_margin.h).

#include <QColor>
#include <QMenu>

#include "forms/tray_margin.h"

namespace tavo::gui {

inline QColor ToQColor(const forms::Rgb& c) { return QColor(c.red, c.green, c.blue); }

class TrayMenu : public QMenu {
  Q_OBJECT
 public:
  explicit TrayMenu(QWidget* parent = nullptr);
  // Runs the first enabled default item (a double click on the icon).
  void RunDefaultItem();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // One item in its place: its text from forms::MenuItemTextLeft(), the
  // default item in bold, the selected one in the highlight colours.
  void DrawItem(QPainter& painter, QAction* action, const QRect& place);
  void PopupMenuDrawMargin(QPainter& painter, const QRect& margin);
};

}  // namespace tavo::gui
