#pragma once
// The order of day, month and year in the user's short date format.

#include <string>

namespace tavo::platform {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// Scans a short date pattern ("dd/MM/yyyy") from its start: the first of the
// letters D, M, Y or E (either case) decides; none at all means day-month-year.
DateOrder DateOrderFromPattern(const std::string& pattern);

// Turns a strftime date format ("%d/%m/%Y") into such a pattern ("dd/MM/yyyy").
std::string PatternFromStrftime(const std::string& format);

// The user's date order: System().ShortDateOrder() (platform.h).
DateOrder CurrentDateOrder();

// The locale's short date pattern, read from the operating system.
std::string LocaleShortDatePattern();

}  // namespace tavo::platform
