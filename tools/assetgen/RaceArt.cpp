// Pictures of the race: the road, the cars, the obstacles, the chasm, the
// fireballs and explosions, the pickups and the head-up display icons.

#include <cmath>
#include <cstddef>
#include <numbers>

#include "Art.h"
#include "Lava.h"
#include "Noise.h"
#include "assets/AssetNames.h"

namespace bd::art {

namespace {

constexpr double kPi = std::numbers::pi;

void Circle(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

void Ellipse(cairo_t* cr, double x, double y, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
}

// A closed blob through n points at radius r(angle) around (cx, cy).
void Blob(cairo_t* cr, double cx, double cy, double rx, double ry, int n, Dice& dice, double wobble) {
  std::vector<std::pair<double, double>> pts;
  for (int i = 0; i < n; ++i) {
    double a = 2 * kPi * i / n;
    double k = 1 + dice.Range(-wobble, wobble);
    pts.emplace_back(cx + std::cos(a) * rx * k, cy + std::sin(a) * ry * k);
  }
  cairo_new_sub_path(cr);
  for (int i = 0; i < n; ++i) {
    auto [xa, ya] = pts[i];
    auto [xb, yb] = pts[(i + 1) % n];
    double mx = (xa + xb) / 2, my = (ya + yb) / 2;
    if (i == 0) {
      auto [xp, yp] = pts[n - 1];
      cairo_move_to(cr, (xp + xa) / 2, (yp + ya) / 2);
    }
    cairo_curve_to(cr, xa, ya, xa, ya, mx, my);
  }
  cairo_close_path(cr);
}

// A sparkle: a four-pointed white star, used as the glint on pickups.
void Sparkle(cairo_t* cr, double x, double y, double s) {
  cairo_new_path(cr);
  StarPath(cr, x, y, s, s * 0.25, 4, 0);
  SetColor(cr, Rgb{1, 1, 1});
  cairo_fill(cr);
}

// Where the glint of frame i of 4 sits on a 40 x 40 pickup.
void Glint(cairo_t* cr, int i, double size) {
  static const double gx[] = {0.25, 0.7, 0.75, 0.3}, gy[] = {0.28, 0.25, 0.7, 0.72};
  static const double gs[] = {0.16, 0.1, 0.14, 0.08};
  Sparkle(cr, gx[i] * size, gy[i] * size, gs[i] * size);
}

// ---------------------------------------------------------------- road

void Brick(cairo_t* cr, double x, double y, double w, double h, double angle, Rgb c) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_new_path(cr);
  RoundRect(cr, -w / 2, -h / 2, w, h, 1.5);
  VerticalGradient(cr, -h / 2, h / 2, Lighter(c, 0.2), Darker(c, 0.15));
  FillInk(cr, 1.4);
  cairo_restore(cr);
}

void Stone(cairo_t* cr, double x, double y, double r, Dice& dice, Rgb c) {
  cairo_new_path(cr);
  Blob(cr, x, y, r, r * 0.8, 7, dice, 0.25);
  RadialGradient(cr, x - r * 0.3, y - r * 0.3, r * 1.3, Lighter(c, 0.35), Darker(c, 0.2));
  FillInk(cr, 1.3);
}

void Tuft(cairo_t* cr, double x, double y, double s) {
  SetColor(cr, Hex(0x5d9a2a));
  cairo_set_line_width(cr, 1.6);
  for (int i = -2; i <= 2; ++i) {
    cairo_move_to(cr, x + i * s * 0.15, y);
    cairo_line_to(cr, x + i * s * 0.35, y - s * (0.8 + 0.1 * (i % 2)));
  }
  cairo_stroke(cr);
}

Raster Background() {
  const int W = 800, H = 200;
  Canvas c(W, H);
  cairo_t* cr = c.cr();
  // Concrete with a faint speckle, computed per pixel so it tiles up and down.
  {
    cairo_surface_flush(c.surface());
    unsigned char* data = cairo_image_surface_get_data(c.surface());
    int stride = cairo_image_surface_get_stride(c.surface());
    Noise grit(5, 80, 20), sand(9, 16, 4);
    for (int y = 0; y < H; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
      for (int x = 0; x < W; ++x) {
        bool shoulder = x < 92 || x >= 708;
        double n = shoulder ? sand.Fractal(x / 50.0, y / 50.0, 3) : grit.Fractal(x / 10.0, y / 10.0, 2);
        Rgb base = shoulder ? Hex(0xe9d9a6) : Hex(0xdedad0);
        Rgb col = Mix(Darker(base, 0.07), Lighter(base, 0.12), n);
        auto ch = [](double v) { return static_cast<uint32_t>(std::lround(v * 255)); };
        row[x] = 0xFF000000u | (ch(col.r) << 16) | (ch(col.g) << 8) | ch(col.b);
      }
    }
    cairo_surface_mark_dirty(c.surface());
  }
  // A few cracks on the concrete. No joints across the road: the tile repeats
  // every 200 rows, and any line across it shows as a seam while driving.
  SetColor(cr, Hex(0x8f8a7e), 0.8);
  cairo_set_line_width(cr, 1.1);
  const double cracks[][6] = {{160, 30, 175, 48, 168, 70},
                              {470, 120, 488, 131, 505, 128},
                              {620, 60, 610, 79, 628, 95},
                              {320, 150, 340, 163, 333, 182}};
  for (const auto& k : cracks) {
    cairo_move_to(cr, k[0], k[1]);
    cairo_line_to(cr, k[2], k[3]);
    cairo_line_to(cr, k[4], k[5]);
  }
  cairo_stroke(cr);
  // Kerbs: pale stone blocks between road and shoulder, kept light and low in
  // contrast because the head-up texts run across them.
  for (int side = 0; side < 2; ++side) {
    double x = side == 0 ? 90 : 700;
    for (int i = 0; i < 8; ++i) {
      cairo_new_path(cr);
      cairo_rectangle(cr, x, i * 25, 10, 25);
      SetColor(cr, i % 2 ? Hex(0xf2efe8) : Hex(0xe3ded3));
      cairo_fill(cr);
    }
    for (int i = 0; i < 8; ++i) {
      cairo_move_to(cr, x, i * 25 + 0.5);
      cairo_line_to(cr, x + 10, i * 25 + 0.5);
    }
    cairo_move_to(cr, x + 0.5, 0);
    cairo_line_to(cr, x + 0.5, H);
    cairo_move_to(cr, x + 9.5, 0);
    cairo_line_to(cr, x + 9.5, H);
    SetColor(cr, Hex(0xb3ac9e));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // Edge lines (yellow) and lane dashes (white), outlined so they read on light concrete.
  for (double x : {103.0, 689.0}) {
    cairo_new_path(cr);
    cairo_rectangle(cr, x, -2, 8, H + 4);
    FillInk(cr, Hex(0xf5c23a), 1.2, Hex(0x9a7a2a));
  }
  for (double x : {250.0, 400.0, 550.0}) {
    for (double y : {30.0, 130.0}) {
      cairo_new_path(cr);
      RoundRect(cr, x - 4, y, 8, 55, 2);
      FillInk(cr, Hex(0xffffff), 1.2, Hex(0x9d998e));
    }
  }
  // Debris of the ruined town on the outer half of the left shoulder, drawn
  // again one tile up and down so that pieces crossing the tile's edge
  // continue seamlessly. The head-up texts stand from x 60 on the left and
  // across the whole right shoulder, and the road scrolls under them, so
  // those parts of the shoulders stay plain sand.
  for (int copy = -1; copy <= 1; ++copy) {
    cairo_save(cr);
    cairo_translate(cr, 0, copy * H);
    Dice dice(77);
    for (int i = 0; i < 9; ++i) {
      double x = dice.Range(12, 44);
      double y = dice.Range(0, H);
      double kind = dice.Uniform();
      if (kind < 0.35) {
        Brick(cr, x, y, dice.Range(14, 20), 8, dice.Range(-0.8, 0.8), Hex(0xc0563a));
      } else if (kind < 0.7) {
        Stone(cr, x, y, dice.Range(5, 9), dice, Hex(0x9c958a));
      } else {
        Tuft(cr, x, y, dice.Range(8, 12));
      }
    }
    cairo_restore(cr);
  }
  return c.Opaque();
}

// ---------------------------------------------------------------- player and gun

Raster PlayerCar() {
  return Strip(54, 100, 4,
               [](cairo_t* cr, int i, double) { DrawCar(cr, 54, 100, Hex(0xe53b2c), 4, i, false); });
}

Raster Bullet() {
  Canvas c(8, 20);
  cairo_t* cr = c.cr();
  RoundRect(cr, 0.5, 0.5, 7, 19, 3.5);
  VerticalGradient(cr, 0, 20, Hex(0xfff7c0), Hex(0xff7a1a));
  FillInk(cr, 1.0, Hex(0xb03a08));
  RoundRect(cr, 2.5, 2, 3, 11, 1.5);
  SetColor(cr, Rgb{1, 1, 1});
  cairo_fill(cr);
  return c.Keyed();
}

Raster Gun() {
  return Strip(16, 40, 4, [](cairo_t* cr, int i, double) {
    double len = 10 + i * 8.0;  // the barrel slides out frame by frame
    cairo_new_path(cr);
    RoundRect(cr, 6, 39 - 12 - len, 4.5, len + 2, 1.5);
    HorizontalGradient(cr, 6, 10.5, Hex(0x9aa3ad), Hex(0x4a525c));
    FillInk(cr, 1.2);
    cairo_new_path(cr);
    RoundRect(cr, 5, 39 - 12 - len, 6.5, 3, 1);
    FillInk(cr, Hex(0x3a3f46), 1.0);
    cairo_new_path(cr);
    RoundRect(cr, 1.5, 26, 13, 13, 3);
    VerticalGradient(cr, 26, 39, Hex(0x8c949e), Hex(0x3f454d));
    FillInk(cr, 1.4);
    Circle(cr, 8, 32.5, 2.5);
    FillInk(cr, Hex(0xf2c230), 1.0);
  });
}

void FlameTongue(cairo_t* cr, double x, double top, double len, double w, double t) {
  auto tongue = [&](double scale, Rgb c0, Rgb c1) {
    double l = len * scale, hw = w * scale;
    double sway = std::sin(t * 2 * kPi + x) * w * 0.3;
    cairo_new_path(cr);
    cairo_move_to(cr, x - hw, top);
    cairo_curve_to(cr, x - hw, top + l * 0.5, x + sway - hw * 0.3, top + l * 0.8, x + sway, top + l);
    cairo_curve_to(cr, x + sway + hw * 0.3, top + l * 0.8, x + hw, top + l * 0.5, x + hw, top);
    cairo_close_path(cr);
    VerticalGradient(cr, top, top + l, c0, c1);
  };
  tongue(1.0, Hex(0xffd23a), Hex(0xff4a10));
  FillInk(cr, 1.2, Hex(0x9a2a08));
  tongue(0.6, Hex(0xffffff), Hex(0x7ad0ff));
  cairo_fill(cr);
}

Raster NitroFlames() {
  Canvas c(54, 40);
  FlameTongue(c.cr(), 17, 0.5, 38, 7, 0.1);
  FlameTongue(c.cr(), 37, 0.5, 33, 7, 0.6);
  return c.Keyed();
}

// ---------------------------------------------------------------- traffic

const uint32_t kTrafficColors[] = {0x2f7fd8, 0x43b04a, 0xf2b81c, 0xf2f0e8};

// A car standing across the lane: drawn nose up and turned a quarter.
Raster CrossCar(int index, bool burnt) {
  Canvas c(106, 56);
  cairo_t* cr = c.cr();
  cairo_translate(cr, index % 2 == 0 ? 0 : 106, index % 2 == 0 ? 56 : 0);
  cairo_rotate(cr, index % 2 == 0 ? -kPi / 2 : kPi / 2);
  static const int styles[] = {0, 1, 2, 3};
  DrawCar(cr, 56, 106, Hex(kTrafficColors[index]), styles[index], 0, burnt);
  if (burnt) {
    cairo_identity_matrix(cr);
    Puff(cr, 40 + index * 6, 16, 13, Hex(0x4a4a50), 0.8);
    Puff(cr, 55 + index * 6, 10, 9, Hex(0x6a6a70), 0.8);
  }
  return c.Keyed();
}

// ---------------------------------------------------------------- obstacles

Raster Pole() {
  Canvas c(240, 60);
  cairo_t* cr = c.cr();
  // Wires trailing across the road.
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, 30, 14);
  cairo_curve_to(cr, 10, 40, 60, 55, 90, 40);
  cairo_move_to(cr, 30, 46);
  cairo_curve_to(cr, 5, 58, 40, 10, 4, 22);
  cairo_stroke(cr);
  // The pole: a long wooden log, base splintered at the right.
  cairo_new_path(cr);
  cairo_move_to(cr, 12, 23);
  cairo_line_to(cr, 222, 21);
  cairo_line_to(cr, 230, 25);
  cairo_line_to(cr, 226, 29);
  cairo_line_to(cr, 236, 33);
  cairo_line_to(cr, 224, 37);
  cairo_line_to(cr, 228, 40);
  cairo_line_to(cr, 12, 37);
  cairo_close_path(cr);
  VerticalGradient(cr, 21, 40, Hex(0xb98350), Hex(0x6a4120));
  FillInk(cr, 2.0);
  SetColor(cr, Hex(0x5a3618), 0.7);
  cairo_set_line_width(cr, 1);
  for (double x = 40; x < 210; x += 37) {
    cairo_move_to(cr, x, 27);
    cairo_line_to(cr, x + 22, 27.5);
    cairo_move_to(cr, x + 12, 33);
    cairo_line_to(cr, x + 30, 33.5);
  }
  cairo_stroke(cr);
  // Cross-arm with insulators near the top end.
  cairo_new_path(cr);
  RoundRect(cr, 26, 3, 9, 54, 2);
  VerticalGradient(cr, 3, 57, Hex(0xa87444), Hex(0x6a4120));
  FillInk(cr, 1.8);
  for (double y : {8.0, 50.0}) {
    cairo_new_path(cr);
    Circle(cr, 30.5, y, 4.5);
    RadialGradient(cr, 29, y - 1.5, 5, Hex(0xd6f5e0), Hex(0x3f9a6a));
    FillInk(cr, 1.3);
  }
  // A lamp bracket.
  cairo_new_path(cr);
  RoundRect(cr, 120, 12, 22, 8, 3);
  FillInk(cr, Hex(0x7b848e), 1.4);
  return c.Keyed();
}

Raster Tree() {
  Canvas c(300, 100);
  cairo_t* cr = c.cr();
  Dice dice(31);
  // Roots and trunk from the left, crown spreading out to the right.
  cairo_new_path(cr);
  cairo_move_to(cr, 4, 30);
  cairo_line_to(cr, 14, 40);
  cairo_line_to(cr, 2, 48);
  cairo_line_to(cr, 16, 52);
  cairo_line_to(cr, 6, 66);
  cairo_line_to(cr, 24, 60);
  cairo_curve_to(cr, 90, 60, 150, 64, 200, 58);
  cairo_line_to(cr, 200, 42);
  cairo_curve_to(cr, 150, 36, 90, 40, 24, 38);
  cairo_close_path(cr);
  VerticalGradient(cr, 36, 64, Hex(0xa0683a), Hex(0x5a3418));
  FillInk(cr, 2.0);
  SetColor(cr, Hex(0x4a2a12), 0.8);
  cairo_set_line_width(cr, 1.1);
  for (double x = 40; x < 190; x += 22) {
    cairo_move_to(cr, x, 45 + std::sin(x) * 2);
    cairo_line_to(cr, x + 14, 46 + std::sin(x) * 2);
  }
  cairo_stroke(cr);
  // Branches.
  SetColor(cr, Hex(0x6a4120));
  cairo_set_line_width(cr, 5);
  cairo_move_to(cr, 150, 48);
  cairo_line_to(cr, 190, 18);
  cairo_move_to(cr, 165, 54);
  cairo_line_to(cr, 205, 86);
  cairo_stroke(cr);
  // Crown: overlapping leafy clusters, darker underneath.
  struct Leaf {
    double x, y, r;
  };
  std::vector<Leaf> leaves;
  for (int i = 0; i < 16; ++i) {
    leaves.push_back({dice.Range(185, 276), dice.Range(22, 78), dice.Range(15, 22)});
  }
  for (const auto& l : leaves) {
    cairo_new_path(cr);
    Circle(cr, l.x, l.y, l.r);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
  }
  for (const auto& l : leaves) {
    cairo_new_path(cr);
    Circle(cr, l.x, l.y, l.r);
    RadialGradient(cr, l.x - l.r * 0.35, l.y - l.r * 0.4, l.r * 1.3, Hex(0x8fd14a), Hex(0x2f7a24));
    cairo_fill(cr);
  }
  for (int i = 0; i < 10; ++i) {
    cairo_new_path(cr);
    Ellipse(cr, dice.Range(195, 270), dice.Range(25, 75), 3, 2);
    SetColor(cr, Hex(0xc6f07a), 0.8);
    cairo_fill(cr);
  }
  return c.Keyed();
}

Raster Rocks() {
  Canvas c(100, 120);
  cairo_t* cr = c.cr();
  Dice dice(53);
  // A concrete slab with bent rebar, bricks and boulders heaped on it.
  cairo_new_path(cr);
  cairo_move_to(cr, 8, 40);
  cairo_line_to(cr, 70, 28);
  cairo_line_to(cr, 92, 70);
  cairo_line_to(cr, 30, 96);
  cairo_close_path(cr);
  VerticalGradient(cr, 28, 96, Hex(0xc9c4b8), Hex(0x8a857a));
  FillInk(cr, 2.0);
  SetColor(cr, Hex(0x7a4a2a));
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, 66, 30);
  cairo_curve_to(cr, 70, 14, 82, 12, 88, 6);
  cairo_move_to(cr, 86, 62);
  cairo_curve_to(cr, 96, 56, 94, 46, 98, 40);
  cairo_stroke(cr);
  const double stones[][3] = {{25, 95, 14}, {55, 100, 16}, {80, 92, 12}, {18, 60, 11},
                              {40, 68, 13}, {70, 108, 10}, {35, 112, 7}};
  for (const auto& s : stones) Stone(cr, s[0], s[1], s[2], dice, Hex(0xa59c8e));
  Brick(cr, 50, 45, 22, 11, 0.4, Hex(0xc25a3c));
  Brick(cr, 20, 24, 20, 10, -0.6, Hex(0xb8502f));
  Brick(cr, 78, 78, 18, 9, 1.2, Hex(0xc9643f));
  return c.Keyed();
}

Raster Puddle(bool splashed) {
  int w = splashed ? 130 : 140, h = splashed ? 80 : 70;
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  Dice dice(splashed ? 61 : 62);
  auto water = [&](double x, double y, double rx, double ry) {
    cairo_new_path(cr);
    Blob(cr, x, y, rx, ry, 9, dice, 0.18);
    RadialGradient(cr, x - rx * 0.3, y - ry * 0.4, std::max(rx, ry) * 1.3, Hex(0x8fd0f2), Hex(0x2c6fae));
    FillInk(cr, 2.0, Hex(0x3d3328));
    SetColor(cr, Rgb{1, 1, 1}, 0.8);
    cairo_set_line_width(cr, 2);
    cairo_new_path(cr);
    cairo_arc(cr, x - rx * 0.15, y - ry * 0.1, std::min(rx, ry) * 0.55, kPi * 1.1, kPi * 1.5);
    cairo_stroke(cr);
  };
  if (!splashed) {
    water(70, 35, 64, 30);
    cairo_new_path(cr);
    Ellipse(cr, 95, 42, 14, 6);
    SetColor(cr, Hex(0xbfe6fa), 0.7);
    cairo_fill(cr);
  } else {
    water(30, 25, 24, 17);
    water(92, 22, 28, 15);
    water(62, 60, 30, 16);
    water(14, 64, 9, 7);
    water(118, 60, 8, 7);
    for (int i = 0; i < 8; ++i) {
      cairo_new_path(cr);
      Circle(cr, dice.Range(8, 122), dice.Range(6, 76), dice.Range(2, 3.5));
      FillInk(cr, Hex(0x6fb7e6), 1.0, Hex(0x3d3328));
    }
  }
  return c.Keyed();
}

// ---------------------------------------------------------------- chasm

// A band of rock seen from above, between the line `outer`, where solid
// ground ends, and the line `inner`, where the lava starts; both are given as
// y at every 20 pixels across. It shades from sunlit brown at the outer line
// to dark at the lava, is outlined along the lava and lit there by its glow
// (opacity `glow`). The outer line is outlined when `inkOuter`, where the rock
// meets road; where it meets the rock of the next picture it is not, so that
// the two read as one.
void RockBand(cairo_t* cr, const std::vector<double>& outer, const std::vector<double>& inner, bool inkOuter,
              double glow, uint32_t seed) {
  auto line = [cr](const std::vector<double>& ys, double shift) {
    cairo_new_path(cr);
    for (size_t i = 0; i < ys.size(); ++i) cairo_line_to(cr, i * 20.0, ys[i] + shift);
  };
  auto mean = [](const std::vector<double>& ys) {
    double sum = 0;
    for (double y : ys) sum += y;
    return sum / static_cast<double>(ys.size());
  };
  const double from = mean(outer), to = mean(inner), toLava = to > from ? 1 : -1;
  line(outer, 0);
  for (size_t i = inner.size(); i-- > 0;) cairo_line_to(cr, i * 20.0, inner[i]);
  cairo_close_path(cr);
  VerticalGradient(cr, from, to + 8 * toLava, Hex(0x8a6a50), Hex(0x3a2418));
  cairo_fill(cr);
  // Stones set in the rock, the same in every frame.
  Dice dice(seed);
  const double width = 20.0 * static_cast<double>(inner.size() - 1);
  for (size_t n = 0; n < inner.size() / 2; ++n) {
    double x = dice.Range(0, width), t = dice.Range(0.25, 0.6);
    auto i = static_cast<size_t>(x / 20);
    Stone(cr, x, outer[i] + (inner[i] - outer[i]) * t, dice.Range(2.5, 4.5), dice, Hex(0x5a4232));
  }
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2.2);
  if (inkOuter) {
    line(outer, 0);
    cairo_stroke(cr);
  }
  line(inner, 0);
  cairo_stroke(cr);
  line(inner, toLava);
  SetColor(cr, Hex(0xffc040), glow);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

// A jagged line at every 20 pixels across an 800-wide picture: `base` plus
// up to `spread` toward the lava (`sign` +1 downward, -1 upward).
std::vector<double> Jagged(uint32_t seed, double base, double spread, double sign) {
  Dice dice(seed);
  std::vector<double> ys;
  for (int x = 0; x <= 800; x += 20) ys.push_back(base + sign * dice.Range(0, spread));
  return ys;
}

// How strongly the lava lights the rock in frame f of 4.
double GlowOf(int f) { return 0.55 + 0.25 * std::sin(f * kPi / 2); }

// The chasm's leading edge: broken road on top, a rocky lip, lava below, and
// a rocky rim along the bottom edge. The first lava piece below starts 10
// rows lower, so the road shows as a strip between the two; the rim here and
// the matching one on top of the piece make it a ledge of road between
// rocky drops rather than a gap in the lava.
Raster ChasmEdge() {
  const int W = 800, H = 140, F = 4;
  Canvas c(W, H * F);
  cairo_t* cr = c.cr();
  const std::vector<double> edge = Jagged(91, 16, 22, 1);
  std::vector<double> lip;
  for (size_t i = 0; i < edge.size(); ++i) lip.push_back(edge[i] + 12 + 6 * std::sin(i * 1.7));
  const std::vector<double> rim = Jagged(92, H - 9, 12, -1), bottom(rim.size(), H);
  for (int f = 0; f < F; ++f) {
    int y0 = f * H;
    PaintLava(c.surface(), 0, y0, W, H, 150, static_cast<double>(f) / F);
    cairo_save(cr);
    cairo_translate(cr, 0, y0);
    cairo_rectangle(cr, 0, 0, W, H);
    cairo_clip(cr);
    // Everything above the jagged edge is cut away (becomes transparent).
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    for (size_t i = 0; i < edge.size(); ++i) cairo_line_to(cr, i * 20.0, edge[i]);
    cairo_line_to(cr, W, 0);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    RockBand(cr, edge, lip, true, GlowOf(f), 95);
    // Loose chunks falling in, different in every frame.
    Dice chunks(100 + static_cast<uint32_t>(f));
    for (int i = 0; i < 7; ++i) {
      double x = chunks.Range(20, 780);
      double y = edge[static_cast<size_t>(x / 20)] + 22 + chunks.Range(0, 60);
      Stone(cr, x, y, chunks.Range(3, 6), chunks, Hex(0x4a3428));
    }
    RockBand(cr, bottom, rim, true, GlowOf(f), 96);
    cairo_restore(cr);
  }
  return c.Keyed();
}

// The lava body below the edge, stacked up to three times. Rock runs along
// its top (the far side of the ledge under the edge) and its bottom, so that
// where two pieces meet their rims join into one rocky rib.
Raster ChasmBody() {
  const int W = 800, H = 150, F = 4;
  Canvas c(W, H * F);
  for (int f = 0; f < F; ++f) PaintLava(c.surface(), 0, f * H, W, H, H, static_cast<double>(f) / F);
  // Bubbles that swell and burst over the four frames, in the open lava.
  cairo_t* cr = c.cr();
  Dice dice(17);
  for (int b = 0; b < 10; ++b) {
    double x = dice.Range(30, 770), y = dice.Range(36, 112);
    int born = b % 4;
    for (int f = 0; f < F; ++f) {
      int age = (f - born + F) % F;
      double r = 3 + age * 3.0;
      cairo_new_path(cr);
      Circle(cr, x, f * H + y, r);
      if (age < 3) {
        RadialGradient(cr, x - r * 0.3, f * H + y - r * 0.3, r, Hex(0xfff0a0), Hex(0xe0500e));
        FillInk(cr, 1.2, Hex(0x6a1406));
      } else {
        SetColor(cr, Hex(0xffe070));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
      }
    }
  }
  const std::vector<double> topRim = Jagged(93, 9, 12, 1), bottomRim = Jagged(94, H - 5, 6, -1);
  const std::vector<double> top(topRim.size(), 0.0), bottom(bottomRim.size(), H);
  for (int f = 0; f < F; ++f) {
    cairo_save(cr);
    cairo_translate(cr, 0, f * H);
    cairo_rectangle(cr, 0, 0, W, H);
    cairo_clip(cr);
    RockBand(cr, top, topRim, true, GlowOf(f), 97);
    RockBand(cr, bottom, bottomRim, false, GlowOf(f), 98);
    cairo_restore(cr);
  }
  return c.Keyed();
}

Raster Empty(int w, int h) {
  Canvas c(w, h);
  return c.Keyed();
}

// ---------------------------------------------------------------- fire

Raster Meteor() {
  return Strip(40, 64, 6, [](cairo_t* cr, int i, double t) {
    double wob = std::sin(t * 2 * kPi);
    // Tail: three flame layers streaming down from the rock.
    auto tail = [&](double hw, double len, Rgb c0, Rgb c1, double sway) {
      cairo_new_path(cr);
      cairo_move_to(cr, 20 - hw, 16);
      cairo_curve_to(cr, 20 - hw, 16 + len * 0.45, 20 + sway - hw * 0.5, 16 + len * 0.75, 20 + sway,
                     16 + len);
      cairo_curve_to(cr, 20 + sway + hw * 0.5, 16 + len * 0.75, 20 + hw, 16 + len * 0.45, 20 + hw, 16);
      cairo_arc_negative(cr, 20, 16, hw, 0, kPi);
      cairo_close_path(cr);
      VerticalGradient(cr, 6, 16 + len, c0, c1);
    };
    tail(15, 46 + 2 * wob, Hex(0xffb02a), Hex(0xd8300c), 4 * wob);
    FillInk(cr, 1.6, Hex(0x7a1a06));
    tail(11, 34 - 2 * wob, Hex(0xfff0a0), Hex(0xff7a1a), -3 * wob);
    cairo_fill(cr);
    tail(6, 20 + (i % 2) * 3, Hex(0xffffff), Hex(0xffe070), 2 * wob);
    cairo_fill(cr);
    // The rock itself, tumbling: its craters turn a little in every frame.
    cairo_new_path(cr);
    Circle(cr, 20, 15, 10);
    RadialGradient(cr, 17, 11, 13, Hex(0x9a7a64), Hex(0x3a2a22));
    FillInk(cr, 1.8);
    for (int k = 0; k < 3; ++k) {
      double a = t * 2 * kPi + k * 2.1;
      cairo_new_path(cr);
      Circle(cr, 20 + std::cos(a) * 5, 15 + std::sin(a) * 4, 2.2 - k * 0.4);
      SetColor(cr, Hex(0x2a1c16));
      cairo_fill(cr);
    }
  });
}

Raster MeteorTrail() {
  return Strip(80, 140, 6, [](cairo_t* cr, int i, double) {
    double heat = 1.0 - i / 5.0;  // 1 on the first frame, 0 on the last
    Dice dice(300);
    // The scorched furrow: widest at the crater on top, tapering down.
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 138);
    cairo_curve_to(cr, 30, 100, 14, 50, 16, 26);
    cairo_curve_to(cr, 18, 4, 62, 4, 64, 26);
    cairo_curve_to(cr, 66, 50, 50, 100, 40, 138);
    cairo_close_path(cr);
    RadialGradient(cr, 40, 30, 110, Hex(0x1e1410), Hex(0x5a4636));
    FillInk(cr, 2.0, Hex(0x120c0a));
    // Crater rim.
    cairo_new_path(cr);
    Ellipse(cr, 40, 26, 17, 13);
    RadialGradient(cr, 40, 26, 17, Mix(Hex(0x2a1a12), Hex(0xff8a1a), heat),
                   Mix(Hex(0x3a2a20), Hex(0x8a2a0a), heat));
    FillInk(cr, 2.0, Hex(0x6a5444));
    // Embers glowing along the furrow, fewer and dimmer as it cools.
    for (int k = 0; k < 14; ++k) {
      double y = dice.Range(34, 128);
      double spread = 14 * (1 - (y - 30) / 110);
      double x = 40 + dice.Range(-spread, spread);
      double r = dice.Range(1.5, 3.5);
      if (k > 3 + heat * 10) continue;
      cairo_new_path(cr);
      Circle(cr, x, y, r);
      SetColor(cr, Mix(Hex(0x8a2a0a), Hex(0xffd040), heat));
      cairo_fill(cr);
    }
    // Flames on the hot first frames, smoke later.
    if (heat > 0.5) {
      for (int k = 0; k < 3; ++k) {
        double fx = 30 + k * 10, fy = 26 + (k % 2) * 6;
        double s = 6 * heat + 2;
        cairo_new_path(cr);
        cairo_move_to(cr, fx, fy - s * 1.8);
        cairo_curve_to(cr, fx + s, fy - s * 0.5, fx + s * 0.8, fy + s * 0.6, fx, fy + s * 0.6);
        cairo_curve_to(cr, fx - s * 0.8, fy + s * 0.6, fx - s, fy - s * 0.5, fx, fy - s * 1.8);
        VerticalGradient(cr, fy - s * 1.8, fy + s * 0.6, Hex(0xffe14d), Hex(0xff5a1f));
        FillInk(cr, 1.0, Hex(0x8a2a08));
      }
    } else {
      double rise = (0.5 - heat) * 30;
      Puff(cr, 44, 22 - rise * 0.5, 8 + rise * 0.2, Hex(0x5a5a60), 0.9);
      Puff(cr, 34, 52 - rise * 0.3, 6, Hex(0x6a6a70), 0.85);
    }
  });
}

void Fireball(cairo_t* cr, double cx, double cy, double r, double cool) {
  Dice dice(404);
  for (int k = 0; k < 9; ++k) {
    double a = k * 2 * kPi / 9;
    double pr = r * dice.Range(0.38, 0.5);
    double px = cx + std::cos(a) * r * 0.55, py = cy + std::sin(a) * r * 0.55;
    cairo_new_path(cr);
    Circle(cr, px, py, pr);
    SetColor(cr, Mix(Hex(0x7a1a06), Hex(0x2a2424), cool));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  for (int k = 0; k < 9; ++k) {
    double a = k * 2 * kPi / 9;
    double pr = r * (0.38 + 0.12 * ((k * 5) % 9) / 9.0);
    double px = cx + std::cos(a) * r * 0.55, py = cy + std::sin(a) * r * 0.55;
    cairo_new_path(cr);
    Circle(cr, px, py, pr);
    RadialGradient(cr, px - pr * 0.3, py - pr * 0.3, pr * 1.2, Mix(Hex(0xffa020), Hex(0x8a8480), cool),
                   Mix(Hex(0xd8300c), Hex(0x3a3434), cool));
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  Circle(cr, cx, cy, r * 0.55);
  RadialGradient(cr, cx, cy, r * 0.55, Mix(Hex(0xffffe0), Hex(0xffb040), cool),
                 Mix(Hex(0xffb020), Hex(0x5a4a44), cool), 1, 1);
  cairo_fill(cr);
}

Raster Explosion() {
  return Strip(96, 96, 8, [](cairo_t* cr, int i, double) {
    const double cx = 48, cy = 50;
    if (i == 0) {
      cairo_new_path(cr);
      StarPath(cr, cx, cy, 30, 12, 8, 0.2);
      RadialGradient(cr, cx, cy, 30, Hex(0xffffff), Hex(0xffb020));
      FillInk(cr, 2, Hex(0xb04010));
      return;
    }
    if (i == 7) {
      // Scorch mark left behind, with a last wisp of smoke.
      cairo_new_path(cr);
      Dice dice(7);
      Blob(cr, cx, cy + 8, 30, 22, 10, dice, 0.2);
      RadialGradient(cr, cx, cy + 8, 32, Hex(0x141010), Hex(0x4a3a30));
      FillInk(cr, 1.5, Hex(0x201610));
      Puff(cr, cx + 4, cy - 16, 10, Hex(0x8a8a90), 0.9);
      Puff(cr, cx + 12, cy - 32, 7, Hex(0xa0a0a6), 0.9);
      return;
    }
    static const double radius[] = {0, 26, 34, 40, 40, 36, 30};
    double r = radius[i];
    if (i <= 3) {
      Fireball(cr, cx, cy, r, i == 3 ? 0.25 : 0.0);
    } else {
      // The fire dies into a rising, thinning cloud of smoke with embers inside.
      double lift = (i - 3) * 6.0;
      Rgb smoke = Mix(Hex(0x4a4a52), Hex(0x8a8a92), (i - 4) / 2.0);
      Puff(cr, cx - r * 0.35, cy - lift + 4, r * 0.6, smoke, 1);
      Puff(cr, cx + r * 0.35, cy - lift + 2, r * 0.55, Darker(smoke, 0.1), 1);
      Puff(cr, cx, cy - lift - r * 0.35, r * 0.6, Lighter(smoke, 0.1), 1);
      double core = r * (0.5 - 0.12 * (i - 4));
      cairo_new_path(cr);
      Circle(cr, cx, cy - lift + 4, core);
      RadialGradient(cr, cx, cy - lift + 4, core, Hex(0xffd060), Hex(0xd8400c), 1, 0);
      cairo_fill(cr);
    }
    // Flying sparks and debris.
    if (i <= 4) {
      Dice dice(i * 13u);
      for (int k = 0; k < 8; ++k) {
        double a = dice.Range(0, 2 * kPi), d = r + 2 + i * 2;
        cairo_new_path(cr);
        Circle(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, 2);
        FillInk(cr, Hex(0xffd040), 1.0, Hex(0x7a1a06));
      }
    }
  });
}

// ---------------------------------------------------------------- pickups

void HeartPath(cairo_t* cr, double cx, double cy, double s) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy + s * 0.9);
  cairo_curve_to(cr, cx - s * 1.3, cy, cx - s * 1.05, cy - s * 1.1, cx, cy - s * 0.45);
  cairo_curve_to(cr, cx + s * 1.05, cy - s * 1.1, cx + s * 1.3, cy, cx, cy + s * 0.9);
  cairo_close_path(cr);
}

void Heart(cairo_t* cr, double cx, double cy, double s) {
  HeartPath(cr, cx, cy, s);
  RadialGradient(cr, cx - s * 0.4, cy - s * 0.4, s * 1.6, Hex(0xff8a8a), Hex(0xc8141e));
  FillInk(cr, std::max(1.5, s * 0.12));
  cairo_new_path(cr);
  Ellipse(cr, cx - s * 0.45, cy - s * 0.35, s * 0.2, s * 0.13);
  SetColor(cr, Rgb{1, 1, 1}, 0.9);
  cairo_fill(cr);
}

Raster Life() {
  return Strip(30, 30, 4, [](cairo_t* cr, int i, double) {
    static const double scale[] = {0.82, 0.92, 1.0, 0.92};
    Heart(cr, 15, 15.5, 13 * scale[i]);
  });
}

void MedKit(cairo_t* cr, double s) {
  cairo_new_path(cr);
  RoundRect(cr, s * 0.35, s * 0.1, s * 0.3, s * 0.2, s * 0.06);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, s * 0.07);
  cairo_stroke(cr);
  cairo_new_path(cr);
  RoundRect(cr, s * 0.06, s * 0.22, s * 0.88, s * 0.68, s * 0.12);
  VerticalGradient(cr, s * 0.22, s * 0.9, Hex(0xffffff), Hex(0xc8ccd4));
  FillInk(cr, s * 0.05);
  cairo_new_path(cr);
  cairo_rectangle(cr, s * 0.41, s * 0.34, s * 0.18, s * 0.46);
  cairo_rectangle(cr, s * 0.27, s * 0.48, s * 0.46, s * 0.18);
  SetColor(cr, Hex(0xe0262e));
  cairo_fill(cr);
}

Raster Repair() {
  return Strip(40, 40, 4, [](cairo_t* cr, int i, double) {
    MedKit(cr, 40);
    Glint(cr, i, 40);
  });
}

void Badge(cairo_t* cr, double s, Rgb c) {
  cairo_new_path(cr);
  Circle(cr, s / 2, s / 2, s * 0.46);
  RadialGradient(cr, s * 0.38, s * 0.35, s * 0.6, Lighter(c, 0.45), Darker(c, 0.15));
  FillInk(cr, s * 0.05);
}

void GunIcon(cairo_t* cr, double s) {
  cairo_new_path(cr);
  cairo_move_to(cr, s * 0.18, s * 0.36);
  cairo_line_to(cr, s * 0.84, s * 0.36);
  cairo_line_to(cr, s * 0.84, s * 0.5);
  cairo_line_to(cr, s * 0.5, s * 0.5);
  cairo_line_to(cr, s * 0.44, s * 0.56);
  cairo_line_to(cr, s * 0.46, s * 0.78);
  cairo_line_to(cr, s * 0.28, s * 0.78);
  cairo_line_to(cr, s * 0.26, s * 0.5);
  cairo_line_to(cr, s * 0.18, s * 0.5);
  cairo_close_path(cr);
  VerticalGradient(cr, s * 0.36, s * 0.78, Hex(0x9aa4b0), Hex(0x3c434c));
  FillInk(cr, s * 0.045);
}

Raster Guns() {
  return Strip(40, 40, 4, [](cairo_t* cr, int i, double) {
    Badge(cr, 40, Hex(0xf5b42a));
    GunIcon(cr, 40);
    Glint(cr, i, 40);
  });
}

Raster StopKit() {
  return Strip(40, 40, 4, [](cairo_t* cr, int i, double) {
    auto octagon = [&](double r) {
      cairo_new_path(cr);
      for (int k = 0; k < 8; ++k) {
        double a = kPi / 8 + k * kPi / 4;
        cairo_line_to(cr, 20 + std::cos(a) * r, 20 + std::sin(a) * r);
      }
      cairo_close_path(cr);
    };
    octagon(19);
    FillInk(cr, Hex(0xffffff), 1.6);
    octagon(16);
    static const double glow[] = {0.0, 0.2, 0.35, 0.2};
    RadialGradient(cr, 16, 15, 20, Lighter(Hex(0xe2231a), glow[i]), Hex(0xa8100c));
    cairo_fill(cr);
    Label(cr, "СТОП", 20, 20.5, 10.5, Rgb{1, 1, 1}, kInk, 0);
  });
}

Raster NitroBottle() {
  return Strip(40, 40, 4, [](cairo_t* cr, int i, double) {
    cairo_new_path(cr);
    RoundRect(cr, 15, 2, 10, 7, 2);
    HorizontalGradient(cr, 15, 25, Hex(0xe8ecf0), Hex(0x8a929c));
    FillInk(cr, 1.4);
    cairo_new_path(cr);
    RoundRect(cr, 9, 8, 22, 30, 7);
    HorizontalGradient(cr, 9, 31, Hex(0x6ab4ff), Hex(0x1a4aa8));
    FillInk(cr, 1.8);
    cairo_new_path(cr);
    cairo_rectangle(cr, 9.5, 17, 21, 11);
    SetColor(cr, Hex(0xf4f4f0));
    cairo_fill(cr);
    Label(cr, "NOS", 20, 22.5, 8, Hex(0xe0262e), kInk, 0);
    Glint(cr, i, 40);
  });
}

Raster Coin() {
  return Strip(40, 40, 4, [](cairo_t* cr, int i, double) {
    static const double squeeze[] = {1.0, 0.55, 0.15, 0.55};
    double sx = squeeze[i];
    cairo_save(cr);
    cairo_translate(cr, 20, 20);
    cairo_scale(cr, sx, 1);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 17.5, 0, 2 * kPi);
    cairo_restore(cr);
    RadialGradient(cr, 15, 14, 22, Hex(0xfff2a0), Hex(0xd89a10));
    FillInk(cr, 1.8);
    if (sx > 0.3) {
      cairo_save(cr);
      cairo_translate(cr, 20, 20);
      cairo_scale(cr, sx, 1);
      StarPath(cr, 0, 1, 11, 4.6, 5, 0);
      cairo_restore(cr);
      SetColor(cr, Hex(0xfff8d0));
      cairo_fill_preserve(cr);
      SetColor(cr, Hex(0xa06a08));
      cairo_set_line_width(cr, 1.1);
      cairo_stroke(cr);
    }
  });
}

// ---------------------------------------------------------------- head-up display

Raster HudHealth() {
  Canvas c(70, 70);
  cairo_t* cr = c.cr();
  Heart(cr, 35, 36, 30);
  // A pulse line across the heart.
  SetColor(cr, Rgb{1, 1, 1});
  cairo_set_line_width(cr, 3.5);
  cairo_move_to(cr, 14, 34);
  cairo_line_to(cr, 26, 34);
  cairo_line_to(cr, 31, 22);
  cairo_line_to(cr, 38, 46);
  cairo_line_to(cr, 43, 34);
  cairo_line_to(cr, 56, 34);
  cairo_stroke(cr);
  return c.Keyed();
}

Raster HudSpeed() {
  Canvas c(60, 60);
  cairo_t* cr = c.cr();
  Circle(cr, 30, 31, 27);
  RadialGradient(cr, 24, 22, 36, Hex(0xffffff), Hex(0xc8d0da));
  FillInk(cr, 3);
  // Coloured arc from green to red.
  const double a0 = kPi * 0.75, a1 = kPi * 2.25;
  for (int k = 0; k < 3; ++k) {
    static const uint32_t cols[] = {0x3cb043, 0xf2c12e, 0xe0302a};
    cairo_new_path(cr);
    cairo_arc(cr, 30, 31, 21, a0 + (a1 - a0) * k / 3, a0 + (a1 - a0) * (k + 1) / 3);
    SetColor(cr, Hex(cols[k]));
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
  }
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  for (int k = 0; k <= 8; ++k) {
    double a = a0 + (a1 - a0) * k / 8;
    cairo_move_to(cr, 30 + std::cos(a) * 14, 31 + std::sin(a) * 14);
    cairo_line_to(cr, 30 + std::cos(a) * 18, 31 + std::sin(a) * 18);
  }
  cairo_stroke(cr);
  double needle = a0 + (a1 - a0) * 0.7;
  cairo_set_line_width(cr, 3);
  SetColor(cr, Hex(0xd01a1a));
  cairo_move_to(cr, 30, 31);
  cairo_line_to(cr, 30 + std::cos(needle) * 20, 31 + std::sin(needle) * 20);
  cairo_stroke(cr);
  cairo_new_path(cr);
  Circle(cr, 30, 31, 4);
  FillInk(cr, kInk, 1);
  return c.Keyed();
}

Raster HudLives() {
  Canvas c(60, 60);
  cairo_t* cr = c.cr();
  Circle(cr, 30, 30, 27);
  RadialGradient(cr, 22, 20, 36, Hex(0xfff3a0), Hex(0xf0a91c));
  FillInk(cr, 3);
  cairo_save(cr);
  cairo_translate(cr, 17, 4);
  DrawCar(cr, 27, 52, Hex(0xe53b2c), 4, 0, false);
  cairo_restore(cr);
  return c.Keyed();
}

Raster HudTown() {
  Canvas c(70, 60);
  cairo_t* cr = c.cr();
  // Post under the sign.
  cairo_new_path(cr);
  cairo_rectangle(cr, 32, 40, 6, 19);
  FillInk(cr, Hex(0x9aa0a8), 1.5);
  cairo_new_path(cr);
  RoundRect(cr, 2, 2, 66, 42, 5);
  FillInk(cr, Hex(0x2a8a4a), 3);
  cairo_new_path(cr);
  RoundRect(cr, 6, 6, 58, 34, 3);
  SetColor(cr, Rgb{1, 1, 1});
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Skyline of the town ahead.
  cairo_new_path(cr);
  const double blocks[][4] = {
      {12, 22, 8, 14}, {21, 14, 9, 22}, {31, 19, 8, 17}, {40, 10, 10, 26}, {51, 20, 8, 16}};
  for (const auto& b : blocks) cairo_rectangle(cr, b[0], b[1], b[2], b[3]);
  SetColor(cr, Rgb{1, 1, 1});
  cairo_fill(cr);
  SetColor(cr, Hex(0x2a8a4a));
  for (const auto& b : blocks)
    for (double wy = b[1] + 3; wy < b[1] + b[3] - 3; wy += 5) cairo_rectangle(cr, b[0] + 2.5, wy, 3, 2.5);
  cairo_fill(cr);
  return c.Keyed();
}

ArtItem Item(TPictureName name, Raster raster, int pw, int ph, Encoding enc,
             KeyStyle key = KeyStyle::Identifier) {
  ArtItem it;
  it.name = std::string(name.Text());
  it.pic = std::move(raster);
  it.patternWidth = pw;
  it.patternHeight = ph;
  it.encoding = enc;
  it.key = key;
  return it;
}

}  // namespace

std::vector<ArtItem> MakeRaceArt() {
  std::vector<ArtItem> out;
  out.push_back(Item(pic::Road, Background(), 0, 0, Encoding::Dib24, KeyStyle::None));
  out.push_back(Item(pic::PlayerCar, PlayerCar(), 54, 100, Encoding::Dib32));
  out.push_back(Item(pic::Bullet, Bullet(), 0, 0, Encoding::Dib8));
  out.push_back(Item(pic::Gun, Gun(), 16, 40, Encoding::Dib8Rle));
  out.push_back(Item(pic::NitroFlames, NitroFlames(), 0, 0, Encoding::Dib8Rle));
  const TPictureName intact[] = {pic::IntactCar1, pic::IntactCar2, pic::IntactCar3, pic::IntactCar4};
  const TPictureName wrecked[] = {pic::WreckedCar1, pic::WreckedCar2, pic::WreckedCar3, pic::WreckedCar4};
  for (int i = 0; i < 4; ++i) {
    out.push_back(Item(intact[i], CrossCar(i, false), 0, 0, i % 2 ? Encoding::Dib8Rle : Encoding::Dib32));
    out.push_back(Item(wrecked[i], CrossCar(i, true), 0, 0, i % 2 ? Encoding::Dib24 : Encoding::Dib8));
  }
  out.push_back(Item(pic::Pole, Pole(), 0, 0, Encoding::BitmapFile, KeyStyle::Number));
  out.push_back(Item(pic::Tree, Tree(), 0, 0, Encoding::Dib24));
  out.push_back(Item(pic::Rocks, Rocks(), 0, 0, Encoding::Dib8TopDown));
  out.push_back(Item(pic::Puddle, Puddle(false), 0, 0, Encoding::Dib8Rle));
  out.push_back(Item(pic::PuddleSplashed, Puddle(true), 0, 0, Encoding::Dib8Rle));
  out.push_back(Item(pic::Chasm, ChasmEdge(), 800, 140, Encoding::Dib24));
  out.push_back(Item(pic::ChasmLava, ChasmBody(), 800, 150, Encoding::Dib8));
  out.push_back(Item(pic::BandBelow, Empty(800, 50), 0, 0, Encoding::Dib8Rle, KeyStyle::Number));
  out.push_back(Item(pic::BandAbove, Empty(800, 50), 0, 0, Encoding::Dib8Rle, KeyStyle::Number));
  out.push_back(Item(pic::Meteorite, Meteor(), 40, 64, Encoding::Dib32));
  out.push_back(Item(pic::MeteoriteTrail, MeteorTrail(), 80, 140, Encoding::Dib24));
  out.push_back(Item(pic::Explosion, Explosion(), 96, 96, Encoding::Dib24));
  out.push_back(Item(pic::Life, Life(), 30, 30, Encoding::Dib8Rle));
  out.push_back(Item(pic::Health, Repair(), 40, 40, Encoding::Dib8Rle));
  out.push_back(Item(pic::Guns, Guns(), 40, 40, Encoding::Dib8Rle, KeyStyle::Number));
  out.push_back(Item(pic::StopMe, StopKit(), 40, 40, Encoding::Dib8Rle));
  out.push_back(Item(pic::Nitro, NitroBottle(), 40, 40, Encoding::Dib8Rle));
  out.push_back(Item(pic::Bonus, Coin(), 40, 40, Encoding::Dib8Rle));
  out.push_back(Item(pic::HudHealth, HudHealth(), 0, 0, Encoding::Dib32));
  out.push_back(Item(pic::HudSpeed, HudSpeed(), 0, 0, Encoding::Dib24));
  out.push_back(Item(pic::HudLives, HudLives(), 0, 0, Encoding::Dib24));
  out.push_back(Item(pic::TownSign, HudTown(), 0, 0, Encoding::BitmapFile));
  return out;
}

}  // namespace bd::art
