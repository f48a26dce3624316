#include "tests/win32/support/gui_driver.h"

#include <algorithm>

namespace tavo::gui_driver {
namespace {

constexpr wchar_t kFormClass[] = L"QuelvoWnd";

bool IsForm(HWND w) { return ClassOf(w) == kFormClass; }

// A form of the process that holds a child with this text.
HWND FormWith(DWORD process, const std::wstring& child_text, bool visible_only = true) {
  for (HWND w : TopWindows(process, visible_only))
    if (IsForm(w) && ChildByText(w, child_text)) return w;
  return nullptr;
}

}  // namespace

std::wstring QuelvoExe() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring folder(path, n);
  folder = folder.substr(0, folder.find_last_of(L"\\/"));         // .../tests
  folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);     // .../
  return folder + L"programa\\quelvo.exe";
}

Process::Process(const std::wstring& exe, const std::wstring& program_folder, const std::wstring& arguments) {
  ::SetEnvironmentVariableW(L"QUELVO_PASTA", program_folder.c_str());
  std::wstring command = L"\"" + exe + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
    info_ = PROCESS_INFORMATION{};
  ::SetEnvironmentVariableW(L"QUELVO_PASTA", nullptr);
  if (info_.hProcess) ::WaitForInputIdle(info_.hProcess, 10000);
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 10000);
  }
  ::CloseHandle(info_.hThread);
  ::CloseHandle(info_.hProcess);
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* code) {
  if (!info_.hProcess || ::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  ::GetExitCodeProcess(info_.hProcess, code);
  return true;
}

HWND WaitFor(const std::function<HWND()>& found, DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (;;) {
    if (HWND w = found()) return w;
    if (::GetTickCount64() > end) return nullptr;
    ::Sleep(50);
  }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  return WaitFor([&] { return condition() ? reinterpret_cast<HWND>(1) : nullptr; }, milliseconds) != nullptr;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  const int n = ::GetClassNameW(window, name, 256);
  return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT crosses to the other process; GetWindowText would not ask a
  // control there. A program blocked in a long call does not answer: then
  // the text is taken as empty rather than waiting for it.
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &got))
    return L"";
  text.resize(static_cast<size_t>(got));
  return text;
}

std::vector<HWND> TopWindows(DWORD process, bool visible_only) {
  struct Search {
    DWORD process;
    bool visible_only;
    std::vector<HWND> found;
  } search{process, visible_only, {}};
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == s->process && (!s->visible_only || ::IsWindowVisible(w))) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildByText(HWND parent, const std::wstring& text, const std::wstring& window_class) {
  struct Search {
    const std::wstring& text;
    const std::wstring& window_class;
    HWND found = nullptr;
  } search{text, window_class};
  ::EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if ((s->window_class.empty() || _wcsicmp(ClassOf(w).c_str(), s->window_class.c_str()) == 0) &&
            TextOf(w) == s->text) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ChildrenOf(HWND parent, const std::wstring& window_class) {
  struct Search {
    const std::wstring& window_class;
    std::vector<HWND> found;
  } search{window_class, {}};
  ::EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (_wcsicmp(ClassOf(w).c_str(), s->window_class.c_str()) == 0) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  // EnumChildWindows walks in z-order, which is creation order for siblings placed at the bottom.
  return search.found;
}

HWND MainWindow(DWORD process, bool visible_only) {
  return FormWith(process, L"Incluir um novo lembrete", visible_only);
}
HWND ListWindow(DWORD process) { return FormWith(process, L"Mostrar Lembretes"); }
HWND ConfigWindow(DWORD process) { return FormWith(process, L"Testar"); }
HWND SyncWindow(DWORD process) { return FormWith(process, L"Sincronizar agora"); }

std::vector<HWND> ReminderWindows(DWORD process) {
  std::vector<HWND> found;
  for (HWND w : TopWindows(process))
    if (IsForm(w) && !ChildrenOf(w, L"ComboBox").empty()) found.push_back(w);
  return found;
}

HWND PaletteWindow(DWORD process) {
  for (HWND w : TopWindows(process)) {
    RECT r;
    ::GetClientRect(w, &r);
    if (IsForm(w) && r.right == 78 && r.bottom == 120) return w;
  }
  return nullptr;
}

HWND TrayWindow(DWORD process) {
  for (HWND w : TopWindows(process, false))
    if (IsForm(w) && TextOf(w) == L"Quelvo tray") return w;
  return nullptr;
}

std::vector<HWND> Dialogs(DWORD process) {
  std::vector<HWND> found;
  for (HWND w : TopWindows(process))
    if (ClassOf(w) == L"#32770") found.push_back(w);
  return found;
}

HWND MessageBoxWith(DWORD process, const std::wstring& text) {
  for (HWND box : Dialogs(process))
    if (ChildByText(box, text, L"Static")) return box;
  return nullptr;
}

namespace {

// 32-bit pixels of a bitmap selected into a memory DC.
std::vector<uint32_t> Pixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

}  // namespace

bool ShowsSystemIcon(HWND icon_control, LPCWSTR which) {
  if (!icon_control) return false;
  const int size = ::GetSystemMetrics(SM_CXICON);
  RECT r;
  ::GetWindowRect(icon_control, &r);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP shown = ::CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = ::SelectObject(memory, shown);
  ::BitBlt(memory, 0, 0, size, size, screen, r.left, r.top, SRCCOPY);
  // The background the box draws its icon on: the colour of a pixel the icon leaves free.
  const COLORREF face = ::GetPixel(memory, 0, 0);
  HBITMAP drawn = ::CreateCompatibleBitmap(screen, size, size);
  ::SelectObject(memory, drawn);
  HBRUSH brush = ::CreateSolidBrush(face);
  RECT all{0, 0, size, size};
  ::FillRect(memory, &all, brush);
  ::DeleteObject(brush);
  ::DrawIconEx(memory, 0, 0, ::LoadIconW(nullptr, which), size, size, 0, nullptr, DI_NORMAL);
  ::SelectObject(memory, old);
  const bool same = Pixels(memory, shown, size, size) == Pixels(memory, drawn, size, size);
  ::DeleteObject(shown);
  ::DeleteObject(drawn);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return same;
}

BoxLook LookOf(HWND box) {
  BoxLook look;
  look.yes_no = ::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO);
  for (int id : {IDOK, IDYES, IDNO}) {
    HWND button = ::GetDlgItem(box, id);
    if (button && (::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) look.default_button = id;
  }
  look.topmost = (::GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  look.owner = ::GetWindow(box, GW_OWNER);
  for (HWND s : ChildrenOf(box, L"Static"))
    if ((::GetWindowLongPtrW(s, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      look.icon = s;
  return look;
}

HWND Focused(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void Press(HWND dialog, int id) {
  if (HWND button = ::GetDlgItem(dialog, id)) Click(button);
  else ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void SetText(HWND field, const std::wstring& text) {
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ClickAt(HWND window, int x, int y, bool double_click) {
  const LPARAM at = MAKELPARAM(x, y);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(window, WM_LBUTTONUP, 0, at);
  if (double_click) {
    ::PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
  }
}

void Key(HWND window, WPARAM virtual_key) {
  ::PostMessageW(window, WM_KEYDOWN, virtual_key, 1);
  ::PostMessageW(window, WM_KEYUP, virtual_key, 1 | (1u << 30) | (1u << 31));
}

void Type(HWND window, const std::wstring& text) {
  for (wchar_t c : text) ::PostMessageW(window, WM_CHAR, c, 1);
}

void AnswerFileDialog(HWND dialog, const std::wstring& path) {
  // The file name field: the dialog's edit control (inside the name combo box where there is one).
  HWND name = nullptr;
  for (HWND edit : ChildrenOf(dialog, L"Edit")) {
    if (::IsWindowVisible(edit) && ::IsWindowEnabled(edit)) {
      name = edit;
      break;
    }
  }
  if (name) SetText(name, path);
  Press(dialog, IDOK);
}

}  // namespace tavo::gui_driver
