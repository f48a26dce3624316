#include "calendar/feriados.h"

#include <array>
#include <cmath>

#include "calendar/moon_phases.h"
#include "dates/date_time.h"

namespace tavo::feriados {
namespace {

constexpr int64_t kDay1970 = 25569;        // day number of 1 January 1970
constexpr double kLocalOffset = 3.0 / 24;  // the program's fixed offset: three hours behind UTC

// Table names of the four principal phases, in the order of moon::Phase.
constexpr std::array<std::string_view, 4> kPhaseNames = {"Nova", "Crescente", "Cheia", "Minguante"};

// The local day (UTC - 3 h) on which a phase falls.
int32_t LocalDay(const moon::PhaseInstant& instant) {
  return static_cast<int32_t>(std::floor(instant.utc - kLocalOffset));
}

// Calls found(name, day) for every principal phase whose local day lies in
// [first_day, end_day), in time order.
template <class Found>
void ForEachPhase(int64_t first_day, int64_t end_day, Found&& found) {
  // One lunation before the first day covers the quarters of the lunation
  // that ends inside the range.
  for (int64_t lunation = moon::LunationNear(static_cast<double>(first_day)) - 1;; ++lunation) {
    for (int quarter = 0; quarter < 4; ++quarter) {
      const moon::PhaseInstant instant = moon::PhaseOfLunation(lunation, static_cast<moon::Phase>(quarter));
      const int32_t day = LocalDay(instant);
      if (day >= end_day) return;
      if (day >= first_day) found(kPhaseNames[static_cast<size_t>(quarter)], day);
    }
  }
}

int64_t FirstDayOfYear(int year) { return DaysFromCivil(year, 1, 1); }

bool IsValidYear(int year) { return year >= 1 && year <= 9999; }

struct SharedTables {
  int Year = -1;
  MoonTable Moon;
  DayEntry Before;
  std::vector<DayEntry> Holidays;
  int64_t Builds = 0;
};

SharedTables& Shared() {
  static SharedTables tables = [] {
    SharedTables t;
    t.Moon = BuildMoonTable(1900);
    t.Before = LastMoonPhaseOfYear(1899);
    t.Holidays = BuildHolidayTable(1900);
    t.Year = 1900;
    t.Builds = 1;
    return t;
  }();
  return tables;
}

// The phase in effect: the latest used entry on or before the day; before
// the first entry, the last phase of the year before.
const std::string& PhaseInEffect(int64_t day) {
  const SharedTables& t = Shared();
  const std::string* name = &t.Before.Name;
  for (const DayEntry& entry : t.Moon.Used()) {
    if (entry.Day > day) break;
    name = &entry.Name;
  }
  return *name;
}

}  // namespace

int64_t SecondsSince1970(double moment) {
  // Far beyond every date-time; keeps NaN and huge values from overflowing.
  if (!(std::fabs(moment) < 1e12)) return 0;
  double whole = 0;
  const double fraction = std::fabs(std::modf(moment, &whole));
  const int64_t days = DayNumber(moment) - kDay1970;
  const int64_t milliseconds = std::llround(fraction * 86400000.0);
  return days * 86400 + milliseconds / 1000;
}

double EasterDate(int year) {
  // Oudin's form of the Gregorian computus; divisions truncate.
  const int y = year;
  const int a = y / 100;
  const int g = y % 19;
  const int k = (a - 17) / 25;
  const int h = (a - a / 4 - (a - k) / 3 + 19 * g + 15) % 30;
  const int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
  const int j = (y + y / 4 + i + 2 - a + a / 4) % 7;
  const int l = i - j;
  const int month = 3 + (l + 40) / 44;
  const int day = l + 28 - 31 * (month / 4);
  return EncodeDate(year, month, day);
}

std::string_view SeasonName(double date) {
  const CivilDate d = DecodeDate(date);
  const int monthDay = d.Month * 100 + d.Day;
  if (monthDay < 321) return "Ver\xE3o";
  if (monthDay < 621) return "Outono";
  if (monthDay < 921) return "Inverno";
  if (monthDay < 1221) return "Primavera";
  return "Ver\xE3o";
}

MoonTable BuildMoonTable(int year) {
  MoonTable table;
  ForEachPhase(FirstDayOfYear(year), FirstDayOfYear(year + 1), [&table](std::string_view name, int32_t day) {
    if (table.Count == kMoonTableSize) return;
    table.Entries[static_cast<size_t>(table.Count++)] = DayEntry{std::string(name), day};
  });
  return table;
}

DayEntry LastMoonPhaseOfYear(int year) {
  // Principal phases are never more than nine days apart.
  const int64_t end = FirstDayOfYear(year + 1);
  DayEntry last;
  ForEachPhase(end - 10, end, [&last](std::string_view name, int32_t day) { last = DayEntry{std::string(name), day}; });
  return last;
}

std::vector<DayEntry> BuildHolidayTable(int year) {
  const auto easter = static_cast<int32_t>(EasterDate(year));
  const auto fixed = [year](int month, int day) { return static_cast<int32_t>(DaysFromCivil(year, month, day)); };
  std::vector<DayEntry> table = {
      {"Carnaval", easter - 47},
      {"Paix\xE3o de Cristo", easter - 2},
      {"P\xE1scoa", easter},
      {"Corpus Christi", easter + 60},
      {"Dia Mundial da Paz", fixed(1, 1)},
      {"Tiradentes", fixed(4, 21)},
      {"Dia Mundial do Trabalho", fixed(5, 1)},
      {"Independ\xEAncia do Brasil", fixed(9, 7)},
      {"Nossa Senhora Aparecida", fixed(10, 12)},
      {"Dia de Finados", fixed(11, 2)},
      {"Proclama\xE7\xE3o da Rep\xFA" "blica no Brasil", fixed(11, 15)},
      {"Natal", fixed(12, 25)},
  };
  // A national holiday by federal law since 2024 (Lei 14.759, December 2023).
  if (year >= 2024) table.push_back({"Dia Nacional de Zumbi e da Consci\xEAncia Negra", fixed(11, 20)});
  return table;
}

void PrepareYear(int year) {
  if (!IsValidYear(year)) return;
  SharedTables& t = Shared();
  if (year == t.Year) return;
  t.Moon = BuildMoonTable(year);
  t.Before = LastMoonPhaseOfYear(year - 1);
  t.Holidays = BuildHolidayTable(year);
  t.Year = year;
  ++t.Builds;
}

int CachedYear() { return Shared().Year; }
const MoonTable& MoonPhases() { return Shared().Moon; }
const std::vector<DayEntry>& Holidays() { return Shared().Holidays; }
const DayEntry& PhaseBeforeYear() { return Shared().Before; }
int64_t TableBuildCount() { return Shared().Builds; }

std::string MoonPhaseName(double date) {
  if (!IsValidDateTime(date)) return {};
  PrepareYear(DecodeDate(date).Year);
  return PhaseInEffect(DayNumber(date));
}

bool IsHoliday(double date) {
  if (!IsValidDateTime(date)) return false;
  PrepareYear(DecodeDate(date).Year);
  const int64_t day = DayNumber(date);
  for (const DayEntry& holiday : Shared().Holidays) {
    if (holiday.Day == day) return true;
  }
  return false;
}

std::string DateInfoText(double date) {
  if (!IsValidDateTime(date)) return {};
  PrepareYear(DecodeDate(date).Year);
  const int64_t day = DayNumber(date);
  std::string text(WeekdayNames[static_cast<size_t>(DayOfWeek(date))]);
  text += " - Lua ";
  text += PhaseInEffect(day);
  text += " - ";
  text += SeasonName(date);
  for (const DayEntry& holiday : Shared().Holidays) {
    if (holiday.Day == day) {
      text += "\r\n";
      text += holiday.Name;
      break;
    }
  }
  return text;
}

}  // namespace tavo::feriados
