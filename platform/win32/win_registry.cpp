// The per-user registry on Windows: keys below HKEY_CURRENT_USER, values with
// their own types, through the wide calls. String values (REG_SZ,
// REG_EXPAND_SZ) are UTF-16 in the registry and UTF-8 in RegValue; every
// other type keeps its bytes as they are.

#include <windows.h>

#include <cstring>

#include "platform/registry.h"
#include "platform/win32/utf16.h"

namespace tavo::platform {
namespace {

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The UTF-16 bytes of a text value, terminating zero included when the UTF-8
// had one. RegSetValueExW counts a zero that follows the data in memory when
// the data itself lacks one, so a non-zero guard follows it, outside the
// count: a value is written exactly as given.
std::vector<uint8_t> ToRegistry(const RegValue& value, size_t* count) {
  *count = value.Data.size();
  std::vector<uint8_t> out = value.Data;
  if (IsText(value.Type)) {
    const std::wstring wide = Utf16(std::string_view(reinterpret_cast<const char*>(value.Data.data()), value.Data.size()));
    const auto* bytes = reinterpret_cast<const uint8_t*>(wide.data());
    out.assign(bytes, bytes + wide.size() * sizeof(wchar_t));
    *count = out.size();
  }
  out.push_back(0xFF);
  out.push_back(0xFF);
  return out;
}

// A stray odd byte at the end of a text value (written by hand) is dropped.
std::vector<uint8_t> FromRegistry(DWORD type, const std::vector<uint8_t>& data) {
  if (!IsText(type)) return data;
  std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
  if (!wide.empty()) std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
  const std::string utf8 = Utf8(wide);
  return std::vector<uint8_t>(utf8.begin(), utf8.end());
}

class WinKey : public RegistryKey {
 public:
  explicit WinKey(HKEY key) : key_(key) {}
  ~WinKey() override { ::RegCloseKey(key_); }

  std::optional<RegValue> Query(const std::string& name) override {
    const std::wstring wname = Utf16(name);
    // The size first, then the bytes; a value that grows in between is asked for again.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0, size = 0;
      LONG rc = ::RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size);
      if (rc != ERROR_SUCCESS) return std::nullopt;
      std::vector<uint8_t> data(size);
      rc = ::RegQueryValueExW(key_, wname.c_str(), nullptr, &type, size ? data.data() : nullptr, &size);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS) return std::nullopt;
      data.resize(size);
      RegValue value;
      value.Type = type;
      value.Data = FromRegistry(type, data);
      return value;
    }
    return std::nullopt;
  }

  bool Set(const std::string& name, const RegValue& value) override {
    size_t count = 0;
    const std::vector<uint8_t> data = ToRegistry(value, &count);
    return ::RegSetValueExW(key_, Utf16(name).c_str(), 0, value.Type, count ? data.data() : nullptr,
                            static_cast<DWORD>(count)) == ERROR_SUCCESS;
  }

  bool Remove(const std::string& name) override {
    return ::RegDeleteValueW(key_, Utf16(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

class WinRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
    HKEY key = nullptr;
    const std::wstring wpath = Utf16(path);
    LONG rc;
    if (create) {
      rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, wpath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    } else {
      rc = ::RegOpenKeyExW(HKEY_CURRENT_USER, wpath.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
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
