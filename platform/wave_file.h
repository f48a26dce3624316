#pragma once
// Reading the PCM samples of a RIFF wave file.

#include <cstdint>
#include <string>

namespace tavo::platform {

struct WaveData {
  int Channels = 0;
  int SampleRate = 0;
  int BitsPerSample = 0;  // 8 or 16
  std::string Samples;    // interleaved, little-endian, as in the file
};

// Parses a PCM wave file; false when it is not one this player can play.
bool ParseWave(const std::string& bytes, WaveData* wave);

}  // namespace tavo::platform
