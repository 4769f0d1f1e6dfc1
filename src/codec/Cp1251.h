#pragma once
// The game keeps every text in the Windows-1251 code page, as its settings
// file and its Russian captions need; fonts and the terminal want UTF-8.

#include <string>
#include <string_view>

namespace bd {

std::string Cp1251ToUtf8(std::string_view text);
// Characters without a Windows-1251 form become '?'.
std::string Utf8ToCp1251(std::string_view text);

// Shorthand for writing the game's Russian literals in UTF-8 source files.
inline std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

}  // namespace bd
