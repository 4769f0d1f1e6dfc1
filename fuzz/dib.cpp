// A lone device-independent bitmap, read both as the pixel data of a "TDIB"
// picture and, behind its file header, as a whole bitmap file. A decoded
// picture must hold exactly one pixel per position.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "engine/images/Dib.h"

namespace {

void CheckShape(const bd::TDibImage& image) {
  const int64_t pixels = int64_t{image.Width} * image.Height;
  if (image.Width < 0 || image.Height < 0 || pixels > bd::kMaxPicturePixels ||
      image.Pixels.size() != static_cast<size_t>(pixels) || image.ColorTable.size() > 256)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    CheckShape(bd::DecodeDib(bytes));
  } catch (const bd::EError&) {
  }
  try {
    CheckShape(bd::DecodeBmpFile(bytes));
  } catch (const bd::EError&) {
  }
  return 0;
}
