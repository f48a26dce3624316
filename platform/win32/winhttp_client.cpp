// HTTP for the calendar sync on Windows, over WinHTTP in its synchronous mode.
// One request handle per Send; the session handle lives as long as the client.
// WinHTTP handles belong to no thread, so the client may move to the sync's
// worker after it is made.
//
// What WinHTTP would otherwise do by itself is turned off: redirects (the
// caller decides whether to follow them), logging on with the Windows user's
// own credentials, and any proxy for the loopback. Certificates are checked
// against the system's store; nothing here can relax that.

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/http.h"
#include "platform/win32/utf16.h"

namespace tavo::platform {
namespace {

using Clock = std::chrono::steady_clock;

class Handle {
 public:
  explicit Handle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_) ::WinHttpCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

HttpFailure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
      return HttpFailure::Timeout;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    // A handshake the system would not complete. Wine reports an untrusted
    // certificate this way, and either way the server cannot be trusted here.
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return HttpFailure::Certificate;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CONNECTION_ERROR:
      return HttpFailure::Connect;
    default:
      return HttpFailure::Other;
  }
}

HttpResponse Failed(HttpFailure failure) {
  HttpResponse response;
  response.failure = failure;
  return response;
}

HttpResponse LastError() { return Failed(FailureOf(::GetLastError())); }

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (n > 1) group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (n > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(group >> 18) & 63];
    out += kDigits[(group >> 12) & 63];
    out += n > 1 ? kDigits[(group >> 6) & 63] : '=';
    out += n > 2 ? kDigits[group & 63] : '=';
  }
  return out;
}

// A header line must stay one line: a CR or LF in a name or value would let
// the text that follows it pass for further headers.
bool OneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

bool IsLoopback(std::wstring_view host) {
  std::wstring lower(host);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return c < 128 ? static_cast<wchar_t>(std::tolower(c)) : c; });
  return lower == L"localhost" || lower == L"127.0.0.1" || lower == L"[::1]" || lower == L"::1";
}

void SetNumber(HINTERNET handle, DWORD option, DWORD value) {
  ::WinHttpSetOption(handle, option, &value, sizeof value);
}

// The response headers of a request, names in lower case; a repeated header
// keeps its last value, and a continuation line joins the value before it.
std::vector<std::pair<std::string, std::string>> ResponseHeaders(HINTERNET request) {
  std::vector<std::pair<std::string, std::string>> headers;
  DWORD size = 0;
  ::WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return headers;
  std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
  if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, raw.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
    return headers;
  raw.resize(size / sizeof(wchar_t));
  const std::string text = Utf8(raw);
  auto trim = [](std::string s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
  };
  size_t start = text.find("\r\n");  // after the status line
  std::string* last = nullptr;
  while (start != std::string::npos && start + 2 < text.size()) {
    start += 2;
    const size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end;
    if (line.empty()) break;
    if ((line[0] == ' ' || line[0] == '\t') && last) {
      *last += ' ' + trim(line);
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = trim(line.substr(0, colon));
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string value = trim(line.substr(colon + 1));
    auto same = std::find_if(headers.begin(), headers.end(), [&](const auto& h) { return h.first == name; });
    if (same != headers.end()) {
      same->second = std::move(value);
      last = &same->second;
    } else {
      headers.emplace_back(std::move(name), std::move(value));
      last = &headers.back().second;
    }
  }
  return headers;
}

class WinHttpClient : public HttpClient {
 public:
  WinHttpClient() {
    // The system's proxy settings (Windows 8.1 on); older systems take WinHTTP's own.
    session_ = ::WinHttpOpen(L"Quelvo/3.0", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_)
      session_ = ::WinHttpOpen(L"Quelvo/3.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) return;
    // TLS 1.2 and 1.3 where the system knows 1.3; Windows 7 would not offer 1.2 by itself.
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
    if (!::WinHttpSetOption(session_, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols))
      SetNumber(session_, WINHTTP_OPTION_SECURE_PROTOCOLS, WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2);
  }
  ~WinHttpClient() override {
    if (session_) ::WinHttpCloseHandle(session_);
  }
  WinHttpClient(const WinHttpClient&) = delete;
  WinHttpClient& operator=(const WinHttpClient&) = delete;

  HttpResponse Send(const HttpRequest& request) override {
    if (!TransportAllowed(request.url)) return Failed(HttpFailure::Refused);
    if (!session_) return Failed(HttpFailure::Other);
    for (const auto& [name, value] : request.headers)
      if (!OneLine(name) || !OneLine(value) || name.empty()) return Failed(HttpFailure::Other);
    if (!OneLine(request.method) || request.method.empty()) return Failed(HttpFailure::Other);

    std::wstring url = Utf16(request.url);
    url = url.substr(0, url.find(L'#'));
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return Failed(HttpFailure::Other);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring target(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target.empty()) target = L"/";

    // The time-out covers the whole request: each phase gets what is left of it.
    const int total_ms = std::clamp(request.timeout_seconds, 1, 24 * 3600) * 1000;
    const auto deadline = Clock::now() + std::chrono::milliseconds(total_ms);
    auto left_ms = [&]() -> int {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      return static_cast<int>(std::clamp<long long>(left, 0, total_ms));
    };

    Handle connection(::WinHttpConnect(session_, host.c_str(), parts.nPort, 0));
    if (!connection) return LastError();
    const std::wstring verb = Utf16(request.method);
    Handle handle(::WinHttpOpenRequest(connection.get(), verb.c_str(), target.c_str(), nullptr, WINHTTP_NO_REFERER,
                                       WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
    if (!handle) return LastError();
    HINTERNET req = handle.get();

    if (!::WinHttpSetTimeouts(req, total_ms, total_ms, total_ms, total_ms)) return LastError();
    SetNumber(req, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(total_ms));
    // A redirect followed here would carry the credentials to wherever it points.
    DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
    if (!::WinHttpSetOption(req, WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects))
      return Failed(HttpFailure::Other);
    SetNumber(req, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
    // Never answer a server's Negotiate or NTLM challenge with the Windows logon.
    SetNumber(req, WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH);
    if (IsLoopback(host)) {
      WINHTTP_PROXY_INFO direct{};
      direct.dwAccessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
      ::WinHttpSetOption(req, WINHTTP_OPTION_PROXY, &direct, sizeof direct);
    }

    std::wstring headers;
    for (const auto& [name, value] : request.headers) headers += Utf16(name) + L": " + Utf16(value) + L"\r\n";
    if (!request.user.empty()) {
      std::string secret = Base64(request.user + ":" + request.password);
      headers += L"Authorization: Basic " + Utf16(secret) + L"\r\n";
      ::SecureZeroMemory(secret.data(), secret.size());
    }
    if (!headers.empty()) {
      const BOOL added = ::WinHttpAddRequestHeaders(req, headers.c_str(), static_cast<DWORD>(headers.size()),
                                                    WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
      ::SecureZeroMemory(headers.data(), headers.size() * sizeof(wchar_t));
      if (!added) return LastError();
    }

    const DWORD body_size = static_cast<DWORD>(request.body.size());
    void* body = body_size ? const_cast<char*>(request.body.data()) : WINHTTP_NO_REQUEST_DATA;
    if (!::WinHttpSendRequest(req, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, body_size, body_size, 0)) return LastError();
    if (left_ms() == 0) return Failed(HttpFailure::Timeout);
    SetNumber(req, WINHTTP_OPTION_RECEIVE_TIMEOUT, static_cast<DWORD>(left_ms()));
    SetNumber(req, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(left_ms()));
    if (!::WinHttpReceiveResponse(req, nullptr)) return LastError();

    HttpResponse response;
    DWORD status = 0, size = sizeof status;
    if (!::WinHttpQueryHeaders(req, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                               &status, &size, WINHTTP_NO_HEADER_INDEX))
      return LastError();
    response.status = static_cast<int>(status);
    response.headers = ResponseHeaders(req);

    // What has arrived, piece by piece: a read of a fixed size may wait for
    // all of it, past the deadline, while a server sends slowly.
    std::string buffer;
    for (;;) {
      const int left = left_ms();
      if (left == 0) return Failed(HttpFailure::Timeout);
      SetNumber(req, WINHTTP_OPTION_RECEIVE_TIMEOUT, static_cast<DWORD>(left));
      DWORD available = 0;
      // A server may refuse a request (401, 403...) and close the connection
      // before reading its body, which can cut its own answer short: the
      // status is the answer then.
      if (!::WinHttpQueryDataAvailable(req, &available)) return status >= 400 ? response : LastError();
      if (available == 0) break;
      buffer.resize(std::min<DWORD>(available, 1 << 20));
      DWORD got = 0;
      if (!::WinHttpReadData(req, buffer.data(), static_cast<DWORD>(buffer.size()), &got))
        return status >= 400 ? response : LastError();
      if (got == 0) break;
      response.body.append(buffer.data(), got);
    }

    // A connection closed before the announced length arrived is a cut, not an answer.
    const std::string length = response.Header("content-length");
    if (!length.empty() && request.method != "HEAD" && status != 204 && status != 304 && status >= 200 && status < 400) {
      char* end = nullptr;
      const unsigned long long expected = std::strtoull(length.c_str(), &end, 10);
      if (end && *end == '\0' && response.body.size() < expected) return Failed(HttpFailure::Connect);
    }
    return response;
  }

 private:
  HINTERNET session_ = nullptr;
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient() { return std::make_unique<WinHttpClient>(); }

}  // namespace tavo::platform
