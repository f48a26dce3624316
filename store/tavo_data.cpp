#include "store/tavo_data.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "platform/file_system.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/store_files.h"

namespace tavo {

using platform::Files;
using platform::OpenMode;

std::string AppDir;
std::string IndexFileName;
std::string DataFileName;
std::string SafetyCopyName;
EntryTable Lembretes;
int32_t LastId = -1;
bool StoreBusy = false;
bool ScanBusy = false;

const char* const RepeatNames[5] = {"Nenhuma", "Di\xE1ria", "Semanal", "Mensal", "Anual"};

const char* RepeatName(int kind) { return RepeatNames[EffectiveRepeatKind(kind)]; }

void SetEntryCount(EntryTable& table, int32_t n) {
  if (n < 0) n = 0;
  table.Entries.resize(static_cast<size_t>(n));
  if (n == 0) table.Entries.shrink_to_fit();
  table.Count = n;
}

StoreHooks& Hooks() {
  static StoreHooks hooks;
  return hooks;
}

void StoreFailure(const std::string& message, BoxKind kind) {
  if (Hooks().Failure) Hooks().Failure(message, kind);
  throw StoreStopped(message);
}

void RefreshList() {
  if (Hooks().RefreshList) Hooks().RefreshList();
}

void WaitForBothFlags() {
  while (StoreBusy || ScanBusy) {
    if (!Hooks().PumpMessages) throw std::logic_error("store busy with no message loop to wait on");
    Hooks().PumpMessages();
  }
}

void WaitForStoreBusy() {
  while (StoreBusy) {
    if (!Hooks().PumpMessages) throw std::logic_error("store busy with no message loop to wait on");
    Hooks().PumpMessages();
  }
}

namespace {

std::string DadosPath(const std::string& name) {
  return AppDir + "dados" + platform::kPathSeparator + name;
}

bool CreateEmpty(const std::string& path) {
  auto file = Files().Open(path, OpenMode::Create);
  return file && file->Close();
}

void InsertEntry(EntryTable& table, int32_t k, const LembreteEntry& entry) {
  SetEntryCount(table, table.Count + 1);
  std::move_backward(table.Entries.begin() + k, table.Entries.end() - 1, table.Entries.end());
  table[k] = entry;
}

void RemoveEntry(EntryTable& table, int32_t k) {
  table.Entries.erase(table.Entries.begin() + k);
  table.Count -= 1;
}

// Clears the busy flag however the operation ends, so a stopped operation
// (reported and thrown) leaves the store usable for tests and the CLI.
struct BusyGuard {
  explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyGuard() { flag_ = false; }
  bool& flag_;
};

// Cuts the data file back to `size` after an append that did not make it
// into the index, so that no unreferenced text stays behind.
void TruncateData(int64_t size) {
  auto file = Files().Open(DataFileName, OpenMode::Update);
  if (file) {
    file->Truncate(size);
    file->Close();
  }
}

// Moves the texts after `pos` by `delta` bytes. A damaged entry that points
// far beyond the data file stays beyond it rather than wrapping around.
void ShiftTextsAfter(EntryTable& table, int32_t pos, int32_t delta) {
  for (auto& e : table.Entries)
    if (e.TextPos > pos)
      e.TextPos = static_cast<int32_t>(std::clamp<int64_t>(int64_t{e.TextPos} + delta, INT32_MIN, INT32_MAX));
}

// How many bytes of an entry's text the data file holds (what ReadLembrete
// shows), or -1 when the text lies wholly outside the file: a damaged entry,
// or an index kept while a lost data file was created again empty.
int64_t HeldTextLength(const LembreteEntry& e, int64_t data_size) {
  if (e.TextPos < 0 || e.TextPos > data_size || (e.TextPos == data_size && e.TextLen > 0)) return -1;
  return std::min<int64_t>(e.TextLen, data_size - e.TextPos);
}

// Appends a text to the data file and returns where it starts. A failure
// takes the text back off and is reported.
int64_t AppendText(const std::string& text) {
  auto file = Files().Open(DataFileName, OpenMode::Update);
  int64_t end = 0;
  if (!file || !file->Size(&end) || end > INT32_MAX) StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
  if (!file->SeekToEnd() || !file->Write(text.data(), text.size()) || !file->Sync()) {
    file->Truncate(end);
    file->Close();
    StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
  }
  if (!file->Close()) {
    TruncateData(end);
    StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
  }
  return end;
}

// Commits an index that refers to a text just appended at `end`. If the new
// index is not in place (it may be, when only its flush failed), the text is
// unreferenced and is taken back off.
void CommitWithAppendedText(const EntryTable& table, int64_t end) {
  if (store_files::CommitIndex(table)) return;
  std::string on_disk;
  if (platform::ReadWholeFile(Files(), IndexFileName, &on_disk) && on_disk != store_files::IndexBytes(table))
    TruncateData(end);
  StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
}

void RequireDescribableText(const TLembrete& record) {
  if (record.Text.size() > kMaxStoredTextLength)
    throw std::length_error("Texto longo demais para ser gravado (limite: " + std::to_string(kMaxStoredTextLength) +
                            " bytes)");
}

enum class IndexLoad { Loaded, Missing, Failed };

// Loads the index file into the table; a missing file is told apart from one
// that cannot be read only when the open fails, which saves a start-up stat.
IndexLoad TryLoadIndexFile() {
  auto file = Files().Open(IndexFileName, OpenMode::Read);
  if (!file) return Files().Exists(IndexFileName) ? IndexLoad::Failed : IndexLoad::Missing;
  int64_t size = 0;
  if (!file->Size(&size)) return IndexLoad::Failed;
  const int64_t count = std::min<int64_t>(size / 20, INT32_MAX / 20);
  // Read into raw bytes and copy them in as whole entries: building the table
  // entry by entry first would cost more than the read itself.
  const size_t want = static_cast<size_t>(count) * sizeof(LembreteEntry);
  const auto bytes = std::make_unique_for_overwrite<char[]>(want);
  size_t got = 0;
  if (want > 0 && (!file->Read(bytes.get(), want, &got) || got != want)) return IndexLoad::Failed;
  file->Close();
  EntryTable table;
  const auto* first = std::launder(reinterpret_cast<const LembreteEntry*>(bytes.get()));
  table.Entries.assign(first, first + count);
  table.Count = static_cast<int32_t>(count);
  // Searches assume date order; a damaged or hand-made index may lack it.
  // The store always writes it in order, so the pass that numbers the
  // entries usually proves it and nothing is sorted.
  bool in_order = true;
  LembreteEntry* entries = table.Entries.data();
  double previous = -std::numeric_limits<double>::infinity();
  for (int32_t i = 0; i < table.Count; ++i) {
    entries[i].Id = i;
    entries[i].RepeatKind &= 127;
    const double date = entries[i].DateTime;
    // Plain comparison for ordinary dates; DateLess decides the rest (NaN,
    // values out of range) exactly.
    if (!(date >= previous) && i > 0 && DateLess(date, previous)) in_order = false;
    previous = date;
  }
  if (!in_order) {
    std::stable_sort(table.Entries.begin(), table.Entries.end(),
                     [](const LembreteEntry& a, const LembreteEntry& b) { return DateLess(a.DateTime, b.DateTime); });
    for (int32_t i = 0; i < table.Count; ++i) entries[i].Id = i;
  }
  Lembretes = std::move(table);
  LastId = Lembretes.Count - 1;
  return IndexLoad::Loaded;
}

}  // namespace

bool LoadIndexFile() { return TryLoadIndexFile() == IndexLoad::Loaded; }

void OpenStore(StoreAccess access) {
  AppDir = platform::ProgramFolder();
  ReadConfig(Config);
  IndexFileName = DadosPath("tavodb.idx");
  DataFileName = DadosPath("tavodb.dat");
  SafetyCopyName = DadosPath("tavodb.bkp");
  SetEntryCount(Lembretes, 0);
  LastId = -1;
  StoreBusy = false;
  ScanBusy = false;
  if (access == StoreAccess::ReadOnly) {
    if (TryLoadIndexFile() == IndexLoad::Failed) StoreFailure(msg::kOpenFailed, BoxKind::TaskModal);
    return;
  }
  if (!store_files::RecoverInterrupted()) StoreFailure(msg::kOpenFailed, BoxKind::TaskModal);
  switch (TryLoadIndexFile()) {
    case IndexLoad::Loaded: break;
    case IndexLoad::Failed: StoreFailure(msg::kOpenFailed, BoxKind::TaskModal);
    case IndexLoad::Missing:
      if (!CreateEmpty(IndexFileName)) StoreFailure(msg::kCreateFailed, BoxKind::TaskModal);
      break;
  }
  if (!Files().Exists(DataFileName) && !CreateEmpty(DataFileName))
    StoreFailure(msg::kCreateFailed, BoxKind::TaskModal);
}

int32_t FindPositionIn(const EntryTable& table, double value) {
  const auto it = std::lower_bound(table.Entries.begin(), table.Entries.end(), value,
                                   [](const LembreteEntry& e, double v) { return DateLess(e.DateTime, v); });
  return static_cast<int32_t>(it - table.Entries.begin());
}

int32_t FindPosition(double value) { return FindPositionIn(Lembretes, value); }

int32_t FindLembrete(const LembreteEntry& record) {
  for (int32_t i = FindPosition(record.DateTime); i < Lembretes.Count; ++i)
    if (Lembretes[i].Id == record.Id) return i;
  return -1;
}

void ReadLembrete(int32_t k, TLembrete& record) {
  WaitForStoreBusy();
  if (k < 0 || k >= Lembretes.Count) return;
  BusyGuard busy(StoreBusy);
  static_cast<LembreteEntry&>(record) = Lembretes[k];
  record.Text.clear();
  auto file = Files().Open(DataFileName, OpenMode::Read);
  if (!file) StoreFailure(msg::kReadFailed, BoxKind::TaskModal);
  // A damaged entry pointing outside the file reads the bytes that exist.
  int64_t size = 0;
  if (!file->Size(&size)) StoreFailure(msg::kReadFailed, BoxKind::TaskModal);
  if (record.TextPos >= 0 && record.TextPos < size) {
    std::string text(record.TextLen, '\0');
    size_t got = 0;
    if (!file->Seek(record.TextPos) || !file->Read(text.data(), text.size(), &got))
      StoreFailure(msg::kReadFailed, BoxKind::TaskModal);
    text.resize(got);
    record.Text = std::move(text);
  }
  file->Close();
}

std::vector<TLembrete> ReadLembretes(int32_t first, int32_t after) {
  WaitForStoreBusy();
  first = std::clamp(first, 0, Lembretes.Count);
  after = std::clamp(after, first, Lembretes.Count);
  std::vector<TLembrete> records(static_cast<size_t>(after - first));
  if (records.empty()) return records;
  BusyGuard busy(StoreBusy);
  auto file = Files().Open(DataFileName, OpenMode::Read);
  int64_t size = 0;
  if (!file || !file->Size(&size)) StoreFailure(msg::kReadFailed, BoxKind::TaskModal);
  std::vector<size_t> with_text;  // in the order of their texts in the file
  for (size_t i = 0; i < records.size(); ++i) {
    static_cast<LembreteEntry&>(records[i]) = Lembretes[first + static_cast<int32_t>(i)];
    if (records[i].TextPos >= 0 && records[i].TextPos < size && records[i].TextLen > 0) with_text.push_back(i);
  }
  std::sort(with_text.begin(), with_text.end(),
            [&](size_t a, size_t b) { return records[a].TextPos < records[b].TextPos; });
  // A window of the file; texts lying in it are cut out of it without another read.
  constexpr int64_t kWindow = 1 << 20;
  std::string window;
  int64_t window_at = 0;
  for (const size_t i : with_text) {
    TLembrete& r = records[i];
    const int64_t at = r.TextPos, end = std::min<int64_t>(at + r.TextLen, size);
    if (at < window_at || end > window_at + static_cast<int64_t>(window.size())) {
      window.resize(static_cast<size_t>(std::min(std::max(end - at, kWindow), size - at)));
      size_t got = 0;
      if (!file->Seek(at) || !file->Read(window.data(), window.size(), &got))
        StoreFailure(msg::kReadFailed, BoxKind::TaskModal);
      window.resize(got);
      window_at = at;
    }
    const int64_t from = at - window_at;
    if (from < static_cast<int64_t>(window.size()))
      r.Text.assign(window, static_cast<size_t>(from), static_cast<size_t>(end - at));
  }
  file->Close();
  return records;
}

void AddLembrete(const TLembrete& record) {
  RequireDescribableText(record);
  WaitForBothFlags();
  {
    BusyGuard busy(StoreBusy);
    LembreteEntry entry = record;
    entry.Padding = 0;
    const int64_t end = AppendText(record.Text);
    entry.Id = LastId + 1;
    entry.TextPos = static_cast<int32_t>(end);
    entry.TextLen = static_cast<uint16_t>(record.Text.size());
    InsertEntry(Lembretes, FindPosition(record.DateTime), entry);
    LastId += 1;
    CommitWithAppendedText(Lembretes, end);
  }
  RefreshList();
}

void AlterLembrete(const TLembrete& old_record, const TLembrete& new_record) {
  RequireDescribableText(new_record);
  WaitForBothFlags();
  const int32_t i = FindLembrete(old_record);
  if (i < 0) {
    // No longer stored (deleted elsewhere meanwhile): store it as a new one.
    AddLembrete(new_record);
    return;
  }
  {
    BusyGuard busy(StoreBusy);
    const LembreteEntry e = Lembretes[i];
    LembreteEntry entry = new_record;
    entry.Id = e.Id;
    entry.TextPos = e.TextPos;
    entry.Padding = 0;
    const auto new_length = static_cast<uint16_t>(new_record.Text.size());
    const std::string& text = new_record.Text;
    int64_t data_size = 0;
    if (!Files().FileSize(DataFileName, &data_size)) StoreFailure(msg::kAlterFailed, BoxKind::SystemModal);
    const int64_t held = HeldTextLength(e, data_size);
    EntryTable table = Lembretes;
    RemoveEntry(table, i);
    entry.TextLen = new_length;  // the caller's record may carry any TextLen
    if (new_length == e.TextLen && held == e.TextLen) {
      InsertEntry(table, FindPositionIn(table, entry.DateTime), entry);
      if (!store_files::OverwriteText(e.TextPos, text, table))
        StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
    } else if (held < 0) {
      // Nothing of the old text to replace: the new one goes to the end, as a new text does.
      const int64_t end = AppendText(text);
      entry.TextPos = static_cast<int32_t>(end);
      InsertEntry(table, FindPositionIn(table, entry.DateTime), entry);
      CommitWithAppendedText(table, end);
    } else {
      // Only the bytes the file holds are replaced (all of them, unless the entry is damaged).
      ShiftTextsAfter(table, e.TextPos, static_cast<int32_t>(new_length - held));
      InsertEntry(table, FindPositionIn(table, entry.DateTime), entry);
      switch (store_files::RebuildDataFile(e.TextPos, held, &text, table)) {
        case store_files::RebuildResult::Done: break;
        case store_files::RebuildResult::DataFailed: StoreFailure(msg::kAlterFailed, BoxKind::SystemModal);
        case store_files::RebuildResult::IndexFailed: StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
      }
    }
    Lembretes = std::move(table);
  }
  RefreshList();
}

void DeleteLembrete(const TLembrete& record) {
  WaitForBothFlags();
  {
    BusyGuard busy(StoreBusy);
    const int32_t i = FindLembrete(record);
    if (i >= 0) {
      const LembreteEntry e = Lembretes[i];
      int64_t data_size = 0;
      if (!Files().FileSize(DataFileName, &data_size)) StoreFailure(msg::kDeleteFailed, BoxKind::SystemModal);
      const int64_t held = HeldTextLength(e, data_size);
      EntryTable table = Lembretes;
      RemoveEntry(table, i);
      if (held < 0) {
        // The data file holds nothing of its text: only the index changes.
        if (!store_files::CommitIndex(table)) StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
      } else {
        ShiftTextsAfter(table, e.TextPos, -static_cast<int32_t>(held));
        switch (store_files::RebuildDataFile(e.TextPos, held, nullptr, table)) {
          case store_files::RebuildResult::Done: break;
          case store_files::RebuildResult::DataFailed: StoreFailure(msg::kDeleteFailed, BoxKind::SystemModal);
          case store_files::RebuildResult::IndexFailed: StoreFailure(msg::kUpdateFailed, BoxKind::TaskModal);
        }
      }
      Lembretes = std::move(table);
    }
  }
  RefreshList();
}

}  // namespace tavo
