// The cost of one race frame of the whole game on the headless platform with
// the built game data: the sprites step and probe each other, the race frame
// spawns, draws the road twice and writes the display texts, and the frame
// is presented. The car drives at full speed on level 1.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/MainForm.h"
#include "engine/Fonts.h"
#include "engine/platform/headless/Headless.h"

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

}  // namespace
}  // namespace bd
