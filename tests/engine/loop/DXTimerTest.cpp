#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/loop/DXTimer.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

// A timer on a virtual clock that records the lag count of every tick.
struct TimerRig {
  explicit TimerRig(uint32_t interval, uint32_t start = 0) {
    clock.Set(start);
    timer.SetInterval(interval);
    timer.OnTimer = [this](TDXTimer&, int lag) { lags.push_back(lag); };
    timer.SetEnabled(false);
    timer.SetEnabled(true);  // the count starts now
  }
  // Idles at `ms`; the lag of the tick it made, or 0 when it made none.
  int IdleAt(uint32_t ms) {
    clock.Set(ms);
    const size_t before = lags.size();
    timer.Idle();
    return lags.size() > before ? lags.back() : 0;
  }
  THeadlessClock clock;
  TDXTimer timer{clock};
  std::vector<int> lags;
};

TEST(DXTimer, ThresholdAndLagCounts) {
  struct Case {
    const char* what;
    uint32_t interval;
    uint32_t start;
    std::vector<std::pair<uint32_t, int>> idles;  // (clock, lag or 0 for no tick)
  };
  const Case cases[] = {
      {"threshold", 15, 0, {{14, 0}, {15, 1}, {29, 0}, {44, 1}}},
      {"late frames", 15, 0, {{47, 3}, {77, 2}, {91, 0}}},
      {"clock wrap", 15, 0xFFFFFFF0u, {{0xFFFFFFFEu, 0}, {5, 1}, {0x30, 2}}},
      {"interval 0", 0, 100, {{100, 1}, {107, 7}, {107, 1}}},
  };
  for (const Case& c : cases) {
    TimerRig rig(c.interval, c.start);
    for (auto [ms, lag] : c.idles) EXPECT_EQ(rig.IdleAt(ms), lag) << c.what << " at " << ms;
  }
}

TEST(DXTimer, FramesPerSecondRoundsHalfToEven) {
  struct Case {
    int ticks;
    uint32_t span;
    uint32_t expected;
  };
  for (const Case& c : {Case{60, 1000, 60}, Case{33, 1004, 33}, Case{3, 1200, 2}}) {
    TimerRig rig(1);
    for (int i = 1; i <= c.ticks; ++i)
      rig.IdleAt(static_cast<uint32_t>(i) * c.span / static_cast<uint32_t>(c.ticks));
    EXPECT_EQ(rig.lags.size(), static_cast<size_t>(c.ticks));
    EXPECT_EQ(rig.timer.FramesPerSecond(), c.expected) << c.ticks << " in " << c.span;
  }
}

TEST(DXTimer, StopsWhileInactiveAndCountsFromReactivation) {
  TimerRig rig(15);
  std::vector<std::string> events;
  rig.timer.OnActivate = [&](TDXTimer&) { events.push_back("activate"); };
  rig.timer.OnDeactivate = [&](TDXTimer&) { events.push_back("deactivate"); };
  EXPECT_EQ(rig.IdleAt(15), 1);
  rig.clock.Set(20);
  rig.timer.ApplicationDeactivated();
  EXPECT_FALSE(rig.timer.Attached());
  EXPECT_EQ(rig.IdleAt(500), 0);
  rig.clock.Set(1000);
  rig.timer.ApplicationActivated();
  EXPECT_EQ(rig.IdleAt(1014), 0);
  EXPECT_EQ(rig.IdleAt(1015), 1);  // not 66: the pause does not count
  EXPECT_EQ(events, (std::vector<std::string>{"deactivate", "activate"}));

  // Without ActiveOnly the timer runs on in the background.
  rig.timer.SetActiveOnly(false);
  rig.timer.ApplicationDeactivated();
  EXPECT_EQ(rig.IdleAt(1045), 2);

  // A disabled timer never ticks; enabling starts the count afresh.
  rig.timer.SetEnabled(false);
  EXPECT_EQ(rig.IdleAt(2000), 0);
  rig.timer.SetEnabled(true);
  EXPECT_EQ(rig.IdleAt(2015), 1);
}

TEST(DXTimer, TickDueIsWhenTheRunningTickBecameDue) {
  // A late tick is due an interval after the previous tick, not after its
  // own due time; after a pause the count starts at the reactivation.
  TimerRig rig(15);
  std::vector<uint32_t> dues;
  rig.timer.OnTimer = [&](TDXTimer& t, int) { dues.push_back(t.TickDue()); };
  rig.IdleAt(15);
  rig.IdleAt(47);
  rig.IdleAt(62);
  rig.timer.ApplicationDeactivated();
  rig.clock.Set(500);
  rig.timer.ApplicationActivated();
  rig.IdleAt(520);
  EXPECT_EQ(dues, (std::vector<uint32_t>{15, 30, 62, 515}));
}

TEST(DXTimer, StartsInactiveWhenTheApplicationIsInTheBackground) {
  THeadlessClock clock;
  TDXTimer timer(clock, false);
  int ticks = 0;
  timer.OnTimer = [&](TDXTimer&, int) { ++ticks; };
  timer.SetInterval(15);
  clock.Set(100);
  timer.Idle();
  EXPECT_EQ(ticks, 0);
  timer.ApplicationActivated();
  clock.Set(115);
  timer.Idle();
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace bd
