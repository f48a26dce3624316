#pragma once
// The reminder store: the reminder record, the sorted in-memory table
// `Lembretes`, the index and data files and the operations that change them.
// Texts are Windows-1252 bytes, as on disk.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "dates/date_time.h"

namespace tavo {

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
};
StoreHooks& Hooks();

// Thrown after a failure has been reported, to stop without writing more.
class StoreStopped : public std::runtime_error {
 public:
  explicit StoreStopped(const std::string& message) : std::runtime_error(message) {}
};

// Process-wide store state.
extern std::string AppDir;          // program folder, with trailing separator
extern std::string IndexFileName;   // AppDir + dados/tavodb.idx
extern std::string DataFileName;    // AppDir + dados/tavodb.dat
extern std::string SafetyCopyName;  // AppDir + dados/tavodb.bkp
extern EntryTable Lembretes;
extern int32_t LastId;
extern bool StoreBusy;
extern bool ScanBusy;

// Messages of the store.
namespace msg {
inline constexpr const char* kOpenFailed = "Erro ao abrir arquivos de dados";
inline constexpr const char* kCreateFailed = "Erro ao criar arquivos de dados";
inline constexpr const char* kReadFailed = "Erro ao ler arquivos de dados";
inline constexpr const char* kUpdateFailed = "Erro ao atualizar arquivos de dados";
inline constexpr const char* kAlterFailed = "Erro ao alterar arquivos de dados.";
inline constexpr const char* kDeleteFailed = "Erro ao excluir registro.";
}  // namespace msg

// How OpenStore may touch the files.
enum class StoreAccess {
  ReadWrite,  // the program's own start: resolve interrupted changes, create missing files
  ReadOnly,   // a reader beside a running program: load what is there, change nothing
};
// Runs once at start: program folder, settings, the table (files created when missing).
void OpenStore(StoreAccess access = StoreAccess::ReadWrite);
// Loads the index file into Lembretes: put in table order (a stable sort, so
// an index in order loads as it is), Ids renumbered by position, bit 7 of the
// kind cleared. The file itself is rewritten only by the next change.
// False when the file cannot be opened or read.
bool LoadIndexFile();

// First position of a table whose DateTime >= value (count when none).
int32_t FindPositionIn(const EntryTable& table, double value);
// The same in Lembretes.
int32_t FindPosition(double value);
// Position of the entry with the record's Id, searching forward from
// FindPosition(record.DateTime); -1 when not found.
int32_t FindLembrete(const LembreteEntry& record);
// Fills the record with entry k and its text; leaves it alone when k is not a position.
void ReadLembrete(int32_t k, TLembrete& record);
// Entries first to after - 1 (cut to the table) with the texts ReadLembrete
// gives them, for a listing: the data file is opened once and read in large
// pieces. Waits for StoreBusy; fails as ReadLembrete does.
std::vector<TLembrete> ReadLembretes(int32_t first, int32_t after);
// Both refuse a text longer than kMaxStoredTextLength (see there).
void AddLembrete(const TLembrete& record);
void AlterLembrete(const TLembrete& old_record, const TLembrete& new_record);
void DeleteLembrete(const TLembrete& record);
void RefreshList();

// Waits (pumping messages) until neither flag is set / until StoreBusy is clear.
void WaitForBothFlags();
void WaitForStoreBusy();

// Reports a failure through the hook and stops (throws StoreStopped).
[[noreturn]] void StoreFailure(const std::string& message, BoxKind kind);

}  // namespace tavo
