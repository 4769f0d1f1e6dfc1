// Pictures of the menus: backdrops, the logo, the menu items and their
// highlights, the sub-screen panel, dialogs and the mascot.

#include <cmath>
#include <numbers>

#include "Art.h"
#include "Scenery.h"
#include "assets/AssetNames.h"

namespace bd::art {

namespace {

constexpr double kPi = std::numbers::pi;

// The sub-screen panel's mid-tone, one plain colour: its luminance lies
// where black and white texts stand out from it about equally (about 4.6:1
// each).
const Rgb kPanel = Hex(0x5279a2);
const Rgb kCream = Hex(0xfff6dc);

ArtItem Item(TPictureName name, Raster raster, Encoding enc, KeyStyle key = KeyStyle::Identifier) {
  ArtItem it;
  it.name = std::string(name.Text());
  it.pic = std::move(raster);
  it.encoding = enc;
  it.key = key;
  return it;
}

// A pill-shaped button. Normal: deep blue with a white label. Highlighted:
// glowing gold with a dark label, arrows on both sides and a lighter rim.
void ButtonShape(cairo_t* cr, double w, double h, const std::string& label, bool lit, double font) {
  double inset = 3;
  if (lit) {
    // Outer glow ring inside the picture's bounds.
    cairo_new_path(cr);
    RoundRect(cr, 0.5, 0.5, w - 1, h - 1, (h - 1) / 2);
    SetColor(cr, Hex(0xfff2a0));
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  RoundRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, (h - 2 * inset) / 2);
  if (lit) {
    VerticalGradient(cr, inset, h - inset, Hex(0xfff27a), Hex(0xf59a1a));
  } else {
    VerticalGradient(cr, inset, h - inset, Hex(0x4aa2f0), Hex(0x1a4c96));
  }
  FillInk(cr, 2.6);
  // Glossy top half.
  cairo_new_path(cr);
  RoundRect(cr, inset + h * 0.18, inset + 2.5, w - 2 * inset - h * 0.36, (h - 2 * inset) * 0.38,
            (h - 2 * inset) * 0.19);
  SetColor(cr, Rgb{1, 1, 1}, lit ? 0.55 : 0.3);
  cairo_fill(cr);
  if (lit) {
    for (int side = 0; side < 2; ++side) {
      double ax = side == 0 ? h * 0.45 : w - h * 0.45, d = side == 0 ? 1 : -1;
      cairo_new_path(cr);
      cairo_move_to(cr, ax - d * h * 0.1, h / 2 - h * 0.17);
      cairo_line_to(cr, ax + d * h * 0.14, h / 2);
      cairo_line_to(cr, ax - d * h * 0.1, h / 2 + h * 0.17);
      cairo_close_path(cr);
      FillInk(cr, Hex(0xe0321e), 1.5);
    }
    Label(cr, label, w / 2, h / 2 + 1, font * 0.92, kInk, Hex(0xffffff), 3);
  } else {
    Label(cr, label, w / 2, h / 2 + 1, font, Hex(0xffffff), kInk, 3.5);
  }
}

Raster Button(int w, int h, const std::string& label, bool lit, double font) {
  Canvas c(w, h);
  ButtonShape(c.cr(), w, h, label, lit, font);
  return c.Keyed();
}

Raster Splash() {
  Canvas c(800, 600);
  Landscape(c.cr(), 800, 600, 380, false);
  return c.Opaque();
}

Raster Logo() {
  Canvas c(520, 260);
  cairo_t* cr = c.cr();
  // A sunburst stretched wide behind the title.
  cairo_save(cr);
  cairo_translate(cr, 260, 100);
  cairo_scale(cr, 2.1, 1);
  cairo_new_path(cr);
  StarPath(cr, 0, 0, 96, 74, 28, 0);
  cairo_restore(cr);
  RadialGradient(cr, 260, 100, 200, Hex(0xfff2a0), Hex(0xff9a2a));
  FillInk(cr, 4);
  TitleLogo(cr, 266, 98, 50);
  // Loading line.
  cairo_new_path(cr);
  RoundRect(cr, 110, 210, 300, 34, 17);
  FillInk(cr, Hex(0xffffff), 3.5);
  cairo_new_path(cr);
  RoundRect(cr, 116, 216, 190, 22, 11);
  HorizontalGradient(cr, 116, 306, Hex(0x5ad04a), Hex(0x2a9a2a));
  cairo_fill(cr);
  Label(cr, "ЗАГРУЗКА...", 260, 227, 16, kInk, Hex(0xffffff), 3);
  return c.Keyed();
}

Raster MenuBackdrop() {
  Canvas c(800, 600);
  cairo_t* cr = c.cr();
  Landscape(cr, 800, 600, 300, false);
  // Title band at the top.
  TitleLogo(cr, 400, 58, 60);
  // The player's car racing down the road, a wreck and a fireball.
  cairo_save(cr);
  cairo_translate(cr, 215, 440);
  cairo_scale(cr, 1.9, 1.9);
  DrawCar(cr, 54, 100, Hex(0xe53b2c), 4, 0, false);
  cairo_restore(cr);
  // Backing for the menu column.
  cairo_new_path(cr);
  RoundRect(cr, 500, 106, 284, 486, 24);
  SetColor(cr, Hex(0x0e2a4a), 0.45);
  cairo_fill_preserve(cr);
  SetColor(cr, Rgb{1, 1, 1}, 0.8);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  return c.Opaque();
}

Raster Badge(bool active) {
  Canvas c(220, 57);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  RoundRect(cr, 4, 4, 212, 49, 12);
  if (active) {
    VerticalGradient(cr, 4, 53, Hex(0xa8f07a), Hex(0x2fa83a));
  } else {
    VerticalGradient(cr, 4, 53, Hex(0x6ac05a), Hex(0x1f6a2a));
  }
  FillInk(cr, 3);
  cairo_new_path(cr);
  StarPath(cr, 30, 28, 17, 8, 5, active ? 0.3 : 0);
  FillInk(cr, active ? Hex(0xfff27a) : Hex(0xf0c030), 2);
  Label(cr, "ЕЩЁ ИГРЫ", 124, 29, 22, active ? Hex(0xfff6a0) : Hex(0xffffff), kInk, 4);
  if (active) {
    cairo_new_path(cr);
    StarPath(cr, 205, 12, 7, 2, 4, 0);
    SetColor(cr, Rgb{1, 1, 1});
    cairo_fill(cr);
  }
  return c.Keyed();
}

Raster Panel() {
  Canvas c(475, 457);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  RoundRect(cr, 2, 2, 471, 453, 18);
  FillInk(cr, kPanel, 4);
  // Title band: sunny yellow behind the black title.
  cairo_new_path(cr);
  RoundRect(cr, 12, 0, 451, 40, 14);
  VerticalGradient(cr, 0, 40, Hex(0xffe680), Hex(0xf5b42a));
  FillInk(cr, 3);
  // Rivets in the corners.
  for (double x : {18.0, 457.0}) {
    for (double y : {56.0, 392.0}) {
      cairo_new_path(cr);
      cairo_arc(cr, x, y, 3.5, 0, 2 * kPi);
      FillInk(cr, Hex(0xc8d4e0), 1.2);
    }
  }
  return c.Keyed();
}

Raster TextField(int w, int h) {
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  RoundRect(cr, 1, 1, w - 2, h - 2, 5);
  VerticalGradient(cr, 1, h - 1, Hex(0xe8eef4), Hex(0xffffff));
  FillInk(cr, 2.2);
  SetColor(cr, Hex(0x9aa8b8));
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, 5, 4);
  cairo_line_to(cr, w - 5, 4);
  cairo_stroke(cr);
  return c.Keyed();
}

Raster TableHead() {
  Canvas c(430, 28);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  RoundRect(cr, 1, 1, 428, 26, 8);
  VerticalGradient(cr, 1, 27, Hex(0xffe680), Hex(0xf5b42a));
  FillInk(cr, 2.2);
  Text(cr, "№", 43, 20, 15, kInk);
  Text(cr, "ИМЯ", 118, 20, 15, kInk);
  Text(cr, "ОЧКИ", 320, 20, 15, kInk);
  return c.Keyed();
}

Raster TableRow() {
  Canvas c(430, 28);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  RoundRect(cr, 1, 1, 428, 26, 8);
  VerticalGradient(cr, 1, 27, Hex(0xffffff), Hex(0xdde8f2));
  FillInk(cr, 1.8);
  SetColor(cr, Hex(0xa8b8c8));
  cairo_set_line_width(cr, 1.2);
  for (double x : {108.0, 305.0}) {
    cairo_move_to(cr, x, 5);
    cairo_line_to(cr, x, 23);
  }
  cairo_stroke(cr);
  return c.Keyed();
}

void Dialog(cairo_t* cr, double w, double h) {
  cairo_new_path(cr);
  RoundRect(cr, 3, 3, w - 6, h - 6, 22);
  VerticalGradient(cr, 3, h - 3, Hex(0xfffbe8), Hex(0xffe7a8));
  FillInk(cr, 5);
  cairo_new_path(cr);
  RoundRect(cr, 11, 11, w - 22, h - 22, 16);
  SetColor(cr, Hex(0xe0a030));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

// Answer buttons of the confirmation: green YES, red NO; lit ones glow.
void Answer(cairo_t* cr, double x, double y, bool yes, bool lit) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  const double w = 147, h = 57;
  if (lit) {
    cairo_new_path(cr);
    RoundRect(cr, 0.5, 0.5, w - 1, h - 1, 18);
    SetColor(cr, Hex(0xfff2a0));
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  RoundRect(cr, 4, 4, w - 8, h - 8, 15);
  Rgb top = yes ? Hex(0x7ad85a) : Hex(0xff7a5a), bottom = yes ? Hex(0x2a8a2a) : Hex(0xb82a1a);
  if (lit) {
    top = Lighter(top, 0.45);
    bottom = Lighter(bottom, 0.25);
  }
  VerticalGradient(cr, 4, h - 4, top, bottom);
  FillInk(cr, 3);
  cairo_new_path(cr);
  RoundRect(cr, 14, 7, w - 28, 16, 8);
  SetColor(cr, Rgb{1, 1, 1}, lit ? 0.6 : 0.3);
  cairo_fill(cr);
  Label(cr, yes ? "ДА" : "НЕТ", w / 2, h / 2 + 1, lit ? 27 : 25, Rgb{1, 1, 1}, kInk, 4);
  cairo_restore(cr);
}

Raster ExitFrame() {
  Canvas c(440, 260);
  Dialog(c.cr(), 440, 260);
  Answer(c.cr(), 60, 175, true, false);
  Answer(c.cr(), 234, 175, false, false);
  return c.Keyed();
}

Raster AnswerLit(bool yes) {
  Canvas c(147, 57);
  Answer(c.cr(), 0, 0, yes, true);
  return c.Keyed();
}

Raster Question(const std::string& line1, const std::string& line2) {
  Canvas c(424, 120);
  cairo_t* cr = c.cr();
  if (line2.empty()) {
    Label(cr, line1, 212, 62, 34, Hex(0xe0321e), kInk, 5);
  } else {
    Label(cr, line1, 212, 40, 30, Hex(0xe0321e), kInk, 5);
    Label(cr, line2, 212, 86, 30, Hex(0xe0321e), kInk, 5);
  }
  return c.Keyed();
}

void CheckBox(cairo_t* cr, double x, double y) {
  cairo_new_path(cr);
  RoundRect(cr, x, y, 50, 50, 8);
  VerticalGradient(cr, y, y + 50, Hex(0xe8eef4), Hex(0xffffff));
  FillInk(cr, 3);
}

Raster EnterName() {
  Canvas c(440, 290);
  cairo_t* cr = c.cr();
  Dialog(cr, 440, 290);
  Label(cr, "НОВЫЙ РЕКОРД!", 220, 32, 26, Hex(0xe0321e), kInk, 4.5);
  // Light plate behind the score, which the game prints in black.
  cairo_new_path(cr);
  RoundRect(cr, 120, 50, 200, 38, 10);
  FillInk(cr, Hex(0xffffff), 2);
  Label(cr, "ВВЕДИТЕ ВАШЕ ИМЯ:", 220, 124, 17, kInk, kInk, 0);
  // The name field: screen x 213-587, y 312-339 with the panel at (180, 155).
  cairo_new_path(cr);
  RoundRect(cr, 31, 154, 378, 33, 6);
  FillInk(cr, Hex(0xffffff), 2.4);
  CheckBox(cr, 36, 214);
  Text(cr, "Отправить результат", 110, 236, 17, kInk);
  Text(cr, "в таблицу рекордов сайта", 110, 258, 17, kInk);
  return c.Keyed();
}

Raster Tick() {
  Canvas c(83, 61);
  cairo_t* cr = c.cr();
  CheckBox(cr, 16, 5);
  cairo_new_path(cr);
  cairo_move_to(cr, 22, 30);
  cairo_line_to(cr, 36, 48);
  cairo_line_to(cr, 76, 4);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 12);
  cairo_stroke_preserve(cr);
  SetColor(cr, Hex(0x3ac03a));
  cairo_set_line_width(cr, 7);
  cairo_stroke(cr);
  return c.Keyed();
}

Raster GameOver() {
  Canvas c(800, 600);
  cairo_t* cr = c.cr();
  Landscape(cr, 800, 600, 420, true);
  // A burnt-out wreck by the road.
  cairo_save(cr);
  cairo_translate(cr, 560, 560);
  cairo_rotate(cr, -kPi / 2 - 0.3);
  DrawCar(cr, 60, 110, Hex(0xe53b2c), 4, 3, true);
  cairo_restore(cr);
  // Title.
  Label(cr, "ИГРА ОКОНЧЕНА", 400, 90, 64, Hex(0xffd23a), kInk, 9);
  // Two banks of sunlit cloud across the middle: the score (y 210) and the
  // name (y 310) are printed on them in black.
  for (int bank = 0; bank < 2; ++bank) {
    const double y = bank == 0 ? 200 : 300, dx = bank == 0 ? -12 : 14;
    cairo_new_path(cr);
    RoundRect(cr, 196 + dx, y, 408, 46, 23);
    Dice dice(900 + static_cast<uint32_t>(bank));
    for (double bx = 222 + dx; bx < 590 + dx; bx += dice.Range(44, 62)) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, bx, y + 10 - dice.Range(0, 12), dice.Range(20, 32), 0, 2 * kPi);
    }
    SetColor(cr, Hex(0x8a4a3a));
    cairo_set_line_width(cr, 6);
    cairo_stroke_preserve(cr);
    VerticalGradient(cr, y - 40, y + 46, Hex(0xffffff), Hex(0xffe8c8));
    cairo_fill(cr);
  }
  return c.Opaque();
}

Raster Caret() {
  Canvas c(2, 16);
  SetColor(c.cr(), Hex(0x101010));
  cairo_paint(c.cr());
  return c.Keyed();
}

}  // namespace

void DrawRabbit(cairo_t* cr, double cx, double cy, double s) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, s, s);
  auto ellipse = [&](double x, double y, double rx, double ry, double rot) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, rot);
    cairo_scale(cr, rx, ry);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
  };
  const Rgb fur = Hex(0xf4f0ea), shade = Hex(0xcfc4b8), pink = Hex(0xf7a6b4);
  // Ears.
  for (int side = -1; side <= 1; side += 2) {
    ellipse(side * 14, -38, 9, 24, side * 0.25);
    RadialGradient(cr, side * 12, -45, 30, fur, shade);
    FillInk(cr, 2.5);
    ellipse(side * 14, -36, 4.5, 16, side * 0.25);
    SetColor(cr, pink);
    cairo_fill(cr);
  }
  // Head.
  ellipse(0, 4, 34, 29, 0);
  RadialGradient(cr, -8, -6, 44, fur, shade);
  FillInk(cr, 2.8);
  // Racing goggles pushed up on the forehead.
  cairo_new_path(cr);
  cairo_move_to(cr, -33, -8);
  cairo_curve_to(cr, -10, -16, 10, -16, 33, -8);
  SetColor(cr, Hex(0x2a2a30));
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  for (int side = -1; side <= 1; side += 2) {
    ellipse(side * 11, -13, 9, 7, 0);
    RadialGradient(cr, side * 11 - 3, -15, 10, Hex(0xbfe8ff), Hex(0x3a8ad8));
    FillInk(cr, 2.2);
  }
  // Eyes, cheeks, nose, mouth and teeth.
  for (int side = -1; side <= 1; side += 2) {
    ellipse(side * 11, 4, 5, 6.5, 0);
    SetColor(cr, kInk);
    cairo_fill(cr);
    ellipse(side * 11 + 1.5, 2, 1.8, 2.2, 0);
    SetColor(cr, Rgb{1, 1, 1});
    cairo_fill(cr);
    ellipse(side * 21, 14, 6, 3.5, 0);
    SetColor(cr, pink, 0.8);
    cairo_fill(cr);
  }
  ellipse(0, 13, 4.5, 3.2, 0);
  FillInk(cr, Hex(0xe85a7a), 1.5);
  cairo_new_path(cr);
  cairo_move_to(cr, -9, 18);
  cairo_curve_to(cr, -5, 24, -1, 22, 0, 17);
  cairo_curve_to(cr, 1, 22, 5, 24, 9, 18);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, -4.5, 21, 9, 7);
  FillInk(cr, Rgb{1, 1, 1}, 1.5);
  cairo_move_to(cr, 0, 21);
  cairo_line_to(cr, 0, 28);
  cairo_stroke(cr);
  cairo_restore(cr);
}

namespace {
Raster Rabbit() {
  Canvas c(130, 120);
  cairo_t* cr = c.cr();
  DrawRabbit(cr, 65, 62, 0.95);
  // A steering wheel held up in both paws, in front of the chin.
  const double wx = 65, wy = 101, wr = 15;
  cairo_new_path(cr);
  cairo_arc(cr, wx, wy, wr, 0, 2 * kPi);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 7.5);
  cairo_stroke_preserve(cr);
  SetColor(cr, Hex(0x3a3f46));
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  SetColor(cr, Hex(0x3a3f46));
  cairo_set_line_width(cr, 3);
  for (double a : {kPi * 0.5, kPi * 1.15, kPi * 1.85}) {
    cairo_move_to(cr, wx, wy);
    cairo_line_to(cr, wx + std::cos(a) * wr, wy + std::sin(a) * wr);
  }
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_arc(cr, wx, wy, 4.5, 0, 2 * kPi);
  FillInk(cr, Hex(0xe0321e), 1.5);
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_translate(cr, wx + side * 14, wy - 6);
    cairo_scale(cr, 7, 6);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    FillInk(cr, Hex(0xf4f0ea), 2);
  }
  return c.Keyed();
}
}  // namespace

std::vector<ArtItem> MakeMenuArt() {
  std::vector<ArtItem> out;
  out.push_back(Item(pic::SplashBackdrop, Splash(), Encoding::Jpeg, KeyStyle::None));
  out.push_back(Item(pic::SplashLogo, Logo(), Encoding::BitmapFile));
  out.push_back(Item(pic::MenuBackdrop, MenuBackdrop(), Encoding::Jpeg, KeyStyle::None));
  struct Entry {
    TPictureName normal;
    TPictureName lit;
    const char* label;
    int h;
  };
  const Entry items[] = {{pic::StartGameNormal, pic::StartGameHover, "НОВАЯ ИГРА", 55},
                         {pic::OptionsNormal, pic::OptionsHover, "ОПЦИИ", 55},
                         {pic::HighScoreNormal, pic::HighScoreHover, "РЕКОРДЫ", 45},
                         {pic::HelpNormal, pic::HelpHover, "ПОМОЩЬ", 55},
                         {pic::VisitWebSiteNormal, pic::VisitWebSiteHover, "САЙТ ИГРЫ", 55},
                         {pic::ExitNormal, pic::ExitHover, "ВЫХОД", 55}};
  int n = 0;
  for (const Entry& e : items) {
    // Alternate the encodings among the items so both 8-bit paths carry buttons.
    Encoding enc = (n++ % 2) ? Encoding::Dib8 : Encoding::Dib8Rle;
    out.push_back(Item(e.normal, Button(256, e.h, e.label, false, 24), enc));
    out.push_back(Item(e.lit, Button(256, e.h, e.label, true, 24), enc));
  }
  out.push_back(Item(pic::MoreGamesNormal, Badge(false), Encoding::Dib8Rle));
  out.push_back(Item(pic::MoreGamesHover, Badge(true), Encoding::Dib8Rle));
  out.push_back(Item(pic::SubmenuPanel, Panel(), Encoding::Dib24, KeyStyle::Number));
  struct Small {
    TPictureName normal;
    TPictureName lit;
    const char* label;
  };
  const Small small[] = {{pic::PreviousPageNormal, pic::PreviousPageHover, "◄ НАЗАД"},
                         {pic::HelpBackNormal, pic::PanelBackHover, "В МЕНЮ"},
                         {pic::NextPageNormal, pic::NextPageHover, "ДАЛЕЕ ►"},
                         {pic::ClearScoresNormal, pic::ClearScoresHover, "ОЧИСТИТЬ"},
                         {pic::ScoresBackNormal, pic::ScoresBackHover, "В МЕНЮ"},
                         {pic::ViewScoresNormal, pic::ViewScoresHover, "ОНЛАЙН"}};
  for (const Small& s : small) {
    out.push_back(Item(s.normal, Button(137, 32, s.label, false, 15), Encoding::Dib8Rle));
    out.push_back(Item(s.lit, Button(137, 32, s.label, true, 15), Encoding::Dib8Rle));
  }
  out.push_back(Item(pic::OptionsBackNormal, Button(137, 32, "В МЕНЮ", false, 15), Encoding::Dib32));
  out.push_back(Item(pic::Rabbit, Rabbit(), Encoding::Dib32));
  out.push_back(Item(pic::OptionsCountry, TextField(204, 33), Encoding::Dib8TopDown));
  out.push_back(Item(pic::HighScoreHeading, TableHead(), Encoding::Dib8Rle));
  out.push_back(Item(pic::HighScoreRow, TableRow(), Encoding::Dib8TopDown));
  out.push_back(Item(pic::QuestionFrame, ExitFrame(), Encoding::Dib8Rle));
  out.push_back(Item(pic::ExitQuestion, Question("ВЫЙТИ ИЗ ИГРЫ?", ""), Encoding::Dib8Rle));
  out.push_back(Item(pic::ClearQuestion, Question("ОЧИСТИТЬ ТАБЛИЦУ", "РЕКОРДОВ?"), Encoding::Dib8Rle));
  out.push_back(Item(pic::YesHover, AnswerLit(true), Encoding::Dib8Rle));
  out.push_back(Item(pic::NoHover, AnswerLit(false), Encoding::Dib8Rle));
  out.push_back(Item(pic::NameEntry, EnterName(), Encoding::Dib24));
  out.push_back(Item(pic::NameEntrySend, Tick(), Encoding::Dib8Rle, KeyStyle::Number));
  out.push_back(Item(pic::GameOver, GameOver(), Encoding::Jpeg, KeyStyle::None));
  out.push_back(Item(pic::Caret, Caret(), Encoding::Dib8, KeyStyle::Number));
  return out;
}

}  // namespace bd::art
