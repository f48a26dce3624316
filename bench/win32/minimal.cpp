// The smallest Win32 program of the same build: one window of the main
// window's size and a message loop. Started the same way as quelvo.exe, it
// shows what Wine (or Windows) itself costs in start-up time and memory.

#include <windows.h>

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"Minimo";
  ::RegisterClassExW(&wc);
  const int w = 417, h = 278;
  HWND hwnd = ::CreateWindowExW(0, L"Minimo", L"Minimo", WS_POPUP, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                                (::GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
