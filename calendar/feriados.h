#pragma once
// Module feriados: the calendar facts shown beneath a reminder — weekday,
// moon phase, southern-hemisphere season and Brazilian holidays — computed
// from the program's date-time values (store/date_time.h). No files, no UI.
//
// Texts are Windows-1252 bytes, like every text of the store.
//
// The moon and holiday tables of one year are module-wide state that every
// caller shares; they are rebuilt only when a date of another year is asked
// for. Single-threaded: use from the user-interface thread only.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::feriados {

// One named day. An empty entry has an empty Name and Day 0.
struct DayEntry {
  std::string Name;
  int32_t Day = 0;  // day number (whole days since 30 December 1899)

  bool operator==(const DayEntry&) const = default;
};

// Weekday names indexed by weekday number, 1 = Sunday .. 7 = Saturday.
// Index 0 is unused and empty.
inline constexpr std::array<std::string_view, 8> WeekdayNames = {
    "",
    "Domingo",
    "Segunda-feira",
    "Ter\xE7" "a-feira",
    "Quarta-feira",
    "Quinta-feira",
    "Sexta-feira",
    "S\xE1" "bado",
};

inline constexpr int kMoonTableSize = 60;

// The principal moon phases of one year in time order, each on the day it
// falls in the program's fixed local time (three hours behind UTC): 49 or
// 50 of them. Entries from Count on are empty; a phase beyond the last slot
// would be dropped.
struct MoonTable {
  std::array<DayEntry, kMoonTableSize> Entries{};
  int Count = 0;

  std::span<const DayEntry> Used() const { return {Entries.data(), static_cast<size_t>(Count)}; }
};

// Whole seconds from 1 January 1970 00:00 to the moment, with no time zone.
// The time of day is rounded to the nearest millisecond before the
// milliseconds are dropped (23:59:59.9996 counts as the next midnight).
// Exact in 64 bits for every valid date-time.
int64_t SecondsSince1970(double moment);

// Easter Sunday of a year (Gregorian computus), as a date value. Meaningful
// for the years 1 to 9999.
double EasterDate(int year);

// "Verão", "Outono", "Inverno" or "Primavera" by day and month, southern
// hemisphere, with the boundaries fixed on the 21st.
std::string_view SeasonName(double date);

// The moon phases of a year from their astronomical instants. Independent of
// the cached tables (the command line lists a year with it).
MoonTable BuildMoonTable(int year);

// The last phase of a year (the last used entry of BuildMoonTable), found
// without building the whole table.
DayEntry LastMoonPhaseOfYear(int year);

// The holiday table of a year in its fixed order: Carnaval, Paixão de Cristo,
// Páscoa, Corpus Christi, then the eight fixed holidays up to Natal; from
// 2024 on a thirteenth entry, the Dia Nacional de Zumbi e da Consciência
// Negra (20 November). Wherever the table is searched the first match wins.
std::vector<DayEntry> BuildHolidayTable(int year);

// Makes the shared tables describe a year, rebuilding them only when the
// year differs from CachedYear(). Years outside 1 to 9999 (no valid date has
// one) change nothing.
void PrepareYear(int year);

// The year the shared tables describe (1900 until another year is asked for).
int CachedYear();
const MoonTable& MoonPhases();
const std::vector<DayEntry>& Holidays();
// The last phase of the year before CachedYear(): the phase in effect on the
// dates before the first entry of MoonPhases().
const DayEntry& PhaseBeforeYear();

// How many times the shared tables have been built, for tests of the cache.
int64_t TableBuildCount();

// The name of the moon phase in effect on a date. Prepares the date's year.
// Empty for a value that is not a valid date-time.
std::string MoonPhaseName(double date);

// True when the date is one of its year's holidays. Prepares the date's year.
bool IsHoliday(double date);

// "Weekday - Lua Phase - Season", plus CR LF and the first matching holiday
// when the date is one. Prepares the date's year. Empty for a value that is
// not a valid date-time.
std::string DateInfoText(double date);

}  // namespace tavo::feriados
