#pragma once
// What a calendar file holds, as reminders: every VEVENT and VTODO read with
// libical and mapped to a date and time on this machine's clock, a kind and
// a text, or to the reason it cannot become a reminder.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/tavo_data.h"

namespace tavo::ical {

// Why an item was not imported (the texts quelvo-cli prints, UTF-8).
namespace reason {
inline constexpr const char* kPassed = "j\xC3\xA1 passou";
inline constexpr const char* kCancelled = "cancelado";
inline constexpr const char* kCompleted = "conclu\xC3\xAD" "do";
inline constexpr const char* kNoDate = "sem data";
inline constexpr const char* kNoText = "sem texto";
inline constexpr const char* kExists = "j\xC3\xA1 existe";
inline constexpr const char* kUnreadable = "n\xC3\xA3o foi poss\xC3\xADvel ler";
}  // namespace reason

// One VEVENT or VTODO of the file.
struct ItemResult {
  TLembrete record;          // the reminder (Windows-1252 text) when `skipped` is empty
  std::string skipped;       // the reason it was not imported (reason::...)
  bool only_next = false;    // a rule Quelvo cannot hold: only its next occurrence
  std::string unknown_zone;  // a TZID nobody defines, taken as local time
};

struct CalendarRead {
  // Empty for a whole iCalendar stream; otherwise why the file is refused
  // (UTF-8), and nothing else is filled.
  std::string refusal;
  std::vector<ItemResult> items;  // in file order
};

// Minutes since 30 December 1899 00:00 of a local date-time value.
int64_t MinutesOf(double date_time);
// The date-time value of such a minute, composed as the reminder window does.
double DateTimeOfMinutes(int64_t minutes);

// How a calendar is read: a file of the plain shape Quelvo exports the
// quick way (plain_calendar.h), everything else with libical; or every file
// with libical (which the tests hold the quick way to).
enum class CalendarReader { Any, LibicalOnly };

// Gives the item its reminder at local minute `at` as `kind`; a minute
// outside the years 1-9999 makes it unreadable instead. Both readers end here.
void PlaceReminder(ItemResult& item, int64_t at, int kind);

// Reads a calendar file. `now` is the minute of the import (MinutesOf the
// platform clock's minute): items that fall before it have passed, and
// series start at their first occurrence from it on.
CalendarRead ReadCalendar(std::string_view bytes, int64_t now, CalendarReader reader = CalendarReader::Any);

}  // namespace tavo::ical
