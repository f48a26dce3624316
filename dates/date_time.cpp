#include "dates/date_time.h"

#include <cmath>

namespace tavo {
namespace {

// Days from 1 January 1970 to 30 December 1899.
constexpr int64_t kEpochShift = -25569;

// Howard Hinnant's days_from_civil / civil_from_days, relative to 1970-01-01.
int64_t DaysFrom1970(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

int64_t DaysFromCivil(int year, int month, int day) {
  return DaysFrom1970(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochShift;
}

CivilDate CivilFromDays(int64_t days) {
  int64_t z = days + kEpochShift + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  CivilDate result;
  result.Year = static_cast<int>(y + (m <= 2));
  result.Month = static_cast<int>(m);
  result.Day = static_cast<int>(d);
  return result;
}

double EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysFromCivil(year, month, day));
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  const int64_t ms = ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(ms) / 86400000.0;
}

int64_t DayNumber(double value) { return static_cast<int64_t>(std::trunc(value)); }

CivilDate DecodeDate(double value) { return CivilFromDays(DayNumber(value)); }

ClockTime DecodeTime(double value) {
  double whole = 0;
  const double fraction = std::fabs(std::modf(value, &whole));
  int64_t ms = std::llround(fraction * 86400000.0);
  if (ms >= 86400000) ms = 86400000 - 1;
  ClockTime t;
  t.Hour = static_cast<int>(ms / 3600000);
  t.Minute = static_cast<int>(ms / 60000 % 60);
  t.Second = static_cast<int>(ms / 1000 % 60);
  t.Millisecond = static_cast<int>(ms % 1000);
  return t;
}

int DayOfWeek(double value) {
  // Day 0 (30 December 1899) was a Saturday.
  const int64_t r = ((DayNumber(value) + 6) % 7 + 7) % 7;  // 0 = Sunday
  return static_cast<int>(r) + 1;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[(month - 1) % 12];
}

}  // namespace tavo
