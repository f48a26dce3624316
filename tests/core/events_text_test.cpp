#include "calendar/events_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>

#include "calendar/feriados.h"
#include "store/cp1252.h"
#include "dates/date_time.h"

namespace tavo {
namespace {

// Expected texts are written in UTF-8 here and compared as Windows-1252.
std::string W(const char* utf8) { return Utf8ToCp1252(utf8); }

double Date(int year, int month, int day) { return EncodeDate(year, month, day); }

std::string ReadShipped(const char* name) {
  std::ifstream in(std::string(QUELVO_SOURCE_DIR) + "/assets/datas/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether a line is "dd/mm=text" with a real day of a leap year.
bool ParseSaintLine(const std::string& line, std::string* key) {
  if (line.size() < 7 || line[2] != '/' || line[5] != '=') return false;
  for (int i : {0, 1, 3, 4}) {
    if (line[static_cast<size_t>(i)] < '0' || line[static_cast<size_t>(i)] > '9') return false;
  }
  const int day = std::stoi(line.substr(0, 2));
  const int month = std::stoi(line.substr(3, 2));
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(2024, month)) return false;
  *key = line.substr(0, 5);
  return line.find_first_not_of(" \t", 6) != std::string::npos;
}

TEST(SplitTextLines, LineEndsAndTheZeroByte) {
  struct Case {
    std::string bytes;
    TextLines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\n", {"a", "b", "c"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string("\0a", 2), {}},
      {"Ter\xE7" "a\r\n", {"Ter\xE7" "a"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.bytes), c.lines) << c.bytes;
}

TEST(DateEventsText, MothersAndFathersDayOnTheSecondSunday) {
  struct Case {
    CivilDate date;
    const char* events;
  };
  const Case cases[] = {
      {{2024, 5, 12}, "Dia das Mães"}, {{2024, 5, 5}, ""},  {{2024, 5, 19}, ""},
      {{2022, 5, 8}, "Dia das Mães"},  {{2023, 5, 14}, "Dia das Mães"}, {{2022, 5, 15}, ""},
      {{2024, 8, 11}, "Dia dos Pais"}, {{2021, 8, 8}, "Dia dos Pais"},  {{2022, 8, 14}, "Dia dos Pais"},
      {{2024, 8, 4}, ""},              {{2024, 6, 9}, ""},
  };
  for (const Case& c : cases) {
    const double date = Date(c.date.Year, c.date.Month, c.date.Day);
    ASSERT_EQ(DayOfWeek(date), 1) << "not a Sunday: " << c.date.Day << "/" << c.date.Month;
    EXPECT_EQ(DateEventsText(date, {}, {}), W(c.events)) << c.date.Day << "/" << c.date.Month;
  }
  // A weekday between the 8th and the 14th is no observance.
  EXPECT_EQ(DateEventsText(Date(2024, 5, 13), {}, {}), "");
}

TEST(EventsText, ChristmasDay2024HasFiveLines) {
  const TextLines dates = SplitTextLines(
      "[24/12]\r\nVéspera\r\n[25/12]\r\nPrimeira linha\r\nSegunda linha\r\n\r\n[26/12]\r\nDepois\r\n");
  const TextLines saints = {"24/12=Santa Adela", "25/12=Natal do Senhor", "26/12=Santo Estêvão"};
  SaintsList() = saints;
  DatesList() = dates;
  EXPECT_EQ(EventsText(Date(2024, 12, 25)),
            W("Quarta-feira - Lua Minguante - Verão\r\nNatal\r\nPrimeira linha\r\nSegunda linha\r\nNatal do Senhor"));
  // A day without events is the summary line alone.
  SaintsList().clear();
  DatesList().clear();
  EXPECT_EQ(EventsText(Date(2024, 12, 27)), W("Sexta-feira - Lua Minguante - Verão"));
  EXPECT_EQ(EventsText(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(DateEventsText, DatesFileEntries) {
  struct Case {
    const char* name;
    std::string file;
    std::string events;  // of 7 September 2024
  };
  const Case cases[] = {
      {"blank lines before the next marker are dropped", "[07/09]\r\nDesfile\r\n\r\n\r\n[08/09]\r\nx", "Desfile"},
      {"an entry at the end runs to the end", "[06/09]\r\nx\r\n[07/09]  Desfile\r\nMais", "Desfile\r\nMais"},
      {"lines inside an entry stay", "[07/09]\r\nUm\r\n\r\nDois\r\n", "Um\r\n\r\nDois"},
      {"a marker followed at once by the next", "[07/09][08/09]Outro", ""},
      {"only the first marker counts", "[07/09]\r\nPrimeiro\r\n[07/09]\r\nSegundo", "Primeiro"},
      {"the entry ends at any bracket", "[07/09] Desfile [ver] fim", "Desfile"},
      {"a marker inside a line", "Hoje: [07/09]Desfile", "Desfile"},
      {"no marker", "[7/9] x\r\n07/09 y", ""},
      {"accented letters at the ends are kept", "[07/09]\xC9poca \xE0\r\n", "\xC9poca \xE0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateEventsText(Date(2024, 9, 7), {}, SplitTextLines(c.file)), c.events) << c.name;
  }
}

TEST(DateEventsText, SaintsFileEntries) {
  struct Case {
    const char* name;
    TextLines saints;
    std::string events;  // of 7 September 2024
  };
  const Case cases[] = {
      {"a plain line", {"06/09=Outro", "07/09=Santa Regina"}, "Santa Regina"},
      {"blanks and control characters trimmed", {"07/09= \t\x01Santa Regina \t"}, "Santa Regina"},
      {"accented letters at the ends are kept", {"07/09=\xC9vora \xE7"}, "\xC9vora \xE7"},
      {"a blank before the = does not match", {"07/09 =Santa Regina"}, ""},
      {"a blank before the key does not match", {" 07/09=Santa Regina"}, ""},
      {"a line without = never matches", {"07/09 Santa Regina"}, ""},
      {"the first of two lines counts", {"07/09=Primeira", "07/09=Segunda"}, "Primeira"},
      {"an empty first line counts as absent", {"07/09=  ", "07/09=Segunda"}, ""},
      {"the text runs past a second =", {"07/09=a=b"}, "a=b"},
      {"another day's key", {"09/07=Santa Isabel"}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateEventsText(Date(2024, 9, 7), c.saints, {}), c.events) << c.name;
  }
}

TEST(DateEventsText, EntriesJoinInOrder) {
  const TextLines saints = {"12/05=Santos Nereu e Aquiles"};
  const TextLines dates = {"[12/05]", "Dia da Enfermagem"};
  EXPECT_EQ(DateEventsText(Date(2024, 5, 12), saints, dates),
            W("Dia da Enfermagem\r\nDia das Mães\r\nSantos Nereu e Aquiles"));
}

// The shipped files are program data: both Windows-1252 with CR LF ends,
// a saint for every day of a leap year, at least 100 days of dates.
class ShippedFiles : public ::testing::Test {
 protected:
  static void ExpectWindows1252WithCrLf(const std::string& bytes) {
    ASSERT_FALSE(bytes.empty());
    bool accented = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
      ASSERT_FALSE(c >= 0xC2 && c <= 0xF4 && next >= 0x80 && next <= 0xBF) << "UTF-8 at byte " << i;
      ASSERT_FALSE(c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) << "undefined at " << i;
      ASSERT_NE(c, 0) << i;
      if (c == '\r') {
        ASSERT_EQ(next, '\n') << "bare CR at " << i;
      }
      if (c == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
      }
      if (c >= 0xC0) accented = true;
    }
    EXPECT_TRUE(accented) << "no accented letter at all";
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  }
};

TEST_F(ShippedFiles, SaintsGiveEveryDayOneLine) {
  const std::string bytes = ReadShipped("santos.txt");
  ExpectWindows1252WithCrLf(bytes);
  const TextLines lines = SplitTextLines(bytes);
  EXPECT_EQ(lines.size(), 366u);
  std::set<std::string> keys;
  for (const std::string& line : lines) {
    std::string key;
    ASSERT_TRUE(ParseSaintLine(line, &key)) << line;
    EXPECT_TRUE(keys.insert(key).second) << "twice: " << key;
  }
  for (double day = Date(2024, 1, 1); day <= Date(2024, 12, 31); ++day) {
    EXPECT_EQ(keys.count(DayKey(day)), 1u) << DayKey(day);
    EXPECT_NE(DateEventsText(day, lines, {}), "") << DayKey(day);
  }
}

TEST_F(ShippedFiles, DatesCoverAtLeastAHundredDays) {
  const std::string bytes = ReadShipped("datas.txt");
  ExpectWindows1252WithCrLf(bytes);
  const TextLines lines = SplitTextLines(bytes);
  int days = 0;
  for (double day = Date(2024, 1, 1); day <= Date(2024, 12, 31); ++day) {
    if (!DateEventsText(day, {}, lines).empty()) ++days;
  }
  EXPECT_GE(days, 100);
  // Every marker is a real day key, and each occurs once.
  std::set<std::string> markers;
  for (size_t at = bytes.find('['); at != std::string::npos; at = bytes.find('[', at + 1)) {
    const std::string marker = bytes.substr(at, 7);
    std::string key;
    ASSERT_TRUE(ParseSaintLine(marker.substr(1, 5) + "=x", &key) && marker.back() == ']') << marker;
    EXPECT_TRUE(markers.insert(marker).second) << "twice: " << marker;
  }
}

TEST_F(ShippedFiles, ChristmasDay2024ShowsFiveLines) {
  SaintsList() = SplitTextLines(ReadShipped("santos.txt"));
  DatesList() = SplitTextLines(ReadShipped("datas.txt"));
  const std::string text = EventsText(Date(2024, 12, 25));
  SaintsList().clear();
  DatesList().clear();

  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 5u) << text;
  EXPECT_EQ(lines[0], W("Quarta-feira - Lua Minguante - Verão"));
  EXPECT_EQ(lines[1], "Natal");
  std::string saint = DateEventsText(Date(2024, 12, 25), SplitTextLines(ReadShipped("santos.txt")), {});
  EXPECT_EQ(lines[4], saint);
}

}  // namespace
}  // namespace tavo
