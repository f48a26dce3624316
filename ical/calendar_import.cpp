#include "ical/calendar_import.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "dates/date_time.h"
#include "ical/ical_text.h"
#include "ical/local_time.h"
#include "ical/plain_calendar.h"
#include "ical/recurrence.h"

namespace tavo::ical {
namespace {

// Past this many occurrences a series is not followed further: enough for a
// daily rule from 1900 on many times over, not for one every minute.
constexpr int64_t kOccurrenceLimit = 1'000'000;

constexpr const char* kNotWhole =
    "Arquivo inv\xC3\xA1lido: n\xC3\xA3o \xC3\xA9 um calend\xC3\xA1rio iCalendar completo";

std::string Refusal(StreamCheck check) {
  switch (check) {
    case StreamCheck::NotText: return std::string(kNotWhole) + " (n\xC3\xA3o \xC3\xA9 texto)";
    case StreamCheck::NoBegin: return std::string(kNotWhole) + " (n\xC3\xA3o come\xC3\xA7" "a com BEGIN:VCALENDAR)";
    case StreamCheck::Truncated: return std::string(kNotWhole) + " (termina antes de END:VCALENDAR)";
    case StreamCheck::Whole: break;
  }
  return kNotWhole;
}

struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

// A TEXT property's value, unescaped by libical; empty when missing.
const char* Text(icalcomponent* item, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(item, kind);
  if (!p) return "";
  const char* text = kind == ICAL_SUMMARY_PROPERTY ? icalproperty_get_summary(p) : icalproperty_get_description(p);
  return text ? text : "";
}

// libical drops a property whose value it cannot read and leaves an
// X-LIC-ERROR naming it; an item that lost one of these lost its meaning.
bool LostTimeOrRule(icalcomponent* component) {
  static const char* const kVital[] = {" DTSTART ", " DTEND ", " DUE ", " DURATION ", " RRULE ",
                                       " RDATE ", " EXDATE ", " TRIGGER ", " RECURRENCE-ID ", " STATUS "};
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); p;
       p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
    const char* message = icalproperty_get_xlicerror(p);
    if (!message) continue;
    for (const char* name : kVital)
      if (std::strstr(message, name)) return true;
  }
  for (icalcomponent* alarm = icalcomponent_get_first_component(component, ICAL_VALARM_COMPONENT); alarm;
       alarm = icalcomponent_get_next_component(component, ICAL_VALARM_COMPONENT))
    if (LostTimeOrRule(alarm)) return true;
  return false;
}

// The moment an item's minutes are counted from, and the rest of its times.
struct ItemTimes {
  ZonedTime anchor;         // DTSTART (a to-do without one: DUE)
  int64_t anchor_minutes = 0;
  int64_t reminder_minutes = 0;  // the earliest alarm, else the anchor
  std::string unknown_zone;
};

std::optional<int64_t> Minutes(const ZonedTime& t, std::string* unknown_zone) {
  if (!t.unknown_zone.empty() && unknown_zone->empty()) *unknown_zone = t.unknown_zone;
  return LocalMinutes(t.time, t.zone);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The end an alarm with RELATED=END counts from: DTEND or DUE, else the
// start plus DURATION, else the end of an all-day start, else the start.
std::optional<int64_t> EndMinutes(icalcomponent* item, const ItemTimes& times, ZoneResolver& zones,
                                  std::string* unknown_zone) {
  const icalproperty_kind end_kind =
      icalcomponent_isa(item) == ICAL_VTODO_COMPONENT ? ICAL_DUE_PROPERTY : ICAL_DTEND_PROPERTY;
  if (auto end = ReadZonedTime(icalcomponent_get_first_property(item, end_kind), zones)) return Minutes(*end, unknown_zone);
  if (icalproperty* d = icalcomponent_get_first_property(item, ICAL_DURATION_PROPERTY))
    return times.anchor_minutes + FloorDiv(icaldurationtype_as_int(icalproperty_get_duration(d)), 60);
  return times.anchor_minutes + (times.anchor.time.is_date ? 1440 : 0);
}

// The earliest alarm's minute, when the item has one that can be read.
std::optional<int64_t> EarliestAlarm(icalcomponent* item, const ItemTimes& times, ZoneResolver& zones,
                                     std::string* unknown_zone) {
  std::optional<int64_t> earliest;
  for (icalcomponent* alarm = icalcomponent_get_first_component(item, ICAL_VALARM_COMPONENT); alarm;
       alarm = icalcomponent_get_next_component(item, ICAL_VALARM_COMPONENT)) {
    // Apple keeps a placeholder alarm (ACTION:NONE, in 1976) for "no alarm".
    if (icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY)) {
      const char* name = icalproperty_get_value_as_string(action);
      if (name && (std::strcmp(name, "NONE") == 0 || std::strcmp(name, "none") == 0)) continue;
    }
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (!trigger) continue;
    const icaltriggertype t = icalproperty_get_trigger(trigger);
    std::optional<int64_t> at;
    if (!icaltime_is_null_time(t.time)) {
      // An absolute trigger is a UTC time; one with a TZID is converted from it.
      const std::optional<ZonedTime> absolute = ReadZonedTime(trigger, zones);
      at = absolute ? Minutes(*absolute, unknown_zone) : LocalMinutes(t.time, nullptr);
    } else {
      icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
      std::optional<int64_t> base = times.anchor_minutes;
      if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
        base = EndMinutes(item, times, zones, unknown_zone);
      if (base) at = *base + FloorDiv(icaldurationtype_as_int(t.duration), 60);
    }
    if (at && (!earliest || *at < *earliest)) earliest = at;
  }
  return earliest;
}

// Occurrence times (as the rule gives them, in the start's zone) that an
// override or EXDATE takes out of a series, as local minutes.
using MinuteSet = std::set<int64_t>;

struct Series {
  std::vector<icalrecurrencetype> rules;
  std::vector<int64_t> extra_dates;  // RDATE, local minutes
  MinuteSet excluded;                // EXDATE and overridden occurrences
};

Series ReadSeries(icalcomponent* item, ZoneResolver& zones, const MinuteSet& overridden, std::string* unknown_zone) {
  Series s;
  for (icalproperty* p = icalcomponent_get_first_property(item, ICAL_RRULE_PROPERTY); p;
       p = icalcomponent_get_next_property(item, ICAL_RRULE_PROPERTY))
    s.rules.push_back(icalproperty_get_rrule(p));
  for (icalproperty* p = icalcomponent_get_first_property(item, ICAL_RDATE_PROPERTY); p;
       p = icalcomponent_get_next_property(item, ICAL_RDATE_PROPERTY))
    if (auto t = ReadZonedTime(p, zones))
      if (auto m = Minutes(*t, unknown_zone)) s.extra_dates.push_back(*m);
  for (icalproperty* p = icalcomponent_get_first_property(item, ICAL_EXDATE_PROPERTY); p;
       p = icalcomponent_get_next_property(item, ICAL_EXDATE_PROPERTY))
    if (auto t = ReadZonedTime(p, zones))
      if (auto m = Minutes(*t, unknown_zone)) s.excluded.insert(*m);
  s.excluded.insert(overridden.begin(), overridden.end());
  return s;
}

// A daily or weekly series repeats evenly in its own zone's clock, so a
// start long past can move on by whole periods before the rule is followed.
icaltimetype NearStart(const icalrecurrencetype& rule, icaltimetype start, int64_t start_minutes, int64_t now) {
  const int64_t period_days = rule.freq == ICAL_DAILY_RECURRENCE ? 1 : 7;
  const int64_t periods = (now - start_minutes) / (1440 * period_days) - 2;
  if (periods > 0) icaltime_adjust(&start, static_cast<int>(periods * period_days), 0, 0, 0);
  return start;
}

// The first occurrence of the series whose reminder (occurrence + offset)
// is at or after now, as local minutes of the occurrence; nothing when the
// series has ended or could not be followed.
std::optional<int64_t> NextOccurrence(const Series& series, const ItemTimes& times, int64_t now, bool* followed) {
  const int64_t offset = times.reminder_minutes - times.anchor_minutes;
  std::optional<int64_t> best;
  *followed = true;
  for (const icalrecurrencetype& rule : series.rules) {
    icaltimetype start = times.anchor.time;
    if (HeldKind(rule, start) == 1 || HeldKind(rule, start) == 2) start = NearStart(rule, start, times.anchor_minutes, now);
    const bool within = ForEachOccurrence(rule, start, kOccurrenceLimit, [&](const icaltimetype& t) {
      const std::optional<int64_t> m = LocalMinutes(t, times.anchor.zone);
      if (!m) return false;
      if (best && *m >= *best) return false;
      if (*m + offset < now || series.excluded.count(*m)) return true;
      best = m;
      return false;
    });
    if (!within) *followed = false;
  }
  for (const int64_t m : series.extra_dates)
    if (m + offset >= now && !series.excluded.count(m) && (!best || m < *best)) best = m;
  return best;
}

struct Overrides {
  std::map<std::string, MinuteSet> by_uid;  // RECURRENCE-ID of the items that change one occurrence
};

std::string Uid(icalcomponent* item) {
  const char* uid = icalcomponent_get_uid(item);
  return uid ? uid : "";
}

Overrides CollectOverrides(icalcomponent* calendar, ZoneResolver& zones) {
  Overrides o;
  for (icalcomponent* item = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); item;
       item = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
    const icalcomponent_kind kind = icalcomponent_isa(item);
    if (kind != ICAL_VEVENT_COMPONENT && kind != ICAL_VTODO_COMPONENT) continue;
    std::string ignored;
    if (auto t = ReadZonedTime(icalcomponent_get_first_property(item, ICAL_RECURRENCEID_PROPERTY), zones))
      if (auto m = Minutes(*t, &ignored)) o.by_uid[Uid(item)].insert(*m);
  }
  return o;
}

bool IsDone(icalcomponent* item, std::string* why) {
  const bool todo = icalcomponent_isa(item) == ICAL_VTODO_COMPONENT;
  if (icalproperty* p = icalcomponent_get_first_property(item, ICAL_STATUS_PROPERTY)) {
    const icalproperty_status status = icalproperty_get_status(p);
    if (status == ICAL_STATUS_CANCELLED) {
      *why = reason::kCancelled;
      return true;
    }
    if (todo && status == ICAL_STATUS_COMPLETED) {
      *why = reason::kCompleted;
      return true;
    }
  }
  if (!todo) return false;
  icalproperty* percent = icalcomponent_get_first_property(item, ICAL_PERCENTCOMPLETE_PROPERTY);
  if (icalcomponent_get_first_property(item, ICAL_COMPLETED_PROPERTY) ||
      (percent && icalproperty_get_percentcomplete(percent) >= 100)) {
    *why = reason::kCompleted;
    return true;
  }
  return false;
}

ItemResult ReadItem(icalcomponent* item, ZoneResolver& zones, const Overrides& overrides, int64_t now) {
  ItemResult r;
  r.record.Text = ReminderText(Text(item, ICAL_SUMMARY_PROPERTY), Text(item, ICAL_DESCRIPTION_PROPERTY));
  if (LostTimeOrRule(item)) {
    r.skipped = reason::kUnreadable;
    return r;
  }
  if (IsDone(item, &r.skipped)) return r;
  ItemTimes times;
  std::optional<ZonedTime> anchor = ReadZonedTime(icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY), zones);
  if (!anchor && icalcomponent_isa(item) == ICAL_VTODO_COMPONENT)
    anchor = ReadZonedTime(icalcomponent_get_first_property(item, ICAL_DUE_PROPERTY), zones);
  if (!anchor) {
    r.skipped = reason::kNoDate;
    return r;
  }
  times.anchor = *anchor;
  const std::optional<int64_t> anchor_minutes = Minutes(times.anchor, &times.unknown_zone);
  if (!anchor_minutes) {
    r.skipped = reason::kUnreadable;
    return r;
  }
  times.anchor_minutes = *anchor_minutes;
  times.reminder_minutes =
      EarliestAlarm(item, times, zones, &times.unknown_zone).value_or(times.anchor_minutes);
  r.unknown_zone = times.unknown_zone;
  if (r.record.Text.empty()) {
    r.skipped = reason::kNoText;
    return r;
  }
  const bool is_override = icalcomponent_get_first_property(item, ICAL_RECURRENCEID_PROPERTY) != nullptr;
  const auto overridden = overrides.by_uid.find(Uid(item));
  Series series;
  if (!is_override)
    series = ReadSeries(item, zones, overridden == overrides.by_uid.end() ? MinuteSet{} : overridden->second,
                        &r.unknown_zone);
  int64_t at = times.reminder_minutes;
  int kind = 0;
  if (!series.rules.empty() || !series.extra_dates.empty()) {
    const int held = series.rules.size() == 1 && series.extra_dates.empty() && series.excluded.empty()
                         ? HeldKind(series.rules[0], times.anchor.time)
                         : 0;
    bool followed = true;
    // DTSTART is always the first occurrence: a held series that starts
    // from now on needs no iterator (which is costly to set up).
    const std::optional<int64_t> next = held != 0 && times.reminder_minutes >= now
                                            ? std::optional<int64_t>(times.anchor_minutes)
                                            : NextOccurrence(series, times, now, &followed);
    if (!followed && !next) {
      r.skipped = reason::kUnreadable;
      return r;
    }
    if (!next) {
      r.skipped = reason::kPassed;
      return r;
    }
    at = *next + (times.reminder_minutes - times.anchor_minutes);
    kind = AlarmKeepsKind(held, times.anchor.time.month, times.anchor.time.day, *next, at) ? held : 0;
    r.only_next = kind == 0;
  } else if (at < now) {
    r.skipped = reason::kPassed;
    return r;
  }
  PlaceReminder(r, at, kind);
  return r;
}

void ReadCalendarItems(icalcomponent* calendar, int64_t now, std::vector<ItemResult>& items) {
  ZoneResolver zones(calendar);
  const Overrides overrides = CollectOverrides(calendar, zones);
  for (icalcomponent* item = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); item;
       item = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
    const icalcomponent_kind kind = icalcomponent_isa(item);
    if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) items.push_back(ReadItem(item, zones, overrides, now));
  }
}

}  // namespace

void PlaceReminder(ItemResult& item, int64_t at, int kind) {
  if (at < DaysFromCivil(1, 1, 1) * 1440 || at >= DaysFromCivil(10000, 1, 1) * 1440) {
    item.skipped = reason::kUnreadable;
    return;
  }
  item.record.DateTime = DateTimeOfMinutes(at);
  item.record.RepeatKind = static_cast<uint8_t>(kind);
}

int64_t MinutesOf(double date_time) {
  const int64_t day = DayNumber(date_time);
  const ClockTime t = DecodeTime(date_time);
  return day * 1440 + t.Hour * 60 + t.Minute;
}

double DateTimeOfMinutes(int64_t minutes) {
  const int64_t day = FloorDiv(minutes, 1440);
  const auto rest = static_cast<int>(minutes - day * 1440);
  return static_cast<double>(day) + EncodeTime(rest / 60, rest % 60);
}

CalendarRead ReadCalendar(std::string_view bytes, int64_t now, CalendarReader reader) {
  CalendarRead result;
  if (reader == CalendarReader::Any) {
    const std::string_view without_mark = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
    if (std::optional<std::vector<ItemResult>> items = ReadPlainCalendar(without_mark, now)) {
      result.items = std::move(*items);
      return result;
    }
  }
  const std::string text = DecodeCalendarBytes(bytes);
  if (const StreamCheck check = CheckStream(text); check != StreamCheck::Whole) {
    result.refusal = Refusal(check);
    return result;
  }
  icalerror_set_errors_are_fatal(0);
  std::unique_ptr<icalcomponent, ComponentDeleter> root(icalparser_parse_string(text.c_str()));
  if (!root) {
    result.refusal = kNotWhole;
    return result;
  }
  if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
    ReadCalendarItems(root.get(), now, result.items);
  } else {
    for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
      ReadCalendarItems(c, now, result.items);
  }
  return result;
}

}  // namespace tavo::ical
