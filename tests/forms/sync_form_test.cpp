// The sync window's rules over a fake desktop and a scripted sync service:
// the fields at opening, the set-up's check and its outcome across closing
// and reopening, "Esquecer", and the main window's timer that drives the service.

#include "forms/sync_form.h"

#include <gtest/gtest.h>

#include "forms/config_form.h"
#include "forms/main_form.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeSyncWindow;
using Enabled = SyncView::Enabled;

// The service's side of the link, answered by the test.
class ScriptedSync : public SyncLink {
 public:
  sync::Account account;
  std::string status;
  int ticks = 0, syncs = 0, forgets = 0;
  std::vector<std::string> configured;  // "address|user|password" of each set-up
  std::function<void(const sync::Report&)> pending;
  std::function<void()> while_ticking;

  // The service's status changed (as it tells from Tick).
  void Says(const std::string& text) {
    status = text;
    ServiceStatusChanged();
  }
  // The set-up's check ends (from Tick as well).
  void Answer(sync::Outcome outcome, const std::string& message = {}, std::vector<std::string> warnings = {}) {
    if (outcome == sync::Outcome::Done) account.calendar = "http://127.0.0.1/cal/";
    auto done = std::move(pending);
    sync::Report report;
    report.outcome = outcome;
    report.message = message;
    report.warnings = std::move(warnings);
    done(report);
  }

 protected:
  void DoTick() override {
    ++ticks;
    if (while_ticking) while_ticking();
  }
  sync::Account DoCurrentAccount() const override { return account; }
  std::string DoStatus() const override { return status; }
  void DoSyncNow() override { ++syncs; }
  void DoConfigure(const std::string& address, const std::string& user, const std::string& password,
                   std::function<void(const sync::Report&)> done) override {
    configured.push_back(address + "|" + user + "|" + password);
    account.address = address;
    account.user = user;
    pending = std::move(done);
  }
  void DoForget() override {
    ++forgets;
    account = {};
    status.clear();
  }
};

constexpr Enabled kNoAccount{.fields = true, .save = true, .sync_now = false, .forget = false};
constexpr Enabled kWithAccount{.fields = true, .save = true, .sync_now = true, .forget = true};
constexpr Enabled kChecking{.fields = false, .save = false, .sync_now = false, .forget = false};

class SyncFormTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    app().Sync = &sync;
  }
  FakeSyncWindow& Open() {
    app().OpenWindowOnce(WindowKind::Sync);
    return *desktop->Open<FakeSyncWindow>().at(0);
  }
  void Close(FakeSyncWindow& w) {
    w.form.bFecharClick();
    desktop->CollectClosed();
  }
  // Types a set-up and presses "Salvar".
  static void Save(FakeSyncWindow& w, const std::string& address, const std::string& user,
                   const std::string& password) {
    w.address = address;
    w.user = user;
    w.password = password;
    w.form.bSalvarClick();
  }
  ScriptedSync sync;
};

TEST_F(SyncFormTest, OpensWithTheAccountButNeverThePasswordAndCommandsOnlyForASetUpAccount) {
  FakeSyncWindow& empty = Open();
  EXPECT_EQ(empty.address, "");
  EXPECT_EQ(empty.user, "");
  EXPECT_EQ(empty.password, "");
  EXPECT_EQ(empty.status, "Nenhuma conta configurada.");
  EXPECT_EQ(empty.controls, kNoAccount);
  Close(empty);

  sync.account = {"cloud.example.org", "ana", "https://cloud.example.org/dav/ana/lembretes/"};
  sync.status = "Sincronizado às 14:35: enviados 0, recebidos 2, excluídos 0, conflitos 0";
  FakeSyncWindow& w = Open();
  EXPECT_EQ(w.address, "cloud.example.org");
  EXPECT_EQ(w.user, "ana");
  EXPECT_EQ(w.password, "");
  EXPECT_EQ(w.status, sync.status);
  EXPECT_EQ(w.controls, kWithAccount);
  // The status line follows the service while the window is open.
  sync.Says("Falha: o servidor não respondeu.");
  EXPECT_EQ(w.status, "Falha: o servidor não respondeu.");
  Close(w);
  sync.Says("nada ouve isto");  // no window listens; nothing breaks
}

TEST_F(SyncFormTest, SalvarChecksWithTheButtonsOffAndARefusalStaysUntilTheUserActs) {
  FakeSyncWindow& w = Open();
  Save(w, "  http://127.0.0.1:1/ ", " ana ", " s3nha ");
  ASSERT_EQ(sync.configured, std::vector<std::string>{"http://127.0.0.1:1/|ana| s3nha "});
  EXPECT_EQ(w.address, "http://127.0.0.1:1/");
  EXPECT_EQ(w.status, "Verificando...");
  EXPECT_EQ(w.controls, kChecking);
  // Neither a second press nor the service's own news interrupt the check.
  w.form.bSalvarClick();
  w.form.bSincronizarClick();
  sync.Says("Sincronizado às 14:36");
  EXPECT_EQ(sync.configured.size(), 1u);
  EXPECT_EQ(sync.syncs, 0);
  EXPECT_EQ(w.status, "Verificando...");

  sync.Answer(sync::Outcome::Failed, "Não foi possível conectar a 127.0.0.1.");
  EXPECT_EQ(w.status, "A conta não foi salva: Não foi possível conectar a 127.0.0.1.");
  EXPECT_EQ(w.controls, kNoAccount);
  EXPECT_EQ(w.password, " s3nha ");  // kept for a second try
  sync.Says("Sincronizado às 14:37");
  EXPECT_EQ(w.status, "A conta não foi salva: Não foi possível conectar a 127.0.0.1.");

  // A refusal without a reason still says what happened.
  Save(w, "http://127.0.0.1:1/", "ana", "outra");
  sync.Answer(sync::Outcome::Refused);
  EXPECT_EQ(w.status, "A conta não foi salva: o servidor não respondeu.");
}

TEST_F(SyncFormTest, AnAcceptedSetUpEmptiesThePasswordAndTheServiceTakesTheLineAgain) {
  FakeSyncWindow& w = Open();
  Save(w, "http://127.0.0.1:5232/", "ana", "s3nha");
  sync.Answer(sync::Outcome::Done);
  EXPECT_EQ(w.password, "");
  EXPECT_EQ(w.status, "Conta salva. Sincronizando...");
  EXPECT_EQ(w.controls, kWithAccount);
  sync.Says("Sincronizado às 14:36: enviados 3, recebidos 0, excluídos 0, conflitos 0");
  EXPECT_EQ(w.status, sync.status);
  w.form.bSincronizarClick();
  EXPECT_EQ(sync.syncs, 1);
  EXPECT_EQ(w.status, "Sincronizando...");
  sync.Says("Sincronizado às 14:37");
  EXPECT_EQ(w.status, "Sincronizado às 14:37");

  // Saved with a warning: it stays in sight above the syncs that follow.
  Save(w, "http://127.0.0.1:5232/", "ana", "s3nha");
  sync.Answer(sync::Outcome::Done, {}, {"A senha não foi guardada."});
  sync.Says("Sincronizado às 14:38");
  EXPECT_EQ(w.status, "Conta salva. A senha não foi guardada.\nSincronizado às 14:38");
  w.form.bSincronizarClick();
  EXPECT_EQ(w.status, "Sincronizando...");
}

TEST_F(SyncFormTest, ASetUpGoesOnWhenTheWindowClosesAndItsOutcomeShowsOnceInTheNextWindow) {
  sync.status = "Sem sincronização.";
  FakeSyncWindow& first = Open();
  Save(first, "http://127.0.0.1:1/", "ana", "s3nha");
  Close(first);
  FakeSyncWindow& again = Open();
  EXPECT_EQ(again.status, "Verificando...");
  EXPECT_EQ(again.controls, kChecking);
  Close(again);
  sync.Answer(sync::Outcome::Failed, "Conexão recusada.");  // no window open

  FakeSyncWindow& third = Open();
  EXPECT_EQ(third.status, "A conta não foi salva: Conexão recusada.");
  EXPECT_EQ(third.address, "http://127.0.0.1:1/");
  Close(third);
  EXPECT_EQ(Open().status, "Sem sincronização.");
}

TEST_F(SyncFormTest, AnEmptyAddressOrAUserWithoutPasswordIsNotSent) {
  FakeSyncWindow& w = Open();
  Save(w, "   ", "ana", "s3nha");
  EXPECT_EQ(w.status, "Digite o endereço do servidor ou do calendário.");
  EXPECT_EQ(w.focused, "eEndereco");
  Save(w, "http://127.0.0.1:5232/", "ana", "");
  EXPECT_EQ(w.status, "Digite a senha.");
  EXPECT_EQ(w.focused, "eSenha");
  EXPECT_TRUE(sync.configured.empty());
  // A server without log-in.
  Save(w, "http://127.0.0.1:5232/", "", "");
  EXPECT_EQ(sync.configured, std::vector<std::string>{"http://127.0.0.1:5232/||"});
}

TEST_F(SyncFormTest, EsquecerAsksFirstThenEmptiesTheFields) {
  sync.account = {"cloud.example.org", "ana", "https://cloud.example.org/dav/"};
  FakeSyncWindow& w = Open();
  w.form.bEsquecerClick();  // answered No
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, SyncForm::kAskForget);
  EXPECT_TRUE(desktop->boxes[0].question);
  EXPECT_EQ(desktop->boxes[0].owner, &w.form);
  EXPECT_EQ(sync.forgets, 0);
  EXPECT_EQ(w.address, "cloud.example.org");

  desktop->answers = {true};
  w.form.bEsquecerClick();
  EXPECT_EQ(sync.forgets, 1);
  EXPECT_EQ(w.address, "");
  EXPECT_EQ(w.user, "");
  EXPECT_EQ(w.status, "Nenhuma conta configurada.");
  EXPECT_EQ(w.controls, kNoAccount);
}

TEST_F(SyncFormTest, TheTrayItemAndTheSettingsButtonOpenOneWindow) {
  auto& main = desktop->OpenMainWindow();
  main.form.pmSyncClick();
  app().OpenWindowOnce(WindowKind::Config);
  desktop->Open<test_support::FakeConfigWindow>().at(0)->form.bSyncClick();
  EXPECT_EQ(desktop->Open<FakeSyncWindow>().size(), 1u);
  EXPECT_TRUE(desktop->Open<FakeSyncWindow>()[0]->IsForeground());
}

TEST_F(SyncFormTest, TheMainTimerTicksTheServiceButNotInsideAStoreOperationOrItself) {
  auto& main = desktop->OpenMainWindow();
  main.form.timerSyncTimer();
  EXPECT_EQ(sync.ticks, 1);
  StoreBusy = true;
  main.form.timerSyncTimer();
  StoreBusy = false;
  ScanBusy = true;
  main.form.timerSyncTimer();
  ScanBusy = false;
  EXPECT_EQ(sync.ticks, 1);
  // A tick that pumps messages (applying to the store) meets the timer again.
  sync.while_ticking = [&] { main.form.timerSyncTimer(); };
  main.form.timerSyncTimer();
  EXPECT_EQ(sync.ticks, 2);
  app().Sync = nullptr;
  main.form.timerSyncTimer();
  EXPECT_EQ(sync.ticks, 2);
}

}  // namespace
}  // namespace tavo::forms
