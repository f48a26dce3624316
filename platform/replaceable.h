#pragma once
// The operating-system services a test may replace. The shipped programs leave
// every slot empty and so use the system's own; the setters and the test
// doubles live in the test-support library (platform/testing/), which no
// shipped program links.

#include <optional>

#include "platform/locale_date.h"

namespace tavo::platform {

class Clock;
class FileSystem;
class Registry;
class WavePlayer;

namespace replaced {
inline FileSystem* files = nullptr;
inline Registry* registry = nullptr;
inline Clock* clock_source = nullptr;
inline WavePlayer* sound = nullptr;
inline std::optional<DateOrder> date_order;
}  // namespace replaced

}  // namespace tavo::platform
