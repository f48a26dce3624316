#include "win32/config_window.h"

#include <windowsx.h>

#include "win32/application.h"
#include "win32/desktop_win32.h"
#include "win32/window_table.h"

namespace tavo::win32 {
namespace {

COLORREF Colour(int32_t value) { return static_cast<COLORREF>(value) & 0xFFFFFF; }

RECT Win(const forms::Rect& r) { return RectOf(r); }

void Frame(HDC dc, RECT r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FrameRect(dc, &r, brush);
  ::DeleteObject(brush);
}

void Fill(HDC dc, RECT r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

}  // namespace

// ---- The palette window ----

// Twenty swatches, the extra one, and "&Outra..."; a pick or losing the focus
// closes it. A screen reader reaches each of them by its colour's name.
class ColorPalette : public Wnd, public AccessibleElements {
  using Rules = forms::ColorPaletteRules;

 public:
  ColorPalette(ColorSelector& owner, int32_t current) : owner_(owner), rules_(current) {
    delete_on_destroy = true;
    paints = true;
    hand_cursor = true;
  }

  void Open(POINT at) {
    CreateArgs a;
    a.parent = ::GetAncestor(owner_.hwnd, GA_ROOT);
    a.style = WS_POPUP;
    a.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    a.x = at.x;
    a.y = at.y;
    a.width = forms::ColorPaletteRules::kWidth;
    a.height = forms::ColorPaletteRules::kHeight;
    if (!Create(a)) return;
    identity_.Set(hwnd, "Paleta de cores", ROLE_SYSTEM_LIST);
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
    ::SetFocus(hwnd);
    Announce();
  }

  void Dismiss() {
    if (hwnd) ::DestroyWindow(hwnd);
  }

  // AccessibleElements: the swatches, the extra one when shown, "Outra...".
  int ElementCount() const override { return Rules::kExtra + (rules_.HasExtra() ? 1 : 0) + 1; }
  AccessibleElement Element(int index) const override {
    const int item = ItemOf(index);
    AccessibleElement e;
    e.name = item == Rules::kOther ? "Outra..." : Rules::ColorName(rules_.ColorOf(item));
    e.role = ROLE_SYSTEM_LISTITEM;
    e.rect = Win(item == Rules::kOther ? rules_.OtherRect() : Rules::SwatchRect(item));
    e.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (item == rules_.Marked()) e.state |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    return e;
  }
  int FocusedElement() const override {
    for (int i = 0; i < ElementCount(); ++i)
      if (ItemOf(i) == rules_.Marked()) return i;
    return -1;
  }
  void PressElement(int index) override {
    const int item = ItemOf(index);
    if (item == Rules::kOther) return ChooseOther();
    const int32_t color = rules_.ColorOf(item);
    ColorSelector& owner = owner_;
    Dismiss();
    owner.Pick(color);
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_MOUSEMOVE:
        if (rules_.MouseMoved(forms::Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
      case WM_LBUTTONUP: {
        const forms::Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const RECT other = Win(rules_.OtherRect());
        if (p.x >= other.left && p.x < other.right && p.y >= other.top && p.y < other.bottom) {
          ChooseOther();
          return 0;
        }
        const int swatch = rules_.SwatchAt(p);
        if (swatch != forms::ColorPaletteRules::kNone) {
          const int32_t color = rules_.ColorOf(swatch);
          ColorSelector& owner = owner_;
          Dismiss();
          owner.Pick(color);
        }
        return 0;
      }
      case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
        switch (rules_.KeyDown(static_cast<int>(wp))) {
          case forms::ColorPaletteRules::Command::Moved:
            ::InvalidateRect(hwnd, nullptr, FALSE);
            Announce();
            break;
          case forms::ColorPaletteRules::Command::Pick: {
            const int32_t color = rules_.ColorOf(rules_.Marked());
            ColorSelector& owner = owner_;
            Dismiss();
            owner.Pick(color);
            break;
          }
          case forms::ColorPaletteRules::Command::Other: ChooseOther(); break;
          case forms::ColorPaletteRules::Command::Close: Dismiss(); break;
          case forms::ColorPaletteRules::Command::None: break;
        }
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
      case WM_CLOSE:
        Dismiss();
        return 0;
      case WM_GETOBJECT:
        if (const LRESULT object = identity_.Answer(hwnd, wp, lp)) return object;
        break;
      case kPressElement:
        PressElementMessage(hwnd, msg, wp);
        return 0;
    }
    return Wnd::WndProc(msg, wp, lp);
  }

  void OnDestroyed() override { owner_.PaletteClosed(this); }

 private:
  // The window text a screen reader reads: the marked swatch's colour.
  void Announce() {
    const int marked = rules_.Marked();
    std::string name = "Paleta de cores";
    if (marked == Rules::kOther) name += ": Outra...";
    else if (marked != Rules::kNone) name += ": " + Rules::ColorName(rules_.ColorOf(marked));
    SetText(name);
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
    if (const int focused = FocusedElement(); focused >= 0)
      ::NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, ElementChildId(hwnd, focused));
  }

  // The palette's item (swatch, kExtra or kOther) of an element.
  int ItemOf(int index) const {
    if (index < Rules::kExtra) return index;
    return index == Rules::kExtra && rules_.HasExtra() ? Rules::kExtra : Rules::kOther;
  }

  void ChooseOther() {
    ColorSelector& owner = owner_;
    const int32_t current = rules_.Current();
    Dismiss();
    if (!owner.askColor) return;
    if (const std::optional<int32_t> chosen = owner.askColor(current)) owner.Pick(*chosen);
  }

  void OnPaint(HDC dc) override {
    RECT all{0, 0, forms::ColorPaletteRules::kWidth, forms::ColorPaletteRules::kHeight};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    const int swatches = forms::ColorPaletteRules::kExtra + (rules_.HasExtra() ? 1 : 0);
    for (int k = 0; k < swatches; ++k) {
      RECT r = Win(forms::ColorPaletteRules::SwatchRect(k));
      ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
      RECT inner = r;
      ::InflateRect(&inner, -2, -2);
      Fill(dc, inner, Colour(rules_.ColorOf(k)));
    }
    if (rules_.Marked() != forms::ColorPaletteRules::kNone) {
      // Three nested outlines, black, white and black, from one pixel outside the square to one inside.
      RECT r = Win(forms::ColorPaletteRules::SwatchRect(rules_.Marked()));
      ::InflateRect(&r, 1, 1);
      Frame(dc, r, RGB(0, 0, 0));
      ::InflateRect(&r, -1, -1);
      Frame(dc, r, RGB(255, 255, 255));
      ::InflateRect(&r, -1, -1);
      Frame(dc, r, RGB(0, 0, 0));
    }
    RECT separator{3, forms::ColorPaletteRules::kSeparatorY, forms::ColorPaletteRules::kWidth - 3,
                   forms::ColorPaletteRules::kSeparatorY + 2};
    ::DrawEdge(dc, &separator, EDGE_ETCHED, BF_TOP);
    RECT other = Win(rules_.OtherRect());
    ::DrawEdge(dc, &other, EDGE_RAISED, BF_RECT);
    HGDIOBJ old = ::SelectObject(dc, Font(L"MS Sans Serif", 11));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextW(dc, L"&Outra...", -1, &other, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, old);
  }

  ColorSelector& owner_;
  forms::ColorPaletteRules rules_;
  AccessibleIdentity identity_;
};

// ---- The selector button ----

bool ColorSelector::Create(HWND parent, int id, const Place& place, const std::string& spoken) {
  hand_cursor = true;
  spoken_ = spoken;
  return CreateControl(L"BUTTON", ChildArgs(parent, id, place, WS_TABSTOP | BS_OWNERDRAW));
}

ColorSelector::~ColorSelector() {
  if (palette_) palette_->Dismiss();
}

void ColorSelector::SetColor(int32_t color) {
  color_ = color;
  SetText(spoken_ + ": " + forms::ColorPaletteRules::ColorName(color));
  ::InvalidateRect(hwnd, nullptr, FALSE);
}

void ColorSelector::Pick(int32_t color) {
  if (color == color_) return;
  SetColor(color);
  if (onChangeColor) onChangeColor();
}

void ColorSelector::PaletteClosed(ColorPalette* palette) {
  if (palette_ == palette) palette_ = nullptr;
}

bool ColorSelector::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (palette_) palette_->Dismiss();
  RECT r;
  ::GetWindowRect(hwnd, &r);
  palette_ = new ColorPalette(*this, color_);
  palette_->Open(POINT{r.left, r.bottom});
  return true;
}

bool ColorSelector::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool down = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const int shift = down ? 1 : 0;
  // The colour well, framed, and a small drop-down arrow at the right.
  RECT well{4 + shift, 4 + shift, r.right - 16 + shift, r.bottom - 4 + shift};
  Fill(dc, well, Colour(color_));
  Frame(dc, well, RGB(0, 0, 0));
  const int ax = r.right - 12 + shift, ay = r.bottom / 2 - 1 + shift;
  for (int i = 0; i < 4; ++i) {
    RECT row{ax + i, ay + i, ax + 7 - i, ay + i + 1};
    Fill(dc, row, RGB(0, 0, 0));
  }
  if (item.itemState & ODS_FOCUS) {
    RECT focus = r;
    ::InflateRect(&focus, -2, -2);
    ::DrawFocusRect(dc, &focus);
  }
  return true;
}

// ---- Settings window ----

ConfigWindow::ConfigWindow(forms::Application& app) : ShapedWindow(L"FUNDO_CONFIG"), form(app, *this) {
  CreateShaped();
  HFONT font = Font(L"MS Sans Serif", 11);
  HFONT button = Font(L"Arial", 13);
  const auto& table = forms::kConfigWindow;
  for (const char* name : {"Label1", "Label2", "Label3", "lbInfo"}) AddLabel(table[name].place, table[name].caption, font);
  if (picture_) picture_brush_ = ::CreatePatternBrush(picture_->bitmap);

  // Created in tab order.
  MakeFlatButton(bCancel, hwnd, table["bCancel"], button, form);
  auto ask = [this](int32_t current) { return form.App().desktop().AskColor(&form, current); };
  const auto& front = table["csFront"];
  csFront.Create(hwnd, front.id, PlaceOf(front.place), table.SpokenName(front));
  csFront.askColor = ask;
  csFront.onChangeColor = [this] { form.csFrontChangeColor(csFront.Color()); };
  const auto& back = table["csBack"];
  csBack.Create(hwnd, back.id, PlaceOf(back.place), table.SpokenName(back));
  csBack.askColor = ask;
  csBack.onChangeColor = [this] { form.csBackChangeColor(csBack.Color()); };
  const auto& sample = table["mExemplo"];
  mExemplo.Create(hwnd, sample.id, PlaceOf(sample.place), font, true, false);
  NameControl(mExemplo.hwnd, table, sample);
  ::SetWindowLongPtrW(mExemplo.hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(mExemplo.hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  ::SetWindowPos(mExemplo.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ::SetWindowTextW(mExemplo.hwnd, EditLines(sample.caption).c_str());
  MakeFlatButton(bOK, hwnd, table["bOK"], button, form);
  const auto& wave = table["lbWave"];
  lbWave.Create(hwnd, wave.id, PlaceOf(wave.place), font, 13);
  NameControl(lbWave.hwnd, table, wave);
  lbWave.onClick = Handler(form, wave.click);
  lbWave.onSelectionMoved = [this] { form.lbWaveSelectionMoved(); };
  lbWave.onKey = [this](int key) { return form.lbWaveKeyDown(key); };
  const auto& listen = table["bOuvir"];
  bOuvir.Create(hwnd, listen.id, PlaceOf(listen.place), listen.caption, font);
  bOuvir.onClick = Handler(form, listen.click);
  const auto& info = table["cbInfo"];
  cbInfo.Create(hwnd, info.id, PlaceOf(info.place));
  // Its caption, cut off by its size, is what MSAA reads; the picture shows the visible one.
  cbInfo.SetText(table.SpokenName(info));
  cbInfo.background = picture_brush_;
  cbInfo.onClick = Handler(form, info.click);
  MakeFlatButton(bSync, hwnd, table["bSync"], button, form);
  const auto& hide = table["iHide"];
  AddClickArea(hide.place, Handler(form, hide.click), {}, table.SpokenName(hide));
  const auto& label = table["lbInfo"];
  AddClickArea(label.place, Handler(form, label.click), Handler(form, label.double_click));

  SetAccessibleName(table.spoken, ROLE_SYSTEM_DIALOG);
  form.FormCreate();
}

ConfigWindow::~ConfigWindow() {
  if (picture_brush_) ::DeleteObject(picture_brush_);
}

void ConfigWindow::Close() { ::SendMessageW(hwnd, WM_CLOSE, 0, 0); }
void ConfigWindow::BringToFront() { win32::BringToFront(hwnd); }
bool ConfigWindow::IsForeground() const { return ::GetForegroundWindow() == hwnd; }

void ConfigWindow::SetSoundEntries(const std::vector<std::string>& entries) {
  lbWave.Clear();
  for (const std::string& e : entries) lbWave.Add(e);
}

int ConfigWindow::SelectedSound() const { return lbWave.Selected(); }
void ConfigWindow::SelectSound(int index) { lbWave.Select(index); }
bool ConfigWindow::InfoChecked() const { return cbInfo.Checked(); }
void ConfigWindow::SetInfoChecked(bool checked) { cbInfo.SetChecked(checked); }

void ConfigWindow::SetSelectorColors(int32_t front, int32_t back) {
  csFront.SetColor(front);
  csBack.SetColor(back);
}

void ConfigWindow::SetSampleColors(int32_t front, int32_t back) { mExemplo.SetColours(Colour(front), Colour(back)); }

void ConfigWindow::FormClose() { form.FormClose(); }

bool ConfigWindow::FormKeyDown(WPARAM key) {
  // The palette and the sound list see their own keys first.
  if (KeyTarget() == lbWave.hwnd && (key == VK_RETURN || key == VK_SPACE)) return false;
  return form.FormKeyDown(static_cast<int>(key));
}

}  // namespace tavo::win32
