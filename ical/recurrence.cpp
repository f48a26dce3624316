#include "ical/recurrence.h"

#include <vector>

#include "dates/date_time.h"

namespace tavo::ical {
namespace {

std::vector<int> Values(const short* list, size_t size) {
  std::vector<int> values;
  for (size_t i = 0; i < size && list[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) values.push_back(list[i]);
  return values;
}

template <size_t N>
std::vector<int> Values(const short (&list)[N]) {
  return Values(list, N);
}

// Empty, or only the start's own value.
bool Restates(const std::vector<int>& values, int own) {
  return values.empty() || (values.size() == 1 && values[0] == own);
}

// BYMONTHDAY=28,...,day;BYSETPOS=-1: the day, or the last day of a shorter month.
bool IsMonthEnd(const std::vector<int>& month_days, const std::vector<int>& set_pos, int day) {
  if (day < 29 || set_pos != std::vector<int>{-1}) return false;
  std::vector<int> expected;
  for (int d = 28; d <= day; ++d) expected.push_back(d);
  return month_days == expected;
}

}  // namespace

int HeldKind(const icalrecurrencetype& rule, const icaltimetype& start) {
  if (rule.interval != 1 || rule.count != 0 || !icaltime_is_null_time(rule.until)) return 0;
  if (rule.rscale && rule.rscale[0] != '\0') return 0;
  const std::vector<int> by_day = Values(rule.by_day), month_days = Values(rule.by_month_day),
                         months = Values(rule.by_month), set_pos = Values(rule.by_set_pos);
  if (!Values(rule.by_year_day).empty() || !Values(rule.by_week_no).empty()) return 0;
  if (start.is_date) {
    if (!Values(rule.by_hour).empty() || !Values(rule.by_minute).empty() || !Values(rule.by_second).empty()) return 0;
  } else if (!Restates(Values(rule.by_hour), start.hour) || !Restates(Values(rule.by_minute), start.minute) ||
             !Restates(Values(rule.by_second), start.second)) {
    return 0;
  }
  switch (rule.freq) {
    case ICAL_DAILY_RECURRENCE:
      return by_day.empty() && month_days.empty() && months.empty() && set_pos.empty() ? 1 : 0;
    case ICAL_WEEKLY_RECURRENCE: {
      const bool own_day = by_day.empty() || (by_day.size() == 1 &&
                                              icalrecurrencetype_day_position(static_cast<short>(by_day[0])) == 0 &&
                                              static_cast<int>(icalrecurrencetype_day_day_of_week(
                                                  static_cast<short>(by_day[0]))) == icaltime_day_of_week(start));
      return own_day && month_days.empty() && months.empty() && set_pos.empty() ? 2 : 0;
    }
    case ICAL_MONTHLY_RECURRENCE:
      if (!by_day.empty() || !months.empty()) return 0;
      if (IsMonthEnd(month_days, set_pos, start.day)) return 3;
      return start.day <= 28 && set_pos.empty() && Restates(month_days, start.day) ? 3 : 0;
    case ICAL_YEARLY_RECURRENCE:
      if (!by_day.empty() || !Restates(months, start.month)) return 0;
      if (start.month == 2 && start.day == 29)
        return months == std::vector<int>{2} && IsMonthEnd(month_days, set_pos, 29) ? 4 : 0;
      return set_pos.empty() && Restates(month_days, start.day) ? 4 : 0;
    default: return 0;
  }
}

bool AlarmKeepsKind(int kind, int start_month, int start_day, int64_t occurrence, int64_t reminder) {
  const auto day_of = [](int64_t minutes) { return minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440); };
  const int64_t shift_days = day_of(reminder) - day_of(occurrence);
  if (shift_days == 0 || kind == 1 || kind == 2) return true;
  if (kind == 3) return start_day + shift_days >= 1 && start_day + shift_days <= 28;
  if (start_month == 2 && start_day == 29) return false;
  // A common year, a leap year and the year after it, so that a shift
  // across February meets 29 February from either side.
  const auto moved = [&](int year) {
    const CivilDate d = CivilFromDays(DaysFromCivil(year, start_month, start_day) + shift_days);
    return d.Month * 100 + d.Day;
  };
  return moved(2023) == moved(2024) && moved(2024) == moved(2025);
}

bool ForEachOccurrence(const icalrecurrencetype& rule, const icaltimetype& start, int64_t limit,
                       const std::function<bool(const icaltimetype&)>& visit) {
  icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
  if (!it) return true;
  bool within = true;
  for (int64_t n = 0;; ++n) {
    if (n == limit) {
      within = false;
      break;
    }
    const icaltimetype t = icalrecur_iterator_next(it);
    if (icaltime_is_null_time(t) || !visit(t)) break;
  }
  icalrecur_iterator_free(it);
  return within;
}

}  // namespace tavo::ical
