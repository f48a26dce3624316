#include "qt/dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QPrintDialog>

#include "qt/gui_common.h"

namespace tavo::gui {
namespace {

DialogAnswerer* g_answerer = nullptr;

QMessageBox::Icon QtIcon(forms::BoxIcon icon) {
  switch (icon) {
    case forms::BoxIcon::Information: return QMessageBox::Information;
    case forms::BoxIcon::Error: return QMessageBox::Critical;
    case forms::BoxIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton Show(QWidget* owner, const QString& text, forms::BoxIcon icon,
                                 forms::BoxModality modality, bool question) {
  if (g_answerer) return g_answerer->AnswerBox(text, icon);
  QMessageBox box(QtIcon(icon), kAppTitle, text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  owner);
  box.setDefaultButton(question ? QMessageBox::No : QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  // A system-modal box stays above every window.
  if (modality == forms::BoxModality::System) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void SetDialogAnswerer(DialogAnswerer* answerer) { g_answerer = answerer; }

void ShowMessage(QWidget* owner, const QString& text, forms::BoxIcon icon, forms::BoxModality modality) {
  Show(owner, text, icon, modality, false);
}

bool AskYesNo(QWidget* owner, const QString& text, forms::BoxIcon icon, forms::BoxModality modality) {
  return Show(owner, text, icon, modality, true) == QMessageBox::Yes;
}

QString AskFileName(QWidget* owner, const forms::FileDialog& wanted) {
  if (g_answerer) return g_answerer->AnswerFile(wanted);
  const bool save = wanted.kind == forms::FileDialog::Kind::Save;
  QFileDialog dialog(owner);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The save dialog asks before replacing a file (Qt's default); the open
  // dialog takes only an existing file.
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QString::fromStdString(wanted.filter_name + " (" + wanted.pattern + ")"));
  dialog.setDefaultSuffix(QString::fromStdString(wanted.default_extension));
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QColor AskColor(QWidget* owner, const QColor& initial) {
  if (g_answerer) return g_answerer->AnswerColor(initial);
  return QColorDialog::getColor(initial, owner, QString());
}

bool AskPrint(QWidget* owner, QPrinter& printer) {
  if (g_answerer) return g_answerer->AnswerPrint(printer);
  QPrintDialog PrintDialog(&printer, owner);
  return PrintDialog.exec() == QDialog::Accepted;
}

}  // namespace tavo::gui
