#pragma once
// A window's controls made from its table in forms/window_tables.h: each
// one takes its place, caption, spoken name and id from there, and is
// created in the table's tab order.

#include <functional>
#include <string>

#include "forms/window_tables.h"
#include "win32/accessibility.h"
#include "win32/controls.h"

namespace tavo::win32 {

constexpr Place PlaceOf(const forms::Rect& r) { return Place{r.left, r.top, r.width, r.height}; }
constexpr RECT RectOf(const forms::Rect& r) { return RECT{r.left, r.top, r.right(), r.bottom()}; }

// The form's handler as a callback; empty when the control has none.
template <class F>
std::function<void()> Handler(F& form, void (F::*handler)()) {
  if (!handler) return {};
  return [&form, handler] { (form.*handler)(); };
}

// A flat button whose click runs the control's handler.
template <class F>
void MakeFlatButton(FlatButton& button, HWND parent, const forms::Control<F>& c, HFONT font, F& form) {
  button.Create(parent, c.id, PlaceOf(c.place), c.caption, font);
  button.onClick = Handler(form, c.click);
}

// Names a standard control for MSAA as the table says, through a label just
// before it in z-order.
template <class F>
void NameControl(HWND control, const forms::WindowTable<F>& table, const forms::Control<F>& c) {
  NameLabel(control, table.SpokenName(c));
}

}  // namespace tavo::win32
