#pragma once
// The per-user registry as a REGEDIT4 text file, one section per key.

#include <map>
#include <string>

#include "platform/registry.h"

namespace tavo::platform {

using RegKeys = std::map<std::string, std::map<std::string, RegValue>>;

// Parses REGEDIT4 text; lines it does not understand are skipped.
RegKeys ParseRegedit(const std::string& text);
// Writes the keys as REGEDIT4 text, keys under HKEY_CURRENT_USER.
std::string FormatRegedit(const RegKeys& keys);

// A registry kept in one REGEDIT4 file, read again at every OpenKey and
// rewritten whole (through a temporary file) at every Set.
class RegeditFileRegistry : public Registry {
 public:
  explicit RegeditFileRegistry(std::string file_path) : path_(std::move(file_path)) {}
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override;
  const std::string& FilePath() const { return path_; }

 private:
  std::string path_;
};

// $XDG_CONFIG_HOME/Orvane/Quelvo3.reg, with ~/.config when the variable is unset.
std::string DefaultRegistryFilePath();

}  // namespace tavo::platform
