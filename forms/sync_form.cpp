#include "forms/sync_form.h"

#include "forms/keys.h"

namespace tavo::forms {
namespace {

constexpr const char* kNotAvailable = "A sincronização não está disponível nesta cópia do programa.";
constexpr const char* kNoAccount = "Nenhuma conta configurada.";
constexpr const char* kSaved = "Conta salva. Sincronizando...";
constexpr const char* kSavedBut = "Conta salva.";
constexpr const char* kSyncing = "Sincronizando...";
constexpr const char* kNotSaved = "A conta não foi salva: ";
constexpr const char* kNoReason = "o servidor não respondeu.";
constexpr const char* kTypeAddress = "Digite o endereço do servidor ou do calendário.";
constexpr const char* kTypePassword = "Digite a senha.";

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

// ---- The link to the service ----

void SyncLink::Configure(const std::string& address, const std::string& user, const std::string& password) {
  checking_ = true;
  note_.clear();
  DoConfigure(address, user, password, [this](const sync::Report& report) {
    checking_ = false;
    const bool accepted = report.outcome == sync::Outcome::Done;
    if (!accepted) {
      note_ = kNotSaved + (report.message.empty() ? std::string(kNoReason) : report.message);
    } else if (!report.warnings.empty()) {
      // Saved, but something the user must know (say, no place to keep the password).
      note_ = kSavedBut;
      for (const std::string& warning : report.warnings) note_ += " " + warning;
    } else {
      note_ = kSaved;
    }
    note_kind_ = !accepted ? Note::Refusal : report.warnings.empty() ? Note::Passing : Note::Warning;
    if (listener.set_up_done) listener.set_up_done(accepted);
    Tell();
  });
  Tell();
}

void SyncLink::SyncNow() {
  note_ = kSyncing;
  note_kind_ = Note::Passing;
  DoSyncNow();
  Tell();
}

void SyncLink::Forget() {
  note_.clear();
  DoForget();
  Tell();
}

std::string SyncLink::StatusLine() const {
  if (checking_) return SyncForm::kChecking;
  std::string status = DoStatus();
  if (status.empty()) status = kNoAccount;
  if (note_.empty()) return status;
  // A warning goes above the syncs that follow; a refusal says all there is.
  return note_kind_ == Note::Warning ? note_ + "\n" + status : note_;
}

void SyncLink::WindowClosed() { note_.clear(); }

void SyncLink::ServiceStatusChanged() {
  if (note_kind_ == Note::Passing) note_.clear();
  Tell();
}

void SyncLink::Tell() const {
  if (listener.changed) listener.changed();
}

// ---- The window ----

SyncForm::SyncForm(Application& app, SyncView& view) : Form(app, WindowKind::Sync), view_(view) {}

SyncForm::~SyncForm() {
  // A window destroyed without closing (the program ends) stops listening too.
  if (link()) link()->listener = {};
}

void SyncForm::FormCreate() {
  if (!link()) {
    view_.SetEnabled({.fields = false, .save = false, .sync_now = false, .forget = false});
    view_.SetStatusText(kNotAvailable);
    return;
  }
  const sync::Account account = link()->CurrentAccount();
  view_.SetAddressText(account.address);
  view_.SetUserText(account.user);
  view_.ClearPassword();
  link()->listener = {[this] { ShowState(); }, [this](bool accepted) { SetUpDone(accepted); }};
  ShowState();
}

void SyncForm::FormClose() {
  if (link()) {
    link()->listener = {};
    link()->WindowClosed();
  }
  App().SecondaryWindowClosing();
}

bool SyncForm::FormKeyDown(int key) {
  if (key != keys::kEscape) return false;
  bFecharClick();
  return true;
}

void SyncForm::ShowState() {
  const bool checking = link()->Checking();
  const bool set = link()->CurrentAccount().IsSet();
  view_.SetEnabled({.fields = !checking, .save = !checking, .sync_now = !checking && set, .forget = !checking && set});
  view_.SetStatusText(link()->StatusLine());
}

void SyncForm::SetUpDone(bool accepted) {
  // The password went to the credential store; it is not kept on the screen.
  if (accepted) view_.ClearPassword();
}

void SyncForm::bSalvarClick() {
  if (!link() || link()->Checking()) return;
  const std::string address = Trimmed(view_.AddressText());
  const std::string user = Trimmed(view_.UserText());
  const std::string password = view_.PasswordText();
  if (address.empty()) {
    view_.SetStatusText(kTypeAddress);
    view_.FocusField("eEndereco");
    return;
  }
  // A server without log-in takes neither user nor password.
  if (!user.empty() && password.empty()) {
    view_.SetStatusText(kTypePassword);
    view_.FocusField("eSenha");
    return;
  }
  view_.SetAddressText(address);
  view_.SetUserText(user);
  link()->Configure(address, user, password);
}

void SyncForm::bSincronizarClick() {
  if (link() && !link()->Checking() && link()->CurrentAccount().IsSet()) link()->SyncNow();
}

void SyncForm::bEsquecerClick() {
  if (!link() || link()->Checking() || !link()->CurrentAccount().IsSet()) return;
  if (!App().desktop().AskYesNo(this, kAskForget, BoxIcon::Question, BoxModality::Task)) return;
  link()->Forget();
  view_.SetAddressText({});
  view_.SetUserText({});
  view_.ClearPassword();
}

void SyncForm::bFecharClick() { view_.Close(); }

}  // namespace tavo::forms
