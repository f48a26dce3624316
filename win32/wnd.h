#pragma once
// A thin layer of our own over the Windows API, in the manner of SumatraPDF's
// wingui: a Wnd owns one HWND and receives its messages through WndProc and a
// few virtual handlers, so that a window reads as controls and handlers
// rather than as a switch over message numbers. The notifications a control
// sends to its parent (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR...) are handed back
// to the control's own Wnd ("reflected").
//
// Text is UTF-8 everywhere above this layer; it becomes UTF-16 only here, at
// the calls, through platform/win32/utf16.h.

#include "win32/windows_api.h"

#include <string>

#include "platform/win32/utf16.h"

namespace tavo::win32 {

using platform::Utf16;
using platform::Utf8;

class Wnd {
 public:
  Wnd() = default;
  virtual ~Wnd();
  Wnd(const Wnd&) = delete;
  Wnd& operator=(const Wnd&) = delete;

  HWND hwnd = nullptr;

  // The Wnd of a window that this layer created or subclassed; nullptr for others.
  static Wnd* FromHandle(HWND hwnd);

  struct CreateArgs {
    HWND parent = nullptr;  // the parent of a child, the owner of a top-level window
    DWORD style = WS_POPUP;
    DWORD ex_style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string title;
    int id = 0;  // child windows only
  };
  // Creates a window of this layer's own class. False when it could not be made.
  bool Create(const CreateArgs& args);
  // Creates one of the system's controls ("BUTTON", "EDIT", ...) and
  // subclasses it, so that its messages reach WndProc as well.
  bool CreateControl(const wchar_t* window_class, const CreateArgs& args);

  void SetText(const std::string& utf8);
  std::string Text() const;
  void SetFont(HFONT font);
  void SetBounds(int x, int y, int width, int height);
  void Show(bool visible);
  bool Visible() const;
  void Enable(bool enabled);
  void Focus();
  int Id() const;

  // A top-level window deletes its Wnd when the window is destroyed.
  bool delete_on_destroy = false;
  // Clickable controls show the program's hand cursor.
  bool hand_cursor = false;

  // Runs before the message is translated and dispatched, for every message
  // of this window and its children (the message loop asks the top-level
  // window). True when the message has been used up ("key preview").
  virtual bool PreTranslate(MSG& msg);

  // Handlers of the notifications reflected from the parent. True when handled.
  virtual bool OnCommand(WORD code);
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& item);
  virtual bool OnMeasureItem(MEASUREITEMSTRUCT& item);
  // The brush for WM_CTLCOLOR*, or nullptr for the default.
  virtual HBRUSH OnCtlColor(HDC dc);

 protected:
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  // What the window would do without us: the control's own procedure or DefWindowProc.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
  // After the window is gone (hwnd is already null).
  virtual void OnDestroyed() {}
  // Draws the window, for a Wnd that paints itself (`paints` set): WM_PAINT
  // runs it between BeginPaint and EndPaint.
  virtual void OnPaint(HDC dc) { (void)dc; }
  bool paints = false;

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void Attach(HWND hwnd);
  WNDPROC original_ = nullptr;
};

// The program's instance handle.
HINSTANCE Instance();

// A font of the given family and character height in pixels (as a negative
// LOGFONT height); made once and kept for the program's life.
HFONT Font(const wchar_t* family, int pixel_height, bool bold = false, bool italic = false);

// The hand cursor "MAO" of the program's resources.
HCURSOR HandCursor();

}  // namespace tavo::win32
