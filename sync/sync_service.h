#pragma once
// The program's background sync: a worker thread talks to the server while
// the GUI thread alone touches the store. The GUI thread calls Tick() from
// its timer; a finished exchange is applied there, when the store is free.
// Syncs at start, every 5 minutes and a few seconds after a change; after a
// failure it retries later and later (up to the 5-minute period).

#include <functional>
#include <memory>
#include <string>

#include "sync/sync_account.h"
#include "sync/sync_report.h"

namespace tavo {
class Store;
}

namespace tavo::sync {

class SyncService {
 public:
  explicit SyncService(Store& store);
  ~SyncService();  // waits for a request in flight (each has a time-out)
  SyncService(const SyncService&) = delete;
  SyncService& operator=(const SyncService&) = delete;

  // GUI thread, about once a second: starts what is due, applies what is done.
  void Tick();
  // A reminder was added, altered, deleted or snoozed here.
  void ChangedHere();
  // "Sincronizar agora".
  void SyncNow();
  // Set-up from the window: discovery and the password check run on the
  // worker; `done` is called on the GUI thread (from Tick) with the result.
  // On success the account and password are stored and a sync follows.
  void Configure(const std::string& address, const std::string& user, const std::string& password,
                 std::function<void(const Report&)> done);
  // Removes the set-up and its password; the reminders stay.
  void Forget();

  Account CurrentAccount() const;
  bool Busy() const;
  // The worker has finished what is in flight; its result waits for Tick.
  bool ResultWaiting() const;
  // The status line: the last sync and its counters, or its error.
  std::string Status() const;
  // Called on the GUI thread when Status() changed.
  std::function<void()> StatusChanged;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tavo::sync
