#include "sync/sync_service.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "ical/calendar_import.h"
#include "platform/credentials.h"
#include "platform/file_system.h"
#include "store/date_text.h"
#include "store/tavo_data.h"
#include "sync/sync_engine.h"

namespace tavo::sync {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

constexpr seconds kPeriod{300};       // a sync every 5 minutes
constexpr seconds kAfterChange{5};    // and a few seconds after a change here
constexpr seconds kFirstRetry{30};    // after a failure: 30 s, 1 min, 2 min, 4 min, 5 min...

// The current minute as the lists show it.
std::string ClockText() {
  const double now = CurrentMinute();
  return DateToText(now) + " " + TimeToDisplay(now);
}


}  // namespace

// What the GUI thread and the worker share; the worker holds it too, so that
// a request still running when the program ends finishes on its own.
struct Shared {
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;
  // A job for the worker (set by the GUI thread) and its result (set by the worker).
  std::function<void()> job;
  bool job_done = false;
  // Results, written by the job, read by the GUI thread once job_done is seen.
  std::optional<Exchange> exchange;
  std::optional<std::pair<Report, Account>> configured;
};

struct SyncService::State {
  Store& store;
  Account account;
  std::shared_ptr<Shared> shared = std::make_shared<Shared>();
  std::thread worker;
  bool in_flight = false;
  Clock::time_point next_sync = Clock::now() + seconds(2);
  seconds retry = kFirstRetry;
  std::string status;
  std::function<void(const Report&)> configure_done;
  // The password typed at set-up, for this run of the program: where no
  // credential store keeps it, the syncs still have it until the program ends.
  std::string typed_password;
  std::string session_password;

  explicit State(Store& s) : store(s), account(ReadAccount()) {
    status = account.IsSet() ? "Sincroniza\xC3\xA7\xC3\xA3o ainda n\xC3\xA3o feita nesta sess\xC3\xA3o."
                             : "Sincroniza\xC3\xA7\xC3\xA3o n\xC3\xA3o configurada.";
    worker = std::thread([shared = shared] {
      std::unique_lock lock(shared->mutex);
      for (;;) {
        shared->wake.wait(lock, [&] { return shared->stop || (shared->job && !shared->job_done); });
        if (shared->stop) return;
        auto job = shared->job;  // holds no reference to the service itself
        lock.unlock();
        job();
        lock.lock();
        shared->job_done = true;
      }
    });
  }

  void Start(std::function<void()> job) {
    std::lock_guard lock(shared->mutex);
    shared->job = std::move(job);
    shared->job_done = false;
    in_flight = true;
    shared->wake.notify_one();
  }

  bool Done() {
    std::lock_guard lock(shared->mutex);
    return shared->job_done;
  }

  void Finish() {
    std::lock_guard lock(shared->mutex);
    shared->job = nullptr;
    shared->job_done = false;
    in_flight = false;
  }
};

SyncService::SyncService(Store& store) : state_(std::make_unique<State>(store)) {}

SyncService::~SyncService() {
  {
    std::lock_guard lock(state_->shared->mutex);
    state_->shared->stop = true;
    state_->shared->wake.notify_one();
  }
  // A request in flight ends by its time-out; the program need not wait for it.
  if (state_->in_flight && !state_->Done()) {
    state_->worker.detach();
  } else {
    state_->worker.join();
  }
}

void SyncService::Tick() {
  State& s = *state_;
  if (s.in_flight) {
    if (!s.Done()) return;
    if (s.shared->configured) {
      auto [report, account] = std::move(*s.shared->configured);
      s.shared->configured.reset();
      s.Finish();
      if (report.outcome == Outcome::Done) {
        WriteAccount(account);
        s.account = account;
        s.session_password = std::move(s.typed_password);
        s.next_sync = Clock::now();
        s.retry = kFirstRetry;
        s.status = "Configurada. Sincronizando...";
      } else {
        s.status = report.message;
      }
      if (StatusChanged) StatusChanged();
      if (s.configure_done) s.configure_done(report);
      s.configure_done = nullptr;
      return;
    }
    // The store is changed only between its own operations.
    if (s.store.StoreBusy || s.store.ScanBusy) return;
    Exchange exchange = std::move(*s.shared->exchange);
    s.shared->exchange.reset();
    s.Finish();
    if (exchange.report.outcome == Outcome::Done) ApplyExchange(s.store, exchange);
    const Report& report = exchange.report;
    if (report.outcome == Outcome::Done) {
      s.status = "\xC3\x9Altima sincroniza\xC3\xA7\xC3\xA3o: " + ClockText() + " (" + CountersLine(report.counters) + ")";
      if (!report.warnings.empty()) s.status += "; " + std::to_string(report.warnings.size()) + " item(ns) ignorado(s)";
      s.next_sync = Clock::now() + kPeriod;
      s.retry = kFirstRetry;
    } else {
      s.next_sync = Clock::now() + s.retry;
      s.status = "Erro na sincroniza\xC3\xA7\xC3\xA3o (" + ClockText() + "): " + report.message + " Nova tentativa em " +
                 std::to_string(s.retry.count() >= 60 ? s.retry.count() / 60 : s.retry.count()) +
                 (s.retry.count() >= 60 ? " min." : " s.");
      s.retry = std::min<seconds>(s.retry * 2, kPeriod);
    }
    if (StatusChanged) StatusChanged();
    return;
  }
  if (!s.account.IsSet() || Clock::now() < s.next_sync) return;
  if (s.store.StoreBusy || s.store.ScanBusy) return;
  // A snapshot of the store and the links, taken here on the store's thread.
  std::vector<TLembrete> here = s.store.ReadLembretes(0, s.store.Lembretes.Count);
  LinkTable links = LoadLinks(s.store);
  const int64_t now = ical::MinutesOf(CurrentMinute());
  const int64_t stamp = NowUtcSeconds();
  s.status = "Sincronizando...";
  if (StatusChanged) StatusChanged();
  s.Start([shared = s.shared.get(), session_password = s.session_password, account = s.account, here = std::move(here), links = std::move(links), now, stamp]() mutable {
    Exchange result;
    std::optional<std::string> password = PasswordOf(account);
    if (!password && !session_password.empty()) password = session_password;
    if (password) {
      auto http = platform::MakeHttpClient();
      result = ExchangeWithServer(*http, account, *password, here, std::move(links), now, stamp);
    } else {
      result.report.outcome = Outcome::Refused;
      result.report.message = "Falta a senha: abra \"Sincroniza\xC3\xA7\xC3\xA3o\" e salve-a de novo.";
    }
    shared->exchange = std::move(result);
  });
}

void SyncService::ChangedHere() {
  State& s = *state_;
  const auto soon = Clock::now() + kAfterChange;
  if (soon < s.next_sync) s.next_sync = soon;
}

void SyncService::SyncNow() { state_->next_sync = Clock::now(); }

void SyncService::Configure(const std::string& address, const std::string& user, const std::string& password,
                            std::function<void(const Report&)> done) {
  State& s = *state_;
  if (s.in_flight) {
    Report busy;
    busy.outcome = Outcome::Failed;
    busy.message = "Uma sincroniza\xC3\xA7\xC3\xA3o est\xC3\xA1 em andamento; tente de novo em instantes.";
    done(busy);
    return;
  }
  s.configure_done = std::move(done);
  s.typed_password = password;
  s.status = "Verificando...";
  if (StatusChanged) StatusChanged();
  s.Start([shared = s.shared.get(), address, user, password] {
    auto http = platform::MakeHttpClient();
    Account account;
    Report report = CheckAccount(*http, address, user, password, &account);
    if (report.outcome == Outcome::Done) {
      if (platform::SystemCredentials().Save(account.address, account.user, password) != platform::CredentialResult::Done)
        report.warnings.push_back(
            "Nenhum cofre de senhas dispon\xC3\xADvel: a senha vale at\xC3\xA9 o programa fechar (ou use QUELVO_SENHA).");
    }
    shared->configured = std::make_pair(std::move(report), std::move(account));
  });
}

void SyncService::Forget() {
  State& s = *state_;
  ForgetAccount();
  s.session_password.clear();
  platform::Files().Delete(LinkFilePath(s.store));
  s.account = Account{};
  s.status = "Sincroniza\xC3\xA7\xC3\xA3o n\xC3\xA3o configurada.";
  if (StatusChanged) StatusChanged();
}

Account SyncService::CurrentAccount() const { return state_->account; }
bool SyncService::Busy() const { return state_->in_flight; }
bool SyncService::ResultWaiting() const { return state_->in_flight && state_->Done(); }
std::string SyncService::Status() const { return state_->status; }

}  // namespace tavo::sync
