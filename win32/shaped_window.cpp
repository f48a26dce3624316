#include "win32/shaped_window.h"

#include <windowsx.h>

#include <memory>

namespace tavo::win32 {
namespace {
// Posted by Close: the window is destroyed once the handler that closed it has returned.
constexpr UINT kRelease = WM_APP + 1;
}  // namespace

ShapedWindow::ShapedWindow(const wchar_t* picture_resource) : picture_resource_(picture_resource) {
  delete_on_destroy = true;
  paints = true;
}



HRGN ShapedWindow::RegionFromPicture(const Picture& p) {
  // Bottom-up rows: the top row is the last one in memory.
  forms::IndexedPicture indexed;
  indexed.pixels = p.bits + static_cast<std::ptrdiff_t>(p.height - 1) * p.stride;
  indexed.width = p.width;
  indexed.height = p.height;
  indexed.stride = -static_cast<std::ptrdiff_t>(p.stride);
  const std::vector<forms::ShapeRun> runs = forms::ShapeRuns(indexed);
  // One region made at once from all the rectangles, instead of thousands of unions.
  const size_t bytes = sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT);
  auto data = std::make_unique<uint8_t[]>(bytes);
  auto* region = reinterpret_cast<RGNDATA*>(data.get());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(runs.size());
  region->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  region->rdh.rcBound = RECT{0, 0, p.width, p.height};
  auto* rects = reinterpret_cast<RECT*>(region->Buffer);
  for (size_t i = 0; i < runs.size(); ++i)
    rects[i] = RECT{runs[i].x, runs[i].y, runs[i].x + runs[i].length, runs[i].y + 1};
  return ::ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), region);
}

bool ShapedWindow::CreateShaped(int client_height) {
  picture_ = LoadPicture(picture_resource_);
  const int width = picture_ ? picture_->width : 0;
  const int height = client_height >= 0 ? client_height : (picture_ ? picture_->height : 0);
  CreateArgs args;
  // Centred on the screen until placed otherwise.
  args.x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  args.y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  args.parent = ApplicationWindow();
  // No frame, no title bar; WS_SYSMENU only so that Alt+F4 reaches WM_CLOSE.
  args.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;
  args.width = width;
  args.height = height;
  args.title = kAppTitle;
  if (!Create(args)) return false;
  // The region belongs to the window from now on; it is not made again when the size changes.
  if (picture_) ::SetWindowRgn(hwnd, RegionFromPicture(*picture_), FALSE);
  return true;
}

void ShapedWindow::Close() { ::SendMessageW(hwnd, WM_CLOSE, 0, 0); }

void ShapedWindow::AddClickArea(const forms::Rect& area, std::function<void()> click, std::function<void()> double_click,
                                const std::string& name, std::function<bool()> checked) {
  click_areas_.Add(area);
  areas_.push_back({std::move(click), std::move(double_click), area, name, std::move(checked)});
}

std::vector<const ShapedWindow::Area*> ShapedWindow::NamedAreas() const {
  std::vector<const Area*> named;
  for (const Area& a : areas_)
    if (!a.name.empty()) named.push_back(&a);
  return named;
}

int ShapedWindow::ElementCount() const { return static_cast<int>(NamedAreas().size()); }

AccessibleElement ShapedWindow::Element(int index) const {
  const Area& a = *NamedAreas()[static_cast<size_t>(index)];
  AccessibleElement e;
  e.name = a.name;
  e.role = a.checked ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON;
  e.state = a.checked && a.checked() ? STATE_SYSTEM_CHECKED : 0;
  // Edges included, as the clicks take them.
  e.rect = RECT{a.rect.left, a.rect.top, a.rect.right() + 1, a.rect.bottom() + 1};
  return e;
}

void ShapedWindow::PressElement(int index) {
  const Area& a = *NamedAreas()[static_cast<size_t>(index)];
  if (a.click) a.click();
  if (a.checked) ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, ElementChildId(hwnd, index));
}

void ShapedWindow::AddLabel(const forms::Rect& place, const std::string& text, HFONT font, COLORREF colour) {
  labels_.push_back({RECT{place.left, place.top, place.right(), place.bottom()}, Utf16(text), font, colour});
}

void ShapedWindow::FocusControl(HWND control) {
  focus_ = control;
  if (::GetActiveWindow() == hwnd) ::SetFocus(control);
}

void ShapedWindow::SetAccessibleName(const std::string& name, long role) { identity_.Set(hwnd, name, role); }

bool ShapedWindow::PreTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  // The control the key goes to (the focused one, for keys typed).
  HWND focused = key_target_ = msg.hwnd;
  // An open drop-down list closes on Escape and takes Enter before the window sees them.
  if ((msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN) && focused != hwnd) {
    HWND combo = ::GetParent(focused) == hwnd ? focused : ::GetParent(focused);
    if (::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
  }
  if (FormKeyDown(msg.wParam)) return true;
  // Enter clicks a focused owner-drawn button (a flat button, a colour
  // selector) as Space does; the dialog manager would send it elsewhere.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && ::IsChild(hwnd, focused) &&
      ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0 &&
      (::GetWindowLongPtrW(focused, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW &&
      (::SendMessageW(focused, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
    ::SendMessageW(focused, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

int ShapedWindow::AreaUnderCursor() const {
  POINT p;
  ::GetCursorPos(&p);
  ::ScreenToClient(hwnd, &p);
  return click_areas_.At(forms::Point{p.x, p.y});
}

void ShapedWindow::OnPaint(HDC dc) {
  if (picture_) {
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, picture_->bitmap);
    ::BitBlt(dc, 0, 0, picture_->width, picture_->height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  }
  ::SetBkMode(dc, TRANSPARENT);
  for (const Label& l : labels_) {
    HGDIOBJ old = ::SelectObject(dc, l.font);
    ::SetTextColor(dc, l.colour);
    RECT place = l.place;
    ::DrawTextW(dc, l.text.c_str(), static_cast<int>(l.text.size()), &place,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    ::SelectObject(dc, old);
  }
  PaintOver(dc);
}

LRESULT ShapedWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: {
      // Signed coordinates: a monitor left of or above the primary one has negative ones.
      POINT origin{0, 0};
      ::ClientToScreen(hwnd, &origin);
      const forms::Point screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      return click_areas_.WMNCHitTest(screen, forms::Point{origin.x, origin.y}) == forms::kHitClient ? HTCLIENT
                                                                                                      : HTCAPTION;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd && LOWORD(lp) == HTCLIENT && AreaUnderCursor() >= 0) {
        ::SetCursor(HandCursor());
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN: {
      const int area = click_areas_.At(forms::Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (area >= 0 && areas_[static_cast<size_t>(area)].click) areas_[static_cast<size_t>(area)].click();
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      const int area = click_areas_.At(forms::Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (area >= 0) {
        const Area& a = areas_[static_cast<size_t>(area)];
        if (a.double_click) a.double_click();
        else if (a.click) a.click();
      }
      return 0;
    }
    case WM_ACTIVATE:
      // As a dialog does: the focus leaves with the window and comes back to
      // the same control, or at first to the first one in tab order.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focused = ::GetFocus();
        if (focused && ::IsChild(hwnd, focused)) focus_ = focused;
      } else if (!::IsIconic(hwnd)) {
        if (!focus_ || !::IsWindow(focus_) || !::IsChild(hwnd, focus_)) focus_ = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
        if (focus_) ::SetFocus(focus_);
      }
      return 0;
    case kPressElement:
      PressElementMessage(hwnd, msg, wp);
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT object = identity_.Answer(hwnd, wp, lp)) return object;
      break;
    case WM_ERASEBKGND:
      return 1;  // the picture covers everything
    case WM_CLOSE:
      if (!FormCloseQuery()) return 0;
      FormClose();
      ::ShowWindow(hwnd, SW_HIDE);
      ::PostMessageW(hwnd, kRelease, 0, 0);
      return 0;
    case kRelease:
      ::DestroyWindow(hwnd);
      return 0;
  }
  return Wnd::WndProc(msg, wp, lp);
}

}  // namespace tavo::win32
