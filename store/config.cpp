#include "store/config.h"

#include <optional>

#include "platform/registry.h"
#include "platform/system.h"

namespace tavo {

namespace {

std::optional<uint32_t> DwordValue(platform::RegistryKey& key, const char* name) {
  const auto value = key.Query(name);
  if (!value || value->Type != platform::kRegDword || value->Data.size() < 4) return std::nullopt;
  const auto& d = value->Data;
  return d[0] | d[1] << 8 | d[2] << 16 | static_cast<uint32_t>(d[3]) << 24;
}

std::string WaveFileValue(platform::RegistryKey& key, const std::string& app_dir) {
  const auto value = key.Query("WaveFile");
  if (!value || value->Data.empty()) return std::string();
  if (value->Type != platform::kRegSz && value->Type != platform::kRegExpandSz) return DefaultWaveFile(app_dir);
  const auto& d = value->Data;
  std::string text(d.begin(), d.end());
  return text.substr(0, text.find('\0'));
}

}  // namespace

std::string DefaultWaveFile(const std::string& app_dir) {
  const char sep = platform::kPathSeparator;
  return app_dir + "dados" + sep + "sons" + sep + "gongo.wav";
}

void ReadConfig(TConfig& config, const std::string& app_dir) {
  config = TConfig{};
  config.WaveFile = DefaultWaveFile(app_dir);
  auto key = platform::Reg().OpenKey(kConfigKey, false);
  if (!key) return;
  config.FrontColor = static_cast<int32_t>(DwordValue(*key, "FrontColor").value_or(0));
  config.BackColor = static_cast<int32_t>(DwordValue(*key, "BackColor").value_or(65535));
  config.WaveFile = WaveFileValue(*key, app_dir);
  config.ShowInfo = DwordValue(*key, "ShowInfo").value_or(1) != 0;
}

void WriteConfig(const TConfig& config) {
  auto key = platform::Reg().OpenKey(kConfigKey, true);
  if (!key) return;
  key->Set("FrontColor", platform::RegValue::Dword(static_cast<uint32_t>(config.FrontColor)));
  key->Set("BackColor", platform::RegValue::Dword(static_cast<uint32_t>(config.BackColor)));
  key->Set("WaveFile", platform::RegValue::String(config.WaveFile));
  key->Set("ShowInfo", platform::RegValue::Dword(config.ShowInfo ? 1 : 0));
}

}  // namespace tavo
