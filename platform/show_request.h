#pragma once
// A start of the program while another copy runs asks that copy to show its
// main window and take the keyboard focus, then ends. The copy that holds the
// single-instance lock listens for these requests; each system delivers them
// its own way (POSIX: a datagram socket beside the lock file; Windows: a
// registered window message).

#include <memory>
#include <string>

namespace tavo::platform {

// Asks the copy that holds the instance lock `instance_name` to show its main
// window. Returns true when the request was handed over; false when no copy
// listens (none runs, or it has not begun to listen yet) or it cannot be
// reached. Returns at once, without waiting for the other copy.
bool AskRunningCopyToShow(const std::string& instance_name);

// The running copy's end: the show requests that arrived.
class ShowRequestListener {
 public:
  virtual ~ShowRequestListener() = default;
  // A file descriptor that becomes readable when requests wait, for the GUI's
  // event loop to watch; -1 where requests arrive as a window message instead.
  virtual int WaitHandle() const = 0;
  // Takes every waiting request without blocking; true when there was one.
  virtual bool TakeRequests() = 0;
};

// Starts listening for show requests to `instance_name`. Call only while
// holding that instance lock (a copy that does not hold it would take the
// requests meant for the one that does). Returns nullptr when listening is
// impossible; the program then runs without it.
std::unique_ptr<ShowRequestListener> ListenForShowRequests(const std::string& instance_name);

}  // namespace tavo::platform
