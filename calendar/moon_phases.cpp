#include "calendar/moon_phases.h"

#include <array>
#include <cmath>
#include <numbers>

namespace tavo::moon {
namespace {

constexpr double kJulianDayOfDayZero = 2415018.5;  // 30 December 1899 00:00
constexpr double kMeanSynodicMonth = 29.530588861;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// sin of an angle given in degrees, reduced first so large multiples of k
// keep their precision.
double SinDeg(double degrees) { return std::sin(Radians(std::fmod(degrees, 360.0))); }
double CosDeg(double degrees) { return std::cos(Radians(std::fmod(degrees, 360.0))); }

// The periodic terms of one kind of phase: coefficient, power of E, and the
// multiples of M (sun's anomaly), M' (moon's anomaly), F (argument of
// latitude) and Omega (ascending node) in the sine's argument.
struct Term {
  double coefficient;
  int e_power;
  int m, m_moon, f, omega;
};

constexpr std::array<Term, 25> kNewMoonTerms = {{
    {-0.40720, 0, 0, 1, 0, 0}, {0.17241, 1, 1, 0, 0, 0},   {0.01608, 0, 0, 2, 0, 0},
    {0.01039, 0, 0, 0, 2, 0},  {0.00739, 1, -1, 1, 0, 0},  {-0.00514, 1, 1, 1, 0, 0},
    {0.00208, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0}, {-0.00057, 0, 0, 1, 2, 0},
    {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0},  {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0}, {-0.00017, 0, 0, 0, 0, 1},
    {-0.00007, 0, 2, 1, 0, 0}, {0.00004, 0, 0, 2, -2, 0},  {0.00004, 0, 3, 0, 0, 0},
    {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},   {-0.00003, 0, 1, 1, 2, 0},
    {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0},
}};

constexpr std::array<Term, 25> kFullMoonTerms = {{
    {-0.40614, 0, 0, 1, 0, 0}, {0.17302, 1, 1, 0, 0, 0},   {0.01614, 0, 0, 2, 0, 0},
    {0.01043, 0, 0, 0, 2, 0},  {0.00734, 1, -1, 1, 0, 0},  {-0.00515, 1, 1, 1, 0, 0},
    {0.00209, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0}, {-0.00057, 0, 0, 1, 2, 0},
    {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0},  {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0}, {-0.00017, 0, 0, 0, 0, 1},
    {-0.00007, 0, 2, 1, 0, 0}, {0.00004, 0, 0, 2, -2, 0},  {0.00004, 0, 3, 0, 0, 0},
    {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},   {-0.00003, 0, 1, 1, 2, 0},
    {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0},
}};

constexpr std::array<Term, 25> kQuarterTerms = {{
    {-0.62801, 0, 0, 1, 0, 0}, {0.17172, 1, 1, 0, 0, 0},   {-0.01183, 1, 1, 1, 0, 0},
    {0.00862, 0, 0, 2, 0, 0},  {0.00804, 0, 0, 0, 2, 0},   {0.00454, 1, -1, 1, 0, 0},
    {0.00204, 2, 2, 0, 0, 0},  {-0.00180, 0, 0, 1, -2, 0}, {-0.00070, 0, 0, 1, 2, 0},
    {-0.00040, 0, 0, 3, 0, 0}, {-0.00034, 1, -1, 2, 0, 0}, {0.00032, 1, 1, 0, 2, 0},
    {0.00032, 1, 1, 0, -2, 0}, {-0.00028, 2, 2, 1, 0, 0},  {0.00027, 1, 1, 2, 0, 0},
    {-0.00017, 0, 0, 0, 0, 1}, {-0.00005, 0, -1, 1, -2, 0}, {0.00004, 0, 0, 2, 2, 0},
    {-0.00004, 0, 1, 1, 2, 0}, {0.00004, 0, -2, 1, 0, 0},  {0.00003, 0, 1, 1, -2, 0},
    {0.00003, 0, 3, 0, 0, 0},  {0.00002, 0, 0, 2, -2, 0},  {0.00002, 0, -1, 1, 2, 0},
    {-0.00002, 0, 1, 3, 0, 0},
}};

// The additional corrections for all phases: coefficient, and the planetary
// argument's constant, rate per lunation and rate per T squared (degrees).
struct Planetary {
  double coefficient, constant, rate, t2_rate;
};

constexpr std::array<Planetary, 14> kPlanetaryTerms = {{
    {0.000325, 299.77, 0.107408, -0.009173}, {0.000165, 251.88, 0.016321, 0}, {0.000164, 251.83, 26.651886, 0},
    {0.000126, 349.42, 36.412478, 0}, {0.000110, 84.66, 18.206239, 0}, {0.000062, 141.74, 53.303771, 0},
    {0.000060, 207.14, 2.453732, 0},  {0.000056, 154.84, 7.306860, 0},  {0.000047, 34.52, 27.261239, 0},
    {0.000042, 207.19, 0.121824, 0},  {0.000040, 291.34, 1.844379, 0},  {0.000037, 161.72, 24.198154, 0},
    {0.000035, 239.56, 25.513099, 0}, {0.000023, 331.55, 3.592518, 0},
}};

double SumTerms(const std::array<Term, 25>& terms, double e, double m, double m_moon, double f, double omega) {
  double sum = 0;
  for (const Term& t : terms) {
    const double scale = t.e_power == 0 ? 1.0 : (t.e_power == 1 ? e : e * e);
    sum += t.coefficient * scale * SinDeg(t.m * m + t.m_moon * m_moon + t.f * f + t.omega * omega);
  }
  return sum;
}

// The Julian Ephemeris Day of a phase, k = lunation + quarter / 4.
double PhaseJde(double k, Phase phase) {
  const double t = k / 1236.85;
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  double jde = 2451550.09766 + kMeanSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
  const double e = 1 - 0.002516 * t - 0.0000074 * t2;
  const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
  const double m_moon = 201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
  const double f = 160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
  const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;

  switch (phase) {
    case Phase::New: jde += SumTerms(kNewMoonTerms, e, m, m_moon, f, omega); break;
    case Phase::Full: jde += SumTerms(kFullMoonTerms, e, m, m_moon, f, omega); break;
    case Phase::FirstQuarter:
    case Phase::LastQuarter: {
      jde += SumTerms(kQuarterTerms, e, m, m_moon, f, omega);
      const double w = 0.00306 - 0.00038 * e * CosDeg(m) + 0.00026 * CosDeg(m_moon) - 0.00002 * CosDeg(m_moon - m) +
                       0.00002 * CosDeg(m_moon + m) + 0.00002 * CosDeg(2 * f);
      jde += phase == Phase::FirstQuarter ? w : -w;
      break;
    }
  }
  for (const Planetary& p : kPlanetaryTerms) {
    jde += p.coefficient * SinDeg(p.constant + p.rate * k + p.t2_rate * t2);
  }
  return jde;
}

}  // namespace

double DeltaTSeconds(double y) {
  // Espenak & Meeus, "Five Millennium Canon of Solar Eclipses" (NASA, 2006).
  const auto parabola = [](double year) {
    const double u = (year - 1820) / 100;
    return -20 + 32 * u * u;
  };
  if (y < 1800 || y >= 2150) return parabola(y);
  if (y < 1860) {
    const double t = y - 1800;
    return 13.72 - 0.332447 * t + 0.0068612 * t * t + 0.0041116 * std::pow(t, 3) - 0.00037436 * std::pow(t, 4) +
           0.0000121272 * std::pow(t, 5) - 0.0000001699 * std::pow(t, 6) + 0.000000000875 * std::pow(t, 7);
  }
  if (y < 1900) {
    const double t = y - 1860;
    return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * std::pow(t, 3) - 0.0004473624 * std::pow(t, 4) +
           std::pow(t, 5) / 233174;
  }
  if (y < 1920) {
    const double t = y - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * std::pow(t, 3) - 0.000197 * std::pow(t, 4);
  }
  if (y < 1941) {
    const double t = y - 1920;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * std::pow(t, 3);
  }
  if (y < 1961) {
    const double t = y - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + std::pow(t, 3) / 2547;
  }
  if (y < 1986) {
    const double t = y - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - std::pow(t, 3) / 718;
  }
  if (y < 2005) {
    const double t = y - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * std::pow(t, 3) + 0.000651814 * std::pow(t, 4) +
           0.00002373599 * std::pow(t, 5);
  }
  if (y < 2050) {
    const double t = y - 2000;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  return parabola(y) - 0.5628 * (2150 - y);
}

PhaseInstant PhaseOfLunation(int64_t lunation, Phase phase) {
  const double k = static_cast<double>(lunation) + static_cast<int>(phase) * 0.25;
  const double jde = PhaseJde(k, phase);
  const double decimal_year = 2000.0 + (jde - 2451544.5) / 365.2425;
  const double utc = jde - DeltaTSeconds(decimal_year) / 86400.0 - kJulianDayOfDayZero;
  return {phase, utc};
}

int64_t LunationNear(double utc) {
  const double jd = utc + kJulianDayOfDayZero;
  return static_cast<int64_t>(std::floor((jd - 2451550.09766) / kMeanSynodicMonth));
}

}  // namespace tavo::moon
