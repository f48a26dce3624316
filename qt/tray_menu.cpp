#include "qt/tray_menu.h"

#include <QPaintEvent>
#include <QPainter>

#include "qt/gui_common.h"

namespace tavo::gui {

TrayMenu::TrayMenu(QWidget* parent) : QMenu(parent) {
  // Items are drawn right of the margin, offset by its width plus one pixel.
  setContentsMargins(forms::kMenuMarginWidth + 1, 0, 0, 0);
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
  PopupMenuDrawMargin(painter, QRect(0, 0, forms::kMenuMarginWidth, height()));
}

void TrayMenu::PopupMenuDrawMargin(QPainter& painter, const QRect& margin) {
  const forms::Rect m{margin.left(), margin.top(), margin.width(), margin.height()};
  for (const forms::MarginFill& fill : forms::MarginGradient(m))
    painter.fillRect(QRect(fill.rect.left, fill.rect.top, fill.rect.width, fill.rect.height), ToQColor(fill.color));
  const int edge = forms::MarginShadowColumn(m) - 1;
  painter.fillRect(QRect(edge, margin.top(), 3, margin.height()), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(forms::MarginShadowColumn(m), margin.top(), forms::MarginShadowColumn(m), margin.bottom());
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(forms::MarginHighlightColumn(m), margin.top(), forms::MarginHighlightColumn(m), margin.bottom());

  QFont font(QStringLiteral("Times New Roman"));
  font.setPointSize(18);
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.setClipRect(margin);
  painter.save();
  const forms::Point origin = forms::MarginTextOrigin(m);
  painter.translate(origin.x, origin.y);
  painter.rotate(-90);
  painter.drawText(QPoint(0, painter.fontMetrics().ascent()), QStringLiteral("Quelvo"));
  painter.restore();
}

}  // namespace tavo::gui
