// The race's clocks count frames. At normal speed each must tick on the very
// frame on which the form's plain timer of the same interval, driven by the
// message loop beside the frame timer, used to fire; a late frame ticks a
// due clock once and counts the next interval from there, as the timer did.
#include <gtest/gtest.h>

#include <vector>

#include "engine/loop/Application.h"
#include "engine/loop/DXTimer.h"
#include "engine/platform/headless/Headless.h"
#include "race/RaceClock.h"
#include "race/RaceFlow.h"

namespace bd::test {
namespace {

// The frames (counted from the one that started the clock) before which a
// plain timer of `interval` fired, its first `ticks` times, with the frame
// timer running every RaceFrameMs on the loop's virtual clock.
std::vector<uint32_t> PlainTimerTicks(uint32_t interval, size_t ticks, uint32_t startMs) {
  THeadlessPlatform platform;
  platform.clock.Set(startMs);
  TApplication app(platform.Get());
  TDXTimer frames(platform.clock, true);
  frames.SetInterval(RaceFrameMs);
  TTimer timer(app, interval);
  uint32_t framesRun = 0;
  std::vector<uint32_t> fired;
  frames.OnTimer = [&](TDXTimer&, int) {
    if (framesRun == 0) timer.SetEnabled(true);  // as a level starts inside a frame
    ++framesRun;
  };
  timer.OnTimer = [&] {
    fired.push_back(framesRun);
    if (fired.size() == ticks) timer.SetEnabled(false);
  };
  app.AddFrameTimer(&frames);
  app.RunUntil(startMs + interval * static_cast<uint32_t>(ticks) + 1000);
  app.RemoveFrameTimer(&frames);
  return fired;
}

std::vector<uint32_t> RaceClockTicks(uint32_t interval, size_t ticks) {
  TRaceClock clock(static_cast<int32_t>(interval));
  clock.SetEnabled(true);
  std::vector<uint32_t> fired;
  for (uint32_t frame = 1; fired.size() < ticks && frame < 100000; ++frame)
    if (clock.Advance(1, RaceFrameMs)) fired.push_back(frame);
  return fired;
}

TEST(RaceClock, TicksOnTheFramesThePlainTimerFiredBefore) {
  struct TCase {
    const char* what;
    uint32_t interval;
    size_t ticks;
  };
  const TCase cases[] = {
      {"level caption", LevelIntroMs, 1},
      {"nitro seconds", NitroClockMs, 5},
      {"level complete quarters", LevelCompleteMs, 11},
  };
  for (const TCase& c : cases) {
    for (uint32_t startMs : {1000u, 1007u}) {
      SCOPED_TRACE(std::string(c.what) + " from " + std::to_string(startMs));
      const std::vector<uint32_t> old = PlainTimerTicks(c.interval, c.ticks, startMs);
      ASSERT_EQ(old.size(), c.ticks);
      EXPECT_EQ(RaceClockTicks(c.interval, c.ticks), old);
    }
  }
  // The level caption stands for 133 frames and the race runs on the 134th.
  EXPECT_EQ(RaceClockTicks(LevelIntroMs, 1), std::vector<uint32_t>{134});
}

TEST(RaceClock, LateFramesTickOnceAndStoppedClocksStartAfresh) {
  struct TCase {
    const char* what;
    std::vector<int> lags;          // one frame each
    std::vector<uint32_t> ticksAt;  // indexes into lags
  };
  const TCase cases[] = {
      // 240 ms on time, then a frame three intervals late: one tick, and
      // the next interval counts from that frame (17 frames later).
      {"late over the tick",
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 1,
        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
       {16, 33}},
      // A frame twenty intervals late still ticks only once.
      {"very late", {20, 1}, {0}},
      // A late frame short of the tick just counts its time.
      // A late frame that passes the tick drops what it passed it by.
      {"late short of it", {10, 7, 1}, {1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TRaceClock clock(LevelCompleteMs);
    clock.SetEnabled(true);
    std::vector<uint32_t> ticks;
    for (uint32_t i = 0; i < c.lags.size(); ++i)
      if (clock.Advance(c.lags[i], RaceFrameMs)) ticks.push_back(i);
    EXPECT_EQ(ticks, c.ticksAt);
  }

  TRaceClock clock(NitroClockMs);
  clock.SetEnabled(true);
  for (int i = 0; i < 60; ++i) clock.Advance(1, RaceFrameMs);
  clock.SetEnabled(true);  // already running: keeps its time
  EXPECT_EQ(clock.Elapsed(), 900);
  clock.SetEnabled(false);
  EXPECT_FALSE(clock.Advance(100, RaceFrameMs));
  clock.SetEnabled(true);  // a fresh second
  EXPECT_EQ(clock.Elapsed(), 0);
}

}  // namespace
}  // namespace bd::test
