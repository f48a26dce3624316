// The reminder window's rules over a fake desktop: its modes, the OK and
// "Excluir" flows, the repairs, the events area, keys and placement.

#include "forms/lembrete_form.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "calendar/events_text.h"
#include "store/config.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeDesktop;
using test_support::FakeLembreteWindow;
using test_support::FixedFontSize;
using tavo::test_support::At;
using tavo::test_support::Reminder;

std::string ReadShipped(const char* name) {
  std::ifstream in(std::string(QUELVO_SOURCE_DIR) + "/assets/datas/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class LembreteFormTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    SaintsList() = SplitTextLines(ReadShipped("santos.txt"));
    DatesList() = SplitTextLines(ReadShipped("datas.txt"));
  }
  void TearDown() override {
    SaintsList().clear();
    DatesList().clear();
    FormsFixture::TearDown();
  }

  FakeLembreteWindow& OpenNew() {
    auto& form = static_cast<LembreteForm&>(desktop->CreateWindow(WindowKind::Lembrete));
    form.Mode = LembreteForm::kModeNew;
    form.View().BringToFront();
    return Last();
  }
  // Opens a stored reminder as the due check or the list window does; null
  // when nothing opened.
  FakeLembreteWindow* OpenStored(int32_t position, uint8_t mode) {
    const size_t before = desktop->windows.size();
    app().ShowLembrete(position, mode);
    return desktop->windows.size() == before ? nullptr : &Last();
  }
  FakeLembreteWindow& Last() { return static_cast<FakeLembreteWindow&>(*desktop->windows.back()); }
  // The events text of a date as the window shows it.
  static std::string EventsShown(double date) { return MemoFromStored(EventsText(date)); }
};

// --- opening -------------------------------------------------------------------

TEST_F(LembreteFormTest, NewWindowStartsWithTodayNowAndTheEventsOfToday) {
  Config.FrontColor = 0xFF0000;
  Config.BackColor = 0x00FF00;
  FakeLembreteWindow& w = OpenNew();  // the fixture's clock: 15/06/2024 10:30
  EXPECT_EQ(w.date, "15/06/2024");
  EXPECT_EQ(w.time, "1030");
  EXPECT_EQ(w.repeat, 0);
  EXPECT_EQ(w.memo, "");
  EXPECT_EQ(w.alternate, "Cancelar");
  EXPECT_TRUE(w.memo_focused);
  EXPECT_EQ(w.front, 0xFF0000);
  EXPECT_EQ(w.back, 0x00FF00);
  EXPECT_EQ(w.ClientHeight(), LembreteForm::kExpandedHeight);
  const std::string events = EventsShown(EncodeDate(2024, 6, 15));
  EXPECT_FALSE(events.empty());
  EXPECT_EQ(w.events, events);
  // Measured word-wrapped at the scroll box's width less its scroll bar.
  EXPECT_EQ(w.events_size, FixedFontSize(events, 216));
  EXPECT_FALSE(w.red);  // a Saturday
  EXPECT_EQ(w.form.Reminder.TextLen, 0);
  EXPECT_FALSE(app().IsLembreteOpen(w.form.Reminder.Id));
  EXPECT_EQ(LembreteForm::RepeatItems(),
            (std::vector<std::string>{"Nenhuma", "Diária", "Semanal", "Mensal", "Anual"}));
}

TEST_F(LembreteFormTest, AlertWindowShowsTheStoredReminderAndCanTurnIntoAlter) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 5), "Linha um\r\nLinha dois, ma\xE7\xE3", 3));
  EXPECT_EQ(OpenStored(1, LembreteForm::kModeAlert), nullptr);  // beyond the table
  FakeLembreteWindow* w = OpenStored(0, LembreteForm::kModeAlert);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(desktop->restores, 1);
  EXPECT_EQ(w->alternate, "Excluir");
  EXPECT_EQ(w->date, "01/06/2024");
  EXPECT_EQ(w->time, "0805");
  EXPECT_EQ(w->repeat, 3);
  EXPECT_EQ(w->memo, "Linha um\nLinha dois, maçã");
  EXPECT_TRUE(app().IsLembreteOpen(Lembretes[0].Id));
  EXPECT_FALSE(app().IsLembreteOpen(Lembretes[0].Id + 1));
  w->form.SwitchToAlterMode();
  EXPECT_EQ(w->alternate, "Cancelar");
  EXPECT_TRUE(app().IsLembreteOpen(Lembretes[0].Id));
}

TEST_F(LembreteFormTest, ADamagedKindShowsAsNoRepetition) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 5), "x", 0));
  Lembretes[0].RepeatKind = 9;
  FakeLembreteWindow* w = OpenStored(0, LembreteForm::kModeAlert);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->repeat, 0);
}

// --- OK ----------------------------------------------------------------------------

TEST_F(LembreteFormTest, OkInNewModeAddsTheTrimmedTextWithWindowsLineBreaks) {
  FakeLembreteWindow& w = OpenNew();
  w.date = "24/12/2024";
  w.time = "0930";
  w.repeat = 4;
  w.memo = "  Ceia de Natal\ncom a família \n\n";
  w.form.bOKClick();
  EXPECT_TRUE(w.closed);
  EXPECT_TRUE(desktop->boxes.empty());
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{
                         {At(2024, 12, 24, 9, 30), 4, "Ceia de Natal\r\ncom a fam\xEDlia"}}));
}

TEST_F(LembreteFormTest, OkRepairsDateAndTimeBeforeStoring) {
  FakeLembreteWindow& w = OpenNew();
  w.date = "31/02/2025";
  w.time = "2899";
  w.memo = "x";
  w.form.bOKClick();
  ASSERT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(Lembretes[0].DateTime, At(2025, 2, 28, 23, 59));
}

TEST_F(LembreteFormTest, EmptyTextCancelsANewReminderButKeepsAStoredOnesWindow) {
  FakeLembreteWindow& fresh = OpenNew();
  fresh.memo = "  \n\t \n";
  fresh.form.bOKClick();
  EXPECT_TRUE(fresh.closed);
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Lembrete vazio. Inclusão cancelada");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(desktop->boxes[0].modality, BoxModality::System);
  EXPECT_EQ(desktop->boxes[0].owner, nullptr);
  EXPECT_EQ(Lembretes.Count, 0);

  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Texto"));
  FakeLembreteWindow* stored = OpenStored(0, LembreteForm::kModeAlert);
  stored->memo = " ";
  stored->form.bOKClick();
  EXPECT_FALSE(stored->closed);
  ASSERT_EQ(desktop->boxes.size(), 2u);
  EXPECT_EQ(desktop->boxes[1].text, "Digite algum texto no lembrete ou clique em Excluir, para removê-lo");
  EXPECT_EQ(desktop->boxes[1].modality, BoxModality::System);
  EXPECT_EQ(Entry(0).Text, "Texto");
}

TEST_F(LembreteFormTest, OkInAlterModeReplacesTheStoredReminder) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Primeiro"));
  AddLembrete(Reminder(At(2024, 7, 1, 8, 0), "Segundo", 1));
  FakeLembreteWindow* w = OpenStored(1, LembreteForm::kModeAlter);
  EXPECT_EQ(w->alternate, "Cancelar");
  w->date = "01/05/2024";
  w->time = "1745";
  w->repeat = 2;
  w->memo = "Segundo, alterado";
  w->form.bOKClick();
  EXPECT_TRUE(w->closed);
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 5, 1, 17, 45), 2, "Segundo, alterado"},
                                                               {At(2024, 6, 1, 8, 0), 0, "Primeiro"}}));
}

// --- Excluir and Cancelar ----------------------------------------------------------

TEST_F(LembreteFormTest, ExcluirAsksTheOwnedQuestionAndDeletesAOneTimeReminder) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Uma vez"));
  AddLembrete(Reminder(At(2024, 6, 2, 8, 0), "Outro"));
  FakeLembreteWindow* w = OpenStored(0, LembreteForm::kModeAlert);
  desktop->answers = {true};
  w->form.bAlternateClick();
  EXPECT_TRUE(w->closed);
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Deseja realmente excluir este lembrete?");
  EXPECT_TRUE(desktop->boxes[0].question);
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Question);
  EXPECT_EQ(desktop->boxes[0].modality, BoxModality::Task);
  EXPECT_EQ(desktop->boxes[0].owner, &w->form);
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 2, 8, 0), 0, "Outro"}}));
}

struct Step {
  const char* name;
  int kind;
  double from;
  double to;
};

class ExcluirStepTest : public LembreteFormTest, public ::testing::WithParamInterface<Step> {};

TEST_P(ExcluirStepTest, MovesTheStoredDateOnePeriodAndIgnoresTheFields) {
  const Step& s = GetParam();
  AddLembrete(Reminder(s.from, "Repete", s.kind));
  FakeLembreteWindow* w = OpenStored(0, LembreteForm::kModeAlert);
  w->memo = "mudado";
  w->repeat = 0;
  w->date = "01/01/2030";
  desktop->answers = {true};
  w->form.bAlternateClick();
  EXPECT_TRUE(w->closed);
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text.rfind("Ao confirmar a exclusão, você só será lembrado", 0), 0u);
  EXPECT_EQ(desktop->boxes[0].modality, BoxModality::Task);
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{s.to, s.kind, "Repete"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Periods, ExcluirStepTest,
    ::testing::Values(Step{"DailyAcrossTheYear", 1, At(2024, 12, 31, 7, 0), At(2025, 1, 1, 7, 0)},
                      Step{"WeeklyAcrossTheYear", 2, At(2024, 12, 30, 18, 15), At(2025, 1, 6, 18, 15)},
                      Step{"Monthly", 3, At(2025, 1, 15, 9, 30), At(2025, 2, 15, 9, 30)},
                      Step{"MonthlyAfterDecember", 3, At(2024, 12, 15, 9, 30), At(2025, 1, 15, 9, 30)},
                      Step{"MonthlyIntoAShorterMonth", 3, At(2025, 1, 31, 9, 30), At(2025, 2, 28, 9, 30)},
                      Step{"YearlyFrom29February", 4, At(2024, 2, 29, 6, 0), At(2025, 2, 28, 6, 0)}),
    [](const ::testing::TestParamInfo<Step>& p) { return std::string(p.param.name); });

TEST_F(LembreteFormTest, AnsweringNoKeepsTheReminderAndTheWindow) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Fica"));
  AddLembrete(Reminder(At(2024, 6, 2, 8, 0), "Mensal", 3));
  for (int32_t p : {0, 1}) {
    FakeLembreteWindow* w = OpenStored(p, LembreteForm::kModeAlert);
    w->form.bAlternateClick();  // no answer scripted: No
    EXPECT_FALSE(w->closed);
  }
  EXPECT_EQ(desktop->boxes.size(), 2u);
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 1, 8, 0), 0, "Fica"},
                                                               {At(2024, 6, 2, 8, 0), 3, "Mensal"}}));
}

TEST_F(LembreteFormTest, CancelarClosesWithoutAskingOrChanging) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Fica"));
  FakeLembreteWindow* alter = OpenStored(0, LembreteForm::kModeAlter);
  alter->memo = "outro";
  alter->form.bAlternateClick();
  FakeLembreteWindow& fresh = OpenNew();
  fresh.memo = "novo";
  fresh.form.bAlternateClick();
  EXPECT_TRUE(alter->closed);
  EXPECT_TRUE(fresh.closed);
  EXPECT_TRUE(desktop->boxes.empty());
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 1, 8, 0), 0, "Fica"}}));
}

// --- repairs and the events area ------------------------------------------------------

TEST_F(LembreteFormTest, LeavingTheFieldsRepairsThem) {
  FakeLembreteWindow& w = OpenNew();
  w.date = "  /  /    ";
  w.form.eDataExit();
  EXPECT_EQ(w.date, "15/06/2024");
  w.time = "2575";
  w.form.eHoraExit();
  EXPECT_EQ(w.time, "2359");
  w.time = "    ";
  w.form.eHoraExit();
  EXPECT_EQ(w.time, "0000");
  double picked = EncodeDate(2024, 12, 25);
  w.form.eDataAcceptDate(picked);
  EXPECT_EQ(w.date, "25/12/2024");
  EXPECT_EQ(w.events, EventsShown(picked));
}

TEST_F(LembreteFormTest, EventsAreRedOnSundaysAndHolidays) {
  FakeLembreteWindow& w = OpenNew();
  const std::pair<const char*, bool> cases[] = {
      {"12/05/2024", true},   // a Sunday, Dia das Mães
      {"25/12/2024", true},   // Natal, a Wednesday
      {"13/05/2024", false},  // an ordinary Monday
  };
  for (const auto& [date, red] : cases) {
    w.date = date;
    w.form.eDataExit();
    EXPECT_EQ(w.red, red) << date;
    EXPECT_EQ(w.events, EventsShown(TextToDate(date))) << date;
  }
}

// --- keys and the expand corner ---------------------------------------------------------

TEST_F(LembreteFormTest, CtrlEnterIsOkAndEnterAloneIsLeftToTheControl) {
  FakeLembreteWindow& w = OpenNew();
  w.memo = "um\ndois";
  EXPECT_FALSE(w.form.FormKeyDown(13, false, false, false));
  EXPECT_FALSE(w.form.FormKeyDown(13, true, true, false));  // Ctrl must be the only modifier
  EXPECT_FALSE(w.closed);
  EXPECT_TRUE(w.form.FormKeyDown(13, true, false, false));
  EXPECT_TRUE(w.closed);
  ASSERT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(Entry(0).Text, "um\r\ndois");
}

TEST_F(LembreteFormTest, CtrlBreakCancelsOnlyANewReminder) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Fica"));
  FakeLembreteWindow& fresh = OpenNew();
  fresh.memo = "texto";
  EXPECT_TRUE(fresh.form.FormKeyDown(3, true, false, false));
  EXPECT_TRUE(fresh.closed);
  for (uint8_t mode : {LembreteForm::kModeAlert, LembreteForm::kModeAlter}) {
    FakeLembreteWindow* w = OpenStored(0, mode);
    EXPECT_FALSE(w->form.FormKeyDown(3, true, false, false));
    EXPECT_FALSE(w->closed);
  }
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(Lembretes.Count, 1);
}

TEST_F(LembreteFormTest, EscapeClosesWithoutChangingAnythingInEveryMode) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "Fica"));
  FakeLembreteWindow& fresh = OpenNew();
  fresh.memo = "texto";
  EXPECT_FALSE(fresh.form.FormKeyDown(27, true, false, false));  // Ctrl+Escape is not Escape
  EXPECT_FALSE(fresh.closed);
  EXPECT_TRUE(fresh.form.FormKeyDown(27, false, false, false));
  EXPECT_TRUE(fresh.closed);
  for (uint8_t mode : {LembreteForm::kModeAlert, LembreteForm::kModeAlter}) {
    FakeLembreteWindow* w = OpenStored(0, mode);
    w->memo = "mudado";
    EXPECT_TRUE(w->form.FormKeyDown(27, false, false, false));
    EXPECT_TRUE(w->closed) << int{mode};
  }
  // No question: the due reminder is neither deleted nor moved on, so it stays due.
  EXPECT_TRUE(desktop->boxes.empty());
  Reopen();
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 1, 8, 0), 0, "Fica"}}));
}

TEST_F(LembreteFormTest, CtrlITogglesTheEventsAreaAndAPlainIIsTyped) {
  FakeLembreteWindow& w = OpenNew();
  ASSERT_TRUE(LembreteForm::EventsAreaShown(w.ClientHeight()));
  EXPECT_FALSE(w.form.FormKeyDown('I', false, false, false));
  EXPECT_FALSE(w.form.FormKeyDown('I', true, true, false));
  EXPECT_EQ(w.ClientHeight(), 266);
  EXPECT_TRUE(w.form.FormKeyDown('I', true, false, false));
  EXPECT_EQ(w.ClientHeight(), 206);
  EXPECT_FALSE(LembreteForm::EventsAreaShown(w.ClientHeight()));
  EXPECT_TRUE(w.form.FormKeyDown('I', true, false, false));
  EXPECT_EQ(w.ClientHeight(), 266);
}

TEST_F(LembreteFormTest, TheWindowIsNamedForItsModeAndADueOneSaysWhatIsDue) {
  FakeLembreteWindow& fresh = OpenNew();
  EXPECT_EQ(fresh.window_name, "Novo lembrete");
  EXPECT_FALSE(fresh.alert);
  AddLembrete(Reminder(At(2024, 6, 1, 8, 5), "Tomar o\r\nrem\xE9" "dio \xE0s 8h", 3));
  FakeLembreteWindow* due = OpenStored(0, LembreteForm::kModeAlert);
  EXPECT_EQ(due->window_name, "Lembrete: 01/06/2024 08:05 — Tomar o remédio às 8h");
  EXPECT_TRUE(due->alert);
  due->form.SwitchToAlterMode();  // the list's "Alterar" on an open alert
  EXPECT_EQ(due->window_name, "Alterar lembrete");
  EXPECT_FALSE(due->alert);
  FakeLembreteWindow* alter = OpenStored(0, LembreteForm::kModeAlter);
  ASSERT_NE(alter, nullptr);
  EXPECT_EQ(alter->window_name, "Alterar lembrete");
}

TEST_F(LembreteFormTest, TheCornerTogglesBetweenTheTwoHeights) {
  Config.ShowInfo = false;
  FakeLembreteWindow& w = OpenNew();
  EXPECT_EQ(w.ClientHeight(), 206);
  w.form.iExpandClick();
  EXPECT_EQ(w.ClientHeight(), 266);
  w.form.iExpandClick();
  EXPECT_EQ(w.ClientHeight(), 206);
  w.SetClientHeight(150);  // smaller than both: left alone
  w.form.iExpandClick();
  EXPECT_EQ(w.ClientHeight(), 150);
}

// --- placement ---------------------------------------------------------------------------

TEST_F(LembreteFormTest, FirstWindowIsCentredTheNextCascadeAndAClosedOneMakesRoom) {
  const Point centre{(1024 - 255) / 2, (768 - 266) / 2};
  FakeLembreteWindow& first = OpenNew();
  EXPECT_EQ(first.Bounds().left, centre.x);
  EXPECT_EQ(first.Bounds().top, centre.y);
  EXPECT_EQ(app().LastReminderPos, centre);
  FakeLembreteWindow& second = OpenNew();
  EXPECT_EQ(second.Bounds().left, centre.x + 20);
  // Closing the second and opening another puts the new one where the second was.
  second.Close();
  EXPECT_EQ(app().LastReminderPos, centre);
  FakeLembreteWindow& third = OpenNew();
  EXPECT_EQ(third.Bounds().top, centre.y + 20);
  // Closing the first moves the point before it; closing one right of and
  // below the point then leaves the point alone.
  first.Close();
  EXPECT_EQ(app().LastReminderPos, (Point{centre.x - 20, centre.y - 20}));
  third.Close();
  EXPECT_EQ(app().LastReminderPos, (Point{centre.x - 20, centre.y - 20}));
}

TEST_F(LembreteFormTest, CascadeStartsAgainAtTheScreenEdges) {
  app().LastReminderPos = {1024 - 255 - 10, 40};
  EXPECT_EQ(OpenNew().Bounds().left, 0);
  EXPECT_EQ(app().LastReminderPos, (Point{0, 60}));
  app().LastReminderPos = {50, 768 - 266 - 10};
  OpenNew();
  EXPECT_EQ(app().LastReminderPos, (Point{70, 0}));
  // Just fitting is no wrap.
  app().LastReminderPos = {1024 - 255 - 20, 768 - 266 - 20};
  OpenNew();
  EXPECT_EQ(app().LastReminderPos, (Point{1024 - 255, 768 - 266}));
}

// --- the memo's text ----------------------------------------------------------------------

TEST(TextStart, BlanksMakeOneSpaceAndALongTextEndsAfterAWholeWord) {
  EXPECT_EQ(TextStart("  Tomar\n\n o   remédio \t", 40), "Tomar o remédio");
  EXPECT_EQ(TextStart("", 40), "");
  EXPECT_EQ(TextStart("abc de fgh", 6), "abc de…");       // the limit falls between two words
  EXPECT_EQ(TextStart("abc defgh ij", 7), "abc…");        // "defgh" would be cut: it goes
  EXPECT_EQ(TextStart("supercalifragilístico", 12), "supercalifra…");  // one word: cut inside
  EXPECT_EQ(TextStart("ação ação ação", 9), "ação ação…");  // accented letters count one
  EXPECT_EQ(TextStart("ããããã", 3), "ããã…");                // and are never split
}

TEST(MemoText, LineBreaksCountTwoAndAccentedLettersOne) {
  EXPECT_EQ(StoredLength(""), 0);
  EXPECT_EQ(StoredLength("ação"), 4);
  EXPECT_EQ(StoredLength("a\nb"), 4);
  EXPECT_EQ(StoredFromMemo("é\nfim\r\nx\ry"), "\xE9\r\nfim\r\nx\r\ny");
  EXPECT_EQ(MemoFromStored("\xE9\r\nfim\rx"), "é\nfim\nx");
  EXPECT_EQ(TrimBlanks(" \t\r\n ação \x01"), "ação");
  EXPECT_EQ(TrimBlanks(" \n "), "");
}

TEST(MemoText, OnlyWholeCharactersThatFitAreInserted) {
  EXPECT_EQ(FitToRoom("abc", 2), "ab");
  EXPECT_EQ(FitToRoom("a\r\nb", 2), "a");  // the line break needs two
  EXPECT_EQ(FitToRoom("a\r\nb", 3), "a\n");
  EXPECT_EQ(FitToRoom("a\rb", 4), "a\nb");
  EXPECT_EQ(FitToRoom("çãé", 2), "çã");   // never half a character
  EXPECT_EQ(FitToRoom("x", 0), "");
}

}  // namespace
}  // namespace tavo::forms
