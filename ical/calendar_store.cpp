#include "ical/calendar_store.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "dates/date_time.h"
#include "ical/calendar_export.h"
#include "platform/system.h"
#include "store/date_text.h"
#include "store/tavo_data.h"

namespace tavo::ical {
namespace {

// What makes two reminders the same to the user: date, time, kind and text.
std::string Identity(const TLembrete& r) {
  std::string key(sizeof r.DateTime + 1, '\0');
  std::memcpy(key.data(), &r.DateTime, sizeof r.DateTime);
  key[sizeof r.DateTime] = static_cast<char>(EffectiveRepeatKind(r.RepeatKind));
  key += r.Text;
  return key;
}


}  // namespace

std::string ExportStore(Store& store, int32_t first, int32_t after, int* count) {
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
  return ExportCalendar(reminders, NowUtcSeconds());
}

ImportOutcome ImportIntoStore(Store& store, std::string_view bytes) {
  ImportOutcome outcome;
  CalendarRead read = ReadCalendar(bytes, MinutesOf(CurrentMinute()));
  if (!read.refusal.empty()) {
    outcome.refusal = std::move(read.refusal);
    return outcome;
  }
  std::unordered_set<std::string> known;
  for (const TLembrete& r : store.ReadLembretes(0, store.Lembretes.Count)) known.insert(Identity(r));
  std::vector<TLembrete> batch;
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

}  // namespace tavo::ical
