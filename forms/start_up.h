#pragma once
// The program's start, the same on every desktop: the store opens first
// (only reading when another copy holds the instance lock, as that copy may
// be changing the files), then the lock is taken; a later start asks the
// running copy to show itself and ends with 0; otherwise the background
// sync is made over the store and the main window runs. Each front-end
// supplies the pieces that are its own.

#include <string>
#include <vector>

#include "forms/desktop.h"
#include "store/tavo_data.h"

namespace tavo::forms {

// The single-instance lock's name: a named mutex on Windows, a lock file elsewhere.
inline constexpr const char* kInstanceName = "Orvane_Quelvo_2003";

class SyncLink;

class StartUpHooks {
 public:
  virtual ~StartUpHooks() = default;
  // A store failure: shows its box (UTF-8 text), then ends the program at
  // once, without writing more. Never returns.
  [[noreturn]] virtual void FailAndEnd(const std::string& text, BoxStyle box) = 0;
  // The store's wait for its busy flags: processes pending messages once.
  virtual void PumpMessages(const Store& store) = 0;
  // A later plain start: asks the running copy to show its main window.
  virtual void AskRunningCopyToShow() = 0;
  // The copy that holds the lock: opens the main window over `store` with
  // `sync` as the application's background sync (nullptr when the store was
  // opened only for reading), takes show requests, runs the message loop and
  // returns its exit code.
  virtual int RunMainWindow(Store& store, SyncLink* sync, const std::vector<std::string>& arguments) = 0;
};

// Runs the program; `arguments` without the program name. Returns the exit code.
int RunProgram(StartUpHooks& hooks, const std::vector<std::string>& arguments);

}  // namespace tavo::forms
