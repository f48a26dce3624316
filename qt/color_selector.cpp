#include "qt/color_selector.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

#include "qt/gui_common.h"

namespace tavo::gui {
namespace {

// The palette's colours (red, green, blue), row by row.
constexpr int kSwatchRgb[ColorPalette::kRows * ColorPalette::kColumns][3] = {
    {255, 255, 255}, {0, 0, 0},       {192, 192, 192}, {128, 128, 128},  //
    {255, 0, 0},     {128, 0, 0},     {255, 255, 0},   {128, 128, 0},    //
    {0, 255, 0},     {0, 128, 0},     {0, 255, 255},   {0, 128, 128},    //
    {0, 0, 255},     {0, 0, 128},     {255, 0, 255},   {128, 0, 128},    //
    {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
};

std::function<QColor(const QColor&)>& ColorDialogAnswer() {
  static std::function<QColor(const QColor&)> answer;
  return answer;
}

// A one-pixel outline along the inside of the rectangle.
void Outline(QPainter& p, const QRect& r, const QColor& color) {
  p.setPen(color);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

// --- The selector button ---

ColorSelector::ColorSelector(QWidget* parent) : QAbstractButton(parent) {
  setCursor(HandCursor());
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractButton::clicked, this, &ColorSelector::DropDown);
}

void ColorSelector::SetColorDialogAnswer(std::function<QColor(const QColor&)> answer) {
  ColorDialogAnswer() = std::move(answer);
}

void ColorSelector::SetColor(int32_t value) {
  color_ = value;
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
  palette_->setFocus();
}

void ColorSelector::ChooseOther() {
  const QColor initial = ColorFromValue(color_);
  const QColor chosen = ColorDialogAnswer() ? ColorDialogAnswer()(initial)
                                            : QColorDialog::getColor(initial, window(), QString());
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

// --- The palette window ---

ColorPalette::ColorPalette(ColorSelector* owner, int32_t current)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      owner_(owner),
      current_(current) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kWidth, kHeight);
  setMouseTracking(true);
  setCursor(HandCursor());
  setFont(SansSerifFont(11));
  for (int k = 0; k < kExtra; ++k)
    if (SwatchColor(k) == current) marked_ = k;
  has_extra_ = marked_ < 0;
  if (has_extra_) marked_ = kExtra;
}

int32_t ColorPalette::SwatchColor(int index) {
  const int* rgb = kSwatchRgb[index];
  return ValueFromColor(QColor(rgb[0], rgb[1], rgb[2]));
}

QRect ColorPalette::SwatchRect(int row, int column) {
  return QRect(18 * column - 14, 18 * row - 14, 16, 16);
}

QRect ColorPalette::OtherRect() const {
  const int right = has_extra_ ? 56 : 75;
  return QRect(QPoint(3, kHeight - 21), QPoint(right - 1, kHeight - 4));
}

QRect ColorPalette::RectOf(int index) const {
  if (index == kExtra) return ExtraRect();
  return SwatchRect(index / kColumns + 1, index % kColumns + 1);
}

int ColorPalette::SwatchAt(const QPoint& p) const {
  for (int k = 0; k < kExtra; ++k)
    if (RectOf(k).contains(p)) return k;
  if (has_extra_ && ExtraRect().contains(p)) return kExtra;
  return -1;
}

void ColorPalette::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  qDrawWinPanel(&p, rect(), pal, false, &pal.brush(QPalette::Button));
  for (int k = 0; k < kExtra + (has_extra_ ? 1 : 0); ++k) {
    const QRect r = RectOf(k);
    qDrawWinPanel(&p, r, pal, true);
    p.fillRect(r.adjusted(2, 2, -2, -2), ColorFromValue(k == kExtra ? current_ : SwatchColor(k)));
  }
  // The separator above the bottom strip, etched.
  const int y = kHeight - 24;
  p.setPen(pal.color(QPalette::Dark));
  p.drawLine(3, y, kWidth - 4, y);
  p.setPen(pal.color(QPalette::Light));
  p.drawLine(3, y + 1, kWidth - 4, y + 1);
  const QRect other = OtherRect();
  qDrawWinPanel(&p, other, pal, false);
  p.setPen(Qt::black);
  p.drawText(other, Qt::AlignCenter | Qt::TextShowMnemonic, QStringLiteral("&Outra..."));
  if (marked_ >= 0) {
    const QRect r = RectOf(marked_);
    Outline(p, r.adjusted(-1, -1, 1, 1), Qt::black);
    Outline(p, r, Qt::white);
    Outline(p, r.adjusted(1, 1, -1, -1), Qt::black);
  }
}

void ColorPalette::mouseMoveEvent(QMouseEvent* event) {
  const int k = SwatchAt(event->position().toPoint());
  if (k >= 0 && k != marked_) {
    marked_ = k;
    update();
  }
}

void ColorPalette::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  ColorSelector* owner = owner_;
  if (const int k = SwatchAt(pos); k >= 0) {
    const int32_t value = k == kExtra ? current_ : SwatchColor(k);
    close();
    owner->Pick(value);
  } else if (OtherRect().contains(pos)) {
    close();
    // The dialog opens once the palette has gone.
    QTimer::singleShot(0, owner, [owner] { owner->ChooseOther(); });
  }
}

void ColorPalette::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  if (event->key() == Qt::Key_O) {  // the "&Outra..." accelerator
    ColorSelector* owner = owner_;
    close();
    QTimer::singleShot(0, owner, [owner] { owner->ChooseOther(); });
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace tavo::gui
