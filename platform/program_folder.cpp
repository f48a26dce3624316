// The program folder rule, the same on every platform.

#include "platform/system.h"

namespace tavo::platform {
namespace {
std::string g_program_folder;
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || (folder.back() != kPathSeparator && folder.back() != '/')) folder += kPathSeparator;
  return folder;
}

std::string ProgramFolder() {
  if (!g_program_folder.empty()) return g_program_folder;
  if (const std::string env = EnvironmentVariable("QUELVO_PASTA"); !env.empty()) return WithTrailingSeparator(env);
  return ExecutableFolder();
}

void SetProgramFolderForTesting(const std::string& folder) {
  g_program_folder = folder.empty() ? std::string() : WithTrailingSeparator(folder);
}

}  // namespace tavo::platform
