#include "forms/start_up.h"

#include <optional>

#include "forms/background_sync.h"
#include "forms/form.h"
#include "forms/main_form.h"
#include "platform/system.h"
#include "store/cp1252.h"

namespace tavo::forms {

int RunProgram(StartUpHooks& hooks, const std::vector<std::string>& arguments) {
  // The program's one store, for the life of the program.
  Store store;
  store.Hooks.Failure = [&hooks](const std::string& message, BoxKind kind) {
    hooks.FailAndEnd(Cp1252ToUtf8(message), StoreFailureBox(kind));
  };
  store.Hooks.PumpMessages = [&hooks, &store] { hooks.PumpMessages(store); };
  const StoreAccess access =
      platform::InstanceLockHeld(kInstanceName) ? StoreAccess::ReadOnly : StoreAccess::ReadWrite;
  store.Open(access);

  const auto instance = platform::AcquireInstanceLock(kInstanceName);
  if (!instance) {
    // Another copy runs: a plain start brings its main window forward, a
    // start for the notification area leaves it as it is.
    if (!IsMinimizeStart(arguments)) hooks.AskRunningCopyToShow();
    return 0;
  }
  // The lock can be had after all when the other copy ended meanwhile; a
  // store opened only for reading is not synced all the same.
  std::optional<BackgroundSync> sync;
  if (access == StoreAccess::ReadWrite) sync.emplace(store);
  return hooks.RunMainWindow(store, sync ? &*sync : nullptr, arguments);
}

}  // namespace tavo::forms
