#include "store/store_files.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/file_system.h"

namespace tavo::store_files {
namespace {

using platform::File;
using platform::Files;
using platform::OpenMode;

// The last four bytes of a complete undo journal: with an index change (the
// overwrite is committed by the new index) or without one (the overwrite is
// committed only by deleting the journal).
constexpr char kUndoMagic[4] = {'Q', 'U', 'N', 'D'};
constexpr char kUndoTextOnlyMagic[4] = {'Q', 'U', 'N', 'T'};
// The last four bytes of a complete redo journal (position, length and new
// text, then the new index): once it is complete the change is committed,
// and an interrupted change is finished from it.
constexpr char kRedoMagic[4] = {'Q', 'R', 'E', 'D'};

std::string Replace(const std::string& name, const std::string& suffix) {
  return name.substr(0, name.find_last_of('.')) + suffix;
}

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  auto file = Files().Open(path, OpenMode::Create);
  if (!file) return false;
  const bool ok = file->Write(bytes.data(), bytes.size()) && file->Sync();
  return file->Close() && ok;
}

// Copies n bytes (all remaining when n < 0) from one file's position to another's.
bool CopyBytes(File& from, File& to, int64_t n) {
  char buffer[1 << 16];
  while (n != 0) {
    const size_t want = n < 0 || n > static_cast<int64_t>(sizeof buffer) ? sizeof buffer : static_cast<size_t>(n);
    size_t got = 0;
    if (!from.Read(buffer, want, &got)) return false;
    if (got == 0) return n < 0;
    if (!to.Write(buffer, got)) return false;
    if (n > 0) n -= static_cast<int64_t>(got);
  }
  return true;
}

bool WriteAt(const std::string& path, int64_t at, const std::string& bytes) {
  auto file = Files().Open(path, OpenMode::Update);
  if (!file) return false;
  const bool ok = file->Seek(at) && file->Write(bytes.data(), bytes.size()) && file->Sync();
  return file->Close() && ok;
}

bool ReadAt(const std::string& path, int64_t at, size_t n, std::string* bytes) {
  auto file = Files().Open(path, OpenMode::Read);
  if (!file) return false;
  bytes->assign(n, '\0');
  size_t got = 0;
  const bool ok = file->Seek(at) && file->Read(bytes->data(), n, &got) && got == n;
  return file->Close() && ok;
}

void PutLe64(std::string& s, int64_t v) {
  for (int i = 0; i < 8; ++i) s += static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF);
}
int64_t GetLe64(const std::string& s, size_t at) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
  return static_cast<int64_t>(v);
}

// Writes a text of unchanged length and a changed stretch of the index in
// place: the second half of a change committed by its redo journal.
bool ApplyRedo(const FileNames& names, int64_t text_at, std::string_view text, int64_t index_at,
               std::string_view index_part) {
  if (!WriteAt(names.Data, text_at, std::string(text))) return false;
  return WriteAt(names.Index, index_at, std::string(index_part));
}

// Finishes an interrupted in-place change from its journal: a complete redo
// journal is applied again; an undo journal (position, old bytes, magic)
// puts the old bytes back unless the overwrite was committed. An incomplete
// journal means nothing had been written in place yet.
bool RecoverFromJournal(const FileNames& names) {
  std::string journal;
  if (!platform::ReadWholeFile(Files(), names.Undo, &journal)) return false;
  if (journal.size() < 12) return true;
  const char* magic = journal.data() + journal.size() - 4;
  if (std::memcmp(magic, kRedoMagic, 4) == 0) {
    // Text position, text length, text, index position, index bytes, magic.
    const auto size = static_cast<int64_t>(journal.size());
    if (size < 28) return true;
    const int64_t text_at = GetLe64(journal, 0);
    const int64_t length = GetLe64(journal, 8);
    // A journal that does not add up is damage, not a change to finish.
    if (text_at < 0 || length < 0 || length > size - 28) return true;
    const auto index_field = static_cast<size_t>(16 + length);
    const int64_t index_at = GetLe64(journal, index_field);
    if (index_at < 0) return true;
    const std::string_view bytes(journal);
    return ApplyRedo(names, text_at, bytes.substr(16, static_cast<size_t>(length)), index_at,
                     bytes.substr(index_field + 8, journal.size() - index_field - 12));
  }
  const bool text_only = std::memcmp(magic, kUndoTextOnlyMagic, 4) == 0;
  if (!text_only && std::memcmp(magic, kUndoMagic, 4) != 0) return true;
  // With an index change, the rename of the new index was the commit.
  if (!text_only && !Files().Exists(names.NewIndex)) return true;
  const int64_t at = GetLe64(journal, 0);
  return WriteAt(names.Data, at, journal.substr(8, journal.size() - 12));
}

// Until its commit a rebuild leaves the index untouched, so its safety copy
// holds every text the index points to. A safety copy too short for that
// beside a data file that holds them all came from elsewhere (say, a copy
// made while the program ran and then added to the store).
bool IsForeignSafetyCopy(const FileNames& names) {
  std::string index;
  int64_t data_size = 0, copy_size = 0;
  if (!platform::ReadWholeFile(Files(), names.Index, &index) || !Files().FileSize(names.Data, &data_size) ||
      !Files().FileSize(names.SafetyCopy, &copy_size))
    return false;
  int64_t needed = 0;
  for (size_t at = 0; at + sizeof(LembreteEntry) <= index.size(); at += sizeof(LembreteEntry)) {
    LembreteEntry e;
    std::memcpy(&e, index.data() + at, sizeof e);
    if (e.TextPos < 0) return false;
    needed = std::max<int64_t>(needed, int64_t{e.TextPos} + e.TextLen);
  }
  return needed <= data_size && needed > copy_size;
}

}  // namespace

FileNames Names() {
  FileNames n;
  n.Index = IndexFileName;
  n.Data = DataFileName;
  n.SafetyCopy = SafetyCopyName;
  n.NewIndex = IndexFileName + ".new";
  n.OldData = Replace(DataFileName, ".old");
  n.Undo = Replace(DataFileName, ".und");
  return n;
}

std::string IndexBytes(const EntryTable& table) {
  std::string bytes(static_cast<size_t>(table.Count) * sizeof(LembreteEntry), '\0');
  if (table.Count > 0) std::memcpy(bytes.data(), table.Entries.data(), bytes.size());
  return bytes;
}

bool CommitIndex(const EntryTable& table) {
  const FileNames names = Names();
  if (!Files().Exists(names.Index)) return false;
  if (!WriteNewFile(names.NewIndex, IndexBytes(table))) {
    Files().Delete(names.NewIndex);
    return false;
  }
  return Files().ReplaceAtomic(names.NewIndex, names.Index);
}

RebuildResult RebuildDataFile(int64_t p, int64_t n, const std::string* replacement, const EntryTable& table) {
  const FileNames names = Names();
  if (!Files().RenameNoReplace(names.Data, names.SafetyCopy)) return RebuildResult::DataFailed;
  {
    auto target = Files().Open(names.Data, OpenMode::Create);
    auto source = target ? Files().Open(names.SafetyCopy, OpenMode::Read) : nullptr;
    if (!source) return RebuildResult::DataFailed;
    bool ok = p <= 0 || CopyBytes(*source, *target, p);
    if (ok && replacement) ok = target->Write(replacement->data(), replacement->size());
    ok = ok && source->Seek(p + n) && CopyBytes(*source, *target, -1) && target->Sync();
    ok = target->Close() && ok;
    source->Close();
    if (!ok) return RebuildResult::DataFailed;
  }
  if (!Files().Exists(names.Index) || !WriteNewFile(names.NewIndex, IndexBytes(table)))
    return RebuildResult::IndexFailed;
  // From here on both new files are complete: an interruption rolls forward.
  if (!Files().RenameNoReplace(names.SafetyCopy, names.OldData)) return RebuildResult::DataFailed;
  if (!Files().ReplaceAtomic(names.NewIndex, names.Index)) return RebuildResult::IndexFailed;
  if (!Files().Delete(names.OldData)) return RebuildResult::DataFailed;
  return RebuildResult::Done;
}

namespace {

// The undo journal of an overwrite: position, the bytes it replaces, magic.
bool WriteUndoJournal(const FileNames& names, int64_t p, size_t n, const char (&magic)[4]) {
  std::string journal;
  PutLe64(journal, p);
  std::string old_bytes;
  if (!ReadAt(names.Data, p, n, &old_bytes)) return false;
  journal += old_bytes;
  journal.append(magic, 4);
  return WriteNewFile(names.Undo, journal);
}

}  // namespace

bool OverwriteText(int64_t p, const std::string& text, const EntryTable& table) {
  const FileNames names = Names();
  const std::string index = IndexBytes(table);
  std::string on_disk;
  if (!platform::ReadWholeFile(Files(), names.Index, &on_disk)) return false;
  if (on_disk == index) {
    // Only the text changes. Journalled even so: a write cut short would
    // otherwise leave a text that is neither the old one nor the new one.
    if (!WriteUndoJournal(names, p, text.size(), kUndoTextOnlyMagic)) return false;
    if (!WriteAt(names.Data, p, text)) return false;
    return Files().Delete(names.Undo);
  }
  if (on_disk.size() == index.size()) {
    // A new date (or kind) with a text of the same length: the index keeps its
    // size and only the entries between the old and the new place change, so
    // the text and that stretch are written in place behind a redo journal.
    // That costs one flush less than a new index and its rename.
    const auto from_end = std::mismatch(index.rbegin(), index.rend(), on_disk.rbegin()).first;
    const size_t end = index.size() - static_cast<size_t>(from_end - index.rbegin());
    const size_t begin = static_cast<size_t>(std::mismatch(index.begin(), index.end(), on_disk.begin()).first -
                                             index.begin());
    std::string journal;
    PutLe64(journal, p);
    PutLe64(journal, static_cast<int64_t>(text.size()));
    journal += text;
    PutLe64(journal, static_cast<int64_t>(begin));
    journal.append(index, begin, end - begin);
    journal.append(kRedoMagic, 4);
    if (!WriteNewFile(names.Undo, journal)) return false;
    return ApplyRedo(names, p, text, static_cast<int64_t>(begin), std::string_view(index).substr(begin, end - begin)) &&
           Files().Delete(names.Undo);
  }
  // The index on disk has another size (damaged): an undo journal, then the
  // new index is the commit.
  if (!WriteUndoJournal(names, p, text.size(), kUndoMagic)) return false;
  if (!WriteNewFile(names.NewIndex, index)) return false;
  if (!WriteAt(names.Data, p, text)) return false;
  if (!Files().ReplaceAtomic(names.NewIndex, names.Index)) return false;
  return Files().Delete(names.Undo);
}

bool RecoverInterrupted() {
  const FileNames names = Names();
  auto& fs = Files();
  if (fs.Exists(names.OldData)) {
    // A rebuild that had both new files complete: finish it.
    if (fs.Exists(names.NewIndex) && !fs.ReplaceAtomic(names.NewIndex, names.Index)) return false;
    return fs.Delete(names.OldData);
  }
  if (fs.Exists(names.SafetyCopy)) {
    if (!IsForeignSafetyCopy(names)) {
      // A rebuild that never reached its commit: the safety copy is the data file.
      if (fs.Exists(names.NewIndex) && !fs.Delete(names.NewIndex)) return false;
      if (fs.Exists(names.Data) && !fs.Delete(names.Data)) return false;
      return fs.RenameNoReplace(names.SafetyCopy, names.Data);
    }
    // Not left by a rebuild of this store, which always fits the index on
    // disk: keep the data file that the index describes.
    if (!fs.Delete(names.SafetyCopy)) return false;
  }
  if (fs.Exists(names.Undo)) {
    if (!RecoverFromJournal(names)) return false;
    if (fs.Exists(names.NewIndex) && !fs.Delete(names.NewIndex)) return false;
    return fs.Delete(names.Undo);
  }
  if (fs.Exists(names.NewIndex)) return fs.Delete(names.NewIndex);
  return true;
}

}  // namespace tavo::store_files
