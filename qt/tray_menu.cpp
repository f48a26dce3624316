#include "qt/tray_menu.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

#include "qt/gui_common.h"

namespace tavo::gui {

TrayMenu::TrayMenu(QWidget* parent) : QMenu(parent) {
  // The items' places start right of the margin; their text is drawn here.
  setContentsMargins(forms::MenuItemTextLeft(), 0, 0, 0);
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
  // Owner-drawn, as the style would reserve a check-mark column before the text.
  QPainter painter(this);
  QStyleOption panel;
  panel.initFrom(this);
  panel.state = QStyle::State_None;
  style()->drawPrimitive(QStyle::PE_PanelMenu, &panel, &painter, this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.lineWidth = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
  style()->drawPrimitive(QStyle::PE_FrameMenu, &frame, &painter, this);
  for (QAction* action : actions()) {
    const QRect place = actionGeometry(action);
    if (action->isVisible() && place.intersects(event->rect())) DrawItem(painter, action, place);
  }
  PopupMenuDrawMargin(painter, QRect(0, 0, forms::kMenuMarginWidth, height()));
}

void TrayMenu::DrawItem(QPainter& painter, QAction* action, const QRect& place) {
  // From the margin's edge to the frame on the right.
  const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
  const QRect item(forms::kMenuMarginWidth, place.top(), width() - frame - forms::kMenuMarginWidth, place.height());
  if (action->isSeparator()) {
    const int y = item.center().y();
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(item.left() + 1, y, item.right() - 1, y);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(item.left() + 1, y + 1, item.right() - 1, y + 1);
    return;
  }
  const bool selected = action == activeAction() && action->isEnabled();
  if (selected) painter.fillRect(item, palette().color(QPalette::Highlight));
  const QPalette::ColorGroup group = action->isEnabled() ? QPalette::Active : QPalette::Disabled;
  painter.setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  QFont font = this->font();
  font.setBold(action == defaultAction());
  painter.setFont(font);
  QStyleOption option;
  option.initFrom(this);
  const int mnemonic =
      style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
  const QRect text(forms::MenuItemTextLeft(), item.top(), item.right() - forms::MenuItemTextLeft(), item.height());
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic, action->text());
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
