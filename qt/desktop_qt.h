#pragma once
// The desktop of the Qt front-end: what the windows' rules ask of the
// desktop (forms/desktop.h), done with Qt, and the one application object
// of the program.

#include <QPointer>
#include <QWidget>

#include "forms/desktop.h"
#include "forms/form.h"

namespace tavo::gui {

class TformStatus;
class QtPrinterCanvas;

class QtDesktop : public forms::Desktop {
 public:
  explicit QtDesktop(Store& store);
  ~QtDesktop() override;

  forms::Application& app() { return app_; }

  void ShowMessage(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                   forms::BoxModality modality) override;
  void ShowDetailedMessage(const forms::Form* owner, const std::string& text, const std::string& details,
                           forms::BoxIcon icon, forms::BoxModality modality) override;
  bool AskYesNo(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                forms::BoxModality modality) override;
  std::string AskFileName(const forms::Form* owner, const forms::FileDialog& dialog) override;
  std::optional<int32_t> AskColor(const forms::Form* owner, int32_t initial) override;
  forms::PrinterCanvas* AskPrinter(const forms::Form* owner) override;
  forms::Form& CreateWindow(forms::WindowKind kind) override;
  void MinimizeApplication() override { minimized_ = true; }
  void RestoreApplication() override { minimized_ = false; }
  forms::Size ScreenSize() override;
  void ShowStatusBox(const forms::Form* owner, const std::string& text) override;
  void CloseStatusBox() override;
  forms::Size MeasureText(const forms::Font& font, const std::string& text, int width) override;
  void PlaySound(const std::string& path) override;
  void StopSound() override;

  // The application's minimised state: with the main window hidden and no
  // other window open, only the tray icon remains.
  bool ApplicationMinimized() const { return minimized_; }

 private:
  forms::Application app_;
  bool minimized_ = false;
  QPointer<TformStatus> status_;
};

// The program's desktop, made by main() (or a test) and registered here.
QtDesktop& TheDesktop();
void SetTheDesktop(QtDesktop* desktop);
// Its application: the open windows and the state they share.
forms::Application& App();

// The widget of a window's form (every Qt window is its own view).
QWidget* WidgetOf(const forms::Form* form);
// The window of a form, as its Qt class (nullptr for another kind).
template <typename W>
W* WindowOf(const forms::Form* form) {
  return dynamic_cast<W*>(WidgetOf(form));
}

// Shows a window, brings it to the top and makes it the foreground window.
void BringToFront(QWidget* window);

}  // namespace tavo::gui
