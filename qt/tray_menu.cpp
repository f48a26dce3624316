#include "qt/tray_menu.h"

#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "qt/gui_common.h"

namespace tavo::gui {

QColor MarginStartColor() { return kButtonFace; }

QColor MarginEndColor() {
  const QColor s = MarginStartColor();
  return QColor(s.red() / 4, s.green() / 4, s.blue() / 4);
}

QColor MarginBandColor(int band, int bands) {
  const QColor s = MarginStartColor(), e = MarginEndColor();
  auto channel = [&](int from, int to) {
    return static_cast<int>(std::lround(from + static_cast<double>(to - from) * band / (bands - 1)));
  };
  return QColor(channel(s.red(), e.red()), channel(s.green(), e.green()), channel(s.blue(), e.blue()));
}

TrayMenu::TrayMenu(QWidget* parent) : QMenu(parent) {
  // Items are drawn right of the margin, offset by its width plus one pixel.
  setContentsMargins(kMenuMarginWidth + 1, 0, 0, 0);
}

void TrayMenu::RunDefaultItem() {
  for (QAction* action : actions()) {
    if (action == defaultAction() && action->isEnabled()) {
      action->trigger();
      return;
    }
  }
}

void TrayMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  QPainter painter(this);
  PopupMenuDrawMargin(painter, QRect(0, 0, kMenuMarginWidth, height()));
}

void TrayMenu::PopupMenuDrawMargin(QPainter& painter, const QRect& margin) {
  const int bands = std::clamp(margin.height(), 2, 32);
  const int band_height = margin.height() / bands;
  // The gradient leaves the 3 rightmost columns for a sunken edge.
  const int gradient_width = margin.width() - 3;
  painter.fillRect(QRect(margin.left(), margin.top(), gradient_width, margin.height()), MarginEndColor());
  for (int i = 0; i < bands; ++i)
    painter.fillRect(QRect(margin.left(), margin.top() + i * band_height, gradient_width, band_height),
                     MarginBandColor(i, bands));
  painter.fillRect(QRect(margin.left() + gradient_width, margin.top(), 3, margin.height()), palette().color(QPalette::Window));
  const int right = margin.left() + margin.width();
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(right - 2, margin.top(), right - 2, margin.bottom());
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(right - 1, margin.top(), right - 1, margin.bottom());

  QFont font(QStringLiteral("Times New Roman"));
  font.setPointSize(18);
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.setClipRect(margin);
  painter.save();
  painter.translate(margin.left(), margin.bottom() - 5);
  painter.rotate(-90);
  painter.drawText(QPoint(0, painter.fontMetrics().ascent()), QStringLiteral("Quelvo"));
  painter.restore();
}

}  // namespace tavo::gui
