#include "platform/registry.h"

namespace tavo::platform {

RegValue RegValue::Dword(uint32_t v) {
  RegValue r;
  r.Type = kRegDword;
  r.Data = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
  return r;
}

RegValue RegValue::String(const std::string& s, uint32_t type) {
  RegValue r;
  r.Type = type;
  r.Data.assign(s.begin(), s.end());
  r.Data.push_back(0);
  return r;
}

}  // namespace tavo::platform
