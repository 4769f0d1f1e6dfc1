#pragma once
// A drawing surface in the back buffer's pixel format: 32 bits per pixel,
// XRGB8888, blend mode NONE. Sprite copies, the back buffer and cached
// scaled copies are all of this kind, so blits never convert formats.

#include <SDL.h>

#include <cstdint>
#include <memory>

namespace bd {

class TCanvas;

class TDirectDrawSurface {
 public:
  // A new surface of at least 1 x 1 pixels, filled with 0 (black).
  TDirectDrawSurface(int width, int height);
  ~TDirectDrawSurface();
  TDirectDrawSurface(const TDirectDrawSurface&) = delete;
  TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

  SDL_Surface* Sdl() const { return surface_; }
  int Width() const { return surface_->w; }
  int Height() const { return surface_->h; }

  // Fills the whole surface with a raw pixel value (0 is black).
  void Fill(uint32_t raw);
  // Raw pixel at (x, y); 0 outside the surface.
  uint32_t Pixel(int x, int y) const;

  // The drawing context for text and shapes on this surface, made on first
  // use and kept with the surface so that its font and brush settings last.
  TCanvas& Canvas();

 private:
  SDL_Surface* surface_;
  std::unique_ptr<TCanvas> canvas_;
};

// The raw XRGB8888 value of a colour written 0x00BBGGRR.
inline uint32_t ColorToRaw(uint32_t bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
inline uint32_t RawToColor(uint32_t raw) {
  return ((raw & 0xFF) << 16) | (raw & 0xFF00) | ((raw >> 16) & 0xFF);
}

}  // namespace bd
