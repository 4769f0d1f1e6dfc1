#pragma once
// JPEG pictures through libjpeg: decoding for "TJPEGImage" pictures and the
// exit screen, encoding for the asset builder and the tests.

#include <cstdint>
#include <span>
#include <vector>

#include "engine/Dib.h"
#include "engine/Errors.h"

namespace bd {

// A JPEG libjpeg cannot decode: "JPEG error #%d" with libjpeg's error number.
BD_DECLARE_ERROR(EJPEG);

// Pixels as raw XRGB8888 (0x00RRGGBB), rows from the top; no colour table.
TDibImage DecodeJpeg(std::span<const uint8_t> data);

// Baseline JPEG of the colours (0x00BBGGRR) at the given quality (1..100).
std::vector<uint8_t> EncodeJpeg(const TPixels& pixels, int quality = 90);

}  // namespace bd
