#include "qt/app_state.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <algorithm>

#include "qt/tavo_lembrete.h"

namespace tavo::gui {

bool MainWindowShown = false;
QPoint LastReminderPos(-1, -1);

namespace {
QWidget* g_main_window = nullptr;
std::vector<QWidget*> g_secondary;
bool g_minimized = false;
}  // namespace

void SetMainWindow(QWidget* main_window) { g_main_window = main_window; }
QWidget* MainWindow() { return g_main_window; }

std::vector<QWidget*> OwnedWindows() {
  std::vector<QWidget*> windows;
  if (g_main_window) windows.push_back(g_main_window);
  windows.insert(windows.end(), g_secondary.begin(), g_secondary.end());
  return windows;
}

void MinimizeApplication() {
  // With the main window hidden and no other window left, only the tray icon remains.
  g_minimized = true;
}

void RestoreApplication() { g_minimized = false; }
bool ApplicationMinimized() { return g_minimized; }

void BringToFront(QWidget* window) {
  if (window->isMinimized()) window->showNormal();
  window->show();
  window->raise();
  window->activateWindow();
}

SecondaryWindow::SecondaryWindow(const QString& picture_resource) : ShapedWindow(picture_resource) {
  g_secondary.push_back(this);
}

SecondaryWindow::~SecondaryWindow() {
  g_secondary.erase(std::remove(g_secondary.begin(), g_secondary.end(), this), g_secondary.end());
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
  if (OwnedWindows().size() == 2 && !MainWindowShown) MinimizeApplication();
  event->accept();
}

void CloseReminderWindows() {
  const std::vector<QWidget*> windows = OwnedWindows();
  for (QWidget* w : windows)
    if (auto* reminder = qobject_cast<TformLembrete*>(w)) reminder->close();
}

}  // namespace tavo::gui
