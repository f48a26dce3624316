#include "qt/message_box.h"

#include "qt/gui_common.h"

namespace tavo::gui {
namespace {

BoxAnswerer& Answerer() {
  static BoxAnswerer answerer;
  return answerer;
}

QMessageBox::Icon QtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Error: return QMessageBox::Critical;
    case BoxIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton Show(QWidget* owner, const QString& text, BoxIcon icon, BoxModality modality,
                                 bool question) {
  if (Answerer()) return Answerer()(text, icon);
  QMessageBox box(QtIcon(icon), kAppTitle, text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  modality == BoxModality::Window ? owner : nullptr);
  box.setDefaultButton(question ? QMessageBox::No : QMessageBox::Ok);
  box.setWindowModality(modality == BoxModality::Window ? Qt::WindowModal : Qt::ApplicationModal);
  // A system-modal box stays above every window, like the original's.
  if (modality == BoxModality::System) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void ShowMessage(QWidget* owner, const QString& text, BoxIcon icon, BoxModality modality) {
  Show(owner, text, icon, modality, false);
}

bool AskYesNo(QWidget* owner, const QString& text, BoxModality modality, BoxIcon icon) {
  return Show(owner, text, icon, modality, true) == QMessageBox::Yes;
}

void ShowGeneralError(QWidget* owner, QString text) {
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  ShowMessage(owner, text, BoxIcon::Error, BoxModality::Application);
}

void SetBoxAnswerer(BoxAnswerer answerer) { Answerer() = std::move(answerer); }

}  // namespace tavo::gui
