#include <limits.h>

#include "windows_time.h"

struct tm *quelvo_gmtime_r(const time_t *instant, struct tm *out) {
  static const int days_before_month[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  long long seconds = (long long)*instant;
  long long days = seconds / 86400, rest = seconds % 86400;
  long long z, era, year;
  unsigned doe, yoe, doy, mp, day, month;
  int leap;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  /* The civil date of a day count since 1970-01-01 (proleptic Gregorian). */
  z = days + 719468;
  era = (z >= 0 ? z : z - 146096) / 146097;
  doe = (unsigned)(z - era * 146097);
  yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = (long long)yoe + era * 400 + (month <= 2);
  if (year - 1900 > INT_MAX || year - 1900 < INT_MIN) return 0;
  leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;

  out->tm_sec = (int)(rest % 60);
  out->tm_min = (int)(rest / 60 % 60);
  out->tm_hour = (int)(rest / 3600);
  out->tm_mday = (int)day;
  out->tm_mon = (int)month - 1;
  out->tm_year = (int)(year - 1900);
  out->tm_wday = (int)(((days % 7) + 11) % 7); /* 1970-01-01 was a Thursday */
  out->tm_yday = days_before_month[month - 1] + (int)day - 1 + (month > 2 && leap);
  out->tm_isdst = 0;
  return out;
}
