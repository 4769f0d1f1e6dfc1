#pragma once
// The sprite tree. Every object on the picture is a sprite: a floating-point
// position, an integer box, a depth and four per-frame behaviours (step,
// collide, hit-test, render). The root of the tree is the sprite engine, which
// steps the tree once per frame, lets sprites probe each other, frees the
// sprites that were killed and draws the tree in depth order.
//
// Ownership: a sprite is created with `new` and handed to its parent, which
// owns it from then on. It is freed by `RemoveDead` after `Kill`, by its
// parent's `ClearChildren`, or together with its parent; deleting it directly
// unlinks it as well. Inside `Step`, `HandleCollision` and `Render` use `Kill`:
// it defers the removal to the next `RemoveDead`, so nothing moves under the
// walks in progress.

#include <cstdint>
#include <vector>

#include "engine/base/Errors.h"
#include "engine/base/Types.h"

namespace bd {

class TDirectDrawSurface;
class TSpriteEngine;

// Raised by ChildAt on a sprite that has no children.
BD_DECLARE_ERROR(ESpriteError);

class TSprite {
 public:
  // Links the new sprite into `parent` (which takes ownership), or makes a
  // root when `parent` is null.
  explicit TSprite(TSprite* parent);
  // Destroys the children (the last one first) and unlinks the sprite.
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  // Reaction of the probing sprite to a sprite it touches; setting `done`
  // stops the probe from descending into the children of further hits.
  virtual void HandleCollision(TSprite& other, bool& done);
  // Draws the sprite on the engine's surface.
  virtual void Render();
  // Per-frame behaviour.
  virtual void Step(int32_t moveCount);
  // The box in engine coordinates, positions truncated toward zero.
  virtual TRect GetBounds() const;
  // Fine test after the boxes were found to overlap.
  virtual bool HitTest(TSprite& other);
  // Whether Render replaces every pixel of `area` (a rectangle of the
  // engine's surface) with an opaque one; false when unsure.
  virtual bool CoversOpaquely(const TRect& area) const;

  // Marks the sprite for destruction at the engine's next RemoveDead.
  void Kill();
  // Probes every other sprite of the tree and calls HandleCollision for each
  // hit; returns the number of hits.
  int32_t Collide();
  // Steps this sprite and its subtree (children in creation order).
  void MoveTree(int32_t moveCount);
  // Renders this sprite and its subtree in depth order.
  void DrawTree();
  // Destroys every child, the last one first.
  void ClearChildren();

  int32_t ChildCount() const { return static_cast<int32_t>(children_.size()); }
  // Direct child by index, in creation order.
  TSprite* ChildAt(int32_t index) const;
  // The children sorted by depth, in drawing order.
  const std::vector<TSprite*>& DrawList() const { return drawList_; }

  // Position summed up the parent chain.
  double AbsoluteX() const;
  double AbsoluteY() const;

  int32_t Z() const { return z_; }
  // Changes the depth and keeps the parent's drawing order sorted.
  void ChangeZ(int32_t z);

  TSpriteEngine* Engine() const { return engine_; }
  TSprite* Parent() const { return parent_; }
  bool IsDead() const { return isDead_; }

  double X = 0;
  double Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool CanCollide = true;
  bool CanMove = true;
  bool Visible = true;

 private:
  friend class TSpriteEngine;

  // Places `child` in the drawing order ahead of every sibling of equal depth.
  void InsertByZ(TSprite* child);
  static void CollideTree(TSpriteEngine& engine, TSprite& probe, bool& probeAlive, TSprite& target);

  TSpriteEngine* engine_ = nullptr;
  TSprite* parent_ = nullptr;
  std::vector<TSprite*> children_;  // owned, creation order
  std::vector<TSprite*> drawList_;  // the same children, sorted by z_
  bool isDead_ = false;
  int32_t z_ = 0;
};

class TSpriteEngine : public TSprite {
 public:
  TSpriteEngine();
  ~TSpriteEngine() override;

  // Frees every killed sprite (with its subtree), the last killed first.
  void RemoveDead();
  // Renders the whole tree onto the attached surface.
  void DrawAll();
  // Makes `surface` the drawing target; null detaches it but keeps the size.
  void AttachSurface(TDirectDrawSurface* surface);

  // Live sprites below the engine.
  int32_t SpriteCount() const { return spriteCount_; }
  // Sprites rendered by the last DrawAll.
  int32_t DrawnCount() const { return drawnCount_; }
  TDirectDrawSurface* Surface() const { return surface_; }
  const TRect& SurfaceRect() const { return surfaceRect_; }
  // Killed sprites waiting for RemoveDead, in the order they were killed.
  const std::vector<TSprite*>& DeadList() const { return deadList_; }

  // Working state of the Collide in progress (or of the last one).
  int32_t HitCount() const { return hitCount_; }
  bool CollideStop() const { return collideStop_; }
  const TRect& ProbeRect() const { return probeRect_; }
  TSprite* ProbeSprite() const { return probeSprite_; }

 private:
  friend class TSprite;
  friend class TDXSpriteEngine;  // follows the display's back buffer when it is rebuilt

  int32_t spriteCount_ = 0;
  int32_t hitCount_ = 0;
  bool collideStop_ = false;
  TRect probeRect_;
  TSprite* probeSprite_ = nullptr;
  std::vector<TSprite*> deadList_;
  int32_t drawnCount_ = 0;
  TDirectDrawSurface* surface_ = nullptr;
  TRect surfaceRect_;
};

// Truncation toward zero for sprite coordinates, saturated at ±10^9 so that a
// runaway position can never overflow the integer box.
int32_t TruncCoord(double v);
// The box at (x, y) of size w by h, its far edges saturated to 32 bits.
TRect SpriteBox(int64_t x, int64_t y, int64_t w, int64_t h);

}  // namespace bd
