#pragma once
// Windows time-zone names, as Outlook and Exchange write them in TZID, and
// the zone-database names they stand for (CLDR's windowsZones, territory 001).

#include <string_view>

namespace tavo::ical {

// The zone-database name of a Windows zone name; empty when unknown.
std::string_view IanaNameOfWindowsZone(std::string_view windows_name);

}  // namespace tavo::ical
