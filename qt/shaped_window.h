#pragma once
// Frameless windows cut to the outline of their 8-bit background picture and
// moved by dragging any free point of it (the rule is forms/window_shape.h).

#include <QAccessible>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <vector>

#include "forms/window_shape.h"

namespace tavo::gui {

// The window region of a picture: the union of the runs of pixels whose
// palette index is not 0, row by row. An image that is not 8-bit indexed
// counts every pixel of alpha 0 or pure white as index 0.
QRegion RegionFromPicture(const QImage& picture);

// The component that shapes its owner window from a picture.
class TUserDefWindow {
 public:
  explicit TUserDefWindow(QWidget* owner) : owner_(owner) {}
  // Shapes the owner at once; a null picture changes nothing.
  void SetImage(const QImage& picture);

 private:
  QWidget* owner_;
};

// A click area of a window's picture (`iHide`, `iExpand`): it carries the
// hand cursor, and its presses pass on to the window, which runs the action.
// Given an accessible name it stands for a button to assistive technology,
// whose press runs the same action; an unnamed one stays plain surface.
class ClickSpot : public QWidget {
  Q_OBJECT
 public:
  ClickSpot(QWidget* window, std::function<void()> click) : QWidget(window), click_(std::move(click)) {}
  void Press() {
    if (click_) click_();
  }
  // A spot that opens and closes something reports whether it is open.
  void SetCheckedQuery(std::function<bool()> checked) { checked_ = std::move(checked); }
  bool Checkable() const { return static_cast<bool>(checked_); }
  bool Checked() const { return checked_ && checked_(); }

 private:
  std::function<void()> click_;
  std::function<bool()> checked_;
};

// A frameless window drawn by its background picture `iFundo`. Clicks on the
// exception rectangles (edges included) run their action; a press anywhere
// else on the window's own surface drags the window.
class ShapedWindow : public QWidget {
  Q_OBJECT
 public:
  ShapedWindow(const QString& picture_resource, QWidget* parent = nullptr);

  // A click area on the picture, e.g. `iHide`. `double_click` may be empty.
  ClickSpot* AddException(const forms::Rect& rect, std::function<void()> click,
                          std::function<void()> double_click = {});
  // The hit rule for a point of the window's own surface.
  forms::HitTest WMNCHitTest(const QPoint& client_point) const;

  const QImage& Picture() const { return iFundo_; }

  // What kind of window assistive technology is told this is.
  QAccessible::Role AccessibleRole() const { return accessible_role_; }
  void SetAccessibleRole(QAccessible::Role role) { accessible_role_ = role; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  struct Actions {
    std::function<void()> click;
    std::function<void()> double_click;
  };
  const Actions* ActionsAt(const QPoint& p) const;

  QImage iFundo_;
  TUserDefWindow UsrDefWindow_;
  forms::ClickAreas areas_;
  std::vector<Actions> actions_;  // by area number
  bool manual_drag_ = false;
  QPoint drag_offset_;
  QAccessible::Role accessible_role_ = QAccessible::Window;
};

}  // namespace tavo::gui
