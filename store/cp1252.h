#pragma once
// Windows-1252 <-> UTF-8, for texts crossing from the data files to the
// screen and back.

#include <string>
#include <string_view>

namespace tavo {

std::string Cp1252ToUtf8(const std::string& text);

// Characters without a Windows-1252 form become '?'; invalid UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view text);

// Number of characters (code points) in a UTF-8 text.
size_t Utf8Length(const std::string& text);

// True when two Windows-1252 texts are equal but for the case of their
// letters, accented ones included ("DI\xC1RIA" equals "Di\xE1ria").
bool EqualIgnoringCase(const std::string& a, const std::string& b);

}  // namespace tavo
