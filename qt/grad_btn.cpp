#include "qt/grad_btn.h"

#include <QPainter>

#include "qt/accessibility.h"
#include "qt/gui_common.h"

namespace tavo::gui {

namespace {

// The classic dotted focus rectangle: the outline's pixels of one colour of
// a checkerboard, inverted, so that it shows on any face colour.
void DrawFocusRect(QPainter& p, const QRect& r) {
  p.save();
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.setPen(Qt::white);
  auto dot = [&p](int x, int y) {
    if (((x + y) & 1) == 0) p.drawPoint(x, y);
  };
  for (int x = r.left(); x <= r.right(); ++x) {
    dot(x, r.top());
    dot(x, r.bottom());
  }
  for (int y = r.top() + 1; y < r.bottom(); ++y) {
    dot(r.left(), y);
    dot(r.right(), y);
  }
  p.restore();
}

}  // namespace

TGradBtn::TGradBtn(const QString& caption, QWidget* parent, const QFont& font)
    : QAbstractButton(parent), face_(kButtonFace), disabled_(kButtonDisabled) {
  setText(caption);  // QAbstractButton turns "&X" into the Alt+X shortcut
  setFont(font);
  setCursor(HandCursor());
  setFocusPolicy(Qt::StrongFocus);
  ClickOnEnter(this);
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
  if (hasFocus()) DrawFocusRect(p, r.adjusted(2, 2, -2, -2));
}

}  // namespace tavo::gui
