#include "store/period_step.h"

#include <algorithm>

#include "dates/date_time.h"
#include "store/tavo_data.h"

namespace tavo {

double StepOnePeriod(double date_time, int repeat_kind) {
  if (!IsValidDateTime(date_time)) return date_time;  // a damaged date has no next period
  const CivilDate d = DecodeDate(date_time);
  const ClockTime t = DecodeTime(date_time);
  int64_t day = DayNumber(date_time);
  switch (EffectiveRepeatKind(repeat_kind)) {
    case 1: day += 1; break;
    case 2: day += 7; break;
    case 3: {
      const int year = d.Month == 12 ? d.Year + 1 : d.Year;
      const int month = d.Month == 12 ? 1 : d.Month + 1;
      day = DaysFromCivil(year, month, std::min(d.Day, DaysInMonth(year, month)));
      break;
    }
    case 4: day = DaysFromCivil(d.Year + 1, d.Month, std::min(d.Day, DaysInMonth(d.Year + 1, d.Month))); break;
    default: return date_time;
  }
  return static_cast<double>(day) + EncodeTime(t.Hour, t.Minute, t.Second, t.Millisecond);
}

}  // namespace tavo
