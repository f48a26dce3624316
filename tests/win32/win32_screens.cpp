// Screenshots of quelvo.exe under Wine (scripts/screenshots-windows): starts
// the program over a program folder of its own, opens every window, the tray
// menu, the drop-down calendar and the colour palette, prints the list, and
// saves each screen as a BMP file in the given folder.
//   win32_screens.exe <output folder> <print pipe>
// The default printer prints into <print pipe>, a FIFO: the print job waits
// there until this program reads it, which keeps the wait box on the screen
// for its picture; the job is then saved as impressao.ps.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/testing/test_platform.h"
#include "platform/system.h"
#include "platform/win32/utf16.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "store/tavo_data.h"
#include "tests/win32/support/gui_driver.h"

namespace {

using namespace tavo;
using namespace tavo::gui_driver;
namespace fs = std::filesystem;

std::wstring g_out;

// The whole screen as a 24-bit BMP file.
void Shot(const wchar_t* name) {
  ::Sleep(400);  // let the windows finish painting
  const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u), size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof bi.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  std::ofstream out(fs::path(g_out + L"\\" + name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::printf("%ls\n", name);
}

void MoveTo(HWND window, int x, int y) {
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::Sleep(200);
}

HWND Reminder(DWORD pid) {
  return WaitFor([&] { auto w = ReminderWindows(pid); return w.empty() ? nullptr : w.back(); });
}

void Add(Store& store, double when, const char* cp1252, int kind = 0) {
  TLembrete r;
  r.DateTime = when;
  r.Text = cp1252;
  r.RepeatKind = static_cast<uint8_t>(kind);
  store.AddLembrete(r);
}

int Fail(const char* what) {
  std::fprintf(stderr, "win32_screens: %s\n", what);
  return 1;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc != 3) return Fail("uso: win32_screens <pasta de saída> <fila da impressora>");
  g_out = argv[1];
  const std::wstring pipe = argv[2];

  // A program folder of its own with the shipped files and a few reminders.
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const fs::path program = fs::path(temp) / L"quelvo-telas";
  fs::remove_all(program);
  fs::create_directories(program);
  fs::copy(fs::path(QuelvoExe()).parent_path() / L"dados", program / L"dados", fs::copy_options::recursive);
  const std::string folder = platform::Utf8(program.wstring()) + "\\";
  platform::MemoryRegistry registry;
  platform::SetRegistryForTesting(&registry);
  platform::SetProgramFolder(folder);
  Store store;
  store.Hooks.Failure = [](const std::string& message, BoxKind) { std::fprintf(stderr, "%s\n", message.c_str()); };
  store.Open();
  const double today = Today();
  Add(store, CurrentMinute() - 1.0 / 1440, "Reuni\xE3o com a equipe \xE0s 15h.\r\nLevar o relat\xF3rio do trimestre.");
  Add(store, today + 1 + EncodeTime(9, 0), "Dentista");
  Add(store, today + 2 + EncodeTime(19, 30), "Anivers\xE1rio da Ana: comprar o presente", 4);
  Add(store, today + 3 + EncodeTime(8, 15), "Pagar a conta de luz", 3);
  Add(store, today + 5 + EncodeTime(14, 0), "Levar o carro \xE0 revis\xE3o", 0);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvane\\Quelvo3");

  Process quelvo(QuelvoExe(), program.wstring() + L"\\");
  const DWORD pid = quelvo.Id();
  HWND main = WaitFor([&] { return MainWindow(pid); });
  if (!main) return Fail("no main window");
  MoveTo(main, 60, 50);
  Shot(L"principal.bmp");

  // The tray menu, at the cursor.
  HWND tray = TrayWindow(pid);
  ::SetCursorPos(520, 120);
  ::PostMessageW(tray, WM_APP + 10, 1, WM_RBUTTONUP);
  HWND menu = WaitFor([&] {
    for (HWND w : TopWindows(pid))
      if (ClassOf(w) == L"#32768") return w;
    return static_cast<HWND>(nullptr);
  });
  if (!menu) return Fail("no tray menu");
  Shot(L"menu.bmp");
  ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([&] { return !::IsWindowVisible(menu); }, 5000);

  // The alert of the reminder due a minute ago, at the first check.
  HWND alert = WaitFor([&] { auto w = ReminderWindows(pid); return w.empty() ? nullptr : w[0]; }, 30000);
  if (!alert) return Fail("no alert");
  MoveTo(alert, 480, 40);
  Shot(L"alerta.bmp");
  // Its drop-down calendar.
  Click(DropDownOf(alert, forms::kLembreteWindow, "eData"));
  HWND calendar = WaitFor([&] {
    for (HWND w : TopWindows(pid))
      if (!ChildrenOf(w, L"SysMonthCal32").empty()) return w;
    return static_cast<HWND>(nullptr);
  });
  if (!calendar) return Fail("no calendar");
  Shot(L"calendario.bmp");
  ::PostMessageW(ChildrenOf(calendar, L"SysMonthCal32")[0], WM_KEYDOWN, VK_ESCAPE, 0);
  ::Sleep(300);
  // The "Adiar" menu, its first choice selected.
  Click(ChildByText(alert, L"&Adiar"));
  HWND snooze = WaitFor([&] {
    for (HWND w : TopWindows(pid))
      if (ClassOf(w) == L"#32768") return w;
    return static_cast<HWND>(nullptr);
  });
  if (!snooze) return Fail("no snooze menu");
  Key(snooze, VK_DOWN);
  Shot(L"adiar.bmp");
  ::PostMessageW(snooze, WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([&] { return !::IsWindowVisible(snooze); }, 5000);
  Click(ControlOf(alert, forms::kLembreteWindow, "bAlternate"));
  if (HWND ask = WaitFor([&] { return MessageBoxWith(pid, L"Deseja realmente excluir este lembrete?"); })) {
    MoveTo(ask, 560, 330);
    Shot(L"pergunta.bmp");
    Press(ask, IDYES);
  }
  // Gone before the next reminder window is looked for, or that could find it going.
  WaitUntil([&] { return !::IsWindow(alert) || !::IsWindowVisible(alert); }, 5000);

  // A new reminder, typed in: Mother's Day, a Sunday, so the events show in red.
  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND fresh = Reminder(pid);
  if (!fresh) return Fail("no new reminder window");
  MoveTo(fresh, 480, 40);
  std::vector<HWND> edits = ChildrenOf(fresh, L"Edit");
  SetText(edits[2], L"Ligar para a mãe e desejar um feliz Dia das Mães");
  SetText(edits[1], L"09:30");
  ::SendMessageW(ChildrenOf(fresh, L"ComboBox")[0], CB_SETCURSEL, 4, 0);
  SetText(edits[0], L"12/05/2024");
  Key(edits[0], VK_RETURN);  // Enter in the date field shows that date's events
  Shot(L"lembrete.bmp");
  Click(ControlOf(fresh, forms::kLembreteWindow, "bAlternate"));
  ::Sleep(300);

  // The list of the next days.
  Click(ControlOf(main, forms::kMainWindow, "bLista"));
  HWND list = WaitFor([&] { return ListWindow(pid); });
  if (!list) return Fail("no list window");
  MoveTo(list, 480, 40);
  edits = ChildrenOf(list, L"Edit");
  Click(ControlOf(list, forms::kListWindow, "bListar"));
  WaitUntil([&] { return !TextOf(edits[2]).empty(); });
  Key(ControlOf(list, forms::kListWindow, "gridLembretes"), VK_DOWN);
  Key(ControlOf(list, forms::kListWindow, "gridLembretes"), VK_DOWN);
  Shot(L"lista.bmp");

  // Printing: the print dialog, then the wait box while the job waits in the pipe.
  Click(ControlOf(list, forms::kListWindow, "bPrintList"));
  HWND print = WaitFor([&] { auto d = Dialogs(pid); return d.empty() ? nullptr : d[0]; });
  if (!print) return Fail("no print dialog");
  Shot(L"imprimir.bmp");
  Press(print, IDOK);
  // The wait box, by its size: the program is blocked in the print job and answers no message now.
  HWND wait = WaitFor([&] {
    for (HWND w : TopWindows(pid)) {
      RECT r;
      ::GetClientRect(w, &r);
      if (r.right == 262 && r.bottom == 47) return w;
    }
    return static_cast<HWND>(nullptr);
  });
  if (wait) Shot(L"aguarde.bmp");
  {
    // Reading the pipe lets the job through.
    std::ifstream job(fs::path(pipe), std::ios::binary);
    std::ofstream saved(fs::path(g_out + L"\\impressao.ps"), std::ios::binary);
    saved << job.rdbuf();
  }
  if (!wait) return Fail("no wait box");
  WaitUntil([&] { return ::IsWindowEnabled(list) != FALSE; });
  Click(ControlOf(list, forms::kListWindow, "bCancel"));

  // A calendar imported from the tray menu: its summary with the details.
  const fs::path ics = program / L"agenda.ics";
  std::ofstream(ics, std::ios::binary)
      << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//telas//PT\r\n"
         "BEGIN:VEVENT\r\nUID:1\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20991010T140000\r\nSUMMARY:Consulta\r\nEND:VEVENT\r\n"
         "BEGIN:VEVENT\r\nUID:2\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20991011T090000\r\nSUMMARY:Feira\r\nEND:VEVENT\r\n"
         "BEGIN:VEVENT\r\nUID:3\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20200101T090000\r\nSUMMARY:Reuni\xC3\xA3o antiga\r\n"
         "END:VEVENT\r\n"
         "BEGIN:VEVENT\r\nUID:4\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20991012T090000\r\nSUMMARY:Cancelada\r\n"
         "STATUS:CANCELLED\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  ::SetCursorPos(520, 120);
  ::PostMessageW(tray, WM_APP + 10, 1, WM_RBUTTONUP);
  HWND tray_menu = WaitFor([&] {
    for (HWND w : TopWindows(pid))
      if (ClassOf(w) == L"#32768") return w;
    return static_cast<HWND>(nullptr);
  });
  if (!tray_menu) return Fail("no tray menu");
  for (int i = 0; i < 6; ++i) ::PostMessageW(tray_menu, WM_KEYDOWN, VK_DOWN, 0);  // "Importar Calendário"
  ::PostMessageW(tray_menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND open = WaitFor([&] { auto d = Dialogs(pid); return d.empty() ? nullptr : d[0]; });
  if (!open) return Fail("no open dialog");
  AnswerFileDialog(open, ics.wstring());
  HWND summary = WaitFor([&] { return MessageBoxWith(pid, L"2 lembretes importados, 2 ignorados"); });
  if (!summary) return Fail("no import summary");
  MoveTo(summary, 480, 60);
  Shot(L"importar.bmp");
  Press(summary, IDOK);

  // The settings and the colour palette.
  Click(ControlOf(main, forms::kMainWindow, "bConfig"));
  HWND config = WaitFor([&] { return ConfigWindow(pid); });
  if (!config) return Fail("no settings window");
  MoveTo(config, 480, 40);
  Shot(L"configuracoes.bmp");
  Click(ControlOf(config, forms::kConfigWindow, "csBack"));
  if (!WaitFor([&] { return PaletteWindow(pid); })) return Fail("no palette");
  Shot(L"paleta.bmp");

  // The sync window from the settings, a set-up typed in.
  ::PostMessageW(PaletteWindow(pid), WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([&] { return PaletteWindow(pid) == nullptr; });
  Click(ControlOf(config, forms::kConfigWindow, "bSync"));
  HWND sync = WaitFor([&] { return SyncWindow(pid); });
  if (!sync) return Fail("no sync window");
  MoveTo(sync, 480, 40);
  Type(ControlOf(sync, forms::kSyncWindow, "eEndereco"), L"https://agenda.exemplo.com.br/");
  Type(ControlOf(sync, forms::kSyncWindow, "eUsuario"), L"ana");
  Type(ControlOf(sync, forms::kSyncWindow, "eSenha"), L"s3nha");
  WaitUntil([&] { return TextOf(ControlOf(sync, forms::kSyncWindow, "eSenha")) == L"s3nha"; });
  Shot(L"sincronizacao.bmp");
  return 0;
}
