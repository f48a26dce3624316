#include "forms/backup_flow.h"

#include "forms/form.h"
#include "store/backup.h"
#include "store/cp1252.h"
#include "store/tavo_data.h"

namespace tavo::forms {
namespace {

const FileDialog kSaveBkp{FileDialog::Kind::Save, "Backup do Quelvo 3", "*.tvb", "tvb"};
const FileDialog kOpenBkp{FileDialog::Kind::Open, "Backup do Quelvo 3", "*.tvb", "tvb"};

void Tell(Application& app, const char* cp1252, BoxIcon icon) {
  app.desktop().ShowMessage(nullptr, Cp1252ToUtf8(cp1252), icon, BoxModality::System);
}

}  // namespace

void bDoBackupClick(Application& app, const Form* owner) {
  if (app.store().Lembretes.Count == 0) {
    Tell(app, msg::kBackupNotNeeded, BoxIcon::Information);
    return;
  }
  const std::string path = app.desktop().AskFileName(owner, kSaveBkp);
  // The dialog let the message loop run: the program may be ending by now.
  if (path.empty() || app.ShuttingDown) return;
  switch (WriteBackup(app.store(), path)) {
    case BackupResult::Done: break;
    case BackupResult::EmptyStore: Tell(app, msg::kBackupNotNeeded, BoxIcon::Information); break;
    case BackupResult::Failed: Tell(app, msg::kBackupFailed, BoxIcon::Error); break;
  }
}

void bRestoreBackupClick(Application& app, const Form* owner) {
  const std::string path = app.desktop().AskFileName(owner, kOpenBkp);
  if (path.empty()) return;
  // An empty store is replaced without asking.
  if (app.store().Lembretes.Count > 0 && !app.desktop().AskYesNo(nullptr, Cp1252ToUtf8(msg::kRestoreQuestion),
                                                      BoxIcon::Information, BoxModality::System))
    return;
  if (app.ShuttingDown) return;
  app.CloseReminderWindows();
  RestoreResult result;
  try {
    result = RestoreBackup(app.store(), path);
  } catch (const StoreStopped&) {
    return;  // the store failure has been shown; the program ends
  }
  if (result != RestoreResult::Done) Tell(app, msg::kRestoreInvalid, BoxIcon::Error);
}

}  // namespace tavo::forms
