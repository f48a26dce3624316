#include "win32/sync_window.h"

#include "win32/application.h"
#include "win32/window_table.h"

namespace tavo::win32 {

// ---- Status line ----

bool StatusLine::Create(HWND parent, int id, const Place& place, HFONT font) {
  // A static control wraps its text at words; "&" is no accelerator here.
  if (!CreateControl(L"STATIC", ChildArgs(parent, id, place, SS_LEFT | SS_NOPREFIX))) return false;
  SetFont(font);
  return true;
}

void StatusLine::Show(const std::string& text) {
  if (Text() == text) return;
  SetText(text);
  // Windows tells of the window object's new name; the text is the client object's name as well.
  ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

HBRUSH StatusLine::OnCtlColor(HDC dc) {
  if (!background) return nullptr;
  // The picture brush is aligned to the parent's origin.
  POINT origin{0, 0};
  ::MapWindowPoints(hwnd, ::GetParent(hwnd), &origin, 1);
  ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  return background;
}

// ---- Sync window ----

SyncWindow::SyncWindow(forms::Application& app) : ShapedWindow(L"FUNDO_SYNC"), form(app, *this) {
  CreateShaped();
  HFONT font = Font(L"MS Sans Serif", 11);
  HFONT button = Font(L"Arial", 13);
  const auto& table = forms::kSyncWindow;
  for (const char* name : {"Label1", "Label2", "Label3"}) AddLabel(table[name].place, table[name].caption, font);
  if (picture_) picture_brush_ = ::CreatePatternBrush(picture_->bitmap);

  // Created in tab order; Enter in a field saves, as the button does.
  auto field = [&](Edit& edit, const char* name, DWORD style) {
    const auto& c = table[name];
    edit.Create(hwnd, c.id, PlaceOf(c.place), font, style);
    NameControl(edit.hwnd, table, c);
    edit.onEnter = [this] { form.bSalvarClick(); };
  };
  field(eEndereco, "eEndereco", 0);
  field(eUsuario, "eUsuario", 0);
  field(eSenha, "eSenha", ES_PASSWORD);
  MakeFlatButton(bSalvar, hwnd, table["bSalvar"], button, form);
  MakeFlatButton(bSincronizar, hwnd, table["bSincronizar"], button, form);
  MakeFlatButton(bEsquecer, hwnd, table["bEsquecer"], button, form);
  MakeFlatButton(bFechar, hwnd, table["bFechar"], button, form);
  const auto& status = table["lStatus"];
  lStatus.Create(hwnd, status.id, PlaceOf(status.place), font);
  lStatus.background = picture_brush_;
  const auto& hide = table["iHide"];
  AddClickArea(hide.place, Handler(form, hide.click), {}, table.SpokenName(hide));

  SetAccessibleName(table.spoken, ROLE_SYSTEM_DIALOG);
  form.FormCreate();
}

SyncWindow::~SyncWindow() {
  if (picture_brush_) ::DeleteObject(picture_brush_);
}

void SyncWindow::Close() { ::SendMessageW(hwnd, WM_CLOSE, 0, 0); }
void SyncWindow::BringToFront() { win32::BringToFront(hwnd); }
bool SyncWindow::IsForeground() const { return ::GetForegroundWindow() == hwnd; }

void SyncWindow::SetEnabled(const Enabled& enabled) {
  const std::pair<Wnd*, bool> controls[] = {{&eEndereco, enabled.fields}, {&eUsuario, enabled.fields},
                                            {&eSenha, enabled.fields},    {&bSalvar, enabled.save},
                                            {&bSincronizar, enabled.sync_now}, {&bEsquecer, enabled.forget}};
  HWND focused = ::GetFocus();
  for (const auto& [control, on] : controls) {
    // A disabled control keeps the focus but takes no keys: "Fechar" takes it over.
    if (!on && control->hwnd == focused) FocusControl(bFechar.hwnd);
    control->Enable(on);
  }
}

void SyncWindow::FocusField(const char* name) { FocusControl(::GetDlgItem(hwnd, forms::kSyncWindow[name].id)); }

}  // namespace tavo::win32
