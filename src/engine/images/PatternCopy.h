#pragma once
// A picture in the back buffer's pixel format (XRGB8888), kept by the image
// list so that its patterns can be copied onto the back buffer every frame,
// with or without the picture's colour key.
//
// A keyed copy leaves the destination alone wherever the source pixel has the
// key colour. Testing every pixel on every frame is what made drawing slow,
// so the pixels that are not the key are found once, when the key is set, as
// runs along each row; a copy then moves whole runs with memcpy. A picture
// broken into very many short runs keeps none and is compared pixel by pixel.
//
// Clipping works as SDL_BlitSurface's does: the source rectangle is first
// clipped to the picture (moving the destination with it), then to the
// destination surface; the result is the picture SDL gives for a source with
// the same colour key.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/base/Types.h"

namespace bd {

class TDirectDrawSurface;

class TPatternCopy {
 public:
  // A picture of at least 1 x 1 pixels, all 0 (black), without a key.
  TPatternCopy(int32_t width, int32_t height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The pixels of row y (0 <= y < Height()), raw XRGB8888.
  uint32_t* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  const uint32_t* Row(int32_t y) const {
    return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
  }

  // Copies are keyed with the raw colour `rawKey` (its low 24 bits) while
  // `keyed`; call again after changing the pixels.
  void SetKey(bool keyed, uint32_t rawKey);
  bool Keyed() const { return keyed_; }

  // Copies the rectangle `src` of this picture with its top-left corner at
  // (x, y) of `dest`, clipped to both.
  void Draw(TDirectDrawSurface& dest, int64_t x, int64_t y, const TRect& src) const;

  // Whether a copy of `src` (inside this picture) writes every one of its
  // pixels: no key, or no key pixel inside. False for an empty rectangle and
  // when unsure (a picture compared pixel by pixel).
  bool Opaque(const TRect& src) const;

 private:
  struct TRun {
    uint32_t start;  // first opaque pixel
    uint32_t end;    // one past the last
  };
  void FindRuns();

  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;
  bool keyed_ = false;
  uint32_t key_ = 0;  // low 24 bits of the key
  bool haveRuns_ = false;
  // Runs of row y: runs_[rowFirst_[y]] up to runs_[rowFirst_[y + 1]].
  std::vector<uint32_t> rowFirst_;
  std::vector<TRun> runs_;
  // How many rows from row y on have no key pixel at all (0 when row y has
  // one): such rows are copied whole, several at once where they lie next to
  // each other in both pictures.
  std::vector<uint32_t> solidRows_;
};

}  // namespace bd
