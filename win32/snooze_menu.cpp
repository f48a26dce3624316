#include "win32/snooze_menu.h"

#include "forms/snooze_control.h"
#include "forms/tray_margin.h"
#include "store/cp1252.h"
#include "win32/accessibility.h"
#include "win32/application.h"
#include "win32/menu_drawing.h"
#include "win32/window_table.h"

namespace tavo::win32 {
namespace {

constexpr int kItemHeight = 20;  // as the tray menu's items

}  // namespace

// ---- the time box ----

SnoozeTimeBox* SnoozeTimeBox::Open(HWND owner, std::function<void(const std::string&)> accepted) {
  auto* box = new SnoozeTimeBox;
  box->delete_on_destroy = true;
  box->accepted_ = std::move(accepted);
  const auto& table = forms::kSnoozeTimeBox;
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT outer{0, 0, forms::kSnoozeTimeClient.width, forms::kSnoozeTimeClient.height};
  ::AdjustWindowRectEx(&outer, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  RECT at;
  ::GetWindowRect(owner, &at);
  CreateArgs a;
  a.parent = owner;
  a.style = kStyle;
  a.ex_style = WS_EX_DLGMODALFRAME;
  a.x = at.left + 30;
  a.y = at.top + 120;
  a.width = outer.right - outer.left;
  a.height = outer.bottom - outer.top;
  a.title = table.spoken;
  if (!box->Create(a)) {
    delete box;
    return nullptr;
  }
  HFONT field_font = Font(L"MS Sans Serif", 11), button_font = Font(L"MS Sans Serif", 12);
  const forms::Control<forms::PlainBox>& caption = table["Label1"];
  HWND label = ::CreateWindowExW(0, L"STATIC", Utf16(caption.caption).c_str(), WS_CHILD | WS_VISIBLE,
                                 caption.place.left, caption.place.top, caption.place.width, caption.place.height,
                                 box->hwnd, nullptr, Instance(), nullptr);
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(field_font), FALSE);
  const forms::Control<forms::PlainBox>& time = table["eHora"];
  box->field.Create(box->hwnd, time.id, PlaceOf(time.place), field_font, forms::MaskedText::kTimeMask);
  NameControl(box->field.hwnd, table, time);
  box->field.SetText(forms::SnoozeTimeSuggestion());
  box->field.onEnter = [box] { box->Accept(); };
  const forms::Control<forms::PlainBox>& ok = table["bOK"];
  box->ok.Create(box->hwnd, ok.id, PlaceOf(ok.place), ok.caption, button_font);
  box->ok.onClick = [box] { box->Accept(); };
  const forms::Control<forms::PlainBox>& cancel = table["bCancel"];
  box->cancel.Create(box->hwnd, cancel.id, PlaceOf(cancel.place), cancel.caption, button_font);
  box->cancel.onClick = [box] { ::DestroyWindow(box->hwnd); };
  ::ShowWindow(box->hwnd, SW_SHOW);
  ::SetForegroundWindow(box->hwnd);
  ::SetFocus(box->field.hwnd);
  ::SendMessageW(box->field.hwnd, EM_SETSEL, 0, -1);
  return box;
}

void SnoozeTimeBox::Accept() {
  const std::string typed = field.Text();
  auto accepted = std::move(accepted_);
  ::DestroyWindow(hwnd);  // this box is gone from here on
  if (accepted) accepted(typed);
}

bool SnoozeTimeBox::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    ::DestroyWindow(hwnd);
    return true;
  }
  return false;
}

LRESULT SnoozeTimeBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      ::DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND: {
      // The system's dialog colour behind the controls, as the Qt box has
      // (the layer's window class paints no background).
      RECT r;
      ::GetClientRect(hwnd, &r);
      ::FillRect(reinterpret_cast<HDC>(wp), &r, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      // "Hora" on the same colour.
      HDC dc = reinterpret_cast<HDC>(wp);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  return Wnd::WndProc(msg, wp, lp);
}

// ---- the button and its menu ----

SnoozeControl::~SnoozeControl() {
  if (menu_) ::DestroyMenu(menu_);
  if (box_ && ::IsWindow(box_)) ::DestroyWindow(box_);
}

void SnoozeControl::Create(HWND window, int id, HFONT font) {
  window_ = window;
  button.Create(window, id, PlaceOf(forms::kAlertButtons.snooze), forms::kSnoozeButtonCaption, font);
  ::ShowWindow(button.hwnd, SW_HIDE);
  button.onClick = [this] { PopUp(); };
  // The menu's owner: a hidden window of its own, which measures and draws the items.
  CreateArgs a;
  a.parent = window;
  a.style = WS_POPUP;
  Wnd::Create(a);
  menu_ = ::CreatePopupMenu();
  for (const std::string& caption : forms::SnoozeMenuItems()) {
    auto item = std::make_unique<Item>();
    item->text = Utf16(caption);
    item->msaa.dwMSAASignature = MSAA_MENU_SIG;
    item->msaa.cchWText = static_cast<DWORD>(item->text.size());
    item->msaa.pszWText = item->text.data();
    ::AppendMenuW(menu_, MF_OWNERDRAW, items_.size() + 1, reinterpret_cast<LPCWSTR>(item.get()));
    items_.push_back(std::move(item));
  }
}

void SnoozeControl::Show(bool shown, FlatButton& ok, FlatButton& alternate) {
  const forms::ButtonRow& row = forms::ButtonRowFor(shown);
  ok.SetBounds(row.ok.left, row.ok.top, row.ok.width, row.ok.height);
  alternate.SetBounds(row.alternate.left, row.alternate.top, row.alternate.width, row.alternate.height);
  ::ShowWindow(button.hwnd, shown ? SW_SHOWNA : SW_HIDE);
  if (!shown && ::GetFocus() == button.hwnd) ::SetFocus(ok.hwnd);
}

void SnoozeControl::PopUp() {
  if (!::IsWindowVisible(button.hwnd)) return;
  RECT r;
  ::GetWindowRect(button.hwnd, &r);
  const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
      menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, hwnd, nullptr));
  if (command) Run(static_cast<int>(command) - 1);
}

void SnoozeControl::Run(int index) {
  if (forms::RunSnoozeItem(form_, index)) return;
  if (index == forms::kSnoozeUntilItem) AskTime();
}

void SnoozeControl::AskTime() {
  if (box_ && ::IsWindow(box_)) {
    ::SetForegroundWindow(box_);
    return;
  }
  forms::LembreteForm* form = &form_;
  SnoozeTimeBox* box = SnoozeTimeBox::Open(window_, [form](const std::string& typed) { form->AdiarPara(typed); });
  box_ = box ? box->hwnd : nullptr;
}

void SnoozeControl::MeasureItem(MEASUREITEMSTRUCT& m) const {
  const auto* item = reinterpret_cast<const Item*>(m.itemData);
  HDC dc = ::GetDC(hwnd);
  HGDIOBJ old = ::SelectObject(dc, MenuFont());
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, item->text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd, dc);
  m.itemHeight = kItemHeight;
  m.itemWidth = static_cast<UINT>(forms::MenuItemTextLeft() + r.right + 12);
}

void SnoozeControl::DrawItem(const DRAWITEMSTRUCT& d) const {
  HDC dc = d.hDC;
  const int index = static_cast<int>(d.itemID) - 1;
  const int count = static_cast<int>(items_.size());
  DrawMenuMargin(dc, d.rcItem, d.rcItem.top - index * kItemHeight, count * kItemHeight);
  RECT body = d.rcItem;
  body.left += forms::kMenuMarginWidth;
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  FillColor(dc, body, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  RECT text = body;
  text.left = d.rcItem.left + forms::MenuItemTextLeft();
  HGDIOBJ old = ::SelectObject(dc, MenuFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const auto* item = reinterpret_cast<const Item*>(d.itemData);
  ::DrawTextW(dc, item->text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  ::SelectObject(dc, old);
}

LRESULT SnoozeControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (m->CtlType == ODT_MENU) {
        MeasureItem(*m);
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlType == ODT_MENU) {
        DrawItem(*d);
        return TRUE;
      }
      break;
    }
  }
  return Wnd::WndProc(msg, wp, lp);
}

}  // namespace tavo::win32
