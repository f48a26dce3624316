// The one place where a test replaces the operating-system services: a
// platform put there serves every short accessor of the program's code.

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/testing/test_platform.h"

namespace tavo::platform {
namespace {

class NoLock : public TestPlatform {
 public:
  std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string&) override { return nullptr; }
  bool InstanceLockHeld(const std::string&) override { return true; }
  std::string ExecutableFolder() override { return "/programa/"; }
};

TEST(Platform, AReplacedPlatformServesEveryServiceAndNullBringsTheRealOneBack) {
  FixedClock clock({2024, 2, 29, 23, 59, 0, 0});
  MemoryRegistry registry;
  NoLock platform;
  platform.clock = &clock;
  platform.registry = &registry;
  platform.date_order = DateOrder::YearMonthDay;
  SetPlatformForTesting(&platform);
  EXPECT_EQ(SystemClock().Now().Day, 29);
  EXPECT_EQ(&Reg(), &registry);
  EXPECT_EQ(CurrentDateOrder(), DateOrder::YearMonthDay);
  EXPECT_EQ(&Files(), &RealFileSystem());  // an empty slot forwards to the real service
  EXPECT_EQ(AcquireInstanceLock("Orvane_Quelvo_test"), nullptr);
  EXPECT_TRUE(InstanceLockHeld("Orvane_Quelvo_test"));
  EXPECT_EQ(ExecutableFolder(), "/programa/");
  SetPlatformForTesting(nullptr);
  EXPECT_EQ(&System(), &RealPlatform());
  EXPECT_EQ(&Reg(), &RealRegistry());
  EXPECT_NE(ExecutableFolder(), "/programa/");
}

}  // namespace
}  // namespace tavo::platform
