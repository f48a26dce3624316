#include "win32/list_window.h"

#include <windowsx.h>

#include <algorithm>

#include "store/cp1252.h"
#include "win32/accessibility.h"
#include "win32/application.h"
#include "win32/desktop_win32.h"
#include "win32/window_table.h"

namespace tavo::win32 {

// ---- Grid ----

bool Grid::Create(HWND parent, int id, const Place& place, HFONT font, const std::string& spoken) {
  CreateArgs a = ChildArgs(parent, id, place, WS_TABSTOP | WS_VSCROLL);
  a.ex_style = WS_EX_CLIENTEDGE;
  paints = true;
  hand_cursor = true;
  if (!Wnd::Create(a)) return false;
  font_ = font;
  LOGFONTW lf{};
  ::GetObjectW(font, sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  bold_ = ::CreateFontIndirectW(&lf);
  SetRowCount(2);
  identity_.Set(hwnd, spoken, ROLE_SYSTEM_LIST);
  return true;
}

RECT Grid::RowRect(int row) const {
  RECT client;
  ::GetClientRect(hwnd, &client);
  if (row < top_) return RECT{};
  int top = heights_[0] + forms::ListForm::kGridLineWidth;
  for (int r = top_; r < row; ++r) top += heights_[static_cast<size_t>(r)] + forms::ListForm::kGridLineWidth;
  if (top >= client.bottom) return RECT{};
  return RECT{0, top, client.right, std::min<int>(client.bottom, top + heights_[static_cast<size_t>(row)])};
}

AccessibleElement Grid::Element(int index) const {
  const int row = index + 1;
  AccessibleElement e;
  e.name = rowSummary ? rowSummary(row) : std::string();
  e.role = ROLE_SYSTEM_LISTITEM;
  e.rect = RowRect(row);
  e.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
  if (row == selected_) e.state |= STATE_SYSTEM_SELECTED | (::GetFocus() == hwnd ? STATE_SYSTEM_FOCUSED : 0);
  if (::IsRectEmpty(&e.rect)) e.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  return e;
}

void Grid::PressElement(int index) {
  ::SetFocus(hwnd);
  Select(index + 1);
  if (onClick) onClick();
}

void Grid::AnnounceSelected() {
  // A screen reader reads the row that now has the focus.
  const long id = ElementChildId(hwnd, selected_ - 1);
  ::NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd, OBJID_CLIENT, id);
  if (::GetFocus() == hwnd) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, id);
}

void Grid::SetRowCount(int rows) {
  // New rows take the default height; the rows kept keep theirs.
  heights_.resize(static_cast<size_t>(std::max(rows, 2)), forms::ListForm::kDefaultRowHeight);
  if (selected_ >= RowCount()) selected_ = RowCount() - 1;
  if (selected_ < 1) selected_ = 1;
  if (top_ >= RowCount()) top_ = 1;
  UpdateScrollBar();
  ::InvalidateRect(hwnd, nullptr, FALSE);
}

void Grid::Select(int row) {
  if (row < 1 || row >= RowCount() || row == selected_) return;
  selected_ = row;
  EnsureVisible(row);
  ::InvalidateRect(hwnd, nullptr, FALSE);
  AnnounceSelected();
}

int Grid::VisibleRows() const {
  RECT client;
  ::GetClientRect(hwnd, &client);
  int y = heights_[0] + forms::ListForm::kGridLineWidth, n = 0;
  for (int r = top_; r < RowCount(); ++r) {
    y += heights_[static_cast<size_t>(r)] + forms::ListForm::kGridLineWidth;
    if (y > client.bottom) break;
    ++n;
  }
  return std::max(n, 1);
}

void Grid::UpdateScrollBar() {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 1;
  si.nMax = RowCount() - 1;
  si.nPage = static_cast<UINT>(VisibleRows());
  si.nPos = top_;
  ::SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void Grid::ScrollTo(int top_row) {
  const int last_top = std::max(1, RowCount() - VisibleRows());
  top_ = std::clamp(top_row, 1, last_top);
  UpdateScrollBar();
  ::InvalidateRect(hwnd, nullptr, FALSE);
}

void Grid::EnsureVisible(int row) {
  if (row < top_) ScrollTo(row);
  else if (row >= top_ + VisibleRows()) ScrollTo(row - VisibleRows() + 1);
}

int Grid::RowAt(int y) const {
  int bottom = heights_[0] + forms::ListForm::kGridLineWidth;
  if (y < bottom) return 0;
  for (int r = top_; r < RowCount(); ++r) {
    bottom += heights_[static_cast<size_t>(r)] + forms::ListForm::kGridLineWidth;
    if (y < bottom) return r;
  }
  return -1;
}

void Grid::DrawCell(HDC dc, int column, int row, const RECT& cell) {
  // Colours and weight by the cell's state; the whole selected row is highlighted.
  int back = COLOR_WINDOW, fore = COLOR_WINDOWTEXT;
  HFONT font = font_;
  if (row == 0) {
    back = COLOR_BTNFACE;
    fore = COLOR_BTNTEXT;
    font = bold_;
  } else if (row == selected_) {
    back = COLOR_HIGHLIGHT;
    fore = COLOR_HIGHLIGHTTEXT;
  }
  ::FillRect(dc, &cell, ::GetSysColorBrush(back));
  // A cell whose text cannot be composed or drawn keeps its background.
  try {
    DrawCellText(dc, column, row, cell, font, fore);
  } catch (...) {
  }
}

void Grid::DrawCellText(HDC dc, int column, int row, const RECT& cell, HFONT font, int fore) {
  const std::wstring text = cellText ? Utf16(cellText(column, row)) : std::wstring();
  if (text.empty()) return;
  HGDIOBJ old = ::SelectObject(dc, font);
  // Measured at the cell's width less one pixel each side; the row grows to fit.
  RECT measure{cell.left + 1, 0, cell.right - 1, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
  const int h = measure.bottom - measure.top;
  int& row_height = heights_[static_cast<size_t>(row)];
  row_height = forms::GrownRowHeight(row_height, h);
  RECT place{cell.left + 1, cell.top + (row_height - h) / 2, cell.right - 1, 0};
  place.bottom = place.top + h;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(fore));
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
  ::SelectObject(dc, old);
}

void Grid::OnPaint(HDC dc) {
  RECT client;
  ::GetClientRect(hwnd, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
  HPEN line = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
  HGDIOBJ old_pen = ::SelectObject(dc, line);
  constexpr int kLine = forms::ListForm::kGridLineWidth;
  int y = 0;
  auto draw_row = [&](int row) {
    int x = 0;
    const int height_before = heights_[static_cast<size_t>(row)];
    for (int c = 0; c < 3; ++c) {
      const int w = forms::ListForm::kColWidths[static_cast<size_t>(c)];
      DrawCell(dc, c, row, RECT{x, y, x + w, y + heights_[static_cast<size_t>(row)]});
      x += w + kLine;
    }
    // A row that grew while drawing is drawn again at its new height.
    if (heights_[static_cast<size_t>(row)] != height_before) {
      x = 0;
      for (int c = 0; c < 3; ++c) {
        const int w = forms::ListForm::kColWidths[static_cast<size_t>(c)];
        DrawCell(dc, c, row, RECT{x, y, x + w, y + heights_[static_cast<size_t>(row)]});
        x += w + kLine;
      }
    }
    const int h = heights_[static_cast<size_t>(row)];
    // Grid lines right of every cell and under the row.
    x = 0;
    for (int c = 0; c < 3; ++c) {
      x += forms::ListForm::kColWidths[static_cast<size_t>(c)];
      ::MoveToEx(dc, x, y, nullptr);
      ::LineTo(dc, x, y + h + kLine);
      x += kLine;
    }
    ::MoveToEx(dc, 0, y + h, nullptr);
    ::LineTo(dc, x, y + h);
    y += h + kLine;
  };
  draw_row(0);
  for (int r = top_; r < RowCount() && y < client.bottom; ++r) draw_row(r);
  ::SelectObject(dc, old_pen);
  ::DeleteObject(line);
  UpdateScrollBar();
}

LRESULT Grid::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      ::SetFocus(hwnd);
      const int row = RowAt(GET_Y_LPARAM(lp));
      if (row >= 1) {
        Select(row);
        if (onClick) onClick();
      }
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (onDblClick) onDblClick();
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (lp == -1) {  // from the keyboard: at the selected row
        const RECT row = RowRect(selected_);
        at = {row.left + 8, row.bottom};
        ::ClientToScreen(hwnd, &at);
      }
      if (onContextMenu) onContextMenu(at);
      return 0;
    }
    case WM_GETDLGCODE:
      // Enter is "Alterar" here, not the dialog manager's.
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN && reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;
      return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      if ((wp == VK_RETURN || wp == VK_DELETE) && onKey && onKey(static_cast<int>(wp))) return 0;
      int row = selected_;
      switch (wp) {
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        case VK_PRIOR: row -= VisibleRows(); break;
        case VK_NEXT: row += VisibleRows(); break;
        case VK_HOME: row = 1; break;
        case VK_END: row = RowCount() - 1; break;
        default: return 0;
      }
      row = std::clamp(row, 1, RowCount() - 1);
      if (row != selected_) {
        Select(row);
        if (onClick) onClick();
      }
      return 0;
    }
    case WM_VSCROLL: {
      switch (LOWORD(wp)) {
        case SB_LINEUP: ScrollTo(top_ - 1); break;
        case SB_LINEDOWN: ScrollTo(top_ + 1); break;
        case SB_PAGEUP: ScrollTo(top_ - VisibleRows()); break;
        case SB_PAGEDOWN: ScrollTo(top_ + VisibleRows()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(HIWORD(wp)); break;
      }
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(top_ + (GET_WHEEL_DELTA_WPARAM(wp) > 0 ? -1 : 1));
      return 0;
    case WM_SETFOCUS:
      ::InvalidateRect(hwnd, nullptr, FALSE);
      AnnounceSelected();
      break;
    case WM_KILLFOCUS:
      ::InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_GETOBJECT:
      if (const LRESULT object = identity_.Answer(hwnd, wp, lp)) return object;
      break;
    case kPressElement:
      PressElementMessage(hwnd, msg, wp);
      return 0;
    case WM_DESTROY:
      if (bold_) ::DeleteObject(bold_);
      bold_ = nullptr;
      break;
  }
  return Wnd::WndProc(msg, wp, lp);
}

// ---- List window ----

ListWindow::ListWindow(forms::Application& app) : ShapedWindow(L"FUNDO_LIST"), form(app, *this) {
  CreateShaped();
  HFONT font = ScreenFont(forms::ListForm::kGridFont);
  HFONT label = Font(L"MS Sans Serif", 13);
  HFONT button = Font(L"Arial", 13);
  const auto& table = forms::kListWindow;
  for (const char* name : {"Label1", "Label2"}) AddLabel(table[name].place, table[name].caption, label);

  // Created in tab order; NameControl gives each field the name MSAA reads.
  const auto& start = table["eInicio"];
  eInicio.Create(hwnd, start.id, PlaceOf(start.place), font);
  NameControl(eInicio.edit.hwnd, table, start);
  eInicio.onExit = Handler(form, start.click);
  eInicio.onAcceptDate = [this](double& date) { form.eInicioAcceptDate(date); };
  const auto& end = table["eFim"];
  eFim.Create(hwnd, end.id, PlaceOf(end.place), font);
  NameControl(eFim.edit.hwnd, table, end);
  eFim.onExit = Handler(form, end.click);
  eFim.onAcceptDate = [this](double& date) { form.eFimAcceptDate(date); };
  const auto& list = table["bListar"];
  bListar.Create(hwnd, list.id, PlaceOf(list.place), list.caption, font);
  bListar.onClick = Handler(form, list.click);
  const auto& grid = table["gridLembretes"];
  const char* grid_name = table.SpokenName(grid);
  gridLembretes.Create(hwnd, grid.id, PlaceOf(grid.place), font, grid_name);
  NameControl(gridLembretes.hwnd, table, grid);
  gridLembretes.SetText(grid_name);  // never drawn: read by MSAA for a window of its own class
  gridLembretes.cellText = [this](int column, int row) { return form.GridCellText(column, row); };
  gridLembretes.rowSummary = [this](int row) { return form.RowSummary(row); };
  gridLembretes.onClick = Handler(form, grid.click);
  gridLembretes.onDblClick = Handler(form, grid.double_click);
  gridLembretes.onKey = [this](int key) { return form.gridLembretesKeyDown(key); };
  gridLembretes.onContextMenu = [this](POINT at) {
    // One item: a plain menu, too short for the tray menu's margin.
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"&Exportar Calendário...");
    const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
        menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, gridLembretes.hwnd, nullptr));
    ::DestroyMenu(menu);
    // The command runs after the menu has closed.
    if (command == 1) form.pmExportCalendarClick();
  };
  // Read-only, and reached by Tab like the other controls.
  const auto& text = table["mTexto"];
  mTexto.Create(hwnd, text.id, PlaceOf(text.place), font, true);
  NameControl(mTexto.hwnd, table, text);
  ::SetWindowLongPtrW(mTexto.hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(mTexto.hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  ::SetWindowPos(mTexto.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  MakeFlatButton(bPrintList, hwnd, table["bPrintList"], button, form);
  MakeFlatButton(bAlter, hwnd, table["bAlter"], button, form);
  MakeFlatButton(bDel, hwnd, table["bDel"], button, form);
  MakeFlatButton(bCancel, hwnd, table["bCancel"], button, form);
  const auto& hide = table["iHide"];
  AddClickArea(hide.place, Handler(form, hide.click), {}, table.SpokenName(hide));

  SetAccessibleName(table.spoken, ROLE_SYSTEM_DIALOG);
  form.FormCreate();
}

void ListWindow::Close() { ::SendMessageW(hwnd, WM_CLOSE, 0, 0); }
void ListWindow::BringToFront() { win32::BringToFront(hwnd); }
bool ListWindow::IsForeground() const { return ::GetForegroundWindow() == hwnd; }

std::string ListWindow::StartText() const { return eInicio.FieldText(); }
void ListWindow::SetStartText(const std::string& text) { eInicio.edit.SetText(Cp1252ToUtf8(text)); }
std::string ListWindow::EndText() const { return eFim.FieldText(); }
void ListWindow::SetEndText(const std::string& text) { eFim.edit.SetText(Cp1252ToUtf8(text)); }

void ListWindow::SetRowCount(int rows) { gridLembretes.SetRowCount(rows); }
int ListWindow::SelectedRow() const { return gridLembretes.Selected(); }

void ListWindow::SetText(const std::string& text) { ::SetWindowTextW(mTexto.hwnd, EditLines(text).c_str()); }

void ListWindow::SetTextColors(int32_t front, int32_t back) {
  mTexto.SetColours(static_cast<COLORREF>(front) & 0xFFFFFF, static_cast<COLORREF>(back) & 0xFFFFFF);
}

void ListWindow::SetEnabled(bool enabled) { ::EnableWindow(hwnd, enabled); }

void ListWindow::FormClose() { form.FormClose(); }

bool ListWindow::FormKeyDown(WPARAM key) { return form.FormKeyDown(static_cast<int>(key)); }

}  // namespace tavo::win32
