#pragma once
// The main window `formTAVO`: the program's commands, the alarm loop, and
// the rule that a close request hides it.

#include <string>
#include <vector>

#include "forms/form.h"

namespace tavo::forms {

// The main window's widgets, as its rules use them. The view runs the form's
// FormCreate once its controls exist, Activated on every activation of the
// window (the first one after it is first shown), FormCloseQuery on every
// close request, FormDestroy when it is destroyed, timerChecaTimer on every
// tick, and the command handlers from its buttons and tray menu.
class MainView : public WindowView {
 public:
  // Hides the main window (where the desktop has no notification area it is
  // minimised instead, so that it stays reachable).
  virtual void HideWindow() = 0;
  // True while the window is visible and not minimised.
  virtual bool IsShown() const = 0;
  // Starts `timerCheca` (timerChecaTimer every 10 seconds) and `timerSync`
  // (timerSyncTimer every second) from now on.
  virtual void StartTimer() = 0;
};

// True for a start that goes straight to the notification area: exactly one
// argument, "MINIMIZE" in any case.
bool IsMinimizeStart(const std::vector<std::string>& arguments);

class MainForm : public Form {
 public:
  // `arguments`: the command line without the program name.
  MainForm(Application& app, MainView& view, std::vector<std::string> arguments);
  ~MainForm() override;
  MainView& View() const override { return view_; }

  // The minute of the hour of the last due check; -1 before the first.
  int LastCheckedMinute = -1;

  // Loads the calendar files (a file that cannot be read is reported once
  // and leaves its list empty) and sets the start values.
  void FormCreate();
  // Releases the table and the calendar lists; nothing is written.
  void FormDestroy();
  // Every activation of the window: the first one decides "MINIMIZE" and
  // starts the alarm loop, the later ones mark the window shown.
  void Activated();
  bool FirstActivationDone() const { return first_activation_done_; }

  void bNovoClick();
  void bListaClick();
  void bConfigClick();
  void bHideClick();
  void bFechaClick();
  void bDoBackupClick();
  void bRestoreBackupClick();
  // "Exportar Calendário" and "Importar Calendário" (forms/calendar_flow.h).
  void pmExportCalendarClick();
  void pmImportCalendarClick();
  // "Sincronização": the sync window.
  void pmSyncClick();
  void pmJanelaClick();
  // A close request: true when the window may close; otherwise it hides.
  bool FormCloseQuery();
  // The end of the session: set ShuttingDown so that closing succeeds.
  void WMQueryEndSession();

  void timerChecaTimer();
  void CheckDueReminders();
  // Lets the background sync start what is due and apply what it received.
  void timerSyncTimer();

 private:
  void FirstActivation();
  void MarkMainWindowShown();

  MainView& view_;
  std::vector<std::string> arguments_;
  bool first_activation_done_ = false;
  bool sync_ticking_ = false;
};

}  // namespace tavo::forms
