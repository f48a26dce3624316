#pragma once
// How the store changes its two files so that a crash at any point leaves
// them describing either the state before an operation or the state after it.
//
// Index: written whole to "tavodb.idx.new", flushed, then renamed over the
// index (the commit point of every operation).
// Rebuilt data file: the data file is renamed to the safety copy (which fails
// when one exists), the new data file and the new index are written and
// flushed, the safety copy is renamed to "tavodb.old" (both new files are
// complete from here on), the index is committed and "tavodb.old" deleted.
// Text overwritten in place: when the index keeps its bytes, the old bytes go
// to "tavodb.und" first, so an interrupted overwrite can be undone, and
// deleting the journal is the commit. When entries move (a new date), the
// new text and the changed stretch of the index go to a redo journal in
// "tavodb.und" whose completion is the commit; both files are then written
// in place, and an interrupted change is finished from the journal.
// Store::Open resolves whatever an interrupted operation left.

#include <cstdint>
#include <string>

#include "store/tavo_data.h"

namespace tavo::store_files {

struct FileNames {
  std::string Index, Data, SafetyCopy, NewIndex, OldData, Undo;
};
// The transient files beside the index and data files.
FileNames NamesOf(const std::string& index, const std::string& data, const std::string& safety_copy);

// The index bytes of a table.
std::string IndexBytes(const EntryTable& table);

// Replaces the index file by the table. False on any failure (also when the
// index file does not exist), leaving the old index in place.
bool CommitIndex(const FileNames& names, const EntryTable& table);

enum class RebuildResult { Done, DataFailed, IndexFailed };
// Rebuilds the data file without the n bytes at p, or with them replaced by
// `replacement`, and commits `table` as the new index.
RebuildResult RebuildDataFile(const FileNames& names, int64_t p, int64_t n, const std::string* replacement,
                              const EntryTable& table);

// Overwrites a text of unchanged length at p and commits `table`.
bool OverwriteText(const FileNames& names, int64_t p, const std::string& text, const EntryTable& table);

// Resolves the files an interrupted operation left behind. False when the
// files could not be put right.
bool RecoverInterrupted(const FileNames& names);

}  // namespace tavo::store_files
