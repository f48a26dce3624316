// Program entry: the store opens first, then the single-instance guard, then
// the main window and the message loop.

#include <QApplication>
#include <cstdlib>

#include "app/gui_common.h"
#include "app/message_box.h"
#include "app/tavo_main.h"
#include "platform/system.h"
#include "store/tavo_data.h"

int main(int argc, char** argv) {
  using namespace tavo;
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  gui::InstallFontSubstitutes();

  Hooks().Failure = [](const std::string& message, BoxKind kind) {
    gui::ShowMessage(nullptr, gui::FromCp(message), gui::BoxIcon::Error,
                     kind == BoxKind::SystemModal ? gui::BoxModality::System : gui::BoxModality::Application);
    // A data-file failure ends the program at once, without writing more.
    std::_Exit(1);
  };
  Hooks().PumpMessages = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
  OpenStore();

  const auto instance = platform::AcquireInstanceLock("Orvane_Quelvo_2003");
  if (!instance) return 0;  // another copy runs: end silently

  QApplication::setApplicationDisplayName(gui::kAppTitle);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  auto* main_window = new gui::TformTAVO(arguments);
  main_window->show();
  const int rc = app.exec();
  delete main_window;
  return rc;
}
