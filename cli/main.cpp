#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/utf16.h"
#endif

#include "cli/cli_commands.h"

#ifdef _WIN32
// The commands take UTF-8; Windows hands argv over in the ANSI code page, which
// loses what that page lacks, so the arguments are read from the wide command line.
std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> args;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv) return args;
  for (int i = 1; i < argc; ++i) args.push_back(tavo::platform::Utf8(argv[i]));
  ::LocalFree(argv);
  return args;
}
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  ::SetConsoleOutputCP(CP_UTF8);  // the output is UTF-8 too
  const std::vector<std::string> args = Utf8Arguments();
#else
  std::vector<std::string> args(argv + 1, argv + argc);
#endif
  return tavo::cli::Run(args, std::cout, std::cerr);
}
