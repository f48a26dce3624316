// Program entry of quelvo.exe: the store opens first, then the single-instance
// guard (a later start asks the running copy to show itself and ends), then
// the main window and the message loop.

#include "win32/windows_api.h"

#include <commctrl.h>
#include <objbase.h>
#include <cstdlib>

#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/main_form.h"
#include "platform/system.h"
#include "store/cp1252.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tavo;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  // A single-threaded apartment: the objects answered to screen readers
  // (WM_GETOBJECT) are marshalled to them through COM.
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  // The program's one store, for the life of the program.
  Store store;
  store.Hooks.Failure = [](const std::string& message, BoxKind kind) {
    const forms::BoxStyle box = forms::StoreFailureBox(kind);
    win32::ShowBox(nullptr, Cp1252ToUtf8(message), box.icon, box.modality);
    // A data-file failure ends the program at once, without writing more.
    ::ExitProcess(1);
  };
  store.Hooks.PumpMessages = [&store] { win32::WaitAndProcessMessages(store); };
  // A copy that is already running may be in the middle of changing the
  // files: a second copy then only reads them, so it cannot disturb them.
  const char* kInstanceName = "Orvane_Quelvo_2003";
  store.Open(platform::InstanceLockHeld(kInstanceName) ? StoreAccess::ReadOnly : StoreAccess::ReadWrite);
  const std::vector<std::string> arguments = Arguments();
  const auto instance = platform::AcquireInstanceLock(kInstanceName);
  if (!instance) {
    // Another copy runs: a plain start brings its main window forward, a
    // start for the notification area leaves it as it is.
    if (!forms::IsMinimizeStart(arguments)) win32::AskRunningCopyToShow();
    return 0;
  }

  win32::CreateApplicationWindow();
  win32::Win32Desktop desktop;
  forms::Application app(desktop, store);
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
