#pragma once
// Small operating-system services: the clock, the program folder, the
// single-instance lock and wave playback.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// The clock the program uses: System().LocalClock() (platform.h).
Clock& SystemClock();

// This machine's time zone, for calendar files that give instants in UTC.
// The local date and time of an instant (seconds since 1970-01-01 00:00 UTC);
// false when the system cannot convert it.
bool LocalFromUtc(int64_t seconds, LocalTime* local);
// The instant of a local date and time (seconds are used, milliseconds not);
// false when the system cannot convert it.
bool UtcFromLocal(const LocalTime& local, int64_t* seconds);

// The path separator of file names on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The value of an environment variable in UTF-8; empty when it is not set.
std::string EnvironmentVariable(const char* name);

// The value of an environment variable in UTF-8; empty when it is not set.
std::string EnvironmentVariable(const char* name);

// The folder with a trailing separator added when it has none.
std::string WithTrailingSeparator(std::string folder);

// The folder of the running executable, with a trailing separator:
// System().ExecutableFolder().
std::string ExecutableFolder();

// The program folder, always with a trailing separator: the one chosen with
// SetProgramFolder, else QUELVO_PASTA when set, else for an installed program
// (executable in <prefix>/bin, shipped files in <prefix>/share/quelvo) the
// per-user folder $XDG_DATA_HOME/quelvo, which it first creates and fills with
// the shipped files it lacks, else the executable's folder.
std::string ProgramFolder();
// Chooses the program folder for the rest of the process (quelvo-cli --pasta);
// it comes before QUELVO_PASTA. The empty text returns to the rule above.
void SetProgramFolder(const std::string& folder);

// The program's arguments after its name, in UTF-8. Windows hands argv over
// in the ANSI code page, which loses what that page lacks, so there they are
// read from the wide command line instead.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes the console show UTF-8 output as such (Windows); elsewhere nothing.
void UseUtf8Console();

// Standard input and output carry bytes unchanged, for files sent through
// them; Windows' text mode would write LF as CR LF and stop reading at a
// Ctrl-Z. Elsewhere nothing.
void UseBinaryStandardStreams();

// A lock that exists once per user session under a fixed name and that the
// system releases when the holding process ends.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

// Takes the named lock. Returns nullptr when another process holds it:
// System().AcquireInstanceLock(name).
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name);

// True when another process holds the named lock; takes nothing itself:
// System().InstanceLockHeld(name).
bool InstanceLockHeld(const std::string& name);

// Plays wave files asynchronously, once each; a new start cuts a sound still
// playing. A missing or unplayable file plays nothing and reports nothing.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  virtual void PlayAsync(const std::string& path) = 0;
};

// The player the program uses: System().Sound().
WavePlayer& Sound();

}  // namespace tavo::platform
