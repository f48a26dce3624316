// Start-up time and memory of a Windows program: from CreateProcess to its
// first visible window of 417 x 278 pixels (the main window), then, once it
// has settled, its working set and private memory. Medians of several runs.
//   win32_start.exe <program> <runs>
// The program inherits the environment (QUELVO_PASTA for quelvo.exe).

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD process;
  bool found;
};

BOOL CALLBACK Look(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(w, &owner);
  RECT r;
  if (owner == s->process && ::IsWindowVisible(w) && ::GetWindowRect(w, &r) && r.right - r.left == 417 &&
      r.bottom - r.top == 278) {
    s->found = true;
    return FALSE;
  }
  return TRUE;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc != 3) {
    std::fprintf(stderr, "uso: win32_start <programa> <vezes>\n");
    return 2;
  }
  const std::wstring program = argv[1];
  const int runs = _wtoi(argv[2]);
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::vector<double> times, working, privates;
  for (int run = 0; run < runs; ++run) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start, shown;
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      std::fprintf(stderr, "win32_start: the program cannot be started\n");
      return 1;
    }
    Search search{pi.dwProcessId, false};
    const ULONGLONG give_up = ::GetTickCount64() + 30000;
    while (!search.found && ::GetTickCount64() < give_up) {
      ::EnumWindows(Look, reinterpret_cast<LPARAM>(&search));
      if (!search.found) ::Sleep(1);
    }
    ::QueryPerformanceCounter(&shown);
    if (!search.found) {
      std::fprintf(stderr, "win32_start: no main window\n");
      ::TerminateProcess(pi.hProcess, 1);
      return 1;
    }
    ::Sleep(1500);  // settled, as the Linux measurement waits
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    times.push_back(1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    working.push_back(static_cast<double>(memory.WorkingSetSize) / 1024.0);
    privates.push_back(static_cast<double>(memory.PrivateUsage) / 1024.0);
    ::Sleep(500);
  }
  std::printf("%.1f %.0f %.0f\n", Median(times), Median(working), Median(privates));
  return 0;
}
