// Usage: screenshots RUN_DIR OUT_DIR
//
// Starts the game on the headless platform with the data of RUN_DIR (its
// Data and Music folders, linked into a scratch directory so that the
// settings file written at start-up lands there), walks through the front
// end with the pointer and writes the presented picture of each screen to
// OUT_DIR as PNG files.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Version.h"
#include "codec/Cp1251.h"
#include "common/Png.h"
#include "engine/platform/headless/Headless.h"
#include "race/ChasmSprites.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RoadSprites.h"

namespace fs = std::filesystem;

namespace {

void WritePicture(const bd::THeadlessWindow& window, const fs::path& file) {
  const bd::TDirectDrawSurface& screen = window.Screen();
  std::vector<uint32_t> pixels;
  pixels.reserve(800 * 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) pixels.push_back(screen.Pixel(x, y) & 0x00FFFFFF);
  const std::vector<uint8_t> png = bd::EncodePng(800, 600, pixels);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  std::printf("%s\n", file.string().c_str());
}

int Run(const fs::path& runDir, const fs::path& outDir) {
  const fs::path scratch = fs::temp_directory_path() / "bd-screenshots";
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  fs::create_directories(outDir);
  for (const char* folder : {"Data", "Music"})
    if (fs::exists(runDir / folder))
      fs::create_directory_symlink(fs::absolute(runDir / folder), scratch / folder);
  const fs::path out = fs::absolute(outDir);
  fs::current_path(scratch);

  bd::THeadlessPlatform platform;
  bd::TApplication app(platform.Get());
  app.Title = bd::kGameTitle;
  bd::TMainForm form(app);
  form.Show();
  auto run = [&](uint32_t ms) { app.RunUntil(platform.clock.Milliseconds() + ms); };
  auto shot = [&](const char* name) {
    run(40);
    WritePicture(platform.window, out / (std::string(name) + ".png"));
  };
  auto move = [&](int x, int y) { form.DXDrawMouseMove(0, x, y); };
  auto click = [&](int x, int y) {
    move(x, y);
    form.DXDrawMouseDown(1, 0, x, y);
  };

  shot("01-splash");
  run(4100);
  move(600, 200);
  shot("02-menu");
  click(600, 500);
  move(300, 360);
  shot("03-menu-exit");
  click(450, 360);
  click(600, 350);
  move(250, 320);
  shot("04-help-1");
  click(400, 540);
  shot("05-help-2");
  click(400, 540);
  shot("06-help-3");
  form.GameMainExitClick();
  shot("07-help-exit");
  form.GameMainExitClick();
  click(250, 540);
  click(600, 200);
  move(250, 320);
  form.Edit1.Text = bd::W("Россия");
  shot("08-options");
  form.GameMusicClick();
  move(200, 540);
  shot("09-options-music-off");
  form.GameMusicClick();
  // The keys' focus on a row, which the pointer never highlights.
  auto tap = [&](int key) {
    form.FormKeyDown(key, 0);
    form.FormKeyUp(key, 0);
  };
  tap(bd::vk::Down);
  tap(bd::vk::Down);
  shot("09-options-keys");
  click(250, 540);
  click(600, 270);
  move(250, 320);
  form.HighScores[0] = {bd::W("Чемпион"), 99999};
  // The widest names the entry takes and the largest scores, fitted to
  // their columns.
  form.HighScores[1] = {bd::W("ЖЖЖЖЖЖЖЖЖЖ"), 2147483647};
  form.HighScores[2] = {"WWWWWWWWWW", 1999999999};
  shot("10-highscores");
  click(100, 540);
  move(300, 360);
  shot("11-highscores-clear");
  click(450, 360);
  click(250, 540);
  form.RaceState.Score = 4321;
  form.RaceState.Level = 6;
  form.Edit2.Text = bd::W("Гонщик");
  form.SwitchScreen(bd::screen::GameOver);
  run(5100);
  if (!form.GameEnterName.Checked) form.GameEnterNameClick();
  click(240, 400);
  shot("12-gameover-name");
  tap(bd::vk::Down);
  tap(bd::vk::Down);
  shot("12-gameover-name-keys");
  // A game that ends below the table: no name entry, the score and level.
  form.SwitchScreen(bd::screen::MainMenu);
  form.RaceState.Score = 40;
  form.RaceState.Level = 2;
  form.SwitchScreen(bd::screen::GameOver);
  shot("12-gameover-no-record");
  run(5100);
  shot("12-gameover-no-record-later");
  form.SwitchScreen(bd::screen::Race);
  run(2500);
  form.GameMainExitClick();
  move(450, 360);
  shot("13-race-exit");

  // The race itself: a fresh game driven at full speed.
  form.GameMainExitClick();
  form.GameSound.Checked = false;
  form.SwitchScreen(bd::screen::Race);
  form.FormKeyDown(bd::vk::Up, 0);
  run(6000);
  shot("14-race-level1");
  bd::TRaceState& s = form.RaceState;
  bd::IRaceHost& host = form.RaceHost();
  bd::TSpriteEngine& engine = form.SpriteEngine.Engine();
  // An obstacle car straight ahead of ours.
  auto* wall = new bd::TWallSprite(host);
  wall->X = s.CarX;
  wall->Y = s.CarY - wall->Height - 20;
  for (int i = 0; i < 12 && s.Health == 100; ++i) run(16);
  WritePicture(platform.window, out / "15-race-crash.png");
  run(1500);
  auto moveChasmHead = [&](double y) {
    for (int32_t i = 0; i < engine.ChildCount(); ++i)
      if (auto* head = dynamic_cast<bd::TPropast*>(engine.ChildAt(i))) head->Y = y;
  };
  // The chasm close behind the car.
  moveChasmHead(s.CarY + 130);
  shot("16-race-chasm-behind");
  // The chasm risen over the car: the car drops in and the first lava piece
  // shows below the head, a little before it reaches the sinking car.
  moveChasmHead(s.CarY - 20);
  shot("17-race-chasm-fall");
  // The fall ends the life; the next one drives off before the next picture.
  for (int i = 0; i < 400 && (s.Falling || s.Grace); ++i) run(16);
  // A meteorite on level 3.
  s.Level = 3;
  new bd::TMeteorit(host);
  run(300);
  shot("18-race-meteorite-level3");
  s.Level = 1;
  // A nitro can under a healthy car.
  run(1500);
  s.Health = 100;
  auto* nitro = new bd::TNitroSprite(host);
  nitro->X = s.CarX;
  nitro->Y = s.CarY;
  run(400);
  shot("19-race-nitro");
  // Under a thousand left: "Уже близко..." beside the destination sign.
  s.Distance = s.LevelLength - 600;
  run(100);
  shot("20-race-almost-there");
  // The level driven to its end: the sign grows, then the clock runs.
  s.Distance = s.LevelLength;
  for (int i = 0; i < 2000 && s.LevelEndState < 3; ++i) run(16);
  shot("21-race-level-complete");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshots RUN_DIR OUT_DIR\n");
    return 2;
  }
  try {
    return Run(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "screenshots: %s\n", e.what());
    return 1;
  }
}
