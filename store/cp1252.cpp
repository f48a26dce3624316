#include "store/cp1252.h"

#include <cstdint>
#include <string_view>

namespace tavo {
namespace {

// Code points of the bytes 0x80-0x9F; 0 marks the five unassigned bytes,
// which are kept as the C1 control of the same number.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; returns its length (1 for an invalid byte, with cp = 0xFFFD).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t* cp) {
  const auto b0 = static_cast<uint8_t>(text[i]);
  size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 1) {
    *cp = b0;
    return 1;
  }
  if (len == 0 || i + len > text.size()) {
    *cp = 0xFFFD;
    return 1;
  }
  char32_t value = b0 & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<uint8_t>(text[i + k]);
    if ((b >> 6) != 2) {
      *cp = 0xFFFD;
      return 1;
    }
    value = value << 6 | (b & 0x3F);
  }
  *cp = value;
  return len;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& text) {
  // ASCII is the same in both; most texts are mostly ASCII.
  size_t ascii = 0;
  while (ascii < text.size() && static_cast<uint8_t>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) return text;
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  out.append(text, 0, ascii);
  for (size_t i = ascii; i < text.size(); ++i) {
    size_t run = i;  // ASCII copied in runs
    while (run < text.size() && static_cast<uint8_t>(text[run]) < 0x80) ++run;
    if (run > i) {
      out.append(text, i, run - i);
      i = run;
      if (i == text.size()) break;
    }
    const auto b = static_cast<uint8_t>(text[i]);
    char32_t cp = b;
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) cp = kHigh[b - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    // ASCII, most of any text, is copied in runs.
    size_t ascii_end = i;
    while (ascii_end < text.size() && static_cast<uint8_t>(text[ascii_end]) < 0x80) ++ascii_end;
    if (ascii_end > i) {
      out.append(text, i, ascii_end - i);
      i = ascii_end;
      continue;
    }
    char32_t cp = 0;
    i += DecodeUtf8(text, i, &cp);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kHigh[k] == cp || (kHigh[k] == 0 && cp == static_cast<char32_t>(0x80 + k))) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

size_t Utf8Length(const std::string& text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    i += DecodeUtf8(text, i, &cp);
    ++n;
  }
  return n;
}

namespace {

// The small letter of a Windows-1252 capital; other bytes stay as they are.
unsigned char SmallLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A: case 0x8C: case 0x8E: return static_cast<unsigned char>(c + 0x10);  // S, OE, Z with caron
    case 0x9F: return 0xFF;                                                       // Y with diaeresis
    default: return c;
  }
}

}  // namespace

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (SmallLetter(static_cast<unsigned char>(a[i])) != SmallLetter(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace tavo
