// The list window's rules over a fake desktop: the range, listing, the cell
// texts, altering and deleting from the list, listing again after changes
// elsewhere, and the print run around the layout.

#include "forms/list_form.h"

#include <gtest/gtest.h>

#include "forms/lembrete_form.h"
#include "store/config.h"
#include "dates/date_time.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeDesktop;
using test_support::FakeLembreteWindow;
using test_support::FakeListWindow;
using tavo::test_support::At;
using tavo::test_support::Reminder;

class ListFormTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    clock.time = {2024, 6, 20, 14, 35, 0, 0};
  }
  // The list window as the main window opens it, in front.
  FakeListWindow& Open() {
    app().OpenWindowOnce(WindowKind::List);
    return *desktop->Open<FakeListWindow>().at(0);
  }
  void Add(double when, const std::string& text, int kind = 0) { AddLembrete(Reminder(when, text, kind)); }
  int BoxesWith(const std::string& text) const {
    int n = 0;
    for (const auto& b : desktop->boxes) n += b.text == text;
    return n;
  }
};

// --- opening and the range -------------------------------------------------------------

TEST_F(ListFormTest, OpensOnTodayToAWeekWithOneBlankRowAndListsNothingYet) {
  Config.FrontColor = 0x0000FF;
  Config.BackColor = 0x00FFFF;
  Add(At(2024, 6, 21, 9, 0), "listed only on request");
  FakeListWindow& w = Open();
  EXPECT_EQ(w.start, "20/06/2024");
  EXPECT_EQ(w.end, "27/06/2024");
  EXPECT_EQ(w.form.ListedEntries.Count, 0);
  EXPECT_EQ(w.rows, 2);
  EXPECT_EQ(w.text, "");
  EXPECT_EQ(w.front, 0x0000FF);
  EXPECT_EQ(w.back, 0x00FFFF);
  EXPECT_EQ(w.form.GridCellText(0, 0), "Data");
  EXPECT_EQ(w.form.GridCellText(1, 0), "Hora");
  EXPECT_EQ(w.form.GridCellText(2, 0), "Repetição");
  EXPECT_EQ(w.form.GridCellText(0, 1), "");
}

TEST_F(ListFormTest, TheRangeRunsFromTheStartDayToTheEndOfTheEndDay) {
  Add(At(2024, 6, 19, 23, 59), "day before the start");
  Add(At(2024, 6, 20, 0, 0), "start day at midnight");
  Add(At(2024, 6, 27, 23, 59), "end day, last minute");
  Add(At(2024, 6, 28, 0, 0), "day after the end");
  FakeListWindow& w = Open();
  w.form.bListarClick();
  EXPECT_EQ(w.form.ListedEntries.Count, 2);
  EXPECT_EQ(w.rows, 3);
  EXPECT_EQ(w.form.GridCellText(0, 1), "20/06/2024");
  EXPECT_EQ(w.form.GridCellText(1, 1), "00:00");
  EXPECT_EQ(w.form.GridCellText(0, 2), "27/06/2024");
  EXPECT_EQ(w.form.GridCellText(1, 2), "23:59");
  EXPECT_EQ(w.form.GridCellText(0, 3), "");  // beyond the listed entries
  EXPECT_EQ(w.text, "start day at midnight");
  EXPECT_FALSE(ScanBusy);

  w.start = w.end = "22/06/2024";  // one day only
  Add(At(2024, 6, 22, 0, 0), "a");
  Add(At(2024, 6, 22, 23, 59), "b");
  w.form.bListarClick();
  EXPECT_EQ(w.form.ListedEntries.Count, 2);
  EXPECT_EQ(w.form.GridCellText(1, 2), "23:59");
}

TEST_F(ListFormTest, TheEndIsNeverBeforeTheStartButTheStartMayPassTheEnd) {
  FakeListWindow& w = Open();
  w.end = "01/06/2024";
  w.form.eFimExit();
  EXPECT_EQ(w.end, "20/06/2024");
  double picked = EncodeDate(2024, 6, 2);
  w.form.eFimAcceptDate(picked);
  EXPECT_EQ(picked, EncodeDate(2024, 6, 20));
  EXPECT_EQ(w.end, "20/06/2024");
  w.end = "05/07/2024";
  w.form.eFimExit();
  EXPECT_EQ(w.end, "05/07/2024");

  Add(At(2024, 6, 25, 10, 0), "inside the first range");
  w.start = "30/06/2024";
  w.form.eInicioExit();
  w.end = "27/06/2024";
  w.form.bListarClick();
  EXPECT_EQ(w.start, "30/06/2024");
  EXPECT_EQ(w.form.ListedEntries.Count, 0);
  EXPECT_EQ(w.rows, 2);
  ASSERT_EQ(BoxesWith("Nenhum lembrete encontrado"), 1);
  EXPECT_EQ(desktop->boxes.back().icon, BoxIcon::Error);
  EXPECT_EQ(desktop->boxes.back().modality, BoxModality::System);
  EXPECT_EQ(desktop->boxes.back().owner, nullptr);

  w.start = "  /  /    ";
  w.form.eInicioExit();
  EXPECT_EQ(w.start, "20/06/2024");  // repaired, not refused
  picked = EncodeDate(2024, 1, 2);
  w.form.eInicioAcceptDate(picked);
  EXPECT_EQ(w.start, "02/01/2024");
}

TEST_F(ListFormTest, NoneFoundIsToldOnlyForANonEmptyStoreWithTheWindowInFront) {
  FakeListWindow& w = Open();
  w.form.bListarClick();  // empty store: silent
  EXPECT_TRUE(desktop->boxes.empty());
  Add(At(2024, 8, 1, 10, 0), "outside the range");
  desktop->foreground = nullptr;  // another program in front
  w.form.bListarClick();
  EXPECT_TRUE(desktop->boxes.empty());
  w.BringToFront();
  // The box waits for the user; the table must be free meanwhile.
  bool busy_while_open = true;
  desktop->while_box_open = [&] { busy_while_open = ScanBusy || StoreBusy; };
  w.form.bListarClick();
  EXPECT_EQ(BoxesWith("Nenhum lembrete encontrado"), 1);
  EXPECT_FALSE(busy_while_open);
}

TEST_F(ListFormTest, ColumnsShowPaddedTimesRepetitionNamesAndRepeatingRemindersOnce) {
  const struct {
    int hour, minute, kind;
    const char* time;
    const char* repetition;
  } cases[] = {{0, 0, 0, "00:00", "Nenhuma"},
               {7, 5, 1, "07:05", "Diária"},
               {9, 30, 2, "09:30", "Semanal"},
               {12, 9, 3, "12:09", "Mensal"},
               {23, 59, 4, "23:59", "Anual"}};
  for (int i = 0; i < 5; ++i) Add(At(2024, 6, 21 + i, cases[i].hour, cases[i].minute), "x", cases[i].kind);
  FakeListWindow& w = Open();
  w.start = "01/06/2024";
  w.end = "30/07/2024";
  w.form.bListarClick();
  ASSERT_EQ(w.form.ListedEntries.Count, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(w.form.GridCellText(1, i + 1), cases[i].time);
    EXPECT_EQ(w.form.GridCellText(2, i + 1), cases[i].repetition);
  }
  w.form.ListedEntries[0].RepeatKind = 7;  // damaged
  EXPECT_EQ(w.form.GridCellText(2, 1), "Nenhuma");
}

// --- selecting, altering, deleting ------------------------------------------------------

TEST_F(ListFormTest, SelectingARowShowsItsTextAndARowThatLeftTheStoreNothing) {
  Add(At(2024, 6, 21, 9, 0), "primeiro");
  Add(At(2024, 6, 22, 9, 0), "segundo\r\ncom duas linhas");
  FakeListWindow& w = Open();
  w.form.bListarClick();
  w.row = 2;
  w.form.gridLembretesClick();
  EXPECT_EQ(w.text, "segundo\ncom duas linhas");
  EXPECT_FALSE(ScanBusy);

  // As after a restore: the table changes without the list listing again.
  SetEntryCount(Lembretes, 0);
  w.form.gridLembretesClick();
  EXPECT_EQ(w.text, "");
  w.form.bAlterClick();
  EXPECT_TRUE(desktop->Open<FakeLembreteWindow>().empty());
  desktop->answers = {true};
  w.form.bDelClick();
  EXPECT_EQ(w.form.ListedEntries.Count, 2);  // nothing deleted, nothing listed again
}

TEST_F(ListFormTest, AlterTurnsAnOpenAlertWindowIntoTheAlterWindow) {
  Add(At(2024, 6, 21, 9, 0), "already alerting");
  app().ShowLembrete(0, LembreteForm::kModeAlert);
  FakeLembreteWindow* alert = desktop->Open<FakeLembreteWindow>().at(0);
  FakeListWindow& w = Open();
  w.form.bListarClick();
  w.form.bAlterClick();
  EXPECT_EQ(desktop->Open<FakeLembreteWindow>().size(), 1u);
  EXPECT_EQ(alert->form.Mode, LembreteForm::kModeAlter);
  EXPECT_EQ(alert->alternate, "Cancelar");
  EXPECT_TRUE(alert->IsForeground());
  EXPECT_FALSE(ScanBusy);
}

TEST_F(ListFormTest, AlterWithoutAWindowOpensOneAndADoubleClickReusesIt) {
  Add(At(2024, 6, 21, 9, 0), "first");
  Add(At(2024, 6, 22, 9, 0), "second");
  FakeListWindow& w = Open();
  w.form.bListarClick();
  w.row = 2;
  w.form.bAlterClick();
  auto reminders = desktop->Open<FakeLembreteWindow>();
  ASSERT_EQ(reminders.size(), 1u);
  EXPECT_EQ(reminders[0]->form.Mode, LembreteForm::kModeAlter);
  EXPECT_EQ(reminders[0]->form.ReminderIndex, 1);
  EXPECT_EQ(reminders[0]->memo, "second");
  w.form.gridLembretesDblClick();
  EXPECT_EQ(desktop->Open<FakeLembreteWindow>().size(), 1u);
}

TEST_F(ListFormTest, TheBlankRowOfAnEmptyListDoesNothing) {
  Add(At(2024, 8, 1, 10, 0), "outside the range");
  FakeListWindow& w = Open();
  desktop->foreground = nullptr;
  w.form.bListarClick();
  desktop->answers = {true};
  w.form.bAlterClick();
  w.form.bDelClick();
  w.form.gridLembretesDblClick();
  EXPECT_TRUE(desktop->Open<FakeLembreteWindow>().empty());
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(Lembretes.Count, 1);
}

TEST_F(ListFormTest, DeleteAsksThenClosesEveryReminderWindowAndListsAgain) {
  Add(At(2024, 6, 21, 9, 0), "to delete");
  Add(At(2024, 6, 22, 9, 0), "to keep");
  app().ShowLembrete(0, LembreteForm::kModeAlert);
  app().ShowLembrete(1, LembreteForm::kModeAlert);
  auto& fresh = static_cast<LembreteForm&>(desktop->CreateWindow(WindowKind::Lembrete));
  fresh.View().BringToFront();
  FakeListWindow& w = Open();
  w.form.bListarClick();

  w.form.bDelClick();  // answered No
  EXPECT_EQ(desktop->Open<FakeLembreteWindow>().size(), 3u);
  EXPECT_EQ(Lembretes.Count, 2);

  desktop->answers = {true};
  w.form.bDelClick();
  ASSERT_EQ(desktop->boxes.size(), 2u);
  EXPECT_EQ(desktop->boxes[1].text, "Deseja realmente excluir este lembrete?");
  EXPECT_EQ(desktop->boxes[1].icon, BoxIcon::Question);
  EXPECT_EQ(desktop->boxes[1].modality, BoxModality::System);
  EXPECT_TRUE(desktop->Open<FakeLembreteWindow>().empty());
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 22, 9, 0), 0, "to keep"}}));
  EXPECT_EQ(w.form.ListedEntries.Count, 1);
  EXPECT_EQ(w.text, "to keep");
  EXPECT_FALSE(ScanBusy);
}

TEST_F(ListFormTest, EnterOnARowAltersDeleteAsksToDeleteAndEscapeCloses) {
  Add(At(2024, 6, 21, 9, 0), "first");
  Add(At(2024, 6, 22, 9, 0), "second");
  FakeListWindow& w = Open();
  w.form.bListarClick();
  w.row = 2;
  EXPECT_FALSE(w.form.gridLembretesKeyDown(32));
  EXPECT_TRUE(w.form.gridLembretesKeyDown(13));
  auto reminders = desktop->Open<FakeLembreteWindow>();
  ASSERT_EQ(reminders.size(), 1u);
  EXPECT_EQ(reminders[0]->memo, "second");

  EXPECT_TRUE(w.form.gridLembretesKeyDown(46));  // answered No: nothing changes
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Deseja realmente excluir este lembrete?");
  EXPECT_EQ(Lembretes.Count, 2);
  desktop->answers = {true};
  EXPECT_TRUE(w.form.gridLembretesKeyDown(46));
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 21, 9, 0), 0, "first"}}));

  EXPECT_FALSE(w.form.FormKeyDown(13));
  EXPECT_FALSE(w.closed);
  EXPECT_TRUE(w.form.FormKeyDown(27));
  EXPECT_TRUE(w.closed);
}

TEST_F(ListFormTest, ARowReadsAsDateTimeRepetitionAndTheStartOfItsText) {
  Add(At(2024, 6, 21, 9, 5), "Levar o carro\r\n\xE0 revis\xE3o dos vinte mil quil\xF4metros na concession\xE1ria", 3);
  FakeListWindow& w = Open();
  EXPECT_EQ(w.form.RowSummary(1), "Nenhum lembrete listado");
  w.form.bListarClick();
  EXPECT_EQ(w.form.RowSummary(1), "21/06/2024, 09:05, Mensal: Levar o carro à revisão dos vinte mil…");
  EXPECT_FALSE(ScanBusy);
  EXPECT_EQ(w.form.RowSummary(2), "Nenhum lembrete listado");
  // A store at work is not waited for: the row is read without its text.
  StoreBusy = true;
  EXPECT_EQ(w.form.RowSummary(1), "21/06/2024, 09:05, Mensal");
  StoreBusy = false;
  SetEntryCount(Lembretes, 0);  // the reminder left the store
  EXPECT_EQ(w.form.RowSummary(1), "21/06/2024, 09:05, Mensal");
}

TEST_F(ListFormTest, DeletingTheOnlyListedRowInFrontSaysNoneFound) {
  Add(At(2024, 6, 21, 9, 0), "the only one listed");
  Add(At(2024, 8, 1, 9, 0), "outside the range");  // an empty store would list silently
  FakeListWindow& w = Open();
  w.form.bListarClick();
  desktop->answers = {true};
  w.form.bDelClick();
  EXPECT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(w.form.ListedEntries.Count, 0);
  EXPECT_EQ(w.rows, 2);
  EXPECT_EQ(BoxesWith("Nenhum lembrete encontrado"), 1);
}

TEST_F(ListFormTest, ChangesElsewhereListAgainOnlyAListWithRows) {
  Add(At(2024, 6, 21, 9, 0), "shown");
  FakeListWindow& w = Open();
  desktop->foreground = nullptr;
  w.form.bListarClick();
  Add(At(2024, 6, 21, 8, 0), "added elsewhere");
  EXPECT_EQ(w.form.ListedEntries.Count, 2);
  EXPECT_EQ(w.form.GridCellText(1, 1), "08:00");

  w.start = "01/07/2024";
  w.end = "02/07/2024";
  w.form.bListarClick();
  EXPECT_EQ(w.form.ListedEntries.Count, 0);
  Add(At(2024, 7, 1, 9, 0), "would be in the range");
  EXPECT_EQ(w.form.ListedEntries.Count, 0);
  EXPECT_TRUE(desktop->boxes.empty());

  // Once the window is gone, a change refreshes nothing.
  w.form.iHideClick();
  desktop->CollectClosed();
  Add(At(2024, 7, 1, 10, 0), "no window to refresh");
  EXPECT_EQ(Lembretes.Count, 4);
}

TEST(GrownRowHeight, RowsGrowToTheTextAndTheGridLinesAndNeverShrink) {
  EXPECT_EQ(GrownRowHeight(18, 13), 18);
  EXPECT_EQ(GrownRowHeight(18, 16), 18);  // text plus both lines just fits
  EXPECT_EQ(GrownRowHeight(18, 17), 19);
  EXPECT_EQ(GrownRowHeight(40, 26), 40);
  EXPECT_EQ(GrownRowHeight(18, 39), 41);
}

// --- the print run ------------------------------------------------------------------------

TEST_F(ListFormTest, PrintingHoldsTheFlagDisablesTheWindowAndShowsTheWaitBox) {
  Add(At(2024, 6, 21, 7, 5), "Comprar p\xE3o", 3);
  FakeListWindow& w = Open();
  w.form.bListarClick();
  bool held = false, disabled = false;
  // The wait box's one message pump: what a handler running then would see.
  desktop->while_status_shown = [&] {
    held = ScanBusy;
    disabled = !w.enabled;
  };
  w.form.bPrintListClick();
  EXPECT_EQ(desktop->print_dialogs, 1);
  EXPECT_EQ(desktop->status_texts, std::vector<std::string>{"Aguarde. Imprimindo..."});
  EXPECT_FALSE(desktop->status_open);
  EXPECT_TRUE(w.enabled);
  EXPECT_FALSE(ScanBusy);
  EXPECT_EQ(desktop->printer.job, "Quelvo 3.0");
  EXPECT_TRUE(desktop->printer.ended);
  ASSERT_EQ(desktop->printer.pages.size(), 1u);
  std::vector<std::string> texts;
  for (const auto& d : desktop->printer.pages[0])
    if (!d.outline) texts.push_back(d.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Quelvo 3.0 - Página: 1", "Data", "Hora", "Repetição",
                                             "Texto do Lembrete", "21/06/2024", "07:05", "Mensal", "Comprar pão"}));
  EXPECT_TRUE(held);
  EXPECT_TRUE(disabled);
}

TEST_F(ListFormTest, PrintingAnEmptyListGivesTheHeaderAndOneRowOfEmptyCells) {
  FakeListWindow& w = Open();
  w.form.PrintList();
  ASSERT_EQ(desktop->printer.pages.size(), 1u);
  const auto& page = desktop->printer.pages[0];
  int outlines = 0;
  for (const auto& d : page) outlines += d.outline;
  EXPECT_EQ(outlines, 8);  // the header row and one row, four cells each
  EXPECT_EQ(page.back().text, "");
}

TEST_F(ListFormTest, ACancelledDialogOrAnEndingProgramPrintsNothing) {
  Add(At(2024, 6, 21, 9, 0), "x");
  FakeListWindow& w = Open();
  w.form.bListarClick();
  desktop->print_answer = FakeDesktop::PrintAnswer::Cancel;
  w.form.PrintList();
  EXPECT_FALSE(desktop->printer.begun);
  EXPECT_TRUE(desktop->status_texts.empty());
  EXPECT_TRUE(w.enabled);

  desktop->print_answer = FakeDesktop::PrintAnswer::Print;
  desktop->while_dialog_open = [&] { app().ShuttingDown = true; };
  w.form.PrintList();
  EXPECT_FALSE(desktop->printer.begun);
  EXPECT_TRUE(desktop->boxes.empty());
}

TEST_F(ListFormTest, APrinterFailureAtAnyStepIsReportedAndEverythingGivenBack) {
  Add(At(2024, 6, 21, 9, 0), "x");
  FakeListWindow& w = Open();
  w.form.bListarClick();
  desktop->print_answer = FakeDesktop::PrintAnswer::Fail;
  w.form.PrintList();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_TRUE(desktop->status_texts.empty());
  desktop->print_answer = FakeDesktop::PrintAnswer::Print;
  for (int step : {1, 2, 5, 40}) {
    desktop->boxes.clear();
    desktop->printer.fail_at_call = step;
    w.form.PrintList();
    ASSERT_EQ(desktop->boxes.size(), 1u) << step;
    EXPECT_EQ(desktop->boxes[0].text, "Erro ao imprimir. Verifique se há uma impressora instalada em seu computador");
    EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(desktop->boxes[0].modality, BoxModality::Task);
    EXPECT_EQ(desktop->boxes[0].owner, &w.form);
    EXPECT_TRUE(w.enabled);
    EXPECT_FALSE(ScanBusy);
    EXPECT_FALSE(desktop->status_open);
  }
}

}  // namespace
}  // namespace tavo::forms
