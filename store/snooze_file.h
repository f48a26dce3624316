#pragma once
// The snooze file "dados/tavodb.adi": which reminders are put off, and until
// when. A snooze is this computer's state, not part of a reminder, so it
// lives beside the two data files, which keep their format.
//
// Layout (little-endian):
//   "QADI", version (1 byte, 1), count (uint32), then per snooze:
//     until (double, a minute), the reminder's DateTime (double), its
//     RepeatKind (uint8), ordinal (uint16), text length (uint16), text
//     (Windows-1252);
//   then the CRC-32 of every byte before it (uint32).
// Ids are renumbered at every load, so a snooze names its reminder by date,
// kind and text, and among reminders alike in all three by its ordinal: the
// ordinal-th of them in table order (the index keeps that order on disk).

#include <cstdint>
#include <string>
#include <vector>

namespace tavo::snooze_file {

struct Record {
  double Until = 0;
  double DateTime = 0;
  uint8_t RepeatKind = 0;
  uint16_t Ordinal = 0;
  std::string Text;
  bool operator==(const Record&) const = default;
};

// The file's bytes for the records, in the order given.
std::string Serialize(const std::vector<Record>& records);

// Reads a whole snooze file. False (and no records) when the bytes are not
// exactly one file of this version: damaged, cut short, or too long.
bool Parse(const std::string& bytes, std::vector<Record>* records);

// Replaces the file at `path` by `bytes`: written to path + ".new", flushed,
// then renamed over the old one, so that a crash leaves the old file or the
// new one whole. False on any failure, with the old file in place and no
// ".new" left behind (unless the power went).
bool WriteSafely(const std::string& path, const std::string& bytes);

// CRC-32 (IEEE) of the first n bytes: the check value of the small files beside the store.
uint32_t Crc32(const std::string& bytes, size_t n);

// The temporary name WriteSafely writes first; a start deletes a leftover.
std::string NewFileName(const std::string& path);

}  // namespace tavo::snooze_file
