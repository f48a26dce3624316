#pragma once
// The list window `formList`: two date fields, the grid of listed reminders,
// the selected reminder's text, and the print, alter, delete and back buttons.

#include <functional>
#include <vector>

#include "forms/list_form.h"
#include "win32/controls.h"
#include "win32/shaped_window.h"

namespace tavo::win32 {

// The string grid `gridLembretes`: one fixed header row, whole-row
// selection, grid lines, every cell drawn here; a row grows to fit its
// word-wrapped texts and never shrinks.
class Grid : public Wnd, public AccessibleElements {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, const std::string& spoken);
  void SetRowCount(int rows);
  int RowCount() const { return static_cast<int>(heights_.size()); }
  int Selected() const { return selected_; }
  void Select(int row);
  int RowHeight(int row) const { return heights_[static_cast<size_t>(row)]; }

  std::function<std::string(int column, int row)> cellText;
  // What a screen reader reads for a row (1 and on).
  std::function<std::string(int row)> rowSummary;

  // AccessibleElements: the rows below the header.
  int ElementCount() const override { return RowCount() - 1; }
  AccessibleElement Element(int index) const override;
  int FocusedElement() const override { return selected_ - 1; }
  void PressElement(int index) override;
  std::function<void()> onClick, onDblClick;
  // Enter and Delete on the grid; true when used.
  std::function<bool(int key)> onKey;
  // The context menu asked for at a screen point (mouse, Shift+F10, the menu key).
  std::function<void(POINT at)> onContextMenu;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnPaint(HDC dc) override;
  void DrawCell(HDC dc, int column, int row, const RECT& cell);
  void DrawCellText(HDC dc, int column, int row, const RECT& cell, HFONT font, int fore);
  int RowAt(int y) const;
  void ScrollTo(int top_row);
  void EnsureVisible(int row);
  int VisibleRows() const;
  void UpdateScrollBar();
  // A row's rectangle in the client area; empty when it is scrolled away.
  RECT RowRect(int row) const;
  void AnnounceSelected();
  AccessibleIdentity identity_;

  HFONT font_ = nullptr, bold_ = nullptr;
  std::vector<int> heights_;
  int selected_ = 1;
  int top_ = 1;  // the first row shown below the header
};

class ListWindow : public ShapedWindow, public forms::ListView {
 public:
  explicit ListWindow(forms::Application& app);

  forms::ListForm form;
  DateField eInicio, eFim;
  PushButton bListar;
  Grid gridLembretes;
  Memo mTexto;
  FlatButton bPrintList, bAlter, bDel, bCancel;

  // forms::WindowView
  void Close() override;
  void BringToFront() override;
  bool IsForeground() const override;
  // forms::ListView
  std::string StartText() const override;
  void SetStartText(const std::string& text) override;
  std::string EndText() const override;
  void SetEndText(const std::string& text) override;
  void SetRowCount(int rows) override;
  int SelectedRow() const override;
  void SetText(const std::string& text) override;
  void SetTextColors(int32_t front, int32_t back) override;
  void SetEnabled(bool enabled) override;

 protected:
  void FormClose() override;
  bool FormKeyDown(WPARAM key) override;
};

}  // namespace tavo::win32
