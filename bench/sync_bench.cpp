// The first sync of many reminders against a local CalDAV server (Radicale,
// started here), beside the same number of plain PUTs of the same items
// through the same HTTP client, and a sync with nothing new (its requests
// are counted). Run: build/bench/sync_bench (needs radicale on the PATH).

#include <benchmark/benchmark.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ical/calendar_export.h"
#include "platform/http.h"
#include "platform/system.h"
#include "store/tavo_data.h"
#include "sync/sync_engine.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

// A Radicale of its own, with an empty storage, on a port of its own.
class Server {
 public:
  Server() {
    dir_ = fs::temp_directory_path() / ("quelvo-sync-bench-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    port_ = 40000 + static_cast<int>(::getpid() % 20000);
    std::ofstream(dir_ / "users") << "ana:segredo\n";
    std::ofstream(dir_ / "config") << "[server]\nhosts = 127.0.0.1:" << port_ << "\n[auth]\ntype = htpasswd\n"
                                   << "htpasswd_filename = " << (dir_ / "users").string()
                                   << "\nhtpasswd_encryption = plain\n[storage]\nfilesystem_folder = "
                                   << (dir_ / "collections").string() << "\n";
    const std::string d = dir_.string();
    if (std::system(("radicale --config " + d + "/config >" + d + "/log 2>&1 & echo $! >" + d + "/pid").c_str()) != 0)
      std::abort();
    std::ifstream(dir_ / "pid") >> pid_;
    auto http = platform::MakeHttpClient();
    for (int i = 0; i < 200; ++i) {
      platform::HttpRequest ping;
      ping.method = "GET";
      ping.url = Root();
      if (http->Send(ping).status != 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~Server() {
    ::kill(pid_, SIGTERM);
    fs::remove_all(dir_);
  }
  std::string Root() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  fs::path dir_;
  int port_ = 0;
  pid_t pid_ = 0;
};

std::vector<TLembrete> Reminders(int n) {
  std::vector<TLembrete> all;
  for (int i = 0; i < n; ++i) {
    TLembrete r;
    r.DateTime = 47000.0 + i / 10 + (i % 10) / 24.0;
    r.RepeatKind = static_cast<uint8_t>(i % 5);
    r.Text = "Lembrete n\xFAmero " + std::to_string(i) + "\r\ncom uma segunda linha";
    all.push_back(r);
  }
  return all;
}

// The same items, PUT one after the other into a calendar of their own.
void PlainPuts(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Server server;
    auto http = platform::MakeHttpClient();
    sync::Account account;
    sync::CheckAccount(*http, server.Root(), "ana", "segredo", &account);
    const auto reminders = Reminders(n);
    const auto started = std::chrono::steady_clock::now();
    for (const TLembrete& r : reminders) {
      const std::string uid = ical::UidOf(r);
      platform::HttpRequest put;
      put.method = "PUT";
      put.url = account.calendar + uid.substr(0, uid.find('@')) + ".ics";
      put.headers = {{"Content-Type", "text/calendar; charset=utf-8"}, {"If-None-Match", "*"}};
      put.body = ical::ExportEvent(r, uid, 0);
      put.user = "ana";
      put.password = "segredo";
      if (http->Send(put).status != 201) state.SkipWithError("PUT refused");
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  }
}

// The first sync of a store holding the reminders, then one with nothing new.
void FirstSync(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Server server;
    const fs::path folder = fs::temp_directory_path() / ("quelvo-sync-bench-store-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "dados");
    platform::SetProgramFolder(folder.string() + "/");
    Store store;
    store.Open();
    store.AddLembretes(Reminders(n));
    auto http = platform::MakeHttpClient();
    sync::Account account;
    sync::CheckAccount(*http, server.Root(), "ana", "segredo", &account);
    const auto started = std::chrono::steady_clock::now();
    const sync::Report first = sync::SyncStore(store, *http, account, "segredo");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    if (first.counters.sent != n) state.SkipWithError("not everything was sent");
    // Nothing new: count what the second sync asks.
    sync::LinkTable links = sync::LoadLinks(store);
    const sync::Exchange again = sync::ExchangeWithServer(*http, account, "segredo",
                                                          store.ReadLembretes(0, store.Lembretes.Count),
                                                          std::move(links), 0, 0);
    state.counters["requests_when_nothing_new"] = again.requests;
    state.counters["sent_when_nothing_new"] = again.report.counters.sent;
    platform::SetProgramFolder("");
    fs::remove_all(folder);
  }
}

BENCHMARK(PlainPuts)->Arg(1000)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(FirstSync)->Arg(1000)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tavo

BENCHMARK_MAIN();
