#include "win32/wnd.h"

#include <exception>
#include <map>
#include <tuple>

#include "store/tavo_data.h"
#include "win32/application.h"

namespace tavo::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuelvoWnd";
constexpr wchar_t kWndProperty[] = L"QuelvoWnd";

void RegisterOwnClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;  // replaced per window in Attach
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(Instance(), MAKEINTRESOURCEW(1));
  wc.lpszClassName = kClassName;
  registered = ::RegisterClassExW(&wc) != 0;
}

}  // namespace

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

Wnd::~Wnd() {
  if (hwnd) {
    HWND h = hwnd;
    ::RemovePropW(h, kWndProperty);
    if (original_) ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    hwnd = nullptr;
    if (!delete_on_destroy) ::DestroyWindow(h);
  }
}

Wnd* Wnd::FromHandle(HWND h) { return h ? static_cast<Wnd*>(::GetPropW(h, kWndProperty)) : nullptr; }

void Wnd::Attach(HWND h) {
  hwnd = h;
  ::SetPropW(h, kWndProperty, this);
  original_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Wnd::StaticProc)));
  if (original_ == DefWindowProcW) original_ = nullptr;
}

bool Wnd::Create(const CreateArgs& a) {
  RegisterOwnClass();
  // Until Attach, the class procedure (DefWindowProc) answers; WM_CREATE is
  // not needed by any window here, everything is set up after creation.
  HWND h = ::CreateWindowExW(a.ex_style, kClassName, Utf16(a.title).c_str(), a.style, a.x, a.y, a.width,
                             a.height, a.parent,
                             (a.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)) : nullptr,
                             Instance(), nullptr);
  if (!h) return false;
  Attach(h);
  return true;
}

bool Wnd::CreateControl(const wchar_t* window_class, const CreateArgs& a) {
  HWND h = ::CreateWindowExW(a.ex_style, window_class, Utf16(a.title).c_str(), a.style | WS_CHILD, a.x, a.y,
                             a.width, a.height, a.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)),
                             Instance(), nullptr);
  if (!h) return false;
  Attach(h);
  return true;
}

LRESULT CALLBACK Wnd::StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Wnd* self = FromHandle(h);
  if (!self) return ::DefWindowProcW(h, msg, wp, lp);
  // An error must not cross the system's frames: a handler that fails is
  // abandoned here and reported, and the program goes on.
  try {
    return self->Dispatch(msg, wp, lp);
  } catch (const StoreStopped&) {
    // already reported by the store's failure hook
  } catch (const std::exception& e) {
    ShowGeneralError(nullptr, e.what());
  }
  return 0;
}

LRESULT Wnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCDESTROY) {
    const LRESULT r = Default(msg, wp, lp);
    ::RemovePropW(hwnd, kWndProperty);
    hwnd = nullptr;
    original_ = nullptr;
    OnDestroyed();
    if (delete_on_destroy) delete this;
    return r;
  }
  return WndProc(msg, wp, lp);
}

LRESULT Wnd::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      if (hand_cursor && reinterpret_cast<HWND>(wp) == hwnd) {
        ::SetCursor(HandCursor());
        return TRUE;
      }
      break;
    case WM_PAINT:
      if (paints) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        OnPaint(dc);
        ::EndPaint(hwnd, &ps);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (Wnd* control = FromHandle(reinterpret_cast<HWND>(lp)); control && control != this)
        if (control->OnCommand(HIWORD(wp))) return 0;
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_MENU)
        if (Wnd* control = FromHandle(item->hwndItem); control && control->OnDrawItem(*item)) return TRUE;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (Wnd* control = FromHandle(reinterpret_cast<HWND>(lp)); control && control != this)
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wp)))
          return reinterpret_cast<LRESULT>(brush);
      break;
  }
  return Default(msg, wp, lp);
}

LRESULT Wnd::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return original_ ? ::CallWindowProcW(original_, hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
}

bool Wnd::PreTranslate(MSG&) { return false; }
bool Wnd::OnCommand(WORD) { return false; }
bool Wnd::OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
bool Wnd::OnMeasureItem(MEASUREITEMSTRUCT&) { return false; }
HBRUSH Wnd::OnCtlColor(HDC) { return nullptr; }

void Wnd::SetText(const std::string& utf8) { ::SetWindowTextW(hwnd, Utf16(utf8).c_str()); }

std::string Wnd::Text() const {
  const int n = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Utf8(text);
}

void Wnd::SetFont(HFONT font) { ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
void Wnd::SetBounds(int x, int y, int width, int height) {
  ::SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void Wnd::Show(bool visible) { ::ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE); }
bool Wnd::Visible() const { return ::IsWindowVisible(hwnd) != 0; }
void Wnd::Enable(bool enabled) { ::EnableWindow(hwnd, enabled); }
void Wnd::Focus() { ::SetFocus(hwnd); }
int Wnd::Id() const { return ::GetDlgCtrlID(hwnd); }

HFONT Font(const wchar_t* family, int pixel_height, bool bold, bool italic) {
  static std::map<std::tuple<std::wstring, int, bool, bool>, HFONT> fonts;
  auto key = std::make_tuple(std::wstring(family), pixel_height, bold, italic);
  if (auto it = fonts.find(key); it != fonts.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = -pixel_height;  // the character height, without the internal leading
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, family, LF_FACESIZE);
  HFONT font = ::CreateFontIndirectW(&lf);
  fonts[key] = font;
  return font;
}

HCURSOR HandCursor() {
  static HCURSOR hand = [] {
    HCURSOR c = ::LoadCursorW(Instance(), L"MAO");
    return c ? c : ::LoadCursorW(nullptr, IDC_HAND);
  }();
  return hand;
}

}  // namespace tavo::win32
