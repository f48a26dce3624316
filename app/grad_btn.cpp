#include "app/grad_btn.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "app/gui_common.h"

namespace tavo::gui {

TGradBtn::TGradBtn(const QString& caption, QWidget* parent, const QFont& font)
    : QAbstractButton(parent), face_(kButtonFace), disabled_(kButtonDisabled) {
  setText(caption);  // QAbstractButton turns "&X" into the Alt+X shortcut
  setFont(font);
  setCursor(HandCursor());
  setFocusPolicy(Qt::StrongFocus);
}

QSize TGradBtn::sizeHint() const { return QSize(88, 21); }

void TGradBtn::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  const bool down = isDown();
  p.fillRect(r, isEnabled() ? face_ : disabled_);
  const QColor light = palette().color(QPalette::Light);
  const QColor shadow = palette().color(QPalette::Dark);
  p.setPen(down ? shadow : light);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(down ? light : shadow);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  QRect text_rect = r;
  if (down) text_rect.translate(1, 1);
  p.setPen(isEnabled() ? Qt::black : palette().color(QPalette::Disabled, QPalette::WindowText));
  p.setFont(font());
  p.drawText(text_rect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = r.adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

}  // namespace tavo::gui
