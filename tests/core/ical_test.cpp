// The parts of the calendar mapping that the end-to-end runs (tests/e2e/ical.sh,
// tests/ical/export_vs_icalendar.py) reach only by chance: folds at every
// offset, the text limit at its edge, and a batch that must store exactly
// what one-by-one adds would.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ical/ical_text.h"
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
