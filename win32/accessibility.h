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

// The name and role (ROLE_SYSTEM_...) a window gives MSAA for its window and
// client objects instead of its caption and the standard role. Answer
// WM_GETOBJECT with Answer(); an empty name leaves the standard object.
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
