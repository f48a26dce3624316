#include "store/tavo_data.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include "platform/file_system.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/snooze_file.h"
#include "store/store_files.h"

namespace tavo {

using platform::Files;
using platform::OpenMode;

const char* const RepeatNames[5] = {"Nenhuma", "Di\xE1ria", "Semanal", "Mensal", "Anual"};

const char* RepeatName(int kind) { return RepeatNames[EffectiveRepeatKind(kind)]; }

void SetEntryCount(EntryTable& table, int32_t n) {
  if (n < 0) n = 0;
  table.Entries.resize(static_cast<size_t>(n));
  if (n == 0) table.Entries.shrink_to_fit();
  table.Count = n;
}

void Store::Failure(const std::string& message, BoxKind kind) {
  if (Hooks.Failure) Hooks.Failure(message, kind);
  throw StoreStopped(message);
}

void Store::RefreshList() {
  if (Hooks.RefreshList) Hooks.RefreshList();
}

// The one place the store waits: until the flags that matter are clear,
// letting the message loop run meanwhile.
void Store::WaitForBothFlags() {
  while (StoreBusy || ScanBusy) {
    if (!Hooks.PumpMessages) throw std::logic_error("store busy with no message loop to wait on");
    Hooks.PumpMessages();
  }
}

void Store::WaitForStoreBusy() {
  while (StoreBusy) {
    if (!Hooks.PumpMessages) throw std::logic_error("store busy with no message loop to wait on");
    Hooks.PumpMessages();
  }
}

std::string Store::DadosPath(const std::string& name) const {
  return AppDir + "dados" + platform::kPathSeparator + name;
}

store_files::FileNames Store::Paths() const {
  return store_files::NamesOf(IndexFileName, DataFileName, SafetyCopyName);
}

namespace {

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

void RequireDescribableText(const TLembrete& record) {
  if (record.Text.size() > kMaxStoredTextLength)
    throw std::length_error("Texto longo demais para ser gravado (limite: " + std::to_string(kMaxStoredTextLength) +
                            " bytes)");
}

// Loads the index file into the table; a missing file is told apart from one
// that cannot be read only when the open fails, which saves a start-up stat.
}  // namespace

// Cuts the data file back to `size` after an append that did not make it
// into the index, so that no unreferenced text stays behind.
void Store::TruncateData(int64_t size) {
  auto file = Files().Open(DataFileName, OpenMode::Update);
  if (file) {
    file->Truncate(size);
    file->Close();
  }
}

// Appends a text to the data file and returns where it starts. A failure
// takes the text back off and is reported.
int64_t Store::AppendText(const std::string& text) {
  auto file = Files().Open(DataFileName, OpenMode::Update);
  int64_t end = 0;
  if (!file || !file->Size(&end) || end > INT32_MAX) Failure(msg::kUpdateFailed, BoxKind::TaskModal);
  if (!file->SeekToEnd() || !file->Write(text.data(), text.size()) || !file->Sync()) {
    file->Truncate(end);
    file->Close();
    Failure(msg::kUpdateFailed, BoxKind::TaskModal);
  }
  if (!file->Close()) {
    TruncateData(end);
    Failure(msg::kUpdateFailed, BoxKind::TaskModal);
  }
  return end;
}

// Commits an index that refers to a text just appended at `end`. If the new
// index is not in place (it may be, when only its flush failed), the text is
// unreferenced and is taken back off.
void Store::CommitWithAppendedText(const EntryTable& table, int64_t end) {
  if (store_files::CommitIndex(Paths(), table)) return;
  std::string on_disk;
  if (platform::ReadWholeFile(Files(), IndexFileName, &on_disk) && on_disk != store_files::IndexBytes(table))
    TruncateData(end);
  Failure(msg::kUpdateFailed, BoxKind::TaskModal);
}

Store::IndexLoad Store::TryLoadIndexFile() {
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

bool Store::LoadIndexFile() {
  // The snoozes are named against the table that goes, then found in the new one.
  const std::vector<snooze_file::Record> records = SnoozeRecords();
  if (TryLoadIndexFile() != IndexLoad::Loaded) return false;
  snoozes_.clear();
  ResolveSnoozes(records);
  return true;
}

void Store::Open(StoreAccess access) {
  AppDir = platform::ProgramFolder();
  ReadConfig(Config, AppDir);
  IndexFileName = DadosPath("tavodb.idx");
  DataFileName = DadosPath("tavodb.dat");
  SafetyCopyName = DadosPath("tavodb.bkp");
  SnoozeFileName = DadosPath("tavodb.adi");
  SetEntryCount(Lembretes, 0);
  LastId = -1;
  StoreBusy = false;
  ScanBusy = false;
  snoozes_.clear();
  snooze_write_failed_ = false;
  read_only_ = access == StoreAccess::ReadOnly;
  if (read_only_) {
    if (TryLoadIndexFile() == IndexLoad::Failed) Failure(msg::kOpenFailed, BoxKind::TaskModal);
    LoadSnoozeFile();
    return;
  }
  if (!store_files::RecoverInterrupted(Paths())) Failure(msg::kOpenFailed, BoxKind::TaskModal);
  switch (TryLoadIndexFile()) {
    case IndexLoad::Loaded: break;
    case IndexLoad::Failed: Failure(msg::kOpenFailed, BoxKind::TaskModal);
    case IndexLoad::Missing:
      if (!CreateEmpty(IndexFileName)) Failure(msg::kCreateFailed, BoxKind::TaskModal);
      break;
  }
  if (!Files().Exists(DataFileName) && !CreateEmpty(DataFileName))
    Failure(msg::kCreateFailed, BoxKind::TaskModal);
  // A write of the snooze file cut short: the old file is still whole.
  const std::string unfinished = snooze_file::NewFileName(SnoozeFileName);
  if (Files().Exists(unfinished)) Files().Delete(unfinished);
  LoadSnoozeFile();
}

int32_t FindPositionIn(const EntryTable& table, double value) {
  const auto it = std::lower_bound(table.Entries.begin(), table.Entries.end(), value,
                                   [](const LembreteEntry& e, double v) { return DateLess(e.DateTime, v); });
  return static_cast<int32_t>(it - table.Entries.begin());
}

int32_t Store::FindLembrete(const LembreteEntry& record) const {
  for (int32_t i = FindPosition(record.DateTime); i < Lembretes.Count; ++i)
    if (Lembretes[i].Id == record.Id) return i;
  return -1;
}

void Store::ReadLembrete(int32_t k, TLembrete& record) {
  WaitForStoreBusy();
  if (k < 0 || k >= Lembretes.Count) return;
  BusyGuard busy(StoreBusy);
  static_cast<LembreteEntry&>(record) = Lembretes[k];
  record.Text.clear();
  auto file = Files().Open(DataFileName, OpenMode::Read);
  if (!file) Failure(msg::kReadFailed, BoxKind::TaskModal);
  // A damaged entry pointing outside the file reads the bytes that exist.
  int64_t size = 0;
  if (!file->Size(&size)) Failure(msg::kReadFailed, BoxKind::TaskModal);
  if (record.TextPos >= 0 && record.TextPos < size) {
    std::string text(record.TextLen, '\0');
    size_t got = 0;
    if (!file->Seek(record.TextPos) || !file->Read(text.data(), text.size(), &got))
      Failure(msg::kReadFailed, BoxKind::TaskModal);
    text.resize(got);
    record.Text = std::move(text);
  }
  file->Close();
}

std::vector<TLembrete> Store::ReadLembretes(int32_t first, int32_t after) {
  WaitForStoreBusy();
  first = std::clamp(first, 0, Lembretes.Count);
  after = std::clamp(after, first, Lembretes.Count);
  std::vector<TLembrete> records(static_cast<size_t>(after - first));
  if (records.empty()) return records;
  BusyGuard busy(StoreBusy);
  auto file = Files().Open(DataFileName, OpenMode::Read);
  int64_t size = 0;
  if (!file || !file->Size(&size)) Failure(msg::kReadFailed, BoxKind::TaskModal);
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
        Failure(msg::kReadFailed, BoxKind::TaskModal);
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

void Store::AddLembrete(const TLembrete& record) {
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
    SaveSnoozes();  // a reminder alike a snoozed one may come before it
  }
  RefreshList();
  if (Hooks.Changed) Hooks.Changed();
}

void Store::AddLembretes(const std::vector<TLembrete>& records) {
  for (const TLembrete& r : records) RequireDescribableText(r);
  if (records.empty()) return;
  WaitForBothFlags();
  {
    BusyGuard busy(StoreBusy);
    int64_t end = 0;
    if (!platform::Files().FileSize(DataFileName, &end)) Failure(msg::kUpdateFailed, BoxKind::TaskModal);
    std::string texts;
    std::vector<LembreteEntry> added(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
      LembreteEntry& e = added[i];
      e = records[i];
      e.Padding = 0;
      e.Id = LastId + 1 + static_cast<int32_t>(i);
      const int64_t at = end + static_cast<int64_t>(texts.size());
      if (at > INT32_MAX) Failure(msg::kUpdateFailed, BoxKind::TaskModal);
      e.TextPos = static_cast<int32_t>(at);
      e.TextLen = static_cast<uint16_t>(records[i].Text.size());
      texts += records[i].Text;
    }
    // One by one, each would go before the entries of its minute: so the
    // later of two equal minutes first, and the new before the old.
    std::stable_sort(added.begin(), added.end(), [](const LembreteEntry& a, const LembreteEntry& b) {
      if (DateLess(a.DateTime, b.DateTime)) return true;
      if (DateLess(b.DateTime, a.DateTime)) return false;
      return a.Id > b.Id;
    });
    EntryTable table;
    table.Entries.reserve(Lembretes.Entries.size() + added.size());
    std::merge(added.begin(), added.end(), Lembretes.Entries.begin(), Lembretes.Entries.end(),
               std::back_inserter(table.Entries),
               [](const LembreteEntry& a, const LembreteEntry& b) { return DateLess(a.DateTime, b.DateTime); });
    table.Count = static_cast<int32_t>(table.Entries.size());
    // The texts join the data file through a rebuild, whose commit is also
    // the new index's: an interruption leaves both files as they were.
    if (store_files::RebuildDataFile(Paths(), end, 0, &texts, table) != store_files::RebuildResult::Done) {
      store_files::RecoverInterrupted(Paths());
      Failure(msg::kUpdateFailed, BoxKind::TaskModal);
    }
    Lembretes = std::move(table);
    LastId += static_cast<int32_t>(records.size());
    SaveSnoozes();
  }
  RefreshList();
  if (Hooks.Changed) Hooks.Changed();
}

void Store::AlterLembrete(const TLembrete& old_record, const TLembrete& new_record) {
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
    if (!Files().FileSize(DataFileName, &data_size)) Failure(msg::kAlterFailed, BoxKind::SystemModal);
    const int64_t held = HeldTextLength(e, data_size);
    EntryTable table = Lembretes;
    RemoveEntry(table, i);
    entry.TextLen = new_length;  // the caller's record may carry any TextLen
    if (new_length == e.TextLen && held == e.TextLen) {
      InsertEntry(table, FindPositionIn(table, entry.DateTime), entry);
      if (!store_files::OverwriteText(Paths(), e.TextPos, text, table))
        Failure(msg::kUpdateFailed, BoxKind::TaskModal);
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
      switch (store_files::RebuildDataFile(Paths(), e.TextPos, held, &text, table)) {
        case store_files::RebuildResult::Done: break;
        case store_files::RebuildResult::DataFailed: Failure(msg::kAlterFailed, BoxKind::SystemModal);
        case store_files::RebuildResult::IndexFailed: Failure(msg::kUpdateFailed, BoxKind::TaskModal);
      }
    }
    Lembretes = std::move(table);
    snoozes_.erase(e.Id);
    SaveSnoozes();
  }
  RefreshList();
  if (Hooks.Changed) Hooks.Changed();
}

void Store::DeleteLembrete(const TLembrete& record) {
  WaitForBothFlags();
  {
    BusyGuard busy(StoreBusy);
    const int32_t i = FindLembrete(record);
    if (i >= 0) {
      const LembreteEntry e = Lembretes[i];
      int64_t data_size = 0;
      if (!Files().FileSize(DataFileName, &data_size)) Failure(msg::kDeleteFailed, BoxKind::SystemModal);
      const int64_t held = HeldTextLength(e, data_size);
      EntryTable table = Lembretes;
      RemoveEntry(table, i);
      if (held < 0) {
        // The data file holds nothing of its text: only the index changes.
        if (!store_files::CommitIndex(Paths(), table)) Failure(msg::kUpdateFailed, BoxKind::TaskModal);
      } else {
        ShiftTextsAfter(table, e.TextPos, -static_cast<int32_t>(held));
        switch (store_files::RebuildDataFile(Paths(), e.TextPos, held, nullptr, table)) {
          case store_files::RebuildResult::Done: break;
          case store_files::RebuildResult::DataFailed: Failure(msg::kDeleteFailed, BoxKind::SystemModal);
          case store_files::RebuildResult::IndexFailed: Failure(msg::kUpdateFailed, BoxKind::TaskModal);
        }
      }
      Lembretes = std::move(table);
      snoozes_.erase(e.Id);
      SaveSnoozes();
    }
  }
  RefreshList();
  if (Hooks.Changed) Hooks.Changed();
}

// --- snoozes ---

void Store::Notice(const std::string& message) {
  if (Hooks.Notice) Hooks.Notice(message);
  else pending_notices_.push_back(message);
}

void Store::DeliverPendingNotices() {
  if (!Hooks.Notice) return;
  std::vector<std::string> notices;
  notices.swap(pending_notices_);
  for (const std::string& message : notices) Hooks.Notice(message);
}

std::optional<double> Store::SnoozedUntil(int32_t id) const {
  const auto it = snoozes_.find(id);
  if (it == snoozes_.end()) return std::nullopt;
  return it->second.Until;
}

// The text of an entry as the data file holds it; nothing when it cannot be read.
std::optional<std::string> Store::StoredText(const LembreteEntry& entry) const {
  auto file = Files().Open(DataFileName, OpenMode::Read);
  int64_t size = 0;
  if (!file || !file->Size(&size) || HeldTextLength(entry, size) != entry.TextLen) return std::nullopt;
  std::string text(entry.TextLen, '\0');
  size_t got = 0;
  if (!file->Seek(entry.TextPos) || !file->Read(text.data(), text.size(), &got) || got != text.size())
    return std::nullopt;
  return text;
}

// Alike as the snooze file tells reminders apart: kind and text (the date is the caller's).
bool Store::IsAlike(const LembreteEntry& entry, uint8_t kind, const std::string& text) const {
  if (entry.RepeatKind != kind || entry.TextLen != text.size()) return false;
  const std::optional<std::string> stored = StoredText(entry);
  return stored && *stored == text;
}

void Store::LoadSnoozeFile() {
  if (!Files().Exists(SnoozeFileName)) {
    snooze_file_bytes_ = std::string();
    return;
  }
  std::string bytes;
  std::vector<snooze_file::Record> records;
  if (!platform::ReadWholeFile(Files(), SnoozeFileName, &bytes)) {
    snooze_file_bytes_.reset();
    Notice(msg::kSnoozesDamaged);
    return;
  }
  if (!snooze_file::Parse(bytes, &records)) {
    snooze_file_bytes_.reset();
    Notice(msg::kSnoozesDamaged);
    // What it held is lost either way; gone, it is not reported at every start.
    SaveSnoozes();
    return;
  }
  snooze_file_bytes_ = std::move(bytes);
  ResolveSnoozes(records);
}

// The snoozes as the file names them, in table order.
std::vector<snooze_file::Record> Store::SnoozeRecords() const {
  std::vector<std::pair<int32_t, snooze_file::Record>> placed;
  for (const auto& [id, snooze] : snoozes_) {
    LembreteEntry key;
    key.DateTime = snooze.DateTime;
    key.Id = id;
    const int32_t p = FindLembrete(key);
    if (p < 0) continue;
    uint16_t ordinal = 0;
    for (int32_t j = FindPosition(snooze.DateTime); j < p; ++j)
      if (IsAlike(Lembretes[j], snooze.RepeatKind, snooze.Text)) ++ordinal;
    placed.push_back({p, {snooze.Until, snooze.DateTime, snooze.RepeatKind, ordinal, snooze.Text}});
  }
  std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<snooze_file::Record> records;
  for (auto& [p, record] : placed) records.push_back(std::move(record));
  return records;
}

void Store::ResolveSnoozes(const std::vector<snooze_file::Record>& records) {
  for (const snooze_file::Record& r : records) {
    if (!IsValidDateTime(r.Until)) continue;
    int seen = 0;
    for (int32_t i = FindPosition(r.DateTime); i < Lembretes.Count && Lembretes[i].DateTime == r.DateTime; ++i) {
      if (!IsAlike(Lembretes[i], r.RepeatKind, r.Text) || seen++ != r.Ordinal) continue;
      snoozes_.try_emplace(Lembretes[i].Id, Snooze{r.Until, r.DateTime, r.RepeatKind, r.Text});
      break;
    }
  }
}

void Store::SaveSnoozes() {
  if (read_only_) return;
  const std::string bytes = snoozes_.empty() ? std::string() : snooze_file::Serialize(SnoozeRecords());
  if (snooze_file_bytes_ == bytes) return;
  const bool written = bytes.empty() ? !Files().Exists(SnoozeFileName) || Files().Delete(SnoozeFileName)
                                     : snooze_file::WriteSafely(SnoozeFileName, bytes);
  if (written) {
    snooze_file_bytes_ = bytes;
    snooze_write_failed_ = false;
    return;
  }
  snooze_file_bytes_.reset();
  // Once until a write succeeds again, not at every change.
  if (!snooze_write_failed_) Notice(msg::kSnoozesNotWritten);
  snooze_write_failed_ = true;
}

void Store::SnoozeLembrete(const LembreteEntry& record, double until) {
  WaitForBothFlags();
  {
    BusyGuard busy(StoreBusy);
    const int32_t i = FindLembrete(record);
    if (i < 0) return;
    const LembreteEntry& e = Lembretes[i];
    if (!IsValidDateTime(until)) {
      snoozes_.erase(e.Id);
    } else {
      const std::optional<std::string> text = StoredText(e);
      if (!text) Failure(msg::kReadFailed, BoxKind::TaskModal);
      snoozes_.insert_or_assign(e.Id, Snooze{until, e.DateTime, e.RepeatKind, *text});
    }
    SaveSnoozes();
  }
  RefreshList();
}

void Store::DropSnoozes() {
  snoozes_.clear();
  SaveSnoozes();
}

std::vector<int32_t> Store::DuePositions(double now) const {
  // Every entry up to and including the current minute has come.
  int32_t come = FindPosition(now);
  while (come < Lembretes.Count && !DateLess(now, Lembretes[come].DateTime)) ++come;
  std::vector<int32_t> due;
  for (int32_t p = 0; p < come; ++p) {
    const auto it = snoozes_.find(Lembretes[p].Id);
    if (it == snoozes_.end() || !DateLess(now, it->second.Until)) due.push_back(p);
  }
  // Snoozes that have run out for reminders whose own time is still to come.
  const size_t own_time = due.size();
  for (const auto& [id, snooze] : snoozes_) {
    if (DateLess(now, snooze.Until)) continue;
    LembreteEntry key;
    key.DateTime = snooze.DateTime;
    key.Id = id;
    const int32_t p = FindLembrete(key);
    if (p >= come) due.push_back(p);
  }
  std::sort(due.begin() + static_cast<std::ptrdiff_t>(own_time), due.end());
  return due;
}

}  // namespace tavo
