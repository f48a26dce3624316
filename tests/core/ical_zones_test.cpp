// Zones named by TZID without a VTIMEZONE in the file come from libical's
// zone database: Debian's on Linux, the same data built into the Windows
// programs. The instants below are the zone rules' own, on both.

#include <gtest/gtest.h>

#include <libical/ical.h>

#include <string>

#include "ical/local_time.h"

namespace tavo {
namespace {

class ZoneDatabase : public ::testing::Test {
 protected:
  void SetUp() override { calendar_ = icalcomponent_new_vcalendar(); }
  void TearDown() override { icalcomponent_free(calendar_); }

  // Seconds since 1970 UTC of a wall-clock time in the zone named tzid.
  int64_t Utc(const std::string& tzid, const char* local) {
    ical::ZoneResolver zones(calendar_);
    const ical::ZoneOf zone = zones.Resolve(tzid);
    EXPECT_FALSE(zone.unknown) << tzid;
    if (zone.unknown) return 0;
    return static_cast<int64_t>(icaltime_as_timet_with_zone(icaltime_from_string(local), zone.zone));
  }

  icalcomponent* calendar_ = nullptr;
};

// 2026-03-12 10:00 UTC and so on, as seconds since 1970.
int64_t At(int year, int month, int day, int hour, int minute) {
  icaltimetype t = icaltime_null_time();
  t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute;
  return static_cast<int64_t>(icaltime_as_timet_with_zone(t, icaltimezone_get_utc_timezone()));
}

TEST_F(ZoneDatabase, ConvertsStandardAndSummerTimeOfAZone) {
  EXPECT_EQ(Utc("Europe/Berlin", "20260312T100000"), At(2026, 3, 12, 9, 0));
  EXPECT_EQ(Utc("Europe/Berlin", "20260712T100000"), At(2026, 7, 12, 8, 0));
  EXPECT_EQ(Utc("Asia/Tokyo", "20260320T090000"), At(2026, 3, 20, 0, 0));
}

TEST_F(ZoneDatabase, KeepsPastRulesThatAZoneNoLongerFollows) {
  // Brazil's summer time ended after 2019.
  EXPECT_EQ(Utc("America/Sao_Paulo", "20181201T120000"), At(2018, 12, 1, 14, 0));
  EXPECT_EQ(Utc("America/Sao_Paulo", "20201201T120000"), At(2020, 12, 1, 15, 0));
  EXPECT_EQ(Utc("America/Sao_Paulo", "19871201T120000"), At(1987, 12, 1, 14, 0));
}

TEST_F(ZoneDatabase, FindsNamesOutsideTheZoneTableAndWindowsNames) {
  EXPECT_EQ(Utc("US/Eastern", "20260115T120000"), At(2026, 1, 15, 17, 0));
  EXPECT_EQ(Utc("Tokyo Standard Time", "20260320T090000"), At(2026, 3, 20, 0, 0));
}

TEST_F(ZoneDatabase, ListsTheZoneTableAndLeavesUnknownNamesUnknown) {
  EXPECT_GT(icaltimezone_get_builtin_timezones()->num_elements, 300u);
  ical::ZoneResolver zones(calendar_);
  EXPECT_TRUE(zones.Resolve("Mars/Olympus_Mons").unknown);
  EXPECT_TRUE(zones.Resolve("../../etc/passwd").unknown);
}

}  // namespace
}  // namespace tavo
