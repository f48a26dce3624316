#include "ical/ical_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "store/cp1252.h"
#include "store/tavo_data.h"

namespace tavo::ical {

std::string EscapeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 8);
  size_t plain_from = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    // Most bytes need nothing: copy them in runs.
    if (c >= 0x20 && c != '\\' && c != ';' && c != ',' && c != 0x7F) continue;
    out.append(utf8, plain_from, i - plain_from);
    plain_from = i + 1;
    switch (c) {
      case '\\': out += "\\\\"; break;
      case ';': out += "\\;"; break;
      case ',': out += "\\,"; break;
      case '\r':
        if (i + 1 < utf8.size() && utf8[i + 1] == '\n') plain_from = ++i + 1;
        out += "\\n";
        break;
      case '\n': out += "\\n"; break;
      case '\t': out += '\t'; break;
      default: break;  // other control characters are not allowed in TEXT
    }
  }
  out.append(utf8, plain_from, std::string_view::npos);
  return out;
}

void AppendFolded(std::string& out, std::string_view line) {
  constexpr size_t kLimit = 75;
  size_t room = kLimit;  // octets the current physical line may still take
  while (line.size() > room) {
    size_t cut = room;
    // Back off to the start of a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    room = kLimit - 1;  // the leading space counts
  }
  out.append(line);
  out += "\r\n";
}

std::string UnfoldLines(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  // The text between line breaks is copied in runs; the next CR and the next
  // LF are each looked for once.
  const auto next_of = [end](const char* from, char c) {
    const void* p = from < end ? std::memchr(from, c, static_cast<size_t>(end - from)) : nullptr;
    return p ? static_cast<const char*>(p) : end;
  };
  const char* next_cr = next_of(begin, '\r');
  const char* next_lf = next_of(begin, '\n');
  for (const char* at = begin; at < end;) {
    const char* brk = std::min(next_cr, next_lf);
    out.append(at, static_cast<size_t>(brk - at));
    if (brk == end) break;
    const char* after = brk + 1;
    if (*brk == '\r' && after < end && *after == '\n') ++after;
    if (after < end && (*after == ' ' || *after == '\t')) {
      ++after;  // the break and the one white-space character go
    } else {
      out += "\r\n";
    }
    at = after;
    if (next_cr < at) next_cr = next_of(at, '\r');
    if (next_lf < at) next_lf = next_of(at, '\n');
  }
  return out;
}

bool IsValidUtf8(std::string_view s, bool controls_allowed) {
  constexpr uint64_t kHigh = 0x8080808080808080ULL;
  for (size_t i = 0; i < s.size();) {
    // Runs of ASCII, most of any calendar, eight bytes at a time (and, when
    // control characters are refused, none below 0x20 among them: (b | 0x80)
    // - 0x20 keeps its high bit exactly when b >= 0x20, no borrow crossing bytes).
    uint64_t eight;
    if (i + 8 <= s.size()) {
      std::memcpy(&eight, s.data() + i, 8);
      const uint64_t printable = controls_allowed ? ~uint64_t{0} : (eight | kHigh) - 0x2020202020202020ULL;
      if (((eight | ~printable) & kHigh) == 0) {
        i += 8;
        continue;
      }
    }
    const auto b = static_cast<uint8_t>(s[i]);
    if (!controls_allowed && b < 0x20 && b != '\t') return false;
    size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size() || (len == 2 && b < 0xC2)) return false;
    for (size_t k = 1; k < len; ++k)
      if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The line without its trailing blanks, as some writers leave them.
std::string_view TrimmedEnd(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

}  // namespace

StreamCheck CheckStream(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return StreamCheck::NotText;
  // The first line that is not blank opens the calendar; after the last
  // END:VCALENDAR only blank lines may follow.
  size_t at = 0;
  std::string_view first;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    const std::string_view line = Trimmed(text.substr(at, end == std::string_view::npos ? end : end - at));
    at = end == std::string_view::npos ? text.size() : end + 2;
    if (!line.empty()) {
      first = line;
      break;
    }
  }
  if (!StartsWithNoCase(first, "BEGIN:VCALENDAR") || TrimmedEnd(first).size() != 15) return StreamCheck::NoBegin;
  std::string_view rest = text;
  while (!rest.empty() && static_cast<unsigned char>(rest.back()) <= ' ') rest.remove_suffix(1);
  const size_t last_break = rest.rfind("\r\n");
  const std::string_view last = TrimmedEnd(last_break == std::string_view::npos ? rest : rest.substr(last_break + 2));
  if (!StartsWithNoCase(last, "END:VCALENDAR") || last.size() != 13) return StreamCheck::Truncated;
  return StreamCheck::Whole;
}

std::string DecodeCalendarBytes(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::string unfolded = UnfoldLines(bytes);
  if (IsValidUtf8(unfolded)) return unfolded;
  return Cp1252ToUtf8(unfolded);
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

namespace {

// Every line break as CR LF; the text between breaks is copied in runs.
std::string WithCrLf(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 16);
  size_t from = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\r' && s[i] != '\n') continue;
    out.append(s, from, i - from);
    out += "\r\n";
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    from = i + 1;
  }
  out.append(s, from, std::string_view::npos);
  return out;
}

}  // namespace

std::string ReminderText(std::string_view summary_utf8, std::string_view description_utf8) {
  const std::string_view summary = Trimmed(summary_utf8);
  const std::string_view description = Trimmed(description_utf8);
  std::string joined;
  std::string_view source = summary;
  if (description.substr(0, summary.size()) == summary) {
    source = description;  // also when there is no summary
  } else if (!description.empty()) {
    joined = std::string(summary) + "\n" + std::string(description);
    source = joined;
  }
  std::string text = WithCrLf(Trimmed(Utf8ToCp1252(source)));
  if (text.size() > kMaxTextLength) {
    size_t cut = kMaxTextLength;
    if (text[cut - 1] == '\r' && text[cut] == '\n') --cut;  // a line break is never split
    text.resize(cut);
    text = std::string(Trimmed(text));
  }
  return text;
}

}  // namespace tavo::ical
