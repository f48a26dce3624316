#pragma once
// The main window `formTAVO` with its seven flat buttons, the tray icon and
// its owner-drawn popup menu, and the wait box `formStatus`.

#include "win32/windows_api.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "forms/main_form.h"
#include "win32/controls.h"
#include "win32/shaped_window.h"

namespace tavo::win32 {

class MainWindow;

// The tray icon `rxTray` with its own hidden window, which receives the
// icon's mouse messages and owns the popup menu `PopupMenu` while it is open.
class TrayIcon : public Wnd {
 public:
  explicit TrayIcon(MainWindow& main) : main_(main) {}
  ~TrayIcon() override;
  void Add();
  void Remove();
  // Opens the popup menu at a screen point, runs the command chosen.
  void PopUp(POINT at);
  // Runs the first top-level item marked as the default and enabled.
  void RunDefaultItem();
  // The menu's height in pixels, as its items were measured.
  int MenuHeight() const;

  static constexpr UINT kCallbackMessage = WM_APP + 10;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void BuildMenu();
  void MeasureItem(MEASUREITEMSTRUCT& m) const;
  void DrawItem(const DRAWITEMSTRUCT& d) const;
  int ItemHeight(size_t index) const;
  int ItemTop(size_t index) const;  // from the first item's top
  void Run(UINT command);

  MainWindow& main_;
  HMENU menu_ = nullptr;
  bool added_ = false;
  UINT taskbar_created_ = 0;
};

class MainWindow : public ShapedWindow, public forms::MainView {
 public:
  MainWindow(forms::Application& app, std::vector<std::string> arguments);
  ~MainWindow() override;

  forms::MainForm form;
  FlatButton bNovo, bLista, bDoBackup, bRestoreBackup, bConfig, bFecha, bHide;
  TrayIcon rxTray{*this};

  // Shows the main window at start-up, centred; its first activation decides "MINIMIZE".
  void ShowAtStart();

  // forms::MainView
  void Close() override;
  void BringToFront() override;
  bool IsForeground() const override;
  void HideWindow() override;
  bool IsShown() const override;
  void StartTimer() override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool FormCloseQuery() override;
  void OnDestroyed() override;
};

// The wait box `formStatus`: a thin frame and a title bar without system
// menu or buttons, on top of the other windows, centred, its one line
// centred in its client area (forms::kStatusBox).
class StatusBox : public Wnd {
 public:
  // Creates and shows it owned by `owner`; returns its window.
  static HWND Open(HWND owner, const std::string& text);
  CenteredLabel lStatus;
};

}  // namespace tavo::win32
