#include "qt/color_selector.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

#include "qt/accessibility.h"
#include "qt/dialogs.h"
#include "qt/gui_common.h"

namespace tavo::gui {
namespace {

// A one-pixel outline along the inside of the rectangle.
void Outline(QPainter& p, const QRect& r, const QColor& color) {
  p.setPen(color);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

// --- The selector button ---

ColorSelector::ColorSelector(QWidget* parent, const QString& spoken_label)
    : QAbstractButton(parent), spoken_label_(spoken_label) {
  setCursor(HandCursor());
  setFocusPolicy(Qt::StrongFocus);
  ClickOnEnter(this);
  connect(this, &QAbstractButton::clicked, this, &ColorSelector::DropDown);
  SetColor(color_);
}

void ColorSelector::SetColor(int32_t value) {
  color_ = value;
  setAccessibleName(spoken_label_ + QStringLiteral(": ") +
                    QString::fromStdString(forms::ColorPaletteRules::ColorName(value)));
  update();
}

void ColorSelector::Pick(int32_t value) {
  if (value == color_) return;
  SetColor(value);
  emit ColorChanged();
}

void ColorSelector::DropDown() {
  if (palette_) palette_->close();
  palette_ = new ColorPalette(this, color_);
  palette_->move(mapToGlobal(QPoint(0, height())));
  palette_->show();
  palette_->FocusMark();
}

void ColorSelector::ChooseOther() {
  const QColor chosen = AskColor(window(), ColorFromValue(color_));
  if (chosen.isValid()) Pick(ValueFromColor(chosen));
}

void ColorSelector::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  qDrawWinButton(&p, r, palette(), isDown(), &palette().brush(QPalette::Button));
  const int shift = isDown() ? 1 : 0;
  // The colour well, framed, and a small drop-down arrow at the right.
  const QRect well(4 + shift, 4 + shift, r.width() - 20, r.height() - 8);
  p.fillRect(well, ColorFromValue(color_));
  Outline(p, well, Qt::black);
  const int ax = r.width() - 12 + shift, ay = r.height() / 2 - 1 + shift;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const QPoint arrow[3] = {QPoint(ax, ay), QPoint(ax + 6, ay), QPoint(ax + 3, ay + 3)};
  p.drawPolygon(arrow, 3);
  if (hasFocus()) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(2, 2, -3, -3));
  }
}

// --- The palette's items ---

PaletteItem::PaletteItem(ColorPalette* palette, int item, const QString& name)
    : QAbstractButton(palette), palette_(palette), item_(item) {
  setText(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::StrongFocus);
  // A screen reader's press.
  connect(this, &QAbstractButton::clicked, palette, [palette, item] { palette->Activate(item); });
}

void PaletteItem::keyPressEvent(QKeyEvent* event) { event->ignore(); }

void PaletteItem::keyReleaseEvent(QKeyEvent* event) { event->ignore(); }

void PaletteItem::focusInEvent(QFocusEvent* event) {
  QAbstractButton::focusInEvent(event);
  palette_->ItemFocused(item_);
}

// --- The palette window ---

ColorPalette::ColorPalette(ColorSelector* owner, int32_t current)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      owner_(owner),
      rules_(current) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Rules::kWidth, Rules::kHeight);
  setMouseTracking(true);
  setCursor(HandCursor());
  setFont(SansSerifFont(11));
  setAccessibleName(QStringLiteral("Paleta de cores"));
  auto add = [this](int item, const QRect& rect, const QString& name) {
    auto* button = new PaletteItem(this, item, name);
    button->setGeometry(rect);
    items_.push_back(button);
  };
  for (int k = 0; k < kExtra; ++k)
    add(k, ToQRect(Rules::SwatchRect(k)), QString::fromStdString(Rules::ColorName(Rules::SwatchColor(k))));
  if (HasExtra()) add(kExtra, ExtraRect(), QString::fromStdString(Rules::ColorName(current)));
  add(Rules::kOther, OtherRect(), QStringLiteral("Outra..."));
}

PaletteItem* ColorPalette::ItemOf(int item) const {
  for (PaletteItem* button : items_)
    if (button->Item() == item) return button;
  return nullptr;
}

void ColorPalette::FocusMark() {
  if (PaletteItem* button = ItemOf(Marked())) button->setFocus(Qt::OtherFocusReason);
}

void ColorPalette::ItemFocused(int item) {
  if (item == Marked()) return;
  rules_.Mark(item);
  update();
}

void ColorPalette::Activate(int item) {
  if (item == Rules::kOther) {
    OpenOther();
    return;
  }
  const int32_t value = rules_.ColorOf(item);
  ColorSelector* owner = owner_;
  close();
  owner->Pick(value);
}

void ColorPalette::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  qDrawWinPanel(&p, rect(), pal, false, &pal.brush(QPalette::Button));
  for (int k = 0; k < kExtra + (HasExtra() ? 1 : 0); ++k) {
    const QRect r = ToQRect(Rules::SwatchRect(k));
    qDrawWinPanel(&p, r, pal, true);
    p.fillRect(r.adjusted(2, 2, -2, -2), ColorFromValue(rules_.ColorOf(k)));
  }
  // The separator above the bottom strip, etched.
  const int y = Rules::kSeparatorY;
  p.setPen(pal.color(QPalette::Dark));
  p.drawLine(3, y, Rules::kWidth - 4, y);
  p.setPen(pal.color(QPalette::Light));
  p.drawLine(3, y + 1, Rules::kWidth - 4, y + 1);
  const QRect other = OtherRect();
  qDrawWinPanel(&p, other, pal, false);
  p.setPen(Qt::black);
  p.drawText(other, Qt::AlignCenter | Qt::TextShowMnemonic, QStringLiteral("&Outra..."));
  if (Marked() == Rules::kOther) {
    // Reached by the keyboard: a dotted focus line inside the area.
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(other.adjusted(2, 2, -3, -3));
  } else if (Marked() >= 0) {
    const QRect r = ToQRect(Rules::SwatchRect(Marked()));
    Outline(p, r.adjusted(-1, -1, 1, 1), Qt::black);
    Outline(p, r, Qt::white);
    Outline(p, r.adjusted(1, 1, -1, -1), Qt::black);
  }
}

void ColorPalette::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (!rules_.MouseMoved({p.x(), p.y()})) return;
  FocusMark();
  update();
}

void ColorPalette::OpenOther() {
  ColorSelector* owner = owner_;
  close();
  // The dialog opens once the palette has gone.
  QTimer::singleShot(0, owner, [owner] { owner->ChooseOther(); });
}

void ColorPalette::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  if (const int k = rules_.SwatchAt({pos.x(), pos.y()}); k >= 0) Activate(k);
  else if (OtherRect().contains(pos)) OpenOther();
}

void ColorPalette::keyPressEvent(QKeyEvent* event) {
  using Command = Rules::Command;
  if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    switch (rules_.KeyDown(VirtualKey(*event))) {
      case Command::Moved:
        FocusMark();
        update();
        return;
      case Command::Pick: Activate(Marked()); return;
      case Command::Other: OpenOther(); return;
      case Command::Close: close(); return;
      case Command::None: break;
    }
  }
  QWidget::keyPressEvent(event);
}

}  // namespace tavo::gui
