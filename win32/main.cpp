// Program entry of quelvo.exe: the start of forms/start_up.h over the Win32 desktop.

#include "win32/windows_api.h"

#include <commctrl.h>
#include <objbase.h>
#include <cstdlib>

#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/start_up.h"
#include "platform/system.h"
#include "store/tavo_data.h"
#include "win32/application.h"
#include "win32/desktop_win32.h"
#include "win32/main_window.h"
#include "win32/show_request.h"

namespace {

// The command line without the program name, as UTF-8 (the runtime splits
// the wide command line for a wWinMain program).
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.push_back(tavo::platform::Utf8(__wargv[i]));
  return args;
}

class Win32StartUp : public tavo::forms::StartUpHooks {
 public:
  [[noreturn]] void FailAndEnd(const std::string& text, tavo::forms::BoxStyle box) override {
    tavo::win32::ShowBox(nullptr, text, box.icon, box.modality);
    ::ExitProcess(1);
  }
  void PumpMessages(const tavo::Store& store) override { tavo::win32::WaitAndProcessMessages(store); }
  void AskRunningCopyToShow() override { tavo::win32::AskRunningCopyToShow(); }

  int RunMainWindow(tavo::Store& store, tavo::forms::SyncLink* sync, const std::vector<std::string>& arguments) override {
    using namespace tavo;
    win32::CreateApplicationWindow();
    win32::Win32Desktop desktop;
    forms::Application app(desktop, store);
    app.Sync = sync;
    desktop.SetApplication(&app);
    auto* main_window = new win32::MainWindow(app, arguments);  // deletes itself with its window
    win32::ListenForShowRequests([main_window] { main_window->form.pmJanelaClick(); });
    // The taskbar button is there from the start; a "MINIMIZE" start takes it away again.
    win32::RestoreApplication();
    main_window->ShowAtStart();
    const int rc = win32::RunMessageLoop();
    // The windows still open go with the application, without their close handlers.
    ::DestroyWindow(win32::ApplicationWindow());
    return rc;
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  // A single-threaded apartment: the objects answered to screen readers
  // (WM_GETOBJECT) are marshalled to them through COM.
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Win32StartUp start_up;
  return tavo::forms::RunProgram(start_up, Arguments());
}
