// The main window's rules over a fake desktop: start-up, its commands, the
// hiding and closing rules, the due check, and backup and restore.

#include "forms/main_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "calendar/events_text.h"
#include "forms/lembrete_form.h"
#include "platform/system.h"
#include "store/config.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeDesktop;
using test_support::FakeLembreteWindow;
using test_support::FakeMainWindow;
using tavo::test_support::At;
using tavo::test_support::Reminder;

class MainFormTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    std::filesystem::create_directories(folder.Path() + "dados/datas");
    std::filesystem::create_directories(folder.Path() + "dados/sons");
    Write("dados/datas/santos.txt", "20/06=S\xE3o Silv\xE9rio\r\n");
    Write("dados/datas/datas.txt", "[20/06] Um dia\r\n");
    Write("dados/sons/gongo.wav", "RIFF");
    Config.WaveFile = folder.Path() + "dados/sons/gongo.wav";
    clock.time = {2024, 6, 20, 14, 35, 5, 0};  // a Thursday
  }
  void TearDown() override {
    SaintsList().clear();
    DatesList().clear();
    FormsFixture::TearDown();
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder.Path() + name, std::ios::binary) << bytes;
  }
  // A timer tick at the given time of 20/06/2024.
  void Tick(FakeMainWindow& main, int hour, int minute) {
    clock.time.Hour = hour;
    clock.time.Minute = minute;
    main.form.timerChecaTimer();
  }
  std::vector<FakeLembreteWindow*> Alerts() { return desktop->Alerts(); }
};

// --- start-up -----------------------------------------------------------------------

TEST_F(MainFormTest, CreationLoadsTheCalendarFilesAndTheFirstActivationStartsTheTimer) {
  app().LastReminderPos = {5, 5};
  FakeMainWindow& main = desktop->OpenMainWindow();
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(SaintsList(), TextLines{"20/06=S\xE3o Silv\xE9rio"});
  EXPECT_EQ(DatesList(), TextLines{"[20/06] Um dia"});
  EXPECT_EQ(main.form.LastCheckedMinute, -1);
  EXPECT_EQ(app().LastReminderPos, (Point{-1, -1}));
  EXPECT_TRUE(main.timer_started);
  EXPECT_TRUE(app().MainWindowShown);
  EXPECT_TRUE(main.shown);
}

TEST_F(MainFormTest, AMissingCalendarFileIsReportedOnceAndStartUpGoesOn) {
  std::filesystem::remove(folder.Path() + "dados/datas/santos.txt");
  FakeMainWindow& main = desktop->OpenMainWindow();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  const std::string& text = desktop->boxes[0].text;
  EXPECT_EQ(text, "Cannot open file " + Dados("datas") + platform::kPathSeparator + "santos.txt.");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Error);
  EXPECT_TRUE(SaintsList().empty());
  EXPECT_EQ(DatesList().size(), 1u);
  EXPECT_TRUE(main.timer_started);
}

TEST_F(MainFormTest, MinimizeHidesOnlyAsTheOnlyArgumentInAnyCase) {
  struct Case {
    std::vector<std::string> args;
    bool shown;
  };
  const Case cases[] = {{{}, true},
                        {{"minimize"}, false},
                        {{"MiNiMiZe"}, false},
                        {{"MINIMIZE", "x"}, true},
                        {{"outro"}, true}};
  for (const Case& c : cases) {
    FakeDesktop d(store);
    FakeMainWindow& main = d.OpenMainWindow(c.args);
    EXPECT_EQ(d.app.MainWindowShown, c.shown) << c.args.size();
    EXPECT_EQ(main.shown, c.shown);
    EXPECT_EQ(d.minimized, !c.shown);
    EXPECT_TRUE(main.timer_started);
  }
}

TEST_F(MainFormTest, LaterActivationsMarkTheWindowShownOnlyWhileItIsVisible) {
  FakeMainWindow& main = desktop->OpenMainWindow({"MINIMIZE"});
  main.form.Activated();  // an activation that arrives after hiding
  EXPECT_FALSE(app().MainWindowShown);
  main.form.pmJanelaClick();
  EXPECT_TRUE(main.shown);
  EXPECT_TRUE(app().MainWindowShown);
  EXPECT_FALSE(desktop->minimized);
  app().MainWindowShown = false;
  main.form.Activated();
  EXPECT_TRUE(app().MainWindowShown);
}

// --- commands -------------------------------------------------------------------------

TEST_F(MainFormTest, NewReminderOpensAnotherWindowEveryTimeListAndSettingsOnlyOnce) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.bNovoClick();
  main.form.bNovoClick();
  const auto reminders = desktop->Open<FakeLembreteWindow>();
  ASSERT_EQ(reminders.size(), 2u);
  EXPECT_EQ(reminders[0]->form.Mode, LembreteForm::kModeNew);
  EXPECT_TRUE(reminders[1]->IsForeground());

  main.form.bListaClick();
  main.form.bConfigClick();
  auto* list = desktop->Open<test_support::FakeListWindow>().at(0);
  EXPECT_FALSE(list->IsForeground());
  main.form.bListaClick();  // brought forward, not opened again
  EXPECT_TRUE(list->IsForeground());
  main.form.bConfigClick();
  EXPECT_EQ(desktop->Open<test_support::FakeListWindow>().size(), 1u);
  EXPECT_EQ(desktop->Open<test_support::FakeConfigWindow>().size(), 1u);
  EXPECT_EQ(app().OwnedWindows().size(), 5u);
  EXPECT_EQ(app().OwnedWindows()[0], &main.form);

  app().CloseReminderWindows();
  EXPECT_TRUE(desktop->Open<FakeLembreteWindow>().empty());
}

TEST_F(MainFormTest, HidingMinimisesOnlyWhenNoOtherWindowIsOpen) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.bNovoClick();
  main.form.bHideClick();
  EXPECT_FALSE(main.shown);
  EXPECT_FALSE(app().MainWindowShown);
  EXPECT_FALSE(desktop->minimized);
  // The last secondary window closing while the main window is hidden minimises.
  app().CloseReminderWindows();
  EXPECT_TRUE(desktop->minimized);
  desktop->CollectClosed();
  main.form.pmJanelaClick();
  EXPECT_FALSE(desktop->minimized);
  main.form.bHideClick();
  EXPECT_TRUE(desktop->minimized);
}

TEST_F(MainFormTest, ASecondaryWindowClosingWithTheMainWindowShownKeepsTheApplication) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.bListaClick();
  desktop->Open<test_support::FakeListWindow>().at(0)->form.iHideClick();
  EXPECT_FALSE(desktop->minimized);
}

TEST_F(MainFormTest, CloseRequestsHideUntilEndingIsConfirmed) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.Close();  // Alt+F4 or the taskbar's close
  EXPECT_FALSE(main.ended);
  EXPECT_FALSE(main.shown);
  EXPECT_FALSE(app().MainWindowShown);

  main.form.bFechaClick();  // answered No
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text,
            "Encerrar o Quelvo irá paralizar a checagem de lembretes pendentes. "
            "Tem certeza de que deseja encerrar o programa?");
  EXPECT_EQ(desktop->boxes[0].modality, BoxModality::System);
  EXPECT_EQ(desktop->boxes[0].owner, nullptr);
  EXPECT_FALSE(app().ShuttingDown);
  EXPECT_FALSE(main.ended);

  desktop->answers = {true};
  main.form.bFechaClick();
  EXPECT_TRUE(app().ShuttingDown);
  EXPECT_TRUE(main.ended);
}

TEST_F(MainFormTest, TheSessionEndLetsTheWindowCloseWithoutAsking) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.WMQueryEndSession();
  EXPECT_TRUE(app().ShuttingDown);
  EXPECT_TRUE(main.form.FormCloseQuery());
  main.Close();
  EXPECT_TRUE(main.ended);
  EXPECT_TRUE(desktop->boxes.empty());
}

TEST_F(MainFormTest, DestroyingReleasesTheTableAndTheCalendarLists) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  AddLembrete(Reminder(At(2024, 7, 1, 8, 0), "fica no disco"));
  main.form.FormDestroy();
  EXPECT_EQ(Lembretes.Count, 0);
  EXPECT_TRUE(SaintsList().empty());
  Reopen();
  EXPECT_EQ(Lembretes.Count, 1);
}

// --- the due check ---------------------------------------------------------------------

TEST_F(MainFormTest, MissedRemindersOpenAtTheFirstCheckWithOneSound) {
  AddLembrete(Reminder(At(2024, 6, 18, 9, 0), "two days ago"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 35), "this minute"));
  AddLembrete(Reminder(At(2024, 6, 20, 14, 36), "not yet"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  desktop->restores = 0;
  Tick(main, 14, 35);
  const auto alerts = Alerts();
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0]->memo, "two days ago");
  EXPECT_EQ(alerts[1]->memo, "this minute");
  EXPECT_TRUE(alerts[1]->IsForeground());
  EXPECT_EQ(desktop->restores, 2);
  EXPECT_EQ(desktop->sounds, std::vector<std::string>{Config.WaveFile});
  EXPECT_EQ(main.form.LastCheckedMinute, 35);
  EXPECT_FALSE(ScanBusy);
  Reopen();
  EXPECT_EQ(Lembretes.Count, 3);  // the check changes nothing stored
}

TEST_F(MainFormTest, EachMinuteChecksOnceAndOnlyTheMinuteOfTheHourCounts) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  Tick(main, 14, 35);
  EXPECT_TRUE(Alerts().empty());
  EXPECT_TRUE(desktop->sounds.empty());
  // Created for this minute after its check: shown at the next minute's check.
  AddLembrete(Reminder(At(2024, 6, 20, 14, 35), "added late"));
  Tick(main, 14, 35);
  EXPECT_TRUE(Alerts().empty());
  // An hour later in the same minute of the hour: no check either.
  Tick(main, 15, 35);
  EXPECT_TRUE(Alerts().empty());
  Tick(main, 15, 36);
  EXPECT_EQ(Alerts().size(), 1u);
}

TEST_F(MainFormTest, EqualMinutesOpenTogetherInTableOrder) {
  AddLembrete(Reminder(At(2024, 6, 20, 10, 0), "first added"));
  AddLembrete(Reminder(At(2024, 6, 20, 10, 0), "second added"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  Tick(main, 14, 35);
  const auto alerts = Alerts();
  ASSERT_EQ(alerts.size(), 2u);
  // The one added later stands first in the table and opens first.
  EXPECT_EQ(alerts[0]->form.Reminder.Text, "second added");
  EXPECT_EQ(alerts[1]->form.Reminder.Text, "first added");
}

TEST_F(MainFormTest, AReminderOnScreenIsNotOpenedAgainNorRings) {
  AddLembrete(Reminder(At(2024, 6, 20, 10, 0), "due"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.bNovoClick();  // a new-reminder window holds no stored reminder
  Tick(main, 14, 35);
  ASSERT_EQ(Alerts().size(), 1u);
  Alerts()[0]->form.SwitchToAlterMode();  // altered from the list meanwhile
  Tick(main, 14, 36);
  EXPECT_TRUE(Alerts().empty());
  EXPECT_EQ(desktop->Open<FakeLembreteWindow>().size(), 2u);
  EXPECT_EQ(desktop->sounds.size(), 1u);
}

TEST_F(MainFormTest, BusyFlagsSkipTheTickWithoutRecordingTheMinute) {
  AddLembrete(Reminder(At(2024, 6, 20, 10, 0), "due"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  ScanBusy = true;
  Tick(main, 14, 35);
  ScanBusy = false;
  EXPECT_EQ(main.form.LastCheckedMinute, -1);
  StoreBusy = true;
  Tick(main, 14, 35);
  StoreBusy = false;
  EXPECT_TRUE(Alerts().empty());
  Tick(main, 14, 35);
  EXPECT_EQ(Alerts().size(), 1u);
}

TEST_F(MainFormTest, AMissingOrEmptySoundFileGivesASilentAlarm) {
  AddLembrete(Reminder(At(2024, 6, 20, 10, 0), "due"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  Config.WaveFile = folder.Path() + "dados/sons/none.wav";
  Tick(main, 14, 35);
  EXPECT_EQ(Alerts().size(), 1u);
  app().CloseReminderWindows();
  desktop->CollectClosed();
  Config.WaveFile.clear();
  Tick(main, 14, 36);
  EXPECT_EQ(Alerts().size(), 1u);
  EXPECT_TRUE(desktop->sounds.empty());
}

// --- backup and restore -------------------------------------------------------------------

TEST_F(MainFormTest, BackupOfAnEmptyStoreShowsOnlyTheMessage) {
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.bDoBackupClick();
  EXPECT_TRUE(desktop->file_dialogs.empty());
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Não há lembretes armazenados. O backup não é necessário");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(desktop->boxes[0].modality, BoxModality::System);
}

TEST_F(MainFormTest, BackupWritesTheChosenFileOrReportsAFailure) {
  AddLembrete(Reminder(At(2024, 7, 1, 8, 0), "um"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  main.form.bDoBackupClick();  // cancelled
  ASSERT_EQ(desktop->file_dialogs.size(), 1u);
  EXPECT_EQ(desktop->file_dialogs[0].kind, FileDialog::Kind::Save);
  EXPECT_EQ(desktop->file_dialogs[0].filter_name, "Backup do Quelvo 3");
  EXPECT_EQ(desktop->file_dialogs[0].pattern, "*.tvb");
  EXPECT_EQ(desktop->file_dialogs[0].default_extension, "tvb");

  const std::string path = folder.Path() + "copia.tvb";
  desktop->file_answers = {path};
  main.form.bDoBackupClick();
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(std::filesystem::file_size(path), 15u + 20u + 2u);

  desktop->file_answers = {folder.Path() + "no/such/folder/x.tvb"};
  main.form.bDoBackupClick();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Erro ao salvar backup. Tente novamente");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Error);
}

TEST_F(MainFormTest, EndingWhileADialogIsOpenWritesAndReadsNothing) {
  AddLembrete(Reminder(At(2024, 7, 1, 8, 0), "um"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  const std::string path = folder.Path() + "copia.tvb";
  desktop->file_answers = {path, path};
  desktop->while_dialog_open = [&] { main.form.WMQueryEndSession(); };
  main.form.bDoBackupClick();
  EXPECT_FALSE(std::filesystem::exists(path));
  std::ofstream(path, std::ios::binary) << "not a backup";
  main.form.bRestoreBackupClick();
  EXPECT_EQ(Lembretes.Count, 1);
  EXPECT_TRUE(desktop->boxes.size() == 1 && desktop->boxes[0].question);
}

TEST_F(MainFormTest, RestoreIntoAnEmptyStoreAsksNothing) {
  AddLembrete(Reminder(At(2024, 7, 1, 8, 0), "um"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  const std::string path = folder.Path() + "copia.tvb";
  desktop->file_answers = {path};
  main.form.bDoBackupClick();
  DeleteLembrete(Entry(0));
  desktop->file_answers = {path};
  main.form.bRestoreBackupClick();
  EXPECT_EQ(desktop->file_dialogs.back().kind, FileDialog::Kind::Open);
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 7, 1, 8, 0), 0, "um"}}));
}

TEST_F(MainFormTest, RestoreAsksBeforeReplacingAndYesClosesTheReminderWindows) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "do backup"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  const std::string path = folder.Path() + "copia.tvb";
  desktop->file_answers = {path};
  main.form.bDoBackupClick();
  AddLembrete(Reminder(At(2024, 6, 2, 8, 0), "depois"));
  Tick(main, 14, 35);
  ASSERT_EQ(Alerts().size(), 2u);

  desktop->file_answers = {path};
  main.form.bRestoreBackupClick();  // answered No
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Deseja substituir os lembretes já cadastrados pelo conteúdo do backup?");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(desktop->boxes[0].modality, BoxModality::System);
  EXPECT_EQ(Alerts().size(), 2u);
  EXPECT_EQ(Lembretes.Count, 2);

  desktop->file_answers = {path};
  desktop->answers = {true};
  main.form.bRestoreBackupClick();
  EXPECT_TRUE(Alerts().empty());
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 1, 8, 0), 0, "do backup"}}));
}

TEST_F(MainFormTest, RestoringAFileThatIsNoBackupKeepsTheReminders) {
  AddLembrete(Reminder(At(2024, 6, 1, 8, 0), "fica"));
  FakeMainWindow& main = desktop->OpenMainWindow();
  const std::string path = folder.Path() + "falso.tvb";
  std::ofstream(path, std::ios::binary) << "tavobkp and more";
  desktop->file_answers = {path};
  desktop->answers = {true};
  main.form.bRestoreBackupClick();
  ASSERT_EQ(desktop->boxes.size(), 2u);
  EXPECT_EQ(desktop->boxes[1].text, "Erro ao importar backup. Arquivo inválido");
  EXPECT_EQ(desktop->boxes[1].icon, BoxIcon::Error);
  EXPECT_EQ(State(), (std::vector<tavo::test_support::Stored>{{At(2024, 6, 1, 8, 0), 0, "fica"}}));
}

}  // namespace
}  // namespace tavo::forms
