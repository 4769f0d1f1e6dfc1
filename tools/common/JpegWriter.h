#pragma once
// JPEG encoding through libjpeg, for the asset builder's exit-screen
// pictures and the tests' JPEG fixtures.

#include <cstdint>
#include <vector>

#include "common/DibWriter.h"

namespace bd {

// Baseline JPEG of the colours (0x00BBGGRR) at the given quality (1..100).
std::vector<uint8_t> EncodeJpeg(const TPixels& pixels, int quality = 90);

}  // namespace bd
