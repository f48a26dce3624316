#pragma once
// The main window's backup and restore commands ("Gravar Backup",
// "Restaurar Backup" and their tray menu items): the dialogs, the questions
// and the messages around store/backup.

namespace tavo::forms {

class Application;
class Form;

// Asks for a backup file and writes all reminders into it.
void bDoBackupClick(Application& app, const Form* owner);
// Asks for a backup file and replaces all reminders by its content.
void bRestoreBackupClick(Application& app, const Form* owner);

}  // namespace tavo::forms
