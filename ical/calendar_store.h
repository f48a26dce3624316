#pragma once
// Calendar files in and out of the store: the one place where the mapping
// meets the store's table and files.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"

namespace tavo {
class Store;
}

namespace tavo::ical {

// The calendar of table positions first to after - 1; `count` gets the
// number of reminders in it. DTSTAMP is the platform clock's now.
std::string ExportStore(Store& store, int32_t first, int32_t after, int* count);
// The same calendar handed to `sink` in pieces; false when the sink stopped it.
bool ExportStore(Store& store, int32_t first, int32_t after, int* count, const CalendarSink& sink);
// The same calendar written to the file at `path` (made or replaced, and on
// the disk before it returns); false when it could not be written.
bool ExportStoreToFile(Store& store, int32_t first, int32_t after, const std::string& path, int* count);

struct ImportOutcome {
  std::string refusal;             // not a whole calendar: nothing stored
  std::vector<ItemResult> items;   // every item, in file order, with duplicates marked reason::kExists
  int imported = 0;
  int ignored = 0;
};

// Adds the reminders a calendar file holds, as one batch (AddLembretes):
// items already stored, or met earlier in the same file, are skipped as
// reason::kExists. "Now" is the platform clock's minute. A store failure is
// reported by the store (StoreStopped), with nothing added.
ImportOutcome ImportIntoStore(Store& store, std::string_view bytes);
// The same in two steps, so that a window can read the file away from its
// own thread: ReadCalendar(bytes, ImportMinute()), which needs no store,
// then this, on the store's thread.
int64_t ImportMinute();
ImportOutcome ImportIntoStore(Store& store, CalendarRead read);

// What the user is told about the items not imported as they were, one
// line each (UTF-8): "ignorado: TEXT: REASON", "importado só o próximo:
// TEXT", "hora local: TEXT: fuso horário desconhecido "ZONE"", TEXT being
// the first line of the item's text.
std::vector<std::string> ImportNotes(const ImportOutcome& outcome);

}  // namespace tavo::ical
