#pragma once
// The link file "dados/tavodb.lig": which reminder here is which item of the
// synced calendar, and how both looked at the last sync. It lives beside
// the two data files, which keep their format, and is written like the
// snooze file (a new file renamed over the old one).
//
// Text, UTF-8, one record per line, fields separated by tabs (a text has
// \\ \t \r \n escaped):
//   QUELVO-LIGACOES 1
//   calendario <tab> URL
//   token <tab> sync token (empty: none yet)
//   L <tab> id <tab> E|I|S <tab> uid <tab> href <tab> etag <tab> minute <tab> kind <tab> text
//   fim <tab> number of L lines <tab> CRC-32 of every byte before this line (8 hex digits)
// E: an item Quelvo holds exactly (changes here are written back); I: one it
// does not (never written back); S: a server item with no reminder here
// (skipped or deleted here), kept so that it is not brought down again.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavo::sync {

enum class LinkKind : char { Exact = 'E', Inexact = 'I', Server = 'S' };

struct Link {
  int32_t id = -1;  // the reminder's Id when last synced (a hint: Ids change at every load)
  LinkKind kind = LinkKind::Exact;
  std::string uid;
  std::string href;  // the item's path on the server
  std::string etag;
  // The reminder as last synced here (Windows-1252 text); unused for Server links.
  int64_t minute = 0;
  uint8_t repeat = 0;
  std::string text;
  bool operator==(const Link&) const = default;
};

struct LinkTable {
  std::string calendar;
  std::string sync_token;
  std::vector<Link> links;
  bool operator==(const LinkTable&) const = default;
};

std::string SerializeLinks(const LinkTable& table);
// Nothing when the bytes are not one whole link file.
std::optional<LinkTable> ParseLinks(const std::string& bytes);

enum class LinkLoad { Loaded, Missing, Damaged };
// Reads the file at `path`; a missing or damaged one gives an empty table.
LinkLoad ReadLinkFile(const std::string& path, LinkTable* table);
// False when it could not be written (the old file stays whole).
bool WriteLinkFile(const std::string& path, const LinkTable& table);

inline constexpr const char* kLinkFileName = "tavodb.lig";

}  // namespace tavo::sync
