#include "Scenes.h"

#include <cairo.h>

#include <optional>
#include <vector>

#include "Paint.h"
#include "assets/AssetNames.h"
#include "engine/display/Surface.h"
#include "engine/images/PictureCollection.h"

namespace bd::art {

namespace {

class Scene {
 public:
  explicit Scene(TPictureCollection& images) : images_(images), screen_(800, 600) {}

  void Draw(TPictureName name, int x, int y, int pattern = 0) {
    images_.Find(name.Text()).DrawPattern(screen_, x, y, pattern);
  }
  void DrawScaled(TPictureName name, int x, int y, int w, int h) {
    images_.Find(name.Text()).DrawPatternScaled(screen_, Bounds(x, y, w, h), 0);
  }
  // A text as the game draws it: top-left at (x, y), size in points.
  void Say(const std::string& utf8, double x, double y, double points, Rgb color = Rgb{0, 0, 0},
           bool centred = false) {
    texts_.push_back({utf8, x, y, points, color, centred});
  }
  bool Save(const std::filesystem::path& path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride)[x] = screen_.Pixel(x, y);
    cairo_surface_mark_dirty(s);
    cairo_t* cr = cairo_create(s);
    for (const auto& t : texts_) {
      cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
      cairo_set_font_size(cr, t.points * 96.0 / 72.0);
      cairo_font_extents_t fe;
      cairo_font_extents(cr, &fe);
      cairo_text_extents_t te;
      cairo_text_extents(cr, t.text.c_str(), &te);
      double x = t.centred ? t.x - te.x_advance / 2 : t.x;
      cairo_move_to(cr, x, t.y + fe.ascent);
      SetColor(cr, t.color);
      cairo_show_text(cr, t.text.c_str());
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(s, path.string().c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
  }

 private:
  struct TextItem {
    std::string text;
    double x, y, points;
    Rgb color;
    bool centred;
  };
  TPictureCollection& images_;
  TDirectDrawSurface screen_;
  std::vector<TextItem> texts_;
};

// The menu column with the item whose resting picture is `lit` under the
// pointer.
void MenuColumn(Scene& s, std::optional<TPictureName> lit) {
  struct Entry {
    TPictureName normal, hover;
  };
  const Entry items[] = {
      {pic::StartGameNormal, pic::StartGameHover},       {pic::OptionsNormal, pic::OptionsHover},
      {pic::HighScoreNormal, pic::HighScoreHover},       {pic::HelpNormal, pic::HelpHover},
      {pic::VisitWebSiteNormal, pic::VisitWebSiteHover}, {pic::ExitNormal, pic::ExitHover}};
  for (int i = 0; i < 6; ++i)
    s.Draw(items[i].normal == lit ? items[i].hover : items[i].normal, 514, 118 + 70 * i);
  s.Draw(pic::MoreGamesNormal, 530, 530);
}

}  // namespace

std::string WriteScenes(const std::filesystem::path& runDir, const std::filesystem::path& outDir) {
  try {
    std::filesystem::create_directories(outDir);
    TPictureCollection menu, race;
    menu.LoadArchive((runDir / "Data/GraphicsMenu.dxg").string());
    race.LoadArchive((runDir / "Data/GraphicsMain.dxg").string());
    menu.Restore();
    race.Restore();

    Scene main(menu);
    main.Draw(pic::MenuBackdrop, 0, 0);
    MenuColumn(main, pic::OptionsNormal);
    Scene options(menu);
    options.Draw(pic::MenuBackdrop, 0, 0);
    MenuColumn(options, std::nullopt);
    options.Draw(pic::SubmenuPanel, 17, 117);
    options.Draw(pic::OptionsCountry, 266, 340);
    options.Draw(pic::PanelBackHover, 187, 523);
    options.Say("ОПЦИИ", 200, 120, 20);
    options.Say("РЕЖИМ : Оконный \\ Полный экран", 62, 255, 18);
    options.Say("Оконный", 173, 255, 18, Rgb{1, 1, 1});
    options.Say("МУЗЫКА: Вкл \\ Выкл", 62, 285, 18);
    options.Say("Вкл", 175, 285, 18, Rgb{1, 1, 1});
    options.Say("ЗВУКИ: Вкл \\ Выкл", 62, 315, 18);
    options.Say("Вкл", 153, 315, 18, Rgb{1, 1, 1});
    options.Say("ВАША СТРАНА:", 62, 345, 18);
    options.Say("Россия", 269, 343, 18);
    options.Draw(pic::Caret, 345, 360);
    Scene scores(menu);
    scores.Draw(pic::MenuBackdrop, 0, 0);
    MenuColumn(scores, pic::HighScoreNormal);
    scores.Draw(pic::SubmenuPanel, 17, 117);
    scores.Draw(pic::HighScoreHeading, 42, 168);
    const char* names[] = {"Гонщик", "Лиса", "Max", "Ёжик", "Пилот", "Аня", "Turbo", "Кот", "Ира", "Bob"};
    for (int i = 0; i < 10; ++i) {
      scores.Draw(pic::HighScoreRow, 42, 198 + 30 * i);
      scores.Say(std::to_string(i + 1), 85, 198 + 30 * i, 19);
      scores.Say(names[i], 160, 198 + 30 * i, 19);
      scores.Say(std::to_string(50000 - 4700 * i), 362, 198 + 30 * i, 19);
    }
    scores.Draw(pic::ClearScoresNormal, 38, 523);
    scores.Draw(pic::ScoresBackHover, 187, 523);
    scores.Draw(pic::ViewScoresNormal, 336, 523);
    scores.Say("РЕКОРДЫ", 190, 120, 20);
    Scene exitAsk(menu);
    exitAsk.Draw(pic::MenuBackdrop, 0, 0);
    MenuColumn(exitAsk, pic::ExitNormal);
    exitAsk.Draw(pic::QuestionFrame, 180, 165);
    exitAsk.Draw(pic::ExitQuestion, 188, 195);
    exitAsk.Draw(pic::YesHover, 240, 340);

    Scene splash(menu);
    for (int y = 0; y < 600; y += menu.Find(pic::SplashBackdrop.Text()).Height())
      for (int x = 0; x < 800; x += menu.Find(pic::SplashBackdrop.Text()).Width())
        splash.Draw(pic::SplashBackdrop, x, y);
    splash.Draw(pic::SplashLogo, 400 - menu.Find(pic::SplashLogo.Text()).Width() / 2,
                300 - menu.Find(pic::SplashLogo.Text()).Height() / 2);
    Scene help(menu);
    help.Draw(pic::MenuBackdrop, 0, 0);
    MenuColumn(help, pic::HelpNormal);
    help.Draw(pic::SubmenuPanel, 17, 117);
    help.Draw(pic::Rabbit, 85, 297);
    help.Draw(pic::PreviousPageNormal, 38, 523);
    help.Draw(pic::HelpBackNormal, 186, 523);
    help.Draw(pic::NextPageHover, 336, 523);
    help.Say("ПОМОЩЬ", 192, 120, 20);
    help.Say("ОБ ИГРЕ", 202, 162, 16);
    help.Say("Bumper Dash", 231, 300, 12);
    help.Say("Игра, графика, звуки и музыка - своими руками", 231, 320, 10);
    help.Say("www.bumperdash.example", 231, 360, 10);
    help.Say("Над городом прошёл метеоритный дождь. Садитесь за руль", 40, 200, 11);
    help.Say("и мчитесь в соседний город, пока лава не догнала вас!", 40, 220, 11);

    Scene over(menu);
    over.Draw(pic::GameOver, 0, 0);
    over.Draw(pic::NameEntry, 180, 155);
    over.Draw(pic::NameEntrySend, 200, 364);
    over.Say("48250", 400, 210, 20, Rgb{}, true);
    over.Say("Гонщик", 400, 310, 20, Rgb{}, true);

    Scene road(race);
    for (int y = -120; y < 600; y += 200) road.Draw(pic::Road, 0, y);
    road.Draw(pic::Chasm, 0, 470, 1);
    road.Draw(pic::Rocks, 0, 160);
    road.Draw(pic::Tree, 50, 40);
    road.Draw(pic::Pole, 500, 250);
    road.Draw(pic::WreckedCar2, 422, 150);
    road.Draw(pic::IntactCar3, 572, 40);
    road.Draw(pic::Puddle, 130, 300);
    road.Draw(pic::Bonus, 480, 360, 1);
    road.Draw(pic::Nitro, 630, 400, 0);
    road.Draw(pic::Meteorite, 620, 280, 2);
    road.Draw(pic::MeteoriteTrail, 140, 380, 2);
    road.Draw(pic::NitroFlames, 273, 495);
    road.Draw(pic::PlayerCar, 273, 399, 1);
    road.Draw(pic::Gun, 270, 420, 3);
    road.Draw(pic::Bullet, 296, 330);
    road.Draw(pic::Explosion, 560, 180, 2);
    road.Draw(pic::HudHealth, 0, 0);
    road.Draw(pic::HudSpeed, 5, 80);
    road.Draw(pic::HudLives, 5, 150);
    road.Draw(pic::TownSign, 730, 0);
    road.Draw(pic::Guns, 15, 230);
    road.Say("12840", 400, 5, 16, Rgb{}, true);
    road.Say("X 85", 75, 25, 16);
    road.Say("X 110", 70, 100, 16);
    road.Say("X 3", 70, 165, 16);
    road.Say("14 X", 710 - 8 * 4, 25, 16);
    road.Say("Уровень", 718, 72, 14);
    road.Say("2", 767, 95, 16, Rgb{}, true);
    road.Say("12", 60, 237, 16, Rgb{0, 0, 0.5});
    Scene lava(race);
    for (int y = 0; y < 600; y += 200) lava.Draw(pic::Road, 0, y);
    lava.Draw(pic::Chasm, 0, 150, 0);
    lava.Draw(pic::ChasmLava, 0, 300, 2);
    lava.Draw(pic::ChasmLava, 0, 450, 3);
    lava.Draw(pic::PlayerCar, 423, 60, 3);
    lava.Draw(pic::WreckedCar4, 122, 40);
    lava.DrawScaled(pic::TownSign, 600, 0, 200, 171);
    lava.Say("Уровень пройден!", 265, 400, 25);

    struct Out {
      Scene* scene;
      const char* file;
    };
    for (Out o :
         {Out{&splash, "scene-splash.png"}, Out{&help, "scene-help.png"}, Out{&main, "scene-menu.png"},
          Out{&options, "scene-options.png"}, Out{&scores, "scene-scores.png"},
          Out{&exitAsk, "scene-exit.png"}, Out{&over, "scene-gameover.png"}, Out{&road, "scene-race.png"},
          Out{&lava, "scene-chasm.png"}}) {
      if (!o.scene->Save(outDir / o.file)) return std::string("cannot write ") + o.file;
    }
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

}  // namespace bd::art
