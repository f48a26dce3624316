// Snoozing a due reminder over a fake desktop: the alert window's choices,
// the due check around a snooze, what drops a snooze, the list and the
// printed list, and the snooze file across restarts, damaged or missing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "calendar/events_text.h"
#include "forms/lembrete_form.h"
#include "forms/list_form.h"
#include "forms/main_form.h"
#include "store/date_text.h"
#include "forms/keys.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeLembreteWindow;
using test_support::FakeListWindow;
using test_support::FakeMainWindow;
using tavo::test_support::At;
using tavo::test_support::Reminder;
using tavo::test_support::Stored;

class SnoozeTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    std::filesystem::create_directories(folder.Path() + "dados/datas");
    std::filesystem::create_directories(folder.Path() + "dados/sons");
    Write("dados/datas/santos.txt", "");
    Write("dados/datas/datas.txt", "");
    Write("dados/sons/gongo.wav", "RIFF");
    Config.WaveFile = folder.Path() + "dados/sons/gongo.wav";
    SetNow(2024, 6, 20, 14, 35);  // a Thursday
  }
  void TearDown() override {
    SaintsList().clear();
    DatesList().clear();
    FormsFixture::TearDown();
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder.Path() + name, std::ios::binary) << bytes;
  }
  void SetNow(int year, int month, int day, int hour, int minute) {
    clock.time = {year, month, day, hour, minute, 7, 0};
  }
  // The main window as the program starts it.
  FakeMainWindow& Start() { return desktop->OpenMainWindow({"MINIMIZE"}); }
  // A timer tick at the given minute; returns the alerts it opened.
  std::vector<FakeLembreteWindow*> TickAt(FakeMainWindow& main, int year, int month, int day, int hour, int minute) {
    const size_t before = Alerts().size();
    SetNow(year, month, day, hour, minute);
    main.form.timerChecaTimer();
    const auto alerts = Alerts();
    return {alerts.begin() + static_cast<std::ptrdiff_t>(before), alerts.end()};
  }
  std::vector<FakeLembreteWindow*> Alerts() { return desktop->Alerts(); }
  // Closes every alert without acting on it ("Cancelar", Esc).
  void Dismiss() {
    for (FakeLembreteWindow* w : Alerts()) w->form.FormKeyDown(keys::kEscape, false, false, false);
    desktop->CollectClosed();
  }
  // Restarts the program over the same folder: a new store load (Ids
  // renumbered) and a new main window.
  FakeMainWindow& Restart() {
    desktop.reset();
    Reopen();
    desktop = std::make_unique<test_support::FakeDesktop>(store);
    return Start();
  }
  std::optional<double> SnoozeAt(int32_t position) { return store.SnoozedUntil(Lembretes[position].Id); }
  std::string DataFiles() { return ReadDados("tavodb.idx") + "|" + ReadDados("tavodb.dat"); }
};

// --- the alert window ---------------------------------------------------------------------

TEST_F(SnoozeTest, AdiarPutsTheAlertOffStopsTheSoundAndLeavesTheDataFilesAlone) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 35), "Tomar o remedio", 1));
  const std::string files = DataFiles();
  FakeMainWindow& main = Start();
  auto alerts = TickAt(main, 2024, 6, 20, 14, 35);
  ASSERT_EQ(alerts.size(), 1u);
  alerts[0]->form.Adiar(10);
  EXPECT_TRUE(alerts[0]->closed);
  EXPECT_EQ(desktop->sound_stops, 1);
  EXPECT_EQ(DataFiles(), files);
  EXPECT_EQ(State(), (std::vector<Stored>{{At(2024, 6, 20, 14, 35), 1, "Tomar o remedio"}}));
  desktop->CollectClosed();
  desktop->sounds.clear();
  // Not at the minutes between, though its own time has long come.
  for (int minute = 36; minute < 45; ++minute) EXPECT_TRUE(TickAt(main, 2024, 6, 20, 14, minute).empty()) << minute;
  EXPECT_TRUE(desktop->sounds.empty());
  alerts = TickAt(main, 2024, 6, 20, 14, 45);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0]->memo, "Tomar o remedio");
  EXPECT_EQ(desktop->sounds.size(), 1u);
}

TEST_F(SnoozeTest, TheChoicesRunFromFiveMinutesToTomorrowAtThisTime) {
  std::vector<int> minutes;
  for (const SnoozeChoice& c : kSnoozeChoices) minutes.push_back(c.minutes);
  EXPECT_EQ(minutes, (std::vector<int>{5, 10, 15, 30, 60, 24 * 60}));
  EXPECT_STREQ(kSnoozeChoices[5].caption, "Amanhã neste horário");
  EXPECT_EQ(MinutesLater(At(2024, 6, 20, 14, 35), 24 * 60), At(2024, 6, 21, 14, 35));
}

TEST_F(SnoozeTest, ATypedTimeIsRepairedAndMeansItsNextOccurrence) {
  const double now = At(2024, 6, 20, 14, 35);
  EXPECT_EQ(NextOccurrence("15:00", now), At(2024, 6, 20, 15, 0));
  EXPECT_EQ(NextOccurrence("1500", now), At(2024, 6, 20, 15, 0));
  EXPECT_EQ(NextOccurrence("14:35", now), At(2024, 6, 21, 14, 35));  // this minute has come: tomorrow
  EXPECT_EQ(NextOccurrence("08:10", now), At(2024, 6, 21, 8, 10));
  EXPECT_EQ(NextOccurrence("9:30", now), At(2024, 6, 21, 9, 30));
  EXPECT_EQ(NextOccurrence("25:75", now), At(2024, 6, 20, 23, 59));
  EXPECT_EQ(NextOccurrence("16:", now), At(2024, 6, 20, 16, 0));

  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  FakeMainWindow& main = Start();
  auto alerts = TickAt(main, 2024, 6, 20, 14, 35);
  ASSERT_EQ(alerts.size(), 1u);
  alerts[0]->form.AdiarPara("08:10");
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 21, 8, 10));
}

TEST_F(SnoozeTest, OnlyAnAlertWindowSnoozes) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  app().ShowLembrete(0, LembreteForm::kModeAlter);
  FakeLembreteWindow& w = *desktop->Open<FakeLembreteWindow>().at(0);
  w.form.Adiar(5);
  EXPECT_FALSE(SnoozeAt(0));
  EXPECT_FALSE(w.closed);
}

// --- the due check ------------------------------------------------------------------------

TEST_F(SnoozeTest, ASnoozeBeforeItsOwnTimeAlertsThenAndNotAtItsOwnTime) {
  AddLembrete(Reminder(At(2024, 6, 20, 16, 0), "mais tarde"));
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 14, 40));
  FakeMainWindow& main = Start();
  EXPECT_TRUE(TickAt(main, 2024, 6, 20, 14, 39).empty());
  ASSERT_EQ(TickAt(main, 2024, 6, 20, 14, 40).size(), 1u);
  // Closed without acting: back at the next minute's check.
  Dismiss();
  ASSERT_EQ(TickAt(main, 2024, 6, 20, 14, 41).size(), 1u);
  Dismiss();
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 17, 1));
  EXPECT_TRUE(TickAt(main, 2024, 6, 20, 16, 0).empty());
  EXPECT_EQ(TickAt(main, 2024, 6, 20, 17, 1).size(), 1u);
}

TEST_F(SnoozeTest, ADailyReminderSnoozedAndAcknowledgedIsDueAgainTomorrowAtItsTime) {
  AddLembrete(Reminder(At(2024, 6, 20, 8, 0), "remédio", 1));
  FakeMainWindow& main = Start();
  auto alerts = TickAt(main, 2024, 6, 20, 8, 0);
  ASSERT_EQ(alerts.size(), 1u);
  alerts[0]->form.Adiar(10);
  desktop->CollectClosed();
  alerts = TickAt(main, 2024, 6, 20, 8, 10);
  ASSERT_EQ(alerts.size(), 1u);
  desktop->answers.push_back(true);
  alerts[0]->form.bAlternateClick();  // "Excluir": one day on, the snooze goes with it
  desktop->CollectClosed();
  EXPECT_EQ(store.SnoozeCount(), 0u);
  EXPECT_EQ(State(), (std::vector<Stored>{{At(2024, 6, 21, 8, 0), 1, "remédio"}}));
  EXPECT_FALSE(DadosExists("tavodb.adi"));
  EXPECT_TRUE(TickAt(main, 2024, 6, 21, 7, 59).empty());
  EXPECT_EQ(TickAt(main, 2024, 6, 21, 8, 0).size(), 1u);
}

TEST_F(SnoozeTest, ASnoozeAcrossMidnightAlertsOnTheNextDay) {
  AddLembrete(Reminder(At(2024, 6, 20, 23, 55), "meia-noite"));
  FakeMainWindow& main = Start();
  auto alerts = TickAt(main, 2024, 6, 20, 23, 55);
  ASSERT_EQ(alerts.size(), 1u);
  alerts[0]->form.Adiar(10);
  desktop->CollectClosed();
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 21, 0, 5));
  EXPECT_TRUE(TickAt(main, 2024, 6, 20, 23, 59).empty());
  EXPECT_TRUE(TickAt(main, 2024, 6, 21, 0, 4).empty());
  EXPECT_EQ(TickAt(main, 2024, 6, 21, 0, 5).size(), 1u);
}

TEST_F(SnoozeTest, TwoRemindersSnoozedToTheSameMinuteOpenTogetherWithOneSound) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 35), "primeiro"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 36), "segundo"));
  FakeMainWindow& main = Start();
  TickAt(main, 2024, 6, 20, 14, 35).at(0)->form.AdiarAte(At(2024, 6, 20, 15, 0));
  TickAt(main, 2024, 6, 20, 14, 36).at(0)->form.AdiarAte(At(2024, 6, 20, 15, 0));
  desktop->CollectClosed();
  desktop->sounds.clear();
  EXPECT_TRUE(TickAt(main, 2024, 6, 20, 14, 59).empty());
  const auto alerts = TickAt(main, 2024, 6, 20, 15, 0);
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0]->memo, "primeiro");
  EXPECT_EQ(alerts[1]->memo, "segundo");
  EXPECT_EQ(desktop->sounds.size(), 1u);
}

// --- what drops a snooze --------------------------------------------------------------------

TEST_F(SnoozeTest, AlteringAReminderDropsItsSnooze) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "antes"));
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 18, 0));
  FakeMainWindow& main = Start();
  app().ShowLembrete(0, LembreteForm::kModeAlter);
  FakeLembreteWindow& w = *desktop->Open<FakeLembreteWindow>().at(0);
  w.memo = "depois";  // same date: due at once
  w.form.bOKClick();
  desktop->CollectClosed();
  EXPECT_EQ(store.SnoozeCount(), 0u);
  EXPECT_FALSE(DadosExists("tavodb.adi"));
  EXPECT_EQ(TickAt(main, 2024, 6, 20, 14, 35).size(), 1u);
}

TEST_F(SnoozeTest, DeletingAReminderDropsItsSnoozeAndKeepsTheOthers) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "fica"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 31), "sai"));
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 18, 0));
  store.SnoozeLembrete(Lembretes[1], At(2024, 6, 20, 18, 0));
  app().OpenWindowOnce(WindowKind::List);
  FakeListWindow& list = *desktop->Open<FakeListWindow>().at(0);
  list.form.bListarClick();
  list.row = 2;
  desktop->answers.push_back(true);
  list.form.bDelClick();
  ASSERT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 20, 18, 0));
  EXPECT_EQ(store.SnoozeCount(), 1u);
  Restart();
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 20, 18, 0));
  EXPECT_EQ(store.SnoozeCount(), 1u);
}

TEST_F(SnoozeTest, ARestoreDropsEverySnooze) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  const std::string backup = folder.Path() + "copia.tvb";
  ASSERT_EQ(WriteBackup(backup), BackupResult::Done);
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 18, 0));
  FakeMainWindow& main = Start();
  desktop->file_answers.push_back(backup);
  desktop->answers.push_back(true);
  main.form.bRestoreBackupClick();
  EXPECT_EQ(store.SnoozeCount(), 0u);
  EXPECT_FALSE(DadosExists("tavodb.adi"));
  EXPECT_EQ(TickAt(main, 2024, 6, 20, 14, 35).size(), 1u);
}

TEST_F(SnoozeTest, AFileThatIsNoBackupKeepsTheSnoozesOnTheRenumberedReminders) {
  AddLembrete(Reminder(At(2024, 6, 20, 15, 0), "b"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));  // Id 1 at position 0
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 18, 0));
  Write("outro.tvb", "TAVOBKQ");
  EXPECT_EQ(RestoreBackup(folder.Path() + "outro.tvb"), RestoreResult::NotABackup);
  EXPECT_EQ(Lembretes[0].Id, 0);
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 20, 18, 0));
  EXPECT_FALSE(SnoozeAt(1));
}

// --- across restarts ------------------------------------------------------------------------

TEST_F(SnoozeTest, ASnoozeSurvivesARestartThatRenumbersTheIds) {
  AddLembrete(Reminder(At(2024, 6, 20, 15, 0), "depois"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "antes"));  // Id 1, first in the table
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
  FakeMainWindow& main = Restart();
  EXPECT_EQ(Lembretes[0].Id, 0);
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 20, 16, 0));
  EXPECT_FALSE(SnoozeAt(1));
  EXPECT_TRUE(desktop->boxes.empty());
  const auto alerts = TickAt(main, 2024, 6, 20, 15, 0);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0]->memo, "depois");
}

TEST_F(SnoozeTest, OfTwoIdenticalRemindersTheSnoozedOneStaysSnoozedAcrossRestartsAndAdditions) {
  for (int i = 0; i < 2; ++i) AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "igual", 1));
  store.SnoozeLembrete(Lembretes[1], At(2024, 6, 20, 16, 0));
  Restart();
  EXPECT_FALSE(SnoozeAt(0));
  EXPECT_EQ(SnoozeAt(1), At(2024, 6, 20, 16, 0));
  // A third goes before the others of its minute: the snoozed one is now the third.
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "igual", 1));
  EXPECT_EQ(SnoozeAt(2), At(2024, 6, 20, 16, 0));
  Restart();
  EXPECT_FALSE(SnoozeAt(0));
  EXPECT_FALSE(SnoozeAt(1));
  EXPECT_EQ(SnoozeAt(2), At(2024, 6, 20, 16, 0));
}

TEST_F(SnoozeTest, ASnoozeWhoseReminderIsGoneIsDroppedAtLoad) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
  const std::string snoozes = ReadDados("tavodb.adi");
  DeleteLembrete(Entry(0));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "b"));  // same minute, another text
  WriteDados("tavodb.adi", snoozes);
  Restart();
  EXPECT_EQ(store.SnoozeCount(), 0u);
  EXPECT_TRUE(desktop->boxes.empty());
}

TEST_F(SnoozeTest, ADamagedSnoozeFileIsReportedOnceAtStartAndLosesOnlyTheSnoozes) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 31), "b"));
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
  std::string bytes = ReadDados("tavodb.adi");
  bytes[bytes.size() / 2] ^= 0x10;
  WriteDados("tavodb.adi", bytes);
  const std::vector<Stored> reminders = State();
  FakeMainWindow& main = Restart();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text,
            "Os lembretes adiados não puderam ser lidos e voltam a alertar no seu horário.");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(State(), reminders);
  EXPECT_EQ(store.SnoozeCount(), 0u);
  // Told once: the damaged file is gone, so the next start does not meet it.
  EXPECT_FALSE(DadosExists("tavodb.adi"));
  EXPECT_EQ(TickAt(main, 2024, 6, 20, 14, 35).size(), 2u);
  Dismiss();
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
  Restart();
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(SnoozeAt(0), At(2024, 6, 20, 16, 0));
}

TEST_F(SnoozeTest, AMissingSnoozeFileLosesOnlyTheSnoozesSilently) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
  std::filesystem::remove(Dados("tavodb.adi"));
  FakeMainWindow& main = Restart();
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(State(), (std::vector<Stored>{{At(2024, 6, 20, 14, 30), 0, "a"}}));
  EXPECT_EQ(TickAt(main, 2024, 6, 20, 14, 35).size(), 1u);
}

// --- the list -------------------------------------------------------------------------------

TEST_F(SnoozeTest, TheListShowsTheSnoozeInTheGridTheRowSummaryAndThePrint) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 0), "hoje", 1));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 5), "amanhã"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 10), "sem adiar"));
  app().OpenWindowOnce(WindowKind::List);
  FakeListWindow& list = *desktop->Open<FakeListWindow>().at(0);
  list.form.bListarClick();
  // Snoozing lists again at once.
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 14, 45));
  store.SnoozeLembrete(Lembretes[1], At(2024, 6, 21, 0, 5));
  EXPECT_EQ(list.form.GridCellText(2, 1), "Diária\nadiado até 14:45");
  EXPECT_EQ(list.form.GridCellText(2, 2), "Nenhuma\nadiado até 21/06 00:05");
  EXPECT_EQ(list.form.GridCellText(2, 3), "Nenhuma");
  EXPECT_EQ(list.form.RowSummary(1), "20/06/2024, 14:00, Diária, adiado até 14:45: hoje");
  EXPECT_EQ(list.form.RowSummary(3), "20/06/2024, 14:10, Nenhuma: sem adiar");
  list.form.PrintList();
  ASSERT_FALSE(desktop->printer.pages.empty());
  int found = 0;
  for (const auto& drawn : desktop->printer.pages[0])
    found += drawn.text == "Diária\nadiado até 14:45" || drawn.text == "Nenhuma\nadiado até 21/06 00:05";
  EXPECT_EQ(found, 2);
}

}  // namespace
}  // namespace tavo::forms
