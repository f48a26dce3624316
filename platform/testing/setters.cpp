#include "platform/replaceable.h"
#include "platform/testing/test_platform.h"

namespace tavo::platform {

void SetFilesForTesting(FileSystem* fs) { replaced::files = fs; }
void SetRegistryForTesting(Registry* registry) { replaced::registry = registry; }
void SetClockForTesting(Clock* clock) { replaced::clock_source = clock; }
void SetSoundForTesting(WavePlayer* player) { replaced::sound = player; }

void SetDateOrderForTesting(const DateOrder* order) {
  if (order) replaced::date_order = *order; else replaced::date_order.reset();
}

}  // namespace tavo::platform
