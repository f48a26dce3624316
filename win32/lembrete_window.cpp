#include "win32/lembrete_window.h"

#include <oleacc.h>

#include "store/cp1252.h"
#include "win32/application.h"
#include "win32/desktop_win32.h"

namespace tavo::win32 {
namespace {

constexpr RECT kPanel{32, 86, 32 + 212, 86 + 92};

COLORREF Colour(int32_t value) { return static_cast<COLORREF>(value) & 0xFFFFFF; }

}  // namespace

LembreteWindow::LembreteWindow(forms::Application& app)
    : ShapedWindow(L"FUNDO_LEMBRETE"), form(app, *this) {
  CreateShaped(forms::LembreteForm::kExpandedHeight);
  HFONT field = ScreenFont(forms::LembreteForm::kFieldFont);
  HFONT button = Font(L"MS Sans Serif", 12);
  AddLabel(32, 50, "Data", field);
  AddLabel(121, 50, "Hora", field);
  AddLabel(160, 50, "Repetição", field);

  // Created in tab order; NameLabel gives each field the name MSAA reads.
  eData.Create(hwnd, 100, Place{32, 63, 88, 21}, field);
  NameLabel(eData.edit.hwnd, "Data");
  eData.onExit = [this] { form.eDataExit(); };
  eData.onAcceptDate = [this](double& date) { form.eDataAcceptDate(date); };
  eHora.Create(hwnd, 102, Place{121, 63, 37, 21}, field, forms::MaskedText::kTimeMask);
  NameLabel(eHora.hwnd, "Hora");
  eHora.onExit = [this] { form.eHoraExit(); };
  eHora.onEnter = [this] { form.eHoraExit(); };
  cbRepeat.Create(hwnd, 103, Place{160, 63, 82, 21}, field, forms::LembreteForm::RepeatItems());
  NameLabel(cbRepeat.hwnd, "Repetição");
  // Inside the panel's one-pixel bevel and its border of 3 pixels.
  mLembrete.Create(hwnd, 104, Place{kPanel.left + 4, kPanel.top + 4, 212 - 8, 92 - 8}, field, false);
  NameLabel(mLembrete.hwnd, "Texto do lembrete");
  mLembrete.SetLimit(forms::LembreteForm::kMaxTextLength);  // a line break counts two, as stored
  bOK.Create(hwnd, 105, Place{31, 181, 88, 21}, "OK", button);
  bOK.onClick = [this] { form.bOKClick(); };
  bAlternate.Create(hwnd, 106, Place{129, 181, 88, 21}, "Cancelar", button);
  bAlternate.onClick = [this] { form.bAlternateClick(); };
  snooze.Create(hwnd, 108, button);
  scroll.Create(hwnd, 107, Place{12, 211, 236, 54}, field);
  NameLabel(scroll.hwnd, "Informações do dia");
  // The events area's toggle, also Ctrl+I.
  AddClickArea(forms::kExpandArea, [this] { form.iExpandClick(); }, [this] { form.iExpandClick(); },
               "Mostrar informações do dia",
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
  ::SetWindowTextW(scroll.hwnd, Utf16("Informações do dia: " + text).c_str());
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
