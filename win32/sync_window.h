#pragma once
// The sync window `formSync`: the calendar server's address, the user and
// the password, the background sync's status line and its four buttons, as
// a view over forms::SyncForm.

#include "forms/sync_form.h"
#include "win32/controls.h"
#include "win32/shaped_window.h"

namespace tavo::win32 {

// A word-wrapped text on the window's picture that the program changes; a
// screen reader reads the text itself and hears of each change.
class StatusLine : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font);
  void Show(const std::string& text);
  // The parent's picture behind the text: set by the form.
  HBRUSH background = nullptr;
  HBRUSH OnCtlColor(HDC dc) override;
};

class SyncWindow : public ShapedWindow, public forms::SyncView {
 public:
  explicit SyncWindow(forms::Application& app);
  ~SyncWindow() override;

  forms::SyncForm form;
  Edit eEndereco, eUsuario, eSenha;
  FlatButton bSalvar, bSincronizar, bEsquecer, bFechar;
  StatusLine lStatus;

  // forms::WindowView
  void Close() override;
  void BringToFront() override;
  bool IsForeground() const override;
  // forms::SyncView
  std::string AddressText() const override { return eEndereco.Text(); }
  void SetAddressText(const std::string& text) override { eEndereco.SetText(text); }
  std::string UserText() const override { return eUsuario.Text(); }
  void SetUserText(const std::string& text) override { eUsuario.SetText(text); }
  std::string PasswordText() const override { return eSenha.Text(); }
  void ClearPassword() override { eSenha.SetText({}); }
  void SetStatusText(const std::string& text) override { lStatus.Show(text); }
  void SetEnabled(const Enabled& enabled) override;
  void FocusField(const char* name) override;

 protected:
  void FormClose() override { form.FormClose(); }
  bool FormKeyDown(WPARAM key) override { return form.FormKeyDown(static_cast<int>(key)); }

 private:
  HBRUSH picture_brush_ = nullptr;
};

}  // namespace tavo::win32
