#include "qt/dialogs.h"

#include <QColorDialog>
#include <QAbstractButton>
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

// Qt captions the details button in English ("Show Details..."), and again
// on every click; it says it in Portuguese here.
void NameDetailsButton(QMessageBox& box) {
  for (QAbstractButton* button : box.buttons()) {
    if (box.buttonRole(button) != QMessageBox::ActionRole) continue;
    auto caption = [button](bool shown) {
      button->setText(shown ? QStringLiteral("Ocultar Detalhes") : QStringLiteral("Mostrar Detalhes..."));
    };
    caption(false);
    // Queued: the box sets its own caption after the click's handlers.
    QObject::connect(
        button, &QAbstractButton::clicked, button,
        [caption, shown = false]() mutable {
          shown = !shown;
          caption(shown);
        },
        Qt::QueuedConnection);
  }
}

QMessageBox::StandardButton Show(QWidget* owner, const QString& text, forms::BoxIcon icon,
                                 forms::BoxModality modality, bool question, const QString& details = {}) {
  if (g_answerer)
    return details.isEmpty() ? g_answerer->AnswerBox(text, icon) : g_answerer->AnswerDetailedBox(text, details, icon);
  QMessageBox box(QtIcon(icon), kAppTitle, text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  owner);
  if (!details.isEmpty()) {
    box.setDetailedText(details);
    NameDetailsButton(box);
  }
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

void ShowDetailedMessage(QWidget* owner, const QString& text, const QString& details, forms::BoxIcon icon,
                         forms::BoxModality modality) {
  Show(owner, text, icon, modality, false, details);
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
