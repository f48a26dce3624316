// Dates and times as typed and shown, the locale's date order, moving a
// reminder on by one period, the settings with their fallbacks, the
// REGEDIT4 file and the Windows-1252 texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <string_view>
#include <filesystem>
#include <fstream>
#ifndef _WIN32
#include <locale.h>
#endif

#ifndef _WIN32
#include "platform/posix/regedit_registry.h"
#endif
#include "store/config.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "store/period_step.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using platform::DateOrder;
using platform::RegValue;
using test_support::At;

// The fixture's clock stands at 15 June 2024, 10:30.
class Texts : public test_support::StoreFixture {
 protected:
  void UseOrder(DateOrder order) { platform::SetDateOrderForTesting(&order); }
};

struct DateCase {
  DateOrder order;
  const char* text;
  int year, month, day;  // 0: the result is 0.0
};

class TextToDateRepairs : public Texts, public ::testing::WithParamInterface<DateCase> {};

TEST_P(TextToDateRepairs, GivesTheRepairedDate) {
  const DateCase& c = GetParam();
  UseOrder(c.order);
  const double expected = c.year ? EncodeDate(c.year, c.month, c.day) : 0.0;
  EXPECT_EQ(TextToDate(c.text), expected) << "\"" << c.text << "\"";
}

constexpr DateOrder DMY = DateOrder::DayMonthYear, MDY = DateOrder::MonthDayYear, YMD = DateOrder::YearMonthDay;

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToDateRepairs,
    ::testing::Values(
        // Day above the month's length, February by leap year.
        DateCase{DMY, "31/04/2005", 2005, 4, 30}, DateCase{MDY, "04/31/2005", 2005, 4, 30},
        DateCase{YMD, "2005/04/31", 2005, 4, 30},
        DateCase{DMY, "29/02/2005", 2005, 2, 28}, DateCase{MDY, "02/29/2005", 2005, 2, 28},
        DateCase{YMD, "2005/02/29", 2005, 2, 28},
        DateCase{DMY, "30/02/2004", 2004, 2, 29}, DateCase{MDY, "02/30/2004", 2004, 2, 29},
        DateCase{YMD, "2004/02/30", 2004, 2, 29},
        DateCase{DMY, "30/02/1900", 1900, 2, 28}, DateCase{DMY, "30/02/2000", 2000, 2, 29},
        DateCase{DMY, "45/01/2004", 2004, 1, 31}, DateCase{MDY, "01/45/2004", 2004, 1, 31},
        DateCase{YMD, "2004/01/45", 2004, 1, 31},
        // Month and day 0, month above 12.
        DateCase{DMY, "00/13/2004", 2004, 12, 1}, DateCase{MDY, "13/00/2004", 2004, 12, 1},
        DateCase{YMD, "2004/13/00", 2004, 12, 1},
        // Blanks are trimmed; a two-digit year is this century.
        DateCase{DMY, "12/03/04  ", 2004, 3, 12}, DateCase{MDY, "03/12/04  ", 2004, 3, 12},
        DateCase{YMD, "  04/03/12", 2004, 3, 12},
        // The year rules in their order.
        DateCase{DMY, "12/03/1850", 2024, 3, 12}, DateCase{MDY, "03/12/1850", 2024, 3, 12},
        DateCase{YMD, "1850/03/12", 2024, 3, 12},
        DateCase{DMY, "12/03/0899", 2899, 3, 12}, DateCase{DMY, "12/03/950 ", 1950, 3, 12},
        DateCase{DMY, "12/03/1900", 1900, 3, 12}, DateCase{DMY, "12/03/9999", 9999, 3, 12},
        // Any separator; not a number or blank takes today's part.
        DateCase{DMY, "12.03-2004", 2004, 3, 12}, DateCase{DMY, "ab/03/2004", 2004, 3, 15},
        DateCase{MDY, "03/ab/2004", 2004, 3, 15}, DateCase{YMD, "2004/03/ab", 2004, 3, 15},
        DateCase{DMY, "12/  /2004", 2004, 6, 12}, DateCase{DMY, "12/03/    ", 2024, 3, 12},
        DateCase{DMY, "+5/03/2004", 2004, 3, 5},
        // A negative part is taken as unsigned 16 bits: far above any limit.
        DateCase{DMY, "-1/03/2004", 2004, 3, 31}, DateCase{DMY, "12/-1/2004", 2004, 12, 12},
        // Not 10 characters: 0.0 whatever the content.
        DateCase{DMY, "1/3/2004", 0, 0, 0}, DateCase{YMD, "2004/3/1", 0, 0, 0},
        DateCase{DMY, "12/03/20045", 0, 0, 0}, DateCase{DMY, "", 0, 0, 0}));

TEST_F(Texts, TodaysDayTakenForAGarbledDayIsRepairedToTheMonth) {
  clock.time.Day = 31;
  EXPECT_EQ(TextToDate("ab/04/2005"), EncodeDate(2005, 4, 30));
  EXPECT_EQ(TextToDate("ab/02/2005"), EncodeDate(2005, 2, 28));
  EXPECT_EQ(TextToDate("ab/02/2008"), EncodeDate(2008, 2, 29));
}

struct TimeCase {
  const char* text;
  int hour, minute;
};

class TextToTimeRepairs : public Texts, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TextToTimeRepairs, GivesTheRepairedTime) {
  const TimeCase& c = GetParam();
  EXPECT_EQ(TextToTime(c.text), EncodeTime(c.hour, c.minute)) << "\"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Texts, TextToTimeRepairs,
                         ::testing::Values(TimeCase{"0905", 9, 5}, TimeCase{"2575", 23, 59}, TimeCase{"    ", 0, 0},
                                           TimeCase{"9:05", 10, 5},   // "9:" is no number: the current hour
                                           TimeCase{"12ab", 12, 30},  // the current minute
                                           TimeCase{" 7 8", 7, 8}, TimeCase{"-105", 23, 5},
                                           TimeCase{"930", 0, 0}, TimeCase{"09:05", 0, 0}, TimeCase{"", 0, 0}));

TEST_F(Texts, DateToTextUsesTheOrderButAlwaysTheSlash) {
  struct Case {
    const char* pattern;
    const char* text;
  };
  const Case cases[] = {{"dd/MM/yyyy", "05/03/2004"}, {"dd.MM.yyyy", "05/03/2004"}, {"dd-MM-yy", "05/03/2004"},
                        {"M/d/yyyy", "03/05/2004"},   {"yyyy-MM-dd", "2004/03/05"}, {"yyyy.MM.dd", "2004/03/05"}};
  for (const Case& c : cases) {
    UseOrder(platform::DateOrderFromPattern(c.pattern));
    EXPECT_EQ(DateToText(At(2004, 3, 5, 9, 5)), c.text) << c.pattern;
    // What the field shows reads back as the same day.
    EXPECT_EQ(TextToDate(c.text), EncodeDate(2004, 3, 5)) << c.pattern;
  }
  EXPECT_EQ(TimeToText(At(2004, 3, 5, 9, 5)), "0905");
  EXPECT_EQ(TimeToText(At(2004, 3, 5, 23, 59)), "2359");
  EXPECT_EQ(TimeToDisplay(At(2004, 3, 5, 0, 0)), "00:00");
}

TEST(DateOrder, TheFirstOfDMYOrEDecides) {
  struct Case {
    const char* pattern;
    DateOrder order;
  };
  const Case cases[] = {{"dd/MM/yyyy", DMY}, {"d.M.yy", DMY},   {"MM/dd/yyyy", MDY}, {"M/d/yy", MDY},
                        {"yyyy-MM-dd", YMD}, {"YY/MM/DD", YMD}, {"ggg E/M/d", YMD},  {"e.M.d", YMD},
                        {"", DMY},           {"/-.", DMY},      {"xx/ww", DMY}};
  for (const Case& c : cases) EXPECT_EQ(platform::DateOrderFromPattern(c.pattern), c.order) << c.pattern;
}

TEST(DateOrder, StrftimeFormatsBecomePatterns) {
  struct Case {
    const char* format;
    const char* pattern;
  };
  const Case cases[] = {{"%d/%m/%Y", "dd/MM/yyyy"}, {"%m/%d/%y", "MM/dd/yy"},  {"%Y-%m-%d", "yyyy-MM-dd"},
                        {"%e.%m.%Y", "dd.MM.yyyy"}, {"%F", "yyyy-MM-dd"},      {"%D", "MM/dd/yy"},
                        {"%Ey/%Om/%-d", "yy/MM/dd"}, {"%A %d %B", " dd "},      {"%", "%"}};
  for (const Case& c : cases) EXPECT_EQ(platform::PatternFromStrftime(c.format), c.pattern) << c.format;
}

#ifndef _WIN32
// The POSIX locale database; the Windows side reads its own in tests/win32.
struct LocaleCase {
  const char* locale;
  DateOrder order;
};

void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.locale; }

class DateOrderOfLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(DateOrderOfLocale, IsReadFromTheSystemsLocaleDatabase) {
  const LocaleCase& c = GetParam();
  if (locale_t loc = ::newlocale(LC_TIME_MASK, c.locale, static_cast<locale_t>(nullptr))) {
    ::freelocale(loc);
  } else {
    // CI installs every locale: there a missing one is a missing install step.
    if (const char* ci = std::getenv("CI"); ci && std::string_view(ci) == "true") FAIL() << c.locale << " missing";
    GTEST_SKIP() << "locale " << c.locale << " not installed";
  }
  const char* saved = std::getenv("LC_ALL");
  const std::string saved_value = saved ? saved : "";
  ::setenv("LC_ALL", c.locale, 1);
  EXPECT_EQ(platform::DateOrderFromPattern(platform::LocaleShortDatePattern()), c.order) << c.locale;
  if (saved) ::setenv("LC_ALL", saved_value.c_str(), 1); else ::unsetenv("LC_ALL");
}

INSTANTIATE_TEST_SUITE_P(DateOrder, DateOrderOfLocale,
                         ::testing::Values(LocaleCase{"pt_BR.UTF-8", DMY}, LocaleCase{"en_US.UTF-8", MDY},
                                           LocaleCase{"de_DE.UTF-8", DMY}, LocaleCase{"ja_JP.UTF-8", YMD},
                                           LocaleCase{"sv_SE.UTF-8", YMD}, LocaleCase{"C", DMY}),
                         [](const ::testing::TestParamInfo<LocaleCase>& param) {
                           std::string name = param.param.locale;
                           std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
                           return name;
                         });

#endif

// ---- One period on ----

TEST(StepOnePeriod, MovesByTheKindAndKeepsTheTime) {
  struct Case {
    double from;
    int kind;
    double to;
  };
  const Case cases[] = {
      {At(2024, 12, 15, 10, 30), 3, At(2025, 1, 15, 10, 30)},  // across the year
      {At(2024, 2, 29, 7, 0), 4, At(2025, 2, 28, 7, 0)},
      {At(2023, 2, 28, 7, 0), 4, At(2024, 2, 28, 7, 0)},
      {At(2024, 12, 30, 23, 59), 2, At(2025, 1, 6, 23, 59)},
      {At(2024, 12, 31, 0, 1), 1, At(2025, 1, 1, 0, 1)},
      {At(2024, 2, 28, 6, 0), 1, At(2024, 2, 29, 6, 0)},
      {At(2025, 1, 31, 8, 15), 3, At(2025, 2, 28, 8, 15)},   // the last day of a shorter month
      {At(2024, 1, 31, 8, 15), 3, At(2024, 2, 29, 8, 15)},
      {At(2025, 3, 31, 12, 0), 3, At(2025, 4, 30, 12, 0)},
      {At(2025, 1, 30, 12, 0), 3, At(2025, 2, 28, 12, 0)},
      {At(2025, 4, 30, 12, 0), 3, At(2025, 5, 30, 12, 0)},   // a shorter day stays
      {At(2025, 5, 5, 5, 5), 0, At(2025, 5, 5, 5, 5)},
      {At(2025, 5, 5, 5, 5), 9, At(2025, 5, 5, 5, 5)},       // damaged kind: no repetition
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepOnePeriod(c.from, c.kind), c.to) << DateToText(c.from) << " kind " << c.kind;
  }
}

// ---- Settings ----

class Settings : public test_support::StoreFixture {
 protected:
  std::map<std::string, RegValue>& Key() { return registry.Keys[kConfigKey]; }
  TConfig Read() {
    Reopen();  // the settings are read by the store's start
    return Config;
  }
  std::string DefaultWave() const {
    const std::string sep(1, platform::kPathSeparator);
    return folder.Path() + "dados" + sep + "sons" + sep + "gongo.wav";
  }
};

TEST_F(Settings, WithoutTheKeyEveryValueTakesItsDefaultAndNothingIsWritten) {
  const TConfig c = Read();
  EXPECT_EQ(c.FrontColor, 0);
  EXPECT_EQ(c.BackColor, 65535);
  EXPECT_EQ(c.WaveFile, DefaultWave());
  EXPECT_TRUE(c.ShowInfo);
  EXPECT_TRUE(registry.Keys.empty());
}

TEST_F(Settings, EachValueFallsBackByItself) {
  struct Case {
    const char* name;
    std::optional<RegValue> value;  // nothing: the value is missing
    std::function<void(const TConfig&)> check;
  };
  const std::string wave = DefaultWave();
  const Case cases[] = {
      {"ShowInfo", RegValue::Dword(2), [](const TConfig& c) { EXPECT_TRUE(c.ShowInfo); }},
      {"ShowInfo", RegValue::Dword(0), [](const TConfig& c) { EXPECT_FALSE(c.ShowInfo); }},
      {"ShowInfo", RegValue::String("0"), [](const TConfig& c) { EXPECT_TRUE(c.ShowInfo); }},
      {"WaveFile", std::nullopt, [](const TConfig& c) { EXPECT_EQ(c.WaveFile, ""); }},
      {"WaveFile", RegValue::Dword(1), [&](const TConfig& c) { EXPECT_EQ(c.WaveFile, wave); }},
      {"WaveFile", RegValue{platform::kRegSz, {}}, [](const TConfig& c) { EXPECT_EQ(c.WaveFile, ""); }},
      {"WaveFile", RegValue{platform::kRegSz, {'/', 'a', '.', 'w', 'a', 'v', 0, 'x', 0}},
       [](const TConfig& c) { EXPECT_EQ(c.WaveFile, "/a.wav"); }},
      {"WaveFile", RegValue{platform::kRegSz, {'/', 'b'}}, [](const TConfig& c) { EXPECT_EQ(c.WaveFile, "/b"); }},
      {"WaveFile", RegValue::String("%HOME%/s.wav", platform::kRegExpandSz),
       [](const TConfig& c) { EXPECT_EQ(c.WaveFile, "%HOME%/s.wav"); }},
      {"BackColor", std::nullopt, [](const TConfig& c) { EXPECT_EQ(c.BackColor, 65535); }},
      {"BackColor", RegValue::Dword(0xFFFFFFFF), [](const TConfig& c) { EXPECT_EQ(c.BackColor, -1); }},
      {"FrontColor", RegValue::String("255"), [](const TConfig& c) { EXPECT_EQ(c.FrontColor, 0); }},
      {"FrontColor", RegValue{platform::kRegDword, {1, 2}}, [](const TConfig& c) { EXPECT_EQ(c.FrontColor, 0); }},
  };
  for (const Case& c : cases) {
    // The other three values are present and not defaults.
    Key() = {{"FrontColor", RegValue::Dword(0xFF)},
             {"BackColor", RegValue::Dword(0xFF00)},
             {"WaveFile", RegValue::String("/sons/sino.wav")},
             {"ShowInfo", RegValue::Dword(0)}};
    if (c.value) Key()[c.name] = *c.value; else Key().erase(c.name);
    const TConfig config = Read();
    SCOPED_TRACE(c.name);
    c.check(config);
    const std::string changed = c.name;
    EXPECT_TRUE(changed == "FrontColor" || config.FrontColor == 0xFF);
    EXPECT_TRUE(changed == "BackColor" || config.BackColor == 0xFF00);
    EXPECT_TRUE(changed == "WaveFile" || config.WaveFile == "/sons/sino.wav");
    EXPECT_TRUE(changed == "ShowInfo" || !config.ShowInfo);
  }
}

TEST_F(Settings, WriteConfigWritesAllFourValuesWithTheirTypes) {
  TConfig c;
  c.FrontColor = 0x123456;
  c.BackColor = 65535;  // unchanged values are written too
  c.WaveFile = "/x/y.wav";
  c.ShowInfo = false;
  WriteConfig(c);
  const auto& key = Key();
  ASSERT_EQ(key.size(), 4u);
  EXPECT_EQ(key.at("FrontColor").Data, RegValue::Dword(0x123456).Data);
  EXPECT_EQ(key.at("BackColor").Type, platform::kRegDword);
  EXPECT_EQ(key.at("BackColor").Data, (std::vector<uint8_t>{0xFF, 0xFF, 0, 0}));
  EXPECT_EQ(key.at("WaveFile").Type, platform::kRegSz);
  EXPECT_EQ(key.at("WaveFile").Data, (std::vector<uint8_t>{'/', 'x', '/', 'y', '.', 'w', 'a', 'v', 0}));
  EXPECT_EQ(key.at("ShowInfo").Data, RegValue::Dword(0).Data);
  const TConfig back = Read();
  EXPECT_EQ(back.FrontColor, c.FrontColor);
  EXPECT_EQ(back.WaveFile, c.WaveFile);
  EXPECT_FALSE(back.ShowInfo);
}

TEST_F(Settings, ARegistryThatRefusesWritesIsNotReported) {
  registry.FailWrites = true;
  WriteConfig(TConfig{});
  EXPECT_TRUE(registry.Keys.empty());
  EXPECT_TRUE(failures.empty());
}

// ---- The REGEDIT4 file (the registry on POSIX systems) ----

#ifndef _WIN32

TEST(Regedit, EveryValueTypeSurvivesTheRoundTrip) {
  platform::RegKeys keys;
  auto& k = keys["Software\\Orvane\\Quelvo3"];
  k["FrontColor"] = RegValue::Dword(0x00FF8040);
  k["WaveFile"] = RegValue::String("C:\\Sons\\\"gongo\".wav");
  k["Vazio"] = RegValue::String("");
  k["Caminho"] = RegValue::String("%APPDATA%\\x", platform::kRegExpandSz);
  k["Linhas"] = RegValue::String("a\r\nb");
  k["SemZero"] = RegValue{platform::kRegSz, {'a', 'b'}};
  k["Bytes"] = RegValue{platform::kRegBinary, {0, 1, 0xFE, 0xFF}};
  k["Multi"] = RegValue{7, {'a', 0, 'b', 0, 0}};
  k["Nada"] = RegValue{platform::kRegBinary, {}};
  k["Curto"] = RegValue{platform::kRegDword, {1, 2}};
  k["Acentuação \\ \"x\""] = RegValue::Dword(1);
  keys["Software\\Outro"]["Longo"] = RegValue{platform::kRegBinary, std::vector<uint8_t>(300, 0xAB)};
  const std::string text = platform::FormatRegedit(keys);
  EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
  const platform::RegKeys back = platform::ParseRegedit(text);
  ASSERT_EQ(back.size(), keys.size());
  for (const auto& [key, values] : keys) {
    ASSERT_EQ(back.count(key), 1u) << key;
    ASSERT_EQ(back.at(key).size(), values.size()) << key;
    for (const auto& [name, value] : values) {
      ASSERT_EQ(back.at(key).count(name), 1u) << name;
      EXPECT_EQ(back.at(key).at(name).Type, value.Type) << name;
      EXPECT_EQ(back.at(key).at(name).Data, value.Data) << name;
    }
  }
}

TEST(Regedit, MalformedLinesAreSkippedAndTheRestKept) {
  const std::string text =
      "REGEDIT4\r\n"
      "\"Solto\"=dword:00000001\r\n"  // before any key
      "[HKEY_LOCAL_MACHINE\\Software\\X]\r\n"
      "\"Alheio\"=dword:00000001\r\n"
      "[HKEY_CURRENT_USER\\Software\\Orvane\\Quelvo3]\r\n"
      "; a comment\r\n"
      "\"A\"=dword:0000000g\r\n"
      "\"B\"=dword:123456789\r\n"
      "\"C\"=dword:\r\n"
      "\"D\"=hex:01,zz,03\r\n"
      "\"E\"=hex(2:41,00\r\n"
      "\"F\"=\"sem fim\r\n"
      "\"G\"\r\n"
      "\"H\"=algo\r\n"
      "sem aspas=dword:00000001\r\n"
      "\"Bom\"=dword:0000002a\r\n"
      "\"Texto\"=\"ok\"\r\n"
      "\"Hex\"=hex:01,02,\\\r\n"
      "  03\r\n"
      "[HKEY_CURRENT_USER\\Software\\Quebrada\r\n"
      "\"Z\"=dword:00000003\r\n"
      "\"Fim\"=hex:0a,\\";
  const platform::RegKeys keys = platform::ParseRegedit(text);
  EXPECT_EQ(keys.count("Software\\X"), 0u);
  ASSERT_EQ(keys.count("Software\\Orvane\\Quelvo3"), 1u);
  const auto& k = keys.at("Software\\Orvane\\Quelvo3");
  for (const char* bad : {"Solto", "Alheio", "A", "B", "C", "D", "E", "G", "H"}) EXPECT_EQ(k.count(bad), 0u) << bad;
  ASSERT_EQ(k.count("Bom"), 1u);
  EXPECT_EQ(k.at("Bom").Data, RegValue::Dword(42).Data);
  EXPECT_EQ(k.at("Texto").Data, RegValue::String("ok").Data);
  EXPECT_EQ(k.at("Hex").Data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(platform::ParseRegedit("").size(), 0u);
  EXPECT_EQ(platform::ParseRegedit(std::string("\0\0[\0", 4)).size(), 0u);
}

TEST(Regedit, TheFileRegistryKeepsValuesAcrossOpeningsAndCreatesOnlyOnRequest) {
  test_support::TempFolder temp;
  const std::string path = temp.Path() + "Orvane/sub/Quelvo3.reg";
  platform::RegeditFileRegistry reg(path);
  EXPECT_EQ(reg.OpenKey(kConfigKey, false), nullptr);
  EXPECT_FALSE(std::filesystem::exists(path));
  {
    auto key = reg.OpenKey(kConfigKey, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->Set("ShowInfo", RegValue::Dword(0)));
    EXPECT_TRUE(key->Set("WaveFile", RegValue::String("/a b/c.wav")));
  }
  platform::RegeditFileRegistry again(path);
  auto key = again.OpenKey(kConfigKey, false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Query("ShowInfo")->Data, RegValue::Dword(0).Data);
  EXPECT_EQ(key->Query("WaveFile")->Data, RegValue::String("/a b/c.wav").Data);
  EXPECT_FALSE(key->Query("BackColor").has_value());
  EXPECT_TRUE(key->Remove("ShowInfo"));
  EXPECT_FALSE(again.OpenKey(kConfigKey, false)->Query("ShowInfo").has_value());
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

#endif

// ---- Windows-1252 ----

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8Length(utf8), 256u);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Cp1252, KnownCharactersAndWhatHasNoForm) {
  struct Case {
    const char* cp1252;
    const char* utf8;
  };
  const Case both_ways[] = {{"Di\xE1ria", "Di\xC3\xA1ria"},
                            {"\x80 \x8A\x9F", "\xE2\x82\xAC \xC5\xA0\xC5\xB8"},
                            {"\x93" "aspas\x94", "\xE2\x80\x9C" "aspas\xE2\x80\x9D"},
                            {"\xC7\xE3o", "\xC3\x87\xC3\xA3o"}};
  for (const Case& c : both_ways) {
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
  }
  EXPECT_EQ(Utf8ToCp1252("\xE6\x97\xA5"), "?");             // no Windows-1252 form
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x99\x82!"), "?!");       // four-byte sequence
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");                   // cut short
  EXPECT_EQ(Utf8ToCp1252("\xFF\xC3(x"), "?" "?(x");            // invalid bytes
}

}  // namespace
}  // namespace tavo
