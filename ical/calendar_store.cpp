#include "ical/calendar_store.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "dates/date_time.h"
#include "ical/calendar_export.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "store/tavo_data.h"

namespace tavo::ical {
namespace {

// What makes two reminders the same to the user: date, time, kind and text.
// The text is viewed where the reminder lives (the store's copy or the
// file's item), so that tens of thousands of them cost no copies.
struct Identity {
  double date_time;
  int kind;
  std::string_view text;
  explicit Identity(const TLembrete& r)
      : date_time(r.DateTime), kind(EffectiveRepeatKind(r.RepeatKind)), text(r.Text) {}
  bool operator==(const Identity& o) const {
    return std::memcmp(&date_time, &o.date_time, sizeof date_time) == 0 && kind == o.kind && text == o.text;
  }
};

struct IdentityHash {
  size_t operator()(const Identity& i) const {
    uint64_t bits;
    std::memcpy(&bits, &i.date_time, sizeof bits);
    return std::hash<std::string_view>()(i.text) ^ (bits * 0x9E3779B97F4A7C15ULL) ^ static_cast<size_t>(i.kind);
  }
};

}  // namespace

namespace {

// The reminders of table positions first to after - 1 in the order they are
// written; `count` gets the number with a valid date.
std::vector<TLembrete> ExportedReminders(Store& store, int32_t first, int32_t after, int* count) {
  std::vector<TLembrete> reminders = store.ReadLembretes(first, after);
  // Within one minute the table holds the newest reminder first; written
  // oldest first, an import adds them in an order that lists as they did.
  for (auto run = reminders.begin(); run != reminders.end();) {
    auto end = run;
    while (end != reminders.end() && end->DateTime == run->DateTime) ++end;
    std::reverse(run, end);
    run = end;
  }
  *count = static_cast<int>(std::count_if(reminders.begin(), reminders.end(),
                                         [](const TLembrete& r) { return IsValidDateTime(r.DateTime); }));
  return reminders;
}

}  // namespace

bool ExportStore(Store& store, int32_t first, int32_t after, int* count, const CalendarSink& sink) {
  return ExportCalendar(ExportedReminders(store, first, after, count), NowUtcSeconds(), sink);
}

std::string ExportStore(Store& store, int32_t first, int32_t after, int* count) {
  return ExportCalendar(ExportedReminders(store, first, after, count), NowUtcSeconds());
}

bool ExportStoreToFile(Store& store, int32_t first, int32_t after, const std::string& path, int* count) {
  // The store is read first: a store that fails leaves the file untouched.
  const std::vector<TLembrete> reminders = ExportedReminders(store, first, after, count);
  auto file = platform::Files().Open(path, platform::OpenMode::Create);
  if (!file) return false;
  const bool written = ExportCalendar(reminders, NowUtcSeconds(), [&file](std::string_view piece) {
    return file->Write(piece.data(), piece.size());
  }) && file->Sync();
  return file->Close() && written;
}

int64_t ImportMinute() { return MinutesOf(CurrentMinute()); }

ImportOutcome ImportIntoStore(Store& store, std::string_view bytes) {
  return ImportIntoStore(store, ReadCalendar(bytes, ImportMinute()));
}

ImportOutcome ImportIntoStore(Store& store, CalendarRead read) {
  ImportOutcome outcome;
  if (!read.refusal.empty()) {
    outcome.refusal = std::move(read.refusal);
    return outcome;
  }
  const std::vector<TLembrete> stored = store.ReadLembretes(0, store.Lembretes.Count);
  std::unordered_set<Identity, IdentityHash> known;
  known.reserve(stored.size() + read.items.size());
  for (const TLembrete& r : stored) known.insert(Identity(r));
  std::vector<TLembrete> batch;
  batch.reserve(read.items.size());
  for (ItemResult& item : read.items) {
    if (item.skipped.empty() && !known.insert(Identity(item.record)).second) item.skipped = reason::kExists;
    if (item.skipped.empty()) {
      batch.push_back(item.record);
    } else {
      ++outcome.ignored;
    }
  }
  store.AddLembretes(batch);
  outcome.imported = static_cast<int>(batch.size());
  outcome.items = std::move(read.items);
  return outcome;
}

namespace {

std::string FirstLineUtf8(const std::string& cp1252) {
  const auto end = std::find_if(cp1252.begin(), cp1252.end(), [](char c) { return c == '\r' || c == '\n'; });
  return Cp1252ToUtf8(std::string(cp1252.begin(), end));
}

}  // namespace

std::vector<std::string> ImportNotes(const ImportOutcome& outcome) {
  std::vector<std::string> notes;
  // Most items were imported as they are and have nothing to tell.
  for (const ItemResult& item : outcome.items) {
    if (!item.skipped.empty()) {
      notes.push_back("ignorado: " + FirstLineUtf8(item.record.Text) + ": " + item.skipped);
      continue;
    }
    if (item.only_next) notes.push_back("importado s\xC3\xB3 o pr\xC3\xB3ximo: " + FirstLineUtf8(item.record.Text));
    if (!item.unknown_zone.empty())
      notes.push_back("hora local: " + FirstLineUtf8(item.record.Text) + ": fuso hor\xC3\xA1rio desconhecido \"" +
                      item.unknown_zone + "\"");
  }
  return notes;
}

}  // namespace tavo::ical
