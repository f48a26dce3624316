#include "store/backup.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/file_system.h"
#include "store/store_files.h"
#include "store/tavo_data.h"

namespace tavo {
namespace {

using platform::File;
using platform::Files;
using platform::OpenMode;

// Holds StoreBusy for the life of the copy, however it ends.
struct StoreBusyHold {
  explicit StoreBusyHold(Store& store) : store_(store) { store_.StoreBusy = true; }
  ~StoreBusyHold() { store_.StoreBusy = false; }
  Store& store_;
};

void PutLe32(char* out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

int32_t GetLe32(const char* in) {
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = u << 8 | static_cast<uint8_t>(in[i]);
  return static_cast<int32_t>(u);
}

// Reads exactly n bytes at the current position.
bool ReadExactly(File& file, void* buffer, size_t n) {
  size_t got = 0;
  return file.Read(buffer, n, &got) && got == n;
}

// Copies exactly n bytes from one file's position to another's.
bool CopyExactly(File& from, File& to, int64_t n) {
  char buffer[1 << 16];
  while (n > 0) {
    const size_t want = n > static_cast<int64_t>(sizeof buffer) ? sizeof buffer : static_cast<size_t>(n);
    size_t got = 0;
    if (!from.Read(buffer, want, &got) || got == 0) return false;
    if (!to.Write(buffer, got)) return false;
    n -= static_cast<int64_t>(got);
  }
  return true;
}

// Writes one section: the store file's size, then its bytes.
bool AppendSection(File& backup, const std::string& store_file) {
  auto source = Files().Open(store_file, OpenMode::Read);
  if (!source) return false;
  int64_t size = 0;
  if (!source->Size(&size) || size > std::numeric_limits<int32_t>::max()) return false;
  char header[4];
  PutLe32(header, static_cast<int32_t>(size));
  const bool ok = backup.Write(header, sizeof header) && CopyExactly(*source, backup, size);
  return source->Close() && ok;
}

// Writes one section of the backup into a new file, flushed to disk.
bool WriteSectionTo(File& backup, int64_t at, int64_t n, const std::string& target_path) {
  auto target = Files().Open(target_path, OpenMode::Create);
  if (!target) return false;
  const bool ok = backup.Seek(at) && CopyExactly(backup, *target, n) && target->Sync();
  return target->Close() && ok;
}

// Where the two sections of a checked backup lie.
struct Sections {
  int64_t index_at = 0, index_size = 0, data_at = 0, data_size = 0;
};

enum class Check { Valid, NotABackup, Damaged };

// Checks the whole file before anything is changed: the magic, and sizes that
// are not negative and add up to exactly the file's length.
Check CheckBackup(File& backup, Sections* s) {
  int64_t file_size = 0;
  if (!backup.Size(&file_size)) return Check::Damaged;
  char magic[sizeof kBackupMagic];
  size_t got = 0;
  if (!backup.Read(magic, sizeof magic, &got)) return Check::Damaged;
  if (got != sizeof magic || std::memcmp(magic, kBackupMagic, sizeof magic) != 0) return Check::NotABackup;
  char size_bytes[4];
  if (!ReadExactly(backup, size_bytes, 4)) return Check::Damaged;
  s->index_size = GetLe32(size_bytes);
  s->index_at = 11;
  if (s->index_size < 0 || s->index_at + s->index_size + 4 > file_size) return Check::Damaged;
  if (!backup.Seek(s->index_at + s->index_size) || !ReadExactly(backup, size_bytes, 4)) return Check::Damaged;
  s->data_size = GetLe32(size_bytes);
  s->data_at = s->index_at + s->index_size + 4;
  if (s->data_size < 0 || s->data_at + s->data_size != file_size) return Check::Damaged;
  return Check::Valid;
}

// Puts the backup's two sections in place as the store files, with the
// store's own crash-safe protocol for replacing both files (store_files.h):
//   1. the data file is renamed to the safety copy;
//   2. the new data file and "tavodb.idx.new" are written and flushed;
//   3. the safety copy is renamed to "tavodb.old": the commit point;
//   4. the new index replaces the index, and "tavodb.old" is deleted.
// A crash before 3 rolls back to the old pair at the next start, a crash after
// it rolls forward to the new pair, so the two files never mix. A failure
// before 3 is rolled back here at once.
RestoreResult PutInPlace(Store& store, File& backup, const Sections& s) {
  const store_files::FileNames names = store.Paths();
  if (!Files().RenameNoReplace(names.Data, names.SafetyCopy)) return RestoreResult::WriteFailed;
  const bool written = WriteSectionTo(backup, s.data_at, s.data_size, names.Data) &&
                       WriteSectionTo(backup, s.index_at, s.index_size, names.NewIndex) &&
                       Files().RenameNoReplace(names.SafetyCopy, names.OldData);
  if (!written) {
    // Still before the commit point: recovery restores the old data file and
    // drops the new ones.
    if (!store_files::RecoverInterrupted(names)) store.Failure(msg::kOpenFailed, BoxKind::TaskModal);
    return RestoreResult::WriteFailed;
  }
  // Past the commit point the new pair is complete; finishing is rolling forward.
  if (!Files().ReplaceAtomic(names.NewIndex, names.Index) && !store_files::RecoverInterrupted(names))
    store.Failure(msg::kOpenFailed, BoxKind::TaskModal);
  // A left-over "tavodb.old" is harmless: the next start deletes it.
  Files().Delete(names.OldData);
  return RestoreResult::Done;
}

}  // namespace

BackupResult WriteBackup(Store& store, const std::string& path) {
  if (store.Lembretes.Count == 0) return BackupResult::EmptyStore;
  StoreBusyHold busy(store);
  auto backup = Files().Open(path, OpenMode::Create);
  if (!backup) return BackupResult::Failed;
  const bool ok = backup->Write(kBackupMagic, sizeof kBackupMagic) && AppendSection(*backup, store.IndexFileName) &&
                  AppendSection(*backup, store.DataFileName) && backup->Sync();
  return backup->Close() && ok ? BackupResult::Done : BackupResult::Failed;
}

RestoreResult RestoreBackup(Store& store, const std::string& path) {
  RestoreResult result = RestoreResult::Done;
  {
    StoreBusyHold busy(store);
    auto backup = Files().Open(path, OpenMode::Read);
    if (!backup) return RestoreResult::Damaged;
    Sections sections;
    switch (CheckBackup(*backup, &sections)) {
      case Check::NotABackup: result = RestoreResult::NotABackup; break;
      case Check::Damaged: return RestoreResult::Damaged;
      case Check::Valid: result = PutInPlace(store, *backup, sections); break;
    }
    backup->Close();
    if (result == RestoreResult::WriteFailed) return result;
    // The table follows the files again; the reload renumbers the Ids.
    if (!store.LoadIndexFile()) store.Failure(msg::kOpenFailed, BoxKind::TaskModal);
    // Restored reminders come back as they were backed up: none is put off.
    if (result == RestoreResult::Done) store.DropSnoozes();
  }
  // Rows of an open list window may name reminders by Ids that now mean others.
  store.RefreshList();
  if (result == RestoreResult::Done && store.Hooks.Changed) store.Hooks.Changed();
  return result;
}

}  // namespace tavo
