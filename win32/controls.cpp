#include "win32/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/locale_date.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "dates/date_time.h"

namespace tavo::win32 {
Wnd::CreateArgs ChildArgs(HWND parent, int id, const Place& p, DWORD style, const std::string& text) {
  Wnd::CreateArgs a;
  a.parent = parent;
  a.id = id;
  a.x = p.x;
  a.y = p.y;
  a.width = p.width;
  a.height = p.height;
  a.style = style | WS_CHILD | WS_VISIBLE;
  a.title = text;
  return a;
}

std::wstring EditLines(const std::string& utf8) {
  std::string text;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) text += '\r';
    text += utf8[i];
  }
  return Utf16(text);
}

// ---- Flat button ----

void DrawFlatFace(HDC dc, RECT r, bool down, bool enabled, COLORREF face) {
  HBRUSH brush = ::CreateSolidBrush(enabled ? face : FlatButton::kDisabledFace);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  auto line = [dc](int x0, int y0, int x1, int y1, COLORREF colour) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
  };
  const COLORREF top_left = down ? shadow : light, bottom_right = down ? light : shadow;
  line(r.left, r.top, r.right, r.top, top_left);
  line(r.left, r.top, r.left, r.bottom, top_left);
  line(r.left, r.bottom - 1, r.right, r.bottom - 1, bottom_right);
  line(r.right - 1, r.top, r.right - 1, r.bottom, bottom_right);
}

bool FlatButton::Create(HWND parent, int id, const Place& place, const std::string& caption, HFONT font) {
  if (!CreateControl(L"BUTTON", ChildArgs(parent, id, place, BS_OWNERDRAW | WS_TABSTOP, caption))) return false;
  SetFont(font);
  hand_cursor = true;
  return true;
}

bool FlatButton::OnCommand(WORD code) {
  // An owner-drawn button reports a quick second click as a double click.
  if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return false;
  if (onClick) onClick();
  return true;
}

bool FlatButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const bool down = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  RECT r = item.rcItem;
  DrawFlatFace(dc, r, down, enabled, kFace);
  RECT text = r;
  if (down) ::OffsetRect(&text, 1, 1);
  const std::wstring caption = Utf16(Text());
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, enabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT));
  // The accelerator letter is always underlined, also before the keyboard was used.
  ::DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = r;
    ::InflateRect(&focus, -2, -2);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
  return true;
}


// ---- Push button ----

bool PushButton::Create(HWND parent, int id, const Place& place, const std::string& caption, HFONT font) {
  if (!CreateControl(L"BUTTON", ChildArgs(parent, id, place, BS_PUSHBUTTON | WS_TABSTOP, caption))) return false;
  SetFont(font);
  hand_cursor = true;
  return true;
}

bool PushButton::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (onClick) onClick();
  return true;
}


// ---- Edit ----

bool Edit::Create(HWND parent, int id, const Place& place, HFONT font, DWORD style) {
  if (!CreateControl(L"EDIT", ChildArgs(parent, id, place, style | WS_TABSTOP | ES_AUTOHSCROLL))) return false;
  ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SetFont(font);
  // Narrow margins, so that a short field (the time, 37 pixels) shows all of its text.
  ::SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  return true;
}

Edit::~Edit() {
  if (brush_) ::DeleteObject(brush_);
}

void Edit::SetLimit(int characters) { ::SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0); }

void Edit::SetColours(COLORREF text, COLORREF background) {
  coloured_ = true;
  text_ = text;
  background_ = background;
  if (brush_) ::DeleteObject(brush_);
  brush_ = ::CreateSolidBrush(background);
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

HBRUSH Edit::OnCtlColor(HDC dc) {
  if (!coloured_) return nullptr;
  ::SetTextColor(dc, text_);
  ::SetBkColor(dc, background_);
  return brush_;
}

bool Edit::OnCommand(WORD code) {
  if (code == EN_KILLFOCUS && onExit) {
    onExit();
    return true;
  }
  return false;
}

LRESULT Edit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (onEnter) {
    if (msg == WM_GETDLGCODE && lp) {
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN) return DLGC_WANTALLKEYS;
    }
    if (msg == WM_KEYDOWN && wp == VK_RETURN && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0 &&
        ::GetKeyState(VK_SHIFT) >= 0) {
      onEnter();
      return 0;
    }
    if (msg == WM_CHAR && wp == '\r') return 0;  // no beep
  }
  return Wnd::WndProc(msg, wp, lp);
}

// ---- Masked edit ----

bool MaskedEdit::Create(HWND parent, int id, const Place& place, HFONT font, std::string_view mask) {
  mask_ = mask;
  if (!Edit::Create(parent, id, place, font)) return false;
  SetText({});  // the separators, from the start
  return true;
}

forms::MaskedText MaskedEdit::Loaded() const {
  forms::MaskedText model(mask_);
  DWORD from = 0, to = 0;
  ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  // Only ASCII reaches the control, so UTF-8 places are its character places.
  model.Load(Text(), static_cast<int>(from), static_cast<int>(to));
  return model;
}

void MaskedEdit::Show(const forms::MaskedText& model) {
  Default(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Utf16(model.Text()).c_str()));
  Default(EM_SETSEL, static_cast<WPARAM>(model.Caret()), model.Caret());
}

LRESULT MaskedEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR: {
      // Enter, Tab, Escape and the Ctrl+letter commands (copy, cut, paste) as in any field.
      if (wp < 0x20 && wp != '\b') break;
      forms::MaskedText model = Loaded();
      if (wp == '\b') model.Backspace();
      else if (wp > 0x7E || !model.Type(static_cast<char>(wp))) return 0;  // refused, quietly
      Show(model);
      return 0;
    }
    case WM_KEYDOWN:
      if (wp == VK_DELETE) {
        forms::MaskedText model = Loaded();
        model.Delete();
        Show(model);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      forms::MaskedText model(mask_);
      model.SetText(lp ? Utf8(reinterpret_cast<const wchar_t*>(lp)) : std::string());
      return Default(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Utf16(model.Text()).c_str()));
    }
    case WM_PASTE: {
      std::string pasted;
      if (::OpenClipboard(hwnd)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
          if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            pasted = Utf8(text);
            ::GlobalUnlock(data);
          }
        }
        ::CloseClipboard();
      }
      forms::MaskedText model = Loaded();
      model.Paste(pasted);
      Show(model);
      return 0;
    }
    case WM_CUT:
    case WM_CLEAR: {
      if (msg == WM_CUT) Default(WM_COPY, 0, 0);
      forms::MaskedText model = Loaded();
      model.EraseSelection();
      Show(model);
      return 0;
    }
    case WM_UNDO:
    case EM_UNDO:
      return 0;  // the control's own undo would bring back a text out of place
  }
  return Edit::WndProc(msg, wp, lp);
}

// ---- Memo ----

bool Memo::Create(HWND parent, int id, const Place& place, HFONT font, bool read_only, bool scroll_bar) {
  DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP | (scroll_bar ? WS_VSCROLL : 0);
  if (read_only) style |= ES_READONLY;
  if (!CreateControl(L"EDIT", ChildArgs(parent, id, place, style))) return false;
  SetFont(font);
  return true;
}

LRESULT Memo::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE) {
    // Tab moves the focus on, as in the other fields; Enter stays a new line.
    LRESULT code = Edit::WndProc(msg, wp, lp) & ~DLGC_WANTTAB;
    if (lp && reinterpret_cast<const MSG*>(lp)->wParam == VK_TAB) code &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    return code;
  }
  return Edit::WndProc(msg, wp, lp);
}

// ---- Combo box ----

bool ComboBox::Create(HWND parent, int id, const Place& place, HFONT font, const std::vector<std::string>& items) {
  // The height given to a drop-down list is that of its open list; the closed
  // field takes its height from the font.
  Place open = place;
  open.height = place.height + 15 * static_cast<int>(items.size()) + 4;
  if (!CreateControl(L"COMBOBOX", ChildArgs(parent, id, open, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL))) return false;
  SetFont(font);
  hand_cursor = true;
  ::SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), place.height - 6);
  for (const std::string& item : items) ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(item).c_str()));
  return true;
}

int ComboBox::Selected() const { return static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0)); }
void ComboBox::Select(int index) { ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }


// ---- List box ----

bool ListBox::Create(HWND parent, int id, const Place& place, HFONT font, int item_height) {
  if (!CreateControl(L"LISTBOX",
                     ChildArgs(parent, id, place, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_BORDER)))
    return false;
  SetFont(font);
  hand_cursor = true;
  ::SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, item_height);
  return true;
}

void ListBox::Clear() { ::SendMessageW(hwnd, LB_RESETCONTENT, 0, 0); }
void ListBox::Add(const std::string& text) {
  ::SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(text).c_str()));
}
int ListBox::Count() const { return static_cast<int>(::SendMessageW(hwnd, LB_GETCOUNT, 0, 0)); }
int ListBox::Selected() const { return static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0)); }
void ListBox::Select(int index) { ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::string ListBox::Item(int index) const {
  const LRESULT n = ::SendMessageW(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return std::string();
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  ::SendMessageW(hwnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return Utf8(text);
}

bool ListBox::OnCommand(WORD code) {
  if (code != LBN_SELCHANGE) return false;
  if (keyed_ && onSelectionMoved) onSelectionMoved();
  else if (onClick) onClick();
  return true;
}

LRESULT ListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: {
      if ((wp == VK_RETURN || wp == VK_SPACE) && onKey && onKey(static_cast<int>(wp))) return 0;
      // The selection change this key makes is reported while it is handled.
      keyed_ = true;
      const LRESULT result = Wnd::WndProc(msg, wp, lp);
      keyed_ = false;
      return result;
    }
    case WM_GETDLGCODE:
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN && reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;
      break;
  }
  return Wnd::WndProc(msg, wp, lp);
}


// ---- Check box ----

bool CheckBox::Create(HWND parent, int id, const Place& place) {
  hand_cursor = true;
  return CreateControl(L"BUTTON", ChildArgs(parent, id, place, BS_AUTOCHECKBOX | WS_TABSTOP));
}

bool CheckBox::Checked() const { return ::SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool on) { ::SendMessageW(hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

bool CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (onClick) onClick();
  return true;
}

HBRUSH CheckBox::OnCtlColor(HDC dc) {
  if (!background) return nullptr;
  // The picture brush is aligned to the parent's origin.
  POINT origin{0, 0};
  ::MapWindowPoints(hwnd, ::GetParent(hwnd), &origin, 1);
  ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  return background;
}


// ---- Centred label ----

bool CenteredLabel::Create(HWND parent, int id, const Place& place, HFONT font, const std::string& text) {
  if (!CreateControl(L"STATIC", ChildArgs(parent, id, place, SS_CENTER | SS_CENTERIMAGE, text))) return false;
  SetFont(font);
  return true;
}

// ---- Date field ----

// The drop-down calendar: a borderless popup titled "Escolha uma Data" with a
// month calendar, and in its title strip the four buttons that move the date
// a year or a month back or on; a pick or a click elsewhere closes it.
class DateField::Popup : public Wnd {
 public:
  static constexpr int kTitleHeight = 16;
  explicit Popup(DateField* field) : field_(field) { paints = true; }

  void Open(double date, POINT at) {
    if (!hwnd) {
      CreateArgs a;
      a.parent = ::GetAncestor(field_->hwnd, GA_ROOT);
      a.style = WS_POPUP | WS_BORDER;
      a.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
      a.title = "Escolha uma Data";  // what a screen reader reads for it
      Create(a);
      calendar_ = ::CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, kTitleHeight, 0, 0,
                                    hwnd, reinterpret_cast<HMENU>(1), Instance(), nullptr);
      // Weeks start on Sunday (6 in the calendar's numbering from Monday).
      ::SendMessageW(calendar_, MCM_SETFIRSTDAYOFWEEK, 0, 6);
      RECT need{};
      ::SendMessageW(calendar_, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
      ::SetWindowPos(calendar_, nullptr, 0, kTitleHeight, need.right, need.bottom, SWP_NOZORDER);
      RECT outer{0, 0, need.right, need.bottom + kTitleHeight};
      ::AdjustWindowRectEx(&outer, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
      width_ = outer.right - outer.left;
      height_ = outer.bottom - outer.top;
      // Two buttons at each end of the title strip, named by what they do.
      const int left[kSteps] = {0, kTitleHeight, need.right - 2 * kTitleHeight, need.right - kTitleHeight};
      for (int i = 0; i < kSteps; ++i)
        steps_[i] = ::CreateWindowExW(0, L"BUTTON", Utf16(kStepNames[i]).c_str(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                      left[i], 0, kTitleHeight, kTitleHeight, hwnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstStep + i)), Instance(), nullptr);
    }
    if (IsValidDateTime(date)) {
      const CivilDate d = DecodeDate(date);
      SYSTEMTIME st{};
      st.wYear = static_cast<WORD>(d.Year);
      st.wMonth = static_cast<WORD>(d.Month);
      st.wDay = static_cast<WORD>(d.Day);
      ::SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    }
    ::SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, width_, height_, SWP_SHOWWINDOW);
    ::SetFocus(calendar_);
  }

  void Close() {
    if (hwnd && ::IsWindowVisible(hwnd)) ::ShowWindow(hwnd, SW_HIDE);
  }
  HWND calendar() const { return calendar_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const NMHDR*>(lp);
        if (n->hwndFrom == calendar_ && n->code == MCN_SELECT) {
          const auto* sel = reinterpret_cast<const NMSELCHANGE*>(lp);
          double date = EncodeDate(sel->stSelStart.wYear, sel->stSelStart.wMonth, sel->stSelStart.wDay);
          Close();
          ::SetFocus(field_->edit.hwnd);
          if (field_->onAcceptDate) field_->onAcceptDate(date);
          return 0;
        }
        break;
      }
      case WM_COMMAND: {
        const int step = LOWORD(wp) - kFirstStep;
        if (step >= 0 && step < kSteps && HIWORD(wp) == BN_CLICKED) {
          MoveBy(kStepMonths[step]);
          ::SetFocus(calendar_);
          return 0;
        }
        break;
      }
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        const int step = static_cast<int>(item->CtlID) - kFirstStep;
        if (step >= 0 && step < kSteps) {
          DrawStep(*item, step);
          return TRUE;
        }
        break;
      }
      case WM_SETCURSOR:
        for (HWND step : steps_)
          if (reinterpret_cast<HWND>(wp) == step) {
            ::SetCursor(HandCursor());
            return TRUE;
          }
        break;
      case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) Close();
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
  }

  // The title strip above the calendar.
  void OnPaint(HDC dc) override {
    RECT title{0, 0, width_, kTitleHeight};
    ::FillRect(dc, &title, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_CAPTIONTEXT));
    HGDIOBJ old = ::SelectObject(dc, Font(L"MS Sans Serif", 11, true));
    ::DrawTextW(dc, L"Escolha uma Data", -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, old);
  }

  bool PreTranslate(MSG& msg) override {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      Close();
      ::SetFocus(field_->edit.hwnd);
      return true;
    }
    return false;
  }

 private:
  static constexpr int kSteps = 4;
  static constexpr int kFirstStep = 10;
  static constexpr const char* kStepNames[kSteps] = {"Ano Anterior", "Mês Anterior", "Próximo Mês", "Próximo Ano"};
  static constexpr int kStepMonths[kSteps] = {-12, -1, 1, 12};
  static constexpr const wchar_t* kStepGlyphs[kSteps] = {L"\u00AB", L"\u2039", L"\u203A", L"\u00BB"};  // << < > >>

  // Moves the calendar's date by whole months, the day kept where the month has it.
  void MoveBy(int months) {
    SYSTEMTIME st{};
    if (::SendMessageW(calendar_, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st)) == 0) return;
    const int index = st.wYear * 12 + (st.wMonth - 1) + months;
    const int year = index / 12, month = index % 12 + 1;
    if (year < 1753 || year > 9999) return;  // the calendar's own range
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(std::min<int>(st.wDay, DaysInMonth(year, month)));
    ::SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  }

  void DrawStep(const DRAWITEMSTRUCT& item, int step) {
    RECT r = item.rcItem;
    ::DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = ::SelectObject(item.hDC, Font(L"MS Sans Serif", 11, true));
    ::DrawTextW(item.hDC, kStepGlyphs[step], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(item.hDC, old);
  }

  DateField* field_;
  HWND calendar_ = nullptr;
  HWND steps_[kSteps] = {};
  int width_ = 0, height_ = 0;
};

bool DateField::Create(HWND parent, int id, const Place& place, HFONT font) {
  // The field and, at its right end, the drop-down button, together as wide as the place.
  constexpr int kButton = 17;
  const bool year_first = platform::CurrentDateOrder() == platform::DateOrder::YearMonthDay;
  if (!edit.Create(parent, id, Place{place.x, place.y, place.width - kButton + 1, place.height}, font,
                   forms::MaskedText::DateMask(year_first)))
    return false;
  edit.onExit = [this] {
    if (popup_ && ::IsWindowVisible(popup_->hwnd)) return;  // the calendar took the focus
    if (onExit) onExit();
  };
  edit.onEnter = [this] {
    if (onExit) onExit();
  };
  hand_cursor = true;
  return CreateControl(L"BUTTON", ChildArgs(parent, id + 1, Place{place.x + place.width - kButton, place.y, kButton,
                                                             place.height},
                                            BS_OWNERDRAW));
}

DateField::~DateField() { delete popup_; }

std::string DateField::FieldText() const {
  std::string text = Utf8ToCp1252(edit.Text());
  text.resize(10, ' ');
  return text;
}

double DateField::Date() const { return TextToDate(FieldText()); }

void DateField::SetDate(double date) { edit.SetText(Cp1252ToUtf8(DateToText(date))); }

void DateField::DropDown() {
  if (!popup_) popup_ = new Popup(this);
  RECT r;
  ::GetWindowRect(edit.hwnd, &r);
  popup_->Open(Date(), POINT{r.left, r.bottom});
}

bool DateField::OnDrawItem(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  ::DrawFrameControl(item.hDC, &r, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  return true;
}

bool DateField::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  DropDown();
  return true;
}

// ---- Scroll box with a text ----

bool ScrollText::Create(HWND parent, int id, const Place& place, HFONT font) {
  font_ = font;
  paints = true;
  CreateArgs a = ChildArgs(parent, id, place, WS_VSCROLL | WS_TABSTOP);
  if (!Wnd::Create(a)) return false;
  UpdateScrollBar();
  return true;
}

void ScrollText::SetText(const std::wstring& text, int width, int height, COLORREF colour) {
  text_ = text;
  text_width_ = width;
  text_height_ = height;
  colour_ = colour;
  UpdateScrollBar();
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollText::ScrollToTop() {
  top_ = 0;
  UpdateScrollBar();
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollText::UpdateScrollBar() {
  RECT client;
  ::GetClientRect(hwnd, &client);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = text_height_ > 0 ? text_height_ - 1 : 0;
  si.nPage = static_cast<UINT>(client.bottom);
  const int most = text_height_ - client.bottom;
  if (top_ > most) top_ = most > 0 ? most : 0;
  si.nPos = top_;
  ::SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void ScrollText::OnPaint(HDC dc) {
  RECT client;
  ::GetClientRect(hwnd, &client);
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  HGDIOBJ old = ::SelectObject(dc, font_);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour_);
  // Wrapped at the measured width, the lines break where they were measured;
  // not clipped to it, since a last letter's ink may reach one column past
  // its advance ("Verão" would end in "Verãc").
  RECT text{0, -top_, text_width_, text_height_ - top_};
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
  ::SelectObject(dc, old);
  if (::GetFocus() == hwnd) {
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &client);
  }
}

LRESULT ScrollText::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_VSCROLL: {
      RECT client;
      ::GetClientRect(hwnd, &client);
      int pos = top_;
      switch (LOWORD(wp)) {
        case SB_LINEUP: pos -= 13; break;
        case SB_LINEDOWN: pos += 13; break;
        case SB_PAGEUP: pos -= client.bottom; break;
        case SB_PAGEDOWN: pos += client.bottom; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = HIWORD(wp); break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = text_height_; break;
      }
      const int most = text_height_ - client.bottom;
      top_ = pos < 0 || most <= 0 ? 0 : (pos > most ? most : pos);
      UpdateScrollBar();
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ::SendMessageW(hwnd, WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ::InvalidateRect(hwnd, nullptr, TRUE);  // the focus mark
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wp == VK_UP) ::SendMessageW(hwnd, WM_VSCROLL, SB_LINEUP, 0);
      if (wp == VK_DOWN) ::SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
      return 0;
  }
  return Wnd::WndProc(msg, wp, lp);
}

}  // namespace tavo::win32
