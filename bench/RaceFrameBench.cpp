// The cost of whole frames of the game on the headless platform with the
// built game data, each printed next to the cost of copying one frame
// ("x memcpy", see FrameCost.h):
// - a race frame: the sprites step and probe each other, the race frame
//   spawns, draws the road and writes the display texts, and the frame is
//   presented; the car drives at full speed on level 1;
// - a race frame over a full scene that holds still;
// - a main-menu frame with the pointer moving between two items.
// Each frame runs in a function of its own, so that an instruction profiler
// can count one frame (scripts/frame-instructions.sh).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FrameCost.h"
#include "app/MainForm.h"
#include "engine/display/Fonts.h"
#include "engine/platform/headless/Headless.h"
#include "race/ChasmSprites.h"
#include "race/MarkerSprites.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RaceFrame.h"
#include "race/RoadSprites.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

// A scratch working directory that reaches the built data, for the life of
// one benchmark; false (with the benchmark skipped) without built data.
class TRunDirectory {
 public:
  TRunDirectory(benchmark::State& state, const char* name) {
    const fs::path data = fs::path(BD_RUN_DIR) / "Data";
    if (!fs::exists(data / "GraphicsMain.dxg") || !fs::exists(data / "GraphicsMenu.dxg")) {
      state.SkipWithError("no built game data in the run directory");
      return;
    }
    oldDir_ = fs::current_path();
    dir_ = fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    fs::create_directory_symlink(data, dir_ / "Data");
    // The songs too, so that the screens start their music as in the game.
    if (const fs::path music = fs::path(BD_RUN_DIR) / "Music"; fs::exists(music))
      fs::create_directory_symlink(music, dir_ / "Music");
    fs::current_path(dir_);
  }
  ~TRunDirectory() {
    if (dir_.empty()) return;
    fs::current_path(oldDir_);
    fs::remove_all(dir_);
  }
  TRunDirectory(const TRunDirectory&) = delete;
  TRunDirectory& operator=(const TRunDirectory&) = delete;
  bool Ready() const { return !dir_.empty(); }

 private:
  fs::path oldDir_, dir_;
};

// The game on the headless platform, shown on one screen, sounds off.
struct TBenchGame {
  explicit TBenchGame(uint8_t screenNumber) {
    form.Show();
    form.GameSound.Checked = false;
    form.SwitchScreen(screenNumber);
  }
  THeadlessPlatform platform;
  TApplication app{platform.Get()};
  TMainForm form{app};
};

// One driving frame: the level is kept going and the car alive.
[[gnu::noinline]] void DrivingFrame(TMainForm& form) {
  form.RaceState.Distance = 0;
  form.RaceState.Health = 100;
  form.RaceState.Lives = 3;
  form.DXTimerTimer(1);
}

void BM_RaceFrame(benchmark::State& state) {
  TRunDirectory dir(state, "bd-race-bench");
  if (!dir.Ready()) return;
  TBenchGame game(screen::Race);
  TMainForm& form = game.form;
  form.FormKeyDown(vk::Up, 0);
  game.app.RunUntil(game.platform.clock.Milliseconds() + 4000);  // past the caption, up to speed
  bench::TFrameCost cost;
  const uint64_t rendered = TFontLibrary::Instance().RenderCount();
  cost.Start();
  for (auto _ : state) DrivingFrame(form);
  state.counters["sprites"] = form.SpriteEngine.Engine().SpriteCount();
  state.counters["texts rendered per frame"] =
      static_cast<double>(TFontLibrary::Instance().RenderCount() - rendered) /
      static_cast<double>(state.iterations());
  cost.Report(state);
}
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMicrosecond);

// One frame of the still scene: drawn, its texts written, presented.
[[gnu::noinline]] void SceneFrame(TMainForm& form) {
  RunRaceFrame(form.RaceHost());
  form.DXDraw.PresentFrame();
}

// One race frame over a full scene, drawn the way the race draws it: the
// road, the car, ten obstacles, the chasm with its three pieces, five
// pickups, three explosions and every power-up counter on the display. The
// sprites have stepped once; the frame then only draws, writes its texts and
// is presented, so the scene stays the same for every iteration.
void BM_RaceSceneFrame(benchmark::State& state) {
  TRunDirectory dir(state, "bd-scene-bench");
  if (!dir.Ready()) return;
  {
    TBenchGame game(screen::Race);
    TMainForm& form = game.form;
    game.app.RunUntil(game.platform.clock.Milliseconds() + 2500);  // the level caption is gone
    IRaceHost& host = form.RaceHost();
    TRaceState& s = form.RaceState;
    for (int i = 0; i < 6; ++i) new TWallSprite(host);
    new TStolb(host);
    new TTree(host);
    new TRocksMassovka(host);
    new TLuja(host);
    // The chasm close behind the car, its pieces below it.
    TSpriteEngine& engine = form.SpriteEngine.Engine();
    for (int32_t i = 0; i < engine.ChildCount(); ++i)
      if (auto* head = dynamic_cast<TPropast*>(engine.ChildAt(i))) head->Y = 445;
    s.ChasmY = 445;
    new TPropastPlus1(host);
    new TPropastPlus2(host);
    new TPropastPlus3(host);
    new TLiveSprite(host);
    new TMedicSprite(host);
    new TGunsSprite(host);
    new TStopMeSprite(host);
    new TNitroSprite(host);
    for (int i = 0; i < 3; ++i) new TBoomSprite(host, 150 + 200 * i, 200);
    new TIndexGuns(host);
    s.HasGuns = true;
    s.GunShots = 7;
    new TIndexStopMe(host);
    s.HasStopMe = true;
    s.StopMeCount = 2;
    s.Speed = 10;
    // The scene holds still: no scrolling, no spawning, no distance.
    s.RaceRunning = false;
    form.SpriteEngine.MoveAll(1);
    RunRaceFrame(form.RaceHost());  // scaled copies and texts made before the timing
    form.DXDraw.PresentFrame();
    bench::TFrameCost cost;
    cost.Start();
    for (auto _ : state) SceneFrame(form);
    state.counters["sprites"] = form.SpriteEngine.Engine().SpriteCount();
    cost.Report(state);
  }
}
BENCHMARK(BM_RaceSceneFrame)->Unit(benchmark::kMicrosecond);

// One main-menu frame while the pointer moves from one item of the column to
// the next: the move takes the old highlight away and puts the new one up,
// then the frame draws the backdrop, the column and the highlight and is
// presented.
[[gnu::noinline]] void MenuFrame(TMainForm& form, int y) {
  form.DXDrawMouseMove(0, 600, y);
  form.DXTimerTimer(1);
}

void BM_MenuFrame(benchmark::State& state) {
  TRunDirectory dir(state, "bd-menu-bench");
  if (!dir.Ready()) return;
  TBenchGame game(screen::MainMenu);
  TMainForm& form = game.form;
  game.app.RunUntil(game.platform.clock.Milliseconds() + 100);
  bench::TFrameCost cost;
  int y = 140;  // over "Start Game"; 210 is over "Options"
  cost.Start();
  for (auto _ : state) {
    MenuFrame(form, y);
    y = y == 140 ? 210 : 140;
  }
  state.counters["sprites"] = form.SpriteEngine.Engine().SpriteCount();
  cost.Report(state);
}
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMicrosecond);

// The yardstick itself: copying one 800 x 600 frame of 32-bit pixels.
void BM_FrameCopy(benchmark::State& state) {
  std::vector<uint32_t> from(bench::kFramePixels, 0x00336699), to(bench::kFramePixels);
  for (auto _ : state) bench::CopyFrame(to.data(), from.data());
}
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bd
