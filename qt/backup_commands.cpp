#include "qt/backup_commands.h"

#include <QFile>
#include <QFileDialog>

#include "qt/app_state.h"
#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "store/backup.h"
#include "store/tavo_data.h"

namespace tavo::gui {
namespace {

std::function<QString()>& DialogAnswer() {
  static std::function<QString()> answer;
  return answer;
}

const QString kBackupFilter = QStringLiteral("Backup do Quelvo 3 (*.tvb)");

// The save or open dialog of backup files; an empty text when cancelled.
QString AskBackupFile(QWidget* owner, QFileDialog::AcceptMode mode) {
  if (DialogAnswer()) return DialogAnswer()();
  QFileDialog dialog(owner);
  dialog.setAcceptMode(mode);
  // The save dialog asks before replacing a file (Qt's default); the open
  // dialog takes only an existing file.
  dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(kBackupFilter);
  dialog.setDefaultSuffix(QStringLiteral("tvb"));
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

void SetFileDialogAnswer(std::function<QString()> answer) { DialogAnswer() = std::move(answer); }

void DoBackup(QWidget* owner) {
  if (Lembretes.Count == 0) {
    ShowMessage(nullptr, FromCp(msg::kBackupNotNeeded), BoxIcon::Information, BoxModality::System);
    return;
  }
  const QString path = AskBackupFile(owner, QFileDialog::AcceptSave);
  // The dialog let the message loop run: the program may be ending by now.
  if (path.isEmpty() || ShuttingDown()) return;
  switch (WriteBackup(NativePath(path))) {
    case BackupResult::Done: break;
    case BackupResult::EmptyStore:
      ShowMessage(nullptr, FromCp(msg::kBackupNotNeeded), BoxIcon::Information, BoxModality::System);
      break;
    case BackupResult::Failed:
      ShowMessage(nullptr, FromCp(msg::kBackupFailed), BoxIcon::Error, BoxModality::System);
      break;
  }
}

void RestoreBackup(QWidget* owner) {
  const QString path = AskBackupFile(owner, QFileDialog::AcceptOpen);
  if (path.isEmpty()) return;
  // An empty store is replaced without asking.
  if (Lembretes.Count > 0 && !AskYesNo(nullptr, FromCp(msg::kRestoreQuestion), BoxModality::System, BoxIcon::Information)) return;
  if (ShuttingDown()) return;
  CloseReminderWindows();
  RestoreResult result;
  try {
    result = ::tavo::RestoreBackup(NativePath(path));
  } catch (const StoreStopped&) {
    return;  // the store failure has been shown; the program ends
  }
  if (result != RestoreResult::Done)
    ShowMessage(nullptr, FromCp(msg::kRestoreInvalid), BoxIcon::Error, BoxModality::System);
}

}  // namespace tavo::gui
