#pragma once
// A file system that breaks at a chosen step, to show what the store leaves
// on disk when the power goes or a disk call fails in the middle of a change.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tavo::test_support {

// Thrown instead of performing a step: the process "lost power" there.
struct PowerCut : std::runtime_error {
  PowerCut() : std::runtime_error("power cut") {}
};

// The steps that change something on disk.
enum class StepKind { Open, Write, Truncate, Sync, Close, Delete, RenameNoReplace, ReplaceAtomic };
const char* StepName(StepKind kind);

struct Step {
  StepKind Kind;
  std::string Path;  // the file (for renames, the source)
};

enum class Fault {
  None,
  Crash,      // throw PowerCut instead of the step
  TornWrite,  // a Write writes the first half of its bytes, then PowerCut; other steps as Crash
  Fail,       // the step does nothing and reports failure
};
const char* FaultName(Fault fault);

// Counts every mutating step (open for update or create, write, truncate,
// sync, close of a written file, delete, both renames) and applies the armed
// fault to one of them. Reads, sizes and existence tests pass through.
class FaultFileSystem : public platform::FileSystemWrapper {
 public:
  explicit FaultFileSystem(platform::FileSystem& target = platform::RealFileSystem())
      : FileSystemWrapper(target) {}

  // The fault hits step k (1-based) from now on; the step count restarts.
  void ArmAt(int k, Fault fault);
  // The fault hits the first step for which the predicate holds.
  void ArmWhen(std::function<bool(const Step&)> predicate, Fault fault);
  void Disarm();

  int Steps() const { return static_cast<int>(log_.size()); }
  bool Fired() const { return fired_; }
  const Step& FiredStep() const { return fired_step_; }
  // "Write tavodb.dat, Sync tavodb.dat, ..." for failure messages.
  std::string Describe() const;

  // Counts the step and says what to do with it: true when it goes ahead.
  // Throws PowerCut for a crash; `torn` asks a Write to tear.
  bool Enter(StepKind kind, const std::string& path, bool* torn = nullptr);

  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override;
  bool Delete(const std::string& path) override;
  bool RenameNoReplace(const std::string& from, const std::string& to) override;
  bool ReplaceAtomic(const std::string& from, const std::string& to) override;

 private:
  Fault fault_ = Fault::None;
  int at_ = 0;
  std::function<bool(const Step&)> when_;
  bool fired_ = false;
  Step fired_step_{StepKind::Open, {}};
  std::vector<Step> log_;
};

}  // namespace tavo::test_support
