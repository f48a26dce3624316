#pragma once
// The wait box `formStatus`: a small framed window, always on top, centred,
// that shows one centred line while long work runs.

#include <QWidget>

class QLabel;

namespace tavo::gui {

class TformStatus : public QWidget {
  Q_OBJECT
 public:
  explicit TformStatus(QWidget* owner);
  QLabel* lStatus;
  // Sets the text, shows the box and lets it paint once.
  void ShowText(const QString& text);
};

}  // namespace tavo::gui
