#include "app/status.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/gui_common.h"

namespace tavo::gui {

TformStatus::TformStatus(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(kAppTitle);
  setFixedSize(262, 47);
  lStatus = new QLabel(this);
  lStatus->setAlignment(Qt::AlignCenter);
  lStatus->setGeometry(0, 0, 262, 47);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.center() - QPoint(131, 23));
  }
}

void TformStatus::ShowText(const QString& text) {
  lStatus->setText(text);
  show();
  PumpMessagesOnce(false);
}

}  // namespace tavo::gui
