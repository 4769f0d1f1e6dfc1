#pragma once
// The bitmap header values that the reader here and the writer of the tools
// both need, kept in one place so the two sides cannot drift apart.

#include <cstdint>

namespace bd {

// The header's compression field.
inline constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

// The longer headers that image editors write today besides the 40-byte one:
// 52 bytes (colour masks inside the header), 56 (plus an alpha mask), 108
// (plus colour space and gamma) and 124 (plus rendering intent and a colour
// profile). Their first 40 bytes read like the 40-byte header.
inline bool IsLongHeaderSize(uint32_t size) { return size == 52 || size == 56 || size == 108 || size == 124; }

}  // namespace bd
