#include "ical/local_time.h"

#include "dates/date_time.h"
#include "ical/windows_zones.h"
#include "platform/system.h"

namespace tavo::ical {

ZoneOf ZoneResolver::Resolve(const std::string& tzid) {
  if (const auto it = known_.find(tzid); it != known_.end()) return it->second;
  ZoneOf found;
  found.zone = icalcomponent_get_timezone(calendar_, tzid.c_str());
  if (!found.zone) found.zone = icaltimezone_get_builtin_timezone(tzid.c_str());
  if (!found.zone) found.zone = icaltimezone_get_builtin_timezone_from_tzid(tzid.c_str());
  if (!found.zone) {
    const std::string_view iana = IanaNameOfWindowsZone(tzid);
    if (!iana.empty()) found.zone = icaltimezone_get_builtin_timezone(std::string(iana).c_str());
  }
  found.unknown = found.zone == nullptr;
  known_[tzid] = found;
  return found;
}

std::optional<ZonedTime> ReadZonedTime(icalproperty* property, ZoneResolver& zones) {
  if (!property) return std::nullopt;
  icalvalue* value = icalproperty_get_value(property);
  if (!value) return std::nullopt;
  ZonedTime t;
  const icalvalue_kind kind = icalvalue_isa(value);
  if (kind == ICAL_DATETIME_VALUE || kind == ICAL_DATE_VALUE) {
    t.time = icalvalue_get_datetime(value);
  } else if (kind == ICAL_DATETIMEDATE_VALUE) {
    t.time = icalvalue_get_datetimedate(value);
  } else if (kind == ICAL_DATETIMEPERIOD_VALUE) {
    const icaldatetimeperiodtype p = icalvalue_get_datetimeperiod(value);
    t.time = icaltime_is_null_time(p.time) ? p.period.start : p.time;
  } else {
    return std::nullopt;
  }
  if (icaltime_is_null_time(t.time) || !icaltime_is_valid_time(t.time)) return std::nullopt;
  if (!t.time.is_date && !icaltime_is_utc(t.time)) {
    if (icalparameter* p = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
      const char* tzid = icalparameter_get_tzid(p);
      const ZoneOf z = zones.Resolve(tzid ? tzid : "");
      t.zone = z.zone;
      if (z.unknown) t.unknown_zone = tzid ? tzid : "";
    }
  }
  return t;
}

namespace {

int64_t CivilMinutes(int year, int month, int day, int hour, int minute) {
  return DaysFromCivil(year, month, day) * 1440 + hour * 60 + minute;
}

bool InRange(const icaltimetype& t) {
  return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60;
}

}  // namespace

std::optional<int64_t> LocalMinutes(const icaltimetype& time, icaltimezone* zone) {
  if (!InRange(time)) return std::nullopt;
  if (time.is_date) return CivilMinutes(time.year, time.month, time.day, 0, 0);
  if (!icaltime_is_utc(time) && !zone) return CivilMinutes(time.year, time.month, time.day, time.hour, time.minute);
  icaltimezone* from = icaltime_is_utc(time) ? icaltimezone_get_utc_timezone() : zone;
  const auto seconds = static_cast<int64_t>(icaltime_as_timet_with_zone(time, from));
  platform::LocalTime local;
  if (!platform::LocalFromUtc(seconds, &local) || local.Year < 1 || local.Year > 9999) return std::nullopt;
  return CivilMinutes(local.Year, local.Month, local.Day, local.Hour, local.Minute);
}

}  // namespace tavo::ical
