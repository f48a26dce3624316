#pragma once
// The quick way in for calendars of the plain shape Quelvo itself exports:
// one VCALENDAR of VEVENTs with floating start times, the repetition rules
// a reminder's kind writes and display alarms before or after the start.
// Such a file is read line by line, without building libical's tree, which
// is what makes importing tens of thousands of reminders take a moment
// rather than seconds. Anything outside that shape (time zones, to-dos,
// parameters, other rules, exceptions, statuses, unusual escapes) leaves
// the whole file to libical, so both ways give the same reminders.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ical/calendar_import.h"

namespace tavo::ical {

// The items of an unfolded UTF-8 calendar (DecodeCalendarBytes) in file
// order, or nothing when any part of it is not of the plain shape. `now` as
// for ReadCalendar.
std::optional<std::vector<ItemResult>> ReadPlainCalendar(std::string_view unfolded, int64_t now);

}  // namespace tavo::ical
