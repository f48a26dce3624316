// The sync's network and credential layer on Windows: WinHTTP against the local
// server tests/win32/support/http_echo.py (its ports in QUELVO_HTTP_ECO, set by
// tests/win32/run_all.sh), and the Credential Manager.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "platform/credentials.h"
#include "platform/http.h"

namespace tavo::platform {
namespace {

struct Ports {
  int plain = 0, other = 0, tls = 0, closed = 0;
};

Ports EchoPorts() {
  Ports ports;
  const char* text = std::getenv("QUELVO_HTTP_ECO");
  if (text) std::istringstream(text) >> ports.plain >> ports.other >> ports.tls >> ports.closed;
  return ports;
}

class WinHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    ports = EchoPorts();
    ASSERT_NE(ports.closed, 0) << "QUELVO_HTTP_ECO is not set: run through tests/win32/run_all.sh";
  }
  std::string Plain(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(ports.plain) + path; }
  HttpResponse Get(const std::string& url, int timeout_seconds = 10) {
    HttpRequest request;
    request.method = "GET";
    request.url = url;
    request.timeout_seconds = timeout_seconds;
    return client->Send(request);
  }
  int OtherConnections() { return std::stoi(Get(Plain("/count")).body); }

  Ports ports;
  std::unique_ptr<HttpClient> client = MakeHttpClient();
};

TEST_F(WinHttp, CustomVerbHeadersAndBodyRoundTripOnAnotherThread) {
  HttpRequest request;
  request.method = "PROPFIND";
  request.url = Plain("/echo/cal%C3%A3o/?a=1#fragmento");
  request.headers = {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}};
  // Several reads' worth, with a zero byte and UTF-8 in it.
  request.body = std::string("<propfind>ção\0€</propfind>", 27);
  while (request.body.size() < 200 * 1024) request.body += request.body;
  HttpResponse response;
  std::thread([&] { response = client->Send(request); }).join();  // made on this thread, used on another
  ASSERT_EQ(response.failure, HttpFailure::None);
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.Header("x-eco-method"), "PROPFIND");
  EXPECT_EQ(response.Header("x-eco-path"), "/echo/cal%C3%A3o/?a=1");
  EXPECT_EQ(response.Header("x-eco-depth"), "1");
  EXPECT_EQ(response.Header("x-eco-content-type"), "application/xml; charset=utf-8");
  EXPECT_EQ(response.Header("x-eco-authorization"), "");
  EXPECT_EQ(response.body, request.body);
  // Names in lower case; a repeated header once, with its last value.
  EXPECT_EQ(response.Header("x-mixed-case"), "Sim");
  int repeated = 0;
  for (const auto& [name, value] : response.headers) {
    EXPECT_EQ(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << name;
    repeated += name == "x-repetido";
  }
  EXPECT_EQ(repeated, 1);
  EXPECT_EQ(response.Header("x-repetido"), "segundo");
}

TEST_F(WinHttp, BasicCredentialsGoWithTheFirstRequestAsUtf8) {
  HttpRequest request;
  request.method = "GET";
  request.url = Plain("/auth");  // decodes them; 401 without
  request.user = "joão";
  request.password = "sé:nha 1";
  HttpResponse response = client->Send(request);
  ASSERT_EQ(response.failure, HttpFailure::None);
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.body, "joão:sé:nha 1");
  // Every length modulo 3, for the base64 padding.
  for (const std::string password : {"a", "ab", "abc"}) {
    request.user = "u";
    request.password = password;
    EXPECT_EQ(client->Send(request).body, "u:" + password);
  }
  // Up front: also where the server never asks for it.
  request.url = Plain("/echo");
  EXPECT_EQ(client->Send(request).Header("x-eco-authorization").rfind("Basic ", 0), 0u);
}

TEST_F(WinHttp, StatusesComeBackAsTheyAreAndRedirectsAreNotFollowed) {
  for (const int status : {207, 301, 302, 307, 404, 412}) {
    HttpRequest request;
    request.method = "PUT";
    request.url = Plain("/status/" + std::to_string(status));
    request.body = "BEGIN:VCALENDAR";
    HttpResponse response = client->Send(request);
    ASSERT_EQ(response.failure, HttpFailure::None) << status;
    EXPECT_EQ(response.status, status);
    EXPECT_EQ(response.body, "status " + std::to_string(status));
    EXPECT_EQ(response.Header("location"), "/echo");
  }
}

TEST_F(WinHttp, TimeOutCoversTheWholeRequest) {
  using Clock = std::chrono::steady_clock;
  // A server that does not answer, and one that answers a byte at a time for
  // longer than the time-out.
  for (const char* path : {"/slow/8", "/trickle"}) {
    const auto start = Clock::now();
    HttpResponse response = Get(Plain(path), 2);
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(response.failure, HttpFailure::Timeout) << path;
    EXPECT_LT(seconds, 5) << path;
  }
  EXPECT_EQ(Get(Plain("/slow/0.5"), 3).body, "tarde");
}

TEST_F(WinHttp, FailuresAreTold) {
  EXPECT_EQ(Get("http://127.0.0.1:" + std::to_string(ports.closed) + "/").failure, HttpFailure::Connect);
  // Closed after 10 of the 1000 bytes it announced.
  EXPECT_EQ(Get(Plain("/cut")).failure, HttpFailure::Connect);
  // Self-signed.
  EXPECT_EQ(Get("https://127.0.0.1:" + std::to_string(ports.tls) + "/echo").failure, HttpFailure::Certificate);
}

TEST_F(WinHttp, PlainHttpBeyondTheLoopbackNamesIsRefusedBeforeAnyConnection) {
  const int before = OtherConnections();
  const std::string other = "127.0.0.2:" + std::to_string(ports.other);
  for (const std::string& url : {"http://" + other + "/echo", "HTTP://" + other + "/", "http://127.0.0.1@" + other + "/"}) {
    EXPECT_EQ(Get(url).failure, HttpFailure::Refused) << url;
  }
  EXPECT_EQ(Get("http://calendario.exemplo.invalid/").failure, HttpFailure::Refused);
  EXPECT_EQ(OtherConnections(), before);
  // The count does see a client that connects there (https is allowed anywhere).
  EXPECT_NE(Get("https://" + other + "/echo").failure, HttpFailure::None);
  EXPECT_GT(OtherConnections(), before);
}

// ---- Credential Manager ----

class WinCredentials : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    store.Erase(kAddress, "ana");
    store.Erase(kAddress, "beto");
  }
  static constexpr const char* kAddress = "https://calendário.exemplo/dav/";
  CredentialStore& store = SystemCredentials();
};

TEST_F(WinCredentials, SaveLoadAndEraseByAccount) {
  std::string password;
  EXPECT_EQ(store.Load(kAddress, "ana", &password), CredentialResult::NotFound);
  EXPECT_EQ(store.Erase(kAddress, "ana"), CredentialResult::NotFound);

  const std::string secret = "pässwörd-ção-€-😀 com espaço";
  ASSERT_EQ(store.Save(kAddress, "ana", secret), CredentialResult::Done);
  EXPECT_EQ(store.Load(kAddress, "ana", &password), CredentialResult::Done);
  EXPECT_EQ(password, secret);
  // Another user of the same server, and the same user elsewhere, are other accounts.
  EXPECT_EQ(store.Load(kAddress, "beto", &password), CredentialResult::NotFound);
  EXPECT_EQ(store.Load("https://calendario.exemplo/dav/", "ana", &password), CredentialResult::NotFound);

  ASSERT_EQ(store.Save(kAddress, "beto", ""), CredentialResult::Done);
  ASSERT_EQ(store.Save(kAddress, "ana", "nova"), CredentialResult::Done);
  EXPECT_EQ(store.Load(kAddress, "beto", &password), CredentialResult::Done);
  EXPECT_EQ(password, "");
  EXPECT_EQ(store.Load(kAddress, "ana", &password), CredentialResult::Done);
  EXPECT_EQ(password, "nova");

  EXPECT_EQ(store.Erase(kAddress, "ana"), CredentialResult::Done);
  EXPECT_EQ(store.Load(kAddress, "ana", &password), CredentialResult::NotFound);
  EXPECT_EQ(store.Load(kAddress, "beto", &password), CredentialResult::Done);
}

}  // namespace
}  // namespace tavo::platform
