#pragma once
// A plain start while another copy runs brings that copy's main window
// forward instead of doing nothing: the running copy keeps a hidden window
// of a class of its own, and the later start finds it, lets that copy take
// the foreground and posts it the request.

#include <functional>

namespace tavo::win32 {

// The running copy (the holder of the instance lock): makes the window that
// takes the requests; `show` runs on the GUI thread for each one.
void ListenForShowRequests(std::function<void()> show);

// A later start: asks the running copy to show its main window. True when the
// request was posted; false when no copy listens (none runs, or it has not
// made its window yet). Returns at once.
bool AskRunningCopyToShow();

}  // namespace tavo::win32
