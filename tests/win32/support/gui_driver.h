#pragma once
// Drives a running quelvo.exe from another process, as a user would through
// the window system: finds its windows and message boxes by what they show,
// clicks buttons, types into fields and answers boxes with window messages.

#include "win32/windows_api.h"

#include <functional>
#include <string>
#include <vector>

#include "forms/window_tables.h"

namespace tavo::gui_driver {

// quelvo.exe beside the test programs' build (build-win/programa/quelvo.exe).
std::wstring QuelvoExe();

// One quelvo.exe started with QUELVO_PASTA set to a program folder.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& program_folder, const std::wstring& arguments = L"");
  ~Process();  // ends it when it still runs
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  bool Started() const { return info_.hProcess != nullptr; }
  // Waits for the end of the process; true and its exit code when it ended in time.
  bool WaitForExit(DWORD milliseconds, DWORD* code);

 private:
  PROCESS_INFORMATION info_{};
};

// Polls `found` until it gives a window (or true), for at most `milliseconds`.
HWND WaitFor(const std::function<HWND()>& found, DWORD milliseconds = 15000);
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 15000);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
// The process's top-level windows, in z-order; only the visible ones unless asked.
std::vector<HWND> TopWindows(DWORD process, bool visible_only = true);
// The first child (at any depth) of the given class (any when empty) whose text is `text`.
HWND ChildByText(HWND parent, const std::wstring& text, const std::wstring& window_class = L"");
// A control of a window, by its id in the window's table.
template <class F>
HWND ControlOf(HWND window, const forms::WindowTable<F>& table, const char* name) {
  return ::GetDlgItem(window, table[name].id);
}
// A date field's drop-down button, whose id follows its text's.
template <class F>
HWND DropDownOf(HWND window, const forms::WindowTable<F>& table, const char* name) {
  return ::GetDlgItem(window, table[name].id + 1);
}
// The children of a class, in creation order.
std::vector<HWND> ChildrenOf(HWND parent, const std::wstring& window_class);

// The program's windows, told apart by a control only they have.
HWND MainWindow(DWORD process, bool visible_only = true);
HWND ListWindow(DWORD process);
HWND ConfigWindow(DWORD process);
HWND SyncWindow(DWORD process);
std::vector<HWND> ReminderWindows(DWORD process);
// A palette or another small popup of the program (78 x 120).
HWND PaletteWindow(DWORD process);
// The tray icon's hidden window.
HWND TrayWindow(DWORD process);

// A standard dialog (message box, file, colour or print dialog) of the process.
std::vector<HWND> Dialogs(DWORD process);
// The message box that shows `text`, or nullptr.
HWND MessageBoxWith(DWORD process, const std::wstring& text);

struct BoxLook {
  bool yes_no = false;       // Yes and No buttons (else OK)
  int default_button = 0;    // the button drawn as the default: IDYES, IDNO, IDOK
  bool topmost = false;      // system-modal boxes stay above every window
  HWND owner = nullptr;
  HWND icon = nullptr;         // the control that shows the icon
};
BoxLook LookOf(HWND box);
// True when a box's icon control shows the system icon of a kind
// (IDI_QUESTION, ...): the pixels on the screen are compared with the icon
// drawn here on the same background, since an icon handle of another
// process cannot be read.
bool ShowsSystemIcon(HWND icon_control, LPCWSTR which);

// The control with the keyboard focus in the thread of a window.
HWND Focused(HWND window);

// A click on a button (posted: the handler may open a modal box).
void Click(HWND button);
// Presses a dialog's button by its identifier (IDOK, IDYES, ...).
void Press(HWND dialog, int id);
// Replaces a field's text.
void SetText(HWND field, const std::wstring& text);
// A left click at a point of a window's client area (posted).
void ClickAt(HWND window, int x, int y, bool double_click = false);
// A key pressed and released in a window (posted).
void Key(HWND window, WPARAM virtual_key);

// Characters typed into a window, one WM_CHAR each, as the keyboard gives
// them after TranslateMessage (posted).
void Type(HWND window, const std::wstring& text);

// Types a path into an open or save dialog and confirms it.
void AnswerFileDialog(HWND dialog, const std::wstring& path);

}  // namespace tavo::gui_driver
