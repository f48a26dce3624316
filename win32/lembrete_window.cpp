#include "win32/lembrete_window.h"

#include <oleacc.h>

#include "store/cp1252.h"
#include "win32/application.h"
#include "win32/desktop_win32.h"
#include "win32/window_table.h"

namespace tavo::win32 {
namespace {

constexpr RECT kPanel = RectOf(forms::kLembreteWindow["pLembrete"].place);

COLORREF Colour(int32_t value) { return static_cast<COLORREF>(value) & 0xFFFFFF; }

}  // namespace

LembreteWindow::LembreteWindow(forms::Application& app)
    : ShapedWindow(L"FUNDO_LEMBRETE"), form(app, *this) {
  CreateShaped(forms::LembreteForm::kExpandedHeight);
  HFONT field = ScreenFont(forms::LembreteForm::kFieldFont);
  HFONT button = Font(L"MS Sans Serif", 12);
  const auto& table = forms::kLembreteWindow;
  for (const char* label : {"Label1", "Label2", "Label3"}) AddLabel(table[label].place, table[label].caption, field);

  // Created in tab order; NameControl gives each field the name MSAA reads.
  const auto& data = table["eData"];
  eData.Create(hwnd, data.id, PlaceOf(data.place), field);
  NameControl(eData.edit.hwnd, table, data);
  eData.onExit = Handler(form, data.click);
  eData.onAcceptDate = [this](double& date) { form.eDataAcceptDate(date); };
  const auto& hora = table["eHora"];
  eHora.Create(hwnd, hora.id, PlaceOf(hora.place), field, forms::MaskedText::kTimeMask);
  NameControl(eHora.hwnd, table, hora);
  eHora.onExit = Handler(form, hora.click);
  eHora.onEnter = Handler(form, hora.click);
  const auto& repeat = table["cbRepeat"];
  cbRepeat.Create(hwnd, repeat.id, PlaceOf(repeat.place), field, forms::LembreteForm::RepeatItems());
  NameControl(cbRepeat.hwnd, table, repeat);
  const auto& memo = table["mLembrete"];
  mLembrete.Create(hwnd, memo.id, PlaceOf(memo.place), field, false);
  NameControl(mLembrete.hwnd, table, memo);
  mLembrete.SetLimit(forms::LembreteForm::kMaxTextLength);  // a line break counts two, as stored
  MakeFlatButton(bOK, hwnd, table["bOK"], button, form);
  MakeFlatButton(bAlternate, hwnd, table["bAlternate"], button, form);
  snooze.Create(hwnd, 108, button);  // the alert's "Adiar", between the buttons and the events area
  const auto& events = table["scroll"];
  scroll.Create(hwnd, events.id, PlaceOf(events.place), field);
  NameControl(scroll.hwnd, table, events);
  // The events area's toggle, also Ctrl+I.
  const auto& expand = table["iExpand"];
  AddClickArea(expand.place, Handler(form, expand.click), Handler(form, expand.double_click), table.SpokenName(expand),
               [this] { return forms::LembreteForm::EventsAreaShown(ClientHeight()); });

  form.FormCreate();
}

void LembreteWindow::Close() { ::SendMessageW(hwnd, WM_CLOSE, 0, 0); }

void LembreteWindow::BringToFront() {
  if (!shown_) {
    // FormShow runs before the window first appears: it places and fills it.
    shown_ = true;
    form.FormShow();
    if (!hwnd) return;
  }
  ::SetWindowPos(ApplicationWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  win32::BringToFront(hwnd);
  if (alert_) ::NotifyWinEvent(EVENT_SYSTEM_ALERT, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

bool LembreteWindow::IsForeground() const { return ::GetForegroundWindow() == hwnd; }

std::string LembreteWindow::DateText() const { return eData.FieldText(); }

void LembreteWindow::SetDateText(const std::string& text) { eData.edit.SetText(Cp1252ToUtf8(text)); }

std::string LembreteWindow::TimeText() const {
  // The field shows HH:MM; the rules read the four digit positions.
  std::string text = Utf8ToCp1252(eHora.Text());
  if (text.size() >= 3 && text[2] == ':') text.erase(2, 1);
  else std::erase(text, ':');
  text.resize(4, ' ');
  return text;
}

void LembreteWindow::SetTimeText(const std::string& hhmm) {
  eHora.SetText(hhmm.size() == 4 ? hhmm.substr(0, 2) + ":" + hhmm.substr(2) : hhmm);
}

int LembreteWindow::RepeatIndex() const { return cbRepeat.Selected(); }
void LembreteWindow::SetRepeatIndex(int index) { cbRepeat.Select(index); }

std::string LembreteWindow::MemoText() const { return mLembrete.Text(); }

void LembreteWindow::SetMemoText(const std::string& text) {
  ::SetWindowTextW(mLembrete.hwnd, EditLines(text).c_str());
}

void LembreteWindow::FocusMemo() { FocusControl(mLembrete.hwnd); }

void LembreteWindow::SetMemoColors(int32_t front, int32_t back) {
  panel_ = Colour(back);
  mLembrete.SetColours(Colour(front), Colour(back));
  ::InvalidateRect(hwnd, &kPanel, FALSE);
}

void LembreteWindow::SetAlternateCaption(const std::string& caption) {
  bAlternate.SetText(caption);
  ::InvalidateRect(bAlternate.hwnd, nullptr, FALSE);
}

void LembreteWindow::ShowEvents(const std::string& text, forms::Size size, bool red) {
  // Its window text is what a screen reader reads; the box paints its own.
  const auto& table = forms::kLembreteWindow;
  ::SetWindowTextW(scroll.hwnd, Utf16(std::string(table.SpokenName(table["scroll"])) + ": " + text).c_str());
  scroll.SetText(Utf16(text), size.width, size.height, red ? RGB(255, 0, 0) : RGB(0, 0, 0));
  scroll.ScrollToTop();
}

int LembreteWindow::ClientHeight() const {
  RECT r;
  ::GetClientRect(hwnd, &r);
  return r.bottom;
}

void LembreteWindow::SetClientHeight(int height) {
  ::SetWindowPos(hwnd, nullptr, 0, 0, forms::LembreteForm::kWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A collapsed events area is out of sight and out of the tab order.
  const bool shown = forms::LembreteForm::EventsAreaShown(height);
  ::ShowWindow(scroll.hwnd, shown ? SW_SHOWNA : SW_HIDE);
  if (!shown && ::GetFocus() == scroll.hwnd) ::SetFocus(mLembrete.hwnd);
}

void LembreteWindow::ShowSnooze(bool shown) { snooze.Show(shown, bOK, bAlternate); }

void LembreteWindow::SetWindowName(const std::string& name, bool alert) {
  SetAccessibleName(name, alert ? ROLE_SYSTEM_ALERT : ROLE_SYSTEM_DIALOG);
  alert_ = alert;
}

forms::Rect LembreteWindow::Bounds() const {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void LembreteWindow::MoveTo(forms::Point p) {
  ::SetWindowPos(hwnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LembreteWindow::FormClose() { form.FormClose(); }

bool LembreteWindow::FormKeyDown(WPARAM key) {
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0,
             alt = ::GetKeyState(VK_MENU) < 0;
  return form.FormKeyDown(static_cast<int>(key), ctrl, shift, alt);
}

void LembreteWindow::PaintOver(HDC dc) {
  // The panel `pLembrete`: the background colour inside a lowered one-pixel bevel.
  RECT panel = kPanel;
  HBRUSH brush = ::CreateSolidBrush(panel_);
  ::FillRect(dc, &panel, brush);
  ::DeleteObject(brush);
  ::DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace tavo::win32
