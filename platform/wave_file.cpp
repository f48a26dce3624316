#include "platform/wave_file.h"

#include <cstring>

namespace tavo::platform {
namespace {

uint32_t Le32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
         static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
uint16_t Le16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

}  // namespace

bool ParseWave(const std::string& bytes, WaveData* wave) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return false;
  bool have_format = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::string id = bytes.substr(at, 4);
    const uint32_t size = Le32(bytes, at + 4);
    const size_t body = at + 8;
    const size_t available = bytes.size() - body;
    if (id == "fmt " && size >= 16 && available >= 16) {
      if (Le16(bytes, body) != 1) return false;  // PCM only
      wave->Channels = Le16(bytes, body + 2);
      wave->SampleRate = static_cast<int>(Le32(bytes, body + 4));
      wave->BitsPerSample = Le16(bytes, body + 14);
      have_format = true;
    } else if (id == "data") {
      if (!have_format) return false;
      wave->Samples = bytes.substr(body, size < available ? size : available);
      return wave->Channels >= 1 && wave->Channels <= 8 && wave->SampleRate >= 1000 &&
             wave->SampleRate <= 192000 && (wave->BitsPerSample == 8 || wave->BitsPerSample == 16);
    }
    if (size > available) return false;
    at = body + size + (size & 1);
  }
  return false;
}

}  // namespace tavo::platform
