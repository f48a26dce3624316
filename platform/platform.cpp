#include "platform/platform.h"

#include "platform/os.h"
#include "platform/replaceable.h"

namespace tavo::platform {
namespace {

class OperatingSystem final : public Platform {
 public:
  FileSystem& Files() override { return RealFileSystem(); }
  Registry& UserRegistry() override { return RealRegistry(); }
  Clock& LocalClock() override { return os::LocalClock(); }
  DateOrder ShortDateOrder() override {
    static const DateOrder order = DateOrderFromPattern(LocaleShortDatePattern());
    return order;
  }
  WavePlayer& Sound() override { return os::Sound(); }
  std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name) override {
    return os::AcquireInstanceLock(name);
  }
  bool InstanceLockHeld(const std::string& name) override { return os::InstanceLockHeld(name); }
  std::string ExecutableFolder() override { return os::ExecutableFolder(); }
};

}  // namespace

Platform& RealPlatform() {
  static OperatingSystem real;
  return real;
}

Platform& System() { return replaced::platform ? *replaced::platform : RealPlatform(); }

// The short names the program's code uses.
FileSystem& Files() { return System().Files(); }
Registry& Reg() { return System().UserRegistry(); }
Clock& SystemClock() { return System().LocalClock(); }
DateOrder CurrentDateOrder() { return System().ShortDateOrder(); }
WavePlayer& Sound() { return System().Sound(); }
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name) { return System().AcquireInstanceLock(name); }
bool InstanceLockHeld(const std::string& name) { return System().InstanceLockHeld(name); }
std::string ExecutableFolder() { return System().ExecutableFolder(); }

}  // namespace tavo::platform
