#pragma once
// The main window's backup and restore commands ("Gravar Backup",
// "Restaurar Backup" and their tray menu items), with their dialogs and boxes.

#include <QString>
#include <functional>

class QWidget;

namespace tavo::gui {

// Asks for a backup file and writes all reminders into it.
void DoBackup(QWidget* owner);
// Asks for a backup file and replaces all reminders by its content.
void RestoreBackup(QWidget* owner);

// A test's stand-in for the save and open dialogs: returns the chosen path,
// or an empty text for a cancelled dialog. Empty: the real dialogs again.
void SetFileDialogAnswer(std::function<QString()> answer);

}  // namespace tavo::gui
