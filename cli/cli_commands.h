#pragma once
// The commands of quelvo-cli over the core. Texts in and out are UTF-8.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavo::cli {

// Exit codes.
enum Exit : int {
  kDone = 0,
  kRefused = 1,      // usage, empty text, bad number, invalid backup, not a calendar file
  kStoreFailed = 2,  // a data-file failure
  kRunning = 3,      // the program runs: writing commands do not touch the files
};

// Runs one command line (without the program name). Output and messages go
// to the streams; returns the exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same with a standard input (`importar -` reads it).
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// `\` tab CR LF escaped as \\ \t \r \n.
std::string EscapeText(const std::string& utf8);

}  // namespace tavo::cli
