#pragma once
// The encoding of the settings file: every value's bytes are written as one
// bit string and re-cut into 5-bit groups, each shown as one symbol of a
// 32-symbol alphabet. The score report sent to the server uses the same code.

#include <string>
#include <string_view>

namespace bd {

// The symbols for the 5-bit values 0 to 31, in that order.
inline constexpr std::string_view SettingsAlphabet = "QWERTYUPASDFGHJKLZXCVBNM23456789";

// Encodes the bytes of `value` (Windows-1251 text). Zero bits are put in front
// until the bit count is a multiple of 5, so a value whose length is not a
// multiple of 5 bytes reads back with a leading zero byte.
std::string EncodeSettingsValue(std::string_view value);

// Decodes one encoded line. Characters outside the alphabet (CR, spaces,
// anything a hand edit brought in) contribute nothing; zero bits are put in
// front until the bit count is a multiple of 8.
std::string DecodeSettingsValue(std::string_view line);

// Fills a text value with '%' up to a multiple of 5 characters, so that it is
// a whole number of 40-bit blocks and reads back exactly. Empty stays empty.
std::string PadSettingsValue(std::string_view value);

// Removes the '%' filling from the end of a decoded text value.
std::string_view StripSettingsPadding(std::string_view value);

}  // namespace bd
