// The program folder rule, the same on every platform. In order:
//  1. a folder chosen for this process (quelvo-cli --pasta, tests);
//  2. the folder named by QUELVO_PASTA;
//  3. an installed program, whose executable lies in <prefix>/bin beside its
//     shipped files in <prefix>/share/quelvo, cannot write below its own
//     folder: it uses the per-user folder $XDG_DATA_HOME/quelvo
//     (~/.local/share/quelvo), given the shipped files it lacks at every start;
//  4. otherwise the executable's own folder, which must hold dados/ (a
//     portable program folder such as build/programa).

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "platform/file_system.h"
#include "platform/system.h"

namespace tavo::platform {
namespace {

std::string g_program_folder;  // chosen on the command line

#ifndef _WIN32
namespace fs = std::filesystem;

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path.
std::string UserDataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* pw = ::getpwuid(::getuid());
    home = pw ? pw->pw_dir : "";
  }
  return std::string(home) + "/.local/share";
}

// Copies each shipped file that the user's folder lacks. A file appears whole
// or not at all (copied under a temporary name, then renamed without
// replacing), so a program starting at the same moment never reads half a
// file, and a file the user already has is never touched. Failures are left
// for the program to find: without dados/ the store reports it cannot create
// its data files; without a calendar file the main window reports it.
void CopyMissingFiles(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::create_directories(to, ec);
  for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const fs::path target = to / entry.path().filename();
    if (fs::exists(fs::symlink_status(target, ec))) continue;
    const fs::path temporary =
        to / ("." + entry.path().filename().string() + "." + std::to_string(::getpid()) + ".novo");
    if (!fs::copy_file(entry.path(), temporary, fs::copy_options::overwrite_existing, ec) ||
        !RealFileSystem().RenameNoReplace(temporary.string(), target.string()))
      fs::remove(temporary, ec);
  }
}

// The per-user program folder of an installed program, or an empty string
// when the executable does not lie in an installed layout.
std::string InstalledProgramFolder(const std::string& executable_folder) {
  const fs::path bin = fs::path(executable_folder).parent_path();  // without the trailing separator
  std::error_code ec;
  const fs::path shipped = bin.parent_path() / "share" / "quelvo";
  if (bin.filename() != "bin" || !fs::is_directory(shipped, ec)) return std::string();
  const std::string folder = WithTrailingSeparator(UserDataHome() + "/quelvo");
  for (const char* sub : {"datas", "sons"}) CopyMissingFiles(shipped / sub, fs::path(folder) / "dados" / sub);
  return folder;
}
#endif

}  // namespace

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || (folder.back() != kPathSeparator && folder.back() != '/')) folder += kPathSeparator;
  return folder;
}

std::string ProgramFolder() {
  if (!g_program_folder.empty()) return g_program_folder;
  if (const std::string env = EnvironmentVariable("QUELVO_PASTA"); !env.empty()) return WithTrailingSeparator(env);
  const std::string executable_folder = ExecutableFolder();
#ifndef _WIN32
  if (std::string installed = InstalledProgramFolder(executable_folder); !installed.empty()) return installed;
#endif
  return executable_folder;
}

void SetProgramFolder(const std::string& folder) {
  g_program_folder = folder.empty() ? std::string() : WithTrailingSeparator(folder);
}

}  // namespace tavo::platform
