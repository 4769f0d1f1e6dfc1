#pragma once
// A sprite drawn from a named image, with pattern animation: the pattern shown
// is FrameStart plus the whole part of FramePos, which advances by FrameSpeed
// per unit of move count and either wraps or stops on the last frame.

#include <cstdint>

#include "engine/sprites/SpriteTree.h"

namespace bd {

class TPictureCollectionItem;

class TImageSprite : public TSprite {
 public:
  explicit TImageSprite(TSprite* parent) : TSprite(parent) {}

  // Draws the current pattern stretched into the box.
  void Render() override;
  // True when the box holds `area` and the current pattern has no key pixel.
  bool CoversOpaquely(const TRect& area) const override;
  // Advances the animation.
  void Step(int32_t moveCount) override;
  // With PixelPrecise: true only where opaque pixels of both sprites meet.
  bool HitTest(TSprite& other) override;

  // Pattern index of the current animation frame.
  int32_t CurrentPattern() const;
  // Where the image's top-left lies when the image is centred in the box at
  // its natural size.
  TRect ImageRect() const;

  int32_t FrameCount = 0;
  bool FrameLoop = false;
  double FramePos = 0;
  double FrameSpeed = 0;
  int32_t FrameStart = 0;
  TPictureCollectionItem* Image = nullptr;  // not owned
  bool PixelPrecise = false;
};

}  // namespace bd
