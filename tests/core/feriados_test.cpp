#include "calendar/feriados.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "calendar/moon_phases.h"
#include "store/cp1252.h"
#include "dates/date_time.h"

namespace tavo::feriados {
namespace {

// Expected texts are written in UTF-8 here and compared as Windows-1252.
std::string W(const char* utf8) { return Utf8ToCp1252(utf8); }

double Date(int year, int month, int day) { return EncodeDate(year, month, day); }

// The anonymous Gregorian algorithm (Meeus), a differently built computus.
CivilDate MeeusEaster(int y) {
  const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
  const int f = (b + 8) / 25, g = (b - f + 1) / 3;
  const int h = (19 * a + b - d - g + 15) % 30;
  const int i = c / 4, k = c % 4;
  const int l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  const int n = h + l - 7 * m + 114;
  return CivilDate{y, n / 31, n % 31 + 1};
}

TEST(SecondsSince1970, CountsWholeSecondsInSixtyFourBits) {
  struct Case {
    double moment;
    int64_t seconds;
  };
  const Case cases[] = {
      {Date(1970, 1, 1), 0},
      {Date(1995, 9, 24) + EncodeTime(16, 55), 811961700},
      {Date(2038, 1, 19) + EncodeTime(3, 14, 8), 2147483648LL},
      {Date(1901, 12, 13) + EncodeTime(20, 45, 52), -2147483648LL},
      {Date(1901, 12, 13) + EncodeTime(20, 45, 51), -2147483649LL},
      {Date(1900, 1, 1), -2208988800LL},
      {Date(9999, 12, 31) + EncodeTime(23, 59, 59), 253402300799LL},
      // The milliseconds are dropped, after rounding to the millisecond.
      {Date(2024, 6, 1) + EncodeTime(12, 0, 0, 999), 1717243200LL},
      {Date(2024, 6, 1) + (86400000.0 - 0.4) / 86400000.0, 1717286400LL},
  };
  for (const Case& c : cases) EXPECT_EQ(SecondsSince1970(c.moment), c.seconds) << c.moment;
}

TEST(MoonPhases, WorkedExampleOfTheLunarSeries) {
  // The new moon of February 1977: JDE 2443192.6512, 18 February 03:37:42
  // Dynamical Time, about 48 s ahead of Universal Time.
  const moon::PhaseInstant instant = moon::PhaseOfLunation(-283, moon::Phase::New);
  const double expected = Date(1977, 2, 18) + EncodeTime(3, 36, 54);
  EXPECT_NEAR(instant.utc, expected, 5.0 / 86400);
}

TEST(EasterDate, KnownYearsIncludingTheExtremes) {
  const CivilDate cases[] = {
      {2024, 3, 31}, {2019, 4, 21}, {2000, 4, 23}, {2008, 3, 23},
      {1954, 4, 18}, {1981, 4, 19}, {2038, 4, 25}, {2285, 3, 22},
  };
  for (const CivilDate& c : cases) EXPECT_EQ(EasterDate(c.Year), Date(c.Year, c.Month, c.Day)) << c.Year;
}

TEST(EasterDate, AlwaysASundayFrom22MarchTo25AprilAndAgreesWithMeeus) {
  for (int year = 1; year <= 9999; ++year) {
    const double easter = EasterDate(year);
    ASSERT_GE(easter, Date(year, 3, 22)) << year;
    ASSERT_LE(easter, Date(year, 4, 25)) << year;
    ASSERT_EQ(DayOfWeek(easter), 1) << year;
    if (year >= 1583) {
      const CivilDate m = MeeusEaster(year);
      ASSERT_EQ(easter, Date(m.Year, m.Month, m.Day)) << year;
    }
  }
}

TEST(HolidayTable, MovableHolidaysOf2024) {
  const std::vector<DayEntry> table = BuildHolidayTable(2024);
  ASSERT_GE(table.size(), 4u);
  EXPECT_EQ(table[0], (DayEntry{"Carnaval", static_cast<int32_t>(Date(2024, 2, 13))}));
  EXPECT_EQ(table[1], (DayEntry{W("Paixão de Cristo"), static_cast<int32_t>(Date(2024, 3, 29))}));
  EXPECT_EQ(table[2], (DayEntry{W("Páscoa"), static_cast<int32_t>(Date(2024, 3, 31))}));
  EXPECT_EQ(table[3], (DayEntry{"Corpus Christi", static_cast<int32_t>(Date(2024, 5, 30))}));
}

TEST(HolidayTable, ConsciousnessDayJoinsAfterNatalFrom2024) {
  const std::vector<DayEntry> before = BuildHolidayTable(2023);
  const std::vector<DayEntry> since = BuildHolidayTable(2024);
  ASSERT_EQ(before.size(), 12u);
  ASSERT_EQ(since.size(), 13u);
  const char* fixed[] = {"Dia Mundial da Paz", "Tiradentes", "Dia Mundial do Trabalho",
                         "Independência do Brasil", "Nossa Senhora Aparecida", "Dia de Finados",
                         "Proclamação da República no Brasil", "Natal"};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(before[4 + i].Name, W(fixed[i]));
    EXPECT_EQ(since[4 + i].Name, W(fixed[i]));
  }
  EXPECT_EQ(since[11].Day, Date(2024, 12, 25));
  EXPECT_EQ(since[12], (DayEntry{W("Dia Nacional de Zumbi e da Consciência Negra"),
                                 static_cast<int32_t>(Date(2024, 11, 20))}));

  EXPECT_FALSE(IsHoliday(Date(2023, 11, 20)));
  EXPECT_TRUE(IsHoliday(Date(2024, 11, 20)));
  EXPECT_TRUE(IsHoliday(Date(2030, 11, 20)));
  EXPECT_EQ(DateInfoText(Date(2024, 11, 20)),
            W("Quarta-feira - Lua Cheia - Primavera\r\nDia Nacional de Zumbi e da Consciência Negra"));
}

TEST(DateInfoText, SummaryLinesAndTheFirstMatchingHoliday) {
  struct Case {
    CivilDate date;
    const char* text;
  };
  const Case cases[] = {
      {{2024, 12, 25}, "Quarta-feira - Lua Minguante - Verão\r\nNatal"},
      {{2024, 12, 20}, "Sexta-feira - Lua Cheia - Primavera"},
      {{2024, 12, 21}, "Sábado - Lua Cheia - Verão"},
      // Easter and Tiradentes on one day: the movable entry comes first.
      {{2019, 4, 21}, "Domingo - Lua Cheia - Outono\r\nPáscoa"},
      // Good Friday and Tiradentes on one day.
      {{2000, 4, 21}, "Sexta-feira - Lua Cheia - Outono\r\nPaixão de Cristo"},
      {{2024, 2, 13}, "Terça-feira - Lua Nova - Verão\r\nCarnaval"},
      {{2024, 9, 12}, "Quinta-feira - Lua Crescente - Inverno"},
      {{2024, 1, 25}, "Quinta-feira - Lua Cheia - Verão"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateInfoText(Date(c.date.Year, c.date.Month, c.date.Day)), W(c.text)) << c.text;
  }
}

TEST(SeasonName, BoundariesOnThe21st) {
  struct Case {
    int month, day;
    const char* season;
  };
  const Case cases[] = {
      {1, 1, "Verão"},      {3, 20, "Verão"},      {3, 21, "Outono"},  {6, 20, "Outono"},
      {6, 21, "Inverno"},   {9, 20, "Inverno"},    {9, 21, "Primavera"}, {12, 20, "Primavera"},
      {12, 21, "Verão"},    {12, 31, "Verão"},     {2, 29, "Verão"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SeasonName(Date(2024, c.month, c.day)), W(c.season)) << c.month << "/" << c.day;
  }
}

TEST(MoonTable, Year2024) {
  const MoonTable table = BuildMoonTable(2024);
  ASSERT_EQ(table.Count, 50);
  // The last quarter of 4 January 03:30 UTC falls on the 4th at 00:30 local time.
  EXPECT_EQ(table.Entries[0], (DayEntry{"Minguante", static_cast<int32_t>(Date(2024, 1, 4))}));
  EXPECT_EQ(table.Entries[49], (DayEntry{"Nova", static_cast<int32_t>(Date(2024, 12, 30))}));

  EXPECT_EQ(MoonPhaseName(Date(2024, 1, 10)), "Minguante");
  EXPECT_EQ(MoonPhaseName(Date(2024, 1, 11)), "Nova");
  EXPECT_EQ(MoonPhaseName(Date(2024, 1, 25)), "Cheia");
  EXPECT_EQ(MoonPhaseName(Date(2024, 12, 31)), "Nova");
}

TEST(MoonTable, DatesBeforeTheFirstPhaseShowThePhaseFromDecember) {
  // The full moon of 27 December 2023 00:33 UTC is the 26th in local time,
  // and still in effect until the last quarter of 4 January 2024.
  const MoonTable year2023 = BuildMoonTable(2023);
  const DayEntry& last2023 = year2023.Entries[static_cast<size_t>(year2023.Count - 1)];
  EXPECT_EQ(last2023, (DayEntry{"Cheia", static_cast<int32_t>(Date(2023, 12, 26))}));
  EXPECT_EQ(MoonPhaseName(Date(2024, 1, 1)), "Cheia");
  EXPECT_EQ(MoonPhaseName(Date(2024, 1, 3)), "Cheia");
  EXPECT_EQ(PhaseBeforeYear(), last2023);
  EXPECT_EQ(MoonPhaseName(Date(2024, 1, 4)), "Minguante");
}

TEST(MoonTable, EachPhaseOnceInCycleOrderOverTheCenturies) {
  const std::string cycle[] = {"Nova", "Crescente", "Cheia", "Minguante"};
  const auto position = [&cycle](const std::string& name) {
    return static_cast<int>(std::find(std::begin(cycle), std::end(cycle), name) - std::begin(cycle));
  };
  DayEntry previous = LastMoonPhaseOfYear(1899);
  for (int year = 1900; year <= 2100; ++year) {
    const MoonTable table = BuildMoonTable(year);
    ASSERT_GE(table.Count, 49) << year;
    ASSERT_LE(table.Count, 50) << year;
    for (const DayEntry& entry : table.Used()) {
      ASSERT_LT(position(entry.Name), 4) << year;
      // The next phase of the cycle, six to nine days after the one before.
      ASSERT_EQ(position(entry.Name), (position(previous.Name) + 1) % 4) << year << " " << entry.Day;
      ASSERT_GE(entry.Day - previous.Day, 5) << year << " " << entry.Day;
      ASSERT_LE(entry.Day - previous.Day, 9) << year << " " << entry.Day;
      ASSERT_EQ(DecodeDate(entry.Day).Year, year);
      previous = entry;
    }
    ASSERT_EQ(LastMoonPhaseOfYear(year), previous) << year;
  }
  // Far years still give a whole table of the right year.
  for (int year : {1, 1582, 5000, 9999}) {
    const MoonTable table = BuildMoonTable(year);
    EXPECT_GE(table.Count, 49) << year;
    EXPECT_EQ(DecodeDate(table.Entries[0].Day).Year, year);
  }
}

TEST(PrepareYear, RebuildsOnlyForAnotherYear) {
  PrepareYear(2023);
  const int64_t builds = TableBuildCount();
  PrepareYear(2023);
  EXPECT_EQ(TableBuildCount(), builds);
  PrepareYear(2024);
  EXPECT_EQ(TableBuildCount(), builds + 1);
  EXPECT_EQ(CachedYear(), 2024);
  PrepareYear(2023);
  EXPECT_EQ(TableBuildCount(), builds + 2);
  EXPECT_EQ(CachedYear(), 2023);
  EXPECT_EQ(Holidays(), BuildHolidayTable(2023));
  EXPECT_EQ(MoonPhases().Entries, BuildMoonTable(2023).Entries);

  // Lookups within the cached year cost no rebuild.
  IsHoliday(Date(2023, 5, 1));
  DateInfoText(Date(2023, 12, 31));
  MoonPhaseName(Date(2023, 1, 1));
  EXPECT_EQ(TableBuildCount(), builds + 2);

  // Years without valid dates change nothing.
  for (int year : {0, -1, 10000, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    PrepareYear(year);
  }
  EXPECT_EQ(TableBuildCount(), builds + 2);
  EXPECT_EQ(CachedYear(), 2023);
}

TEST(DateInfoText, ValuesThatAreNoDateGiveNothing) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        1e300, -1e9, 2958466.0};
  for (double value : bad) {
    EXPECT_EQ(DateInfoText(value), "");
    EXPECT_FALSE(IsHoliday(value));
    EXPECT_EQ(MoonPhaseName(value), "");
  }
}

}  // namespace
}  // namespace tavo::feriados
