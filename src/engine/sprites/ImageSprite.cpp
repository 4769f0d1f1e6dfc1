#include "engine/sprites/ImageSprite.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/images/PictureCollection.h"

namespace bd {

void TImageSprite::Step(int32_t moveCount) {
  FramePos += moveCount * FrameSpeed;
  if (FrameLoop) {
    if (FrameCount > 0) {
      // Remove whole cycles (truncating toward zero), then lift a negative
      // remainder into 0 .. FrameCount.
      FramePos -= FrameCount * std::trunc(FramePos / FrameCount);
      if (FramePos < 0) FramePos += FrameCount;
    } else {
      FramePos = 0;
    }
  } else {
    // A one-shot animation stops on its last pattern (or its first, backwards).
    if (FramePos >= FrameCount) {
      FramePos = FrameCount - 1;
      FrameSpeed = 0;
    }
    if (FramePos < 0) {
      FramePos = 0;
      FrameSpeed = 0;
    }
  }
}

int32_t TImageSprite::CurrentPattern() const {
  const int64_t pattern = static_cast<int64_t>(TruncCoord(FramePos)) + FrameStart;
  return static_cast<int32_t>(
      std::clamp<int64_t>(pattern, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

TRect TImageSprite::ImageRect() const {
  TRect r = GetBounds();
  if (Image == nullptr) return r;
  const int64_t dx = (static_cast<int64_t>(Width) - Image->Width()) / 2;
  const int64_t dy = (static_cast<int64_t>(Height) - Image->Height()) / 2;
  return SpriteBox(r.Left + dx, r.Top + dy, r.Width(), r.Height());
}

void TImageSprite::Render() {
  TSpriteEngine* engine = Engine();
  if (Image == nullptr || engine == nullptr || engine->Surface() == nullptr) return;
  const TRect box = SpriteBox(TruncCoord(AbsoluteX()), TruncCoord(AbsoluteY()), Width, Height);
  const int32_t pattern = CurrentPattern();
  // Most boxes are the pattern's own size: copy those directly.
  const TRect natural = Image->PatternBounds(pattern);
  if (natural.Width() == box.Width() && natural.Height() == box.Height())
    Image->DrawPattern(*engine->Surface(), box.Left, box.Top, pattern);
  else
    Image->DrawPatternScaled(*engine->Surface(), box, pattern);
}

bool TImageSprite::CoversOpaquely(const TRect& area) const {
  const TSpriteEngine* engine = Engine();
  if (Image == nullptr || engine == nullptr || engine->Surface() == nullptr) return false;
  const TRect box = SpriteBox(TruncCoord(AbsoluteX()), TruncCoord(AbsoluteY()), Width, Height);
  return box.Left <= area.Left && box.Top <= area.Top && box.Right >= area.Right &&
         box.Bottom >= area.Bottom && Image->PatternOpaque(CurrentPattern());
}

namespace {

// A sprite's current pattern placed at its natural size where the image would
// lie centred in the box; false when there is no image or no such pattern.
bool PlacedPattern(const TImageSprite& s, int32_t& pattern, TRect& placed) {
  if (s.Image == nullptr) return false;
  pattern = s.CurrentPattern();
  if (pattern < 0 || pattern >= s.Image->PatternTotal()) return false;
  const TRect src = s.Image->PatternBounds(pattern);
  const TRect at = s.ImageRect();
  placed = SpriteBox(at.Left, at.Top, src.Width(), src.Height());
  return true;
}

}  // namespace

bool TImageSprite::HitTest(TSprite& other) {
  auto* that = dynamic_cast<TImageSprite*>(&other);
  if (that == nullptr || !PixelPrecise) return true;

  int32_t myPattern = 0, theirPattern = 0;
  TRect mine, theirs;
  if (!PlacedPattern(*this, myPattern, mine) || !PlacedPattern(*that, theirPattern, theirs)) return false;
  if (!RectsOverlap(mine, theirs)) return false;

  const uint32_t myKey = Image->TransparentRGB() & 0xFFFFFF;
  const uint32_t theirKey = that->Image->TransparentRGB() & 0xFFFFFF;
  const int32_t left = std::max(mine.Left, theirs.Left), right = std::min(mine.Right, theirs.Right);
  const int32_t top = std::max(mine.Top, theirs.Top), bottom = std::min(mine.Bottom, theirs.Bottom);
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) {
      if ((Image->PatternPixel(myPattern, x - mine.Left, y - mine.Top) & 0xFFFFFF) == myKey) continue;
      if ((that->Image->PatternPixel(theirPattern, x - theirs.Left, y - theirs.Top) & 0xFFFFFF) != theirKey)
        return true;
    }
  }
  return false;
}

}  // namespace bd
