#pragma once
// The main window `formTAVO`: the program's commands, the alarm loop, the
// tray icon, and the rule that a close request hides it.

#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "qt/shaped_window.h"

class QSystemTrayIcon;

namespace tavo::gui {

class TGradBtn;
class TrayMenu;

class TformTAVO : public ShapedWindow {
  Q_OBJECT
 public:
  // `arguments`: the command line without the program name.
  explicit TformTAVO(std::vector<std::string> arguments);
  ~TformTAVO() override;

  bool ShuttingDown = false;
  int LastCheckedMinute = -1;
  QTimer timerCheca;

  TGradBtn *bNovo = nullptr, *bLista = nullptr, *bDoBackup = nullptr, *bRestoreBackup = nullptr,
           *bConfig = nullptr, *bFecha = nullptr, *bHide = nullptr;
  QSystemTrayIcon* rxTray = nullptr;
  TrayMenu* PopupMenu = nullptr;

  void bNovoClick();
  void bListaClick();
  void bConfigClick();
  void bHideClick();
  void bFechaClick();
  void bDoBackupClick();
  void bRestoreBackupClick();
  void pmJanelaClick();
  void timerChecaTimer();
  void CheckDueReminders();
  // The end of the session: set ShuttingDown and agree.
  void WMQueryEndSession();

  // Whether the first activation has run (MINIMIZE decided, timer started).
  bool FirstActivationDone() const { return first_activation_done_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void FormCreate();
  void FirstActivation();
  void MarkMainWindowShown();

  std::vector<std::string> arguments_;
  bool first_activation_done_ = false;
};

extern TformTAVO* formTAVO;

// The two calendar text files, loaded when the main window is created; a
// file that cannot be read is reported once and gives an empty list.
void LoadCalendarFiles(QWidget* owner);

}  // namespace tavo::gui
