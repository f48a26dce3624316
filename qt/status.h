#pragma once
// The wait box `formStatus`: a small window, always on top and centred, with
// a thin frame and a title bar but no system menu and no buttons, that
// shows one centred line while long work runs. Window managers add buttons
// to any frame they draw (some ignore requests not to), so the box draws its
// own frame and title bar.

#include <QWidget>

class QLabel;

namespace tavo::gui {

class TformStatus : public QWidget {
  Q_OBJECT
 public:
  // Around the client area of forms::kStatusBox.
  static constexpr int kBorder = 1;
  static constexpr int kTitleHeight = 18;

  explicit TformStatus(QWidget* owner);
  QLabel* lStatus;
  // Sets the text, shows the box and lets it paint once.
  void ShowText(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tavo::gui
