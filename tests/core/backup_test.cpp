// Backup files: their exact bytes, and restores that either replace the
// whole store or leave its files exactly as they were.

#include "store/backup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/core/support/fault_file_system.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using test_support::At;
using test_support::Fault;
using test_support::FaultFileSystem;
using test_support::PowerCut;
using test_support::Stored;

std::string Le32(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class Backup : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    Reopen();
  }

  std::string BackupPath() const { return folder.Path() + "copia.tvb"; }

  // The store files and the folder listing, to compare byte for byte.
  struct StoreBytes {
    std::string Index, Data;
    std::vector<std::string> Names;
    bool operator==(const StoreBytes&) const = default;
  };
  StoreBytes Snapshot() const { return {ReadDados("tavodb.idx"), ReadDados("tavodb.dat"), DadosFiles()}; }

  std::vector<int32_t> Ids() const {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < Lembretes.Count; ++i) ids.push_back(Lembretes[i].Id);
    return ids;
  }

  // A backup made from a store holding these reminders; the store is emptied again.
  std::string BackupOf(const std::vector<Stored>& reminders) {
    AddAll(reminders);
    EXPECT_EQ(WriteBackup(BackupPath()), BackupResult::Done);
    const std::string bytes = ReadFile(BackupPath());
    WriteDados("tavodb.idx", "");
    WriteDados("tavodb.dat", "");
    Reopen();
    return bytes;
  }

  const std::vector<Stored> two_ = {{At(2024, 7, 1, 9, 0), 0, "Dentista"}, {At(2024, 7, 2, 8, 30), 3, "Ruth"}};
  const std::vector<Stored> five_ = {{At(2024, 7, 1, 9, 0), 0, "um"},
                                     {At(2024, 7, 2, 9, 0), 1, "dois"},
                                     {At(2024, 7, 3, 9, 0), 2, "tr\xEAs"},
                                     {At(2024, 7, 4, 9, 0), 3, "quatro"},
                                     {At(2024, 7, 5, 9, 0), 4, "cinco"}};
};

// --- Writing a backup ----------------------------------------------------

TEST_F(Backup, TwoRemindersWithTwelveTextBytesGiveSixtySevenBytes) {
  AddAll(two_);
  ASSERT_EQ(WriteBackup(BackupPath()), BackupResult::Done);
  const std::string bytes = ReadFile(BackupPath());
  ASSERT_EQ(bytes.size(), 67u);
  EXPECT_EQ(bytes.substr(0, 7), "TAVOBKP");
  EXPECT_EQ(bytes.substr(7, 4), std::string("\x28\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(11, 40), ReadDados("tavodb.idx"));
  EXPECT_EQ(bytes.substr(51, 4), std::string("\x0C\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(55, 12), "DentistaRuth");
  EXPECT_FALSE(StoreBusy);
}

TEST_F(Backup, EmptyStoreWritesNothing) {
  EXPECT_EQ(WriteBackup(BackupPath()), BackupResult::EmptyStore);
  EXPECT_FALSE(std::ifstream(BackupPath()).good());
}

TEST_F(Backup, ReplacesAnExistingFileWhole) {
  WriteFile(BackupPath(), std::string(500, 'x'));
  AddAll(two_);
  ASSERT_EQ(WriteBackup(BackupPath()), BackupResult::Done);
  EXPECT_EQ(ReadFile(BackupPath()).size(), 67u);
}

TEST_F(Backup, HoldsStoreBusyWhileWritingAndReportsAFailedWrite) {
  AddAll(two_);
  FaultFileSystem faults;
  std::vector<bool> busy_at_steps;
  faults.ArmWhen(
      [&](const test_support::Step& step) {
        busy_at_steps.push_back(StoreBusy);
        return step.Kind == test_support::StepKind::Write && step.Path == BackupPath() && busy_at_steps.size() > 2;
      },
      Fault::Fail);
  platform::SetFilesForTesting(&faults);
  EXPECT_EQ(WriteBackup(BackupPath()), BackupResult::Failed);
  platform::SetFilesForTesting(nullptr);
  ASSERT_FALSE(busy_at_steps.empty());
  for (bool busy : busy_at_steps) EXPECT_TRUE(busy);
  EXPECT_FALSE(StoreBusy);
}

// --- Restoring ----------------------------------------------------------

TEST_F(Backup, FiveRestoredRemindersGetIdsZeroToFourAndTheNextGetsFive) {
  const std::string bytes = BackupOf(five_);
  AddAll({{At(2025, 1, 1, 0, 0), 0, "antigo"}});
  WriteFile(BackupPath(), bytes);
  const int refreshes_before = refreshes;

  ASSERT_EQ(RestoreBackup(BackupPath()), RestoreResult::Done);
  EXPECT_EQ(State(), five_);
  EXPECT_EQ(Ids(), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(LastId, 4);
  EXPECT_GT(refreshes, refreshes_before);
  EXPECT_FALSE(StoreBusy);

  AddLembrete(test_support::Reminder(At(2024, 8, 1, 9, 0), "seis"));
  EXPECT_EQ(Lembretes[5].Id, 5);
  Reopen();
  EXPECT_EQ(State().size(), 6u);
}

TEST_F(Backup, BackupThenRestoreLeavesTheFilesByteIdentical) {
  AddAll(five_);
  DeleteLembrete(Entry(1));  // Ids on disk no longer match positions
  ASSERT_EQ(WriteBackup(BackupPath()), BackupResult::Done);
  const StoreBytes backed_up = Snapshot();
  AddAll(two_);
  DeleteLembrete(Entry(0));

  ASSERT_EQ(RestoreBackup(BackupPath()), RestoreResult::Done);
  EXPECT_EQ(Snapshot(), backed_up);
  EXPECT_EQ(Ids(), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(Backup, RestoringEmptySectionsEmptiesTheStore) {
  AddAll(two_);
  WriteFile(BackupPath(), std::string("TAVOBKP") + Le32(0) + Le32(0));
  ASSERT_EQ(RestoreBackup(BackupPath()), RestoreResult::Done);
  EXPECT_EQ(Lembretes.Count, 0);
  EXPECT_EQ(LastId, -1);
  EXPECT_EQ(DadosSize("tavodb.idx"), 0);
  EXPECT_EQ(DadosSize("tavodb.dat"), 0);
}

// Files that are not a complete backup, each against a valid one of two reminders.
struct BadFile {
  const char* name;
  std::string (*make)(const std::string& good);
  RestoreResult expected;
};

std::string WithMagic(const std::string& good, const char* magic) { return std::string(magic, 7) + good.substr(7); }

const BadFile kBadFiles[] = {
    {"OneLetterWrong", [](const std::string& g) { return WithMagic(g, "TAVOBKQ"); }, RestoreResult::NotABackup},
    {"LowerCaseMagic", [](const std::string& g) { return WithMagic(g, "tavobkp"); }, RestoreResult::NotABackup},
    {"ShorterThanMagic", [](const std::string&) { return std::string("TAVO"); }, RestoreResult::NotABackup},
    {"LastByteMissing", [](const std::string& g) { return g.substr(0, g.size() - 1); }, RestoreResult::Damaged},
    {"OneByteTooMany", [](const std::string& g) { return g + "x"; }, RestoreResult::Damaged},
    {"NegativeIndexSize",
     [](const std::string& g) { return g.substr(0, 7) + Le32(-40) + g.substr(11); }, RestoreResult::Damaged},
    {"IndexSizeTooLarge",
     [](const std::string& g) { return g.substr(0, 7) + Le32(INT32_MAX) + g.substr(11); }, RestoreResult::Damaged},
    {"NegativeDataSize",
     [](const std::string& g) { return g.substr(0, 51) + Le32(-12) + g.substr(55); }, RestoreResult::Damaged},
    {"DataSizeTooLarge",
     [](const std::string& g) { return g.substr(0, 51) + Le32(13) + g.substr(55); }, RestoreResult::Damaged},
};

class RestoreOfBadFile : public Backup, public ::testing::WithParamInterface<BadFile> {};

TEST_P(RestoreOfBadFile, LeavesTheStoreFilesByteIdentical) {
  const std::string good = BackupOf(two_);
  ASSERT_EQ(good.size(), 67u);
  AddAll(five_);
  DeleteLembrete(Entry(0));  // Ids 1..4 at positions 0..3
  const StoreBytes before = Snapshot();
  const auto state_before = State();
  WriteFile(BackupPath(), GetParam().make(good));

  EXPECT_EQ(RestoreBackup(BackupPath()), GetParam().expected);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(State(), state_before);
  EXPECT_FALSE(StoreBusy);
  if (GetParam().expected == RestoreResult::NotABackup) {
    // The table is reloaded from the untouched files.
    EXPECT_EQ(Ids(), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(LastId, 3);
  } else {
    EXPECT_EQ(Ids(), (std::vector<int32_t>{1, 2, 3, 4}));
  }
}

INSTANTIATE_TEST_SUITE_P(Backup, RestoreOfBadFile, ::testing::ValuesIn(kBadFiles),
                         [](const ::testing::TestParamInfo<BadFile>& p) { return std::string(p.param.name); });

// --- A restore interrupted at any step -----------------------------------

// Whatever step fails or loses power, the store afterwards (after the next
// start, for a power cut) holds either the old reminders or the restored ones.
TEST_F(Backup, EveryInterruptedStepLeavesTheOldOrTheNewStore) {
  const std::string bytes = BackupOf(five_);
  AddAll(two_);
  const StoreBytes old_files = Snapshot();
  const auto old_state = State();
  WriteFile(BackupPath(), bytes);
  ASSERT_EQ(RestoreBackup(BackupPath()), RestoreResult::Done);
  const StoreBytes new_files = Snapshot();
  const auto new_state = State();

  for (Fault fault : {Fault::Crash, Fault::TornWrite, Fault::Fail}) {
    for (int k = 1;; ++k) {
      SCOPED_TRACE(std::string(test_support::FaultName(fault)) + " at step " + std::to_string(k));
      // Back to the old store.
      WriteDados("tavodb.idx", old_files.Index);
      WriteDados("tavodb.dat", old_files.Data);
      Reopen();
      ASSERT_EQ(Snapshot(), old_files);

      FaultFileSystem faults;
      faults.ArmAt(k, fault);
      platform::SetFilesForTesting(&faults);
      RestoreResult result = RestoreResult::Done;
      bool stopped = false;
      try {
        result = RestoreBackup(BackupPath());
      } catch (const PowerCut&) {
        stopped = true;
      } catch (const StoreStopped&) {
        stopped = true;
      }
      platform::SetFilesForTesting(nullptr);
      const bool fired = faults.Fired();
      SCOPED_TRACE(faults.Describe());

      if (!stopped && result == RestoreResult::WriteFailed) {
        EXPECT_EQ(Snapshot(), old_files);
        EXPECT_EQ(State(), old_state);
      }
      if (!stopped && result == RestoreResult::Done) {
        EXPECT_EQ(State(), new_state);
      }
      Reopen();  // the next start resolves what was left
      const StoreBytes after = Snapshot();
      EXPECT_TRUE(after == old_files || after == new_files);
      EXPECT_TRUE(State() == old_state || State() == new_state);
      if (!fired) break;
    }
  }
}

}  // namespace
}  // namespace tavo
