// The per-user registry on Windows: keys below HKEY_CURRENT_USER, values with their own types.

#include <windows.h>

#include "platform/registry.h"

namespace tavo::platform {
namespace {

class WinKey : public RegistryKey {
 public:
  explicit WinKey(HKEY key) : key_(key) {}
  ~WinKey() override { ::RegCloseKey(key_); }

  std::optional<RegValue> Query(const std::string& name) override {
    // The size first, then the bytes; a value that grows in between is asked for again.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0, size = 0;
      LONG rc = ::RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
      if (rc != ERROR_SUCCESS) return std::nullopt;
      RegValue value;
      value.Data.resize(size);
      rc = ::RegQueryValueExA(key_, name.c_str(), nullptr, &type, size ? value.Data.data() : nullptr, &size);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS) return std::nullopt;
      value.Data.resize(size);
      value.Type = type;
      return value;
    }
    return std::nullopt;
  }

  bool Set(const std::string& name, const RegValue& value) override {
    return ::RegSetValueExA(key_, name.c_str(), 0, value.Type, value.Data.empty() ? nullptr : value.Data.data(),
                            static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
  }

  bool Remove(const std::string& name) override { return ::RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS; }

 private:
  HKEY key_;
};

class WinRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
    HKEY key = nullptr;
    LONG rc;
    if (create) {
      rc = ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    } else {
      rc = ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    }
    if (rc != ERROR_SUCCESS) return nullptr;
    return std::make_unique<WinKey>(key);
  }
};

}  // namespace

Registry& RealRegistry() {
  static WinRegistry registry;
  return registry;
}

}  // namespace tavo::platform
