// Cars seen from above: the player's car with its damage stages, the parked
// traffic and the burnt wrecks all come from one drawing so they match.

#include <cmath>
#include <numbers>

#include "Art.h"

namespace bd::art {

void Puff(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha) {
  for (int i = 0; i < 5; ++i) {
    double a = i * 2.0 * std::numbers::pi / 5 + 0.4;
    cairo_new_path(cr);
    cairo_arc(cr, cx + std::cos(a) * r * 0.45, cy + std::sin(a) * r * 0.45, r * 0.55, 0,
              2 * std::numbers::pi);
    RadialGradient(cr, cx - r * 0.2, cy - r * 0.3, r * 1.2, Lighter(c, 0.35), c, alpha, alpha);
    cairo_fill(cr);
  }
}

namespace {

void Wheel(cairo_t* cr, double x, double y, double w, double h, bool burnt) {
  RoundRect(cr, x, y, w, h, w * 0.35);
  SetColor(cr, burnt ? Hex(0x3a3430) : Hex(0x2b2b30));
  FillInk(cr, 1.2);
  if (!burnt) {
    cairo_set_line_width(cr, 1);
    SetColor(cr, Hex(0x6a6a75));
    for (double yy = y + 3; yy < y + h - 2; yy += 3.5) {
      cairo_move_to(cr, x + 1.5, yy);
      cairo_line_to(cr, x + w - 1.5, yy);
    }
    cairo_stroke(cr);
  }
}

// The outline of the body: a rounded box, slightly narrower at the nose.
void BodyPath(cairo_t* cr, double x0, double y0, double x1, double y1, double rf, double rr) {
  double taper = (x1 - x0) * 0.06;
  cairo_new_path(cr);
  cairo_move_to(cr, x0 + taper + rf, y0);
  cairo_line_to(cr, x1 - taper - rf, y0);
  cairo_curve_to(cr, x1 - taper, y0, x1, y0 + rf * 0.6, x1, y0 + rf * 1.4);
  cairo_line_to(cr, x1, y1 - rr);
  cairo_curve_to(cr, x1, y1, x1 - rr * 0.3, y1, x1 - rr, y1);
  cairo_line_to(cr, x0 + rr, y1);
  cairo_curve_to(cr, x0 + rr * 0.3, y1, x0, y1, x0, y1 - rr);
  cairo_line_to(cr, x0, y0 + rf * 1.4);
  cairo_curve_to(cr, x0, y0 + rf * 0.6, x0 + taper, y0, x0 + taper + rf, y0);
  cairo_close_path(cr);
}

// A window pane: glass blue with a diagonal sheen, or sooty black when burnt.
void Glass(cairo_t* cr, bool burnt, double x0, double y0, double x1, double y1, bool cracked) {
  if (burnt) {
    SetColor(cr, Hex(0x1c1a1a));
  } else {
    VerticalGradient(cr, y0, y1, Hex(0x9fd8f5), Hex(0x3c78b0));
  }
  FillInk(cr, 1.3);
  if (!burnt) {
    SetColor(cr, Rgb{1, 1, 1}, 0.55);
    cairo_set_line_width(cr, 2);
    double dx = (x1 - x0) * 0.25;
    cairo_move_to(cr, x0 + dx, y1 - 1.5);
    cairo_line_to(cr, x0 + dx * 1.8, y0 + 1.5);
    cairo_stroke(cr);
  }
  if (cracked) {
    double cx = x0 + (x1 - x0) * 0.62, cy = y0 + (y1 - y0) * 0.45;
    SetColor(cr, burnt ? Hex(0x8a8070) : Rgb{1, 1, 1}, 0.9);
    cairo_set_line_width(cr, 0.9);
    for (int i = 0; i < 6; ++i) {
      double a = i * 1.05 + 0.3;
      double len = (x1 - x0) * (0.2 + 0.06 * (i % 3));
      cairo_move_to(cr, cx, cy);
      cairo_line_to(cr, cx + std::cos(a) * len, cy + std::sin(a) * len * 0.6);
    }
    cairo_stroke(cr);
  }
}

// A pane drawn as a trapezoid between two rows: wider at the row nearer the body's middle.
void Pane(cairo_t* cr, double cx, double y0, double y1, double halfTop, double halfBottom, bool burnt,
          bool cracked) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx - halfTop, y0);
  cairo_line_to(cr, cx + halfTop, y0);
  cairo_line_to(cr, cx + halfBottom, y1);
  cairo_line_to(cr, cx - halfBottom, y1);
  cairo_close_path(cr);
  Glass(cr, burnt, cx - std::max(halfTop, halfBottom), y0, cx + std::max(halfTop, halfBottom), y1, cracked);
}

void Dent(cairo_t* cr, double x, double y, double r) {
  cairo_new_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * std::numbers::pi);
  RadialGradient(cr, x + r * 0.2, y + r * 0.2, r, Rgb{0, 0, 0}, Rgb{0, 0, 0}, 0.45, 0);
  cairo_fill(cr);
  SetColor(cr, kInk, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x - r * 0.7, y - r * 0.2);
  cairo_line_to(cr, x - r * 0.1, y + r * 0.15);
  cairo_line_to(cr, x + r * 0.6, y - r * 0.3);
  cairo_stroke(cr);
}

void Flame(cairo_t* cr, double x, double y, double s) {
  cairo_new_path(cr);
  cairo_move_to(cr, x, y - s * 1.6);
  cairo_curve_to(cr, x + s * 0.9, y - s * 0.6, x + s * 0.8, y + s * 0.6, x, y + s * 0.6);
  cairo_curve_to(cr, x - s * 0.8, y + s * 0.6, x - s * 0.9, y - s * 0.6, x, y - s * 1.6);
  cairo_close_path(cr);
  VerticalGradient(cr, y - s * 1.6, y + s * 0.6, Hex(0xffe14d), Hex(0xff5a1f));
  FillInk(cr, 1.0, Hex(0x8a2a0a));
}

}  // namespace

void DrawCar(cairo_t* cr, double w, double h, Rgb body, int style, int damage, bool burnt) {
  cairo_save(cr);
  Rgb paint = burnt ? Mix(body, Hex(0x2e2824), 0.72) : body;
  double wheelW = w * 0.16, wheelH = h * 0.17;
  // Wheels first, half hidden under the body.
  bool lostWheel = burnt && style % 2 == 1;
  Wheel(cr, 0.5, h * 0.15, wheelW, wheelH, burnt);
  Wheel(cr, w - wheelW - 0.5, h * 0.15, wheelW, wheelH, burnt);
  if (!lostWheel) Wheel(cr, 0.5, h * 0.70, wheelW, wheelH, burnt);
  Wheel(cr, w - wheelW - 0.5, h * 0.70, wheelW, wheelH, burnt);

  double x0 = w * 0.09, x1 = w * 0.91, y0 = 1.5, y1 = h - 1.5;
  double bw = x1 - x0, cx = w / 2;
  // Mirrors stick out beside the windscreen.
  for (int side = 0; side < 2; ++side) {
    double mx = side == 0 ? x0 - w * 0.05 : x1 + w * 0.05;
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, mx, h * 0.34);
    cairo_scale(cr, w * 0.07, h * 0.03);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    FillInk(cr, paint, 1.0);
  }
  BodyPath(cr, x0, y0, x1, y1, bw * 0.28, bw * 0.2);
  cairo_pattern_t* shade = cairo_pattern_create_linear(x0, 0, x1, 0);
  Rgb edge = Darker(paint, 0.35), mid = Lighter(paint, 0.18);
  cairo_pattern_add_color_stop_rgb(shade, 0, edge.r, edge.g, edge.b);
  cairo_pattern_add_color_stop_rgb(shade, 0.35, mid.r, mid.g, mid.b);
  cairo_pattern_add_color_stop_rgb(shade, 0.65, paint.r, paint.g, paint.b);
  cairo_pattern_add_color_stop_rgb(shade, 1, edge.r, edge.g, edge.b);
  cairo_set_source(cr, shade);
  cairo_pattern_destroy(shade);
  FillInk(cr, std::max(1.6, w * 0.045));

  // Lights: headlights at the nose, tail lights at the back.
  for (int side = 0; side < 2; ++side) {
    double lx = side == 0 ? x0 + bw * 0.2 : x1 - bw * 0.2;
    bool broken = burnt || (damage >= 2 && side == 1);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, lx, y0 + h * 0.035);
    cairo_scale(cr, bw * 0.12, h * 0.022);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    FillInk(cr, broken ? Hex(0x3a3a3a) : Hex(0xfff4b0), 1.0);
    cairo_new_path(cr);
    RoundRect(cr, lx - bw * 0.12, y1 - h * 0.035, bw * 0.24, h * 0.025, 1.5);
    FillInk(cr, burnt ? Hex(0x402020) : Hex(0xe8322a), 1.0);
  }

  // Cabin: windscreen, roof and rear window, by style.
  double inset = bw * 0.14;
  double roofX0 = x0 + inset, roofX1 = x1 - inset;
  auto roof = [&](double ry0, double ry1) {
    cairo_new_path(cr);
    RoundRect(cr, roofX0, ry0, roofX1 - roofX0, ry1 - ry0, bw * 0.1);
    HorizontalGradient(cr, roofX0, roofX1, Lighter(paint, 0.3), paint);
    FillInk(cr, 1.3);
  };
  bool crack = burnt || damage >= 1;
  double half = (roofX1 - roofX0) / 2;
  switch (style) {
    case 1:  // hatchback: long roof, small rear pane at the very back
      Pane(cr, cx, h * 0.27, h * 0.40, half * 0.8, half, burnt, crack);
      roof(h * 0.40, h * 0.80);
      Pane(cr, cx, h * 0.80, h * 0.90, half, half * 0.8, burnt, false);
      break;
    case 2:  // pick-up: short cab, open load bed with ribs
      Pane(cr, cx, h * 0.25, h * 0.36, half * 0.8, half, burnt, crack);
      roof(h * 0.36, h * 0.52);
      Pane(cr, cx, h * 0.52, h * 0.57, half, half, burnt, false);
      cairo_new_path(cr);
      RoundRect(cr, x0 + bw * 0.1, h * 0.6, bw * 0.8, h * 0.34, 2);
      FillInk(cr, Darker(paint, burnt ? 0.3 : 0.45), 1.2);
      SetColor(cr, Darker(paint, 0.6));
      cairo_set_line_width(cr, 1.2);
      for (int i = 1; i < 4; ++i) {
        double rx = x0 + bw * 0.1 + bw * 0.8 * i / 4;
        cairo_move_to(cr, rx, h * 0.62);
        cairo_line_to(cr, rx, h * 0.92);
      }
      cairo_stroke(cr);
      break;
    case 3:  // van: windscreen near the nose, long flat roof with a rack
      Pane(cr, cx, h * 0.13, h * 0.24, half * 0.85, half * 1.05, burnt, crack);
      roofX0 = x0 + bw * 0.06;
      roofX1 = x1 - bw * 0.06;
      roof(h * 0.25, h * 0.95);
      SetColor(cr, Darker(paint, 0.45));
      cairo_set_line_width(cr, 1.4);
      for (int i = 1; i < 5; ++i) {
        double ry = h * 0.25 + h * 0.7 * i / 5;
        cairo_move_to(cr, roofX0 + 3, ry);
        cairo_line_to(cr, roofX1 - 3, ry);
      }
      cairo_stroke(cr);
      break;
    default:  // saloon and the sports car
      Pane(cr, cx, h * 0.28, h * 0.41, half * 0.8, half, burnt, crack);
      roof(h * 0.41, h * 0.66);
      Pane(cr, cx, h * 0.66, h * 0.76, half, half * 0.8, burnt, false);
      break;
  }
  if (style == 4 && !burnt) {
    // Racing stripes over bonnet, roof and boot, and a rear spoiler.
    SetColor(cr, Rgb{1, 1, 1}, 0.92);
    for (double sx : {cx - bw * 0.09, cx + bw * 0.05}) {
      cairo_rectangle(cr, sx, y0 + h * 0.06, bw * 0.05, h * 0.2);
      cairo_rectangle(cr, sx, h * 0.43, bw * 0.05, h * 0.21);
      cairo_rectangle(cr, sx, h * 0.78, bw * 0.05, h * 0.13);
    }
    cairo_fill(cr);
    cairo_new_path(cr);
    RoundRect(cr, x0 - 1, h * 0.9, bw + 2, h * 0.05, 1.5);
    FillInk(cr, Darker(paint, 0.45), 1.2);
  } else if (style != 3 && !burnt) {
    // Bonnet crease.
    SetColor(cr, Darker(paint, 0.3), 0.8);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, cx, y0 + h * 0.07);
    cairo_line_to(cr, cx, h * 0.24);
    cairo_stroke(cr);
  }

  if (damage >= 1) Dent(cr, x0 + bw * 0.25, h * 0.2, bw * 0.13);
  if (damage >= 2) {
    Dent(cr, x1 - bw * 0.2, h * 0.55, bw * 0.15);
    Dent(cr, x0 + bw * 0.2, h * 0.83, bw * 0.12);
  }
  if (damage >= 3) {
    Dent(cr, cx, h * 0.12, bw * 0.16);
    Puff(cr, cx + bw * 0.12, h * 0.12, bw * 0.26, Hex(0x6b6b70), 0.9);
    Puff(cr, cx - bw * 0.15, h * 0.22, bw * 0.2, Hex(0x55555c), 0.9);
  }
  if (burnt) {
    // Soot, rust and a few flames still licking at the bonnet.
    for (int i = 0; i < 4; ++i) {
      double sx = x0 + bw * (0.2 + 0.2 * i), sy = h * (0.2 + 0.18 * ((i * 3) % 4));
      cairo_new_path(cr);
      cairo_arc(cr, sx, sy, bw * 0.18, 0, 2 * std::numbers::pi);
      RadialGradient(cr, sx, sy, bw * 0.18, i % 2 ? Hex(0x8a4a1c) : Hex(0x0a0808), Rgb{}, 0.8, 0);
      cairo_fill(cr);
    }
    Dent(cr, x0 + bw * 0.3, h * 0.15, bw * 0.16);
    Dent(cr, x1 - bw * 0.25, h * 0.6, bw * 0.17);
    Flame(cr, cx - bw * 0.15, h * 0.12, bw * 0.11);
    Flame(cr, cx + bw * 0.12, h * 0.16, bw * 0.08);
    Puff(cr, cx + bw * 0.05, h * 0.05, bw * 0.22, Hex(0x5a5a60), 0.85);
  }
  cairo_restore(cr);
}

}  // namespace bd::art
