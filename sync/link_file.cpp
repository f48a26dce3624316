#include "sync/link_file.h"

#include <cstdio>
#include <cstdlib>

#include "platform/file_system.h"
#include "store/cp1252.h"
#include "store/snooze_file.h"

namespace tavo::sync {
namespace {

constexpr const char* kMagic = "QUELVO-LIGACOES 1";

std::string Escape(const std::string& s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i == s.size()) return std::nullopt;
    switch (s[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::optional<int64_t> Number(const std::string& s) {
  if (s.empty() || s.size() > 19) return std::nullopt;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return v;
}

}  // namespace

std::string SerializeLinks(const LinkTable& table) {
  std::string out = std::string(kMagic) + "\n";
  out += "calendario\t" + Escape(table.calendar) + "\n";
  out += "token\t" + Escape(table.sync_token) + "\n";
  for (const Link& l : table.links) {
    out += "L\t" + std::to_string(l.id) + '\t' + static_cast<char>(l.kind) + '\t' + Escape(l.uid) + '\t' +
           Escape(l.href) + '\t' + Escape(l.etag) + '\t' + std::to_string(l.minute) + '\t' +
           std::to_string(l.repeat) + '\t' + Escape(Cp1252ToUtf8(l.text)) + "\n";
  }
  char check[16];
  std::snprintf(check, sizeof check, "%08x", static_cast<unsigned>(snooze_file::Crc32(out, out.size())));
  out += "fim\t" + std::to_string(table.links.size()) + '\t' + check + "\n";
  return out;
}

std::optional<LinkTable> ParseLinks(const std::string& bytes) {
  LinkTable table;
  size_t pos = 0;
  int line_no = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) return std::nullopt;  // cut short
    const std::string line = bytes.substr(pos, end - pos);
    const std::vector<std::string> f = Fields(line);
    if (line_no == 0) {
      if (line != kMagic) return std::nullopt;
    } else if (line_no == 1 || line_no == 2) {
      const char* name = line_no == 1 ? "calendario" : "token";
      if (f.size() != 2 || f[0] != name) return std::nullopt;
      auto value = Unescape(f[1]);
      if (!value) return std::nullopt;
      (line_no == 1 ? table.calendar : table.sync_token) = *value;
    } else if (f[0] == "L" && f.size() == 9) {
      Link l;
      const auto id = Number(f[1]);
      const auto minute = Number(f[6]);
      const auto repeat = Number(f[7]);
      auto uid = Unescape(f[3]), href = Unescape(f[4]), etag = Unescape(f[5]), text = Unescape(f[8]);
      if (!id || !minute || !repeat || *repeat < 0 || *repeat > 255 || f[2].size() != 1 || !uid || !href || !etag ||
          !text || href->empty())
        return std::nullopt;
      if (f[2] != "E" && f[2] != "I" && f[2] != "S") return std::nullopt;
      l.id = static_cast<int32_t>(*id);
      l.kind = static_cast<LinkKind>(f[2][0]);
      l.uid = *uid;
      l.href = *href;
      l.etag = *etag;
      l.minute = *minute;
      l.repeat = static_cast<uint8_t>(*repeat);
      l.text = Utf8ToCp1252(*text);
      table.links.push_back(std::move(l));
    } else if (f[0] == "fim" && f.size() == 3) {
      char check[16];
      std::snprintf(check, sizeof check, "%08x", static_cast<unsigned>(snooze_file::Crc32(bytes, pos)));
      if (f[1] != std::to_string(table.links.size()) || f[2] != check || end + 1 != bytes.size()) return std::nullopt;
      return table;
    } else {
      return std::nullopt;
    }
    pos = end + 1;
    ++line_no;
  }
  return std::nullopt;
}

LinkLoad ReadLinkFile(const std::string& path, LinkTable* table) {
  *table = LinkTable{};
  auto& files = platform::Files();
  if (!files.Exists(path)) return LinkLoad::Missing;
  std::string bytes;
  if (!platform::ReadWholeFile(files, path, &bytes)) return LinkLoad::Damaged;
  auto parsed = ParseLinks(bytes);
  if (!parsed) return LinkLoad::Damaged;
  *table = std::move(*parsed);
  return LinkLoad::Loaded;
}

bool WriteLinkFile(const std::string& path, const LinkTable& table) {
  return snooze_file::WriteSafely(path, SerializeLinks(table));
}

}  // namespace tavo::sync
