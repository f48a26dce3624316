// Power cuts and failed disk calls at every step of every store operation:
// whatever happens, the next start loads exactly the reminders before the
// operation or exactly those after it, and no temporary file stays behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

#include "store/store_files.h"
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

// Added in this order, so the texts lie in the data file in this order.
// The first two share a minute, so the later one stands first: the table is
// primeiro, terceiro, segundo lembrete, quarto e último.
const std::vector<Stored> kInitial = {
    {At(2025, 1, 12, 9, 30), 1, "segundo lembrete"},
    {At(2025, 1, 12, 9, 30), 3, "terceiro"},
    {At(2025, 2, 20, 18, 45), 4, "quarto e \xFAltimo"},
    {At(2025, 1, 10, 8, 0), 0, "primeiro"},
};

// What the table should hold after an operation, worked out on plain lists.
void ModelInsert(std::vector<Stored>& s, const Stored& r) {
  const auto at = std::find_if(s.begin(), s.end(), [&](const Stored& e) { return e.DateTime >= r.DateTime; });
  s.insert(at, r);
}

struct Operation {
  const char* name;
  int position;     // table position of the reminder it works on (-1: none)
  Stored replacement;  // new values for add and alter
  enum Kind { Add, Alter, Delete, Batch } kind;
  std::vector<Stored> batch = {};  // added together, in this order (AddLembretes)
};

const Operation kOperations[] = {
    {"add", -1, {At(2025, 1, 15, 7, 0), 2, "novo"}, Operation::Add},
    {"add before an equal minute", -1, {At(2025, 1, 12, 9, 30), 0, "mesmo minuto"}, Operation::Add},
    {"alter same length, same date", 3, {At(2025, 2, 20, 18, 45), 4, "QUARTO E \xDALTIMO"}, Operation::Alter},
    // An altered entry goes before the others of its minute, so this one moves.
    {"alter same length, minute shared", 2, {At(2025, 1, 12, 9, 30), 1, "SEGUNDO LEMBRETE"}, Operation::Alter},
    {"alter same length, new kind", 2, {At(2025, 1, 12, 9, 30), 2, "segundo lembrete"}, Operation::Alter},
    {"alter same length, new date", 1, {At(2025, 3, 1, 6, 15), 3, "TERCEIRO"}, Operation::Alter},
    {"alter to a longer text", 0, {At(2025, 1, 10, 8, 0), 0, "primeiro, agora mais longo"}, Operation::Alter},
    {"alter to a shorter text", 3, {At(2025, 2, 20, 18, 45), 4, "quarto"}, Operation::Alter},
    {"alter longer and later", 2, {At(2025, 4, 1, 12, 0), 1, "segundo lembrete, mudado"}, Operation::Alter},
    {"delete first", 0, {}, Operation::Delete},
    {"delete middle", 2, {}, Operation::Delete},
    {"delete last", 3, {}, Operation::Delete},
    // An import: one before everything, two sharing a minute with each other
    // and one with a stored reminder's minute.
    {"add a batch", -1, {}, Operation::Batch,
     {{At(2025, 1, 1, 6, 0), 0, "antes de todos"},
      {At(2025, 3, 3, 9, 0), 1, "lote um"},
      {At(2025, 3, 3, 9, 0), 2, "lote dois, mesmo minuto"},
      {At(2025, 1, 12, 9, 30), 4, "lote no minuto de outro"}}},
};

std::vector<Stored> Expected(const std::vector<Stored>& before, const Operation& op) {
  std::vector<Stored> after = before;
  if (op.kind == Operation::Batch) {
    for (const Stored& r : op.batch) ModelInsert(after, r);
    return after;
  }
  if (op.kind != Operation::Add) after.erase(after.begin() + op.position);
  if (op.kind != Operation::Delete) ModelInsert(after, op.replacement);
  return after;
}

// The messages an operation may show when a disk call fails.
std::vector<std::string> AllowedMessages(Operation::Kind kind) {
  switch (kind) {
    case Operation::Add:
    case Operation::Batch: return {msg::kUpdateFailed};
    case Operation::Alter: return {msg::kUpdateFailed, msg::kAlterFailed};
    case Operation::Delete: return {msg::kUpdateFailed, msg::kDeleteFailed};
  }
  return {};
}

class CrashPoints : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    Reopen();
    AddAll(kInitial);
    before_ = State();
    // As written by the run that added them: Ids in order of addition, not
    // the positions the next start gives them.
    stale_index_ = ReadDados("tavodb.idx");
    Reopen();
    renumbered_index_ = store_files::IndexBytes(Lembretes);
    index_ = stale_index_;
    data_ = ReadDados("tavodb.dat");
  }

  void RestoreInitialFiles() {
    for (const std::string& name : DadosFiles()) std::remove(Dados(name).c_str());
    WriteDados("tavodb.idx", index_);
    WriteDados("tavodb.dat", data_);
    Reopen();
    ASSERT_EQ(State(), before_);
  }

  void Run(const Operation& op) {
    const Stored& r = op.replacement;
    switch (op.kind) {
      case Operation::Add: AddLembrete(Reminder(r.DateTime, r.Text, r.RepeatKind)); break;
      case Operation::Alter: AlterLembrete(Entry(op.position), Reminder(r.DateTime, r.Text, r.RepeatKind)); break;
      case Operation::Delete: DeleteLembrete(Entry(op.position)); break;
      case Operation::Batch: {
        std::vector<TLembrete> records;
        for (const Stored& b : op.batch) records.push_back(Reminder(b.DateTime, b.Text, b.RepeatKind));
        AddLembretes(records);
        break;
      }
    }
  }

  // Runs the operation with the fault at every step in turn; returns how
  // many steps were hit (the operation has that many crash points).
  int Sweep(const Operation& op, Fault fault) {
    const std::vector<Stored> after = Expected(before_, op);
    const auto allowed = AllowedMessages(op.kind);
    FaultFileSystem faulty;
    for (int k = 1;; ++k) {
      RestoreInitialFiles();
      if (::testing::Test::HasFatalFailure()) return k - 1;
      failures.clear();
      faulty.ArmAt(k, fault);
      platform::SetFilesForTesting(&faulty);
      bool stopped = false;
      try {
        Run(op);
      } catch (const PowerCut&) {
        stopped = true;
      } catch (const StoreStopped&) {
        stopped = true;
      }
      platform::SetFilesForTesting(nullptr);
      const std::string where = std::string(op.name) + ", " + test_support::FaultName(fault) + " at step " +
                                std::to_string(k) + " of: " + faulty.Describe();
      if (!faulty.Fired()) {
        EXPECT_FALSE(stopped) << where;
        EXPECT_EQ(State(), after) << where;
        return k - 1;
      }
      if (fault == Fault::Fail && stopped) {
        EXPECT_EQ(failures.size(), 1u) << where;
        if (!failures.empty()) {
          EXPECT_NE(std::find(allowed.begin(), allowed.end(), failures[0].Message), allowed.end())
              << where << ": " << failures[0].Message;
        }
      }
      try {
        Reopen();
      } catch (const StoreStopped&) {
        ADD_FAILURE() << where << ": the next start failed";
        continue;
      }
      const std::vector<Stored> state = State();
      EXPECT_TRUE(state == before_ || state == after)
          << where << "\n  loaded " << ::testing::PrintToString(state);
      EXPECT_EQ(DadosFiles(), (std::vector<std::string>{"tavodb.dat", "tavodb.idx"})) << where;
      if (op.kind != Operation::Add) {
        // Rebuilds and overwrites leave the data file compact.
        const int64_t referenced = std::accumulate(state.begin(), state.end(), int64_t{0},
                                                   [](int64_t n, const Stored& s) { return n + s.Text.size(); });
        EXPECT_EQ(DadosSize("tavodb.dat"), referenced) << where;
      }
    }
  }

  std::vector<Stored> before_;
  std::string index_, stale_index_, renumbered_index_;
  std::string data_;
};

TEST_F(CrashPoints, EveryStepOfEveryOperationLeavesTheStateBeforeOrAfter) {
  int total = 0;
  // An index whose Ids are the positions is not rewritten when only a text
  // changes; one from an earlier run is.
  for (const std::string* index : {&stale_index_, &renumbered_index_}) {
    index_ = *index;
    for (const Fault fault : {Fault::Crash, Fault::TornWrite, Fault::Fail}) {
      int points = 0;
      for (const Operation& op : kOperations) {
        const int n = Sweep(op, fault);
        EXPECT_GT(n, 2) << op.name;  // every operation writes, flushes and commits
        points += n;
      }
      std::printf("[ crash points ] %s index, %s: %d\n", index == &stale_index_ ? "stale" : "renumbered",
                  test_support::FaultName(fault), points);
      total += points;
    }
  }
  std::printf("[ crash points ] total: %d over %zu operations\n", total, std::size(kOperations));
}

}  // namespace
}  // namespace tavo
