// Clock, program folder, locale date format, single-instance lock and wave
// playback on Windows, through the wide calls (UTF-8 in the program).

#include <windows.h>
#include <mmsystem.h>

#include "platform/locale_date.h"
#include "platform/os.h"
#include "platform/system.h"
#include "platform/win32/utf16.h"

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

// The wave player is loaded with the first sound: a program that waits in the
// notification area for hours need not carry the sound libraries meanwhile.
class WinWavePlayer : public WavePlayer {
 public:
  void PlayAsync(const std::string& path) override {
    if (!play_) {
      HMODULE winmm = ::LoadLibraryW(L"winmm.dll");
      if (!winmm) return;
      play_ = reinterpret_cast<decltype(&::PlaySoundW)>(reinterpret_cast<void*>(::GetProcAddress(winmm, "PlaySoundW")));
      if (!play_) return;
    }
    // A new sound cuts the one playing; with no file, only the cut happens.
    const std::wstring wide = Utf16(path);
    if (path.empty() || ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
      play_(nullptr, nullptr, 0);
      return;
    }
    // SND_NODEFAULT: an unplayable file stays silent instead of ringing the system sound.
    play_(wide.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
  }

 private:
  decltype(&::PlaySoundW) play_ = nullptr;
};

}  // namespace

namespace {

// FILETIME counts 100 ns from 1601; the Unix epoch is 11644473600 s later.
constexpr int64_t kEpochOffset = 11644473600LL;

bool ToSystemTime(int64_t seconds, SYSTEMTIME* st) {
  const auto ticks = static_cast<uint64_t>((seconds + kEpochOffset) * 10000000LL);
  FILETIME ft{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
  return seconds >= -kEpochOffset && ::FileTimeToSystemTime(&ft, st);
}

}  // namespace

bool LocalFromUtc(int64_t seconds, LocalTime* local) {
  SYSTEMTIME utc, st;
  if (!ToSystemTime(seconds, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &st)) return false;
  *local = LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, 0};
  return true;
}

bool UtcFromLocal(const LocalTime& local, int64_t* seconds) {
  SYSTEMTIME st{}, utc;
  st.wYear = static_cast<WORD>(local.Year);
  st.wMonth = static_cast<WORD>(local.Month);
  st.wDay = static_cast<WORD>(local.Day);
  st.wHour = static_cast<WORD>(local.Hour);
  st.wMinute = static_cast<WORD>(local.Minute);
  st.wSecond = static_cast<WORD>(local.Second);
  FILETIME ft;
  if (!::TzSpecificLocalTimeToSystemTime(nullptr, &st, &utc) || !::SystemTimeToFileTime(&utc, &ft)) return false;
  const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  *seconds = static_cast<int64_t>(ticks / 10000000ULL) - kEpochOffset;
  return true;
}

Clock& os::LocalClock() {
  static WinClock clock;
  return clock;
}

std::string os::ExecutableFolder() {
  // A path longer than the buffer comes back cut (n == size): ask again with more room.
  std::wstring buf(MAX_PATH, L'\0');
  DWORD n = 0;
  for (;;) {
    n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return WithTrailingSeparator(".");
    if (n < buf.size() || buf.size() >= 32768) break;
    buf.resize(buf.size() * 2);
  }
  if (n >= buf.size()) return WithTrailingSeparator(".");
  const std::string path = Utf8(std::wstring_view(buf.data(), n));
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? WithTrailingSeparator(".") : path.substr(0, cut + 1);
}

std::string LocaleShortDatePattern() {
  wchar_t buf[128];
  const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, 128);
  if (n <= 1) return "dd/MM/yyyy";
  return Utf8(std::wstring_view(buf, static_cast<size_t>(n - 1)));
}

std::string EnvironmentVariable(const char* name) {
  const std::wstring wname = Utf16(name);
  const DWORD n = ::GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
  if (n == 0) return std::string();
  std::wstring value(n, L'\0');
  const DWORD got = ::GetEnvironmentVariableW(wname.c_str(), value.data(), n);
  if (got == 0 || got >= n) return std::string();
  value.resize(got);
  return Utf8(value);
}

std::unique_ptr<InstanceLock> os::AcquireInstanceLock(const std::string& name) {
  HANDLE h = ::CreateMutexW(nullptr, FALSE, Utf16(name).c_str());
  if (!h) return nullptr;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(h);
    return nullptr;
  }
  return std::make_unique<WinInstanceLock>(h);
}

bool os::InstanceLockHeld(const std::string& name) {
  HANDLE h = ::OpenMutexW(SYNCHRONIZE, FALSE, Utf16(name).c_str());
  if (!h) return false;
  ::CloseHandle(h);
  return true;
}

WavePlayer& os::Sound() {
  static WinWavePlayer player;
  return player;
}

}  // namespace tavo::platform
