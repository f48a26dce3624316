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
