// Level 1 driven end to end with keys only: a small bot holds Up and steers
// out of the way of whatever stands ahead in the car's path, until the
// level-complete sequence has run and level 2 begins.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "app/GameRun.h"
#include "race/CarSprites.h"
#include "race/MeteorSprites.h"
#include "race/RoadSprites.h"

namespace bd::test {
namespace {

class LevelDrive : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    if (!UseBuiltData(true)) GTEST_SKIP() << "no built game data";
  }

  // Things on the road the car must not run into.
  static bool IsObstacle(const TSprite& s) {
    return dynamic_cast<const TWallSprite*>(&s) || dynamic_cast<const TFirstWallSprite*>(&s) ||
           dynamic_cast<const TStolb*>(&s) || dynamic_cast<const TTree*>(&s) ||
           dynamic_cast<const TMeteorit*>(&s);
  }
  static void Collect(const TSprite& parent, std::vector<const TSprite*>& out) {
    for (int32_t i = 0; i < parent.ChildCount(); ++i) {
      const TSprite* c = parent.ChildAt(i);
      if (!c->IsDead() && IsObstacle(*c)) out.push_back(c);
      Collect(*c, out);
    }
  }

  // Picks the lane whose stretch ahead of the car is clear the furthest and
  // presses Left or Right to get the car over it.
  void Steer() {
    const TRaceState& s = form->RaceState;
    const TSprite* car = nullptr;
    const TSpriteEngine& engine = form->SpriteEngine.Engine();
    for (int32_t i = 0; i < engine.ChildCount() && !car; ++i)
      car = dynamic_cast<const TCarSprite*>(engine.ChildAt(i));
    const double carW = car ? car->Width : 55;
    std::vector<const TSprite*> obstacles;
    Collect(engine, obstacles);

    // Distance from the car's nose to the nearest obstacle in each lane.
    std::array<double, 4> clear{};
    clear.fill(1e9);
    for (const TSprite* o : obstacles) {
      const double bottom = o->Y + o->Height;
      if (bottom < s.CarY - 700 || o->Y > s.CarY + 120) continue;
      for (int lane = 0; lane < 4; ++lane) {
        const double left = s.RoadLeft + lane * s.LaneWidth;
        if (o->X < left + s.LaneWidth - 5 && o->X + o->Width > left + 5)
          clear[static_cast<size_t>(lane)] = std::min(clear[static_cast<size_t>(lane)], s.CarY - bottom);
      }
    }
    const int here = std::clamp(static_cast<int>((s.CarX + carW / 2 - s.RoadLeft) / s.LaneWidth), 0, 3);
    int best = here;
    for (int lane = 0; lane < 4; ++lane)
      if (clear[static_cast<size_t>(lane)] > clear[static_cast<size_t>(best)] + 40 ||
          (clear[static_cast<size_t>(lane)] == clear[static_cast<size_t>(best)] &&
           std::abs(lane - here) < std::abs(best - here)))
        best = lane;
    if (clear[static_cast<size_t>(here)] > 400) best = here;
    const double target = s.RoadLeft + best * s.LaneWidth + (s.LaneWidth - carW) / 2;
    Hold(vk::Left, s.CarX > target + 4);
    Hold(vk::Right, s.CarX < target - 4);
  }
  void Hold(int key, bool down) {
    bool& held = key == vk::Left ? left_ : right_;
    if (held == down) return;
    held = down;
    if (down)
      form->FormKeyDown(key, 0);
    else
      form->FormKeyUp(key, 0);
  }

  bool left_ = false;
  bool right_ = false;
};

TEST_F(LevelDrive, KeysAloneFinishLevelOneAndStartLevelTwo) {
  Start();
  form->GameSound.Checked = false;
  RunFor(500);
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  RunFor(500);
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  ASSERT_EQ(form->RaceState.Level, 1);
  form->FormKeyDown(vk::Up, 0);

  bool levelEndSeen = false;
  int maxDistance = 0;
  for (int step = 0; step < 12000 && form->RaceState.Level < 2 && form->CurrentScreen == screen::Race;
       ++step) {
    Steer();
    RunFor(15);
    levelEndSeen |= form->RaceState.LevelEndState != 0;
    maxDistance = std::max(maxDistance, form->RaceState.Distance);
  }
  EXPECT_TRUE(levelEndSeen);
  EXPECT_GE(maxDistance, 15000);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  ASSERT_EQ(form->RaceState.Level, 2)
      << "distance " << form->RaceState.Distance << " lives " << form->RaceState.Lives;
  EXPECT_GT(form->RaceState.Lives, 0);
  EXPECT_FALSE(form->RaceState.GameOver);
  EXPECT_GT(form->RaceState.Score, 0);
  EXPECT_EQ(form->RaceState.LevelEndState, 0);
  EXPECT_EQ(Reported(), "");
}

}  // namespace
}  // namespace bd::test
