#pragma once
// A program folder of its own for every test: a temporary folder with
// dados/, an in-memory registry, day-month-year dates and a fixed clock.
// Everything process-wide that a test changes is put back in TearDown. The
// fixture owns the store and speaks its vocabulary, so a test reads as the
// program's code does: Lembretes, AddLembrete, StoreBusy...

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/testing/test_platform.h"
#include "store/backup.h"
#include "store/tavo_data.h"

namespace tavo::test_support {

// A reminder as the user sees it: what must survive any store operation.
struct Stored {
  double DateTime = 0;
  int RepeatKind = 0;
  std::string Text;
  bool operator==(const Stored&) const = default;
};
void PrintTo(const Stored& s, std::ostream* os);

// DateTime of a calendar date and time.
double At(int year, int month, int day, int hour = 0, int minute = 0);
TLembrete Reminder(double date_time, const std::string& text, int repeat_kind = 0);

// A fresh folder below the temp folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }  // with trailing separator

 private:
  std::string path_;
};

class StoreFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Dados(const std::string& name) const;
  std::string ReadDados(const std::string& name) const;
  void WriteDados(const std::string& name, const std::string& bytes) const;
  bool DadosExists(const std::string& name) const;
  int64_t DadosSize(const std::string& name) const;
  // Names of the files in dados/, sorted.
  std::vector<std::string> DadosFiles() const;

  // Opens the store as the program does at start, with its state reset first.
  void Reopen();
  // Every reminder of the table with its text, in table order.
  std::vector<Stored> State();
  // Adds the reminders in the given order.
  void AddAll(const std::vector<Stored>& reminders);
  // The table entry i with its text.
  TLembrete Entry(int32_t i);

  tavo::Store store;
  EntryTable& Lembretes = store.Lembretes;
  int32_t& LastId = store.LastId;
  bool& StoreBusy = store.StoreBusy;
  bool& ScanBusy = store.ScanBusy;
  TConfig& Config = store.Config;
  StoreHooks& Hooks() { return store.Hooks; }
  void OpenStore(StoreAccess access = StoreAccess::ReadWrite) { store.Open(access); }
  bool LoadIndexFile() { return store.LoadIndexFile(); }
  int32_t FindPosition(double value) const { return store.FindPosition(value); }
  int32_t FindLembrete(const LembreteEntry& record) const { return store.FindLembrete(record); }
  void ReadLembrete(int32_t k, TLembrete& record) { store.ReadLembrete(k, record); }
  std::vector<TLembrete> ReadLembretes(int32_t first, int32_t after) { return store.ReadLembretes(first, after); }
  void AddLembrete(const TLembrete& record) { store.AddLembrete(record); }
  void AlterLembrete(const TLembrete& old_record, const TLembrete& new_record) {
    store.AlterLembrete(old_record, new_record);
  }
  void AddLembretes(const std::vector<TLembrete>& records) { store.AddLembretes(records); }
  void DeleteLembrete(const TLembrete& record) { store.DeleteLembrete(record); }
  void WaitForBothFlags() { store.WaitForBothFlags(); }
  BackupResult WriteBackup(const std::string& path) { return tavo::WriteBackup(store, path); }
  RestoreResult RestoreBackup(const std::string& path) { return tavo::RestoreBackup(store, path); }

  struct FailureReport {
    std::string Message;
    BoxKind Kind;
  };
  std::vector<FailureReport> failures;
  int refreshes = 0;
  int pumps = 0;
  // Runs at every message pump; the default only counts.
  std::function<void()> on_pump;

  platform::MemoryRegistry registry;
  platform::FixedClock clock{{2024, 6, 15, 10, 30, 0, 0}};
  TempFolder folder;
};

}  // namespace tavo::test_support
