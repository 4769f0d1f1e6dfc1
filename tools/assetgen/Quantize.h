#pragma once
// Reduces a picture's colours to a table for 8-bit storage.

#include <cstdint>
#include <vector>

namespace bd::art {

// At most `maxColors` colours (0x00RRGGBB) that represent the picture's
// pixels, chosen by median cut weighted by how often each colour occurs.
// `reserved` is left out of the cut and put first in the table, so it keeps
// its exact value (the transparent colour).
std::vector<uint32_t> MedianCut(const std::vector<uint32_t>& pixels, int maxColors, uint32_t reserved);

}  // namespace bd::art
