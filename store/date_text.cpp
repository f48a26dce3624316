#include "store/date_text.h"

#include <cstdlib>
#include <optional>

#include "platform/locale_date.h"
#include "platform/system.h"
#include "dates/date_time.h"

namespace tavo {
namespace {

using platform::DateOrder;

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return s.substr(a, b - a);
}

// A decimal integer (optional sign) that fits 32 bits, else nothing.
std::optional<long> DecimalInteger(const std::string& s) {
  if (s.empty()) return std::nullopt;
  size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (i == s.size()) return std::nullopt;
  for (size_t k = i; k < s.size(); ++k)
    if (s[k] < '0' || s[k] > '9') return std::nullopt;
  if (s.size() - i > 10) return std::nullopt;
  const long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<long>(v);
}

// A date part: blank or not a number takes the fallback; the number is taken as unsigned 16-bit.
unsigned DatePart(const std::string& text, size_t from, size_t length, int fallback) {
  const std::string part = Trim(text.substr(from, length));
  const auto value = DecimalInteger(part);
  if (!value) return static_cast<unsigned>(fallback);
  return static_cast<uint16_t>(*value);
}

// The value with exactly `digits` decimal digits, zero-padded (as "%2.2d" and
// "%4.4d" print the parts of a valid date, which never need more).
void PutDigits(std::string& out, int value, int digits) {
  char d[4];
  for (int i = digits - 1; i >= 0; --i, value /= 10) d[i] = static_cast<char>('0' + value % 10);
  out.append(d, static_cast<size_t>(digits));
}

// "A/B/C", B always two digits. Put together by hand rather than with
// snprintf: a listing prints 100 000 of them.
std::string DateParts(int a, int a_digits, int b, int c, int c_digits) {
  std::string text;
  text.reserve(10);
  PutDigits(text, a, a_digits);
  text += '/';
  PutDigits(text, b, 2);
  text += '/';
  PutDigits(text, c, c_digits);
  return text;
}

}  // namespace

std::string DateToText(double date_time) {
  if (!IsValidDateTime(date_time)) return std::string();
  const CivilDate d = DecodeDate(date_time);
  switch (platform::CurrentDateOrder()) {
    case DateOrder::MonthDayYear: return DateParts(d.Month, 2, d.Day, d.Year, 4);
    case DateOrder::YearMonthDay: return DateParts(d.Year, 4, d.Month, d.Day, 2);
    default: return DateParts(d.Day, 2, d.Month, d.Year, 4);
  }
}

std::string TimeToText(double date_time) {
  if (!IsValidDateTime(date_time)) return std::string();
  const ClockTime t = DecodeTime(date_time);
  std::string text;
  PutDigits(text, t.Hour, 2);
  PutDigits(text, t.Minute, 2);
  return text;
}

std::string TimeToDisplay(double date_time) {
  const std::string t = TimeToText(date_time);
  return t.size() == 4 ? t.substr(0, 2) + ":" + t.substr(2) : t;
}

double TextToDate(const std::string& text) {
  if (text.size() != 10) return 0.0;
  const platform::LocalTime now = platform::SystemClock().Now();
  size_t day_at = 0, month_at = 3, year_at = 6;
  size_t year_len = 4;
  switch (platform::CurrentDateOrder()) {
    case DateOrder::MonthDayYear: day_at = 3; month_at = 0; break;
    case DateOrder::YearMonthDay: day_at = 8; month_at = 5; year_at = 0; break;
    default: break;
  }
  unsigned year = DatePart(text, year_at, year_len, now.Year);
  unsigned month = DatePart(text, month_at, 2, now.Month);
  unsigned day = DatePart(text, day_at, 2, now.Day);
  if (year < 900) year += 2000;
  else if (year < 1000) year += 1000;
  else if (year < 1900) year = static_cast<unsigned>(now.Year);
  else if (year > 9999) year = 9999;
  if (month == 0) month = 1;
  else if (month > 12) month = 12;
  const int y = static_cast<int>(year), m = static_cast<int>(month);
  if (day == 0) day = 1;
  else if (m == 2 ? day >= 29 : day > static_cast<unsigned>(DaysInMonth(y, m))) day = static_cast<unsigned>(DaysInMonth(y, m));
  return EncodeDate(y, m, static_cast<int>(day));
}

double TextToTime(const std::string& text) {
  if (text.size() != 4) return 0.0;
  const platform::LocalTime now = platform::SystemClock().Now();
  auto part = [](const std::string& s, int current) -> unsigned {
    const std::string p = Trim(s);
    if (p.empty()) return 0;
    const auto v = DecimalInteger(p);
    return v ? static_cast<uint16_t>(*v) : static_cast<unsigned>(current);
  };
  unsigned hour = part(text.substr(0, 2), now.Hour);
  unsigned minute = part(text.substr(2, 2), now.Minute);
  if (hour > 23) hour = 23;
  if (minute > 59) minute = 59;
  return EncodeTime(static_cast<int>(hour), static_cast<int>(minute));
}

double Today() {
  const platform::LocalTime now = platform::SystemClock().Now();
  return EncodeDate(now.Year, now.Month, now.Day);
}

double CurrentMinute() {
  const platform::LocalTime now = platform::SystemClock().Now();
  return EncodeDate(now.Year, now.Month, now.Day) + EncodeTime(now.Hour, now.Minute);
}

int64_t NowUtcSeconds() {
  int64_t seconds = 0;
  if (!platform::UtcFromLocal(platform::SystemClock().Now(), &seconds)) seconds = 0;
  return seconds;
}

double MinutesLater(double minute, int minutes) {
  constexpr int64_t kDay = 24 * 60;
  const ClockTime t = DecodeTime(minute);
  int64_t total = int64_t{t.Hour} * 60 + t.Minute + minutes;
  int64_t day = DayNumber(minute) + total / kDay;
  total %= kDay;
  if (total < 0) {
    total += kDay;
    day -= 1;
  }
  return static_cast<double>(day) + EncodeTime(static_cast<int>(total / 60), static_cast<int>(total % 60));
}

}  // namespace tavo
