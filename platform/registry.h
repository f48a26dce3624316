#pragma once
// A per-user registry of typed values under named keys, as the settings use it.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavo::platform {

// Value types, numbered as the Windows registry numbers them.
enum RegType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
};

struct RegValue {
  uint32_t Type = kRegNone;
  std::vector<uint8_t> Data;  // raw bytes; a DWORD is 4 little-endian bytes

  static RegValue Dword(uint32_t v);
  // A string value with its terminating zero, as the registry stores it.
  static RegValue String(const std::string& s, uint32_t type = kRegSz);
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // The value of that name, or nothing when it does not exist.
  virtual std::optional<RegValue> Query(const std::string& name) = 0;
  // Writes one value; false when it could not be written.
  virtual bool Set(const std::string& name, const RegValue& value) = 0;
  virtual bool Remove(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens a key below the current user's root ("Software\Orvane\Quelvo3").
  // With create, the key (and those above it) is made when missing.
  // nullptr when the key does not exist (without create) or cannot be made.
  virtual std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) = 0;
};

// The registry the program uses: System().UserRegistry() (platform.h).
Registry& Reg();
// The operating system's own (what RealPlatform() offers).
Registry& RealRegistry();

}  // namespace tavo::platform
