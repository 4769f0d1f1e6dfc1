#include "Icon.h"

#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Art.h"
#include "Paint.h"

namespace bd::art {
namespace {

// The icon is drawn on a 256-unit square and scaled to each size. Small
// sizes get thicker outlines, so the shapes still read at 32 pixels.
void DrawIcon(cairo_t* cr, int size) {
  const double s = size / 256.0;
  const double ink = size <= 48 ? 10 : size <= 64 ? 8 : 6;
  cairo_scale(cr, s, s);

  // The tile: a road seen from above between two verges of grass.
  cairo_new_path(cr);
  RoundRect(cr, 8, 8, 240, 240, 44);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  VerticalGradient(cr, 8, 248, Hex(0x6fd35a), Hex(0x2f8f35));
  cairo_fill(cr);
  cairo_rectangle(cr, 46, 0, 164, 256);
  VerticalGradient(cr, 0, 256, Hex(0x5a5f6a), Hex(0x383b44));
  cairo_fill(cr);
  // Kerbs and lane dashes.
  for (double x : {46.0, 204.0}) {
    for (int i = 0; i < 8; ++i) {
      cairo_rectangle(cr, x, i * 32.0, 6, 16);
      SetColor(cr, Hex(0xe53b2c));
      cairo_fill(cr);
      cairo_rectangle(cr, x, i * 32.0 + 16, 6, 16);
      SetColor(cr, Hex(0xffffff));
      cairo_fill(cr);
    }
  }
  for (double x : {100.0, 150.0}) {
    for (int i = 0; i < 5; ++i) {
      cairo_rectangle(cr, x, i * 56.0 + 6, 6, 30);
      SetColor(cr, Hex(0xf4f0e0), 0.85);
      cairo_fill(cr);
    }
  }
  // Sunlight pooling on the road around the car.
  cairo_rectangle(cr, 0, 0, 256, 256);
  RadialGradient(cr, 128, 118, 120, Hex(0xfff2a0), Hex(0xff9a2a), 0.55, 0.0);
  cairo_fill(cr);
  // Speed streaks behind the car.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const auto& [x, len] : {std::pair{84.0, 56.0}, std::pair{176.0, 44.0}, std::pair{130.0, 30.0}}) {
    cairo_move_to(cr, x, 204);
    cairo_line_to(cr, x, 204 + len);
    SetColor(cr, Hex(0xffffff), 0.85);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
  }
  cairo_restore(cr);

  // The player's sports car, nose up and leaning into a lane change.
  cairo_save(cr);
  cairo_translate(cr, 128, 120);
  cairo_rotate(cr, 0.2);
  cairo_scale(cr, 1.7, 1.7);
  cairo_translate(cr, -27, -50);
  DrawCar(cr, 54, 100, Hex(0xe53b2c), 4, 0, false);
  cairo_restore(cr);

  // The tile's bold outline, as every shape of the game has.
  cairo_new_path(cr);
  RoundRect(cr, 8, 8, 240, 240, 44);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, ink);
  cairo_stroke(cr);
}

}  // namespace

std::vector<uint8_t> IconPng(int size) {
  Canvas c(size, size);
  DrawIcon(c.cr(), size);
  return c.Png();
}

std::vector<OutputFile> MakeIcons(const std::string& name) {
  std::vector<OutputFile> files;
  for (int size : kIconSizes)
    files.push_back({std::to_string(size) + "x" + std::to_string(size) + "/apps/" + name + ".png", IconPng(size)});
  return files;
}

std::string WriteIcons(const std::string& dir, const std::string& name) {
  for (const OutputFile& f : MakeIcons(name)) {
    const std::filesystem::path path = std::filesystem::path(dir) / f.path;
    if (f.bytes.empty()) return "cannot encode " + path.string();
    {
      std::ifstream in(path, std::ios::binary);
      const std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (in && old == f.bytes) continue;
    }
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(f.bytes.data()), static_cast<std::streamsize>(f.bytes.size()));
    if (!out) return "cannot write " + path.string();
  }
  return {};
}

}  // namespace bd::art
