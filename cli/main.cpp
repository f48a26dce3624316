#include <iostream>

#include "cli/cli_commands.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  tavo::platform::UseUtf8Console();  // the output is UTF-8
  std::ios::sync_with_stdio(false);  // nothing else writes to stdout; a listing may be long
  return tavo::cli::Run(tavo::platform::Utf8Arguments(argc, argv), std::cout, std::cerr);
}
