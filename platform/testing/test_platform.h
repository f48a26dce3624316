#pragma once
// Test doubles of the operating-system services and the one setter that puts
// a platform in place. Only tests, benchmarks and tools link this library;
// the shipped programs do not.

#include <map>
#include <optional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/locale_date.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace tavo::platform {

// Puts `platform` in place of the operating system's services for the whole
// process; nullptr puts RealPlatform() back.
void SetPlatformForTesting(Platform* platform);

// The operating system's services with some replaced: each slot left empty
// forwards to RealPlatform().
class TestPlatform : public PlatformWrapper {
 public:
  TestPlatform() : PlatformWrapper(RealPlatform()) {}
  FileSystem* files = nullptr;
  Registry* registry = nullptr;
  Clock* clock = nullptr;
  WavePlayer* sound = nullptr;
  std::optional<DateOrder> date_order;

  FileSystem& Files() override { return files ? *files : target_.Files(); }
  Registry& UserRegistry() override { return registry ? *registry : target_.UserRegistry(); }
  Clock& LocalClock() override { return clock ? *clock : target_.LocalClock(); }
  DateOrder ShortDateOrder() override { return date_order ? *date_order : target_.ShortDateOrder(); }
  WavePlayer& Sound() override { return sound ? *sound : target_.Sound(); }
};

// Shorthands that fill one slot of a process-wide TestPlatform and put it in
// place; nullptr empties the slot again.
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
