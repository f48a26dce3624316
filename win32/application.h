#pragma once
// The application as a whole: its hidden window (owner of every form and
// carrier of the taskbar button), the list of its forms, its minimised
// state, the message loop, the message boxes and the pictures.

#include "win32/windows_api.h"

#include <string>
#include <vector>

#include "forms/desktop.h"

namespace tavo {
class Store;
}

namespace tavo::win32 {

using forms::kAppTitle;

// Creates the application window: a window of no size that owns every form,
// so that the program has one taskbar button, whatever forms are open.
void CreateApplicationWindow();
HWND ApplicationWindow();

// The main window, to which the taskbar button's close command goes.
void SetMainWindow(HWND main_window);

// Minimised, only the tray icon is left: the application window is hidden,
// which takes the taskbar button away. Restoring brings the button back.
void MinimizeApplication();
void RestoreApplication();
bool ApplicationMinimized();

// Shows a window, brings it to the top and makes it the foreground window.
void BringToFront(HWND window);

// Runs the message loop until WM_QUIT; its exit code. Each message first
// goes to its top-level window's PreTranslate, then to the dialog manager
// (Tab between controls, Alt+letter accelerators).
int RunMessageLoop();
// Processes the pending messages once; user input stays queued while a
// busy flag of the store is held.
void ProcessPendingMessages(const Store& store);
// Waits for a message, then processes the pending ones: the store's pump
// while it waits for its busy flags.
void WaitAndProcessMessages(const Store& store);

using forms::BoxIcon;
using forms::BoxModality;
// The standard message box with the application title as caption. A
// question has Yes and No with No as the default and returns true for Yes;
// any other box has OK and returns true.
bool ShowBox(HWND owner, const std::string& text, BoxIcon icon, BoxModality modality, bool question = false);
// The general error report (forms::kGeneralErrorBox) of an unexpected error inside a handler.
void ShowGeneralError(HWND owner, std::string text);

// One of the program's 8-bit background pictures, from the resources.
struct Picture {
  const BITMAPINFO* info = nullptr;  // header and palette
  const uint8_t* bits = nullptr;     // rows bottom-up, each padded to 4 bytes
  int width = 0;
  int height = 0;
  int stride = 0;
  HBITMAP bitmap = nullptr;          // for painting
  // The palette index at (x, y) from the top-left corner.
  uint8_t Index(int x, int y) const { return bits[static_cast<size_t>(height - 1 - y) * stride + x]; }
};
// nullptr when the resource is missing or not an 8-bit picture.
const Picture* LoadPicture(const wchar_t* resource_name);

}  // namespace tavo::win32
