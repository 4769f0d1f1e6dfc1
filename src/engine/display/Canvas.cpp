#include "engine/display/Canvas.h"

#include "engine/display/Surface.h"

namespace bd {

TTF_Font* TCanvas::CurrentFont() { return TFontLibrary::Instance().Font(Font.Name, Font.Size, Font.Style); }

void TCanvas::TextOut(int x, int y, const std::string& cp1251) {
  TFontLibrary& fonts = TFontLibrary::Instance();
  TTF_Font* font = CurrentFont();
  if (font == nullptr || cp1251.empty()) return;
  if (Brush.Style == TBrushStyle::bsSolid) {
    const SDL_Point size = fonts.TextSize(font, cp1251);
    FillRect(Bounds(x, y, size.x, size.y));
  }
  const TRenderedText* text = fonts.RenderText(font, Font.Color, cp1251);
  if (text == nullptr || text->ink.w <= 0) return;
  // Only the inked part is blended: the rest would leave the background as
  // it is anyway.
  SDL_Rect ink = text->ink;
  SDL_Rect dest{x + ink.x, y + ink.y, ink.w, ink.h};
  SDL_BlitSurface(text->surface, &ink, surface_, &dest);
}

int TCanvas::TextWidth(const std::string& cp1251) {
  return TFontLibrary::Instance().TextSize(CurrentFont(), cp1251).x;
}

int TCanvas::TextHeight(const std::string& cp1251) {
  return TFontLibrary::Instance().TextSize(CurrentFont(), cp1251).y;
}

void TCanvas::FillRect(const TRect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  SDL_Rect r{rect.Left, rect.Top, rect.Width(), rect.Height()};
  const uint32_t c = Brush.Color;
  SDL_FillRect(surface_, &r,
               SDL_MapRGB(surface_->format, static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                          static_cast<uint8_t>(c >> 16)));
}

void TCanvas::Draw(int x, int y, const SDL_Surface* picture) {
  if (picture == nullptr) return;
  SDL_Rect dest{x, y, picture->w, picture->h};
  // SDL takes a non-const source although it only reads it.
  SDL_BlitSurface(const_cast<SDL_Surface*>(picture), nullptr, surface_, &dest);
}

void TCanvas::Draw(int x, int y, const TDirectDrawSurface& picture) { Draw(x, y, picture.Sdl()); }

}  // namespace bd
