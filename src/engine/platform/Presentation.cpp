#include "engine/platform/Presentation.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace bd {
namespace {

// Floor division, also for negative numerators.
int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

int ChooseWindowScale(TSize usable, TSize frame, TSize picture) {
  if (picture.Width <= 0 || picture.Height <= 0) return 1;
  const int byWidth = (usable.Width - frame.Width) / picture.Width;
  const int byHeight = (usable.Height - frame.Height) / picture.Height;
  return std::max(1, std::min(byWidth, byHeight));
}

TRect FitPicture(TSize output, TSize picture) {
  if (picture.Width <= 0 || picture.Height <= 0 || output.Width <= 0 || output.Height <= 0)
    return Bounds(0, 0, std::max(output.Width, 0), std::max(output.Height, 0));
  int w = output.Width;
  int h = static_cast<int>(static_cast<int64_t>(w) * picture.Height / picture.Width);
  if (h > output.Height) {
    h = output.Height;
    w = static_cast<int>(static_cast<int64_t>(h) * picture.Width / picture.Height);
  }
  const int whole = std::min(output.Width / picture.Width, output.Height / picture.Height);
  if (whole >= 1 && 5 * static_cast<int64_t>(whole) * picture.Height >= 4 * static_cast<int64_t>(h)) {
    w = whole * picture.Width;
    h = whole * picture.Height;
  }
  return Bounds((output.Width - w) / 2, (output.Height - h) / 2, w, h);
}

TPoint OutputToPicture(int x, int y, const TRect& place, TSize picture) {
  if (place.Width() <= 0 || place.Height() <= 0) return {x, y};
  // The scaler's rule (SourceIndex) extended to positions outside the place.
  auto axis = [](int at, int origin, int length, int source) {
    return static_cast<int>(FloorDiv((2 * static_cast<int64_t>(at - origin) + 1) * source, 2 * static_cast<int64_t>(length)));
  };
  return {axis(x, place.Left, place.Width(), picture.Width), axis(y, place.Top, place.Height(), picture.Height)};
}

TPoint PictureToOutput(int x, int y, const TRect& place, TSize picture) {
  if (picture.Width <= 0 || picture.Height <= 0) return {x, y};
  auto axis = [](int at, int origin, int length, int source) {
    return origin + static_cast<int>(FloorDiv((2 * static_cast<int64_t>(at) + 1) * length, 2 * static_cast<int64_t>(source)));
  };
  return {axis(x, place.Left, place.Width(), picture.Width), axis(y, place.Top, place.Height(), picture.Height)};
}

bool IsSoftwareRenderer(std::string_view rendererName, std::string_view glRenderer) {
  const std::string name = Lower(rendererName);
  if (name.rfind("opengl", 0) != 0) return true;  // "software", or a renderer the game does not know
  const std::string gl = Lower(glRenderer);
  if (gl.empty()) return true;
  for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "software", "lavapipe", "swiftshader"})
    if (gl.find(rasteriser) != std::string::npos) return true;
  return false;
}

void TPictureScaler::Scale(const uint32_t* src, size_t srcPitch, TSize srcSize, uint32_t* dst, size_t dstPitch,
                           TSize dstSize) {
  if (srcSize.Width <= 0 || srcSize.Height <= 0 || dstSize.Width <= 0 || dstSize.Height <= 0) return;
  if (columnsSrc_ != srcSize.Width || columnsDst_ != dstSize.Width) {
    columns_.resize(static_cast<size_t>(dstSize.Width));
    for (int x = 0; x < dstSize.Width; ++x) columns_[static_cast<size_t>(x)] = SourceIndex(x, srcSize.Width, dstSize.Width);
    columnsSrc_ = srcSize.Width;
    columnsDst_ = dstSize.Width;
  }
  // Each source row is expanded once into a row of its own, small enough
  // to stay in the nearest cache, and every output row that shows it is a
  // block copy of that row: the output, far larger than the caches, is then
  // written only by wide copies instead of by single pixels.
  const size_t rowBytes = static_cast<size_t>(dstSize.Width) * sizeof(uint32_t);
  row_.resize(static_cast<size_t>(dstSize.Width));
  uint32_t* row = row_.data();
  const int k = dstSize.Width % srcSize.Width == 0 ? dstSize.Width / srcSize.Width : 0;
  int lastSource = -1;
  for (int y = 0; y < dstSize.Height; ++y) {
    const int sy = SourceIndex(y, srcSize.Height, dstSize.Height);
    uint32_t* out = dst + static_cast<size_t>(y) * dstPitch;
    const uint32_t* in = src + static_cast<size_t>(sy) * srcPitch;
    if (k == 1) {
      std::memcpy(out, in, rowBytes);
      continue;
    }
    if (sy != lastSource) {
      if (k == 2) {
        for (int x = 0; x < srcSize.Width; ++x) row[2 * x] = row[2 * x + 1] = in[x];
      } else if (k == 3) {
        for (int x = 0; x < srcSize.Width; ++x) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = in[x];
      } else {
        const int* column = columns_.data();
        for (int x = 0; x < dstSize.Width; ++x) row[x] = in[column[x]];
      }
      lastSource = sy;
    }
    std::memcpy(out, row, rowBytes);
  }
}

}  // namespace bd
