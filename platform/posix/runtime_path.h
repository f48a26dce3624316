#pragma once
// Where per-session files of this user live on POSIX: the instance lock and
// the socket of its show requests.

#include <string>

namespace tavo::platform::posix {

// `name` in $XDG_RUNTIME_DIR when it is set and writable, else in the temp
// folder with the user's id appended (the temp folder is shared).
std::string RuntimeFilePath(const std::string& name);

}  // namespace tavo::platform::posix
