#pragma once
// The sync window "Sincronização": its widgets, as a view over
// forms::SyncForm (the set-up of the calendar server and the background
// sync's status line).

#include "forms/sync_form.h"
#include "qt/shaped_window.h"

class QLabel;
class QLineEdit;

namespace tavo::gui {

class TGradBtn;

class TformSync : public ShapedWindow, public forms::SyncView {
  Q_OBJECT
 public:
  explicit TformSync(forms::Application& app);

  forms::SyncForm form;

  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *lStatus = nullptr;
  QLineEdit *eEndereco = nullptr, *eUsuario = nullptr, *eSenha = nullptr;
  TGradBtn *bSalvar = nullptr, *bSincronizar = nullptr, *bEsquecer = nullptr, *bFechar = nullptr;

  static constexpr int kWidth = 417;
  static constexpr int kHeight = 278;

  // forms::SyncView
  void Close() override { close(); }
  void BringToFront() override;
  bool IsForeground() const override { return isActiveWindow(); }
  std::string AddressText() const override;
  void SetAddressText(const std::string& text) override;
  std::string UserText() const override;
  void SetUserText(const std::string& text) override;
  std::string PasswordText() const override;
  void ClearPassword() override;
  void SetStatusText(const std::string& text) override;
  void SetEnabled(const Enabled& enabled) override;
  void FocusField(const char* name) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tavo::gui
