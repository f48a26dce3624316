// The parts of the calendar mapping that the end-to-end runs (tests/e2e/ical.sh,
// tests/ical/export_vs_icalendar.py) reach only by chance: folds at every
// offset, the text limit at its edge, and a batch that must store exactly
// what one-by-one adds would.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "ical/ical_text.h"
#include "ical/plain_calendar.h"
#include "store/store_files.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using test_support::At;
using test_support::Reminder;

TEST(CalendarLines, FoldsAtMost75OctetsNeverInsideACharacterAndUnfoldsBack) {
  for (size_t shift = 0; shift < 80; ++shift) {
    const std::string line = "DESCRIPTION:" + std::string(shift, 'x') + "Reuni\xC3\xA3o, a\xC3\xA7\xC3\xA3o \xE2\x82\xAC " +
                             std::string(60, 'y') + "\xF0\x9F\x93\x85 fim";
    std::string folded;
    ical::AppendFolded(folded, line);
    size_t at = 0;
    while (at < folded.size()) {
      const size_t end = folded.find("\r\n", at);
      ASSERT_NE(end, std::string::npos);
      const std::string physical = folded.substr(at, end - at);
      EXPECT_LE(physical.size(), 75u) << shift;
      EXPECT_TRUE(ical::IsValidUtf8(physical)) << "fold inside a character at shift " << shift;
      at = end + 2;
    }
    EXPECT_EQ(ical::UnfoldLines(folded), line + "\r\n") << shift;
  }
}

TEST(CalendarText, JoinsSummaryAndDescriptionAndCutsAtTheLimitWithoutSplittingALineBreak) {
  EXPECT_EQ(ical::ReminderText("  Dentista ", ""), "Dentista");
  EXPECT_EQ(ical::ReminderText("Dentista", "Levar exames\nE o cart\xC3\xA3o"),
            "Dentista\r\nLevar exames\r\nE o cart\xE3o");
  // Quelvo's own export: DESCRIPTION is the whole text and begins with SUMMARY.
  EXPECT_EQ(ical::ReminderText("Dentista", "Dentista\nLevar exames"), "Dentista\r\nLevar exames");
  EXPECT_EQ(ical::ReminderText("Emoji \xF0\x9F\x93\x85", ""), "Emoji ?");
  // 1023 characters and a line break: the break counts two, so it goes whole.
  const std::string long_line(1023, 'a');
  EXPECT_EQ(ical::ReminderText(long_line + "\nresto", ""), long_line);
  EXPECT_EQ(ical::ReminderText(long_line + "b\nresto", ""), long_line + "b");
  EXPECT_EQ(ical::ReminderText(std::string(1022, 'a') + "\nresto", ""), std::string(1022, 'a'));
  EXPECT_EQ(ical::ReminderText(std::string(1020, 'a') + "\nresto", "").size(), 1024u);
}

// Random events near the plain shape Quelvo exports (and some just outside
// it): the quick reader must either decline the file or give exactly what
// libical's way gives, item by item.
class PlainEventMaker {
 public:
  // `plain_only`: none of the events that the quick reader leaves to libical.
  PlainEventMaker(unsigned seed, bool plain_only) : random_(seed), plain_only_(plain_only) {}

  std::string Calendar(int events) {
    std::string out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Teste//PT\r\n";
    if (Chance(10)) out += "X-WR-CALNAME:Agenda\r\n";
    for (int i = 0; i < events; ++i) AppendEvent(out);
    return out + "END:VCALENDAR\r\n";
  }

 private:
  int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }

  std::string Text() {
    static const char* const kPieces[] = {"Reuni\xC3\xA3o", " ", "or\xC3\xA7" "amento", "\\n", "\\N", "\\,", "\\;",
                                          "\\\\", ":", "\"", "\xE2\x82\xAC", "\xF0\x9F\x93\x85", "  ", "a\tb",
                                          "\\t", ",", "x", "Dentista"};
    std::string text;
    for (int n = Pick(0, 8); n > 0; --n) {
      const char* piece = kPieces[Pick(0, 17)];
      // Bare commas and unusual escapes only now and then: most files are plain.
      if ((std::string(piece) == "," || std::string(piece) == "\\t") && (plain_only_ || !Chance(5))) continue;
      text += piece;
    }
    return text;
  }

  void AppendEvent(std::string& out) {
    const int year = Pick(1995, 2035), month = Pick(1, 12), day = Pick(Chance(40) ? 28 : 1, DaysInMonth(year, month));
    char start[32];
    std::snprintf(start, sizeof start, "%04d%02d%02dT%02d%02d%02d", year, month, day, Pick(0, 23), Pick(0, 59),
                  Chance(90) ? 0 : Pick(0, 59));
    out += "BEGIN:VEVENT\r\nUID:" + std::to_string(Pick(0, 1 << 30)) + "@teste\r\nDTSTAMP:20260101T000000Z\r\n";
    if (!Chance(3)) out += std::string("DTSTART:") + start + (!plain_only_ && Chance(3) ? "Z" : "") + "\r\n";
    if (Chance(60)) {
      static const char* const kOthers[] = {"FREQ=DAILY;INTERVAL=2", "FREQ=MONTHLY", "FREQ=WEEKLY;COUNT=3",
                                            "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1"};
      const double start_value = EncodeDate(year, month, day);
      out += "RRULE:" + (plain_only_ || Chance(90) ? ical::RuleOf(start_value, Pick(1, 4)) : std::string(kOthers[Pick(0, 3)])) + "\r\n";
    }
    const std::string summary = Text();
    if (Chance(85)) ical::AppendFolded(out, "SUMMARY:" + summary);
    if (Chance(60)) ical::AppendFolded(out, "DESCRIPTION:" + (Chance(50) ? summary : std::string()) + Text());
    static const char* const kTriggers[] = {"PT0M", "-PT15M", "-PT2H", "-P1D", "PT30S", "-PT90S", "+PT5M", "-P1W", "-PT1H30M"};
    for (int n = Chance(30) ? 0 : Pick(1, 2); n > 0; --n)
      out += std::string("BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:") + kTriggers[Pick(0, plain_only_ ? 7 : 8)] +
             "\r\nDESCRIPTION:Lembrete\r\nEND:VALARM\r\n";
    out += "END:VEVENT\r\n";
  }

  std::mt19937 random_;
  bool plain_only_;
};

void ExpectSameItems(const std::vector<ical::ItemResult>& quick, const std::vector<ical::ItemResult>& full,
                     int64_t now, const std::string& calendar) {
  ASSERT_EQ(quick.size(), full.size()) << calendar;
  for (size_t i = 0; i < quick.size(); ++i) {
    const ical::ItemResult &a = quick[i], &b = full[i];
    EXPECT_EQ(a.skipped, b.skipped) << calendar;
    EXPECT_EQ(a.record.Text, b.record.Text) << calendar;
    if (a.skipped.empty()) {
      EXPECT_EQ(a.record.DateTime, b.record.DateTime) << "now " << now << "\n" << calendar;
      EXPECT_EQ(a.record.RepeatKind, b.record.RepeatKind) << calendar;
      EXPECT_EQ(a.only_next, b.only_next) << calendar;
    }
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(PlainCalendar, GivesWhatLibicalGivesOrLeavesTheFileToIt) {
  PlainEventMaker maker(20261209, false);
  std::mt19937 clock(7);
  int plain = 0, files = 0;
  for (; files < 3000 && !HasFailure(); ++files) {
    const std::string calendar = maker.Calendar(files % 10 == 0 ? 20 : 1);
    const int64_t now = ical::MinutesOf(EncodeDate(2026, 1, 1)) + std::uniform_int_distribution<int64_t>(0, 800'000)(clock);
    const auto quick = ical::ReadPlainCalendar(calendar, now);
    if (!quick) continue;
    ++plain;
    ExpectSameItems(*quick, ical::ReadCalendar(calendar, now, ical::CalendarReader::LibicalOnly).items, now, calendar);
  }
  // Most of the files are of the plain shape, so the comparison means something.
  EXPECT_GT(plain, files / 2);
}

TEST(PlainCalendar, ReadsALargeFileInTwoHalvesAsOne) {
  // Over a megabyte: read in two halves, split between two events.
  const std::string calendar = PlainEventMaker(9, true).Calendar(6000);
  ASSERT_GT(calendar.size(), 1u << 20);
  const int64_t now = ical::MinutesOf(EncodeDate(2026, 12, 9));
  const auto quick = ical::ReadPlainCalendar(calendar, now);
  ASSERT_TRUE(quick.has_value());
  ExpectSameItems(*quick, ical::ReadCalendar(calendar, now, ical::CalendarReader::LibicalOnly).items, now, "");
  // A file cut inside an event of its second half is not whole: the quick way declines it.
  EXPECT_FALSE(ical::ReadPlainCalendar(calendar.substr(0, calendar.size() - 200) + "END:VCALENDAR\r\n", now));
}

// An alarm on another day than its occurrence: the series is held as its
// kind only where Quelvo's own step from the alarm's day gives the series'
// next alarms; otherwise only the next one comes in (both ways of reading).
TEST(CalendarImport, AnAlarmOnAnotherDayKeepsTheKindOnlyWhereItsStepFollowsTheSeries) {
  struct Case {
    const char *start, *rule, *trigger;
    double at;
    int kind;
  } const cases[] = {
      {"20270101T090000", "FREQ=MONTHLY", "-P1D", EncodeDate(2026, 12, 31) + EncodeTime(9, 0), 0},
      {"20270115T090000", "FREQ=MONTHLY", "-P1D", EncodeDate(2027, 1, 14) + EncodeTime(9, 0), 3},
      {"20270301T000000", "FREQ=YEARLY", "-PT15M", EncodeDate(2027, 2, 28) + EncodeTime(23, 45), 0},
      {"20270314T000000", "FREQ=YEARLY", "-PT15M", EncodeDate(2027, 3, 13) + EncodeTime(23, 45), 4},
      {"20270101T000000", "FREQ=DAILY", "-PT15M", EncodeDate(2026, 12, 31) + EncodeTime(23, 45), 1},
  };
  const int64_t now = ical::MinutesOf(EncodeDate(2026, 12, 9));
  for (const Case& c : cases) {
    const std::string calendar = std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//PT\r\nBEGIN:VEVENT\r\n") +
                                 "UID:1\r\nDTSTART:" + c.start + "\r\nRRULE:" + c.rule + "\r\nSUMMARY:Conta\r\n" +
                                 "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:" + c.trigger + "\r\nEND:VALARM\r\n" +
                                 "END:VEVENT\r\nEND:VCALENDAR\r\n";
    for (const auto reader : {ical::CalendarReader::Any, ical::CalendarReader::LibicalOnly}) {
      const ical::CalendarRead read = ical::ReadCalendar(calendar, now, reader);
      ASSERT_EQ(read.items.size(), 1u) << c.start;
      const ical::ItemResult& item = read.items[0];
      EXPECT_EQ(item.record.DateTime, c.at) << c.start << " " << c.rule;
      EXPECT_EQ(item.record.RepeatKind, c.kind) << c.start << " " << c.rule;
      EXPECT_EQ(item.only_next, c.kind == 0) << c.start << " " << c.rule;
    }
  }
}

class StoreBatch : public test_support::StoreFixture {};

TEST_F(StoreBatch, StoresTheSameFilesAndTableAsAddingOneByOne) {
  const std::vector<TLembrete> stored = {Reminder(At(2025, 5, 1, 9, 0), "um"),
                                         Reminder(At(2025, 5, 3, 9, 0), "dois", 2)};
  const std::vector<TLembrete> batch = {
      Reminder(At(2025, 5, 3, 9, 0), "mesmo minuto de dois", 1), Reminder(At(2025, 4, 1, 8, 0), "antes"),
      Reminder(At(2025, 5, 3, 9, 0), "outro no mesmo minuto"), Reminder(At(2026, 1, 1, 0, 0), "depois", 4)};
  Reopen();
  for (const TLembrete& r : stored) AddLembrete(r);
  for (const TLembrete& r : batch) AddLembrete(r);
  const std::string index = ReadDados("tavodb.idx"), data = ReadDados("tavodb.dat");
  const EntryTable table = Lembretes;
  const int32_t last_id = LastId;

  for (const std::string& name : DadosFiles()) std::remove(Dados(name).c_str());
  Reopen();
  for (const TLembrete& r : stored) AddLembrete(r);
  refreshes = 0;
  AddLembretes(batch);
  EXPECT_EQ(ReadDados("tavodb.idx"), index);
  EXPECT_EQ(ReadDados("tavodb.dat"), data);
  EXPECT_EQ(store_files::IndexBytes(Lembretes), store_files::IndexBytes(table));
  EXPECT_EQ(LastId, last_id);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"}));
}

}  // namespace
}  // namespace tavo
