// Program entry: the store opens first, then the single-instance guard (a
// second copy asks the first to show itself and ends), then the main window
// and the message loop.

#include <QApplication>
#include <cstdlib>

#include "platform/show_request.h"
#include "platform/system.h"
#include "qt/desktop_qt.h"
#include "qt/dialogs.h"
#include "qt/gui_common.h"
#include "qt/tavo_main.h"
#include "store/tavo_data.h"

int main(int argc, char** argv) {
  using namespace tavo;
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  gui::InstallFontSubstitutes();
  gui::InstallPortuguese();

  // The program's one store, for the life of the program.
  Store store;
  store.Hooks.Failure = [](const std::string& message, BoxKind kind) {
    const forms::BoxStyle box = forms::StoreFailureBox(kind);
    gui::ShowMessage(nullptr, gui::FromCp(message), box.icon, box.modality);
    // A data-file failure ends the program at once, without writing more.
    std::_Exit(1);
  };
  store.Hooks.PumpMessages = [&store] { gui::PumpMessagesOnce(true, store); };
  // A copy that is already running may be in the middle of changing the
  // files: a second copy then only reads them, so it cannot disturb them.
  const char* kInstanceName = "Orvane_Quelvo_2003";
  store.Open(platform::InstanceLockHeld(kInstanceName) ? StoreAccess::ReadOnly : StoreAccess::ReadWrite);

  std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto instance = platform::AcquireInstanceLock(kInstanceName);
  if (!instance) {
    // Another copy runs: a plain start brings its main window forward, a
    // start for the notification area leaves it as it is.
    if (!forms::IsMinimizeStart(arguments)) platform::AskRunningCopyToShow(kInstanceName);
    return 0;
  }
  const auto show_requests = platform::ListenForShowRequests(kInstanceName);

  QApplication::setApplicationDisplayName(gui::kAppTitle);
  gui::QtDesktop desktop(store);
  gui::SetTheDesktop(&desktop);
  auto* main_window = new gui::TformTAVO(desktop.app(), arguments);
  if (show_requests) main_window->WatchShowRequests(*show_requests);
  main_window->show();
  const int rc = app.exec();
  delete main_window;
  return rc;
}
