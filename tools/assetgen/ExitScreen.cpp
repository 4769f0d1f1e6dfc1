#include "ExitScreen.h"

#include "Archives.h"
#include "Art.h"
#include "Scenery.h"

namespace bd::art {

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// A big rounded button; lit ones glow gold, disabled ones are grey.
enum class Look { Normal, Lit, Disabled };

Raster ExitButton(int w, int h, const std::string& label, Look look) {
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  RoundRect(cr, 3, 3, w - 6, h - 6, 16);
  switch (look) {
    case Look::Normal:
      VerticalGradient(cr, 3, h - 3, Hex(0x4aa2f0), Hex(0x1a4c96));
      break;
    case Look::Lit:
      VerticalGradient(cr, 3, h - 3, Hex(0xfff27a), Hex(0xf59a1a));
      break;
    case Look::Disabled:
      VerticalGradient(cr, 3, h - 3, Hex(0xc8ccd0), Hex(0x8a9096));
      break;
  }
  FillInk(cr, 3);
  cairo_new_path(cr);
  RoundRect(cr, 14, 7, w - 28, h * 0.3, 10);
  SetColor(cr, Rgb{1, 1, 1}, 0.3);
  cairo_fill(cr);
  Rgb text = look == Look::Lit ? kInk : look == Look::Disabled ? Hex(0xe8eaec) : Rgb{1, 1, 1};
  Rgb edge = look == Look::Lit ? Rgb{1, 1, 1} : look == Look::Disabled ? Hex(0x6a7076) : kInk;
  Label(cr, label, w / 2.0, h / 2.0 + 1, 26, text, edge, 4);
  // The button sits on the backdrop's dark band: flatten onto that colour.
  return c.Opaque(Hex(0x24344a));
}

Raster Backdrop() {
  Canvas c(800, 600);
  cairo_t* cr = c.cr();
  Landscape(cr, 800, 600, 330, false);
  TitleLogo(cr, 400, 80, 56);
  Label(cr, "СПАСИБО ЗА ИГРУ!", 400, 180, 40, Hex(0xffffff), kInk, 7);
  // A dark band that carries the buttons and the countdown.
  cairo_new_path(cr);
  RoundRect(cr, 40, 390, 720, 190, 24);
  SetColor(cr, Hex(0x24344a));
  cairo_fill_preserve(cr);
  SetColor(cr, Rgb{1, 1, 1});
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  Label(cr, "До новых встреч на дороге!", 400, 415, 18, Hex(0xffffff), kInk, 0);
  return c.Opaque();
}

}  // namespace

std::vector<OutputFile> MakeExitScreen() {
  std::vector<OutputFile> out;
  out.push_back({"pdata/back.jpg", JpegFile(Backdrop(), 90)});
  const int bw = 220, bh = 64;
  out.push_back({"pdata/read_n.bmp", BitmapFile(ExitButton(bw, bh, "ОБ ИГРЕ", Look::Normal))});
  out.push_back({"pdata/read_h.bmp", BitmapFile(ExitButton(bw, bh, "ОБ ИГРЕ", Look::Lit))});
  out.push_back({"pdata/site_n.bmp", BitmapFile(ExitButton(bw, bh, "САЙТ ИГРЫ", Look::Normal))});
  out.push_back({"pdata/site_h.bmp", BitmapFile(ExitButton(bw, bh, "САЙТ ИГРЫ", Look::Lit))});
  out.push_back({"pdata/exit_n.bmp", BitmapFile(ExitButton(bw, bh, "ВЫХОД", Look::Normal))});
  out.push_back({"pdata/exit_h.bmp", BitmapFile(ExitButton(bw, bh, "ВЫХОД", Look::Lit))});
  out.push_back({"pdata/exit_d.bmp", BitmapFile(ExitButton(bw, bh, "ВЫХОД", Look::Disabled))});
  out.push_back(
      {"pdata/readme.txt", Bytes("Bumper Dash\n\n"
                                 "Над городом прошёл метеоритный дождь. Садитесь за руль и мчитесь\n"
                                 "в соседний город, пока за вами ползёт лавовая пропасть.\n\n"
                                 "Управление\n"
                                 "Стрелки влево и вправо — руль, стрелка вверх — газ,\n"
                                 "стрелка вниз — ручной тормоз.\n"
                                 "Пробел — задний ход, когда машина постоит на месте.\n"
                                 "Enter — мгновенная остановка: одно нажатие тратит\n"
                                 "один заряд бонуса «СТОП».\n"
                                 "Ctrl — выстрел, когда у машины есть пулемёт.\n"
                                 "P — пауза, Esc — выйти из гонки.\n")});
  // The description: three buttons, the exit button last, a five-second
  // countdown. The site button opens the game's page (see GamePage.h).
  const std::string config =
      "3\r\n"
      "pdata\\back.jpg\r\n"
      "70 470 220 64\r\n"
      "70 470 220 64\r\n"
      "pdata\\read_n.bmp\r\n"
      "pdata\\read_h.bmp\r\n"
      "pdata\\readme.txt\r\n"
      "290 470 220 64\r\n"
      "290 470 220 64\r\n"
      "pdata\\site_n.bmp\r\n"
      "pdata\\site_h.bmp\r\n"
      "pdata\\site.html\r\n"
      "510 470 220 64\r\n"
      "510 470 220 64\r\n"
      "510 470 220 64\r\n"
      "pdata\\exit_n.bmp\r\n"
      "pdata\\exit_h.bmp\r\n"
      "pdata\\exit_d.bmp\r\n"
      "400 445\r\n"
      "5\r\n"
      "255 220 60\r\n"
      "TRUE\r\n"
      "22\r\n";
  out.push_back({"pdata/config.ini", Bytes(config)});
  return out;
}

}  // namespace bd::art
