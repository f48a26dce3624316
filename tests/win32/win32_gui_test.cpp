// quelvo.exe under test: the real Win32 windows, started as the user starts
// them and driven from this process with window messages: buttons clicked,
// fields typed into, message boxes and dialogs found by what they show and
// answered. The rules behind the windows are tested once in tests/forms/;
// these tests check what the Win32 front-end adds: that its controls reach
// those rules and that the files, the registry and the boxes come out right.

#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <oleacc.h>
#include <commctrl.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <cstdio>
#include <sstream>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"
#include "platform/win32/utf16.h"
#include "store/backup.h"
#include "store/config.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "tests/common/typed_field_cases.h"
#include "tests/core/support/store_fixture.h"
#include "tests/win32/support/gui_driver.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using namespace gui_driver;
using test_support::At;
using test_support::Stored;

constexpr DWORD kDueCheckWait = 30000;  // the first check follows about 10 s after the start

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A program folder with accents in its name, holding the shipped calendar
// files and sounds, and quelvo.exe started over it.
class QuelvoGui : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    program_ = folder.Path() + "Lembretes de Jo\xC3\xA3o\\";  // "Lembretes de João"
    const fs::path shipped = fs::path(QuelvoExe()).parent_path() / L"dados";
    const fs::path dados = fs::path(Wide(program_)) / L"dados";
    fs::create_directories(dados);
    fs::copy(shipped, dados, fs::copy_options::recursive);
    platform::SetProgramFolder(program_);
    // Every test starts from the default settings.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvane\\Quelvo3");  // with its subkeys (the sync set-up)
  }

  void TearDown() override {
    quelvo_.reset();
    StoreFixture::TearDown();
  }

  static std::wstring Wide(const std::string& utf8) { return platform::Utf16(utf8); }
  std::wstring Program() const { return Wide(program_); }
  std::wstring Dados(const wchar_t* name) const { return Program() + L"dados\\" + name; }

  // Stores reminders before the program starts.
  void Seed(const std::vector<Stored>& reminders) {
    Reopen();
    AddAll(reminders);
  }

  void Start(const std::wstring& arguments = L"") {
    quelvo_ = std::make_unique<Process>(QuelvoExe(), Program(), arguments);
    ASSERT_TRUE(quelvo_->Started());
  }
  DWORD Pid() const { return quelvo_->Id(); }

  HWND Main() {
    HWND main = WaitFor([&] { return MainWindow(Pid()); });
    EXPECT_NE(main, nullptr) << "no main window";
    return main;
  }

  // What the program stored, read back without changing anything.
  std::vector<Stored> StoredNow() {
    SetEntryCount(Lembretes, 0);
    OpenStore(StoreAccess::ReadOnly);
    return State();
  }

  // The message box showing `text`, checked for its look.
  HWND Box(const std::wstring& text, bool question, LPCWSTR icon, bool system_modal, HWND owner) {
    HWND box = WaitFor([&] { return MessageBoxWith(Pid(), text); });
    EXPECT_NE(box, nullptr) << "no box \"" << platform::Utf8(text) << "\"";
    if (!box) return nullptr;
    EXPECT_EQ(TextOf(box), L"Quelvo 3.0");
    const BoxLook look = LookOf(box);
    EXPECT_EQ(look.yes_no, question);
    EXPECT_EQ(look.default_button, question ? IDNO : IDOK);
    EXPECT_EQ(look.topmost, system_modal);
    EXPECT_EQ(look.owner, owner);
    // Read off the screen: the box may be found before it has painted.
    EXPECT_TRUE(WaitUntil([&] { return ShowsSystemIcon(look.icon, icon); }, 5000)) << "the icon of the box";
    return box;
  }

  // Opens the list window from the main window and lists a range; its
  // fields: start, end and the selected reminder's text.
  HWND ListRange(HWND main, const std::wstring& from, const std::wstring& to, std::vector<HWND>* edits) {
    Click(ControlOf(main, forms::kMainWindow, "bLista"));
    HWND list = WaitFor([&] { return ListWindow(Pid()); });
    if (!list) return nullptr;
    *edits = ChildrenOf(list, L"Edit");
    if (edits->size() != 3) return nullptr;
    SetText((*edits)[0], from);
    SetText((*edits)[1], to);
    Click(ControlOf(list, forms::kListWindow, "bListar"));
    return list;
  }

  // Starts the program and lists 10/05 to 11/05/2030, whose first reminder
  // is "Primeiro"; nullptr when any step fails.
  HWND StartAndListTenToEleventhOfMay(std::vector<HWND>* edits) {
    Start();
    HWND main = Main();
    if (!main) return nullptr;
    HWND list = ListRange(main, L"10/05/2030", L"11/05/2030", edits);
    if (!list || !WaitUntil([&] { return TextOf((*edits)[2]) == L"Primeiro"; })) return nullptr;
    return list;
  }

  bool Gone(HWND window) {
    return WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
  }

  std::string program_;
  std::unique_ptr<Process> quelvo_;
};

TEST_F(QuelvoGui, ANewReminderTypedAndConfirmedLandsInTheFilesAsTheLinuxBuildWritesThem) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);

  // Confirmed without text: the reminder is not added and the window closes.
  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND empty = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(empty, nullptr);
  Click(ControlOf(empty, forms::kLembreteWindow, "bOK"));
  HWND box = Box(L"Lembrete vazio. Inclusão cancelada", false, IDI_INFORMATION, true, nullptr);
  ASSERT_NE(box, nullptr);
  Press(box, IDOK);
  EXPECT_TRUE(Gone(empty));

  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND window = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(window, nullptr);
  EXPECT_NE(ChildByText(window, L"Cancelar"), nullptr);
  const std::vector<HWND> edits = ChildrenOf(window, L"Edit");  // date, time, text
  ASSERT_EQ(edits.size(), 3u);
  SetText(edits[0], L"05/03/2004");
  SetText(edits[1], L"09:05");
  ::SendMessageW(ChildrenOf(window, L"ComboBox")[0], CB_SETCURSEL, 2, 0);  // "Semanal"
  SetText(edits[2], L"  Olá  ");
  Click(ControlOf(window, forms::kLembreteWindow, "bOK"));
  EXPECT_TRUE(Gone(window));

  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2004, 3, 5, 9, 5), 2, "Ol\xE1"}}));
  // The files byte for byte as the Linux quelvo-cli writes them for the same input.
  wchar_t expected[MAX_PATH];
  ASSERT_GT(::GetEnvironmentVariableW(L"QUELVO_ESPERADO", expected, MAX_PATH), 0u)
      << "QUELVO_ESPERADO: the folder with the Linux build's files (scripts/test-windows sets it)";
  EXPECT_EQ(ReadBytes(Dados(L"tavodb.idx")), ReadBytes(std::wstring(expected) + L"\\tavodb.idx"));
  EXPECT_EQ(ReadBytes(Dados(L"tavodb.dat")), ReadBytes(std::wstring(expected) + L"\\tavodb.dat"));
}

TEST_F(QuelvoGui, PastRemindersAlertAtTheFirstCheckAndExcluirDeletesOrMovesThem) {
  Seed({{At(2020, 1, 1, 8, 0), 0, "Pagar a conta"}, {At(2020, 1, 2, 9, 0), 2, "Reuni\xE3o semanal"}});
  Start();
  ASSERT_NE(Main(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReminderWindows(Pid()).size() == 2; }, kDueCheckWait));
  HWND once = nullptr, weekly = nullptr;
  for (HWND w : ReminderWindows(Pid())) {
    EXPECT_NE(ChildByText(w, L"Excluir"), nullptr);
    const std::wstring text = TextOf(ChildrenOf(w, L"Edit")[2]);
    if (text == L"Pagar a conta") once = w;
    if (text == L"Reunião semanal") weekly = w;
  }
  ASSERT_NE(once, nullptr);
  ASSERT_NE(weekly, nullptr);
  // The second window opened 20 pixels right of and below the first.
  RECT first, second;
  ::GetWindowRect(once, &first);
  ::GetWindowRect(weekly, &second);
  EXPECT_EQ(second.left - first.left, 20);
  EXPECT_EQ(second.top - first.top, 20);

  Click(ControlOf(once, forms::kLembreteWindow, "bAlternate"));
  HWND ask = Box(L"Deseja realmente excluir este lembrete?", true, IDI_QUESTION, false, once);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  EXPECT_TRUE(Gone(once));

  Click(ControlOf(weekly, forms::kLembreteWindow, "bAlternate"));
  ask = Box(L"Ao confirmar a exclusão, você só será lembrado novamente deste compromisso após o período de "
            L"repetição determinado. Confirma?",
            true, IDI_QUESTION, false, weekly);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  EXPECT_TRUE(Gone(weekly));

  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2020, 1, 9, 9, 0), 2, "Reuni\xE3o semanal"}}));
}

TEST_F(QuelvoGui, TheListWindowListsAltersAndDeletes) {
  Seed({{At(2030, 5, 10, 8, 0), 0, "Primeiro"},
        {At(2030, 5, 11, 9, 0), 0, "Segundo"},
        {At(2030, 5, 12, 10, 0), 0, "Terceiro"}});
  std::vector<HWND> edits;
  HWND list = StartAndListTenToEleventhOfMay(&edits);
  ASSERT_NE(list, nullptr);
  HWND grid = ControlOf(list, forms::kListWindow, "gridLembretes");
  // Two rows: the second is the last one the keyboard reaches.
  Key(grid, VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Segundo"; }));
  Key(grid, VK_DOWN);
  // Keys are handled in order: once the Up after it has moved to the first
  // row, the Down on the last row had its chance (and left it there: a wrap
  // to the first row would make this Up land on the second).
  Key(grid, VK_UP);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Primeiro"; })) << platform::Utf8(TextOf(edits[2]));
  Key(grid, VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Segundo"; }));

  Click(ControlOf(list, forms::kListWindow, "bAlter"));
  HWND alter = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(alter, nullptr);
  EXPECT_NE(ChildByText(alter, L"Cancelar"), nullptr);
  HWND memo = ChildrenOf(alter, L"Edit")[2];
  EXPECT_EQ(TextOf(memo), L"Segundo");
  SetText(memo, L"Segundo, alterado");
  Click(ControlOf(alter, forms::kLembreteWindow, "bOK"));
  EXPECT_TRUE(Gone(alter));
  // The store asks the list to list again.
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Segundo, alterado"; }));

  Click(ControlOf(list, forms::kListWindow, "bDel"));
  HWND ask = Box(L"Deseja realmente excluir este lembrete?", true, IDI_QUESTION, true, nullptr);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Primeiro"; }));
  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2030, 5, 10, 8, 0), 0, "Primeiro"},
                                              {At(2030, 5, 12, 10, 0), 0, "Terceiro"}}));

  // An empty range, with the list window in front.
  SetText(edits[0], L"01/01/2031");
  SetText(edits[1], L"02/01/2031");
  // The window manager activates a window when it gets to it: ask until it has.
  ASSERT_TRUE(WaitUntil([&] {
    ::SetForegroundWindow(list);
    return ::GetForegroundWindow() == list;
  }));
  Click(ControlOf(list, forms::kListWindow, "bListar"));
  HWND none = Box(L"Nenhum lembrete encontrado", false, IDI_ERROR, true, nullptr);
  ASSERT_NE(none, nullptr);
  Press(none, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]).empty(); }));
}

// Needs the printer that prints into a file (tests/win32/support/file_printer,
// set up by scripts/test-windows); the script reads the printed text back.
TEST_F(QuelvoGui, PrintingTheListGoesThroughThePrintDialogToThePrinter) {
  wchar_t printer[256];
  DWORD size = 256;
  ASSERT_TRUE(::GetDefaultPrinterW(printer, &size)) << "no printer: run file_printer.exe first";
  HANDLE handle = nullptr;
  ASSERT_TRUE(::OpenPrinterW(printer, &handle, nullptr));
  DWORD needed = 0;
  ::GetPrinterW(handle, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(::GetPrinterW(handle, 2, info.data(), needed, &needed));
  ::ClosePrinter(handle);
  const std::wstring output = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPortName;
  ASSERT_EQ(output.find(L".ps"), output.size() - 3) << "the default printer does not print into a file";
  ::DeleteFileW(output.c_str());

  Seed({{At(2030, 5, 10, 8, 0), 0, "Primeiro"}, {At(2030, 5, 11, 9, 5), 4, "Segundo, com\r\nduas linhas"}});
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  std::vector<HWND> edits;
  HWND list = ListRange(main, L"01/05/2030", L"31/05/2030", &edits);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Primeiro"; }));

  Click(ControlOf(list, forms::kListWindow, "bPrintList"));
  HWND dialog = WaitFor([&] { auto d = Dialogs(Pid()); return d.empty() ? nullptr : d[0]; });
  ASSERT_NE(dialog, nullptr) << "no print dialog";
  Press(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(output).find("%%EOF") != std::string::npos; }, 30000));
  const std::string printed = ReadBytes(output);
  EXPECT_EQ(printed.rfind("%!PS", 0), 0u);
  EXPECT_NE(printed.find("%%Pages: 1"), std::string::npos);
  // Every text in the grid's font of 8 points (not the 8.25 of its 11 screen pixels).
  HDC printer_dc = ::CreateDCW(L"WINSPOOL", printer, nullptr, nullptr);
  ASSERT_NE(printer_dc, nullptr);
  const int em = ::MulDiv(8, ::GetDeviceCaps(printer_dc, LOGPIXELSY), 72);
  ::DeleteDC(printer_dc);
  char scale[64];
  std::snprintf(scale, sizeof scale, "[%d 0 0 -%d 0 0]", em, em);
  int fonts = 0;
  for (size_t at = printed.find("makefont"); at != std::string::npos; at = printed.find("makefont", at + 1)) {
    const size_t open = printed.rfind('[', at);
    ASSERT_NE(open, std::string::npos);
    EXPECT_EQ(printed.substr(open, printed.find(']', open) + 1 - open), scale);
    ++fonts;
  }
  EXPECT_GT(fonts, 0);
  // The list window is usable again afterwards.
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(list) != FALSE; }));
}

TEST_F(QuelvoGui, SettingsOkWritesTheFourRegistryValues) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  Click(ControlOf(main, forms::kMainWindow, "bConfig"));
  HWND config = WaitFor([&] { return ConfigWindow(Pid()); });
  ASSERT_NE(config, nullptr);

  // The sound "sino": a click on its entry (bipe, campainha, gongo, sino, [Outro som...]).
  HWND sounds = ChildrenOf(config, L"ListBox")[0];
  EXPECT_EQ(::SendMessageW(sounds, LB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(::SendMessageW(sounds, LB_GETCURSEL, 0, 0), 2) << "the default sound, gongo";
  ClickAt(sounds, 20, 3 * 13 + 6);
  EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(sounds, LB_GETCURSEL, 0, 0) == 3; }));

  // The information option: a click on its label turns it off.
  HWND info = ControlOf(config, forms::kConfigWindow, "cbInfo");
  EXPECT_EQ(::SendMessageW(info, BM_GETCHECK, 0, 0), BST_CHECKED);
  ClickAt(config, 100, 204);
  EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(info, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));

  // Text colour: red from the palette (row 2, column 1).
  HWND front = ControlOf(config, forms::kConfigWindow, "csFront"), back = ControlOf(config, forms::kConfigWindow, "csBack");
  Click(front);
  HWND palette = WaitFor([&] { return PaletteWindow(Pid()); });
  ASSERT_NE(palette, nullptr);
  ::PostMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(12, 30));
  EXPECT_TRUE(Gone(palette));

  // Background colour: "&Outra..." and the system colour dialog.
  Click(back);
  palette = WaitFor([&] { return PaletteWindow(Pid()); });
  ASSERT_NE(palette, nullptr);
  ::PostMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(30, 108));
  HWND colours = WaitFor([&] {
    for (HWND d : Dialogs(Pid()))
      if (::GetDlgItem(d, 706)) return d;  // the red field
    return static_cast<HWND>(nullptr);
  });
  ASSERT_NE(colours, nullptr);
  SetText(::GetDlgItem(colours, 706), L"0");
  SetText(::GetDlgItem(colours, 707), L"128");
  SetText(::GetDlgItem(colours, 708), L"255");
  Press(colours, IDOK);
  EXPECT_TRUE(Gone(colours));

  Click(ControlOf(config, forms::kConfigWindow, "bOK"));
  EXPECT_TRUE(Gone(config));

  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane\\Quelvo3", 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  auto dword = [&](const wchar_t* name) -> std::optional<DWORD> {
    DWORD type = 0, value = 0, size = sizeof value;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return std::nullopt;
    return value;
  };
  EXPECT_EQ(dword(L"FrontColor"), DWORD{0x0000FF});
  EXPECT_EQ(dword(L"BackColor"), DWORD{0xFF8000});
  EXPECT_EQ(dword(L"ShowInfo"), DWORD{0});
  wchar_t wave[MAX_PATH * 2] = {};
  DWORD type = 0, size = sizeof wave;
  EXPECT_EQ(::RegQueryValueExW(key, L"WaveFile", nullptr, &type, reinterpret_cast<BYTE*>(wave), &size), ERROR_SUCCESS);
  ::RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(wave), Dados(L"sons\\sino.wav"));
}

TEST_F(QuelvoGui, BackupAndRestoreThroughTheDialogs) {
  Seed({{At(2030, 1, 1, 8, 0), 0, "Um"}, {At(2030, 1, 2, 8, 0), 1, "Dois"}});
  // Another set of reminders, in a backup made elsewhere.
  const std::string other = folder.Path() + "outra.tvb";
  {
    test_support::TempFolder elsewhere;
    fs::create_directory(fs::path(Wide(elsewhere.Path())) / L"dados");
    platform::SetProgramFolder(elsewhere.Path());
    Reopen();
    AddAll({{At(2031, 1, 1, 8, 0), 0, "A"}, {At(2031, 1, 2, 8, 0), 0, "B"}, {At(2031, 1, 3, 8, 0), 3, "C"}});
    ASSERT_EQ(WriteBackup(other), BackupResult::Done);
    platform::SetProgramFolder(program_);
  }
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);

  const std::wstring copy = Program() + L"cópia de segurança.tvb";
  Click(ControlOf(main, forms::kMainWindow, "bDoBackup"));
  HWND save = WaitFor([&] { auto d = Dialogs(Pid()); return d.empty() ? nullptr : d[0]; });
  ASSERT_NE(save, nullptr);
  AnswerFileDialog(save, copy);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(copy).size() == 15 + 40 + 6; }));
  const std::string idx = ReadBytes(Dados(L"tavodb.idx")), dat = ReadBytes(Dados(L"tavodb.dat"));
  EXPECT_EQ(ReadBytes(copy), std::string("TAVOBKP") + std::string("\x28\0\0\0", 4) + idx +
                                 std::string("\x06\0\0\0", 4) + dat);

  Click(ControlOf(main, forms::kMainWindow, "bRestoreBackup"));
  HWND open = WaitFor([&] { auto d = Dialogs(Pid()); return d.empty() ? nullptr : d[0]; });
  ASSERT_NE(open, nullptr);
  AnswerFileDialog(open, Wide(other));
  HWND ask = Box(L"Deseja substituir os lembretes já cadastrados pelo conteúdo do backup?", true, IDI_INFORMATION,
                 true, nullptr);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return StoredNow().size() == 3; }));
  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2031, 1, 1, 8, 0), 0, "A"},
                                              {At(2031, 1, 2, 8, 0), 0, "B"},
                                              {At(2031, 1, 3, 8, 0), 3, "C"}}));

  // A file that is not a backup: the reminders stay.
  const std::wstring bad = Program() + L"ruim.tvb";
  std::ofstream(fs::path(bad), std::ios::binary) << "TAVOBKX and nothing more";
  Click(ControlOf(main, forms::kMainWindow, "bRestoreBackup"));
  open = WaitFor([&] { auto d = Dialogs(Pid()); return d.empty() ? nullptr : d[0]; });
  ASSERT_NE(open, nullptr);
  AnswerFileDialog(open, bad);
  ask = Box(L"Deseja substituir os lembretes já cadastrados pelo conteúdo do backup?", true, IDI_INFORMATION, true,
            nullptr);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  HWND invalid = Box(L"Erro ao importar backup. Arquivo inválido", false, IDI_ERROR, true, nullptr);
  ASSERT_NE(invalid, nullptr);
  Press(invalid, IDOK);
  EXPECT_EQ(StoredNow().size(), 3u);
}

// Chooses the n-th item (not counting separators) of the menu a right click
// on `window` opens, with the keys a user presses; false when no menu came.
bool ChooseFromMenu(DWORD pid, HWND window, UINT right_up, LPARAM where, int n) {
  ::PostMessageW(window, right_up, 0, where);
  HWND menu = WaitFor([&] {
    for (HWND w : TopWindows(pid))
      if (ClassOf(w) == L"#32768") return w;
    return static_cast<HWND>(nullptr);
  });
  if (!menu) return false;
  for (int i = 0; i < n; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return true;
}

TEST_F(QuelvoGui, CalendarExportedFromTheTrayAndTheGridThenImportedElsewhere) {
  Seed({{At(2030, 1, 1, 8, 0), 0, "Um"}, {At(2030, 1, 2, 8, 0), 1, "Dois"}});
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  HWND tray = WaitFor([&] { return TrayWindow(Pid()); });
  ASSERT_NE(tray, nullptr);
  auto dialog = [&] { return WaitFor([&] { auto d = Dialogs(Pid()); return d.empty() ? nullptr : d[0]; }); };

  // "Exportar Calendário", the fifth item of the tray menu.
  const std::wstring all = Wide(folder.Path()) + L"calendário.ics";
  ASSERT_TRUE(ChooseFromMenu(Pid(), tray, WM_APP + 10, WM_RBUTTONUP, 5));
  HWND save = dialog();
  ASSERT_NE(save, nullptr);
  AnswerFileDialog(save, all);
  HWND done = Box(L"2 lembretes exportados", false, IDI_INFORMATION, false, main);
  ASSERT_NE(done, nullptr);
  Press(done, IDOK);
  const std::string calendar = ReadBytes(all);
  EXPECT_EQ(calendar.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
  EXPECT_NE(calendar.find("SUMMARY:Dois\r\n"), std::string::npos);

  // The grid's menu exports the listed range only.
  std::vector<HWND> edits;
  HWND list = ListRange(main, L"01/01/2030", L"01/01/2030", &edits);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Um"; }));
  const std::wstring listed = Wide(folder.Path()) + L"lista.ics";
  ASSERT_TRUE(ChooseFromMenu(Pid(), ::GetDlgItem(list, 105), WM_RBUTTONUP, MAKELPARAM(20, 30), 1));
  save = dialog();
  ASSERT_NE(save, nullptr);
  AnswerFileDialog(save, listed);
  done = Box(L"1 lembrete exportado", false, IDI_INFORMATION, false, list);
  ASSERT_NE(done, nullptr);
  Press(done, IDOK);
  EXPECT_NE(ReadBytes(listed).find("SUMMARY:Um\r\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(listed).find("SUMMARY:Dois"), std::string::npos);
  quelvo_.reset();

  // Another program folder, holding "Um" already: "Importar Calendário", the sixth item.
  program_ = folder.Path() + "Outra pasta\\";
  fs::create_directories(fs::path(Wide(program_)) / L"dados");
  fs::copy(fs::path(QuelvoExe()).parent_path() / L"dados", fs::path(Wide(program_)) / L"dados",
           fs::copy_options::recursive);
  platform::SetProgramFolder(program_);
  Seed({{At(2030, 1, 1, 8, 0), 0, "Um"}});
  Start();
  main = Main();
  ASSERT_NE(main, nullptr);
  tray = WaitFor([&] { return TrayWindow(Pid()); });
  ASSERT_NE(tray, nullptr);
  ASSERT_TRUE(ChooseFromMenu(Pid(), tray, WM_APP + 10, WM_RBUTTONUP, 6));
  HWND open = dialog();
  ASSERT_NE(open, nullptr);
  AnswerFileDialog(open, all);
  // The summary, found by its text, with the reasons in its details.
  HWND summary = WaitFor([&] { return MessageBoxWith(Pid(), L"1 lembrete importado, 1 ignorado"); });
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(TextOf(summary), L"Quelvo 3.0");
  const std::vector<HWND> details = ChildrenOf(summary, L"Edit");
  ASSERT_EQ(details.size(), 1u);
  EXPECT_EQ(TextOf(details[0]), L"ignorado: Um: já existe");
  EXPECT_NE(ChildByText(summary, L"Detalhes:", L"Static"), nullptr);
  Press(summary, IDOK);
  EXPECT_TRUE(Gone(summary));
  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2030, 1, 1, 8, 0), 0, "Um"}, {At(2030, 1, 2, 8, 0), 1, "Dois"}}));
}

TEST_F(QuelvoGui, MinimizedStartTrayDoubleClickSecondCopyAndTheEnd) {
  Start(L"minimize");
  // The main window exists but stays hidden; the tray icon's window is there.
  ASSERT_NE(WaitFor([&] { return MainWindow(Pid(), false); }), nullptr);
  HWND tray = WaitFor([&] { return TrayWindow(Pid()); });
  ASSERT_NE(tray, nullptr);

  // A second start for the notification area ends at once and leaves the running copy as it is.
  DWORD code = 99;
  {
    Process second(QuelvoExe(), Program(), L"MINIMIZE");
    ASSERT_TRUE(second.WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
  }
  // A double click on the icon opens a new reminder window; queued after
  // anything the second start could have asked, it also marks that as done.
  ::PostMessageW(tray, WM_APP + 10, 1, WM_LBUTTONDBLCLK);
  HWND fresh = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(MainWindow(Pid()), nullptr) << "the MINIMIZE start or the second one showed the main window";
  Click(ControlOf(fresh, forms::kLembreteWindow, "bAlternate"));
  EXPECT_TRUE(Gone(fresh));

  // A plain second start ends at once and brings the running copy's main
  // window forward, with the keyboard focus.
  {
    Process second(QuelvoExe(), Program());
    ASSERT_TRUE(second.WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
  }
  HWND main = WaitFor([&] { return MainWindow(Pid()); }, 1000);
  ASSERT_NE(main, nullptr) << "the second start did not show the main window";
  EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main && ::IsChild(main, Focused(main)); }, 1000));

  // "Encerrar o Programa", answered No: the program goes on.
  Click(ControlOf(main, forms::kMainWindow, "bFecha"));
  HWND ask = Box(L"Encerrar o Quelvo irá paralizar a checagem de lembretes pendentes. Tem certeza de que deseja "
                 L"encerrar o programa?",
                 true, IDI_QUESTION, true, nullptr);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDNO);
  EXPECT_TRUE(Gone(ask));
  EXPECT_FALSE(quelvo_->WaitForExit(500, &code));

  // A close request only hides; after the session-end query it ends the program, without a question.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_FALSE(quelvo_->WaitForExit(500, &code));
  DWORD_PTR agreed = 0;
  ASSERT_NE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &agreed), 0);
  EXPECT_EQ(agreed, 1u);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(quelvo_->WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
}

TEST_F(QuelvoGui, TheMainWindowIsCutToItsPictureAndDraggedByIt) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(main, region), ERROR);
  EXPECT_FALSE(::PtInRegion(region, 46, 10)) << "a pin-hole";
  EXPECT_FALSE(::PtInRegion(region, 0, 0)) << "outside the rounded corner";
  EXPECT_TRUE(::PtInRegion(region, 200, 100));
  ::DeleteObject(region);

  // Signed screen coordinates: also on a monitor left of and above the primary one.
  for (POINT at : {POINT{100, 80}, POINT{-300, -100}}) {
    ::SetWindowPos(main, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] {
      RECT r;
      ::GetWindowRect(main, &r);
      return r.left == at.x && r.top == at.y;
    }));
    auto hit = [&](int x, int y) {
      return ::SendMessageW(main, WM_NCHITTEST, 0, MAKELPARAM(at.x + x, at.y + y));
    };
    EXPECT_EQ(hit(384 + 22, 13 + 22), HTCLIENT) << "the hide spot, its right and bottom edges included";
    EXPECT_EQ(hit(384, 13), HTCLIENT);
    EXPECT_EQ(hit(384 + 23, 13), HTCAPTION);
    EXPECT_EQ(hit(200, 60), HTCAPTION) << "the picture drags the window";
  }
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

// What MSAA reads for one window: its name and role, through oleacc as a
// screen reader asks for them (WM_GETOBJECT answered by the program, or the
// standard object).
struct Spoken {
  std::wstring name;
  long role = 0;
};

Spoken MsaaOf(HWND window, LONG object = OBJID_CLIENT) {
  Spoken spoken;
  IAccessible* acc = nullptr;
  const HRESULT found =
      ::AccessibleObjectFromWindow(window, static_cast<DWORD>(object), __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
  if (FAILED(found)) return spoken;
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (acc->get_accName(self, &name) == S_OK && name) spoken.name = name;
  ::SysFreeString(name);
  VARIANT role;
  ::VariantInit(&role);
  if (SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4) spoken.role = role.lVal;
  acc->Release();
  return spoken;
}

bool Visible(HWND w) { return (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

// The label Windows' MSAA gives a field: the nearest visible static text
// before it in z-order, not beyond another tab stop.
std::wstring LabelOf(HWND control) {
  for (HWND w = ::GetWindow(control, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV)) {
    if (!Visible(w)) continue;
    if (ClassOf(w) == L"Static") return TextOf(w);
    if (::GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP) break;
  }
  return {};
}

// The name Windows reads for a control: a button its text, a field its label.
std::wstring NameOf(HWND control) {
  return ClassOf(control) == L"Button" ? TextOf(control) : LabelOf(control);
}

// Every visible tab stop of a window in tab order, as "class | name", with
// the window's own name and role first; printed for the log. `unnamed`
// counts the tab stops without a name.
std::wstring Listing(HWND window, int* unnamed) {
  const Spoken own = MsaaOf(window);
  std::wostringstream out;
  out << L"janela \"" << TextOf(window) << L"\": nome MSAA \"" << own.name << L"\", papel " << own.role << L"\n";
  *unnamed = 0;
  std::vector<HWND> all;
  ::EnumChildWindows(
      window, [](HWND w, LPARAM l) { reinterpret_cast<std::vector<HWND>*>(l)->push_back(w); return TRUE; },
      reinterpret_cast<LPARAM>(&all));
  for (HWND w : all) {
    if (!::IsWindowVisible(w) || !(::GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP)) continue;
    const std::wstring name = NameOf(w);
    if (name.empty()) ++*unnamed;
    out << L"  " << ClassOf(w) << L" | " << name << L" | oleacc: \"" << MsaaOf(w).name << L"\"\n";
  }
  std::printf("%s", platform::Utf8(out.str()).c_str());  // the listing, in the test's log
  return out.str();
}

// Tabs through the window until `control` has the focus, each Tab waited
// for until the focus has moved.
bool TabTo(HWND window, HWND control) {
  if (!control || !WaitUntil([&] { return Focused(window) != nullptr; })) return false;
  for (int i = 0; i < 20; ++i) {
    HWND now = Focused(window);
    if (now == control) return true;
    Key(now, VK_TAB);
    if (!WaitUntil([&] { return Focused(window) != now; }, 3000)) return false;
  }
  return false;
}

class QuelvoAccessibility : public QuelvoGui {
 protected:
  void SetUp() override {
    QuelvoGui::SetUp();
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  void TearDown() override {
    QuelvoGui::TearDown();
    ::CoUninitialize();
  }
};

TEST_F(QuelvoAccessibility, EveryWindowNamesItsControlsAndADueAlertSaysWhatIsDue) {
  Seed({{At(2020, 1, 1, 8, 0), 0, "Pagar a conta\r\nno banco"}, {At(2030, 5, 10, 8, 0), 0, "Primeiro"}});
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReminderWindows(Pid()).size() == 1; }, kDueCheckWait));
  HWND alert = ReminderWindows(Pid())[0];
  // The caption stays the program's title; MSAA reads what is due, as an alert.
  EXPECT_EQ(TextOf(alert), L"Quelvo 3.0");
  EXPECT_EQ(MsaaOf(alert).name, L"Lembrete: 01/01/2020 08:00 — Pagar a conta no banco");
  EXPECT_EQ(MsaaOf(alert).role, ROLE_SYSTEM_ALERT);
  EXPECT_EQ(MsaaOf(alert, OBJID_WINDOW).name, MsaaOf(alert).name);
  int unnamed = -1;
  const std::wstring alert_listing = Listing(alert, &unnamed);
  EXPECT_EQ(unnamed, 0) << platform::Utf8(alert_listing);
  const std::vector<HWND> edits = ChildrenOf(alert, L"Edit");
  ASSERT_EQ(edits.size(), 3u);
  EXPECT_EQ(LabelOf(edits[0]), L"Data");
  EXPECT_EQ(LabelOf(edits[1]), L"Hora");
  EXPECT_EQ(LabelOf(ChildrenOf(alert, L"ComboBox")[0]), L"Repetição");
  EXPECT_EQ(LabelOf(edits[2]), platform::Utf16(forms::kReminderTextName));
  // Escape closes a due reminder without an answer: it stays stored, still due.
  Key(edits[2], VK_ESCAPE);
  EXPECT_TRUE(Gone(alert));

  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND fresh = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(MsaaOf(fresh).name, L"Novo lembrete");
  EXPECT_EQ(MsaaOf(fresh).role, ROLE_SYSTEM_DIALOG);
  Listing(fresh, &unnamed);
  EXPECT_EQ(unnamed, 0);
  // Escape is "Cancelar" here.
  Key(ChildrenOf(fresh, L"Edit")[2], VK_ESCAPE);
  EXPECT_TRUE(Gone(fresh));

  std::vector<HWND> list_edits;
  HWND list = ListRange(main, L"01/01/2030", L"31/12/2030", &list_edits);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(list_edits[2]) == L"Primeiro"; }));
  EXPECT_EQ(MsaaOf(list).name, L"Lista de lembretes");
  Listing(list, &unnamed);
  EXPECT_EQ(unnamed, 0);
  EXPECT_EQ(LabelOf(list_edits[0]), L"Mostrar lembretes entre");
  EXPECT_EQ(LabelOf(list_edits[1]), L"e");
  EXPECT_EQ(LabelOf(ControlOf(list, forms::kListWindow, "gridLembretes")), L"Lembretes");
  // The read-only text is a tab stop.
  EXPECT_TRUE(::GetWindowLongPtrW(list_edits[2], GWL_STYLE) & WS_TABSTOP);
  Key(list_edits[2], VK_ESCAPE);
  EXPECT_TRUE(Gone(list));

  Click(ControlOf(main, forms::kMainWindow, "bConfig"));
  HWND config = WaitFor([&] { return ConfigWindow(Pid()); });
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(MsaaOf(config).name, L"Configurações");
  Listing(config, &unnamed);
  EXPECT_EQ(unnamed, 0);
  EXPECT_EQ(TextOf(ControlOf(config, forms::kConfigWindow, "csFront")), L"Cor do texto: preto");
  Key(ControlOf(config, forms::kConfigWindow, "lbWave"), VK_ESCAPE);
  EXPECT_TRUE(Gone(config));

  EXPECT_EQ(StoredNow().size(), 2u);
}

// A loopback port where nothing listens: taken from the system, then let go.
int RefusingPort() {
  WSADATA wsa;
  if (::WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 0;
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  int port = 0;
  if (s != INVALID_SOCKET && ::bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ::ntohs(address.sin_port);
  if (s != INVALID_SOCKET) ::closesocket(s);
  ::WSACleanup();
  return port;
}

// "Sincronização" from the tray: the set-up typed in and saved against an
// address where nothing listens; the refusal reaches the status line while
// the window keeps answering, and no account is kept.
TEST_F(QuelvoAccessibility, SyncSetUpFromTheTrayShowsARefusalWhileTheWindowAnswers) {
  const int port = RefusingPort();
  ASSERT_NE(port, 0);
  Start();
  ASSERT_NE(Main(), nullptr);
  HWND tray = WaitFor([&] { return TrayWindow(Pid()); });
  ASSERT_NE(tray, nullptr);
  // The seventh item of the tray menu.
  ASSERT_TRUE(ChooseFromMenu(Pid(), tray, WM_APP + 10, WM_RBUTTONUP, 7));
  HWND sync = WaitFor([&] { return SyncWindow(Pid()); });
  ASSERT_NE(sync, nullptr);
  const auto& table = forms::kSyncWindow;
  HWND address = ControlOf(sync, table, "eEndereco"), user = ControlOf(sync, table, "eUsuario");
  HWND password = ControlOf(sync, table, "eSenha"), status = ControlOf(sync, table, "lStatus");
  HWND save = ControlOf(sync, table, "bSalvar"), close = ControlOf(sync, table, "bFechar");
  EXPECT_EQ(MsaaOf(sync).name, L"Sincronização");
  EXPECT_EQ(LabelOf(address), L"Endereço");
  EXPECT_EQ(LabelOf(user), L"Usuário");
  EXPECT_EQ(LabelOf(password), L"Senha");
  EXPECT_TRUE(::GetWindowLongPtrW(password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(TextOf(password), L"");
  EXPECT_TRUE(WaitUntil([&] { return Focused(sync) == address; }));
  EXPECT_FALSE(::IsWindowEnabled(ControlOf(sync, table, "bSincronizar")));  // nothing set up yet

  const std::wstring typed = L"http://127.0.0.1:" + std::to_wstring(port) + L"/dav/";
  Type(address, typed);
  Type(user, L"ana");
  Type(password, L"s3nha");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(password) == L"s3nha"; }));
  EXPECT_EQ(TextOf(address), typed);
  // Pressed and answered at once: the check goes on in the background.
  ::SendMessageW(save, BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(status), L"Verificando...");
  EXPECT_FALSE(::IsWindowEnabled(save));
  EXPECT_FALSE(::IsWindowEnabled(address));
  EXPECT_TRUE(::IsWindowEnabled(close));

  // Every look at the status line also asks the window for an answer within a quarter second.
  bool answered = true;
  std::wstring seen;
  const bool refused = WaitUntil(
      [&] {
        DWORD_PTR result = 0;
        answered = answered && ::SendMessageTimeoutW(sync, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result) != 0;
        seen = TextOf(status);
        return seen.rfind(L"A conta não foi salva: ", 0) == 0;
      },
      30000);
  ASSERT_TRUE(refused) << platform::Utf8(seen);
  EXPECT_TRUE(answered);
  EXPECT_NE(seen.find(L"conectar"), std::wstring::npos) << platform::Utf8(seen);
  EXPECT_TRUE(::IsWindowEnabled(save));
  EXPECT_EQ(TextOf(password), L"s3nha");  // kept for another try
  // A screen reader reads the status line itself.
  EXPECT_EQ(MsaaOf(status).name, seen);

  // Escape closes it; opened again, nothing was kept and no password shows.
  Key(address, VK_ESCAPE);
  EXPECT_TRUE(Gone(sync));
  ASSERT_TRUE(ChooseFromMenu(Pid(), tray, WM_APP + 10, WM_RBUTTONUP, 7));
  sync = WaitFor([&] { return SyncWindow(Pid()); });
  ASSERT_NE(sync, nullptr);
  EXPECT_EQ(TextOf(ControlOf(sync, table, "eSenha")), L"");
  EXPECT_NE(TextOf(ControlOf(sync, table, "lStatus")).rfind(L"A conta não foi salva", 0), 0u);
}

TEST_F(QuelvoAccessibility, KeysAloneAlterDeletePickAColourAndLeaveTheOtherSoundAlone) {
  Seed({{At(2030, 5, 10, 8, 0), 0, "Primeiro"}, {At(2030, 5, 11, 9, 0), 0, "Segundo"}});
  std::vector<HWND> edits;
  HWND list = StartAndListTenToEleventhOfMay(&edits);
  ASSERT_NE(list, nullptr);
  HWND grid = ControlOf(list, forms::kListWindow, "gridLembretes");

  // Enter on a row is "Alterar"; Escape closes the alter window as "Cancelar".
  Key(grid, VK_RETURN);
  HWND alter = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(alter, nullptr);
  EXPECT_EQ(MsaaOf(alter).name, L"Alterar lembrete");
  Key(ChildrenOf(alter, L"Edit")[2], VK_ESCAPE);
  EXPECT_TRUE(Gone(alter));

  // Delete is "Excluir", with its question.
  Key(grid, VK_DELETE);
  HWND ask = Box(L"Deseja realmente excluir este lembrete?", true, IDI_QUESTION, true, nullptr);
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edits[2]) == L"Segundo"; }));
  Key(grid, VK_ESCAPE);
  EXPECT_TRUE(Gone(list));

  Click(ControlOf(Main(), forms::kMainWindow, "bConfig"));
  HWND config = WaitFor([&] { return ConfigWindow(Pid()); });
  ASSERT_NE(config, nullptr);
  // Enter on the focused colour selector opens the palette; arrows and Enter pick.
  HWND front = ControlOf(config, forms::kConfigWindow, "csFront");
  ASSERT_TRUE(TabTo(config, front));
  Key(front, VK_RETURN);
  HWND palette = WaitFor([&] { return PaletteWindow(Pid()); });
  ASSERT_NE(palette, nullptr);
  Key(palette, VK_RIGHT);  // from "preto" to "prata"
  Key(palette, VK_DOWN);   // to "amarelo", below it
  EXPECT_TRUE(WaitUntil([&] { return TextOf(palette) == L"Paleta de cores: amarelo"; })) << platform::Utf8(TextOf(palette));
  Key(palette, VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(front) == L"Cor do texto: amarelo"; })) << platform::Utf8(TextOf(front));

  // Passing over "[Outro som...]" opens nothing; Enter on it opens the file dialog.
  HWND sounds = ControlOf(config, forms::kConfigWindow, "lbWave");
  ASSERT_TRUE(TabTo(config, sounds));
  Key(sounds, VK_END);
  const auto on = [&](int from_end) {
    return WaitUntil([&] {
      return ::SendMessageW(sounds, LB_GETCURSEL, 0, 0) == ::SendMessageW(sounds, LB_GETCOUNT, 0, 0) - from_end;
    });
  };
  EXPECT_TRUE(on(1));
  // Keys are handled in order: once Up has moved on, End had its chance to
  // open a dialog (a modal one would have held the Up back).
  Key(sounds, VK_UP);
  EXPECT_TRUE(on(2));
  EXPECT_TRUE(Dialogs(Pid()).empty());
  Key(sounds, VK_END);
  EXPECT_TRUE(on(1));
  Key(sounds, VK_RETURN);
  HWND dialog = WaitFor([&] { auto d = Dialogs(Pid()); return d.empty() ? nullptr : d[0]; });
  ASSERT_NE(dialog, nullptr);
  Press(dialog, IDCANCEL);
  EXPECT_TRUE(Gone(dialog));

  // Enter on the focused flat button "Cancelar" closes the window.
  HWND cancel = ControlOf(config, forms::kConfigWindow, "bCancel");
  ASSERT_TRUE(TabTo(config, cancel));
  Key(cancel, VK_RETURN);
  EXPECT_TRUE(Gone(config));
}

// The shared keystroke cases, typed into the reminder window's fields after
// each one is entered by Tab and checked once it is left again; then one
// reminder typed this way, stored as typed.
TEST_F(QuelvoGui, DatesAndTimesTypedAsAUserTypesThemAreStoredAsTyped) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND window = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(window, nullptr);
  const std::vector<HWND> edits = ChildrenOf(window, L"Edit");  // date, time, text
  ASSERT_EQ(edits.size(), 3u);
  HWND date = edits[0], time = edits[1];
  auto type_and_leave = [&](HWND field, const char* keys) {
    if (!TabTo(window, field)) return false;
    Type(field, platform::Utf16(keys));
    Key(field, VK_TAB);
    return WaitUntil([&] { return Focused(window) != field; });
  };
  for (const auto& c : testing::kTypedTimeCases) {
    ASSERT_TRUE(type_and_leave(time, c.keys));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(time) == platform::Utf16(c.expected); }, 3000))
        << c.keys << " left the time field showing \"" << platform::Utf8(TextOf(time)) << "\"";
  }
  for (const auto& c : testing::kTypedDateCases) {
    ASSERT_TRUE(type_and_leave(date, c.keys));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(date) == platform::Utf16(c.expected); }, 3000))
        << c.keys << " left the date field showing \"" << platform::Utf8(TextOf(date)) << "\"";
  }

  // The places stay shown while typing; letters are not taken.
  ASSERT_TRUE(TabTo(window, time));
  Type(time, L"ab5x");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(time) == L"5 :  "; }, 3000)) << platform::Utf8(TextOf(time));

  ASSERT_TRUE(type_and_leave(date, "5/3/27"));
  ASSERT_TRUE(type_and_leave(time, "7:30"));
  SetText(edits[2], L"Digitado");
  Click(ControlOf(window, forms::kLembreteWindow, "bOK"));
  EXPECT_TRUE(Gone(window));
  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2027, 3, 5, 7, 30), 0, "Digitado"}}));
}

// The events line of 15/01/2027 is drawn whole in the events area: the
// area's pixels on the screen are those of the text drawn here, unclipped,
// in the same font and at the width it is wrapped to.
TEST_F(QuelvoGui, TheEventsTextIsDrawnWhole) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND window = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(window, nullptr);
  HWND date = ChildrenOf(window, L"Edit")[0];
  ASSERT_TRUE(TabTo(window, date));
  Type(date, L"15012027");
  Key(date, VK_RETURN);
  HWND events = ControlOf(window, forms::kLembreteWindow, "scroll");
  const std::wstring prefix = L"Informações do dia: ";
  ASSERT_TRUE(WaitUntil([&] { return TextOf(events).find(L"Verão") != std::wstring::npos; }));
  const std::wstring text = TextOf(events).substr(prefix.size());
  RECT client;
  ::GetClientRect(events, &client);
  POINT origin{0, 0};
  ::ClientToScreen(events, &origin);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  auto pixels = [&](HBITMAP bitmap) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> p(static_cast<size_t>(client.right) * client.bottom);
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(client.bottom), p.data(), &bi, DIB_RGB_COLORS);
    for (uint32_t& v : p) v &= 0xFFFFFF;
    return p;
  };
  HBITMAP drawn = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = ::SelectObject(memory, drawn);
  ::FillRect(memory, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
  HFONT font = ::CreateFontIndirectW(&lf);
  ::SelectObject(memory, font);
  ::SetBkMode(memory, TRANSPARENT);
  RECT wrap{0, 0, 216, client.bottom};
  ::DrawTextW(memory, text.c_str(), -1, &wrap, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
  HBITMAP shown = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  ::SelectObject(memory, shown);
  // The program paints in its own time: compare until it has.
  EXPECT_TRUE(WaitUntil([&] {
    ::BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    return pixels(shown) == pixels(drawn);
  }, 3000)) << "the events area differs from \"" << platform::Utf8(text) << "\" drawn whole";
  ::SelectObject(memory, old);
  ::DeleteObject(font);
  ::DeleteObject(shown);
  ::DeleteObject(drawn);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

// Every clickable control shows the program's hand cursor: the pointer is
// moved over each one (buttons, check box, colour selectors, the date
// fields' drop-down buttons, combo and list boxes, the grid) and the cursor
// on the screen read back.
TEST_F(QuelvoGui, EveryClickableControlShowsTheHandCursor) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  auto cursor_now = [] {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    ::GetCursorInfo(&info);
    return info.hCursor;
  };
  // The pointer is moved over the control, and the control asked at once
  // which cursor it shows there (the message the move itself sends), so
  // that the cursor read back is the control's own.
  // `at`: window coordinates of the point; the centre when left out.
  auto cursor_over = [&](HWND control, LPARAM hit = HTCLIENT, std::optional<POINT> at = std::nullopt) {
    RECT r;
    ::GetWindowRect(control, &r);
    const POINT p = at ? POINT{r.left + at->x, r.top + at->y} : POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::SetCursorPos(p.x, p.y);
    ::SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(hit, WM_MOUSEMOVE));
    return cursor_now();
  };
  HWND first = ControlOf(main, forms::kMainWindow, "bNovo");
  // The program's hand, read once the pointer's move has reached the button
  // (until then the screen may still show the arrow).
  const HCURSOR system_arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR hand = cursor_over(first);
  for (int tries = 0; tries < 40 && hand == system_arrow; ++tries) {
    ::Sleep(50);
    hand = cursor_over(first);
  }
  ASSERT_NE(hand, system_arrow) << "the button shows the arrow";
  // The picture that drags the window shows the arrow: the two can be told
  // apart. The point lies on the bare picture, clear of every control, so the
  // move's own cursor message cannot come from a button under it.
  // Tried again like every point below: Wine may still show the cursor of the
  // point before.
  bool arrow = false;
  for (int tries = 0; tries < 40 && !arrow; ++tries) {
    arrow = cursor_over(main, HTCAPTION, POINT{150, 60}) != hand;
    if (!arrow) ::Sleep(50);
  }
  ASSERT_TRUE(arrow) << "the picture shows the hand too";
  std::vector<std::wstring> without;
  // Wine may carry a pointer move to the X server after the cursor message has
  // been answered, so a point is tried again until the hand shows (for at most
  // two seconds): a control that never shows it still fails.
  auto shows_hand = [&](auto&& point_and_read) {
    for (int tries = 0; tries < 40; ++tries) {
      if (point_and_read() == hand) return true;
      ::Sleep(50);
    }
    return false;
  };
  // Its controls, the grid among its own child windows, and the click areas of its picture.
  auto check_window = [&](HWND window, std::vector<RECT> areas) {
    for (const wchar_t* kind : {L"Button", L"ComboBox", L"ListBox", L"QuelvoWnd"}) {
      for (HWND control : ChildrenOf(window, kind)) {
        if (!::IsWindowVisible(control) || (ClassOf(control) == L"QuelvoWnd" && ::GetDlgCtrlID(control) != forms::kListWindow["gridLembretes"].id)) continue;
        if (!shows_hand([&] { return cursor_over(control); })) without.push_back(ClassOf(control) + L" \"" + TextOf(control) + L"\"");
      }
    }
    for (const RECT& area : areas) {
      // A point of the area inside the window's shape: over a see-through
      // pixel the move's own cursor message would go to the window beneath.
      POINT at{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
      HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
      if (::GetWindowRgn(window, shape) != ERROR && !::PtInRegion(shape, at.x, at.y)) {
        for (LONG y = area.top; y < area.bottom && !::PtInRegion(shape, at.x, at.y); ++y)
          for (LONG x = area.left; x < area.right; ++x)
            if (::PtInRegion(shape, x, y)) {
              at = {x, y};
              break;
            }
      }
      ::DeleteObject(shape);
      ::ClientToScreen(window, &at);
      const bool hand_shown = shows_hand([&] {
        ::SetCursorPos(at.x, at.y);
        ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return cursor_now();
      });
      if (!hand_shown) without.push_back(L"area of \"" + TextOf(window) + L"\" at " + std::to_wstring(area.left));
    }
  };
  const RECT hide{384, 13, 406, 35};
  check_window(main, {hide});
  Click(first);
  HWND reminder = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(reminder, nullptr);
  check_window(reminder, {RECT{226, 180, 250, 206}});
  Click(ControlOf(reminder, forms::kLembreteWindow, "bAlternate"));
  Click(ControlOf(main, forms::kMainWindow, "bLista"));
  HWND list = WaitFor([&] { return ListWindow(Pid()); });
  ASSERT_NE(list, nullptr);
  check_window(list, {hide});
  Click(ControlOf(list, forms::kListWindow, "bCancel"));
  Click(ControlOf(main, forms::kMainWindow, "bConfig"));
  HWND config = WaitFor([&] { return ConfigWindow(Pid()); });
  ASSERT_NE(config, nullptr);
  check_window(config, {hide, RECT{61, 197, 351, 212}});
  Click(ControlOf(config, forms::kConfigWindow, "csFront"));
  HWND palette = WaitFor([&] { return PaletteWindow(Pid()); });
  ASSERT_NE(palette, nullptr);
  if (!shows_hand([&] { return cursor_over(palette); })) without.push_back(L"the colour palette");
  std::wstring listing;
  for (const std::wstring& w : without) listing += w + L"\n";
  EXPECT_TRUE(without.empty()) << "without the hand cursor:\n" << platform::Utf8(listing);
}

// The drop-down calendar says what it is and names its four buttons, which
// move the date a year or a month.
TEST_F(QuelvoAccessibility, TheDropDownCalendarNamesItselfAndItsFourButtons) {
  Start();
  HWND main = Main();
  ASSERT_NE(main, nullptr);
  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND window = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(window, nullptr);
  Click(DropDownOf(window, forms::kLembreteWindow, "eData"));
  HWND popup = WaitFor([&] {
    for (HWND w : TopWindows(Pid()))
      if (!ChildrenOf(w, L"SysMonthCal32").empty()) return w;
    return static_cast<HWND>(nullptr);
  });
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(TextOf(popup), L"Escolha uma Data");
  std::vector<std::wstring> names;
  for (HWND b : ChildrenOf(popup, L"Button")) names.push_back(MsaaOf(b).name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Ano Anterior", L"Mês Anterior", L"Próximo Mês", L"Próximo Ano"}));

  // The calendar's date, read through a buffer in the program's memory.
  HWND calendar = ChildrenOf(popup, L"SysMonthCal32")[0];
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, Pid());
  ASSERT_NE(process, nullptr);
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT, PAGE_READWRITE);
  auto selected = [&] {
    SYSTEMTIME st{};
    ::SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process, remote, &st, sizeof st, nullptr);
    return st.wYear * 100 + st.wMonth;
  };
  const int before = selected();
  Click(ChildByText(popup, L"Próximo Ano"));
  EXPECT_TRUE(WaitUntil([&] { return selected() == before + 100; }));
  Click(ChildByText(popup, L"Mês Anterior"));
  EXPECT_TRUE(WaitUntil([&] { return selected() == before + 100 - (before % 100 == 1 ? 89 : 1); }));
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
}

// The children of a window's client object as MSAA gives them: name, role and state.
struct Part {
  std::wstring name;
  long role = 0;
  long state = 0;
};
std::vector<Part> PartsOf(HWND window, IAccessible** keep = nullptr) {
  std::vector<Part> parts;
  IAccessible* acc = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&acc))))
    return parts;
  long count = 0;
  acc->get_accChildCount(&count);
  for (long i = 1; i <= count; ++i) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = i;
    Part part;
    BSTR name = nullptr;
    if (acc->get_accName(child, &name) == S_OK && name) part.name = name;
    ::SysFreeString(name);
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(acc->get_accRole(child, &v)) && v.vt == VT_I4) part.role = v.lVal;
    ::VariantInit(&v);
    if (SUCCEEDED(acc->get_accState(child, &v)) && v.vt == VT_I4) part.state = v.lVal;
    parts.push_back(part);
  }
  if (keep) *keep = acc;
  else acc->Release();
  return parts;
}

// What a screen reader reaches beyond the windows' controls: the list's
// rows by their summary, the events area's toggle, and each colour of the
// palette by its name.
TEST_F(QuelvoAccessibility, RowsTogglesAndColoursAreNamedObjects) {
  Seed({{At(2030, 5, 10, 8, 0), 0, "Primeiro"}, {At(2030, 5, 11, 9, 0), 3, "Segundo"}});
  std::vector<HWND> edits;
  HWND list = StartAndListTenToEleventhOfMay(&edits);
  ASSERT_NE(list, nullptr);
  HWND grid = ControlOf(list, forms::kListWindow, "gridLembretes");
  EXPECT_EQ(MsaaOf(grid).name, L"Lembretes");
  EXPECT_EQ(MsaaOf(grid).role, ROLE_SYSTEM_LIST);
  std::vector<Part> rows = PartsOf(grid);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, L"10/05/2030, 08:00, Nenhuma: Primeiro");
  EXPECT_EQ(rows[1].name, L"11/05/2030, 09:00, Mensal: Segundo");
  EXPECT_EQ(rows[0].role, ROLE_SYSTEM_LISTITEM);
  EXPECT_TRUE(rows[0].state & STATE_SYSTEM_SELECTED);
  Key(grid, VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return (PartsOf(grid)[1].state & STATE_SYSTEM_SELECTED) != 0; }));
  Key(grid, VK_ESCAPE);
  EXPECT_TRUE(Gone(list));

  HWND main = Main();
  Click(ControlOf(main, forms::kMainWindow, "bNovo"));
  HWND window = WaitFor([&] { auto w = ReminderWindows(Pid()); return w.empty() ? nullptr : w[0]; });
  ASSERT_NE(window, nullptr);
  IAccessible* acc = nullptr;
  std::vector<Part> parts = PartsOf(window, &acc);
  ASSERT_NE(acc, nullptr);
  long toggle = 0;
  for (size_t i = 0; i < parts.size(); ++i)
    if (parts[i].name == L"Mostrar informações do dia") toggle = static_cast<long>(i) + 1;
  ASSERT_NE(toggle, 0) << "no toggle for the events area";
  EXPECT_EQ(parts[static_cast<size_t>(toggle) - 1].role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_TRUE(parts[static_cast<size_t>(toggle) - 1].state & STATE_SYSTEM_CHECKED) << "shown by default";
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = toggle;
  EXPECT_EQ(acc->accDoDefaultAction(child), S_OK);
  acc->Release();
  EXPECT_TRUE(WaitUntil([&] {
    RECT r;
    ::GetClientRect(window, &r);
    return r.bottom == 206;
  })) << "pressed, the toggle closes the events area";
  EXPECT_FALSE(PartsOf(window)[static_cast<size_t>(toggle) - 1].state & STATE_SYSTEM_CHECKED);
  Click(ControlOf(window, forms::kLembreteWindow, "bAlternate"));

  Click(ControlOf(main, forms::kMainWindow, "bConfig"));
  HWND config = WaitFor([&] { return ConfigWindow(Pid()); });
  ASSERT_NE(config, nullptr);
  Click(ControlOf(config, forms::kConfigWindow, "csFront"));
  HWND palette = WaitFor([&] { return PaletteWindow(Pid()); });
  ASSERT_NE(palette, nullptr);
  std::vector<Part> colours = PartsOf(palette);
  ASSERT_EQ(colours.size(), 21u) << "twenty colours and \"Outra...\"";
  EXPECT_EQ(colours[1].name, L"preto");
  EXPECT_TRUE(colours[1].state & STATE_SYSTEM_FOCUSED) << "the current colour";
  EXPECT_EQ(colours[4].name, L"vermelho");
  EXPECT_EQ(colours[20].name, L"Outra...");
}

// The "Adiar" control of a due alert, driven as a user drives it.
class QuelvoAdiar : public QuelvoAccessibility {
 protected:
  std::string DataFiles() { return ReadBytes(Dados(L"tavodb.idx")) + "|" + ReadBytes(Dados(L"tavodb.dat")); }
  // The due alert of the one seeded reminder.
  HWND DueAlert() {
    if (!Main()) return nullptr;
    if (!WaitUntil([&] { return ReminderWindows(Pid()).size() == 1; }, kDueCheckWait)) return nullptr;
    return ReminderWindows(Pid())[0];
  }
  // The minute on the computer's clock, as the program reads it (this
  // process has the fixture's fixed clock).
  static double RealMinute() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, 0, 0);
  }
  // The open popup menu of the program, if any.
  HWND OpenMenu() {
    return WaitFor([&] {
      for (HWND w : TopWindows(Pid()))
        if (ClassOf(w) == L"#32768") return w;
      return static_cast<HWND>(nullptr);
    }, 5000);
  }
  // The time box of "Outro horário...", opened from the alert's menu.
  HWND OpenTimeBox(HWND alert) {
    Click(ChildByText(alert, L"&Adiar"));
    HWND menu = OpenMenu();
    if (!menu) return nullptr;
    for (int i = 0; i < 7; ++i) Key(menu, VK_DOWN);  // the five choices, "Amanhã", "Outro horário..."
    Key(menu, VK_RETURN);
    return WaitFor([&] {
      for (HWND w : TopWindows(Pid()))
        if (TextOf(w) == L"Adiar até") return w;
      return static_cast<HWND>(nullptr);
    });
  }
  // The snooze the program stored for the first reminder, read back read-only.
  std::optional<double> Snooze() {
    StoredNow();
    return store.SnoozedUntil(Lembretes[0].Id);
  }
};

TEST_F(QuelvoAdiar, TheFirstChoiceClosesTheAlertKeepsTheFilesAndTheListSaysAdiado) {
  Seed({{At(2020, 1, 1, 8, 0), 0, "Pagar a conta"}});
  Start();
  HWND alert = DueAlert();
  ASSERT_NE(alert, nullptr);
  HWND adiar = ChildByText(alert, L"&Adiar");
  ASSERT_NE(adiar, nullptr);
  EXPECT_TRUE(::IsWindowVisible(adiar));
  EXPECT_EQ(MsaaOf(adiar).name, L"Adiar");
  RECT ok, excluir, place;
  ::GetWindowRect(ChildByText(alert, L"OK"), &ok);
  ::GetWindowRect(ChildByText(alert, L"Excluir"), &excluir);
  ::GetWindowRect(adiar, &place);
  EXPECT_EQ(ok.right - ok.left, 60);
  EXPECT_LE(ok.right, excluir.left);
  EXPECT_LE(excluir.right, place.left);
  const std::string files = DataFiles();

  const double before = RealMinute();
  Click(adiar);
  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr) << "no menu";
  Key(menu, VK_DOWN);
  Key(menu, VK_RETURN);
  EXPECT_TRUE(Gone(alert));
  const double after = RealMinute();

  EXPECT_EQ(DataFiles(), files);
  EXPECT_EQ(StoredNow(), (std::vector<Stored>{{At(2020, 1, 1, 8, 0), 0, "Pagar a conta"}}));
  const std::optional<double> until = Snooze();
  ASSERT_TRUE(until);
  EXPECT_TRUE(*until == MinutesLater(before, 5) || *until == MinutesLater(after, 5)) << *until;

  std::vector<HWND> edits;
  HWND list = ListRange(Main(), L"01/01/2020", L"31/12/2020", &edits);
  ASSERT_NE(list, nullptr);
  HWND grid = ::GetDlgItem(list, 105);
  ASSERT_TRUE(WaitUntil([&] { return PartsOf(grid).size() == 1; }));
  EXPECT_NE(PartsOf(grid)[0].name.find(L"adiado até"), std::wstring::npos) << platform::Utf8(PartsOf(grid)[0].name);
}

TEST_F(QuelvoAdiar, AltAOpensTheMenuEscClosesItAndTheArrowsAndEnterPick) {
  Seed({{At(2020, 1, 1, 8, 0), 0, "Pagar a conta"}});
  Start();
  HWND alert = DueAlert();
  ASSERT_NE(alert, nullptr);
  HWND memo = ChildrenOf(alert, L"Edit")[2];
  // Alt+A as the keyboard gives it after TranslateMessage.
  ::PostMessageW(memo, WM_SYSCHAR, 'a', 1 | (1u << 29));
  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr) << "Alt+A opened no menu";
  Key(menu, VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }));
  EXPECT_TRUE(::IsWindowVisible(alert));
  EXPECT_FALSE(Snooze());

  const double before = RealMinute();
  ::PostMessageW(memo, WM_SYSCHAR, 'a', 1 | (1u << 29));
  menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  Key(menu, VK_DOWN);
  Key(menu, VK_DOWN);  // "10 minutos"
  Key(menu, VK_RETURN);
  EXPECT_TRUE(Gone(alert));
  const double after = RealMinute();
  const std::optional<double> until = Snooze();
  ASSERT_TRUE(until);
  EXPECT_TRUE(*until == MinutesLater(before, 10) || *until == MinutesLater(after, 10)) << *until;
}

// The time box of "Outro horário..." is laid out from its table: its
// client size and the places of "Hora", the field and the two buttons.
TEST_F(QuelvoAdiar, TheTimeBoxTakesItsPlacesFromItsTable) {
  Seed({{At(2020, 1, 1, 8, 0), 0, "Pagar a conta"}});
  Start();
  HWND alert = DueAlert();
  ASSERT_NE(alert, nullptr);
  HWND box = OpenTimeBox(alert);
  ASSERT_NE(box, nullptr) << "no time box";
  RECT client;
  ::GetClientRect(box, &client);
  EXPECT_EQ(client.right, forms::kSnoozeTimeClient.width);
  EXPECT_EQ(client.bottom, forms::kSnoozeTimeClient.height);
  auto place_of = [box](HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return forms::Rect{static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
                       static_cast<int>(r.bottom - r.top)};
  };
  HWND label = nullptr;  // the "Hora" shown; one of no size names the field
  for (HWND w : ChildrenOf(box, L"Static"))
    if (TextOf(w) == L"Hora" && place_of(w).width > 0) label = w;
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(place_of(label), forms::kSnoozeTimeBox["Label1"].place);
  for (const char* name : {"eHora", "bOK", "bCancel"}) {
    HWND control = ControlOf(box, forms::kSnoozeTimeBox, name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(place_of(control), forms::kSnoozeTimeBox[name].place) << name;
  }
}

// "Outro horário..." one minute on, under the computer's own clock: the
// alert closes, stays away until that minute and comes back at it, with
// the data files untouched.
TEST_F(QuelvoAdiar, AnotherTimeOneMinuteOnBringsTheAlertBackAtThatMinute) {
  Seed({{At(2020, 1, 1, 8, 0), 0, "Pagar a conta"}});
  Start();
  HWND alert = DueAlert();
  ASSERT_NE(alert, nullptr);
  const std::string files = DataFiles();
  // Away from the end of a minute, so that the typed minute is still to come when it is taken.
  ASSERT_TRUE(WaitUntil([] {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now.wSecond < 45;
  }, 20000));
  const double until = MinutesLater(RealMinute(), 1);
  const ClockTime at = DecodeTime(until);
  wchar_t typed[8];
  ::swprintf(typed, 8, L"%02d%02d", at.Hour, at.Minute);

  HWND box = OpenTimeBox(alert);
  ASSERT_NE(box, nullptr) << "no time box";
  HWND field = ChildrenOf(box, L"Edit").at(0);
  Key(field, VK_HOME);
  Type(field, typed);
  const std::wstring shown = std::wstring(typed, 2) + L":" + std::wstring(typed + 2, 2);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(field) == shown; }, 3000)) << platform::Utf8(TextOf(field));
  Key(field, VK_RETURN);
  EXPECT_TRUE(Gone(alert));
  EXPECT_EQ(Snooze(), std::optional<double>(until));
  EXPECT_TRUE(ReminderWindows(Pid()).empty());

  // Back within the minute's first due check (one every 10 s).
  ASSERT_TRUE(WaitUntil([&] { return ReminderWindows(Pid()).size() == 1; }, 100000)) << "the alert did not come back";
  EXPECT_GE(RealMinute(), until) << "it came back before its minute";
  EXPECT_EQ(TextOf(ChildrenOf(ReminderWindows(Pid())[0], L"Edit")[2]), L"Pagar a conta");
  EXPECT_EQ(DataFiles(), files);
}

}  // namespace
}  // namespace tavo
