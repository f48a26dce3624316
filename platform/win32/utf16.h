#pragma once
// The one place where text crosses between the program and the wide (...W)
// Windows calls: the program keeps UTF-8 (file names, paths, settings), the
// system takes and returns UTF-16.

#include <string>
#include <string_view>

namespace tavo::platform {

// UTF-8 to UTF-16; bytes that are not UTF-8 become U+FFFD. Embedded zeros are kept.
std::wstring Utf16(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD. Embedded zeros are kept.
std::string Utf8(std::wstring_view utf16);

}  // namespace tavo::platform
