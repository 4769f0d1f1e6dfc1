#pragma once
// Pictures held by named images: a decoded bitmap ("TDIB"), a whole bitmap
// file ("TBitmap") or a JPEG ("TJPEGImage"). Each keeps its pixels in memory
// in the back buffer's XRGB8888 layout, so display copies can be rebuilt
// whenever the display comes back.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/images/Dib.h"

namespace bd {

class TGraphic {
 public:
  explicit TGraphic(TDibImage image) : image_(std::move(image)) {}
  virtual ~TGraphic() = default;
  virtual const char* ClassName() const = 0;

  int32_t Width() const { return image_.Width; }
  int32_t Height() const { return image_.Height; }
  bool Empty() const { return image_.Width <= 0 || image_.Height <= 0; }
  // Bits per pixel of the source data (24 for JPEG).
  int32_t BitCount() const { return image_.BitCount; }
  // Raw XRGB8888 pixels, rows from the top.
  const std::vector<uint32_t>& Pixels() const { return image_.Pixels; }
  // Colour 0x00BBGGRR at (x, y); 0 outside the picture.
  uint32_t PixelColor(int32_t x, int32_t y) const;
  // Colour-table entries as read (blue, green, red, 0 as a little-endian number).
  const std::vector<uint32_t>& Palette() const { return image_.ColorTable; }

 private:
  TDibImage image_;
};

class TDIB : public TGraphic {
 public:
  using TGraphic::TGraphic;
  const char* ClassName() const override { return "TDIB"; }
};

class TBitmap : public TGraphic {
 public:
  using TGraphic::TGraphic;
  const char* ClassName() const override { return "TBitmap"; }
};

class TJPEGImage : public TGraphic {
 public:
  using TGraphic::TGraphic;
  const char* ClassName() const override { return "TJPEGImage"; }
};

// The picture for an archive's class name and data (the part after the
// class name); nullptr for a class name this game does not know.
std::unique_ptr<TGraphic> ReadGraphic(const std::string& className, std::span<const uint8_t> data);

}  // namespace bd
