#include "qt/desktop_qt.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QScreen>

#include "platform/system.h"
#include "qt/accessibility.h"
#include "qt/dialogs.h"
#include "qt/gui_common.h"
#include "qt/printer_canvas.h"
#include "qt/status.h"
#include "qt/tavo_config.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"
#include "qt/sync_window.h"

namespace tavo::gui {
namespace {

QtDesktop* g_desktop = nullptr;

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QtDesktop::QtDesktop(Store& store) : app_(*this, store) { InstallAccessibility(); }

QtDesktop::~QtDesktop() {
  // Windows still open go first, the newest first: their forms leave the
  // application's list as they go.
  while (!app_.OwnedWindows().empty()) delete WidgetOf(app_.OwnedWindows().back());
  if (g_desktop == this) g_desktop = nullptr;
}

QtDesktop& TheDesktop() { return *g_desktop; }
void SetTheDesktop(QtDesktop* desktop) { g_desktop = desktop; }
forms::Application& App() { return g_desktop->app(); }

QWidget* WidgetOf(const forms::Form* form) { return form ? dynamic_cast<QWidget*>(&form->View()) : nullptr; }

void BringToFront(QWidget* window) {
  if (window->isMinimized()) window->showNormal();
  window->show();
  window->raise();
  window->activateWindow();
}

void QtDesktop::ShowMessage(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                            forms::BoxModality modality) {
  gui::ShowMessage(WidgetOf(owner), Utf8(text), icon, modality);
}

void QtDesktop::ShowDetailedMessage(const forms::Form* owner, const std::string& text, const std::string& details,
                                    forms::BoxIcon icon, forms::BoxModality modality) {
  gui::ShowDetailedMessage(WidgetOf(owner), Utf8(text), Utf8(details), icon, modality);
}

bool QtDesktop::AskYesNo(const forms::Form* owner, const std::string& text, forms::BoxIcon icon,
                         forms::BoxModality modality) {
  return gui::AskYesNo(WidgetOf(owner), Utf8(text), icon, modality);
}

std::string QtDesktop::AskFileName(const forms::Form* owner, const forms::FileDialog& dialog) {
  const QString path = gui::AskFileName(WidgetOf(owner), dialog);
  return path.isEmpty() ? std::string() : QFile::encodeName(path).toStdString();
}

std::optional<int32_t> QtDesktop::AskColor(const forms::Form* owner, int32_t initial) {
  const QColor chosen = gui::AskColor(WidgetOf(owner), ColorFromValue(initial));
  if (!chosen.isValid()) return std::nullopt;
  return ValueFromColor(chosen);
}

forms::PrinterCanvas* QtDesktop::AskPrinter(const forms::Form* owner) {
  // One printer for the whole run of the program, so that the chosen printer
  // stays chosen; deliberately never freed, it may outlive the application object.
  static QtPrinterCanvas* canvas = new QtPrinterCanvas;
  canvas->Printer().setPageOrientation(QPageLayout::Portrait);
  return gui::AskPrint(WidgetOf(owner), canvas->Printer()) ? canvas : nullptr;
}

forms::Form& QtDesktop::CreateWindow(forms::WindowKind kind) {
  switch (kind) {
    case forms::WindowKind::List: return (new TformList(app_))->form;
    case forms::WindowKind::Config: return (new TformConfig(app_))->form;
    case forms::WindowKind::Sync: return (new TformSync(app_))->form;
    case forms::WindowKind::Lembrete:
    case forms::WindowKind::Main: break;  // the main window is made once, by main()
  }
  return (new TformLembrete(app_))->form;
}

forms::Size QtDesktop::ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->geometry().size() : QSize(800, 600);
  return {size.width(), size.height()};
}

void QtDesktop::ShowStatusBox(const forms::Form* owner, const std::string& text) {
  CloseStatusBox();
  status_ = new TformStatus(WidgetOf(owner));
  status_->setEnabled(true);  // a window of its own, not greyed with its owner
  status_->ShowText(Utf8(text));
}

void QtDesktop::CloseStatusBox() {
  if (!status_) return;
  status_->close();
  delete status_;
}

forms::Size QtDesktop::MeasureText(const forms::Font& font, const std::string& text, int width) {
  if (text.empty()) return {};
  const QFontMetrics metrics(PixelFont(Utf8(font.family), font.pixel_height, font.bold));
  const QRect r = metrics.boundingRect(QRect(0, 0, width, 0), Qt::TextWordWrap, Utf8(text));
  return {r.width(), r.height()};
}

void QtDesktop::PlaySound(const std::string& path) {
  platform::Sound().PlayAsync(path);
  Report("som " + path);
}

// Starting no file only cuts the sound playing.
void QtDesktop::StopSound() { platform::Sound().PlayAsync({}); }

}  // namespace tavo::gui
