#pragma once
// JPEG pictures through libjpeg: decoding for "TJPEGImage" pictures and the
// exit screen.

#include <cstdint>
#include <span>
#include <vector>

#include "engine/images/Dib.h"
#include "engine/base/Errors.h"

namespace bd {

// A JPEG libjpeg cannot decode: "JPEG error #%d" with libjpeg's error number.
BD_DECLARE_ERROR(EJPEG);

// Pixels as raw XRGB8888 (0x00RRGGBB), rows from the top; no colour table.
TDibImage DecodeJpeg(std::span<const uint8_t> data);

}  // namespace bd
