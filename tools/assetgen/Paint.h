#pragma once
// Drawing helpers shared by every picture: a cairo canvas, the palette of the
// game's look (bold dark outlines, saturated fills, soft shading) and the
// step that turns antialiased art into colour-keyed pixels.

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bd::art {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

// 0xRRGGBB to a colour.
Rgb Hex(uint32_t rrggbb);
Rgb Mix(Rgb a, Rgb b, double t);
inline Rgb Lighter(Rgb c, double t) { return Mix(c, Rgb{1, 1, 1}, t); }
inline Rgb Darker(Rgb c, double t) { return Mix(c, Rgb{0, 0, 0}, t); }

// The outline colour of every shape: a warm near-black.
inline const Rgb kInk = {0.13, 0.09, 0.08};

// The transparent colour of every colour-keyed picture. The art never uses
// it: flattening nudges any opaque pixel that happens to equal it.
constexpr uint32_t kKeyRgb = 0xFF00FF;

// Pixels after flattening, 0x00RRGGBB, row by row from the top.
struct Raster {
  int w = 0;
  int h = 0;
  std::vector<uint32_t> px;
  uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

// An ARGB cairo surface with its drawing context, cleared to transparent.
class Canvas {
 public:
  Canvas(int w, int h);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int w() const { return w_; }
  int h() const { return h_; }

  // Pixels at least half opaque keep their colour, the rest become the key:
  // edges show the outline colour, never a key-coloured fringe.
  Raster Keyed() const;
  // Every pixel laid over an opaque backdrop colour (for pictures without a key).
  Raster Opaque(Rgb backdrop = Rgb{0, 0, 0}) const;
  // The picture as a PNG file with its transparency; empty if it cannot be encoded.
  std::vector<uint8_t> Png() const;

 private:
  int w_, h_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// A deterministic generator for scattered details, so every build draws the same.
class Dice {
 public:
  explicit Dice(uint32_t seed) : s_(seed * 2654435761u + 12345u) {}
  double Uniform() {  // 0 .. 1
    s_ = s_ * 1664525u + 1013904223u;
    return static_cast<double>(s_ >> 8) / 16777216.0;
  }
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  uint32_t s_;
};

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Sets a vertical linear gradient from c0 at y0 to c1 at y1 as the source.
void VerticalGradient(cairo_t* cr, double y0, double y1, Rgb c0, Rgb c1);
void HorizontalGradient(cairo_t* cr, double x0, double x1, Rgb c0, Rgb c1);
// A radial gradient around (cx, cy) from c0 in the middle to c1 at radius r.
void RadialGradient(cairo_t* cr, double cx, double cy, double r, Rgb c0, Rgb c1, double a0 = 1,
                    double a1 = 1);
// Fills the current path with the current source, then outlines it in ink.
void FillInk(cairo_t* cr, double lineWidth, Rgb ink = kInk);
// Fills the current path with a flat colour and outlines it in ink.
void FillInk(cairo_t* cr, Rgb fill, double lineWidth, Rgb ink = kInk);
// A soft shadow under a shape: the path filled with translucent black, offset.
void Shadow(cairo_t* cr, double dx, double dy, double alpha);

enum class Font { Sans, Serif };
// Text centred on (cx, cy) with a bold outline; size in pixels.
void Label(cairo_t* cr, const std::string& utf8, double cx, double cy, double size, Rgb fill, Rgb outline,
           double outlineWidth, Font font = Font::Sans);
// Plain text with its left edge at x and its baseline at y.
void Text(cairo_t* cr, const std::string& utf8, double x, double y, double size, Rgb fill, bool bold = true);
// Width of a text in pixels at that size.
double TextWidth(cairo_t* cr, const std::string& utf8, double size, bool bold = true);

// A star with n points around (cx, cy).
void StarPath(cairo_t* cr, double cx, double cy, double rOuter, double rInner, int points, double rotation);

// Lets cairo and fontconfig free their font caches, so that a leak checker
// sees nothing left at exit. Call once, when no more drawing follows.
void ReleaseFonts();

}  // namespace bd::art
