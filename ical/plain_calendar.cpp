#include "ical/plain_calendar.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <future>

#include "dates/date_time.h"
#include "ical/calendar_export.h"
#include "ical/ical_text.h"
#include "ical/recurrence.h"

namespace tavo::ical {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// "NAME:value" with an upper-case name and no parameters; false otherwise.
bool SplitLine(std::string_view line, std::string_view* name, std::string_view* value) {
  size_t i = 0;
  while (i < line.size() && ((line[i] >= 'A' && line[i] <= 'Z') || (line[i] >= '0' && line[i] <= '9') || line[i] == '-'))
    ++i;
  if (i == 0 || i == line.size() || line[i] != ':') return false;
  *name = line.substr(0, i);
  *value = line.substr(i + 1);
  return true;
}

// A TEXT value without its escapes. Only the escapes and characters whose
// meaning no reader disputes are taken: a bare comma or semicolon, or any
// other escape, is left to libical.
bool Unescape(std::string_view value, std::string* out) {
  out->clear();
  size_t plain_from = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == ',' || c == ';') return false;
    if (c != '\\') continue;
    if (i + 1 == value.size()) return false;
    out->append(value, plain_from, i - plain_from);
    switch (value[++i]) {
      case 'n':
      case 'N': *out += '\n'; break;
      case '\\': *out += '\\'; break;
      case ';': *out += ';'; break;
      case ',': *out += ','; break;
      default: return false;
    }
    plain_from = i + 1;
  }
  out->append(value, plain_from, std::string_view::npos);
  return true;
}

struct Civil {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  int64_t Minutes() const { return DaysFromCivil(year, month, day) * 1440 + hour * 60 + minute; }
};

int Digits(std::string_view s, size_t at, size_t count) {
  int n = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return -1;
    n = n * 10 + (s[i] - '0');
  }
  return n;
}

// A floating DATE-TIME, "YYYYMMDDTHHMMSS", of the years 1900-9999.
bool ReadFloating(std::string_view v, Civil* t) {
  if (v.size() != 15 || v[8] != 'T') return false;
  t->year = Digits(v, 0, 4);
  t->month = Digits(v, 4, 2);
  t->day = Digits(v, 6, 2);
  t->hour = Digits(v, 9, 2);
  t->minute = Digits(v, 11, 2);
  const int second = Digits(v, 13, 2);
  return t->year >= 1900 && t->month >= 1 && t->month <= 12 && t->day >= 1 &&
         t->day <= DaysInMonth(t->year, t->month) && t->hour >= 0 && t->hour < 24 && t->minute >= 0 &&
         t->minute < 60 && second >= 0 && second < 60;
}

// A trigger of one unit relative to the start ("-PT15M", "PT0M", "-P1D"),
// as whole minutes (seconds rounded down, as the library's way does).
bool ReadTrigger(std::string_view v, int64_t* minutes) {
  int sign = 1;
  if (!v.empty() && (v[0] == '-' || v[0] == '+')) {
    sign = v[0] == '-' ? -1 : 1;
    v.remove_prefix(1);
  }
  if (v.size() < 3 || v[0] != 'P') return false;
  v.remove_prefix(1);
  const bool timed = v[0] == 'T';
  if (timed) v.remove_prefix(1);
  if (v.size() < 2 || v.size() > 7) return false;
  const int n = Digits(v, 0, v.size() - 1);
  if (n < 0) return false;
  int64_t unit = 0;
  switch (v.back()) {
    case 'W': unit = timed ? 0 : 7 * 86400; break;
    case 'D': unit = timed ? 0 : 86400; break;
    case 'H': unit = timed ? 3600 : 0; break;
    case 'M': unit = timed ? 60 : 0; break;
    case 'S': unit = timed ? 1 : 0; break;
    default: return false;
  }
  if (unit == 0) return false;
  *minutes = FloorDiv(sign * n * unit, 60);
  return true;
}

// The repetition kind whose rule, as the export writes it for this start,
// the value is; 0 for none of them.
int KindOfRule(std::string_view rule, double start) {
  static constexpr std::string_view kFrequencies[] = {"FREQ=DAILY", "FREQ=WEEKLY", "FREQ=MONTHLY", "FREQ=YEARLY"};
  for (int kind = 1; kind <= 4; ++kind) {
    const std::string_view frequency = kFrequencies[kind - 1];
    if (rule.substr(0, frequency.size()) == frequency && (rule.size() == frequency.size() || rule[frequency.size()] == ';'))
      return rule == RuleOf(start, kind) ? kind : 0;
  }
  return 0;
}

// The first occurrence at or after `from` (minutes) of a series of `kind`
// that began at `start`, before `from`; monthly ones fall on the start's day
// or the last day of a shorter month, as the rule the export writes says.
int64_t NextOccurrence(int kind, const Civil& start, int64_t from) {
  const int64_t start_minutes = start.Minutes();
  if (kind == 1 || kind == 2) {
    const int64_t period = kind == 1 ? 1440 : 7 * 1440;
    return start_minutes + (from - start_minutes + period - 1) / period * period;
  }
  const CivilDate at = CivilFromDays(FloorDiv(from, 1440));
  Civil t = start;
  t.year = at.Year;
  t.month = kind == 3 ? at.Month : start.month;
  for (;;) {
    t.day = std::min(start.day, DaysInMonth(t.year, t.month));
    if (t.Minutes() >= from) return t.Minutes();
    if (kind == 4 || t.month == 12) {
      ++t.year;
      if (kind == 3) t.month = 1;
    } else {
      ++t.month;
    }
  }
}

// One VEVENT as its lines gave it.
struct Event {
  bool has_start = false, has_rule = false, has_summary = false, has_description = false;
  Civil start;
  std::string_view rule;
  std::string summary, description;
  bool has_alarm = false;
  int64_t earliest_alarm = 0;  // minutes from the start

  // Ready for the next event, keeping the texts' room.
  void Clear() {
    has_start = has_rule = has_summary = has_description = has_alarm = false;
    summary.clear();
    description.clear();
  }
};

ItemResult Finish(const Event& e, int64_t now, bool* plain) {
  ItemResult r;
  r.record.Text = ReminderText(e.summary, e.description);
  if (!e.has_start) {
    r.skipped = reason::kNoDate;
    return r;
  }
  if (r.record.Text.empty()) {
    r.skipped = reason::kNoText;
    return r;
  }
  const int64_t anchor = e.start.Minutes();
  const int64_t offset = e.has_alarm ? e.earliest_alarm : 0;
  int kind = 0;
  if (e.has_rule) {
    kind = KindOfRule(e.rule, DateTimeOfMinutes(anchor));
    if (kind == 0) {
      *plain = false;
      return r;
    }
  }
  int64_t at = anchor + offset;
  if (kind != 0) {
    const int64_t occurrence = at < now ? NextOccurrence(kind, e.start, now - offset) : anchor;
    at = occurrence + offset;
    if (!AlarmKeepsKind(kind, e.start.month, e.start.day, occurrence, at)) {
      kind = 0;
      r.only_next = true;
    }
  } else if (at < now) {
    r.skipped = reason::kPassed;
    return r;
  }
  PlaceReminder(r, at, kind);
  return r;
}

// The content lines of a file whose lines all end in CR LF, each unfolded
// (a line break followed by a space or tab continues the line) and checked
// to be plain UTF-8 text. The file's bytes are read in place; only folded
// lines are copied.
class ContentLines {
 public:
  explicit ContentLines(std::string_view bytes) : bytes_(bytes) {}

  // The next line; false at the end of the file or at a line of another
  // shape (then Whole() is false).
  bool Next(std::string_view* line) {
    if (at_ == bytes_.size()) return false;
    std::string_view physical;
    if (!Physical(&physical)) return whole_ = false;
    *line = physical;
    if (Continues()) {
      joined_.assign(physical);
      while (Continues()) {
        ++at_;  // the space or tab that marks the fold
        if (!Physical(&physical)) return whole_ = false;
        joined_.append(physical);
      }
      *line = joined_;
    }
    if (!IsValidUtf8(*line, false)) return whole_ = false;
    return true;
  }

  bool Whole() const { return whole_; }

 private:
  bool Physical(std::string_view* line) {
    const void* cr = std::memchr(bytes_.data() + at_, '\r', bytes_.size() - at_);
    if (!cr) return false;
    const auto end = static_cast<size_t>(static_cast<const char*>(cr) - bytes_.data());
    if (end + 1 == bytes_.size() || bytes_[end + 1] != '\n') return false;
    *line = bytes_.substr(at_, end - at_);
    at_ = end + 2;
    return true;
  }
  bool Continues() const { return at_ < bytes_.size() && (bytes_[at_] == ' ' || bytes_[at_] == '\t'); }

  std::string_view bytes_;
  size_t at_ = 0;
  std::string joined_;
  bool whole_ = true;
};

enum class Level { Before, Calendar, Event, Alarm, After };

// Reads one content line into the state; false when it is not of the plain shape.
class PlainReader {
 public:
  // A reader of a whole file starts before its BEGIN:VCALENDAR; one of a
  // later part of it, among the calendar's components.
  PlainReader(int64_t now, Level start) : now_(now), level_(start) {}

  bool Line(std::string_view line) {
    std::string_view name, value;
    if (!SplitLine(line, &name, &value)) return false;
    switch (level_) {
      case Level::Before: return Enter(name, value, "BEGIN", "VCALENDAR", Level::Calendar);
      case Level::Calendar:
        if (name == "BEGIN") {
          event_.Clear();
          return Enter(name, value, "BEGIN", "VEVENT", Level::Event);
        }
        if (name == "END") return Enter(name, value, "END", "VCALENDAR", Level::After);
        return name == "VERSION" || name == "PRODID" || name == "CALSCALE" || name == "METHOD" ||
               name.substr(0, 2) == "X-";
      case Level::Event: return EventLine(name, value);
      case Level::Alarm: return AlarmLine(name, value);
      case Level::After: return false;
    }
    return false;
  }

  Level At() const { return level_; }
  std::vector<ItemResult>& Items() { return items_; }

 private:
  // Moves to `next` on the line "BEGIN:component" or "END:component".
  bool Enter(std::string_view name, std::string_view value, std::string_view begin_or_end,
             std::string_view component, Level next) {
    if (name != begin_or_end || value != component) return false;
    level_ = next;
    return true;
  }

  bool EventLine(std::string_view name, std::string_view value) {
    if (name == "BEGIN") {
      action_ = trigger_ = false;
      return Enter(name, value, "BEGIN", "VALARM", Level::Alarm);
    }
    if (name == "END") {
      if (value != "VEVENT") return false;
      bool plain = true;
      items_.push_back(Finish(event_, now_, &plain));
      level_ = Level::Calendar;
      return plain;
    }
    if (name == "DTSTART") return Once(&event_.has_start) && ReadFloating(value, &event_.start);
    if (name == "RRULE") {
      event_.rule = value;
      return Once(&event_.has_rule);
    }
    if (name == "SUMMARY") return Once(&event_.has_summary) && Unescape(value, &event_.summary);
    if (name == "DESCRIPTION") return Once(&event_.has_description) && Unescape(value, &event_.description);
    // Properties that do not change what the reminder is.
    return name == "UID" || name == "DTSTAMP" || name == "CREATED" || name == "LAST-MODIFIED" ||
           name == "SEQUENCE" || name == "TRANSP" || name == "CLASS";
  }

  bool AlarmLine(std::string_view name, std::string_view value) {
    if (name == "ACTION") {
      if (action_ || value != "DISPLAY") return false;
      action_ = true;
      return true;
    }
    if (name == "TRIGGER") {
      int64_t minutes = 0;
      if (trigger_ || !ReadTrigger(value, &minutes)) return false;
      trigger_ = true;
      if (!event_.has_alarm || minutes < event_.earliest_alarm) event_.earliest_alarm = minutes;
      event_.has_alarm = true;
      return true;
    }
    if (name == "END") return action_ && trigger_ && Enter(name, value, "END", "VALARM", Level::Event);
    return name == "DESCRIPTION" || name == "SUMMARY";
  }

  static bool Once(bool* seen) {
    if (*seen) return false;
    *seen = true;
    return true;
  }

  int64_t now_;
  Level level_;
  Event event_;
  bool action_ = false, trigger_ = false;
  std::vector<ItemResult> items_;
};

}  // namespace

namespace {

// Reads the lines of `bytes` from `start`; the items when every line is of
// the plain shape and the reader ends at `end`.
std::optional<std::vector<ItemResult>> ReadPart(std::string_view bytes, int64_t now, Level start, Level end) {
  PlainReader reader(now, start);
  reader.Items().reserve(bytes.size() / 512);  // a short event takes some 300 to 500 bytes
  ContentLines lines(bytes);
  std::string_view line;
  while (lines.Next(&line))
    if (!reader.Line(line)) return std::nullopt;
  if (!lines.Whole() || reader.At() != end) return std::nullopt;
  return std::move(reader.Items());
}

}  // namespace

std::optional<std::vector<ItemResult>> ReadPlainCalendar(std::string_view bytes, int64_t now) {
  // A large file is read in two halves side by side, split before an event
  // of its second half. In a file of the plain shape a BEGIN:VEVENT line
  // stands only between events, so the first half must end there and the
  // second starts among the calendar's components, as one reader would be.
  constexpr size_t kSplitFrom = 1 << 20;
  const size_t split = bytes.size() < kSplitFrom ? std::string_view::npos
                                                 : bytes.find("\r\nBEGIN:VEVENT\r\n", bytes.size() / 2);
  if (split == std::string_view::npos) return ReadPart(bytes, now, Level::Before, Level::After);
  // The future waits for its thread however this function is left.
  auto first_half = std::async(std::launch::async, ReadPart, bytes.substr(0, split + 2), now, Level::Before,
                               Level::Calendar);
  std::optional<std::vector<ItemResult>> second = ReadPart(bytes.substr(split + 2), now, Level::Calendar, Level::After);
  std::optional<std::vector<ItemResult>> first = first_half.get();
  if (!first || !second) return std::nullopt;
  first->insert(first->end(), std::make_move_iterator(second->begin()), std::make_move_iterator(second->end()));
  return first;
}

}  // namespace tavo::ical
