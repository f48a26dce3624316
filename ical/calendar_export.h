#pragma once
// Reminders as an iCalendar file: one VEVENT per reminder at its local date
// and time (a floating time), with a display alarm at that minute and, for a
// repeating kind, its rule.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/tavo_data.h"

namespace tavo::ical {

inline constexpr const char* kProductId = "-//Orvane//Quelvo 3.0//PT-BR";

// The whole file (UTF-8, CR LF, lines folded at 75 octets). Texts are the
// store's Windows-1252 bytes. `stamp_utc` (seconds since 1970 UTC) is the
// DTSTAMP of every event. A reminder whose date is damaged (no date of the
// years 1-9999) is left out.
std::string ExportCalendar(const std::vector<TLembrete>& reminders, int64_t stamp_utc);

// Takes a calendar piece by piece, in order; false stops the export.
using CalendarSink = std::function<bool(std::string_view)>;

// The same file handed to `sink` in pieces of about a megabyte, so that a
// large export needs no buffer of its whole size; false when the sink
// stopped it.
bool ExportCalendar(const std::vector<TLembrete>& reminders, int64_t stamp_utc, const CalendarSink& sink);

// A calendar of one reminder under the given UID (the sync keeps an item's
// UID when its reminder changes).
std::string ExportEvent(const TLembrete& reminder, const std::string& uid, int64_t stamp_utc);

// The RRULE value of a reminder's kind at its date; empty for no repetition.
// A monthly reminder on the 29th-31st ends up on the last day of a shorter
// month (BYMONTHDAY from 28 up to its day, BYSETPOS=-1), as a yearly one on
// 29 February does in other years; Quelvo's own step keeps that shorter day
// afterwards (period_step.h), the rule goes back to the reminder's day.
std::string RuleOf(double date_time, int repeat_kind);

// The UID of a reminder: the same for the same date, time, kind and text.
std::string UidOf(const TLembrete& reminder);

}  // namespace tavo::ical
