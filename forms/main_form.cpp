#include "forms/main_form.h"

#include <cctype>

#include "calendar/events_text.h"
#include "forms/backup_flow.h"
#include "forms/calendar_flow.h"
#include "forms/lembrete_form.h"
#include "forms/sync_form.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/date_text.h"
#include "store/tavo_data.h"

namespace tavo::forms {
namespace {

constexpr const char* kAskEnd =
    "Encerrar o Quelvo irá paralizar a checagem de lembretes pendentes. "
    "Tem certeza de que deseja encerrar o programa?";

void LoadLines(const Application& app, const Form& owner, const std::string& path, TextLines& lines) {
  std::string bytes;
  lines.clear();
  if (!platform::ReadWholeFile(platform::Files(), path, &bytes)) {
    app.ShowGeneralError(&owner, "Cannot open file " + path + ".");
    return;
  }
  lines = SplitTextLines(bytes);
}

}  // namespace

MainForm::MainForm(Application& app, MainView& view, std::vector<std::string> arguments)
    : Form(app, WindowKind::Main), view_(view), arguments_(std::move(arguments)) {}

MainForm::~MainForm() = default;

void MainForm::FormCreate() {
  const std::string folder = store().DadosPath("datas") + platform::kPathSeparator;
  LoadLines(App(), *this, folder + "santos.txt", SaintsList());
  LoadLines(App(), *this, folder + "datas.txt", DatesList());
  // What the store noticed while it opened, before there was a window to tell it in.
  store().DeliverPendingNotices();
  LastCheckedMinute = -1;
  App().LastReminderPos = {-1, -1};
}

void MainForm::FormDestroy() {
  SetEntryCount(store().Lembretes, 0);
  SaintsList().clear();
  DatesList().clear();
}

void MainForm::Activated() {
  if (!first_activation_done_) FirstActivation();
  else MarkMainWindowShown();
}

bool IsMinimizeStart(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return false;
  std::string only = arguments[0];
  for (char& c : only) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return only == "MINIMIZE";
}

void MainForm::FirstActivation() {
  first_activation_done_ = true;
  if (IsMinimizeStart(arguments_)) {
    view_.HideWindow();
    App().desktop().MinimizeApplication();
    App().MainWindowShown = false;
  } else {
    App().MainWindowShown = true;
  }
  view_.StartTimer();
}

void MainForm::MarkMainWindowShown() {
  // An activation that arrives after the window was hidden shows nothing.
  if (view_.IsShown()) App().MainWindowShown = true;
}

void MainForm::bNovoClick() {
  auto& window = static_cast<LembreteForm&>(App().desktop().CreateWindow(WindowKind::Lembrete));
  App().desktop().RestoreApplication();
  window.Mode = LembreteForm::kModeNew;
  window.View().BringToFront();
}

void MainForm::bListaClick() { App().OpenWindowOnce(WindowKind::List); }

void MainForm::bConfigClick() { App().OpenWindowOnce(WindowKind::Config); }

void MainForm::bDoBackupClick() {
  Guarded([this] { forms::bDoBackupClick(App(), this); });
}

void MainForm::bRestoreBackupClick() {
  Guarded([this] { forms::bRestoreBackupClick(App(), this); });
}

void MainForm::pmExportCalendarClick() {
  Guarded([this] { ExportAllCalendar(App(), this); });
}

void MainForm::pmImportCalendarClick() {
  Guarded([this] { ImportCalendar(App(), this); });
}

void MainForm::pmSyncClick() { App().OpenWindowOnce(WindowKind::Sync); }

void MainForm::bHideClick() {
  view_.HideWindow();
  App().MainWindowShown = false;
  if (App().OwnedWindows().size() == 1) App().desktop().MinimizeApplication();
}

void MainForm::pmJanelaClick() {
  view_.BringToFront();
  App().MainWindowShown = true;
  App().desktop().RestoreApplication();
}

void MainForm::bFechaClick() {
  if (!App().desktop().AskYesNo(nullptr, kAskEnd, BoxIcon::Question, BoxModality::System)) return;
  App().ShuttingDown = true;
  view_.Close();
}

bool MainForm::FormCloseQuery() {
  if (App().ShuttingDown) return true;
  bHideClick();
  return false;
}

void MainForm::WMQueryEndSession() { App().ShuttingDown = true; }

void MainForm::timerChecaTimer() {
  if (store().StoreBusy || store().ScanBusy) return;
  const int minute = platform::SystemClock().Now().Minute;
  if (minute == LastCheckedMinute) return;
  LastCheckedMinute = minute;
  CheckDueReminders();
}

void MainForm::timerSyncTimer() {
  // Applying received reminders writes the store: not while another handler
  // holds it, nor again from a message pump inside this very tick.
  if (!App().Sync || sync_ticking_ || store().StoreBusy || store().ScanBusy) return;
  sync_ticking_ = true;
  Guarded([this] { App().Sync->Tick(); });
  sync_ticking_ = false;
}

void MainForm::CheckDueReminders() {
  Guarded([this] {
    Store::ScanHold scan(store());
    bool sound_started = false;
    for (const int32_t p : store().DuePositions(CurrentMinute())) {
      if (App().IsLembreteOpen(store().Lembretes[p].Id)) continue;
      if (!sound_started) {
        if (!store().Config.WaveFile.empty() && platform::Files().Exists(store().Config.WaveFile))
          App().desktop().PlaySound(store().Config.WaveFile);
        sound_started = true;
      }
      App().ShowLembrete(p, LembreteForm::kModeAlert);
    }
  });
}

}  // namespace tavo::forms
