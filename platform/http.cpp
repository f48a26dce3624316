#include "platform/http.h"

#include <algorithm>
#include <cctype>

namespace tavo::platform {

bool TransportAllowed(const std::string& url) {
  std::string lower = url;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower.rfind("https://", 0) == 0) return true;
  if (lower.rfind("http://", 0) != 0) return false;
  std::string rest = lower.substr(7);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  if (const size_t at = rest.rfind('@'); at != std::string::npos) rest = rest.substr(at + 1);
  std::string host;
  if (!rest.empty() && rest[0] == '[') {
    host = rest.substr(0, rest.find(']') + 1);
  } else {
    host = rest.substr(0, rest.find(':'));
  }
  return host == "localhost" || host == "127.0.0.1" || host == "[::1]";
}

}  // namespace tavo::platform
