#include "qt/shaped_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "qt/gui_common.h"

namespace tavo::gui {

QRegion RegionFromPicture(const QImage& picture) {
  QRegion region;
  if (picture.isNull()) return region;
  const bool indexed = picture.format() == QImage::Format_Indexed8;
  const QImage argb = indexed ? QImage() : picture.convertToFormat(QImage::Format_ARGB32);
  const int width = picture.width();
  auto inside = [&](int x, int y) {
    if (indexed) return picture.pixelIndex(x, y) != 0;
    const QRgb c = argb.pixel(x, y);
    return qAlpha(c) != 0 && (c & 0xFFFFFF) != 0xFFFFFF;
  };
  for (int y = 0; y < picture.height(); ++y) {
    int run = 0;
    for (int x = 0; x < width; ++x) {
      if (inside(x, y)) {
        ++run;
      } else if (run > 0) {
        region += QRect(x - run, y, run, 1);
        run = 0;
      }
    }
    if (run > 0) region += QRect(width - run, y, run, 1);
  }
  return region;
}

void TUserDefWindow::SetImage(const QImage& picture) {
  if (picture.isNull() || !owner_) return;
  owner_->setMask(RegionFromPicture(picture));
}

ShapedWindow::ShapedWindow(const QString& picture_resource, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), iFundo_(picture_resource), UsrDefWindow_(this) {
  setWindowTitle(kAppTitle);
  setAttribute(Qt::WA_DeleteOnClose);
  if (!iFundo_.isNull()) setFixedSize(iFundo_.size());
  UsrDefWindow_.SetImage(iFundo_);
}

void ShapedWindow::AddException(const QRect& rect, std::function<void()> click, std::function<void()> double_click) {
  exceptions_.push_back({rect, std::move(click), std::move(double_click)});
  // A clickable spot shows the hand. The spot only carries the cursor: its
  // presses pass on to this window, which runs the action.
  auto* spot = new QWidget(this);
  spot->setGeometry(rect.x(), rect.y(), rect.width() + 1, rect.height() + 1);  // edges included
  spot->setCursor(HandCursor());
  spot->lower();
}

const ShapedWindow::Exception* ShapedWindow::ExceptionAt(const QPoint& p) const {
  for (const auto& e : exceptions_) {
    const QRect& r = e.rect;
    // Edges included on all four sides.
    if (p.x() >= r.left() && p.x() <= r.left() + r.width() && p.y() >= r.top() && p.y() <= r.top() + r.height())
      return &e;
  }
  return nullptr;
}

int ShapedWindow::WMNCHitTest(const QPoint& client_point) const {
  return ExceptionAt(client_point) ? kHitClient : kHitCaption;
}

void ShapedWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, iFundo_);
}

void ShapedWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  if (const Exception* e = ExceptionAt(p)) {
    if (e->click) e->click();
    return;
  }
  // Let the window manager move the window; without one, move it by hand.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  manual_drag_ = true;
  drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void ShapedWindow::mouseMoveEvent(QMouseEvent* event) {
  if (manual_drag_) move(event->globalPosition().toPoint() - drag_offset_);
}

void ShapedWindow::mouseReleaseEvent(QMouseEvent*) { manual_drag_ = false; }

void ShapedWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (const Exception* e = ExceptionAt(event->position().toPoint())) {
    if (e->double_click) e->double_click();
    else if (e->click) e->click();
  }
}

}  // namespace tavo::gui
