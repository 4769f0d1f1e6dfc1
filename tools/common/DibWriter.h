#pragma once
// Writing device-independent bitmaps, the counterpart of the game's reader:
// the asset builder stores its pictures with it and the tests make their
// bitmaps (in every format the reader takes) with it.

#include <cstdint>
#include <vector>

namespace bd {

// Pixels as colours 0x00BBGGRR, rows from the top.
struct TPixels {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Colors;
};

enum class TDibFormat { Pal8, Pal8Rle, Rgb24, Rgb32 };

struct TDibOptions {
  TDibFormat Format = TDibFormat::Rgb24;
  // For the 8-bit formats: the colour table (colours 0x00BBGGRR). Empty: the
  // picture's own colours in order of appearance (at most 256, else the
  // encoder throws). A pixel whose colour is not in a given table takes the
  // nearest entry.
  std::vector<uint32_t> Palette;
  bool TopDown = false;  // rows stored from the top (negative height)
};

std::vector<uint8_t> EncodeDib(const TPixels& pixels, const TDibOptions& options = {});
// The same bitmap behind a 14-byte file header. The header may instead be
// one of the longer forms (52, 56, 108 or 124 bytes) that image editors
// write; its colour masks are left 0, which the uncompressed formats ignore.
std::vector<uint8_t> EncodeBmpFile(const TPixels& pixels, const TDibOptions& options = {},
                                   uint32_t headerSize = 40);

}  // namespace bd
