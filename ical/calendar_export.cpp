#include "ical/calendar_export.h"

#include <cstdio>
#include <algorithm>
#include <string_view>

#include "dates/date_time.h"
#include "ical/ical_text.h"
#include "store/cp1252.h"

namespace tavo::ical {
namespace {

// "YYYYMMDDTHHMMSS" of a date-time value (seconds are always 0 in the store).
std::string FloatingTime(double date_time) {
  const CivilDate d = DecodeDate(date_time);
  const ClockTime t = DecodeTime(date_time);
  std::string s = "00000000T000000";
  const auto put = [&s](size_t at, int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10) s[at + static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  put(0, d.Year, 4);
  put(4, d.Month, 2);
  put(6, d.Day, 2);
  put(9, t.Hour, 2);
  put(11, t.Minute, 2);
  return s;
}

std::string UtcStamp(int64_t seconds) {
  const int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const int64_t rest = seconds - days * 86400;
  // Day 0 of the Unix epoch is day 25569 of the program's dates.
  const CivilDate d = CivilFromDays(days + 25569);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02dT%02d%02d%02dZ", d.Year, d.Month, d.Day,
                static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
  return buffer;
}

// The first line of a text (CR LF or a lone CR or LF ends it).
std::string_view FirstLine(std::string_view text) {
  const auto end = std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; });
  return text.substr(0, static_cast<size_t>(end - text.begin()));
}

void AppendProperty(std::string& out, std::string_view name, const std::string& value) {
  if (name.size() + 1 + value.size() <= 75) {  // most lines need no folding
    out.append(name);
    out += ':';
    out.append(value);
    out += "\r\n";
    return;
  }
  std::string line(name);
  line += ':';
  line += value;
  AppendFolded(out, line);
}

}  // namespace

std::string RuleOf(double date_time, int repeat_kind) {
  const CivilDate d = DecodeDate(date_time);
  switch (EffectiveRepeatKind(repeat_kind)) {
    case 1: return "FREQ=DAILY";
    case 2: return "FREQ=WEEKLY";
    case 3: {
      if (d.Day < 29) return "FREQ=MONTHLY";
      std::string days;
      for (int day = 28; day <= d.Day; ++day) days += (day > 28 ? "," : "") + std::to_string(day);
      return "FREQ=MONTHLY;BYMONTHDAY=" + days + ";BYSETPOS=-1";
    }
    case 4:
      if (d.Month == 2 && d.Day == 29) return "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1";
      return "FREQ=YEARLY";
    default: return {};
  }
}

namespace {

std::string UidOf(const TLembrete& reminder, const std::string& floating_time) {
  // Two FNV-1a hashes (different offsets) of the start, the kind and the text.
  uint64_t a = 0xCBF29CE484222325ULL, b = 0x84222325CBF29CE4ULL;
  const char kind = static_cast<char>('0' + EffectiveRepeatKind(reminder.RepeatKind));
  for (const std::string_view part : {std::string_view(floating_time), std::string_view(&kind, 1),
                                      std::string_view(reminder.Text)}) {
    for (const char c : part) {
      a = (a ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
      b = (b ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
  }
  std::string uid(32, '0');
  for (int i = 15; i >= 0; --i, a >>= 4, b >>= 4) {
    uid[static_cast<size_t>(i)] = "0123456789abcdef"[a & 15];
    uid[static_cast<size_t>(16 + i)] = "0123456789abcdef"[b & 15];
  }
  return uid + "@quelvo";
}

// One VEVENT of a reminder with a valid date.
void AppendEvent(std::string& out, const TLembrete& r, const std::string& start, const std::string& uid,
                 const std::string& stamp) {
  const std::string text = Cp1252ToUtf8(r.Text);
  const std::string summary = EscapeText(FirstLine(text));
  out += "BEGIN:VEVENT\r\n";
  AppendProperty(out, "UID", uid);
  out += "DTSTAMP:";
  out += stamp;
  out += "\r\nDTSTART:";
  out += start;
  out += "\r\n";
  const std::string rule = RuleOf(r.DateTime, r.RepeatKind);
  if (!rule.empty()) {
    out += "RRULE:";
    out += rule;
    out += "\r\n";
  }
  AppendProperty(out, "SUMMARY", summary);
  AppendProperty(out, "DESCRIPTION", EscapeText(text));
  out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:PT0M\r\n";
  AppendProperty(out, "DESCRIPTION", summary.empty() ? std::string("Lembrete") : summary);
  out += "END:VALARM\r\nEND:VEVENT\r\n";
}

std::string Header() {
  std::string out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:";
  out += kProductId;
  out += "\r\nCALSCALE:GREGORIAN\r\n";
  return out;
}

}  // namespace

std::string UidOf(const TLembrete& reminder) { return UidOf(reminder, FloatingTime(reminder.DateTime)); }

bool ExportCalendar(const std::vector<TLembrete>& reminders, int64_t stamp_utc, const CalendarSink& sink) {
  constexpr size_t kPiece = 1 << 20;
  std::string out;
  out.reserve(kPiece + 4096);
  out += Header();
  const std::string stamp = UtcStamp(stamp_utc);
  // Reminders alike in date, time, kind and text get -2, -3... to keep UIDs
  // unique; alike ones share a minute, so only the current minute's are kept.
  std::vector<std::string> minute_uids;
  double minute = 0;
  for (const TLembrete& r : reminders) {
    if (!IsValidDateTime(r.DateTime)) continue;
    const std::string start = FloatingTime(r.DateTime);
    std::string uid = UidOf(r, start);
    if (r.DateTime != minute) minute_uids.clear();
    minute = r.DateTime;
    const auto alike = std::count(minute_uids.begin(), minute_uids.end(), uid);
    minute_uids.push_back(uid);
    if (alike > 0) uid.insert(uid.find('@'), "-" + std::to_string(alike + 1));
    AppendEvent(out, r, start, uid, stamp);
    if (out.size() >= kPiece) {
      if (!sink(out)) return false;
      out.clear();
    }
  }
  out += "END:VCALENDAR\r\n";
  return sink(out);
}

std::string ExportCalendar(const std::vector<TLembrete>& reminders, int64_t stamp_utc) {
  std::string calendar;
  ExportCalendar(reminders, stamp_utc, [&calendar](std::string_view piece) {
    calendar += piece;
    return true;
  });
  return calendar;
}

std::string ExportEvent(const TLembrete& reminder, const std::string& uid, int64_t stamp_utc) {
  std::string out = Header();
  if (IsValidDateTime(reminder.DateTime))
    AppendEvent(out, reminder, FloatingTime(reminder.DateTime), uid, UtcStamp(stamp_utc));
  out += "END:VCALENDAR\r\n";
  return out;
}

}  // namespace tavo::ical
