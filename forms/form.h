#pragma once
// The application's windows as the rules see them: every open window has a
// form (its rules and state) and a view (its widgets, in one front-end). The
// application keeps the forms in the order the windows were created, the
// main window first, and holds the state the windows share.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/desktop.h"
#include "forms/geometry.h"
#include "store/tavo_data.h"

namespace tavo::forms {

class Application;

// What every window's rules need from its widgets.
class WindowView {
 public:
  virtual ~WindowView() = default;
  // Asks the window to close: the form's close handler runs now, and the
  // window is destroyed with its form once the running handler has returned.
  virtual void Close() = 0;
  // Shows the window, brings it to the top and makes it the foreground window.
  virtual void BringToFront() = 0;
  // True when this window is the system's foreground window.
  virtual bool IsForeground() const = 0;
};

// A window's rules. Constructing one adds it to the application's windows;
// destroying it removes it.
class Form {
 public:
  Form(Application& app, WindowKind kind);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  WindowKind Kind() const { return kind_; }
  Application& App() const { return app_; }
  Store& store() const;
  virtual WindowView& View() const = 0;

 protected:
  // Runs an event handler: an unexpected error abandons it and is shown by
  // the general error report; a store failure has been shown already.
  void Guarded(const std::function<void()>& handler) const;

 private:
  Application& app_;
  WindowKind kind_;
};

class LembreteForm;
class ListForm;
class SyncLink;

// The general error report of an unexpected error: error icon, OK, task-modal,
// and the error's text with a full stop appended when it does not end in one.
inline constexpr BoxStyle kGeneralErrorBox{BoxIcon::Error, BoxModality::Task};
std::string GeneralErrorText(std::string what);

// The box that reports a store failure of the given kind before the program ends.
BoxStyle StoreFailureBox(BoxKind kind);

// The program-wide window state and the routines that open or close windows.
class Application {
 public:
  // The store is the program's one store, owned by its start-up; every
  // window's rules reach it through here.
  Application(Desktop& desktop, Store& store);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Desktop& desktop() const { return desktop_; }
  Store& store() const { return store_; }

  // True while the main window is meant to be visible.
  bool MainWindowShown = false;
  // True once ending the program was confirmed or the session is ending.
  bool ShuttingDown = false;
  // Where the last reminder window was placed; (-1, -1) when none was.
  Point LastReminderPos{-1, -1};
  // The background calendar sync, set by the start-up; nullptr in a copy
  // that only reads the store.
  SyncLink* Sync = nullptr;

  // The open windows in the order of creation, the main window first.
  const std::vector<Form*>& OwnedWindows() const { return windows_; }

  // Brings the first open window of `kind` to the front, or creates one,
  // restores the application and shows it.
  Form& OpenWindowOnce(WindowKind kind);
  // Asks every open reminder window to close.
  void CloseReminderWindows();
  // Opens a reminder window for a table position in a mode; nothing when the
  // position is beyond the table.
  void ShowLembrete(int32_t position, uint8_t mode);
  // True when a reminder window in alert or alter mode shows the reminder `id`.
  bool IsLembreteOpen(int32_t id) const;
  // The rule of a secondary window that closes: when it leaves only the main
  // window behind and the main window is hidden, the application minimises.
  void SecondaryWindowClosing();
  // Lists again in the open list window when it shows listed rows; the store
  // calls it after every change.
  void RefreshList();

  // The general error report (kGeneralErrorBox) of `text`.
  void ShowGeneralError(const Form* owner, std::string text) const;

 private:
  friend class Form;
  Desktop& desktop_;
  Store& store_;
  std::vector<Form*> windows_;
};

}  // namespace tavo::forms
