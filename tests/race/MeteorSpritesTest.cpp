#include <gtest/gtest.h>

#include "FakeRaceHost.h"
#include "race/CarSprites.h"
#include "race/MeteorSprites.h"
#include "race/RoadSprites.h"

namespace bd::test {
namespace {

TEST(Meteorite, ComesUpNearTheCarButMostlyNotRightUnderIt) {
  struct TCase {
    std::deque<int32_t> Draws;  // Random(601), then Random(3) when under the car
    double ExpectX;
  };
  // The car is at x 300 with a spread of 300: x0 = 600 - first draw.
  const TCase cases[] = {
      {{600}, 0},      {{0}, 600},   {{300, 1}, 395}, {{300, 2}, 395}, {{300, 0}, 300},
      {{215, 1}, 395}, {{214}, 386}, {{335, 1}, 395}, {{336}, 264},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Draws.front());
    TFakeRaceHost host;
    host.State.CarX = 300;
    host.Draws = c.Draws;
    auto* meteor = new TMeteorit(host);
    EXPECT_TRUE(host.Draws.empty());
    EXPECT_EQ(meteor->X, c.ExpectX);
    EXPECT_EQ(meteor->Y, 500);
    EXPECT_EQ(meteor->Z(), 10);
    EXPECT_TRUE(host.Played("meteorCreate"));
  }
}

TEST(Meteorite, StepRulesByLevel) {
  struct TCase {
    int Level;
    double Y;
    bool Running;
    bool Gone;
    bool Burst;
    double ExpectY;
  };
  const TCase cases[] = {
      {2, 140, true, false, false, 130},                                    // rises through the top area
      {2, -5, true, true, false, -15},                                      // left the picture
      {3, 150, true, false, false, 140},  {3, 149, true, true, true, 139},  // bursts near the top
      {3, 149, false, false, false, 149},                                   // frozen with the race
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Level << " " << c.Y);
    TFakeRaceHost host;
    host.State.Level = c.Level;
    host.State.RaceRunning = c.Running;
    host.Draws = {600};
    auto* meteor = new TMeteorit(host);
    meteor->X = 100;
    meteor->Y = c.Y;
    meteor->Step(1);
    EXPECT_EQ(meteor->IsDead(), c.Gone);
    EXPECT_EQ(meteor->Y, c.ExpectY);
    const auto trails = host.Live<TSledMeteoritaSprite>();
    const auto booms = host.Live<TBoomSprite>();
    ASSERT_EQ(trails.size(), c.Burst ? 1u : 0u);
    ASSERT_EQ(booms.size(), c.Burst ? 1u : 0u);
    if (c.Burst) {
      EXPECT_EQ(trails[0]->X, 80);
      EXPECT_EQ(trails[0]->Y, c.Y + 10);
      EXPECT_EQ(booms[0]->X, 110);
      EXPECT_EQ(booms[0]->Y, c.Y);
      EXPECT_TRUE(host.Played("boom"));
    }
  }
}

TEST(Meteorite, HitsCarsOnlyFromLevel3) {
  for (int level : {2, 3}) {
    SCOPED_TRACE(level);
    TFakeRaceHost host;
    host.State.Level = level;
    host.State.Health = 10;
    host.Draws = {1};
    auto* car = new TCarSprite(host);
    host.State.CarX = car->X;
    host.State.CarY = car->Y;
    host.Draws = {0, 1};
    auto* wall = new TWallSprite(host);
    wall->Y = 300;
    host.Draws = {600};
    auto* meteor = new TMeteorit(host);
    meteor->X = 310;
    meteor->Y = 420;  // on the car only
    meteor->Collide();
    EXPECT_EQ(host.State.Health, level == 3 ? -5 : 10);  // a meteorite alone never ends the life
    EXPECT_EQ(meteor->IsDead(), level == 3);
    EXPECT_EQ(host.State.Lives, 3);

    host.Draws = {600};
    auto* second = new TMeteorit(host);
    second->X = 310;
    second->Y = 300;  // on the obstacle car only
    second->Collide();
    EXPECT_EQ(wall->Visible, level == 2);
    EXPECT_FALSE(wall->IsDead());  // it stays on the road, unseen
    EXPECT_EQ(second->IsDead(), level == 3);
    EXPECT_EQ(host.Live<TSledMeteoritaSprite>().size(), level == 3 ? 1u : 0u);
  }
}

TEST(Explosion, PlaysOnceAndScrollsAwayWithTheRoad) {
  struct TCase {
    double Y;
    int Speed;
    bool Gone;
  };
  for (const TCase& c : {TCase{690, 15, true}, TCase{685, 15, false}, TCase{690, 0, false}}) {
    TFakeRaceHost host;
    host.State.Speed = c.Speed;
    auto* boom = new TBoomSprite(host, 0, c.Y);
    boom->Step(1);
    EXPECT_EQ(boom->IsDead(), c.Gone);
  }
  TFakeRaceHost host;
  auto* boom = new TBoomSprite(host, 0, 0);
  for (int f = 0; f < 100; ++f) boom->Step(1);
  EXPECT_EQ(boom->CurrentPattern(), 7);  // the last of eight, kept
}

}  // namespace
}  // namespace bd::test
