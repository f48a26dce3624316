// Clock, program folder, locale date format, single-instance lock and wave playback on Windows.

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdlib>

#include "platform/locale_date.h"
#include "platform/os.h"
#include "platform/system.h"

namespace tavo::platform {
namespace {

class WinClock : public Clock {
 public:
  LocalTime Now() override {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    LocalTime t;
    t.Year = st.wYear;
    t.Month = st.wMonth;
    t.Day = st.wDay;
    t.Hour = st.wHour;
    t.Minute = st.wMinute;
    t.Second = st.wSecond;
    t.Millisecond = st.wMilliseconds;
    return t;
  }
};

// The mutex handle stays open while the lock object lives; the system closes it when the process ends.
class WinInstanceLock : public InstanceLock {
 public:
  explicit WinInstanceLock(HANDLE h) : h_(h) {}
  ~WinInstanceLock() override { ::CloseHandle(h_); }

 private:
  HANDLE h_;
};

class WinWavePlayer : public WavePlayer {
 public:
  void PlayAsync(const std::string& path) override {
    // A new sound cuts the one playing; with no file, only the cut happens.
    if (path.empty() || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      ::PlaySoundA(nullptr, nullptr, 0);
      return;
    }
    // SND_NODEFAULT: an unplayable file stays silent instead of ringing the system sound.
    ::PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
  }
};

}  // namespace

Clock& os::LocalClock() {
  static WinClock clock;
  return clock;
}

std::string os::ExecutableFolder() {
  char buf[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameA(nullptr, buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return WithTrailingSeparator(".");
  std::string path(buf, n);
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? WithTrailingSeparator(".") : path.substr(0, cut + 1);
}

std::string LocaleShortDatePattern() {
  char buf[128];
  const int n = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof buf);
  if (n <= 1) return "dd/MM/yyyy";
  return std::string(buf, static_cast<size_t>(n - 1));
}

std::vector<std::string> Utf8Arguments(int, char**) {
  std::vector<std::string> args;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv) return args;
  for (int i = 1; i < argc; ++i) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string a(n > 0 ? static_cast<size_t>(n) : 1, '\0');
    if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, a.data(), n, nullptr, nullptr);
    a.pop_back();  // the terminating zero
    args.push_back(a);
  }
  ::LocalFree(argv);
  return args;
}

void UseUtf8Console() { ::SetConsoleOutputCP(CP_UTF8); }

std::unique_ptr<InstanceLock> os::AcquireInstanceLock(const std::string& name) {
  HANDLE h = ::CreateMutexA(nullptr, FALSE, name.c_str());
  if (!h) return nullptr;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(h);
    return nullptr;
  }
  return std::make_unique<WinInstanceLock>(h);
}

bool os::InstanceLockHeld(const std::string& name) {
  HANDLE h = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  if (!h) return false;
  ::CloseHandle(h);
  return true;
}

WavePlayer& os::Sound() {
  static WinWavePlayer player;
  return player;
}

}  // namespace tavo::platform
