#pragma once
// One of the program's frameless top-level windows, drawn by its
// 8-bit background picture, cut to the picture's outline with SetWindowRgn
// and moved by dragging any free point of the picture (WM_NCHITTEST answers
// HTCAPTION there). Click areas of the picture (iHide, iExpand, lbInfo)
// answer HTCLIENT and take clicks; labels are drawn on the picture.

#include <functional>
#include <string>
#include <vector>

#include "forms/window_shape.h"
#include "win32/accessibility.h"
#include "win32/application.h"
#include "win32/wnd.h"

namespace tavo::win32 {

class ShapedWindow : public Wnd, public AccessibleElements {
 public:
  explicit ShapedWindow(const wchar_t* picture_resource);

  // Creates the window hidden, owned by the application window, with the
  // picture's width and the given client height (the picture's height when
  // negative), shaped to the picture.
  bool CreateShaped(int client_height = -1);
  // A close request, as Alt+F4 would make it.
  void Close();
  bool PreTranslate(MSG& msg) override;

  // The window region made from the picture's runs of non-zero palette indexes.
  static HRGN RegionFromPicture(const Picture& picture);

 protected:
  // A click area of the picture: hand cursor, a click and a double click.
  // A named one is a button for screen readers (a toggle when `checked` is
  // given, which tells its state).
  void AddClickArea(const forms::Rect& area, std::function<void()> click, std::function<void()> double_click = {},
                    const std::string& name = {}, std::function<bool()> checked = {});
  // The name and role (ROLE_SYSTEM_...) a screen reader reads for the window;
  // its caption stays the application title.
  void SetAccessibleName(const std::string& name, long role);
  // A transparent label on the picture: one line, left-aligned and centred
  // vertically in its place.
  void AddLabel(const forms::Rect& place, const std::string& text, HFONT font, COLORREF colour = RGB(0, 0, 0));
  // The control that gets the focus when the window is next activated (the
  // first in tab order when none is set); at once when the window is active.
  void FocusControl(HWND control);
  // Answers a close request: true lets the window close.
  virtual bool FormCloseQuery() { return true; }
  // The window is closing and will be destroyed after the pending messages.
  virtual void FormClose() {}
  // Draws over the picture and the labels (panels, frames).
  virtual void PaintOver(HDC dc) { (void)dc; }
  // Key preview: the form sees a key before the focused control. True: used up.
  // KeyTarget() is the control the key is for.
  virtual bool FormKeyDown(WPARAM key) {
    (void)key;
    return false;
  }
  HWND KeyTarget() const { return key_target_; }
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  // AccessibleElements: the named click areas.
  int ElementCount() const override;
  AccessibleElement Element(int index) const override;
  void PressElement(int index) override;

  const Picture* picture_ = nullptr;

 private:
  struct Label {
    RECT place;
    std::wstring text;
    HFONT font;
    COLORREF colour;
  };
  struct Area {
    std::function<void()> click, double_click;
    forms::Rect rect;
    std::string name;
    std::function<bool()> checked;
  };
  std::vector<const Area*> NamedAreas() const;
  void OnPaint(HDC dc) override;
  int AreaUnderCursor() const;

  const wchar_t* picture_resource_;
  forms::ClickAreas click_areas_;
  HWND focus_ = nullptr;  // the focused control, kept while the window is inactive
  std::vector<Area> areas_;
  std::vector<Label> labels_;
  AccessibleIdentity identity_;
  HWND key_target_ = nullptr;
};

}  // namespace tavo::win32
