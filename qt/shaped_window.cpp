#include "qt/shaped_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "qt/gui_common.h"

namespace tavo::gui {

QRegion RegionFromPicture(const QImage& picture) {
  QRegion region;
  if (picture.isNull()) return region;
  QImage indexed = picture;
  if (picture.format() != QImage::Format_Indexed8) {
    // Outside: transparent or pure white pixels, as index 0 would be.
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    indexed = QImage(picture.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < argb.height(); ++y)
      for (int x = 0; x < argb.width(); ++x) {
        const QRgb c = argb.pixel(x, y);
        indexed.scanLine(y)[x] = qAlpha(c) != 0 && (c & 0xFFFFFF) != 0xFFFFFF ? 1 : 0;
      }
  }
  const forms::IndexedPicture pixels{indexed.constBits(), indexed.width(), indexed.height(), indexed.bytesPerLine()};
  for (const forms::ShapeRun& run : forms::ShapeRuns(pixels)) region += QRect(run.x, run.y, run.length, 1);
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

ClickSpot* ShapedWindow::AddException(const forms::Rect& rect, std::function<void()> click,
                                     std::function<void()> double_click) {
  areas_.Add(rect);
  actions_.push_back({click, std::move(double_click)});
  auto* spot = new ClickSpot(this, std::move(click));
  spot->setGeometry(rect.left, rect.top, rect.width + 1, rect.height + 1);  // edges included
  spot->setCursor(HandCursor());
  spot->lower();
  return spot;
}

const ShapedWindow::Actions* ShapedWindow::ActionsAt(const QPoint& p) const {
  const int area = areas_.At({p.x(), p.y()});
  return area < 0 ? nullptr : &actions_[static_cast<size_t>(area)];
}

forms::HitTest ShapedWindow::WMNCHitTest(const QPoint& client_point) const {
  return areas_.WMNCHitTest(forms::Point{client_point.x(), client_point.y()});
}

void ShapedWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, iFundo_);
}

void ShapedWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  if (const Actions* a = ActionsAt(p)) {
    if (a->click) a->click();
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
  if (const Actions* a = ActionsAt(event->position().toPoint())) {
    if (a->double_click) a->double_click();
    else if (a->click) a->click();
  }
}

}  // namespace tavo::gui
