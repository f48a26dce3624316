#include "win32/main_window.h"

#include <algorithm>

#include "forms/tray_margin.h"
#include "win32/application.h"
#include "win32/desktop_win32.h"
#include "win32/menu_drawing.h"
#include "win32/window_table.h"

namespace tavo::win32 {
namespace {

constexpr UINT_PTR kTimerCheca = 1;
constexpr UINT_PTR kTimerSync = 2;
constexpr UINT kFirstActivation = WM_APP + 2;
constexpr UINT kAddTrayIcon = WM_APP + 3;

constexpr int kMenuItemHeight = 20;
constexpr int kMenuSeparatorHeight = 9;

}  // namespace

// ---- Tray icon and its menu ----

TrayIcon::~TrayIcon() {
  Remove();
  if (menu_) ::DestroyMenu(menu_);
}

namespace {

// The notification area's call, from shell32 loaded with the icon: the main
// window is on the screen before that library and those it brings are.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  static const auto call = [] {
    HMODULE shell = ::LoadLibraryW(L"shell32.dll");
    return shell ? reinterpret_cast<decltype(&::Shell_NotifyIconW)>(
                       reinterpret_cast<void*>(::GetProcAddress(shell, "Shell_NotifyIconW")))
                 : nullptr;
  }();
  return call ? call(message, data) : FALSE;
}

}  // namespace

void TrayIcon::Add() {
  if (!hwnd) {
    CreateArgs args;
    args.style = WS_POPUP;
    args.title = "Quelvo tray";
    Create(args);
    // The notification area tells every program when it is made again (after Explorer restarts).
    taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    BuildMenu();
  }
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // the tooltip text is empty
  data.uCallbackMessage = kCallbackMessage;
  // The 32 x 32, 16-colour icon; the notification area scales it.
  data.hIcon = static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
  added_ = NotifyIcon(NIM_ADD, &data) != 0;
}

void TrayIcon::Remove() {
  if (!added_ || !hwnd) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = 1;
  NotifyIcon(NIM_DELETE, &data);
  added_ = false;
}

namespace {

// The menu's items, in the table's order; an item's data is its index there.
constexpr auto& kItems = forms::kTrayMenu.controls;

bool IsSeparator(size_t index) { return kItems[index].kind == forms::ControlKind::MenuSeparator; }

}  // namespace

void TrayIcon::BuildMenu() {
  menu_ = ::CreatePopupMenu();
  for (size_t i = 0; i < kItems.size(); ++i) {
    // Every item is owner-drawn, separators too, so that the margin runs the menu's full height.
    const UINT flags = MF_OWNERDRAW | (IsSeparator(i) ? MF_SEPARATOR : 0);
    ::AppendMenuW(menu_, flags, static_cast<UINT_PTR>(kItems[i].id), reinterpret_cast<LPCWSTR>(i));
  }
  ::SetMenuDefaultItem(menu_, static_cast<UINT>(kItems.front().id), FALSE);
}

int TrayIcon::ItemHeight(size_t index) const {
  return IsSeparator(index) ? kMenuSeparatorHeight : kMenuItemHeight;
}

int TrayIcon::MenuHeight() const {
  int height = 0;
  for (size_t i = 0; i < kItems.size(); ++i) height += ItemHeight(i);
  return height;
}

void TrayIcon::MeasureItem(MEASUREITEMSTRUCT& m) const {
  const size_t index = m.itemData;
  m.itemHeight = static_cast<UINT>(ItemHeight(index));
  m.itemWidth = 0;
  if (IsSeparator(index)) return;
  const std::wstring caption = Utf16(kItems[index].caption);
  HDC dc = ::GetDC(hwnd);
  HGDIOBJ old = ::SelectObject(dc, MenuFont(::GetMenuDefaultItem(menu_, FALSE, 0) == static_cast<UINT>(kItems[index].id)));
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd, dc);
  // The margin, the text one pixel right of it, and a gap after the text.
  m.itemWidth = static_cast<UINT>(forms::MenuItemTextLeft() + r.right + 12);
}

int TrayIcon::ItemTop(size_t index) const {
  int top = 0;
  for (size_t i = 0; i < index; ++i) top += ItemHeight(i);
  return top;
}

void TrayIcon::DrawItem(const DRAWITEMSTRUCT& d) const {
  const size_t index = d.itemData;
  HDC dc = d.hDC;
  // The margin runs from the first item's top (the menu's frame may lie above it).
  DrawMenuMargin(dc, d.rcItem, d.rcItem.top - ItemTop(index), MenuHeight());
  RECT body = d.rcItem;
  body.left += forms::kMenuMarginWidth;
  const bool selected = (d.itemState & ODS_SELECTED) != 0 && !IsSeparator(index);
  FillColor(dc, body, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsSeparator(index)) {
    RECT line{body.left + 2, (body.top + body.bottom) / 2 - 1, body.right - 2, (body.top + body.bottom) / 2 + 1};
    ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  // No check marks: the text starts one pixel right of the margin.
  RECT text = body;
  text.left = d.rcItem.left + forms::MenuItemTextLeft();
  const bool is_default = ::GetMenuDefaultItem(menu_, FALSE, 0) == static_cast<UINT>(kItems[index].id);
  HGDIOBJ old = ::SelectObject(dc, MenuFont(is_default));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const std::wstring caption = Utf16(kItems[index].caption);
  ::DrawTextW(dc, caption.c_str(), -1, &text,
              DT_SINGLELINE | DT_VCENTER | ((d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
  ::SelectObject(dc, old);
}

void TrayIcon::PopUp(POINT at) {
  // The menu closes properly only when its owner is the foreground window.
  ::SetForegroundWindow(hwnd);
  ProcessPendingMessages(main_.form.store());
  const UINT command = static_cast<UINT>(
      ::TrackPopupMenuEx(menu_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, hwnd, nullptr));
  ::SetForegroundWindow(hwnd);
  ::PostMessageW(hwnd, WM_NULL, 0, 0);
  // The command runs after the menu has closed.
  if (command) Run(command);
}

void TrayIcon::RunDefaultItem() {
  const UINT command = ::GetMenuDefaultItem(menu_, FALSE, 0);
  if (command != static_cast<UINT>(-1)) Run(command);
}

void TrayIcon::Run(UINT command) {
  for (const auto& item : kItems)
    if (item.id == static_cast<int>(command) && item.click) (main_.form.*item.click)();
}

LRESULT TrayIcon::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallbackMessage) {
    switch (lp) {
      case WM_RBUTTONUP: {
        POINT at;
        ::GetCursorPos(&at);
        PopUp(at);
        return 0;
      }
      case WM_LBUTTONDBLCLK: RunDefaultItem(); return 0;
    }
    return 0;
  }
  if (taskbar_created_ && msg == taskbar_created_) {
    added_ = false;
    Add();
    return 0;
  }
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (m->CtlType == ODT_MENU) {
        MeasureItem(*m);
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlType == ODT_MENU) {
        DrawItem(*d);
        return TRUE;
      }
      break;
    }
  }
  return Wnd::WndProc(msg, wp, lp);
}

// ---- Main window ----

MainWindow::MainWindow(forms::Application& app, std::vector<std::string> arguments)
    : ShapedWindow(L"FUNDO_MAIN"), form(app, *this, std::move(arguments)) {
  CreateShaped();
  SetMainWindow(hwnd);
  form.FormCreate();

  HFONT font = Font(L"Arial", 13);
  const auto& table = forms::kMainWindow;
  MakeFlatButton(bNovo, hwnd, table["bNovo"], font, form);
  MakeFlatButton(bLista, hwnd, table["bLista"], font, form);
  MakeFlatButton(bDoBackup, hwnd, table["bDoBackup"], font, form);
  MakeFlatButton(bRestoreBackup, hwnd, table["bRestoreBackup"], font, form);
  MakeFlatButton(bConfig, hwnd, table["bConfig"], font, form);
  MakeFlatButton(bFecha, hwnd, table["bFecha"], font, form);
  MakeFlatButton(bHide, hwnd, table["bHide"], font, form);
  const auto& hide = table["iHide"];
  AddClickArea(hide.place, Handler(form, hide.click), {}, table.SpokenName(hide));
}

MainWindow::~MainWindow() = default;

void MainWindow::ShowAtStart() {
  // The tray icon comes with the first messages the window processes.
  ::PostMessageW(hwnd, kAddTrayIcon, 0, 0);
  ::ShowWindow(hwnd, SW_SHOW);
  ::SetForegroundWindow(hwnd);
  // Where the system gave no activation (no window manager), the first one is made here.
  ::PostMessageW(hwnd, kFirstActivation, 0, 0);
}

void MainWindow::Close() { ::SendMessageW(hwnd, WM_CLOSE, 0, 0); }

void MainWindow::BringToFront() { win32::BringToFront(hwnd); }

bool MainWindow::IsForeground() const { return ::GetForegroundWindow() == hwnd; }

void MainWindow::HideWindow() { ::ShowWindow(hwnd, SW_HIDE); }

bool MainWindow::IsShown() const { return ::IsWindowVisible(hwnd) && !::IsIconic(hwnd); }

void MainWindow::StartTimer() {
  ::SetTimer(hwnd, kTimerCheca, 10000, nullptr);
  ::SetTimer(hwnd, kTimerSync, 1000, nullptr);
}

// A close that is let through destroys the window, which ends the message loop;
// the other windows go with the application, without their close handlers.
bool MainWindow::FormCloseQuery() { return form.FormCloseQuery(); }

LRESULT MainWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) form.Activated();
      break;
    case kAddTrayIcon:
      rxTray.Add();
      return 0;
    case kFirstActivation:
      if (!form.FirstActivationDone()) form.Activated();
      return 0;
    case WM_TIMER:
      if (wp == kTimerCheca) {
        form.timerChecaTimer();
        return 0;
      }
      if (wp == kTimerSync) {
        form.timerSyncTimer();
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      // The session may end: the window then agrees to close, without a question.
      form.WMQueryEndSession();
      return form.FormCloseQuery() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wp) ::DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      ::KillTimer(hwnd, kTimerCheca);
      ::KillTimer(hwnd, kTimerSync);
      rxTray.Remove();
      form.FormDestroy();
      ::PostQuitMessage(0);
      break;
  }
  return ShapedWindow::WndProc(msg, wp, lp);
}

void MainWindow::OnDestroyed() { SetMainWindow(nullptr); }

// ---- Wait box ----

HWND StatusBox::Open(HWND owner, const std::string& text) {
  auto* box = new StatusBox();
  box->delete_on_destroy = true;
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;  // a thin frame and a title bar, no system menu
  RECT r{0, 0, forms::kStatusBoxClient.width, forms::kStatusBoxClient.height};
  ::AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOPMOST);
  const int w = r.right - r.left, h = r.bottom - r.top;
  CreateArgs args;
  args.parent = owner;
  args.style = style;
  args.ex_style = WS_EX_TOPMOST;
  args.x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  args.y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  args.width = w;
  args.height = h;
  args.title = kAppTitle;
  if (!box->Create(args)) {
    delete box;
    return nullptr;
  }
  const auto& line = forms::kStatusBox["lStatus"];
  box->lStatus.Create(box->hwnd, line.id, PlaceOf(line.place), Font(L"MS Sans Serif", 11), text);
  ::ShowWindow(box->hwnd, SW_SHOWNOACTIVATE);
  // Painted at once, with its label: the work that follows may hold the program a long while.
  ::RedrawWindow(box->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return box->hwnd;
}

}  // namespace tavo::win32
