// HttpClient over libcurl: certificates checked against the system's store
// (libcurl's default), no redirects followed, one easy handle per client.

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/http.h"

namespace tavo::platform {
namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

size_t AppendHeader(char* data, size_t size, size_t count, void* target) {
  auto& headers = *static_cast<std::vector<std::pair<std::string, std::string>>*>(target);
  std::string line(data, size * count);
  if (line.rfind("HTTP/", 0) == 0) headers.clear();  // a new response (after 100 Continue)
  const size_t colon = line.find(':');
  if (colon != std::string::npos) {
    std::string name = line.substr(0, colon);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    std::string value = line.substr(colon + 1);
    const size_t first = value.find_first_not_of(" \t");
    const size_t last = value.find_last_not_of(" \t\r\n");
    value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
    std::erase_if(headers, [&](const auto& h) { return h.first == name; });
    headers.emplace_back(std::move(name), std::move(value));
  }
  return size * count;
}

HttpFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return HttpFailure::Timeout;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM: return HttpFailure::Certificate;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE: return HttpFailure::Connect;
    default: return HttpFailure::Other;
  }
}

class CurlHttpClient : public HttpClient {
 public:
  CurlHttpClient() {
    static std::once_flag global;
    std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    handle_ = curl_easy_init();
  }
  ~CurlHttpClient() override {
    if (handle_) curl_easy_cleanup(handle_);
  }

  HttpResponse Send(const HttpRequest& request) override {
    HttpResponse response;
    if (!TransportAllowed(request.url)) {
      response.failure = HttpFailure::Refused;
      return response;
    }
    if (!handle_) {
      response.failure = HttpFailure::Other;
      return response;
    }
    CURL* h = handle_;
    curl_easy_reset(h);
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, static_cast<long>(request.timeout_seconds));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(std::min(request.timeout_seconds, 15)));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (request.method == "HEAD") curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    if (!request.body.empty() || request.method == "PUT" || request.method == "PROPFIND" ||
        request.method == "REPORT" || request.method == "MKCALENDAR") {
      curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
      curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
    if (!request.user.empty()) {
      curl_easy_setopt(h, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
      curl_easy_setopt(h, CURLOPT_USERNAME, request.user.c_str());
      curl_easy_setopt(h, CURLOPT_PASSWORD, request.password.c_str());
    }
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");  // no 100-continue round trip
    for (const auto& [name, value] : request.headers) headers = curl_slist_append(headers, (name + ": " + value).c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, AppendHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &response.headers);
    const CURLcode code = curl_easy_perform(h);
    curl_slist_free_all(headers);
    if (code != CURLE_OK) {
      response.failure = FailureOf(code);
      response.body.clear();
      response.headers.clear();
      return response;
    }
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    return response;
  }

 private:
  CURL* handle_ = nullptr;
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient() { return std::make_unique<CurlHttpClient>(); }

}  // namespace tavo::platform
