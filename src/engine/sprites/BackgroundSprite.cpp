#include "engine/sprites/BackgroundSprite.h"

#include <algorithm>

#include "engine/images/PictureCollection.h"

namespace bd {

void TBackgroundSprite::ResizeMap(int32_t cols, int32_t rows) {
  if (cols == mapCols_ && rows == mapRows_) return;
  if (cols <= 0 || rows <= 0) cols = rows = 0;
  mapCols_ = cols;
  mapRows_ = rows;
  // The old contents are dropped even when only one dimension changes.
  const size_t cells = static_cast<size_t>(cols) * static_cast<size_t>(rows);
  cellPattern_.assign(cells, 0);
  cellSolid_.assign(cells, 1);
}

int32_t TBackgroundSprite::PatternAt(int32_t col, int32_t row) const {
  return InMap(col, row) ? cellPattern_[CellIndex(col, row)] : -1;
}

bool TBackgroundSprite::SolidAt(int32_t col, int32_t row) const {
  return InMap(col, row) && cellSolid_[CellIndex(col, row)] != 0;
}

void TBackgroundSprite::SetPatternAt(int32_t col, int32_t row, int32_t pattern) {
  if (InMap(col, row)) cellPattern_[CellIndex(col, row)] = pattern;
}

void TBackgroundSprite::SetSolidAt(int32_t col, int32_t row, bool solid) {
  if (InMap(col, row)) cellSolid_[CellIndex(col, row)] = solid ? 1 : 0;
}

bool TBackgroundSprite::TileSize(int32_t& tw, int32_t& th) const {
  const TRect tile = Image->PatternBounds(0);
  tw = tile.Width();
  th = tile.Height();
  // An image without patterns has no tile size: nothing to draw or hit, and
  // no division by zero below.
  return tw > 0 && th > 0;
}

void TBackgroundSprite::Render() {
  TSpriteEngine* engine = Engine();
  if (Image == nullptr || engine == nullptr || engine->Surface() == nullptr || mapCols_ <= 0 || mapRows_ <= 0)
    return;
  int32_t tw = 0, th = 0;
  if (!TileSize(tw, th)) return;
  TDirectDrawSurface& surface = *engine->Surface();
  const TRect& r = engine->SurfaceRect();
  const int32_t vc = (r.Right + tw) / tw + 1;
  const int32_t vr = (r.Bottom + th) / th + 1;

  const int32_t x = TruncCoord(AbsoluteX());
  const int32_t y = TruncCoord(AbsoluteY());
  const int32_t ox = x % tw, oy = y % th;  // keep the sign of x and y
  int32_t c0 = x / tw, r0 = y / th;        // truncating toward zero
  int32_t s0 = 0, t0 = 0;
  if (c0 < 0) s0 = -c0, c0 = 0;
  if (r0 < 0) t0 = -r0, r0 = 0;

  if (Endless) {
    // Screen row and column -1 and the one past the last visible keep the
    // edges covered wherever the map is scrolled.
    for (int32_t row = -1; row <= vr; ++row) {
      const int32_t mapRow = PositiveMod(row - r0 + t0, mapRows_);
      for (int32_t col = -1; col <= vc; ++col) {
        const int32_t pattern = PatternAt(PositiveMod(col - c0 + s0, mapCols_), mapRow);
        if (pattern >= 0) Image->DrawPattern(surface, col * tw + ox, row * th + oy, pattern);
      }
    }
    return;
  }
  const int32_t c1 = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(c0) + mapCols_ - s0, vc));
  const int32_t r1 = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(r0) + mapRows_ - t0, vr));
  for (int32_t row = r0; row < r1; ++row) {
    for (int32_t col = c0; col < c1; ++col) {
      const int32_t pattern = PatternAt(col - c0 + s0, row - r0 + t0);
      if (pattern >= 0) Image->DrawPattern(surface, col * tw + ox, row * th + oy, pattern);
    }
  }
}

bool TBackgroundSprite::CoversOpaquely(const TRect& area) const {
  const TSpriteEngine* engine = Engine();
  if (!Endless || Image == nullptr || engine == nullptr || engine->Surface() == nullptr || mapCols_ <= 0 ||
      mapRows_ <= 0)
    return false;
  // Render tiles the engine's surface rectangle.
  const TRect& r = engine->SurfaceRect();
  if (area.Left < r.Left || area.Top < r.Top || area.Right > r.Right || area.Bottom > r.Bottom) return false;
  int32_t tw = 0, th = 0;
  if (!TileSize(tw, th)) return false;
  // Every cell is checked once per distinct pattern.
  int32_t last = -1;
  for (const int32_t pattern : cellPattern_) {
    if (pattern == last) continue;
    if (pattern < 0 || !Image->PatternOpaque(pattern)) return false;
    last = pattern;
  }
  return true;
}

TRect TBackgroundSprite::GetBounds() const {
  if (Endless) return Engine() != nullptr ? Engine()->SurfaceRect() : TRect{};
  if (Image == nullptr) return TRect{};
  return SpriteBox(TruncCoord(AbsoluteX()), TruncCoord(AbsoluteY()),
                   static_cast<int64_t>(Image->Width()) * mapCols_,
                   static_cast<int64_t>(Image->Height()) * mapRows_);
}

bool TBackgroundSprite::HitTest(TSprite& other) {
  if (Image == nullptr || mapCols_ <= 0 || mapRows_ <= 0) return true;
  int32_t tw = 0, th = 0;
  if (!TileSize(tw, th)) return false;

  // Work in map coordinates: both boxes shifted by the map's own position.
  const int32_t x = TruncCoord(AbsoluteX()), y = TruncCoord(AbsoluteY());
  const TRect mine = GetBounds(), theirs = other.GetBounds();
  auto shifted = [x, y](int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return SpriteBox(left - x, top - y, right - left, bottom - top);
  };
  const TRect probe = shifted(theirs.Left, theirs.Top, theirs.Right, theirs.Bottom);
  const TRect overlap = shifted(std::max(mine.Left, theirs.Left), std::max(mine.Top, theirs.Top),
                                std::min(mine.Right, theirs.Right), std::min(mine.Bottom, theirs.Bottom));
  // Boxes that do not meet share no cell.
  if (overlap.Left >= overlap.Right || overlap.Top >= overlap.Bottom) return false;

  for (int32_t n = (overlap.Top - th + 1) / th; n <= overlap.Bottom / th; ++n) {
    for (int32_t m = (overlap.Left - tw + 1) / tw; m <= overlap.Right / tw; ++m) {
      if (SolidAt(PositiveMod(m, mapCols_), PositiveMod(n, mapRows_)) &&
          RectsOverlap(SpriteBox(int64_t{m} * tw, int64_t{n} * th, tw, th), probe))
        return true;
    }
  }
  return false;
}

}  // namespace bd
