#include "store/snooze_file.h"

#include <cstring>

#include "platform/file_system.h"

namespace tavo::snooze_file {
namespace {

using platform::Files;
using platform::OpenMode;

constexpr char kMagic[4] = {'Q', 'A', 'D', 'I'};
constexpr uint8_t kVersion = 1;
constexpr size_t kHeaderSize = 4 + 1 + 4;
constexpr size_t kRecordFixedSize = 8 + 8 + 1 + 2 + 2;


void PutLe(std::string& s, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint64_t GetLe(const std::string& s, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
  return v;
}

void PutDouble(std::string& s, double d) {
  uint64_t v;
  std::memcpy(&v, &d, sizeof v);
  PutLe(s, v, 8);
}

double GetDouble(const std::string& s, size_t at) {
  const uint64_t v = GetLe(s, at, 8);
  double d;
  std::memcpy(&d, &v, sizeof d);
  return d;
}

}  // namespace

std::string Serialize(const std::vector<Record>& records) {
  std::string s(kMagic, sizeof kMagic);
  PutLe(s, kVersion, 1);
  PutLe(s, records.size(), 4);
  for (const Record& r : records) {
    PutDouble(s, r.Until);
    PutDouble(s, r.DateTime);
    PutLe(s, r.RepeatKind, 1);
    PutLe(s, r.Ordinal, 2);
    PutLe(s, r.Text.size(), 2);
    s += r.Text;
  }
  PutLe(s, Crc32(s, s.size()), 4);
  return s;
}

bool Parse(const std::string& bytes, std::vector<Record>* records) {
  records->clear();
  if (bytes.size() < kHeaderSize + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 ||
      static_cast<uint8_t>(bytes[4]) != kVersion)
    return false;
  const size_t body = bytes.size() - 4;
  if (GetLe(bytes, body, 4) != Crc32(bytes, body)) return false;
  const uint64_t count = GetLe(bytes, 5, 4);
  std::vector<Record> read;
  size_t at = kHeaderSize;
  for (uint64_t i = 0; i < count; ++i) {
    if (body - at < kRecordFixedSize) return false;
    Record r;
    r.Until = GetDouble(bytes, at);
    r.DateTime = GetDouble(bytes, at + 8);
    r.RepeatKind = static_cast<uint8_t>(GetLe(bytes, at + 16, 1));
    r.Ordinal = static_cast<uint16_t>(GetLe(bytes, at + 17, 2));
    const auto length = static_cast<size_t>(GetLe(bytes, at + 19, 2));
    at += kRecordFixedSize;
    if (body - at < length) return false;
    r.Text.assign(bytes, at, length);
    at += length;
    read.push_back(std::move(r));
  }
  if (at != body) return false;
  *records = std::move(read);
  return true;
}

std::string NewFileName(const std::string& path) { return path + ".new"; }

bool WriteSafely(const std::string& path, const std::string& bytes) {
  const std::string temporary = NewFileName(path);
  auto file = Files().Open(temporary, OpenMode::Create);
  if (!file) return false;
  bool ok = file->Write(bytes.data(), bytes.size()) && file->Sync();
  ok = file->Close() && ok;
  if (ok && Files().ReplaceAtomic(temporary, path)) return true;
  Files().Delete(temporary);
  return false;
}

uint32_t Crc32(const std::string& bytes, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

}  // namespace tavo::snooze_file
