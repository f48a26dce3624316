#include "calendar/feriados.h"

#include <cmath>
#include <numbers>

#include "store/date_time.h"

namespace tavo::feriados {
namespace {

constexpr double kSynodicMonthSeconds = 2551442.9;
constexpr double kSynodicMonthDays = 29.53058912037037;  // kSynodicMonthSeconds / 86400
constexpr int64_t kReferenceNewMoon = 811961700;          // 24 September 1995 16:55:00
constexpr int64_t kDay1970 = 25569;                       // day number of 1 January 1970

constexpr double kScanStep = 0.001;        // 86.4 seconds
constexpr double kJumpAfterFind = 5.0;     // days after the start of the window of a find
constexpr double kFindDayOffset = 0.125;   // a find is dated 3 hours before its sample

constexpr std::string_view kCrescente = "Crescente";
constexpr std::string_view kMinguante = "Minguante";
constexpr std::string_view kNova = "Nova";
constexpr std::string_view kCheia = "Cheia";

double IlluminationAt(int64_t seconds) {
  const double q = static_cast<double>(seconds - kReferenceNewMoon) / kSynodicMonthSeconds;
  const double age = (q - std::trunc(q)) * kSynodicMonthSeconds / 86400.0;
  return (1.0 - std::cos(2.0 * std::numbers::pi * age / kSynodicMonthDays)) * 0.5;
}

// The phase test of one sample. `k` is truncate(10000 × illumination).
std::string_view PhaseAtSample(double cur, double illumination) {
  const int k = static_cast<int>(10000.0 * illumination);
  if (k >= 4998 && k <= 5002) {
    const double before = MoonIllumination(cur - 2.0);
    if (illumination > before) return kCrescente;
    if (illumination < before) return kMinguante;
  }
  if (k <= 4) return kNova;
  if (k >= 9996) return kCheia;
  return {};
}

// Most samples of the scan lie far from every threshold window, and the
// illumination changes at most pi / kSynodicMonthSeconds per second. After
// evaluating a sample, this bounds the moments around it at which no window
// can be reached, so the scan skips their cosines and still visits exactly
// the samples that the plain scan would find.
class SkipRange {
 public:
  bool Covers(int64_t seconds) const { return seconds > low_ && seconds < high_; }

  void Clear() { low_ = high_ = 0; }

  void Learn(int64_t seconds, double illumination) {
    // The windows in units of 10000 × illumination: k <= 4, 4998 <= k <= 5002,
    // k >= 9996.
    const double x = 10000.0 * illumination;
    double distance = 0;
    if (x >= 5 && x < 4998) {
      distance = std::min(x - 5, 4998 - x);
    } else if (x >= 5003 && x < 9996) {
      distance = std::min(x - 5003, 9996 - x);
    }
    // Margins far above the rounding error of the illumination.
    constexpr double kSecondsPerUnit = kSynodicMonthSeconds / (10000.0 * std::numbers::pi);
    const double radius = (distance - 1e-3) * kSecondsPerUnit - 1.0;
    if (radius <= 0) {
      Clear();
      return;
    }
    const auto r = static_cast<int64_t>(radius);
    low_ = seconds - r;
    high_ = seconds + r;
  }

 private:
  int64_t low_ = 0;
  int64_t high_ = 0;
};

// Scans one month from its first day 00:00 in steps of 0.001 day, one-day
// windows at a time, and calls found(name, day) for every phase found. After
// a find the scan goes on 5 days after the start of that window. The month is
// tested only when a window ends or after a jump, so the last window may run
// into the next month.
template <class Found>
void ScanMonth(int year, int month, Found&& found) {
  double cur = EncodeDate(year, month, 1);
  SkipRange skip;
  while (DecodeDate(cur).Month == month) {
    const double base = cur;
    do {
      cur += kScanStep;
      const int64_t seconds = SecondsSince1970(cur);
      if (skip.Covers(seconds)) continue;
      const double illumination = IlluminationAt(seconds);
      const std::string_view phase = PhaseAtSample(cur, illumination);
      if (!phase.empty()) {
        found(phase, static_cast<int32_t>(DayNumber(cur - kFindDayOffset)));
        cur = base + kJumpAfterFind;
        skip.Clear();
      } else {
        skip.Learn(seconds, illumination);
      }
    } while (cur < base + 1.0);
  }
}

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

double MoonAge(double moment) {
  const double q = static_cast<double>(SecondsSince1970(moment) - kReferenceNewMoon) / kSynodicMonthSeconds;
  return (q - std::trunc(q)) * kSynodicMonthSeconds / 86400.0;
}

double MoonIllumination(double moment) { return IlluminationAt(SecondsSince1970(moment)); }

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
  for (int month = 1; month <= 12; ++month) {
    ScanMonth(year, month, [&table](std::string_view name, int32_t day) {
      if (table.Count == kMoonTableSize) return;
      table.Entries[static_cast<size_t>(table.Count++)] = DayEntry{std::string(name), day};
    });
  }
  return table;
}

DayEntry LastMoonPhaseOfYear(int year) {
  DayEntry last;
  ScanMonth(year, 12, [&last](std::string_view name, int32_t day) { last = DayEntry{std::string(name), day}; });
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
