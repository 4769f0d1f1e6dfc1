#include "engine/display/Surface.h"

#include <algorithm>
#include <stdexcept>

#include "engine/display/Canvas.h"

namespace bd {

TDirectDrawSurface::TDirectDrawSurface(int width, int height)
    : surface_(SDL_CreateRGBSurfaceWithFormat(0, std::max(width, 1), std::max(height, 1), 32,
                                              SDL_PIXELFORMAT_XRGB8888)) {
  if (surface_ == nullptr) throw std::runtime_error(std::string("Surface: ") + SDL_GetError());
  SDL_SetSurfaceBlendMode(surface_, SDL_BLENDMODE_NONE);
  Fill(0);
}

TDirectDrawSurface::~TDirectDrawSurface() {
  canvas_.reset();
  SDL_FreeSurface(surface_);
}

TCanvas& TDirectDrawSurface::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(surface_);
  return *canvas_;
}

void TDirectDrawSurface::Fill(uint32_t raw) { SDL_FillRect(surface_, nullptr, raw); }

uint32_t TDirectDrawSurface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return 0;
  const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
  return reinterpret_cast<const uint32_t*>(row)[x];
}

}  // namespace bd
