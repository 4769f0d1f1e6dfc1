#include "engine/sprites/DXSpriteEngine.h"

#include "engine/display/DXDraw.h"

namespace bd {

TDXSpriteEngine::TDXSpriteEngine() : engine_(std::make_unique<TSpriteEngine>()) {}

TDXSpriteEngine::~TDXSpriteEngine() { SetDXDraw(nullptr); }

void TDXSpriteEngine::DrawAll() {
  if (dxDraw_ != nullptr && dxDraw_->Initialized()) engine_->DrawAll();
}

bool TDXSpriteEngine::DrawCoversSurface() const {
  if (dxDraw_ == nullptr || !dxDraw_->Initialized() || !engine_->Visible) return false;
  TDirectDrawSurface* surface = engine_->Surface();
  if (surface == nullptr || surface != dxDraw_->BackBuffer() || engine_->DrawList().empty()) return false;
  const TSprite& first = *engine_->DrawList().front();
  const TRect whole{0, 0, surface->Width(), surface->Height()};
  return first.Visible && RectsOverlap(first.GetBounds(), engine_->SurfaceRect()) &&
         first.CoversOpaquely(whole);
}

void TDXSpriteEngine::SetDXDraw(TDXDraw* dxDraw) {
  if (dxDraw == dxDraw_) return;
  if (dxDraw_ != nullptr) dxDraw_->RemoveListener(this);
  dxDraw_ = dxDraw;
  if (dxDraw_ != nullptr) dxDraw_->AddListener(this);
}

void TDXSpriteEngine::DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) {
  switch (type) {
    case TDXDrawNotifyType::Initialize:
      attached_ = true;
      engine_->AttachSurface(sender.BackBuffer());
      break;
    case TDXDrawNotifyType::Finalize:
      attached_ = false;
      engine_->AttachSurface(nullptr);
      break;
    case TDXDrawNotifyType::FinalizeSurface:
      // The back buffer is about to be rebuilt (a new size while the display
      // stays up): never keep pointing at the old one. SurfaceRect keeps the
      // size taken at initialisation.
      engine_->surface_ = nullptr;
      break;
    case TDXDrawNotifyType::InitializeSurface:
      if (attached_) engine_->surface_ = sender.BackBuffer();
      break;
    case TDXDrawNotifyType::Destroying:
      SetDXDraw(nullptr);
      break;
    default:
      break;
  }
}

}  // namespace bd
