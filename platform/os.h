#pragma once
// What each operating-system folder (posix/, win32/) implements for
// RealPlatform(). Only platform.cpp and those folders include this: the
// program reaches these services through System() (platform.h).

#include <memory>
#include <string>

#include "platform/system.h"

namespace tavo::platform::os {

Clock& LocalClock();
WavePlayer& Sound();
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name);
bool InstanceLockHeld(const std::string& name);
std::string ExecutableFolder();

}  // namespace tavo::platform::os
