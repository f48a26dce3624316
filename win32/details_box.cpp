#include "win32/details_box.h"

#include <cstdint>
#include <vector>

#include "win32/wnd.h"

namespace tavo::win32 {
namespace {

enum : WORD { kIcon = 100, kText = 101, kLabel = 102, kDetails = 103 };

// A dialog template built word by word (DLGTEMPLATE and its items).
class Template {
 public:
  Template(DWORD style, short cx, short cy, const std::wstring& title, WORD items) {
    Dword(style | DS_SETFONT);
    Dword(0);  // extended style
    Word(items);
    Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // the standard class
    Text(title);
    Word(8);
    Text(L"MS Shell Dlg");
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& text) {
    while (words_.size() % 2) words_.push_back(0);  // DWORD-aligned
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  std::vector<WORD> words_;
};

struct Shown {
  std::wstring details;
  LPCWSTR icon;
};

// "\n" between lines, as an edit control wants them: "\r\n".
std::wstring EditLines(const std::string& utf8) {
  std::wstring lines;
  for (wchar_t c : Utf16(utf8)) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  return lines;
}

INT_PTR CALLBACK BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* shown = reinterpret_cast<const Shown*>(lp);
      ::SendDlgItemMessageW(box, kIcon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, shown->icon)), 0);
      ::SetDlgItemTextW(box, kDetails, shown->details.c_str());
      ::SetFocus(::GetDlgItem(box, IDOK));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        ::EndDialog(box, IDOK);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

void ShowDetailsBox(HWND owner, const std::string& text, const std::string& details, BoxIcon icon,
                    BoxModality modality) {
  Shown shown{EditLines(details), IDI_INFORMATION};
  if (icon == BoxIcon::Error) shown.icon = IDI_ERROR;
  else if (icon == BoxIcon::Question) shown.icon = IDI_QUESTION;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  if (modality == BoxModality::System) style |= DS_SYSMODAL;
  // In dialog units: 8-point characters are about 4 x 8.
  Template t(style, 260, 150, Utf16(kAppTitle), 5);
  t.Item(SS_ICON, 10, 10, 21, 20, kIcon, 0x0082, L"");
  t.Item(SS_LEFT | SS_NOPREFIX, 40, 14, 210, 16, kText, 0x0082, Utf16(text));
  t.Item(SS_LEFT, 10, 36, 240, 9, kLabel, 0x0082, L"Detalhes:");
  t.Item(ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
             WS_TABSTOP,
         10, 47, 240, 76, kDetails, 0x0081, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 105, 129, 50, 14, IDOK, 0x0080, L"OK");
  ::DialogBoxIndirectParamW(Instance(), t.Get(), owner, BoxProc, reinterpret_cast<LPARAM>(&shown));
}

}  // namespace tavo::win32
