#include "forms/calendar_flow.h"

#include <chrono>
#include <functional>
#include <future>

#include "forms/list_form.h"
#include "ical/calendar_store.h"
#include "platform/file_system.h"
#include "store/date_text.h"
#include "store/tavo_data.h"

namespace tavo::forms {
namespace {

const FileDialog kSaveIcs{FileDialog::Kind::Save, "Calend\xC3\xA1rio", "*.ics", "ics"};
const FileDialog kOpenIcs{FileDialog::Kind::Open, "Calend\xC3\xA1rio", "*.ics", "ics"};

constexpr const char* kNothingToExport = "N\xC3\xA3o h\xC3\xA1 lembretes para exportar";
constexpr const char* kImporting = "Importando calend\xC3\xA1rio...";

void Tell(Application& app, const Form* owner, const std::string& text, BoxIcon icon) {
  app.desktop().ShowMessage(owner, text, icon, BoxModality::Task);
}

std::string Counted(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

}  // namespace

std::string ExportSummary(int count) { return Counted(count, "lembrete exportado", "lembretes exportados"); }

std::string ImportSummary(const ical::ImportOutcome& outcome) {
  return Counted(outcome.imported, "lembrete importado", "lembretes importados") + ", " +
         Counted(outcome.ignored, "ignorado", "ignorados");
}

std::string ImportDetails(const ical::ImportOutcome& outcome) {
  std::string lines;
  for (const std::string& note : ical::ImportNotes(outcome)) lines += (lines.empty() ? "" : "\n") + note;
  return lines;
}

void ExportCalendarRange(Application& app, const Form* owner, int32_t first, int32_t after) {
  if (after <= first) {
    Tell(app, owner, kNothingToExport, BoxIcon::Information);
    return;
  }
  const std::string path = app.desktop().AskFileName(owner, kSaveIcs);
  // The dialog let the message loop run: the program may be ending by now.
  if (path.empty() || app.ShuttingDown) return;
  int count = 0;
  bool written = false;
  try {
    written = ical::ExportStoreToFile(app.store(), first, after, path, &count);
  } catch (const StoreStopped&) {
    return;  // the store failure has been shown; the program ends
  }
  if (!written) {
    Tell(app, owner, "N\xC3\xA3o foi poss\xC3\xADvel gravar o arquivo \"" + path + "\"", BoxIcon::Error);
    return;
  }
  Tell(app, owner, ExportSummary(count), BoxIcon::Information);
}

void ExportAllCalendar(Application& app, const Form* owner) {
  app.store().WaitForBothFlags();
  ExportCalendarRange(app, owner, 0, app.store().Lembretes.Count);
}

void ExportListedCalendar(ListForm& list) {
  Store& store = list.store();
  store.WaitForBothFlags();
  int32_t first = 0, after = 0;
  if (list.ListedEntries.Count > 0) {
    // The listed run as the table holds it now, reminders added into it since included.
    first = store.FindLembrete(list.ListedEntries[0]);
    const int32_t last = store.FindLembrete(list.ListedEntries[list.ListedEntries.Count - 1]);
    after = first < 0 || last < first ? first : last + 1;
  }
  ExportCalendarRange(list.App(), &list, first, after);
}

void ImportCalendar(Application& app, const Form* owner) {
  // One import at a time: the windows answer while one reads its file.
  static bool importing = false;
  if (importing) return;
  importing = true;
  struct Done {
    ~Done() { importing = false; }
  } done;
  const std::string path = app.desktop().AskFileName(owner, kOpenIcs);
  if (path.empty() || app.ShuttingDown) return;
  std::string bytes;
  if (!platform::ReadWholeFile(platform::Files(), path, &bytes)) {
    Tell(app, owner, "N\xC3\xA3o foi poss\xC3\xADvel ler o arquivo \"" + path + "\"", BoxIcon::Error);
    return;
  }
  ical::ImportOutcome outcome;
  {
    struct StatusBox {
      Desktop& desktop;
      ~StatusBox() { desktop.CloseStatusBox(); }
    } status{app.desktop()};
    app.desktop().ShowStatusBox(owner, kImporting);
    // The file is read on a worker thread (it touches no store) while the
    // windows go on answering: a large calendar from another program takes
    // seconds through libical. The future waits for its thread however this
    // is left.
    auto reading = std::async(std::launch::async, [&bytes, now = ical::ImportMinute()] {
      return ical::ReadCalendar(bytes, now);
    });
    const std::function<void()>& pump = app.store().Hooks.PumpMessages;
    while (reading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
      if (pump) pump();
    ical::CalendarRead read = reading.get();
    if (app.ShuttingDown) return;
    // The store's operations wait for its busy flags themselves.
    try {
      outcome = ical::ImportIntoStore(app.store(), std::move(read));
    } catch (const StoreStopped&) {
      return;
    }
  }
  if (!outcome.refusal.empty()) {
    Tell(app, owner, outcome.refusal, BoxIcon::Error);
    return;
  }
  app.desktop().ShowDetailedMessage(owner, ImportSummary(outcome), ImportDetails(outcome), BoxIcon::Information,
                                    BoxModality::Task);
}

}  // namespace tavo::forms
