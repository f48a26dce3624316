#pragma once
// Small operating-system services: the clock, the program folder, the
// single-instance lock and wave playback.

#include <memory>
#include <string>

namespace tavo::platform {

// The local date and time, broken down.
struct LocalTime {
  int Year = 1970, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

// The clock the program uses: the system's local time unless a test set one.
Clock& SystemClock();
void SetClockForTesting(Clock* clock);

// A clock that stays where a test puts it.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime t) : time(t) {}
  LocalTime Now() override { return time; }
  LocalTime time;
};

// The path separator of file names on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The value of an environment variable in UTF-8; empty when it is not set.
std::string EnvironmentVariable(const char* name);

// The folder with a trailing separator added when it has none.
std::string WithTrailingSeparator(std::string folder);

// The folder of the running executable, with a trailing separator.
std::string ExecutableFolder();

// The program folder: QUELVO_PASTA when set, else the executable's folder;
// always with a trailing separator.
std::string ProgramFolder();
void SetProgramFolderForTesting(const std::string& folder);  // empty: the normal rule

// A lock that exists once per user session under a fixed name and that the
// system releases when the holding process ends.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

// Takes the named lock. Returns nullptr when another process holds it.
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name);

// True when another process holds the named lock; takes nothing itself.
bool InstanceLockHeld(const std::string& name);

// Plays wave files asynchronously, once each; a new start cuts a sound still
// playing. A missing or unplayable file plays nothing and reports nothing.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  virtual void PlayAsync(const std::string& path) = 0;
};

WavePlayer& Sound();
void SetSoundForTesting(WavePlayer* player);

}  // namespace tavo::platform
