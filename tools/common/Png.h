#pragma once
// A small PNG writer and reader on zlib: the inspector tool writes the
// decoded pictures of an archive as PNG files, and the tests compare
// decoded bitmaps with PNG reference images.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "engine/images/Dib.h"

namespace bd {

class EPngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An 8-bit RGB PNG of raw XRGB8888 pixels (0x00RRGGBB), rows from the top.
std::vector<uint8_t> EncodePng(int32_t width, int32_t height, std::span<const uint32_t> pixels);

// Any non-interlaced PNG (grey, grey with alpha, RGB, RGBA, palette; 1 to 16
// bits per sample) as raw XRGB8888 pixels; alpha is dropped. Raises
// EPngError on data it cannot read.
TDibImage DecodePng(std::span<const uint8_t> data);

}  // namespace bd
