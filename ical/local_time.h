#pragma once
// Calendar times (libical) as minutes of this machine's local time.

#include <libical/ical.h>

#include <map>
#include <optional>
#include <string>

namespace tavo::ical {

// Where a TZID leads: a zone to convert from, or none (local time).
struct ZoneOf {
  icaltimezone* zone = nullptr;  // nullptr: the time is taken as it is
  bool unknown = false;          // a TZID that neither the file nor the zone database knows
};

// Finds the zones of the TZIDs of one calendar: those its VTIMEZONEs define,
// then the zone database by name, then Windows zone names.
class ZoneResolver {
 public:
  explicit ZoneResolver(icalcomponent* calendar) : calendar_(calendar) {}
  ZoneOf Resolve(const std::string& tzid);

 private:
  icalcomponent* calendar_;
  std::map<std::string, ZoneOf> known_;
};

// The time of a DATE or DATE-TIME property with its TZID resolved.
struct ZonedTime {
  icaltimetype time = icaltime_null_time();
  icaltimezone* zone = nullptr;  // for a time with a TZID; UTC times carry their own
  std::string unknown_zone;      // the TZID when it was taken as local time
};
std::optional<ZonedTime> ReadZonedTime(icalproperty* property, ZoneResolver& zones);

// Minutes since 30 December 1899 00:00 local time: a date is its 00:00, a
// floating time is taken as it is, a UTC or zoned time is converted to this
// machine's zone. Seconds are dropped. Nothing for an invalid time.
std::optional<int64_t> LocalMinutes(const icaltimetype& time, icaltimezone* zone);

}  // namespace tavo::ical
