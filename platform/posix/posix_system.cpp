// Clock, program folder, locale date format and single-instance lock on POSIX.

#include <fcntl.h>
#include <langinfo.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <ctime>

#include "platform/locale_date.h"
#include "platform/os.h"
#include "platform/posix/runtime_path.h"
#include "platform/system.h"

namespace tavo::platform {
namespace {

class PosixClock : public Clock {
 public:
  LocalTime Now() override {
    timeval tv{};
    ::gettimeofday(&tv, nullptr);
    const time_t secs = tv.tv_sec;
    tm local{};
    ::localtime_r(&secs, &local);
    LocalTime t;
    t.Year = local.tm_year + 1900;
    t.Month = local.tm_mon + 1;
    t.Day = local.tm_mday;
    t.Hour = local.tm_hour;
    t.Minute = local.tm_min;
    t.Second = local.tm_sec > 59 ? 59 : local.tm_sec;
    t.Millisecond = static_cast<int>(tv.tv_usec / 1000);
    return t;
  }
};

class PosixInstanceLock : public InstanceLock {
 public:
  explicit PosixInstanceLock(int fd) : fd_(fd) {}
  ~PosixInstanceLock() override { ::close(fd_); }

 private:
  int fd_;
};

flock WholeFileLock(short type) {
  flock lock{};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  return lock;
}

}  // namespace

bool LocalFromUtc(int64_t seconds, LocalTime* local) {
  const auto secs = static_cast<time_t>(seconds);
  tm t{};
  if (!::localtime_r(&secs, &t)) return false;
  *local = LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec > 59 ? 59 : t.tm_sec, 0};
  return true;
}

bool UtcFromLocal(const LocalTime& local, int64_t* seconds) {
  tm t{};
  t.tm_year = local.Year - 1900;
  t.tm_mon = local.Month - 1;
  t.tm_mday = local.Day;
  t.tm_hour = local.Hour;
  t.tm_min = local.Minute;
  t.tm_sec = local.Second;
  t.tm_isdst = -1;  // the zone's rule for that date decides
  errno = 0;
  const time_t secs = ::mktime(&t);
  if (secs == static_cast<time_t>(-1) && errno != 0) return false;
  *seconds = secs;
  return true;
}

std::string posix::RuntimeFilePath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime && *runtime ? runtime : "";
  if (folder.empty() || ::access(folder.c_str(), W_OK) != 0) {
    const char* tmp = std::getenv("TMPDIR");
    folder = tmp && *tmp ? tmp : "/tmp";
    // The temp folder is shared: keep users apart.
    return WithTrailingSeparator(folder) + name + "." + std::to_string(::getuid());
  }
  return WithTrailingSeparator(folder) + name;
}

Clock& os::LocalClock() {
  static PosixClock clock;
  return clock;
}

std::string os::ExecutableFolder() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return WithTrailingSeparator(".");
  std::string path(buf, static_cast<size_t>(n));
  return WithTrailingSeparator(path.substr(0, path.find_last_of('/')));
}

// The locale name that LC_TIME takes from the environment, as glibc chooses it.
std::string TimeLocaleName() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"})
    if (const char* v = std::getenv(var); v && *v) return v;
  return "C";
}

std::string LocaleShortDatePattern() {
  // The C locale is no user's choice of date order; this program's users write day first.
  const std::string name = TimeLocaleName();
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) return "dd/MM/yyyy";
  // LC_TIME of the environment, without disturbing the program's own locale.
  locale_t loc = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (!loc) return "dd/MM/yyyy";
  const std::string format = ::nl_langinfo_l(D_FMT, loc);
  ::freelocale(loc);
  return PatternFromStrftime(format);
}

std::string EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseUtf8Console() {}

void UseBinaryStandardStreams() {}

std::unique_ptr<InstanceLock> os::AcquireInstanceLock(const std::string& name) {
  const int fd = ::open(posix::RuntimeFilePath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  flock lock = WholeFileLock(F_WRLCK);
  if (::fcntl(fd, F_SETLK, &lock) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixInstanceLock>(fd);
}

bool os::InstanceLockHeld(const std::string& name) {
  const int fd = ::open(posix::RuntimeFilePath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // F_GETLK asks without taking the lock, so a program starting meanwhile is not refused.
  flock lock = WholeFileLock(F_WRLCK);
  const bool held = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

}  // namespace tavo::platform
