// The cost of one race frame of the whole game on the headless platform with
// the built game data: the sprites step and probe each other, the race frame
// spawns, draws the road twice and writes the display texts, and the frame
// is presented. The car drives at full speed on level 1.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/MainForm.h"
#include "engine/Fonts.h"
#include "engine/platform/headless/Headless.h"
#include "race/ChasmSprites.h"
#include "race/MarkerSprites.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RoadSprites.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

void BM_RaceFrame(benchmark::State& state) {
  const fs::path data = fs::path(BD_RUN_DIR) / "Data";
  if (!fs::exists(data / "GraphicsMain.dxg")) {
    state.SkipWithError("no built game data in the run directory");
    return;
  }
  const fs::path oldDir = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / ("bd-race-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::create_directory_symlink(data, dir / "Data");
  fs::current_path(dir);
  {
    THeadlessPlatform platform;
    TApplication app(platform.Get());
    TMainForm form(app);
    form.Show();
    form.GameSound.Checked = false;
    form.SwitchScreen(screen::Race);
    form.FormKeyDown(vk::Up, 0);
    app.RunUntil(platform.clock.Milliseconds() + 4000);  // past the caption, up to speed
    const uint64_t rendered = TFontLibrary::Instance().RenderCount();
    int64_t frames = 0;
    for (auto _ : state) {
      // Keep the level going and the car alive so every frame is a driving one.
      form.RaceState.Distance = 0;
      form.RaceState.Health = 100;
      form.RaceState.Lives = 3;
      form.DXTimerTimer(1);
      ++frames;
    }
    state.counters["sprites"] = form.SpriteEngine.Engine().SpriteCount();
    state.counters["texts rendered per frame"] =
        static_cast<double>(TFontLibrary::Instance().RenderCount() - rendered) / static_cast<double>(frames);
  }
  fs::current_path(oldDir);
  fs::remove_all(dir);
}
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMicrosecond);

// One race frame over a full scene, drawn the way the race draws it: the
// road, the car, ten obstacles, the chasm with its three pieces, five
// pickups, three explosions and every power-up counter on the display. The
// sprites have stepped once; the frame then only draws (twice, as the race
// does), writes its texts and is presented, so the scene stays the same for
// every iteration.
void BM_RaceSceneFrame(benchmark::State& state) {
  const fs::path data = fs::path(BD_RUN_DIR) / "Data";
  if (!fs::exists(data / "GraphicsMain.dxg")) {
    state.SkipWithError("no built game data in the run directory");
    return;
  }
  const fs::path oldDir = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / ("bd-scene-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::create_directory_symlink(data, dir / "Data");
  fs::current_path(dir);
  {
    THeadlessPlatform platform;
    TApplication app(platform.Get());
    TMainForm form(app);
    form.Show();
    form.GameSound.Checked = false;
    form.SwitchScreen(screen::Race);
    app.RunUntil(platform.clock.Milliseconds() + 2500);  // the level caption is gone
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
    for (auto _ : state) {
      form.RaceFrame();
      form.DXDraw.PresentFrame();
    }
    state.counters["sprites"] = form.SpriteEngine.Engine().SpriteCount();
  }
  fs::current_path(oldDir);
  fs::remove_all(dir);
}
BENCHMARK(BM_RaceSceneFrame)->Unit(benchmark::kMicrosecond);

// The yardstick: copying one 800 x 600 frame of 32-bit pixels.
void BM_FrameCopy(benchmark::State& state) {
  std::vector<uint32_t> from(800 * 600, 0x00336699), to(800 * 600);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bd
