#pragma once
// Calendar files from the windows ("Exportar Calendário", "Importar
// Calendário" in the tray menu, and the list window's export of its range):
// the file dialogs, the wait box and the boxes around ical/calendar_store.

#include <cstdint>
#include <string>

namespace tavo::ical {
struct ImportOutcome;
}

namespace tavo::forms {

class Application;
class Form;
class ListForm;

// Asks for a calendar file and writes the reminders of table positions
// first to after - 1 into it.
void ExportCalendarRange(Application& app, const Form* owner, int32_t first, int32_t after);
// Every reminder (the main window and the tray menu).
void ExportAllCalendar(Application& app, const Form* owner);
// The range the list window shows.
void ExportListedCalendar(ListForm& list);
// Asks for a calendar file and adds the reminders it holds, then tells how
// many were imported and ignored, with the reasons on request.
void ImportCalendar(Application& app, const Form* owner);

// "1 lembrete exportado", "12 lembretes exportados".
std::string ExportSummary(int count);
// "12 lembretes importados, 3 ignorados", singular where it is one.
std::string ImportSummary(const ical::ImportOutcome& outcome);
// One line per item worth a word: ignored ones with their reason, those of
// which only the next occurrence was taken, those whose zone nobody knew.
std::string ImportDetails(const ical::ImportOutcome& outcome);

}  // namespace tavo::forms
