#pragma once
// The backup file: all reminders in one file, and replacing the store by one.
//
// Layout (little-endian): the 7 bytes "TAVOBKP", the index file's size N1 as
// a signed 32-bit number, its N1 bytes, the data file's size N2, its N2 bytes.
// Nothing follows.

#include <string>

namespace tavo {

class Store;

namespace msg {
inline constexpr const char* kBackupNotNeeded =
    "N\xE3o h\xE1 lembretes armazenados. O backup n\xE3o \xE9 necess\xE1rio";
inline constexpr const char* kBackupFailed = "Erro ao salvar backup. Tente novamente";
inline constexpr const char* kRestoreInvalid = "Erro ao importar backup. Arquivo inv\xE1lido";
inline constexpr const char* kRestoreQuestion =
    "Deseja substituir os lembretes j\xE1 cadastrados pelo conte\xFA" "do do backup?";
}  // namespace msg

inline constexpr char kBackupMagic[7] = {'T', 'A', 'V', 'O', 'B', 'K', 'P'};

enum class BackupResult {
  Done,
  EmptyStore,  // no reminders: nothing written
  Failed,      // the backup could not be written or a store file read; a partial file may remain
};

// Copies the index and data files, as they are on disk, into a backup file at
// `path` (created or emptied). Holds StoreBusy meanwhile.
BackupResult WriteBackup(Store& store, const std::string& path);

enum class RestoreResult {
  Done,         // store replaced, table reloaded, list window asked to list again
  NotABackup,   // wrong magic: store files untouched, table reloaded from them
  Damaged,      // unreadable, or sizes that do not fit the file: store files untouched, table kept
  WriteFailed,  // the new store files could not be put in place: old files back, table kept
};

// Replaces the store's files by the content of the backup at `path` and
// reloads the table; a restore that replaced the files drops every snooze. Before anything changes, the file is checked whole: the
// magic, both sizes not negative and 15 + N1 + N2 equal to the file's size.
// A reload failure is a store failure (reported, then StoreStopped is thrown).
RestoreResult RestoreBackup(Store& store, const std::string& path);

}  // namespace tavo
