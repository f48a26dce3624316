#pragma once
// Dates and times as the windows show and edit them, with the repairing readers.

#include <cstdint>
#include <string>

namespace tavo {

// The date part as 10 characters in the user's date order with "/";
// empty for a value that is not a date of the years 1-9999.
std::string DateToText(double date_time);
// Hour and minute as four digits (HHMM); empty for an invalid value.
std::string TimeToText(double date_time);
// "HH:MM" for the lists.
std::string TimeToDisplay(double date_time);
// Reads a 10-character date text, repairing it (0.0 when not 10 characters).
double TextToDate(const std::string& text);
// Reads a 4-character HHMM text, repairing it (0.0 when not 4 characters).
double TextToTime(const std::string& text);

// Today's date (whole days) and the current minute, from the platform clock.
double Today();
double CurrentMinute();
// Seconds since 1970 UTC of the platform clock's now (0 when the local time
// cannot be turned into UTC): the stamp of what is written for other programs.
int64_t NowUtcSeconds();
// The minute `minutes` minutes after (before, when negative) the minute
// `minute`, composed as a reminder's DateTime is, so that the two compare
// equal on the same minute.
double MinutesLater(double minute, int minutes);

}  // namespace tavo
