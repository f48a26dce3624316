#pragma once
// The sync window "Sincronização": the calendar server's address, the user
// and the password for the set-up, the background sync's status line, and
// the commands "Salvar", "Sincronizar agora" and "Esquecer".

#include <functional>
#include <string>

#include "forms/form.h"
#include "sync/sync_account.h"
#include "sync/sync_report.h"

namespace tavo::forms {

// What the windows need of the program's background sync, on the GUI thread
// only. The service's own calls are the protected virtuals (BackgroundSync
// puts sync::SyncService behind them); this class keeps what must outlive a
// window: whether a set-up is being checked, and what the last one said.
class SyncLink {
 public:
  virtual ~SyncLink() = default;

  // From the main window's timer, about once a second.
  void Tick() { DoTick(); }
  sync::Account CurrentAccount() const { return DoCurrentAccount(); }

  // "Salvar": starts the check of a set-up; its result arrives later through
  // Listener.
  void Configure(const std::string& address, const std::string& user, const std::string& password);
  void SyncNow();
  void Forget();

  // True from Configure until its result has come.
  bool Checking() const { return checking_; }
  // The status line: the set-up being checked, its failure, or the service's status.
  std::string StatusLine() const;

  // The open sync window, told on the GUI thread that the status line or
  // Checking() changed, and (after a set-up) whether it was accepted.
  struct Listener {
    std::function<void()> changed;
    std::function<void(bool accepted)> set_up_done;
  };
  Listener listener;

  // The window closed: what it showed of a set-up is not shown again (the
  // outcome of a set-up still being checked shows in the next window).
  void WindowClosed();

 protected:
  virtual void DoTick() = 0;
  virtual sync::Account DoCurrentAccount() const = 0;
  virtual std::string DoStatus() const = 0;
  virtual void DoSyncNow() = 0;
  virtual void DoConfigure(const std::string& address, const std::string& user, const std::string& password,
                           std::function<void(const sync::Report&)> done) = 0;
  virtual void DoForget() = 0;
  // The derived class calls it when the service's status changed.
  void ServiceStatusChanged();

 private:
  void Tell() const;
  bool checking_ = false;
  // What the window said last on its own: a set-up's refusal (instead of the
  // service's status) or warning (above it) stays until the user does
  // something else; a passing note goes with the next status change.
  enum class Note { Passing, Refusal, Warning };
  std::string note_;
  Note note_kind_ = Note::Passing;
};

// The sync window's controls, as its rules read and set them. The view runs
// FormCreate once its controls exist, FormClose from its close event, the
// buttons' handlers from their clicks, and bSalvarClick also for Enter in a
// field.
class SyncView : public WindowView {
 public:
  virtual std::string AddressText() const = 0;
  virtual void SetAddressText(const std::string& text) = 0;
  virtual std::string UserText() const = 0;
  virtual void SetUserText(const std::string& text) = 0;
  // The password field is written only to be emptied.
  virtual std::string PasswordText() const = 0;
  virtual void ClearPassword() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  // Which controls take input; "Fechar" always does. A control that loses
  // the keyboard focus this way hands it to "Fechar".
  struct Enabled {
    bool fields = true;    // eEndereco, eUsuario, eSenha
    bool save = true;      // bSalvar
    bool sync_now = true;  // bSincronizar
    bool forget = true;    // bEsquecer
    bool operator==(const Enabled&) const = default;
  };
  virtual void SetEnabled(const Enabled& enabled) = 0;
  // Puts the keyboard focus in a field of the table ("eEndereco", ...).
  virtual void FocusField(const char* name) = 0;
};

class SyncForm : public Form {
 public:
  static constexpr const char* kChecking = "Verificando...";
  static constexpr const char* kAskForget =
      "Esquecer a conta de sincronização neste computador? Os lembretes continuam aqui e no servidor.";

  SyncForm(Application& app, SyncView& view);
  ~SyncForm() override;
  SyncView& View() const override { return view_; }

  void FormCreate();
  void FormClose();
  // Escape closes the window, as "Fechar" does.
  bool FormKeyDown(int key);
  void bSalvarClick();
  void bSincronizarClick();
  void bEsquecerClick();
  void bFecharClick();

 private:
  // Shows the status line and which controls take input, from the link's state.
  void ShowState();
  void SetUpDone(bool accepted);
  SyncLink* link() const { return App().Sync; }
  SyncView& view_;
};

}  // namespace tavo::forms
