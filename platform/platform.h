#pragma once
// Every operating-system service the program uses, behind one object: the
// file system, the per-user registry, the local clock, the user's date order,
// wave playback, the single-instance lock and the executable's folder. The
// program reaches them all through System(), which is the operating system's
// own (RealPlatform) unless a test put another in its place; that is the one
// point where a test replaces an operating-system service.
//
// Every method is called on the program's one thread (the GUI thread of
// quelvo, the only thread of quelvo-cli); none is meant for concurrent use.
// Failures are reported by results, never by exceptions.

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace tavo::platform {

class Platform {
 public:
  virtual ~Platform() = default;

  // The file system. Never fails itself; every file operation reports its
  // own failure by its result (file_system.h). The object lives as long as
  // the platform.
  virtual FileSystem& Files() = 0;

  // The current user's registry (on Windows HKEY_CURRENT_USER, elsewhere a
  // REGEDIT4 file below $XDG_CONFIG_HOME). Never fails itself; a key that
  // cannot be opened or made is a null key (registry.h).
  virtual Registry& UserRegistry() = 0;

  // The local clock. Reading it cannot fail.
  virtual Clock& LocalClock() = 0;

  // The order of day, month and year in the user's short date format, read
  // from the operating system once. Day-month-year when the locale names no
  // order (the C locale, an unreadable format).
  virtual DateOrder ShortDateOrder() = 0;

  // Plays wave files in the background, once each; a new start cuts a sound
  // still playing. A missing or unplayable file plays nothing and reports
  // nothing. Playing never blocks the caller.
  virtual WavePlayer& Sound() = 0;

  // Takes the lock named `name` that exists once per user session and that
  // the operating system releases when the holding process ends. Returns the
  // held lock (released when destroyed), or nullptr when another process
  // holds it or the lock cannot be made.
  virtual std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name) = 0;

  // True when another process holds the lock named `name`; takes nothing
  // itself, so a program starting meanwhile is not refused. False when the
  // lock does not exist or cannot be asked about.
  virtual bool InstanceLockHeld(const std::string& name) = 0;

  // The folder of the running executable with a trailing separator; the
  // current folder (".") when the operating system cannot tell.
  virtual std::string ExecutableFolder() = 0;
};

// The operating system's own services.
Platform& RealPlatform();

// The services the program uses: RealPlatform() unless a test replaced it
// (platform/testing/test_platform.h, which no shipped program links).
Platform& System();

// Forwards every call to another platform, so that a test double overrides
// only the services it changes.
class PlatformWrapper : public Platform {
 public:
  explicit PlatformWrapper(Platform& target) : target_(target) {}
  FileSystem& Files() override { return target_.Files(); }
  Registry& UserRegistry() override { return target_.UserRegistry(); }
  Clock& LocalClock() override { return target_.LocalClock(); }
  DateOrder ShortDateOrder() override { return target_.ShortDateOrder(); }
  WavePlayer& Sound() override { return target_.Sound(); }
  std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name) override {
    return target_.AcquireInstanceLock(name);
  }
  bool InstanceLockHeld(const std::string& name) override { return target_.InstanceLockHeld(name); }
  std::string ExecutableFolder() override { return target_.ExecutableFolder(); }

 protected:
  Platform& target_;
};

}  // namespace tavo::platform
