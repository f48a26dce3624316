#include "forms/background_sync.h"

#include "store/tavo_data.h"

namespace tavo::forms {

BackgroundSync::BackgroundSync(Store& store) : store_(store), service_(store) {
  service_.StatusChanged = [this] { ServiceStatusChanged(); };
  store_.Hooks.Changed = [this] { service_.ChangedHere(); };
}

BackgroundSync::~BackgroundSync() {
  store_.Hooks.Changed = nullptr;
  service_.StatusChanged = nullptr;
}

}  // namespace tavo::forms
