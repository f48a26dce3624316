#pragma once
// The main window `formTAVO`: the program's command buttons, the tray icon
// and its menu, and the alarm loop's timer, as a view over forms::MainForm.

#include <QTimer>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "qt/shaped_window.h"

class QSystemTrayIcon;

namespace tavo::platform {
class ShowRequestListener;
}

namespace tavo::gui {

class TGradBtn;
class TrayMenu;

class TformTAVO : public ShapedWindow, public forms::MainView {
  Q_OBJECT
 public:
  // `arguments`: the command line without the program name.
  TformTAVO(forms::Application& app, std::vector<std::string> arguments);
  ~TformTAVO() override;

  forms::MainForm form;
  QTimer timerCheca;
  QTimer timerSync;

  TGradBtn *bNovo = nullptr, *bLista = nullptr, *bDoBackup = nullptr, *bRestoreBackup = nullptr,
           *bConfig = nullptr, *bFecha = nullptr, *bHide = nullptr;
  QSystemTrayIcon* rxTray = nullptr;
  TrayMenu* PopupMenu = nullptr;

  // A later start of the program asks for the main window through
  // `requests`, which must outlive this window: each request shows it as
  // "Exibir Menu Principal" does.
  void WatchShowRequests(platform::ShowRequestListener& requests);

  // forms::MainView
  void Close() override { close(); }
  void BringToFront() override;
  bool IsForeground() const override { return isActiveWindow(); }
  void HideWindow() override;
  bool IsShown() const override { return isVisible() && !isMinimized(); }
  void StartTimer() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
};

}  // namespace tavo::gui
