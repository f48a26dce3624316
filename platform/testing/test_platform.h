#pragma once
// Test doubles of the operating-system services and the setters that put
// them in place. Only tests, benchmarks and tools link this library; the
// shipped programs do not.

#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace tavo::platform {

// Each setter replaces one service for the whole process; nullptr puts the
// operating system's own back.
void SetFilesForTesting(FileSystem* fs);
void SetRegistryForTesting(Registry* registry);
void SetClockForTesting(Clock* clock);
void SetSoundForTesting(WavePlayer* player);
void SetDateOrderForTesting(const DateOrder* order);  // nullptr: the locale's order again

// A clock that stays where a test puts it.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime t) : time(t) {}
  LocalTime Now() override { return time; }
  LocalTime time;
};

// A registry that lives in memory only.
class MemoryRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override;
  // Direct access for tests: key path -> value name -> value.
  std::map<std::string, std::map<std::string, RegValue>> Keys;
  bool FailWrites = false;
};

}  // namespace tavo::platform
