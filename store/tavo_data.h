#pragma once
// The reminder store: the reminder record, the sorted in-memory table
// `Lembretes`, the index and data files and the operations that change them.
// Texts are Windows-1252 bytes, as on disk.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dates/date_time.h"
#include "store/config.h"

namespace tavo {

namespace store_files {
struct FileNames;
}
namespace snooze_file {
struct Record;
}

#pragma pack(push, 1)
// One index-file entry, byte for byte (little-endian).
struct LembreteEntry {
  double DateTime = 0;     // days since 30 December 1899 plus the fraction of the day
  int32_t Id = 0;          // identifier within this run of the program
  int32_t TextPos = 0;     // offset of the text in the data file
  uint16_t TextLen = 0;    // length of the text in bytes
  uint8_t RepeatKind = 0;  // 0..4, see RepeatNames
  uint8_t Padding = 0;
};
#pragma pack(pop)

static_assert(sizeof(LembreteEntry) == 20);
static_assert(offsetof(LembreteEntry, Id) == 8);
static_assert(offsetof(LembreteEntry, TextPos) == 12);
static_assert(offsetof(LembreteEntry, TextLen) == 16);
static_assert(offsetof(LembreteEntry, RepeatKind) == 18);

// A reminder as the windows and the store exchange it: the entry plus its text.
struct TLembrete : LembreteEntry {
  std::string Text;
};

// A count and a contiguous array of entries.
struct EntryTable {
  int32_t Count = 0;
  std::vector<LembreteEntry> Entries;
  LembreteEntry& operator[](int32_t i) { return Entries[static_cast<size_t>(i)]; }
  const LembreteEntry& operator[](int32_t i) const { return Entries[static_cast<size_t>(i)]; }
};

// Resizes to exactly n entries, keeping the first min(old, n); added entries are zero.
void SetEntryCount(EntryTable& table, int32_t n);

// The longest text a user may enter, in Windows-1252 bytes (a line break
// counts two): the reminder window and quelvo-cli hold to it.
inline constexpr size_t kMaxTextLength = 1024;
// The longest text an entry can describe (TextLen has 16 bits). AddLembrete
// and AlterLembrete throw std::length_error for a longer one, before anything
// changes.
inline constexpr size_t kMaxStoredTextLength = std::numeric_limits<decltype(LembreteEntry::TextLen)>::max();

// Display names of the repetition kinds (Windows-1252), indexed by RepeatKind.
extern const char* const RepeatNames[5];
inline constexpr int kRepeatKinds = 5;
// The display name of a kind; a damaged value above 4 shows as "Nenhuma".
const char* RepeatName(int kind);
// A damaged kind above 4 counts as no repetition.
inline int EffectiveRepeatKind(int kind) { return kind >= 0 && kind < kRepeatKinds ? kind : 0; }

// The order of the table. A value that is no date of the years 1 to 9999 (a
// damaged entry: NaN, infinite or far out of range) sorts after every date,
// and all such values count as equal.
inline bool DateLess(double a, double b) {
  if (!IsValidDateTime(a)) return false;
  if (!IsValidDateTime(b)) return true;
  return a < b;
}

// How a store message box is shown.
enum class BoxKind { TaskModal, SystemModal };

// What the store needs from whoever runs it.
struct StoreHooks {
  // Shows a data-file failure. The program is meant to end afterwards; if the
  // hook returns, the operation is abandoned by throwing StoreStopped.
  std::function<void(const std::string& message, BoxKind kind)> Failure;
  // Lets the user interface process its pending messages once.
  std::function<void()> PumpMessages;
  // Makes an open list window list again.
  std::function<void()> RefreshList;
  // Shows a notice that asks for nothing (the program goes on), such as a
  // snooze file that could not be read. Notices given while it is unset
  // wait for DeliverPendingNotices.
  std::function<void(const std::string& message)> Notice;
  // Called after reminders were added, altered or deleted, or a backup
  // restored (the calendar sync sends such changes soon).
  std::function<void()> Changed;
};

// Thrown after a failure has been reported, to stop without writing more.
class StoreStopped : public std::runtime_error {
 public:
  explicit StoreStopped(const std::string& message) : std::runtime_error(message) {}
};

// Messages of the store.
namespace msg {
inline constexpr const char* kOpenFailed = "Erro ao abrir arquivos de dados";
inline constexpr const char* kCreateFailed = "Erro ao criar arquivos de dados";
inline constexpr const char* kReadFailed = "Erro ao ler arquivos de dados";
inline constexpr const char* kUpdateFailed = "Erro ao atualizar arquivos de dados";
inline constexpr const char* kAlterFailed = "Erro ao alterar arquivos de dados.";
inline constexpr const char* kDeleteFailed = "Erro ao excluir registro.";
inline constexpr const char* kSnoozesDamaged =
    "Os lembretes adiados n\xE3o puderam ser lidos e voltam a alertar no seu hor\xE1rio.";
inline constexpr const char* kSnoozesNotWritten =
    "N\xE3o foi poss\xEDvel gravar os lembretes adiados: se o programa for reiniciado, eles voltam a alertar "
    "no seu hor\xE1rio.";
}  // namespace msg

// How Open may touch the files.
enum class StoreAccess {
  ReadWrite,  // the program's own start: resolve interrupted changes, create missing files
  ReadOnly,   // a reader beside a running program: load what is there, change nothing
};

// First position of a table whose DateTime >= value (count when none).
int32_t FindPositionIn(const EntryTable& table, double value);

// The reminder store: the program folder, the settings, the table of all
// index entries and the two data files, and the operations on them. One
// object per program, made by its start-up and handed to the windows' rules
// (forms::Application) or to quelvo-cli's commands. Not thread-safe: only the
// thread that runs the windows touches it; other threads hand it work to do.
//
// Re-entry through the message loop (a timer tick during a wait or a modal
// box) is guarded by StoreBusy (a store operation is reading or writing) and
// ScanBusy (a window is walking the table); writers wait until both are
// clear, readers until StoreBusy is, pumping messages through Hooks.
class Store {
 public:
  Store() = default;
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  std::string AppDir;          // program folder, with trailing separator
  std::string IndexFileName;   // AppDir + dados/tavodb.idx
  std::string DataFileName;    // AppDir + dados/tavodb.dat
  std::string SafetyCopyName;  // AppDir + dados/tavodb.bkp
  std::string SnoozeFileName;  // AppDir + dados/tavodb.adi (store/snooze_file.h)
  EntryTable Lembretes;
  int32_t LastId = -1;
  bool StoreBusy = false;
  bool ScanBusy = false;
  TConfig Config;
  StoreHooks Hooks;

  // Runs once at start: program folder, settings, the table (files created
  // when missing), then the snoozes: a damaged snooze file is a notice and
  // loses only the snoozes; a snooze whose reminder is gone is dropped.
  void Open(StoreAccess access = StoreAccess::ReadWrite);
  // Loads the index file into Lembretes: put in table order (a stable sort, so
  // an index in order loads as it is), Ids renumbered by position, bit 7 of the
  // kind cleared. The file itself is rewritten only by the next change.
  // Snoozes follow their reminders to the new Ids. False when the file cannot
  // be opened or read.
  bool LoadIndexFile();

  // First position in Lembretes whose DateTime >= value (count when none).
  int32_t FindPosition(double value) const { return FindPositionIn(Lembretes, value); }
  // Position of the entry with the record's Id, searching forward from
  // FindPosition(record.DateTime); -1 when not found.
  int32_t FindLembrete(const LembreteEntry& record) const;
  // Fills the record with entry k and its text; leaves it alone when k is not a position.
  void ReadLembrete(int32_t k, TLembrete& record);
  // Entries first to after - 1 (cut to the table) with the texts ReadLembrete
  // gives them, for a listing: the data file is opened once and read in large
  // pieces. Waits for StoreBusy; fails as ReadLembrete does.
  std::vector<TLembrete> ReadLembretes(int32_t first, int32_t after);
  // Both refuse a text longer than kMaxStoredTextLength (see there).
  void AddLembrete(const TLembrete& record);
  void AlterLembrete(const TLembrete& old_record, const TLembrete& new_record);
  // Adds many reminders as one change: the table ends as if AddLembrete had
  // been called for each in turn (Ids and texts in that order), but the files
  // change once, all or nothing, with a rebuild's crash-safe steps (store_files.h).
  // A failure is reported as "Erro ao atualizar arquivos de dados" with the
  // store as it was. Refuses a text longer than kMaxStoredTextLength.
  void AddLembretes(const std::vector<TLembrete>& records);
  void DeleteLembrete(const TLembrete& record);
  // Asks an open list window to list again.
  void RefreshList();

  // --- Snoozes: a reminder put off to a later minute, its entry and the data
  // files untouched. While snoozed, a reminder is due at its snooze minute
  // only, whether that comes before or after its own time. Altering or
  // deleting a reminder drops its snooze, a restore drops them all. Kept in
  // the snooze file, which every change rewrites when what it should hold
  // differs from what it holds; a failed write is a notice, not a failure.

  // The minute the reminder `id` is put off to; nothing when it is not snoozed.
  std::optional<double> SnoozedUntil(int32_t id) const;
  // Puts the stored reminder of the record (found as FindLembrete finds it)
  // off to the minute `until`, replacing an earlier snooze; cancels its
  // snooze when `until` is no date. Nothing happens when the reminder is no
  // longer stored. Waits for both flags, then lists again.
  void SnoozeLembrete(const LembreteEntry& record, double until);
  void CancelSnooze(const LembreteEntry& record) { SnoozeLembrete(record, std::numeric_limits<double>::quiet_NaN()); }
  // Drops every snooze. Waits for nothing: restore calls it holding StoreBusy.
  void DropSnoozes();
  size_t SnoozeCount() const { return snoozes_.size(); }
  // Table positions, ascending, of every reminder due at the minute `now`:
  // those whose own time has come unless a snooze puts them off past `now`,
  // and those whose snooze minute has come.
  std::vector<int32_t> DuePositions(double now) const;

  // Gives a notice through Hooks.Notice, or keeps it until there is one.
  void Notice(const std::string& message);
  // Gives the notices kept while Hooks.Notice was unset.
  void DeliverPendingNotices();

  // Waits (pumping messages) until neither flag is set / until StoreBusy is clear.
  void WaitForBothFlags();
  void WaitForStoreBusy();

  // Sets ScanBusy for its life: a window walking the table.
  class ScanHold {
   public:
    explicit ScanHold(Store& store) : store_(store) { store_.ScanBusy = true; }
    ~ScanHold() { store_.ScanBusy = false; }
    ScanHold(const ScanHold&) = delete;
    ScanHold& operator=(const ScanHold&) = delete;

   private:
    Store& store_;
  };

  // Reports a failure through the hook and stops (throws StoreStopped).
  [[noreturn]] void Failure(const std::string& message, BoxKind kind);

  // The store's files and the transient ones beside them.
  store_files::FileNames Paths() const;
  // AppDir + dados/ + name.
  std::string DadosPath(const std::string& name) const;

 private:
  enum class IndexLoad { Loaded, Missing, Failed };
  IndexLoad TryLoadIndexFile();
  int64_t AppendText(const std::string& text);
  void TruncateData(int64_t size);
  void CommitWithAppendedText(const EntryTable& table, int64_t end);

  struct Snooze {
    double Until = 0;
    // The reminder as the snooze file names it (store/snooze_file.h).
    double DateTime = 0;
    uint8_t RepeatKind = 0;
    std::string Text;
  };
  std::optional<std::string> StoredText(const LembreteEntry& entry) const;
  bool IsAlike(const LembreteEntry& entry, uint8_t kind, const std::string& text) const;
  void LoadSnoozeFile();
  std::vector<snooze_file::Record> SnoozeRecords() const;
  void ResolveSnoozes(const std::vector<snooze_file::Record>& records);
  void SaveSnoozes();

  std::map<int32_t, Snooze> snoozes_;  // by Id
  // What the snooze file holds ("" when there is none); nothing when that is
  // unknown (a damaged file, a failed write), so the next change rewrites it.
  std::optional<std::string> snooze_file_bytes_ = std::string();
  bool snooze_write_failed_ = false;
  bool read_only_ = false;
  std::vector<std::string> pending_notices_;
};

}  // namespace tavo
