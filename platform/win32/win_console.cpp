// The console program's side of Windows: arguments and output in UTF-8. In a
// file of its own, so that a GUI program that does not call these does not
// link shell32 for them.

#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/system.h"
#include "platform/win32/utf16.h"

namespace tavo::platform {

std::vector<std::string> Utf8Arguments(int, char**) {
  std::vector<std::string> args;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv) return args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
  ::LocalFree(argv);
  return args;
}

void UseUtf8Console() { ::SetConsoleOutputCP(CP_UTF8); }

void UseBinaryStandardStreams() {
  std::fflush(stdout);
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
}

}  // namespace tavo::platform
