#pragma once
// How the 800 x 600 picture reaches a window or screen of another size: the
// window's whole-multiple size on a desktop, where the picture sits in an
// output (4:3, centred, black bars around), the way pointer positions go back
// to picture coordinates, whether a renderer really has a graphics processor
// behind it, and a processor scaler that duplicates pixels without filtering.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/base/Types.h"

namespace bd {

struct TSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TSize&) const = default;
};

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

// The largest whole multiple (1, 2, 3, ...) of `picture` that, with the
// window's `frame` (title bar and borders, added once), fits inside the
// desktop's `usable` area (without its panels). Never less than 1.
int ChooseWindowScale(TSize usable, TSize frame, TSize picture);

// Where `picture` is shown in an output of size `output`, centred, the rest
// being black bars: the largest whole multiple that fits when it is at least
// four fifths as high as the largest rectangle of the picture's shape that
// fits (3x on a 3840 x 2160 screen, 2x on 2560 x 1440: every pixel the same
// size, and a third fewer pixels to copy than the fractional fit), that
// rectangle otherwise (1440 x 1080 on a full-HD screen).
TRect FitPicture(TSize output, TSize picture);

// The picture's pixel shown at output position (x, y) when the picture fills
// `place`: the same pixel the scaler puts there, so a pointer on any output
// pixel means the picture pixel drawn under it. Positions in the bars map
// outside the picture (negative or past its size).
TPoint OutputToPicture(int x, int y, const TRect& place, TSize picture);

// An output position that shows picture pixel (x, y) (the middle of its block).
TPoint PictureToOutput(int x, int y, const TRect& place, TSize picture);

// Whether a renderer draws on the processor: SDL's own software renderer, or
// a GL renderer whose driver is a software rasteriser (llvmpipe, softpipe,
// swrast, ...). `rendererName` is SDL's name for the renderer and
// `glRenderer` the GL_RENDERER string when it is a GL one (empty otherwise or
// when unknown). Anything unrecognised counts as software, since the
// processor path works everywhere.
bool IsSoftwareRenderer(std::string_view rendererName, std::string_view glRenderer);

// Scales XRGB8888 pictures by nearest neighbour: each output pixel takes the
// source pixel under its centre, so a whole multiple duplicates every pixel
// exactly. Each source row is expanded once and every output row showing it
// is copied whole. Keeps its column table and row between frames.
class TPictureScaler {
 public:
  // Pitches are in pixels.
  void Scale(const uint32_t* src, size_t srcPitch, TSize srcSize, uint32_t* dst, size_t dstPitch,
             TSize dstSize);

 private:
  std::vector<int> columns_;
  std::vector<uint32_t> row_;
  int columnsSrc_ = 0;
  int columnsDst_ = 0;
};

// The source index under the centre of output index `i` when `srcLength`
// pixels are stretched to `dstLength`.
inline int SourceIndex(int i, int srcLength, int dstLength) {
  return static_cast<int>((2 * static_cast<int64_t>(i) + 1) * srcLength / (2 * static_cast<int64_t>(dstLength)));
}

}  // namespace bd
