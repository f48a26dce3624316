#include "win32/show_request.h"

#include "win32/windows_api.h"

#include <string>

#include "forms/start_up.h"
#include "win32/wnd.h"

namespace tavo::win32 {
namespace {

// The class names the running copy: only it has a window of this class.
const wchar_t* ListenerClass() {
  static const std::wstring name = Utf16(forms::kInstanceName);
  return name.c_str();
}
constexpr UINT kShowRequest = WM_APP + 1;

std::function<void()> g_show;

LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kShowRequest) {
    if (g_show) g_show();
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void ListenForShowRequests(std::function<void()> show) {
  g_show = std::move(show);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ListenerProc;
  wc.hInstance = Instance();
  wc.lpszClassName = ListenerClass();
  ::RegisterClassExW(&wc);
  // Never shown; a top-level window, so that FindWindow finds it.
  ::CreateWindowExW(WS_EX_TOOLWINDOW, ListenerClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(), nullptr);
}

bool AskRunningCopyToShow() {
  HWND listener = ::FindWindowW(ListenerClass(), nullptr);
  if (!listener) return false;
  // This start came from the user, so it may hand the foreground on: the
  // running copy can then bring its window to the front and give it the keys.
  DWORD running = 0;
  ::GetWindowThreadProcessId(listener, &running);
  ::AllowSetForegroundWindow(running);
  return ::PostMessageW(listener, kShowRequest, 0, 0) != FALSE;
}

}  // namespace tavo::win32
