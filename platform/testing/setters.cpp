#include "platform/replaceable.h"
#include "platform/testing/test_platform.h"

namespace tavo::platform {
namespace {

TestPlatform& Shared() {
  static TestPlatform platform;
  replaced::platform = &platform;
  return platform;
}

}  // namespace

void SetPlatformForTesting(Platform* platform) { replaced::platform = platform; }

void SetFilesForTesting(FileSystem* fs) { Shared().files = fs; }
void SetRegistryForTesting(Registry* registry) { Shared().registry = registry; }
void SetClockForTesting(Clock* clock) { Shared().clock = clock; }
void SetSoundForTesting(WavePlayer* player) { Shared().sound = player; }

void SetDateOrderForTesting(const DateOrder* order) {
  if (order) Shared().date_order = *order;
  else Shared().date_order.reset();
}

}  // namespace tavo::platform
