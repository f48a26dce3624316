#pragma once
// Application-wide window state: which windows the program owns, the
// minimised state, the closing rule of the secondary windows and the
// routines that open or close windows by class.

#include <QPoint>
#include <QWidget>
#include <vector>

#include "qt/shaped_window.h"

namespace tavo::gui {

// True while the main window is meant to be visible.
extern bool MainWindowShown;
// Where the last reminder window was placed; (-1, -1) at start.
extern QPoint LastReminderPos;

// True once ending the program was confirmed or the session is ending.
bool ShuttingDown();

// The main window first, then every open secondary window in the order of creation.
std::vector<QWidget*> OwnedWindows();
void SetMainWindow(QWidget* main_window);
QWidget* MainWindow();

// The application's minimised state: minimised, only the tray icon remains.
void MinimizeApplication();
void RestoreApplication();
bool ApplicationMinimized();

// Shows a window, brings it to the top and makes it the foreground window.
void BringToFront(QWidget* window);

// A reminder, list or settings window: owned by the application, destroyed
// when it closes; when it closes while the main window is hidden and it is
// the last secondary window, the application is minimised.
class SecondaryWindow : public ShapedWindow {
  Q_OBJECT
 public:
  explicit SecondaryWindow(const QString& picture_resource);
  ~SecondaryWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// The first open window of class T brought forward, or a new one shown.
template <typename T>
T* OpenWindowOnce() {
  for (QWidget* w : OwnedWindows()) {
    if (auto* existing = qobject_cast<T*>(w)) {
      BringToFront(existing);
      return existing;
    }
  }
  auto* window = new T();
  RestoreApplication();
  BringToFront(window);
  return window;
}

// Asks every open reminder window to close (they destroy themselves later).
void CloseReminderWindows();

}  // namespace tavo::gui
