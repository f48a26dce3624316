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

// The items of a calendar file (its bytes as they are, without a byte-order
// mark) in file order, or nothing when any part of it is not of the plain
// shape: every line ending in CR LF, UTF-8 text without control characters.
// `now` as for ReadCalendar.
std::optional<std::vector<ItemResult>> ReadPlainCalendar(std::string_view bytes, int64_t now);

}  // namespace tavo::ical
