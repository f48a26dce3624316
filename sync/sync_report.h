#pragma once
// What a sync or a set-up tells its caller. Texts are UTF-8 Portuguese.

#include <string>
#include <vector>

namespace tavo::sync {

enum class Outcome {
  Done,
  Refused,  // not set up, password refused, not a calendar server (CLI exit 1)
  Failed,   // server or network failure (CLI exit 2); the store keeps everything
};

struct Counters {
  int sent = 0;       // items created or changed on the server
  int received = 0;   // reminders added or changed here
  int deleted = 0;    // deletions on either side
  int conflicts = 0;  // reminders changed on both sides
};

struct Report {
  Outcome outcome = Outcome::Done;
  Counters counters;
  std::string message;                // why it was refused or failed; empty when done
  std::vector<std::string> warnings;  // items skipped (a malformed item), one line each
};

// "enviados N, recebidos M, excluídos K, conflitos C"
std::string CountersLine(const Counters& counters);

}  // namespace tavo::sync
