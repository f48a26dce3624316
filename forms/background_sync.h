#pragma once
// The GUI program's one background sync: the calendar sync service over the
// program's store, told of every change the store makes and reached by the
// windows through SyncLink. Made by the start-up once the store is open for
// writing; it must go before the store does.

#include "forms/sync_form.h"
#include "sync/sync_service.h"

namespace tavo {
class Store;
}

namespace tavo::forms {

class BackgroundSync : public SyncLink {
 public:
  explicit BackgroundSync(Store& store);
  ~BackgroundSync() override;
  BackgroundSync(const BackgroundSync&) = delete;
  BackgroundSync& operator=(const BackgroundSync&) = delete;
  // The worker's answer is in and waits for the next tick (tests wait on it).
  bool ResultWaiting() const { return service_.ResultWaiting(); }

 protected:
  void DoTick() override { service_.Tick(); }
  sync::Account DoCurrentAccount() const override { return service_.CurrentAccount(); }
  std::string DoStatus() const override { return service_.Status(); }
  void DoSyncNow() override { service_.SyncNow(); }
  void DoConfigure(const std::string& address, const std::string& user, const std::string& password,
                   std::function<void(const sync::Report&)> done) override {
    service_.Configure(address, user, password, std::move(done));
  }
  void DoForget() override { service_.Forget(); }

 private:
  Store& store_;
  sync::SyncService service_;
};

}  // namespace tavo::forms
