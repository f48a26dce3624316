#include "calendar/events_text.h"

#include <cstdio>

#include "calendar/feriados.h"
#include "dates/date_time.h"

namespace tavo {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Trims the characters with codes 0 to 32 from both ends.
std::string_view TrimControls(std::string_view text) {
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void AppendLine(std::string& text, std::string_view line) {
  if (line.empty()) return;
  if (!text.empty()) text += kLineBreak;
  text += line;
}

std::string_view SaintEntry(std::string_view key, const TextLines& saints) {
  for (const std::string& line : saints) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (EqualsIgnoringCase(std::string_view(line).substr(0, equals), key)) {
      return TrimControls(std::string_view(line).substr(equals + 1));
    }
  }
  return {};
}

std::string DatesEntry(std::string_view key, const TextLines& dates) {
  std::string text;
  for (const std::string& line : dates) {
    text += line;
    text += kLineBreak;
  }
  const std::string marker = "[" + std::string(key) + "]";
  const size_t at = text.find(marker);
  if (at == std::string::npos) return {};
  std::string_view entry = std::string_view(text).substr(at + marker.size());
  entry = entry.substr(0, entry.find('['));
  return std::string(TrimControls(entry));
}

// Mother's Day is the second Sunday of May, Father's Day that of August.
std::string_view Observance(const CivilDate& d, int weekday) {
  if (weekday != 1 || d.Day < 8 || d.Day > 14) return {};
  if (d.Month == 5) return "Dia das M\xE3" "es";
  if (d.Month == 8) return "Dia dos Pais";
  return {};
}

}  // namespace

TextLines SplitTextLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  TextLines lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

TextLines& SaintsList() {
  static TextLines lines;
  return lines;
}

TextLines& DatesList() {
  static TextLines lines;
  return lines;
}

std::string DayKey(double date) {
  const CivilDate d = DecodeDate(date);
  char key[8];
  std::snprintf(key, sizeof key, "%2.2d/%2.2d", d.Day, d.Month);
  return key;
}

std::string DateEventsText(double date, const TextLines& saints, const TextLines& dates) {
  if (!IsValidDateTime(date)) return {};
  const std::string key = DayKey(date);
  std::string text = DatesEntry(key, dates);
  AppendLine(text, Observance(DecodeDate(date), DayOfWeek(date)));
  AppendLine(text, SaintEntry(key, saints));
  return text;
}

std::string DateEventsText(double date) { return DateEventsText(date, SaintsList(), DatesList()); }

std::string EventsText(double date) {
  std::string text = feriados::DateInfoText(date);
  AppendLine(text, DateEventsText(date));
  return text;
}

}  // namespace tavo
