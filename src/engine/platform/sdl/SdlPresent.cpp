// Presenting the picture in the window: by the graphics processor's
// renderer where there is a real one, else by the game's own scaler
// straight into the window's frame buffer.
#include "engine/platform/sdl/SdlPicture.h"
#include "engine/platform/sdl/SdlWindow.h"

namespace bd {

void TSdlWindow::Reshaped() { sendWhole_ = true; }

TRect TSdlWindow::OutputRect(TSize output, const TRect& dest) {
  const TRect place = FitPicture(output, kPicture);
  auto x = [&](int v) {
    return place.Left + static_cast<int>(static_cast<int64_t>(v) * place.Width() / kClientWidth);
  };
  auto y = [&](int v) {
    return place.Top + static_cast<int>(static_cast<int64_t>(v) * place.Height() / kClientHeight);
  };
  return TRect{x(dest.Left), y(dest.Top), x(dest.Right), y(dest.Bottom)};
}

void TSdlWindow::Present(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) {
  if (renderer_ != nullptr)
    PresentOnGpu(backBuffer, dest, waitVBlank);
  else
    PresentOnProcessor(backBuffer, dest);
}

void TSdlWindow::PresentOnGpu(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) {
  // A GL renderer really waits for the display's refresh, which is asked
  // for in full screen only: a window shares the display with the desktop's
  // compositor, and there the frame timer alone paces the game as it does
  // on the processor path.
  const bool vsync = waitVBlank && IsFullScreen();
  if (vsync != vsync_) {
    SDL_RenderSetVSync(renderer_, vsync ? 1 : 0);
    vsync_ = vsync;
  }
  if (texture_ == nullptr || textureW_ != backBuffer->w || textureH_ != backBuffer->h) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 backBuffer->w, backBuffer->h);
    if (texture_ == nullptr) return;
    textureW_ = backBuffer->w;
    textureH_ = backBuffer->h;
  }
  SDL_UpdateTexture(texture_, nullptr, backBuffer->pixels, backBuffer->pitch);
  SDL_RenderClear(renderer_);
  int w = kClientWidth, h = kClientHeight;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  const TRect r = OutputRect({w, h}, dest);
  const SDL_Rect d{r.Left, r.Top, r.Width(), r.Height()};
  SDL_RenderCopy(renderer_, texture_, nullptr, &d);
  SDL_RenderPresent(renderer_);
}

void TSdlWindow::PresentOnProcessor(const SDL_Surface* backBuffer, const TRect& dest) {
  // The window's frame buffer has no wait for the display's refresh: the
  // picture goes out at once, paced by the frame timer alone.
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) return;
  const TSize size{surface->w, surface->h};
  const TRect r = OutputRect(size, dest);
  const SDL_Rect d{r.Left, r.Top, r.Width(), r.Height()};
  if (surface != lastSurface_ || size != lastSurfaceSize_ || r != lastPlace_) {
    // A new surface or place: the bars are black once, then left alone.
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    lastSurface_ = surface;
    lastSurfaceSize_ = size;
    lastPlace_ = r;
    sendWhole_ = true;
  }
  if (surface->format->BytesPerPixel == 4 && surface->format->format == backBuffer->format->format &&
      SDL_LockSurface(surface) == 0) {
    uint32_t* to =
        static_cast<uint32_t*>(surface->pixels) + static_cast<size_t>(r.Top) * (surface->pitch / 4) + r.Left;
    scaler_.Scale(static_cast<const uint32_t*>(backBuffer->pixels),
                  static_cast<size_t>(backBuffer->pitch / 4), {backBuffer->w, backBuffer->h}, to,
                  static_cast<size_t>(surface->pitch / 4), {r.Width(), r.Height()});
    SDL_UnlockSurface(surface);
  } else {
    // A frame buffer of another pixel format: SDL converts (slowly, but no
    // desktop of today has one).
    SDL_Rect to = d;
    SDL_BlitScaled(const_cast<SDL_Surface*>(backBuffer), nullptr, surface, &to);
  }
  if (sendWhole_) {
    SDL_UpdateWindowSurface(window_);
    sendWhole_ = false;
  } else {
    SDL_UpdateWindowSurfaceRects(window_, &d, 1);
  }
}

}  // namespace bd
