#include "Lava.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "Noise.h"
#include "Paint.h"

namespace bd::art {

namespace {

// Heat 0 .. 1 to colour: black-red crust, red, orange, yellow, near white.
uint32_t LavaRamp(double v) {
  struct Stop {
    double at;
    uint32_t rgb;
  };
  static const Stop stops[] = {{0.0, 0x2a0804}, {0.35, 0x6e1206}, {0.55, 0xc22c0a},
                               {0.7, 0xf26a12}, {0.85, 0xffb82a}, {1.0, 0xfff2a0}};
  v = std::clamp(v, 0.0, 1.0);
  for (size_t i = 1; i < std::size(stops); ++i) {
    if (v <= stops[i].at) {
      double t = (v - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
      Rgb c = Mix(Hex(stops[i - 1].rgb), Hex(stops[i].rgb), t);
      auto ch = [](double x) { return static_cast<uint32_t>(std::lround(x * 255)); };
      return (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
    }
  }
  return stops[std::size(stops) - 1].rgb;
}

}  // namespace

void PaintLava(cairo_surface_t* surface, int x0, int y0, int w, int h, int period, double t) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const double cell = period / 4.0;
  const int cellsX = std::max(1, static_cast<int>(std::lround(w / cell)));
  const double cellW = static_cast<double>(w) / cellsX;
  Noise body(11, cellsX, 4), veins(23, cellsX * 2, 8), pulse(37, cellsX, 4);
  const double phase = 2 * std::numbers::pi * t;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y0 + y) * stride);
    double ly = static_cast<double>(y % period);
    for (int x = 0; x < w; ++x) {
      double nx = x / cellW, ny = ly / cell;
      double crust = body.Fractal(nx, ny, 3);
      // Veins: where the second field crosses its middle value.
      double v = veins.Fractal(nx * 0.5 * 2 + 0.3 * std::sin(phase), ny * 2, 2);
      double vein = std::pow(1.0 - std::min(1.0, std::fabs(v - 0.5) * 7.0), 2.0);
      double throb = 0.12 * std::sin(phase + 2 * std::numbers::pi * pulse.At(nx, ny));
      double heat = 0.25 + 0.5 * (1 - crust) * 0.9 + 0.45 * vein + throb;
      row[x0 + x] = 0xFF000000u | LavaRamp(heat);
    }
  }
  cairo_surface_mark_dirty(surface);
}

}  // namespace bd::art
