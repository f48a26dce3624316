#include "win32/application.h"

#include <algorithm>
#include <map>

#include "forms/form.h"
#include "store/tavo_data.h"
#include "win32/wnd.h"

namespace tavo::win32 {
namespace {

HWND g_main = nullptr;

// The application window: it has no size of its own, carries the taskbar
// button and hands what the taskbar asks of it to the forms.
class AppWindow : public Wnd {
 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_CLOSE:
        // The taskbar button's close command is a close request on the main window.
        if (g_main) ::PostMessageW(g_main, WM_CLOSE, 0, 0);
        return 0;
      case WM_ACTIVATE:
        // Activating the taskbar button activates the form last used.
        if (LOWORD(wp) != WA_INACTIVE) {
          HWND last = ::GetLastActivePopup(hwnd);
          if (last && last != hwnd && ::IsWindowVisible(last)) ::SetActiveWindow(last);
        }
        return 0;
      case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_MINIMIZE) {
          MinimizeApplication();
          return 0;
        }
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
  }
};

AppWindow* g_app = nullptr;
bool g_minimized = false;

}  // namespace

void CreateApplicationWindow() {
  if (g_app) return;
  g_app = new AppWindow();
  Wnd::CreateArgs args;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  args.ex_style = WS_EX_APPWINDOW;
  args.x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  args.y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  args.title = kAppTitle;
  g_app->Create(args);
}

HWND ApplicationWindow() { return g_app ? g_app->hwnd : nullptr; }

void SetMainWindow(HWND main_window) { g_main = main_window; }

void MinimizeApplication() {
  g_minimized = true;
  if (HWND app = ApplicationWindow()) ::ShowWindow(app, SW_HIDE);
}

void RestoreApplication() {
  g_minimized = false;
  if (HWND app = ApplicationWindow(); app && !::IsWindowVisible(app)) ::ShowWindow(app, SW_SHOWNA);
}

bool ApplicationMinimized() { return g_minimized; }

void BringToFront(HWND window) {
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  ::ShowWindow(window, SW_SHOW);
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
}

namespace {

// One message to its window: the top-level window's key preview first, then
// the dialog manager (Tab, Alt+letter), then the window itself.
void Deliver(MSG& msg) {
  HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  Wnd* top = Wnd::FromHandle(root);
  if (top && top->PreTranslate(msg)) return;
  if (top && ::IsDialogMessageW(root, &msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

// While StoreBusy or ScanBusy is held, the handler that holds it lies below
// the message processing on the one GUI thread and can go on only once it
// returns; a click or key handled meanwhile could start a store operation
// that waits for that handler forever. So user input then stays queued and
// is delivered when the holder is done; timers, painting and sent messages go on.
bool HoldInput(const Store& store) { return store.StoreBusy || store.ScanBusy; }

}  // namespace

int RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) Deliver(msg);
  return static_cast<int>(msg.wParam);
}

void ProcessPendingMessages(const Store& store) {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0,
                        PM_REMOVE | (HoldInput(store) ? PM_QS_POSTMESSAGE | PM_QS_PAINT | PM_QS_SENDMESSAGE : 0))) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that runs the program
      return;
    }
    Deliver(msg);
  }
}

void WaitAndProcessMessages(const Store& store) {
  const DWORD wake = HoldInput(store) ? QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE : QS_ALLINPUT;
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, wake);
  ProcessPendingMessages(store);
}

bool ShowBox(HWND owner, const std::string& text, BoxIcon icon, BoxModality modality, bool question) {
  UINT style = modality == BoxModality::System ? MB_SYSTEMMODAL : MB_TASKMODAL;
  switch (icon) {
    case BoxIcon::Information: style |= MB_ICONINFORMATION; break;
    case BoxIcon::Error: style |= MB_ICONERROR; break;
    case BoxIcon::Question: style |= MB_ICONQUESTION; break;
  }
  style |= question ? MB_YESNO | MB_DEFBUTTON2 : MB_OK;
  const int answer = ::MessageBoxW(owner, Utf16(text).c_str(), Utf16(kAppTitle).c_str(), style);
  return question ? answer == IDYES : true;
}

void ShowGeneralError(HWND owner, std::string text) {
  ShowBox(owner, forms::GeneralErrorText(std::move(text)), forms::kGeneralErrorBox.icon,
          forms::kGeneralErrorBox.modality);
}

const Picture* LoadPicture(const wchar_t* resource_name) {
  static std::map<std::wstring, Picture> pictures;
  if (auto it = pictures.find(resource_name); it != pictures.end()) return it->second.bits ? &it->second : nullptr;
  Picture& p = pictures[resource_name];
  HRSRC found = ::FindResourceW(Instance(), resource_name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? ::LoadResource(Instance(), found) : nullptr;
  const auto* info = loaded ? static_cast<const BITMAPINFO*>(::LockResource(loaded)) : nullptr;
  if (!info) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 8 || h.biCompression != BI_RGB || h.biHeight <= 0 || h.biWidth <= 0) return nullptr;
  const DWORD colours = h.biClrUsed ? h.biClrUsed : 256;
  p.info = info;
  p.width = h.biWidth;
  p.height = h.biHeight;
  p.stride = (p.width + 3) & ~3;
  p.bits = reinterpret_cast<const uint8_t*>(info) + h.biSize + colours * sizeof(RGBQUAD);
  HDC screen = ::GetDC(nullptr);
  p.bitmap = ::CreateDIBitmap(screen, &h, CBM_INIT, p.bits, info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return &p;
}

}  // namespace tavo::win32
