#pragma once
// Moving a repeating reminder on by one period, keeping its time of day.

namespace tavo {

// Daily +1 day, weekly +7 days, monthly the same day next month (the last
// day of that month when it is shorter), yearly the same day next year
// (29 February becomes 28 February). Kind 0 (or a damaged kind) returns the
// value unchanged, and so does a value that is no valid date-time.
double StepOnePeriod(double date_time, int repeat_kind);

}  // namespace tavo
