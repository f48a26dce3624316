#pragma once
// The instants of the moon's four principal phases (new, first quarter,
// full, last quarter) by the lunar-phase series of Meeus, "Astronomical
// Algorithms" (2nd ed.), chapter 49: accurate to well under a minute over
// the centuries around 2000, given in Universal Time.

#include <cstdint>

namespace tavo::moon {

enum class Phase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };

// One principal phase: which one, and when, as a date-time value in UTC
// (days since 30 December 1899 00:00 UTC, with the fraction of the day).
struct PhaseInstant {
  Phase phase = Phase::New;
  double utc = 0;
};

// The phase with lunation number `lunation` (0 = the new moon of
// 6 January 2000; one step per synodic month) and the given quarter.
PhaseInstant PhaseOfLunation(int64_t lunation, Phase phase);

// The lunation whose new moon is the last at or before a UTC moment (within
// one lunation of the truth; callers step from it).
int64_t LunationNear(double utc);

// Terrestrial Time minus Universal Time, in seconds, for a decimal year
// (the Espenak-Meeus polynomials; a parabola far from the present).
double DeltaTSeconds(double decimal_year);

}  // namespace tavo::moon
