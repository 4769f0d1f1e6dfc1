#pragma once
// Reading device-independent bitmaps: the pixel data of "TDIB"
// pictures (no file header) and of whole bitmap files ("TBitmap").

#include <cstdint>
#include <span>
#include <vector>

#include "engine/base/Errors.h"

namespace bd {

// A bitmap header, compression or size the reader does not accept.
BD_DECLARE_ERROR(EInvalidGraphic);
inline constexpr const char* kDibInvalid = "DIB is invalid";

// A decoded bitmap. Pixels are raw XRGB8888 values (0x00RRGGBB), rows from
// the top. ColorTable holds the entries read from the file (at most 256),
// in the same layout (blue, green, red, 0 read as a little-endian number).
struct TDibImage {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitCount = 0;
  std::vector<uint32_t> Pixels;
  std::vector<uint32_t> ColorTable;
};

// Largest picture the readers accept, in pixels; anything larger is
// rejected before memory is reserved for it.
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 24;

// A bitmap without its file header: header (40 or 12 bytes), masks, colour
// table and pixels. Empty data gives an empty picture.
TDibImage DecodeDib(std::span<const uint8_t> data);
// A whole bitmap file ("BM", file header, then the bitmap); its pixel-data
// offset is honoured. Besides the headers DecodeDib takes, it reads the
// longer 52-, 56-, 108- and 124-byte ones with the colour masks they hold.
TDibImage DecodeBmpFile(std::span<const uint8_t> data);

}  // namespace bd
