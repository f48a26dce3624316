// The sync engine against a real CalDAV server (Radicale on the loopback),
// through a client that can cut the connection after some requests or spoil
// one item on its way down: an exchange cut short leaves the store and the
// link file as after its last completed step, and the next sync neither
// loses nor doubles anything; an unreadable item is skipped and reported
// while the others come down. Also the link file's refusal of damage.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <thread>

#include "platform/http.h"
#include "sync/link_file.h"
#include "sync/sync_account.h"
#include "sync/sync_engine.h"
#include "sync/sync_service.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using test_support::At;
using test_support::Reminder;
using test_support::Stored;
using test_support::TempFolder;

TEST(LinkFile, ReadsBackAndRefusesEveryCutAndChangedByte) {
  sync::LinkTable table{"http://127.0.0.1:5232/ana/quelvo/", "token-1", {}};
  table.links.push_back({3, sync::LinkKind::Exact, "u1@quelvo", "/ana/quelvo/u1.ics", "\"e1\"", 66781920, 3,
                         "Pagar a conta\r\n\tde \xE1gua \\ luz"});
  table.links.push_back({-1, sync::LinkKind::Server, "x@y", "/ana/quelvo/x.ics", "\"e2\"", 0, 0, ""});
  const std::string bytes = sync::SerializeLinks(table);
  ASSERT_EQ(sync::ParseLinks(bytes), table);
  for (size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_FALSE(sync::ParseLinks(bytes.substr(0, cut))) << cut;
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::string changed = bytes;
    changed[i] = static_cast<char>(changed[i] ^ 0x01);
    EXPECT_FALSE(sync::ParseLinks(changed)) << i;
  }
}

// Passes requests to the operating system's client; after `cut_after`
// requests every further one fails as a cut connection; the calendar data of
// items whose path contains `spoil` arrives unreadable.
class FaultyHttp : public platform::HttpClient {
 public:
  int cut_after = 1 << 30;
  std::string spoil;
  int sent = 0;
  platform::HttpResponse Send(const platform::HttpRequest& request) override {
    if (sent++ >= cut_after) {
      platform::HttpResponse cut;
      cut.failure = platform::HttpFailure::Connect;
      return cut;
    }
    platform::HttpResponse r = real_->Send(request);
    if (!spoil.empty() && request.method == "REPORT" && request.body.find("calendar-multiget") != std::string::npos) {
      // The item's data loses its END lines: no whole calendar any more.
      const size_t at = r.body.find(spoil);
      const size_t data = at == std::string::npos ? at : r.body.find("BEGIN:VCALENDAR", at);
      if (data != std::string::npos) r.body.replace(data, 15, "BEGIN:VXXX");
    }
    return r;
  }

 private:
  std::unique_ptr<platform::HttpClient> real_ = platform::MakeHttpClient();
};

class SyncAgainstRadicale : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    Reopen();
    if (std::system("command -v radicale >/dev/null") != 0) {
      if (const char* ci = std::getenv("CI"); ci && std::string_view(ci) == "true") FAIL() << "radicale missing";
      GTEST_SKIP() << "radicale not installed";
    }
    const std::string dir = server_dir_.Path();
    port_ = 20000 + static_cast<int>(::getpid() % 20000);
    std::ofstream(dir + "users") << "ana:segredo\n";
    std::ofstream(dir + "config") << "[server]\nhosts = 127.0.0.1:" << port_ << "\n[auth]\ntype = htpasswd\n"
                                  << "htpasswd_filename = " << dir << "users\nhtpasswd_encryption = plain\n"
                                  << "[storage]\nfilesystem_folder = " << dir << "collections\n";
    ASSERT_EQ(std::system(("radicale --config " + dir + "config >" + dir + "log 2>&1 & echo $! >" + dir + "pid").c_str()), 0);
    std::ifstream(dir + "pid") >> pid_;
    auto http = platform::MakeHttpClient();
    // Up when it answers (refusing the anonymous request).
    for (int i = 0; i < 200; ++i) {
      platform::HttpRequest ping;
      ping.method = "GET";
      ping.url = Root();
      ping.timeout_seconds = 2;
      if (http->Send(ping).status != 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const sync::Report set_up = sync::CheckAccount(*http, Root(), "ana", "segredo", &account_);
    ASSERT_EQ(set_up.outcome, sync::Outcome::Done) << set_up.message;
  }
  void TearDown() override {
    if (pid_ > 0) ::kill(pid_, SIGTERM);
    StoreFixture::TearDown();
  }
  std::string Root() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
  // A request of the user "ana" to the synced calendar.
  platform::HttpRequest ToCalendar(const char* method, std::vector<std::pair<std::string, std::string>> headers = {}) {
    platform::HttpRequest r;
    r.method = method;
    r.url = account_.calendar;
    r.headers = std::move(headers);
    r.user = "ana";
    r.password = "segredo";
    return r;
  }
  sync::Report Sync(platform::HttpClient& http) { return sync::SyncStore(store, http, account_, "segredo"); }
  size_t ServerItems() {
    auto http = platform::MakeHttpClient();
    const std::string body = http->Send(ToCalendar("PROPFIND", {{"Depth", "1"}})).body;
    size_t n = 0;
    for (size_t at = 0; (at = body.find(".ics</", at)) != std::string::npos; ++at) ++n;
    return n;
  }

  TempFolder server_dir_;
  int port_ = 0;
  pid_t pid_ = 0;
  sync::Account account_;
};

TEST_F(SyncAgainstRadicale, ACutConnectionKeepsWhatWasSentAndTheNextSyncSendsTheRest) {
  for (int day = 1; day <= 5; ++day) store.AddLembrete(Reminder(At(2030, 3, day, 9, 0), "Item " + std::to_string(day)));
  const std::vector<Stored> before = State();
  FaultyHttp cut;
  cut.cut_after = 4;  // the listing, then three of the five new items
  const sync::Report first = Sync(cut);
  EXPECT_EQ(first.outcome, sync::Outcome::Failed);
  EXPECT_EQ(State(), before);
  sync::LinkTable links;
  ASSERT_EQ(sync::ReadLinkFile(sync::LinkFilePath(store), &links), sync::LinkLoad::Loaded);
  EXPECT_EQ(links.links.size(), 3u);
  EXPECT_TRUE(links.sync_token.empty());  // the listing must be read again

  FaultyHttp whole;
  const sync::Report second = Sync(whole);
  ASSERT_EQ(second.outcome, sync::Outcome::Done) << second.message;
  EXPECT_EQ(second.counters.sent, 2);
  EXPECT_EQ(ServerItems(), 5u);
  EXPECT_EQ(State(), before);
}

TEST_F(SyncAgainstRadicale, AnUnreadableItemIsSkippedAndReportedAndTheOthersComeDown) {
  // Three reminders go up from here...
  {
    store.AddLembrete(Reminder(At(2030, 4, 1, 8, 0), "Primeiro"));
    store.AddLembrete(Reminder(At(2030, 4, 2, 8, 0), "Segundo"));
    store.AddLembrete(Reminder(At(2030, 4, 3, 8, 0), "Terceiro"));
    FaultyHttp http;
    ASSERT_EQ(Sync(http).counters.sent, 3);
  }
  // ...and come down to a computer that has none.
  for (int32_t i = Lembretes.Count - 1; i >= 0; --i) store.DeleteLembrete(Entry(i));
  platform::Files().Delete(sync::LinkFilePath(store));
  FaultyHttp spoiled;
  // The item of "Segundo" is spoiled on its way down: its name, asked of the server.
  {
    auto http = platform::MakeHttpClient();
    platform::HttpRequest list = ToCalendar("REPORT", {{"Depth", "1"}});
    list.body =
        "<C:calendar-query xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop><D:getetag/></D:prop>"
        "<C:filter><C:comp-filter name=\"VCALENDAR\"><C:comp-filter name=\"VEVENT\"><C:prop-filter name=\"SUMMARY\">"
        "<C:text-match>Segundo</C:text-match></C:prop-filter></C:comp-filter></C:comp-filter></C:filter>"
        "</C:calendar-query>";
    const std::string body = http->Send(list).body;
    const size_t end = body.find(".ics");
    ASSERT_NE(end, std::string::npos) << body;
    spoiled.spoil = body.substr(body.rfind('/', end) + 1, end - body.rfind('/', end) + 3);
  }
  const sync::Report report = Sync(spoiled);
  ASSERT_EQ(report.outcome, sync::Outcome::Done) << report.message;
  EXPECT_EQ(report.counters.received, 2);
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_NE(report.warnings[0].find(spoiled.spoil), std::string::npos) << report.warnings[0];
  const std::vector<Stored> want = {{At(2030, 4, 1, 8, 0), 0, "Primeiro"}, {At(2030, 4, 3, 8, 0), 0, "Terceiro"}};
  EXPECT_EQ(State(), want);
}


TEST_F(SyncAgainstRadicale, ACalendarDeletedOnTheServerStopsTheSyncWithTheStoreAndLinksAsTheyWere) {
  store.AddLembrete(Reminder(At(2030, 5, 1, 8, 0), "Consulta"));
  FaultyHttp http;
  ASSERT_EQ(Sync(http).outcome, sync::Outcome::Done);
  const std::string links_before = ReadDados(sync::kLinkFileName);
  store.AddLembrete(Reminder(At(2030, 5, 2, 8, 0), "Exame"));
  const std::vector<Stored> before = State();
  ASSERT_LT(http.Send(ToCalendar("DELETE")).status, 300);
  const sync::Report report = Sync(http);
  EXPECT_EQ(report.outcome, sync::Outcome::Failed);
  EXPECT_NE(report.message.find("n\xC3\xA3o existe mais"), std::string::npos) << report.message;
  EXPECT_EQ(State(), before);
  EXPECT_EQ(ReadDados(sync::kLinkFileName), links_before);
}


// Without a credential store (no session bus) the password typed at set-up
// still serves this run's syncs.
TEST_F(SyncAgainstRadicale, ThePasswordTypedAtSetUpServesTheSyncsWithoutACredentialStore) {
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const std::string saved_bus = bus ? bus : "";
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  ::unsetenv("QUELVO_SENHA");
  store.AddLembrete(Reminder(At(2030, 7, 1, 8, 0), "Vacina"));
  {
    sync::SyncService service(store);
    std::optional<sync::Report> set_up;
    service.Configure(Root(), "ana", "segredo", [&](const sync::Report& r) { set_up = r; });
    // Until the set-up came back and the sync that follows it ended.
    const auto synced = [&] {
      const std::string status = service.Status();
      return set_up && !service.Busy() && (status.find("\xC3\x9Altima") == 0 || status.find("Erro") == 0);
    };
    for (int i = 0; i < 500 && !synced(); ++i) {
      service.Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(set_up);
    ASSERT_EQ(set_up->outcome, sync::Outcome::Done) << set_up->message;
    EXPECT_EQ(service.Status().rfind("\xC3\x9Altima sincroniza\xC3\xA7\xC3\xA3o", 0), 0u) << service.Status();
  }
  if (!saved_bus.empty()) ::setenv("DBUS_SESSION_BUS_ADDRESS", saved_bus.c_str(), 1);
  EXPECT_EQ(ServerItems(), 1u);
}

// A server that takes the connection and answers nothing until told to hang up.
class SilentServer {
 public:
  SilentServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
    ::listen(listener_, 4);
    socklen_t size = sizeof at;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
    port_ = ntohs(at.sin_port);
    thread_ = std::thread([this] { client_ = ::accept(listener_, nullptr, nullptr); });
  }
  ~SilentServer() { HangUp(); }
  int Port() const { return port_; }
  // Waits for the connection; false when none came.
  bool Connected() {
    if (thread_.joinable()) thread_.join();
    return client_ >= 0;
  }
  void HangUp() {
    if (thread_.joinable()) thread_.join();
    if (client_ >= 0) ::close(client_);
    client_ = -1;
    if (listener_ >= 0) ::close(listener_);  // and takes no more connections
    listener_ = -1;
  }

 private:
  int listener_ = -1;
  int client_ = -1;
  int port_ = 0;
  std::thread thread_;
};

class SyncServiceWithASilentServer : public test_support::StoreFixture {};

// The program's timer keeps ticking and the store stays usable while the
// server holds the sync's request; when the connection drops, the status
// line says so and when it tries again.
TEST_F(SyncServiceWithASilentServer, NeitherTheTimerNorTheStoreWaitsForTheServer) {
  Reopen();
  SilentServer server;
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
  sync::WriteAccount({url, "ana", url + "ana/quelvo/"});
  ::setenv("QUELVO_SENHA", "segredo", 1);
  {
    sync::SyncService service(store);
    service.SyncNow();
    service.Tick();
    ASSERT_TRUE(server.Connected());
    // The request is in the server's hands, unanswered: the GUI thread goes on.
    for (int i = 0; i < 5; ++i) service.Tick();
    EXPECT_TRUE(service.Busy());
    EXPECT_EQ(service.Status(), "Sincronizando...");
    store.AddLembrete(Reminder(At(2030, 6, 1, 8, 0), "Feito enquanto o servidor pensa"));
    server.HangUp();
    for (int i = 0; i < 500 && service.Busy(); ++i) {
      service.Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(service.Busy());
    EXPECT_EQ(service.Status().rfind("Erro na sincroniza\xC3\xA7\xC3\xA3o", 0), 0u) << service.Status();
    EXPECT_NE(service.Status().find("Nova tentativa em 30 s."), std::string::npos) << service.Status();
  }
  ::unsetenv("QUELVO_SENHA");
  const std::vector<Stored> want = {{At(2030, 6, 1, 8, 0), 0, "Feito enquanto o servidor pensa"}};
  EXPECT_EQ(State(), want);
}

}  // namespace
}  // namespace tavo
