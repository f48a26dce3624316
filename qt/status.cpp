#include "qt/status.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "qt/desktop_qt.h"
#include "qt/gui_common.h"
#include "qt/window_table.h"

namespace tavo::gui {
namespace {

// The classic active caption: dark blue fading to light blue, white bold text.
const QColor kCaptionLeft(10, 36, 106);
const QColor kCaptionRight(166, 202, 240);
const QColor kFrame(64, 64, 64);

}  // namespace

TformStatus::TformStatus(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(kAppTitle);
  const forms::Size client = forms::kStatusBoxClient;
  const int width = client.width + 2 * kBorder;
  const int height = client.height + kTitleHeight + 2 * kBorder;
  setFixedSize(width, height);
  lStatus = new QLabel(this);
  lStatus->setAlignment(Qt::AlignCenter);
  // The client area lies inside the box's own frame, under its title bar.
  PlaceControl(lStatus, forms::kStatusBox["lStatus"], forms::Point{-kBorder, -kBorder - kTitleHeight});
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.center() - QPoint(width / 2, height / 2));
  }
}

void TformStatus::ShowText(const QString& text) {
  lStatus->setText(text);
  show();
  PumpMessagesOnce(false, App().store());
}

void TformStatus::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  const QRect title(kBorder, kBorder, forms::kStatusBoxClient.width, kTitleHeight);
  QLinearGradient gradient(title.topLeft(), title.topRight());
  gradient.setColorAt(0, kCaptionLeft);
  gradient.setColorAt(1, kCaptionRight);
  p.fillRect(title, gradient);
  p.setPen(Qt::white);
  p.setFont(PixelFont(QStringLiteral("Arial"), 11, true));
  p.drawText(title.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
  p.setPen(kFrame);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TformStatus::mousePressEvent(QMouseEvent* event) {
  // The title bar moves the box, as a window manager's would.
  if (event->button() == Qt::LeftButton && event->position().y() < kBorder + kTitleHeight && windowHandle())
    windowHandle()->startSystemMove();
}

}  // namespace tavo::gui
