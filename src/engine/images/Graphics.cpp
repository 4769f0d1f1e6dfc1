#include "engine/images/Graphics.h"

#include "engine/base/ByteReader.h"
#include "engine/images/Jpeg.h"

namespace bd {

uint32_t TGraphic::PixelColor(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const uint32_t raw = image_.Pixels[static_cast<size_t>(y) * Width() + x];
  return ((raw & 0xFF) << 16) | (raw & 0xFF00) | ((raw >> 16) & 0xFF);
}

std::unique_ptr<TGraphic> ReadGraphic(const std::string& className, std::span<const uint8_t> data) {
  if (className == "TDIB") return std::make_unique<TDIB>(DecodeDib(data));
  if (className == "TBitmap" || className == "TJPEGImage") {
    // Both carry a 4-byte length and then the file itself.
    TByteReader r(data);
    const auto file = r.Bytes(r.U32());
    if (className == "TBitmap") {
      if (file.empty()) return std::make_unique<TBitmap>(TDibImage{});
      return std::make_unique<TBitmap>(DecodeBmpFile(file));
    }
    return std::make_unique<TJPEGImage>(DecodeJpeg(file));
  }
  return nullptr;
}

}  // namespace bd
