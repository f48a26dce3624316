#include "tests/core/support/fault_file_system.h"

namespace tavo::test_support {
namespace {

using platform::File;
using platform::OpenMode;

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A file whose mutating calls pass through the fault file system's counter.
class FaultFile : public File {
 public:
  FaultFile(std::unique_ptr<File> inner, FaultFileSystem& fs, std::string path)
      : inner_(std::move(inner)), fs_(fs), path_(std::move(path)) {}

  bool Read(void* buffer, size_t n, size_t* got) override { return inner_->Read(buffer, n, got); }
  bool Seek(int64_t offset) override { return inner_->Seek(offset); }
  bool SeekToEnd() override { return inner_->SeekToEnd(); }
  bool Size(int64_t* size) override { return inner_->Size(size); }

  bool Write(const void* buffer, size_t n) override {
    written_ = true;
    bool torn = false;
    try {
      if (!fs_.Enter(StepKind::Write, path_, &torn)) return false;
    } catch (const PowerCut&) {
      if (torn) inner_->Write(buffer, n / 2);
      throw;
    }
    return inner_->Write(buffer, n);
  }

  bool Truncate(int64_t size) override {
    written_ = true;
    return fs_.Enter(StepKind::Truncate, path_) && inner_->Truncate(size);
  }

  bool Sync() override { return fs_.Enter(StepKind::Sync, path_) && inner_->Sync(); }

  bool Close() override {
    if (written_ && !closed_) {
      closed_ = true;
      if (!fs_.Enter(StepKind::Close, path_)) {
        inner_->Close();  // the descriptor is gone either way, as with close(2)
        return false;
      }
    }
    return inner_->Close();
  }

 private:
  std::unique_ptr<File> inner_;
  FaultFileSystem& fs_;
  std::string path_;
  bool written_ = false;
  bool closed_ = false;
};

}  // namespace

const char* StepName(StepKind kind) {
  switch (kind) {
    case StepKind::Open: return "Open";
    case StepKind::Write: return "Write";
    case StepKind::Truncate: return "Truncate";
    case StepKind::Sync: return "Sync";
    case StepKind::Close: return "Close";
    case StepKind::Delete: return "Delete";
    case StepKind::RenameNoReplace: return "RenameNoReplace";
    case StepKind::ReplaceAtomic: return "ReplaceAtomic";
  }
  return "?";
}

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::None: return "none";
    case Fault::Crash: return "crash";
    case Fault::TornWrite: return "torn write";
    case Fault::Fail: return "failure";
  }
  return "?";
}

void FaultFileSystem::ArmAt(int k, Fault fault) {
  Disarm();
  fault_ = fault;
  at_ = k;
}

void FaultFileSystem::ArmWhen(std::function<bool(const Step&)> predicate, Fault fault) {
  Disarm();
  fault_ = fault;
  when_ = std::move(predicate);
}

void FaultFileSystem::Disarm() {
  fault_ = Fault::None;
  at_ = 0;
  when_ = nullptr;
  fired_ = false;
  log_.clear();
}

std::string FaultFileSystem::Describe() const {
  std::string out;
  for (const Step& s : log_) {
    if (!out.empty()) out += ", ";
    out += std::string(StepName(s.Kind)) + " " + BaseName(s.Path);
  }
  return out;
}

bool FaultFileSystem::Enter(StepKind kind, const std::string& path, bool* torn) {
  log_.push_back({kind, path});
  if (fault_ == Fault::None || fired_) return true;
  const bool hit = when_ ? when_(log_.back()) : Steps() == at_;
  if (!hit) return true;
  fired_ = true;
  fired_step_ = log_.back();
  if (fault_ == Fault::Fail) return false;
  if (torn) *torn = fault_ == Fault::TornWrite && kind == StepKind::Write;
  throw PowerCut();
}

std::unique_ptr<platform::File> FaultFileSystem::Open(const std::string& path, OpenMode mode) {
  if (mode != OpenMode::Read && !Enter(StepKind::Open, path)) return nullptr;
  auto inner = target_.Open(path, mode);
  if (!inner) return nullptr;
  return std::make_unique<FaultFile>(std::move(inner), *this, path);
}

bool FaultFileSystem::Delete(const std::string& path) {
  return Enter(StepKind::Delete, path) && target_.Delete(path);
}

bool FaultFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return Enter(StepKind::RenameNoReplace, from) && target_.RenameNoReplace(from, to);
}

bool FaultFileSystem::ReplaceAtomic(const std::string& from, const std::string& to) {
  return Enter(StepKind::ReplaceAtomic, from) && target_.ReplaceAtomic(from, to);
}

}  // namespace tavo::test_support
