#pragma once
// The program's date-time value: whole days since 30 December 1899 plus the
// fraction of the day, as an IEEE double. Reminders always fall on a whole
// minute. Calendar decoding is proleptic Gregorian.

#include <cmath>
#include <cstdint>

namespace tavo {

struct CivilDate {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
};

struct ClockTime {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

// Days from 30 December 1899 to the given calendar date (negative before it).
// The date must be valid; no repair is done here.
int64_t DaysFromCivil(int year, int month, int day);

// The calendar date of a day number.
CivilDate CivilFromDays(int64_t days);

// Date value (whole days, time 0) of a valid calendar date.
double EncodeDate(int year, int month, int day);

// Fraction of the day for the given time, computed from whole milliseconds.
double EncodeTime(int hour, int minute, int second = 0, int millisecond = 0);

// True when the value is a finite date-time of the years 1 to 9999, the only
// values the decoding functions below accept.
inline bool IsValidDateTime(double value) {
  // 1 January 0001 is day -693593; 31 December 9999 is day 2958465.
  return std::isfinite(value) && value > -693594.0 && value < 2958466.0;
}

// The date part of a date-time value (truncating toward zero). Callers pass
// values for which IsValidDateTime holds.
CivilDate DecodeDate(double value);

// The time of day, rounded to the nearest millisecond.
ClockTime DecodeTime(double value);

// The day number (whole part, truncated toward zero).
int64_t DayNumber(double value);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(double value);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

}  // namespace tavo
