#include "Scenery.h"

#include <cmath>
#include <numbers>

#include "Art.h"

namespace bd::art {

namespace {
constexpr double kPi = std::numbers::pi;

void Cloud(cairo_t* cr, double x, double y, double s, double alpha) {
  const double bumps[][3] = {{0, 0, 1}, {0.9, -0.35, 0.8}, {1.7, 0.05, 0.75}, {-0.85, 0.1, 0.7}};
  cairo_new_path(cr);
  for (const auto& b : bumps) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + b[0] * s, y + b[1] * s, b[2] * s, 0, 2 * kPi);
  }
  SetColor(cr, Hex(0x8ab0cc), alpha);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  VerticalGradient(cr, y - s, y + s, Hex(0xffffff), Hex(0xdbe8f2));
  cairo_fill(cr);
}
}  // namespace

void Landscape(cairo_t* cr, double w, double h, double horizon, bool evening) {
  // Sky.
  if (evening) {
    VerticalGradient(cr, 0, horizon, Hex(0x3a2a5a), Hex(0xf2703a));
  } else {
    VerticalGradient(cr, 0, horizon, Hex(0x3f9ae8), Hex(0xbfe8ff));
  }
  cairo_rectangle(cr, 0, 0, w, horizon);
  cairo_fill(cr);
  // Sun with rays.
  double sx = w * 0.82, sy = horizon * 0.3;
  if (evening) sy = horizon * 0.78;
  cairo_save(cr);
  for (int i = 0; i < 16; ++i) {
    double a = i * 2 * kPi / 16;
    cairo_move_to(cr, sx, sy);
    cairo_line_to(cr, sx + std::cos(a - 0.08) * w, sy + std::sin(a - 0.08) * w);
    cairo_line_to(cr, sx + std::cos(a + 0.08) * w, sy + std::sin(a + 0.08) * w);
    cairo_close_path(cr);
  }
  cairo_rectangle(cr, 0, 0, w, horizon);
  cairo_clip(cr);
  SetColor(cr, evening ? Hex(0xffc080) : Hex(0xffffff), evening ? 0.12 : 0.18);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  cairo_arc(cr, sx, sy, 46, 0, 2 * kPi);
  RadialGradient(cr, sx, sy, 70, evening ? Hex(0xffd070) : Hex(0xfffbd0),
                 evening ? Hex(0xff6a20) : Hex(0xffd83a));
  FillInk(cr, 3, evening ? Hex(0xa0401a) : Hex(0xe09a1a));
  if (!evening) {
    Cloud(cr, w * 0.15, horizon * 0.25, 30, 1);
    Cloud(cr, w * 0.5, horizon * 0.15, 24, 1);
    Cloud(cr, w * 0.62, horizon * 0.5, 20, 1);
  }
  // Fireballs streaking across the sky: the meteorite rain.
  const double meteors[][3] = {{0.12, 0.55, 9}, {0.38, 0.32, 7}, {0.58, 0.72, 6}};
  for (const auto& m : meteors) {
    double mx = w * m[0], my = horizon * m[1], r = m[2];
    cairo_new_path(cr);
    cairo_move_to(cr, mx - r, my - r * 0.3);
    cairo_line_to(cr, mx - r * 7, my - r * 5);
    cairo_line_to(cr, mx + r * 0.3, my - r);
    cairo_close_path(cr);
    HorizontalGradient(cr, mx - r * 7, mx, Hex(0xffe070), Hex(0xff5a1a));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, mx, my, r, 0, 2 * kPi);
    RadialGradient(cr, mx - 2, my - 2, r * 1.3, Hex(0xa08060), Hex(0x3a2a20));
    FillInk(cr, 2);
  }
  // The town on the horizon, with smoke rising from it.
  Dice dice(2024);
  for (double x = w * 0.02; x < w * 0.55;) {
    double bw = dice.Range(22, 46), bh = dice.Range(30, 90);
    cairo_new_path(cr);
    cairo_rectangle(cr, x, horizon - bh, bw, bh + 2);
    SetColor(cr, evening ? Hex(0x5a3a4a) : Hex(0x8aa6c8));
    cairo_fill_preserve(cr);
    SetColor(cr, evening ? Hex(0x2a1a24) : Hex(0x5a7090));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    SetColor(cr, evening ? Hex(0xffb040) : Hex(0xd8e6f4));
    for (double wy = horizon - bh + 6; wy < horizon - 8; wy += 12)
      for (double wx = x + 5; wx < x + bw - 6; wx += 10) cairo_rectangle(cr, wx, wy, 4, 5);
    cairo_fill(cr);
    x += bw + dice.Range(-4, 6);
  }
  for (int i = 0; i < 3; ++i) {
    double px = w * (0.1 + 0.16 * i), py = horizon - 70 - i * 10;
    for (int k = 0; k < 4; ++k) Puff(cr, px + k * 12, py - k * 26, 14 + k * 4, Hex(0x6a6a72), 0.55);
  }
  // Hills and the ground.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, horizon);
  cairo_curve_to(cr, w * 0.25, horizon - 30, w * 0.5, horizon + 10, w * 0.75, horizon - 24);
  cairo_curve_to(cr, w * 0.9, horizon - 36, w, horizon - 10, w, horizon);
  cairo_line_to(cr, w, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  VerticalGradient(cr, horizon - 30, h, evening ? Hex(0x7a6a3a) : Hex(0x9ad45a),
                   evening ? Hex(0x3a3a1a) : Hex(0x4a9a2a));
  FillInk(cr, 3);
  // The road into the distance.
  double vx = w * 0.5;
  cairo_new_path(cr);
  cairo_move_to(cr, vx - 14, horizon + 4);
  cairo_line_to(cr, vx + 14, horizon + 4);
  cairo_line_to(cr, w * 0.92, h);
  cairo_line_to(cr, w * 0.08, h);
  cairo_close_path(cr);
  VerticalGradient(cr, horizon, h, evening ? Hex(0x8a8078) : Hex(0xcfcac0),
                   evening ? Hex(0x6a6058) : Hex(0xe8e4da));
  FillInk(cr, 3);
  for (int i = 0; i < 7; ++i) {
    double t0 = std::pow(i / 7.0, 1.8), t1 = std::pow((i + 0.5) / 7.0, 1.8);
    double y0 = horizon + 4 + (h - horizon) * t0, y1 = horizon + 4 + (h - horizon) * t1;
    double w0 = 1 + 8 * t0, w1 = 1 + 8 * t1;
    cairo_new_path(cr);
    cairo_move_to(cr, vx - w0, y0);
    cairo_line_to(cr, vx + w0, y0);
    cairo_line_to(cr, vx + w1, y1);
    cairo_line_to(cr, vx - w1, y1);
    cairo_close_path(cr);
    SetColor(cr, Rgb{1, 1, 1});
    cairo_fill(cr);
  }
}

void TitleLogo(cairo_t* cr, double cx, double cy, double size) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, -0.05);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  const char* title = "BUMPER DASH";
  cairo_text_extents_t ext;
  cairo_text_extents(cr, title, &ext);
  double x = -ext.width / 2 - ext.x_bearing, y = -ext.height / 2 - ext.y_bearing;
  // Speed streaks trailing from the first letter.
  for (int i = 0; i < 3; ++i) {
    double len = size * (1.1 - 0.25 * i);
    cairo_new_path(cr);
    RoundRect(cr, -ext.width / 2 - len - size * 0.15 + i * size * 0.2, -size * 0.42 + i * size * 0.3, len,
              size * 0.14, size * 0.07);
    FillInk(cr, Hex(0xffffff), size * 0.05);
  }
  // Drop shadow, thick ink outline, then a sunny gradient fill with a shine.
  cairo_new_path(cr);
  cairo_move_to(cr, x + size * 0.06, y + size * 0.08);
  cairo_text_path(cr, title);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, size * 0.22);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, title);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, size * 0.16);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, ext.y_bearing + y, 0, y);
  cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.97, 0.55);
  cairo_pattern_add_color_stop_rgb(p, 0.5, 1.0, 0.78, 0.13);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.93, 0.33, 0.1);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace bd::art
