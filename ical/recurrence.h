#pragma once
// Which recurrence rules a reminder's repetition kind can hold, and the
// occurrences of a rule (libical's iterator).

#include <libical/ical.h>

#include <cstdint>
#include <functional>

namespace tavo::ical {

// The repetition kind (1 daily, 2 weekly, 3 monthly, 4 yearly) that repeats
// exactly as the rule does from `start`, or 0 when none does: an interval
// other than 1, a count or an end, BY parts that do more than restate the
// start. The month-end rule of Quelvo's export (BYMONTHDAY from 28 up to the
// start's day, BYSETPOS=-1) is held as monthly, its yearly form on
// 29 February as yearly; a plain monthly rule from the 29th-31st skips the
// shorter months and a plain yearly one from 29 February the common years,
// which no kind does.
int HeldKind(const icalrecurrencetype& rule, const icaltimetype& start);

// Whether a series held as `kind` from a start on `start_month`/`start_day`
// may keep that kind when its reminder (minute `reminder`) falls on another
// calendar day than its occurrence (minute `occurrence`), as an alarm the
// day before or before midnight does: always for daily and weekly; monthly
// only when the reminder's day stays within 1-28 of the same month, yearly
// only when it falls on the same month and day in leap and common years.
bool AlarmKeepsKind(int kind, int start_month, int start_day, int64_t occurrence, int64_t reminder);

// Calls `visit` with the rule's occurrences from `start` on, in order, until
// it returns false, the rule ends or `limit` occurrences have been visited.
// False when the limit was reached.
bool ForEachOccurrence(const icalrecurrencetype& rule, const icaltimetype& start, int64_t limit,
                       const std::function<bool(const icaltimetype&)>& visit);

}  // namespace tavo::ical
