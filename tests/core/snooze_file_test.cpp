// The snooze file: its format refuses every damage, and a power cut or a
// failed disk call at any step of a change leaves the snoozes before the
// change or those after it, with the reminders untouched.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <utility>

#include "store/snooze_file.h"
#include "tests/core/support/fault_file_system.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using test_support::At;
using test_support::Fault;
using test_support::FaultFileSystem;
using test_support::PowerCut;
using test_support::Reminder;
using test_support::Stored;

const std::vector<snooze_file::Record> kRecords = {
    {At(2024, 6, 20, 16, 0), At(2024, 6, 20, 14, 30), 1, 0, "Tomar o rem\xE9" "dio"},
    {At(2024, 6, 21, 0, 5), At(2024, 6, 20, 14, 30), 1, 1, "Tomar o rem\xE9" "dio"},
    {At(2024, 6, 20, 15, 0), At(2024, 6, 22, 9, 0), 0, 0, ""},
};

TEST(SnoozeFileFormat, WhatIsWrittenReadsBack) {
  std::vector<snooze_file::Record> read;
  ASSERT_TRUE(snooze_file::Parse(snooze_file::Serialize(kRecords), &read));
  EXPECT_EQ(read, kRecords);
  ASSERT_TRUE(snooze_file::Parse(snooze_file::Serialize({}), &read));
  EXPECT_TRUE(read.empty());
}

TEST(SnoozeFileFormat, EveryCutEveryChangedByteAndAnythingAddedIsDamage) {
  const std::string bytes = snooze_file::Serialize(kRecords);
  std::vector<snooze_file::Record> read;
  for (size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(snooze_file::Parse(bytes.substr(0, n), &read)) << n;
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::string changed = bytes;
    changed[i] = static_cast<char>(changed[i] ^ 0x41);
    EXPECT_FALSE(snooze_file::Parse(changed, &read)) << i;
    EXPECT_TRUE(read.empty());
  }
  EXPECT_FALSE(snooze_file::Parse(bytes + '\0', &read));
}

// Reminders A (14:30), B (15:00) and C (09:00 the next day); A put off to 16:00.
class SnoozeCrashPoints : public test_support::StoreFixture {
 protected:
  using Snoozes = std::vector<std::pair<int32_t, double>>;  // table position, minute

  void SetUp() override {
    StoreFixture::SetUp();
    Hooks().Notice = [this](const std::string& message) { notices.push_back(message); };
    Reopen();
    AddAll({{At(2024, 6, 20, 14, 30), 1, "A"}, {At(2024, 6, 20, 15, 0), 0, "B"}, {At(2024, 6, 21, 9, 0), 0, "C"}});
    Reopen();
    initial_ = {ReadDados("tavodb.idx"), ReadDados("tavodb.dat"), ""};
  }

  Snoozes CurrentSnoozes() const {
    Snoozes s;
    for (int32_t p = 0; p < Lembretes.Count; ++p)
      if (auto until = store.SnoozedUntil(Lembretes[p].Id)) s.push_back({p, *until});
    return s;
  }

  // Puts the files back as they were before the operation, and loads them.
  void PutBack() {
    for (const std::string& name : DadosFiles()) std::remove(Dados(name).c_str());
    WriteDados("tavodb.idx", initial_[0]);
    WriteDados("tavodb.dat", initial_[1]);
    if (!initial_[2].empty()) WriteDados("tavodb.adi", initial_[2]);
    Reopen();
  }

  // Runs the operation with the fault at every step in turn; every start
  // after it loads the state before or the state after.
  void Sweep(const char* name, const std::function<void()>& op, Fault fault) {
    PutBack();
    const std::pair<std::vector<Stored>, Snoozes> before{State(), CurrentSnoozes()};
    op();
    Reopen();
    const std::pair<std::vector<Stored>, Snoozes> after{State(), CurrentSnoozes()};
    ASSERT_NE(before, after) << name;
    FaultFileSystem faulty;
    for (int k = 1;; ++k) {
      PutBack();
      failures.clear();
      notices.clear();
      faulty.ArmAt(k, fault);
      platform::SetFilesForTesting(&faulty);
      try {
        op();
      } catch (const PowerCut&) {
      } catch (const StoreStopped&) {
      }
      platform::SetFilesForTesting(nullptr);
      const std::string where = std::string(name) + ", " + test_support::FaultName(fault) + " at step " +
                                std::to_string(k) + " of: " + faulty.Describe();
      if (!faulty.Fired()) {
        EXPECT_GT(k, 1) << where;  // every change writes something
        return;
      }
      if (fault == Fault::Fail) {
        // A snooze file that cannot be written is told once, and ends nothing.
        EXPECT_EQ(failures.size() + notices.size(), 1u) << where;
        if (!notices.empty()) {
          EXPECT_EQ(notices[0], msg::kSnoozesNotWritten) << where;
        }
      }
      notices.clear();
      Reopen();
      EXPECT_TRUE(notices.empty()) << where << ": " << (notices.empty() ? "" : notices[0]);
      const std::pair<std::vector<Stored>, Snoozes> state{State(), CurrentSnoozes()};
      EXPECT_TRUE(state == before || state == after) << where;
      const std::vector<std::string> files = DadosFiles();
      for (const std::string& file : files)
        EXPECT_TRUE(file == "tavodb.idx" || file == "tavodb.dat" || file == "tavodb.adi") << where << ": " << file;
    }
  }

  void SweepAll(const char* name, const std::function<void()>& op) {
    for (const Fault fault : {Fault::Crash, Fault::TornWrite, Fault::Fail}) Sweep(name, op, fault);
  }

  // Puts A off, as the files were before every operation but the first.
  void WithASnoozed() {
    PutBack();
    store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
    initial_[2] = ReadDados("tavodb.adi");
    ASSERT_FALSE(initial_[2].empty());
  }

  std::vector<std::string> notices;
  std::array<std::string, 3> initial_;  // index, data, snooze file ("" when none)
};

TEST_F(SnoozeCrashPoints, EveryStepOfEveryChangeLeavesTheSnoozesBeforeOrAfter) {
  SweepAll("first snooze", [this] { store.SnoozeLembrete(Lembretes[1], At(2024, 6, 20, 17, 0)); });
  WithASnoozed();
  SweepAll("second snooze", [this] { store.SnoozeLembrete(Lembretes[1], At(2024, 6, 20, 17, 0)); });
  SweepAll("cancelling the last", [this] { store.CancelSnooze(Lembretes[0]); });
  SweepAll("altering the snoozed", [this] {
    AlterLembrete(Entry(0), Reminder(At(2024, 6, 20, 14, 30), "A, mudado", 1));
  });
  SweepAll("deleting the snoozed", [this] { DeleteLembrete(Entry(0)); });
}

TEST_F(SnoozeCrashPoints, AFailedWriteIsToldOnceUntilAWriteSucceeds) {
  FaultFileSystem faulty;
  faulty.ArmWhen([](const test_support::Step& s) { return s.Path.find("tavodb.adi") != std::string::npos; },
                 Fault::Fail);
  platform::SetFilesForTesting(&faulty);
  store.SnoozeLembrete(Lembretes[0], At(2024, 6, 20, 16, 0));
  faulty.ArmWhen([](const test_support::Step& s) { return s.Path.find("tavodb.adi") != std::string::npos; },
                 Fault::Fail);
  store.SnoozeLembrete(Lembretes[1], At(2024, 6, 20, 16, 0));
  EXPECT_EQ(notices, std::vector<std::string>{msg::kSnoozesNotWritten});
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(CurrentSnoozes().size(), 2u);  // still put off while the program runs
  faulty.Disarm();
  AddLembrete(Reminder(At(2024, 6, 23, 9, 0), "D"));  // the next change writes them
  platform::SetFilesForTesting(nullptr);
  Reopen();
  EXPECT_EQ(CurrentSnoozes(), (Snoozes{{0, At(2024, 6, 20, 16, 0)}, {1, At(2024, 6, 20, 16, 0)}}));
  EXPECT_EQ(notices.size(), 1u);
}

}  // namespace
}  // namespace tavo
