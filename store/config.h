#pragma once
// The four user settings, kept in the per-user registry.

#include <cstdint>
#include <string>

namespace tavo {

struct TConfig {
  int32_t FrontColor = 0;      // 0x00BBGGRR, colour of the reminder text
  int32_t BackColor = 65535;   // behind the reminder text (yellow)
  std::string WaveFile;        // full path of the alarm sound; empty: no sound
  bool ShowInfo = true;        // show the calendar information area
};

inline constexpr const char* kConfigKey = "Software\\Orvane\\Quelvo3";

// The program folder's dados/sons/gongo.wav (app_dir ends in a separator).
std::string DefaultWaveFile(const std::string& app_dir);

// Reads the settings; every value that is missing or of the wrong type takes
// its own default. Never reports anything.
// The default sound lies below app_dir.
void ReadConfig(TConfig& config, const std::string& app_dir);
// Writes the four values; what cannot be written is skipped silently.
void WriteConfig(const TConfig& config);

}  // namespace tavo
