#pragma once
// The sprite-engine component: owns the engine and keeps it drawing on the
// display's current back buffer by listening to the display.

#include <cstdint>
#include <memory>

#include "engine/display/DXDrawListener.h"
#include "engine/sprites/SpriteTree.h"

namespace bd {

class TDXDraw;

class TDXSpriteEngine : private IDXDrawListener {
 public:
  TDXSpriteEngine();
  ~TDXSpriteEngine() override;
  TDXSpriteEngine(const TDXSpriteEngine&) = delete;
  TDXSpriteEngine& operator=(const TDXSpriteEngine&) = delete;

  TSpriteEngine& Engine() const { return *engine_; }

  // Steps the whole tree.
  void MoveAll(int32_t moveCount) { engine_->MoveTree(moveCount); }
  // Frees the killed sprites.
  void RemoveDead() { engine_->RemoveDead(); }
  // Draws the tree, but only while the display is up.
  void DrawAll();
  // Whether the next DrawAll starts by replacing every pixel of the back
  // buffer (its first sprite covers it with opaque pixels), so that clearing
  // the back buffer first would be wasted.
  bool DrawCoversSurface() const;

  TDXDraw* DXDraw() const { return dxDraw_; }
  // Moves the engine's display listener from the old display to the new one.
  void SetDXDraw(TDXDraw* dxDraw);

 private:
  void DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) override;

  std::unique_ptr<TSpriteEngine> engine_;
  TDXDraw* dxDraw_ = nullptr;
  bool attached_ = false;  // between the display's initialisation and finalisation
};

}  // namespace bd
