#pragma once
// What a screen reader reads through Microsoft Active Accessibility (MSAA):
// the standard controls take their names from the static text just before
// them in z-order (their tab order), so each field gets a label window there;
// the shaped windows, whose captions all read "Quelvo 3.0", answer
// WM_GETOBJECT with an object that carries their own name and role.

#include "win32/windows_api.h"

#include <oleacc.h>

#include <string>

namespace tavo::win32 {

// A visible static text of no size just before `control` in z-order: MSAA
// names the control with it. The text painted on the window's picture stays
// what the user sees.
void NameLabel(HWND control, const std::string& text);

// A part of a window that is no window of its own (a grid row, a colour
// swatch, a click area of the picture), as a screen reader reaches it: a
// simple element of the window's client object, after its child windows.
struct AccessibleElement {
  std::string name;
  long role = ROLE_SYSTEM_PUSHBUTTON;
  long state = 0;  // STATE_SYSTEM_... flags
  RECT rect{};     // in the window's client coordinates
};

// A window with such parts (its Wnd derives from this as well); asked each
// time a screen reader asks, so that the answers follow the window.
class AccessibleElements {
 public:
  virtual ~AccessibleElements() = default;
  virtual int ElementCount() const = 0;
  virtual AccessibleElement Element(int index) const = 0;
  // The element with the keyboard focus, or -1.
  virtual int FocusedElement() const { return -1; }
  // The element's default action: what a click on it does.
  virtual void PressElement(int index) { (void)index; }
};

// The child id a screen reader knows element `index` of `window` by (for
// NotifyWinEvent).
long ElementChildId(HWND window, int index);

// A screen reader's "press" on an element reaches the window as this message
// (wParam: the index), so that it runs as a click does. Call from the
// window's procedure: true when the message was this one.
inline constexpr UINT kPressElement = WM_APP + 40;
bool PressElementMessage(HWND window, UINT msg, WPARAM wp);

// The name and role (ROLE_SYSTEM_...) a window gives MSAA for its window and
// client objects instead of its caption and the standard role. Answer
// WM_GETOBJECT with Answer(); an empty name leaves the standard name and
// role. A window with elements (AccessibleElements) answers with them.
class AccessibleIdentity {
 public:
  void Set(HWND window, const std::string& name, long role);
  // The result for WM_GETOBJECT, or 0 to let Windows answer.
  LRESULT Answer(HWND window, WPARAM wp, LPARAM lp) const;
  const std::wstring& Name() const { return name_; }

 private:
  std::wstring name_;
  long role_ = 0;
};

}  // namespace tavo::win32
