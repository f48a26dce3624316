#pragma once
// The desktop the windows' rules run on, in the Windows API: message boxes,
// the common dialogs (open, save, colour, print), creating the windows, the
// minimised state, the wait box, text measuring with DrawText, the printer
// and the alarm sound.

#include "win32/windows_api.h"

#include <memory>
#include <optional>

#include "forms/desktop.h"
#include "forms/form.h"

namespace tavo::win32 {

class PrinterDc;

class Win32Desktop : public forms::Desktop {
 public:
  Win32Desktop();
  ~Win32Desktop() override;
  // The application the windows this desktop creates belong to.
  void SetApplication(forms::Application* app) { app_ = app; }

  void ShowMessage(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                   forms::BoxModality modality) override;
  bool AskYesNo(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                forms::BoxModality modality) override;
  void ShowDetailedMessage(const forms::Form* owner, const std::string& text, const std::string& details,
                           forms::BoxIcon icon, forms::BoxModality modality) override;
  std::string AskFileName(const forms::Form* owner, const forms::FileDialog& dialog) override;
  std::optional<int32_t> AskColor(const forms::Form* owner, int32_t initial) override;
  forms::PrinterCanvas* AskPrinter(const forms::Form* owner) override;
  forms::Form& CreateWindow(forms::WindowKind kind) override;
  void MinimizeApplication() override;
  void RestoreApplication() override;
  forms::Size ScreenSize() override;
  void ShowStatusBox(const forms::Form* owner, const std::string& text) override;
  void CloseStatusBox() override;
  forms::Size MeasureText(const forms::Font& font, const std::string& text, int width) override;
  void PlaySound(const std::string& path) override;
  void StopSound() override;

 private:
  forms::Application* app_ = nullptr;
  HWND status_box_ = nullptr;
  // The printer chosen last, kept for the program's run.
  HGLOBAL dev_mode_ = nullptr;
  HGLOBAL dev_names_ = nullptr;
  std::unique_ptr<PrinterDc> printer_;
};

// The window of a form, for owning boxes and dialogs; nullptr for none.
HWND WindowOf(const forms::Form* form);

// The font of the rules' description (family, pixel height, weight) on the screen.
HFONT ScreenFont(const forms::Font& font);

}  // namespace tavo::win32
