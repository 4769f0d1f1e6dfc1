#include "engine/images/PatternCopy.h"

#include <algorithm>
#include <cstring>

#include "engine/display/Surface.h"

namespace bd {
namespace {

constexpr uint32_t kRgb = 0x00FFFFFF;

// Runs are kept while there is at most one for every this many pixels: the
// table then costs at most a byte per pixel, and shorter runs would copy no
// faster than comparing each pixel.
constexpr size_t kPixelsPerRun = 8;

// Copies n pixels; the short runs along a sprite's rounded edges are cheaper
// moved one by one than through a call.
inline void CopyPixels(uint32_t* to, const uint32_t* from, size_t n) {
  if (n <= 4) {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, n * sizeof(uint32_t));
  }
}

}  // namespace

TPatternCopy::TPatternCopy(int32_t width, int32_t height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

void TPatternCopy::SetKey(bool keyed, uint32_t rawKey) {
  keyed_ = keyed;
  key_ = rawKey & kRgb;
  FindRuns();
}

void TPatternCopy::FindRuns() {
  rowFirst_.clear();
  runs_.clear();
  solidRows_.clear();
  haveRuns_ = false;
  if (!keyed_) return;
  const size_t limit = pixels_.size() / kPixelsPerRun + 1;
  rowFirst_.reserve(static_cast<size_t>(height_) + 1);
  for (int32_t y = 0; y < height_; ++y) {
    rowFirst_.push_back(static_cast<uint32_t>(runs_.size()));
    const uint32_t* row = Row(y);
    int32_t x = 0;
    while (x < width_) {
      while (x < width_ && (row[x] & kRgb) == key_) ++x;
      if (x == width_) break;
      const int32_t start = x;
      while (x < width_ && (row[x] & kRgb) != key_) ++x;
      if (runs_.size() == limit) {
        // Too fragmented: compare pixel by pixel and keep no table.
        std::vector<uint32_t>().swap(rowFirst_);
        std::vector<TRun>().swap(runs_);
        return;
      }
      runs_.push_back(TRun{static_cast<uint32_t>(start), static_cast<uint32_t>(x)});
    }
  }
  rowFirst_.push_back(static_cast<uint32_t>(runs_.size()));
  runs_.shrink_to_fit();
  solidRows_.assign(static_cast<size_t>(height_) + 1, 0);
  for (int32_t y = height_ - 1; y >= 0; --y) {
    const size_t first = rowFirst_[static_cast<size_t>(y)];
    const bool solid = rowFirst_[static_cast<size_t>(y) + 1] == first + 1 && runs_[first].start == 0 &&
                       runs_[first].end == static_cast<uint32_t>(width_);
    if (solid) solidRows_[static_cast<size_t>(y)] = solidRows_[static_cast<size_t>(y) + 1] + 1;
  }
  haveRuns_ = true;
}

bool TPatternCopy::Opaque(const TRect& src) const {
  if (src.Left < 0 || src.Top < 0 || src.Right > width_ || src.Bottom > height_ || src.Left >= src.Right ||
      src.Top >= src.Bottom)
    return false;
  if (!keyed_) return true;
  if (!haveRuns_) return false;
  const auto left = static_cast<uint32_t>(src.Left), right = static_cast<uint32_t>(src.Right);
  for (int32_t row = src.Top; row < src.Bottom;) {
    if (const uint32_t solid = solidRows_[static_cast<size_t>(row)]; solid > 0) {
      row += static_cast<int32_t>(std::min<int64_t>(solid, src.Bottom - row));
      continue;
    }
    // The run that reaches past the left edge must also reach the right one.
    const TRun* first = runs_.data() + rowFirst_[static_cast<size_t>(row)];
    const TRun* last = runs_.data() + rowFirst_[static_cast<size_t>(row) + 1];
    const TRun* run = std::partition_point(first, last, [left](const TRun& r) { return r.end <= left; });
    if (run == last || run->start > left || run->end < right) return false;
    ++row;
  }
  return true;
}

void TPatternCopy::Draw(TDirectDrawSurface& dest, int64_t x, int64_t y, const TRect& src) const {
  // The source rectangle clipped to the picture, the destination moving with it.
  int64_t sx = src.Left, sy = src.Top;
  int64_t w = int64_t{src.Right} - src.Left, h = int64_t{src.Bottom} - src.Top;
  if (sx < 0) w += sx, x -= sx, sx = 0;
  if (sy < 0) h += sy, y -= sy, sy = 0;
  w = std::min(w, width_ - sx);
  h = std::min(h, height_ - sy);
  // Then clipped to the destination.
  const int64_t dw = dest.Width(), dh = dest.Height();
  if (x < 0) w += x, sx -= x, x = 0;
  if (y < 0) h += y, sy -= y, y = 0;
  w = std::min(w, dw - x);
  h = std::min(h, dh - y);
  if (w <= 0 || h <= 0) return;

  SDL_Surface* to = dest.Sdl();
  const auto pitch = static_cast<size_t>(to->pitch);
  const auto rowBytes = static_cast<size_t>(w) * sizeof(uint32_t);
  // The destination pixel of the source row's left edge.
  auto target = [&](int64_t row) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(to->pixels) +
                                       static_cast<size_t>(y + row - sy) * pitch) +
           x;
  };
  const auto left = static_cast<uint32_t>(sx), right = static_cast<uint32_t>(sx + w);
  // Whole rows of both pictures follow each other without a gap (a road
  // tile as wide as the back buffer): a block of rows without key pixels is
  // one copy.
  const bool joined = w == width_ && pitch == rowBytes;
  const int64_t end = sy + h;
  for (int64_t row = sy; row < end; ++row) {
    uint32_t* d = target(row);
    const uint32_t* s = Row(static_cast<int32_t>(row)) + left;
    const int64_t solid = !keyed_ ? end - row : haveRuns_ ? solidRows_[static_cast<size_t>(row)] : 0;
    if (solid > 0) {
      const int64_t rows = joined ? std::min(solid, end - row) : 1;
      std::memcpy(d, s, rowBytes * static_cast<size_t>(rows));
      row += rows - 1;
    } else if (!haveRuns_) {
      const uint32_t key = key_;
      for (int64_t i = 0; i < w; ++i) d[i] = (s[i] & kRgb) != key ? s[i] : d[i];
    } else {
      // The row's runs from the first that ends right of the left edge.
      const TRun* run = runs_.data() + rowFirst_[static_cast<size_t>(row)];
      const TRun* last = runs_.data() + rowFirst_[static_cast<size_t>(row) + 1];
      run = std::partition_point(run, last, [left](const TRun& r) { return r.end <= left; });
      for (; run != last && run->start < right; ++run) {
        const uint32_t a = std::max(run->start, left), b = std::min(run->end, right);
        CopyPixels(d + (a - left), s + (a - left), b - a);
      }
    }
  }
}

}  // namespace bd
