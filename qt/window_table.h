#pragma once
// A window's widgets made and described from its table in
// forms/window_tables.h: each widget carries its control's name as object
// name, its place, its spoken name and its tab position.

#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

#include "forms/window_tables.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/shaped_window.h"

namespace tavo::gui {

// The window's background picture among the program's resources.
template <class F>
QString PictureResource(const forms::WindowTable<F>& table) {
  return QStringLiteral(":/assets/%1.bmp").arg(QString::fromUtf8(table.picture));
}

inline QRect ToQRect(const forms::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

// Names `widget` after `c` and puts it at its place; `parent` is where the
// widget's parent lies in the window (a panel holding it).
template <class F>
void PlaceControl(QWidget* widget, const forms::Control<F>& c, forms::Point parent = {}) {
  widget->setObjectName(QString::fromUtf8(c.name));
  widget->setGeometry(c.place.left - parent.x, c.place.top - parent.y, c.place.width, c.place.height);
}

// A flat button whose click runs the control's handler.
template <class F>
TGradBtn* MakeFlatButton(QWidget* window, const forms::Control<F>& c, const QFont& font, F& form) {
  auto* button = new TGradBtn(QString::fromUtf8(c.caption), window, font);
  PlaceControl(button, c);
  if (c.click) QObject::connect(button, &QAbstractButton::clicked, window, [&form, h = c.click] { (form.*h)(); });
  return button;
}

// A label of the picture: its text left-aligned and centred in its place.
template <class F>
QLabel* MakeLabel(QWidget* window, const forms::Control<F>& c, int pixel_height) {
  QLabel* label = PlainLabel(window, QString::fromUtf8(c.caption), pixel_height);
  PlaceControl(label, c);
  return label;
}

// A click area of the picture running the control's handlers.
template <class F>
ClickSpot* MakeClickArea(ShapedWindow* window, const forms::Control<F>& c, F& form) {
  std::function<void()> click, double_click;
  if (c.click) click = [&form, h = c.click] { (form.*h)(); };
  if (c.double_click) double_click = [&form, h = c.double_click] { (form.*h)(); };
  ClickSpot* spot = window->AddException(c.place, std::move(click), std::move(double_click));
  spot->setObjectName(QString::fromUtf8(c.name));
  return spot;
}

// Once every widget exists: the spoken names, the hints and the labels'
// buddies as the table gives them, and the tab order.
template <class F>
void FinishControls(QWidget* window, const forms::WindowTable<F>& table) {
  auto find = [window](const char* name) { return window->findChild<QWidget*>(QString::fromUtf8(name)); };
  for (const forms::Control<F>& c : table.controls) {
    QWidget* widget = find(c.name);
    if (!widget) continue;
    // A colour selector names itself with its colour.
    const bool named = (c.spoken || c.named_by) && c.kind != forms::ControlKind::ColorSelector;
    if (named) widget->setAccessibleName(QString::fromUtf8(table.SpokenName(c)));
    if (c.description) widget->setAccessibleDescription(QString::fromUtf8(c.description));
    if (c.named_by && table[c.named_by].kind == forms::ControlKind::Label)
      if (auto* label = qobject_cast<QLabel*>(find(c.named_by))) label->setBuddy(widget);
  }
  const int stops = static_cast<int>(table.TabCount());
  for (int i = 1; i < stops; ++i) QWidget::setTabOrder(find(table.TabStop(i - 1).name), find(table.TabStop(i).name));
}

}  // namespace tavo::gui
