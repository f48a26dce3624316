#pragma once
// The list window `formList`: the stored reminders due between two dates,
// one per grid row, with the text of the selected one beside the grid; from
// it a reminder is altered, deleted, or the list printed.

#include <array>
#include <cstdint>
#include <string>

#include "forms/form.h"
#include "store/tavo_data.h"

namespace tavo::forms {

// The list window's controls, as its rules read and set them. The view runs
// the form's FormCreate once its controls exist, FormClose from its close
// event, and the handlers from its controls' events.
class ListView : public WindowView {
 public:
  // `eInicio` and `eFim`: the date fields' 10 characters.
  virtual std::string StartText() const = 0;
  virtual void SetStartText(const std::string& text) = 0;
  virtual std::string EndText() const = 0;
  virtual void SetEndText(const std::string& text) = 0;
  // `gridLembretes`: the number of grid rows including the header. A
  // selected row that still exists stays selected; the grid repaints.
  virtual void SetRowCount(int rows) = 0;
  // The selected grid row (1 = the first row below the header).
  virtual int SelectedRow() const = 0;
  // `mTexto`: the selected reminder's text.
  virtual void SetText(const std::string& text) = 0;
  virtual void SetTextColors(int32_t front, int32_t back) = 0;
  // Printing disables the window meanwhile.
  virtual void SetEnabled(bool enabled) = 0;
};

class ListForm : public Form {
 public:
  // The grid as designed; printing scales it to the page.
  static constexpr int kGridWidth = 199;
  static constexpr std::array<int, 3> kColWidths{64, 43, 65};
  static constexpr int kDefaultRowHeight = 18;
  static constexpr int kGridLineWidth = 1;
  static inline const Font kGridFont{"MS Sans Serif", 11};

  ListForm(Application& app, ListView& view);
  ~ListForm() override;
  ListView& View() const override { return view_; }

  // The listed index entries: a copy of one contiguous run of Lembretes.
  EntryTable ListedEntries;

  void FormCreate();
  void FormClose();
  void iHideClick();
  void eInicioExit();
  void eFimExit();
  void eInicioAcceptDate(double& date);
  void eFimAcceptDate(double& date);
  void bListarClick();
  void gridLembretesClick();
  void gridLembretesDblClick();
  void bAlterClick();
  void bDelClick();
  void bPrintListClick();
  // "Exportar Calendário" of the grid's menu: the listed reminders.
  void pmExportCalendarClick();
  void PrintList();
  // Keys of the window (virtual-key codes of forms/keys.h); true when
  // consumed. Escape closes the window as its close spot does.
  bool FormKeyDown(int key);
  // Keys on the grid: Enter is "Alterar", Delete is "Excluir" (with its question).
  bool gridLembretesKeyDown(int key);

  // The text of one cell: grid row 0 is the header, grid row r >= 1 shows
  // entry r - 1 of the listed entries; rows beyond them are empty. A snoozed
  // reminder's repetition cell says so on a second line (SnoozeLabel).
  std::string GridCellText(int column, int grid_row) const;
  // A grid row as a screen reader reads it: date, time, repetition, the
  // snooze, and the start of the reminder's text ("Nenhum lembrete listado"
  // for the blank row). The text is left out while the store is busy.
  std::string RowSummary(int grid_row) const;

 private:
  // The repetition's name, with the snooze on a second line when there is one.
  std::string RepeatCellText(const LembreteEntry& entry) const;
  std::string SnoozeOf(const LembreteEntry& entry) const;
  double StartDate() const;
  double EndDate() const;
  void ShowEmptyList();
  ListView& view_;
};

// How a list says a reminder is snoozed until the minute `until`: "adiado
// até 14:30", with the day and month when that is not `today` ("adiado até
// 10/12 14:30", in the user's date order).
std::string SnoozeLabel(double until, double today);

// A grid row's height after drawing a cell whose text measured `text_height`
// at the cell's width: rows only grow, to the text plus two grid lines.
int GrownRowHeight(int row_height, int text_height);

}  // namespace tavo::forms
