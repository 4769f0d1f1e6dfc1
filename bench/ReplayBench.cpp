// How fast a recorded race is checked: a long game is recorded once on the
// race's own code (a careful driver, the pause, and now and then a late
// frame), then played again headless per iteration. Reported as game minutes
// played per processor second ("game_min_per_cpu_s"); the aim is at least
// 600, ten minutes of race in under a second of one core. The recorder's own
// cost per frame is measured beside it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>

#include "engine/sprites/SpriteTree.h"
#include "race/LevelChange.h"
#include "race/MeteorSprites.h"
#include "race/RaceFlow.h"
#include "race/RoadSprites.h"
#include "race/replay/Replay.h"
#include "race/replay/ReplayHost.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kTenMinutesOfFrames = 10 * 60 * 1000 / RaceFrameMs;

bool IsObstacle(const TSprite* o) {
  return dynamic_cast<const TWallSprite*>(o) || dynamic_cast<const TFirstWallSprite*>(o) ||
         dynamic_cast<const TStolb*>(o) || dynamic_cast<const TTree*>(o) ||
         dynamic_cast<const TMeteorit*>(o) || dynamic_cast<const TLuja*>(o);
}

// The race keys a careful driver holds: full throttle, towards the lane
// whose nearest obstacle ahead is farthest away.
uint32_t CarefulKeys(TReplayHost& host) {
  const TRaceState& s = host.RaceState();
  const TSpriteEngine& engine = host.Engine();
  double best = -1e9, target = s.CarX;
  for (int lane = 0; lane < 4; ++lane) {
    const double left = s.RoadLeft + lane * s.LaneWidth, right = left + s.LaneWidth;
    double room = 1e6;
    for (int32_t i = 0; i < engine.ChildCount(); ++i) {
      const TSprite* o = engine.ChildAt(i);
      if (!IsObstacle(o) || o->IsDead() || o->X >= right || o->X + o->Width <= left || o->Y > s.CarY + 100)
        continue;
      room = std::min(room, s.CarY - (o->Y + o->Height));
    }
    const double here = std::abs(s.CarX + 27 - (left + right) / 2) < s.LaneWidth / 2 ? 40 : 0;
    if (room + here > best) {
      best = room + here;
      target = (left + right) / 2 - 27;
    }
  }
  uint32_t keys = RaceKeyBit(vk::Up);
  if (s.CarX > target + 4) keys |= RaceKeyBit(vk::Left);
  if (s.CarX < target - 4) keys |= RaceKeyBit(vk::Right);
  return keys;
}

// Plays one game on the race's code and returns its recording: up to ten
// minutes of frames, ended from the exit question if the car is still
// going then.
TRecording RecordLongGame(const TRaceImages& images) {
  TReplayHost host(images);
  TRaceSession& session = host.Session();
  session.Begin(TRaceSeed{20261211, TSeedSource::Own, {}});
  StartNewGame(host);
  std::mt19937 rng(3);
  while (!session.Over() && session.FrameNumber() < kTenMinutesOfFrames) {
    const uint32_t f = session.FrameNumber();
    if (f % 3000 == 1500) session.KeyPress(host, 'P', 0);
    if (f % 3000 == 1560) session.KeyPress(host, 'P', 0);
    if (rng() % 90 == 0) session.KeyPress(host, vk::Control, ssCtrl);
    const int lag = rng() % 200 == 0 ? 3 : 1;
    session.Frame(host, lag, CarefulKeys(host));
  }
  if (!session.Over()) {
    session.ExitQuestion(host, TExitQuestionEvent::Opened);
    session.ExitQuestion(host, TExitQuestionEvent::AnsweredYes);
  }
  return session.Recording();
}

std::optional<TRaceImages> LoadImages(benchmark::State& state) {
  const fs::path archive = fs::path(BD_RUN_DIR) / "Data" / "GraphicsMain.dxg";
  if (!fs::exists(archive)) {
    state.SkipWithError("no built game data in the run directory");
    return std::nullopt;
  }
  return TRaceImages::FromFile(archive.string());
}

void BM_ReplayLongGame(benchmark::State& state) {
  const std::optional<TRaceImages> images = LoadImages(state);
  if (!images) return;
  const TRecording recording = RecordLongGame(*images);
  uint32_t frames = 0;
  for (auto _ : state) {
    const TReplayResult result = ReplayRecording(recording, *images);
    if (!ReplayConfirms(recording, result)) {
      state.SkipWithError("the replay did not end as the game did");
      return;
    }
    frames = result.Frames;
    benchmark::DoNotOptimize(result.LevelHashes.data());
  }
  const double gameMinutes = frames * static_cast<double>(RaceFrameMs) / 60000.0;
  state.counters["game_minutes"] = gameMinutes;
  state.counters["level"] = recording.FinalLevel;
  state.counters["events"] = static_cast<double>(recording.Events.size());
  state.counters["game_min_per_cpu_s"] =
      benchmark::Counter(gameMinutes * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["frames_per_cpu_s"] = benchmark::Counter(
      static_cast<double>(frames) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReplayLongGame)->Unit(benchmark::kMillisecond);

// The recorder's share of a frame: the frame's lag and keys compared with
// the last ones, and an event written when the keys change (every 20th frame
// here, far more often than a player changes them).
void BM_RecorderPerFrame(benchmark::State& state) {
  TRaceRecorder recorder;
  recorder.Begin(TRaceSeed{});
  uint32_t frame = 0;
  for (auto _ : state) {
    recorder.FrameInputs(frame, 1, (frame / 20) % 2 == 0 ? 1u : 5u);
    if (++frame == 100000) {
      state.PauseTiming();
      recorder.Begin(TRaceSeed{});
      frame = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_RecorderPerFrame);

}  // namespace
}  // namespace bd
