#pragma once
// HTTP for the calendar sync: one request at a time, with a time-out, over
// the operating system's certificates (libcurl on Linux, WinHTTP on Windows).
// Unlike the rest of the platform, a client may be used on any one thread:
// the sync runs on a worker so that no window waits for a server.

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavo::platform {

struct HttpRequest {
  std::string method;  // GET, PUT, DELETE, PROPFIND, REPORT, MKCALENDAR
  std::string url;     // absolute http:// or https:// address
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // Basic authentication when `user` is not empty. Never logged.
  std::string user;
  std::string password;
  int timeout_seconds = 30;  // for the whole request, connection included
};

// Why no response arrived.
enum class HttpFailure {
  None,         // a response arrived (any status)
  Connect,      // host not found, connection refused or cut
  Timeout,      // no complete answer within the time-out
  Certificate,  // the server's certificate is not trusted by this system
  Refused,      // plain http to an address other than the loopback
  Other,
};

struct HttpResponse {
  HttpFailure failure = HttpFailure::None;
  int status = 0;  // the HTTP status when failure is None
  // Header names in lower case; a repeated header keeps its last value.
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // The value of a header (name in lower case), empty when absent.
  std::string Header(const std::string& lower_name) const {
    for (const auto& [name, value] : headers)
      if (name == lower_name) return value;
    return {};
  }
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Sends the request and waits for the whole answer (redirects are not
  // followed; the caller sees them). Plain http is sent only to localhost,
  // 127.0.0.1 or ::1; anything else fails with HttpFailure::Refused.
  virtual HttpResponse Send(const HttpRequest& request) = 0;
};

// The operating system's client.
std::unique_ptr<HttpClient> MakeHttpClient();

// True for an http:// address whose host is localhost, 127.0.0.1 or [::1],
// and for every https:// address.
bool TransportAllowed(const std::string& url);

}  // namespace tavo::platform
