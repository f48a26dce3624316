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

extern TConfig Config;

inline constexpr const char* kConfigKey = "Software\\Orvane\\Quelvo3";

// AppDir + dados/sons/gongo.wav
std::string DefaultWaveFile();

// Reads the settings; every value that is missing or of the wrong type takes
// its own default. Never reports anything.
void ReadConfig(TConfig& config);
// Writes the four values; what cannot be written is skipped silently.
void WriteConfig(const TConfig& config);

}  // namespace tavo
