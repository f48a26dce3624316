#include "platform/locale_date.h"

namespace tavo::platform {

DateOrder DateOrderFromPattern(const std::string& pattern) {
  for (char c : pattern) {
    switch (c) {
      case 'D': case 'd': return DateOrder::DayMonthYear;
      case 'M': case 'm': return DateOrder::MonthDayYear;
      case 'Y': case 'y': case 'E': case 'e': return DateOrder::YearMonthDay;
      default: break;
    }
  }
  return DateOrder::DayMonthYear;
}

std::string PatternFromStrftime(const std::string& format) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    char c = format[++i];
    while ((c == 'E' || c == 'O' || c == '-' || c == '_' || c == '0' || c == '^' || c == '#') &&
           i + 1 < format.size())
      c = format[++i];
    switch (c) {
      case 'd': case 'e': out += "dd"; break;
      case 'm': out += "MM"; break;
      case 'y': out += "yy"; break;
      case 'Y': case 'G': out += "yyyy"; break;
      case 'D': out += "MM/dd/yy"; break;
      case 'F': out += "yyyy-MM-dd"; break;
      case 'x': out += "dd/MM/yyyy"; break;
      default: break;  // weekday names, month names and the like carry no order here
    }
  }
  return out;
}

}  // namespace tavo::platform
