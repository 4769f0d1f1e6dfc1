// The cost of one empty frame: clear the back buffer and present it, on the
// headless platform (copy into memory) and on SDL's offscreen video driver
// (upload to the streaming texture and render), without a real display.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "engine/loop/Application.h"
#include "engine/loop/DXTimer.h"

#include "engine/display/DXDraw.h"
#include "engine/platform/headless/Headless.h"
#include "engine/platform/sdl/SdlPlatform.h"

namespace bd {
namespace {

void BM_EmptyFrameHeadless(benchmark::State& state) {
  THeadlessPlatform platform;
  TDXDraw draw(&platform.window);
  draw.InitializeDisplay();
  for (auto _ : state) {
    draw.FillSurface(0);
    draw.PresentFrame();
  }
  benchmark::DoNotOptimize(platform.window.Screen().Pixel(0, 0));
}
BENCHMARK(BM_EmptyFrameHeadless);

void BM_EmptyFrameSdlOffscreen(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  TSdlPlatform platform;
  TDXDraw draw(&platform.Window());
  draw.SetOptions({});  // no wait for the vertical blank: the cost alone
  draw.InitializeDisplay();
  for (auto _ : state) {
    draw.FillSurface(0);
    draw.PresentFrame();
  }
}
BENCHMARK(BM_EmptyFrameSdlOffscreen);

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The real message loop on SDL's offscreen driver with the game's 15 ms
// frame timer and empty frames: how late frames start after their due time
// (the loop sleeps instead of polling) and how much processor time the
// waiting costs. Reported as counters; one iteration runs 120 frames.
// Argument 0 runs frames that draw nothing (the cost of waiting alone),
// 1 frames that fill and present.
void BM_FrameTimerPacingSdl(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  TSdlPlatform platform;
  TApplication app(platform.Get());
  TDXDraw draw(&platform.Window());
  draw.SetOptions({});
  draw.InitializeDisplay();
  TDXTimer timer(*platform.Get().clock);
  timer.SetInterval(15);
  app.AddFrameTimer(&timer);
  using Clock = std::chrono::steady_clock;
  double worstLateMs = 0, totalLateMs = 0, cpuPerFrameMs = 0;
  int frames = 0;
  for (auto _ : state) {
    frames = 0;
    Clock::time_point last = Clock::now();
    timer.OnTimer = [&](TDXTimer&, int) {
      const Clock::time_point now = Clock::now();
      if (frames > 0) {
        const double late = std::chrono::duration<double, std::milli>(now - last).count() - 15.0;
        worstLateMs = std::max(worstLateMs, late);
        totalLateMs += std::max(late, 0.0);
      }
      last = now;
      if (state.range(0) != 0) {
        draw.FillSurface(0);
        draw.PresentFrame();
      }
      if (++frames == 120) app.Terminate();
    };
    const double cpuBefore = CpuSeconds();
    app.Run();
    cpuPerFrameMs = (CpuSeconds() - cpuBefore) * 1000.0 / frames;
  }
  state.counters["late_max_ms"] = worstLateMs;
  state.counters["late_mean_ms"] = totalLateMs / std::max(frames - 1, 1);
  state.counters["cpu_per_frame_ms"] = cpuPerFrameMs;
}
BENCHMARK(BM_FrameTimerPacingSdl)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bd

BENCHMARK_MAIN();
