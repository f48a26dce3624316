// The reminder store: the entry bytes, identifiers, table order, where texts
// lie in the data file after each operation, the failure messages, damaged
// files and the busy flags.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <cstring>
#include <limits>

#include "store/date_text.h"
#include "dates/date_time.h"
#include "tests/core/support/fault_file_system.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using test_support::At;
using test_support::Fault;
using test_support::FaultFileSystem;
using test_support::Reminder;
using test_support::Step;
using test_support::StepKind;
using test_support::Stored;

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string EntryBytes(double date_time, int32_t id, int32_t pos, uint16_t len, uint8_t kind) {
  LembreteEntry e;
  e.DateTime = date_time;
  e.Id = id;
  e.TextPos = pos;
  e.TextLen = len;
  e.RepeatKind = kind;
  return std::string(reinterpret_cast<const char*>(&e), sizeof e);
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class Store : public test_support::StoreFixture {
 protected:
  // The entries of the index file on disk.
  std::vector<LembreteEntry> IndexEntries() const {
    const std::string bytes = ReadDados("tavodb.idx");
    std::vector<LembreteEntry> entries(bytes.size() / sizeof(LembreteEntry));
    if (!entries.empty()) std::memcpy(entries.data(), bytes.data(), entries.size() * sizeof(LembreteEntry));
    return entries;
  }
  // Table position of the reminder with this text.
  int32_t PositionOf(const std::string& text) {
    for (int32_t i = 0; i < Lembretes.Count; ++i)
      if (Entry(i).Text == text) return i;
    return -1;
  }
};

// ---- The entry on disk and the identifiers ----

TEST_F(Store, FirstReminderIsTheDocumentedTwentyBytesAndItsTextAtOffsetZero) {
  Reopen();
  AddLembrete(Reminder(At(2004, 3, 5, 9, 5), "abcde", 2));
  EXPECT_EQ(At(2004, 3, 5, 9, 5), 38051 + 545.0 / 1440);
  EXPECT_EQ(Hex(ReadDados("tavodb.idx")), "1C C7 71 1C 6C 94 E2 40 00 00 00 00 00 00 00 00 05 00 02 00");
  EXPECT_EQ(ReadDados("tavodb.dat"), "abcde");
}

TEST_F(Store, EmptyIndexLoadsAsEmptyTableAndTheFirstIdIsZero) {
  WriteDados("tavodb.idx", "");
  WriteDados("tavodb.dat", "");
  Reopen();
  EXPECT_EQ(Lembretes.Count, 0);
  EXPECT_EQ(LastId, -1);
  AddLembrete(Reminder(At(2024, 7, 1, 8, 0), "x"));
  EXPECT_EQ(Lembretes[0].Id, 0);
}

TEST_F(Store, IdsFromAnEarlierRunAreRenumberedByPositionAndBit7IsCleared) {
  WriteDados("tavodb.idx", EntryBytes(At(2024, 1, 1), 7, 0, 1, 1) + EntryBytes(At(2024, 2, 1), 12, 1, 1, 131) +
                               EntryBytes(At(2024, 3, 1), 40, 2, 1, 0x80 | 4));
  WriteDados("tavodb.dat", "abc");
  Reopen();
  ASSERT_EQ(Lembretes.Count, 3);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(Lembretes[i].Id, i);
  EXPECT_EQ(Lembretes[1].RepeatKind, 3);
  EXPECT_EQ(Lembretes[2].RepeatKind, 4);
  EXPECT_EQ(LastId, 2);
  AddLembrete(Reminder(At(2024, 4, 1), "d"));
  EXPECT_EQ(Lembretes[3].Id, 3);
  // Deleting never hands an Id out again.
  DeleteLembrete(Entry(3));
  AddLembrete(Reminder(At(2024, 4, 1), "e"));
  EXPECT_EQ(Lembretes[3].Id, 4);
}

TEST_F(Store, TrailingPieceOfTheIndexIsIgnoredAndGoneAfterTheNextRewrite) {
  WriteDados("tavodb.idx", EntryBytes(At(2024, 1, 1), 0, 0, 2, 0) + EntryBytes(At(2024, 1, 2), 1, 2, 2, 0) +
                               "\x01\x02\x03\x04\x05");
  WriteDados("tavodb.dat", "aabb");
  Reopen();
  EXPECT_EQ(State(), (std::vector<Stored>{{At(2024, 1, 1), 0, "aa"}, {At(2024, 1, 2), 0, "bb"}}));
  AddLembrete(Reminder(At(2024, 1, 3), "cc"));
  EXPECT_EQ(DadosSize("tavodb.idx"), 60);
}

TEST_F(Store, ReminderAddedLaterStandsFirstAmongEqualMinutesInTableAndFile) {
  Reopen();
  const double minute = At(2024, 8, 1, 12, 0);
  AddLembrete(Reminder(minute, "older"));
  AddLembrete(Reminder(At(2024, 7, 1), "before"));
  AddLembrete(Reminder(minute, "newer"));
  EXPECT_EQ(Entry(1).Text, "newer");
  EXPECT_EQ(Entry(2).Text, "older");
  const auto entries = IndexEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].TextPos, 11);  // "older" (5) + "before" (6)
  EXPECT_EQ(entries[2].TextPos, 0);
}

// ---- Where the texts lie after add, alter and delete ----

// Three texts of 5, 7 and 3 bytes added in every date order: offsets follow
// the order of addition, the index follows the dates.
class AddOrder : public Store, public ::testing::WithParamInterface<std::array<int, 3>> {};

TEST_P(AddOrder, TextsGoToTheEndInOrderOfAdditionAndTheIndexIsSortedByDate) {
  Reopen();
  const std::string texts[3] = {"aaaaa", "bbbbbbb", "ccc"};
  const auto days = GetParam();
  for (int i = 0; i < 3; ++i) AddLembrete(Reminder(At(2024, 5, days[i], 10, 0), texts[i]));
  EXPECT_EQ(ReadDados("tavodb.dat"), "aaaaabbbbbbbccc");
  const auto entries = IndexEntries();
  ASSERT_EQ(entries.size(), 3u);
  for (size_t i = 1; i < 3; ++i) EXPECT_LT(double{entries[i - 1].DateTime}, double{entries[i].DateTime});
  const int32_t expected_pos[3] = {0, 5, 12};
  for (int i = 0; i < 3; ++i) {
    const int32_t k = FindPosition(At(2024, 5, days[i], 10, 0));
    EXPECT_EQ(Lembretes[k].TextPos, expected_pos[i]);
    EXPECT_EQ(Lembretes[k].TextLen, texts[i].size());
    EXPECT_EQ(std::memcmp(&entries[static_cast<size_t>(k)], &Lembretes[k], sizeof(LembreteEntry)), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Store, AddOrder,
                         ::testing::Values(std::array<int, 3>{1, 2, 3}, std::array<int, 3>{3, 2, 1},
                                           std::array<int, 3>{2, 3, 1}, std::array<int, 3>{1, 3, 2}));

class ThreeTexts : public Store {
 protected:
  // Texts at 0 (5 bytes), 5 (7 bytes) and 12 (3 bytes), on the 1st, 2nd and 3rd.
  void SetUp() override {
    Store::SetUp();
    Reopen();
    AddAll({{At(2024, 5, 1, 9, 0), 0, "aaaaa"}, {At(2024, 5, 2, 9, 0), 1, "bbbbbbb"}, {At(2024, 5, 3, 9, 0), 2, "ccc"}});
    refreshes = 0;
  }
};

TEST_F(ThreeTexts, AlteringToTheSameLengthRewritesOnlyThoseBytes) {
  AlterLembrete(Entry(0), Reminder(At(2024, 5, 1, 9, 0), "zzzzz"));
  EXPECT_EQ(ReadDados("tavodb.dat"), "zzzzzbbbbbbbccc");
  EXPECT_EQ(Lembretes[0].TextPos, 0);
  EXPECT_EQ(Lembretes[0].TextLen, 5);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"}));
}

TEST_F(ThreeTexts, AlteringToALongerTextMovesTheLaterTexts) {
  AlterLembrete(Entry(0), Reminder(At(2024, 5, 1, 9, 0), "12345678"));
  EXPECT_EQ(ReadDados("tavodb.dat"), "12345678bbbbbbbccc");
  EXPECT_EQ(Lembretes[0].TextPos, 0);
  EXPECT_EQ(Lembretes[1].TextPos, 8);
  EXPECT_EQ(Lembretes[2].TextPos, 15);
  EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"}));
  Reopen();
  EXPECT_EQ(Entry(2).Text, "ccc");
}

TEST_F(ThreeTexts, AlteringToAShorterTextMovesTheLaterTextsBack) {
  AlterLembrete(Entry(1), Reminder(At(2024, 5, 2, 9, 0), "b", 1));
  EXPECT_EQ(ReadDados("tavodb.dat"), "aaaaabccc");
  EXPECT_EQ(Lembretes[2].TextPos, 6);
}

TEST_F(ThreeTexts, DeletingTheMiddleTextClosesTheGap) {
  DeleteLembrete(Entry(1));
  EXPECT_EQ(ReadDados("tavodb.dat"), "aaaaaccc");
  ASSERT_EQ(Lembretes.Count, 2);
  EXPECT_EQ(Lembretes[1].TextPos, 5);
  EXPECT_EQ(refreshes, 1);
  Reopen();
  EXPECT_EQ(State(), (std::vector<Stored>{{At(2024, 5, 1, 9, 0), 0, "aaaaa"}, {At(2024, 5, 3, 9, 0), 2, "ccc"}}));
}

TEST_F(ThreeTexts, AlteringOnlyTheDateMovesTheEntryAndKeepsIdAndTextPos) {
  const TLembrete first = Entry(0);
  AlterLembrete(first, Reminder(At(2024, 5, 10, 9, 0), "aaaaa"));
  EXPECT_EQ(Entry(0).Text, "bbbbbbb");
  EXPECT_EQ(Entry(1).Text, "ccc");
  const TLembrete moved = Entry(2);
  EXPECT_EQ(moved.Id, first.Id);
  EXPECT_EQ(moved.TextPos, 0);
  EXPECT_EQ(moved.DateTime, At(2024, 5, 10, 9, 0));
  EXPECT_EQ(ReadDados("tavodb.dat"), "aaaaabbbbbbbccc");
}

TEST_F(ThreeTexts, AlteringAReminderDeletedMeanwhileAddsItWithANewId) {
  const TLembrete gone = Entry(1);
  DeleteLembrete(gone);
  AlterLembrete(gone, Reminder(At(2024, 5, 2, 9, 0), "de novo"));
  ASSERT_EQ(Lembretes.Count, 3);
  EXPECT_EQ(Entry(1).Text, "de novo");
  EXPECT_EQ(Lembretes[1].Id, 3);
  EXPECT_EQ(Lembretes[1].TextPos, 8);
}

TEST_F(ThreeTexts, DeletingAReminderNoLongerStoredChangesNothingButStillRefreshes) {
  TLembrete gone = Entry(1);
  DeleteLembrete(gone);
  const std::string index = ReadDados("tavodb.idx"), data = ReadDados("tavodb.dat");
  refreshes = 0;
  DeleteLembrete(gone);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(ReadDados("tavodb.idx"), index);
  EXPECT_EQ(ReadDados("tavodb.dat"), data);
}

TEST_F(ThreeTexts, FindLembreteScansForwardFromTheRecordsDate) {
  TLembrete r = Entry(1);
  EXPECT_EQ(FindLembrete(r), 1);
  r.DateTime = At(2024, 4, 1);  // earlier than the entry: still found
  EXPECT_EQ(FindLembrete(r), 1);
  r.DateTime = At(2024, 5, 2, 9, 1);  // later than the entry: not found
  EXPECT_EQ(FindLembrete(r), -1);
}

TEST_F(ThreeTexts, ReadLembreteOutsideTheTableLeavesTheRecordAlone) {
  TLembrete r = Reminder(At(2000, 1, 1), "mine");
  ReadLembrete(3, r);
  ReadLembrete(-1, r);
  EXPECT_EQ(r.Text, "mine");
  EXPECT_EQ(refreshes, 0);  // reading never refreshes the list
}

// ---- A safety copy that is not the store's own ----

TEST_F(ThreeTexts, SafetyCopyAppearingWhileRunningFailsDeleteAndLeavesBothFiles) {
  WriteDados("tavodb.bkp", "stray");
  const std::string index = ReadDados("tavodb.idx"), data = ReadDados("tavodb.dat");
  EXPECT_THROW(DeleteLembrete(Entry(1)), StoreStopped);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].Message, "Erro ao excluir registro.");
  EXPECT_EQ(failures[0].Kind, BoxKind::SystemModal);
  EXPECT_EQ(ReadDados("tavodb.idx"), index);
  EXPECT_EQ(ReadDados("tavodb.dat"), data);
  EXPECT_EQ(ReadDados("tavodb.bkp"), "stray");

  EXPECT_THROW(AlterLembrete(Entry(1), Reminder(At(2024, 5, 2, 9, 0), "longer text")), StoreStopped);
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[1].Message, "Erro ao alterar arquivos de dados.");
  EXPECT_EQ(failures[1].Kind, BoxKind::SystemModal);
  EXPECT_EQ(ReadDados("tavodb.dat"), data);
}

TEST_F(ThreeTexts, SafetyCopyAppearingWhileRunningLetsAddAndSameLengthAlterWork) {
  WriteDados("tavodb.bkp", ReadDados("tavodb.dat"));  // say, a copy someone made
  AddLembrete(Reminder(At(2024, 5, 4, 9, 0), "dddd"));
  AlterLembrete(Entry(0), Reminder(At(2024, 5, 1, 9, 0), "AAAAA"));
  EXPECT_TRUE(failures.empty());
  const std::vector<Stored> state = State();
  EXPECT_EQ(state[0].Text, "AAAAA");
  EXPECT_EQ(state[3].Text, "dddd");
  // The next start keeps what was stored meanwhile.
  Reopen();
  EXPECT_EQ(State(), state);
  EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"}));
}

TEST_F(ThreeTexts, SafetyCopyLeftByAnInterruptedRebuildIsRestoredAtStart) {
  // What a rebuild that stopped half-way leaves: the complete old data file as
  // the safety copy, a partial new data file, the old index.
  const std::vector<Stored> before = State();
  std::rename(Dados("tavodb.dat").c_str(), Dados("tavodb.bkp").c_str());
  WriteDados("tavodb.dat", "aaaaacc");
  Reopen();
  EXPECT_EQ(State(), before);
  EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"}));
  DeleteLembrete(Entry(0));  // rebuilds work again
  EXPECT_EQ(ReadDados("tavodb.dat"), "bbbbbbbccc");
}

// ---- Starting ----

TEST_F(Store, WithoutADadosFolderTheStartFailsWithTheCreateMessage) {
  std::filesystem::remove_all(folder.Path() + "dados");
  EXPECT_THROW(Reopen(), StoreStopped);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].Message, "Erro ao criar arquivos de dados");
  EXPECT_EQ(failures[0].Kind, BoxKind::TaskModal);
}

TEST_F(Store, AnIndexThatCannotBeReadFailsTheStartWithTheOpenMessage) {
  std::filesystem::create_directory(Dados("tavodb.idx"));
  EXPECT_THROW(Reopen(), StoreStopped);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].Message, "Erro ao abrir arquivos de dados");
  EXPECT_EQ(failures[0].Kind, BoxKind::TaskModal);
}

TEST_F(Store, FirstStartCreatesBothFilesEmptyAndAMissingDataFileKeepsTheIndex) {
  Reopen();
  EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"}));
  EXPECT_EQ(DadosSize("tavodb.idx"), 0);
  EXPECT_EQ(DadosSize("tavodb.dat"), 0);
  AddLembrete(Reminder(At(2024, 1, 1), "abc"));
  std::remove(Dados("tavodb.dat").c_str());
  Reopen();
  EXPECT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(DadosSize("tavodb.dat"), 0);
  EXPECT_EQ(Entry(0).Text, "");
}

TEST_F(Store, SetEntryCountKeepsTheFirstEntriesAndZeroFillsNewOnes) {
  EntryTable t;
  SetEntryCount(t, 2);
  t[0].Id = 5;
  t[1].Id = 6;
  SetEntryCount(t, 3);
  EXPECT_EQ(t.Count, 3);
  EXPECT_EQ(t[0].Id, 5);
  EXPECT_EQ(EntryBytes(0, 0, 0, 0, 0), std::string(reinterpret_cast<const char*>(&t[2]), 20));
  SetEntryCount(t, 1);
  EXPECT_EQ(t.Count, 1);
  EXPECT_EQ(t[0].Id, 5);
  SetEntryCount(t, 0);
  EXPECT_EQ(t.Entries.capacity(), 0u);
}

// ---- Damaged files never crash ----

TEST_F(Store, AnIndexOutOfDateOrderIsSortedOnLoadKeepingEqualDatesInFileOrder) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  WriteDados("tavodb.idx", EntryBytes(nan, 0, 0, 1, 0) + EntryBytes(At(2024, 3, 1), 0, 1, 1, 0) +
                               EntryBytes(At(2024, 1, 1), 0, 2, 1, 0) + EntryBytes(At(2024, 3, 1), 0, 3, 1, 0));
  WriteDados("tavodb.dat", "abcd");
  Reopen();
  ASSERT_EQ(Lembretes.Count, 4);
  const char* texts[] = {"c", "b", "d", "a"};
  for (int32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(Lembretes[i].Id, i);
    EXPECT_EQ(Entry(i).Text, texts[i]);
  }
}


TEST_F(Store, DamagedEntriesReadWhatExistsAndShowAsNoRepetition) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  WriteDados("tavodb.idx", EntryBytes(At(2024, 1, 1), 0, 0, 3, 9) +    // kind out of range
                               EntryBytes(At(2024, 1, 2), 0, 4, 50, 0) +  // runs past the end
                               EntryBytes(At(2024, 1, 3), 0, 99, 5, 0) +  // starts past the end
                               EntryBytes(At(2024, 1, 4), 0, -7, 5, 0) +  // negative offset
                               EntryBytes(1e300, 0, 0, 1, 0) + EntryBytes(nan, 0, 0, 1, 0));
  WriteDados("tavodb.dat", "abcdefgh");
  Reopen();
  ASSERT_EQ(Lembretes.Count, 6);
  EXPECT_STREQ(RepeatName(Lembretes[0].RepeatKind), "Nenhuma");
  EXPECT_EQ(EffectiveRepeatKind(Lembretes[0].RepeatKind), 0);
  EXPECT_EQ(Entry(0).Text, "abc");
  EXPECT_EQ(Entry(1).Text, "efgh");
  EXPECT_EQ(Entry(2).Text, "");
  EXPECT_EQ(Entry(3).Text, "");
  for (const double bad : {1e300, -1e300, nan, std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(DateToText(bad), "");
    EXPECT_EQ(TimeToText(bad), "");
  }
  // Values that are no dates sort after every date, so searches stay well-defined.
  EXPECT_EQ(FindPosition(At(2024, 1, 2)), 1);
  EXPECT_EQ(FindPosition(2e300), 4);
  EXPECT_EQ(FindPosition(nan), 4);
  EXPECT_EQ(FindLembrete(Lembretes[5]), 5);
  AddLembrete(Reminder(At(2030, 1, 1), "new"));
  EXPECT_EQ(FindPosition(At(2030, 1, 1)), 4);
  EXPECT_EQ(Entry(4).Text, "new");
  DeleteLembrete(Entry(5));
  EXPECT_EQ(Lembretes.Count, 6);
}

TEST_F(Store, AnIndexOutOfOrderLoadsSortedWithDamagedDatesLastAndTheFileUntouched) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::string index = EntryBytes(nan, 0, 0, 1, 0) + EntryBytes(At(2024, 3, 1), 0, 1, 1, 0) +
                            EntryBytes(-1e300, 0, 2, 1, 0) + EntryBytes(At(2024, 1, 1), 0, 3, 1, 0) +
                            EntryBytes(At(2024, 3, 1), 0, 4, 1, 0) + EntryBytes(1e300, 0, 5, 1, 0);
  WriteDados("tavodb.idx", index);
  WriteDados("tavodb.dat", "abcdef");
  Reopen();
  std::string texts;
  for (int32_t i = 0; i < Lembretes.Count; ++i) {
    texts += Entry(i).Text;
    EXPECT_EQ(Lembretes[i].Id, i);
  }
  // Equal dates keep the file's order, and so do the damaged ones among themselves.
  EXPECT_EQ(texts, "dbeacf");
  EXPECT_EQ(ReadDados("tavodb.idx"), index) << "loading writes nothing";
  EXPECT_EQ(FindPosition(At(2024, 3, 1)), 1);
  EXPECT_EQ(FindPosition(At(2030, 1, 1)), 3);
  EXPECT_EQ(FindPosition(-1e300), 3);
  // The next change writes the table as it is now.
  DeleteLembrete(Entry(1));
  EXPECT_EQ(IndexEntries().size(), 5u);
  EXPECT_EQ(double{IndexEntries()[1].DateTime}, At(2024, 3, 1));
  EXPECT_TRUE(std::isnan(IndexEntries()[2].DateTime));
}

TEST_F(Store, TextPositionsNearTheTopOfTheirRangeStayBeyondTheFileWhenTextsMove) {
  // A damaged entry pointing just below 2^31; the text before it grows.
  WriteDados("tavodb.idx", EntryBytes(At(2024, 1, 1), 0, 0, 3, 0) +
                               EntryBytes(At(2024, 1, 2), 0, std::numeric_limits<int32_t>::max() - 2, 4, 0));
  WriteDados("tavodb.dat", "abc");
  Reopen();
  AlterLembrete(Entry(0), Reminder(At(2024, 1, 1), "abcdefgh"));
  EXPECT_GE(Lembretes[1].TextPos, DadosSize("tavodb.dat"));
  EXPECT_EQ(Entry(1).Text, "");
  Reopen();
  EXPECT_GE(Lembretes[1].TextPos, DadosSize("tavodb.dat"));
  EXPECT_EQ(Entry(0).Text, "abcdefgh");
}

TEST_F(Store, ReadingARangeGivesWhatReadingEachEntryGives) {
  // Texts far apart (more than a read window between them), out of date
  // order, and damaged entries: past the end, negative, cut by the end, empty.
  std::string index, data;
  for (int i = 0; i < 24; ++i) {
    const std::string text = std::to_string(i) + std::string(static_cast<size_t>(60000 + i * 7), static_cast<char>('a' + i));
    index += EntryBytes(At(2024, 1, 1 + (i * 7) % 24), 0, static_cast<int32_t>(data.size()),
                        static_cast<uint16_t>(text.size()), 0);
    data += text;
  }
  const auto size = static_cast<int32_t>(data.size());
  index += EntryBytes(At(2024, 2, 1), 0, size + 10, 5, 0) + EntryBytes(At(2024, 2, 2), 0, -3, 5, 0) +
           EntryBytes(At(2024, 2, 3), 0, size - 4, 9, 0) + EntryBytes(At(2024, 2, 4), 0, 5, 0, 0) +
           EntryBytes(At(2024, 2, 5), 0, 0, 3, 0);
  WriteDados("tavodb.idx", index);
  WriteDados("tavodb.dat", data);
  Reopen();
  std::vector<Stored> one_by_one;
  for (int32_t i = 0; i < Lembretes.Count; ++i) {
    const TLembrete r = Entry(i);
    one_by_one.push_back({r.DateTime, r.RepeatKind, r.Text});
  }
  auto range = [](int32_t first, int32_t after) {
    std::vector<Stored> out;
    for (const TLembrete& r : ReadLembretes(first, after)) out.push_back({r.DateTime, r.RepeatKind, r.Text});
    return out;
  };
  EXPECT_TRUE(range(0, Lembretes.Count) == one_by_one);
  EXPECT_TRUE(range(-5, 1000) == one_by_one);
  EXPECT_TRUE(range(3, 7) == std::vector<Stored>(one_by_one.begin() + 3, one_by_one.begin() + 7));
  EXPECT_TRUE(range(7, 3).empty());
  EXPECT_EQ(ReadLembretes(0, Lembretes.Count)[26].Text, data.substr(data.size() - 4));
  EXPECT_FALSE(StoreBusy);
}

TEST_F(ThreeTexts, TextsTheDataFileNoLongerHoldsCanStillBeAlteredAndDeleted) {
  // The last text cut short and the data file then lost: offsets point beyond its end.
  WriteDados("tavodb.dat", "aaaaabbbbbbbc");
  Reopen();
  AlterLembrete(Entry(2), Reminder(At(2024, 5, 3, 9, 0), "CCC"));  // same length, 1 of 3 bytes there
  EXPECT_EQ(ReadDados("tavodb.dat"), "aaaaabbbbbbbCCC");
  WriteDados("tavodb.dat", "");
  Reopen();
  AlterLembrete(Entry(0), Reminder(At(2024, 5, 1, 9, 0), "novo"));
  DeleteLembrete(Entry(1));
  EXPECT_TRUE(failures.empty());
  Reopen();
  EXPECT_EQ(State(), (std::vector<Stored>{{At(2024, 5, 1, 9, 0), 0, "novo"}, {At(2024, 5, 3, 9, 0), 0, ""}}));
  EXPECT_EQ(ReadDados("tavodb.dat"), "novo");
}

// ---- Texts the entry cannot describe ----

TEST_F(ThreeTexts, ATextLongerThanItsEntryCanDescribeIsRefusedAndNothingChanges) {
  const std::vector<Stored> before = State();
  const std::string index = ReadDados("tavodb.idx"), data = ReadDados("tavodb.dat");
  const std::string too_long(70000, 'x');
  ASSERT_THROW(AddLembrete(Reminder(At(2024, 6, 1), too_long)), std::length_error);
  ASSERT_THROW(AlterLembrete(Entry(1), Reminder(At(2024, 5, 2, 9, 0), too_long)), std::length_error);
  EXPECT_FALSE(StoreBusy);
  EXPECT_EQ(ReadDados("tavodb.idx"), index);
  EXPECT_EQ(ReadDados("tavodb.dat"), data);
  EXPECT_EQ(State(), before);
  // The longest one it can describe is stored whole.
  const std::string longest(65535, 'y');
  AlterLembrete(Entry(1), Reminder(At(2024, 5, 2, 9, 0), longest));
  Reopen();
  EXPECT_TRUE(Entry(1).Text == longest);
}

// ---- Failures of the disk and their messages ----

struct FailureCase {
  const char* name;
  enum { Add, AlterSame, AlterLonger, Delete } op;
  StepKind kind;
  const char* file;
  const char* message;
  BoxKind box;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class DiskFailure : public ThreeTexts, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DiskFailure, ShowsItsMessageAndTheNextStartFindsTheStoreAsBefore) {
  const FailureCase& c = GetParam();
  const std::vector<Stored> before = State();
  const int64_t data_size = DadosSize("tavodb.dat");
  const TLembrete target = Entry(1);
  FaultFileSystem faulty;
  faulty.ArmWhen([&](const Step& s) { return s.Kind == c.kind && EndsWith(s.Path, c.file); }, Fault::Fail);
  platform::SetFilesForTesting(&faulty);
  switch (c.op) {
    case FailureCase::Add: EXPECT_THROW(AddLembrete(Reminder(At(2024, 6, 1), "novo")), StoreStopped); break;
    case FailureCase::AlterSame:
      EXPECT_THROW(AlterLembrete(target, Reminder(target.DateTime, "BBBBBBB", 1)), StoreStopped);
      break;
    case FailureCase::AlterLonger:
      EXPECT_THROW(AlterLembrete(target, Reminder(target.DateTime, "bbbbbbbbb", 1)), StoreStopped);
      break;
    case FailureCase::Delete: EXPECT_THROW(DeleteLembrete(target), StoreStopped); break;
  }
  platform::SetFilesForTesting(nullptr);
  ASSERT_TRUE(faulty.Fired()) << faulty.Describe();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].Message, c.message);
  EXPECT_EQ(failures[0].Kind, c.box);
  EXPECT_FALSE(StoreBusy);
  if (c.op == FailureCase::Add) {
    EXPECT_EQ(DadosSize("tavodb.dat"), data_size) << "no unreferenced text";
  }
  Reopen();
  EXPECT_EQ(State(), before);
  EXPECT_EQ(DadosSize("tavodb.dat"), data_size);
}

INSTANTIATE_TEST_SUITE_P(
    Store, DiskFailure,
    ::testing::Values(
        FailureCase{"AppendOpen", FailureCase::Add, StepKind::Open, "tavodb.dat", msg::kUpdateFailed, BoxKind::TaskModal},
        FailureCase{"AppendWrite", FailureCase::Add, StepKind::Write, "tavodb.dat", msg::kUpdateFailed, BoxKind::TaskModal},
        FailureCase{"AppendSync", FailureCase::Add, StepKind::Sync, "tavodb.dat", msg::kUpdateFailed, BoxKind::TaskModal},
        FailureCase{"AppendClose", FailureCase::Add, StepKind::Close, "tavodb.dat", msg::kUpdateFailed, BoxKind::TaskModal},
        FailureCase{"AddIndexWrite", FailureCase::Add, StepKind::Write, "tavodb.idx.new", msg::kUpdateFailed,
                    BoxKind::TaskModal},
        FailureCase{"AddIndexReplace", FailureCase::Add, StepKind::ReplaceAtomic, "tavodb.idx.new",
                    msg::kUpdateFailed, BoxKind::TaskModal},
        FailureCase{"OverwriteWrite", FailureCase::AlterSame, StepKind::Write, "tavodb.dat", msg::kUpdateFailed,
                    BoxKind::TaskModal},
        FailureCase{"OverwriteJournal", FailureCase::AlterSame, StepKind::Sync, "tavodb.und", msg::kUpdateFailed,
                    BoxKind::TaskModal},
        FailureCase{"AlterRename", FailureCase::AlterLonger, StepKind::RenameNoReplace, "tavodb.dat",
                    msg::kAlterFailed, BoxKind::SystemModal},
        FailureCase{"AlterCopy", FailureCase::AlterLonger, StepKind::Write, "tavodb.dat", msg::kAlterFailed,
                    BoxKind::SystemModal},
        FailureCase{"AlterIndex", FailureCase::AlterLonger, StepKind::Write, "tavodb.idx.new", msg::kUpdateFailed,
                    BoxKind::TaskModal},
        FailureCase{"DeleteRename", FailureCase::Delete, StepKind::RenameNoReplace, "tavodb.dat",
                    msg::kDeleteFailed, BoxKind::SystemModal},
        FailureCase{"DeleteSync", FailureCase::Delete, StepKind::Sync, "tavodb.dat", msg::kDeleteFailed,
                    BoxKind::SystemModal},
        FailureCase{"DeleteIndexOpen", FailureCase::Delete, StepKind::Open, "tavodb.idx.new", msg::kUpdateFailed,
                    BoxKind::TaskModal}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return std::string(param.param.name); });

TEST_F(ThreeTexts, ADataFileThatCannotBeReadStopsWithTheReadMessage) {
  std::remove(Dados("tavodb.dat").c_str());
  TLembrete r;
  EXPECT_THROW(ReadLembrete(0, r), StoreStopped);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].Message, "Erro ao ler arquivos de dados");
  EXPECT_FALSE(StoreBusy);
}

// ---- Busy flags ----

TEST_F(ThreeTexts, WritersWaitForEitherFlagByPumpingMessages) {
  const std::function<void(const TLembrete&)> operations[] = {
      [](const TLembrete&) { AddLembrete(Reminder(At(2024, 6, 1), "x")); },
      [](const TLembrete& r) { AlterLembrete(r, Reminder(r.DateTime, "longer text")); },
      [](const TLembrete& r) { DeleteLembrete(r); },
  };
  for (bool* flag : {&ScanBusy, &StoreBusy}) {
    for (const auto& operation : operations) {
      const TLembrete record = Entry(0);
      const std::string data = ReadDados("tavodb.dat");
      int untouched = 0;
      pumps = 0;
      on_pump = [&] {
        if (ReadDados("tavodb.dat") == data) ++untouched;
        if (pumps == 3) *flag = false;
      };
      *flag = true;
      operation(record);
      EXPECT_EQ(pumps, 3);
      EXPECT_EQ(untouched, 3) << "the files changed while the flag was up";
      EXPECT_NE(ReadDados("tavodb.dat"), data);
      EXPECT_FALSE(StoreBusy);
    }
  }
  on_pump = nullptr;
}

TEST_F(ThreeTexts, ReadLembreteWaitsForStoreBusyOnly) {
  ScanBusy = true;
  EXPECT_EQ(Entry(0).Text, "aaaaa");
  EXPECT_EQ(pumps, 0);
  ScanBusy = false;
  StoreBusy = true;
  on_pump = [] { StoreBusy = false; };
  EXPECT_EQ(Entry(1).Text, "bbbbbbb");
  EXPECT_EQ(pumps, 1);
}

}  // namespace
}  // namespace tavo
