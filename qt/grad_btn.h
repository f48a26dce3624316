#pragma once
// The flat command button every window uses: a face-coloured rectangle with a
// one-pixel 3-D edge (reversed while held down, the caption then one pixel
// right and down), a centred caption with its "&" accelerator underlined and
// a dotted focus rectangle 2 pixels inside the edge. Enter clicks it as Space does.

#include <QAbstractButton>
#include <QColor>

namespace tavo::gui {

class TGradBtn : public QAbstractButton {
  Q_OBJECT
 public:
  // The caption may hold "&" before the accelerator letter.
  TGradBtn(const QString& caption, QWidget* parent, const QFont& font);
  void setFaceColor(const QColor& color) { face_ = color; update(); }
  void setDisabledColor(const QColor& color) { disabled_ = color; update(); }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor face_;
  QColor disabled_;
};

}  // namespace tavo::gui
