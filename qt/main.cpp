// Program entry: the start of forms/start_up.h over the Qt desktop.

#include <QApplication>
#include <cstdlib>

#include "forms/start_up.h"
#include "platform/show_request.h"
#include "qt/desktop_qt.h"
#include "qt/dialogs.h"
#include "qt/gui_common.h"
#include "qt/tavo_main.h"

namespace {

using namespace tavo;

class QtStartUp : public forms::StartUpHooks {
 public:
  [[noreturn]] void FailAndEnd(const std::string& text, forms::BoxStyle box) override {
    gui::ShowMessage(nullptr, gui::FromUtf8(text), box.icon, box.modality);
    std::_Exit(1);
  }
  void PumpMessages(const Store& store) override { gui::PumpMessagesOnce(true, store); }
  void AskRunningCopyToShow() override { platform::AskRunningCopyToShow(forms::kInstanceName); }

  int RunMainWindow(Store& store, forms::SyncLink* sync, const std::vector<std::string>& arguments) override {
    const auto show_requests = platform::ListenForShowRequests(forms::kInstanceName);
    QApplication::setApplicationDisplayName(gui::kAppTitle);
    gui::QtDesktop desktop(store);
    gui::SetTheDesktop(&desktop);
    desktop.app().Sync = sync;
    auto* main_window = new gui::TformTAVO(desktop.app(), arguments);
    if (show_requests) main_window->WatchShowRequests(*show_requests);
    main_window->show();
    const int rc = QApplication::exec();
    delete main_window;
    return rc;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  gui::InstallFontSubstitutes();
  gui::InstallPortuguese();
  QtStartUp start_up;
  return forms::RunProgram(start_up, std::vector<std::string>(argv + 1, argv + argc));
}
