#include "forms/list_form.h"

#include <algorithm>
#include <optional>

#include "forms/calendar_flow.h"
#include "forms/keys.h"
#include "forms/lembrete_form.h"
#include "forms/print_layout.h"
#include "store/config.h"
#include "store/cp1252.h"
#include "store/date_text.h"

namespace tavo::forms {
namespace {

constexpr const char* kNoneFound = "Nenhum lembrete encontrado";
constexpr const char* kAskDelete = "Deseja realmente excluir este lembrete?";
constexpr const char* kPrinting = "Aguarde. Imprimindo...";
constexpr const char* kPrintFailed = "Erro ao imprimir. Verifique se há uma impressora instalada em seu computador";
constexpr const char* kNoRow = "Nenhum lembrete listado";
// How much of a reminder's text a grid row reads out.
constexpr int kRowTextChars = 40;

// Printing's measures in the printer's font, plain or bold.
class CanvasMeasure : public PrintMeasure {
 public:
  CanvasMeasure(PrinterCanvas& canvas, const Font& font) : canvas_(canvas), font_(font) {}
  Size LineSize(const std::string& text, bool bold) override {
    Select(bold);
    return canvas_.LineSize(text);
  }
  Size WrappedSize(const std::string& text, int width, bool bold) override {
    Select(bold);
    return canvas_.WrappedSize(text, width);
  }
  void Select(bool bold) {
    Font font = font_;
    font.bold = bold;
    canvas_.SetFont(font);
  }

 private:
  PrinterCanvas& canvas_;
  Font font_;
};

}  // namespace

int GrownRowHeight(int row_height, int text_height) {
  constexpr int kLines = 2 * ListForm::kGridLineWidth;
  return text_height >= row_height - kLines ? text_height + kLines : row_height;
}

ListForm::ListForm(Application& app, ListView& view) : Form(app, WindowKind::List), view_(view) {}

ListForm::~ListForm() = default;

std::string SnoozeLabel(double until, double today) {
  std::string label = "adiado até ";
  if (DayNumber(until) != DayNumber(today)) {
    // The date without its year, wherever the user's order puts the year.
    const std::string date = DateToText(until);
    if (date.size() == 10) label += (date[4] == '/' ? date.substr(5) : date.substr(0, 5)) + " ";
  }
  return label + TimeToDisplay(until);
}

std::string ListForm::SnoozeOf(const LembreteEntry& entry) const {
  const std::optional<double> until = store().SnoozedUntil(entry.Id);
  return until ? SnoozeLabel(*until, Today()) : std::string();
}

std::string ListForm::RepeatCellText(const LembreteEntry& entry) const {
  const std::string snooze = SnoozeOf(entry);
  const std::string name = Cp1252ToUtf8(RepeatName(entry.RepeatKind));
  return snooze.empty() ? name : name + "\n" + snooze;
}

std::string ListForm::GridCellText(int column, int grid_row) const {
  if (grid_row == 0) {
    static const char* const kHeader[] = {"Data", "Hora", "Repetição"};
    return column >= 0 && column < 3 ? kHeader[column] : "";
  }
  if (grid_row < 1 || grid_row > ListedEntries.Count) return {};
  const LembreteEntry& e = ListedEntries[grid_row - 1];
  switch (column) {
    case 0: return DateToText(e.DateTime);
    case 1: return TimeToDisplay(e.DateTime);
    case 2: return RepeatCellText(e);
  }
  return {};
}

std::string ListForm::RowSummary(int grid_row) const {
  if (grid_row < 1 || grid_row > ListedEntries.Count) return kNoRow;
  const LembreteEntry& entry = ListedEntries[grid_row - 1];
  std::string summary = GridCellText(0, grid_row) + ", " + GridCellText(1, grid_row) + ", " +
                        Cp1252ToUtf8(RepeatName(entry.RepeatKind));
  if (const std::string snooze = SnoozeOf(entry); !snooze.empty()) summary += ", " + snooze;
  // A screen reader may ask at any moment; reading the text waits for no one.
  if (store().StoreBusy || store().ScanBusy) return summary;
  TLembrete record;
  try {
    Store::ScanHold scan(store());
    static_cast<LembreteEntry&>(record) = entry;
    const int32_t p = store().FindLembrete(record);
    if (p < 0) return summary;
    store().ReadLembrete(p, record);
  } catch (const std::exception&) {
    return summary;  // a store failure has been reported already
  }
  const std::string text = TextStart(MemoFromStored(record.Text), kRowTextChars);
  return text.empty() ? summary : summary + ": " + text;
}

double ListForm::StartDate() const { return TextToDate(view_.StartText()); }
double ListForm::EndDate() const { return TextToDate(view_.EndText()); }

void ListForm::FormCreate() {
  SetEntryCount(ListedEntries, 0);
  const double today = Today();
  view_.SetStartText(DateToText(today));
  view_.SetEndText(DateToText(today + 7.0));
  view_.SetRowCount(2);
  // The reminder colours as they are now; later changes are not followed.
  view_.SetTextColors(store().Config.FrontColor, store().Config.BackColor);
  gridLembretesClick();
}

void ListForm::FormClose() { App().SecondaryWindowClosing(); }

void ListForm::iHideClick() { view_.Close(); }

void ListForm::eInicioExit() { view_.SetStartText(DateToText(StartDate())); }

void ListForm::eFimExit() {
  // The end is never before the start; the start is never compared with the end.
  double d = EndDate();
  if (StartDate() > d) d = StartDate();
  view_.SetEndText(DateToText(d));
}

void ListForm::eInicioAcceptDate(double& date) {
  view_.SetStartText(DateToText(date));
  eInicioExit();
}

void ListForm::eFimAcceptDate(double& date) {
  if (StartDate() > date) date = StartDate();
  view_.SetEndText(DateToText(date));
  eFimExit();
}

void ListForm::ShowEmptyList() {
  SetEntryCount(ListedEntries, 0);
  view_.SetRowCount(2);
}

void ListForm::bListarClick() {
  Guarded([this] {
    store().WaitForBothFlags();
    if (store().Lembretes.Count <= 0) {
      ShowEmptyList();
      gridLembretesClick();
      return;
    }
    bool found = true;
    {
      Store::ScanHold scan(store());
      // Half-open range: from the start day at 00:00 up to the day after the end day at 00:00.
      const int32_t first = store().FindPosition(StartDate());
      const int32_t after = store().FindPosition(EndDate() + 1.0);
      found = after - 1 >= first;
      if (!found) {
        ShowEmptyList();
      } else {
        const int32_t n = after - first;
        SetEntryCount(ListedEntries, n);
        std::copy_n(store().Lembretes.Entries.begin() + first, n, ListedEntries.Entries.begin());
        view_.SetRowCount(n + 1);
      }
    }
    // Shown once the table is free again: a box holding ScanBusy would stop
    // the due check and every store operation for as long as it stays open.
    // Only a user looking at this window hears about it, not a refresh from elsewhere.
    if (!found && view_.IsForeground())
      App().desktop().ShowMessage(nullptr, kNoneFound, BoxIcon::Error, BoxModality::System);
    gridLembretesClick();
  });
}

void ListForm::gridLembretesClick() {
  Guarded([this] {
    store().WaitForBothFlags();
    const int row = view_.SelectedRow();
    if (row < 1 || row > ListedEntries.Count) {
      view_.SetText({});
      return;
    }
    Store::ScanHold scan(store());
    const int32_t p = store().FindLembrete(ListedEntries[row - 1]);
    if (p < 0) {
      view_.SetText({});
      return;
    }
    TLembrete record;
    store().ReadLembrete(p, record);
    view_.SetText(MemoFromStored(record.Text));
  });
}

void ListForm::gridLembretesDblClick() { bAlterClick(); }

void ListForm::bAlterClick() {
  Guarded([this] {
    store().WaitForBothFlags();
    const int row = view_.SelectedRow();
    if (row < 1 || row > ListedEntries.Count) return;
    int32_t p = -1;
    {
      Store::ScanHold scan(store());
      const LembreteEntry entry = ListedEntries[row - 1];
      p = store().FindLembrete(entry);
      if (p < 0) return;
      // A window that already shows this reminder is turned into the alter window.
      for (Form* form : App().OwnedWindows()) {
        if (form->Kind() != WindowKind::Lembrete) continue;
        auto* reminder = static_cast<LembreteForm*>(form);
        if (reminder->Mode == LembreteForm::kModeNew || reminder->Reminder.Id != entry.Id) continue;
        reminder->SwitchToAlterMode();
        reminder->View().BringToFront();
        return;
      }
    }
    App().ShowLembrete(p, LembreteForm::kModeAlter);
  });
}

void ListForm::bDelClick() {
  Guarded([this] {
    store().WaitForBothFlags();
    if (view_.SelectedRow() > ListedEntries.Count) return;
    if (!App().desktop().AskYesNo(nullptr, kAskDelete, BoxIcon::Question, BoxModality::System)) return;
    store().WaitForBothFlags();
    const int row = view_.SelectedRow();
    if (row < 1 || row > ListedEntries.Count) return;
    TLembrete record;
    {
      Store::ScanHold scan(store());
      static_cast<LembreteEntry&>(record) = ListedEntries[row - 1];
      if (store().FindLembrete(record) < 0) return;
      // An open window could otherwise act on the reminder after it is gone.
      App().CloseReminderWindows();
    }
    // DeleteLembrete waits for both flags, so ScanBusy is clear by now; it lists again.
    store().DeleteLembrete(record);
  });
}

void ListForm::bPrintListClick() { PrintList(); }

void ListForm::pmExportCalendarClick() {
  Guarded([this] { ExportListedCalendar(*this); });
}

bool ListForm::FormKeyDown(int key) {
  if (key != keys::kEscape) return false;
  iHideClick();
  return true;
}

bool ListForm::gridLembretesKeyDown(int key) {
  if (key == keys::kReturn) bAlterClick();
  else if (key == keys::kDelete) bDelClick();
  else return false;
  return true;
}

void ListForm::PrintList() {
  Desktop& desktop = App().desktop();
  Guarded([&] {
    try {
      PrinterCanvas* printer = desktop.AskPrinter(this);
      if (!printer) return;
      // The program may have been asked to end while the dialog was open.
      if (App().ShuttingDown) return;
      store().WaitForBothFlags();

      // Everything printing holds, given back however the run ends.
      struct Hold {
        ListForm& form;
        explicit Hold(ListForm& f) : form(f) {
          form.store().ScanBusy = true;
          form.view_.SetEnabled(false);
        }
        ~Hold() {
          form.store().ScanBusy = false;
          form.view_.SetEnabled(true);
          form.App().desktop().CloseStatusBox();
        }
      } hold(*this);
      desktop.ShowStatusBox(this, kPrinting);

      printer->BeginDocument(kAppTitle);
      PrintInput input;
      input.page = printer->PageSize();
      input.grid_width = kGridWidth;
      input.col_widths = kColWidths;
      input.default_row_height = kDefaultRowHeight;
      input.screen_text_height = desktop.MeasureText(kGridFont, "ÁÇ", 1 << 20).height;
      input.title = kAppTitle;
      const int rows = std::max(ListedEntries.Count, 1);
      for (int i = 1; i <= rows; ++i) {
        PrintRow row;
        if (i <= ListedEntries.Count) {
          TLembrete record;
          static_cast<LembreteEntry&>(record) = ListedEntries[i - 1];
          const int32_t p = store().FindLembrete(record);
          if (p >= 0) store().ReadLembrete(p, record);
          row = {DateToText(record.DateTime), TimeToDisplay(record.DateTime), RepeatCellText(record),
                 MemoFromStored(record.Text)};
        }
        input.rows.push_back(std::move(row));
      }
      CanvasMeasure measure(*printer, kGridFont);
      const std::vector<PrintPage> pages = LayoutPrintList(input, measure);
      for (size_t n = 0; n < pages.size(); ++n) {
        if (n > 0) printer->NewPage();
        for (const PrintItem& item : pages[n].items) {
          measure.Select(item.bold);
          if (item.kind == PrintItem::Kind::Outline) printer->DrawOutline(item.rect);
          else printer->DrawText(item.rect, item.text, item.centred);
        }
      }
      printer->EndDocument();
    } catch (const PrintFailed&) {
      desktop.ShowMessage(this, kPrintFailed, BoxIcon::Error, BoxModality::Task);
    }
  });
}

}  // namespace tavo::forms
