#include "engine/sprites/SpriteTree.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/display/Surface.h"

namespace bd {

namespace {

// A sprite's Step, HandleCollision, HitTest or Render may free sprites: itself,
// a sibling, or the one the walk is about to descend into. Each walk keeps a
// record of the sprites it still has to touch; a sprite being destroyed marks
// its records, and the walk stops touching it. Records live on the stack, so
// this costs no allocation per frame.
struct TLifeGuard;
thread_local TLifeGuard* gGuards = nullptr;

struct TLifeGuard {
  explicit TLifeGuard(const TSprite* s) : sprite(s), prev(gGuards) { gGuards = this; }
  ~TLifeGuard() { gGuards = prev; }
  TLifeGuard(const TLifeGuard&) = delete;
  TLifeGuard& operator=(const TLifeGuard&) = delete;

  const TSprite* sprite;
  bool alive = true;
  TLifeGuard* prev;
};

void MarkDestroyed(const TSprite* sprite) {
  for (TLifeGuard* g = gGuards; g != nullptr; g = g->prev)
    if (g->sprite == sprite) g->alive = false;
}

void EraseOne(std::vector<TSprite*>& list, const TSprite* sprite) {
  auto it = std::find(list.begin(), list.end(), sprite);
  if (it != list.end()) list.erase(it);
}

}  // namespace

int32_t TruncCoord(double v) {
  constexpr double kLimit = 1e9;
  if (std::isnan(v)) return 0;
  if (v >= kLimit) return static_cast<int32_t>(kLimit);
  if (v <= -kLimit) return -static_cast<int32_t>(kLimit);
  return static_cast<int32_t>(v);  // the conversion truncates toward zero
}

TRect SpriteBox(int64_t x, int64_t y, int64_t w, int64_t h) {
  auto clamp = [](int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  };
  return TRect{clamp(x), clamp(y), clamp(x + w), clamp(y + h)};
}

// ---- TSprite ----

TSprite::TSprite(TSprite* parent) : parent_(parent) {
  if (parent == nullptr) return;
  parent->children_.push_back(this);
  parent->InsertByZ(this);
  if (auto* engine = dynamic_cast<TSpriteEngine*>(parent))
    engine_ = engine;
  else
    engine_ = parent->engine_;
  if (engine_ != nullptr) ++engine_->spriteCount_;
}

TSprite::~TSprite() {
  ClearChildren();
  MarkDestroyed(this);
  if (parent_ == nullptr) return;
  if (engine_ != nullptr) {
    --engine_->spriteCount_;
    if (engine_->probeSprite_ == this) engine_->probeSprite_ = nullptr;
    if (isDead_) {
      // RemoveDead frees the last entry, so search from the back.
      auto& dead = engine_->deadList_;
      auto it = std::find(dead.rbegin(), dead.rend(), this);
      if (it != dead.rend()) dead.erase(std::next(it).base());
    }
  }
  EraseOne(parent_->children_, this);
  EraseOne(parent_->drawList_, this);
}

void TSprite::HandleCollision(TSprite& /*other*/, bool& /*done*/) {}
void TSprite::Render() {}

bool TSprite::CoversOpaquely(const TRect& /*area*/) const { return false; }
void TSprite::Step(int32_t /*moveCount*/) {}
bool TSprite::HitTest(TSprite& /*other*/) { return true; }

TRect TSprite::GetBounds() const {
  return SpriteBox(TruncCoord(AbsoluteX()), TruncCoord(AbsoluteY()), Width, Height);
}

double TSprite::AbsoluteX() const { return parent_ == nullptr ? X : parent_->AbsoluteX() + X; }
double TSprite::AbsoluteY() const { return parent_ == nullptr ? Y : parent_->AbsoluteY() + Y; }

TSprite* TSprite::ChildAt(int32_t index) const {
  if (children_.empty()) throw ESpriteError(Format("Index of the list exceeds the range. (%d)", index));
  if (index < 0 || index >= ChildCount()) throw EListError(Format("List index out of bounds (%d)", index));
  return children_[static_cast<size_t>(index)];
}

void TSprite::InsertByZ(TSprite* child) {
  // Binary search for the first entry whose depth is not below the child's:
  // the child lands ahead of its equals and is drawn beneath them.
  auto at = std::lower_bound(drawList_.begin(), drawList_.end(), child->z_,
                             [](const TSprite* s, int32_t z) { return s->z_ < z; });
  drawList_.insert(at, child);
}

void TSprite::ChangeZ(int32_t z) {
  if (z == z_) return;
  z_ = z;
  if (parent_ == nullptr) return;
  EraseOne(parent_->drawList_, this);
  parent_->InsertByZ(this);
}

void TSprite::ClearChildren() {
  // Each child's destructor takes it out of both lists.
  while (!children_.empty()) delete children_.back();
}

void TSprite::Kill() {
  if (engine_ == nullptr || isDead_) return;
  isDead_ = true;
  engine_->deadList_.push_back(this);
}

void TSprite::MoveTree(int32_t moveCount) {
  if (!CanMove) return;
  TLifeGuard self(this);
  Step(moveCount);
  if (!self.alive) return;
  // The count is taken once: sprites created during this pass wait for the
  // next frame. Freed siblings shrink the list, which ends the walk early.
  const size_t n = children_.size();
  for (size_t i = 0; i < n && i < children_.size(); ++i) {
    children_[i]->MoveTree(moveCount);
    if (!self.alive) return;
  }
}

void TSprite::DrawTree() {
  if (!Visible) return;
  TLifeGuard self(this);
  if (TSpriteEngine* engine = engine_; engine != nullptr && RectsOverlap(GetBounds(), engine->surfaceRect_)) {
    Render();
    ++engine->drawnCount_;
    if (!self.alive) return;
  }
  const size_t n = drawList_.size();
  for (size_t i = 0; i < n && i < drawList_.size(); ++i) {
    drawList_[i]->DrawTree();
    if (!self.alive) return;
  }
}

int32_t TSprite::Collide() {
  TSpriteEngine* engine = engine_;
  if (engine == nullptr || isDead_ || !CanCollide) return 0;
  engine->hitCount_ = 0;
  engine->collideStop_ = false;
  engine->probeRect_ = GetBounds();
  engine->probeSprite_ = this;
  TLifeGuard probe(this);
  const size_t n = engine->children_.size();
  for (size_t i = 0; i < n && i < engine->children_.size() && probe.alive; ++i)
    CollideTree(*engine, *this, probe.alive, *engine->children_[i]);
  return engine->hitCount_;
}

void TSprite::CollideTree(TSpriteEngine& engine, TSprite& probe, bool& probeAlive, TSprite& target) {
  if (!target.CanCollide) return;
  TLifeGuard self(&target);
  if (&target != &probe && RectsOverlap(target.GetBounds(), engine.probeRect_) && probe.HitTest(target) &&
      probeAlive && self.alive && target.HitTest(probe) && probeAlive && self.alive) {
    ++engine.hitCount_;
    probe.HandleCollision(target, engine.collideStop_);
    // A probe that was freed outright ends the whole probe (the caller sees
    // probeAlive false); one that was killed or stopped colliding only stops
    // the descent into children.
    if (!probeAlive || !probe.CanCollide || probe.isDead_) engine.collideStop_ = true;
  }
  if (engine.collideStop_ || !self.alive) return;
  const size_t n = target.children_.size();
  for (size_t i = 0; i < n && i < target.children_.size(); ++i) {
    CollideTree(engine, probe, probeAlive, *target.children_[i]);
    if (!self.alive || !probeAlive) return;
  }
}

// ---- TSpriteEngine ----

TSpriteEngine::TSpriteEngine() : TSprite(nullptr) {}

TSpriteEngine::~TSpriteEngine() {
  // The sprites leave the dead list and the count as they go, so they must go
  // while those still exist.
  ClearChildren();
}

void TSpriteEngine::RemoveDead() {
  // Each destructor removes its own entry, and those of its killed children.
  while (!deadList_.empty()) delete deadList_.back();
}

void TSpriteEngine::DrawAll() {
  drawnCount_ = 0;
  DrawTree();
}

void TSpriteEngine::AttachSurface(TDirectDrawSurface* surface) {
  surface_ = surface;
  if (surface == nullptr) return;
  surfaceRect_ = TRect{0, 0, surface->Width(), surface->Height()};
  Width = surfaceRect_.Right;
  Height = surfaceRect_.Bottom;
}

}  // namespace bd
