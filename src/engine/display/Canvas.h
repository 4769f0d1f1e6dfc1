#pragma once
// A drawing context on a surface for text and simple shapes: the font by
// face name, size in points, colour and style; a clear or solid brush; text
// output and measuring; filled rectangles; pictures. Texts are Windows-1251.

#include <SDL.h>

#include <cstdint>
#include <string>

#include "engine/display/Fonts.h"
#include "engine/base/Types.h"

namespace bd {

class TDirectDrawSurface;

struct TCanvasFont {
  std::string Name = "Arial";
  int Size = 8;        // points at 96 dots per inch
  uint32_t Color = 0;  // 0x00BBGGRR
  uint8_t Style = 0;   // TFontStyle flags
};

enum class TBrushStyle { bsSolid, bsClear };

struct TCanvasBrush {
  TBrushStyle Style = TBrushStyle::bsSolid;
  uint32_t Color = 0x00FFFFFF;
};

struct TCanvasPen {
  uint32_t Color = 0;
};

class TCanvas {
 public:
  explicit TCanvas(SDL_Surface* surface) : surface_(surface) {}

  TCanvasFont Font;
  TCanvasBrush Brush;
  TCanvasPen Pen;

  // Text with its top-left corner at (x, y); a solid brush fills the text's
  // cell first, a clear brush leaves the background as it is.
  void TextOut(int x, int y, const std::string& cp1251);
  int TextWidth(const std::string& cp1251);
  int TextHeight(const std::string& cp1251);
  // Fills the rectangle (right and bottom exclusive) with the brush colour.
  void FillRect(const TRect& rect);
  // Copies a picture with its top-left corner at (x, y), clipped.
  void Draw(int x, int y, const SDL_Surface* picture);
  void Draw(int x, int y, const TDirectDrawSurface& picture);

  // Ends this use of the canvas; the settings stay for the next one.
  void Release() {}

 private:
  TTF_Font* CurrentFont();

  SDL_Surface* surface_;
};

}  // namespace bd
