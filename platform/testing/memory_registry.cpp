#include "platform/testing/test_platform.h"

namespace tavo::platform {
namespace {

class MemoryKey : public RegistryKey {
 public:
  MemoryKey(std::map<std::string, RegValue>& values, const bool& fail) : values_(values), fail_(fail) {}
  std::optional<RegValue> Query(const std::string& name) override {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool Set(const std::string& name, const RegValue& value) override {
    if (fail_) return false;
    values_[name] = value;
    return true;
  }
  bool Remove(const std::string& name) override { return values_.erase(name) > 0; }

 private:
  std::map<std::string, RegValue>& values_;
  const bool& fail_;
};

}  // namespace

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(const std::string& path, bool create) {
  auto it = Keys.find(path);
  if (it == Keys.end()) {
    if (!create || FailWrites) return nullptr;
    it = Keys.emplace(path, std::map<std::string, RegValue>{}).first;
  }
  return std::make_unique<MemoryKey>(it->second, FailWrites);
}

}  // namespace tavo::platform
