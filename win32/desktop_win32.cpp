#include "win32/details_box.h"
#include "win32/desktop_win32.h"

#include <commdlg.h>

#include <type_traits>
#include <vector>

#include "forms/config_form.h"
#include "forms/lembrete_form.h"
#include "forms/list_form.h"
#include "platform/system.h"
#include "win32/application.h"
#include "win32/config_window.h"
#include "win32/lembrete_window.h"
#include "win32/list_window.h"
#include "win32/main_window.h"
#include "win32/shaped_window.h"
#include "win32/sync_window.h"

namespace tavo::win32 {

HWND WindowOf(const forms::Form* form) {
  if (!form) return nullptr;
  const auto* window = dynamic_cast<const Wnd*>(&form->View());
  return window ? window->hwnd : nullptr;
}

HFONT ScreenFont(const forms::Font& font) {
  return Font(Utf16(font.family).c_str(), font.pixel_height, font.bold);
}

namespace {

// The common dialogs are loaded on first use: comdlg32 brings the print
// spooler and its libraries along, which the program needs only when the
// user opens a dialog, not for the hours it waits in the notification area.
struct CommonDialogs {
  decltype(&::GetOpenFileNameW) GetOpenFileName = nullptr;
  decltype(&::GetSaveFileNameW) GetSaveFileName = nullptr;
  decltype(&::ChooseColorW) ChooseColor = nullptr;
  decltype(&::PrintDlgW) PrintDlg = nullptr;
  decltype(&::CommDlgExtendedError) ExtendedError = nullptr;
};

const CommonDialogs& Dialogs() {
  static const CommonDialogs dialogs = [] {
    CommonDialogs d;
    if (HMODULE dll = ::LoadLibraryW(L"comdlg32.dll")) {
      auto get = [dll](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(::GetProcAddress(dll, name)));
      };
      get(d.GetOpenFileName, "GetOpenFileNameW");
      get(d.GetSaveFileName, "GetSaveFileNameW");
      get(d.ChooseColor, "ChooseColorW");
      get(d.PrintDlg, "PrintDlgW");
      get(d.ExtendedError, "CommDlgExtendedError");
    }
    return d;
  }();
  return dialogs;
}

}  // namespace

// ---- The printer: one device context of the chosen printer ----

class PrinterDc : public forms::PrinterCanvas {
 public:
  explicit PrinterDc(HDC dc) : dc_(dc) {}
  ~PrinterDc() override {
    ::DeleteDC(dc_);
    for (HFONT f : fonts_)
      if (f) ::DeleteObject(f);
  }

  forms::Size PageSize() override {
    const forms::Size size{::GetDeviceCaps(dc_, HORZRES), ::GetDeviceCaps(dc_, VERTRES)};
    if (size.width <= 0 || size.height <= 0) throw forms::PrintFailed();
    return size;
  }

  void BeginDocument(const std::string& title) override {
    const std::wstring name = Utf16(title);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name.c_str();
    if (::StartDocW(dc_, &doc) <= 0) throw forms::PrintFailed();
    if (::StartPage(dc_) <= 0) throw forms::PrintFailed();
    // Cells are outlined, never filled; the pen is thin and black.
    ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
    ::SelectObject(dc_, ::GetStockObject(BLACK_PEN));
    ::SetBkMode(dc_, TRANSPARENT);
    ::SetTextColor(dc_, RGB(0, 0, 0));
  }

  void NewPage() override {
    if (::EndPage(dc_) <= 0 || ::StartPage(dc_) <= 0) throw forms::PrintFailed();
    ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
    ::SelectObject(dc_, ::GetStockObject(BLACK_PEN));
    ::SetBkMode(dc_, TRANSPARENT);
  }

  void EndDocument() override {
    if (::EndPage(dc_) <= 0 || ::EndDoc(dc_) <= 0) throw forms::PrintFailed();
  }

  void SetFont(const forms::Font& font) override {
    // The screen font's point size (its pixels at 96 dots per inch, rounded
    // to whole points: the grid's 11 pixels are 8 points) on the printer;
    // made once per weight.
    HFONT& made = fonts_[font.bold ? 1 : 0];
    if (!made || family_ != font.family || pixel_height_ != font.pixel_height) {
      for (HFONT& f : fonts_)
        if (f) ::DeleteObject(f), f = nullptr;
      family_ = font.family;
      pixel_height_ = font.pixel_height;
    }
    if (!made) {
      LOGFONTW lf{};
      const int points = (font.pixel_height * 72 + 48) / 96;
      lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(dc_, LOGPIXELSY), 72);
      lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
      lf.lfCharSet = DEFAULT_CHARSET;
      lstrcpynW(lf.lfFaceName, Utf16(font.family).c_str(), LF_FACESIZE);
      made = ::CreateFontIndirectW(&lf);
      if (!made) throw forms::PrintFailed();
    }
    ::SelectObject(dc_, made);
  }

  forms::Size LineSize(const std::string& text) override {
    const std::wstring w = Utf16(text);
    SIZE size{};
    if (!::GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size)) throw forms::PrintFailed();
    return {size.cx, size.cy};
  }

  forms::Size WrappedSize(const std::string& text, int width) override {
    const std::wstring w = Utf16(text);
    RECT r{0, 0, width, 0};
    if (!w.empty()) ::DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
  }

  void DrawOutline(const forms::Rect& rect) override {
    ::Rectangle(dc_, rect.left, rect.top, rect.right(), rect.bottom());
  }

  void DrawText(const forms::Rect& rect, const std::string& text, bool centred) override {
    const std::wstring w = Utf16(text);
    RECT r{rect.left, rect.top, rect.right(), rect.bottom()};
    ::DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &r,
                DT_WORDBREAK | DT_NOPREFIX | (centred ? DT_CENTER : DT_LEFT));
  }

 private:
  HDC dc_;
  HFONT fonts_[2] = {nullptr, nullptr};  // regular, bold
  std::string family_;
  int pixel_height_ = 0;
};

Win32Desktop::Win32Desktop() = default;

Win32Desktop::~Win32Desktop() {
  printer_.reset();
  if (dev_mode_) ::GlobalFree(dev_mode_);
  if (dev_names_) ::GlobalFree(dev_names_);
}

void Win32Desktop::ShowMessage(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                               forms::BoxModality modality) {
  ShowBox(WindowOf(owner), text, icon, modality);
}

void Win32Desktop::ShowDetailedMessage(const forms::Form* owner, const std::string& text, const std::string& details,
                                       forms::BoxIcon icon, forms::BoxModality modality) {
  if (details.empty()) ShowBox(WindowOf(owner), text, icon, modality);
  else ShowDetailsBox(WindowOf(owner), text, details, icon, modality);
}

bool Win32Desktop::AskYesNo(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                            forms::BoxModality modality) {
  return ShowBox(WindowOf(owner), text, icon, modality, true);
}

std::string Win32Desktop::AskFileName(const forms::Form* owner, const forms::FileDialog& dialog) {
  // "Name (pattern)\0pattern\0\0": the pattern shown in the name, as the Qt dialog shows it.
  std::wstring filter = Utf16(dialog.filter_name + " (" + dialog.pattern + ")");
  filter.push_back(L'\0');
  filter += Utf16(dialog.pattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring extension = Utf16(dialog.default_extension);
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = WindowOf(owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  BOOL ok;
  if (dialog.kind == forms::FileDialog::Kind::Save) {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    ok = Dialogs().GetSaveFileName && Dialogs().GetSaveFileName(&ofn);
  } else {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    ok = Dialogs().GetOpenFileName && Dialogs().GetOpenFileName(&ofn);
  }
  if (!ok) return std::string();
  return Utf8(file.data());
}

std::optional<int32_t> Win32Desktop::AskColor(const forms::Form* owner, int32_t initial) {
  static COLORREF custom[16] = {};  // the dialog's own custom colours, kept for the run
  for (COLORREF& c : custom)
    if (c == 0) c = RGB(255, 255, 255);
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = WindowOf(owner);
  cc.rgbResult = static_cast<COLORREF>(initial) & 0xFFFFFF;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!Dialogs().ChooseColor || !Dialogs().ChooseColor(&cc)) return std::nullopt;
  return static_cast<int32_t>(cc.rgbResult & 0xFFFFFF);
}

forms::PrinterCanvas* Win32Desktop::AskPrinter(const forms::Form* owner) {
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = WindowOf(owner);
  if (!dev_mode_) {
    // The default printer's settings, so that portrait can be set before the dialog shows.
    pd.Flags = PD_RETURNDEFAULT;
    if (!Dialogs().PrintDlg || !Dialogs().PrintDlg(&pd)) throw forms::PrintFailed();
    dev_mode_ = pd.hDevMode;
    dev_names_ = pd.hDevNames;
  }
  if (auto* mode = static_cast<DEVMODEW*>(::GlobalLock(dev_mode_))) {
    mode->dmOrientation = DMORIENT_PORTRAIT;
    mode->dmFields |= DM_ORIENTATION;
    ::GlobalUnlock(dev_mode_);
  }
  pd.hDevMode = dev_mode_;
  pd.hDevNames = dev_names_;
  pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | PD_NOSELECTION;
  const BOOL ok = Dialogs().PrintDlg(&pd);
  dev_mode_ = pd.hDevMode;
  dev_names_ = pd.hDevNames;
  if (!ok) {
    if (Dialogs().ExtendedError && Dialogs().ExtendedError() != 0) throw forms::PrintFailed();
    return nullptr;  // cancelled
  }
  if (!pd.hDC) throw forms::PrintFailed();
  printer_ = std::make_unique<PrinterDc>(pd.hDC);
  return printer_.get();
}

forms::Form& Win32Desktop::CreateWindow(forms::WindowKind kind) {
  switch (kind) {
    case forms::WindowKind::Lembrete: return (new LembreteWindow(*app_))->form;
    case forms::WindowKind::List: return (new ListWindow(*app_))->form;
    case forms::WindowKind::Config: return (new ConfigWindow(*app_))->form;
    case forms::WindowKind::Sync: return (new SyncWindow(*app_))->form;
    case forms::WindowKind::Main: break;
  }
  return (new MainWindow(*app_, {}))->form;
}

void Win32Desktop::MinimizeApplication() { win32::MinimizeApplication(); }
void Win32Desktop::RestoreApplication() { win32::RestoreApplication(); }

forms::Size Win32Desktop::ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void Win32Desktop::ShowStatusBox(const forms::Form* owner, const std::string& text) {
  CloseStatusBox();
  status_box_ = StatusBox::Open(WindowOf(owner), text);
  // The box must be on the screen before the work holds the program: the
  // pending messages, and those that showing it brings a moment later (a
  // window manager maps the window on its own time), are processed first.
  const ULONGLONG until = ::GetTickCount64() + 100;
  do {
    ProcessPendingMessages(app_->store());
  } while (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE) !=
               WAIT_TIMEOUT ||
           ::GetTickCount64() < until);
}

void Win32Desktop::CloseStatusBox() {
  if (status_box_ && ::IsWindow(status_box_)) ::DestroyWindow(status_box_);
  status_box_ = nullptr;
}

forms::Size Win32Desktop::MeasureText(const forms::Font& font, const std::string& text, int width) {
  if (text.empty()) return {0, 0};
  const std::wstring w = Utf16(text);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, ScreenFont(font));
  RECT r{0, 0, width, 0};
  ::DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}

void Win32Desktop::PlaySound(const std::string& path) { platform::Sound().PlayAsync(path); }

// Starting no file only cuts the sound playing.
void Win32Desktop::StopSound() { platform::Sound().PlayAsync({}); }

}  // namespace tavo::win32
